#include "K1TestHelfer.h"

#include "exercises/chapter3/UZqK3_2D1.h"
#include "term/USetup.h"

#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace K1Test;

const TColor Weiss = RGB(255, 255, 255);
const int Ordnung[4][6] = {{2, 1, 5, 6, 3, 4}, {3, 1, 4, 6, 2, 5}, {3, 2, 4, 1, 5, 6}, {3, 6, 5, 1, 2, 4}};
const char* const Identitaet[4] = {"245316", "146325", "126453", "135426"};

// The pixel centre of net square q as last drawn.
TPoint Mitte(int q) {
    const TFaerbZustand& Z = ZqK3_2D1;
    int x = 0, y = 0;
    for (int j = 0; j < 4; ++j) {
        int t = 0;
        TPoint p;
        Projizieren2(Z.Netzecken[4 * (q - 1) + j], Z.Netzansicht, t, p);
        x += p.x;
        y += p.y;
    }
    return TPoint{x / 4, y / 4};
}

void Malen(TZqK3_2D1* f, int q, int Farbe) {
    f->RadioGroup1->SetItemIndex(Farbe - 1);
    const TPoint p = Mitte(q);
    f->Image2MouseDown(f->Image2, mbLeft, TShiftState{}, p.x, p.y);
    f->Image2MouseUp(f->Image2, mbLeft, TShiftState{}, p.x, p.y);
}

// Paints every square with the colour of the target face of the same number.
void WieZielMalen(TZqK3_2D1* f) {
    for (int q = 1; q <= 6; ++q)
        Malen(f, q, ZqK3_2D1.Zielflaechen[q - 1].Malnummer);
}

// Paint numbers that give the colour order Text on the layout of Z.
void NachFolgeSetzen(TFaerbZustand& Z, const QString& Text) {
    for (int i = 0; i < 6; ++i) {
        const int Ziffer = Text[i].digitValue();
        for (const TZielflaeche& t : Z.Zielflaechen)
            if (t.Ziffer == Ziffer) Z.Malnummer[Ordnung[Z.Netzart - 1][i] - 1] = t.Malnummer;
    }
}

TEST(ColouringNet, FirstTaskIsLayoutOneFlatAndWhiteLaterOnesVary) {
    OffeneForm<TZqK3_2D1> f;
    const TFaerbZustand& Z = ZqK3_2D1;
    EXPECT_EQ(f->Caption(), "Abschnitt 3.2   Übung 4");
    EXPECT_EQ(Z.Netzart, 1);
    EXPECT_EQ(Z.Faltwinkel, 0);
    EXPECT_TRUE(f->Panel5->Visible());
    EXPECT_FALSE(f->BitBtn8->Visible());
    EXPECT_FALSE(f->Panel4->Visible());
    EXPECT_EQ(f->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(f->PanelFarbe[5]->Color(), RGB(200, 100, 50));
    EXPECT_EQ(f->Image1->Canvas()->Pixel(0, 0), Weiss);
    const int Ziffern[6] = {4, 2, 1, 6, 5, 3};
    QSet<int> Nummern;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Z.Netzfarben[i], Weiss);
        EXPECT_EQ(Z.Malnummer[i], -1);
        EXPECT_EQ(Z.Zielflaechen[i].Ziffer, Ziffern[i]);
        Nummern.insert(Z.Zielflaechen[i].Malnummer);
        EXPECT_EQ(Z.Zielfarben[i], Z.Malfarben[Z.Zielflaechen[i].Malnummer - 1]);
    }
    EXPECT_EQ(Nummern, (QSet<int>{1, 2, 3, 4, 5, 6}));
    QSet<int> Arten;
    for (int i = 0; i < 40; ++i) {
        f->NeueAufgabe();
        Arten.insert(Z.Netzart);
    }
    EXPECT_EQ(Arten, (QSet<int>{1, 2, 3, 4}));
    f.Wiederoeffnen();
    EXPECT_EQ(Z.Netzart, 1);
}

