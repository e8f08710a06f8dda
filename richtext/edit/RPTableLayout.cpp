// Table layout: minimum width, column widths from absolute, percent and
// automatic widths, row heights, cell boxes, and the hit tests on a layout.
#include <algorithm>
#include <climits>
#include <vector>

#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RPTablePrint.h"
#include "richtext/model/RPCoords.h"

void TRPTableItemFormattingInfo::Clear() {
    LaidOutFor = -1;
    RowsPastBound = 0;
    RowsClimb = false;
    ColWidths.Clear();
    RowHeights.Clear();
    ColStarts.Clear();
    RowStarts.Clear();
}

struct TRPTableItemInfo::TLayoutRun {
    TRPTableItemFormattingInfo* Info = nullptr;
    TCanvas* Canvas = nullptr;
    bool Natural = false;
    bool MinMode = false;
    int Remaining = 0;
    int SumMin = 0;
    std::vector<int> Marks; // 0 free, 1 pixel, 2 percent
    int Col(int k) const { return Info->ColWidths[k]; }
    void SetCol(int k, int v) { Info->ColWidths.Put(k, v); }
};

namespace {

// The resolution of a layout is held by the table while it runs.
class TResolutionScope {
public:
    TResolutionScope(const TRPResolution*& Slot, const TRPResolution* Value) : FSlot(Slot), FOld(Slot) {
        Slot = Value;
    }
    ~TResolutionScope() { FSlot = FOld; }

private:
    const TRPResolution*& FSlot;
    const TRPResolution* FOld;
};

} // namespace

int TRPTableItemInfo::FixedH() const {
    const int C = Rows->GetColCount();
    return ScaleX((C - 1) * CellHSpacing + 2 * (BorderWidth + BorderHSpacing) + 2 * C * CellBorderWidth);
}

int TRPTableItemInfo::PadH() const {
    return ScaleX(2 * Rows->GetColCount() * CellPadding);
}

// ---------------------------------------------------------------------------
// Minimum width

namespace {

// Canvases of one resolution measure alike: the screen's controls share what
// one of them measured.
int64_t SurfaceOf(TCanvas* Canvas) {
    return Canvas ? static_cast<int64_t>(Canvas->PixelsPerInchX()) << 32 |
                        static_cast<uint32_t>(Canvas->PixelsPerInchY())
                  : -1;
}

} // namespace

int TRPTableItemInfo::GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) {
    (void)RPData;
    const int64_t surface = SurfaceOf(Canvas);
    if (!sad && FMinWidth >= 0 && surface == FMinWidthSurface) return FMinWidth;
    const int w = MeasureMinWidth(sad, Canvas);
    if (!sad) {
        FMinWidth = w;
        FMinWidthSurface = surface;
    }
    return w;
}

void TRPTableItemInfo::ForgetMinWidth() {
    FMinWidth = -1;
    // A table in a cell is part of that cell's content.
    for (TCustomRPData* doc = Rows ? Rows->RPData : nullptr;
         auto* cell = dynamic_cast<TRPTableCellData*>(doc);) {
        TRPTableItemInfo* outer = cell->Table();
        if (!outer) break;
        outer->FMinWidth = -1;
        outer->FFactsKnown = false;
        doc = outer->GetRPData();
    }
}

int TRPTableItemInfo::MeasureMinWidth(const TRPResolution* sad, TCanvas* Canvas) {
    TResolutionScope scope(Resolution, sad);
    if (Rows->IsEmpty()) return ScaleX(2 * (BorderWidth + BorderHSpacing));
    TColumnFacts facts;
    GatherColumnFacts(facts, sad, Canvas);
    return MinWidthFrom(facts);
}

void TRPTableItemInfo::GatherColumnFacts(TColumnFacts& F, const TRPResolution* sad, TCanvas* Canvas) {
    const int C = Rows->GetColCount(), R = Rows->RowCount();
    F = TColumnFacts{};
    F.Cols.resize(static_cast<size_t>(C));
    for (int c = 0; c < C; ++c) {
        TColumnFacts::TCol& col = F.Cols[static_cast<size_t>(c)];
        col.Cells.assign(static_cast<size_t>(R), 0);
        for (int r = 0; r < R; ++r) {
            TRPTableCellData* cell = Rows->GetCell(r, c);
            if (!cell || cell->ColSpan >= 2) continue;
            const int w = CellMinWidth(cell, sad, Canvas);
            col.Cells[static_cast<size_t>(r)] = w;
            col.Min = std::max(col.Min, w);
        }
        col.PixelBest = Rows->GetColPixelBestWidth(c);
        col.Percent = Rows->IsColPercent(c);
    }
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            if (TRPTableCellData* cell = Rows->GetCell(r, c); cell && cell->ColSpan > 1)
                F.Spans.push_back(TColumnFacts::TSpan{cell, r, c, std::min(C, c + cell->ColSpan),
                                                      CellMinWidth(cell, sad, Canvas), cell->BestWidth});
}

