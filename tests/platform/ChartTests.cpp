// The pie chart control: series data, mark texts, legend and drawing.
#include "platform/Chart.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TColor PixelAt(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// A chart of 400 x 300 with a white background and one pie of radius 100,
// centred at (200, 150) as long as neither title nor legend take room.
struct PieFixture {
    TChart Chart{nullptr};
    TPieSeries* Pie = nullptr;
    PieFixture() {
        Chart.SetBounds(0, 0, 400, 300);
        Chart.SetFrameVisible(false);
        Chart.SetMargins(0, 0, 0, 0);
        Chart.SetColor(clWhite);
        Chart.Legend()->Visible = false;
        Pie = Chart.AddSeries<TPieSeries>();
        Pie->SetCircled(true);
        Pie->SetCustomXRadius(100);
        Pie->SetCustomYRadius(100);
    }
    QImage Render() {
        QImage img(400, 300, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        {
            TCanvas c(&img);
            Chart.PaintTo(c);
        }
        return img;
    }
};

TEST(ChartSeries, AddClearAndReadBack) {
    TChart Chart(nullptr);
    TPieSeries* s = Chart.AddSeries<TPieSeries>();
    EXPECT_EQ(Chart.SeriesCount(), 1);
    EXPECT_EQ(Chart.Series(0), s);
    EXPECT_EQ(Chart.Series(1), nullptr);
    EXPECT_EQ(s->Add(4, QStringLiteral("Erdbeeren"), RGB(200, 0, 0)), 0);
    EXPECT_EQ(s->Add(4, QStringLiteral("Bananen"), RGB(200, 200, 0)), 1);
    EXPECT_EQ(s->Count(), 2);
    EXPECT_EQ(s->Label(1), "Bananen");
    EXPECT_EQ(s->ValueColor(0), RGB(200, 0, 0));
    EXPECT_DOUBLE_EQ(s->Value(1), 4.0);
    // Out of range reads are harmless.
    EXPECT_EQ(s->Label(5), "");
    EXPECT_DOUBLE_EQ(s->Value(-1), 0.0);
    s->Clear();
    EXPECT_EQ(s->Count(), 0);
    EXPECT_TRUE(Chart.LegendEintraege().empty());
}

TEST(ChartSeries, PercentsAndAngles) {
    TChart Chart(nullptr);
    TPieSeries* s = Chart.AddSeries<TPieSeries>();
    s->Add(12.5, "A", clRed);
    s->Add(12.5, "B", clGreen);
    s->Add(25, "C", clYellow);
    s->Add(50, "D", clBlue);
    EXPECT_DOUBLE_EQ(s->Percent(0), 12.5);
    EXPECT_DOUBLE_EQ(s->Percent(3), 50.0);
    EXPECT_DOUBLE_EQ(s->StartAngle(0), 90.0);
    EXPECT_DOUBLE_EQ(s->SweepAngle(2), 90.0);
    EXPECT_DOUBLE_EQ(s->StartAngle(3), 90.0 + 45 + 45 + 90);
    EXPECT_DOUBLE_EQ(s->StartAngle(3) + s->SweepAngle(3), 450.0);
}

TEST(ChartSeries, UnusableValuesCountAsNothing) {
    TChart Chart(nullptr);
    TPieSeries* s = Chart.AddSeries<TPieSeries>();
    s->Add(0, "leer", clRed);
    EXPECT_DOUBLE_EQ(s->Percent(0), 0.0); // no division by a zero sum
    s->Add(-5, "negativ", clRed);
    s->Add(std::numeric_limits<double>::quiet_NaN(), "nan", clRed);
    s->Add(std::numeric_limits<double>::infinity(), "inf", clRed);
    s->Add(8, "voll", clRed);
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(s->Percent(i), 0.0) << i;
    EXPECT_DOUBLE_EQ(s->Percent(4), 100.0);
}

TEST(ChartSeries, MarkTextsFollowTheStyle) {
    TChart Chart(nullptr);
    TPieSeries* s = Chart.AddSeries<TPieSeries>();
    s->Add(37, "SPD", clRed);
    s->Add(12, "Grüne", clGreen);
    s->Add(39, "CDU", clBlack);
    s->Add(10, "Piraten", clYellow);
    s->Add(2, "Sonstige", clWhite);
    s->Marks()->SetStyle(smsLegend);
    EXPECT_EQ(s->MarkText(1), "Grüne");
    s->Marks()->SetStyle(smsLabelPercent);
    EXPECT_EQ(s->MarkText(0), "SPD 37 %");
    EXPECT_EQ(s->MarkText(4), "Sonstige 2 %");
    s->Marks()->SetStyle(smsPercent);
    s->Clear();
    s->Add(1, "a", clRed);
    s->Add(7, "b", clRed);
    EXPECT_EQ(s->MarkText(0), "12,5 %");
    s->Add(4, "c", clRed);
    EXPECT_EQ(s->MarkText(0), "8,33 %");
}

TEST(ChartLegend, ListsOnlySeriesShownInTheLegend) {
    TChart Chart(nullptr);
    TPieSeries* s = Chart.AddSeries<TPieSeries>();
    s->Add(4, "Erdbeeren", RGB(200, 0, 0));
    s->Add(0, "Bananen", RGB(200, 200, 0));
    auto e = Chart.LegendEintraege();
    ASSERT_EQ(e.size(), 2u); // a zero slice keeps its legend line
    EXPECT_EQ(e[1].Text, "Bananen");
    EXPECT_EQ(e[1].Color, RGB(200, 200, 0));
    s->SetShowInLegend(false);
    EXPECT_TRUE(Chart.LegendEintraege().empty());
}

TEST(ChartPainting, SlicesLieCounterClockwiseFromTwelve) {
    PieFixture f;
    f.Pie->Add(1, "rot", RGB(200, 0, 0));
    f.Pie->Add(1, "grün", RGB(0, 220, 0));
    f.Pie->Add(2, "blau", RGB(50, 160, 255));
    const QImage img = f.Render();
    // First quarter: from twelve to nine o'clock (upper left).
    EXPECT_EQ(PixelAt(img, 150, 100), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(img, 150, 200), RGB(0, 220, 0));
    EXPECT_EQ(PixelAt(img, 250, 100), RGB(50, 160, 255));
    EXPECT_EQ(PixelAt(img, 250, 200), RGB(50, 160, 255));
    // Outside the radius the background.
    EXPECT_EQ(PixelAt(img, 200, 20), clWhite);
    EXPECT_EQ(PixelAt(img, 320, 150), clWhite);
}

TEST(ChartPainting, OneFullSliceIsAWholeDisc) {
    PieFixture f;
    f.Pie->Add(8, "Erdbeeren", RGB(200, 0, 0));
    f.Pie->Add(0, "Bananen", RGB(200, 200, 0));
    const QImage img = f.Render();
    for (auto [x, y] : {std::pair{150, 100}, {250, 100}, {150, 200}, {250, 200}, {200, 60}})
        EXPECT_EQ(PixelAt(img, x, y), RGB(200, 0, 0)) << x << "," << y;
}

TEST(ChartPainting, EmptyOrZeroSeriesDrawsOnlyTheBackground) {
    PieFixture f;
    QImage img = f.Render();
    EXPECT_EQ(PixelAt(img, 200, 150), clWhite);
    f.Pie->Add(0, "nichts", RGB(200, 0, 0));
    f.Pie->Add(-3, "weniger", RGB(200, 0, 0));
    img = f.Render();
    EXPECT_EQ(PixelAt(img, 200, 150), clWhite);
    EXPECT_EQ(PixelAt(img, 150, 100), clWhite);
}

TEST(ChartPainting, GradientEndsInWhiteAndTitleAndLegendTakeRoom) {
    PieFixture f;
    f.Chart.SetGradient(true, RGB(0, 0, 128), clWhite);
    f.Chart.Title()->Text = QStringLiteral("Kreisdiagramme");
    f.Chart.Legend()->Visible = true;
    f.Chart.Legend()->Alignment = laBottom;
    f.Chart.Legend()->ColorWidth = 50;
    f.Pie->Add(1, "A", RGB(200, 0, 0));
    const QImage img = f.Render();
    EXPECT_EQ(PixelAt(img, 2, 299), clWhite);
    EXPECT_NE(PixelAt(img, 2, 0), clWhite);
    // A colour box of the legend near the bottom, in the slice's colour.
    int Rote = 0;
    for (int y = 260; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            Rote += PixelAt(img, x, y) == RGB(200, 0, 0);
    EXPECT_GT(Rote, 40 * 2);
    f.Pie->SetShowInLegend(false);
    const QImage ohne = f.Render();
    Rote = 0;
    for (int y = 260; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            Rote += PixelAt(ohne, x, y) == RGB(200, 0, 0);
    EXPECT_EQ(Rote, 0);
}

} // namespace
