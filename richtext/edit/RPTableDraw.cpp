// Painting a laid-out table: background, rules, the outer border, and every
// cell with its background, its document and its border.
#include <algorithm>

#include "platform/Runtime.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/view/RPPrintableData.h"

namespace {

TColor ForeColor(TColor c, TRPColorMode Mode) {
    return Mode == rpcmColor ? ColorToRGB(c) : GetPrintTextColor(c, Mode);
}

TColor BackColor(TColor c, TRPColorMode Mode) {
    return Mode == rpcmColor ? ColorToRGB(c) : GetPrintBackColor(c, Mode);
}

bool Meets(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TRPBounds Bounds(const TRect& r) {
    return TRPBounds{r.Left, r.Top, r.Right, r.Bottom};
}

// A background picture with Color beneath, over Full and clipped to Clip: on
// the screen pixel for pixel; when printing (Res set) scaled to the device,
// the printed document Doc painting what lies behind a transparent picture.
void DrawBackground(const TRPBackground& Back, TCanvas& Canvas, const TRect& Full, const TRect& Clip,
                    TColor Color, const TRPResolution* Res, TCustomRPData* Doc = nullptr);

TRect Intersect(const TRect& a, const TRect& b) {
    return Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom));
}

void DrawBackground(const TRPBackground& Back, TCanvas& Canvas, const TRect& Full, const TRect& Clip,
                    TColor Color, const TRPResolution* Res, TCustomRPData* Doc) {
    const TRect r = Intersect(Full, Clip);
    if (Res)
        Back.DrawClipped(Canvas, Bounds(r), Bounds(Full), *Res, Color, true, nullptr, Doc);
    else
        Back.Draw(Canvas, Bounds(r), 0, 0, Full.Left, Full.Top, Full.Width(), Full.Height(), Color, true);
}

void Line(TCanvas& Canvas, int x1, int y1, int x2, int y2) {
    Canvas.MoveTo(x1, y1);
    Canvas.LineTo(x2, y2);
}

// A border on paper: each visible side one line of the full width W, its
// middle half the width inside the rectangle (Right and Bottom are its last
// pixels). Top and left take First, bottom and right Second (clNone: not drawn).
void WideSides(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, int W, const TRPBooleanRect& Vis,
               TColor First, TColor Second) {
    const int l = Left + W / 2, t = Top + W / 2, r = Right - (W - 1) / 2, b = Bottom - (W - 1) / 2;
    Canvas.Pen()->SetWidth(W);
    if (First != clNone) {
        Canvas.Pen()->SetColor(First);
        if (Vis.Top) Line(Canvas, Left, t, r + 1, t);
        if (Vis.Left) Line(Canvas, l, Top, l, b + 1);
    }
    if (Second != clNone) {
        Canvas.Pen()->SetColor(Second);
        if (Vis.Bottom) Line(Canvas, l, b, Right + 1, b);
        if (Vis.Right) Line(Canvas, r, t, r, Bottom + 1);
    }
    Canvas.Pen()->SetWidth(1);
}

} // namespace

struct TRPTableItemInfo::TPaintRun {
    TCanvas* Canvas = nullptr;
    TRect Clip;
    TRPTableItemFormattingInfo* Info = nullptr;
    int State = 0;
    TRPColorMode Mode = rpcmColor;
    TColor SelColor = clNone;
    bool Printing = false;
    bool ShowGrid = false;
    int X = 0, Y = 0;
};

int TRPTableItemInfo::GetVAlignOffset(int Top, int Bottom, TRPCellVAlign VAlign) {
    switch (VAlign) {
    case rpcMiddle:
        return (Bottom - Top) / 2;
    case rpcBottom:
        return Bottom - Top;
    default:
        return 0;
    }
}

