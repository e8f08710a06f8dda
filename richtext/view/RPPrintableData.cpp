// Printable documents: pagination of the main printed document and the
// drawing of one page at printer resolution.
#include "richtext/view/RPPrintableData.h"

#include <algorithm>

#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "platform/Runtime.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/view/RichPad.h"

namespace {

// The colour the print area or a picture's background is filled with.
TColor PrintFillColor(TColor Color, TRPColorMode Mode) {
    switch (Mode) {
    case rpcmColor:
        return ColorToRGB(Color);
    case rpcmPrinterColor:
        return ColorToRGB(SysColorToPrintColor(Color));
    case rpcmGrayScale:
        return ColorToRGB(GetLuminanceGray(SysColorToPrintColor(Color)));
    default:
        return clWhite;
    }
}

} // namespace

int RPMillimetresToPixels(int MM, int Ppi) {
    return MulDiv(MM, Ppi * 5, 127);
}

// ---------------------------------------------------------------------------
// Page drawing

TCustomPrintableRPData::TCustomPrintableRPData(TCustomRichPad* AOwnerView)
    : TRichPadRPData(AOwnerView), m_ownItems(Items) {}

TCustomPrintableRPData::~TCustomPrintableRPData() {
    // Never let the destructors of the bases walk a list that belongs to another document.
    State |= rpstClearing;
    ClearFormatting();
    Items = m_ownItems;
}

void TCustomPrintableRPData::Detach() {
    ClearFormatting();
    Items = m_ownItems;
}

void TCustomPrintableRPData::GetDrawItemsRange(int PageNo, int& StartNo, int& Part, int& EndNo) {
    (void)PageNo;
    StartNo = 0;
    Part = -1;
    EndNo = DrawItemCount() - 1;
}

TRPColorMode TCustomPrintableRPData::GetColorMode() {
    return rpcmPrinterColor;
}

void TCustomPrintableRPData::DrawPageBackground(TCanvas& Canvas, int PageNo) {
    TRPResolution res;
    FillResolution(&Canvas, res);
    const int w = DeviceToScreenX(PrintAreaWidth(), res), h = DeviceToScreenY(PrintAreaHeight(), res);
    TRPBackground* back = GetPrintBackground();
    if (back && back->Style != bsNoBitmap && back->GetBitmap() && !back->GetBitmap()->Empty() && w > 0 &&
        h > 0) {
        // A printed page does not scroll: its background starts at the print area's corner.
        if (back->Style == bsTiledAndScrolled) back->Style = bsTiled;
        m_pageBackground = std::make_unique<TBitmap>(w, h);
        back->Draw(*m_pageBackground->Canvas(), TRPBounds{0, 0, w, h}, 0, 0, 0, 0, w, h, GetColor(), false);
        PrintDrawGraphic(Canvas, GetPrintAreaLeft(PageNo), GetPrintAreaTop(), w, h, res, *m_pageBackground,
                         true);
        return;
    }
    const TColor color = GetColor();
    if (SkipBackgroundFill || color == clNone) return;
    Canvas.Pen()->SetStyle(psClear);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(PrintFillColor(color, GetColorMode()));
    const int left = GetPrintAreaLeft(PageNo), top = GetPrintAreaTop();
    Canvas.FillRect(Rect(left, top, left + PrintAreaWidth(), top + PrintAreaHeight()));
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Brush()->SetStyle(bsClear);
}

TColor TCustomPrintableRPData::CurrentParaColor() const {
    const TRPStyle* style = GetRPStyle();
    if (!style || m_curParaNo < 0 || m_curParaNo >= style->ParaStyles().Count()) return clNone;
    return style->ParaStyles().GetItem(m_curParaNo)->Background.Color;
}

void TCustomPrintableRPData::FillWithParaColor(TBitmap& Bitmap, TColor Color) {
    TCanvas* c = Bitmap.Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color == clNone ? clWhite : PrintFillColor(Color, GetColorMode()));
    c->FillRect(Rect(0, 0, Bitmap.Width(), Bitmap.Height()));
}

