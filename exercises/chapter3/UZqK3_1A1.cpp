#include "exercises/chapter3/UZqK3_1A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/Application.h"
#include "platform/Runtime.h"

#include <cmath>
#include <vector>

TMusterZustand ZqK3_1A1;

namespace {

struct TMusterAufgabe {
    int n, R;
    double Faktor;
    int Abstand, Gegeben;
    std::vector<int> Angebot;
    std::vector<int> Folge;
};

const TMusterAufgabe& Aufgabe(int Nr) {
    static const TMusterAufgabe A[7] = {
        {8, 50, 1.0, 50, 4, {1, 2}, {1, 2}},
        {9, 50, 1.0, 45, 6, {1, 2, 3}, {1, 2, 3}},
        {12, 50, 1.0, 5, 8, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {15, 42, 0.84, 5, 10, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},
        {15, 42, 0.84, 5, 10, {1, 2}, {1, 2, 2}},
        {20, 33, 0.66, 5, 10, {1, 2, 4}, {1, 1, 2, 2, 4}},
        {18, 36, 0.72, 5, 10, {1, 2, 3}, {1, 1, 3, 2, 2, 2}},
    };
    return A[(Nr >= 1 && Nr <= 7 ? Nr : 1) - 1];
}

const TColor Formfarbe = 14995896;

} // namespace

TZqK3_1A1::TZqK3_1A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_1A1"));
    SetCaption(QStringLiteral("Abschnitt 3.1   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Setze das dargestellte Muster naheliegend fort."));
    PanelBild = Feld(this, nullptr, QStringLiteral("PanelBild"), 0, 28, 505, 505, Formfarbe);
    Image1 = Bild(this, PanelBild, QStringLiteral("Image1"), 0, 0, 505, 505);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    PanelBilder = Feld(this, nullptr, QStringLiteral("PanelBilder"), 520, 28, 225, 329, Formfarbe);
    const int Links[5] = {3, 115, 3, 115, 3};
    const int Oben[5] = {3, 3, 112, 112, 224};
    auto Rahmen = [this](int k, int x, int y) {
        auto* s = new TShape(this);
        s->SetName(QStringLiteral("Shape%1").arg(k + 1));
        s->SetParent(PanelBilder);
        s->SetBounds(x, y, 106, 106);
        Shape[k] = s;
    };
    for (int k = 0; k < 5; ++k) {
        // The frame lies under its picture and shows round it.
        Rahmen(k, Links[k] - 3, Oben[k] - 3);
        Shape[k]->Pen()->SetColor(clRed);
        Shape[k]->Pen()->SetWidth(3);
        Shape[k]->Brush()->SetStyle(bsClear);
        Shape[k]->SetVisible(false);
        Bildh[k] = Bild(this, PanelBilder, QStringLiteral("Bild%1h").arg(k + 1), Links[k], Oben[k], 100, 100);
        BildLaden(Bildh[k], QStringLiteral("muster%1.png").arg(k + 1));
        Bildh[k]->OnMouseDown = [this](TObject* s, TMouseButton, TShiftState, int, int) { Bild1hMouseDown(s); };
    }
    Rahmen(5, 112, 221);
    Shape[5]->Brush()->SetColor(clWhite);
    Shape[5]->OnMouseDown = [this](TObject* s, TMouseButton, TShiftState, int, int) { Bild1hMouseDown(s); };
    LabelP1 = Urteilslabel(this, nullptr, QStringLiteral("LabelP1"), 500, 368, 265, 57);
    LabelP1->SetAlignment(taCenter);
    BitBtnP1 = Knopf(this, nullptr, QStringLiteral("BitBtnP1"), QStringLiteral("Muster prüfen"), 520, 436, 225, 40);
    BitBtn3 = Knopf(this, nullptr, QStringLiteral("BitBtn3"), QStringLiteral("Reset"), 520, 488, 225, 40);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
}

void TZqK3_1A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK3_1A1.Nr = 0;
    NeueAufgabe();
}

void TZqK3_1A1::NeueAufgabe() {
    Aufgabenanzahl = 7;
    TAufgabeg::NeueAufgabe();
    MusterNeu(true);
}

void TZqK3_1A1::BitBtn3Click(TObject*) {
    MusterNeu(false);
}

void TZqK3_1A1::MusterNeu(bool Weiter) {
    TMusterZustand& Z = ZqK3_1A1;
    for (int k = 0; k < 5; ++k) {
        Bildh[k]->SetVisible(false);
        Shape[k]->SetVisible(false);
    }
    LabelP1->SetCaption(QString());
    Z.Wahl = 0;
    Shape[5]->Pen()->SetColor(clBlack);
    Shape[5]->Pen()->SetWidth(1);
    Shape[5]->Invalidate();
    if (Weiter) Z.Nr = Z.Nr >= 7 ? 1 : Z.Nr + 1;
    MusterLaden();
    MusterZeichnen(GanzerRing);
}

void TZqK3_1A1::MusterLaden() {
    TMusterZustand& Z = ZqK3_1A1;
    Z.R = 50;
    Z.Faktor = 1.0;
    Z.Abstand = 0;
    for (tMusterKreis& k : Z.K) {
        k.Gegeben = false;
        k.Bild = 0;
    }
    const TMusterAufgabe& A = Aufgabe(Z.Nr);
    Z.n = A.n;
    Z.R = A.R;
    Z.Faktor = A.Faktor;
    Z.Abstand = A.Abstand;
    for (int i = 0; i < A.Gegeben; ++i)
        Z.K[i].Gegeben = true;
    for (int b : A.Angebot)
        Bildh[b - 1]->SetVisible(true);
    MusterSetzen();
    for (tMusterKreis& k : Z.K)
        if (k.Gegeben) k.Bild = k.Soll;
}

