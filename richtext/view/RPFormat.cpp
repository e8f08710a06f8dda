// Formatting into lines: the line builder that turns items into draw items,
// and the format routine around it.
#include <QChar>
#include <algorithm>

#include "platform/TextMetrics.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPFormatState.h"

namespace {

bool IsClusterTail(QChar c) {
    if (c.isLowSurrogate()) return true;
    const QChar::Category cat = c.category();
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing;
}

} // namespace

// ---------------------------------------------------------------------------
// Measuring

QString TCustomRPFormattedData::ItemDisplayText(int ItemNo) const {
    const TCustomRPItemInfo* item = GetItem(ItemNo);
    const TRPStyle* style = GetRPStyle();
    const int sn = GetActualStyle(item);
    const TFontInfo* fi = style ? style->TextStyles().GetItem(sn) : nullptr;
    const std::string& raw = GetItemText(ItemNo);
    const std::string text = fi ? ApplyAllCapsToItemText(raw, item->ItemOptions, *fi) : raw;
    const int cp = fi ? CharsetToCodePage(fi->Charset) : 0;
    QString s = ItemTextToQString(text, item->ItemOptions, cp);
    const int len = ItemTextLength(text, item->ItemOptions);
    if (s.size() != len) {
        // A multi-byte code page: keep one character per byte so offsets stay valid.
        s.clear();
        for (char c : text)
            s += ItemTextToQString(std::string(1, c), 0, cp).left(1);
        s = s.leftJustified(len, QLatin1Char('?'), true);
    }
    return s;
}

namespace {
thread_local TCustomRPFormattedData::TMeasure::TEntry g_scratch;
} // namespace

bool TCustomRPFormattedData::IsMeasured(int ItemNo) const {
    if (!FMeasure) return false;
    const TMeasure::TEntry* e = FMeasure->Find(ItemNo);
    return e && e->Valid;
}

const std::vector<int>& TCustomRPFormattedData::MeasureItemText(TCanvas& Canvas, int ItemNo) {
    TMeasure::TEntry* e = FMeasure ? FMeasure->Find(ItemNo) : nullptr;
    if (e && e->Valid) return e->Prefix;
    if (!e) e = &g_scratch;
    e->Text = ItemDisplayText(ItemNo);
    e->Prefix = e->Text.isEmpty() ? std::vector<int>() : TextMetrics().PrefixWidths(*Canvas.Font(), e->Text);
    std::vector<int>& p = e->Prefix;
    const int extra = Canvas.TextCharacterExtra();
    if (extra != 0)
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = RPCoordSum(p[i], static_cast<int64_t>(extra) * static_cast<int64_t>(i + 1));
    // Widths never fall back, so fitting can search them.
    for (size_t i = 1; i < p.size(); ++i)
        p[i] = std::max(p[i], p[i - 1]);
    // A text of millions of wide characters stops at the document's bound.
    for (size_t i = p.size(); i > 0 && p[i - 1] > RPMaxCoord; --i)
        p[i - 1] = RPMaxCoord;
    e->Valid = e != &g_scratch;
    return e->Prefix;
}

const QString& TCustomRPFormattedData::MeasuredText(TCanvas& Canvas, int ItemNo) {
    TMeasure::TEntry* e = FMeasure ? FMeasure->Find(ItemNo) : nullptr;
    if (e && e->Valid) return e->Text;
    MeasureItemText(Canvas, ItemNo);
    return e ? e->Text : g_scratch.Text;
}

int TCustomRPFormattedData::PieceWidth(TCanvas& Canvas, int ItemNo, int Offs, int Length) {
    if (Length <= 0) return 0;
    const std::vector<int>& p = MeasureItemText(Canvas, ItemNo);
    const int n = static_cast<int>(p.size());
    const int last = std::min(Offs + Length - 1, n);
    if (last < 1 || Offs > n) return 0;
    return p[static_cast<size_t>(last - 1)] - (Offs > 1 ? p[static_cast<size_t>(Offs - 2)] : 0);
}

bool TCustomRPFormattedData::IsFullLineItem(int ItemNo) const {
    return GetItem(ItemNo)->GetBoolValue(rpbivFullLine);
}

bool TCustomRPFormattedData::IsListMarkerItem(int ItemNo) const {
    return ItemNo >= 0 && ItemNo < GetItemCount() && GetItem(ItemNo)->StyleNo == rpsnListMarker;
}

// ---------------------------------------------------------------------------
// The line builder

void TCustomRPFormattedData::InitLineBuilder(TLineBuilder& B, TCanvas* Canvas) {
    B.Canvas = Canvas;
    B.Style = GetRPStyle();
    B.Flags = GetFlags();
    FillResolution(Canvas, B.Res);
    B.Scaled = B.Res.ScreenX != B.Res.DeviceX || B.Res.ScreenY != B.Res.DeviceY;
    B.LeftPx = B.ScaleX(GetLeftMargin());
    B.RightPx = B.ScaleX(GetRightMargin());
    B.Res.Reserved1 = B.LeftPx;
    B.Res.Reserved2 = B.RightPx;
}

