#include "exercises/chapter3/UZqK3_2D1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UNetzbau.h"
#include "drawing/UZeichnen1.h"
#include "platform/Runtime.h"
#include "term/USetup.h"
#include "term/UTerm.h"

#include <cmath>
#include <numbers>

TFaerbZustand ZqK3_2D1;

namespace {

constexpr double Grad = std::numbers::pi / 180;
constexpr TColor Weiss = RGB(255, 255, 255);
constexpr TColor Feldfarbe = RGB(210, 242, 222);

const TColor Farben[6] = {RGB(255, 255, 0), RGB(0, 255, 0),  RGB(0, 200, 255),
                          RGB(255, 0, 0),   RGB(0, 0, 255),  RGB(200, 100, 50)};

// The squares in the order the colour order reads them, per layout.
const int Reihenfolge[4][6] = {{2, 1, 5, 6, 3, 4}, {3, 1, 4, 6, 2, 5}, {3, 2, 4, 1, 5, 6}, {3, 6, 5, 1, 2, 4}};

const char* const Richtig[4][24] = {
    {"126543", "136425", "156234", "146352", "512643", "413625", "215634", "314652",
     "324516", "532416", "453216", "245316", "423561", "235461", "354261", "542361",
     "621534", "631452", "651243", "641325", "562134", "463152", "265143", "364125"},
    {"126534", "136452", "156243", "146325", "413652", "215643", "314625", "512634",
     "621543", "631425", "651234", "641352", "364152", "562143", "463125", "265134",
     "423516", "235416", "354216", "542316", "324561", "532461", "453261", "245361"},
    {"126453", "136245", "156324", "146532", "413265", "215364", "314562", "512463",
     "621354", "631542", "651423", "641235", "324156", "532146", "453126", "245136",
     "364215", "562314", "463512", "265413", "423651", "235641", "354621", "542631"},
    {"135426", "154236", "142356", "123546", "415623", "214635", "312654", "513642",
     "421563", "231465", "351264", "541362", "462153", "263145", "365124", "564132",
     "456213", "246315", "326514", "536412", "653241", "645321", "624531", "632451"}};

tMatrix Startdrehung() {
    return MatrixProdukt2(MatrixProdukt2(EinheitsMatrix2(), DrehmatrixX2(20 * Grad)), DrehmatrixY2(40 * Grad));
}

void Bauen(int Netzart, const tFarbfeld& F, tPunktefeld& Ecken, const tAnsicht& A, double Winkel, double Kante) {
    switch (Netzart) {
    case 2: NetzZweiZeichnen2(F, true, false, Ecken, A, true, Winkel, Kante); break;
    case 3: NetzDreiZeichnen2(F, true, false, Ecken, A, true, Winkel, Kante); break;
    case 4: NetzVierZeichnen2(F, true, false, Ecken, A, true, Winkel, Kante); break;
    default: NetzEinsZeichnen2(F, true, false, Ecken, A, true, Winkel, Kante); break;
    }
}

TBitBtn* Drehknopf(TAufgabeg* Form, TWinControl* Parent, const QString& Name, bool Plus, int x, int y) {
    TBitBtn* k = Muster::Knopf(Form, Parent, Name, Plus ? QStringLiteral("+") : QStringLiteral("-"), x, y, 48,
                               40, -32);
    k->Font()->SetName(QStringLiteral("Symbol"));
    k->Font()->SetColor(Plus ? clRed : clWindowText);
    return k;
}

} // namespace

int FlaechenZiffer(const TFaerbZustand& Z, int Quadrat) {
    if (Quadrat < 1 || Quadrat > 6) return 0;
    const int n = Z.Malnummer[Quadrat - 1];
    for (const TZielflaeche& f : Z.Zielflaechen)
        if (f.Malnummer == n) return f.Ziffer;
    return 0;
}

QString FarbfolgeBilden(const TFaerbZustand& Z) {
    const int a = Z.Netzart >= 1 && Z.Netzart <= 4 ? Z.Netzart : 1;
    QString s;
    for (int q : Reihenfolge[a - 1])
        s += QString::number(FlaechenZiffer(Z, q));
    return s;
}

