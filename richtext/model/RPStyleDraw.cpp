// Drawing of text styles, paragraph borders and backgrounds, and the drawing
// hooks of the style component.
#include <QFontMetrics>

#include "platform/CodePage.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Runtime.h"
#include "platform/TextMetrics.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

TColor PrintedColor(TColor c, TRPColorMode mode) {
    switch (mode) {
    case rpcmColor:
        return c;
    case rpcmPrinterColor:
        return SysColorToPrintColor(c);
    case rpcmGrayScale:
        return GetLuminanceGray(SysColorToPrintColor(c));
    default:
        return clBlack;
    }
}

void SideLine(TCanvas& c, int x1, int y1, int x2, int y2) {
    // There and back, so that both end pixels are drawn.
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
    c.LineTo(x1, y1);
}

// The font's underline position (from the top of the cell) and thickness.
void UnderlineMetrics(const TFont& f, int& pos, int& size) {
    QFontMetrics fm(ToQFont(f));
    pos = fm.ascent() + fm.underlinePos();
    size = std::max(1, static_cast<int>(fm.lineWidth()));
}

// A "·" at every blank of Text drawn at X0 (special characters shown);
// Lefts holds each character's left edge from X0.
void DrawSpaceMarks(TCanvas& Canvas, const QString& Text, int X0, int Top, const std::vector<int>& Lefts) {
    const TBrushStyle oldStyle = Canvas.Brush()->Style();
    const TColor oldColor = Canvas.Brush()->Color();
    Canvas.Brush()->SetStyle(bsClear);
    for (qsizetype i = 0; i < Text.size(); ++i)
        if (Text[i] == u' ') Canvas.TextOut(X0 + Lefts[static_cast<size_t>(i)], Top, QString(QChar(0xB7)));
    Canvas.Brush()->SetColor(oldColor);
    Canvas.Brush()->SetStyle(oldStyle);
}

} // namespace

// ---------------------------------------------------------------------------
void TRPBorder::Draw(const TRPBounds& Rect, TCanvas& Canvas) const {
    if (Style == rpbNone) return;
    TRPBounds r = Rect;
    BorderOffsets.InflateRect(r);
    DrawRect(r, Canvas, rpcmColor, 1, InternalWidth, Width);
}

void TRPBorder::DrawScaled(const TRPBounds& Rect, TCanvas& Canvas, TRPColorMode ColorMode,
                           const TRPResolution& Res) const {
    if (Style == rpbNone) return;
    TRPBounds r = Rect;
    BorderOffsets.InflateRectScaled(r, Res);
    DrawRect(r, Canvas, ColorMode, MulDiv(1, Res.DeviceY, Res.ScreenY),
             MulDiv(InternalWidth, Res.DeviceY, Res.ScreenY), MulDiv(Width, Res.DeviceY, Res.ScreenY));
}

void TRPBorder::DrawRect(const TRPBounds& Rect, TCanvas& Canvas, TRPColorMode ColorMode, int OnePixel,
                         int AInternalWidth, int AWidth) const {
    int count = 0;
    switch (Style) {
    case rpbSingle:
        count = 1;
        break;
    case rpbDouble:
    case rpbThickInside:
    case rpbThickOutside:
        count = 2;
        break;
    case rpbTriple:
        count = 3;
        break;
    default:
        return;
    }
    TPen* pen = Canvas.Pen();
    pen->SetStyle(psInsideFrame);
    pen->SetColor(PrintedColor(Color, ColorMode));
    TRPBounds r = Rect;
    for (int line = count; line >= 1; --line) {
        const bool thick = (Style == rpbThickOutside && line == 1) || (Style == rpbThickInside && line == 2);
        pen->SetWidth(thick ? 2 * AWidth : AWidth);
        if (VisibleBorders.Top) SideLine(Canvas, r.Left, r.Top, r.Right, r.Top);
        if (VisibleBorders.Right) SideLine(Canvas, r.Right, r.Top, r.Right, r.Bottom);
        if (VisibleBorders.Bottom) SideLine(Canvas, r.Left, r.Bottom, r.Right, r.Bottom);
        if (VisibleBorders.Left) SideLine(Canvas, r.Left, r.Top, r.Left, r.Bottom);
        const int grow = AInternalWidth + OnePixel;
        r.Left -= grow;
        r.Top -= grow;
        r.Right += grow;
        r.Bottom += grow;
        if (AWidth == 1 && Style == rpbThickOutside) {
            r.Right += OnePixel;
            r.Bottom += OnePixel;
        }
        if (AWidth == 1 && Style == rpbThickInside) {
            r.Left -= OnePixel;
            r.Top -= OnePixel;
        }
    }
    pen->SetWidth(1);
}

