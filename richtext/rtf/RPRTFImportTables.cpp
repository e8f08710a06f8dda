// RTF import of tables: rows of cells with their right boundaries become a
// grid of columns; merged cells, widths, heights, borders, padding and
// spacing go into the table item; nested tables stack.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>

#include "platform/Runtime.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFImport.h"

namespace {

// Columns of one table at most: further boundaries snap to the nearest column.
constexpr int kMaxColumns = TRPTableLimits::MaxCols;
// What the import nests, the table's own stream reads back.
static_assert(TRPRTFReader::MaxTableLevel <= TRPTableLimits::MaxDepth);
// Width of a cell whose boundary does not lie right of the cell before it.
constexpr int kFallbackCellWidth = 720;
constexpr long long kMaxBoundary = TRPTableLimits::MaxRTFBoundary;

int ClampBoundary(long long Twips) {
    return static_cast<int>(std::clamp(Twips, -kMaxBoundary, kMaxBoundary));
}

TRPTableItemInfo* AsTable(const std::unique_ptr<TCustomRPItemInfo>& Item) {
    return static_cast<TRPTableItemInfo*>(Item.get());
}

} // namespace

struct TRPRTFReaderProperties::TTableInfo {
    std::vector<int> Bounds; // twips, ascending
    int SavedRow = 0, SavedCell = 0;
    std::unique_ptr<TCustomRPItemInfo> Table;     // a TRPTableItemInfo
    std::unique_ptr<TCustomRPItemInfo> RowBuffer; // a TRPTableItemInfo of one row
    // Sums over rows and cells of values the file gives as any int: they
    // are added up wide, and only their averages come back to pixels.
    int64_t VSpacingSum = 0;
    int FirstTop = 0, LastBottom = 0, PrevBottom = 0;
    int64_t HSpacingSum = 0;
    int64_t PaddingSum = 0;
    int PaddingCount = 0;
    int Width = 0;
    int64_t RowBorderSum = 0;
    int RowBorderCount = 0;
    int64_t CellBorderSum = 0;
    int CellBorderCount = 0;
    int CellCount = 0;
    bool HSpacingGiven = false, VSpacingGiven = false, CellWidthGiven = false;
    bool SingleColor = true, SuiteValues = false, RowCompleted = false;
    // The suite's own spacing at the border, when a row gave it, and between
    // cells, when below zero.
    std::optional<int> BorderHSpacing, BorderVSpacing, CellHSpacing, CellVSpacing;
    // The alignment of the rows (\trql, \trqr, \trqc), -1 while none gave one.
    int RowAlignment = -1;
    // Cells standing in for grid columns that a row does not cover.
    std::set<const TRPTableCellData*> Fillers;
    // Cells that opened a vertical merge and may be continued below, with their rows.
    std::map<const TRPTableCellData*, int> VMergeOpen;

    TRPTableItemInfo* T() const { return AsTable(Table); }
    TRPTableItemInfo* Buffer() const { return AsTable(RowBuffer); }
};

TRPRTFReaderProperties::TImport::TImport() = default;
// Tables left open by a reading that stopped early go innermost first: an
// inner table lives in a cell of the one around it.
TRPRTFReaderProperties::TImport::~TImport() {
    while (!Tables.empty())
        Tables.pop_back();
}

// ---------------------------------------------------------------------------
// Events

void TRPRTFReaderProperties::ReaderTable(int WhatHappens) {
    TImport& im = *FImport;
    if (im.Aborted) return;
    switch (WhatHappens) {
    case rtfteTableStart:
        // A table that would stand deeper than tables nest is none: its
        // cells' text goes on in the cells of the table around it, as it does
        // at the reader's deepest level.
        if (RPTablesAround(im.Target) >= TRPTableLimits::MaxDepth)
            ++im.FlatTables;
        else
            TableStart();
        break;
    case rtfteTableEnd:
        if (im.FlatTables > 0)
            --im.FlatTables;
        else
            TableEnd();
        break;
    case rtfteRowEnd:
        if (!im.Tables.empty()) TableRowEnd();
        break;
    case rtfteCellEnd:
        if (!im.Tables.empty()) TableCellEnd();
        break;
    default:
        break;
    }
}

