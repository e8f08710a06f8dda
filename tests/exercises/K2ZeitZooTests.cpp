#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_2A1.h"

#include <gtest/gtest.h>

#include "platform/Runtime.h"

#include "term/USetup.h"

#include <QImage>
#include <QTimer>

#include <map>

#include <cmath>

namespace {

using namespace K1Test;

// The length of a path as the drawing measures it: 100 chords between
// rounded points, the sum rounded.
int Gemessen(const tWeg& w) {
    double l = 0;
    for (int i = 0; i < 100; ++i) {
        const tWegPunkt p = BezierPunkt(w, i / 100.0), q = BezierPunkt(w, (i + 1) / 100.0);
        l += std::hypot(double(q.x - p.x), double(q.y - p.y));
    }
    return static_cast<int>(Round(l));
}

void Eingeben(TRichEdit* Box, const QString& Text) {
    Box->Clear();
    TypeText(Box, Text);
}

TEST(ZooPaths, EveryGraphIsAClosedWalkFromA) {
    WegeTabelleFuellen();
    const int Anzahl[5] = {0, 2, 3, 4, 6};
    for (int n = 1; n <= 4; ++n) {
        const tWegeAufgabe& A = ZqK2_2A1.Aufgaben[n];
        ASSERT_EQ(A.Anzahl, Anzahl[n]);
        for (int k = 1; k < A.Anzahl; ++k) {
            EXPECT_EQ(A.Wege[k].P[0].x, A.Wege[k - 1].P[3].x);
            EXPECT_EQ(A.Wege[k].P[0].y, A.Wege[k - 1].P[3].y);
        }
        EXPECT_EQ(A.Wege[A.Anzahl - 1].P[3].x, A.Wege[0].P[0].x);
        EXPECT_EQ(A.Wege[A.Anzahl - 1].P[3].y, A.Wege[0].P[0].y);
    }
    const tWeg w = ZqK2_2A1.Aufgaben[2].Wege[0];
    EXPECT_EQ(BezierPunkt(w, 0).x, 100);
    EXPECT_EQ(BezierPunkt(w, 1).x, 400);
    EXPECT_EQ(BezierPunkt(w, 0.5).x, 250);
    EXPECT_EQ(BezierPunkt(w, 0.5).y, 175);
}

TEST(ZooPaths, PathColoursRepeatFromElevenAndEndInBlack) {
    EXPECT_EQ(WegFarbe(1), RGB(0, 0, 255));
    EXPECT_EQ(WegFarbe(2), RGB(0, 128, 0));
    EXPECT_EQ(WegFarbe(11), RGB(0, 128, 0));
    EXPECT_EQ(WegFarbe(9), RGB(0, 0, 128));
    EXPECT_EQ(WegFarbe(18), RGB(0, 0, 128));
    EXPECT_EQ(WegFarbe(17), RGB(128, 0, 0));
    EXPECT_EQ(WegFarbe(10), RGB(0, 0, 0));
    EXPECT_EQ(WegFarbe(19), RGB(0, 0, 0));
}

TEST(ZooPaths, AnswerIsTheSumOfTheShownLengthsInKmAndM) {
    OffeneForm<TZqK2_2A1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 2.2   Übung 1");
    EXPECT_EQ(ZqK2_2A1.Nr, 1);
    EXPECT_FALSE(f->BtnAnimation->Enabled());
    const tWegeAufgabe& A = ZqK2_2A1.Aufgaben[1];
    const int Summe = Gemessen(A.Wege[0]) + Gemessen(A.Wege[1]);
    EXPECT_EQ(A.km, QString::number(Summe / 1000));
    EXPECT_EQ(A.m, QString::number(Summe % 1000));
    Bildschirmfoto(f.get(), "TZqK2_2A1_Graph1");

    Eingeben(f->ed1, A.km);
    Eingeben(f->ed2, A.m);
    f->ButtonP1->Click();
    EXPECT_EQ(f->Labelp1->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Labelp1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_TRUE(f->BtnAnimation->Enabled());

    // Wholly in metres, with the km box empty.
    f->ed1->Clear();
    Eingeben(f->ed2, QString::number(Summe));
    PressEnter(f->ed2);
    EXPECT_EQ(f->Labelp1->Caption(), "Bitte gemischte Schreibweise benutzen.");
    EXPECT_EQ(f->Labelp1->Font()->Color(), RGB(255, 255, 0));

    Eingeben(f->ed1, A.km);
    Eingeben(f->ed2, QString::number(A.m.toInt() + 1));
    PressEnter(f->ed1);
    EXPECT_EQ(f->Labelp1->Caption(), "Nur 1. Wert ist richtig.");
    EXPECT_EQ(f->Labelp1->Font()->Color(), RGB(255, 0, 255));
    Eingeben(f->ed1, "7");
    Eingeben(f->ed2, A.m);
    PressEnter(f->ed1);
    EXPECT_EQ(f->Labelp1->Caption(), "Nur 2. Wert ist richtig.");
    Eingeben(f->ed1, "7");
    Eingeben(f->ed2, "7");
    PressEnter(f->ed1);
    EXPECT_EQ(f->Labelp1->Caption(), "leider falsch");
    EXPECT_EQ(f->Labelp1->Font()->Color(), RGB(255, 0, 0));
}

TEST(ZooPaths, GraphsCycleAndEveryHelpHintsAtAClosedWalk) {
    OffeneForm<TZqK2_2A1> f;
    for (int n = 2; n <= 4; ++n) {
        f->B_NeueAufgabe->Click();
        EXPECT_EQ(ZqK2_2A1.Nr, n);
        EXPECT_FALSE(f->PanelH->Visible());
        EXPECT_FALSE(f->BtnAnimation->Enabled());
    }
    // Every point of graph 4 has an even number of paths: the walk is closed,
    // so the help is the one of the other graphs and no "B" is drawn.
    std::map<std::pair<int, int>, int> Grad;
    const tWegeAufgabe& A = ZqK2_2A1.Aufgaben[4];
    for (int k = 0; k < A.Anzahl; ++k)
        for (const tWegPunkt& e : {A.Wege[k].P[0], A.Wege[k].P[3]})
            ++Grad[{e.x, e.y}];
    for (const auto& [Punkt, n] : Grad)
        EXPECT_EQ(n % 2, 0) << Punkt.first << "," << Punkt.second;
    const QImage Vorher = f->Bild->Picture()->Bitmap()->ToImage();
    f->BtnHilfe1->Click();
    EXPECT_TRUE(f->PanelH->Visible());
    EXPECT_TRUE(f->BtnAnimation->Enabled());
    EXPECT_EQ(f->LabelH1->Caption(), "Versuche, einen Rundgang zu finden, in dem jeder Weg");
    EXPECT_EQ(f->LabelH2->Caption(), "genau einmal begangen wird.");
    EXPECT_EQ(f->Bild->Picture()->Bitmap()->ToImage(), Vorher);
    Bildschirmfoto(f.get(), "TZqK2_2A1_Graph4");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK2_2A1.Nr, 1);
    EXPECT_EQ(f->AufgabenNrWert(), 1);
    f->BtnHilfe1->Click();
    EXPECT_EQ(f->LabelH1->Caption(), "Versuche, einen Rundgang zu finden, in dem jeder Weg");
    EXPECT_EQ(f->LabelH2->Caption(), "genau einmal begangen wird.");
}

TEST(ZooPaths, HelpOrARightAnswerDuringAWalkStartNoSecondWalk) {
    OffeneForm<TZqK2_2A1> f;
    f->BtnHilfe1->Click();
    f->Pause = 1;
    int Schritte = 0;
    bool WaehrendFrei = true;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        ++Schritte;
        if (Schritte == 2) f->BtnHilfe1->Click();
        if (Schritte == 3) {
            Eingeben(f->ed1, ZqK2_2A1.Aufgaben[1].km);
            Eingeben(f->ed2, ZqK2_2A1.Aufgaben[1].m);
            f->ButtonP1Click(f->ButtonP1);
        }
        if (Schritte >= 2 && Schritte <= 4) WaehrendFrei = WaehrendFrei && f->BtnAnimation->Enabled();
        // A click on the (disabled) button runs its handler all the same.
        if (Schritte == 4) f->BtnAnimationClick(f->BtnAnimation);
    });
    t.start(1);
    f->RundgangAnimieren();
    t.stop();
    EXPECT_GE(Schritte, 4);
    EXPECT_FALSE(WaehrendFrei);
    EXPECT_EQ(f->Labelp1->Caption(), "Super, das Ergebnis ist richtig.");
    // The walk ran once to its end and leaves the button usable.
    EXPECT_EQ(f->Stop, 1);
    EXPECT_TRUE(f->BtnAnimation->Enabled());
}

