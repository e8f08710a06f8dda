// Continuing a pattern: the tasks, choosing a tile, filling circles and the check.
#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_1A1.h"

#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace K1Test;

void WeiterZu(TZqK3_1A1* f, int Nr) {
    while (ZqK3_1A1.Nr != Nr)
        f->NeueAufgabe();
}

void Klick(TZqK3_1A1* f, int i) {
    f->Image1MouseDown(f->Image1, mbLeft, TShiftState(), ZqK3_1A1.K[i].x, ZqK3_1A1.K[i].y);
}

// Fills every open circle with its expected picture.
void AllesRichtig(TZqK3_1A1* f) {
    for (int i = 0; i < ZqK3_1A1.n; ++i) {
        if (ZqK3_1A1.K[i].Gegeben) continue;
        f->Bild1hMouseDown(f->Bildh[ZqK3_1A1.K[i].Soll - 1]);
        Klick(f, i);
    }
}

TEST(K3Muster, OpensOnTheFirstTask) {
    OffeneForm<TZqK3_1A1> f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 3.1   Übung 1"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Setze das dargestellte Muster naheliegend fort."));
    const TMusterZustand& Z = ZqK3_1A1;
    EXPECT_EQ(Z.Nr, 1);
    EXPECT_EQ(Z.n, 8);
    EXPECT_EQ(Z.Wahl, 0);
    EXPECT_TRUE(f->Bildh[0]->Visible());
    EXPECT_TRUE(f->Bildh[1]->Visible());
    EXPECT_FALSE(f->Bildh[2]->Visible());
    EXPECT_EQ(f->Shape[5]->Pen()->Color(), clBlack);
    EXPECT_EQ(f->Shape[5]->Pen()->Width(), 1);
    // Given circles 0..3 show 1, 2, 1, 2; the others are white.
    const int Erwartet[8] = {1, 2, 1, 2, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Z.K[i].Bild, Erwartet[i]) << i;
    // Circle 0 is the leftmost: rho = 8 * 50 / pi + 2 + 50 = 179.32.
    EXPECT_EQ(Z.K[0].x, 252 - 179);
    EXPECT_EQ(Z.K[0].y, 252);
    EXPECT_EQ(Z.K[2].x, 252);
    EXPECT_EQ(Z.K[2].y, 252 - 179);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(2, 2), RGB(184, 208, 228));
    // Circle 4 (right) is white, with a black rim.
    EXPECT_EQ(f->Image1->Canvas()->Pixel(Z.K[4].x, Z.K[4].y), clWhite);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(Z.K[4].x + 50 - 1, Z.K[4].y), clBlack);
    Bildschirmfoto(f.get(), QStringLiteral("K3Muster_Aufgabe1"));
}

TEST(K3Muster, ChoosingATileMovesTheFrame) {
    OffeneForm<TZqK3_1A1> f;
    f->Bild1hMouseDown(f->Bildh[1]);
    EXPECT_EQ(ZqK3_1A1.Wahl, 2);
    EXPECT_TRUE(f->Shape[1]->Visible());
    EXPECT_FALSE(f->Shape[0]->Visible());
    f->Bild1hMouseDown(f->Shape[5]);
    EXPECT_EQ(ZqK3_1A1.Wahl, 0);
    EXPECT_FALSE(f->Shape[1]->Visible());
    EXPECT_EQ(f->Shape[5]->Pen()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->Shape[5]->Pen()->Width(), 3);
}

TEST(K3Muster, ClicksFillOnlyOpenCircles) {
    OffeneForm<TZqK3_1A1> f;
    TMusterZustand& Z = ZqK3_1A1;
    // Before any choice the white tile is chosen: white stays white.
    Klick(f.get(), 5);
    EXPECT_EQ(Z.K[5].Bild, 0);
    f->Bild1hMouseDown(f->Bildh[0]);
    Klick(f.get(), 1); // given
    EXPECT_EQ(Z.K[1].Bild, 2);
    f->Image1MouseDown(f->Image1, mbLeft, TShiftState(), 252, 252); // the centre, no circle
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Z.K[i].Bild, i < 4 ? Z.K[i].Soll : 0) << i;
    Klick(f.get(), 5);
    EXPECT_EQ(Z.K[5].Bild, 1);
    // The picture is drawn into the circle: the blue square of tile 1.
    EXPECT_EQ(f->Image1->Canvas()->Pixel(Z.K[5].x, Z.K[5].y), RGB(0, 90, 220));
    // The white tile empties it again.
    f->Bild1hMouseDown(f->Shape[5]);
    Klick(f.get(), 5);
    EXPECT_EQ(Z.K[5].Bild, 0);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(Z.K[5].x, Z.K[5].y), clWhite);
}