void TCustomRPFormattedData::ApplyTextStyle(TLineBuilder& B, int StyleNo, int ParaNo) {
    if (StyleNo == B.AppliedStyle) return;
    TCanvas& c = *B.Canvas;
    B.Style->ApplyStyle(c, StyleNo, GetParaBiDiMode(ParaNo));
    const TFontInfo* fi = B.Style->TextStyles().GetItem(StyleNo);
    if (fi->CharSpacing != 0 && B.Scaled && fi->BiDiMode == rpbdUnspecified)
        c.SetTextCharacterExtra(B.ScaleX(fi->CharSpacing));
    TTextMetrics& m = TextMetrics();
    B.TmAscent = m.Ascent(*c.Font());
    B.TmDescent = m.Descent(*c.Font());
    B.TmExtLeading = m.ExternalLeading(*c.Font());
    B.TmHeight = c.TextHeight(QStringLiteral(" "));
    B.VShiftPx = MulDiv(B.TmHeight, fi->VShift, 100);
    B.AppliedStyle = StyleNo;
}

void TCustomRPFormattedData::GetLineIndents(TLineBuilder& B, int ItemNo, bool Explicit, int& Left, int& Right) {
    const TParaInfo* para = B.Style->ParaStyles().GetItem(GetItemPara(ItemNo));
    const TCustomRPItemInfo* item = GetItem(ItemNo);
    int paraStart = B.ParaStartNo >= 0 ? B.ParaStartNo : GetFirstParaItem(ItemNo);
    const TRPListLevel* level = nullptr;
    if (IsListMarkerItem(paraStart))
        level = static_cast<const TRPMarkerItemInfo*>(GetItem(paraStart))->GetLevelInfo(B.Style);
    const TRPListLevel* inherited = nullptr;
    int listNo = -1, lvl = -1;
    if ((State & rpstInheritedListLevel) && paraStart == 0 && GetInheritedListLevel(listNo, lvl))
        inherited = GetListLevelInfo(B.Style, listNo, lvl);
    if (inherited && ItemNo == 0) Explicit = false; // the document's first line counts as wrapped
    bool fromList = false;
    if (Explicit) {
        if (item->StyleNo == rpsnListMarker && level) {
            Left = level->MarkerIndent;
            fromList = true;
        } else if (level) {
            Left = level->LeftIndent;
            fromList = true;
        } else {
            Left = para->LeftIndent;
            if (item->StartsPara() && !item->GetBoolValue(rpbivFullLine)) Left += para->FirstIndent;
        }
    } else if (level) {
        Left = level->LeftIndent;
        fromList = true;
    } else if (inherited) {
        Left = inherited->LeftIndent;
        fromList = true;
    } else {
        Left = para->LeftIndent;
    }
    Right = para->RightIndent;
    if (fromList && GetParaBiDiMode(item->ParaNo) == rpbdRightToLeft) {
        Right = Left;
        Left = para->LeftIndent;
    }
}

void TCustomRPFormattedData::RaiseLineAscent(TLineBuilder& B, int NewAscent) {
    const int diff = NewAscent - B.LineAscent;
    if (diff <= 0) return;
    for (int i = B.LineStart; i < B.DrawCount; ++i) {
        TRPDrawLineInfo* d = DrawItems->GetPiece(i);
        d->Top = RPCoordSum(d->Top, diff);
    }
    B.Y = RPCoordSum(B.Y, diff);
    B.LineAscent = NewAscent;
}

void TCustomRPFormattedData::AddDrawItem(TLineBuilder& B, std::unique_ptr<TRPDrawLineInfo> D, int Ascent,
                                         int Descent) {
    if (D->FromNewLine) {
        // Lines past the document's bound stay there (RPCoords.h).
        B.Y = RPCoordSum(B.Y, B.LastLineSpacing);
        B.LastLineSpacing = 0;
        D->Top = RPCoordSum(B.Y, B.PendingBelow);
        B.LineAscent = Ascent;
        B.Y = RPCoordSum(D->Top, Ascent);
        B.PendingBelow = Descent;
    } else {
        if (Ascent > B.LineAscent) RaiseLineAscent(B, Ascent);
        D->Top = RPCoordSum(B.Y, -Ascent);
        B.PendingBelow = std::max(B.PendingBelow, Descent);
    }
    const int itemNo = D->ItemNo;
    const bool firstPiece = B.DrawCount == 0 || DrawItems->GetPiece(B.DrawCount - 1)->ItemNo != itemNo;
    DrawItems->InsertPiece(B.DrawCount, std::move(D));
    if (firstPiece && !ShareItems()) GetItem(itemNo)->DrawItemNo = B.DrawCount;
    ++B.DrawCount;
}

