#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_2C1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

using namespace K1Test;

bool Ueberlappen(const TNetzFlaeche& p, const TNetzFlaeche& q) {
    return p.x < q.x + q.w && q.x < p.x + p.w && p.y < q.y + q.h && q.y < p.y + p.h;
}

// Sharing a piece of an edge.
bool Angrenzend(const TNetzFlaeche& p, const TNetzFlaeche& q) {
    const bool Senkrecht = (p.x + p.w == q.x || q.x + q.w == p.x) && p.y < q.y + q.h && q.y < p.y + p.h;
    const bool Waagerecht = (p.y + p.h == q.y || q.y + q.h == p.y) && p.x < q.x + q.w && q.x < p.x + p.w;
    return Senkrecht || Waagerecht;
}

TEST(NetFolding, NetsAreConnectedWithoutOverlapAndHaveTheSolidsFaces) {
    for (int n = 1; n <= 10; ++n)
        for (bool Quader : {false, true}) {
            if (Quader && (n == 6 || n == 10)) continue;
            const auto F = Quader ? NetzFlaechen(n, 5, 3, 2) : NetzFlaechen(n, 3, 3, 3);
            std::map<int, int> Flaechen;
            for (int i = 0; i < 6; ++i) {
                ++Flaechen[F[i].w * F[i].h];
                EXPECT_GE(F[i].x, 0);
                EXPECT_GE(F[i].y, 0);
                bool Nachbar = false;
                for (int j = 0; j < 6; ++j)
                    if (j != i) {
                        EXPECT_FALSE(Ueberlappen(F[i], F[j])) << n << ' ' << i + 1 << ' ' << j + 1;
                        Nachbar = Nachbar || Angrenzend(F[i], F[j]);
                    }
                EXPECT_TRUE(Nachbar) << n << ' ' << i + 1;
            }
            const std::map<int, int> Soll =
                Quader ? std::map<int, int>{{6, 2}, {10, 2}, {15, 2}} : std::map<int, int>{{9, 6}};
            EXPECT_EQ(Flaechen, Soll) << n;
        }
    EXPECT_EQ(NetzFlaechen(11, 3, 3, 3)[0].w, 0);
}

// Rolls a die over the cube net's squares: the net folds when every square
// lands on another face of the die.
bool WuerfelnetzFaltet(int Netz) {
    const auto F = NetzFlaechen(Netz, 3, 3, 3);
    // Die faces by world direction: +x, -x, +y, -y, up, down.
    using Lage = std::array<int, 6>;
    std::map<std::pair<int, int>, int> Zellen;
    for (int i = 0; i < 6; ++i)
        Zellen[{F[i].x / 3, F[i].y / 3}] = i;
    std::map<std::pair<int, int>, Lage> Besucht;
    std::vector<std::pair<std::pair<int, int>, Lage>> Offen{
        {{F[0].x / 3, F[0].y / 3}, Lage{0, 1, 2, 3, 4, 5}}};
    while (!Offen.empty()) {
        auto [z, l] = Offen.back();
        Offen.pop_back();
        if (!Zellen.count(z) || Besucht.count(z)) continue;
        Besucht[z] = l;
        const auto Rollen = [&](int dx, int dy, int Vor, int Zurueck) {
            Lage n = l;
            n[5] = l[Vor];
            n[Zurueck] = l[5];
            n[4] = l[Zurueck];
            n[Vor] = l[4];
            Offen.push_back({{z.first + dx, z.second + dy}, n});
        };
        Rollen(1, 0, 0, 1);
        Rollen(-1, 0, 1, 0);
        Rollen(0, 1, 2, 3);
        Rollen(0, -1, 3, 2);
    }
    std::vector<int> Unten;
    for (const auto& [z, l] : Besucht)
        Unten.push_back(l[5]);
    std::sort(Unten.begin(), Unten.end());
    return Besucht.size() == 6 && std::unique(Unten.begin(), Unten.end()) == Unten.end();
}

TEST(NetFolding, CubeNetsFoldExactlyWhereExpected) {
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(WuerfelnetzFaltet(n), NetzFaltbar(n)) << n;
}

