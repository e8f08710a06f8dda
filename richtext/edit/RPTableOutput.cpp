// Tables written as RTF, HTML and plain text: rows with their cell
// definitions and merge marks, cell contents through the document writers,
// so that tables nest.
#include <algorithm>

#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPHTMLWriter.h"
#include "richtext/model/RPRTFWriter.h"
#include "richtext/model/RPStream.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

// The colours a border of the style writes.
void AddBorderColors(TRPColorList& List, TRPTableBorderStyle Style, TColor Color, TColor Light) {
    switch (Style) {
    case rptbRaised:
    case rptbLowered:
        List.AddUnique(static_cast<int32_t>(clBtnHighlight));
        List.AddUnique(static_cast<int32_t>(clBtnShadow));
        List.AddUnique(static_cast<int32_t>(clBtnFace));
        break;
    case rptbColor:
        List.AddUnique(static_cast<int32_t>(Color));
        break;
    default:
        List.AddUnique(static_cast<int32_t>(Color));
        List.AddUnique(static_cast<int32_t>(Light));
        break;
    }
}

// "\{p}brdrl..." for each visible side, nothing for a width of 0.
std::string RTFBorder(const char* Prefix, TRPTableBorderStyle Style, int Width, TColor Color, TColor Light,
                      const TRPBooleanRect* Sides, double K, const TRPRTFTables& Tables) {
    if (Width <= 0) return std::string();
    const std::string w = std::to_string(RPTwips(Width, K));
    const auto text = [&](TColor c) {
        switch (Style) {
        case rptbRaised:
            return "\\brdroutset\\brdrw" + w;
        case rptbLowered:
            return "\\brdrinset\\brdrw" + w;
        default:
            return "\\brdrs\\brdrw" + w + "\\brdrcf" + std::to_string(RPRTFColorNo(Tables, c));
        }
    };
    const TColor lt = Style == rptbRaisedColor ? Light : Color; // left and top
    const TColor rb = Style == rptbRaisedColor ? Color : Style == rptbLoweredColor ? Light : Color;
    const TRPBooleanRect all(true);
    const TRPBooleanRect& v = Sides ? *Sides : all;
    std::string s;
    const std::string p = std::string("\\") + Prefix;
    if (v.Left) s += p + "brdrl" + text(lt);
    if (v.Top) s += p + "brdrt" + text(lt);
    if (v.Right) s += p + "brdrr" + text(rb);
    if (v.Bottom) s += p + "brdrb" + text(rb);
    return s;
}

// An HTML attribute, left out when empty.
std::string Attr(const char* Name, const std::string& Value) {
    return Value.empty() ? std::string() : std::string(" ") + Name + "=" + Value;
}

std::string HTMLLength(int v) {
    return v > 0 ? std::to_string(v) : v < 0 ? std::to_string(-v) + "%" : std::string();
}

std::string HTMLColor(TColor c) {
    return c == clNone ? std::string() : ColorToHTML(c);
}

// A background picture shown once (stretched or centred) is placed so in CSS.
bool PictureShownOnce(const TRPBackground* Back, TRPItemBackgroundStyle Style) {
    return Back && Back->Image && !Back->Image->Empty() && (Style == rpbsStretched || Style == rpbsCentered);
}

// Joins CSS declarations with a blank.
void AddCSS(std::string& CSS, const std::string& More) {
    if (More.empty()) return;
    if (!CSS.empty() && CSS.back() != ' ') CSS += ' ';
    CSS += More;
}

// A width in pixels belongs to all the table's columns: a block of some of
// them takes the width its cells give it.
TRPHTMLLength BlockBestWidth(TRPHTMLLength BestWidth, const TRPTableBlock& Block, const TRPTableRows& Rows) {
    return BestWidth > 0 && Block.ColCount() < Rows.GetColCount() ? 0 : BestWidth;
}

const char* const CSSPictureOnce = "background-position: center center; background-repeat: no-repeat;";
const char* const CSSPictureTiled = "background-position: left top; background-repeat: repeat;";

std::string VAlignName(TRPCellVAlign a) {
    switch (a) {
    case rpcTop:
        return "top";
    case rpcMiddle:
        return "middle";
    case rpcBottom:
        return "bottom";
    default:
        return std::string();
    }
}

} // namespace

// ---------------------------------------------------------------------------
// The block written

