#include "richtext/model/RPItemNonText.h"

#include <algorithm>
#include <charconv>

#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPControlImages.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"

namespace {

template <class T> std::unique_ptr<TCustomRPItemInfo> Make(TCustomRPData* RPData) {
    return std::make_unique<T>(RPData);
}

void DefaultApplyControlTop(TControl* Control) {
    if (Control) Control->SetTop(std::clamp(Control->Tag(), -10000, 10000));
}
TRPApplyControlTopProc ApplyControlTopProc = DefaultApplyControlTop;

int ScaleX(int v, const TRPResolution* sad) {
    return sad ? MulDiv(v, sad->DeviceX, sad->ScreenX) : v;
}

// Marks of selection and hover around an inline item's box.
void DrawItemMarks(TCanvas* Canvas, int x, int y, int w, int h, TRPTextDrawStates State,
                   const TRPStyle* RPStyle, bool ClearBrush, bool Outside) {
    if (!Canvas || !RPStyle) return;
    int d = Outside ? 1 : 0;
    if ((State & rptdsHover) && RPStyle->HoverColor != clNone) {
        if (ClearBrush) Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetColor(RPStyle->HoverColor);
        Canvas->Rectangle(x - d, y - d, x + w + d, y + h + d);
    }
    if (State & rptdsSelected) {
        TColor c = (State & rptdsFocused) ? RPStyle->SelColor : RPStyle->InactiveSelColor;
        if (c == clNone) return;
        if (ClearBrush) Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetColor(c);
        Canvas->Rectangle(x, y, x + w, y + h);
    }
}

bool ReadInt(const std::string& s, size_t& p, int& v) {
    while (p < s.size() && s[p] == ' ')
        ++p;
    size_t e = p;
    while (e < s.size() && s[e] != ' ')
        ++e;
    if (e == p) return false;
    auto [q, ec] = std::from_chars(s.data() + p, s.data() + e, v);
    if (ec != std::errc() || q != s.data() + e) return false;
    p = e;
    return true;
}

} // namespace

void SetApplyControlTopFromTagProc(TRPApplyControlTopProc Proc) {
    ApplyControlTopProc = Proc ? Proc : DefaultApplyControlTop;
}

// ---------------------------------------------------------------------------
// Horizontal rule

const TRPItemClass TRPBreakItemInfo::ClassInfo{"TRPBreakItemInfo", Make<TRPBreakItemInfo>};

bool TRPBreakItemInfo::GetBoolValue(int Id) const {
    if (Id == rpbivFullLine) return true;
    if (Id == rpbivReadsRPFLines) return false;
    return TRPFullLineItemInfo::GetBoolValue(Id);
}

bool TRPBreakItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    if (Id == rpbivexPrintSliced) return false;
    return TRPFullLineItemInfo::GetBoolValueEx(Id, RPStyle);
}

void TRPBreakItemInfo::DrawRule(TCanvas& Canvas, int x1, int x2, int y, int Width, TColor RuleColor,
                                TColor ShadowColor, TColor FaceColor) const {
    TPen* pen = Canvas.Pen();
    pen->SetStyle(psInsideFrame);
    pen->SetMode(pmCopy);
    pen->SetColor(RuleColor);
    switch (Style) {
    case 1:
        pen->SetWidth(1);
        Canvas.Brush()->SetStyle(bsClear);
        Canvas.Rectangle(x1, y - Width / 2, x2, y - Width / 2 + Width);
        break;
    case 2: {
        pen->SetWidth(1);
        // Rings of a sunken frame: shadow top-left, face bottom-right.
        TRect r = Rect(x1, y - Width / 2, x2 - 1, y - Width / 2 + Width - 1);
        int n = std::max<int>(1, Width);
        int h = r.Bottom - r.Top;
        for (int i = 0; i < n; ++i) {
            pen->SetColor(ShadowColor);
            Canvas.MoveTo(r.Left, r.Bottom);
            Canvas.LineTo(r.Left, r.Top);
            Canvas.LineTo(r.Right, r.Top);
            if (n <= h) {
                pen->SetColor(FaceColor);
                Canvas.LineTo(r.Right, r.Bottom);
                Canvas.LineTo(r.Left, r.Bottom);
                InflateRect(r, -1, -1);
            } else {
                r.Top += 1;
                r.Bottom -= 1;
            }
        }
        break;
    }
    default:
        pen->SetWidth(Width);
        Canvas.MoveTo(x1, y);
        Canvas.LineTo(x2, y);
        break;
    }
}