TEST(NetFolding, CycleCubesAndExpectedAnswers) {
    OffeneForm<TZqK3_2C1> f;
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    for (int i = 1; i <= 25; ++i) {
        const int n = (i - 1) % 10 + 1;
        ASSERT_EQ(ZqK3_2C1.Netz, n);
        EXPECT_EQ(f->Label3->Caption(), QString::number(i));
        EXPECT_FALSE((n == 6 || n == 10) && ZqK3_2C1.Quader) << n;
        EXPECT_FALSE((n == 6 || n == 7 || n == 10) && ZqK3_2C1.Faltbar) << n;
        // Nets 8 and 9 fold as they are drawn.
        EXPECT_TRUE((n != 8 && n != 9) || ZqK3_2C1.Faltbar) << n;
        EXPECT_TRUE(n > 5 || ZqK3_2C1.Faltbar == (ZqK3_2C1.Weggenommen == 0)) << n;
        f->B_NeueAufgabe->Click();
    }
}

TEST(NetFolding, OnlyTheFirstAnswerCounts) {
    OffeneForm<TZqK3_2C1> f;
    for (int i = 0; i < 5; ++i)
        f->B_NeueAufgabe->Click();
    ASSERT_EQ(ZqK3_2C1.Netz, 6);
    f->BitBtn3->Click();
    EXPECT_EQ(f->BitBtn3->Font()->Color(), RGB(255, 0, 0));
    f->BitBtn4->Click();
    EXPECT_EQ(f->BitBtn4->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->StaticText1->Caption(), "0");
    EXPECT_EQ(f->StaticText2->Caption(), "1");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->BitBtn3->Font()->Color(), clBlack);
    EXPECT_EQ(f->BitBtn4->Font()->Color(), clBlack);
    f->BitBtn4->Click(); // net 7 does not fold
    EXPECT_EQ(f->StaticText1->Caption(), "1");
    EXPECT_EQ(f->StaticText2->Caption(), "1");
}

TEST(NetFolding, TakenFaceShowsOnWhiteAndVanishesOnBlack) {
    OffeneForm<TZqK3_2C1> f;
    for (bool Weiss : {true, false}) {
        int Versuche = 0;
        while (ZqK3_2C1.Weggenommen == 0 && Versuche++ < 200) {
            if (Weiss != f->HGweiss->Checked())
                f->HGweiss->SetChecked(Weiss); // a change of background is a new task
            else
                f->B_NeueAufgabe->Click();
        }
        ASSERT_NE(ZqK3_2C1.Weggenommen, 0);
        ASSERT_EQ(f->HGweiss->Checked(), Weiss);
        // The taken face looks like the background between the grid lines
        // (20 x 15 cells of 29 x 29 pixels inside).
        const auto Alle =
            ZqK3_2C1.Quader ? NetzFlaechen(ZqK3_2C1.Netz, 5, 3, 2) : NetzFlaechen(ZqK3_2C1.Netz, 3, 3, 3);
        int Farbzellen = 0;
        for (int i = 0; i < 6; ++i)
            if (i != ZqK3_2C1.Weggenommen - 1) Farbzellen += Alle[i].w * Alle[i].h;
        TImage* b = f->Image1;
        const TColor Hintergrund = Weiss ? RGB(255, 255, 255) : RGB(0, 0, 0);
        int Innen = 0;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                Innen += x % 30 != 0 && y % 30 != 0 && b->Canvas()->Pixel(x, y) == Hintergrund;
        EXPECT_EQ(Innen, (20 * 15 - Farbzellen) * 29 * 29) << Weiss;
        EXPECT_EQ(b->Canvas()->Pixel(30, 5), RGB(128, 128, 128));
        Bildschirmfoto(f.get(), Weiss ? "TZqK3_2C1_weiss" : "TZqK3_2C1_schwarz");
        f->B_NeueAufgabe->Click();
        while (ZqK3_2C1.Netz > 5)
            f->B_NeueAufgabe->Click();
    }
}

} // namespace