int TRPTableItemInfo::MinWidthFrom(const TColumnFacts& F) const {
    const int C = static_cast<int>(F.Cols.size());
    const int pad2 = ScaleX(2 * CellPadding);
    std::vector<int> minCol(static_cast<size_t>(C));
    for (int c = 0; c < C; ++c) {
        const TColumnFacts::TCol& col = F.Cols[static_cast<size_t>(c)];
        minCol[static_cast<size_t>(c)] = BestWidth == 0 ? std::max(col.Min, ScaleX(col.PixelBest)) : col.Min;
    }
    for (const TColumnFacts::TSpan& s : F.Spans) {
        const int c = s.Col, last = s.Last;
        int w = s.Min;
        if (BestWidth == 0) w = std::max(w, ScaleX(s.BestWidth));
        const int need = RPCoordSum(w, pad2);
        int have = ScaleX(-CellHSpacing - 2 * CellBorderWidth);
        int sum = 0;
        for (int k = c; k < last; ++k) {
            have = RPCoordSum(have, minCol[static_cast<size_t>(k)],
                              ScaleX(CellHSpacing + 2 * CellPadding + 2 * CellBorderWidth));
            sum = RPCoordSum(sum, minCol[static_cast<size_t>(k)], pad2);
        }
        if (have >= need) continue;
        int grow = RPCoordSum(need, -have, sum);
        for (int k = c; k < last; ++k) {
            int& m = minCol[static_cast<size_t>(k)];
            const int old = m + pad2;
            const int share =
                k == last - 1 ? grow : (sum > 0 ? RPCoordScale(old, grow, sum) : grow / (last - k));
            m = share - pad2;
            sum = std::max(0, sum - old);
            grow -= share;
        }
    }
    int result = PadH() + FixedH();
    for (int w : minCol)
        result = RPCoordSum(result, w);
    if (BestWidth > 0) result = std::max(result, ScaleX(BestWidth));
    return result;
}

int TRPTableItemInfo::HeightToLoseWhenWider(int Extra, int Enough) {
    // A table of its own width, or of columns of their own widths, keeps its
    // layout at any width.
    if (BestWidth > 0 || (BestWidth == 0 && FFactsNatural)) return 0;
    // Columns that share the width may wrap their cells' lines less, each
    // column wider by no more than the table: a row loses at most what the
    // cell that can lose the most of it loses.
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    const TRPTableItemFormattingInfo& f = FormattingInfo;
    // Rows further down only add to the table's height, unless cells are
    // spaced by less than their borders and paddings give back. What follows
    // the last row may be less than nothing (a border spacing below zero):
    // the table then ends above where its rows start.
    const bool mayStop = Enough < INT_MAX && f.RowStarts.Count() == R && f.RowHeights.Count() == R &&
                         2 * (CellPadding + CellBorderWidth) + CellVSpacing >= 0;
    const int below =
        mayStop && R > 0 ? std::min(0, RPCoordSum(f.Height, -f.RowStarts[R - 1], -f.RowHeights[R - 1])) : 0;
    // What each row from the current one on could lose (cells merged down
    // reach rows ahead).
    std::vector<int> rowLoss;
    int total = 0;
    for (int r = 0; r < R; ++r) {
        if (rowLoss.empty()) rowLoss.push_back(0);
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* cell = Rows->GetCell(r, c);
            TCustomRPFormattedData* content = cell ? cell->GetContentData() : nullptr;
            // A cell of one line keeps it; a table alone in a cell is one
            // draw item that may still lose height.
            if (!content || content->DrawItemCount() == 0) continue;
            if (content->DrawItemCount() == 1) {
                const TCustomRPItemInfo* item =
                    content->GetItem(content->GetItemCount() == 1 ? 0 : content->DrawItem(0)->ItemNo);
                if (item->StyleNo >= 0 || !item->GetBoolValue(rpbivFullLine)) continue;
            }
            const int loss =
                std::max(0, content->DocumentHeight - content->LeastHeightWhenWider(INT_MAX, Extra));
            const size_t span = static_cast<size_t>(std::min(R - r, std::max(1, cell->RowSpan)));
            if (rowLoss.size() < span) rowLoss.resize(span, 0);
            for (size_t k = 0; k < span; ++k)
                rowLoss[k] = std::max(rowLoss[k], loss);
        }
        total = RPCoordSum(total, rowLoss.front());
        rowLoss.erase(rowLoss.begin());
        if (mayStop && r + 1 < R && RPCoordSum(f.RowStarts[r + 1], -total, below) > Enough) break;
    }
    return total;
}

bool TRPTableItemInfo::TrustsKeptCell(const TRPTableCellData* Cell) const {
    return FTrustKeptCells && FInplaceEditor && FKeptCellsFor == FInplaceEditor &&
           Cell != FInplaceEditor->Cell && FKeptCellMinWidths.count(Cell) != 0;
}

int TRPTableItemInfo::CellMinWidth(TRPTableCellData* Cell, const TRPResolution* sad, TCanvas* Canvas) {
    if (!sad && Canvas == FKeptCellsCanvas && TrustsKeptCell(Cell)) return FKeptCellMinWidths[Cell];
    const int w = Cell->GetMinWidth(sad, Canvas);
    if (!sad && FInplaceEditor) {
        if (FKeptCellsFor != FInplaceEditor || FKeptCellsCanvas != Canvas) {
            FKeptCellMinWidths.clear();
            FKeptCellsFor = FInplaceEditor;
            FKeptCellsCanvas = Canvas;
        }
        FKeptCellMinWidths[Cell] = w;
    }
    return w;
}

// ---------------------------------------------------------------------------
// Layout