TRPTableBlock::TRPTableBlock(const TRPTableRows& Rows) : FColCount(Rows.GetColCount()), FWhole(true) {
    for (int r = 0; r < Rows.RowCount(); ++r)
        FRows.push_back(r);
    Build(Rows);
}

TRPTableBlock::TRPTableBlock(const TRPTableRows& Rows, std::vector<int> SourceRows, int FirstCol,
                             int ColCount)
    : FRows(std::move(SourceRows)), FFirstCol(FirstCol), FColCount(std::max(0, ColCount)) {
    // Rows and columns outside the grid are not written.
    std::erase_if(FRows, [&](int r) { return r < 0 || r >= Rows.RowCount(); });
    const int cols = Rows.GetColCount();
    FFirstCol = std::clamp(FFirstCol, 0, cols);
    FColCount = std::min(FColCount, cols - FFirstCol);
    if (FColCount == 0) FRows.clear();
    FWhole = FFirstCol == 0 && FColCount == cols && static_cast<int>(FRows.size()) == Rows.RowCount();
    for (int r = 0; FWhole && r < RowCount(); ++r)
        FWhole = FRows[static_cast<size_t>(r)] == r;
    Build(Rows);
}

void TRPTableBlock::Build(const TRPTableRows& Rows) {
    const int R = RowCount(), C = FColCount;
    FPlaces.assign(static_cast<size_t>(R) * static_cast<size_t>(C), TPlace());
    // Rows of the block that follow each other in the table.
    const auto joined = [&](int r) {
        return r > 0 && FRows[static_cast<size_t>(r - 1)] + 1 == FRows[static_cast<size_t>(r)];
    };
    // The main cells of the row before and of this one: a covered position
    // takes the cell of its neighbour above or to the left when that covers
    // it, so that tall and wide cells cost no search.
    struct TMain {
        TRPTableCellData* Cell = nullptr;
        int Row = -1, Col = -1;
        // Whether the cell reaches (R, C), which lies below and right of its start.
        bool Covers(int R, int C) const { return Cell && R < Row + Cell->RowSpan && C < Col + Cell->ColSpan; }
    };
    std::vector<TMain> above(static_cast<size_t>(C)), here(static_cast<size_t>(C));
    for (int r = 0; r < R; ++r) {
        const int row = FRows[static_cast<size_t>(r)];
        for (int c = 0; c < C; ++c) {
            const int col = FFirstCol + c;
            TMain& m = here[static_cast<size_t>(c)];
            if (TRPTableCellData* own = Rows.GetCell(row, col))
                m = {own, row, col};
            else if (c > 0 && here[static_cast<size_t>(c - 1)].Covers(row, col))
                m = here[static_cast<size_t>(c - 1)];
            else if (joined(r) && above[static_cast<size_t>(c)].Covers(row, col))
                m = above[static_cast<size_t>(c)];
            else
                m.Cell = Rows.GetMainCell(row, col, m.Row, m.Col);
            if (!m.Cell) continue;
            const int mr = m.Row, mc = m.Col;
            // The cell stands in its first column inside the block, in the
            // first row of the run of joined rows that it covers here.
            TPlace& p = FPlaces[static_cast<size_t>(r) * static_cast<size_t>(C) + static_cast<size_t>(c)];
            const int br =
                joined(r) && FRows[static_cast<size_t>(r - 1)] >= mr ? std::max(At(r - 1, c).MainRow, 0) : r;
            const int bc = std::max(mc, FFirstCol) - FFirstCol;
            TRPTableCellData* const cell = m.Cell;
            p.MainRow = br;
            p.MainCol = bc;
            if (br != r || bc != c) continue;
            p.Cell = cell;
            p.ColSpan = std::clamp(mc + cell->ColSpan - FFirstCol, 1, C) - bc;
            p.RowSpan = 1;
            while (r + p.RowSpan < R && joined(r + p.RowSpan) &&
                   FRows[static_cast<size_t>(r + p.RowSpan)] < mr + cell->RowSpan)
                ++p.RowSpan;
            p.ColsCut = p.ColSpan < cell->ColSpan;
            p.RowsCut = p.RowSpan < cell->RowSpan;
        }
        above.swap(here);
    }
}

int TRPTableBlock::CellBestWidth(int Row, int Col) const {
    const TPlace& p = At(Row, Col);
    return p.Cell && !p.ColsCut ? p.Cell->BestWidth : 0;
}