int TCustomRPFormattedData::FinishLine(TLineBuilder& B, bool NoJustify) {
    if (B.SkipFinish) {
        B.SkipFinish = false;
        return 0;
    }
    const int first = B.LineStart, last = B.DrawCount - 1;
    if (last < first) return 0;
    TRPDrawLineInfo* dl = DrawItems->GetPiece(last);
    if (IsFullLineItem(dl->ItemNo)) return 0;
    const int paraNo = GetItemPara(dl->ItemNo);
    const TParaInfo* para = B.Style->ParaStyles().GetItem(paraNo);
    const bool bidi = GetParaBiDiMode(paraNo) != rpbdUnspecified;
    TRPAlignment align = para->Alignment;
    if (align == rpaJustify && bidi) align = rpaLeft;
    int shift = 0;
    if (!(align == rpaLeft || (align == rpaJustify && NoJustify))) {
        shift = B.LineLeft + B.LineWidth - (dl->Left + dl->Width);
        if (align == rpaCenter) shift = std::max(0, shift / 2);
    }
    // Line spacing.
    int s = 0;
    if (para->LineSpacingType == rplsPercent) {
        if (const int percent = para->ShownLineSpacingPercent(); percent != 100) {
            int top = 0, bottom = 0;
            bool any = false;
            for (int i = first; i <= last; ++i) {
                const TRPDrawLineInfo* d = DrawItems->GetPiece(i);
                if (GetItemStyle(d->ItemNo) < 0) continue;
                top = any ? std::min(top, d->Top) : d->Top;
                bottom = any ? std::max(bottom, d->Top + d->Height) : d->Top + d->Height;
                any = true;
            }
            if (any) s = RPCoordClamp(static_cast<int64_t>(bottom - top) * (percent - 100) / 100);
        }
    } else if (para->LineSpacing >= 0) {
        s = B.ScaleY(para->LineSpacing);
    }
    for (int i = first; i <= last; ++i)
        DrawItems->GetPiece(i)->SpaceBelow = s;
    MaxLineOverlap = std::max(MaxLineOverlap, -s);
    if (align == rpaJustify && !NoJustify && last > first) {
        int count = 0;
        const auto startsWithSpace = [this](const TRPDrawLineInfo* d) {
            return GetItemStyle(d->ItemNo) >= 0 && d->Length > 0 &&
                   ItemTextIsSpaceAt(GetItemText(d->ItemNo), d->Offs, GetItemOptions(d->ItemNo));
        };
        for (int i = first + 1; i <= last; ++i)
            if (startsWithSpace(DrawItems->GetPiece(i))) ++count;
        // An overfull line takes its overflow out of its gaps the same way.
        for (int i = first + 1; i <= last; ++i) {
            TRPDrawLineInfo* d = DrawItems->GetPiece(i);
            if (count > 0 && startsWithSpace(d)) {
                const int js = shift / count;
                d->JustifySpace = js;
                d->Width = RPCoordSum(d->Width, js);
                shift -= js;
                --count;
            }
            const TRPDrawLineInfo* prev = DrawItems->GetPiece(i - 1);
            d->Left = RPCoordSum(prev->Left, prev->Width);
        }
    } else if (shift != 0) {
        for (int i = first; i <= last; ++i) {
            TRPDrawLineInfo* d = DrawItems->GetPiece(i);
            d->Left = RPCoordSum(d->Left, shift);
        }
    }
    if (bidi) ReorderLineForBiDi(B, first, last);
    return s;
}

void TCustomRPFormattedData::StartNewLine(TLineBuilder& B, int ItemNo, bool Wrapped) {
    B.NoLeadingSkip = false;
    if (Wrapped && B.DrawCount > B.LineStart) {
        const int idx = B.DrawCount - 1;
        TRPDrawLineInfo* d = DrawItems->GetPiece(idx);
        const bool firstOnLine =
            d->FromNewLine || (idx > 0 && DrawItems->GetPiece(idx - 1)->FromNewLine &&
                               IsListMarkerItem(DrawItems->GetPiece(idx - 1)->ItemNo));
        if (GetItemStyle(d->ItemNo) >= 0 && d->Length > 0 && !firstOnLine &&
            ItemTextIsSpaceAt(GetItemText(d->ItemNo), d->Offs + d->Length - 1, GetItemOptions(d->ItemNo))) {
            const TRPDrawLineInfo* prev = idx > 0 ? DrawItems->GetPiece(idx - 1) : nullptr;
            if (d->Length == 1 && prev && prev->ItemNo == d->ItemNo && !d->FromNewLine) {
                DrawItems->DeletePiece(idx);
                --B.DrawCount;
            } else {
                --d->Length;
                d->Width = PieceWidth(*B.Canvas, d->ItemNo, d->Offs, d->Length);
            }
            B.NoLeadingSkip = true;
        }
    }
    B.LastLineSpacing = FinishLine(B, !Wrapped);
    int left = 0, right = 0;
    GetLineIndents(B, ItemNo, !Wrapped, left, right);
    const TCustomRPItemInfo* item = GetItem(ItemNo);
    const TParaInfo* para = B.Style->ParaStyles().GetItem(item->ParaNo);
    if (!Wrapped && item->StartsPara()) {
        if (ItemNo > 0)
            B.PendingBelow = RPCoordSum(
                B.PendingBelow, B.ScaleY(B.Style->ParaStyles().GetItem(GetItemPara(ItemNo - 1))->SpaceAfter));
        B.PendingBelow = RPCoordSum(B.PendingBelow, B.ScaleY(para->SpaceBefore));
    }
    B.LineWidth = ((para->Options & rppaoNoWrap) ? ContentWidth : TextWidth) - B.ScaleX(left + right);
    B.LineLeft = B.ScaleX(left) + B.LeftPx;
    B.LineStart = B.DrawCount;
    B.LineX = 0;
    B.ForceNewLine = false;
}