TEST(K3Muster, CheckTellsWhiteWrongAndRight) {
    OffeneForm<TZqK3_1A1> f;
    TMusterZustand& Z = ZqK3_1A1;
    AllesRichtig(f.get());
    f->Bild1hMouseDown(f->Shape[5]);
    Klick(f.get(), 7);
    f->BitBtnP1Click(f->BitBtnP1);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Alle weißen Kreise\rmüssen gefüllt sein."));
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 255, 0));
    f->Bild1hMouseDown(f->Bildh[0]); // expected is 2
    Klick(f.get(), 7);
    f->BitBtnP1Click(f->BitBtnP1);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Nicht das gewünschte Muster."));
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(255, 0, 0));
    f->Bild1hMouseDown(f->Bildh[1]);
    Klick(f.get(), 7);
    f->BitBtnP1Click(f->BitBtnP1);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Das Muster stimmt.\rSehr gut, weiter so."));
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    // Reset: same task, open circles white, verdict gone, choice on the unmarked white tile.
    f->BitBtn3Click(f->BitBtn3);
    EXPECT_EQ(Z.Nr, 1);
    EXPECT_EQ(Z.K[7].Bild, 0);
    EXPECT_EQ(Z.K[3].Bild, 2);
    EXPECT_EQ(f->LabelP1->Caption(), QString());
    EXPECT_EQ(Z.Wahl, 0);
    EXPECT_FALSE(f->Shape[1]->Visible());
    EXPECT_EQ(f->Shape[5]->Pen()->Width(), 1);
}

TEST(K3Muster, LaterTasksFollowTheirSequencesAndFit) {
    OffeneForm<TZqK3_1A1> f;
    TMusterZustand& Z = ZqK3_1A1;
    WeiterZu(f.get(), 6);
    EXPECT_EQ(Z.n, 20);
    EXPECT_EQ(Z.R, 33);
    const int Folge[5] = {1, 1, 2, 2, 4};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Z.K[i].Soll, Folge[i % 5]) << i;
        EXPECT_EQ(Z.K[i].Gegeben, i < 10) << i;
        EXPECT_GE(Z.K[i].x - Z.R, 0);
        EXPECT_LE(Z.K[i].x + Z.R, 504);
        EXPECT_GE(Z.K[i].y - Z.R, 0);
        EXPECT_LE(Z.K[i].y + Z.R, 504);
    }
    EXPECT_TRUE(f->Bildh[3]->Visible());
    EXPECT_FALSE(f->Bildh[2]->Visible());
    AllesRichtig(f.get());
    f->BitBtnP1Click(f->BitBtnP1);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Das Muster stimmt.\rSehr gut, weiter so."));
    Bildschirmfoto(f.get(), QStringLiteral("K3Muster_Aufgabe6"));
    f->NeueAufgabe();
    EXPECT_EQ(Z.Nr, 7);
    EXPECT_EQ(Z.K[3].Soll, 2);
    EXPECT_EQ(Z.K[2].Soll, 3);
    f->NeueAufgabe();
    EXPECT_EQ(Z.Nr, 1);
    EXPECT_EQ(Z.n, 8);
}