void TCustomPrintableRPData::FillBehind(int X, int Y, TBitmap& Bitmap, const TRPResolution& Resolution) {
    (void)Resolution;
    const TColor paraColor = CurrentParaColor();
    if (paraColor != clNone || !m_pageBackground) {
        FillWithParaColor(Bitmap, paraColor != clNone ? paraColor : GetColor());
        return;
    }
    Bitmap.Canvas()->DrawImage(Rect(0, 0, Bitmap.Width(), Bitmap.Height()), m_pageBackground->Image(),
                               Rect(X, Y, X + Bitmap.Width(), Y + Bitmap.Height()));
}

void TCustomPrintableRPData::DrawBackgroundToBitmap(int X, int Y, TBitmap& Bitmap,
                                                    const TRPResolution& Resolution, int ItemPart,
                                                    bool FromDevice) {
    if (FromDevice && m_curDrawItem) {
        X += DeviceToScreenX(m_curDrawItem->Left, Resolution);
        Y += DeviceToScreenY(m_curItemY - GetPrintAreaTop(), Resolution);
    }
    FillBehind(X, Y, Bitmap, Resolution);
    if (ItemPart != 0 && m_curDrawItem) {
        TRPBounds r{DeviceToScreenX(m_curDrawItem->Left, Resolution) - X,
                    DeviceToScreenY(m_curItemY - GetPrintAreaTop(), Resolution) - Y, 0, 0};
        r.Right = r.Left + DeviceToScreenX(m_curDrawItem->Width, Resolution);
        r.Bottom = r.Top + DeviceToScreenY(m_curDrawItem->Height, Resolution);
        GetItem(m_curDrawItem->ItemNo)->PrintBackground(Bitmap.Canvas(), r, GetColorMode(), ItemPart);
    }
}

void TCustomPrintableRPData::DrawBackToBitmap(int X, int Y, bool Flag, TColor Color,
                                              const TRPResolution& Resolution, TBitmap& Bitmap) {
    (void)Color;
    if (Flag) {
        X = DeviceToScreenX(X - GetPrintAreaLeft(m_curPageNo), Resolution);
        Y = DeviceToScreenY(Y - GetPrintAreaTop(), Resolution);
    }
    FillBehind(X, Y, Bitmap, Resolution);
}

void TCustomPrintableRPData::DrawParaDecoration(TCanvas& Canvas, int DItemNo, int EndNo, int OriginY,
                                                int AreaLeft, bool SplitStart, int SplitPartHeight,
                                                const TRPResolution& Res) {
    TRPStyle* style = GetRPStyle();
    const TCustomRPItemInfo* item = GetItem(DrawItem(DItemNo)->ItemNo);
    const TParaInfo* para = style->ParaStyles().GetItem(item->ParaNo);
    if (para->Border.Style == rpbNone && para->Background.Color == clNone && !style->OnDrawParaBack) return;
    TRPBounds r;
    r.Left =
        AreaLeft + ScreenToDeviceX(GetLeftMargin() + para->LeftIndent + std::min(para->FirstIndent, 0), Res);
    r.Right = AreaLeft + PrintAreaWidth() - ScreenToDeviceX(GetRightMargin() + para->RightIndent, Res);
    bool first = true;
    for (int k = DItemNo; k <= EndNo; ++k) {
        const TRPDrawLineInfo* d = DrawItem(k);
        if (k > DItemNo && d->ItemNo != DrawItem(k - 1)->ItemNo && IsParaStart(d->ItemNo)) break;
        int top = d->Top, bottom = d->Top + d->Height + d->SpaceBelow;
        if (k == DItemNo && SplitStart) {
            top = 0;
            bottom = SplitPartHeight;
        } else if (auto* m = dynamic_cast<const TRPMultiDrawItemInfo*>(d);
                   m && k == EndNo && k != DItemNo && m->PartsList.Count() > 0) {
            bottom = d->Top + m->PartsList.GetItem(0)->Height;
        }
        r.Top = first ? top : std::min(r.Top, top);
        r.Bottom = first ? bottom : std::max(r.Bottom, bottom);
        first = false;
    }
    r.Top -= OriginY;
    r.Bottom -= OriginY;
    TRPBounds back = r;
    para->Background.PrepareDrawScaled(back, Res);
    style->DrawParaBack(Canvas, item->ParaNo, back, true, GetColorMode());
    para->Border.DrawScaled(r, Canvas, GetColorMode(), Res);
}