int TRPTableBlock::CellBestHeight(int Row, int Col) const {
    const TPlace& p = At(Row, Col);
    return p.Cell && !p.RowsCut ? p.Cell->BestHeight : 0;
}

TRPTableCellData* TRPTableBlock::GetMainCell(int Row, int Col, int& MainRow, int& MainCol) const {
    MainRow = At(Row, Col).MainRow;
    MainCol = At(Row, Col).MainCol;
    return MainRow >= 0 ? GetCell(MainRow, MainCol) : nullptr;
}

int TRPTableBlock::HeadingRows(int HeadingRowCount) const {
    int n = 0;
    while (n < RowCount() && n < HeadingRowCount && FRows[static_cast<size_t>(n)] == n)
        ++n;
    return n;
}

int TRPTableBlock::GetBestHeight(int Row) const {
    int h = 0;
    for (int c = 0; c < FColCount; ++c)
        if (GetCell(Row, c) && RowSpan(Row, c) < 2) h = std::max(h, CellBestHeight(Row, c));
    return h;
}

TRPBooleanRect TRPTableBlock::VisibleBorders(int Row, int Col) const {
    const TPlace& p = At(Row, Col);
    if (!p.Cell) return TRPBooleanRect();
    TRPBooleanRect v = p.Cell->VisibleBorders;
    v.Top = v.Top || p.TopShown;
    v.Left = v.Left || p.LeftShown;
    return v;
}

void TRPTableBlock::TakeEdgeBorders(const TRPTableRows& Rows, bool SharedH, bool SharedV) {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < FColCount; ++c) {
            TPlace& p =
                FPlaces[static_cast<size_t>(r) * static_cast<size_t>(FColCount) + static_cast<size_t>(c)];
            if (!p.Cell) continue;
            int mr, mc;
            // A cell that leaves a shared line to its neighbour above (left)
            // would stand without it once that neighbour is not written.
            const int above = FRows[static_cast<size_t>(r)] - 1;
            if (SharedV && r == 0 && above >= 0 && !p.Cell->VisibleBorders.Top)
                if (const TRPTableCellData* n = Rows.GetMainCell(above, FFirstCol + c, mr, mc);
                    n && n != p.Cell && n->VisibleBorders.Bottom)
                    p.TopShown = true;
            if (SharedH && c == 0 && FFirstCol > 0 && !p.Cell->VisibleBorders.Left)
                if (const TRPTableCellData* n =
                        Rows.GetMainCell(FRows[static_cast<size_t>(r)], FFirstCol - 1, mr, mc);
                    n && n != p.Cell && n->VisibleBorders.Right)
                    p.LeftShown = true;
        }
}

TRPTableBlock TRPTableItemInfo::GetBlock(const TRPMultiDrawItemPart* Part) const {
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    std::vector<int> rows;
    if (const auto* s = dynamic_cast<const TRPTableSelectionPart*>(Part)) {
        for (int r = std::max(0, s->StartRow); r < std::min(R, s->StartRow + s->RowCount); ++r)
            rows.push_back(r);
        TRPTableBlock block(*Rows, std::move(rows), s->StartCol, s->ColCount);
        // Negative spacings: neighbours draw the line between them once.
        block.TakeEdgeBorders(*Rows, CellHSpacing < 0, CellVSpacing < 0);
        return block;
    }
    if (const auto* p = dynamic_cast<const TRPTablePrintPart*>(Part)) {
        // A printed part repeats the heading rows in front of its own.
        const int first = std::clamp(p->StartRow, 0, R);
        const int count = std::clamp(p->RowCount, 0, R - first);
        const int headings = std::min({HeadingRowCount, R, first});
        for (int r = 0; r < headings; ++r)
            rows.push_back(r);
        for (int r = first; r < first + count; ++r)
            rows.push_back(r);
        return TRPTableBlock(*Rows, std::move(rows), 0, C);
    }
    return TRPTableBlock(*Rows);
}

// ---------------------------------------------------------------------------
// RTF

