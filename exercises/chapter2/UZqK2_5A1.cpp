#include "exercises/chapter2/UZqK2_5A1.h"

#include "exercises/chapter2/UGeldBilder.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

// clang-format off
const std::array<TGeldstueck, GeldstueckAnzahl> Geldstuecke = {{
    {"Image1Cent",       1,    8, 519,  62,  62, 1, false,   5, 180, false,   0},
    {"Image2Cent",       2,   75, 510,  71,  71, 2, false,  47, 177, false,   0},
    {"Image2CentN",      2,  150, 510,  71,  71, 2, false,  80, 174, false,   0},
    {"Image5Cent",       5,  225, 500,  81,  81, 3, false, 150, 160, false,   0},
    {"Image10Cent",     10,  310, 507,  74,  74, 4, false, 230, 170, false,   0},
    {"Image20Cent",     20,  389, 496,  85,  85, 5, false, 300, 160, false,   0},
    {"Image20CentN",    20,  478, 496,  85,  85, 5, false, 346, 160, false,   0},
    {"Image50Cent",     50,  566, 489,  92,  92, 6, false,   5,  80, false,   0},
    {"Image1Euro",     100,  664, 494,  87,  87, 7, false, 100,  70, false,   0},
    {"Image2Euro",     200,  756, 483,  98,  98, 8, false, 188,  70, false,   0},
    {"Image2EuroN",    200,  860, 483,  98,  98, 8, false, 260,  70, false,   0},
    {"Image5Euro",     500,    4, 388, 193, 100, 5,  true, 400,  50, true,   20},
    {"Image10Euro",   1000,  204, 388, 189, 100, 10, true, 350,  16, false,   0},
    {"Image20Euro",   2000,  400, 388, 184, 100, 20, true, 470, 150, true,    0},
    {"Image50Euro",   5000,  592, 388, 182, 100, 50, true, 517,  10, true,   20},
    {"Image5EuroN",    500,    4, 284, 193, 100, 5,  true, 400,  50, true,   40},
    {"Image10EuroN",  1000,  204, 284, 189, 100, 10, true, 380,   0, false,   0},
    {"Image20EuroN",  2000,  400, 284, 184, 100, 20, true, 470, 150, true,  -20},
    {"Image50EuroN",  5000,  592, 284, 182, 100, 50, true, 500,   0, true,    5},
}};
// clang-format on

TBezahlZustand ZqK2_5A1;

namespace {

using namespace GeldBilder;

struct TProdukt {
    const char* Text;
    int Preis;        // cents
    const char* Bild; // its picture (273 x 225) in the resources
};
const TProdukt Produkte[12] = {
    {"Kugelschreiber 89 Cent", 89, "produkt_kugelschreiber.png"},
    {"Turnschuhe 129 €", 12900, "produkt_turnschuhe.png"},
    {"Lampe 83,95 €", 8395, "produkt_lampe.png"},
    {"Keramikvogel 18,41 €", 1841, "produkt_keramikvogel.png"},
    {"Solarladegerät 119,53 €", 11953, "produkt_solarladegeraet.png"},
    {"Holzfigur 24,99 €", 2499, "produkt_holzfigur.png"},
    {"Taschenrechner 62,41 €", 6241, "produkt_taschenrechner.png"},
    {"Laterne 19,84 €", 1984, "produkt_laterne.png"},
    {"Keyboard 175,48 €", 17548, "produkt_keyboard.png"},
    {"Kerze 3,55 €", 355, "produkt_kerze.png"},
    {"Küchenmaschine 69,23 €", 6923, "produkt_kuechenmaschine.png"},
    {"Phönixpalme 48,50 €", 4850, "produkt_palme.png"},
};

} // namespace

QString GeldBetragText(long long Cent) {
    if (Cent % 100 == 0) return QString::number(Cent / 100);
    return ZweiStellen(Cent);
}

void ParallelogrammZeichnen(TCanvas* Ziel, const TPoint& P0, const TPoint& P1, const TPoint& P2,
                            const QImage& Quelle) {
    if (Quelle.isNull() || Quelle.width() <= 0 || Quelle.height() <= 0) return;
    QPainter* p = Ziel->Painter();
    if (!p) return;
    const double w = Quelle.width(), h = Quelle.height();
    const QTransform t((P1.x - P0.x) / w, (P1.y - P0.y) / w, (P2.x - P0.x) / h, (P2.y - P0.y) / h, P0.x,
                       P0.y);
    p->save();
    p->setTransform(t, true);
    p->drawImage(QPointF(0, 0), Quelle);
    p->restore();
    Ziel->Release();
    if (Ziel->OnChange) Ziel->OnChange();
}