void TCustomPrintableRPData::DrawTextDrawItem(TCanvas& Canvas, int DItemNo, int AreaLeft, int OriginY,
                                              const TRPResolution& Res) {
    TRPStyle* style = GetRPStyle();
    TRPDrawLineInfo* d = DrawItem(DItemNo);
    const TCustomRPItemInfo* item = GetItem(d->ItemNo);
    const int sn = GetActualStyle(item);
    const TRPColorMode mode = GetColorMode();
    const TRPBiDiMode bidi = GetParaBiDiMode(item->ParaNo);
    style->ApplyStyleColor(Canvas, sn, 0, true, mode);
    style->ApplyStyle(Canvas, sn, bidi);
    const TFontInfo* fi = style->TextStyles().GetItem(sn);
    if (fi->BiDiMode == rpbdUnspecified && bidi == rpbdUnspecified && fi->CharSpacing != 0)
        Canvas.SetTextCharacterExtra(ScreenToDeviceX(fi->CharSpacing, Res));
    const int x = d->Left + AreaLeft, y = d->Top - OriginY;
    if (style->OnDrawTextBack)
        style->DrawTextBack(&Canvas, d->ItemNo, sn, x, y, d->Width, d->Height, 0, this, d->Offs);
    std::string text;
    DrawItems->GetPieceText(DItemNo, *Items, text);
    const TRPTextDrawStates state = 0;
    style->DrawStyleText(text, Canvas, sn, d->JustifySpace, x, y, d->Width, d->Height, state, true, false,
                         bidi, this, d->ItemNo, d->Offs);
}

void TCustomPrintableRPData::DrawNonTextDrawItem(TCanvas& Canvas, int DItemNo, int Part, bool PageStart,
                                                 int AreaLeft, int OriginY, const TRPResolution& Res,
                                                 TBitmap& Work, bool Preview) {
    TRPStyle* style = GetRPStyle();
    TRPDrawLineInfo* d = DrawItem(DItemNo);
    TCustomRPItemInfo* item = GetItem(d->ItemNo);
    const TRPColorMode mode = GetColorMode();
    // A continued part begins at the top of the print area.
    m_curItemY = Part > 0 || (Part == 0 && PageStart) ? -OriginY : d->Top - OriginY;
    if (!item->GetBoolValueEx(rpbivexPrintSliced, style)) {
        item->Print(&Canvas, d->Left + AreaLeft, m_curItemY, this, mode, Part, d, Res, Preview);
        return;
    }
    auto* multi = dynamic_cast<TRPMultiDrawItemInfo*>(d);
    int height = item->GetImageHeight(style);
    if (Part >= 0 && multi && Part < multi->PartsList.Count())
        height = DeviceToScreenY(multi->PartsList.GetItem(Part)->Height, Res);
    int width = item->GetImageWidth(style);
    if (item->GetBoolValue(rpbivFullLine))
        width = DeviceToScreenX(PrintAreaWidth() - ScreenToDeviceX(GetRightMargin(), Res) - d->Left, Res);
    if (width <= 0 || height <= 0) return;
    Work.SetSize(width, height);
    DrawBackgroundToBitmap(DeviceToScreenX(d->Left, Res) + item->GetBorderWidth(),
                           DeviceToScreenY(m_curItemY - GetPrintAreaTop(), Res) + item->GetBorderHeight(),
                           Work, Res, -1, false);
    if (item->PrintToBitmap(&Work, Preview, this, mode, Part, d))
        PrintDrawGraphic(Canvas, d->Left + AreaLeft + ScreenToDeviceX(item->GetBorderWidth(), Res),
                         m_curItemY + ScreenToDeviceY(item->GetBorderHeight(), Res), Work.Width(),
                         Work.Height(), Res, Work, true);
}

