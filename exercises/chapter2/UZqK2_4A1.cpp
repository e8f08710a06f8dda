#include "exercises/chapter2/UZqK2_4A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Timer.h"

#include <cmath>
#include <vector>

TWaagenZustand ZqK2_4A1;

namespace {

struct TWare {
    const char* Name;
    int Masse;
    const char* Bild; // its picture (140 x 110) in the resources
};
const TWare Waren[16] = {
    {"Mandeln 100g", 100, "ware_mandeln.png"},
    {"Kartoffeln 225g", 225, "ware_kartoffeln.png"},
    {"Dose Champignons 400g", 400, "ware_champignons.png"},
    {"Graupen 250g", 250, "ware_graupen.png"},
    {"Dose Mais 150g", 150, "ware_mais.png"},
    {"Glas Gurken 330g", 330, "ware_gurken.png"},
    {"Popcorn - Mais 300g", 300, "ware_popcorn.png"},
    {"Klebestift 40g", 40, "ware_klebestift.png"},
    {"Zahnpasta 25g", 25, "ware_zahnpasta.png"},
    {"Eingelegte Paprika 740g", 740, "ware_paprika_eingelegt.png"},
    {"Geröstete Paprika 680g", 680, "ware_paprika_geroestet.png"},
    {"Apfelmus 355g", 355, "ware_apfelmus.png"},
    {"Kakao 125g", 125, "ware_kakao.png"},
    {"Glas Spargel 180g", 180, "ware_spargel.png"},
    {"Reis 625g", 625, "ware_reis.png"},
    {"Zucker 1000g", 1000, "ware_zucker.png"},
};

struct TBildplatz {
    const char* Knopf;
    const char* Bild;
    int Breite, Hoehe, x, y, Schrift;
};
const TBildplatz Plaetze[GewichtAnzahl] = {
    {"BitBtn10", "Image10", 50, 50, 25, 40, 8},   {"BitBtn9", "Image1", 50, 50, 25, 40, 8},
    {"BitBtn8", "Image2", 60, 60, 30, 50, 10},    {"BitBtn7", "Image3", 60, 60, 30, 50, 10},
    {"BitBtn6", "Image4", 70, 80, 35, 70, 12},    {"BitBtn5", "Image5", 80, 100, 40, 90, 16},
    {"BitBtn4", "Image6", 100, 120, 50, 110, 16}, {"BitBtn3", "Image7", 100, 120, 50, 110, 16},
    {"BitBtn2", "Image8", 120, 150, 60, 140, 16},
};

// Pieces on the pan in drawing order (index into the set) and their x offset
// from the right hanger.
constexpr int SchalenFolge[GewichtAnzahl][2] = {{8, 0},    {7, -55}, {6, 55},  {5, 90}, {4, -100},
                                                {3, -127}, {2, 127}, {1, -13}, {0, 12}};

constexpr TColor Blau = RGB(50, 160, 255);
constexpr TColor Grau = RGB(200, 200, 200);

TPoint Gedreht(const TPoint& P, const TPoint& Zentrum, double Winkel) {
    return PunktAusRealPunkt(PunktDrehen(RealPunktAusPunkt(P), RealPunktAusPunkt(Zentrum), Winkel));
}

std::vector<TPoint> Teller(const TPoint& h) {
    return {{h.x + 160, h.y + 184}, {h.x - 160, h.y + 184}, {h.x - 160, h.y + 187}, {h.x + 160, h.y + 187}};
}

} // namespace

int GewichteSumme(const std::array<bool, GewichtAnzahl>& AufSchale) {
    int s = 0;
    for (int i = 0; i < GewichtAnzahl; ++i)
        if (AufSchale[i]) s += GewichtMassen[i];
    return s;
}