void TRPTableItemInfo::FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                                     TCustomRPData* RPData) const {
    const TRPTableSaving saving = StoreEditedCell();
    (void)RPData;
    ColorList.AddUnique(static_cast<int32_t>(Color));
    AddBorderColors(ColorList, BorderStyle, BorderColor, BorderLightColor);
    AddBorderColors(ColorList, CellBorderStyle, CellBorderColor, CellBorderLightColor);
    if (VRuleWidth > 0) ColorList.AddUnique(static_cast<int32_t>(VRuleColor));
    if (HRuleWidth > 0) ColorList.AddUnique(static_cast<int32_t>(HRuleColor));
    for (int r = 0; r < Rows->RowCount(); ++r)
        for (int c = 0; c < Rows->GetColCount(); ++c)
            if (TRPTableCellData* cell = Rows->GetCell(r, c)) {
                for (TColor k : {cell->Color, cell->BorderColor, cell->BorderLightColor})
                    ColorList.AddUnique(static_cast<int32_t>(k));
                cell->BuildRTFColorAndListTables(ColorList, ListOverrideCount);
            }
}

void TRPTableItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo,
                               const std::string& Text, double TwipsPerPixel, int Level,
                               TRPRTFTables& Tables) const {
    (void)Text;
    const TRPTableSaving saving = StoreEditedCell();
    WriteRTF(Stream, RPData, ItemNo, TwipsPerPixel, Level, Tables, TRPTableBlock(*Rows));
}

void TRPTableItemInfo::SaveRTFPart(std::string& Stream, TCustomRPData* RPData, int ItemNo,
                                   const std::string& Text, double TwipsPerPixel, int Level,
                                   TRPRTFTables& Tables, const TRPMultiDrawItemPart& Part) const {
    (void)Text;
    const TRPTableSaving saving = StoreEditedCell();
    WriteRTF(Stream, RPData, ItemNo, TwipsPerPixel, Level, Tables, GetBlock(&Part));
}