void TRPBackgroundRect::Draw(const TRPBounds& Rect, TCanvas& Canvas, TRPColorMode ColorMode,
                             bool Printing) const {
    if (Color == clNone) return;
    if (Printing && (ColorMode == rpcmBlackAndWhite || ColorMode == rpcmBlackOnWhite)) return;
    TColor c = SysColorToPrintColor(Color);
    if (ColorMode == rpcmGrayScale) c = GetLuminanceGray(c);
    Canvas.Pen()->SetStyle(psClear);
    Canvas.Brush()->SetColor(c);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Rectangle(Rect.Left, Rect.Top, Rect.Right + 1, Rect.Bottom + 1);
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Brush()->SetStyle(bsClear);
}

// ---------------------------------------------------------------------------
void TFontInfo::AssignFromFont(const TFont& Font) {
    FontName = CodePage::ToCp1252(Font.Name());
    Size = Font.Size();
    Color = Font.Color();
    Style = static_cast<TRPFontStyleSet>(Font.Style() & 15u);
    Charset = Font.Charset();
}

void TFontInfo::AssignTo(TFont& Font) const {
    Font.SetName(CodePage::FromCp1252(FontName));
    Font.SetSize(Size);
    Font.SetColor(Color);
    Font.SetStyle(Style);
    if (!Unicode) Font.SetCharset(Charset);
}

int TFontInfo::PixelsPerInchFor(const TCanvas& Canvas) const {
    auto infos = dynamic_cast<const TFontInfos*>(Collection());
    if (infos && infos->PixelsPerInch > 0) return infos->PixelsPerInch;
    return Canvas.Font()->PixelsPerInch();
}

void TFontInfo::AssignToLogFont(TFont& LogFont, const TCanvas& Canvas) const {
    LogFont = TFont();
    LogFont.SetColor(clBlack);
    LogFont.SetName(CodePage::FromCp1252(FontName));
    LogFont.SetHeight(-MulDiv(Size, PixelsPerInchFor(Canvas), 72));
    LogFont.SetStyle(Style);
    LogFont.SetCharset(Charset);
}

void TFontInfo::Apply(TCanvas& Canvas, TRPBiDiMode DefBiDiMode) const {
    TFont* f = Canvas.Font();
    f->SetStyle(Style);
    // Scaled characters are measured, drawn and printed at their width.
    f->SetStretch(CharScale);
    auto infos = dynamic_cast<const TFontInfos*>(Collection());
    if (infos && infos->PixelsPerInch > 0)
        f->SetHeight(-MulDiv(Size, infos->PixelsPerInch, 72));
    else
        f->SetSize(Size);
    f->SetName(CodePage::FromCp1252(FontName));
    f->SetCharset(Charset);
    // Runs with a reading direction get no extra spacing; Qt orders the
    // characters of right-to-left runs itself.
    const TRPBiDiMode bidi = BiDiMode != rpbdUnspecified ? BiDiMode : DefBiDiMode;
    Canvas.SetTextCharacterExtra(bidi == rpbdUnspecified ? CharSpacing : 0);
}

void TFontInfo::ApplyColor(TCanvas& Canvas, const TRPStyle& RPStyle, TRPTextDrawStates DrawState,
                           bool Printing, TRPColorMode ColorMode) const {
    TColor text, back;
    if (DrawState & rptdsSelected) {
        const bool focused = (DrawState & rptdsFocused) != 0;
        back = focused ? RPStyle.SelColor : RPStyle.InactiveSelColor;
        text = focused ? RPStyle.SelTextColor : RPStyle.InactiveSelTextColor;
        if (text == clNone) text = Color;
    } else if (DrawState & rptdsHover) {
        text = RPStyle.GetHoverColor(HoverColor);
        if (text == clNone) text = Color;
        back = HoverBackColor;
    } else if (!Printing) {
        text = Color;
        back = BackColor;
    } else {
        switch (ColorMode) {
        case rpcmPrinterColor:
            text = SysColorToPrintColor(Color);
            back = BackColor == clNone ? clNone : SysColorToPrintColor(BackColor);
            break;
        case rpcmGrayScale:
            text = GetLuminanceGray(SysColorToPrintColor(Color));
            back = BackColor == clNone ? clNone : GetLuminanceGray(SysColorToPrintColor(BackColor));
            break;
        case rpcmBlackAndWhite:
            if (BackColor == clNone) {
                back = clNone;
                text = GetPrintTextColor(Color, ColorMode);
            } else if (GetLuminance(SysColorToPrintColor(BackColor)) >
                       GetLuminance(SysColorToPrintColor(Color))) {
                back = clWhite;
                text = clBlack;
            } else {
                back = clBlack;
                text = clWhite;
            }
            break;
        case rpcmBlackOnWhite:
            text = clBlack;
            back = clNone;
            break;
        default:
            text = Color;
            back = BackColor;
            break;
        }
    }
    Canvas.Font()->SetColor(text);
    Canvas.Brush()->SetColor(back);
    Canvas.Brush()->SetStyle(back == clNone ? bsClear : bsSolid);
}

