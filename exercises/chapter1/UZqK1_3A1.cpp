#include "exercises/chapter1/UZqK1_3A1.h"

TSpaltenZustand ZqK1_3A1;

TZqK1_3A1::TZqK1_3A1(TComponent* AOwner) : TSpaltenrechnen(AOwner, false, ZqK1_3A1) {
    SetName(QStringLiteral("ZqK1_3A1"));
    SetCaption(QStringLiteral("Abschnitt 1.3   Übung 1"));
    Label1 = Muster::Titel(this, QStringLiteral("Schriftliches Addieren"));
}