void TRPTableItemInfo::WriteRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, double TwipsPerPixel,
                                int Level, TRPRTFTables& Tables, const TRPTableBlock& Block) const {
    const double k = TwipsPerPixel;
    auto* self = const_cast<TRPTableItemInfo*>(this);
    const int R = Block.RowCount(), C = Block.ColCount(), allCols = Rows->GetColCount();
    if (R == 0 || C == 0) return;
    const TRPHTMLLength bestWidth = BlockBestWidth(BestWidth, Block, *Rows);
    const int headings = Block.HeadingRows(HeadingRowCount);
    // Column positions come from a layout; a table never laid out gets one.
    if (FormattingInfo.ColStarts.Count() != allCols || FormattingInfo.ColWidths.Count() != allCols) {
        TCanvas* canvas = nullptr;
        if (auto* fd = dynamic_cast<TCustomRPFormattedData*>(RPData)) canvas = fd->GetCanvas();
        self->UpdateLayout(600, self->FormattingInfo, true, canvas);
    }
    const bool nested = Level > 0;
    const std::string itap = std::to_string(Level + 1);
    const TRPStyle* style = RPData ? RPData->GetRPStyle() : nullptr;
    const TParaInfo* para = style && ParaNo >= 0 && ParaNo < style->ParaStyles().Count()
                                ? style->ParaStyles().GetItem(ParaNo)
                                : nullptr;
    const TRPAlignment align = para ? para->Alignment : rpaLeft;
    const auto tw = [&](int px) { return std::to_string(RPTwips(px, k)); };
    const auto half = [&](int px) { return std::to_string(static_cast<int>(Round(px * k / 2))); };
    // The row's indent is the table's paragraph indent; the cells' boundaries
    // follow from their columns' widths and the padding around them, which is
    // what readers take a cell's width to hold. Readers merge boundaries a
    // twip apart, so each column keeps two at least; a layout wider than the
    // boundaries' range (tables of wide tables) ends its columns at the range's
    // end, two twips apart, so that every cell reads back.
    const int indent = para ? std::max(0, para->LeftIndent) : 0;
    std::vector<int> bounds(static_cast<size_t>(C));
    {
        const int most = TRPTableLimits::MaxRTFBoundary - 2 * C;
        int px = indent, last = std::min(RPTwips(indent, k), most);
        for (int c = 0; c < C; ++c) {
            px = RPCoordSum(px, std::max(0, FormattingInfo.ColWidths[Block.FirstCol() + c]),
                            2 * std::max(0, CellPadding));
            last = std::min(std::max(RPTwips(px, k), last + 2), most + 2 * (c + 1));
            bounds[static_cast<size_t>(c)] = last;
        }
    }
    // Whether some column ends no cell: it needs the merge marks to stay.
    bool marks = false;
    for (int c = 0; c < C && !marks; ++c) {
        bool ends = false;
        for (int r = 0; r < R && !ends; ++r) {
            int mr = r, mc = c;
            const TRPTableCellData* m = Block.GetMainCell(r, c, mr, mc);
            ends = m && mc + Block.ColSpan(mr, mc) - 1 == c;
        }
        marks = !ends;
    }
    // A table right after another one would read as more rows of it.
    const bool follows = RPData && ItemNo > 0 && ItemNo < RPData->GetItemCount() &&
                         RPData->GetItem(ItemNo) == this && RPData->GetItemStyle(ItemNo - 1) == rpsnTable;
    for (int r = 0; r < R; ++r) {
        std::string s = "\\trowd";
        if (align == rpaRight) s += "\\trqr";
        if (align == rpaCenter) s += "\\trqc";
        // The gap is what lies between a cell's boundary and its text.
        s += "\\trgaph" + tw(std::max(0, CellPadding)) + "\\trleft" + tw(indent) + "\\itap" + itap;
        if (r == 0 && follows) s += "\\richpadtbnew";
        if (r < headings) s += "\\trhdr";
        if (const int h = Block.GetBestHeight(r); h > 0) s += "\\trrh" + tw(h);
        const std::string pad = tw(CellPadding);
        s += "\\trpaddl" + pad + "\\trpaddt" + pad + "\\trpaddr" + pad + "\\trpaddb" + pad +
             "\\trpaddfl3\\trpaddft3\\trpaddfr3\\trpaddfb3";
        // A negative spacing lets the cells' borders overlap: no spacing at all
        // in RTF, which is how other readers take it; the spacing itself goes
        // in words of our own.
        if (CellHSpacing >= 0)
            s += "\\trspdl" + half(CellHSpacing) + "\\trspdr" + half(CellHSpacing) + "\\trspdfl3\\trspdfr3";
        if (CellVSpacing >= 0)
            s += "\\trspdt" + half(std::max(0, r == 0 ? BorderVSpacing : CellVSpacing)) + "\\trspdb" +
                 half(std::max(0, r == R - 1 ? BorderVSpacing : CellVSpacing)) + "\\trspdft3\\trspdfb3";
        if (bestWidth > 0)
            s += "\\trwWidth" + tw(bestWidth + 2 * BorderWidth) + "\\trftsWidth3";
        else if (bestWidth < 0)
            s += "\\trwWidth" + std::to_string(-static_cast<int64_t>(bestWidth) * 50) + "\\trftsWidth2";
        else
            s += "\\trftsWidth1";
        if (Options & rptoRTFAllowAutofit) s += "\\trautofit1";
        s += "\\richpadtbw" + std::to_string(bestWidth) + "\\richpadtbhs" + std::to_string(BorderHSpacing) +
             "\\richpadtbvs" + std::to_string(BorderVSpacing);
        if (CellHSpacing < 0) s += "\\richpadtchs" + std::to_string(CellHSpacing);
        if (CellVSpacing < 0) s += "\\richpadtcvs" + std::to_string(CellVSpacing);
        s += RTFBorder("tr", BorderStyle, BorderWidth, BorderColor, BorderLightColor, nullptr, k, Tables);
        if (RPData) {
            std::string extra;
            RPData->DoSaveRTFExtra(3, self, Block.SourceRow(r), -1, false, extra);
            s += extra;
        }
        // A cell merged over columns is one wide cell; the rows it covers
        // below have one cell of its width that continues it (\clvmrg).
        // Readers take a wide cell much faster than merge marks, which only
        // a column that ends no cell needs, to stay a column.
        std::vector<int> starts; // the first column of each cell of the row
        for (int c = 0; c < C; ++c) {
            int mr = r, mc = c;
            const TRPTableCellData* m = Block.GetMainCell(r, c, mr, mc);
            if (!m || (mc != c && !marks)) continue;
            const int colSpan = Block.ColSpan(mr, mc), rowSpan = Block.RowSpan(mr, mc);
            starts.push_back(c);
            const int lastCol = marks ? c : std::clamp(c + colSpan - 1, c, C - 1);
            if (marks && (mr != r || mc != c)) {
                if (r > mr) {
                    s += "\\clvmrg";
                    if (c == mc && colSpan > 1) s += "\\clmgf";
                }
                if (c > mc) {
                    s += "\\clmrg";
                    if (r == mr && rowSpan > 1) s += "\\clvmgf";
                }
            } else if (r > mr) {
                s += "\\clvmrg";
            } else {
                if (rowSpan > 1) s += "\\clvmgf";
                if (marks && colSpan > 1) s += "\\clmgf";
                const int bw = Block.CellBestWidth(r, c);
                if (bw > 0)
                    s += (Options & rptoRTFSaveCellPixelBestWidth) ? "\\clwWidth" + tw(bw) + "\\clftsWidth3"
                                                                   : std::string("\\clwWidth0");
                else if (bw < 0)
                    s += "\\clwWidth" + std::to_string(-static_cast<int64_t>(bw) * 50) + "\\clftsWidth2";
                else
                    s += "\\clftsWidth1";
                s += "\\richpadcbw" + std::to_string(bw) + "\\richpadcbh" +
                     std::to_string(Block.CellBestHeight(r, c));
            }
            const TRPBooleanRect borders = Block.VisibleBorders(mr, mc);
            s += RTFBorder("cl", CellBorderStyle, CellBorderWidth,
                           m->BorderColor == clNone ? CellBorderColor : m->BorderColor,
                           m->BorderLightColor == clNone ? CellBorderLightColor : m->BorderLightColor,
                           &borders, k, Tables);
            if (m->Color != clNone) s += "\\clcbpat" + std::to_string(RPRTFColorNo(Tables, m->Color));
            const TRPCellVAlign va = GetCellVAlign(*m);
            if (va == rpcMiddle) s += "\\clvertalc";
            if (va == rpcBottom) s += "\\clvertalb";
            if (RPData) {
                std::string extra;
                RPData->DoSaveRTFExtra(2, self, Block.SourceRow(r), Block.FirstCol() + c, false, extra);
                s += extra;
            }
            s += "\\cellx" + std::to_string(bounds[static_cast<size_t>(lastCol)]);
        }
        // The cells' contents; a continuing cell writes an empty one. A
        // nested row gives its properties after its cells, in a group that
        // readers without nested tables skip, and ends in a paragraph for them.
        std::string cells = "\\pard\\intbl\\itap" + itap + "{";
        for (const int c : starts) {
            cells += "{";
            if (TRPTableCellData* cell = Block.GetCell(r, c))
                cell->SaveRTFRangeToStream(cells, cell->GetSaveRange(false), false, Level + 1, clNone,
                                           &Tables, k);
            cells += nested ? "\\nestcell}" : "\\cell}";
        }
        cells += "}";
        if (nested)
            Stream += "{" + cells + "{\\*\\nesttableprops" + s + "\\nestrow}{\\nonesttables\\par}}";
        else
            Stream += "{" + s + cells + "\\pard\\intbl\\itap" + itap + "\\row}";
        RPWriteLn(Stream, "");
    }
}

