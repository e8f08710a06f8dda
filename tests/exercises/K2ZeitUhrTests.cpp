#include "K1TestHelfer.h"

#include "drawing/UZeichnen2.h"
#include "exercises/chapter2/UZqK2_1A1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

TEST(LiveClock, TaskStepShowsHalfPastMidnightWithAllHands) {
    OffeneForm<TZqK2_1A1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 2.1   Übung 1");
    EXPECT_FALSE(f->B_Tastatur->Visible());
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    f->Timer1->SetEnabled(false);
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK2_1A1.Stunde, 0);
    EXPECT_EQ(ZqK2_1A1.Minute, 30);
    EXPECT_EQ(ZqK2_1A1.Sekunde, 0);
    EXPECT_EQ(ZqK2_1A1.MitSekunden, 1);
    EXPECT_EQ(f->Label7->Font()->Color(), RGB(200, 0, 0));
    EXPECT_EQ(f->Image1->Width(), 400);
    EXPECT_EQ(f->Image2->Width(), 241);
    EXPECT_EQ(f->Image2->Height(), 65);
    EXPECT_TRUE(f->Panel2->Visible());
}

TEST(LiveClock, TickReadsTheTimeOfDayAndSlowsToOneSecond) {
    OffeneForm<TZqK2_1A1> f;
    f->Timer1->SetEnabled(false);
    f->Timer1->SetInterval(10);
    int h0 = 0, m0 = 0, s0 = 0, h1 = 0, m1 = 0, s1 = 0;
    UhrzeitLesen(h0, m0, s0);
    f->Timer1Timer(f->Timer1);
    UhrzeitLesen(h1, m1, s1);
    const int t = ZqK2_1A1.Stunde * 3600 + ZqK2_1A1.Minute * 60 + ZqK2_1A1.Sekunde;
    const int a = h0 * 3600 + m0 * 60 + s0, b = h1 * 3600 + m1 * 60 + s1;
    EXPECT_TRUE(t == a || t == b) << t << " " << a << " " << b;
    EXPECT_EQ(f->Timer1->Interval(), 1000);
    Bildschirmfoto(f.get(), "TZqK2_1A1_Uhr");
}

TEST(LiveClock, ClearingTheBoxHidesEverythingAboutSecondsAtOnce) {
    OffeneForm<TZqK2_1A1> f;
    f->Timer1->SetEnabled(false);
    f->Checks->SetChecked(false);
    EXPECT_EQ(ZqK2_1A1.MitSekunden, 0);
    EXPECT_EQ(ZqK2_1A1.MitStunden, 1);
    for (TControl* c : std::initializer_list<TControl*>{f->Label6, f->Panel2, f->Label19, f->Label22})
        EXPECT_FALSE(c->Visible()) << c->Name().toStdString();
    EXPECT_TRUE(f->Panel3->Visible());
    EXPECT_TRUE(f->Label5->Visible());
    Bildschirmfoto(f.get(), "TZqK2_1A1_OhneSekunden");
    f->Checks->SetChecked(true);
    for (TControl* c : std::initializer_list<TControl*>{f->Label6, f->Panel2, f->Label19, f->Label22})
        EXPECT_TRUE(c->Visible()) << c->Name().toStdString();
}

} // namespace