TZqK2_5A1::TZqK2_5A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_5A1"));
    SetCaption(QStringLiteral("Abschnitt 2.5   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Einkaufen und bezahlen"));

    GeldBilderAnlegen(this, BildTheke, Bild, Muenzbild, MuenzGrau, Schein, ScheinGrau);
    BildSichtbar = Zeichenbild(this, nullptr, QStringLiteral("BildSichtbar"), 0, 28, 688, 249);

    Panel3 = Feld(this, nullptr, QStringLiteral("Panel3"), 696, 0, 281, 233, clWhite);
    Produktbild = Muster::Bild(this, Panel3, QStringLiteral("Produktbild"), 4, 4, 273, 225);
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 696, 237, 281, 40, FarbeAufgabenfeld);
    Panel1->SetParentFont(false);
    Panel1->Font()->SetName(QStringLiteral("Tahoma"));
    Panel1->Font()->SetHeight(-16);
    Panel1->Font()->SetStyle(fsBold);

    // The products' pictures, hidden.
    for (int k = 0; k < 12; ++k) {
        Produktbilder[k] = GeldBild(this, QStringLiteral("ImageP%1").arg(k + 1), 273, 225);
        Muster::BildLaden(Produktbilder[k], QString::fromLatin1(Produkte[k].Bild));
    }

    for (int i = 0; i < GeldstueckAnzahl; ++i) {
        const TGeldstueck& g = Geldstuecke[i];
        Tablett[i] =
            Zeichenbild(this, nullptr, QString::fromLatin1(g.Tablett), g.Links, g.Oben, g.Breite, g.Hoehe);
        Tablett[i]->OnClick = [this](TObject* s) { Image1CentClick(s); };
    }

    auto Text = [this](const QString& Name, int x, int y, int w, int h) {
        auto* t = new TStaticText(this);
        t->SetName(Name);
        t->SetParent(B_ScrollBox);
        t->SetAutoSize(false);
        t->SetColor(clBlack);
        t->SetParentFont(false);
        t->Font()->SetName(QStringLiteral("Tahoma"));
        t->Font()->SetHeight(-19);
        t->Font()->SetStyle(fsBold);
        t->SetBounds(x, y, w, h);
        t->SetCaption(QString());
        return t;
    };
    StaticText1 = Text(QStringLiteral("StaticText1"), 0, 588, 688, 28);
    StaticText2 = Text(QStringLiteral("StaticText2"), 696, 588, 262, 28);
    StaticText2->Font()->SetColor(clLime);

    auto Haken = [this](const QString& Name, const QString& Caption, int y) {
        auto* c = new TCheckBox(this);
        c->SetName(Name);
        c->SetParent(B_ScrollBox);
        c->SetParentFont(false);
        c->Font()->SetName(QStringLiteral("Tahoma"));
        c->Font()->SetHeight(-16);
        c->SetBounds(790, y, 160, 24);
        c->SetCaption(Caption);
        c->SetChecked(true);
        c->OnClick = [this](TObject* s) { CheckBox1Click(s); };
        return c;
    };
    CheckBox1 = Haken(QStringLiteral("CheckBox1"), QStringLiteral("Hilfen"), 300);
    CheckBox2 = Haken(QStringLiteral("CheckBox2"), QStringLiteral("Hinweistext"), 330);
}

void TZqK2_5A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_Tastatur->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK2_5A1.Produkt = 0;
    NeueAufgabe();
}

void TZqK2_5A1::NeueAufgabe() {
    Aufgabenanzahl = 12;
    TAufgabeg::NeueAufgabe();
    ZqK2_5A1.Produkt = ZqK2_5A1.Produkt >= 12 || ZqK2_5A1.Produkt < 0 ? 1 : ZqK2_5A1.Produkt + 1;
    ProduktSetzen();
    ZqK2_5A1.AufTheke.fill(false);
    ThekeZeichnen();
    GrauKopienErneuern(Ansicht());
}

TGeldAnsicht TZqK2_5A1::Ansicht() const {
    return {Tablett, Muenzbild, MuenzGrau, Schein, ScheinGrau, BildTheke, Bild, BildSichtbar};
}

TImage* GeldBild(TAufgabeg* Form, const QString& Name, int Breite, int Hoehe) {
    TImage* i = Muster::Zeichenbild(Form, nullptr, Name, 0, 0, Breite, Hoehe);
    i->SetVisible(false);
    return i;
}