// Dots at 0, 2 and 4 of every eight pixels from the line's start, as far
// as the line lies in Clip.
void TRPTableItemInfo::DrawDottedVLine(TCanvas& Canvas, int X, int Top, int Bottom, const TRect& Clip) {
    if (X < Clip.Left || X >= Clip.Right) return;
    const TColor c = Canvas.Pen()->Color();
    for (int y = std::max(Top, Clip.Top); y < std::min(Bottom, Clip.Bottom); ++y)
        if (const int k = (y - Top) % 8; k == 0 || k == 2 || k == 4) Canvas.SetPixel(X, y, c);
}

void TRPTableItemInfo::DrawDottedHLine(TCanvas& Canvas, int Left, int Right, int Y, const TRect& Clip) {
    if (Y < Clip.Top || Y >= Clip.Bottom) return;
    const TColor c = Canvas.Pen()->Color();
    for (int x = std::max(Left, Clip.Left); x < std::min(Right, Clip.Right); ++x)
        if (const int k = (x - Left) % 8; k == 0 || k == 2 || k == 4) Canvas.SetPixel(x, Y, c);
}

void TRPTableItemInfo::PaintFullWidth(int Left, int Right, int Top, TCanvas* Canvas, TRPTextDrawStates State,
                                      const TRPStyle* RPStyle, const TRPBounds& ClipRect,
                                      TCustomRPData* RPData) {
    (void)Right, (void)RPStyle;
    if (!Canvas) return;
    // The painter gives the line's left edge; the table sits where its draw
    // item was placed (indents, alignment).
    int x = Left;
    if (auto* fd = dynamic_cast<TCustomRPFormattedData*>(RPData);
        fd && DrawItemNo >= 0 && DrawItemNo < fd->DrawItemCount()) {
        if (const TRPDrawLineInfo* d = fd->DrawItem(DrawItemNo)) x = d->Left + Left - fd->GetLeftMargin();
    }
    const TRect clip = Rect(0, 0, ClipRect.Right - ClipRect.Left, ClipRect.Bottom - ClipRect.Top);
    // The table is the host's selection while a cell is edited: it is not shown as one.
    const bool selected = (State & rptdsSelected) && !FInplaceEditor;
    try {
        PaintTo(*Canvas, x, Top, clip, FormattingInfo, selected ? rptpsWholeSelected : 0, rpcmColor);
    } catch (...) {
        // Painting never lets a failure escape into the paint message.
    }
}

