#pragma once
// Documents formatted for a printer: they show the items of another document
// (shared, never owned), are formatted at the printer's resolution for the
// width of the print area, are cut into pages and draw one page at a time.
//
// TCustomPrintableRPData describes a page through virtual operations (its
// draw items, its origin, its print area) and draws it; the main printable
// document answers them from the page records its pagination made.
#include <functional>
#include <memory>

#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPTypes.h"
#include "richtext/view/RPControlData.h"

class TBitmap;
class TRPBackground;

// The steps of formatting and printing reported to the application.
enum TRPPrintingStep : uint8_t { rppsStarting, rppsPageCompleted, rppsFinished };

class TCustomPrintableRPData : public TRichPadRPData {
public:
    explicit TCustomPrintableRPData(TCustomRichPad* AOwnerView);
    ~TCustomPrintableRPData() override;

    // The print area is not filled with the document colour (printable table cells).
    bool SkipBackgroundFill = false;

    bool ShareItems() const override { return true; }

    // ---- what a page is
    virtual TRPBackground* GetPrintBackground() { return nullptr; }
    // Document Y (device pixels) shown at the top of the page's canvas.
    virtual int GetPageOriginY(int PageNo) { return (void)PageNo, 0; }
    // The same for the draw items that follow a split draw item on the page.
    virtual int GetSplitOriginY(int PageNo) { return (void)PageNo, 0; }
    virtual int GetPrintAreaTop() { return 0; }
    virtual int GetPrintAreaLeft(int PageNo) { return (void)PageNo, 0; }
    virtual void DoPagePrepaint(TCanvas& Canvas, int PageNo, bool Preview, bool Correction) {
        (void)Canvas, (void)PageNo, (void)Preview, (void)Correction;
    }
    virtual void DoPagePostpaint(TCanvas& Canvas, int PageNo, bool Preview) {
        (void)Canvas, (void)PageNo, (void)Preview;
    }
    // The draw items of a page; Part is the 0-based part of a split first draw
    // item the page starts with, -1 when it starts at the top of one.
    virtual void GetDrawItemsRange(int PageNo, int& StartNo, int& Part, int& EndNo);
    virtual TRPColorMode GetColorMode();

    // Draws page PageNo on Canvas (device pixels, page origin at 0, 0).
    virtual void DrawPage(int PageNo, TCanvas& Canvas, bool Preview, bool Correction);
    // Paints into Bitmap what lies behind the rectangle at screen-pixel
    // position (X, Y) of the print area: paragraph or document colour, or
    // the page background picture; with ItemPart not 0 the current item's
    // own background follows. FromDevice: X and Y are relative to the current item.
    virtual void DrawBackgroundToBitmap(int X, int Y, TBitmap& Bitmap, const TRPResolution& Resolution,
                                        int ItemPart, bool FromDevice);
    // Behind a transparent background picture being printed (a table's or
    // a cell's): the paragraph's colour, else the document's, white when none.
    void DrawBackToBitmap(int X, int Y, bool Flag, TColor Color, const TRPResolution& Resolution,
                          TBitmap& Bitmap) override;

    // Paper does not scroll, and no view shows its size.
    int GetHOffs() override { return 0; }
    int GetVOffs() override { return 0; }
    void SetDocumentAreaSize(int Width, int Height, bool UpdateHorizontal) override {
        (void)Width, (void)Height, (void)UpdateHorizontal;
    }
    void AdjustVScrollStep() override {}
    void ScrollToY(int Y, bool Redraw) override { (void)Y, (void)Redraw; }

    // Size of the print area in device pixels.
    int PrintAreaWidth() { return GetWidth(); }
    int PrintAreaHeight() { return GetHeight(); }
    // The page being drawn (0 outside DrawPage).
    int CurrentPageNo() const { return m_curPageNo; }
    // Forgets the formatting and gives the shared items back.
    virtual void Detach();

protected:
    // The item list of this document's own, for when it is not showing another's.
    TRPItemList* m_ownItems;
    std::unique_ptr<TBitmap> m_pageBackground; // only while a page is drawn
    TRPDrawLineInfo* m_curDrawItem = nullptr;
    int m_curItemY = 0;
    int m_curPageNo = 0;
    int m_curParaNo = -1;