void GeldBilderAnlegen(TAufgabeg* Form, TImage*& BildTheke, TImage*& Bild, std::array<TImage*, 8>& Muenzbild,
                       std::array<TImage*, 8>& MuenzGrau, std::array<TImage*, 4>& Schein,
                       std::array<TImage*, 4>& ScheinGrau) {
    BildTheke = GeldBild(Form, QStringLiteral("BildTheke"), 688, 249);
    ThekeMalen(BildTheke);
    Bild = GeldBild(Form, QStringLiteral("Bild"), 688, 249);
    // A coin's picture fills its tray image.
    for (int k = 0; k < 8; ++k) {
        const TGeldstueck& g = Geldstuecke[ErstesStueck[k]];
        Muenzbild[k] = GeldBild(Form, QStringLiteral("Image%1").arg(k + 1), g.Breite, g.Hoehe);
        MuenzeMalen(Muenzbild[k], MuenzCent[k]);
        const QString Wert = MuenzCent[k] < 100 ? QStringLiteral("%1Cent").arg(MuenzCent[k])
                                                : QStringLiteral("%1Euro").arg(MuenzCent[k] / 100);
        MuenzGrau[k] = GeldBild(Form, QStringLiteral("Image%1G").arg(Wert), g.Breite, g.Hoehe);
    }
    const int ScheinBreite[4] = {193, 189, 184, 182};
    for (int k = 0; k < 4; ++k) {
        Schein[k] = GeldBild(Form, QStringLiteral("Image%1Euro1").arg(ScheinWerte[k]), ScheinBreite[k], 100);
        ScheinMalen(Schein[k], ScheinWerte[k]);
        ScheinGrau[k] =
            GeldBild(Form, QStringLiteral("Image%1Euro2").arg(ScheinWerte[k]), ScheinBreite[k], 100);
    }
}

void GrauKopienErneuern(const TGeldAnsicht& A) {
    for (int k = 0; k < 4; ++k) {
        A.ScheinGrau[k]->Picture()->SetGraphic(GrauBild(A.Schein[k]->Picture()->Bitmap(), 1.5));
        for (int i = MuenzAnzahl; i < GeldstueckAnzahl; ++i)
            if (Geldstuecke[i].Bildnummer == ScheinWerte[k]) {
                const TRect r{0, 0, BildBreite(A.Tablett[i]), BildHoehe(A.Tablett[i])};
                A.Tablett[i]->Canvas()->CopyRect(r, *A.Schein[k]->Canvas(), r);
            }
    }
    for (int k = 0; k < 8; ++k)
        A.MuenzGrau[k]->Picture()->SetGraphic(GrauBild(A.Tablett[ErstesStueck[k]]->Picture()->Bitmap(), 1.5));
}

void TZqK2_5A1::Image1CentClick(TObject* Sender) {
    for (int i = 0; i < GeldstueckAnzahl; ++i)
        if (Tablett[i] == Sender) {
            ZqK2_5A1.AufTheke[i] = !ZqK2_5A1.AufTheke[i];
            ThekeZeichnen();
            return;
        }
}

void TZqK2_5A1::CheckBox1Click(TObject*) {
    ThekeZeichnen();
}

void TZqK2_5A1::ProduktSetzen() {
    const int k = ZqK2_5A1.Produkt;
    if (k < 1 || k > 12) return;
    ZqK2_5A1.Preis = Produkte[k - 1].Preis;
    Produktbild->Picture()->Assign(*Produktbilder[k - 1]->Picture());
    Panel1->SetCaption(QString::fromUtf8(Produkte[k - 1].Text));
}