void TRPTableItemInfo::PaintTo(TCanvas& Canvas, int X, int Y, const TRect& ClipRect,
                               TRPTableItemFormattingInfo& Info, int PaintState, TRPColorMode ColorMode,
                               int FirstRow, int RowCount, bool RepeatHeadings) {
    TPaintRun P;
    P.Canvas = &Canvas;
    P.Clip = ClipRect;
    P.Info = &Info;
    P.State = PaintState;
    P.Mode = ColorMode;
    P.Printing = (PaintState & rptpsPrinting) != 0;
    P.ShowGrid = (TableState & rptbsEditorDoc) && !(Options & rptoHideGridLines);
    P.X = X;
    P.Y = Y;
    TCustomRPData* doc = GetRPData();
    if (const TRPStyle* style = doc ? doc->GetRPStyle() : nullptr) {
        // A table nested in a cell asks the control that shows the whole
        // document whether it (or a cell editor of it) has the focus.
        const auto focused = [](TCustomRPData* D) {
            auto* fd = dynamic_cast<TCustomRPFormattedData*>(D);
            return fd && fd->IsFocused();
        };
        P.SelColor =
            focused(doc) || focused(doc->GetAbsoluteRootData()) ? style->SelColor : style->InactiveSelColor;
    }
    DrawLeft = X;
    DrawTop = Y;
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    if (Info.RowStarts.Count() != R || Info.ColStarts.Count() != C) return;

    // Rows to paint and the rectangle of the table (or of the printed part).
    int first = 0, last = R - 1, heads = 0, shift = 0;
    // Cells spaced closer than their height may stand above the rows before
    // them: then every row is looked at.
    const bool climbing = Info.RowsClimb;
    TRect rect = Rect(X, Y, X + Info.Width, Y + Info.Height);
    if (P.Printing && R > 0) {
        if (RowCount < 0) RowCount = R - FirstRow;
        first = FirstRow;
        last = FirstRow + RowCount - 1;
        heads = RepeatHeadings ? std::min(HeadingRowCount, FirstRow) : 0;
        int h = RPCoordSum(Info.RowStarts[0], Info.Height, -Info.RowStarts[R - 1], -Info.RowHeights[R - 1]);
        if (RowCount > 0)
            h = RPCoordSum(h, Info.RowStarts[last], Info.RowHeights[last], -Info.RowStarts[first]);
        if (heads > 0) {
            h = RPCoordSum(h, Info.RowStarts[heads - 1], Info.RowHeights[heads - 1], -Info.RowStarts[0]);
            if (RowCount > 0)
                h = RPCoordSum(h, Info.RowStarts[heads], -Info.RowStarts[heads - 1],
                               -Info.RowHeights[heads - 1]);
        }
        rect.Bottom = Y + h;
        shift = Info.RowStarts[first] - Info.RowStarts[heads];
    } else if (R > 0 && !climbing) {
        // A cell's border lies outside its box: with the cells spaced by
        // less than their borders, that of a row above reaches into the next,
        // and spaced closer still, its box does, past rows of little height.
        const int cb = ScaleX(CellBorderWidth), pad2 = ScaleY(2 * CellPadding);
        first = FindListIndex(Info.RowStarts, ClipRect.Top - Y - cb);
        while (first > 0 &&
               RPCoordSum(Y, Info.RowStarts[first - 1], pad2, Info.RowHeights[first - 1], cb) > ClipRect.Top)
            --first;
    }

    DrawOwnBackground(Canvas, rect, ClipRect, ColorMode, P.Printing);
    if (P.Printing) {
        // The printed part, for the backgrounds its cells' documents draw (PrintBackground).
        const auto sx = [&](int v) { return Resolution ? DeviceToScreenX(v, *Resolution) : v; };
        const auto sy = [&](int v) { return Resolution ? DeviceToScreenY(v, *Resolution) : v; };
        FPrintingPartBox = Rect(0, 0, sx(rect.Width()), sy(rect.Height()));
    }
    if (R == 0 || C == 0) {
        DrawBorder(Canvas, rect.Left, rect.Top, rect.Right, rect.Bottom, BorderWidth, BorderLightColor,
                   BorderColor, clWindow, BorderStyle, P.Printing, P.ShowGrid, nullptr, -1, -1, ClipRect,
                   ColorMode);
        return;
    }

    // Rules.
    const bool vRules = VRuleWidth != 0 && VRuleColor != clNone;
    const bool hRules = HRuleWidth != 0 && HRuleColor != clNone;
    if (vRules) {
        const int w = ScaleX(VRuleWidth);
        Canvas.Pen()->SetWidth(1);
        Canvas.Pen()->SetStyle(psSolid);
        Canvas.Pen()->SetColor(ForeColor(VRuleColor, ColorMode));
        int top = rect.Top, bottom = rect.Bottom;
        // Spaced below zero, the outer rules stay on the table's edges.
        if (hRules && HOutermostRule) {
            top += std::max(0, ScaleX(BorderWidth + BorderVSpacing / 2));
            bottom -= std::max(0, ScaleX(BorderWidth + BorderVSpacing / 2));
        }
        top = std::max(top, ClipRect.Top - 1);
        bottom = std::min(bottom, ClipRect.Bottom + 1);
        const auto rule = [&](int x) {
            for (int i = 0; i < w; ++i)
                Line(Canvas, x - w / 2 + i, top, x - w / 2 + i, bottom);
        };
        for (int k = 1; k < C; ++k) {
            const int x = X + Info.ColStarts[k] - (ScaleX(CellHSpacing + 2 * CellBorderWidth) + 1) / 2;
            if (x - w > ClipRect.Right) break;
            rule(x);
        }
        if (VOutermostRule) {
            const int in = std::max(0, ScaleX(BorderWidth + BorderHSpacing / 2));
            rule(X + in);
            rule(X + Info.Width - in - 1 + (w % 2 == 0 ? 1 : 0));
        }
    }
    if (hRules) {
        const int w = ScaleY(HRuleWidth);
        Canvas.Pen()->SetWidth(1);
        Canvas.Pen()->SetStyle(psSolid);
        Canvas.Pen()->SetColor(ForeColor(HRuleColor, ColorMode));
        int left = rect.Left, right = rect.Right;
        if (vRules && VOutermostRule) {
            left += std::max(0, ScaleY(BorderWidth + BorderHSpacing / 2));
            right -= std::max(0, ScaleY(BorderWidth + BorderHSpacing / 2));
        }
        left = std::max(left, ClipRect.Left - 1);
        right = std::min(right, ClipRect.Right + 1);
        const auto rule = [&](int y) {
            for (int i = 0; i < w; ++i)
                Line(Canvas, left, y - w / 2 + i, right, y - w / 2 + i);
        };
        const int gap = (ScaleY(CellVSpacing + 2 * CellBorderWidth) + 1) / 2;
        const auto rowY = [&](int r) {
            return Y + Info.RowStarts[r] - (r >= first && P.Printing ? shift : 0);
        };
        for (int r = 1; r < heads; ++r)
            rule(rowY(r) - gap);
        if (heads > 0) rule(Y + Info.RowStarts[heads] - gap);
        for (int r = std::max(first + (P.Printing && heads == 0 ? 1 : 0), 1); r <= last; ++r) {
            if (P.Printing && r == first) continue;
            const int y = rowY(r) - gap;
            if (y - w > ClipRect.Bottom) break;
            rule(y);
        }
        if (HOutermostRule) {
            const int in = std::max(0, ScaleY(BorderWidth + BorderVSpacing / 2));
            if (P.Printing || first <= 1) rule(rect.Top + in);
            rule(rect.Bottom - in - 1 + (w % 2 == 0 ? 1 : 0));
        }
    }

    // The outer border.
    TColor docBack = clWindow;
    if (auto* fd = dynamic_cast<TCustomRPFormattedData*>(doc); fd && fd->GetColor() != clNone)
        docBack = fd->GetColor();
    DrawBorder(Canvas, rect.Left, rect.Top, rect.Right, rect.Bottom, BorderWidth, BorderLightColor,
               BorderColor, docBack, BorderStyle, P.Printing, P.ShowGrid, nullptr, -1, -1, ClipRect,
               ColorMode);

    // A cell that starts above the first painted row but reaches into it.
    if (!P.Printing && first > 0)
        for (int c = 0; c < C; ++c) {
            int mr, mc;
            const TRPTableCellData* main = Rows->GetMainCell(first, c, mr, mc);
            if (!main || mr >= first || mc != c) continue;
            DrawCell(P, mr, mc, X + Info.ColStarts[mc], Y + Info.RowStarts[mr]);
        }
    for (int r = 0; r < heads; ++r)
        for (int c = 0; c < C; ++c)
            if (Rows->GetCell(r, c)) DrawCell(P, r, c, X + Info.ColStarts[c], Y + Info.RowStarts[r]);
    // A row's cells with their borders, which start above and left of their boxes.
    const int cb = ScaleX(CellBorderWidth);
    for (int r = first; r <= last; ++r) {
        const int y = Y + Info.RowStarts[r] - (P.Printing ? shift : 0);
        if (y - cb > ClipRect.Bottom) {
            if (climbing) continue;
            break;
        }
        for (int c = 0; c < C; ++c) {
            const int x = X + Info.ColStarts[c];
            if (x - cb > ClipRect.Right) break;
            if (Rows->GetCell(r, c)) DrawCell(P, r, c, x, y);
        }
    }
}