void TRPBreakItemInfo::PaintFullWidth(int Left, int Right, int Top, TCanvas* Canvas, TRPTextDrawStates State,
                                      const TRPStyle* RPStyle, const TRPBounds& ClipRect,
                                      TCustomRPData* RPData) {
    (void)ClipRect, (void)RPData;
    if (!Canvas) return;
    TColor c = Color;
    if (c == clNone) c = RPStyle ? RPStyle->TextStyles().GetItem(0)->Color : clWindowText;
    int y = Top + 5;
    DrawRule(*Canvas, Left + 5, Right - 5, y, LineWidth, c, clBtnShadow, clBtnFace);
    if ((State & rptdsSelected) && RPStyle) {
        TColor sc = (State & rptdsFocused) ? RPStyle->SelColor : RPStyle->InactiveSelColor;
        if (sc != clNone) {
            Canvas->Pen()->SetStyle(psInsideFrame);
            Canvas->Pen()->SetWidth(LineWidth);
            Canvas->Pen()->SetColor(sc);
            Canvas->MoveTo(Left + 5, y);
            Canvas->LineTo(Right - 5, y);
        }
    }
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
}

void TRPBreakItemInfo::Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode,
                             int PartIndex, TRPDrawLineInfo* DrawItem, const TRPResolution& sad,
                             bool Preview) {
    (void)PartIndex, (void)Preview;
    if (!Canvas) return;
    const TRPStyle* style = RPData ? RPData->GetRPStyle() : nullptr;
    TColor c = Color;
    if (c == clNone) c = style ? style->TextStyles().GetItem(0)->Color : clWindowText;
    c = GetPrintTextColor(c, ColorMode);
    int width = DrawItem ? DrawItem->Width : 0;
    int mx = sad.ScreenX ? 5 * sad.DeviceX / sad.ScreenX : 5;
    int my = sad.ScreenY ? 5 * sad.DeviceY / sad.ScreenY : 5;
    int lw = sad.ScreenY ? LineWidth * sad.DeviceY / sad.ScreenY : LineWidth;
    // The frame's rings follow the colour mode as the rule does.
    DrawRule(*Canvas, x + mx, x + width - mx, y + my, std::max(1, lw), c,
             GetPrintTextColor(clBtnShadow, ColorMode), GetPrintTextColor(clBtnFace, ColorMode));
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
}

void TRPBreakItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    (void)RPData;
    s = std::to_string(Color) + " " + std::to_string(Style) + " " + std::to_string(LineWidth);
}

bool TRPBreakItemInfo::ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) {
    (void)RPData;
    size_t p = 0;
    int c = 0, st = 0, w = 0;
    if (s.find_first_not_of(' ') == std::string::npos) {
        Color = clNone;
        Style = 0;
        LineWidth = 1;
        return true;
    }
    if (!ReadInt(s, p, c) || !ReadInt(s, p, st) || !ReadInt(s, p, w)) return false;
    Color = c;
    Style = static_cast<uint8_t>(std::clamp(st, 0, 255));
    LineWidth = static_cast<uint8_t>(std::clamp(w, 0, 255));
    s.erase(0, p);
    return true;
}

void TRPBreakItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPBreakItemInfo*>(&Source); s && s != this) {
        LineWidth = s->LineWidth;
        Style = s->Style;
        Color = s->Color;
    }
    TRPFullLineItemInfo::AssignItem(Source);
}

std::string TRPBreakItemInfo::GetPlainText(int LineWidth_, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                           const std::string& Path, const std::string& ItemText) {
    (void)RPData, (void)Unicode, (void)TextOnly, (void)Path, (void)ItemText;
    return std::string(static_cast<size_t>(std::max(1, LineWidth_)), LineWidth < 2 ? '-' : '=');
}

// ---------------------------------------------------------------------------
// Pictures

const TRPItemClass TRPGraphicItemInfo::ClassInfo{"TRPGraphicItemInfo", Make<TRPGraphicItemInfo>};
const TRPItemClass TRPHotGraphicItemInfo::ClassInfo{"TRPHotGraphicItemInfo", Make<TRPHotGraphicItemInfo>};

TRPGraphicItemInfo::TRPGraphicItemInfo(TCustomRPData* RPData) : TRPRectItemInfo(RPData) {}
TRPGraphicItemInfo::~TRPGraphicItemInfo() = default;

