#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_2B1.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

void Druecken(TBitBtn* k) {
    k->OnMouseDown(k, mbLeft, TShiftState{}, 5, 5);
}

// Releases the button after ms while its loop runs.
void LoslassenNach(TZqK3_2B1* f, TBitBtn* k, int ms) {
    QTimer::singleShot(ms, [f, k] { f->BitBtnxmMouseUp(k, mbLeft, TShiftState{}, 5, 5); });
}

bool Einheit(const tMatrix& m) {
    return m == EinheitsMatrix1();
}

TEST(TurningSolids, StartsFlatAndFoldsToTheEndPositions) {
    OffeneForm<TZqK3_2B1> f;
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), "Reset");
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_EQ(f->BitBtnwm->Caption(), "Vom Würfel zum Netz");
    EXPECT_EQ(f->BitBtnwp->Caption(), "Vom Netz zum Würfel");
    EXPECT_FALSE(f->BitBtn3->Enabled());
    EXPECT_TRUE(f->BitBtn2->Enabled());
    EXPECT_EQ(ZqK3_2B1.Flaechenfarben[0], RGB(255, 125, 0));
    EXPECT_EQ(ZqK3_2B1.Flaechenfarben[5], RGB(150, 100, 0));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(0, 0), RGB(255, 255, 255));
    Druecken(f->BitBtnwm); // already flat
    EXPECT_EQ(ZqK3_2B1.Faltwinkel, 0);
    Druecken(f->BitBtnwp); // held: closes and stops by itself
    EXPECT_EQ(ZqK3_2B1.Faltwinkel, 90);
    EXPECT_TRUE(ZqK3_2B1.Haltestopp);
    Druecken(f->BitBtnwp);
    EXPECT_EQ(ZqK3_2B1.Faltwinkel, 90);
    LoslassenNach(f.get(), f->BitBtnwm, 150);
    Druecken(f->BitBtnwm);
    EXPECT_GT(ZqK3_2B1.Faltwinkel, 0);
    EXPECT_LT(ZqK3_2B1.Faltwinkel, 90);
}

TEST(TurningSolids, TurningSwitchingSolidAndBackground) {
    OffeneForm<TZqK3_2B1> f;
    LoslassenNach(f.get(), f->Drehknopf[1], 100);
    Druecken(f->Drehknopf[1]);
    const tMatrix Gedreht = ZqK3_2B1.Ansicht.Drehung;
    EXPECT_FALSE(Einheit(Gedreht));
    EXPECT_NEAR(Gedreht.m[0][0], 1, 1e-12); // about x only
    EXPECT_LT(Gedreht.m[1][1], 1);
    Druecken(f->BitBtnwp);
    f->RadioGroup1->SetItemIndex(1);
    f->RadioGroup1Click(f->RadioGroup1);
    EXPECT_EQ(f->BitBtnwm->Caption(), "Vom Quader zum Netz");
    EXPECT_EQ(f->BitBtnwp->Caption(), "Vom Netz zum Quader");
    EXPECT_EQ(ZqK3_2B1.Faltwinkel, 90);
    EXPECT_EQ(ZqK3_2B1.Ansicht.Drehung, Gedreht);
    Bildschirmfoto(f.get(), "TZqK3_2B1_Quader");
    f->HGweiss->SetChecked(false);
    EXPECT_EQ(ZqK3_2B1.Faltwinkel, 0);
    EXPECT_TRUE(Einheit(ZqK3_2B1.Ansicht.Drehung));
    EXPECT_EQ(ZqK3_2B1.Flaechenfarben[0], RGB(255, 255, 0));
    EXPECT_EQ(ZqK3_2B1.Flaechenfarben[5], RGB(200, 100, 50));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(f->BitBtnwm->Caption(), "Vom Quader zum Netz");
}

TEST(TurningSolids, SimulationRunsUntilStopp) {
    OffeneForm<TZqK3_2B1> f;
    QTimer::singleShot(300, [&f] {
        EXPECT_TRUE(f->BitBtn3->Enabled());
        EXPECT_FALSE(f->BitBtn2->Enabled());
        f->BitBtn3->Click();
    });
    f->BitBtn2->Click();
    EXPECT_TRUE(ZqK3_2B1.Haltestopp);
    EXPECT_FALSE(f->BitBtn3->Enabled());
    EXPECT_TRUE(f->BitBtn2->Enabled());
    EXPECT_GT(ZqK3_2B1.Faltwinkel, 0);
    // Turned about x by 20° and then only about y: the y axis stays in the y-z plane.
    EXPECT_NEAR(ZqK3_2B1.Ansicht.Drehung.m[0][1], 0, 1e-12);
    EXPECT_FALSE(Einheit(ZqK3_2B1.Ansicht.Drehung));
    Bildschirmfoto(f.get(), "TZqK3_2B1_Simulation");
}

} // namespace
