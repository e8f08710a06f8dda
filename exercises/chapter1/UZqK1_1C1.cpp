#include "exercises/chapter1/UZqK1_1C1.h"

#include "drawing/UZeichnen1.h"
#include "term/UTermFormular.h"

TZahlenmauerZustand ZqK1_1C1;

namespace {

struct TMauer {
    int Gegeben[10]; // -1: unknown brick
    int Fokus;       // brick number, 0: the check button, -1: none
};

constexpr int U = -1;
const TMauer Mauern[15] = {
    {{0, 9, 2, 7, U, U, U, U, U, U}, -1},  {{0, U, 3, 5, U, U, U, U, U, U}, 1},
    {{0, U, 4, 6, U, U, U, U, U, U}, 1},   {{0, U, 12, 14, U, U, U, U, U, U}, 1},
    {{0, 5, 2, U, U, U, U, U, U, U}, 3},   {{0, 12, U, 4, U, U, U, U, U, U}, 2},
    {{0, 20, U, U, U, U, U, U, U, U}, 2},  {{0, U, U, U, U, U, U, U, U, U}, 2},
    {{0, U, U, U, U, 3, 5, 1, 2, 3}, 4},   {{0, U, U, U, 22, U, 10, 5, 7, 3}, 5},
    {{0, U, U, U, U, 10, U, 4, 6, 13}, 6}, {{0, U, U, U, U, 12, 11, 8, U, 7}, 0},
    {{0, U, U, U, U, U, 12, U, 7, 5}, 0},  {{0, U, U, U, 36, U, U, U, U, U}, 0},
    {{0, U, U, U, U, U, U, U, U, U}, 0},
};

QString K(const QString& s) {
    return QStringLiteral("(") + s + QStringLiteral(")");
}

} // namespace

TMauerTerm MauerTerm(int Wand, const QString (&R)[10]) {
    const QString P4 = K(R[4]), P7 = K(R[7]), P8 = K(R[8]);
    switch (Wand) {
    case 2:
        return {R[1], QStringLiteral("8")};
    case 3:
        return {R[1], QStringLiteral("10")};
    case 4:
        return {R[1], QStringLiteral("26")};
    case 5:
        return {R[3], QStringLiteral("3")};
    case 6:
        return {R[2], QStringLiteral("8")};
    case 7:
        return {K(R[2]) + "+" + K(R[3]), QStringLiteral("20")};
    case 8:
        return {K(R[1]) + "-(" + K(R[2]) + "+" + K(R[3]) + ")", QStringLiteral("0")};
    case 9:
        return {R[4], QStringLiteral("8")};
    case 10:
        return {R[5], QStringLiteral("12")};
    case 11:
        return {K(R[4]) + "*a+" + K(R[6]) + "*b-29*a-19*b", QStringLiteral("0")};
    case 12:
        return {K(R[4]) + "*a+" + K(R[8]) + "*b-23*a-4*b", QStringLiteral("0")};
    case 13:
        return {K(R[7]) + "*a+" + K(R[5]) + "*b+" + K(R[4]) + "*c-" + P7 + "*a-(" + P7 + "+7)*b-(" + P7 +
                    "+19)*c",
                QStringLiteral("0")};
    case 14:
    case 15: {
        // Bottom left and middle are free, the rest follows: R9 from the top,
        // R5 and R6 from the bricks below them.
        const QString Oben = Wand == 14 ? QStringLiteral("36") : P4;
        const QString Q = "(" + Oben + "-" + P7 + "-2*" + P8 + ")";
        QString T = K(R[7]) + "*a+" + K(R[8]) + "*b+" + K(R[9]) + "*c+" + K(R[5]) + "*d+" + K(R[6]) + "*e";
        if (Wand == 15) T += "+" + K(R[4]) + "*f";
        T += "-" + P7 + "*a-" + P8 + "*b-" + Q + "*c-(" + P7 + "+" + P8 + ")*d-(" + P8 + "+" + Q + ")*e";
        if (Wand == 15) T += "-" + P4 + "*f";
        // Checked at random values of a .. f like every other wall: a single fixed
        // point lets wrong walls through.
        return {T, QStringLiteral("0")};
    }
    default:
        return {};
    }
}

