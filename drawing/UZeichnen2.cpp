// Texts by font code, pictures inside a circle and grey copies.
#include "drawing/UZeichnen2.h"

#include "drawing/Bildzugang.h"

#include "platform/ControlsExt.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

void SchriftNachCode(TCanvas* c, char Code, const QString& SchriftT) {
    switch (Code) {
    case 'T':
    case 't':
        c->Font()->SetName(SchriftT);
        break;
    case 'S':
    case 's':
        c->Font()->SetName(QStringLiteral("Symbol"));
        break;
    case 'A':
    case 'a':
        c->Font()->SetName(QStringLiteral("Arial"));
        break;
    default:
        break;
    }
}

// Brush and font as they were before a text call; the colour goes back before
// the style, since colouring a clear brush makes it solid.
class PinselUndSchrift {
public:
    explicit PinselUndSchrift(TCanvas* c)
        : m_c(c), m_stil(c->Brush()->Style()), m_farbe(c->Brush()->Color()), m_name(c->Font()->Name()),
          m_groesse(c->Font()->Size()), m_schriftfarbe(c->Font()->Color()) {}
    ~PinselUndSchrift() {
        m_c->Brush()->SetColor(m_farbe);
        m_c->Brush()->SetStyle(m_stil);
        m_c->Font()->SetName(m_name);
        m_c->Font()->SetSize(m_groesse);
        m_c->Font()->SetColor(m_schriftfarbe);
    }

private:
    TCanvas* m_c;
    TBrushStyle m_stil;
    TColor m_farbe;
    QString m_name;
    int m_groesse;
    TColor m_schriftfarbe;
};

// Shared by the left-aligned and right-aligned text: sets brush and font and
// returns the text's size.
TSize TextVorbereiten(TCanvas* c, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                      int PinselB, const QString& Text, char Code, int Groesse, bool Transparent,
                      const QString& SchriftT) {
    if (Transparent)
        c->Brush()->SetStyle(bsClear);
    else
        c->Brush()->SetColor(RGB(PinselR, PinselG, PinselB));
    SchriftNachCode(c, Code, SchriftT);
    c->Font()->SetSize(Groesse);
    c->Font()->SetColor(RGB(SchriftR, SchriftG, SchriftB));
    return TSize{c->TextWidth(Text), c->TextHeight(Text)};
}

} // namespace

void TextAusgeben(int x, int y, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                  int PinselB, const QString& Text, char Code, int Groesse, bool Transparent, bool Zentriert,
                  TImage* Bild) {
    TextAusgebenInSchrift(SchriftTToolkit, x, y, SchriftR, SchriftG, SchriftB, PinselR, PinselG, PinselB, Text,
                          Code, Groesse, Transparent, Zentriert, Bild);
}

void TextAusgebenInSchrift(const QString& SchriftT, int x, int y, int SchriftR, int SchriftG, int SchriftB,
                           int PinselR, int PinselG, int PinselB, const QString& Text, char Code, int Groesse,
                           bool Transparent, bool Zentriert, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    PinselUndSchrift alt(c);
    const TSize g = TextVorbereiten(c, SchriftR, SchriftG, SchriftB, PinselR, PinselG, PinselB, Text, Code,
                                    Groesse, Transparent, SchriftT);
    if (Zentriert)
        c->TextOut(x - g.cx / 2, y - g.cy / 2, Text);
    else
        c->TextOut(x, y, Text);
}

void TextRechtsAusgeben(int x, int y, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                        int PinselB, const QString& Text, char Code, int Groesse, bool Transparent,
                        bool VertikalZentriert, TImage* Bild) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    PinselUndSchrift alt(c);
    const TSize g = TextVorbereiten(c, SchriftR, SchriftG, SchriftB, PinselR, PinselG, PinselB, Text, Code,
                                    Groesse, Transparent, SchriftTToolkit);
    c->TextOut(x - g.cx, VertikalZentriert ? y - g.cy / 2 : y, Text);
}