void TZqK3_1A1::MusterSetzen() {
    TMusterZustand& Z = ZqK3_1A1;
    const std::vector<int>& F = Aufgabe(Z.Nr).Folge;
    for (int i = 0; i < 20; ++i)
        Z.K[i].Soll = F[static_cast<size_t>(i) % F.size()];
}

void TZqK3_1A1::Bild1hMouseDown(TObject* Sender) {
    int Wahl = -1;
    if (Sender == Shape[5]) Wahl = 0;
    for (int k = 0; k < 5; ++k)
        if (Sender == Bildh[k]) Wahl = k + 1;
    if (Wahl < 0) return;
    ZqK3_1A1.Wahl = Wahl;
    AuswahlZeigen();
}

void TZqK3_1A1::AuswahlZeigen() {
    for (int k = 0; k < 5; ++k)
        Shape[k]->SetVisible(false);
    Shape[5]->Pen()->SetColor(clBlack);
    Shape[5]->Pen()->SetWidth(1);
    const int w = ZqK3_1A1.Wahl;
    if (w == 0) {
        Shape[5]->Pen()->SetColor(RGB(255, 0, 0));
        Shape[5]->Pen()->SetWidth(3);
    } else if (w >= 1 && w <= 5) {
        Shape[w - 1]->SetVisible(true);
    }
    Shape[5]->Invalidate();
}

void TZqK3_1A1::MusterZeichnen(int Welcher) {
    TMusterZustand& Z = ZqK3_1A1;
    TCanvas* c = Image1->Canvas();
    const int h = BildHoehe(Image1) / 2;
    const int cx = h, cy = h;
    if (Welcher == GanzerRing) {
        BildFuellen(184, 208, 228, Image1);
        TextAusgebenLokal(cx, cy - 40, 0, 0, 0, 255, 255, 255, QStringLiteral("Klicke zunächst mit der"), 'T', 16,
                          true, true, Image1);
        TextAusgebenLokal(cx, cy - 16, 0, 0, 0, 255, 255, 255, QStringLiteral("Maus ein eckiges Bild an."), 'T', 16,
                          true, true, Image1);
        TextAusgebenLokal(cx, cy + 20, 0, 0, 0, 255, 255, 255, QStringLiteral("Klicke anschließend auf"), 'T', 16,
                          true, true, Image1);
        TextAusgebenLokal(cx, cy + 44, 0, 0, 0, 255, 255, 255, QStringLiteral("einen der weißen Kreise."), 'T', 16,
                          true, true, Image1);
    }
    const std::weak_ptr<void> Lebt = AliveToken();
    // A click handled between two circles may load another task: n and R are read afresh.
    for (int i = 0; i < Z.n && i < 20; ++i) {
        const int R = Z.R;
        const double rho = Z.n * R / M_PI + 2 + Z.Abstand;
        const double theta = M_PI - 2 * M_PI * i / Z.n;
        tMusterKreis& k = Z.K[i];
        k.x = static_cast<int>(Round(cx + rho * std::cos(theta)));
        k.y = static_cast<int>(Round(cy - rho * std::sin(theta)));
        if (i == Welcher || Welcher == GanzerRing) {
            c->Pen()->SetColor(clBlack);
            c->Pen()->SetWidth(1);
            c->Brush()->SetColor(clWhite);
            c->Brush()->SetStyle(bsSolid);
            c->Ellipse(k.x - R, k.y - R, k.x + R, k.y + R);
            if (k.Bild >= 1 && k.Bild <= 5) {
                BildInKreisZeichnen(Bildh[k.Bild - 1], Image1, k.x - R + 1, k.y - R, Z.Faktor);
                // The picture's circle lies one pixel to the right of the
                // drawn one and covers its rim but on the left: the rim is
                // drawn again over the picture's edge.
                c->Brush()->SetStyle(bsClear);
                c->Ellipse(k.x - R, k.y - R, k.x + R, k.y + R);
            }
            Image1->Invalidate();
        }
        Application()->ProcessMessages();
        if (Lebt.expired()) return;
    }
}

void TZqK3_1A1::Image1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
    TMusterZustand& Z = ZqK3_1A1;
    int Neu = -2;
    for (int i = 0; i < Z.n && i < 20; ++i) {
        tMusterKreis& k = Z.K[i];
        if (std::hypot(double(X - k.x), double(Y - k.y)) < Z.R && !k.Gegeben) {
            k.Bild = Z.Wahl;
            Neu = i;
        }
    }
    if (Neu >= 0) MusterZeichnen(Neu);
}

void TZqK3_1A1::BitBtnP1Click(TObject*) {
    const TMusterZustand& Z = ZqK3_1A1;
    bool Weiss = false, Falsch = false;
    for (int i = 0; i < Z.n && i < 20; ++i) {
        if (Z.K[i].Bild == 0) Weiss = true;
        if (Z.K[i].Bild != Z.K[i].Soll) Falsch = true;
    }
    if (Weiss)
        Muster::Urteil(LabelP1, QStringLiteral("Alle weißen Kreise\rmüssen gefüllt sein."), RGB(255, 255, 0));
    else if (Falsch)
        Muster::Urteil(LabelP1, QStringLiteral("Nicht das gewünschte Muster."), RGB(255, 0, 0));
    else
        Muster::Urteil(LabelP1, QStringLiteral("Das Muster stimmt.\rSehr gut, weiter so."), RGB(0, 255, 0));
}