void TRPTableItemInfo::AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout,
                                        TCanvas* Canvas, TCustomRPData* RPData, const TRPResolution* sad,
                                        int& Descent, int& XOffset, bool OnlyMeasure, bool Force) {
    (void)PrintLayout, (void)RPData, (void)OnlyMeasure;
    Descent = 0;
    XOffset = 0;
    if (auto* print = dynamic_cast<TRPTablePrintInfo*>(DrawItem)) {
        // A layout for the printer goes into the printing draw item, which takes its size.
        TResolutionScope scope(Resolution, &print->Resolution);
        UpdateLayout(DocWidth, print->FormattingInfo, false, Canvas);
        print->Width = print->FormattingInfo.Width;
        print->Height = print->FormattingInfo.Height;
        return;
    }
    const bool changed = (TableState & rptbsChanged) != 0;
    const bool rows = (TableState & rptbsRowsChanged) != 0;
    TableState &= ~(rptbsChanged | rptbsRowsChanged);
    FChangedBand.Known = false;
    TResolutionScope scope(Resolution, sad);
    TRPTableItemFormattingInfo& info = FormattingInfo;
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    const bool rowsOnly = rows && !Force && !changed && info.LaidOutFor == DocWidth &&
                          info.ColWidths.Count() == C && info.RowHeights.Count() == R && !Rows->IsEmpty();
    // A forced format, a change, or rows that cannot be placed alone (the
    // width changed since) lay the table out, also at an unchanged width.
    const bool force = Force || changed || (rows && !rowsOnly);
    if (force) FormattingInfo.Width = 0;
    if (rowsOnly) {
        // A cell grew or shrank in height only: its column and every cell's
        // lines stay as they are.
        std::vector<int> oldStarts(static_cast<size_t>(R)), oldHeights(static_cast<size_t>(R));
        for (int r = 0; r < R; ++r) {
            oldStarts[static_cast<size_t>(r)] = info.RowStarts[r];
            oldHeights[static_cast<size_t>(r)] = info.RowHeights[r];
        }
        TLayoutRun L;
        L.Info = &info;
        L.Canvas = Canvas;
        PlaceRows(L);
        NoteChangedRows(oldStarts, oldHeights);
        return;
    }
    // A table that changed is laid out anew; the tables in its cells are
    // only when the document's formatting forces them (or they changed, or
    // their width did).
    UpdateLayout(DocWidth, FormattingInfo, force, Canvas, Force);
}

void TRPTableItemInfo::NoteChangedRows(const std::vector<int>& OldStarts,
                                       const std::vector<int>& OldHeights) {
    const TRPTableItemFormattingInfo& info = FormattingInfo;
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    int first = R, last = -1;
    for (int r = 0; r < R; ++r)
        if (info.RowHeights[r] != OldHeights[static_cast<size_t>(r)]) {
            first = std::min(first, r);
            last = r;
        }
    // A background picture is laid over the whole table, and a border drawn
    // by the application may depend on anything: the table is painted whole.
    if (OnDrawBorder || (FBackground && FBackground->GetBitmap() && !FBackground->GetBitmap()->Empty()))
        return;
    // Rows that climb above the ones before them moved the whole table down.
    if (R > 0 && info.RowStarts[0] != OldStarts[0]) return;
    // The dotted grid of the table's frame runs from the table's top: moved
    // with the rows below the band, its dots would not fall where they are drawn.
    const bool dotted = (TableState & rptbsEditorDoc) && !(Options & rptoHideGridLines) && BorderWidth == 0;
    if (last < 0) {
        // Nothing moved: an empty band.
        FChangedBand = {true, 0, 0, 0, dotted};
        return;
    }
    // A cell spanning into the changed rows is drawn anew as a whole (its
    // background and its vertical alignment follow its height).
    for (bool grew = true; grew;) {
        grew = false;
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C; ++c) {
                const TRPTableCellData* cell = Rows->GetCell(r, c);
                if (!cell || cell->RowSpan < 2) continue;
                const int end = std::min(R, r + cell->RowSpan) - 1;
                if (end < first || r > last) continue;
                if (r < first || end > last) {
                    first = std::min(first, r);
                    last = std::max(last, end);
                    grew = true;
                }
            }
    }
    // Borders and spacing around the band are taken in.
    const int top = first > 0 ? OldStarts[static_cast<size_t>(first - 1)] : 0;
    const int oldBottom = last + 1 < R ? OldStarts[static_cast<size_t>(last + 1)] : -1;
    const int newBottom = last + 1 < R ? info.RowStarts[last + 1] : -1;
    if (oldBottom < 0) {
        // The last rows changed: the band runs to the table's end, whose
        // height the document knows.
        return;
    }
    FChangedBand = {true, top, oldBottom, newBottom, dotted};
}

bool TRPTableItemInfo::TakeChangedBand(int& Top, int& OldBottom, int& NewBottom, bool& FixedFrame) {
    const TChangedBand b = FChangedBand;
    FChangedBand.Known = false;
    if (!b.Known) return false;
    Top = b.Top;
    OldBottom = b.OldBottom;
    NewBottom = b.NewBottom;
    FixedFrame = b.FixedFrame;
    return true;
}

bool TRPTableItemInfo::AllColumnsHavePixelWidths() const {
    const int C = Rows->GetColCount(), R = Rows->RowCount();
    std::vector<bool> starts(static_cast<size_t>(C), false), pixelEnd(static_cast<size_t>(C), false);
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            int mr, mc;
            const TRPTableCellData* main = Rows->GetMainCell(r, c, mr, mc);
            if (main && main->BestWidth < 0) return false;
            const TRPTableCellData* cell = Rows->GetCell(r, c);
            if (!cell) continue;
            starts[static_cast<size_t>(c)] = true;
            if (cell->BestWidth > 0) pixelEnd[static_cast<size_t>(std::min(C, c + cell->ColSpan) - 1)] = true;
        }
    for (int c = 0; c < C; ++c)
        if (!starts[static_cast<size_t>(c)] || !pixelEnd[static_cast<size_t>(c)]) return false;
    return true;
}

