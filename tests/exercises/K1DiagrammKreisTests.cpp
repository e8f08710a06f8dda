#include "K1TestHelfer.h"

#include "exercises/chapter1/UZqK1_4B1.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace K1Test;

QStringList Slices(TPieSeries* s) {
    QStringList l;
    for (int i = 0; i < s->Count(); ++i)
        l << s->Label(i) + "=" + QString::number(s->Value(i));
    return l;
}

// Presses "Neue Aufgabe" until task n shows.
void ZuAufgabe(TZqK1_4B1* f, int n) {
    while (ZqK1_4B1_Aufgabe != n)
        f->B_NeueAufgabe->Click();
}

TEST(PieCharts, ActivationStartsWithTheCakeAndTasksCycle) {
    OffeneForm<TZqK1_4B1> f;
    EXPECT_EQ(f->Caption(), "Abschnitt 1.4   Übung 2");
    EXPECT_EQ(ZqK1_4B1_Aufgabe, 1);
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_TRUE(f->B_BtnAufgabenNr->Visible());
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), "Aufgabe 1 / 4");
    EXPECT_EQ(f->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(f->Chart1->Title()->Text, "Kreisdiagramme");
    EXPECT_EQ(f->Chart1->Title()->Font.Size(), 14);
    // Slider at its first position: seven strawberry eighths.
    EXPECT_EQ(Slices(f->Series1), QStringList({"Erdbeeren=7", "Bananen=1"}));
    EXPECT_EQ(f->Series1->ValueColor(1), RGB(200, 200, 0));
    for (int n = 2; n <= 4; ++n) {
        f->B_NeueAufgabe->Click();
        EXPECT_EQ(ZqK1_4B1_Aufgabe, n);
        EXPECT_EQ(f->PageControl1->ActivePageIndex(), n - 1);
    }
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(ZqK1_4B1_Aufgabe, 1);
    Bildschirmfoto(f.get(), "K1_4B1_Kuchen");
    f->B_NeueAufgabe->Click();
    f->B_NeueAufgabe->Click();
    Bildschirmfoto(f.get(), "K1_4B1_Wahl");
    f.Wiederoeffnen();
    EXPECT_EQ(ZqK1_4B1_Aufgabe, 1);
}

TEST(PieCharts, SliderSetsTheCakeAndKeepsItsPlace) {
    OffeneForm<TZqK1_4B1> f;
    f->TrackBar1->SetPosition(0);
    EXPECT_EQ(Slices(f->Series1), QStringList({"Erdbeeren=8", "Bananen=0"}));
    f->BitBtnP0->Click();
    EXPECT_EQ(f->LabelP0->Caption(), "Der Bananenanteil ist zu gering.");
    EXPECT_EQ(f->LabelP0->Font()->Color(), RGB(255, 0, 0));
    f->TrackBar1->SetPosition(3);
    EXPECT_EQ(f->LabelP0->Caption(), ""); // a move clears the verdict
    f->BitBtnP0->Click();
    EXPECT_EQ(f->LabelP0->Caption(), "Der Bananenanteil ist zu gering.");
    f->TrackBar1->SetPosition(8);
    EXPECT_EQ(Slices(f->Series1), QStringList({"Erdbeeren=0", "Bananen=8"}));
    f->BitBtnP0->Click();
    EXPECT_EQ(f->LabelP0->Caption(), "Der Bananenanteil ist zu groß.");
    f->TrackBar1->SetPosition(5);
    f->BitBtnP0->Click();
    EXPECT_EQ(f->LabelP0->Caption(), "Der Bananenanteil ist zu groß.");
    f->TrackBar1->SetPosition(4);
    f->BitBtnP0->Click();
    EXPECT_EQ(f->LabelP0->Caption(), "Der Kuchen stimmt.");
    EXPECT_EQ(f->LabelP0->Font()->Color(), RGB(0, 255, 0));
    ZuAufgabe(f.get(), 2);
    ZuAufgabe(f.get(), 1);
    EXPECT_EQ(f->TrackBar1->Position(), 4);
    EXPECT_EQ(Slices(f->Series1), QStringList({"Erdbeeren=4", "Bananen=4"}));
}

