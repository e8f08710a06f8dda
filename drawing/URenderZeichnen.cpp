// Painting side of the renderer: projection onto the view's image, the depth
// colours and gradient edges of the wire model, the balls, the background, the
// face picking and the draw stage of the builders.
#include "drawing/Bildzugang.h"
#include "drawing/URender.h"
#include "drawing/UZeichnen1.h"

#include "platform/Runtime.h"

#include <algorithm>
#include <cmath>

namespace {

TColor Farbe(int r, int g, int b) {
    return RGB(r, g, b);
}

struct Bildschirmflaeche {
    std::array<TPoint, 4> Ecken;
    int Tiefe = 0;
    int Nummer = 0;
};

} // namespace

void Projizieren1(const tVektor& P, const tAnsicht& Ansicht, int& Tiefe, TPoint& Pixel) {
    ProjizierenAufGroesse(P, Ansicht, BildBreite(Ansicht.Bild), BildHoehe(Ansicht.Bild), Tiefe, Pixel);
}

TColor TiefenFarbe1(const tVektor& P, const tAnsicht& Ansicht) {
    int t = 0;
    TPoint p;
    Projizieren1(P, Ansicht, t, p);
    const int s = Ganzteil(t * 185 / 1000.0) + 70;
    return Farbe(s, s, 0);
}

void VerlaufsLinie1(const tVektor& P, const tVektor& Q, TColor Farbe1, TColor Farbe2, int n,
                    const tAnsicht& Ansicht) {
    TCanvas* c = Leinwand(Ansicht.Bild);
    if (!c || n < 2) return;
    int t = 0;
    TPoint p, q;
    Projizieren1(P, Ansicht, t, p);
    Projizieren1(Q, Ansicht, t, q);
    int r1, g1, b1, r2, g2, b2;
    FarbeZerlegen1(Farbe1, r1, g1, b1);
    FarbeZerlegen1(Farbe2, r2, g2, b2);
    auto stelle = [&](int i) {
        const double f = static_cast<double>(i) / n;
        return TPoint{Naechste(p.x + f * (q.x - p.x)), Naechste(p.y + f * (q.y - p.y))};
    };
    for (int i = 0; i < n; ++i) {
        const double f = static_cast<double>(i) / (n - 1);
        c->Pen()->SetColor(
            Farbe(Ganzteil(r1 + f * (r2 - r1)), Ganzteil(g1 + f * (g2 - g1)), Ganzteil(b1 + f * (b2 - b1))));
        const TPoint a = stelle(i), b = stelle(i + 1);
        c->MoveTo(a.x, a.y);
        c->LineTo(b.x, b.y);
    }
}

void KugelZeichnen1(int x, int y, int r, int g, int b, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetWidth(1);
    static const struct {
        int Rand;
        double f;
    } ringe[] = {{4, 128.0 / 255}, {3, 160.0 / 255}, {2, 200.0 / 255}, {1, 230.0 / 255}};
    for (const auto& ring : ringe) {
        const TColor farbe = Farbe(Naechste(r * ring.f), Naechste(g * ring.f), Naechste(b * ring.f));
        c->Pen()->SetColor(farbe);
        c->Brush()->SetColor(farbe);
        c->Ellipse(x - ring.Rand, y - ring.Rand, x + ring.Rand + 1, y + ring.Rand + 1);
    }
    c->SetPixel(x, y, Farbe(r, g, b));
}

void HintergrundFuellen1(int r, int g, int b, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetColor(Farbe(r, g, b));
    c->Brush()->SetColor(Farbe(r, g, b));
    c->Rectangle(0, 0, BildBreite(Bild), BildHoehe(Bild));
}

namespace {

// Faces given as four consecutive vertices each, Anzahl faces in face order.
int FlaecheUnterPunkt(int X, int Y, const tVektor* Ecken, int Anzahl, const tAnsicht& Ansicht) {
    for (int k = 0; k < Anzahl; ++k) {
        int xmin = 0, xmax = 0, ymin = 0, ymax = 0;
        for (int i = 0; i < 4; ++i) {
            int t = 0;
            TPoint p;
            Projizieren2(Ecken[4 * k + i], Ansicht, t, p);
            if (i == 0 || p.x < xmin) xmin = p.x;
            if (i == 0 || p.x > xmax) xmax = p.x;
            if (i == 0 || p.y < ymin) ymin = p.y;
            if (i == 0 || p.y > ymax) ymax = p.y;
        }
        if (xmin < X && X < xmax && ymin < Y && Y < ymax) return k + 1;
    }
    return -1;
}

} // namespace

