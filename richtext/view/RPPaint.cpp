// Painting the formatted document, and the small display services around it:
// the background, placing embedded controls and the checkpoint report.
#include <algorithm>

#include "platform/Fonts.h"
#include "platform/TextMetrics.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPFormatState.h"

namespace {

TRPBounds ToBounds(const TRect& r) {
    return TRPBounds{r.Left, r.Top, r.Right, r.Bottom};
}

// Whether a piece of Item is drawn as the characters the layout measured,
// one for each character of the item: the style's encoding is the item's,
// and not a code page of two-byte characters (measured byte by byte).
bool DrawnAsMeasured(const TCustomRPItemInfo& Item, const TFontInfo& Style) {
    if (((Item.ItemOptions & rpioUnicode) != 0) != Style.Unicode) return false;
    if (Style.Unicode) return true;
    switch (CharsetToCodePage(Style.Charset)) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
        return false;
    default:
        return true;
    }
}

// How far beyond the items of a line painting may reach: the marks of page
// breaks and checkpoints drawn from the line's top, frames drawn a pixel
// outside an item, glyphs that overhang their box a little.
constexpr int kPaintOverhang = 8;

} // namespace

void TCustomRPFormattedData::DrawBackground(TCanvas& Canvas, const TRect& Rect) {
    TRPBackground* back = GetBackground();
    const TColor color = GetColor();
    if (!back) {
        if (color == clNone) return;
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(ColorToRGB(color));
        Canvas.FillRect(::Rect(0, 0, Rect.Width(), Rect.Height()));
        return;
    }
    back->Draw(Canvas, ToBounds(Rect), GetHOffs(), GetVOffs(), 0, 0, GetWidth(), GetHeight(), color, false);
}

TCustomRPFormattedData::TParaSpan TCustomRPFormattedData::ParaSpanOf(int DItemNo) {
    if (FParaSpansStamp != DrawItems->Stamp()) {
        FParaSpans.clear();
        FParaSpansStamp = DrawItems->Stamp();
    }
    const auto before = [](int D, const TParaSpan& S) { return D < S.First; };
    const auto it = std::upper_bound(FParaSpans.begin(), FParaSpans.end(), DItemNo, before);
    if (it != FParaSpans.begin() && std::prev(it)->Last >= DItemNo) return *std::prev(it);
    TParaSpan s;
    s.First = ParaStartDItem(DItemNo);
    s.Last = ParaEndDItem(DItemNo);
    const TRPDrawLineInfo* d0 = DrawItem(s.First);
    s.Top = s.Bottom = d0->Top;
    s.Right = d0->Left + d0->Width;
    for (int k = s.First; k <= s.Last; ++k) {
        const TRPDrawLineInfo* d = DrawItem(k);
        s.Top = std::min(s.Top, d->Top);
        s.Bottom = std::max(s.Bottom, d->Top + d->Height + d->SpaceBelow);
        s.Right = std::max(s.Right, d->Left + d->Width);
    }
    // A few screens' worth: scrolling on through many paragraphs starts anew.
    if (FParaSpans.size() >= 64) FParaSpans.clear();
    FParaSpans.insert(std::upper_bound(FParaSpans.begin(), FParaSpans.end(), s.First, before), s);
    return s;
}

int TCustomRPFormattedData::LineTop(int DItemNo, int& First, int& Last) const {
    GetLineBounds(DItemNo, First, Last);
    int top = DrawItem(First)->Top;
    for (int k = First + 1; k <= Last; ++k)
        top = std::min(top, DrawItem(k)->Top);
    return top;
}

int TCustomRPFormattedData::FirstLineFrom(int Y) const {
    // Draw items before Lo lie on lines above Y, those from Hi on on lines at Y or lower.
    int lo = 0, hi = DrawItemCount();
    while (lo < hi) {
        int f = 0, l = 0;
        if (LineTop(lo + (hi - lo) / 2, f, l) >= Y)
            hi = f;
        else
            lo = l + 1;
    }
    return lo;
}