TEST(PieCharts, CakeForEightChecksAndHelp) {
    OffeneForm<TZqK1_4B1> f;
    ZuAufgabe(f.get(), 2);
    EXPECT_EQ(Slices(f->Series1), QStringList({"Erdbeeren=4", "Bananen=4"}));
    TypeText(f->Paar1.Box, "8");
    PressEnter(f->Paar1.Box);
    EXPECT_EQ(f->Paar1.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Paar1.Pruefen->Font()->Color(), clBlack);
    TypeText(f->Paar2.Box, "5");
    f->Paar2.Pruefen->Click();
    EXPECT_EQ(f->Paar2.Urteil->Caption(), "Leider falsch");
    f->Paar2.Box->Clear();
    TypeText(f->Paar2.Box, "2*2");
    f->Paar2.Pruefen->Click();
    EXPECT_EQ(f->Paar2.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Chart1->LegendEintraege().size(), 2u);

    f->BitBtnHilfe->Click();
    ASSERT_EQ(f->Series1->Count(), 8);
    EXPECT_EQ(f->Series1->Label(0), "Herr Müller nimmt Erdbeerkuchen");
    EXPECT_EQ(f->Series1->Label(3), "Oma Tolvenk nimmt Erdbeerkuchen");
    EXPECT_EQ(f->Series1->Label(7), "Kind4, Bananen");
    EXPECT_EQ(f->Series1->ValueColor(3), RGB(200, 0, 0));
    EXPECT_EQ(f->Series1->ValueColor(4), RGB(200, 200, 0));
    EXPECT_TRUE(f->Chart1->LegendEintraege().empty());
    Bildschirmfoto(f.get(), "K1_4B1_Hilfe");
    // The next task shows the legend again; coming back clears the boxes.
    ZuAufgabe(f.get(), 3);
    EXPECT_EQ(f->Chart1->LegendEintraege().size(), 5u);
    ZuAufgabe(f.get(), 2);
    EXPECT_EQ(Zeile0(f->Paar1.Box), "");
    EXPECT_EQ(f->Paar2.Urteil->Caption(), "");
}

TEST(PieCharts, ElectionPercentAndMajority) {
    OffeneForm<TZqK1_4B1> f;
    ZuAufgabe(f.get(), 3);
    EXPECT_EQ(Slices(f->Series1), QStringList({"SPD=37", "Grüne=12", "CDU=39", "Piraten=10", "Sonstige=2"}));
    EXPECT_EQ(f->Series1->Marks()->Style(), smsLabelPercent);
    EXPECT_EQ(f->Series1->MarkText(0), "SPD 37 %");
    EXPECT_FALSE(f->Panel2->Visible());
    f->BitBtn5->Click();
    EXPECT_TRUE(f->Panel2->Visible());
    TypeText(f->Paar3.Box, "37+12");
    PressEnter(f->Paar3.Box);
    EXPECT_EQ(f->Paar3.Urteil->Caption(), "Richtig, aber weiter vereinfachen.");
    f->Paar3.Box->Clear();
    TypeText(f->Paar3.Box, "49");
    f->Paar3.Pruefen->Click();
    EXPECT_EQ(f->Paar3.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Paar3.Pruefen->Font()->Color(), RGB(0, 200, 0));
    f->Paar3.Box->Clear();
    f->Paar3.Pruefen->Click();
    EXPECT_NE(f->Paar3.Urteil->Caption(), "Super, das Ergebnis ist richtig.");
    EXPECT_EQ(f->Paar3.Pruefen->Font()->Color(), RGB(255, 0, 0));
    f->BitBtn3->Click();
    f->BitBtn4->Click();
    EXPECT_EQ(f->BitBtn3->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(f->BitBtn4->Font()->Color(), RGB(0, 200, 0));
    ZuAufgabe(f.get(), 4);
    EXPECT_EQ(f->Series1->Marks()->Style(), smsLegend);
    EXPECT_EQ(f->Series1->MarkText(0), "A");
    ZuAufgabe(f.get(), 3);
    EXPECT_EQ(f->BitBtn3->Font()->Color(), clBlack);
    EXPECT_FALSE(f->Panel2->Visible());
}

TEST(PieCharts, PoolsAllowOnlyTheTwoSmallOnesSwapped) {
    OffeneForm<TZqK1_4B1> f;
    ZuAufgabe(f.get(), 4);
    EXPECT_EQ(Slices(f->Series1), QStringList({"A=12.5", "B=12.5", "C=25", "D=50"}));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(f->ComboBox[n]->Text(), "Becken wählen.") << n;
        EXPECT_EQ(f->ComboBox[n]->ItemIndex(), -1) << n;
    }
    const auto Setzen = [&](int a, int b, int c, int d) {
        const int Wahl[5] = {0, a, b, c, d};
        for (int n = 1; n <= 4; ++n)
            f->ComboBox[n]->SetItemIndex(Wahl[n]);
        f->BitBtn6->Click();
        return f->Label26->Caption();
    };
    // Items: 0 Hallenbad, 1 Schwimmerbecken, 2 Nichtschwimmerbecken, 3 Kinderbecken.
    EXPECT_EQ(Setzen(0, 3, 2, 1), "Die Zuordnung stimmt.");
    EXPECT_EQ(f->Label26->Font()->Color(), RGB(0, 255, 0));
    EXPECT_EQ(Setzen(3, 0, 2, 1), "Die Zuordnung stimmt.");
    EXPECT_EQ(Setzen(0, 0, 2, 1), "Die Zuordnung stimmt nicht.");
    EXPECT_EQ(f->Label26->Font()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(Setzen(3, 3, 2, 1), "Die Zuordnung stimmt nicht.");
    EXPECT_EQ(Setzen(0, 3, 1, 2), "Die Zuordnung stimmt nicht.");
    // Keys do not reach the lists.
    char16_t k = u'H';
    f->ComboBox[1]->OnKeyPress(f->ComboBox[1], k);
    EXPECT_EQ(k, 0);
    f->B_NeueAufgabe->Click();
    ZuAufgabe(f.get(), 4);
    EXPECT_EQ(f->Label26->Caption(), "");
    EXPECT_EQ(f->ComboBox[2]->ItemIndex(), -1);
    Bildschirmfoto(f.get(), "K1_4B1_Becken");
}

// The chart as the pupil sees it in each task, and with the help of task 2
// (eight slices with long marks and no legend).
std::vector<QImage> Diagramme(bool Skalieren, int Faktor, int& M, int& D) {
    std::vector<QImage> Bilder;
    SkaliertOeffnen(QStringLiteral("TZqK1_4B1"), Skalieren, Faktor, 2560, 1600, [&](TAufgabeg* a) {
        auto* f = static_cast<TZqK1_4B1*>(a);
        M = f->SkalierungZaehlerWert();
        D = f->SkalierungNennerWert();
        const auto Foto = [&] {
            ProcessEvents();
            Bilder.push_back(f->Chart1->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32));
        };
        for (int n = 1; n <= 4; ++n) {
            ZuAufgabe(f, n);
            Foto();
            if (n == 2) {
                f->BitBtnHilfe->Click();
                Foto();
            }
        }
    });
    return Bilder;
}

