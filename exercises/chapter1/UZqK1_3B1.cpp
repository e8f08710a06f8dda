#include "exercises/chapter1/UZqK1_3B1.h"

TSpaltenZustand ZqK1_3B1;

TZqK1_3B1::TZqK1_3B1(TComponent* AOwner) : TSpaltenrechnen(AOwner, true, ZqK1_3B1) {
    SetName(QStringLiteral("ZqK1_3B1"));
    SetCaption(QStringLiteral("Abschnitt 1.3   Übung 2"));
    Label1 = Muster::Titel(this, QStringLiteral("Schriftliches Subtrahieren"));
}