void TCustomRPFormattedData::LinesReaching(int Top, int Bottom, bool Stacked, int& First, int& Last) const {
    const int n = DrawItemCount();
    First = 0;
    Last = -1;
    // How far down the items of the line F .. L reach, with the spacing below.
    const auto reachOf = [this](int F, int L) {
        int bottom = DrawItem(F)->Top;
        for (int k = F; k <= L; ++k) {
            const TRPDrawLineInfo* d = DrawItem(k);
            bottom = std::max(bottom, d->Top + d->Height + std::max(d->SpaceBelow, 0));
        }
        return bottom;
    };
    if (!Stacked) {
        // Paragraphs spaced by less than nothing may start above the lines
        // before them: every line is looked at.
        for (int i = 0; i < n;) {
            int f = 0, l = 0;
            if (LineTop(i, f, l) <= Bottom && reachOf(f, l) >= Top) {
                if (Last < First) First = f;
                Last = l;
            }
            i = l + 1;
        }
        return;
    }
    // A line reaches at most MaxLineOverlap below the next line's top: of the
    // lines before the first that starts that far above Top, only the last
    // one may reach down to Top.
    First = FirstLineFrom(Top - MaxLineOverlap);
    if (First > 0) {
        int f = 0, l = 0;
        GetLineBounds(First - 1, f, l);
        if (reachOf(f, l) >= Top) First = f;
    }
    Last = FirstLineFrom(Bottom + 1) - 1;
}

