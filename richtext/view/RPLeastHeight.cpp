// The least height a formatted document could have laid out wider: what
// decides whether a view lays its document out again without the vertical bar.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextMetrics.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPFormattedData.h"

namespace {

// What the width of a blank depends on in a text style that the style
// collection applies itself, with the metrics that measure it and the
// resolution of the canvas's font.
struct TBlankFont {
    uint64_t Metrics;
    int DevicePixelsPerInch;
    std::string FontName;
    int Size, PixelsPerInch, CharScale, CharSpacing;
    TRPFontStyleSet Style;
    uint8_t Charset;
    bool operator==(const TBlankFont&) const = default;
};

std::optional<TBlankFont> BlankFontOf(const TRPStyle& Style, int StyleNo, TCanvas& Canvas) {
    if (Style.OnApplyStyle) return std::nullopt;
    const TFontInfo* f = Style.TextStyles().GetItem(StyleNo);
    const auto* infos = dynamic_cast<const TFontInfos*>(f->Collection());
    return TBlankFont{TextMetricsStamp(),
                      Canvas.Font()->PixelsPerInch(),
                      f->FontName,
                      f->Size,
                      infos ? infos->PixelsPerInch : 0,
                      f->CharScale,
                      f->CharSpacing,
                      f->Style,
                      f->Charset};
}

// The blanks of the fonts measured so far: every key typed decides on the
// bar again, mostly with the same few fonts.
int KnownBlank(const TBlankFont& Font, const std::function<int()>& Measure) {
    thread_local std::vector<std::pair<TBlankFont, int>> known;
    for (const auto& [font, w] : known)
        if (font == Font) return w;
    const int w = Measure();
    // A few dozen fonts at most in practice; a document of many starts anew.
    if (known.size() >= 64) known.clear();
    known.emplace_back(Font, w);
    return w;
}

// The widest blank of each text style, measured once for all the documents
// (cells of tables too) that one decision looks at.
class TBlankWidths {
public:
    TBlankWidths(TRPStyle* Style, TCanvas* Canvas) : FStyle(Style), FCanvas(Canvas) {}
    const TRPStyle* Style() const { return FStyle; }
    // -1 when it cannot be measured.
    int Of(int StyleNo) {
        for (const auto& [sn, w] : FWidths)
            if (sn == StyleNo) return w;
        int w = -1;
        if (StyleNo >= 0 && StyleNo < FStyle->TextStyles().Count() && FCanvas) {
            const auto measure = [&] {
                FStyle->ApplyStyle(*FCanvas, StyleNo, rpbdUnspecified);
                const std::vector<int> p = TextMetrics().PrefixWidths(*FCanvas->Font(), QStringLiteral(" "));
                // Lines are measured with the style's character spacing, added to every character.
                return p.empty()
                           ? -1
                           : RPCoordSum(std::max(0, p.back()),
                                        std::max(0, FStyle->TextStyles().GetItem(StyleNo)->CharSpacing));
            };
            const std::optional<TBlankFont> font = BlankFontOf(*FStyle, StyleNo, *FCanvas);
            w = font ? KnownBlank(*font, measure) : measure();
        }
        FWidths.emplace_back(StyleNo, w);
        return w;
    }

private:
    TRPStyle* FStyle;
    TCanvas* FCanvas;
    std::vector<std::pair<int, int>> FWidths;
};

thread_local TBlankWidths* g_blanks = nullptr;

// Makes the blank widths of a decision known to the documents it looks at.
class TBlankWidthsScope {
public:
    TBlankWidthsScope(TRPStyle* Style, TCanvas* Canvas) {
        if (g_blanks && g_blanks->Style() == Style) return;
        FOwn.emplace(Style, Canvas);
        FWas = g_blanks;
        g_blanks = &*FOwn;
    }
    ~TBlankWidthsScope() {
        if (FOwn) g_blanks = FWas;
    }
    TBlankWidthsScope(const TBlankWidthsScope&) = delete;
    TBlankWidthsScope& operator=(const TBlankWidthsScope&) = delete;

private:
    std::optional<TBlankWidths> FOwn;
    TBlankWidths* FWas = nullptr;
};

// Whether a paragraph style spaces paragraphs by less than nothing: then a
// later line may end the document above an earlier one.
bool SpacesParasBelowZero(const TRPStyle& Style) {
    const TParaInfos& paras = Style.ParaStyles();
    for (int i = 0; i < paras.Count(); ++i)
        if (paras.GetItem(i)->SpaceBefore < 0 || paras.GetItem(i)->SpaceAfter < 0) return true;
    return false;
}

// A run of lines from a line that no wrap started up to the next one: laid
// out wider, its content takes no fewer lines than it needs at that width,
// and each of those lines is at least as high as the highest piece in it.
// Pieces are kept by how much of a line's advance they ask for (their height,
// with the spacing of the lines) and how much width they take.
class TRunBound {
public:
    static constexpr size_t kMaxLevels = 16;