bool WaagebalkenSchritt(int Masse, int Ziel, double& Winkel) {
    bool Geaendert = false;
    if (Masse < Ziel && Winkel > -10) {
        Winkel -= 0.5;
        Geaendert = true;
    }
    if (Masse > Ziel && Winkel < 10) {
        Winkel += 0.5;
        Geaendert = true;
    }
    if (Masse == Ziel) {
        if (Winkel < 0) {
            Winkel += 0.5;
            Geaendert = true;
        }
        if (Winkel > 0) {
            Winkel -= 0.5;
            Geaendert = true;
        }
    }
    return Geaendert;
}

QString WaagenUrteil(int Masse, int Ziel) {
    if (Masse < Ziel) return QStringLiteral("Zu wenig Gewicht auf der rechten Waagschale.");
    if (Masse == Ziel)
        return QStringLiteral("Die Waage befindet sich im Gleichgewicht. Sehr gut, weiter so.");
    return QStringLiteral("Zu viel Gewicht auf der rechten Waagschale.");
}

QString GewichtBeschriftung(int Masse) {
    if (Masse >= 1000000) return ZahlAlsText(Masse / 1000000.0) + QStringLiteral(" t");
    if (Masse >= 1000) return ZahlAlsText(Masse / 1000.0) + QStringLiteral(" kg");
    return QString::number(Masse) + QStringLiteral(" g");
}

void GewichtMitMasseZeichnen(int x, int y, int Masse, int R, int G, int B, double Faktor, int Schriftgroesse,
                             TImage* Bild) {
    GewichtZeichnen(x, y, R, G, B, Masse, Schriftgroesse, QString(), false, Faktor, Bild);
    if (Masse <= 0 || !(Faktor > 0) || !std::isfinite(Faktor)) return;
    const double s = Potenz(Masse, 1.0 / 3) * 0.12 * Faktor;
    // The text routine keeps the canvas's font style.
    if (Bild) Bild->Canvas()->Font()->SetStyle(fsBold);
    TextAusgebenLokal(x, static_cast<int>(std::lround(y - 59 * s / 2)), 0, 0, 0, R, G, B,
                      GewichtBeschriftung(Masse), 'A', Schriftgroesse, true, true, Bild);
}

TWaagenGeometrie WaagenGeometrie(int W, int H, double Winkel) {
    TWaagenGeometrie g;
    const TPoint P{W / 2, H - 220};
    g.Drehpunkt = P;
    const TPoint Ecken[4] = {
        {P.x + 200, P.y - 7}, {P.x - 200, P.y - 7}, {P.x - 200, P.y + 7}, {P.x + 200, P.y + 7}};
    for (int i = 0; i < 4; ++i)
        g.Balken[i] = Gedreht(Ecken[i], P, Winkel);
    g.Rechts = Gedreht({P.x + 190, P.y}, P, Winkel);
    g.Links = Gedreht({P.x - 190, P.y}, P, Winkel);
    return g;
}

void GewichtsatzAnlegen(TAufgabeg* Form, int Oben, std::array<TBitBtn*, GewichtAnzahl>& Knoepfe,
                        std::array<TImage*, GewichtAnzahl>& Bilder, const TNotifyEvent& Klick) {
    int x = 8;
    for (int i = 0; i < GewichtAnzahl; ++i) {
        const TBildplatz& p = Plaetze[i];
        const int Spalte = std::max(p.Breite, 84);
        Bilder[i] = Muster::Zeichenbild(Form, nullptr, QString::fromLatin1(p.Bild),
                                        x + (Spalte - p.Breite) / 2, Oben - 2 - p.Hoehe, p.Breite, p.Hoehe);
        Knoepfe[i] =
            Muster::Knopf(Form, nullptr, QString::fromLatin1(p.Knopf), QString(), x, Oben, Spalte, 44, -13);
        Knoepfe[i]->OnClick = Klick;
        x += Spalte + 4;
    }
}