void TRPTableItemInfo::DrawOwnBackground(TCanvas& Canvas, const TRect& Full, const TRect& Clip,
                                         TRPColorMode ColorMode, bool Printing) {
    TColor back = Color;
    if (Printing && (PrintOptions & rptoWhiteBackground) && back != clNone) back = clWhite;
    if (FBackground && !FBackground->IsBlank()) {
        DrawBackground(*FBackground, Canvas, Full, Clip, back == clNone ? clNone : BackColor(back, ColorMode),
                       Printing ? Resolution : nullptr, Printing ? PrintingRPData : nullptr);
    } else if (back != clNone) {
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(BackColor(back, ColorMode));
        Canvas.FillRect(Intersect(Full, Clip));
    }
}

void TRPTableItemInfo::DrawTableBackgroundUnderCell(TCanvas& Canvas, int X, int Y,
                                                    const TRPTableCellData& Cell, const TRect& Clip) {
    const TRect table = Rect(X, Y, X + FormattingInfo.Width, Y + FormattingInfo.Height);
    DrawOwnBackground(Canvas, table, Clip, rpcmColor, false);
    const TRPBackground* picture = const_cast<TRPTableCellData&>(Cell).GetBackground();
    if (!picture) return;
    TRect fill = Rect(X + Cell.Left, Y + Cell.Top, X + Cell.Left + Cell.Width, Y + Cell.Top + Cell.Height);
    if (Options & rptoCellBelowBorders) {
        const int cb = ScaleX(CellBorderWidth);
        fill = Rect(fill.Left - cb, fill.Top - cb, fill.Right + cb, fill.Bottom + cb);
    }
    DrawBackground(*picture, Canvas, fill, Clip, Cell.Color == clNone ? clNone : ColorToRGB(Cell.Color),
                   nullptr);
}