bool FarbfolgeRichtig(int Netzart, const QString& Farbfolge) {
    if (Netzart < 1 || Netzart > 4) return false;
    for (const char* t : Richtig[Netzart - 1])
        if (Farbfolge == QLatin1String(t)) return true;
    return false;
}

tMatrix ZiehDrehung(int X0, int Y0, int X, int Y, int Breite, int Hoehe, double Faktor) {
    double dx = X - X0, dy = Y0 - Y;
    if (dx == 0 && dy == 0) dy = 1;
    const double Diagonale = std::sqrt(double(Breite) * Breite + double(Hoehe) * Hoehe);
    if (Diagonale <= 0) return EinheitsMatrix2();
    const double Winkel = std::sqrt(dx * dx + dy * dy) / Diagonale * 180 / std::numbers::pi * 0.1 * Faktor;
    return DrehmatrixAchse2(VektorBilden2(-dy, dx, 0), Winkel);
}

TZqK3_2D1::TZqK3_2D1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_2D1"));
    SetCaption(QStringLiteral("Abschnitt 3.2   Übung 4"));
    Label3 = Beschriftung(this, nullptr, QStringLiteral("Label3"),
                          QStringLiteral("Färbe die Außenflächen des Gittermodells so, dass sich durch "
                                         "Zusammenfalten der rechte Würfel ergibt."),
                          0, 0);
    Image2 = Zeichenbild(this, nullptr, QStringLiteral("Image2"), 0, 24, 400, 400);
    Image1 = Zeichenbild(this, nullptr, QStringLiteral("Image1"), 584, 24, 240, 200);

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 0, 428, 400, 140, Feldfarbe);
    Beschriftung(this, Panel1, QStringLiteral("Label1"), QStringLiteral("Modell drehen"), 12, 4);
    Beschriftung(this, Panel1, QStringLiteral("Label4"), QStringLiteral("Maustaste gedrückt halten."), 140, 4);
    const char* Namen[6] = {"BitBtnxm", "BitBtnxp", "BitBtnym", "BitBtnyp", "BitBtnzm", "BitBtnzp"};
    for (int i = 0; i < 6; ++i) {
        Netzknopf[i] = Drehknopf(this, Panel1, QString::fromLatin1(Namen[i]), i % 2 == 1, 12 + 54 * i, 30);
        Netzknopf[i]->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            BitBtnxmMouseDown(s, b, sh, x, y);
        };
        Netzknopf[i]->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            BitBtnxmMouseUp(s, b, sh, x, y);
        };
    }
    BitBtn3 = Knopf(this, Panel1, QStringLiteral("BitBtn3"), QStringLiteral("Zum Netz"), 12, 80, 120, 32);
    BitBtn8 = Knopf(this, Panel1, QStringLiteral("BitBtn8"), QStringLiteral("Neuer Versuch"), 140, 80, 120, 32);
    LabelP = Urteilslabel(this, Panel1, QStringLiteral("LabelP"), 268, 84, 120);
    LabelP->SetAlignment(taCenter);
    Panel5 = Feld(this, Panel1, QStringLiteral("Panel5"), 8, 4, 337, 125, Feldfarbe);
    Panel5->SetBevelOuter(bvNone);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    BitBtn8->OnClick = [this](TObject* s) { BitBtn8Click(s); };

    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 420, 24, 160, 200, Feldfarbe);
    Beschriftung(this, Panel2, QStringLiteral("Label5"), QStringLiteral("Würfel drehen"), 12, 4);
    const char* WNamen[6] = {"BitBtn5", "BitBtn6", "BitBtn9", "BitBtn10", "BitBtn11", "BitBtn12"};
    for (int i = 0; i < 6; ++i) {
        Wuerfelknopf[i] = Drehknopf(this, Panel2, QString::fromLatin1(WNamen[i]), i % 2 == 1,
                                    12 + 72 * (i % 2), 30 + 46 * (i / 2));
        Wuerfelknopf[i]->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            BitBtn5MouseDown(s, b, sh, x, y);
        };
        Wuerfelknopf[i]->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            BitBtn5MouseUp(s, b, sh, x, y);
        };
    }
    BitBtn4 = Knopf(this, Panel2, QStringLiteral("BitBtn4"), QStringLiteral("Reset"), 12, 166, 120, 28);
    BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };

    Panel3 = Feld(this, nullptr, QStringLiteral("Panel3"), 420, 240, 200, 104, RGB(255, 255, 128));
    const QStringList Hilfe = {QStringLiteral("Wähle eine Malfarbe"), QStringLiteral("und klicke mit der Maus"),
                               QStringLiteral("auf ein Quadrat in"), QStringLiteral("deinem Gittermodell.")};
    Beschriftung(this, Panel3, QStringLiteral("Label2"), Hilfe.join(QLatin1Char('\n')), 8, 4);

    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->SetName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetParent(B_ScrollBox);
    RadioGroup1->SetBounds(420, 352, 60, 210);
    RadioGroup1->SetCaption(QStringLiteral("Malfarbe"));
    for (int i = 1; i <= 6; ++i)
        RadioGroup1->Items()->Add(QString::number(i));
    RadioGroup1->SetItemIndex(0);
    for (int i = 0; i < 6; ++i) {
        PanelFarbe[i] = Feld(this, nullptr, QStringLiteral("PanelFarbe%1").arg(i + 1), 484, 370 + 32 * i, 97, 30,
                             Farben[i]);
        PanelFarbe[i]->OnClick = [this](TObject* s) { PanelFarbe1Click(s); };
    }

    // The buttons, the background box and the help panel stand right of the
    // yellow hint, whose text must not run under them.
    BitBtn7 = Knopf(this, nullptr, QStringLiteral("BitBtn7"), QStringLiteral("prüfen"), 632, 240, 100, 32);
    BitBtn7->OnClick = [this](TObject* s) { BitBtn7Click(s); };
    BitBtn13 = Knopf(this, nullptr, QStringLiteral("BitBtn13"), QStringLiteral("Hilfe"), 632, 280, 100, 32);
    BitBtn13->Font()->SetColor(clGreen);
    BitBtn13->OnClick = [this](TObject* s) { BitBtn13Click(s); };
    Panel4 = Feld(this, nullptr, QStringLiteral("Panel4"), 632, 352, 260, 90, RGB(255, 255, 128));
    Beschriftung(this, Panel4, QStringLiteral("Label6"), QStringLiteral("Erstelle dir ein Papiermodell."), 8, 4);
    Beschriftung(this, Panel4, QStringLiteral("Label7"),
                 QStringLiteral("Die farbigen Flächen bilden die\nAußenflächen des Würfels."), 8, 32);
    Panel4->SetVisible(false);

    CheckHG = new TCheckBox(this);
    CheckHG->SetName(QStringLiteral("CheckHG"));
    CheckHG->SetParent(B_ScrollBox);
    CheckHG->SetBounds(632, 320, 200, 24);
    CheckHG->SetCaption(QStringLiteral("weißer Hintergrund"));
    CheckHG->SetChecked(true);
    CheckHG->OnClick = [this](TObject* s) { CheckHGClick(s); };

    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    Image1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image1MouseMove(s, sh, x, y); };
    Image1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseUp(s, b, sh, x, y);
    };
    Image2->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image2MouseDown(s, b, sh, x, y);
    };
    Image2->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image2MouseMove(s, sh, x, y); };
    Image2->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image2MouseUp(s, b, sh, x, y);
    };
    ProgrammEnde->OnClick = [this](TObject* s) { ProgrammEndeClick(s); };
}

