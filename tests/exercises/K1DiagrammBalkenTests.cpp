#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_4A1.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

void ZuAufgabe(TZqK1_4A1* f, int n) {
    while (ZqK1_4A1_Aufgabe != n)
        f->B_NeueAufgabe->Click();
}

void Eingeben(TZqK1_4A1* f, const QString& s) {
    f->RichEdit1->Lines()->SetText(s);
}

QList<int> Hoehen() {
    QList<int> l;
    for (int i = 1; i <= 7; ++i)
        l << ZqK1_4A1_Hoehe[i];
    return l;
}

TEST(BarCharts, ActivationStartsWithTaskOneAndTasksCycleThroughNine) {
    OffeneForm<TZqK1_4A1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.4   Übung 1");
    EXPECT_EQ(f->Label1->Caption(), "Balkendiagramme");
    EXPECT_EQ(ZqK1_4A1_Aufgabe, 1);
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_TRUE(f->B_BtnAufgabenNr->Visible());
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "Aufgabe 1 / 9");
    EXPECT_EQ(f->PageControl1->ActivePage(), f->TabSheet1);
    EXPECT_EQ(f->LabelF1->Caption(), "Wie viele Eichhörnchen hat Sie gezählt ?");
    EXPECT_FALSE(f->Panel1->Visible());
    EXPECT_FALSE(f->RichEdit2->Visible());
    for (int n = 2; n <= 9; ++n) {
        f->B_NeueAufgabe->Click();
        EXPECT_EQ(ZqK1_4A1_Aufgabe, n);
        EXPECT_EQ(f->PageControl1->ActivePage(), n == 9 ? f->TabSheet2 : f->TabSheet1);
    }
    Bildschirmfoto(f.get(), "K1_4A1_Bauen");
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK1_4A1_Aufgabe, 1);
    ZuAufgabe(f.get(), 5);
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK1_4A1_Aufgabe, 1);
}

TEST(BarCharts, CountingTasksExpectTheSumsOfTheDrawnBars) {
    OffeneForm<TZqK1_4A1> f;
    const int Erwartet[7] = {0, 3, 5, 17, 10, 32, 35};
    for (int n = 1; n <= 6; ++n) {
        ZuAufgabe(f.get(), n);
        Eingeben(f.get(), QString::number(Erwartet[n] + 1));
        f->BitBtnP1->Click();
        EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(255, 0, 0)) << n;
        const QString Falsch = f->LabelP1->Caption();
        EXPECT_FALSE(Falsch.isEmpty());
        Eingeben(f.get(), QString::number(Erwartet[n]));
        f->BitBtnP1->Click();
        EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(0, 200, 0)) << n;
        EXPECT_NE(f->LabelP1->Caption(), Falsch);
    }
    // A new task clears the verdict and the colours.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "");
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), clBlack);
    EXPECT_EQ(Zeile0(f->RichEdit1), "");
}

TEST(BarCharts, HelpShowsTheTaskHintUntilTheNextTask) {
    OffeneForm<TZqK1_4A1> f;
    ZuAufgabe(f.get(), 4);
    EXPECT_FALSE(f->PanelH1->Visible());
    f->BitBtnHilfe->Click();
    EXPECT_TRUE(f->PanelH1->Visible());
    EXPECT_EQ(f->LabelH1->Caption(),
              QStringLiteral("Es gibt Distelfinken und Bergfinken.") + QChar(13) + "Addiere die beiden Anzahlen.");
    f->B_NeueAufgabe->Click();
    EXPECT_FALSE(f->PanelH1->Visible());
}

TEST(BarCharts, NameTasksAcceptTypedNamesInAnyCaseAndTheAnimalButtons) {
    OffeneForm<TZqK1_4A1> f;
    ZuAufgabe(f.get(), 7);
    EXPECT_EQ(f->LabelF1->Caption(), "Welches Tier kam am häufigsten ?");
    EXPECT_TRUE(f->Panel1->Visible());
    EXPECT_TRUE(f->RichEdit2->Visible());
    EXPECT_EQ(f->RichEdit1->Left(), 24);
    EXPECT_EQ(f->RichEdit1->Width(), 177);
    EXPECT_EQ(f->RichEdit2->Top(), 380);
    Eingeben(f.get(), "blaumeise");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Das stimmt.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(0, 200, 0));
    Eingeben(f.get(), "Kohlmeise");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Das stimmt nicht.");
    EXPECT_EQ(f->BitBtnP1->Font()->Color(), RGB(255, 0, 0));

    f->BitBtn[4]->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    EXPECT_EQ(f->BitBtn[4]->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(Zeile0(f->RichEdit2), "Kohlmeise");
    f->BitBtn[3]->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Das stimmt.");
    EXPECT_EQ(f->LabelP1->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(f->BitBtn[3]->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(Zeile0(f->RichEdit2), "Blaumeise");
    Bildschirmfoto(f.get(), "K1_4A1_Tierwahl");

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->LabelF1->Caption(), "Welches Tier kam am seltesten ?");
    EXPECT_EQ(f->BitBtn[3]->Font()->Color(), clBlack);
    EXPECT_EQ(Zeile0(f->RichEdit2), "");
    f->BitBtn[3]->Click(); // right in task 7 only
    EXPECT_EQ(f->LabelP1->Caption(), "Leider falsch.");
    f->BitBtn[5]->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Das stimmt.");
    EXPECT_EQ(Zeile0(f->RichEdit2), "Haubenmeise");
    Eingeben(f.get(), "HAUBENMEISE");
    f->BitBtnP1->Click();
    EXPECT_EQ(f->LabelP1->Caption(), "Das stimmt.");

    // Back to a counting task: the answer box has its own place again.
    f->B_NeueAufgabe->Click();
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK1_4A1_Aufgabe, 1);
    EXPECT_EQ(f->RichEdit1->Left(), 104);
    EXPECT_EQ(f->RichEdit1->Width(), 97);
    EXPECT_FALSE(f->Panel1->Visible());
}

