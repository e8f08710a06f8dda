#pragma once
// A document formatted and painted as a view shows it, in a 600 x 800 area,
// with its own style component, canvas and RTF import settings.
#include <QImage>

#include "platform/Graphics.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "richtext/view/RPFormattedData.h"
#include "richtext/view/RichPad.h"

namespace {

constexpr int kWidth = 600, kHeight = 800;

class TViewBenchDoc : public TCustomRPFormattedData {
public:
    // SurfaceWidth x SurfaceHeight is the canvas the document measures (and
    // may paint) on. Margin is kept on all four sides. Without a fixed area
    // width the document's area is as wide as the formatting reports it.
    TViewBenchDoc(int SurfaceWidth, int SurfaceHeight, int AMargin, bool FixedArea)
        : Surface(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32), Margin(AMargin),
          Area(FixedArea ? kWidth : 0), FFixedArea(FixedArea) {
        RTF.TextStyleMode = rprsAddIfNeeded;
        RTF.ParaStyleMode = rprsAddIfNeeded;
    }
    ~TViewBenchDoc() override {
        State |= rpstClearing;
        ClearFormatting();
        TCustomRPData::Clear();
    }
    mutable TRPStyle Style;
    TRPRTFReaderProperties RTF;
    QImage Surface;
    TCanvas Canvas{&Surface};
    const int Margin;
    int Area;
    uint32_t Flags = rpDefaultViewFlags;
    TRPStyle* GetRPStyle() const override { return &Style; }
    TRPOptions GetOptions() const override { return rpDefaultOptions; }
    uint32_t GetFlags() const override { return Flags; }
    int GetLeftMargin() override { return Margin; }
    int GetRightMargin() override { return Margin; }
    int GetTopMargin() override { return Margin; }
    int GetBottomMargin() override { return Margin; }
    int GetWidth() override { return kWidth; }
    int GetHeight() override { return kHeight; }
    int GetAreaWidth() override { return Area; }
    TCanvas* GetCanvas() override { return &Canvas; }
    TColor GetColor() override { return clWhite; }
    TRPRTFReaderProperties* GetRTFReadProperties() override { return &RTF; }
    void SetDocumentAreaSize(int W, int, bool) override {
        if (!FFixedArea) Area = W;
    }

private:
    const bool FFixedArea;
};

} // namespace