int TCustomRPFormattedData::FitChars(TLineBuilder& B, int ItemNo, int From, int Remaining) {
    if (B.Style->ParaStyles().GetItem(GetItemPara(ItemNo))->Options & rppaoNoWrap) return Remaining;
    const int avail = std::max(0, B.LineWidth - B.LineX);
    const std::vector<int>& p = MeasureItemText(*B.Canvas, ItemNo);
    const int base = From > 1 ? p[static_cast<size_t>(From - 2)] : 0;
    const auto width = [&](int n) { return n <= 0 ? 0 : p[static_cast<size_t>(From + n - 2)] - base; };
    if (width(Remaining) <= avail) return Remaining;
    // The widest prefix that fits (widths never fall back).
    int lo = 0, hi = Remaining;
    while (lo + 1 < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (width(mid) <= avail)
            lo = mid;
        else
            hi = mid;
    }
    int n = lo;
    // Combining characters and surrogate halves stay with their base.
    if (n > 0 && n < Remaining && (GetItemOptions(ItemNo) & rpioUnicode)) {
        const QString t = MeasuredText(*B.Canvas, ItemNo);
        const auto tail = [&](int k) { return From - 1 + k < t.size() && IsClusterTail(t[From - 1 + k]); };
        if (tail(n)) {
            int m = n;
            while (m < Remaining && tail(m))
                ++m;
            if (width(m) <= avail) {
                n = m;
            } else {
                while (n > 0 && tail(n))
                    --n;
            }
        }
    }
    return n;
}

void TCustomRPFormattedData::PlaceTextItem(TLineBuilder& B, int ItemNo, int From, int Count) {
    TCustomRPItemInfo* item = GetItem(ItemNo);
    const int sn = GetActualStyle(item);
    ApplyTextStyle(B, sn, item->ParaNo);
    const int ascent = B.TmAscent + ((B.Flags & rpflExternalLeading) ? B.TmExtLeading : 0) + B.VShiftPx;
    const int descent = B.TmDescent - B.VShiftPx;
    bool newLine = From == 1 && (B.ForceNewLine || !item->GetContinuesPrev());
    bool wrapped = false;
    const std::string& text = GetItemText(ItemNo);
    const TRPItemOptions opt = item->ItemOptions;
    const bool unicode = (opt & rpioUnicode) != 0;
    const bool afterMarker = item->GetContinuesPrev() && IsListMarkerItem(ItemNo - 1) && B.DrawCount > 0 &&
                             DrawItems->GetPiece(B.DrawCount - 1)->ItemNo == ItemNo - 1;
    const bool dropSpace = (B.Flags & rpflWrapDropsSpace) != 0;

    if (ItemTextLength(text, opt) == 0) {
        if (newLine) StartNewLine(B, ItemNo, false);
        auto d = TRPDrawLineInfo::CreateEx(RPCoordSum(B.LineLeft, B.LineX), 0, 0, B.TmHeight, ItemNo,
                                           B.DrawCount == B.LineStart);
        d->Offs = 1;
        d->Length = 0;
        AddDrawItem(B, std::move(d), ascent, descent);
        return;
    }
    int pos = From, remaining = Count;
    bool firstPiece = true;
    while (remaining > 0) {
        if (newLine) {
            StartNewLine(B, ItemNo, wrapped);
            if (dropSpace && wrapped && remaining > 1 && !B.NoLeadingSkip && ItemTextIsSpaceAt(text, pos, opt)) {
                ++pos;
                --remaining;
            }
            newLine = false;
        }
        const bool fresh = B.DrawCount == B.LineStart;
        const bool mayCut = fresh || (firstPiece && afterMarker);
        int fit = FitChars(B, ItemNo, pos, remaining);
        if (fit == 0) {
            if (!mayCut) {
                newLine = wrapped = true;
                continue;
            }
            fit = 1;
            if (unicode && remaining > 1) {
                const QString t = MeasuredText(*B.Canvas, ItemNo);
                while (fit < remaining && pos - 1 + fit < t.size() && IsClusterTail(t[pos - 1 + fit]))
                    ++fit;
            }
        }
        int count = fit, skip = 0;
        if (fit < remaining) {
            int breakAt = -1; // 1-based position of the break character
            // A dropped space right after the fitting part breaks best: the
            // word before it ends exactly at the line's end and stays there.
            const bool spaceAfterFit =
                dropSpace && ItemTextIsSpaceAt(text, pos + fit, opt) &&
                (remaining > fit + 1 || (ItemNo + 1 < GetItemCount() && GetItem(ItemNo + 1)->GetContinuesPrev()));
            if (spaceAfterFit) {
                breakAt = pos + fit;
            } else if (!unicode) {
                for (int i = pos + fit - 1; i >= pos; --i)
                    if (text[static_cast<size_t>(i - 1)] == ' ') {
                        breakAt = i;
                        break;
                    }
            } else {
                const std::u16string w = ItemTextToWideStr(ItemTextCopy(text, pos, remaining, opt));
                const int r = FindLineBreakPosW(w, fit);
                if (r >= 0 && r < fit) breakAt = pos + r;
            }
            if (breakAt >= 0) {
                if (dropSpace && breakAt != pos && (!unicode || ItemTextIsSpaceAt(text, breakAt, opt))) {
                    count = breakAt - pos;
                    skip = 1;
                } else {
                    count = breakAt - pos + 1;
                }
            } else if (!mayCut) {
                newLine = wrapped = true;
                continue;
            }
        }
        auto d = TRPDrawLineInfo::CreateEx(RPCoordSum(B.LineLeft, B.LineX), 0,
                                           PieceWidth(*B.Canvas, ItemNo, pos, count), B.TmHeight, ItemNo,
                                           B.DrawCount == B.LineStart);
        d->Offs = pos;
        d->Length = count;
        B.LineX = RPCoordSum(B.LineX, d->Width);
        AddDrawItem(B, std::move(d), ascent, descent);
        pos += count + skip;
        remaining -= count + skip;
        firstPiece = false;
        if (remaining > 0) newLine = wrapped = true;
    }
}