void TCustomPrintableRPData::DrawPage(int PageNo, TCanvas& Canvas, bool Preview, bool Correction) {
    m_curPageNo = PageNo;
    TRPStyle* style = GetRPStyle();
    if (!style) throw ERichPadError("Style of printable TRichPad component is not assigned");
    TRPResolution res;
    FillResolution(&Canvas, res);
    int startNo = 0, part = -1, endNo = -1;
    GetDrawItemsRange(PageNo, startNo, part, endNo);
    int originY = GetPageOriginY(PageNo);
    const int areaLeft = GetPrintAreaLeft(PageNo);
    Canvas.Brush()->SetStyle(bsClear);
    // Whatever happens on the page, nothing of it outlives the page.
    struct TPageScope {
        TCustomPrintableRPData* Self;
        ~TPageScope() {
            Self->m_pageBackground.reset();
            Self->m_curDrawItem = nullptr;
            Self->m_curParaNo = -1;
        }
    } scope{this};
    DrawPageBackground(Canvas, PageNo);
    DoPagePrepaint(Canvas, PageNo, Preview, Correction);
    TBitmap work;
    endNo = std::min(endNo, DrawItemCount() - 1);
    for (int i = startNo; i <= endNo; ++i) {
        TRPDrawLineInfo* d = DrawItem(i);
        // Items removed from the source after pagination are not there to draw.
        if (d->ItemNo >= GetItemCount()) break;
        m_curDrawItem = d;
        TCustomRPItemInfo* item = GetItem(d->ItemNo);
        m_curParaNo = item->ParaNo;
        auto* multi = dynamic_cast<TRPMultiDrawItemInfo*>(d);
        // The page ends with the first part of a split item.
        if (i == endNo && i != startNo && multi && multi->PartsList.Count() > 0) part = 0;
        const bool startsPara = i == startNo || (d->ItemNo != DrawItem(i - 1)->ItemNo && item->StartsPara());
        if (startsPara && item->ParaNo != -1) {
            const bool splitStart = i == startNo && part >= 0 && multi && part < multi->PartsList.Count();
            DrawParaDecoration(Canvas, i, endNo, originY, areaLeft, splitStart,
                               splitStart ? multi->PartsList.GetItem(part)->Height : 0, res);
        }
        if (GetActualStyle(item) >= 0) {
            m_curItemY = d->Top - originY;
            DrawTextDrawItem(Canvas, i, areaLeft, originY, res);
        } else {
            DrawNonTextDrawItem(Canvas, i, part, i == startNo, areaLeft, originY, res, work, Preview);
        }
        if (part != -1) {
            if (i == startNo) originY = GetSplitOriginY(PageNo);
            part = -1;
        }
    }
    Canvas.SetTextCharacterExtra(0);
    DoPagePostpaint(Canvas, PageNo, Preview);
}

// ---------------------------------------------------------------------------
// The main printable document

TCustomMainPtblRPData::TCustomMainPtblRPData(TCustomRichPad* AOwnerView)
    : TCustomPrintableRPData(AOwnerView) {}

TCustomMainPtblRPData::~TCustomMainPtblRPData() = default;

void TCustomMainPtblRPData::Detach() {
    Pages.Clear();
    PrintedDrawItems = 0;
    m_outerMarkers.reset();
    TCustomPrintableRPData::Detach();
}

void TCustomMainPtblRPData::Clear() {
    Pages.Clear();
    PrintedDrawItems = 0;
    m_outerMarkers.reset();
    TCustomPrintableRPData::Clear();
}

TRPMarkerList* TCustomMainPtblRPData::GetOuterMarkers() {
    if (!m_outerMarkers) m_outerMarkers = std::make_unique<TRPMarkerList>();
    return m_outerMarkers.get();
}

TColor TCustomMainPtblRPData::GetColor() {
    return TransparentBackground ? clNone : TCustomPrintableRPData::GetColor();
}

void TCustomMainPtblRPData::FillResolution(TCanvas* Canvas, TRPResolution& Res) {
    (void)Canvas;
    Res = Resolution;
}

bool TCustomMainPtblRPData::GetInheritedListLevel(int& ListNo, int& Level) {
    if (State & rpstInheritedListLevel) {
        ListNo = InheritedListNo;
        Level = InheritedListLevelNo;
        return true;
    }
    return TCustomPrintableRPData::GetInheritedListLevel(ListNo, Level);
}

TRPColorMode TCustomMainPtblRPData::GetColorMode() {
    return ColorMode;
}

TRPBackground* TCustomMainPtblRPData::GetPrintBackground() {
    return OwnerView ? OwnerView->Background.get() : nullptr;
}