void TRPTableItemInfo::DrawCell(TPaintRun& P, int Row, int Col, int X, int Y) {
    TRPTableCellData* cell = Rows->GetCell(Row, Col);
    TCanvas& Canvas = *P.Canvas;
    const int C = Rows->GetColCount();
    const size_t index = static_cast<size_t>(Row * C + Col);
    const bool printBox = P.Printing && index < P.Info->CellBoxes.size();
    const TRect cellBox =
        printBox ? P.Info->CellBoxes[index]
                 : Rect(cell->Left, cell->Top, cell->Left + cell->Width, cell->Top + cell->Height);
    // The box in canvas coordinates: the cell's place relative to its row and column start.
    const int left = X + cellBox.Left - P.Info->ColStarts[Col];
    const int top = Y + cellBox.Top - P.Info->RowStarts[Row];
    TRect box = Rect(left, top, left + cellBox.Width(), top + cellBox.Height());
    TColor color = cell->Color;
    // A whole selected table marks its cells for the drawing only; cells of
    // the table's own cell selection carry the mark already.
    const bool inCellSelection = !P.Printing && (cell->State & rpcsSelected) != 0;
    const bool selected = ((P.State & rptpsWholeSelected) || inCellSelection) && P.SelColor != clNone;
    const bool markForDrawing = selected && !inCellSelection;
    if (selected) {
        color = P.SelColor;
        cell->State |= rpcsSelected;
    } else if (!P.Printing && color == clNone && FInplaceEditor && FInplaceEditor->Cell == cell &&
               FInplaceEditor->TransparentCell) {
        // The transparent editor paints what lies behind its cell itself; the
        // host fills the place opaque below it.
        color = clWindow;
    }
    const int cb = ScaleX(CellBorderWidth);
    if (color != clNone || cell->GetBackground()) {
        TRect fill = box;
        if (Options & rptoCellBelowBorders)
            fill = Rect(box.Left - cb, box.Top - cb, box.Right + cb, box.Bottom + cb);
        if (color != clNone) {
            Canvas.Brush()->SetStyle(bsSolid);
            Canvas.Brush()->SetColor(BackColor(color, P.Mode));
            Canvas.FillRect(Intersect(fill, P.Clip));
        }
        if (!selected && cell->GetBackground())
            DrawBackground(*cell->GetBackground(), Canvas, fill, P.Clip,
                           color == clNone ? clNone : BackColor(color, P.Mode),
                           P.Printing ? Resolution : nullptr, P.Printing ? PrintingRPData : nullptr);
    }
    if (!P.Printing) {
        // The cell's offsets follow the table's drawing origin; the document
        // paints in canvas coordinates whose corner is the canvas's own.
        Canvas.Brush()->SetStyle(bsClear);
        // A selected cell's text takes the selection's text colour, as a
        // wholly selected document's does.
        const bool setWhole = selected && !(cell->State & rpstWholeSelected);
        if (setWhole) cell->State |= rpstWholeSelected;
        if (Meets(box, P.Clip)) cell->PaintDocument(Canvas, Rect(0, 0, P.Clip.Right, P.Clip.Bottom));
        if (setWhole) cell->State &= ~rpstWholeSelected;
    }
    if (P.Printing && P.Info->CellPrintDocs && index < static_cast<size_t>(P.Info->CellPrintDocs->Count())) {
        if (auto* p = dynamic_cast<TRectPtblRPData*>(P.Info->CellPrintDocs->Get(static_cast<int>(index)))) {
            const int padX = ScaleX(CellPadding), padY = ScaleY(CellPadding);
            p->Left = box.Left + padX;
            p->Top = box.Top + padY +
                     GetVAlignOffset(0, box.Height() - 2 * padY - p->DocumentHeight, GetCellVAlign(*cell));
            p->DX = p->DY = 0;
            p->Width = box.Width() - 2 * padX;
            p->Height = box.Height() - 2 * padY;
            // What the cell's document draws on a background of its own
            // finds the cell here (PrintBackground).
            const auto sx = [&](int v) {
                return Resolution ? DeviceToScreenX(v - P.X, *Resolution) : v - P.X;
            };
            const auto sy = [&](int v) {
                return Resolution ? DeviceToScreenY(v - P.Y, *Resolution) : v - P.Y;
            };
            FPrintingCell = cell;
            FPrintingCellBox = Rect(sx(box.Left), sy(box.Top), sx(box.Right), sy(box.Bottom));
            try {
                p->DrawPage(1, Canvas, false, false);
            } catch (...) {
                FPrintingCell = nullptr;
                throw;
            }
            FPrintingCell = nullptr;
        }
    }
    if (markForDrawing) cell->State &= ~rpcsSelected;
    const TColor bc = cell->BorderColor == clNone ? CellBorderColor : cell->BorderColor;
    const TColor blc = cell->BorderLightColor == clNone ? CellBorderLightColor : cell->BorderLightColor;
    DrawBorder(Canvas, box.Left - cb, box.Top - cb, box.Right + cb, box.Bottom + cb, CellBorderWidth, blc, bc,
               Color, CellBorderStyle, P.Printing, P.ShowGrid, &cell->VisibleBorders, Row, Col, P.Clip,
               P.Mode);
}

