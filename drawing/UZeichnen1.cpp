#include "drawing/UZeichnen1.h"

#include "drawing/Bildzugang.h"

#include "platform/Runtime.h"
#include "platform/Wait.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;
// No picture is that long: longer dashed lines and vector arrows are left out.
constexpr double kLaengsteLinie = 100000;

bool ImBereich(int v) {
    return std::abs(v) < 4000;
}

// The two strokes of an arrow head at (x2, y2), about 7 pixels at 45 degrees.
void PfeilspitzeZeichnen(TCanvas* c, int x1, int y1, int x2, int y2) {
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    const double laenge = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / laenge, uy = dy / laenge;
    const double k = 1; // tan 45 degrees
    c->MoveTo(x2, y2);
    c->LineTo(Naechste(x2 - 5 * ux + 5 * k * uy), Naechste(y2 - 5 * uy - 5 * k * ux));
    c->MoveTo(x2, y2);
    c->LineTo(Naechste(x2 - 5 * ux - 5 * k * uy), Naechste(y2 - 5 * uy + 5 * k * ux));
}

// The arrow accent above a name: a right arrow in the symbol font.
const QString kPfeilAkzent = QString(QChar(174));

} // namespace

void LinieZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gepunktet, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c || !ImBereich(x1) || !ImBereich(y1) || !ImBereich(x2) || !ImBereich(y2)) return;
    c->Pen()->SetStyle(Gepunktet ? psDot : psSolid);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(RGB(R, G, B));
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
}

void LinieBreitZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gestrichelt, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    const int breite = c->Pen()->Width();
    c->Pen()->SetWidth(2);
    c->Pen()->SetColor(RGB(R, G, B));
    if (!Gestrichelt) {
        LinieZeichnen(x1, y1, x2, y2, R, G, B, false, Bild);
    } else {
        const double dx = double(x2) - x1, dy = double(y2) - y1;
        const double laenge = std::sqrt(dx * dx + dy * dy);
        if (!(laenge <= kLaengsteLinie)) {
            c->Pen()->SetWidth(breite);
            return;
        }
        int n = Ganzteil(laenge / 3) + 1;
        if (n % 2 == 0) ++n;
        // Dashes on the even pieces, so both ends carry one.
        for (int i = 0; i < n; i += 2) {
            const double a = static_cast<double>(i) / n, b = static_cast<double>(i + 1) / n;
            c->MoveTo(Naechste(x1 + a * dx), Naechste(y1 + a * dy));
            c->LineTo(Naechste(x1 + b * dx), Naechste(y1 + b * dy));
        }
    }
    c->Pen()->SetWidth(breite);
}

void LinieZwischenPunkten(TPoint A, TPoint B, int R, int G, int Bl, TImage* Bild) {
    LinieZeichnen(A.x, A.y, B.x, B.y, R, G, Bl, false, Bild);
}

void PfeilZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gepunktet, const QString& Name,
                   TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c || !ImBereich(x1) || !ImBereich(y1) || !ImBereich(x2) || !ImBereich(y2) || (x1 == x2 && y1 == y2))
        return;
    c->Pen()->SetStyle(Gepunktet ? psDot : psSolid);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(RGB(R, G, B));
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
    c->Pen()->SetStyle(psSolid);
    PfeilspitzeZeichnen(c, x1, y1, x2, y2);
    if (!Name.isEmpty()) {
        c->Brush()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(RGB(R, G, B));
        const int cx = Naechste((double(x1) + x2) / 2), cy = Naechste((double(y1) + y2) / 2 - 16);
        c->Font()->SetSize(8);
        c->Font()->SetName(QStringLiteral("Symbol"));
        c->TextOut(cx - 1, cy - 6, kPfeilAkzent);
        c->Font()->SetName(QStringLiteral("Times New Roman"));
        c->TextOut(cx, cy, Name);
    }
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
}