int TCustomMainPtblRPData::GetPageOriginY(int PageNo) {
    return Pages.GetItem(PageNo - 1)->StartY - GetPrintAreaTop() - TopMarginDevice;
}

int TCustomMainPtblRPData::GetSplitOriginY(int PageNo) {
    return Pages.GetItem(PageNo - 1)->StartY2 - GetPrintAreaTop() - TopMarginDevice;
}

int TCustomMainPtblRPData::CheckPageNo(int PageNo) const {
    if (PageNo < 1 || PageNo > Pages.Count())
        throw ERichPadError("Invalid page number is specified for printing");
    return Pages.Count();
}

void TCustomMainPtblRPData::GetDrawItemsRange(int PageNo, int& StartNo, int& Part, int& EndNo) {
    const TRPPageInfo* page = Pages.GetItem(PageNo - 1);
    StartNo = page->StartDrawItemNo;
    Part = page->StartPart - 1;
    if (PageNo < Pages.Count()) {
        const TRPPageInfo* next = Pages.GetItem(PageNo);
        // An item split across the boundary is drawn on both pages.
        EndNo = next->StartDrawItemNo - 1 + (next->StartPart > 1 ? 1 : 0);
    } else {
        EndNo = std::min(PrintedDrawItems, DrawItemCount()) - 1;
    }
}

void TCustomMainPtblRPData::DrawPage(int PageNo, TCanvas& Canvas, bool Preview, bool Correction) {
    if (PageNo < 1 || PageNo > Pages.Count()) return;
    TCustomPrintableRPData::DrawPage(PageNo, Canvas, Preview, Correction);
}

// ---------------------------------------------------------------------------
// Pagination

int TCustomMainPtblRPData::SpaceBefore(int DItemNo) const {
    const TRPStyle* style = GetRPStyle();
    const int v = style->ParaStyles().GetItem(GetItemPara(DrawItem(DItemNo)->ItemNo))->SpaceBefore;
    return MulDiv(v, Resolution.DeviceY, Resolution.ScreenY);
}

int TCustomMainPtblRPData::SpaceAfter(int DItemNo) const {
    const TRPStyle* style = GetRPStyle();
    const int v = style->ParaStyles().GetItem(GetItemPara(DrawItem(DItemNo)->ItemNo))->SpaceAfter;
    return MulDiv(v, Resolution.DeviceY, Resolution.ScreenY);
}

int TCustomMainPtblRPData::LineStart(int DItemNo) const {
    while (DItemNo > 0 && !DrawItem(DItemNo)->FromNewLine)
        --DItemNo;
    return DItemNo;
}

void TCustomMainPtblRPData::AddPage(int StartDrawItemNo, int StartY, int StartPart) {
    TRPPageInfo* p = Pages.Add();
    p->StartDrawItemNo = StartDrawItemNo;
    p->StartY = StartY;
    p->StartPart = StartPart;
}

int TCustomMainPtblRPData::FormatPages() {
    RaiseFormatting(0, rppsStarting);
    TCanvas* canvas = Printer()->Canvas();
    PrinterCanvas = canvas;
    try {
        if (canvas) {
            PrepareFormatting();
            if (OwnerView)
                OwnerView->MaxTextWidth = MulDiv(AreaWidthDevice, Resolution.ScreenX, Resolution.DeviceX) -
                                          OwnerView->LeftMargin - OwnerView->RightMargin;
            Format(false, true, true, 0, canvas, false, false);
        } else {
            ClearFormatting();
        }
    } catch (...) {
        PrinterCanvas = nullptr;
        throw;
    }
    PrinterCanvas = nullptr;
    Pages.Clear();
    // What lies past the document's bound (RPCoords.h) is not printed.
    PrintedDrawItems = DrawItemCount();
    while (PrintedDrawItems > 0 && DrawItem(PrintedDrawItems - 1)->Top >= RPMaxCoord)
        --PrintedDrawItems;
    if (DrawItemCount() == 0 || !GetRPStyle()) return 0;
    TCutter c;
    c.PageHeight = AreaHeightDevice - (TopMarginDevice + BottomMarginDevice);
    RaiseFormatting(0, rppsPageCompleted);
    while (c.I < PrintedDrawItems)
        FormatNextPage(c);
    RaiseFormatting(Pages.Count(), rppsFinished);
    return Pages.Count();
}

