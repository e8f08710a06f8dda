#include "exercises/chapter2/UZqK2_1C1.h"

#include "term/UTermFormular.h"

#include <QDate>

namespace {

struct TMonatszeile {
    int Box;
    const char* Monat;
    const char* Zusatz;
    const char* Tage;
};

// In the order the rows stand on the form.
constexpr TMonatszeile Zeilen[13] = {
    {1, "Januar", "", "31"},
    {2, "Februar", "kein Schaltjahr", "28"},
    {13, "Februar", "Schaltjahr", "29"},
    {3, "März", "", "31"},
    {4, "April", "", "30"},
    {5, "Mai", "", "31"},
    {6, "Juni", "", "30"},
    {7, "Juli", "", "31"},
    {8, "August", "", "31"},
    {9, "September", "", "30"},
    {10, "Oktober", "", "31"},
    {11, "November", "", "30"},
    {12, "Dezember", "", "31"},
};

} // namespace

QString TZqK2_1C1::Monatstage(int n) {
    for (const TMonatszeile& z : Zeilen)
        if (z.Box == n) return QString::fromLatin1(z.Tage);
    return QString();
}

TZqK2_1C1::TZqK2_1C1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_1C1"));
    SetCaption(QStringLiteral("Abschnitt 2.1   Übung 4"));
    Label1 = Titel(this, QStringLiteral("Der Kalender"));

    TPanel* Jahr = Feld(this, nullptr, QStringLiteral("Panel1"), 8, 32, 785, 80, FarbeAufgabenfeld);
    const QStringList JahrText{
        QStringLiteral("Ein Jahr dauert auf der Erde ca. 365,24 Tage."),
        QStringLiteral("Da wir jedoch nur ganze Tage haben möchten, haben wir meistens Jahre mit 365 Tagen"),
        QStringLiteral("und ca. alle 4 Jahre ein sogenanntes Schaltjahr mit 366 Tagen.")};
    for (int i = 0; i < JahrText.size(); ++i)
        Beschriftung(this, Jahr, QStringLiteral("LabelJahr%1").arg(i + 1), JahrText[i], 8, 6 + 23 * i);

    TPanel* Monate = Feld(this, nullptr, QStringLiteral("Panel2"), 8, 116, 785, 134, FarbeAufgabenfeld);
    const QStringList MonatText{
        QStringLiteral("Ein Jahr wird in 12 Monate unterteilt."),
        QStringLiteral("Januar, Februar, März, April, Mai, Juni, Juli, August,"),
        QStringLiteral("September, Oktober, November und Dezember."),
        QStringLiteral("Bestimme für jeden Monat die Anzahl der Tage."),
        QStringLiteral("Du kannst dazu den nebenstehenden Kalender verwenden."),
        QStringLiteral("Der einzige Monat mit Sonderstatus ist der Februar."),
        QStringLiteral("Dieser kann 28 oder in einem Schaltjahr auch 29 Tage dauern.")};
    for (int i = 0; i < MonatText.size(); ++i)
        Beschriftung(this, Monate, QStringLiteral("LabelMonate%1").arg(i + 1), MonatText[i], 8, 4 + 18 * i,
                     QStringLiteral("Tahoma"), -15);

    // Thirteen rows of 28 pixels fill the task area below the explanations.
    for (int r = 0; r < 13; ++r) {
        const TMonatszeile& z = Zeilen[r];
        const int y = 256 + 28 * r;
        const int n = z.Box;
        Beschriftung(this, nullptr, QStringLiteral("LabelMonat%1").arg(n), QString::fromUtf8(z.Monat), 16,
                     y + 4, QStringLiteral("Tahoma"), -16, clBlack, true);
        if (*z.Zusatz)
            Beschriftung(this, nullptr, QStringLiteral("LabelZusatz%1").arg(n), QString::fromUtf8(z.Zusatz),
                         100, y + 6, QStringLiteral("Tahoma"), -13);
        TAntwortPaar& P = Paar[n];
        P.Box = Antwortbox(this, nullptr, QStringLiteral("RichEdit%1").arg(n), 216, y, 73, 27);
        P.Pruefen = Knopf(this, nullptr, QStringLiteral("BitBtnP%1").arg(n), QStringLiteral("prüfen"), 296, y,
                          89, 27);
        P.Urteil = Urteilslabel(this, nullptr, QStringLiteral("LabelP%1").arg(n), 392, y + 1, 105, 25);
        P.Urteil->SetAlignment(taCenter);
        PaarVerbinden(P, 2, [this](TObject* s) { MonatstagePruefen(s); });
    }

    MonthCalendar1 = new TMonthCalendar(this);
    MonthCalendar1->SetName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->SetParent(B_ScrollBox);
    MonthCalendar1->SetColor(clWhite);
    MonthCalendar1->SetBounds(520, 256, 273, 200);
    MonthCalendar1->SetDate(QDate(2012, 6, 6));
}

void TZqK2_1C1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    B_NeueAufgabe->SetCaption(QStringLiteral("Neustart"));
    NeueAufgabe();
}

void TZqK2_1C1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    for (int n = 1; n <= 13; ++n) {
        Paar[n].Box->Clear();
        Paar[n].Urteil->SetCaption(QString());
    }
    Muster::Fokus(Paar[1].Box);
}

void TZqK2_1C1::MonatstagePruefen(TObject* Sender) {
    for (int n = 1; n <= 13; ++n) {
        const TAntwortPaar& P = Paar[n];
        if (!Sender || (Sender != P.Box && Sender != P.Pruefen)) continue;
        const QString a = Muster::Antwort(P.Box);
        bool Richtig = false;
        ErgebnisPruefen2(a, Monatstage(n), P.Urteil, 50, 'c', Richtig, 0, 0);
        P.Urteil->SetCaption(Richtig        ? QStringLiteral("richtig")
                             : !a.isEmpty() ? QStringLiteral("falsch")
                                            : QStringLiteral("?"));
    }
}