void VektorpfeilZeichnen(int x1, int y1, int x2, int y2, int R, int G, int B, bool Gestrichelt,
                         const QString& Name, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c || (x1 == x2 && y1 == y2) || !(std::hypot(double(x2) - x1, double(y2) - y1) <= kLaengsteLinie))
        return;
    const int breite = c->Pen()->Width();
    const TPenStyle stiftstil = c->Pen()->Style();
    const TBrushStyle pinselstil = c->Brush()->Style();
    const int schriftgroesse = c->Font()->Size();
    const QString schriftname = c->Font()->Name();

    LinieBreitZeichnen(x1, y1, x2, y2, R, G, B, Gestrichelt, Bild);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(2);
    c->Pen()->SetColor(RGB(R, G, B));
    PfeilspitzeZeichnen(c, x1, y1, x2, y2);
    c->Pen()->SetWidth(breite);

    if (!Name.isEmpty()) {
        c->Brush()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(RGB(R, G, B));
        c->Font()->SetSize(16);
        const double dx = double(x2) - x1, dy = double(y2) - y1;
        const double laenge = std::sqrt(dx * dx + dy * dy);
        const double ux = dx / laenge, uy = dy / laenge;
        const double cx = Naechste((double(x1) + x2) / 2), cy = Naechste((double(y1) + y2) / 2);
        // The name goes to the side of the shaft that lies up and to the right.
        double nx = -uy, ny = ux;
        if (uy > 0) nx = -nx, ny = -ny;
        if (ux < 0) nx = -nx, ny = -ny;
        // Small letters without an ascender get their accent lower, some narrow ones further right.
        int obenVersatz = 0, seitenVersatz = 0;
        if (Name.size() == 1) {
            const QChar z = Name[0];
            if (z == 'a' || z == 'c' || z == 'e' || z == 'g' || (z >= 'm' && z <= 'z')) obenVersatz = 3;
            if (z == 'f')
                seitenVersatz = 3;
            else if (z == 'd' || z == 'r' || z == 's' || z == 'z')
                seitenVersatz = 2;
        }
        c->Font()->SetName(QStringLiteral("Symbol"));
        const int w = c->TextWidth(kPfeilAkzent), h = c->TextHeight(kPfeilAkzent);
        c->TextOut(Naechste(cx - w / 2.0 + 16 * nx + seitenVersatz),
                   Naechste(cy - h / 2.0 + 16 * ny - 16 + obenVersatz), kPfeilAkzent);
        c->Font()->SetName(QStringLiteral("Tahoma"));
        const int w2 = c->TextWidth(Name), h2 = c->TextHeight(Name);
        c->TextOut(Naechste(cx - w2 / 2.0 + 16 * nx), Naechste(cy - h2 / 2.0 + 16 * ny), Name);
    }
    c->Pen()->SetStyle(stiftstil);
    c->Brush()->SetStyle(pinselstil);
    c->Font()->SetSize(schriftgroesse);
    c->Font()->SetName(schriftname);
}

void BildFuellen(int R, int G, int B, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Brush()->SetColor(RGB(R, G, B));
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(TRect{0, 0, BildBreite(Bild), BildHoehe(Bild)});
}

void RechteckZeichnen(int x1, int y1, int x2, int y2, int StiftR, int StiftG, int StiftB, int PinselR,
                      int PinselG, int PinselB, int Stiftbreite, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetColor(RGB(StiftR, StiftG, StiftB));
    c->Pen()->SetWidth(Stiftbreite);
    c->Brush()->SetColor(RGB(PinselR, PinselG, PinselB));
    c->Rectangle(x1, y1, x2 + 1, y2 + 1);
}

void PunktZeichnen(int x, int y, int R, int G, int B, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(RGB(R, G, B));
    c->Brush()->SetColor(RGB(R, G, B));
    c->Ellipse(x - 2, y - 2, x + 3, y + 3);
}

void ViereckFuellen(const std::array<TPoint, 4>& Ecken, int R, int G, int B, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetColor(RGB(R, G, B));
    c->Brush()->SetColor(RGB(R, G, B));
    c->Polygon(std::vector<TPoint>(Ecken.begin(), Ecken.end()));
}