void TRPTableItemInfo::DistributeSpanWidth(TLayoutRun& L, const TColumnFacts::TSpan& S, int w, bool MinMode,
                                           int Level) {
    const int Col = S.Col, last = S.Last;
    const int pad2 = ScaleX(2 * CellPadding);
    const int need = RPCoordSum(w, pad2);
    const int per = ScaleX(CellHSpacing + 2 * CellPadding + 2 * CellBorderWidth);
    int have = 0, sum = 0, level = -1;
    for (int lv = 0; lv <= (MinMode ? 0 : Level); ++lv) {
        have = ScaleX(-CellHSpacing - 2 * CellBorderWidth);
        sum = 0;
        bool any = false;
        for (int k = Col; k < last; ++k) {
            have = RPCoordSum(have, L.Col(k), per);
            if (MinMode || L.Marks[static_cast<size_t>(k)] <= lv) {
                any = true;
                sum = RPCoordSum(sum, std::max(1, L.Col(k) + pad2));
            }
        }
        if (any) {
            level = lv;
            break;
        }
    }
    if (level < 0 || have >= need) return;
    int grow = need - have;
    if (!MinMode && !L.Natural) {
        grow = std::min(grow, L.Remaining);
        L.Remaining -= grow;
    }
    if (grow <= 0) return;
    int total = RPCoordSum(grow, sum);
    for (int k = Col; k < last; ++k) {
        if (!MinMode && L.Marks[static_cast<size_t>(k)] > level) continue;
        const int cw = std::max(1, L.Col(k) + pad2);
        // A sum held at the bound may fall short of a column's width.
        const int nw = sum > 0 ? RPCoordScale(cw, total, sum) : cw;
        L.SetCol(k, nw - pad2);
        sum = std::max(0, sum - cw);
        total -= nw;
        if (MinMode) L.SumMin = RPCoordSum(L.SumMin, nw, -cw);
    }
}

void TRPTableItemInfo::DistributeSpanHeight(TLayoutRun& L, int Row, int Col) {
    TRPTableCellData* cell = Rows->GetCell(Row, Col);
    TRPTableItemFormattingInfo& info = *L.Info;
    const int R = Rows->RowCount();
    const int last = std::min(R, Row + cell->RowSpan);
    int need;
    TCustomRPFormattedData* print =
        info.CellPrintDocs ? info.CellPrintDocs->Get(Row * Rows->GetColCount() + Col) : nullptr;
    if (info.CellPrintDocs)
        need = RPCoordSum(std::max(ScaleY(std::max(cell->BestHeight, 10)), print ? print->DocumentHeight : 0),
                          ScaleY(2 * CellPadding));
    else
        need = ScaleY(RPCoordSum(cell->GetContentHeight(), 2 * CellPadding));
    int have = ScaleY(-CellVSpacing - 2 * CellBorderWidth);
    for (int k = Row; k < last; ++k)
        have = RPCoordSum(have, info.RowHeights[k],
                          ScaleY(CellVSpacing + 2 * CellPadding + 2 * CellBorderWidth));
    if (have >= need) return;
    std::vector<bool> freeRow(static_cast<size_t>(last - Row), false);
    bool anyFree = false;
    for (int k = Row; k < last; ++k) {
        const bool f = !Rows->GetRow(k)->HasCellEndingIn(k, Row, last - Row);
        freeRow[static_cast<size_t>(k - Row)] = f;
        anyFree = anyFree || f;
    }
    int base = 0;
    for (int k = Row; k < last; ++k)
        if (!anyFree || freeRow[static_cast<size_t>(k - Row)]) base = RPCoordSum(base, info.RowHeights[k]);
    int grow = need - have;
    info.Height = RPCoordSum(info.Height, grow);
    for (int k = Row; k < last; ++k) {
        if (anyFree && !freeRow[static_cast<size_t>(k - Row)]) continue;
        const int h = info.RowHeights[k];
        // Rows without height share the growth evenly rather than dividing by
        // zero; a sum held at the bound may fall short of a row's height.
        const int share = base > 0 ? RPCoordScale(h, grow, base) : grow;
        base = std::max(0, base - h);
        info.RowHeights.Put(k, RPCoordSum(h, share));
        grow -= share;
        if (grow <= 0) break;
    }
}

int TRPTableItemInfo::TargetWidth(int AvailableWidth, bool Natural) const {
    if (BestWidth > 0) return ScaleX(BestWidth);
    if (BestWidth < 0) return RPCoordClamp(static_cast<int64_t>(-BestWidth) * AvailableWidth / 100);
    return Natural ? 0 : AvailableWidth;
}

int TRPTableItemInfo::PercentWidthOf(TColumnFacts& F, int Col, int Base) const {
    if (F.PercentBase != Base) {
        F.PercentWidths.resize(F.Cols.size());
        for (size_t c = 0; c < F.Cols.size(); ++c)
            F.PercentWidths[c] = Rows->GetColPercentWidth(static_cast<int>(c), Base);
        F.PercentBase = Base;
    }
    return F.PercentWidths[static_cast<size_t>(Col)];
}