// Where a colour shows in a picture.
QRect Flaeche(const QImage& b, QRgb Farbe) {
    QRect r;
    for (int y = 0; y < b.height(); ++y) {
        const auto* z = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < b.width(); ++x)
            if ((z[x] & 0xFFFFFF) == (Farbe & 0xFFFFFF)) r |= QRect(x, y, 1, 1);
    }
    return r;
}

// Scaled, the chart draws everything larger, as a whole: each colour of the
// slices and the legend's boxes, and the black of outlines and texts, covers
// what it covers unscaled, times the scale.
TEST(PieCharts, ChartGrowsWithAScaledWindow) {
    int M = 1, D = 1;
    const std::vector<QImage> Ohne = Diagramme(false, 0, M, D);
    const QRgb Farben[] = {qRgb(200, 0, 0),   qRgb(200, 200, 0),  qRgb(0, 220, 0),
                           qRgb(255, 220, 0), qRgb(50, 160, 255), qRgb(0, 0, 0)};
    for (const int Faktor : {2, 3, 4, 5, 0}) {
        const std::vector<QImage> Mit = Diagramme(true, Faktor, M, D);
        SCOPED_TRACE(QStringLiteral("%1/%2").arg(M).arg(D).toStdString());
        ASSERT_EQ(Mit.size(), Ohne.size());
        for (size_t k = 0; k < Ohne.size(); ++k) {
            const auto Skaliert = [&](int v) { return static_cast<int>(std::lround(double(v) * M / D)); };
            ASSERT_EQ(Mit[k].width(), Skaliert(Ohne[k].width()));
            // Texts set anew in a larger font come out a little narrower or wider.
            const int Toleranz = 3 + Mit[k].width() / 100;
            for (const QRgb Farbe : Farben) {
                const QRect u = Flaeche(Ohne[k], Farbe), s = Flaeche(Mit[k], Farbe);
                if (u.isEmpty()) continue;
                const QRect e(QPoint(Skaliert(u.left()), Skaliert(u.top())),
                              QPoint(Skaliert(u.right() + 1) - 1, Skaliert(u.bottom() + 1) - 1));
                EXPECT_TRUE(std::abs(s.left() - e.left()) <= Toleranz &&
                            std::abs(s.right() - e.right()) <= Toleranz &&
                            std::abs(s.top() - e.top()) <= Toleranz &&
                            std::abs(s.bottom() - e.bottom()) <= Toleranz)
                    << "Bild " << k << ", Farbe " << std::hex << (Farbe & 0xFFFFFF) << std::dec << ": "
                    << s.x() << "," << s.y() << " " << s.width() << "x" << s.height() << " statt " << e.x()
                    << "," << e.y() << " " << e.width() << "x" << e.height();
            }
        }
    }
}

} // namespace