TZqK1_1C1::TZqK1_1C1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_1C1"));
    SetCaption(QStringLiteral("Abschnitt 1.1   Übung 4"));
    Label1 = Titel(this, QStringLiteral("Die Zahlenmauer"));
    PageControl1 = Seiten(this, nullptr, QStringLiteral("PageControl1"), 0, 24, 777, 428);
    Level1 = Seite(this, PageControl1, QStringLiteral("Level1"));
    Level2 = Seite(this, PageControl1, QStringLiteral("Level2"));
    for (TTabSheet* s : {Level1, Level2})
        s->SetColor(RGB(184, 209, 228));

    Image1 = Bild(this, Level1, QStringLiteral("Image1"), 48, 8, 681, 257);
    const struct {
        TTabSheet* Seite;
        int x, y;
    } Lage[10] = {{nullptr, 0, 0},    {Level1, 280, 8},   {Level1, 72, 200},  {Level1, 496, 200},
                  {Level2, 264, 8},   {Level2, 152, 104}, {Level2, 376, 104}, {Level2, 40, 200},
                  {Level2, 264, 200}, {Level2, 488, 200}};
    for (int i = 1; i <= 9; ++i) {
        Stein[i] = Antwortbox(this, Lage[i].Seite, QStringLiteral("RichEdit%1").arg(i), Lage[i].x, Lage[i].y,
                              209, 57);
        Stein[i]->Font()->SetHeight(-32);
        Stein[i]->SetColor(RGB(255, 226, 198));
        BoxVerbinden(Stein[i], 3, [this](TObject* s) { BitBtn3Click(s); });
        // Editing a brick also clears both verdicts.
        TRichEdit* Box = Stein[i];
        Box->OnChange = [this, Box](TObject*) {
            EingabeFormatieren3(Box);
            LabelP1->SetCaption(QString());
            LabelP2->SetCaption(QString());
        };
    }

    LabelP1 = Urteilslabel(this, Level1, QStringLiteral("LabelP1"), 72, 272, 633, 28);
    LabelP1->SetAlignment(taCenter);
    BitBtn2 = Knopf(this, Level1, QStringLiteral("BitBtn2"), QStringLiteral("Start"), 72, 312, 209, 40);
    BitBtn3 =
        Knopf(this, Level1, QStringLiteral("BitBtn3"), QStringLiteral("Eingabe prüfen"), 496, 312, 209, 40);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    Panel1 = Feld(this, Level1, QStringLiteral("Panel1"), 72, 360, 633, 60, 8454143);
    PageControl2 = Seiten(this, Panel1, QStringLiteral("PageControl2"), 2, 2, 629, 56);
    TabSheet2 = Seite(this, PageControl2, QStringLiteral("TabSheet2"));
    TabSheet3 = Seite(this, PageControl2, QStringLiteral("TabSheet3"));
    for (TTabSheet* s : {TabSheet2, TabSheet3})
        s->SetColor(8454143);
    Beschriftung(this, TabSheet2, QStringLiteral("Label2"),
                 QStringLiteral("Die Zahl im oberen Stein ergibt sich aus der Summe der beiden Zahlen"), 8,
                 4);
    Beschriftung(this, TabSheet2, QStringLiteral("Label3"),
                 QStringLiteral("in den darunterliegenden Steinen."), 8, 26);
    Beschriftung(this, TabSheet3, QStringLiteral("Label4"), QStringLiteral("Trage die fehlenden Werte ein."),
                 8, 4);
    Beschriftung(this, TabSheet3, QStringLiteral("Label5"), QStringLiteral("Lasse deine Eingabe prüfen."), 8,
                 26);

    LabelP2 = Urteilslabel(this, Level2, QStringLiteral("LabelP2"), 40, 296, 657, 28);
    LabelP2->SetAlignment(taCenter);
    Label6 = Beschriftung(this, Level2, QStringLiteral("Label6"),
                          QStringLiteral("Versuche mindestens 3 verschiedene Lösungen zu finden."), 40, 340,
                          QStringLiteral("Tahoma"), -19, clNavy, true);
    BitBtn5 =
        Knopf(this, Level2, QStringLiteral("BitBtn5"), QStringLiteral("Eingabe prüfen"), 488, 372, 209, 40);
    BitBtn5->OnClick = [this](TObject* s) { BitBtn3Click(s); };

    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 0, 456, 200, 41, clBlack);
    Panel2->Font()->SetColor(clYellow);
    Panel2->Font()->SetHeight(-19);
    Panel3 = Feld(this, nullptr, QStringLiteral("Panel3"), 216, 456, 200, 41, clBlack);
    Panel3->Font()->SetColor(clYellow);
    Panel3->Font()->SetHeight(-19);
}

void TZqK1_1C1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_1C1 = TZahlenmauerZustand{};
    NeueAufgabe();
}

void TZqK1_1C1::NeueAufgabe() {
    TZahlenmauerZustand& Z = ZqK1_1C1;
    Aufgabenanzahl = 15;
    TAufgabeg::NeueAufgabe();
    Z.Index = Z.Index >= 15 ? 1 : Z.Index + 1;
    Z.Level = Z.Index > 8 ? 2 : 1;
    // The example wall does not count: walls read 0 / 14 to 14 / 14, on the
    // panel and on the base's counter alike.
    const QString Zaehler = QString::number(Z.Index - 1) + QStringLiteral(" / ") + QStringLiteral("14");
    Panel2->SetCaption(Zaehler);
    B_BtnAufgabenNr->SetCaption(Zaehler);
    Panel3->SetCaption(QStringLiteral("Level ") + QString::number(Z.Level));
    LabelP1->SetCaption(QString());
    LabelP2->SetCaption(QString());
    const bool Beispiel = Z.Index == 1;
    LabelP1->SetVisible(!Beispiel);
    BitBtn3->SetVisible(!Beispiel);
    Panel2->SetVisible(!Beispiel);
    B_NeueAufgabe->SetVisible(!Beispiel);
    BitBtn2->SetVisible(Beispiel);
    PageControl2->SetActivePage(Beispiel ? TabSheet2 : TabSheet3);
    PageControl1->SetActivePage(Z.Level == 2 ? Level2 : Level1);
    MauerBauen();
    Zeichnen();
}

