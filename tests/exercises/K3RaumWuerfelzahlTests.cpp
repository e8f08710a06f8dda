#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_2A1.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace K1Test;

int Anzahl(TImage* Bild, TColor Farbe) {
    int n = 0;
    for (int y = 0; y < Bild->Height(); ++y)
        for (int x = 0; x < Bild->Width(); ++x)
            n += Bild->Canvas()->Pixel(x, y) == Farbe;
    return n;
}

TEST(CountingCubes, PositionsAndDrawingOrder) {
    EXPECT_EQ(KlotzPosition(200, 244, 50, 0, 0, 0), (TPoint{200, 244}));
    EXPECT_EQ(KlotzPosition(200, 244, 50, 1, -1, -1), (TPoint{125, 219}));
    EXPECT_EQ(KlotzPosition(150, 250, 50, -1, 2, 2), (TPoint{300, 250}));
    std::vector<TKlotz> K{{1, 0, 0}, {0, 1, -1}, {0, 1, 1}, {0, -1, 0}, {-1, 1, 0}};
    KloetzeOrdnen(K);
    const int Erwartet[5][3] = {{-1, 1, 0}, {0, -1, 0}, {0, 1, 1}, {0, 1, -1}, {1, 0, 0}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(K[i].L, Erwartet[i][0]);
        EXPECT_EQ(K[i].C, Erwartet[i][1]);
        EXPECT_EQ(K[i].D, Erwartet[i][2]);
    }
}

TEST(CountingCubes, PicturesHoldTheCubesTheAnswersCount) {
    const size_t Groessen[8] = {0, 27, 27, 5, 10, 30, 40, 27};
    for (int a = 0; a <= 8; ++a)
        EXPECT_EQ(AufgabenKloetze(a).size(), a <= 7 ? Groessen[a] : 0u) << a;
    // The steps: 16, 9, 4, 1 and 16, 12, 8, 4 cubes from the bottom up, all
    // inside the 4 x 4 x 4 block.
    for (int a : {5, 6}) {
        std::map<int, int> Etagen;
        for (const TKlotz& k : AufgabenKloetze(a)) {
            ++Etagen[k.L];
            EXPECT_TRUE(k.C >= -1 && k.C <= 2 && k.D >= -1 && k.D <= 2);
        }
        const std::map<int, int> Soll = a == 5 ? std::map<int, int>{{-1, 16}, {0, 9}, {1, 4}, {2, 1}}
                                               : std::map<int, int>{{-1, 16}, {0, 12}, {1, 8}, {2, 4}};
        EXPECT_EQ(Etagen, Soll);
    }
    int Blau = 0;
    for (const TKlotz& k : AufgabenKloetze(7)) {
        const bool b = k.Vorne == RGB(50, 200, 255);
        Blau += b;
        EXPECT_EQ(k.Vorne, k.Seite);
        EXPECT_EQ(k.Vorne, k.Oben);
        // The visible edge middles; the three hidden ones at the back stay white.
        const bool Kantenmitte =
            std::abs(k.L) + std::abs(k.C) + std::abs(k.D) == 2 && (k.L == 0 || k.C == 0 || k.D == 0);
        const bool Verdeckt = (k.L == -1 && k.C == -1) || (k.L == -1 && k.D == 1) || (k.C == -1 && k.D == 1);
        EXPECT_EQ(b, Kantenmitte && !Verdeckt) << k.L << k.C << k.D;
    }
    EXPECT_EQ(Blau, 9);
}

TEST(CountingCubes, TasksCycleAndPicturesAreDrawn) {
    OffeneForm<TZqK3_2A1> f;
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_EQ(f->Caption(), "Abschnitt 3.2   Übung 1");
    EXPECT_EQ(f->Memo1->Lines()->Strings(0), "Notizblock");
    const int Antworten[8] = {0, 27, 54, 3, 17, 34, 24, 14};
    for (int i = 0; i < 9; ++i) {
        const int a = i % 7 + 1;
        EXPECT_EQ(ZqK3_2A1.Aufgabe, a);
        EXPECT_EQ(f->AufgabenNrWert(), a);
        EXPECT_EQ(ZqK3_2A1.Ergebnis, Antworten[a]);
        EXPECT_EQ(f->PageControl1->ActivePage(), f->TabSheet[a]);
        EXPECT_EQ(f->Image1->Canvas()->Pixel(0, 0), RGB(184, 209, 228));
        if (a == 1) { // the front middle cube
            EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 244), RGB(255, 200, 0));
        }
        if (a == 7) {
            EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 244), RGB(255, 255, 255));
            EXPECT_EQ(f->Image1->Canvas()->Pixel(200, 194), RGB(50, 200, 255));
            Bildschirmfoto(f.get(), "TZqK3_2A1_Aufgabe7");
        }
        f->B_NeueAufgabe->Click();
    }
}