void TCustomRPFormattedData::PlaceJustifiedTextItem(TLineBuilder& B, int ItemNo) {
    const std::string& text = GetItemText(ItemNo);
    const TRPItemOptions opt = GetItemOptions(ItemNo);
    const int len = ItemTextLength(text, opt);
    if (len == 0) {
        PlaceTextItem(B, ItemNo, 1, 0);
        return;
    }
    int pos = 1;
    while (pos <= len) {
        const int start = pos;
        if (ItemTextIsSpaceAt(text, pos, opt)) ++pos;
        while (pos <= len && !ItemTextIsSpaceAt(text, pos, opt))
            ++pos;
        PlaceTextItem(B, ItemNo, start, pos - start);
    }
}

void TCustomRPFormattedData::PlaceFullLineItem(TLineBuilder& B, int ItemNo, bool Force) {
    auto* item = static_cast<TRPNonTextItemInfo*>(GetItem(ItemNo));
    B.LastLineSpacing = FinishLine(B, true);
    B.Y = RPCoordSum(B.Y, B.LastLineSpacing);
    B.LastLineSpacing = 0;
    const TParaInfos& paras = B.Style->ParaStyles();
    if (ItemNo > 0)
        B.PendingBelow =
            RPCoordSum(B.PendingBelow, B.ScaleY(paras.GetItem(GetItemPara(ItemNo - 1))->SpaceAfter));
    const TParaInfo* para = paras.GetItem(item->ParaNo);
    B.PendingBelow = RPCoordSum(B.PendingBelow, B.ScaleY(para->SpaceBefore));
    std::unique_ptr<TRPDrawLineInfo> d;
    if (B.Flags & rpflPrintingDrawItems) d = item->CreatePrintingDrawItem(this, B.Res);
    if (!d) d = std::make_unique<TRPDrawLineInfo>();
    if (item->StyleNo == rpsnBreak) {
        B.PendingBelow = RPCoordSum(B.PendingBelow, B.ScaleY(paras.GetItem(0)->SpaceBefore));
        d->SetPosition(B.LeftPx, RPCoordSum(B.Y, B.PendingBelow), true, ItemNo);
        d->SetSize(TextWidth, 2 * B.ScaleY(5) + 1);
        B.Y = RPCoordSum(B.Y, B.PendingBelow, B.ScaleY(5), 1);
        B.PendingBelow = B.LineAscent = B.ScaleY(5);
    } else {
        const int lineWidth = TextWidth - B.ScaleX(para->LeftIndent + para->RightIndent);
        int descent = 1, xoff = 0;
        item->AdjustToDocWidth(lineWidth, d.get(), (B.Flags & rpflPrintLayout) != 0, B.Canvas, this,
                               B.ResPtr(), descent, xoff, false, Force);
        int w = B.ScaleX(item->GetWidth()), h = B.ScaleY(item->GetHeight());
        // An item that laid itself out for the printer gave its draw item that size.
        if (d->Width > 0 || d->Height > 0) {
            w = d->Width;
            h = d->Height;
        }
        w = RPCoordClamp(w);
        // A table spaced by less than nothing may come out lower than
        // nothing: the lines after it still start no higher than it does.
        h = std::max(0, RPCoordClamp(h));
        int left = B.ScaleX(para->LeftIndent) + B.LeftPx + xoff;
        if (para->Alignment == rpaRight)
            left += lineWidth - w;
        else if (para->Alignment == rpaCenter)
            left += std::max(0, (lineWidth - w) / 2);
        d->SetPosition(left, RPCoordSum(B.Y, B.PendingBelow), true, ItemNo);
        d->SetSize(w, h);
        B.Y = RPCoordSum(B.Y, B.PendingBelow, h);
        B.LineAscent = h;
        B.PendingBelow = 0;
    }
    B.LineStart = B.DrawCount;
    B.LineLeft = B.LeftPx;
    B.LineWidth = TextWidth;
    B.LineX = 0;
    // Placed directly: its line is finished as it stands.
    d->Offs = 0;
    d->Length = 0;
    DrawItems->InsertPiece(B.DrawCount, std::move(d));
    if (!ShareItems()) item->DrawItemNo = B.DrawCount;
    ++B.DrawCount;
    B.ForceNewLine = true;
    if (item->GetBoolValue(rpbivChangesFont)) B.AppliedStyle = -1;
}