void TZqK3_2D1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    B_Tastatur->SetVisible(false);
    if (FSetup.KeineHilfe) BitBtn13->SetEnabled(false);
    Runtime::Randomize();
    TFaerbZustand& Z = ZqK3_2D1;
    Z.ErsteAufgabe = true;
    for (int a = 0; a < 3; ++a)
        for (int v = 0; v < 2; ++v) {
            const double w = (v == 0 ? -1 : 1) * Grad;
            Z.Schritt[2 * a + v] = a == 0 ? DrehmatrixX2(w) : a == 1 ? DrehmatrixY2(w) : DrehmatrixZ2(w);
        }
    NeueAufgabe();
}

void TZqK3_2D1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    TFaerbZustand& Z = ZqK3_2D1;
    ++Z.Aufgabenlauf;
    Z.Ziehen[0] = Z.Ziehen[1] = false;
    Panel5->SetLeft(Skaliert(8));
    Panel4->SetVisible(false);
    Panel5->SetVisible(true);
    BitBtn8->SetVisible(false);
    LabelP->SetCaption(QString());
    Z.Haltestopp = true;
    Warten2(10, this);

    Z.Netzart = Z.ErsteAufgabe ? 1 : Runtime::Random(4) + 1;
    int p[6] = {0, 1, 2, 3, 4, 5};
    ZufallsPermutation1(p, 5);
    for (int k = 0; k < 6; ++k) {
        Z.Zielfarben[p[k]] = Farben[k];
        Z.Zielflaechen[p[k]].Malnummer = k + 1;
    }

    Z.Wuerfelansicht = tAnsicht{};
    Z.Wuerfelansicht.Drehung = Startdrehung();
    Z.Wuerfelansicht.Bild = Image1;
    Z.Zielfaltwinkel = 90;
    ZielwuerfelZeichnen();

    Z.Netzfarben.assign(6, Weiss);
    Z.Netzansicht = tAnsicht{};
    Z.Netzansicht.Bild = Image2;
    Z.Faltwinkel = 0;
    GittermodellZeichnen();

    Z.Malfarben.assign(Farben, Farben + 6);
    for (int i = 0; i < 6; ++i) {
        PanelFarbe[i]->SetColor(Z.Malfarben[i]);
        Z.Malnummer[i] = -1;
    }
    Warten2(10, this);
    Z.ErsteAufgabe = false;
}