void TRPTableItemInfo::ColumnWidthsFrom(TLayoutRun& L, TColumnFacts& F, int T) {
    TRPTableItemFormattingInfo& Info = *L.Info;
    const int C = static_cast<int>(F.Cols.size());
    const int pad2 = ScaleX(2 * CellPadding);
    int inner = 0;
    if (!L.Natural) inner = T - FixedH() - PadH();
    L.Marks.assign(static_cast<size_t>(C), 0);
    L.SumMin = 0;
    L.Remaining = 0;
    Info.ColWidths.Clear();
    for (const TColumnFacts::TCol& col : F.Cols) {
        Info.ColWidths.Add(col.Min);
        L.SumMin = RPCoordSum(L.SumMin, col.Min);
    }
    for (const TColumnFacts::TSpan& s : F.Spans)
        DistributeSpanWidth(L, s, s.Min, true, 0);

    if (!L.Natural && L.SumMin >= inner) {
        Info.Width = RPCoordSum(T, -inner, L.SumMin);
    } else {
        int pixelCount = 0;
        const int pctBase = T - FixedH();
        if (!L.Natural) {
            // Percent columns.
            L.Remaining = inner - L.SumMin;
            std::vector<int> P(static_cast<size_t>(C));
            int want = 0, minRest = 0;
            for (int c = 0; c < C; ++c) {
                P[static_cast<size_t>(c)] = std::max(0, PercentWidthOf(F, c, pctBase) - pad2);
                if (P[static_cast<size_t>(c)] > L.Col(c)) {
                    want = RPCoordSum(want, P[static_cast<size_t>(c)]);
                    minRest = RPCoordSum(minRest, L.Col(c));
                    L.Remaining = RPCoordSum(L.Remaining, L.Col(c));
                }
            }
            // A column whose percentage its content already fills has its
            // width, whether other columns want more or not.
            for (int c = 0; c < C; ++c)
                if (const int p = P[static_cast<size_t>(c)]; p > 0 && p <= L.Col(c)) L.Marks[static_cast<size_t>(c)] = 2;
            if (want > 0) {
                int den = std::max(want, L.Remaining);
                for (int c = 0; c < C; ++c) {
                    const int p = P[static_cast<size_t>(c)];
                    if (p == 0) continue;
                    if (p > L.Col(c)) {
                        minRest -= L.Col(c);
                        int share = den > 0 ? RPCoordScale(p, L.Remaining, den) : 0;
                        den -= p;
                        if (share > 0) L.Marks[static_cast<size_t>(c)] = 2;
                        share = std::min(share, L.Remaining - minRest);
                        L.SetCol(c, std::max(L.Col(c), share));
                        L.Remaining -= L.Col(c);
                        if (L.Remaining == 0 && minRest == 0) break;
                    }
                }
            }
            // Percent spanning cells, while room is left at the start of their row.
            int row = -1;
            for (const TColumnFacts::TSpan& s : F.Spans) {
                if (s.Row != row && L.Remaining <= 0) break;
                row = s.Row;
                if (s.BestWidth >= 0) continue;
                DistributeSpanWidth(L, s, MulDiv(-s.BestWidth, pctBase, 100) - pad2, false, 2);
                for (int k = s.Col; k < s.Last; ++k)
                    if (L.Marks[static_cast<size_t>(k)] == 0) L.Marks[static_cast<size_t>(k)] = 2;
            }
        }
        // Pixel columns.
        if (L.Natural || L.Remaining >= 1)
            for (int c = 0; c < C; ++c) {
                if (L.Marks[static_cast<size_t>(c)] != 0) continue;
                int w = ScaleX(F.Cols[static_cast<size_t>(c)].PixelBest);
                if (w > 0) {
                    L.Marks[static_cast<size_t>(c)] = 1;
                    ++pixelCount;
                }
                if (w > L.Col(c)) {
                    if (!L.Natural) {
                        L.Remaining = RPCoordSum(L.Remaining, L.Col(c));
                        w = std::min(w, L.Remaining);
                    }
                    L.SetCol(c, w);
                    if (!L.Natural) {
                        L.Remaining -= w;
                        if (L.Remaining == 0) break;
                    }
                }
            }
        // Pixel spanning cells.
        if (L.Natural || L.Remaining > 0)
            for (const TColumnFacts::TSpan& s : F.Spans) {
                if (s.BestWidth <= 0) continue;
                DistributeSpanWidth(L, s, ScaleX(s.BestWidth), false, 1);
                for (int k = s.Col; k < s.Last; ++k)
                    if (L.Marks[static_cast<size_t>(k)] == 0) {
                        L.Marks[static_cast<size_t>(k)] = 1;
                        ++pixelCount;
                    }
            }
        if (L.Natural) {
            int sum = 0;
            for (int c = 0; c < C; ++c)
                sum = RPCoordSum(sum, L.Col(c));
            Info.Width = RPCoordSum(FixedH(), PadH(), sum);
        } else if (L.Remaining > 0) {
            int freeCount = 0;
            for (int m : L.Marks)
                if (m == 0) ++freeCount;
            if (freeCount > 0) {
                for (int c = 0; c < C && L.Remaining > 0; ++c) {
                    if (L.Marks[static_cast<size_t>(c)] != 0) continue;
                    const int share = L.Remaining / freeCount--;
                    L.SetCol(c, RPCoordSum(L.Col(c), share));
                    L.Remaining -= share;
                }
            } else if (pixelCount > 0) {
                std::vector<int> weight(static_cast<size_t>(C), 0);
                int total = 0;
                for (int c = 0; c < C; ++c)
                    if (!F.Cols[static_cast<size_t>(c)].Percent) {
                        weight[static_cast<size_t>(c)] =
                            std::max(1, F.Cols[static_cast<size_t>(c)].PixelBest);
                        total = RPCoordSum(total, weight[static_cast<size_t>(c)]);
                    }
                for (int c = 0; c < C && L.Remaining > 0 && total > 0; ++c) {
                    const int w = weight[static_cast<size_t>(c)];
                    if (w == 0) continue;
                    const int share = RPCoordScale(L.Remaining, w, total);
                    L.SetCol(c, RPCoordSum(L.Col(c), share));
                    L.Remaining -= share;
                    total -= w;
                }
            } else {
                std::vector<int> weight(static_cast<size_t>(C), 0);
                int total = 0;
                for (int c = 0; c < C; ++c) {
                    weight[static_cast<size_t>(c)] = std::max(1, PercentWidthOf(F, c, pctBase) - pad2);
                    total = RPCoordSum(total, weight[static_cast<size_t>(c)]);
                }
                for (int c = 0; c < C && L.Remaining > 0 && total > 0; ++c) {
                    const int w = weight[static_cast<size_t>(c)];
                    const int share = std::min(L.Remaining, RPCoordScale(L.Remaining, w, total));
                    L.SetCol(c, RPCoordSum(L.Col(c), share));
                    L.Remaining -= share;
                    total -= w;
                }
            }
        }
    }
}

