// The balance: goods in turn, the beam moving half a degree per tick, the
// weight buttons and the pictures of the pieces.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_4A1.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using namespace K1Test;

using Form = OffeneForm<TZqK2_4A1>;

// Indices into the set.
enum : int { G5, G10, G20a, G20b, G50, G100, G200a, G200b, G500 };

// The tests tick by hand.
void Anhalten(Form& f) {
    f->Timer1->SetEnabled(false);
}

void ZuWare(Form& f, int k) {
    while (ZqK2_4A1.Ware != k)
        f->B_NeueAufgabe->Click();
    Anhalten(f);
}

void Nehmen(Form& f, std::initializer_list<int> Stuecke) {
    for (int i : Stuecke)
        f->Knoepfe[i]->Click();
}

void Ticken(Form& f, int n) {
    for (int i = 0; i < n; ++i)
        f->Timer1Timer(f->Timer1);
}

bool IstGrau(TColor c) {
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

TEST(Balance, StartsWithTheAlmondsTheBeamDownLeftAndAnEmptyPan) {
    Form f;
    Anhalten(f);
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.4   Übung 1"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Die Waage"));
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_FALSE(f->B_Tastatur->Visible());
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 1 / 16"));
    EXPECT_EQ(ZqK2_4A1.Ware, 1);
    EXPECT_EQ(ZqK2_4A1.Zielmasse, 100);
    EXPECT_EQ(f->Panel2->Caption(), QStringLiteral("Mandeln 100g"));
    EXPECT_EQ(f->Timer1->Interval(), 50);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, -10);
    for (int i = 0; i < GewichtAnzahl; ++i) {
        EXPECT_FALSE(ZqK2_4A1.AufSchale[i]);
        EXPECT_EQ(f->Knoepfe[i]->Caption(), QStringLiteral("Gewicht\rnehmen"));
    }
    Ticken(f, 3);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, -10);
    EXPECT_EQ(f->Label4->Caption(), QStringLiteral("Zu wenig Gewicht auf der rechten Waagschale."));
}

TEST(Balance, SugarIsBalancedAndTheBeamSettlesLevel) {
    Form f;
    ZuWare(f, 16);
    EXPECT_EQ(f->Panel2->Caption(), QStringLiteral("Zucker 1000g"));
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 16 / 16"));
    Nehmen(f, {G500, G200a, G200b, G100});
    EXPECT_EQ(f->Knoepfe[G500]->Caption(), QStringLiteral("Gewicht\rzurückstellen"));
    EXPECT_EQ(f->Knoepfe[G50]->Caption(), QStringLiteral("Gewicht\rnehmen"));
    Ticken(f, 1);
    // The verdict comes at once, before the beam is level.
    EXPECT_EQ(f->Label4->Caption(),
              QStringLiteral("Die Waage befindet sich im Gleichgewicht. Sehr gut, weiter so."));
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, -9.5);
    Ticken(f, 19);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, 0);
    Ticken(f, 5);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, 0);
    // Taking the last piece off turns the beam back towards the left.
    Nehmen(f, {G100});
    Ticken(f, 1);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, -0.5);
    EXPECT_EQ(f->Label4->Caption(), QStringLiteral("Zu wenig Gewicht auf der rechten Waagschale."));
    Ticken(f, 40);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, -10);

    // After the last good the first comes again, with an empty pan.
    f->B_NeueAufgabe->Click();
    Anhalten(f);
    EXPECT_EQ(ZqK2_4A1.Ware, 1);
    EXPECT_EQ(GewichteSumme(ZqK2_4A1.AufSchale), 0);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, -10);
}

TEST(Balance, ToothpasteAndPaprikaAreBalancedTooMuchTipsToTheStop) {
    Form f;
    ZuWare(f, 9);
    Nehmen(f, {G20a, G5});
    EXPECT_EQ(GewichteSumme(ZqK2_4A1.AufSchale), ZqK2_4A1.Zielmasse);
    Nehmen(f, {G10});
    Ticken(f, 60);
    EXPECT_DOUBLE_EQ(ZqK2_4A1.Winkel, 10);
    EXPECT_EQ(f->Label4->Caption(), QStringLiteral("Zu viel Gewicht auf der rechten Waagschale."));
    ZuWare(f, 11);
    EXPECT_EQ(f->Panel2->Caption(), QStringLiteral("Geröstete Paprika 680g"));
    Nehmen(f, {G500, G100, G50, G20b, G10});
    EXPECT_EQ(GewichteSumme(ZqK2_4A1.AufSchale), 680);
    // Reopening starts with the first good again.
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK2_4A1.Ware, 1);
}