    int Lines = 0;
    int Top = 0, Bottom = 0; // of its lines as laid out now, the spacing below the last one too
    int ParaNo = -1;
    bool Unbounded = false; // nothing known of its lines at the greater width
    int Blank = 0;          // the widest blank a wrap may drop, -1 unknown

    void Start(int ATop, int AParaNo, int AWidth) {
        Lines = 0;
        Top = Bottom = ATop;
        ParaNo = AParaNo;
        Unbounded = false;
        Blank = 0;
        FWidth = std::max(1, AWidth);
        FLevels.clear();
        FLast = 0;
    }
    void AddPiece(int Advance, int PieceWidth) {
        PieceWidth = std::clamp(PieceWidth, 0, FWidth);
        if (FLast < FLevels.size() && FLevels[FLast].Advance == Advance) {
            FLevels[FLast].Width = RPCoordSum(FLevels[FLast].Width, PieceWidth);
            return;
        }
        auto it = std::lower_bound(FLevels.begin(), FLevels.end(), Advance,
                                   [](const TLevel& L, int A) { return L.Advance > A; });
        if (it == FLevels.end() || it->Advance != Advance) it = FLevels.insert(it, TLevel{Advance, 0});
        it->Width = RPCoordSum(it->Width, PieceWidth);
        FLast = static_cast<size_t>(it - FLevels.begin());
        if (FLevels.size() > kMaxLevels) {
            // The two nearest levels become the lower one: the pieces then ask
            // for less than they do, which a least height may assume.
            size_t at = 0;
            for (size_t i = 1; i + 1 < FLevels.size(); ++i)
                if (FLevels[i].Advance - FLevels[i + 1].Advance <
                    FLevels[at].Advance - FLevels[at + 1].Advance)
                    at = i;
            FLevels[at + 1].Width = RPCoordSum(FLevels[at + 1].Width, FLevels[at].Width);
            FLevels.erase(FLevels.begin() + static_cast<long>(at));
            FLast = 0;
        }
    }
    // The least height of the lines that hold the run's pieces so far, laid
    // out wider. Whole: all of the run's pieces are in.
    int LeastHeight(bool Whole) const {
        if (Lines <= 1 && Whole) return Bottom - Top;
        if (Unbounded || FLevels.empty()) return 0;
        // A wrap drops at most two blanks: the one it breaks at and one
        // before it. All the run's lines have one wrap fewer than lines;
        // the lines that hold some of the pieces of a level and up touch at
        // most two wraps each.
        const int64_t blank = Blank < 0 ? 0 : Blank;
        const int64_t width = FWidth;
        int64_t content = 0, least = 0;
        for (size_t j = 0; j < FLevels.size(); ++j) {
            content += FLevels[j].Width;
            const int64_t below = j + 1 < FLevels.size() ? FLevels[j + 1].Advance : 0;
            int64_t lines = 1;
            if (Blank >= 0) {
                if (j + 1 < FLevels.size())
                    lines = (content + width + 4 * blank - 1) / (width + 4 * blank);
                else if (Whole)
                    lines = (content + 2 * blank + width + 2 * blank - 1) / (width + 2 * blank);
                else
                    lines = (content + width + 2 * blank - 1) / (width + 2 * blank);
            }
            lines = std::clamp<int64_t>(lines, 1, std::max(1, Lines));
            least += (FLevels[j].Advance - below) * lines;
        }
        return static_cast<int>(std::clamp<int64_t>(least, 0, Bottom - Top));
    }

private:
    struct TLevel {
        int Advance, Width;
    };
    int FWidth = 1;              // that a line may take at the greater width
    std::vector<TLevel> FLevels; // highest advance first
    size_t FLast = 0;            // the level the last piece went to
};

} // namespace