bool TRPTableItemInfo::ColumnsStayWith(const TRPTableCellData& Cell, int Row, int Col, int MinWidth,
                                       bool& TableMinChanged, int& TableMin) {
    const TRPTableItemFormattingInfo& info = FormattingInfo;
    const int C = Rows->GetColCount(), R = Rows->RowCount();
    if (!FFactsKnown || Resolution || (TableState & rptbsChanged) || info.LaidOutFor != FFactsWidth ||
        info.ColWidths.Count() != C || static_cast<int>(FFacts.Cols.size()) != C || !Rows->InGrid(Row, Col) ||
        Rows->GetCell(Row, Col) != &Cell)
        return false;
    const int T = TargetWidth(FFactsWidth, FFactsNatural);
    const auto widths = [&](TColumnFacts& F, TRPTableItemFormattingInfo& Out) {
        TLayoutRun L;
        L.Info = &Out;
        L.Natural = T == 0;
        Out.Width = T;
        ColumnWidthsFrom(L, F, T);
        if (Out.Width != info.Width) return false;
        for (int c = 0; c < C; ++c)
            if (Out.ColWidths[c] != info.ColWidths[c]) return false;
        return true;
    };
    // The facts must still make the columns there are.
    TRPTableItemFormattingInfo scratch;
    if (!widths(FFacts, scratch)) return false;
    const int oldMin = MinWidthFrom(FFacts);
    // The facts take the cell's width in place; columns that come out
    // otherwise are laid out anew, from facts gathered anew.
    if (Cell.ColSpan < 2) {
        TColumnFacts::TCol& col = FFacts.Cols[static_cast<size_t>(Col)];
        if (col.Cells.size() != static_cast<size_t>(R)) return false;
        int& w = col.Cells[static_cast<size_t>(Row)];
        const int old = w;
        w = MinWidth;
        if (MinWidth >= col.Min)
            col.Min = MinWidth;
        else if (old == col.Min)
            col.Min = *std::max_element(col.Cells.begin(), col.Cells.end());
    } else {
        const auto s = std::find_if(FFacts.Spans.begin(), FFacts.Spans.end(),
                                    [&](const TColumnFacts::TSpan& S) { return S.Cell == &Cell; });
        if (s == FFacts.Spans.end()) return false;
        s->Min = MinWidth;
    }
    if (!widths(FFacts, scratch)) {
        FFactsKnown = false;
        return false;
    }
    TableMin = MinWidthFrom(FFacts);
    TableMinChanged = TableMin != oldMin;
    return true;
}