TEST(Balance, BeamStepStaysWithinTenDegrees) {
    double a = 9.5;
    EXPECT_TRUE(WaagebalkenSchritt(200, 100, a));
    EXPECT_DOUBLE_EQ(a, 10);
    EXPECT_FALSE(WaagebalkenSchritt(200, 100, a));
    EXPECT_DOUBLE_EQ(a, 10);
    a = -10;
    EXPECT_FALSE(WaagebalkenSchritt(0, 100, a));
    EXPECT_DOUBLE_EQ(a, -10);
    a = 3;
    EXPECT_TRUE(WaagebalkenSchritt(100, 100, a));
    EXPECT_DOUBLE_EQ(a, 2.5);
    a = 0;
    EXPECT_FALSE(WaagebalkenSchritt(100, 100, a));
}

TEST(Balance, LabelsOfPiecesChangeUnitFromOneKilogram) {
    EXPECT_EQ(GewichtBeschriftung(500), QStringLiteral("500 g"));
    EXPECT_EQ(GewichtBeschriftung(999), QStringLiteral("999 g"));
    EXPECT_EQ(GewichtBeschriftung(1000), QStringLiteral("1 kg"));
    EXPECT_EQ(GewichtBeschriftung(1105), QStringLiteral("1.105 kg"));
    EXPECT_EQ(GewichtBeschriftung(2500000), QStringLiteral("2.5 t"));
}

TEST(Balance, GeometryTurnsTheRightEndDownForPositiveAngles) {
    const TWaagenGeometrie g0 = WaagenGeometrie(769, 287, 0);
    EXPECT_EQ(g0.Drehpunkt.x, 384);
    EXPECT_EQ(g0.Drehpunkt.y, 67);
    EXPECT_EQ(g0.Rechts.x, 574);
    EXPECT_EQ(g0.Rechts.y, 67);
    EXPECT_EQ(g0.Links.x, 194);
    EXPECT_EQ(g0.Balken[0].x, 584);
    EXPECT_EQ(g0.Balken[0].y, 60);
    const TWaagenGeometrie g = WaagenGeometrie(769, 287, 10);
    EXPECT_GT(g.Rechts.y, 67);
    EXPECT_LT(g.Links.y, 67);
    // Truncated, not rounded: 67 + 32.99 and 67 - 32.99.
    EXPECT_EQ(g.Rechts.x, 571);
    EXPECT_EQ(g.Rechts.y, 99);
    EXPECT_EQ(g.Links.x, 196);
    EXPECT_EQ(g.Links.y, 34);
}

TEST(Balance, DrawingShowsPostPivotAndGreyPiecesOnThePan) {
    Form f;
    Anhalten(f);
    TCanvas* c = f->Image9->Canvas();
    EXPECT_EQ(c->Pixel(384, 280), RGB(200, 50, 100)); // post
    EXPECT_EQ(c->Pixel(384, 67), clBlack);            // pivot dot
    EXPECT_EQ(c->Pixel(5, 5), clWhite);
    // The 500 g picture: blue while on the tray, grey once it is on the pan.
    TImage* b = f->Gewichtbilder[G500];
    EXPECT_FALSE(IstGrau(b->Canvas()->Pixel(60, 135)));
    Nehmen(f, {G500});
    EXPECT_TRUE(IstGrau(b->Canvas()->Pixel(60, 135)));
    EXPECT_NE(b->Canvas()->Pixel(60, 135), clWhite);
    // The piece stands on the right plate, under the hanger.
    const TWaagenGeometrie g = WaagenGeometrie(769, 287, -10);
    EXPECT_NE(c->Pixel(g.Rechts.x, g.Rechts.y + 184 - 5), clWhite);
    Nehmen(f, {G500});
    EXPECT_EQ(c->Pixel(g.Rechts.x, g.Rechts.y + 184 - 5), clWhite);
}

} // namespace