TEST(CountingCubes, OnlyTheFirstNonEmptyAnswerCounts) {
    OffeneForm<TZqK3_2A1> f;
    PressEnter(f->Paar1.Box); // empty: no count, the first answer is still to come
    EXPECT_EQ(f->Panel4.LabelR->Caption(), "0");
    EXPECT_EQ(f->Panel4.LabelF->Caption(), "0");
    EXPECT_TRUE(ZqK3_2A1.ErsteAntwort);
    TypeText(f->Paar1.Box, "3*9");
    PressEnter(f->Paar1.Box);
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Panel4.LabelR->Caption(), "1");
    f->Paar1.Box->Clear();
    TypeText(f->Paar1.Box, "26");
    f->Paar1.Pruefen->Click();
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Leider falsch");
    EXPECT_EQ(f->Panel4.LabelR->Caption(), "1");
    EXPECT_EQ(f->Panel4.LabelF->Caption(), "0");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(Zeile0(f->Paar1.Box), "");
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "");
    TypeText(f->Paar1.Box, "27");
    PressEnter(f->Paar1.Box);
    f->Paar1.Box->Clear();
    TypeText(f->Paar1.Box, "54");
    PressEnter(f->Paar1.Box);
    EXPECT_EQ(f->Panel4.LabelR->Caption(), "1");
    EXPECT_EQ(f->Panel4.LabelF->Caption(), "1");
    f.Wiederoeffnen(); // a new showing starts afresh
    EXPECT_EQ(ZqK3_2A1.Aufgabe, 1);
    EXPECT_EQ(f->Panel4.LabelF->Caption(), "0");
}

TEST(CountingCubes, HelpPanelsAndWorkedCounts) {
    OffeneForm<TZqK3_2A1> f;
    f->HilfeKnopf[1]->Click();
    EXPECT_TRUE(f->HilfePanel[1]->Visible());
    EXPECT_EQ(f->HilfePanel[1]->Name(), "Panel2");
    EXPECT_EQ(f->HilfeBild[1]->Canvas()->Pixel(0, 0), RGB(255, 255, 128));
    EXPECT_GT(Anzahl(f->HilfeBild[1], RGB(255, 200, 0)), 0);
    for (int i = 0; i < 4; ++i)
        f->B_NeueAufgabe->Click();
    ASSERT_EQ(ZqK3_2A1.Aufgabe, 5);
    EXPECT_FALSE(f->BitBtn7->Visible());
    EXPECT_EQ(Anzahl(f->Image1, RGB(0, 0, 0)), 0);
    f->HilfeKnopf[5]->Click();
    EXPECT_TRUE(f->HilfePanel[5]->Visible());
    EXPECT_TRUE(f->BitBtn7->Visible());
    f->BitBtn7->Click();
    EXPECT_GT(Anzahl(f->Image1, RGB(0, 0, 0)), 200);
    Bildschirmfoto(f.get(), "TZqK3_2A1_Hilfe2");
    f->B_NeueAufgabe->Click(); // the next picture has no texts
    EXPECT_EQ(Anzahl(f->Image1, RGB(0, 0, 0)), 0);
    EXPECT_FALSE(f->HilfePanel[6]->Visible());
    f->HilfeKnopf[6]->Click();
    EXPECT_TRUE(f->BitBtn9->Visible());
    f->BitBtn9->Click();
    EXPECT_GT(Anzahl(f->Image1, RGB(0, 0, 0)), 200);
    f->B_NeueAufgabe->Click();
    f->HilfeKnopf[7]->Click();
    TImage* b = f->HilfeBild[7];
    EXPECT_EQ(b->Name(), "Image7");
    EXPECT_GT(Anzahl(b, RGB(50, 200, 255)), 0);
    Bildschirmfoto(f.get(), "TZqK3_2A1_Hilfe7");
}

} // namespace
