#include "exercises/chapter2/UGeldBilder.h"

#include "drawing/Bildzugang.h"
#include "platform/ControlsExt.h"
#include "platform/Graphics.h"

#include <algorithm>

namespace GeldBilder {

int ScheinIndex(int Wert) {
    for (int i = 0; i < 4; ++i)
        if (ScheinWerte[i] == Wert) return i;
    return 0;
}

QString ZweiStellen(long long Cent) {
    const long long Betrag = Cent < 0 ? -Cent : Cent;
    return (Cent < 0 ? QStringLiteral("-") : QString()) + QString::number(Betrag / 100) + QLatin1Char(',') +
           QStringLiteral("%1").arg(Betrag % 100, 2, 10, QLatin1Char('0'));
}

void TextMittig(TCanvas* c, int cx, int y, const QString& Text) {
    c->TextOut(cx - c->TextWidth(Text) / 2, y, Text);
}

void Schrift(TCanvas* c, int Hoehe, TColor Farbe) {
    c->Font()->SetName(QStringLiteral("Arial"));
    c->Font()->SetHeight(-Hoehe);
    c->Font()->SetStyle(fsBold);
    c->Font()->SetColor(Farbe);
    c->Brush()->SetStyle(bsClear);
}

void MuenzeMalen(TImage* Bild, int Cent) {
    TCanvas* c = Bild->Canvas();
    const int s = BildHoehe(Bild);
    const bool Kupfer = Cent < 10, Euro = Cent >= 100;
    // The euro coins are two-coloured as the real ones: 1 euro a silver
    // centre in a golden ring, 2 euro the other way round. Their silver has a
    // cool tint, so that it does not read as the grey of a piece already laid
    // on the counter.
    const TColor Gold = RGB(222, 184, 60), Silber = RGB(166, 172, 186);
    const TColor Aussen = Kupfer ? RGB(184, 115, 51) : Cent == 200 ? Silber : Gold;
    const TColor Innen = Kupfer ? RGB(200, 130, 64) : Cent == 100 ? Silber : RGB(232, 196, 80);
    c->Brush()->SetColor(Aussen);
    c->FillRect({0, 0, BildBreite(Bild), s});
    c->Pen()->SetColor(RGB(90, 60, 20));
    c->Brush()->SetColor(Innen);
    const int r = Euro ? s / 5 : s / 12;
    c->Ellipse(r, r, s - r, s - r);
    Schrift(c, s * 2 / 5, RGB(70, 45, 10));
    TextMittig(c, s / 2, s / 6, QString::number(Euro ? Cent / 100 : Cent));
    Schrift(c, std::max(8, s / 7), RGB(70, 45, 10));
    TextMittig(c, s / 2, s * 3 / 5, Euro ? QStringLiteral("EURO") : QStringLiteral("CENT"));
}

void ScheinMalen(TImage* Bild, int Wert) {
    TCanvas* c = Bild->Canvas();
    const int w = BildBreite(Bild), h = BildHoehe(Bild);
    const TColor Farbe = Wert == 5    ? RGB(168, 176, 160)
                         : Wert == 10 ? RGB(226, 124, 112)
                         : Wert == 20 ? RGB(110, 150, 222)
                                      : RGB(240, 160, 80);
    c->Brush()->SetColor(Farbe);
    c->Pen()->SetColor(RGB(60, 60, 60));
    c->Rectangle(0, 0, w, h);
    c->Brush()->SetColor(RGB(245, 245, 235));
    c->Ellipse(w - 70, 15, w - 15, 85);
    Schrift(c, 40, RGB(30, 30, 30));
    c->TextOut(10, 6, QString::number(Wert));
    Schrift(c, 18, RGB(30, 30, 30));
    c->TextOut(10, h - 28, QStringLiteral("EURO"));
}

void ThekeMalen(TImage* Bild) {
    TCanvas* c = Bild->Canvas();
    const int w = BildBreite(Bild), h = BildHoehe(Bild);
    c->Brush()->SetColor(RGB(170, 120, 70));
    c->FillRect({0, 0, w, h});
    c->Pen()->SetColor(RGB(140, 95, 50));
    for (int y = 30; y < h; y += 31) {
        c->MoveTo(0, y);
        c->LineTo(w, y);
    }
    c->Pen()->SetColor(RGB(100, 65, 30));
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, w, h);
}

} // namespace GeldBilder