void TCustomMainPtblRPData::FormatNextPage(TCutter& C) {
    const int n = PrintedDrawItems;
    if (Pages.Count() == 0) {
        AddPage(0, 0, 0);
        C.I = 0;
        C.CurStartY = 0;
        C.Splitting = false;
    }
    for (;;) {
        TRPPageInfo* cur = Pages.GetItem(Pages.Count() - 1);
        if (C.Splitting) {
            TRPDrawLineInfo* d = DrawItem(C.I);
            auto* m = static_cast<TRPMultiDrawItemInfo*>(d);
            const int sb = SpaceBefore(C.I), sa = SpaceAfter(C.I);
            if (d->SplitAt(C.H)) {
                const bool curStartedHere = cur->StartDrawItemNo == C.I;
                const int parts = m->PartsList.Count();
                AddPage(C.I, -sb, parts);
                if (curStartedHere && parts >= 2)
                    cur->StartY2 = d->Top + d->Height - m->PartsList.GetItem(parts - 2)->Height - sb;
                RaiseFormatting(Pages.Count() - 1, rppsPageCompleted);
                C.CurStartY = 0;
                C.H = C.PageHeight - sb - sa;
                return;
            }
            if (cur->StartDrawItemNo == C.I) {
                const int last =
                    m->PartsList.Count() > 0 ? m->PartsList.GetItem(m->PartsList.Count() - 1)->Height : 0;
                C.CurStartY = d->Top + d->Height - last - sb;
                cur->StartY2 = C.CurStartY;
            }
            ++C.I;
            C.Splitting = false;
        }
        bool split = false;
        for (; C.I < n; ++C.I) {
            TRPDrawLineInfo* d = DrawItem(C.I);
            cur = Pages.GetItem(Pages.Count() - 1);
            const bool startsHere = cur->StartDrawItemNo == C.I;
            const bool pageBreak = C.I > 0 && d->ItemNo != DrawItem(C.I - 1)->ItemNo &&
                                   GetItem(d->ItemNo)->GetPageBreakBefore() && !startsHere;
            const int sb = SpaceBefore(C.I), sa = SpaceAfter(C.I);
            if (dynamic_cast<TRPMultiDrawItemInfo*>(d) && d->InitSplit()) {
                if (startsHere) {
                    cur->StartPart = 1;
                    cur->StartY = -sb;
                }
                C.H = C.CurStartY + C.PageHeight - d->Top - sa;
                if (!pageBreak && (startsHere || d->CanSplitFirst(C.H))) {
                    C.Splitting = true;
                    split = true;
                    break;
                }
                AddPage(C.I, -sb, 1);
                RaiseFormatting(Pages.Count() - 1, rppsPageCompleted);
                C.CurStartY = 0;
                C.H = C.PageHeight - sb - sa;
                C.Splitting = true;
                return;
            }
            if (d->Top + d->Height + sa > C.CurStartY + C.PageHeight || pageBreak) {
                // Cut before d's line; a line taller than a page stays alone on its page.
                int j = LineStart(C.I);
                if (cur->StartDrawItemNo == j) {
                    ++j;
                    while (j < n && !DrawItem(j)->FromNewLine)
                        ++j;
                }
                if (j < n) {
                    int top = DrawItem(j)->Top;
                    for (int k = j + 1; k < n && !DrawItem(k)->FromNewLine; ++k)
                        top = std::min(top, DrawItem(k)->Top);
                    C.CurStartY = top - SpaceBefore(j);
                    AddPage(j, C.CurStartY, 0);
                    RaiseFormatting(Pages.Count() - 1, rppsPageCompleted);
                }
                C.I = j;
                return;
            }
        }
        if (split) continue;
        RaiseFormatting(Pages.Count(), rppsPageCompleted);
        return;
    }
}

// ---------------------------------------------------------------------------
// Margins of the printed page