int FlaecheUnterMaus2(int X, int Y, const tFlaechenfeld& Flaechen, const tAnsicht& Ansicht) {
    std::array<tVektor, 24> ecken;
    for (int k = 0; k < 6; ++k)
        std::copy(Flaechen[k].begin(), Flaechen[k].end(), ecken.begin() + 4 * k);
    return FlaecheUnterPunkt(X, Y, ecken.data(), 6, Ansicht);
}

int FlaecheUnterMaus2(int X, int Y, const tPunktefeld& Ecken, const tAnsicht& Ansicht) {
    const int anzahl = static_cast<int>(std::min<size_t>(Ecken.size() / 4, 6));
    return FlaecheUnterPunkt(X, Y, Ecken.data(), anzahl, Ansicht);
}

bool Warten1(int ms, TForm* Formular) {
    return Warten(ms, Formular);
}

void FlaechenDarstellen(tFlaechenfeld& Flaechen, const tFarbfeld& Farben, bool Gefuellt, bool Loeschen,
                        bool Zeichnen, TColor Hintergrund, const tAnsicht& Ansicht) {
    for (tFlaeche& f : Flaechen)
        for (tVektor& e : f)
            e = MatrixMalVektor1(Ansicht.Drehung, e);
    TCanvas* c = Leinwand(Ansicht.Bild);
    if (!Zeichnen || !c || BildBreite(Ansicht.Bild) <= 0 || BildHoehe(Ansicht.Bild) <= 0) return;

    std::array<Bildschirmflaeche, 6> schirm;
    for (int k = 0; k < 6; ++k) {
        int summe = 0;
        for (int i = 0; i < 4; ++i) {
            int t = 0;
            Projizieren1(Flaechen[k][i], Ansicht, t, schirm[k].Ecken[i]);
            summe += t;
        }
        schirm[k].Tiefe = Naechste(summe / 4.0);
        schirm[k].Nummer = k;
    }
    // Far faces first; equal depths in face order, so the higher number ends on top.
    std::stable_sort(
        schirm.begin(), schirm.end(),
        [](const Bildschirmflaeche& a, const Bildschirmflaeche& b) { return a.Tiefe < b.Tiefe; });

    if (Loeschen)
        HintergrundFuellen1(GetRValue(Hintergrund), GetGValue(Hintergrund), GetBValue(Hintergrund),
                            Ansicht.Bild);

    if (Gefuellt) {
        for (const Bildschirmflaeche& f : schirm) {
            c->Pen()->SetColor(clBlack);
            c->Brush()->SetColor(f.Nummer < static_cast<int>(Farben.size()) ? Farben[f.Nummer] : clBlack);
            c->Polygon(std::vector<TPoint>(f.Ecken.begin(), f.Ecken.end()));
        }
        return;
    }

    c->Pen()->SetWidth(2);
    for (const Bildschirmflaeche& f : schirm) {
        const tFlaeche& ecken = Flaechen[f.Nummer];
        for (int i = 0; i < 4; ++i) {
            const tVektor& a = ecken[i];
            const tVektor& b = ecken[(i + 1) % 4];
            VerlaufsLinie1(a, b, TiefenFarbe1(a, Ansicht), TiefenFarbe1(b, Ansicht), 20, Ansicht);
        }
    }
    c->Pen()->SetWidth(1);
    tPunktefeld liste;
    EckenSammeln1(Flaechen, liste);
    for (const tVektor& e : liste) {
        int t = 0;
        TPoint p;
        Projizieren1(e, Ansicht, t, p);
        const int s = Ganzteil(t * 185 / 1000.0) + 70;
        KugelZeichnen1(p.x, p.y, s, s, 0, Ansicht.Bild);
    }
}