void TZqK1_1C1::MauerBauen() {
    const TZahlenmauerZustand& Z = ZqK1_1C1;
    const TMauer& M = Mauern[Z.Index - 1];
    for (int i = 1; i <= 9; ++i)
        Stein[i]->SetEnabled(false);
    Label6->SetVisible(false);
    const int Erster = Z.Level == 1 ? 1 : 4, Letzter = Z.Level == 1 ? 3 : 9;
    for (int i = Erster; i <= Letzter; ++i) {
        if (M.Gegeben[i] >= 0) {
            Stein[i]->Lines()->SetText(QString::number(M.Gegeben[i]));
        } else {
            Stein[i]->Clear();
            Stein[i]->SetEnabled(true);
        }
    }
    Label6->SetVisible(Z.Index == 14 || Z.Index == 15);
    // The texts above cleared the verdicts through the bricks' change handler.
    LabelP1->SetCaption(QString());
    LabelP2->SetCaption(QString());
    if (M.Fokus > 0)
        Muster::Fokus(Stein[M.Fokus]);
    else if (M.Fokus == 0)
        Muster::Fokus(BitBtn5);
}

void TZqK1_1C1::Zeichnen() {
    TCanvas* c = Image1->Canvas();
    BildFuellen(184, 209, 228, Image1);
    c->Pen()->SetWidth(3);
    VektorpfeilZeichnen(120, 190, 250, 100, 0, 0, 0, false, QString(), Image1);
    VektorpfeilZeichnen(550, 190, 420, 100, 0, 0, 0, false, QString(), Image1);
    c->Pen()->SetWidth(1);
    const int Index = ZqK1_1C1.Index;
    if (Index == 1)
        TextAusgebenLokal(270, 140, 0, 0, 0, 255, 255, 255, QStringLiteral("2 + 7 = 9"), 'T', 24, true, false,
                          Image1);
    if (Index == 7 || Index == 8) {
        TextAusgebenLokal(250, 190, 0, 0, 0, 255, 255, 255, QStringLiteral("Versuche mehrere"), 'T', 16, true,
                          false, Image1);
        TextAusgebenLokal(250, 214, 0, 0, 0, 255, 255, 255, QStringLiteral("Lösungen zu finden."), 'T', 16,
                          true, false, Image1);
    }
}

void TZqK1_1C1::BitBtn2Click(TObject*) {
    NeueAufgabe();
}

void TZqK1_1C1::BitBtn3Click(TObject*) {
    const int Wand = ZqK1_1C1.Index;
    if (Wand < 2 || Wand > 15) return;
    QString R[10];
    for (int i = 1; i <= 9; ++i)
        R[i] = Muster::Antwort(Stein[i]);
    // Only an empty brick makes a wall incomplete; letters go into the term
    // and get the answer check's own verdict.
    const auto Unvollstaendig = [&R](int Von, int Bis) {
        for (int i = Von; i <= Bis; ++i)
            if (R[i].trimmed().isEmpty()) return true;
        return false;
    };
    const bool Fehlt1 = Unvollstaendig(1, 3), Fehlt2 = Unvollstaendig(4, 9);
    // The incomplete verdict would replace the check's on that label anyway.
    if (!(Wand <= 8 ? Fehlt1 : Fehlt2)) {
        bool Richtig = false;
        const TMauerTerm M = MauerTerm(Wand, R);
        // A brick whose own brackets do not balance would close and reopen
        // the brackets the wall's term puts round it ("19)*0+(19"): the check
        // judges that brick alone, which it never takes for right.
        QString Antwort = M.Term;
        for (int i = Wand <= 8 ? 1 : 4; i <= (Wand <= 8 ? 3 : 9); ++i)
            if (Muster::KlammernUnausgeglichen(R[i])) {
                Antwort = R[i];
                break;
            }
        ErgebnisPruefen3(Antwort, M.Erwartet, Wand <= 8 ? LabelP1 : LabelP2, 50, 'c', Richtig, 0, 0);
    }
    if (Fehlt1)
        Muster::Urteil(LabelP1, QStringLiteral("Eingabe unvollständig oder fehlerhaft."), FarbeHinweis);
    if (Fehlt2)
        Muster::Urteil(LabelP2, QStringLiteral("Eingabe unvollständig oder fehlerhaft."), FarbeHinweis);
}