std::unique_ptr<TRPGraphicItemInfo>
TRPGraphicItemInfo::CreateEx(TCustomRPData* RPData, std::unique_ptr<TGraphic> Graphic, uint8_t VAlign) {
    auto g = std::make_unique<TRPGraphicItemInfo>(RPData);
    g->StyleNo = rpsnPicture;
    g->Image = std::move(Graphic);
    g->VAlign = VAlign;
    return g;
}

int TRPGraphicItemInfo::GetImageWidth(const TRPStyle* RPStyle) const {
    (void)RPStyle;
    if (ImageWidth > 0) return ImageWidth;
    return Image ? Image->Width() : 0;
}

int TRPGraphicItemInfo::GetImageHeight(const TRPStyle* RPStyle) const {
    (void)RPStyle;
    if (ImageHeight > 0) return ImageHeight;
    return Image ? Image->Height() : 0;
}

void TRPGraphicItemInfo::FitInReadLimits() {
    constexpr int64_t max = TRPReadLimits::MaxLength;
    const int64_t w = GetImageWidth(nullptr), h = GetImageHeight(nullptr);
    const int64_t longest = std::max(w, h);
    if (longest <= max) return;
    ImageWidth = static_cast<int32_t>(std::max<int64_t>(1, w * max / longest));
    ImageHeight = static_cast<int32_t>(std::max<int64_t>(1, h * max / longest));
}

int TRPGraphicItemInfo::GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) {
    (void)Canvas, (void)RPData;
    return ScaleX(GetImageWidth(nullptr) + 2 * Spacing, sad);
}

bool TRPGraphicItemInfo::GetBoolValue(int Id) const {
    switch (Id) {
    case rpbivValid:
        return Image != nullptr;
    case rpbivImage:
    case rpbivChangesFont:
        return true;
    case rpbivResizable:
        return Image && Image->ClassName() != QStringLiteral("TIcon");
    default:
        return TRPRectItemInfo::GetBoolValue(Id);
    }
}

bool TRPGraphicItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    if (Id == rpbivexPrintSliced) return !(Image && dynamic_cast<const TMetafile*>(Image.get()));
    return TRPRectItemInfo::GetBoolValueEx(Id, RPStyle);
}

void TRPGraphicItemInfo::Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State,
                               const TRPStyle* RPStyle, TRPDrawLineInfo* DrawItem) {
    (void)DrawItem;
    if (!Canvas) return;
    int w = GetImageWidth(RPStyle), h = GetImageHeight(RPStyle);
    TGraphic* g = ImageCopy ? ImageCopy.get() : Image.get();
    if (g) {
        if (ImageWidth > 0 || ImageHeight > 0)
            Canvas->StretchDraw(Bounds(x + Spacing, y + Spacing, w, h), *g);
        else
            Canvas->Draw(x + Spacing, y + Spacing, *g);
    }
    DrawItemMarks(Canvas, x, y, w + 2 * Spacing, h + 2 * Spacing, State, RPStyle, true, true);
}

bool TRPGraphicItemInfo::PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData,
                                       TRPColorMode ColorMode, int PartIndex, TRPDrawLineInfo* DrawItem) {
    (void)RPData, (void)ColorMode;
    if (!Bitmap || !Image) return false;
    int offset = 0;
    auto* multi = dynamic_cast<TRPMultiImagePrintInfo*>(DrawItem);
    if (multi && PartIndex >= 0 && PartIndex < multi->PartsList.Count())
        offset = -multi->GetPart(PartIndex)->ImgTop;
    TCanvas* c = Bitmap->Canvas();
    if (ImageWidth <= 0 && ImageHeight <= 0) {
        c->Draw(0, offset, Preview && ImageCopy ? *ImageCopy : *Image);
    } else if (Preview && ImageCopy) {
        c->StretchDraw(Rect(0, 0, Bitmap->Width(), Bitmap->Height()), *ImageCopy);
    } else if ((ImageWidth <= 0 || ImageWidth == Image->Width()) &&
               (ImageHeight <= 0 || ImageHeight == Image->Height())) {
        c->StretchDraw(Rect(0, 0, Bitmap->Width(), Bitmap->Height()), *Image);
    } else {
        int h = multi && PartIndex >= 0 ? Bitmap->Height() : Image->Height();
        Bitmap->SetSize(Image->Width(), h);
        c = Bitmap->Canvas();
        c->Draw(0, offset, *Image);
    }
    return true;
}

