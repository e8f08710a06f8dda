#include "AufgabegRegeln.h"

#include "platform/CodePage.h"
#include "platform/Runtime.h"

QString AufgabenZaehlerText(int AufgabenNr, int Aufgabenanzahl) {
    return QStringLiteral("Aufgabe %1 / %2").arg(AufgabenNr).arg(Aufgabenanzahl);
}

int NaechsteAufgabenNr(int AufgabenNr, int Aufgabenanzahl) {
    const int Nr = AufgabenNr + 1;
    return Nr > Aufgabenanzahl ? 1 : Nr;
}

namespace {

void Vergroessern(TSkalierung& S, int M, int D) {
    S.An = true;
    S.Zaehler *= M;
    S.Nenner *= D;
    ++S.Schritte;
    S.SchrittM = M;
    S.SchrittD = D;
    S.Breite = ScaleRounded(S.Breite, M, D);
    S.Hoehe = ScaleRounded(S.Hoehe, M, D);
}

bool PasstVergroessert(const TSkalierung& S, int SchirmBreite, int SchirmHoehe, int TaskleistenHoehe) {
    return S.Breite < 0.75 * SchirmBreite &&
           0.75 * SchirmHoehe > static_cast<double>(TaskleistenHoehe) + S.Hoehe;
}

} // namespace

TSkalierung SkalierungBerechnen(bool Skalieren, int Faktor, int Breite, int Hoehe, int SchirmBreite,
                                int SchirmHoehe, int TaskleistenHoehe) {
    TSkalierung S;
    S.Breite = Breite;
    S.Hoehe = Hoehe;
    if (!Skalieren) return S;
    switch (Faktor) {
    case 0:
        if (PasstVergroessert(S, SchirmBreite, SchirmHoehe, TaskleistenHoehe)) {
            Vergroessern(S, 4, 3);
            if (PasstVergroessert(S, SchirmBreite, SchirmHoehe, TaskleistenHoehe)) {
                Vergroessern(S, 4, 3);
            }
        }
        break;
    case 1:
        Vergroessern(S, 1, 1);
        break;
    case 2:
        Vergroessern(S, 4, 3);
        break;
    case 3:
        Vergroessern(S, 16, 9);
        break;
    case 4:
        Vergroessern(S, 2, 1);
        break;
    case 5:
        Vergroessern(S, 3, 2);
        break;
    default:
        break;
    }
    return S;
}

void FensterZentrieren(int Breite, int Hoehe, int SchirmBreite, int SchirmHoehe, int& Links, int& Oben) {
    Links = (SchirmBreite - Breite) / 2;
    Oben = (SchirmHoehe - Hoehe) / 2;
    if (SchirmHoehe < 780 && Oben > 3) Oben = 3;
}

bool DurchSetupGesperrt(const QString& Caption, bool KeineHilfe, bool KeineLoesung) {
    const QString Gross = CodePage::AnsiUpperCase(Caption);
    if (KeineHilfe && Gross.contains(QStringLiteral("HILFE"))) return true;
    return KeineLoesung &&
           (Gross.contains(QStringLiteral("LÖSUNG")) || Gross.contains(QStringLiteral("ERGEBNIS")));
}