void TZqK3_2D1::ZielwuerfelZeichnen() {
    TFaerbZustand& Z = ZqK3_2D1;
    const bool W = CheckHG->Checked();
    if (W)
        BildFuellen(255, 255, 255, Image1);
    else
        BildFuellen(0, 0, 0, Image1);
    tPunktefeld Ecken;
    Bauen(Z.Netzart, Z.Zielfarben, Ecken, Z.Wuerfelansicht, Z.Zielfaltwinkel, 7.2);
    TFont* f = Image1->Canvas()->Font();
    f->SetStyle(f->Style() | fsBold);
    const int g = W ? 0 : 255;
    const int b = W ? 255 : 0;
    TextObenLinks(10, 0, g, g, b, QStringLiteral("Drehe den Würfel mit den"), 'T', 12, true, Image1);
    TextObenLinks(10, 20, g, g, b, QStringLiteral("+ / - Tasten oder der Maus."), 'T', 12, true, Image1);
}

void TZqK3_2D1::GittermodellZeichnen() {
    TFaerbZustand& Z = ZqK3_2D1;
    if (CheckHG->Checked())
        BildFuellen(255, 255, 255, Image2);
    else
        BildFuellen(0, 0, 0, Image2);
    Bauen(Z.Netzart, Z.Netzfarben, Z.Netzecken, Z.Netzansicht, Z.Faltwinkel, 3.6);
    Panel5->SetVisible(Z.Faltwinkel == 0);
}

void TZqK3_2D1::Drehen(tAnsicht& Ansicht, const tMatrix& Schritt, bool Netz) {
    TFaerbZustand& Z = ZqK3_2D1;
    Z.Haltestopp = false;
    do {
        Ansicht.Drehung = MatrixProdukt2(Ansicht.Drehung, Schritt);
        if (Netz)
            GittermodellZeichnen();
        else
            ZielwuerfelZeichnen();
        // A closed form ends the loop as well.
        if (!Warten2(10, this)) return;
    } while (!Z.Haltestopp);
}

void TZqK3_2D1::BitBtnxmMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    for (int i = 0; i < 6; ++i)
        if (Sender == Netzknopf[i]) return Drehen(ZqK3_2D1.Netzansicht, ZqK3_2D1.Schritt[i], true);
}

void TZqK3_2D1::BitBtnxmMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ZqK3_2D1.Haltestopp = true;
}