// ---------------------------------------------------------------------------
// Plain text

std::string TRPTableItemInfo::GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                           const std::string& Path, const std::string& ItemText) {
    (void)ItemText;
    const TRPTableSaving saving = StoreEditedCell();
    return WritePlainText(LineWidth, RPData, Unicode, TextOnly, Path, TRPTableBlock(*Rows));
}

std::string TRPTableItemInfo::GetPlainTextPart(int LineWidth, TCustomRPData* RPData, bool Unicode,
                                               bool TextOnly, const std::string& Path,
                                               const std::string& ItemText,
                                               const TRPMultiDrawItemPart& Part) {
    (void)ItemText;
    const TRPTableSaving saving = StoreEditedCell();
    return WritePlainText(LineWidth, RPData, Unicode, TextOnly, Path, GetBlock(&Part));
}

std::string TRPTableItemInfo::WritePlainText(int LineWidth, TCustomRPData* RPData, bool Unicode,
                                             bool TextOnly, const std::string& Path,
                                             const TRPTableBlock& Block) const {
    const auto conv = [&](const std::string& s) {
        return Unicode ? AnsiToUnicodeText(RPData ? RPData->GetDefaultCodePage() : 1252, s) : s;
    };
    const std::string colSep = conv(TextColSeparator), rowSep = conv(TextRowSeparator);
    std::string out;
    const int C = Block.ColCount();
    for (int r = 0; r < Block.RowCount(); ++r) {
        for (int c = 0; c < C; ++c) {
            if (TRPTableCellData* cell = Block.GetCell(r, c))
                cell->SaveTextRangeToStream(Path, out, LineWidth, cell->GetSaveRange(false), false, TextOnly,
                                            Unicode, false);
            if (c < C - 1) out += colSep;
        }
        out += rowSep;
    }
    return out;
}