namespace {

// Grid lines from p0 in steps of schritt towards richtung: the count from the
// distance to the margin, and of those only the ones on the picture (0 .. groesse),
// so that a far-off origin or margin cannot keep the loop or the canvas busy.
template <typename Linie>
void Gitterlinien(double p0, int richtung, int schritt, double abstand, int groesse, Linie&& linie) {
    if (schritt <= 0) return;
    const double anzahl = std::trunc(abstand / schritt) + 1;
    // k with 0 <= p0 + richtung k schritt <= groesse
    double kVon = richtung > 0 ? std::ceil(-p0 / schritt) : std::ceil((p0 - groesse) / schritt);
    double kBis = richtung > 0 ? std::floor((groesse - p0) / schritt) : std::floor(p0 / schritt);
    kVon = std::max(kVon, 0.0);
    kBis = std::min(kBis, anzahl - 1);
    for (double k = kVon; k <= kBis; ++k)
        linie(Naechste(p0 + richtung * k * schritt));
}

// An axis-parallel line keeps what shows of it when its ends are pulled onto the picture.
int AufsBild(double v, int groesse) {
    return Naechste(std::clamp(v, -1.0, groesse + 1.0));
}

} // namespace

void KaroGitterZeichnen(int x0, int y0, int RandX, int RandY, int dx, int dy, int R, int G, int B,
                        TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetColor(RGB(R, G, B));
    c->Brush()->SetColor(clBlack);
    const int w = BildBreite(Bild), h = BildHoehe(Bild);
    const double links = RandX, rechts = double(w) - RandX;
    const double oben = RandY, unten = double(h) - RandY;
    auto senkrecht = [&](int x) {
        c->MoveTo(x, AufsBild(oben, h));
        c->LineTo(x, AufsBild(unten, h));
    };
    auto waagerecht = [&](int y) {
        c->MoveTo(AufsBild(links, w), y);
        c->LineTo(AufsBild(rechts, w), y);
    };
    // Outward from the origin: right and up, right and down, left and down, left and up.
    Gitterlinien(x0, 1, dx, rechts - x0, w, senkrecht);
    Gitterlinien(y0, -1, dy, y0 - oben, h, waagerecht);
    Gitterlinien(y0, 1, dy, unten - y0, h, waagerecht);
    Gitterlinien(x0, -1, dx, x0 - links, w, senkrecht);
}

void GitterZeichnen(int x0, int y0, int Rand, int Oben, int dx, int dy, int R, int G, int B, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    c->Pen()->SetColor(RGB(R, G, B));
    c->Brush()->SetColor(clBlack);
    const int w = BildBreite(Bild), h = BildHoehe(Bild);
    const double breite = double(w) - x0 - Rand;
    Gitterlinien(x0, 1, dx, breite, w, [&](int x) {
        c->MoveTo(x, AufsBild(y0, h));
        c->LineTo(x, AufsBild(Oben, h));
    });
    Gitterlinien(y0, -1, dy, double(y0) - Oben, h, [&](int y) {
        c->MoveTo(AufsBild(x0, w), y);
        c->LineTo(AufsBild(x0 + breite, w), y);
    });
}

void GitterZeichnen(int x0, int y0, int Rand, TImage* Bild, int R, int G, int B, int Zeilenabstand,
                    int Spaltenabstand, int Oben) {
    GitterZeichnen(x0, y0, Rand, Oben, Spaltenabstand, Zeilenabstand, R, G, B, Bild);
}