    void DrawPageBackground(TCanvas& Canvas, int PageNo);
    // What lies behind the rectangle at (X, Y) of the print area, screen pixels.
    virtual void FillBehind(int X, int Y, TBitmap& Bitmap, const TRPResolution& Resolution);
    void FillWithParaColor(TBitmap& Bitmap, TColor Color);
    TColor CurrentParaColor() const;
    void DrawParaDecoration(TCanvas& Canvas, int DItemNo, int EndNo, int OriginY, int AreaLeft,
                            bool SplitStart, int SplitPartHeight, const TRPResolution& Res);
    void DrawTextDrawItem(TCanvas& Canvas, int DItemNo, int AreaLeft, int OriginY, const TRPResolution& Res);
    void DrawNonTextDrawItem(TCanvas& Canvas, int DItemNo, int Part, bool PageStart, int AreaLeft,
                             int OriginY, const TRPResolution& Res, TBitmap& Work, bool Preview);
};

// The printable document of a whole printed document: pages and their geometry.
class TCustomMainPtblRPData : public TCustomPrintableRPData {
public:
    explicit TCustomMainPtblRPData(TCustomRichPad* AOwnerView);
    ~TCustomMainPtblRPData() override;

    // The source control's top and bottom margins, in screen and in device pixels.
    int SourceTopMargin = 0, SourceBottomMargin = 0;
    int TopMarginDevice = 0, BottomMarginDevice = 0;
    // The canvas formatting measures on, present only inside FormatPages.
    TCanvas* PrinterCanvas = nullptr;
    TRPResolution Resolution;
    bool TransparentBackground = false;
    TRPColorMode ColorMode = rpcmPrinterColor;
    int InheritedListNo = -1, InheritedListLevelNo = -1;
    TRPPageCollection Pages;
    // The draw items the pages show: those before the document's bound.
    int PrintedDrawItems = 0;
    // Size of the print area of the last formatting, in device pixels.
    int AreaWidthDevice = 0, AreaHeightDevice = 0;

    // Formatting and page events: (completed page or page count, step).
    std::function<void(int PageCompleted, TRPPrintingStep Step)> OnFormattingStep;

    int PageCount() const { return Pages.Count(); }
    // Formats for the printer and cuts pages; answers the page count.
    int FormatPages();
    void Detach() override;
    TRPMarkerList* GetOuterMarkers() override;

    // ---- the setting, answered for the printer
    int GetWidth() override { return AreaWidthDevice; }
    int GetHeight() override { return AreaHeightDevice; }
    int GetAreaWidth() override { return AreaWidthDevice; }
    TCanvas* GetCanvas() override { return PrinterCanvas; }
    TColor GetColor() override;
    void FillResolution(TCanvas* Canvas, TRPResolution& Res) override;
    bool GetInheritedListLevel(int& ListNo, int& Level) override;
    TRPColorMode GetColorMode() override;
    TRPBackground* GetPrintBackground() override;
    int GetPageOriginY(int PageNo) override;
    int GetSplitOriginY(int PageNo) override;
    void GetDrawItemsRange(int PageNo, int& StartNo, int& Part, int& EndNo) override;
    void DrawPage(int PageNo, TCanvas& Canvas, bool Preview, bool Correction) override;
    // The print component's event may give the picture of a control item.
    std::unique_ptr<TBitmap> GetControlImageForPrinting(TControl* Control) override;
    // Raises unless 1 <= PageNo <= page count; answers the page count.
    int CheckPageNo(int PageNo) const;
    void Clear() override;

    // Page geometry for the printer (margins, widths); run before formatting.
    virtual void PrepareFormatting() {}

protected:
    std::unique_ptr<TRPMarkerList> m_outerMarkers;