QString TFontInfo::DisplayText(const std::string& s) const {
    return ItemTextToQString(s, Unicode ? rpioUnicode : 0, CharsetToCodePage(Charset));
}

void TFontInfo::DrawText(const std::string& s, TCanvas& Canvas, TRPBiDiMode DefBiDiMode, bool Printing,
                         bool Justify, TRPTextDrawStates DrawState, TRPStyle* RPStyle, int Left, int Top,
                         int Width, int Height, int SpaceBefore, int StyleNo, int MeasuredWidth) const {
    const QString text = DisplayText(s);
    const TRPBiDiMode bidi = BiDiMode != rpbdUnspecified ? BiDiMode : DefBiDiMode;
    const int x0 = Left + SpaceBefore;
    const int extra = Canvas.TextCharacterExtra();
    const int n = static_cast<int>(text.size());
    // Extent of every prefix as the canvas draws it (character extra
    // included), measured only where characters are placed one by one.
    std::vector<int> ext;
    const auto measure = [&] {
        if (!ext.empty() || n == 0) return;
        ext = TextMetrics().PrefixWidths(*Canvas.Font(), text);
        for (int i = 0; i < n; ++i)
            ext[static_cast<size_t>(i)] += extra * (i + 1);
    };
    const auto textWidth = [&] {
        if (n == 0) return 0;
        if (MeasuredWidth >= 0) return MeasuredWidth;
        measure();
        return ext.back();
    };
    // Left edge of every character as drawn.
    std::vector<int> lefts;
    const auto measureLefts = [&] {
        measure();
        lefts.assign(static_cast<size_t>(n), 0);
        for (int i = 1; i < n; ++i)
            lefts[static_cast<size_t>(i)] = ext[static_cast<size_t>(i - 1)];
    };

    bool placed = false;
    if ((Printing || Justify) && bidi == rpbdUnspecified && n >= 2) {
        int freeWidth = Justify ? Width - SpaceBefore - textWidth() : 0;
        if (Justify ? freeWidth > 0 : extra != 0) {
            placed = true;
            measureLefts();
            if (Canvas.Brush()->Style() != bsClear)
                Canvas.FillRect(TRect{Left, Top, Left + Width, Top + Height});
            const TBrushStyle oldStyle = Canvas.Brush()->Style();
            const TColor oldColor = Canvas.Brush()->Color();
            Canvas.Brush()->SetStyle(bsClear);
            // Each character goes to its own place, so the canvas adds nothing.
            Canvas.SetTextCharacterExtra(0);
            int x = x0, before = 0;
            for (int i = 0; i < n; ++i) {
                const int w = ext[static_cast<size_t>(i)] - before;
                before = ext[static_cast<size_t>(i)];
                int add = 0;
                if (Justify) {
                    add = freeWidth / (n - i);
                    freeWidth -= add;
                }
                lefts[static_cast<size_t>(i)] = x - x0;
                Canvas.TextOut(x, Top, text.mid(i, 1));
                x += w + add;
            }
            Canvas.SetTextCharacterExtra(extra);
            Canvas.Brush()->SetColor(oldColor);
            Canvas.Brush()->SetStyle(oldStyle);
        }
    }
    if (!placed) Canvas.TextOutMeasured(x0, Top, text, textWidth());

    if (DrawState & rptdsSpecialChars) {
        if (!placed) measureLefts();
        DrawSpaceMarks(Canvas, text, x0, Top, lefts);
    }
    if (SpaceBefore != 0 && !placed) {
        if ((DrawState & rptdsSelected) && s.empty() && RPStyle)
            RPStyle->ApplyStyleColor(Canvas, StyleNo, DrawState & ~rptdsSelected, Printing, rpcmColor);
        if (Canvas.Brush()->Style() != bsClear)
            Canvas.FillRect(TRect{Left, Top, Left + SpaceBefore, Top + Height});
    }
    Canvas.Brush()->SetStyle(bsClear);
    const bool underline = (Canvas.Font()->Style() & fsUnderline) != 0;
    if ((SpaceBefore != 0 && underline) || (StyleEx & rpfsOverline)) {
        int pos = 0, size = 1;
        UnderlineMetrics(*Canvas.Font(), pos, size);
        TPen old;
        old.Assign(*Canvas.Pen());
        Canvas.Pen()->SetStyle(psSolid);
        Canvas.Pen()->SetColor(Canvas.Font()->Color());
        Canvas.Pen()->SetWidth(size);
        if (SpaceBefore != 0 && underline) {
            Canvas.MoveTo(Left, Top + pos);
            Canvas.LineTo(Left + SpaceBefore + 1, Top + pos);
        }
        if (StyleEx & rpfsOverline) {
            Canvas.MoveTo(Left, Top);
            Canvas.LineTo(Left + Width, Top);
        }
        Canvas.Pen()->Assign(old);
    }
}