void TRPGraphicItemInfo::Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode,
                               int PartIndex, TRPDrawLineInfo* DrawItem, const TRPResolution& sad,
                               bool Preview) {
    (void)RPData, (void)ColorMode, (void)PartIndex, (void)DrawItem, (void)Preview;
    if (!Canvas || !Image) return;
    int sx = ScaleX(Spacing, &sad);
    int sy = sad.ScreenY ? MulDiv(Spacing, sad.DeviceY, sad.ScreenY) : Spacing;
    int w = ScaleX(GetImageWidth(nullptr), &sad);
    int h = sad.ScreenY ? MulDiv(GetImageHeight(nullptr), sad.DeviceY, sad.ScreenY) : GetImageHeight(nullptr);
    Canvas->StretchDraw(Bounds(x + sx, y + sy, w, h), *Image);
}

std::unique_ptr<TRPDrawLineInfo> TRPGraphicItemInfo::CreatePrintingDrawItem(TCustomRPData* RPData,
                                                                            const TRPResolution& sad) {
    const TRPStyle* style = RPData ? RPData->GetRPStyle() : nullptr;
    if (GetBoolValueEx(rpbivexPrintSliced, style) && MinHeightOnPage != 0 &&
        (ImageHeight <= 0 || (Image && ImageHeight == Image->Height())))
        return std::make_unique<TRPMultiImagePrintInfo>(this, sad);
    return std::make_unique<TRPDrawLineInfo>();
}

int TRPGraphicItemInfo::GetRPFExtraPropertyCount() const {
    int n = TRPRectItemInfo::GetRPFExtraPropertyCount();
    if (ImageWidth > 0) ++n;
    if (ImageHeight > 0) ++n;
    if (MinHeightOnPage > 0) ++n;
    if (auto* b = dynamic_cast<const TBitmap*>(Image.get()); b && b->Transparent())
        n += b->TransparentMode() == tmFixed ? 3 : 2;
    if (!ImageFileName.empty()) ++n;
    if (!Alt.empty()) ++n;
    return n;
}

void TRPGraphicItemInfo::SaveRPFExtraProperties(std::string& Stream) const {
    TRPRectItemInfo::SaveRPFExtraProperties(Stream);
    auto line = [&Stream](int id, int v) {
        RPFWriteExtraPropertyLine(Stream, GetItemExtraIntPropertyName(id), std::to_string(v));
    };
    if (ImageWidth > 0) line(rpeipImageWidth, ImageWidth);
    if (ImageHeight > 0) line(rpeipImageHeight, ImageHeight);
    if (MinHeightOnPage > 0) line(rpeipMinHeightOnPage, MinHeightOnPage);
    if (auto* b = dynamic_cast<const TBitmap*>(Image.get()); b && b->Transparent()) {
        line(rpeipTransparent, 1);
        line(rpeipTransparentMode, static_cast<int>(b->TransparentMode()));
        if (b->TransparentMode() == tmFixed) line(rpeipTransparentColor, b->TransparentColor());
    }
    if (!ImageFileName.empty()) RPFWriteStrItemProperty(Stream, rpespImageFileName, ImageFileName);
    if (!Alt.empty()) RPFWriteStrItemProperty(Stream, rpespAlt, Alt);
}

void TRPGraphicItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    auto* s = dynamic_cast<const TRPGraphicItemInfo*>(&Source);
    if (s && s != this) {
        Alt = s->Alt;
        ImageFileName = s->ImageFileName;
        ImageWidth = s->ImageWidth;
        ImageHeight = s->ImageHeight;
        // A source without a graphic leaves this item without one too.
        Image = s->Image ? s->Image->Clone() : nullptr;
        ImageCopy = s->ImageCopy ? s->ImageCopy->Clone() : nullptr;
    }
    TRPRectItemInfo::AssignItem(Source);
}

void TRPGraphicItemInfo::UpdatePaletteInfo(TRPPaletteAction Action, bool ForceRecreateCopy, void* Palette,
                                           const void* LogPalette) {
    (void)LogPalette;
    // Colours are true colour here: palettes change nothing, so only the copy's
    // life follows the action.
    bool keepCopy =
        (Action == rppaCreateCopies || Action == rppaCreateCopiesEx) && !ForceRecreateCopy && Palette;
    if (!keepCopy) ImageCopy.reset();
}

void TRPGraphicItemInfo::DetachForUndo(int ItemNo, TCustomRPData* RPData) {
    ImageCopy.reset();
    TRPRectItemInfo::DetachForUndo(ItemNo, RPData);
}