void TRPTableItemInfo::UpdateLayout(int AvailableWidth, TRPTableItemFormattingInfo& Info, bool Force,
                                    TCanvas* Canvas, bool ForceCells) {
    if (Rows->IsEmpty()) {
        Info.Clear();
        Info.Width = ScaleX(2 * (BorderWidth + BorderHSpacing));
        Info.Height = ScaleY(2 * (BorderWidth + BorderVSpacing));
        return;
    }
    const int C = Rows->GetColCount(), R = Rows->RowCount();
    const int pad2 = ScaleX(2 * CellPadding);
    TLayoutRun L;
    L.Info = &Info;
    L.Canvas = Canvas;
    const bool natural = BestWidth == 0 && AllColumnsHavePixelWidths();
    const int T = TargetWidth(AvailableWidth, natural);
    L.Natural = T == 0;
    // Unchanged and not forced: a layout for this width stands, and so does a
    // table's natural one (its columns' own widths) at any width: every change
    // of what it was made from (a cell's content, size or width, the grid, a
    // table inside) marks the table changed.
    if (!Force && Info.ColWidths.Count() == C && Info.RowHeights.Count() == R &&
        (L.Natural ? Info.LaidOutFor >= 0 : T == Info.Width))
        return;
    Info.Width = T;
    Info.Clear();
    if (Info.CellPrintDocs) Info.CellBoxes.assign(static_cast<size_t>(R * C), TRect());
    // The screen's layout keeps what it was made of, for the cell editor's typing.
    const bool screen = &Info == &FormattingInfo && !Resolution;
    TColumnFacts printFacts;
    TColumnFacts& facts = screen ? FFacts : printFacts;
    if (screen) FFactsKnown = false;
    GatherColumnFacts(facts, Resolution, Canvas);
    ColumnWidthsFrom(L, facts, T);
    if (screen) {
        FFactsKnown = true;
        FFactsNatural = natural;
        FFactsWidth = AvailableWidth;
        FFactsSurface = SurfaceOf(Canvas);
    }

    // Horizontal placement and formatting of the cells.
    const int extraH = ScaleX((2 * (CellPadding + CellBorderWidth) + CellHSpacing) * C);
    {
        int extra = extraH;
        int x = ScaleX(BorderWidth + BorderHSpacing + CellBorderWidth);
        for (int c = 0; c < C; ++c) {
            Info.ColStarts.Add(x);
            const int e = extra / (C - c);
            extra -= e;
            x = RPCoordSum(x, e, L.Col(c));
        }
    }
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* cell = Rows->GetCell(r, c);
            if (!cell) continue;
            const int last = std::min(C, c + cell->ColSpan);
            int w = RPCoordSum(L.Col(c), pad2, MulDiv(extraH, last - c - 1, C));
            for (int k = c + 1; k < last; ++k)
                w = RPCoordSum(w, L.Col(k));
            if (Info.CellPrintDocs) {
                Info.CellBoxes[static_cast<size_t>(r * C + c)] =
                    Rect(Info.ColStarts[c], 0, Info.ColStarts[c] + w, 0);
                if (auto* p = dynamic_cast<TRectPtblRPData*>(Info.CellPrintDocs->Get(r * C + c))) {
                    p->Width = w - pad2;
                    p->Format(false, true, false, 0, Canvas ? Canvas : p->GetCanvas(), false, true);
                }
            } else {
                cell->Left = Info.ColStarts[c];
                // A cell the editor's typing left alone keeps its lines at its width.
                if (TrustsKeptCell(cell) && cell->Width == w) continue;
                cell->Width = w;
                cell->State |= rpcsFormattingByTable;
                try {
                    cell->Format(false, true, false, 0, Canvas ? Canvas : cell->GetCanvas(), false,
                                 ForceCells);
                } catch (...) {
                    cell->State &= ~rpcsFormattingByTable;
                    throw;
                }
                cell->State &= ~rpcsFormattingByTable;
                // The rows see the open editor's lines at the cell's width.
                if (&Info == &FormattingInfo && cell->GetCellEditor()) FitInplaceEditor();
            }
        }

    Info.LaidOutFor = AvailableWidth;
    PlaceRows(L);
    if (&Info == &FormattingInfo) FChangedBand.Known = false;
}

void TRPTableItemInfo::PlaceRows(TLayoutRun& L) {
    TRPTableItemFormattingInfo& Info = *L.Info;
    const int C = Rows->GetColCount(), R = Rows->RowCount();
    Info.RowHeights.Clear();
    Info.RowStarts.Clear();
    const int64_t r64 = R;
    Info.Height = ScaleY(RPCoordSum(2 * (r64 * CellPadding + BorderWidth + BorderVSpacing),
                                    (r64 - 1) * CellVSpacing, 2 * r64 * CellBorderWidth));
    for (int r = 0; r < R; ++r) {
        int h;
        if (!Info.CellPrintDocs) {
            h = ScaleY(Rows->GetRow(r)->GetHeight());
        } else {
            h = ScaleY(Rows->GetRow(r)->GetBestHeight());
            for (int c = 0; c < C; ++c) {
                const TRPTableCellData* cell = Rows->GetCell(r, c);
                if (!cell || cell->RowSpan != 1) continue;
                const TCustomRPFormattedData* p = Info.CellPrintDocs->Get(r * C + c);
                h = std::max(h, p ? p->DocumentHeight : ScaleY(cell->DocumentHeight));
            }
        }
        Info.RowHeights.Add(h);
        Info.Height = RPCoordSum(Info.Height, h);
    }
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c)
            if (TRPTableCellData* cell = Rows->GetCell(r, c); cell && cell->RowSpan > 1)
                DistributeSpanHeight(L, r, c);
    const int extraV = ScaleY(RPCoordClamp((2 * (CellPadding + CellBorderWidth) + CellVSpacing) * r64));
    int extra = extraV;
    int y = ScaleY(BorderWidth + BorderVSpacing + CellBorderWidth);
    // Rows past the table's bound (RPCoords.h) stand at the bound, with no
    // room left: they keep their cells, but no view or page shows them.
    Info.RowsPastBound = 0;
    for (int r = 0; r < R; ++r) {
        if (y >= RPMaxCoord && Info.RowsPastBound == 0) Info.RowsPastBound = R - r;
        Info.RowStarts.Add(y);
        if (Info.RowHeights[r] > RPMaxCoord - y) Info.RowHeights.Put(r, RPMaxCoord - y);
        const int e = extra / (R - r);
        extra -= e;
        y = RPCoordSum(y, e, Info.RowHeights[r]);
    }
    for (int r = 0; r < R; ++r) {
        const int top = Info.RowStarts[r];
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* cell = Rows->GetCell(r, c);
            if (!cell) continue;
            const int last = std::min(R, r + cell->RowSpan);
            int h = RPCoordSum(ScaleY(2 * CellPadding), Info.RowHeights[r], MulDiv(extraV, last - r - 1, R));
            for (int k = r + 1; k < last; ++k)
                h = RPCoordSum(h, Info.RowHeights[k]);
            h = std::min(h, RPMaxCoord - top);
            if (Info.CellPrintDocs) {
                TRect& box = Info.CellBoxes[static_cast<size_t>(r * C + c)];
                box.Top = top;
                box.Bottom = top + h;
                if (auto* p = dynamic_cast<TRectPtblRPData*>(Info.CellPrintDocs->Get(r * C + c)))
                    p->Height = std::max(0, h - ScaleY(2 * CellPadding));
            } else {
                cell->Top = top;
                cell->Height = h;
            }
        }
    }
    Info.RowsClimb = false;
    if (BorderVSpacing < 0 || CellVSpacing < 0) KeepRowsInBox(Info);
}

