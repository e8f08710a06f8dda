#include "exercises/chapter1/UZqK1_1A2.h"

TZahlenstrahlZustand ZqK1_1A2;

namespace {

const TZahlenstrahlArt Art1A2 = {
    10000,
    "Abschnitt 1.1   Übung 2",
    "Eintragen oder Ablesen von Zahlen bis 1 000 000 auf dem Zahlenstrahl",
    {"100 000", "500 000", "1 000 000"},
    {"-100 000", "-10 000", "+10 000", "+100 000"},
};

} // namespace

TZqK1_1A2::TZqK1_1A2(TComponent* AOwner) : TZahlenstrahlForm(AOwner, Art1A2, ZqK1_1A2) {
    SetName(QStringLiteral("ZqK1_1A2"));
}