// ---------------------------------------------------------------------------
void TRPStyle::ApplyStyle(TCanvas& Canvas, int StyleNo, TRPBiDiMode DefBiDiMode) {
    bool doDefault = true;
    if (OnApplyStyle) OnApplyStyle(this, &Canvas, StyleNo, doDefault);
    if (doDefault) FTextStyles->GetItem(StyleNo)->Apply(Canvas, DefBiDiMode);
}

void TRPStyle::ApplyStyleColor(TCanvas& Canvas, int StyleNo, TRPTextDrawStates DrawState, bool Printing,
                               TRPColorMode ColorMode) {
    bool doDefault = true;
    if (OnApplyStyleColor) OnApplyStyleColor(this, &Canvas, StyleNo, DrawState, doDefault);
    if (doDefault) FTextStyles->GetItem(StyleNo)->ApplyColor(Canvas, *this, DrawState, Printing, ColorMode);
}

void TRPStyle::DrawStyleText(const std::string& s, TCanvas& Canvas, int StyleNo, int SpaceBefore, int Left,
                             int Top, int Width, int Height, TRPTextDrawStates DrawState, bool Printing,
                             bool Justify, TRPBiDiMode DefBiDiMode, TCustomRPData* RPData, int ItemNo,
                             int Offs, int MeasuredWidth) {
    const TFontInfo* style = FTextStyles->GetItem(StyleNo);
    const std::string text = ApplyAllCapsToText(s, *style);
    bool doDefault = true;
    if (OnDrawStyleText) {
        FDrawingRPData = RPData;
        FDrawingItemNo = ItemNo;
        FDrawingOffs = Offs;
        OnDrawStyleText(this, text, &Canvas, StyleNo, SpaceBefore, Left, Top, Width, Height, DrawState,
                        doDefault);
        FDrawingRPData = nullptr;
        FDrawingItemNo = -1;
        FDrawingOffs = 0;
    }
    if (doDefault)
        style->DrawText(text, Canvas, DefBiDiMode, Printing, Justify, DrawState, this, Left, Top, Width,
                        Height, SpaceBefore, StyleNo, MeasuredWidth);
}

void TRPStyle::DrawCheckpoint(TCanvas& Canvas, int X, int Y, int ItemNo, int XShift, bool RaiseEvent,
                              TControl* Control) {
    bool doDefault = true;
    if (OnDrawCheckpoint)
        OnDrawCheckpoint(this, &Canvas, X, Y, ItemNo, XShift, RaiseEvent, Control, doDefault);
    if (!doDefault) return;
    TPen* pen = Canvas.Pen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    pen->SetColor(RaiseEvent ? CheckpointEvColor : CheckpointColor);
    Canvas.Brush()->SetStyle(bsClear);
    if (ItemNo != -1) Canvas.Ellipse(X - 2, Y - 2, X + 2, Y + 2);
    pen->SetStyle(psDot);
    Canvas.MoveTo(-XShift, Y);
    Canvas.LineTo(Control ? Control->Width() : 0, Y);
    pen->SetStyle(psSolid);
    Canvas.Brush()->SetStyle(bsClear);
}

void TRPStyle::DrawPageBreak(TCanvas& Canvas, int Y, int XShift, TRPPageBreakType PageBreakType,
                             TControl* Control) {
    bool doDefault = true;
    if (OnDrawPageBreak) OnDrawPageBreak(this, &Canvas, Y, XShift, PageBreakType, Control, doDefault);
    if (!doDefault) return;
    TPen* pen = Canvas.Pen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    pen->SetColor(PageBreakType == rppbtHard ? PageBreakColor : SoftPageBreakColor);
    const int x2 = (Control ? Control->ClientWidth() : 0) - XShift - 8;
    Canvas.MoveTo(-XShift, Y);
    Canvas.LineTo(x2, Y);
    Canvas.Brush()->SetColor(clWindow);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Polygon({TPoint{x2, Y}, TPoint{x2 + 8, Y + 8}, TPoint{x2, Y + 8}});
    pen->SetStyle(psSolid);
    Canvas.Brush()->SetStyle(bsClear);
}

void TRPStyle::DrawParaBack(TCanvas& Canvas, int ParaNo, const TRPBounds& Rect, bool Printing,
                            TRPColorMode ColorMode) {
    bool doDefault = true;
    if (OnDrawParaBack) OnDrawParaBack(this, &Canvas, ParaNo, Rect, doDefault);
    if (doDefault) FParaStyles->GetItem(ParaNo)->Background.Draw(Rect, Canvas, ColorMode, Printing);
}