void TPrintableRPData::PrepareFormatting() {
    TPrinter* pr = Printer();
    Resolution = TRPResolution{};
    Resolution.DeviceX = pr->PixelsPerInchX();
    Resolution.DeviceY = pr->PixelsPerInchY();
    TopMarginDevice = MulDiv(SourceTopMargin, Resolution.DeviceY, Resolution.ScreenY);
    BottomMarginDevice = MulDiv(SourceBottomMargin, Resolution.DeviceY, Resolution.ScreenY);
    if (PrinterCanvas) PrinterCanvas->Font()->SetPixelsPerInch(Resolution.DeviceY);
    const int pageW = pr->PageWidth(), pageH = pr->PageHeight();
    const int offX = pr->PhysicalOffsetX(), offY = pr->PhysicalOffsetY();
    const auto px = [](int mm, int ppi) { return RPMillimetresToPixels(mm, ppi); };
    LeftMarginDevice = std::max(0, px(LeftMarginMM, Resolution.DeviceX) - offX);
    TopMarginDevicePage = std::max(0, px(TopMarginMM, Resolution.DeviceY) - offY);
    RightMarginDevice =
        std::max(0, px(RightMarginMM, Resolution.DeviceX) - (pr->PhysicalWidth() - (pageW + offX)));
    BottomMarginDevicePage =
        std::max(0, px(BottomMarginMM, Resolution.DeviceY) - (pr->PhysicalHeight() - (pageH + offY)));
    EvenLeftMarginDevice = std::max(0, px(RightMarginMM, Resolution.DeviceX) - offX);
    AreaWidthDevice = std::max(0, pageW - (LeftMarginDevice + RightMarginDevice));
    AreaHeightDevice = std::max(0, pageH - (TopMarginDevicePage + BottomMarginDevicePage));
}

int TPrintableRPData::GetPrintAreaLeft(int PageNo) {
    return MirrorMargins && PageNo % 2 == 0 ? EvenLeftMarginDevice : LeftMarginDevice;
}

void TPrintableRPData::PageRects(int PageNo, TRect& PageRect, TRect& AreaRect) {
    AreaRect = Bounds(GetPrintAreaLeft(PageNo), GetPrintAreaTop(), PrintAreaWidth(), PrintAreaHeight());
    PageRect = Rect(0, 0, PrintAreaWidth() + LeftMarginDevice + RightMarginDevice,
                    PrintAreaHeight() + TopMarginDevicePage + BottomMarginDevicePage);
}

void TPrintableRPData::DoPagePrepaint(TCanvas& Canvas, int PageNo, bool Preview, bool Correction) {
    (void)Correction;
    TRect page, area;
    PageRects(PageNo, page, area);
    if (OnPagePrepaint) OnPagePrepaint(PageNo, Canvas, Preview, page, area);
    if (ClipMargins) Canvas.IntersectClipRect(area);
}

void TPrintableRPData::DoPagePostpaint(TCanvas& Canvas, int PageNo, bool Preview) {
    TRect page, area;
    PageRects(PageNo, page, area);
    if (OnPagePostpaint) OnPagePostpaint(PageNo, Canvas, Preview, page, area);
    // The clip of the print area belongs to this page only.
    if (ClipMargins) Canvas.ReleaseClip();
}

// ---------------------------------------------------------------------------
// A rectangle of a printed page

TRectPtblRPData::TRectPtblRPData(TCustomRichPad* AControl, TCustomRPData* ASource,
                                 TCustomPrintableRPData* AParent)
    : TCustomPrintableRPData(AControl), Source(ASource), Parent(AParent) {
    ShareItemsFrom(*Source);
}

void TRectPtblRPData::FillBehind(int X, int Y, TBitmap& Bitmap, const TRPResolution& Resolution) {
    const TColor paraColor = CurrentParaColor();
    if (paraColor != clNone) {
        FillWithParaColor(Bitmap, paraColor);
    } else if (ShowsParentBackground) {
        const int page = Parent->CurrentPageNo();
        Parent->DrawBackgroundToBitmap(
            X + DeviceToScreenX(GetPrintAreaLeft(CurrentPageNo()) - Parent->GetPrintAreaLeft(page),
                                Resolution),
            Y + DeviceToScreenY(GetPrintAreaTop() - Parent->GetPrintAreaTop(), Resolution), Bitmap,
            Resolution, -1, false);
    } else {
        TCustomPrintableRPData::FillBehind(X, Y, Bitmap, Resolution);
    }
}