void TextRechteck(int x, int y, const QString& Text, char Code, int Groesse, bool Zentriert, TImage* Bild,
                  TPoint& P1, TPoint& P2) {
    TextRechteckInSchrift(SchriftTToolkit, x, y, Text, Code, Groesse, Zentriert, Bild, P1, P2);
}

void TextRechteckInSchrift(const QString& SchriftT, int x, int y, const QString& Text, char Code, int Groesse,
                           bool Zentriert, TImage* Bild, TPoint& P1, TPoint& P2) {
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    PinselUndSchrift alt(c);
    SchriftNachCode(c, Code, SchriftT);
    c->Font()->SetSize(Groesse);
    const int w = c->TextWidth(Text), h = c->TextHeight(Text);
    if (Zentriert) {
        P1 = TPoint{x - w / 2, y + h / 2};
        P2 = TPoint{x + w / 2, y - h / 2};
    } else {
        P1 = TPoint{x, y + h};
        P2 = TPoint{x + w, y};
    }
}

void BildInKreisZeichnen(TImage* Quelle, TImage* Ziel, double X, double Y, double Faktor) {
    TCanvas* ziel = Leinwand(Ziel);
    // The source picture is read as it is: its canvas would turn a JPEG into a bitmap.
    const TGraphic* quelle = Quelle && !Quelle->Picture()->Empty() ? Quelle->Picture()->Graphic() : nullptr;
    if (!ziel || !quelle || !(Faktor > 0) || !std::isfinite(X) || !std::isfinite(Y)) return;
    const double seite = quelle->Height() * Faktor;
    if (!(seite < 1e6) || std::fabs(X) > 1e6 || std::fabs(Y) > 1e6) return;
    const int d = Ganzteil(seite);
    if (d <= 0) return;
    const int x = Ganzteil(X), y = Ganzteil(Y);
    const int quadrat = Ganzteil(d / Faktor);
    ziel->SetClipEllipse(TRect{x, y, Ganzteil(X + d), Ganzteil(Y + d)});
    const TColor pinsel = ziel->Brush()->Color();
    const TBrushStyle stil = ziel->Brush()->Style();
    ziel->Brush()->SetColor(clBlack);
    ziel->FillRect(TRect{x, y, x + d, y + d});
    ziel->Brush()->SetColor(pinsel);
    ziel->Brush()->SetStyle(stil);
    const TCopyMode modus = ziel->CopyMode();
    ziel->SetCopyMode(cmSrcCopy);
    ziel->DrawImage(TRect{x, y, x + d, y + d}, quelle->ToImage(), TRect{0, 0, quadrat, quadrat});
    ziel->SetCopyMode(modus);
    // Later drawing on the same picture must not stay confined to the circle.
    ziel->ReleaseClip();
}

std::unique_ptr<TBitmap> GrauBild(TBitmap* Quelle, double Faktor) {
    if (!Quelle) return nullptr;
    Quelle->SetPixelFormat(pf24bit);
    QImage bild = Quelle->Image().convertToFormat(QImage::Format_RGB32);
    // Each channel value scaled once, not once per pixel.
    int kanal[256];
    for (int c = 0; c < 256; ++c) {
        const double v = std::trunc(c * Faktor);
        kanal[c] = v > 0 ? (v > 255 ? 255 : static_cast<int>(v)) : 0;
    }
    for (int zeile = 0; zeile < bild.height(); ++zeile) {
        auto* p = reinterpret_cast<QRgb*>(bild.scanLine(zeile));
        for (int i = 0; i < bild.width(); ++i) {
            const int grau =
                (77 * kanal[qRed(p[i])] + 151 * kanal[qGreen(p[i])] + 28 * kanal[qBlue(p[i])]) / 256;
            p[i] = qRgb(grau, grau, grau);
        }
    }
    auto ergebnis = std::make_unique<TBitmap>(bild);
    ergebnis->SetPixelFormat(pf24bit);
    return ergebnis;
}