void TCustomRPFormattedData::PlaceRectItem(TLineBuilder& B, int ItemNo, bool Force) {
    auto* item = static_cast<TRPNonTextItemInfo*>(GetItem(ItemNo));
    const TParaInfo* para = B.Style->ParaStyles().GetItem(item->ParaNo);
    std::unique_ptr<TRPDrawLineInfo> d;
    if (B.Flags & rpflPrintingDrawItems) d = item->CreatePrintingDrawItem(this, B.Res);
    if (!d) d = std::make_unique<TRPDrawLineInfo>();
    int descent = 1, xoff = 0;
    item->AdjustToDocWidth(TextWidth - B.ScaleX(para->LeftIndent + para->RightIndent + para->FirstIndent),
                           d.get(), (B.Flags & rpflPrintLayout) != 0, B.Canvas, this, B.ResPtr(), descent,
                           xoff, false, Force);
    int w, h;
    if (item->GetBoolValueEx(rpbivexDeviceUnits, B.Style)) {
        w = RPCoordClamp(item->GetWidth());
        h = RPCoordClamp(item->GetHeight());
    } else {
        w = B.ScaleX(RPCoordClamp(item->GetWidth()));
        h = B.ScaleY(RPCoordClamp(item->GetHeight()));
        descent = B.ScaleY(descent);
    }
    int ascent = h - descent;
    if (auto* r = dynamic_cast<TRPRectItemInfo*>(item)) {
        const int vshift = r->VShiftAbs ? B.ScaleY(r->VShift) : MulDiv(h, r->VShift, 100);
        ascent = (r->VAlign == 0 ? h - descent : h / 2) + vshift;
    }
    const bool explicitLine = B.ForceNewLine || !item->GetContinuesPrev();
    const bool afterMarker = item->GetContinuesPrev() && IsListMarkerItem(ItemNo - 1) && B.DrawCount > 0 &&
                             DrawItems->GetPiece(B.DrawCount - 1)->ItemNo == ItemNo - 1;
    const bool multi = dynamic_cast<TRPMultiDrawItemInfo*>(d.get()) != nullptr;
    if (explicitLine || multi ||
        (B.LineX + w > B.LineWidth && !(para->Options & rppaoNoWrap) && !afterMarker && B.DrawCount > B.LineStart))
        StartNewLine(B, ItemNo, !explicitLine);
    d->SetPosition(RPCoordSum(B.LineLeft, B.LineX, xoff), 0, B.DrawCount == B.LineStart, ItemNo);
    d->SetSize(w, h);
    d->Offs = 0;
    d->Length = 0;
    B.LineX = RPCoordSum(B.LineX, w, xoff);
    AddDrawItem(B, std::move(d), ascent, h - ascent);
    if (item->GetBoolValue(rpbivChangesFont)) B.AppliedStyle = -1;
}

void TCustomRPFormattedData::PlaceItems(TLineBuilder& B, int FirstItemNo, int LastItemNo, bool Force) {
    for (int i = FirstItemNo; i <= LastItemNo; ++i) {
        TCustomRPItemInfo* item = GetItem(i);
        if (item->StartsPara()) B.ParaStartNo = i;
        const int sn = GetActualStyle(item);
        if (sn >= 0) {
            const TParaInfo* para = B.Style->ParaStyles().GetItem(item->ParaNo);
            if (para->Alignment == rpaJustify)
                PlaceJustifiedTextItem(B, i);
            else
                PlaceTextItem(B, i, 1, ItemLength(i));
        } else if (item->GetBoolValue(rpbivFullLine)) {
            PlaceFullLineItem(B, i, Force);
        } else {
            PlaceRectItem(B, i, Force);
        }
    }
}

// ---------------------------------------------------------------------------
// The format routine