void TCustomRPFormattedData::PaintDocument(TCanvas& Canvas, const TRect& Rect) {
    TRPStyle* style = GetRPStyle();
    const int n = DrawItemCount();
    if (!style || n == 0) return;
    int sd, ed, so, eo;
    GetDrawSelectionBounds(sd, ed, true, so, eo);
    const bool whole = (State & rpstWholeSelected) != 0;
    const int hoffs = GetHOffs(), voffs = GetVOffs();
    const int xshift = hoffs + Rect.Left, yshift = voffs + Rect.Top;
    const int clipTop = Rect.Top + voffs, clipBottom = Rect.Bottom + voffs;
    Canvas.Brush()->SetStyle(bsClear);
    const TRPTextDrawStates focus = IsFocused() ? rptdsFocused : 0;
    const TRPOptions options = GetOptions();
    const bool special = (options & rpoShowSpecialCharacters) != 0;
    const bool lineStyle = style->SelectionStyle == rpssLines;
    const TColor selColor = focus ? style->SelColor : style->InactiveSelColor;
    const bool selExists = sd >= 0 && (sd != ed || so != eo);

    // What is painted beyond the items of a line: the frame and background
    // of its paragraph by their offsets and the frame's lines, the band of a
    // selected line into the spacing before and after its paragraph, and
    // the marks and glyphs that stand out of their boxes.
    int reach = 0;
    bool stacked = true, framed = style->OnDrawParaBack != nullptr;
    for (int k = 0; k < style->ParaStyles().Count(); ++k) {
        const TParaInfo* p = style->ParaStyles().GetItem(k);
        stacked = stacked && p->SpaceBefore >= 0 && p->SpaceAfter >= 0;
        framed = framed || p->Border.Style != rpbNone || p->Background.Color != clNone;
        const int frame = p->Border.Style == rpbNone ? 0 : std::max(p->Border.GetTotalWidth(), 0);
        reach = std::max({reach, p->Border.BorderOffsets.Top + frame, p->Border.BorderOffsets.Bottom + frame,
                          p->Background.BorderOffsets.Top, p->Background.BorderOffsets.Bottom});
        if (lineStyle && selExists) reach = std::max({reach, p->SpaceBefore, p->SpaceAfter});
    }
    // The mark at the end of a line stands on its item's bottom, in the text
    // style applied last: it reaches as high above a small item as that
    // style's text is tall.
    if (special)
        for (int k = 0; k < style->TextStyles().Count(); ++k) {
            const TFontInfo* f = style->TextStyles().GetItem(k);
            reach = std::max(reach, 2 * MulDiv(std::abs(f->Size), f->PixelsPerInchFor(Canvas), 72));
        }
    reach += kPaintOverhang;
    // Painted are the lines that reach into the clip, with their paragraphs'
    // backgrounds, painted as from the document's start.
    int first = 0, last = -1;
    LinesReaching(clipTop - reach, clipBottom + reach, stacked, first, last);
    // The paragraph painting starts in is looked for only where a paragraph
    // may have a frame: after a long one it lies far back.
    const TParaSpan para0 = first <= last && framed ? ParaSpanOf(first) : TParaSpan{};

    // Paragraph backgrounds and borders: of the paragraph painting starts in
    // and of those starting up to Last.
    const int visibleW = GetWidth();
    const auto paintParaBack = [&](int DItemNo) {
        const TCustomRPItemInfo* item = GetItem(DrawItem(DItemNo)->ItemNo);
        const TParaInfo* para = style->ParaStyles().GetItem(item->ParaNo);
        if (item->StyleNo == rpsnBreak ||
            (para->Border.Style == rpbNone && para->Background.Color == clNone && !style->OnDrawParaBack))
            return;
        const TParaSpan span = DItemNo == para0.First ? para0 : ParaSpanOf(DItemNo);
        TRPBounds r;
        r.Left = GetLeftMargin() + para->LeftIndent + std::min(para->FirstIndent, 0);
        if (options & rpoClientTextWidth)
            r.Right = visibleW - GetRightMargin() - para->RightIndent;
        else if (GetMaxTextWidth() <= 0)
            r.Right = GetDocumentWidth() - GetRightMargin() - para->RightIndent;
        else
            r.Right = GetLeftMargin() + GetMaxTextWidth() - para->RightIndent;
        r.Right = std::max(r.Right, span.Right);
        r.Top = span.Top;
        r.Bottom = span.Bottom;
        r.Left -= xshift;
        r.Right -= xshift;
        r.Top -= yshift;
        r.Bottom -= yshift;
        TRPBounds back = r;
        para->Background.PrepareDraw(back);
        style->DrawParaBack(Canvas, item->ParaNo, back, false, rpcmColor);
        para->Border.Draw(r, Canvas);
    };
    if (framed && first <= last) {
        paintParaBack(para0.First);
        for (int i = first + 1; i <= last; ++i)
            if (IsDrawItemParaStart(i)) paintParaBack(i);
    }

    // Text backgrounds by the application.
    if (style->OnDrawTextBack)
        for (int i = first; i <= last; ++i) {
            const TRPDrawLineInfo* d = DrawItem(i);
            const int sn = GetItemStyle(d->ItemNo);
            if (sn < 0) continue;
            const bool hot = GetItem(d->ItemNo)->IsHotJump(this);
            style->DrawTextBack(&Canvas, d->ItemNo, sn, d->Left - xshift, d->Top - yshift, d->Width,
                                d->Height, hot ? rptdsHover : 0, this, d->Offs);
        }

    // Soft page breaks left by a pagination.
    if ((options & rpoShowPageBreaks) && !SoftPageBreaks.empty() && first <= last) {
        const int firstItem = DrawItem(first)->ItemNo;
        for (const TSoftPageBreak& pb : SoftPageBreaks) {
            if (pb.ItemNo < firstItem) continue;
            int dOffs = 0, dn = -1;
            ItemToDrawItemPos(pb.ItemNo, pb.Offs, dOffs, dn);
            if (dn < 0) continue;
            if (dn > last) break;
            if (dn == 0 && pb.Row < 0) continue;
            int y;
            if (pb.Row >= 0) {
                y = GetItem(pb.ItemNo)->GetRowTop(pb.Row) + DrawItem(dn)->Top;
            } else {
                int f = 0, l = 0;
                GetLineBounds(dn, f, l);
                y = DrawItem(f)->Top;
                for (int k = f; k <= l; ++k)
                    y = std::min(y, DrawItem(k)->Top);
            }
            style->DrawPageBreak(Canvas, y - yshift - 1, xshift, rppbtSoft, GetParentControl());
        }
    }

    // What painting everything before First leaves applied: the style of
    // the last text, unless something forgot it since. The mark of a line
    // break forgets it; the mark of a paragraph's end applies it again
    // (text style 0 when none), without a reading direction. (The selection
    // band of a line that keeps the one of the line before lies above First,
    // out of the clip.)
    int applied = -1;
    if (first > 0 && first <= last) {
        bool paraMark = false;
        TRPBiDiMode bidi = rpbdUnspecified;
        for (int k = first - 1; k >= 0; --k) {
            const TRPDrawLineInfo* d = DrawItem(k);
            const TCustomRPItemInfo* item = GetItem(d->ItemNo);
            if (special && DrawItem(k + 1)->ItemNo != d->ItemNo && DrawItem(k + 1)->FromNewLine) {
                if (!IsParaStart(DrawItem(k + 1)->ItemNo)) break;
                paraMark = true;
            }
            const int sn = GetActualStyle(item);
            if (sn >= 0) {
                applied = sn;
                if (!paraMark) bidi = GetParaBiDiMode(item->ParaNo);
                break;
            }
            const bool firstOfItem = k == 0 || DrawItem(k - 1)->ItemNo != d->ItemNo;
            if (item->GetBoolValue(rpbivChangesFont) ||
                (firstOfItem && ((item->GetPageBreakBefore() && (options & rpoShowPageBreaks)) ||
                                 (item->Checkpoint && (options & rpoShowCheckpoints)))))
                break;
        }
        if (paraMark) applied = std::max(applied, 0);
        if (applied >= 0) style->ApplyStyle(Canvas, applied, bidi);
        Canvas.Brush()->SetStyle(bsClear);
    }
    int bandTop = 0, bandBottom = 0;
    for (int i = first; i <= last; ++i) {
        TRPDrawLineInfo* d = DrawItem(i);
        TCustomRPItemInfo* item = GetItem(d->ItemNo);
        const int sn = GetActualStyle(item);
        const TParaInfo* para = style->ParaStyles().GetItem(item->ParaNo);
        const bool firstOfItem = i == 0 || DrawItem(i - 1)->ItemNo != d->ItemNo;
        if (d->FromNewLine && lineStyle && selExists && GetItemBiDiMode(d->ItemNo) == rpbdUnspecified) {
            int f = 0, l = 0;
            GetLineBounds(i, f, l);
            bandTop = d->Top;
            bandBottom = d->Top + d->Height + d->SpaceBelow;
            for (int k = f; k <= l; ++k) {
                bandTop = std::min(bandTop, DrawItem(k)->Top);
                bandBottom = std::max(bandBottom, DrawItem(k)->Top + DrawItem(k)->Height + DrawItem(k)->SpaceBelow);
            }
            if (item->StartsPara() && firstOfItem) bandTop -= para->SpaceBefore;
            if (l + 1 >= n || (IsParaStart(DrawItem(l + 1)->ItemNo) && DrawItem(l + 1)->ItemNo != DrawItem(l)->ItemNo))
                bandBottom += para->SpaceAfter;
        }
        if (item->GetPageBreakBefore() && (options & rpoShowPageBreaks) && firstOfItem) {
            int f = 0, l = 0;
            GetLineBounds(i, f, l);
            int top = DrawItem(f)->Top;
            for (int k = f; k <= l; ++k)
                top = std::min(top, DrawItem(k)->Top);
            style->DrawPageBreak(Canvas, top - yshift - 1, xshift, rppbtHard, GetParentControl());
            applied = -1;
        }
        if (item->Checkpoint && (options & rpoShowCheckpoints) && firstOfItem) {
            style->DrawCheckpoint(Canvas, d->Left - xshift, d->Top - yshift, d->ItemNo, xshift,
                                  item->Checkpoint->RaiseEvent, GetParentControl());
            applied = -1;
        }
        if (sn < 0) {
            TRPTextDrawStates st = focus;
            if (whole || (sd >= 0 && sd <= i && i <= ed && !(i == ed && eo == 0) && !(i == sd && so == 1)))
                st |= rptdsSelected;
            if (item->IsHotJump(this)) st |= rptdsHotLink;
            if (item == PartialSelectedItem) st |= rptdsHover;
            if (item->GetBoolValue(rpbivFullLine)) {
                int w = (options & rpoClientTextWidth) ? visibleW : GetDocumentWidth();
                if (GetMaxTextWidth() > 0)
                    w = std::min(w, GetMaxTextWidth() + GetLeftMargin() + GetRightMargin());
                item->PaintFullWidth(GetLeftMargin() - xshift, w - GetRightMargin() - xshift, d->Top - yshift,
                                     &Canvas, st, style, ToBounds(Rect), this);
            } else {
                if ((st & rptdsSelected) && lineStyle && item->StyleNo != rpsnListMarker && selColor != clNone) {
                    Canvas.Brush()->SetStyle(bsSolid);
                    Canvas.Brush()->SetColor(selColor);
                    Canvas.FillRect(::Rect(d->Left - xshift, bandTop - yshift, d->Left + d->Width - xshift,
                                           bandBottom - yshift));
                    Canvas.Brush()->SetStyle(bsClear);
                }
                item->Paint(d->Left - xshift, d->Top - yshift, &Canvas, st, style, d);
            }
            if (item->GetBoolValue(rpbivChangesFont)) applied = -1;
        } else {
            const TRPBiDiMode bidi = GetParaBiDiMode(item->ParaNo);
            if (sn != applied) {
                style->ApplyStyle(Canvas, sn, bidi);
                applied = sn;
            }
            const bool itemBiDi = GetItemBiDiMode(d->ItemNo) != rpbdUnspecified;
            const bool drawnAsMeasured = DrawnAsMeasured(*item, *style->TextStyles().GetItem(sn));
            const bool hot = style->TextStyles().GetItem(sn)->Jump && item->IsHotJump(this);
            const auto drawPart = [&](int from, int to, bool selected) {
                TRPTextDrawStates st = focus | (selected ? rptdsSelected : 0) | (hot ? rptdsHover : 0) |
                                       (special ? rptdsSpecialChars : 0);
                const bool startsPiece = from == 1, endsPiece = to == d->Length;
                if (style->OnDrawStyleText) {
                    if (startsPiece) st |= 0x10;
                    if (endsPiece) st |= 0x20;
                    if (startsPiece && d->Offs == 1) st |= 4;
                    if (endsPiece && d->Offs + d->Length - 1 == ItemLength(d->ItemNo)) st |= 8;
                }
                style->ApplyStyleColor(Canvas, sn, st, false, rpcmColor);
                std::string text;
                DrawItems->GetPieceSubText(i, *Items, text, to - from + 1, from);
                if (d->Length == 0) text.clear();
                // The text's width as the layout measured it: the piece's
                // width without its justification gap, or the part's.
                int x = d->Left - xshift, space = 0, width = d->Width, measured = -1;
                if (startsPiece) {
                    space = d->JustifySpace;
                    measured = endsPiece ? d->Width - d->JustifySpace
                                         : PieceWidth(Canvas, d->ItemNo, d->Offs, to - from + 1);
                } else {
                    x += d->JustifySpace + PieceWidth(Canvas, d->ItemNo, d->Offs, from - 1);
                    width = PieceWidth(Canvas, d->ItemNo, d->Offs + from - 1, to - from + 1);
                    measured = width;
                }
                if (!drawnAsMeasured) measured = -1;
                if (selected && lineStyle && selColor != clNone) {
                    Canvas.Brush()->SetStyle(bsSolid);
                    Canvas.Brush()->SetColor(selColor);
                    Canvas.FillRect(::Rect(x, bandTop - yshift, x + width, bandBottom - yshift));
                    style->ApplyStyleColor(Canvas, sn, st, false, rpcmColor);
                }
                if (selected && itemBiDi && !(startsPiece && endsPiece)) {
                    std::string piece;
                    DrawItems->GetPieceText(i, *Items, piece);
                    ItemTextOutPlaced(d->Left - xshift + d->JustifySpace, d->Top - yshift, d->Height, true,
                                      GetItemOptions(d->ItemNo), Canvas, piece, from, to);
                } else {
                    style->DrawStyleText(text, Canvas, sn, space, x, d->Top - yshift, width, d->Height, st,
                                         false, false, bidi, this, d->ItemNo, d->Offs + from - 1, measured);
                }
            };
            if (!whole && (sd < 0 || i < sd || i > ed)) {
                drawPart(1, d->Length, false);
            } else if (!whole && ((i == sd && so > 1) || (i == ed && eo <= d->Length))) {
                drawPart(1, d->Length, false);
                const int from = i == sd ? so : 1;
                const int to = i == ed ? eo - 1 : d->Length;
                if (to >= from) drawPart(from, to, true);
            } else {
                drawPart(1, d->Length, true);
            }
        }
        // Paragraph and line ends.
        if (special && (i + 1 >= n || (DrawItem(i + 1)->ItemNo != d->ItemNo && DrawItem(i + 1)->FromNewLine))) {
            const bool paraEnd = i + 1 >= n || IsParaStart(DrawItem(i + 1)->ItemNo);
            const int markStyle = applied >= 0 ? applied : 0;
            style->ApplyStyle(Canvas, markStyle, rpbdUnspecified);
            style->ApplyStyleColor(Canvas, markStyle, 0, false, rpcmColor);
            applied = markStyle;
            QString mark = QString(QChar(0xB6));
            if (!paraEnd) {
                Canvas.Font()->SetName(QStringLiteral("Symbol"));
                Canvas.Font()->SetCharset(SYMBOL_CHARSET);
                mark = QString(QChar(0xBF));
                applied = -1;
            }
            const int h = Canvas.TextHeight(mark);
            const int mx = GetParaBiDiMode(item->ParaNo) == rpbdRightToLeft ? d->Left - Canvas.TextWidth(mark)
                                                                             : d->Left + d->Width;
            Canvas.Brush()->SetStyle(bsClear);
            Canvas.TextOut(mx - xshift, d->Top + d->Height - h - yshift, mark);
        }
    }
    if (NotAddedCP && (options & rpoShowCheckpoints))
        style->DrawCheckpoint(Canvas, 0, DocumentHeight - yshift, -1, xshift, NotAddedCP->RaiseEvent,
                              GetParentControl());
    PaintOverlay(Canvas, xshift, yshift);
}

