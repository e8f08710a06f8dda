#include "exercises/chapter1/UZahlenstrahl.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/ControlsExt.h"
#include "platform/Runtime.h"

int ZahlenstrahlX(long long v, long long U) {
    return static_cast<int>(Round(static_cast<double>(v) / static_cast<double>(U) * 7 + 10));
}

void ZahlenstrahlZeichnen(TImage* Bild, int y0, const QString& Marke10, const QString& Marke50,
                          const QString& Marke100) {
    TCanvas* c = Bild->Canvas();
    const int W = BildBreite(Bild);
    BildFuellen(255, 255, 255, Bild);
    c->Pen()->SetWidth(2);
    VektorpfeilZeichnen(10, y0, W - 1, y0, 0, 0, 0, false, QString(), Bild);
    // The ticks run on past the last label up to the arrow head.
    const int Striche = static_cast<int>(Trunc((W - 10) / 7.0));
    for (int i = 0; i < Striche; ++i) {
        const int x = 10 + 7 * i;
        const int L = i % 10 == 0 ? 10 : (i % 5 == 0 ? 5 : 3);
        const bool Lang = i == 0 || i == 10 || i == 50 || i == 100;
        c->Pen()->SetWidth(2);
        LinieZeichnen(x, y0 - L, x, (Lang ? y0 + 3 : y0) + L, 0, 0, 0, false, Bild);
    }
    c->Pen()->SetWidth(1);
    c->Font()->SetStyle(fsBold);
    const int yText = y0 + 30;
    TextAusgeben(10, yText, 0, 0, 0, 255, 255, 255, QStringLiteral("0"), 'A', 12, true, true, Bild);
    const struct {
        int x;
        const QString& Text;
    } Marken[] = {{80, Marke10}, {360, Marke50}, {710, Marke100}};
    for (const auto& m : Marken) {
        TextAusgeben(m.x, yText, 0, 0, 0, 255, 255, 255, m.Text, 'A', 12, true, true, Bild);
        TPoint P1, P2;
        TextRechteck(m.x, yText, m.Text, 'A', 12, true, Bild, P1, P2);
        const int links = P1.x, unten = P1.y, rechts = P2.x, oben = P2.y;
        c->Pen()->SetColor(clBlack);
        c->Pen()->SetStyle(psSolid);
        c->Polyline({{m.x, y0 + 10},
                     {links - 3, oben - 3},
                     {links - 3, unten + 3},
                     {rechts + 3, unten + 3},
                     {rechts + 3, oben - 3},
                     {m.x, y0 + 10}});
    }
}