// Every tile, at every task's size, stays inside its circle: no tile pixel on
// or beyond the circle's outline.
TEST(K3Muster, TilesStayInsideTheirCircles) {
    OffeneForm<TZqK3_1A1> f;
    TMusterZustand& Z = ZqK3_1A1;
    const QSet<QRgb> Rand = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(184, 208, 228)};
    for (int Nr = 1; Nr <= 7; ++Nr) {
        WeiterZu(f.get(), Nr);
        for (int Bild = 1; Bild <= 5; ++Bild) {
            for (int i = 0; i < Z.n; ++i)
                Z.K[i].Bild = Bild;
            f->MusterZeichnen(TZqK3_1A1::GanzerRing);
            const QImage img = f->Image1->Picture()->Bitmap()->ToImage();
            for (int i = 0; i < Z.n; ++i) {
                // The circle covers x - R .. x + R - 1: its middle lies half a pixel up and left.
                const double mx = Z.K[i].x - 0.5, my = Z.K[i].y - 0.5;
                int Innen = 0, Aussen = 0;
                for (int y = Z.K[i].y - Z.R - 2; y <= Z.K[i].y + Z.R + 2; ++y)
                    for (int x = Z.K[i].x - Z.R - 2; x <= Z.K[i].x + Z.R + 2; ++x) {
                        if (!img.rect().contains(x, y) || Rand.contains(img.pixel(x, y) | 0xFF000000)) continue;
                        // Neighbouring circles come close: a pixel belongs to the nearest one.
                        const double d = std::hypot(x - mx, y - my);
                        bool Naechster = true;
                        for (int j = 0; j < Z.n && Naechster; ++j)
                            Naechster = j == i || std::hypot(x - Z.K[j].x + 0.5, y - Z.K[j].y + 0.5) >= d;
                        if (Naechster) (d <= Z.R - 1.5 ? Innen : Aussen)++;
                    }
                EXPECT_GT(Innen, 0) << "Aufgabe " << Nr << ", Bild " << Bild << ", Kreis " << i;
                EXPECT_EQ(Aussen, 0) << "Aufgabe " << Nr << ", Bild " << Bild << ", Kreis " << i;
            }
        }
    }
}

// A circle with a picture keeps its black rim all round: every rim pixel of a
// white circle of the same ring is black at the same place of a circle with a
// picture, whether the whole ring was drawn or the pupil just filled it.
TEST(K3Muster, CirclesWithAPictureKeepTheirRimAllRound) {
    OffeneForm<TZqK3_1A1> f;
    TMusterZustand& Z = ZqK3_1A1;
    for (int Nr : {1, 4, 6}) {
        WeiterZu(f.get(), Nr);
        const int Leer = Z.n - 1, Gefuellt = Z.n - 2;
        f->Bild1hMouseDown(f->Bildh[0]);
        Klick(f.get(), Gefuellt);
        ASSERT_EQ(Z.K[Leer].Bild, 0);
        TCanvas* c = f->Image1->Canvas();
        int RandPixel = 0;
        bool Oben = false, Rechts = false, Unten = false, Links = false;
        for (int dy = -Z.R - 1; dy <= Z.R; ++dy)
            for (int dx = -Z.R - 1; dx <= Z.R; ++dx) {
                // Only the white circle's own rim, not its neighbours'.
                const double d = std::hypot(dx + 0.5, dy + 0.5);
                if (d < Z.R - 3 || d > Z.R + 1) continue;
                if (c->Pixel(Z.K[Leer].x + dx, Z.K[Leer].y + dy) != clBlack) continue;
                ++RandPixel;
                Oben |= dy == -Z.R, Unten |= dy == Z.R - 1, Links |= dx == -Z.R, Rechts |= dx == Z.R - 1;
                for (int i : {0, 1, Gefuellt})
                    EXPECT_EQ(c->Pixel(Z.K[i].x + dx, Z.K[i].y + dy), clBlack)
                        << "Aufgabe " << Nr << ", Kreis " << i << " bei " << dx << ", " << dy;
            }
        EXPECT_GT(RandPixel, 4 * Z.R) << Nr;
        EXPECT_TRUE(Oben && Rechts && Unten && Links) << Nr;
        // The picture inside is drawn as before: the blue square of tile 1.
        EXPECT_EQ(c->Pixel(Z.K[Gefuellt].x, Z.K[Gefuellt].y), RGB(0, 90, 220)) << Nr;
    }
}

} // namespace