void TCustomRPFormattedData::PlaceInsertedControls() {
    if ((GetFlags() & rpflNoControlMoving) || (State & rpstNoControlPlacement)) return;
    auto* owner = dynamic_cast<TWinControl*>(GetParentControl());
    if (!owner || owner->ControlCount() == 0) return;
    const int h = GetHOffs(), v = GetVOffs();
    for (int i = 0; i < DrawItemCount(); ++i) {
        const TRPDrawLineInfo* d = DrawItem(i);
        if (GetItemStyle(d->ItemNo) >= 0) continue;
        if (auto* nt = dynamic_cast<TRPNonTextItemInfo*>(GetItem(d->ItemNo))) nt->PlaceAt(d->Left - h, d->Top - v, true);
    }
}

void TCustomRPFormattedData::CheckCheckpointVisibility() {
    const int mode = GetCheckpointEventMode();
    if ((mode != 1 && mode != 2) || !IsAssigned(TRPEvent::CheckpointVisible)) return;
    const int top = GetVOffs(), bottom = top + GetHeight();
    const auto yOf = [this](TRPCPInfo* cp) -> int {
        const int item = cp->ItemInfo ? GetItemNo(cp->ItemInfo) : -1;
        const int d = GetFirstDrawItemOfItem(item);
        return d < 0 ? -1 : DrawItem(d)->Top;
    };
    TRPCPInfo* found = nullptr;
    TRPCPInfo* prevWithFlag = nullptr;
    bool ended = false;
    for (TRPCPInfo* cp = FirstCP; cp; cp = cp->Next) {
        const int y = yOf(cp);
        if (y < 0) {
            ended = true;
            break;
        }
        if (!cp->RaiseEvent) continue;
        if (y >= top) {
            if (mode == 1)
                found = y > bottom ? prevWithFlag : cp;
            else
                found = y <= bottom ? cp : nullptr;
            ended = true;
            break;
        }
        prevWithFlag = cp;
    }
    if (!found && !ended) {
        if (NotAddedCP && NotAddedCP->RaiseEvent && DocumentHeight < bottom)
            found = NotAddedCP.get();
        else if (mode == 1)
            found = prevWithFlag;
    }
    if (found != LastCheckpointReported) {
        LastCheckpointReported = found;
        DoCheckpointVisible(found);
    }
}

void TCustomRPFormattedData::UpdateBackgroundPalette(TRPBackground* Background) {
    if (!Background) return;
    State |= rpstUpdatingPalette;
    Background->UpdatePaletted(GetDoInPaletteMode(), GetPalette(), GetLogPalette());
    State &= ~rpstUpdatingPalette;
}

int TCustomRPFormattedData::GetFirstVisibleItem() const {
    if (DrawItemCount() == 0) return -1;
    return DrawItem(std::min(FindDrawItemByY(const_cast<TCustomRPFormattedData*>(this)->GetVOffs(), 1),
                             DrawItemCount() - 1))
        ->ItemNo;
}

int TCustomRPFormattedData::GetLastVisibleItem() const {
    if (DrawItemCount() == 0) return -1;
    auto* self = const_cast<TCustomRPFormattedData*>(this);
    return DrawItem(std::min(FindDrawItemByY(self->GetVOffs() + self->GetHeight(), 3), DrawItemCount() - 1))->ItemNo;
}