// Whether a neighbouring border lies on side Side (0 left, 1 top, 2 right,
// 3 bottom) of the cell at (Row, Col): only where the spacing is negative.
bool TRPTableItemInfo::BorderOnSide(int Row, int Col, int Side) const {
    const TRPTableCellData* cell = Rows->GetCell(Row, Col);
    if (!cell) return false;
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    const bool vert = Side == 1 || Side == 3;
    const bool outer = (Side == 0 && Col == 0) || (Side == 1 && Row == 0) ||
                       (Side == 2 && Col + cell->ColSpan >= C) || (Side == 3 && Row + cell->RowSpan >= R);
    if (outer) return (vert ? BorderVSpacing : BorderHSpacing) < 0 && BorderWidth > 0;
    if ((vert ? CellVSpacing : CellHSpacing) >= 0) return false;
    int r = Row, c = Col;
    switch (Side) {
    case 0:
        --c;
        break;
    case 1:
        --r;
        break;
    case 2:
        c += cell->ColSpan;
        break;
    default:
        r += cell->RowSpan;
        break;
    }
    int mr, mc;
    const TRPTableCellData* n = Rows->GetMainCell(r, c, mr, mc);
    if (!n) return false;
    switch (Side) {
    case 0:
        return n->VisibleBorders.Right;
    case 1:
        return n->VisibleBorders.Bottom;
    case 2:
        return n->VisibleBorders.Left;
    default:
        return n->VisibleBorders.Top;
    }
}