bool TRPGraphicItemInfo::SetExtraIntProperty(int Prop, int Value) {
    switch (Prop) {
    case rpeipImageWidth:
        ImageWidth = Value;
        return true;
    case rpeipImageHeight:
        ImageHeight = Value;
        return true;
    case rpeipMinHeightOnPage:
        MinHeightOnPage = Value;
        return true;
    case rpeipTransparent:
    case rpeipTransparentMode:
    case rpeipTransparentColor: {
        auto* b = dynamic_cast<TBitmap*>(Image.get());
        if (!b) return false;
        if (Prop == rpeipTransparent)
            b->SetTransparent(Value != 0);
        else if (Prop == rpeipTransparentMode)
            b->SetTransparentMode(Value == 1 ? tmFixed : tmAuto);
        else
            b->SetTransparentColor(Value);
        return true;
    }
    default:
        return TRPRectItemInfo::SetExtraIntProperty(Prop, Value);
    }
}

bool TRPGraphicItemInfo::GetExtraIntProperty(int Prop, int& Value) const {
    switch (Prop) {
    case rpeipImageWidth:
        Value = ImageWidth;
        return true;
    case rpeipImageHeight:
        Value = ImageHeight;
        return true;
    case rpeipMinHeightOnPage:
        Value = MinHeightOnPage;
        return true;
    case rpeipTransparent:
    case rpeipTransparentMode:
    case rpeipTransparentColor: {
        auto* b = dynamic_cast<const TBitmap*>(Image.get());
        if (!b) return false;
        if (Prop == rpeipTransparent)
            Value = b->Transparent() ? 1 : 0;
        else if (Prop == rpeipTransparentMode)
            Value = static_cast<int>(b->TransparentMode());
        else
            Value = b->TransparentColor();
        return true;
    }
    default:
        return TRPRectItemInfo::GetExtraIntProperty(Prop, Value);
    }
}

bool TRPGraphicItemInfo::SetExtraStrProperty(int Prop, const std::string& Value) {
    if (Prop == rpespAlt) {
        Alt = Value;
        return true;
    }
    if (Prop == rpespImageFileName) {
        ImageFileName = Value;
        return true;
    }
    return TRPRectItemInfo::SetExtraStrProperty(Prop, Value);
}

bool TRPGraphicItemInfo::GetExtraStrProperty(int Prop, std::string& Value) const {
    if (Prop == rpespAlt) {
        Value = Alt;
        return true;
    }
    if (Prop == rpespImageFileName) {
        Value = ImageFileName;
        return true;
    }
    return TRPRectItemInfo::GetExtraStrProperty(Prop, Value);
}

TRPHotGraphicItemInfo::TRPHotGraphicItemInfo(TCustomRPData* RPData) : TRPGraphicItemInfo(RPData) {}

std::unique_ptr<TRPHotGraphicItemInfo>
TRPHotGraphicItemInfo::CreateEx(TCustomRPData* RPData, std::unique_ptr<TGraphic> Graphic, uint8_t VAlign) {
    auto g = std::make_unique<TRPHotGraphicItemInfo>(RPData);
    g->StyleNo = rpsnHotPicture;
    g->Image = std::move(Graphic);
    g->VAlign = VAlign;
    return g;
}

bool TRPHotGraphicItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    if (Id == rpbivexJump || Id == rpbivexKeyboardFocus || Id == rpbivexFocusRect) return true;
    return TRPGraphicItemInfo::GetBoolValueEx(Id, RPStyle);
}

bool TRPHotGraphicItemInfo::IsHotJump(TCustomRPData* RPData) const {
    return RPData && RPData->IsHotJump(RPData->GetFirstJumpNo() + JumpID);
}

// ---------------------------------------------------------------------------
// Controls

const TRPItemClass TRPControlItemInfo::ClassInfo{"TRPControlItemInfo", Make<TRPControlItemInfo>};

TRPControlItemInfo::TRPControlItemInfo(TCustomRPData* RPData) : TRPRectItemInfo(RPData) {}

TRPControlItemInfo::~TRPControlItemInfo() {
    // A control that an owner component also frees must not be freed twice.
    if (Control && Control->Owner()) (void)Control.release();
}

TWinControl* TRPControlItemInfo::FWinControl() const {
    return dynamic_cast<TWinControl*>(Control.get());
}

int TRPControlItemInfo::GetImageWidth(const TRPStyle* RPStyle) const {
    (void)RPStyle;
    return Control ? Control->Width() : 0;
}

int TRPControlItemInfo::GetImageHeight(const TRPStyle* RPStyle) const {
    (void)RPStyle;
    return Control ? Control->Height() : 0;
}