void TZqK3_2D1::BitBtn5MouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    for (int i = 0; i < 6; ++i)
        if (Sender == Wuerfelknopf[i]) return Drehen(ZqK3_2D1.Wuerfelansicht, ZqK3_2D1.Schritt[i], false);
}

void TZqK3_2D1::BitBtn5MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ZqK3_2D1.Haltestopp = true;
}

void TZqK3_2D1::BitBtn3Click(TObject*) {
    TFaerbZustand& Z = ZqK3_2D1;
    Z.Faltwinkel = 0;
    Z.Netzansicht.Drehung = EinheitsMatrix2();
    GittermodellZeichnen();
}

void TZqK3_2D1::BitBtn4Click(TObject*) {
    ZqK3_2D1.Wuerfelansicht.Drehung = Startdrehung();
    ZielwuerfelZeichnen();
}

void TZqK3_2D1::BitBtn7Click(TObject*) {
    TFaerbZustand& Z = ZqK3_2D1;
    const bool Ok = FarbfolgeRichtig(Z.Netzart, FarbfolgeBilden(Z));
    // "Neue Aufgabe" during the fold ends it; the verdict belongs to the
    // task that was folded, not to the new one.
    const int Aufgabe = Z.Aufgabenlauf;
    if (Z.Faltwinkel < 90) {
        Z.Haltestopp = false;
        tMatrix M = EinheitsMatrix2();
        do {
            M = MatrixProdukt2(M, DrehmatrixX2(Grad));
            M = MatrixProdukt2(M, DrehmatrixY2(0.5 * Grad));
            Z.Netzansicht.Drehung = M;
            Z.Faltwinkel += 1;
            if (Z.Faltwinkel >= 90) {
                Z.Faltwinkel = 90;
                Z.Haltestopp = true;
            }
            GittermodellZeichnen();
            if (!Warten2(20, this) || Z.Aufgabenlauf != Aufgabe) return;
        } while (!Z.Haltestopp);
    }
    if (Z.Aufgabenlauf != Aufgabe) return;
    if (Ok) {
        LabelP->Font()->SetColor(RGB(0, 255, 0));
        LabelP->SetCaption(QStringLiteral("richtig"));
        BitBtn8->SetVisible(false);
    } else {
        LabelP->Font()->SetColor(RGB(255, 0, 0));
        LabelP->SetCaption(QStringLiteral("falsch"));
        BitBtn8->SetVisible(true);
    }
    const bool W = CheckHG->Checked();
    TFont* f = Image2->Canvas()->Font();
    f->SetStyle(f->Style() | fsBold);
    bool Leer = false;
    for (int n : Z.Malnummer)
        Leer = Leer || n < 1;
    if (Leer) {
        if (W) {
            TextObenLinks(10, 0, 0, 160, 0, QStringLiteral("Bitte alle Flächen färben."), 'T', 16, true, Image2);
            TextObenLinks(10, 20, 0, 0, 255, QStringLiteral("Der rechte Würfel muss dazu gedreht werden."), 'T',
                          12, true, Image2);
        } else {
            TextObenLinks(10, 0, 0, 255, 0, QStringLiteral("Bitte alle Flächen färben."), 'T', 16, true, Image2);
            TextObenLinks(10, 20, 255, 255, 0, QStringLiteral("Der rechte Würfel muss dazu gedreht werden."), 'T',
                          12, true, Image2);
        }
    }
    const QString Zeilen[6] = {QStringLiteral("Bewege die Maus auf den Würfel und halte die"),
                               QStringLiteral("linke Maustaste gedrückt."),
                               QStringLiteral("Wenn du die Maus dann bewegst, dreht sich"),
                               QStringLiteral("der Würfel."),
                               QStringLiteral("Alternativ kannst du auch die + / - Tasten"),
                               QStringLiteral("verwenden.")};
    for (int i = 0; i < 6; ++i)
        TextObenLinks(10, 280 + 20 * i, 0, W ? 0 : 255, 0, Zeilen[i], 'T', 12, true, Image2);
}