void TRPTableItemInfo::DrawBorder(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, int Width,
                                  TColor LightColor, TColor BColor, TColor BackgroundColor,
                                  TRPTableBorderStyle Style, bool Printing, bool ShowGrid,
                                  const TRPBooleanRect* Visible, int Row, int Col, const TRect& ClipRect,
                                  TRPColorMode ColorMode) {
    if (!Meets(Rect(Left, Top, Right + 1, Bottom + 1), ClipRect)) return;
    if (OnDrawBorder) {
        bool doDefault = true;
        OnDrawBorder(this, &Canvas, Left, Top, Right, Bottom, Width, LightColor, BColor, BackgroundColor,
                     Style, Printing, Visible, Row, Col, doDefault);
        if (!doDefault) return;
    }
    const TRPBooleanRect all(true);
    const TRPBooleanRect& vis = Visible ? *Visible : all;
    const bool someHidden = !vis.Left || !vis.Top || !vis.Right || !vis.Bottom;
    if (ShowGrid && !Printing && (Width == 0 || someHidden)) {
        Canvas.Pen()->SetWidth(1);
        Canvas.Pen()->SetColor(ColorToRGB(clBtnFace));
        const auto dotted = [&](int Side) {
            // A neighbour's border may lie on an invisible side; a border of
            // width 0 is outlined all round.
            if (Width > 0 && Row >= 0 && BorderOnSide(Row, Col, Side)) return;
            switch (Side) {
            case 0:
                DrawDottedVLine(Canvas, Left, Top, Bottom, ClipRect);
                break;
            case 1:
                DrawDottedHLine(Canvas, Left, Right, Top, ClipRect);
                break;
            case 2:
                DrawDottedVLine(Canvas, Right - 1, Top, Bottom, ClipRect);
                break;
            default:
                DrawDottedHLine(Canvas, Left, Right, Bottom - 1, ClipRect);
                break;
            }
        };
        if (Width == 0) {
            for (int s = 0; s < 4; ++s)
                dotted(s);
            return;
        }
        if (!vis.Left) dotted(0);
        if (!vis.Top) dotted(1);
        if (!vis.Right) dotted(2);
        if (!vis.Bottom) dotted(3);
    }
    if (Width <= 0) return;
    const int w = ScaleX(Width);
    // Printed with halftone borders, a border is drawn with a pen of its full
    // width, a pixel wider on a device finer than the screen.
    const bool halftone = Printing && (PrintOptions & rptoHalftoneBorders);
    const int fullWidth = w + (Resolution && Resolution->DeviceX > Resolution->ScreenX ? 1 : 0);
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetWidth(1);
    const int cl = ClipRect.Left - 1, cr = ClipRect.Right + 1;
    if (Style != rptbColor) {
        TColor c1, c2;
        const bool onHighlight = ColorToRGB(BackgroundColor) == ColorToRGB(clBtnHighlight);
        switch (Style) {
        case rptbRaised:
            c1 = onHighlight ? clBtnFace : clBtnHighlight;
            c2 = clBtnShadow;
            break;
        case rptbLowered:
            c1 = clBtnShadow;
            c2 = onHighlight ? clBtnFace : clBtnHighlight;
            break;
        case rptbRaisedColor:
            c1 = LightColor;
            c2 = BColor;
            break;
        default:
            c1 = BColor;
            c2 = LightColor;
            break;
        }
        --Right;
        --Bottom;
        if (halftone) {
            WideSides(Canvas, Left, Top, Right, Bottom, fullWidth, vis,
                      c1 == clNone ? clNone : ForeColor(c1, ColorMode),
                      c2 == clNone ? clNone : ForeColor(c2, ColorMode));
            return;
        }
        for (int i = 0; i < w; ++i) {
            const int l = Left + i, t = Top + i, r = Right - i, b = Bottom - i;
            if (c1 != clNone) {
                Canvas.Pen()->SetColor(ForeColor(c1, ColorMode));
                if (vis.Top) Line(Canvas, std::max(l, cl), t, std::min(r + 1, cr), t);
                if (vis.Left) Line(Canvas, l, t, l, b + 1);
            }
            if (c2 != clNone) {
                Canvas.Pen()->SetColor(ForeColor(c2, ColorMode));
                if (vis.Bottom) Line(Canvas, std::max(l, cl), b, std::min(r + 1, cr), b);
                if (vis.Right) Line(Canvas, r, t, r, b + 1);
            }
        }
        return;
    }
    if (BColor == clNone) return;
    Canvas.Pen()->SetColor(ForeColor(BColor, ColorMode));
    // On paper finer than the screen a colour border is a pixel wider and
    // reaches a pixel further out at the left and top, so that no gap of
    // the finer device's rounding opens beside it.
    const bool finer = Printing && Resolution && Resolution->DeviceX > Resolution->ScreenX;
    const int steps = w + (finer ? 1 : 0);
    if (finer && !(someHidden && halftone)) {
        --Left;
        --Top;
    }
    if (someHidden) {
        --Right;
        --Bottom;
        if (halftone) {
            const TColor c = ForeColor(BColor, ColorMode);
            WideSides(Canvas, Left, Top, Right, Bottom, fullWidth, vis, c, c);
            return;
        }
        const bool overlap = (Options & rptoOverlappingCorners) != 0;
        for (int i = 0; i < steps; ++i) {
            const int l = Left + i, t = Top + i, r = Right - i, b = Bottom - i;
            const int sl = overlap ? Left : l, st = overlap ? Top : t, sr = overlap ? Right : r,
                      sb = overlap ? Bottom : b;
            if (vis.Top) Line(Canvas, std::max(sl, cl), t, std::min(sr + 1, cr), t);
            if (vis.Bottom) Line(Canvas, std::max(sl, cl), b, std::min(sr + 1, cr), b);
            if (vis.Left) Line(Canvas, l, st, l, sb + 1);
            if (vis.Right) Line(Canvas, r, st, r, sb + 1);
        }
        return;
    }
    // A hollow rectangle with the pen kept inside it.
    Canvas.Brush()->SetStyle(bsClear);
    if (halftone) {
        Canvas.Pen()->SetStyle(psInsideFrame);
        Canvas.Pen()->SetWidth(fullWidth);
        Canvas.Rectangle(Left, Top, Right, Bottom);
        Canvas.Pen()->SetWidth(1);
        Canvas.Pen()->SetStyle(psSolid);
        Canvas.Brush()->SetStyle(bsSolid);
        return;
    }
    for (int i = 0; i < steps; ++i)
        Canvas.Rectangle(Left + i, Top + i, Right - i, Bottom - i);
    Canvas.Brush()->SetStyle(bsSolid);
}