// ---------------------------------------------------------------------------
// HTML

std::string TRPTableItemInfo::CellBorderCSS(const TRPTableCellData& Cell) const {
    // A cell's own colours, else the table's for cells.
    const TColor c = Cell.BorderColor != clNone ? Cell.BorderColor : CellBorderColor;
    const TColor l = Cell.BorderLightColor != clNone ? Cell.BorderLightColor : CellBorderLightColor;
    std::string css;
    // A width of 0 is stated too: the table's border attribute would give
    // the cells borders that the document does not show.
    if (!(BorderWidth == CellBorderWidth && BorderWidth < 2) && !(CellBorderWidth == 1 && BorderWidth > 1))
        css = "border-width : " + std::to_string(CellBorderWidth) + "px; ";
    if (CellBorderWidth <= 0) return css;
    const auto colors = [&](TColor a, TColor b) {
        return "border-color : " + ColorToHTML(a) + " " + ColorToHTML(b) + " " + ColorToHTML(b) + " " +
               ColorToHTML(a) + "; border-style: solid";
    };
    switch (CellBorderStyle) {
    case rptbRaised:
        css += "border-style: outset";
        break;
    case rptbColor:
        // The table's bordercolor says it already.
        if (!(BorderStyle == rptbColor && BorderColor == c))
            css += "border-color : " + ColorToHTML(c) + "; border-style: solid";
        break;
    case rptbRaisedColor:
        css += colors(l, c);
        break;
    case rptbLoweredColor:
        if (!((BorderStyle == rptbRaisedColor || BorderStyle == rptbLoweredColor) && BorderColor == c &&
              BorderLightColor == l))
            css += colors(c, l);
        break;
    default:
        break;
    }
    if (!css.empty() && css.back() != ';' && !(css.size() > 1 && css.compare(css.size() - 2, 2, "; ") == 0))
        css += "; ";
    return css;
}

void TRPTableItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo,
                                const std::string& Text, const std::string& Path,
                                const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                                TRPHTMLSaveOptions Options_, bool UseCSS, TRPHTMLBulletList& Bullets) const {
    (void)ItemNo, (void)Text;
    const TRPTableSaving saving = StoreEditedCell();
    WriteHTML(Stream, RPData, Path, ImagesPrefix, ImageSaveNo, BackColor, Options_, UseCSS, Bullets,
              TRPTableBlock(*Rows));
}

void TRPTableItemInfo::SaveHTMLPart(std::string& Stream, TCustomRPData* RPData, int ItemNo,
                                    const std::string& Text, const std::string& Path,
                                    const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                                    TRPHTMLSaveOptions Options_, bool UseCSS, TRPHTMLBulletList& Bullets,
                                    const TRPMultiDrawItemPart& Part) const {
    (void)ItemNo, (void)Text;
    const TRPTableSaving saving = StoreEditedCell();
    WriteHTML(Stream, RPData, Path, ImagesPrefix, ImageSaveNo, BackColor, Options_, UseCSS, Bullets,
              GetBlock(&Part));
}