void GeldZeichnen(const TGeldAnsicht& A, const std::array<bool, GeldstueckAnzahl>& Auf, int r, int g, int b) {
    for (int i = 0; i < MuenzAnzahl; ++i) {
        const int k = Geldstuecke[i].Bildnummer - 1;
        BildFuellen(r, g, b, A.Tablett[i]);
        BildInKreisZeichnen(Auf[i] ? A.MuenzGrau[k] : A.Muenzbild[k], A.Tablett[i], -1, 0, 1.0);
    }
    for (int i = MuenzAnzahl; i < GeldstueckAnzahl; ++i) {
        const int k = ScheinIndex(Geldstuecke[i].Bildnummer);
        const TRect rr{0, 0, BildBreite(A.Tablett[i]), BildHoehe(A.Tablett[i])};
        A.Tablett[i]->Canvas()->CopyRect(rr, *(Auf[i] ? A.ScheinGrau[k] : A.Schein[k])->Canvas(), rr);
    }

    BildFuellen(r, g, b, A.Bild);
    const TRect Ganz{0, 0, BildBreite(A.BildTheke), BildHoehe(A.BildTheke)};
    A.Bild->Canvas()->CopyRect(Ganz, *A.BildTheke->Canvas(), Ganz);

    for (int i : ScheinFolge) {
        if (!Auf[i]) continue;
        const TGeldstueck& s = Geldstuecke[i];
        TImage* Quelle = A.Schein[ScheinIndex(s.Bildnummer)];
        const int w = BildBreite(Quelle), h = BildHoehe(Quelle);
        if (!s.Gedreht) {
            A.Bild->Canvas()->CopyRect({s.ThekeX, s.ThekeY, s.ThekeX + w, s.ThekeY + h}, *Quelle->Canvas(),
                                       {0, 0, w, h});
            continue;
        }
        const TRealPunkt z = RealPunkt(s.ThekeX, s.ThekeY);
        const TPoint P0 = PunktAusRealPunkt(PunktDrehen(z, z, s.Winkel));
        const TPoint P1 = PunktAusRealPunkt(PunktDrehen(RealPunkt(s.ThekeX + w, s.ThekeY), z, s.Winkel));
        const TPoint P2 = PunktAusRealPunkt(PunktDrehen(RealPunkt(s.ThekeX, s.ThekeY + h), z, s.Winkel));
        ParallelogrammZeichnen(A.Bild->Canvas(), P0, P1, P2, Quelle->Picture()->Bitmap()->Image());
    }
    for (int i : MuenzFolge)
        if (Auf[i])
            BildInKreisZeichnen(A.Muenzbild[Geldstuecke[i].Bildnummer - 1], A.Bild, Geldstuecke[i].ThekeX,
                                Geldstuecke[i].ThekeY, 1.0);
    A.BildSichtbar->Canvas()->CopyRect(Ganz, *A.Bild->Canvas(), Ganz);
}

int TZqK2_5A1::ThekenBetrag() const {
    int s = 0;
    for (int i = 0; i < GeldstueckAnzahl; ++i)
        if (ZqK2_5A1.AufTheke[i]) s += Geldstuecke[i].Cent;
    return s;
}

void TZqK2_5A1::ThekeZeichnen() {
    int r = 0, g = 0, b = 0;
    FarbeInRGB(Color(), r, g, b);
    GeldZeichnen(Ansicht(), ZqK2_5A1.AufTheke, r, g, b);
    const int S = ThekenBetrag();

    if (CheckBox2->Checked()) {
        const QString Zeilen[4] = {
            QStringLiteral("Klicke mit der Maus auf ein Geldstück im unteren Bereich,"),
            QStringLiteral("um es auf die Ladentheke zu legen ( es wird grau )."),
            QStringLiteral("Klicke mit der Maus auf ein grau dargestelltes Geldstück,"),
            QStringLiteral("um es zurückzulegen."),
        };
        for (int z = 0; z < 4; ++z)
            TextAusgeben(0, 18 * z, 0, 0, 0, 0, 0, 0, Zeilen[z], 'A', 16, true, false, BildSichtbar);
    }

    const int P = ZqK2_5A1.Preis;
    const bool Hilfen = CheckBox1->Checked();
    ZqK2_5A1.Fehlbetrag = P - S;
    const int d = ZqK2_5A1.Fehlbetrag;
    if (d > 0) {
        StaticText1->Font()->SetColor(RGB(255, 0, 0));
        StaticText1->SetCaption(Hilfen ? QStringLiteral("Es fehlen noch ") + GeldBetragText(d) +
                                             QStringLiteral(" €.")
                                       : QStringLiteral("Es fehlt noch Geld."));
    }
    if (P == S) {
        StaticText1->Font()->SetColor(RGB(0, 255, 0));
        StaticText1->SetCaption(QStringLiteral("Der Geldbetrag stimmt. Sehr gut, weiter so."));
    }
    if (S > P) {
        StaticText1->Font()->SetColor(RGB(50, 200, 255));
        StaticText1->SetCaption(Hilfen ? QStringLiteral("Du hast ") + GeldBetragText(S - P) +
                                             QStringLiteral(" € zuviel bezahlt.")
                                       : QStringLiteral("Du hast zuviel bezahlt."));
    }
    StaticText2->SetCaption(Hilfen ? QStringLiteral(" Theke: ") + ZweiStellen(S) + QStringLiteral(" €.")
                                   : QString());
}