int TCustomRPFormattedData::LeastHeightWhenWider(int Enough, int Extra, int* Counted) {
    const int n = DrawItemCount();
    int counted = 0;
    if (!Counted) Counted = &counted;
    *Counted = 0;
    TRPStyle* style = GetRPStyle();
    // The draw items do not show the external leading that lines may add
    // below their text.
    if (!style || (GetFlags() & rpflExternalLeading)) return 0;
    TBlankWidthsScope blanks(style, GetCanvas());
    // Spaced by less than nothing, paragraphs further down may end the
    // document above lines before them: the whole document is counted then.
    if (Enough < INT_MAX && SpacesParasBelowZero(*style)) Enough = INT_MAX;
    // How far lines that may start left of the margin or end right of the
    // text width (indents below zero) widen a line.
    const auto outdent = [&](int ItemNo) {
        const TParaInfo* para = style->ParaStyles().GetItem(GetItemPara(ItemNo));
        int left = std::min({0, para->LeftIndent, para->LeftIndent + para->FirstIndent});
        const int start = GetFirstParaItem(ItemNo);
        if (IsListMarkerItem(start))
            if (const TRPListLevel* level =
                    static_cast<const TRPMarkerItemInfo*>(GetItem(start))->GetLevelInfo(style))
                left = std::min({left, level->LeftIndent, level->MarkerIndent});
        return RPCoordSum(-left, std::max(0, -para->RightIndent));
    };
    // What the lines counted so far could give up at the greater width.
    int gone = 0;
    TRunBound run;
    const auto closeRun = [&] {
        if (run.Lines > 0) gone = RPCoordSum(gone, std::max(0, run.Bottom - run.Top - run.LeastHeight(true)));
        run.Lines = 0;
    };
    // The spacing of the current run's lines, and what the last item seen asks.
    bool percent = false;
    int spacing = 100, lastItem = -1, advance = 0, blank = 0;
    bool marker = false;
    const TRPDrawLineInfo* d = n > 0 ? DrawItem(0) : nullptr;
    for (int k = 0; k < n;) {
        const TRPDrawLineInfo* first = d;
        TCustomRPItemInfo* firstItem = GetItem(first->ItemNo);
        if (firstItem->GetBoolValue(rpbivFullLine)) {
            closeRun();
            const int top = first->Top, bottom = RPCoordSum(first->Top, first->Height, first->SpaceBelow);
            const int lose = firstItem->HeightToLoseWhenWider(
                Extra, Enough == INT_MAX ? INT_MAX : RPCoordSum(Enough, gone, -top));
            gone = RPCoordSum(gone, std::clamp(lose, 0, first->Height));
            if (++k < n) d = DrawItem(k);
            lastItem = -1;
            if (RPCoordSum(bottom, -gone) > Enough) {
                *Counted = k;
                return RPCoordSum(bottom, -gone);
            }
            continue;
        }
        // A line that a wrap started, inside an item or between two, may
        // join the line before it.
        const bool wrapped = run.Lines > 0 && (first->ItemNo == lastItem || firstItem->GetContinuesPrev());
        if (!wrapped) {
            closeRun();
            run.Start(first->Top, firstItem->ParaNo, RPCoordSum(TextWidth, Extra, outdent(first->ItemNo)));
            const TParaInfo* para = style->ParaStyles().GetItem(run.ParaNo);
            percent = para->LineSpacingType == rplsPercent;
            spacing = para->ShownLineSpacingPercent();
            lastItem = -1;
        }
        int bottom = run.Bottom;
        do {
            if (d->ItemNo != lastItem) {
                lastItem = d->ItemNo;
                const TCustomRPItemInfo* item = d == first ? firstItem : GetItem(lastItem);
                // Lines of another paragraph's spacing: nothing is known of them.
                if (item->ParaNo != run.ParaNo) run.Unbounded = true;
                const int sn = GetActualStyle(item);
                marker = item->StyleNo == rpsnListMarker;
                // What a piece of the item asks of its line's advance, per
                // pixel of its height in hundredths: a line's spacing comes
                // from its text, in percent its text's height times the
                // percentage; spaced by pixels, it adds them.
                advance = percent && spacing < 100 ? spacing : percent && sn >= 0 ? spacing : 100;
                blank = sn >= 0 && g_blanks ? g_blanks->Of(sn) : 0;
            }
            const int h = std::max(0, d->Height);
            int ask = advance == 100 ? h : static_cast<int>(int64_t(h) * advance / 100);
            if (!percent) ask = RPCoordSum(ask, std::max(0, d->SpaceBelow));
            // List markers stand before the text and take no room of it.
            run.AddPiece(ask, marker ? 0 : std::max(0, d->Width - d->JustifySpace));
            if (blank < 0 || run.Blank < 0)
                run.Blank = -1;
            else
                run.Blank = std::max(run.Blank, blank);
            run.Top = std::min(run.Top, d->Top);
            bottom = std::max(bottom, RPCoordSum(d->Top, d->Height, d->SpaceBelow));
            if (++k < n) d = DrawItem(k);
        } while (k < n && !d->FromNewLine);
        ++run.Lines;
        run.Bottom = bottom;
        // What the lines counted so far keep: no more than they take now.
        if (RPCoordSum(run.Bottom, -gone) > Enough) {
            const int least = RPCoordSum(run.Top, -gone, run.LeastHeight(false));
            if (least > Enough) {
                *Counted = k;
                return least;
            }
        }
    }
    closeRun();
    return std::max(0, RPCoordSum(DocumentHeight, -gone));
}