int TRPControlItemInfo::GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) {
    (void)Canvas, (void)RPData;
    if (PercentWidth > 0) return ScaleX(20, sad);
    return ScaleX(GetImageWidth(nullptr) + 2 * Spacing, sad);
}

bool TRPControlItemInfo::GetBoolValue(int Id) const {
    switch (Id) {
    case rpbivValid:
        return Control != nullptr;
    case rpbivImage:
    case rpbivOwnFocus:
    case rpbivResizeHandles:
        return true;
    case rpbivResizable:
        return Resizable && PercentWidth <= 0;
    default:
        return TRPRectItemInfo::GetBoolValue(Id);
    }
}

bool TRPControlItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    if (Id == rpbivexKeyboardFocus) {
        TWinControl* w = FWinControl();
        return w && w->TabStop() && w->CanFocus();
    }
    return TRPRectItemInfo::GetBoolValueEx(Id, RPStyle);
}

void TRPControlItemInfo::Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State,
                               const TRPStyle* RPStyle, TRPDrawLineInfo* DrawItem) {
    (void)DrawItem;
    DrawItemMarks(Canvas, x, y, GetImageWidth(RPStyle) + 2 * Spacing, GetImageHeight(RPStyle) + 2 * Spacing,
                  State, RPStyle, false, true);
}

bool TRPControlItemInfo::PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData,
                                       TRPColorMode ColorMode, int PartIndex, TRPDrawLineInfo* DrawItem) {
    (void)Preview, (void)ColorMode;
    if (!Bitmap || !Control) return false;
    std::unique_ptr<TBitmap> pic =
        RPData ? RPData->GetControlImageForPrinting(Control.get()) : GetControlImage(Control.get());
    if (!pic) return false;
    int offset = 0;
    auto* multi = dynamic_cast<TRPMultiImagePrintInfo*>(DrawItem);
    if (multi && PartIndex >= 0 && PartIndex < multi->PartsList.Count())
        offset = -multi->GetPart(PartIndex)->ImgTop;
    if (MinHeightOnPage > 0) {
        Bitmap->Canvas()->Draw(0, offset, *pic);
    } else {
        int w = std::max(Bitmap->Width(), pic->Width());
        int h = std::max(Bitmap->Height(), pic->Height());
        if (w != Bitmap->Width() || h != Bitmap->Height()) Bitmap->SetSize(w, h);
        Bitmap->Canvas()->Draw((Bitmap->Width() - pic->Width()) / 2, (Bitmap->Height() - pic->Height()) / 2,
                               *pic);
    }
    return true;
}

std::unique_ptr<TRPDrawLineInfo> TRPControlItemInfo::CreatePrintingDrawItem(TCustomRPData* RPData,
                                                                            const TRPResolution& sad) {
    const TRPStyle* style = RPData ? RPData->GetRPStyle() : nullptr;
    if (GetBoolValueEx(rpbivexPrintSliced, style) && MinHeightOnPage != 0)
        return std::make_unique<TRPMultiImagePrintInfo>(this, sad);
    return std::make_unique<TRPDrawLineInfo>();
}

void TRPControlItemInfo::Inserting(TCustomRPData* RPData, std::string& Text, bool Safe) {
    if (Control) {
        Control->Hide();
        TWinControl* parent = nullptr;
        if (!Safe && RPData) parent = dynamic_cast<TWinControl*>(RPData->GetParentControl());
        Control->SetParent(parent);
    }
    TRPRectItemInfo::Inserting(RPData, Text, Safe);
}

void TRPControlItemInfo::AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout,
                                          TCanvas* Canvas, TCustomRPData* RPData, const TRPResolution* sad,
                                          int& Descent, int& XOffset, bool OnlyMeasure, bool Force) {
    (void)DrawItem, (void)PrintLayout, (void)Canvas, (void)RPData, (void)sad, (void)OnlyMeasure, (void)Force;
    if (Control && PercentWidth >= 1 && PercentWidth <= 100)
        Control->SetWidth(static_cast<int>(static_cast<int64_t>(DocWidth) * PercentWidth / 100) - 2);
    Descent = Spacing;
    XOffset = 0;
}

void TRPControlItemInfo::PlaceAt(int x, int y, bool ApplyTop) {
    if (!Control) return;
    Control->SetLeft(x + Spacing);
    Control->SetTag(y + Spacing);
    if (ApplyTop) ApplyControlTopProc(Control.get());
    Control->Show();
}

int TRPControlItemInfo::GetRPFExtraPropertyCount() const {
    return TRPRectItemInfo::GetRPFExtraPropertyCount() + (MinHeightOnPage > 0 ? 1 : 0) + (Resizable ? 1 : 0);
}