void TRPRTFReaderProperties::TableStart(std::unique_ptr<TCustomRPItemInfo> Buffer) {
    TImport& im = *FImport;
    auto info = std::make_unique<TTableInfo>();
    info->Table = TRPTableItemInfo::CreateEx(0, 0, im.Target);
    TRPTableItemInfo* t = info->T();
    t->AfterLoading(2);
    if (im.PageBreakPending && im.PageBreakDoc == im.Target) {
        t->SetPageBreakBefore(true);
        im.PageBreakPending = false;
    }
    t->Color = clNone;
    t->BorderStyle = rptbRaisedColor;
    t->CellBorderStyle = rptbLoweredColor;
    t->BorderColor = t->BorderLightColor = t->CellBorderColor = t->CellBorderLightColor = RTFAutoColor;
    info->SavedRow = im.TableRow;
    info->SavedCell = im.TableCell;
    im.TableRow = im.TableCell = 0;
    if (Buffer) {
        info->RowBuffer = std::move(Buffer);
        im.Tables.push_back(std::move(info));
        return;
    }
    info->RowBuffer = TRPTableItemInfo::CreateEx(1, 1, im.Target);
    info->Buffer()->AfterLoading(2);
    TRPTableCellData* cell = info->Buffer()->GetCell(0, 0);
    cell->Clear();
    im.Target = cell;
    im.Tables.push_back(std::move(info));
}

void TRPRTFReaderProperties::SplitTable() {
    TImport& im = *FImport;
    TTableInfo& old = *im.Tables.back();
    // The row read so far moves on with its buffer; the ending table gets an
    // empty one, so that it ends with the rows it has.
    std::unique_ptr<TCustomRPItemInfo> buffer = std::move(old.RowBuffer);
    old.RowBuffer = TRPTableItemInfo::CreateEx(1, 1, AsTable(buffer)->GetRPData());
    old.Buffer()->AfterLoading(2);
    const int cell = im.TableCell;
    TCustomRPData* target = im.Target;
    TableEnd();
    TableStart(std::move(buffer));
    im.TableCell = cell;
    im.Target = target;
}

void TRPRTFReaderProperties::TableCellEnd() {
    TImport& im = *FImport;
    TTableInfo& info = *im.Tables.back();
    TRPTableItemInfo* buf = info.Buffer();
    TRPTableCellData* cell = buf->GetCell(0, im.TableCell);
    // An empty cell gets its empty line; a paragraph mark right before the
    // cell end leaves an empty last paragraph, as it shows in the cell.
    if (cell->GetItemCount() == 0 || (im.ParaEndPending && im.Target == cell)) {
        im.Target = cell;
        ReaderNewText(std::string(), rtfpNewPara);
        ReaderUpdateMarker();
    }
    im.ParaEndPending = false;
    // A row has no more cells than a table has columns: the text of the cells
    // past them goes on in the last one, paragraph by paragraph.
    if (im.TableCell + 1 >= kMaxColumns) {
        im.Target = cell;
        return;
    }
    ++im.TableCell;
    if (buf->Rows->GetColCount() <= im.TableCell)
        buf->Rows->InsertCols(buf->Rows->GetColCount(), 1, -1, false);
    TRPTableCellData* next = buf->GetCell(0, im.TableCell);
    next->Clear();
    im.Target = next;
}

void TRPRTFReaderProperties::TableRowEnd() {
    TImport& im = *FImport;
    // A row that the file begins as a new table, or that would take the table
    // past its limits, starts a table of its own.
    if (const TRPRTFRowProperties* rp = im.Reader->RowProps();
        rp && im.Tables.back()->RowCompleted && (rp->NewTable || !RowFits(*im.Tables.back(), *rp)))
        SplitTable();
    TTableInfo& info = *im.Tables.back();
    if (const TRPRTFRowProperties* rp = im.Reader->RowProps()) BuildTableRow(info, *rp);
    // The row's items have moved on, and its buffer cells go.
    im.LastMarker = -1;
    im.LastMarkerDoc = nullptr;
    info.RowCompleted = true;
    im.TableCell = 0;
    ++im.TableRow;
    info.Buffer()->Rows->Reset(1, 1);
    TRPTableCellData* cell = info.Buffer()->GetCell(0, 0);
    cell->Clear();
    im.Target = cell;
}