void TRPTableItemInfo::KeepRowsInBox(TRPTableItemFormattingInfo& Info) {
    // Spaced below zero, the rows move onto the table's border and past it,
    // above its top and below its end (where the lines around the table
    // stand), or cells spaced closer than their height climb above the rows
    // before them. The box grows to hold every row and cell box, and they
    // move down by what stood above its top.
    const int C = Rows->GetColCount(), R = Rows->RowCount();
    for (int r = 1; r < R && !Info.RowsClimb; ++r)
        Info.RowsClimb = Info.RowStarts[r] < Info.RowStarts[r - 1];
    int top = 0, bottom = Info.Height;
    const auto reach = [&](int From, int To) {
        top = std::min({top, From, To});
        bottom = std::max({bottom, From, To});
    };
    for (int r = 0; r < R; ++r) {
        reach(Info.RowStarts[r], RPCoordSum(Info.RowStarts[r], Info.RowHeights[r]));
        for (int c = 0; c < C; ++c) {
            const TRPTableCellData* cell = Rows->GetCell(r, c);
            if (!cell) continue;
            if (Info.CellPrintDocs) {
                const TRect& box = Info.CellBoxes[static_cast<size_t>(r * C + c)];
                reach(box.Top, box.Bottom);
            } else {
                reach(cell->Top, RPCoordSum(cell->Top, cell->Height));
            }
        }
    }
    const int shift = -top;
    Info.Height = RPCoordSum(bottom, shift);
    if (shift == 0) return;
    Info.RowsPastBound = 0;
    for (int r = 0; r < R; ++r) {
        const int start = RPCoordSum(Info.RowStarts[r], shift);
        if (start >= RPMaxCoord && Info.RowsPastBound == 0) Info.RowsPastBound = R - r;
        Info.RowStarts.Put(r, start);
        if (Info.RowHeights[r] > RPMaxCoord - start) Info.RowHeights.Put(r, RPMaxCoord - start);
        for (int c = 0; c < C; ++c) {
            if (Info.CellPrintDocs) {
                TRect& box = Info.CellBoxes[static_cast<size_t>(r * C + c)];
                box.Top = RPCoordSum(box.Top, shift);
                box.Bottom = RPCoordSum(box.Bottom, shift);
            } else if (TRPTableCellData* cell = Rows->GetCell(r, c)) {
                cell->Top = RPCoordSum(cell->Top, shift);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Hit tests

int TRPTableItemInfo::FindListIndex(const TRPIntegerList& List, int Value) {
    const int n = List.Count();
    if (n < 2) return 0;
    if (List[n - 1] <= Value) return n - 1;
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (List[mid] < Value)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

namespace {

// The column or row whose span [start, start + size] holds X; -1 in a gap.
int SpanAt(int X, const TRPIntegerList& Starts, const TRPIntegerList& Sizes) {
    for (int i = 0; i < Starts.Count(); ++i) {
        if (X < Starts[i]) return -1;
        if (X <= Starts[i] + Sizes[i]) return i;
    }
    return -1;
}

} // namespace

int TRPTableItemInfo::GetColAt(int X) const {
    return SpanAt(X, FormattingInfo.ColStarts, FormattingInfo.ColWidths);
}

int TRPTableItemInfo::GetRowAt(int Y) const {
    return SpanAt(Y, FormattingInfo.RowStarts, FormattingInfo.RowHeights);
}

namespace {

int BorderAt(int X, int Size, const TRPIntegerList& Starts, int Outer, int Inner, int& LeftStart, int& Pos) {
    const int n = Starts.Count();
    if (X < 0 || X > Size || n == 0) return -1;
    const auto hit = [&](int p, int t) { return std::abs(p - X) <= std::max(t / 2, 2); };
    if (hit(Outer / 2, Outer)) {
        LeftStart = -1;
        Pos = Outer / 2;
        return 0;
    }
    if (hit(Size - Outer / 2, Outer)) {
        LeftStart = Starts[n - 1];
        Pos = Size - Outer / 2;
        return n;
    }
    for (int k = 1; k < n; ++k)
        if (hit(Starts[k] - Inner / 2, Inner)) {
            LeftStart = Starts[k - 1];
            Pos = Starts[k] - (Inner + 1) / 2;
            return k;
        }
    return -1;
}

} // namespace

int TRPTableItemInfo::GetVBorderAt(int X, int& LeftStart, int& Pos) const {
    return BorderAt(X, FormattingInfo.Width, FormattingInfo.ColStarts,
                    BorderWidth + BorderHSpacing + CellBorderWidth, 2 * CellBorderWidth + CellHSpacing,
                    LeftStart, Pos);
}

int TRPTableItemInfo::GetHBorderAt(int Y, int& TopStart, int& Pos) const {
    return BorderAt(Y, FormattingInfo.Height, FormattingInfo.RowStarts,
                    BorderWidth + BorderVSpacing + CellBorderWidth, 2 * CellBorderWidth + CellVSpacing,
                    TopStart, Pos);
}