TEST(ColouringNet, AcceptedOrdersAreTheTargetInEveryPosition) {
    const int Gegenueber[4][3][2] = {{{0, 2}, {1, 3}, {4, 5}}, {{0, 2}, {1, 3}, {4, 5}},
                                     {{0, 2}, {1, 4}, {3, 5}}, {{0, 5}, {1, 3}, {2, 4}}};
    TFaerbZustand Z;
    for (int Art = 1; Art <= 4; ++Art) {
        Z.Netzart = Art;
        for (int i = 0; i < 6; ++i)
            Z.Zielflaechen[i].Malnummer = i + 1;
        for (int i = 0; i < 6; ++i)
            Z.Malnummer[i] = i + 1;
        // Square for square like the target.
        EXPECT_EQ(FarbfolgeBilden(Z), QLatin1String(Identitaet[Art - 1]));
        EXPECT_TRUE(FarbfolgeRichtig(Art, FarbfolgeBilden(Z)));
        // Every text of a position has the opposite digits on opposite squares.
        int Gezaehlt = 0;
        QString t = QStringLiteral("123456");
        do {
            bool Gegen = true;
            for (const auto& g : Gegenueber[Art - 1])
                Gegen = Gegen && t[g[0]].digitValue() + t[g[1]].digitValue() == 7;
            if (FarbfolgeRichtig(Art, t)) {
                ++Gezaehlt;
                EXPECT_TRUE(Gegen) << Art << " " << t.toStdString();
                NachFolgeSetzen(Z, t);
                EXPECT_EQ(FarbfolgeBilden(Z), t);
            }
        } while (std::next_permutation(t.begin(), t.end()));
        EXPECT_EQ(Gezaehlt, 24) << Art;
        // Two adjacent squares swapped.
        QString s = QLatin1String(Identitaet[Art - 1]);
        const int a = Gegenueber[Art - 1][0][0], b = Gegenueber[Art - 1][1][0];
        std::swap(s[a], s[b]);
        EXPECT_FALSE(FarbfolgeRichtig(Art, s));
    }
    Z.Malnummer[2] = -1;
    EXPECT_EQ(FlaechenZiffer(Z, Ordnung[3][0]), 0);
    EXPECT_TRUE(FarbfolgeBilden(Z).contains(QLatin1Char('0')));
    EXPECT_FALSE(FarbfolgeRichtig(4, FarbfolgeBilden(Z)));
    EXPECT_FALSE(FarbfolgeRichtig(0, QLatin1String(Identitaet[0])));
    EXPECT_FALSE(FarbfolgeRichtig(5, QLatin1String(Identitaet[0])));
    EXPECT_EQ(FlaechenZiffer(Z, 7), 0);
}

TEST(ColouringNet, PaintingLikeTheTargetIsRightAndFoldsOnce) {
    OffeneForm<TZqK3_2D1> f;
    TFaerbZustand& Z = ZqK3_2D1;
    WieZielMalen(f.get());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Z.Malnummer[i], Z.Zielflaechen[i].Malnummer);
        EXPECT_EQ(Z.Netzfarben[i], Z.Zielfarben[i]);
    }
    f->BitBtn7Click(f->BitBtn7);
    EXPECT_EQ(Z.Faltwinkel, 90);
    EXPECT_FALSE(f->Panel5->Visible());
    EXPECT_EQ(f->LabelP->Caption(), "richtig");
    EXPECT_EQ(f->LabelP->Font()->Color(), RGB(0, 255, 0));
    EXPECT_FALSE(f->BitBtn8->Visible());
    // Folded: a click paints nothing, a second check does not turn the net again.
    const tMatrix Gefaltet = Z.Netzansicht.Drehung;
    const tFarbfeld Farben = Z.Netzfarben;
    f->Image2MouseDown(f->Image2, mbLeft, TShiftState{}, 200, 200);
    f->Image2MouseUp(f->Image2, mbLeft, TShiftState{}, 200, 200);
    EXPECT_EQ(Z.Netzfarben, Farben);
    f->BitBtn7Click(f->BitBtn7);
    EXPECT_TRUE(Z.Netzansicht.Drehung == Gefaltet);
    EXPECT_EQ(f->LabelP->Caption(), "richtig");
    // Back to the flat net with the colours kept.
    f->BitBtn3Click(f->BitBtn3);
    EXPECT_EQ(Z.Faltwinkel, 0);
    EXPECT_TRUE(f->Panel5->Visible());
    EXPECT_EQ(Z.Netzfarben, Farben);
    EXPECT_TRUE(Z.Netzansicht.Drehung == EinheitsMatrix2());
}