    // State of the page cutter between its calls.
    struct TCutter {
        int I = 0;
        int CurStartY = 0;
        int H = 0;
        bool Splitting = false;
        int PageHeight = 0;
    };
    void FormatNextPage(TCutter& C);
    void AddPage(int StartDrawItemNo, int StartY, int StartPart);
    int LineStart(int DItemNo) const;
    int SpaceBefore(int DItemNo) const;
    int SpaceAfter(int DItemNo) const;
    void RaiseFormatting(int PageCompleted, TRPPrintingStep Step) {
        if (OnFormattingStep) OnFormattingStep(PageCompleted, Step);
    }
};

// Margins in device pixels, measured from the printable area.
class TPrintableRPData : public TCustomMainPtblRPData {
public:
    using TCustomMainPtblRPData::TCustomMainPtblRPData;

    int LeftMarginDevice = 0, TopMarginDevicePage = 0, RightMarginDevice = 0, BottomMarginDevicePage = 0;
    int EvenLeftMarginDevice = 0;
    int HeaderYMM = 10, FooterYMM = 10;

    // Millimetre margins and mirroring (the printable control sets them).
    int LeftMarginMM = 20, TopMarginMM = 20, RightMarginMM = 20, BottomMarginMM = 20;
    bool MirrorMargins = false;
    bool ClipMargins = false;

    // Called around each page with the page and print-area rectangles.
    std::function<void(int PageNo, TCanvas&Canvas, bool Preview, const TRect&PageRect, const TRect&AreaRect)>
        OnPagePrepaint, OnPagePostpaint;

    void PrepareFormatting() override;
    int GetPrintAreaLeft(int PageNo) override;
    int GetPrintAreaTop() override { return TopMarginDevicePage; }
    void DoPagePrepaint(TCanvas& Canvas, int PageNo, bool Preview, bool Correction) override;
    void DoPagePostpaint(TCanvas& Canvas, int PageNo, bool Preview) override;

private:
    void PageRects(int PageNo, TRect& PageRect, TRect& AreaRect);
};

// A sub-document drawn into a rectangle of a printed page (the base of
// printable table cells): it shows the items of Source and lies at
// (Left + DX, Top + DY) on the page of its parent printable document.
class TRectPtblRPData : public TCustomPrintableRPData {
public:
    TRectPtblRPData(TCustomRichPad* AControl, TCustomRPData* ASource, TCustomPrintableRPData* AParent);

    TCustomRPData* Source;
    TCustomPrintableRPData* Parent;
    int Left = 0, Top = 0, DX = 0, DY = 0, Width = 0, Height = 0;
    // No colour of its own: what lies behind it on the parent shows through.
    bool ShowsParentBackground = false;
    TColor Color = clNone;

    int GetWidth() override { return Width; }
    int GetHeight() override { return Height; }
    int GetAreaWidth() override { return Width; }
    int GetLeftMargin() override { return 0; }
    int GetRightMargin() override { return 0; }
    int GetTopMargin() override { return 0; }
    int GetBottomMargin() override { return 0; }
    TCanvas* GetCanvas() override { return Parent->GetCanvas(); }
    TColor GetColor() override { return Color; }
    void FillResolution(TCanvas* Canvas, TRPResolution& Res) override { Parent->FillResolution(Canvas, Res); }
    TCustomRPData* GetParentData() const override { return Parent; }
    TCustomRPData* GetRootData() override { return Parent->GetRootData(); }
    TCustomRPData* GetSourceData() override { return Source; }
    TRPColorMode GetColorMode() override { return Parent->GetColorMode(); }
    int GetPageOriginY(int PageNo) override { return (void)PageNo, -(Top + DY); }
    int GetPrintAreaTop() override { return Top + DY; }
    int GetPrintAreaLeft(int PageNo) override { return (void)PageNo, Left + DX; }

protected:
    void FillBehind(int X, int Y, TBitmap& Bitmap, const TRPResolution& Resolution) override;
};

// Millimetres to device pixels at Ppi pixels per inch.
int RPMillimetresToPixels(int MM, int Ppi);