void ZylinderZeichnen(int x, int y, double Radius, double Hoehe, int R, int G, int B, int DeckelR,
                      int DeckelG, int DeckelB, bool MitDeckel, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    // Darkest at the back (i = 75), brightest at the front (i = 225).
    auto schatten = [](int i) {
        double s;
        if (i <= 75)
            s = 0.5 - i / 150.0;
        else if (i <= 225)
            s = i / 150.0 - 0.5;
        else
            s = 2.5 - i / 150.0;
        return s < 0 ? 0.0 : (s > 1 ? 1.0 : s);
    };
    auto unten = [&](int i) {
        const double a = i / 300.0 * 2 * kPi;
        return TPoint{Naechste(x + std::cos(a) * Radius), Naechste(y - std::sin(a) * Radius / 2)};
    };
    auto oben = [&](const TPoint& p) { return TPoint{p.x, Naechste(p.y - Hoehe)}; };
    auto faerben = [&](int r, int g, int b, double s) {
        const TColor f = RGB(Naechste(r * s), Naechste(g * s), Naechste(b * s));
        c->Pen()->SetColor(f);
        c->Brush()->SetColor(f);
    };
    for (int i = 0; i <= 300; ++i) {
        const TPoint p0 = unten(i), p1 = unten(i + 1);
        faerben(R, G, B, schatten(i));
        c->Polygon({p0, p1, oben(p1), oben(p0)});
    }
    if (MitDeckel) {
        const TPoint mitte{x, Naechste(y - Hoehe)};
        for (int i = 0; i <= 300; ++i) {
            faerben(DeckelR, DeckelG, DeckelB, schatten(i));
            c->Polygon({mitte, oben(unten(i + 1)), oben(unten(i))});
        }
    }
}

namespace {

// Front face, right side and top of an oblique box, then all their edges in grey.
void SchraegbildZeichnen(int x, int y, int Breite, int Hoehe, int t, int VorneR, int VorneG, int VorneB,
                         int SeiteR, int SeiteG, int SeiteB, int ObenR, int ObenG, int ObenB, int Grau,
                         TImage* Bild) {
    const std::array<TPoint, 4> vorne{TPoint{x, y}, TPoint{x + Breite, y}, TPoint{x + Breite, y - Hoehe},
                                      TPoint{x, y - Hoehe}};
    const std::array<TPoint, 4> seite{TPoint{x + Breite, y}, TPoint{x + Breite + t, y - t},
                                      TPoint{x + Breite + t, y - Hoehe - t}, TPoint{x + Breite, y - Hoehe}};
    const std::array<TPoint, 4> oben{TPoint{x, y - Hoehe}, TPoint{x + Breite, y - Hoehe},
                                     TPoint{x + Breite + t, y - Hoehe - t}, TPoint{x + t, y - Hoehe - t}};
    ViereckFuellen(vorne, VorneR, VorneG, VorneB, Bild);
    ViereckFuellen(seite, SeiteR, SeiteG, SeiteB, Bild);
    ViereckFuellen(oben, ObenR, ObenG, ObenB, Bild);
    for (const auto* f : {&vorne, &seite, &oben})
        for (int i = 0; i < 4; ++i)
            LinieZwischenPunkten((*f)[i], (*f)[(i + 1) % 4], Grau, Grau, Grau, Bild);
}

} // namespace

void QuaderZeichnen(int x, int y, int Breite, int Hoehe, int Tiefe, int VorneR, int VorneG, int VorneB,
                    int SeiteR, int SeiteG, int SeiteB, int ObenR, int ObenG, int ObenB, TImage* Bild) {
    SchraegbildZeichnen(x, y, Breite, Hoehe, Tiefe / 2, VorneR, VorneG, VorneB, SeiteR, SeiteG, SeiteB, ObenR,
                        ObenG, ObenB, 64, Bild);
}

void WuerfelZeichnen(int x, int y, int Kante, int VorneR, int VorneG, int VorneB, int SeiteR, int SeiteG,
                     int SeiteB, int ObenR, int ObenG, int ObenB, TImage* Bild) {
    SchraegbildZeichnen(x, y, Kante, Kante, Kante / 2, VorneR, VorneG, VorneB, SeiteR, SeiteG, SeiteB, ObenR,
                        ObenG, ObenB, 128, Bild);
}

void WuerfelZeichnen(int x, int y, int Kante, TImage* Bild, int VorneR, int VorneG, int VorneB, int SeiteR,
                     int SeiteG, int SeiteB, int ObenR, int ObenG, int ObenB) {
    WuerfelZeichnen(x, y, Kante, VorneR, VorneG, VorneB, SeiteR, SeiteG, SeiteB, ObenR, ObenG, ObenB, Bild);
}

bool Warten(int ms, TForm* Formular) {
    // A negative time would wrap to some fifty days in the unsigned wait.
    return WaitResponsive(ms > 0 ? static_cast<uint32_t>(ms) : 0u, Formular);
}