TEST(ColouringNet, WrongOrUnfinishedPaintingIsWrongAndCanBeRetried) {
    OffeneForm<TZqK3_2D1> f;
    TFaerbZustand& Z = ZqK3_2D1;
    // A click beside every square paints nothing.
    f->Image2MouseDown(f->Image2, mbLeft, TShiftState{}, 2, 398);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Z.Malnummer[i], -1);
    for (int q = 1; q <= 5; ++q)
        Malen(f.get(), q, Z.Zielflaechen[q - 1].Malnummer);
    f->BitBtn7Click(f->BitBtn7);
    EXPECT_EQ(f->LabelP->Caption(), "falsch");
    EXPECT_EQ(f->LabelP->Font()->Color(), RGB(255, 0, 0));
    EXPECT_TRUE(f->BitBtn8->Visible());
    f->BitBtn8Click(f->BitBtn8);
    EXPECT_EQ(Z.Faltwinkel, 0);
    EXPECT_EQ(f->LabelP->Caption(), "");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Z.Malnummer[i], -1);
        EXPECT_EQ(Z.Netzfarben[i], Weiss);
    }
    // Two adjacent squares swapped.
    WieZielMalen(f.get());
    const int a = Ordnung[0][0], b = Ordnung[0][1];
    Malen(f.get(), a, Z.Zielflaechen[b - 1].Malnummer);
    Malen(f.get(), b, Z.Zielflaechen[a - 1].Malnummer);
    f->BitBtn7Click(f->BitBtn7);
    EXPECT_EQ(f->LabelP->Caption(), "falsch");
}

TEST(ColouringNet, ControlsAndViews) {
    OffeneForm<TZqK3_2D1> f;
    TFaerbZustand& Z = ZqK3_2D1;
    f->PanelFarbe1Click(f->PanelFarbe[3]);
    EXPECT_EQ(f->RadioGroup1->ItemIndex(), 3);
    f->BitBtn13Click(f->BitBtn13);
    EXPECT_TRUE(f->Panel4->Visible());
    f->CheckHG->SetChecked(false);
    f->CheckHGClick(f->CheckHG);
    EXPECT_EQ(f->Image1->Canvas()->Pixel(0, 199), RGB(0, 0, 0));
    EXPECT_EQ(f->Image2->Canvas()->Pixel(399, 0), RGB(0, 0, 0));
    // A held cube button turns the cube until released; "Reset" brings it back.
    const tMatrix Start = Z.Wuerfelansicht.Drehung;
    QTimer::singleShot(80, [&f] { f->BitBtn5MouseUp(f->Wuerfelknopf[1], mbLeft, TShiftState{}, 5, 5); });
    f->Wuerfelknopf[1]->OnMouseDown(f->Wuerfelknopf[1], mbLeft, TShiftState{}, 5, 5);
    EXPECT_TRUE(Z.Haltestopp);
    EXPECT_FALSE(Z.Wuerfelansicht.Drehung == Start);
    f->BitBtn4Click(f->BitBtn4);
    EXPECT_TRUE(Z.Wuerfelansicht.Drehung == Start);
    // A drag that ends where it began turns by one pixel about -x.
    f->Image1MouseDown(f->Image1, mbLeft, TShiftState{}, 50, 50);
    f->Image1MouseMove(f->Image1, TShiftState{}, 50, 50);
    EXPECT_TRUE(Z.Wuerfelansicht.Drehung == Start); // shown only until the release
    f->Image1MouseUp(f->Image1, mbLeft, TShiftState{}, 50, 50);
    const double w = 1 / std::sqrt(240.0 * 240 + 200 * 200) * 180 / std::numbers::pi * 0.1 * 20;
    const tMatrix Erwartet = MatrixProdukt2(DrehmatrixAchse2(VektorBilden2(-1, 0, 0), w), Start);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(Z.Wuerfelansicht.Drehung.m[i][j], Erwartet.m[i][j], 1e-12);
    // A release without a press on the image keeps the view.
    f->BitBtn4Click(f->BitBtn4);
    f->Image1MouseUp(f->Image1, mbLeft, TShiftState{}, 50, 50);
    EXPECT_TRUE(Z.Wuerfelansicht.Drehung == Start);
    // The flat net does not follow a drag.
    f->Image2MouseDown(f->Image2, mbLeft, TShiftState{}, 1, 1);
    f->Image2MouseMove(f->Image2, TShiftState{}, 90, 90);
    f->Image2MouseUp(f->Image2, mbLeft, TShiftState{}, 90, 90);
    EXPECT_TRUE(Z.Netzansicht.Drehung == EinheitsMatrix2());
}

