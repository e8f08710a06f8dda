#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_1C1.h"
#include "support/CalendarRoom.h"

#include <QCalendarWidget>
#include <gtest/gtest.h>

namespace {

using namespace K1Test;

TEST(Calendar, OpensAsARestartableSheet) {
    OffeneForm<TZqK2_1C1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 2.1   Übung 4");
    EXPECT_EQ(f->B_NeueAufgabe->Caption(), "Neustart");
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_BtnAufgabenNr->Visible());
    const char* Tage[14] = {"", "31", "28", "31", "30", "31", "30", "31", "31", "30", "31", "30", "31", "29"};
    for (int n = 0; n < 14; ++n)
        EXPECT_EQ(TZqK2_1C1::Monatstage(n), Tage[n]) << n;
    EXPECT_EQ(TZqK2_1C1::Monatstage(14), "");
}

TEST(Calendar, VerdictIsRightWrongOrQuestionMarkAndKeepsTheCheckColour) {
    OffeneForm<TZqK2_1C1> f;
    TypeText(f->Paar[1].Box, "31");
    PressEnter(f->Paar[1].Box);
    EXPECT_EQ(f->Paar[1].Urteil->Caption(), "richtig");
    const TColor RichtigFarbe = f->Paar[1].Urteil->Font()->Color();

    TypeText(f->Paar[13].Box, "28");
    f->Paar[13].Pruefen->Click();
    EXPECT_EQ(f->Paar[13].Urteil->Caption(), "falsch");
    EXPECT_NE(f->Paar[13].Urteil->Font()->Color(), RichtigFarbe);

    f->Paar[4].Pruefen->Click();
    EXPECT_EQ(f->Paar[4].Urteil->Caption(), "?");

    // A term with the right value counts as the answer check decides.
    TypeText(f->Paar[2].Box, "20+8");
    PressEnter(f->Paar[2].Box);
    EXPECT_EQ(f->Paar[2].Urteil->Caption(), "richtig");

    // Other rows stay untouched.
    EXPECT_EQ(f->Paar[3].Urteil->Caption(), "");
    EXPECT_EQ(Zeile0(f->Paar[3].Box), "");
    Bildschirmfoto(f.get(), "TZqK2_1C1_Geprueft");
}

TEST(Calendar, RestartClearsBoxesAndVerdicts) {
    OffeneForm<TZqK2_1C1> f;
    for (int n = 1; n <= 13; ++n) {
        TypeText(f->Paar[n].Box, TZqK2_1C1::Monatstage(n));
        f->Paar[n].Pruefen->Click();
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "richtig") << n;
    }
    f->B_NeueAufgabe->Click();
    for (int n = 1; n <= 13; ++n) {
        EXPECT_EQ(Zeile0(f->Paar[n].Box), "") << n;
        EXPECT_EQ(f->Paar[n].Urteil->Caption(), "") << n;
    }
}

// Scaled, the calendar fills its enlarged place and has room for its larger
// font: every weekday name and day whole, every week in view; also at the
// automatic factor, which scales twice on the large screen and not at all on
// the small one.
TEST(Calendar, FillsItsPlaceInAScaledWindowAndShowsEveryWeekWhole) {
    struct TFall {
        int Faktor, Breite, Hoehe;
    };
    for (const TFall F : {TFall{2, 2560, 1600}, TFall{3, 2560, 1600}, TFall{4, 2560, 1600},
                          TFall{5, 2560, 1600}, TFall{0, 2560, 1600}, TFall{0, 1280, 1024}}) {
        SCOPED_TRACE(
            QStringLiteral("Faktor %1 auf %2 x %3").arg(F.Faktor).arg(F.Breite).arg(F.Hoehe).toStdString());
        SkaliertOeffnen(QStringLiteral("TZqK2_1C1"), true, F.Faktor, F.Breite, F.Hoehe, [](TAufgabeg* f) {
            auto* k = FindComponentAs<TControl>(f, QStringLiteral("MonthCalendar1"));
            ASSERT_NE(k, nullptr);
            auto* c = qobject_cast<QCalendarWidget*>(k->Widget());
            if (!c) c = k->Widget()->findChild<QCalendarWidget*>();
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->size(), QSize(f->Skaliert(273), f->Skaliert(200)));
            const QStringList Fehlt = CalendarShortfalls(c);
            EXPECT_TRUE(Fehlt.isEmpty()) << Fehlt.join(QLatin1Char('\n')).toStdString();
        });
    }
}

} // namespace
