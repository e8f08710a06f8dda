// The weight piece, the seven-segment digits with the digital clock, and the
// analogue clock.
#include "drawing/UZeichnen2.h"

#include "drawing/Bildzugang.h"

#include "platform/Runtime.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A channel mixed towards white: t = 1 full colour, t = 0.5 half-way to white.
int Aufgehellt(int C, double t) {
    return Ganzteil(((C & 0xFF) * t + 255 * (1 - t)));
}

TColor Schattiert(int R, int G, int B, double t) {
    return RGB(Aufgehellt(R, t), Aufgehellt(G, t), Aufgehellt(B, t));
}

void Polygon(TCanvas* c, const std::vector<TRealPunkt>& punkte) {
    std::vector<TPoint> p;
    p.reserve(punkte.size());
    for (const TRealPunkt& q : punkte)
        p.push_back(TPoint{Naechste(q.x), Naechste(q.y)});
    c->Polygon(p);
}

} // namespace

void GewichtZeichnen(int x, int y, int R, int G, int B, int Masse, int Schriftgroesse,
                     const QString& Beschriftung, bool MitBeschriftung, double Faktor, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c || Masse <= 0 || !(Faktor > 0) || !std::isfinite(Faktor)) return;
    const double s = Potenz(Masse, 1.0 / 3) * 0.12 * Faktor;
    const int halb = Naechste(27 * s);
    const int hoehe = Naechste(59 * s);
    if (halb <= 0 || hoehe <= 0 || halb > 100000) return;

    // Body: one vertical line per column, lightest in the middle.
    c->Pen()->SetWidth(1);
    for (int X = Naechste(x - 27 * s); X <= Naechste(x + 27 * s); ++X) {
        const double t = (1 + static_cast<double>(std::abs(X - x)) / halb) / 2;
        c->Pen()->SetColor(Schattiert(R, G, B, t));
        c->MoveTo(X, y);
        c->LineTo(X, y - hoehe);
    }

    // Shoulder: from the body's width up to the neck, on a curve that falls
    // steeply at the sides and flattens towards the neck.
    const double oben = y - hoehe;
    const double schulter = 8 * s;
    std::vector<TRealPunkt> rand;
    for (int i = 0; i < 100; ++i) {
        const double v = i / 99.0;
        const double breite = 8 * s + 19 * s * (1 - v) / (1 + 4 * v);
        rand.push_back(RealPunkt(x - breite, oben - schulter * std::sqrt(v)));
    }
    for (int i = 99; i >= 0; --i)
        rand.push_back(RealPunkt(2 * x - rand[i].x, rand[i].y));
    c->Pen()->SetColor(Schattiert(R, G, B, 0.8));
    c->Brush()->SetColor(Schattiert(R, G, B, 0.7));
    Polygon(c, rand);

    // Knob: concentric ellipses, full colour outside, light in the middle.
    const double knopfX = x, knopfY = oben - schulter - 3 * s;
    for (int i = 0; i < 10; ++i) {
        const double f = 1 - i / 10.0;
        const TColor farbe = Schattiert(R, G, B, 1 - 0.5 * i / 9.0);
        c->Pen()->SetColor(farbe);
        c->Brush()->SetColor(farbe);
        c->Ellipse(Naechste(knopfX - 8 * s * f), Naechste(knopfY - 5 * s * f - 2 * s * (1 - f)),
                   Naechste(knopfX + 8 * s * f) + 1, Naechste(knopfY + 5 * s * f - 2 * s * (1 - f)) + 1);
    }

    if (MitBeschriftung)
        TextAusgeben(x, Naechste(y - 59 * s / 2), 0, 0, 0, R, G, B, Beschriftung, 'T', Schriftgroesse, true,
                     true, Bild);
}

void GewichtZeichnen(int x, int y, int Masse, int R, int G, int B, double Faktor, const QString& Beschriftung,
                     int Schriftgroesse, TImage* Bild) {
    GewichtZeichnen(x, y, R, G, B, Masse, Schriftgroesse, Beschriftung, true, Faktor, Bild);
}

void SiebenSegmentZiffer(int x, int y, int Groesse, int Ziffer, int FuellR, int FuellG, int FuellB, int RandR,
                         int RandG, int RandB, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c || Ziffer < 0 || Ziffer >= 10 || Groesse <= 2) return;
    // Bits: top, upper right, lower right, bottom, lower left, upper left, middle.
    static const unsigned kSegmente[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double h = (Groesse - 2) / 2.0;
    const double d = h / 4;
    const double L = x + 1, Rr = x + 1 + h, O = y + 1, M = y + 1 + h, U = y + 1 + 2 * h;
    const std::vector<TRealPunkt> formen[7] = {
        {RealPunkt(L, O), RealPunkt(Rr, O), RealPunkt(Rr - d, O + d), RealPunkt(L + d, O + d)},
        {RealPunkt(Rr, O), RealPunkt(Rr, M), RealPunkt(Rr - d, M - d / 2), RealPunkt(Rr - d, O + d)},
        {RealPunkt(Rr, M), RealPunkt(Rr, U), RealPunkt(Rr - d, U - d), RealPunkt(Rr - d, M + d / 2)},
        {RealPunkt(L + d, U - d), RealPunkt(Rr - d, U - d), RealPunkt(Rr, U), RealPunkt(L, U)},
        {RealPunkt(L, M), RealPunkt(L + d, M + d / 2), RealPunkt(L + d, U - d), RealPunkt(L, U)},
        {RealPunkt(L, O), RealPunkt(L + d, O + d), RealPunkt(L + d, M - d / 2), RealPunkt(L, M)},
        {RealPunkt(L + d, M - d / 2), RealPunkt(Rr - d, M - d / 2), RealPunkt(Rr - d, M + d / 2),
         RealPunkt(L + d, M + d / 2)},
    };
    c->Pen()->SetColor(RGB(RandR, RandG, RandB));
    c->Brush()->SetColor(RGB(FuellR, FuellG, FuellB));
    for (int k = 0; k < 7; ++k)
        if (kSegmente[Ziffer] & (1u << k)) Polygon(c, formen[k]);
}