TEST(BarCharts, FirstChartShowsTheBlueBarsUnderTheGrid) {
    OffeneForm<TZqK1_4A1> f;
    TCanvas* c = f->Image1->Canvas();
    // Blaumeise (8) reaches the top line, Haubenmeise (2) stops at 140.
    EXPECT_EQ(c->Pixel(282, 30), RGB(0, 0, 255));
    EXPECT_EQ(c->Pixel(490, 150), RGB(0, 0, 255));
    EXPECT_EQ(c->Pixel(490, 130), clWhite);
    // A grey grid line crosses the bars; the axis is black.
    EXPECT_EQ(c->Pixel(282, 100), RGB(200, 200, 200));
    EXPECT_EQ(c->Pixel(20, 100), clBlack);
    EXPECT_EQ(c->Pixel(400, 180), clBlack);
}

TEST(BarCharts, ClicksSetRoundedHeightsOnlyInsideThePicturesAndTheBand) {
    OffeneForm<TZqK1_4A1> f;
    ZuAufgabe(f.get(), 9);
    EXPECT_EQ(Hoehen(), QList<int>({0, 0, 0, 0, 0, 0, 0}));
    TCanvas* c = f->Image9->Canvas();
    EXPECT_EQ(c->Pixel(490, 170), clWhite); // flat bars hide under the baseline

    MausBei(f->Image9, 74, 170); // 0.5 goes to 0
    EXPECT_EQ(ZqK1_4A1_Hoehe[1], 0);
    MausBei(f->Image9, 74, 150); // 1.5 goes to 2
    EXPECT_EQ(ZqK1_4A1_Hoehe[1], 2);
    MausBei(f->Image9, 178, 11);
    EXPECT_EQ(ZqK1_4A1_Hoehe[2], 8);
    MausBei(f->Image9, 178, 10); // above the band
    EXPECT_EQ(ZqK1_4A1_Hoehe[2], 8);
    MausBei(f->Image9, 178, 180); // on the baseline
    EXPECT_EQ(ZqK1_4A1_Hoehe[2], 8);
    MausBei(f->Image9, 24, 100); // on a picture's left edge
    MausBei(f->Image9, 126, 100); // between two pictures
    EXPECT_EQ(Hoehen(), QList<int>({2, 8, 0, 0, 0, 0, 0}));

    MausBei(f->Image9, 490, 150); // Haubenmeise: 2 instead of 1
    EXPECT_EQ(ZqK1_4A1_Hoehe[5], 2);
    EXPECT_EQ(c->Pixel(490, 170), RGB(255, 0, 0));
    MausBei(f->Image9, 490, 169);
    EXPECT_EQ(ZqK1_4A1_Hoehe[5], 1);
    EXPECT_EQ(c->Pixel(490, 170), RGB(0, 200, 0));
    MausBei(f->Image9, 490, 151);
    EXPECT_EQ(ZqK1_4A1_Hoehe[5], 1);
    Bildschirmfoto(f.get(), "K1_4A1_Geklickt");

    // Released: a redraw does not take the last point again.
    f->Diagramm2Zeichnen();
    EXPECT_EQ(Hoehen(), QList<int>({2, 8, 0, 0, 1, 0, 0}));
    f->B_NeueAufgabe->Click();
    ZuAufgabe(f.get(), 9);
    EXPECT_EQ(Hoehen(), QList<int>({0, 0, 0, 0, 0, 0, 0}));
}

} // namespace

namespace {

TEST(BarCharts, TaskPagesShowTheLightGreenOfTheirPanel) {
    OffeneForm<TZqK1_4A1> f;
    const TColor Gruen = RGB(210, 242, 222);
    EXPECT_EQ(f->PanelPage->Color(), Gruen);
    for (TTabSheet* s : {f->TabSheet1, f->TabSheet2}) {
        f->PageControl1->SetActivePage(s);
        EXPECT_EQ(s->Color(), Gruen);
        // A corner of the page, where no control stands, as the pupil sees it.
        const QImage Bild = f->PageControl1->Widget()->grab().toImage();
        EXPECT_EQ(Bild.pixelColor(Bild.width() - 2, Bild.height() - 2), QColor(210, 242, 222));
    }
}

} // namespace