// "prüfen", "Hilfe", "weißer Hintergrund" and the help panel stand clear of
// the yellow hint, whose text ran under them, and of everything else.
TEST(ColouringNet, ButtonsBoxAndPanelsDoNotOverlap) {
    OffeneForm<TZqK3_2D1> f;
    f->BitBtn13Click(f->BitBtn13);
    std::vector<TControl*> Teile = {f->Label3,  f->Image2,  f->Image1,      f->Panel1, f->Panel2, f->Panel3,
                                    f->BitBtn7, f->BitBtn13, f->RadioGroup1, f->Panel4, f->CheckHG};
    for (TPanel* p : f->PanelFarbe)
        Teile.push_back(p);
    for (size_t i = 0; i < Teile.size(); ++i) {
        ASSERT_EQ(Teile[i]->Parent(), f->B_ScrollBox) << Teile[i]->Name().toStdString();
        ASSERT_TRUE(Teile[i]->Showing()) << Teile[i]->Name().toStdString();
        for (size_t j = i + 1; j < Teile.size(); ++j) {
            TRect Schnitt;
            EXPECT_FALSE(IntersectRect(Schnitt, Teile[i]->BoundsRect(), Teile[j]->BoundsRect()))
                << Teile[i]->Name().toStdString() << " / " << Teile[j]->Name().toStdString();
        }
    }
}

TEST(ColouringNet, NoHelpSwitchDisablesHelp) {
    FSetup.KeineHilfe = true;
    {
        OffeneForm<TZqK3_2D1> f;
        EXPECT_FALSE(f->BitBtn13->Enabled());
    }
    FSetup.KeineHilfe = false;
    OffeneForm<TZqK3_2D1> f;
    EXPECT_TRUE(f->BitBtn13->Enabled());
}

TEST(ColouringNet, NewTaskDuringTheFoldLeavesNoVerdictOnTheNewTask) {
    OffeneForm<TZqK3_2D1> f;
    TFaerbZustand& Z = ZqK3_2D1;
    WieZielMalen(f.get());
    // "Neue Aufgabe" while the right net folds (the fold takes 90 waits of 20 ms).
    QTimer::singleShot(200, [&] { f->B_NeueAufgabe->Click(); });
    f->BitBtn7Click(f->BitBtn7);
    EXPECT_EQ(f->LabelP->Caption(), "");
    EXPECT_FALSE(f->BitBtn8->Visible());
    EXPECT_EQ(Z.Faltwinkel, 0);
    EXPECT_TRUE(f->Panel5->Visible());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Z.Netzfarben[i], Weiss);
    // A fold that ends in its own task still judges it.
    WieZielMalen(f.get());
    f->BitBtn7Click(f->BitBtn7);
    EXPECT_EQ(f->LabelP->Caption(), "richtig");
}

} // namespace