void DigitaluhrZeichnen(int x, int y, int Groesse, int Stunde, int Minute, int Sekunde, int R, int G, int B,
                        int R2, int G2, int B2, bool MitStunden, bool MitTrenner, bool MitMinuten,
                        bool MitSekunden, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    if (Sekunde >= 60) {
        Minute += Sekunde / 60;
        Sekunde %= 60;
    }
    if (Minute >= 60) {
        Stunde += Minute / 60;
        Minute %= 60;
    }
    if (Stunde >= 24) Stunde %= 24;

    const double ziffer = Groesse / 2.0 + Groesse / 12.0; // a digit and its gap
    const double trenner = Groesse / 6.0;
    auto paar = [&](double links, int wert) {
        SiebenSegmentZiffer(Naechste(links), y, Groesse, wert / 10, R, G, B, R2, G2, B2, Bild);
        SiebenSegmentZiffer(Naechste(links + ziffer), y, Groesse, wert % 10, R, G, B, R2, G2, B2, Bild);
    };
    auto punkte = [&](double links) {
        const double r = Groesse / 12.0;
        const double mx = links + trenner / 2 - Groesse / 24.0;
        c->Pen()->SetColor(RGB(R2, G2, B2));
        c->Brush()->SetColor(RGB(R, G, B));
        for (double hy : {Groesse / 3.0, 2 * Groesse / 3.0})
            c->Ellipse(Naechste(mx - r / 2), Naechste(y + hy - r / 2), Naechste(mx + r / 2) + 1,
                       Naechste(y + hy + r / 2) + 1);
    };
    double links = x;
    if (MitStunden) paar(links, Stunde);
    links += 2 * ziffer;
    if (MitTrenner) punkte(links);
    links += trenner;
    if (MitMinuten) paar(links, Minute);
    links += 2 * ziffer;
    if (MitSekunden) {
        punkte(links);
        paar(links + trenner, Sekunde);
    }
}

void AnalogUhrZeichnen(int x, int y, int Radius, int Stunde, int Minute, int Sekunde, bool Stundenzeiger,
                       bool Minutenzeiger, bool Sekundenzeiger, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c || Radius <= 0) return;
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clWhite);
    c->Ellipse(x - Radius, y - Radius, x + Radius, y + Radius);

    const double u = 2.0 * Radius / 35;
    auto punkt = [&](double q, double grad) {
        const double w = grad * M_PI / 180;
        return TPoint{Naechste(x + q * std::sin(w)), Naechste(y - q * std::cos(w))};
    };
    for (int i = 0; i < 60; ++i) {
        const bool stunde = i % 5 == 0;
        const TPoint a = punkt(Radius - 6 * u, i * 6), b = punkt(Radius - (stunde ? 4 : 5) * u, i * 6);
        c->Pen()->SetColor(clBlack);
        c->MoveTo(a.x, a.y);
        c->LineTo(b.x, b.y);
        if (stunde) {
            const TPoint t = punkt(Radius - 2 * u, i * 6);
            TextAusgeben(t.x, t.y, 0, 0, 0, 255, 255, 255, QString::number(i == 0 ? 12 : i / 5), 'A',
                         Naechste(2 * u), true, true, Bild);
        }
    }

    auto zeiger = [&](double L, double b, double w, double winkel, TColor farbe) {
        const TRealPunkt mitte = RealPunkt(x, y);
        const TRealPunkt ecken[5] = {RealPunkt(x + b, y), RealPunkt(x + w, y - 2 * L / 3),
                                     RealPunkt(x, y - L), RealPunkt(x - w, y - 2 * L / 3),
                                     RealPunkt(x - b, y)};
        std::vector<TRealPunkt> gedreht;
        for (const TRealPunkt& e : ecken)
            gedreht.push_back(PunktDrehen(e, mitte, winkel));
        c->Pen()->SetColor(farbe);
        c->Brush()->SetColor(farbe);
        Polygon(c, gedreht);
    };
    if (Stundenzeiger)
        zeiger(Radius - 6 * u, u / 2, u, StundenzeigerWinkel(Stunde, Minute, Sekunde), RGB(0, 130, 0));
    if (Minutenzeiger)
        zeiger(Radius - 3 * u, u / 4, u / 2, MinutenzeigerWinkel(Minute, Sekunde), RGB(50, 160, 255));
    if (Sekundenzeiger) zeiger(Radius - 3 * u, u / 8, u / 8, Sekunde * 6.0, RGB(200, 0, 0));

    const int r = std::max(2, Naechste(u / 2));
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(RGB(128, 128, 128));
    c->Ellipse(x - r, y - r, x + r + 1, y + r + 1);
}