void TCustomRPFormattedData::Format(bool WidthChangeOnly, bool ReformatAnyway, bool NoScrollRestore, int Depth,
                                    TCanvas* Canvas, bool AppendOnly, bool Force) {
    if (SizeChangeGuard) {
        SizeChangeGuard = false;
        return;
    }
    if (Depth > 1 || !GetRPStyle() || (State & rpstFormatting)) return;
    if (!Canvas) Canvas = GetCanvas();
    if (!Canvas) return;
    if (Depth == 0) State |= rpstFormatting;
    TRPMeasureScope measure(FMeasure, 0, GetItemCount());
    int selStart = -1, selStartOffs = 0, selEnd = -1, selEndOffs = 0;
    int anchorItem = -1, anchorOffset = 0;
    int laidWidth = -1;
    try {
        if (Depth == 0 && WidthChangeOnly) {
            GetSelBounds(selStart, selStartOffs, selEnd, selEndOffs, false);
            if (!NoScrollRestore && DrawItemCount() > 0) {
                const int dn = std::min(FindDrawItemByY(GetVOffs(), 1), DrawItemCount() - 1);
                anchorOffset = GetVOffs() - DrawItem(dn)->Top;
                anchorItem = DrawItem(dn)->ItemNo;
            }
        }
        // Forced, the items measure themselves again.
        if (Force)
            for (int i = 0; i < GetItemCount(); ++i)
                if (TCustomRPItemInfo* item = GetItem(i)) item->ForgetMeasures();
        const int appendAnchor = GetVOffs();
        TLineBuilder B;
        InitLineBuilder(B, Canvas);
        const int oldText = TextWidth, oldContent = ContentWidth;
        SetFormatWidths(B, Canvas);
        if (!WidthChangeOnly || TextWidth != oldText || ContentWidth != oldContent || ReformatAnyway) {
            int first = 0;
            if (AppendOnly && LastFormattedItemNo >= 0 && DrawItemCount() > 0) {
                first = LastFormattedItemNo + 1;
                const TParaInfo* last = B.Style->ParaStyles().GetItem(GetItemPara(LastFormattedItemNo));
                B.Y = DocumentHeight - B.ScaleY(GetBottomMargin()) - B.ScaleY(last->SpaceAfter);
                // What a document at its bound gains stands at the bound too.
                if (DocumentHeight >= RPMaxCoord) B.Y = RPMaxCoord;
                B.DrawCount = DrawItemCount();
                B.LineStart = B.DrawCount;
                B.SkipFinish = true;
            } else {
                const bool keepSelection = WidthChangeOnly;
                ClearFormatting();
                if (!keepSelection) SelStartNo = SelEndNo = -1;
                B.Y = B.ScaleY(GetTopMargin());
            }
            B.PendingBelow = 0;
            B.LineX = 0;
            PlaceItems(B, first, GetItemCount() - 1, Force);
            B.LastLineSpacing = FinishLine(B, !(State & rpstFinalLineContinues));
            DocumentHeight = RPCoordSum(B.ScaleY(GetBottomMargin()), B.Y, B.PendingBelow, B.LastLineSpacing);
            if (GetItemCount() > 0)
                DocumentHeight = RPCoordSum(
                    DocumentHeight,
                    B.ScaleY(B.Style->ParaStyles().GetItem(GetItemPara(GetItemCount() - 1))->SpaceAfter));
            AdjustVScrollStep();
            if (GetFlags() & rpflRecordJumps) {
                Jumps.clear();
                NextJumpNo = 0;
                BuildJumpList(NextJumpNo, Jumps);
            }
            UpdateJumpPositions();
        }
        const int oldW = GetWidth(), oldH = GetHeight();
        SizeChangeGuard = true;
        SetDocumentAreaSize(GetLeftMargin() + ContentWidth + GetRightMargin(), DocumentHeight, true);
        SizeChangeGuard = false;
        if (GetWidth() != oldW || GetHeight() != oldH) {
            State &= ~rpstFormatting;
            Format(WidthChangeOnly, ReformatAnyway, false, Depth + 1, Canvas, false, Force);
            State |= rpstFormatting;
        }
        laidWidth = GetWidth();
        if (Depth == 0) {
            if (WidthChangeOnly && !NoScrollRestore) {
                const int dn = anchorItem >= 0 && anchorItem < GetItemCount() ? FindDrawItemForItem(anchorItem) : -1;
                ScrollToY(dn >= 0 ? DrawItem(dn)->Top + anchorOffset : 0, false);
            }
            if (!(GetFlags() & rpflNoControlMoving)) PlaceInsertedControls();
            if (AppendOnly) ScrollToY((GetOptions() & rpoScrollToEnd) ? DocumentHeight : appendAnchor, false);
            if (WidthChangeOnly && selStart >= 0) StoreSelectionBounds(selStart, selStartOffs, selEnd, selEndOffs);
        }
    } catch (...) {
        if (Depth == 0) {
            State &= ~rpstFormatting;
            LastFormattedItemNo = GetItemCount() - 1;
        }
        throw;
    }
    if (Depth == 0) {
        State &= ~rpstFormatting;
        LastFormattedItemNo = GetItemCount() - 1;
        AfterFormat(0, GetItemCount() - 1, false);
        // Placing the controls may have laid the document out again from
        // within this formatting (a cell editor's table that follows its
        // cell), which no formatting could follow then: when a scroll bar came
        // or went meanwhile, the lines take the width there is now.
        if (laidWidth >= 0 && GetWidth() != laidWidth && !FFollowingWidth) {
            FFollowingWidth = true;
            try {
                Format(true, false, true, 0, Canvas, false, false);
            } catch (...) {
                FFollowingWidth = false;
                throw;
            }
            FFollowingWidth = false;
        }
        SettleVerticalBar();
    }
}

