#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>

#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "platform/TextMetrics.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Every character 5 pixels wide.
class FixedMetrics : public TTextMetrics {
public:
    int Ascent(const TFont&) override { return 9; }
    int Descent(const TFont&) override { return 3; }
    int InternalLeading(const TFont&) override { return 0; }
    int ExternalLeading(const TFont&) override { return 0; }
    int AveCharWidth(const TFont&) override { return 5; }
    std::vector<int> PrefixWidths(const TFont&, const QString& text) override {
        std::vector<int> r;
        for (qsizetype i = 0; i < text.size(); ++i)
            r.push_back(5 * static_cast<int>(i + 1));
        return r;
    }
};

class HelpersCanvas : public ::testing::Test {
protected:
    void SetUp() override { Old = SetTextMetrics(&Fixed); }
    void TearDown() override { SetTextMetrics(Old); }
    FixedMetrics Fixed;
    TTextMetrics* Old = nullptr;
    QImage Image{60, 20, QImage::Format_RGB32};
    TCanvas Canvas{&Image};
};

TEST_F(HelpersCanvas, WidthsAndFitting) {
    EXPECT_EQ(ItemTextWidth("abc", Canvas, 0), 15);
    EXPECT_EQ(ItemTextWidth(WideStrToItemText(u"ab"), Canvas, rpioUnicode), 10);
    EXPECT_EQ(ItemTextWidth("", Canvas, 0), 0);
    std::vector<int> ext;
    int fit = -1;
    ItemTextExtentEx(Canvas, "abcd", 12, 0, &ext, fit);
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(ext, (std::vector<int>{5, 10}));
    ItemTextExtentEx(Canvas, WideStrToItemText(u"abcd"), 100, rpioUnicode, nullptr, fit);
    EXPECT_EQ(fit, 4);
    ItemTextExtentEx(Canvas, "", 100, 0, &ext, fit);
    EXPECT_EQ(fit, 0);
    EXPECT_TRUE(ext.empty());
    int size = 0;
    ItemTextBufExtentEx(Canvas, "abcdef", 3, size, 0, nullptr, fit, 11);
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(size, 15);
}

TEST_F(HelpersCanvas, CaretPositions) {
    std::vector<int> pos;
    EXPECT_TRUE(ItemTextCaretPositions(Canvas, "abc", pos, 0));
    EXPECT_EQ(pos, (std::vector<int>{0, 6, 11, 16}));
    EXPECT_TRUE(ItemTextCaretPositions(Canvas, "", pos, 0));
    EXPECT_EQ(pos, (std::vector<int>{0}));
}

TEST_F(HelpersCanvas, PlacedOutputStaysInsideItsRun) {
    Image.fill(Qt::white);
    EXPECT_FALSE(ItemTextOutPlaced(10, 2, 12, false, 0, Canvas, "abc", 2, 2));
    Canvas.Brush()->SetColor(clYellow);
    EXPECT_TRUE(ItemTextOutPlaced(10, 2, 12, true, 0, Canvas, "abc", 2, 2));
    EXPECT_EQ(Canvas.Pixel(16, 3), clYellow);
    EXPECT_EQ(Canvas.Pixel(14, 3), clWhite);
    EXPECT_EQ(Canvas.Pixel(20, 3), clWhite);
    EXPECT_EQ(Canvas.Pixel(16, 14), clWhite);
    EXPECT_FALSE(Canvas.HasClip());
    EXPECT_EQ(Canvas.Brush()->Style(), bsSolid);
}

TEST_F(HelpersCanvas, ResolutionFromTheSurface) {
    TRPResolution r;
    // The font's resolution says nothing about the device drawn on.
    Canvas.Font()->SetPixelsPerInch(600);
    FillResolutionRecord(r, Canvas);
    EXPECT_EQ(r.ScreenX, 96);
    EXPECT_EQ(r.ScreenY, 96);
    EXPECT_EQ(r.DeviceX, 96);
    EXPECT_EQ(r.DeviceY, 96);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral(PRAVOLIN_TEST_OUTPUT "/resolution.pdf"));
    printer.setResolution(300);
    TCanvas pc(&printer);
    FillResolutionRecord(r, pc);
    EXPECT_EQ(r.ScreenX, 96);
    EXPECT_EQ(r.DeviceX, 300);
    EXPECT_EQ(r.DeviceY, 300);
}

TEST(HelpersCss, FontToCss) {
    TFont f;
    f.SetName("Arial");
    f.SetSize(10);
    f.SetStyle(fsBold);
    f.SetColor(clBlack);
    EXPECT_EQ(FontToCSS(f), "font: bold 10pt 'Arial'; color: #000000;");
    f.SetName("Tahoma");
    f.SetSize(12);
    f.SetStyle(fsItalic | fsUnderline | fsStrikeOut);
    f.SetColor(clRed);
    EXPECT_EQ(FontToCSS(f),
              "font: italic 12pt 'Tahoma'; text-decoration: underline line-through; color: #FF0000;");
    TFontInfo base;
    base.Color = clRed;
    base.FontName = "Tahoma";
    base.Size = 12;
    EXPECT_EQ(OpenFontTagsFromFont(f, base), "<I><U><S>");
    EXPECT_EQ(CloseFontTagsFromFont(f, base), "</S></U></I>");
}

TEST(HelpersPictures, CreateAndPrint) {
    EXPECT_EQ(CreateGraphicOfClass("TBitmap")->ClassName(), "TBitmap");
    EXPECT_EQ(CreateGraphicOfClass("TJPEGImage")->ClassName(), "TJPEGImage");
    EXPECT_EQ(CreateGraphicOfClass("TMetafile")->ClassName(), "TMetafile");
    EXPECT_EQ(CreateGraphicOfClass("TNoSuchPicture"), nullptr);
    EXPECT_EQ(RPCreateGraphicProc("TBitmap")->ClassName(), "TBitmap");

    TBitmap bmp(10, 10);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect{0, 0, 10, 10});
    EXPECT_FALSE(GetGraphicTransparent(bmp));
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    const TRPResolution r{96, 96, 192, 192};
    PrintDrawGraphic(c, 5, 5, -1, -1, r, bmp, false);
    EXPECT_EQ(c.Pixel(5, 5), clRed);
    EXPECT_EQ(c.Pixel(24, 24), clRed);
    EXPECT_EQ(c.Pixel(25, 25), clWhite);
    PrintDrawGraphic(c, 30, 0, 2, 2, r, bmp, true);
    EXPECT_EQ(c.Pixel(33, 3), clRed);
    EXPECT_EQ(c.Pixel(34, 4), clWhite);
}

} // namespace