void TRPControlItemInfo::SaveRPFExtraProperties(std::string& Stream) const {
    TRPRectItemInfo::SaveRPFExtraProperties(Stream);
    if (MinHeightOnPage > 0)
        RPFWriteExtraPropertyLine(Stream, GetItemExtraIntPropertyName(rpeipMinHeightOnPage),
                                  std::to_string(MinHeightOnPage));
    if (Resizable) RPFWriteExtraPropertyLine(Stream, GetItemExtraIntPropertyName(rpeipResizable), "1");
}

void TRPControlItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPControlItemInfo*>(&Source); s && s != this) {
        PercentWidth = s->PercentWidth;
        Resizable = s->Resizable;
    }
    TRPRectItemInfo::AssignItem(Source);
}

std::string TRPControlItemInfo::GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode,
                                             bool TextOnly, const std::string& Path,
                                             const std::string& ItemText) {
    (void)LineWidth, (void)Unicode, (void)TextOnly, (void)ItemText;
    std::string s;
    if (RPData) RPData->DoSaveComponentToFile(Path, Control.get(), 0, s);
    return s;
}

void TRPControlItemInfo::DetachForUndo(int ItemNo, TCustomRPData* RPData) {
    if (Control) Control->SetParent(nullptr);
    if (RPData) RPData->DoControlAction(rpcaMovingToUndoList, ItemNo, Control.get());
    TRPRectItemInfo::DetachForUndo(ItemNo, RPData);
}

void TRPControlItemInfo::ReattachFromUndo(TCustomRPData* RPData) {
    if (!RPData) return;
    RPData->DoControlAction(rpcaMovingFromUndoList, RPData->GetItemNo(this), Control.get());
    if (Control) Control->SetParent(dynamic_cast<TWinControl*>(RPData->GetParentControl()));
}

void TRPControlItemInfo::FocusControl() {
    if (TWinControl* w = FWinControl()) w->SetFocus();
}

bool TRPControlItemInfo::SetExtraIntProperty(int Prop, int Value) {
    if (Prop == rpeipMinHeightOnPage) {
        MinHeightOnPage = Value;
        return true;
    }
    if (Prop == rpeipResizable) {
        Resizable = Value != 0;
        return true;
    }
    return TRPRectItemInfo::SetExtraIntProperty(Prop, Value);
}

bool TRPControlItemInfo::GetExtraIntProperty(int Prop, int& Value) const {
    if (Prop == rpeipMinHeightOnPage) {
        Value = MinHeightOnPage;
        return true;
    }
    if (Prop == rpeipResizable) {
        Value = Resizable ? 1 : 0;
        return true;
    }
    return TRPRectItemInfo::GetExtraIntProperty(Prop, Value);
}

// ---------------------------------------------------------------------------
// Image-list pictures

const TRPItemClass TRPBulletItemInfo::ClassInfo{"TRPBulletItemInfo", Make<TRPBulletItemInfo>};
const TRPItemClass TRPHotspotItemInfo::ClassInfo{"TRPHotspotItemInfo", Make<TRPHotspotItemInfo>};

bool TRPBulletItemInfo::GetBoolValue(int Id) const {
    if (Id == rpbivValid) return ImageList != nullptr;
    if (Id == rpbivImage) return true;
    return TRPRectItemInfo::GetBoolValue(Id);
}

int TRPBulletItemInfo::GetImageWidth(const TRPStyle* RPStyle) const {
    (void)RPStyle;
    return ImageList ? ImageList->Width() : 0;
}

int TRPBulletItemInfo::GetImageHeight(const TRPStyle* RPStyle) const {
    (void)RPStyle;
    return ImageList ? ImageList->Height() : 0;
}

int TRPBulletItemInfo::GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) {
    (void)Canvas, (void)RPData;
    return ScaleX(GetImageWidth(nullptr) + 2 * Spacing, sad);
}

void TRPBulletItemInfo::Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
                              TRPDrawLineInfo* DrawItem) {
    (void)DrawItem;
    if (!Canvas) return;
    if (ImageList) {
        const int index = GetImageIndex((State & rptdsHotLink) != 0);
        TColor sel = clNone;
        if ((State & rptdsSelected) && RPStyle)
            sel = (State & rptdsFocused) ? RPStyle->SelColor : RPStyle->InactiveSelColor;
        if (sel != clNone)
            ImageList->DrawBlended(Canvas, x + Spacing, y + Spacing, index, ColorToRGB(sel));
        else
            ImageList->Draw(Canvas, x + Spacing, y + Spacing, index);
    }
    // Selection shows as the blend; only the hover frame is drawn, on the box
    // itself and without filling it over the image.
    DrawItemMarks(Canvas, x, y, GetWidth(), GetHeight(),
                  static_cast<TRPTextDrawStates>(State & ~rptdsSelected), RPStyle, true, false);
}