void TRPRTFReaderProperties::TableEnd() {
    TImport& im = *FImport;
    if (im.Tables.empty()) return;
    // Cells after the last row end make one more row rather than vanish. At
    // the end of the file the reader holds no row's properties any more: the
    // cells lie on the table's columns then. A table that has no room for the
    // row leaves it to a table of its own.
    const bool trailing = im.Tables.back()->RowCompleted && HasTrailingCells(*im.Tables.back());
    std::optional<TRPRTFRowProperties> gridRow;
    const TRPRTFRowProperties* rp = im.Reader->RowProps();
    if (trailing && !rp) rp = &gridRow.emplace(GridRow(*im.Tables.back()));
    if (trailing && !RowFits(*im.Tables.back(), *rp)) {
        SplitTable();
        im.Tables.back()->RowCompleted = true;
    }
    std::unique_ptr<TTableInfo> info = std::move(im.Tables.back());
    im.Tables.pop_back();
    // A table inside a header or footer is nested only in tables of its own.
    TCustomRPData* parent = im.Tables.size() <= im.TableBase()
                                ? im.TopTarget()
                                : im.Tables.back()->Buffer()->GetCell(0, info->SavedCell);
    if (trailing) BuildTableRow(*info, *rp);
    FinishTable(*info);
    TRPTableItemInfo* t = info->T();
    const bool bufferBreak = im.PageBreakPending && im.PageBreakDoc == info->Buffer()->GetCell(0, 0);
    im.Target = parent;
    im.TableRow = info->SavedRow;
    im.TableCell = info->SavedCell;
    if (bufferBreak) im.PageBreakDoc = parent;
    // Rows that name no alignment stand at the left; the paragraph in force now
    // is the one after the table and says nothing about it.
    // The grid's first boundary is the table's indent; a table does not
    // reach into the margin.
    const int align = std::max(info->RowAlignment, 0);
    const int indent =
        info->Bounds.empty() ? 0 : TRPReadLimits::Indent(std::max(0, Px(info->Bounds.front())));
    t->ParaNo = TableParaStyle(std::clamp(align, 0, 3), indent);
    if (!t->Rows->IsEmpty()) {
        if (t->GetPageBreakBefore()) {
            im.PageBreakPending = true;
            im.PageBreakDoc = parent;
        }
        AddItem(std::string(), std::move(info->Table), rtfpNewPara);
    }
    if (!info->RowCompleted) {
        // Cells without a row end: their paragraphs stay ordinary ones, each
        // cell's apart. A paragraph keeps the marker it had in its cell and
        // gets none of the paragraph being read now.
        TRPTableItemInfo* buf = info->Buffer();
        for (int c = 0; c < buf->Rows->GetColCount(); ++c) {
            TRPTableCellData* cell = buf->GetCell(0, c);
            for (int i = 0; i < cell->GetItemCount(); ++i) {
                std::unique_ptr<TCustomRPItemInfo> item = cell->Items->TakeObject(i);
                if (!item) continue;
                const TRPRTFPosition pos = i == 0 || item->StartsPara() ? rtfpNewPara
                                           : item->GetContinuesPrev()   ? rtfpContinuePara
                                                                        : rtfpNewLine;
                AddItem(cell->GetItemText(i), std::move(item), pos, false);
            }
            cell->Items->Clear();
        }
        im.LastMarker = -1;
        im.LastMarkerDoc = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Paragraph style of tables

int TRPRTFReaderProperties::TableParaStyle(int Alignment, int Indent) {
    TImport& im = *FImport;
    if (ParaStyleMode == rprsUseSpecified) return FParaStyleNo;
    if (ParaStyleMode == rprsUseClosest || !im.Style) return 0;
    if (Alignment == 0 && Indent == 0 && im.LeftTablePara >= 0) return im.LeftTablePara;
    TParaInfos& styles = im.Style->ParaStyles();
    const TParaInfo* p0 = styles.GetItem(0);
    int result = 0;
    if (p0->FirstIndent != 0 || p0->LeftIndent != Indent || p0->RightIndent != 0 ||
        p0->Alignment != Alignment) {
        TParaInfo want;
        want.Assign(*p0);
        want.FirstIndent = want.RightIndent = 0;
        want.LeftIndent = Indent;
        want.Alignment = static_cast<TRPAlignment>(Alignment);
        result = styles.FindEqualStyle(0, want, 0xFFFFFFFFu);
        if (result < 0) {
            TParaInfo* added = styles.Add();
            added->Assign(want);
            result = styles.Count() - 1;
        }
    }
    if (Alignment == 0 && Indent == 0) im.LeftTablePara = result;
    return result;
}

// ---------------------------------------------------------------------------
// Building a row

namespace {

struct TCellDef {
    const TRPRTFCellProperties* Props = nullptr;
    int Left = 0, Right = 0;
};

// The boundary nearest to Twips at index From or right of it (the left one
// of two as near), -1 when there is none.
int FindBound(const std::vector<int>& Bounds, int Twips, int From = 0) {
    const int n = static_cast<int>(Bounds.size());
    if (From >= n) return -1;
    const int p =
        static_cast<int>(std::lower_bound(Bounds.begin() + From, Bounds.end(), Twips) - Bounds.begin());
    if (p == n) return n - 1;
    if (p > From && static_cast<int64_t>(Twips) - Bounds[static_cast<size_t>(p - 1)] <=
                        static_cast<int64_t>(Bounds[static_cast<size_t>(p)]) - Twips)
        return p - 1;
    return p;
}

// The index of boundary Twips in Bounds, at MinIndex or right of it: one
// there within a twip stands for it, and so does the nearest one of a grid
// that has all its columns; otherwise it goes in (Added). Boundaries of
// different rows a twip apart are one column, but a cell's own boundaries
// are two however near: a boundary at MinIndex goes in right of the one
// before it.
int PlaceBound(std::vector<int>& Bounds, int Twips, int MinIndex, bool& Added) {
    Added = false;
    const int near = FindBound(Bounds, Twips, MinIndex);
    if (near >= 0 && std::abs(static_cast<int64_t>(Bounds[static_cast<size_t>(near)]) - Twips) <= 1)
        return near;
    if (static_cast<int>(Bounds.size()) > kMaxColumns) return near >= 0 ? near : FindBound(Bounds, Twips);
    const int n = static_cast<int>(Bounds.size());
    const int j =
        std::max(static_cast<int>(std::lower_bound(Bounds.begin(), Bounds.end(), Twips) - Bounds.begin()),
                 std::min(MinIndex, n));
    const int value = j > 0 ? std::max(Twips, Bounds[static_cast<size_t>(j - 1)] + 1) : Twips;
    if (j < n && value >= Bounds[static_cast<size_t>(j)]) return j;
    Bounds.insert(Bounds.begin() + j, value);
    Added = true;
    return j;
}

// The grid indexes of a row's left boundary and of its cells' right ones,
// placed left to right by Place (Twips, MinIndex): every cell takes at least
// one column while the grid has columns to give.
template <class F> std::vector<int> PlaceRow(const std::vector<TCellDef>& Defs, F&& Place) {
    std::vector<int> at;
    at.reserve(Defs.size() + 1);
    at.push_back(Place(Defs.front().Left, 0));
    for (const TCellDef& d : Defs)
        at.push_back(Place(d.Right, at.back() + 1));
    return at;
}

// The cells of a row: one per boundary, and one per cell of text beyond them
// (Used: the cells the row's text filled).
std::vector<TCellDef> RowCells(const TRPRTFRowProperties& Row, int Used) {
    static const TRPRTFCellProperties kNoProps;
    std::vector<TCellDef> defs;
    int left = ClampBoundary(Row.Left);
    for (const TRPRTFCellProperties& cp : Row.Cells) {
        if (static_cast<int>(defs.size()) >= kMaxColumns) break;
        int right = ClampBoundary(cp.RightBoundary);
        if (right <= left) right = ClampBoundary(static_cast<long long>(left) + kFallbackCellWidth);
        defs.push_back({&cp, left, right});
        left = right;
    }
    while (static_cast<int>(defs.size()) < std::min(std::max(Used, 1), kMaxColumns)) {
        const int w = defs.empty() ? kFallbackCellWidth : defs.back().Right - defs.back().Left;
        defs.push_back({&kNoProps, left, ClampBoundary(static_cast<long long>(left) + w)});
        left = defs.back().Right;
    }
    return defs;
}

// The cells of the row buffer that the row's text filled: those before the
// cell being read, and that one when it holds text.
int UsedCells(const TRPTableItemInfo& Buffer, int TableCell) {
    const TRPTableRows& rows = *Buffer.Rows;
    return TableCell < rows.GetColCount() && rows.GetCell(0, TableCell)->HasData(false) ? TableCell + 1
                                                                                        : TableCell;
}

// The colour of side A, or of side B when A has no border; a border drawn
// without a colour of its own (no \\brdrcf) has the automatic one, as in
// paragraphs. No colour when neither side has a border.
TColor SideColor(const TRPRTFParaBorder& Border, int A, int B) {
    const int s = Border.TypeOf(A) ? A : B;
    const auto& side = Border.Sides[static_cast<size_t>(s)];
    if (!side) return clNone;
    return side->Type && side->Color == clNone ? RTFAutoColor : side->Color;
}

} // namespace

void TRPRTFReaderProperties::MakeFiller(TTableInfo& Info, int Row, int Col, int ColSpan) {
    TRPTableRows& rows = *Info.T()->Rows;
    TRPTableCellData* cell = rows.GetCell(Row, Col);
    if (!cell) return;
    for (int c = Col + 1; c < Col + ColSpan; ++c)
        rows.GetRow(Row)->PutCell(c, nullptr);
    cell->ColSpan = ColSpan;
    cell->VisibleBorders.SetAll(false);
    // At the top as every imported cell: written out, a filler is a cell.
    cell->VAlign = rpcTop;
    cell->Clear();
    cell->AddText(std::string(), TextStyleMode == rprsUseSpecified ? FTextStyleNo : 0, TableParaStyle(0));
    Info.Fillers.insert(cell);
}

// Adds boundary Twips to the grid (PlaceBound); the earlier rows keep their
// look: the cells around the new column take it over.
int TRPRTFReaderProperties::AddBound(TTableInfo& Info, int Twips, int MinIndex, int RowsDone) {
    std::vector<int>& b = Info.Bounds;
    bool added = false;
    const int j = PlaceBound(b, Twips, MinIndex, added);
    if (!added || b.size() < 2) return j;
    TRPTableRows& rows = *Info.T()->Rows;
    if (rows.RowCount() == 0) return j;
    // A new column at grid index col.
    const int col = j == 0 ? 0 : j == static_cast<int>(b.size()) - 1 ? rows.GetColCount() : j;
    rows.InsertCols(col, 1, -1, false);
    for (int r = 0; r < RowsDone; ++r) {
        TRPTableCellData* cell = rows.GetCell(r, col);
        if (!cell) continue; // a cell crossing the new column took it over
        int mr = 0, mc = 0;
        TRPTableCellData* left = col > 0 ? rows.GetMainCell(r, col - 1, mr, mc) : nullptr;
        if (col == 0) {
            // A new first column: one filler over the earlier rows.
            if (r == 0) {
                MakeFiller(Info, 0, 0, 1);
                rows.MergeCells(0, 0, 1, RowsDone, true, false);
            }
            continue;
        }
        if (!left) continue;
        if (mr + left->RowSpan > r && mc + left->ColSpan > col) {
            rows.GetRow(r)->PutCell(col, nullptr);
        } else if (j < static_cast<int>(b.size()) - 1 || Info.Fillers.count(left)) {
            rows.GetRow(r)->PutCell(col, nullptr);
            ++left->ColSpan;
        } else {
            MakeFiller(Info, r, col, 1);
        }
    }
    return j;
}

bool TRPRTFReaderProperties::RowFits(const TTableInfo& Info, const TRPRTFRowProperties& Row) const {
    const int rows = Info.T()->Rows->RowCount();
    if (rows == 0) return true; // one row of at most all columns
    // The columns the grid has after the row: its boundaries join as BuildTableRow adds them.
    std::vector<int> bounds = Info.Bounds;
    bool added = false;
    PlaceRow(RowCells(Row, UsedCells(*Info.Buffer(), FImport->TableCell)),
             [&](int Twips, int MinIndex) { return PlaceBound(bounds, Twips, MinIndex, added); });
    return TRPTableLimits::GridFits(rows + 1, static_cast<int64_t>(bounds.size()) - 1);
}

bool TRPRTFReaderProperties::HasTrailingCells(const TTableInfo& Info) {
    const TRPTableRows& rows = *Info.Buffer()->Rows;
    for (int c = 0; c < rows.GetColCount(); ++c)
        if (rows.GetCell(0, c)->HasData(false)) return true;
    return false;
}

TRPRTFRowProperties TRPRTFReaderProperties::GridRow(const TTableInfo& Info) {
    TRPRTFRowProperties row;
    row.Cells.clear();
    if (Info.Bounds.empty()) return row;
    row.Left = Info.Bounds.front();
    for (size_t i = 1; i < Info.Bounds.size(); ++i)
        row.Cells.emplace_back().RightBoundary = Info.Bounds[i];
    return row;
}

void TRPRTFReaderProperties::BuildTableRow(TTableInfo& Info, const TRPRTFRowProperties& Row) {
    TImport& im = *FImport;
    TRPTableItemInfo* t = Info.T();
    TRPTableRows& rows = *t->Rows;
    TRPTableItemInfo* buf = Info.Buffer();
    const std::vector<TCellDef> defs = RowCells(Row, UsedCells(*buf, im.TableCell));

    const int R = rows.RowCount();
    if (R == 0 && rows.GetColCount() == 0) Info.Bounds.clear();
    const std::vector<int> at =
        PlaceRow(defs, [&](int Twips, int MinIndex) { return AddBound(Info, Twips, MinIndex, R); });
    const int C = static_cast<int>(Info.Bounds.size()) - 1;
    {
        auto row = std::make_unique<TRPTableRow>(&rows);
        for (int c = 0; c < C; ++c)
            row->AddNewCell();
        rows.Add(std::move(row));
    }
    if (Row.Heading) t->HeadingRowCount = R + 1;
    if (Row.AlignmentGiven) Info.RowAlignment = Row.Alignment;
    UpdateTableSums(Info, Row, R == 0);

    // A row that starts right of a full grid's last column takes that column.
    const int first = std::min(at.front(), C - 1);
    if (first > 0) MakeFiller(Info, R, 0, first);
    const auto source = [&](size_t i) -> TRPTableCellData* {
        return static_cast<int>(i) < buf->Rows->GetColCount() ? buf->GetCell(0, static_cast<int>(i))
                                                              : nullptr;
    };
    // Only content moves into a merged cell: empty cells give no empty paragraphs.
    const auto takeText = [&](TRPTableCellData* Into, size_t i) {
        if (TRPTableCellData* src = source(i); Into && src && src->HasData(false)) Into->Assign(src);
    };
    TRPTableCellData* prevCell = nullptr;
    int nextFree = first;
    for (size_t i = 0; i < defs.size();) {
        // A cell and the cells merged into it from the right (\clmrg) form one
        // group; a \clmrg at the row's start has nothing to join and stands alone.
        size_t last = i;
        while (last + 1 < defs.size() && defs[last + 1].Props->HMerge == 2)
            ++last;
        const TCellDef& d = defs[i];
        const int start = i == 0 ? first : std::max(at[i], nextFree);
        if (start >= C) {
            // No column is left for it (a grid at its limit): its text joins the cell before.
            for (size_t k = i; k <= last; ++k)
                takeText(prevCell, k);
            i = last + 1;
            continue;
        }
        const int end = std::clamp(at[last + 1], start + 1, C);
        for (int c = start + 1; c < end; ++c)
            rows.GetRow(R)->PutCell(c, nullptr);
        nextFree = end;
        // A group merged into the one above it, when one above opened a merge there.
        TRPTableCellData* above = nullptr;
        if (d.Props->VMerge == 2 && R > 0) {
            int mr = 0, mc = 0;
            above = rows.GetMainCell(R - 1, start, mr, mc);
            if (above && Info.VMergeOpen.count(above) && mc == start && mc + above->ColSpan == end)
                above->RowSpan = R - mr + 1;
            else
                above = nullptr;
        }
        if (above) {
            rows.GetRow(R)->PutCell(start, nullptr);
            for (size_t k = i; k <= last; ++k)
                takeText(above, k);
            prevCell = above;
        } else {
            TRPTableCellData* cell = rows.GetCell(R, start);
            cell->ColSpan = end - start;
            ApplyCellProps(Info, *cell, *d.Props, d.Left, defs[last].Right, Row);
            cell->Clear();
            if (TRPTableCellData* src = source(i)) cell->Assign(src);
            for (size_t k = i + 1; k <= last; ++k)
                takeText(cell, k);
            if (d.Props->VMerge == 1) Info.VMergeOpen.emplace(cell, R);
            prevCell = cell;
        }
        i = last + 1;
    }
    // Grid columns right of the row's last cell.
    if (nextFree < C && rows.GetCell(R, nextFree)) MakeFiller(Info, R, nextFree, C - nextFree);
    // A vertical merge that this row did not continue is closed.
    for (auto it = Info.VMergeOpen.begin(); it != Info.VMergeOpen.end();) {
        if (static_cast<int64_t>(it->second) + it->first->RowSpan - 1 < R)
            it = Info.VMergeOpen.erase(it);
        else
            ++it;
    }
    Info.CellCount += static_cast<int>(defs.size());
}

void TRPRTFReaderProperties::UpdateTableSums(TTableInfo& Info, const TRPRTFRowProperties& Row,
                                             bool FirstRow) {
    // Spacing: left/right between cells, top/bottom between rows.
    if (Row.SpacingInTwips[0] || Row.SpacingInTwips[2]) Info.HSpacingGiven = true;
    if (Row.SpacingInTwips[1] || Row.SpacingInTwips[3]) Info.VSpacingGiven = true;
    for (int side : {0, 2}) {
        if (Row.SpacingInTwips[static_cast<size_t>(side)])
            Info.HSpacingSum += Row.Spacing[static_cast<size_t>(side)];
        else
            Info.HSpacingSum +=
                static_cast<int64_t>(Row.GapH) -
                (Row.PaddingInTwips[static_cast<size_t>(side)] ? Row.Padding[static_cast<size_t>(side)] : 0);
    }
    const int top = Row.SpacingInTwips[1] ? Row.Spacing[1] : 0;
    const int bottom = Row.SpacingInTwips[3] ? Row.Spacing[3] : 0;
    if (FirstRow)
        Info.FirstTop = top;
    else
        Info.VSpacingSum += static_cast<int64_t>(top) + Info.PrevBottom;
    Info.PrevBottom = Info.LastBottom = bottom;
    for (size_t side = 0; side < 4; ++side) {
        ++Info.PaddingCount;
        if (Row.PaddingInTwips[side]) Info.PaddingSum += Row.Padding[side];
    }
    if (Row.BorderHSpacing) Info.BorderHSpacing = Row.BorderHSpacing;
    if (Row.BorderVSpacing) Info.BorderVSpacing = Row.BorderVSpacing;
    // Our own spacing between cells is given, though in no row's twips:
    // the borders it lets overlap are as the cells tell them.
    if (Row.CellHSpacing) {
        Info.CellHSpacing = Row.CellHSpacing;
        Info.HSpacingGiven = true;
    }
    if (Row.CellVSpacing) {
        Info.CellVSpacing = Row.CellVSpacing;
        Info.VSpacingGiven = true;
    }
    if (Row.SuiteValuesGiven) {
        Info.SuiteValues = true;
        Info.Width = Row.BestWidth;
    } else if (Row.BestWidth < 0 || Info.Width < 0) {
        Info.Width = std::min(Info.Width, Row.BestWidth);
    } else {
        Info.Width = std::max(Info.Width, Row.BestWidth);
    }
    TRPTableItemInfo* t = Info.T();
    for (int s = 0; s < 4; ++s)
        if (Row.Border.TypeOf(s)) {
            Info.RowBorderSum += Row.Border.Sides[static_cast<size_t>(s)]->Width;
            ++Info.RowBorderCount;
        }
    const auto colorOf = [&](int a, int b) { return SideColor(Row.Border, a, b); };
    if (Row.Border.HasType()) {
        if (const TColor c = colorOf(0, 1); c != clNone) t->BorderLightColor = c;
        if (const TColor c = colorOf(2, 3); c != clNone) t->BorderColor = c;
    }
}

void TRPRTFReaderProperties::ApplyCellProps(TTableInfo& Info, TRPTableCellData& Cell,
                                            const TRPRTFCellProperties& P, int Left, int Right,
                                            const TRPRTFRowProperties& Row) {
    TImport& im = *FImport;
    Cell.Color = P.Color;
    if (Row.SuiteValuesGiven)
        Cell.BestHeight = P.BestHeight;
    else if (Row.Height > 0)
        Cell.BestHeight = Px(Row.Height);
    for (int s = 0; s < 4; ++s)
        if (P.Border.TypeOf(s)) {
            Info.CellBorderSum += P.Border.Sides[static_cast<size_t>(s)]->Width;
            ++Info.CellBorderCount;
        }
    Cell.VisibleBorders.SetValues(P.Border.TypeOf(0) != 0, P.Border.TypeOf(1) != 0, P.Border.TypeOf(2) != 0,
                                  P.Border.TypeOf(3) != 0);
    const auto colorOf = [&](int a, int b) { return SideColor(P.Border, a, b); };
    if (P.Border.HasType()) {
        Cell.BorderColor = colorOf(0, 1);
        Cell.BorderLightColor = colorOf(2, 3);
        // Sides of one pair alone give their colour to the other pair too:
        // a border of one colour draws the main colour only.
        if (Cell.BorderColor == clNone) Cell.BorderColor = Cell.BorderLightColor;
        if (Cell.BorderLightColor == clNone) Cell.BorderLightColor = Cell.BorderColor;
        if (Cell.BorderColor != Cell.BorderLightColor) Info.SingleColor = false;
    }
    if (P.BestWidth != 0) Info.CellWidthGiven = true;
    if (Row.SuiteValuesGiven)
        Cell.BestWidth = P.BestWidth;
    else if (Info.CellWidthGiven)
        Cell.BestWidth = P.BestWidth <= 0 ? P.BestWidth / 50 : Px(P.BestWidth);
    else
        // Boundaries rounded where they stand: widths add up. A cell narrower
        // than a pixel has the narrowest width the layout gives its text.
        Cell.BestWidth = std::max(1, Px(Right) - Px(Left));
    Cell.VAlign = P.VAlign == 2 ? rpcMiddle : P.VAlign == 1 ? rpcBottom : rpcTop;
    (void)im;
}

// ---------------------------------------------------------------------------
// Finishing a table

void TRPRTFReaderProperties::FinishTable(TTableInfo& Info) {
    TImport& im = *FImport;
    TRPTableItemInfo* t = Info.T();
    TRPTableRows& rows = *t->Rows;
    // A grid that went wrong is mended before anything reads it.
    if (!rows.IsConsistent()) rows.Repair();
    const double f = im.Factor;
    const auto px = [&](double twips) {
        return static_cast<int>(std::clamp<int64_t>(Round(twips * f), INT_MIN, INT_MAX));
    };
    if (Info.SingleColor) t->CellBorderStyle = rptbColor;
    if (t->BorderColor == t->BorderLightColor) t->BorderStyle = rptbColor;
    // The cells' widths below lose the padding the table keeps.
    t->CellPadding = Info.PaddingCount > 0 ? px(static_cast<double>(Info.PaddingSum) / Info.PaddingCount) : 0;
    t->CellPadding = TRPTableLimits::Padding(t->CellPadding);
    const int R = rows.RowCount(), C = rows.GetColCount();
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* cell = rows.GetCell(r, c);
            if (!cell) continue;
            if (!Info.SuiteValues && cell->BestWidth > 2 * t->CellPadding)
                cell->BestWidth -= 2 * t->CellPadding;
            if (cell->GetItemCount() == 0)
                cell->AddText(std::string(), TextStyleMode == rprsUseSpecified ? FTextStyleNo : 0,
                              TableParaStyle(0));
        }
    if (BorderSwitch && (!Info.HSpacingGiven || !Info.VSpacingGiven))
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C; ++c) {
                TRPTableCellData* cell = rows.GetCell(r, c);
                if (!cell) continue;
                int mr, mc;
                if (!Info.HSpacingGiven && c > 0)
                    if (const TRPTableCellData* n = rows.GetMainCell(r, c - 1, mr, mc);
                        n && n->VisibleBorders.Right)
                        cell->VisibleBorders.Left = false;
                if (!Info.VSpacingGiven && r > 0)
                    if (const TRPTableCellData* n = rows.GetMainCell(r - 1, c, mr, mc);
                        n && n->VisibleBorders.Bottom)
                        cell->VisibleBorders.Top = false;
            }
    if (Info.VSpacingGiven) {
        if (R > 1) t->CellVSpacing = px(static_cast<double>(Info.VSpacingSum) / (R - 1));
        t->BorderVSpacing = px(static_cast<double>(Info.FirstTop) + Info.LastBottom);
    } else {
        t->CellVSpacing = t->BorderVSpacing = -1;
    }
    if (Info.HSpacingGiven)
        t->CellHSpacing = R > 0 ? px(static_cast<double>(Info.HSpacingSum) / R) : 0;
    else
        t->CellHSpacing = -1;
    t->BorderHSpacing = t->CellHSpacing;
    if (Info.SuiteValues)
        t->BestWidth = Info.Width;
    else if (Info.Width > 0)
        t->BestWidth = Info.RowBorderCount > 0
                           ? px(Info.Width - static_cast<double>(Info.RowBorderSum) / Info.RowBorderCount)
                           : px(Info.Width);
    else if (Info.Width < 0)
        t->BestWidth = Info.Width / 50;
    else if (GridWidthSwitch && Info.Bounds.size() > 1)
        t->BestWidth = px(Info.Bounds.back() - Info.Bounds.front());
    const auto width = [&](int64_t Sum, int Count) {
        if (Count <= 0) return 0;
        const int w = px(static_cast<double>(Sum) / Count);
        return w == 0 && Sum / static_cast<double>(Count) >= 4.5 ? 1 : w;
    };
    t->CellBorderWidth = width(Info.CellBorderSum, Info.CellBorderCount);
    t->BorderWidth = width(Info.RowBorderSum, Info.RowBorderCount);
    if (!Info.HSpacingGiven && !Info.VSpacingGiven && t->BorderWidth == t->CellBorderWidth)
        t->BorderWidth = t->BorderHSpacing = t->BorderVSpacing = 0;
    if (Info.BorderHSpacing) t->BorderHSpacing = *Info.BorderHSpacing;
    if (Info.BorderVSpacing) t->BorderVSpacing = *Info.BorderVSpacing;
    if (Info.CellHSpacing) t->CellHSpacing = *Info.CellHSpacing;
    if (Info.CellVSpacing) t->CellVSpacing = *Info.CellVSpacing;
    if (AutoHideTableGridLines) t->Options |= rptoHideGridLines;
    t->KeepSizesInLimits();
    t->Changed();
}