void TZqK3_2D1::BitBtn8Click(TObject*) {
    TFaerbZustand& Z = ZqK3_2D1;
    Z.Netzansicht.Drehung = EinheitsMatrix2();
    Z.Faltwinkel = 0;
    LabelP->SetCaption(QString());
    for (int& n : Z.Malnummer)
        n = -1;
    Z.Netzfarben.assign(6, Weiss);
    GittermodellZeichnen();
}

void TZqK3_2D1::BitBtn13Click(TObject*) {
    Panel4->SetVisible(true);
}

void TZqK3_2D1::PanelFarbe1Click(TObject* Sender) {
    for (int i = 0; i < 6; ++i)
        if (Sender == PanelFarbe[i]) RadioGroup1->SetItemIndex(i);
}

void TZqK3_2D1::CheckHGClick(TObject*) {
    ZielwuerfelZeichnen();
    GittermodellZeichnen();
}

void TZqK3_2D1::Image1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
    TFaerbZustand& Z = ZqK3_2D1;
    Z.Ziehen[0] = true;
    Z.X0[0] = X;
    Z.Y0[0] = Y;
    Z.Gemerkt[0] = Z.Wuerfelansicht.Drehung;
}

void TZqK3_2D1::Image1MouseMove(TObject*, TShiftState, int X, int Y) {
    TFaerbZustand& Z = ZqK3_2D1;
    if (!Z.Ziehen[0]) return;
    const tMatrix Vorher = Z.Wuerfelansicht.Drehung;
    Z.Wuerfelansicht.Drehung = MatrixProdukt2(
        ZiehDrehung(Z.X0[0], Z.Y0[0], X, Y, BildBreite(Image1), BildHoehe(Image1), 20), Vorher);
    ZielwuerfelZeichnen();
    Z.Gemerkt[0] = Z.Wuerfelansicht.Drehung;
    Z.Wuerfelansicht.Drehung = Vorher;
}

void TZqK3_2D1::Image1MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    TFaerbZustand& Z = ZqK3_2D1;
    if (!Z.Ziehen[0]) return;
    Z.Ziehen[0] = false;
    Z.Wuerfelansicht.Drehung = Z.Gemerkt[0];
    ZielwuerfelZeichnen();
}

void TZqK3_2D1::Image2MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
    TFaerbZustand& Z = ZqK3_2D1;
    Z.Ziehen[1] = true;
    Z.X0[1] = X;
    Z.Y0[1] = Y;
    Z.Gemerkt[1] = Z.Netzansicht.Drehung;
    if (Z.Faltwinkel != 0) return;
    const int q = FlaecheUnterMaus2(X, Y, Z.Netzecken, Z.Netzansicht);
    if (q < 1 || q > 6) return;
    const int n = RadioGroup1->ItemIndex() + 1;
    if (n < 1 || n > 6) return;
    Z.Netzfarben[q - 1] = Z.Malfarben[n - 1];
    Z.Malnummer[q - 1] = n;
    GittermodellZeichnen();
}

void TZqK3_2D1::Image2MouseMove(TObject*, TShiftState, int X, int Y) {
    TFaerbZustand& Z = ZqK3_2D1;
    if (!Z.Ziehen[1] || Z.Faltwinkel <= 88) return;
    const tMatrix Vorher = Z.Netzansicht.Drehung;
    Z.Netzansicht.Drehung = MatrixProdukt2(
        ZiehDrehung(Z.X0[1], Z.Y0[1], X, Y, BildBreite(Image2), BildHoehe(Image2), 40), Vorher);
    GittermodellZeichnen();
    Z.Gemerkt[1] = Z.Netzansicht.Drehung;
    Z.Netzansicht.Drehung = Vorher;
}

void TZqK3_2D1::Image2MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    TFaerbZustand& Z = ZqK3_2D1;
    if (!Z.Ziehen[1]) return;
    Z.Ziehen[1] = false;
    Z.Netzansicht.Drehung = Z.Gemerkt[1];
    if (Z.Faltwinkel > 88) GittermodellZeichnen();
}

void TZqK3_2D1::ProgrammEndeClick(TObject* Sender) {
    ZqK3_2D1.Haltestopp = true;
    TAufgabeg::ProgrammEndeClick(Sender);
}
