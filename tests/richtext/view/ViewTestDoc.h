#pragma once
// A formatted document with a setting of the test's choosing (width, margins,
// options, flags) on a canvas of its own, the style component the layout
// tests use, and a text dump of draw items that tests compare exactly.
#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "richtext/view/RPFormattedData.h"
#include "richtext/view/RichPad.h"
#include "support/FixedMetrics.h"

// Text styles (with the fixed metrics: a character is half the pixel height wide,
// the descent a fifth of it):
//   0  15 pt = 20 px, characters 10 px wide, ascent 16, descent 4
//   1  30 pt = 40 px, characters 20 px wide, ascent 32, descent 8
//   2  15 pt, a link (underlined, blue, hover red)
//   3   9 pt = 12 px, characters 6 px wide, ascent 10, descent 2
//   4  15 pt, Unicode
// Paragraph styles:
//   0 left, 1 centred, 2 right, 3 justified,
//   4 indents (left 20, first 10, right 30), 5 line spacing 150 %,
//   6 line spacing 8 px between lines, 7 space before 6 and after 4,
//   8 background colour and single border, 9 no wrap, 10 right-to-left
// List style 0: a bullet list, level 0 marker indent 0, left indent 30, first indent 0.
std::unique_ptr<TRPStyle> MakeLayoutStyle();

class TTestFormatDoc : public TCustomRPFormattedData {
public:
    explicit TTestFormatDoc(TRPStyle* AStyle) : Style(AStyle) {}
    ~TTestFormatDoc() override {
        State |= rpstClearing;
        ClearFormatting();
        TCustomRPData::Clear();
    }

    TRPStyle* Style;
    int Width = 300, Height = 400;
    int Left = 5, Right = 5, Top = 5, Bottom = 5;
    int MaxText = 0, MinText = 0;
    int VOffs = 0, HOffs = 0;
    uint32_t Flags = rpDefaultViewFlags;
    TRPOptions Opts = rpDefaultOptions;
    TRPBiDiMode BiDi = rpbdUnspecified;
    QImage Surface{1, 1, QImage::Format_RGB32};
    TCanvas Canvas{&Surface};
    int AreaWidth = 0;
    TRPRTFReaderProperties RTF;

    TRPStyle* GetRPStyle() const override { return Style; }
    TRPOptions GetOptions() const override { return Opts; }
    uint32_t GetFlags() const override { return Flags; }
    TRPBiDiMode GetBiDiMode() override { return BiDi; }
    int GetLeftMargin() override { return Left; }
    int GetRightMargin() override { return Right; }
    int GetTopMargin() override { return Top; }
    int GetBottomMargin() override { return Bottom; }
    int GetMinTextWidth() override { return MinText; }
    int GetMaxTextWidth() override { return MaxText; }
    int GetWidth() override { return Width; }
    int GetHeight() override { return Height; }
    int GetAreaWidth() override { return AreaWidth; }
    int GetHOffs() override { return HOffs; }
    int GetVOffs() override { return VOffs; }
    TCanvas* GetCanvas() override { return &Canvas; }
    TRPRTFReaderProperties* GetRTFReadProperties() override { return &RTF; }
    TColor GetColor() override { return clWhite; }
    void SetDocumentAreaSize(int W, int H, bool) override {
        AreaWidth = W;
        (void)H;
    }
    std::vector<TRect> Invalidated;
    void InvalidateRectInView(const TRect& R) override { Invalidated.push_back(R); }

    // Appends text in the model's item bytes (code page 1252).
    void Text(const char* s, int StyleNo, int ParaNo) { AddText(s, StyleNo, ParaNo); }
    void Wide(const QString& s, int StyleNo, int ParaNo);
    void Format() { TCustomRPFormattedData::Format(false, false, false, 0, nullptr, false, false); }
};

// "Left Top Width Height item offs length" per draw item, with "/" before a
// draw item that starts a line; justified space and line spacing when set.
std::string DumpDrawItems(const TCustomRPFormattedData& D);
// A picture of W x H pixels in one colour.
std::unique_ptr<TGraphic> SolidPicture(int W, int H, TColor Color);
// The first screen of a formatted document (Width x Height) painted on white.
QImage PaintFirstScreen(TTestFormatDoc& D);


// RTF with the list ids taken out: the writer draws them at random, so two
// writes of the same document differ only there.
std::string WithoutListIds(const std::string& RTF);

// A view of 300 x 204 pixels (client area 296 x 200) on a hidden form, with
// fixed metrics and the layout style.
class ViewFixture : public ::testing::Test {
protected:
    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style = MakeLayoutStyle();
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TRichPad* View = nullptr;

    void SetUp() override {
        View = new TRichPad(Form.get());
        View->SetParent(Form.get());
        View->SetBounds(0, 0, 300, 204);
        View->SetStyle(Style.get());
    }
};