TStaticText* WaagenText(TAufgabeg* Form, int Oben) {
    auto* t = new TStaticText(Form);
    t->SetName(QStringLiteral("Label4"));
    t->SetParent(Form->B_ScrollBox);
    t->SetAutoSize(false);
    t->SetAlignment(taCenter);
    t->SetColor(clWhite);
    t->SetParentFont(false);
    t->Font()->SetName(QStringLiteral("Tahoma"));
    t->Font()->SetHeight(-16);
    t->Font()->SetStyle(fsBold);
    t->SetBounds(8, Oben, 769, 24);
    t->SetCaption(QString());
    t->BringToFront();
    return t;
}

void KnoepfeBeschriften(const std::array<TBitBtn*, GewichtAnzahl>& Knoepfe,
                        const std::array<bool, GewichtAnzahl>& AufSchale) {
    for (int i = 0; i < GewichtAnzahl; ++i)
        Knoepfe[i]->SetCaption(AufSchale[i] ? QStringLiteral("Gewicht\rzurückstellen")
                                            : QStringLiteral("Gewicht\rnehmen"));
}

TWaagenGeometrie WaageOhneLastZeichnen(TImage* Waage, const std::array<TImage*, GewichtAnzahl>& Bilder,
                                       const std::array<bool, GewichtAnzahl>& Auf, double Winkel) {
    for (int i = 0; i < GewichtAnzahl; ++i) {
        const TBildplatz& p = Plaetze[i];
        const TColor f = Auf[i] ? Grau : Blau;
        BildFuellen(255, 255, 255, Bilder[i]);
        GewichtMitMasseZeichnen(p.x, p.y, GewichtMassen[i], GetRValue(f), GetGValue(f), GetBValue(f), 1.5,
                                p.Schrift, Bilder[i]);
    }

    const int W = BildBreite(Waage), H = BildHoehe(Waage);
    const int c = W / 2;
    const TWaagenGeometrie g = WaagenGeometrie(W, H, Winkel);
    const TPoint& P = g.Drehpunkt;
    const TPoint &hr = g.Rechts, &hl = g.Links;

    BildFuellen(255, 255, 255, Waage);
    TCanvas* cv = Waage->Canvas();
    cv->Pen()->SetColor(clBlack);
    cv->Brush()->SetColor(RGB(200, 50, 100));
    cv->Polygon({{c - 10, H}, {c + 10, H}, {c + 10, H - 250}, {c - 10, H - 250}});
    cv->Polygon({g.Balken.begin(), g.Balken.end()});
    PunktZeichnen(P.x, P.y, 0, 0, 0, Waage);
    PunktZeichnen(hr.x, hr.y, 0, 0, 0, Waage);
    PunktZeichnen(hl.x, hl.y, 0, 0, 0, Waage);
    cv->Pen()->SetColor(clBlack);
    cv->Brush()->SetColor(RGB(200, 50, 100));
    cv->Polygon(Teller(hr));
    cv->Polygon(Teller(hl));

    const int Boden = hr.y + 184 - 1;
    for (const auto& s : SchalenFolge)
        if (Auf[s[0]])
            GewichtMitMasseZeichnen(hr.x + s[1], Boden, GewichtMassen[s[0]], GetRValue(Blau), GetGValue(Blau),
                                    GetBValue(Blau), 1.5, Plaetze[s[0]].Schrift, Waage);
    return g;
}

void SchnuereZeichnen(const TWaagenGeometrie& g, TImage* Waage) {
    for (const TPoint& h : {g.Rechts, g.Links}) {
        LinieZeichnen(h.x, h.y, h.x + 155, h.y + 184, 0, 0, 0, true, Waage);
        LinieZeichnen(h.x, h.y, h.x - 155, h.y + 184, 0, 0, 0, true, Waage);
    }
}