bool TRPBulletItemInfo::PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData,
                                      TRPColorMode ColorMode, int PartIndex, TRPDrawLineInfo* DrawItem) {
    (void)Preview, (void)RPData, (void)ColorMode, (void)PartIndex, (void)DrawItem;
    if (Bitmap && ImageList) ImageList->Draw(Bitmap->Canvas(), 0, 0, ImageIndex);
    return true;
}

void TRPBulletItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPBulletItemInfo*>(&Source); s && s != this) {
        ImageList = s->ImageList;
        ImageIndex = s->ImageIndex;
    }
    TRPRectItemInfo::AssignItem(Source);
}

bool TRPHotspotItemInfo::GetBoolValueEx(int Id, const TRPStyle* RPStyle) const {
    if (Id == rpbivexJump || Id == rpbivexKeyboardFocus || Id == rpbivexFocusRect) return true;
    if (Id == rpbivexHotLook) return HotImageIndex != ImageIndex;
    return TRPBulletItemInfo::GetBoolValueEx(Id, RPStyle);
}

void TRPHotspotItemInfo::AssignItem(const TCustomRPItemInfo& Source) {
    if (auto* s = dynamic_cast<const TRPHotspotItemInfo*>(&Source); s && s != this)
        HotImageIndex = s->HotImageIndex;
    TRPBulletItemInfo::AssignItem(Source);
}

bool TRPHotspotItemInfo::IsHotJump(TCustomRPData* RPData) const {
    return RPData && RPData->IsHotJump(RPData->GetFirstJumpNo() + JumpID);
}

// ---------------------------------------------------------------------------
// Slices of pictures and controls over printed pages

TRPMultiImagePrintInfo::TRPMultiImagePrintInfo(TRPRectItemInfo* AItem, const TRPResolution& sad)
    : Item(AItem), Resolution(sad) {
    DeviceWidth = ScaleX(Item->GetImageWidth(nullptr), &Resolution);
    DeviceHeight = ScreenToDeviceY(ItemHeight(), Resolution);
}

int TRPMultiImagePrintInfo::ItemHeight() const {
    return Item->GetImageHeight(nullptr);
}

TRPImagePrintPart* TRPMultiImagePrintInfo::GetPart(int Index) const {
    return static_cast<TRPImagePrintPart*>(PartsList.GetItem(Index));
}

bool TRPMultiImagePrintInfo::InitSplit() {
    if (Item->MinHeightOnPage == 0) return false;
    auto part = std::make_unique<TRPImagePrintPart>();
    part->ImgTop = 0;
    part->ImgHeight = ItemHeight();
    part->Height = DeviceHeight;
    PartsList.Add(std::move(part));
    return true;
}

bool TRPMultiImagePrintInfo::CanSplitFirst(int Y) {
    int y = DeviceToScreenY(Y, Resolution);
    if (y < 1 || !Item->GetBoolValueEx(rpbivexPrintSliced, nullptr) || Item->MinHeightOnPage < 1 ||
        y < Item->MinHeightOnPage)
        return false;
    int h = ItemHeight();
    return h - y >= Item->MinHeightOnPage || y > h;
}

bool TRPMultiImagePrintInfo::SplitAt(int Y) {
    if (Item->MinHeightOnPage < 1) return false;
    if (PartsList.Count() == 0) throw ERichPadError("Internal printing error");
    TRPImagePrintPart* last = GetPart(PartsList.Count() - 1);
    if (last->ImgHeight <= Item->MinHeightOnPage) return false;
    int y = DeviceToScreenY(Y, Resolution);
    if (y < Item->MinHeightOnPage || last->ImgHeight - y < Item->MinHeightOnPage) return false;
    auto part = std::make_unique<TRPImagePrintPart>();
    part->ImgTop = last->ImgTop + y;
    part->ImgHeight = last->ImgHeight - y;
    part->Height = ScreenToDeviceY(part->ImgHeight, Resolution);
    last->ImgHeight = y;
    last->Height = ScreenToDeviceY(y, Resolution);
    PartsList.Add(std::move(part));
    return true;
}