void TRPTableItemInfo::WriteHTML(std::string& Stream, TCustomRPData* RPData, const std::string& Path,
                                 const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                                 TRPHTMLSaveOptions Options_, bool UseCSS, TRPHTMLBulletList& Bullets,
                                 const TRPTableBlock& Block) const {
    // A background picture goes beside the page (or by its file name), on
    // the colour it shows on.
    const auto picture = [&](const TRPBackground* Back, const std::string& FileName, TColor On) {
        if (!Back || Back->Style == bsNoBitmap || !Back->Image || Back->Image->Empty() || !RPData)
            return std::string();
        const std::string location = RPHTMLBackgroundPicture(RPData, *Back->Image, FileName, Path,
                                                             ImagesPrefix, ImageSaveNo, Options_, On);
        return location.empty() ? location : " background=\"" + HTMLEscapeAttribute(location) + "\"";
    };
    const TColor tableBack = Color != clNone ? Color : BackColor;
    const bool tablePictureOnce = PictureShownOnce(FBackground.get(), GetBackgroundStyle());
    std::string t = "<TABLE" + Attr("width", HTMLLength(BlockBestWidth(BestWidth, Block, *Rows))) +
                    Attr("bgcolor", HTMLColor(Color));
    // One style attribute holds all the table's properties.
    std::string css;
    if (UseCSS && BorderWidth < 1 && CellBorderWidth != 0) {
        t += " border=1";
        css = "border-width : 0px;";
    } else {
        t += " border=" + std::to_string(BorderWidth);
    }
    t += Attr("cellpadding", std::to_string(CellPadding));
    if (BorderStyle == rptbColor) t += Attr("bordercolor", HTMLColor(BorderColor));
    if (BorderStyle == rptbRaisedColor || BorderStyle == rptbLoweredColor)
        t += Attr("bordercolorlight", HTMLColor(BorderLightColor)) +
             Attr("bordercolordark", HTMLColor(BorderColor));
    t += Attr("cellspacing", std::to_string(std::max(0, (CellVSpacing + CellHSpacing) / 2)));
    t += picture(FBackground.get(), BackgroundImageFileName, tableBack);
    if (UseCSS) {
        if (tablePictureOnce) css = CSSPictureOnce + (css.empty() ? css : " " + css);
        if (BorderStyle == rptbLowered) AddCSS(css, "border-style: inset;");
        if (BorderStyle == rptbLoweredColor)
            AddCSS(css, "border-color : " + ColorToHTML(BorderColor) + " " + ColorToHTML(BorderLightColor) +
                            " " + ColorToHTML(BorderLightColor) + " " + ColorToHTML(BorderColor) +
                            "; border-style: solid;");
        // A style attribute holds declarations only: no braces around them.
        if (!css.empty()) t += " style='" + css + "'";
    }
    RPWriteLn(Stream, t + ">");
    const int C = Block.ColCount();
    for (int r = 0; r < Block.RowCount(); ++r) {
        RPWriteLn(Stream, "<TR" + Attr("valign", VAlignName(Rows->GetRow(Block.SourceRow(r))->VAlign)) + ">");
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* cell = Block.GetCell(r, c);
            if (!cell) continue;
            std::string td = "<TD";
            if (const int n = Block.ColSpan(r, c); n > 1) td += Attr("colspan", std::to_string(n));
            if (const int n = Block.RowSpan(r, c); n > 1) td += Attr("rowspan", std::to_string(n));
            td += Attr("width", HTMLLength(Block.CellBestWidth(r, c))) +
                  Attr("height", HTMLLength(Block.CellBestHeight(r, c))) +
                  Attr("bgcolor", HTMLColor(cell->Color)) + Attr("valign", VAlignName(cell->VAlign));
            td += picture(cell->GetBackground(), cell->BackgroundImageFileName,
                          cell->Color != clNone ? cell->Color : tableBack);
            if (UseCSS) {
                std::string css = CellBorderCSS(*cell);
                if (PictureShownOnce(cell->GetBackground(), cell->GetBackgroundStyle()))
                    css = CSSPictureOnce + (css.empty() ? css : " " + css);
                else if (tablePictureOnce)
                    css = CSSPictureTiled + (css.empty() ? css : " " + css);
                if (CellBorderWidth > 0) {
                    const TRPBooleanRect v = Block.VisibleBorders(r, c);
                    if (!v.Top) css += "border-top: none; ";
                    if (!v.Right) css += "border-right: none; ";
                    if (!v.Bottom) css += "border-bottom: none; ";
                    if (!v.Left) css += "border-left: none; ";
                }
                if (!css.empty()) td += " style='" + css + "'";
            }
            Stream += td + ">";
            if (!cell->HasData(false)) {
                Stream += "&nbsp;";
            } else {
                TRPHTMLParams params;
                params.Path = Path;
                params.ImagesPrefix = ImagesPrefix;
                params.Options = static_cast<uint16_t>(Options_ | rphsoBodyOnly);
                params.Color = cell->Color != clNone ? cell->Color : Color != clNone ? Color : BackColor;
                params.Bullets = &Bullets;
                TColor current = clNone;
                cell->SaveHTMLRangeToStream(Stream, params, UseCSS, current, ImageSaveNo,
                                            cell->GetSaveRange(false));
            }
            RPWriteLn(Stream, "</TD>");
        }
        RPWriteLn(Stream, "</TR>");
    }
    RPWriteLn(Stream, "</TABLE>");
}