void TCustomRPFormattedData::SetFormatWidths(const TLineBuilder& B, TCanvas* Canvas) {
    const int leftRight = B.LeftPx + B.RightPx;
    ContentWidth = std::max(CalcDocMinWidth(B.ResPtr(), Canvas), GetWidth() - leftRight);
    ContentWidth = std::max(ContentWidth, B.ScaleX(GetMinTextWidth()));
    if (GetOptions() & rpoClientTextWidth)
        TextWidth = std::max(GetWidth() - leftRight, B.ScaleX(GetMinTextWidth()));
    else if (GetMaxTextWidth() > 0 && ContentWidth > B.ScaleX(GetMaxTextWidth()))
        TextWidth = B.ScaleX(GetMaxTextWidth());
    else
        TextWidth = ContentWidth;
}

void TCustomRPFormattedData::FormatAll(bool Force) {
    Format(false, true, false, 0, GetCanvas(), false, Force);
}

// ---------------------------------------------------------------------------
// Searches

int TCustomRPFormattedData::FindDrawItemByY(int Y, int Mode) const {
    const int n = DrawItemCount();
    if (n == 0 || Y <= DrawItem(0)->Top) return 0;
    if (Mode == 3 && Y > DrawItem(n - 1)->Top) return n - 1;
    if (Mode == 2) return std::min(1, n - 1);
    if (n == 1) return 0;
    // The first draw item D with Top(D - 1) < Y <= Top(D).
    int lo = 1, hi = n - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (DrawItem(mid)->Top >= Y)
            hi = mid;
        else
            lo = mid + 1;
    }
    int d = lo;
    if (Mode == 1) {
        // Two lines up: the tops inside a line differ with the items' heights.
        for (int line = 0; line < 2 && d > 0; ++line) {
            while (d > 0 && !DrawItem(d)->FromNewLine)
                --d;
            if (d > 0) --d;
        }
        return d;
    }
    while (d < n - 1 && Y > DrawItem(d)->Top)
        ++d;
    return d;
}

int TCustomRPFormattedData::FindDrawItemForItem(int ItemNo) const {
    if (ItemNo < 0) return -1;
    for (int i = 0; i < DrawItemCount(); ++i)
        if (DrawItem(i)->ItemNo == ItemNo) return i;
    return -1;
}

// ---------------------------------------------------------------------------
// Jump areas

void TCustomRPFormattedData::BuildJumpList(int& StartJumpNo, std::vector<TRPJumpInfo>& List) {
    const TRPStyle* style = GetRPStyle();
    if (!style) return;
    int lastItem = -1;
    bool isJump = false;
    int id = -1;
    int16_t cursor = style->JumpCursor;
    for (int i = 0; i < DrawItemCount(); ++i) {
        const TRPDrawLineInfo* d = DrawItem(i);
        if (d->ItemNo != lastItem) {
            lastItem = d->ItemNo;
            TCustomRPItemInfo* item = GetItem(lastItem);
            const int sn = GetActualStyle(item);
            isJump = item->GetBoolValueEx(rpbivexJump, style);
            if (isJump && sn >= 0 && ItemLength(lastItem) == 0) {
                item->JumpID = -3;
                isJump = false;
            } else if (isJump) {
                id = StartJumpNo++;
                item->JumpID = id;
                cursor = sn >= 0 ? style->TextStyles().GetItem(sn)->JumpCursor : style->JumpCursor;
            }
            if (item->GetSubRPDataCount() > 0) item->BuildJumpList(StartJumpNo);
        }
        if (isJump) List.push_back(TRPJumpInfo{this, d->Left, d->Top, d->Width, d->Height, id, i, cursor});
    }
}

void TCustomRPFormattedData::UpdateJumpPositions() {
    for (TRPJumpInfo& j : Jumps) {
        if (!j.RPData || j.DItemNo < 0 || j.DItemNo >= j.RPData->DrawItemCount()) continue;
        int ox = 0, oy = 0;
        j.RPData->GetOrigin(ox, oy);
        const TRPDrawLineInfo* d = j.RPData->DrawItem(j.DItemNo);
        j.Left = RPCoordSum(d->Left, ox);
        j.Top = RPCoordSum(d->Top, oy);
        j.Width = d->Width;
        j.Height = d->Height;
    }
}