TZqK2_4A1::TZqK2_4A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_4A1"));
    SetCaption(QStringLiteral("Abschnitt 2.4   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Die Waage"));
    Label2 = Beschriftung(this, nullptr, QStringLiteral("Label2"),
                          QStringLiteral("Stelle so viele Gewichte auf die Waage, dass sie sich im "
                                         "Gleichgewicht befindet."),
                          8, 36);

    GewichtsatzAnlegen(this, 220, Knoepfe, Gewichtbilder, [this](TObject* s) { BitBtn2Click(s); });
    for (int k = 0; k < 16; ++k) {
        ImageP[k] = Bild(this, nullptr, QStringLiteral("ImageP%1").arg(k + 1), 0, 0, 140, 110);
        ImageP[k]->SetVisible(false);
        BildLaden(ImageP[k], QString::fromLatin1(Waren[k].Bild));
    }

    Image9 = Zeichenbild(this, nullptr, QStringLiteral("Image9"), 8, 268, 769, 287);
    Label4 = WaagenText(this, 268);
    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 8, 559, 769, 32, clWhite);
    Panel2->SetParentFont(false);
    Panel2->Font()->SetName(QStringLiteral("Tahoma"));
    Panel2->Font()->SetHeight(-16);
    Panel2->Font()->SetStyle(fsBold);

    Timer1 = new TTimer(this);
    Timer1->SetName(QStringLiteral("Timer1"));
    Timer1->SetEnabled(false);
    Timer1->SetInterval(50);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

void TZqK2_4A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_Tastatur->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK2_4A1.Ware = 0;
    NeueAufgabe();
}

void TZqK2_4A1::NeueAufgabe() {
    Aufgabenanzahl = 16;
    TAufgabeg::NeueAufgabe();
    ZqK2_4A1.Ware = ZqK2_4A1.Ware >= 16 || ZqK2_4A1.Ware < 0 ? 1 : ZqK2_4A1.Ware + 1;
    WareEinstellen();
    Timer1->SetEnabled(true);
    ZqK2_4A1.AufSchale.fill(false);
    ZqK2_4A1.Winkel = -10;
    WaageZeichnen();
    GewichtKnoepfeBeschriften();
}

void TZqK2_4A1::WareEinstellen() {
    const int k = ZqK2_4A1.Ware;
    if (k < 1 || k > 16) return;
    ZqK2_4A1.Zielmasse = Waren[k - 1].Masse;
    Panel2->SetCaption(QString::fromUtf8(Waren[k - 1].Name));
}

void TZqK2_4A1::BitBtn2Click(TObject* Sender) {
    for (int i = 0; i < GewichtAnzahl; ++i)
        if (Knoepfe[i] == Sender) {
            ZqK2_4A1.AufSchale[i] = !ZqK2_4A1.AufSchale[i];
            WaageZeichnen();
            GewichtKnoepfeBeschriften();
            return;
        }
}

void TZqK2_4A1::GewichtKnoepfeBeschriften() {
    KnoepfeBeschriften(Knoepfe, ZqK2_4A1.AufSchale);
}

void TZqK2_4A1::Timer1Timer(TObject*) {
    const int m = GewichteSumme(ZqK2_4A1.AufSchale);
    const int t = ZqK2_4A1.Zielmasse;
    if (WaagebalkenSchritt(m, t, ZqK2_4A1.Winkel)) WaageZeichnen();
    const QString Text = WaagenUrteil(m, t);
    if (Label4->Caption() != Text) Label4->SetCaption(Text);
}

void TZqK2_4A1::WaageZeichnen() {
    const TWaagenGeometrie g =
        WaageOhneLastZeichnen(Image9, Gewichtbilder, ZqK2_4A1.AufSchale, ZqK2_4A1.Winkel);
    const int k = ZqK2_4A1.Ware;
    if (k >= 1 && k <= 16) {
        TImage* Q = ImageP[k - 1];
        const int w = BildBreite(Q), h = BildHoehe(Q);
        const int unten = g.Links.y + 184 - 2;
        const int links = g.Links.x - w / 2;
        Image9->Canvas()->CopyRect({links, unten - h, links + w, unten}, *Q->Canvas(), {0, 0, w, h});
    }
    SchnuereZeichnen(g, Image9);
}