TEST(ZooPaths, HelpStaysUsableUnderTheNoHelpSwitch) {
    FSetup.KeineHilfe = true;
    OffeneForm<TZqK2_2A1> f;
    FSetup.KeineHilfe = false;
    EXPECT_TRUE(f->BtnHilfe1->Enabled());
    f->BtnHilfe1->Click();
    EXPECT_TRUE(f->PanelH->Visible());
    EXPECT_TRUE(f->BtnAnimation->Enabled());
}

TEST(ZooPaths, WalkRunsToTheEndOrStopsWithANewTask) {
    OffeneForm<TZqK2_2A1> f;
    f->BtnHilfe1->Click();
    f->Pause = 0;
    f->RundgangAnimieren();
    EXPECT_EQ(f->Stop, 1);
    EXPECT_TRUE(f->BtnAnimation->Enabled());

    f->RGv->SetItemIndex(0);
    EXPECT_EQ(f->Pause, 30);
    f->RGv->SetItemIndex(1);
    EXPECT_EQ(f->Pause, 10);
    // A new task from inside the walk ends it after the current step.
    int Schritte = 0;
    f->Pause = 1;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        if (++Schritte == 3) f->B_NeueAufgabe->Click();
    });
    t.start(1);
    f->RundgangAnimieren();
    t.stop();
    EXPECT_EQ(ZqK2_2A1.Nr, 2);
    EXPECT_EQ(f->Stop, 1);
    EXPECT_FALSE(f->BtnAnimation->Enabled());
}

} // namespace
