// RTF tables past the limits of a table: the import starts a new table where
// one is full and nests no deeper than tables may, so that every row and
// every text stays, in order, and the document saves to RPF and reads back.
#include "RTFImportDoc.h"
#include "richtext/model/RPData.h"

#include <gtest/gtest.h>

namespace {

using L = TRPTableLimits;

class TRPFDoc : public TImportDoc {
public:
    TRPFOptions RPFOpts = 0;
    TRPFOptions GetRPFOptions() const override { return RPFOpts; }
    void SetRPFOptions(TRPFOptions Value) override { RPFOpts = Value; }
};

std::string CellText(const TRPTableCellData* Cell) {
    return TImportDoc::Text(*Cell, TImportTableText(), 1);
}

std::vector<const TRPTableItemInfo*> Tables(const TCustomRPData& D) {
    std::vector<const TRPTableItemInfo*> r;
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(D.GetItem(i))) r.push_back(t);
    return r;
}

// The texts of the first cells of the rows of every table, in order, with
// "/" where one table ends and the next begins.
std::string FirstCells(const TCustomRPData& D) {
    std::string s;
    for (const TRPTableItemInfo* t : Tables(D)) {
        if (!s.empty()) s += "/";
        for (int r = 0; r < t->Rows->RowCount(); ++r) {
            int mr = 0, mc = 0;
            const TRPTableCellData* c = t->Rows->GetMainCell(r, 0, mr, mc);
            s += (r ? " " : "") + (c && mr == r ? CellText(c) : std::string("^"));
        }
    }
    return s;
}

// The document saved as RPF in text and in binary form, each read back into
// a fresh document; the reading must succeed and give the same text.
void ExpectRPFReadsBack(TRPFDoc& Doc) {
    for (const TRPFOptions form : {TRPFOptions(0), rpfoSaveBinary}) {
        SCOPED_TRACE(form ? "binary" : "text");
        Doc.RPFOpts = form;
        std::string s;
        ASSERT_TRUE(Doc.SaveRPFToStream(s, false, clNone, nullptr, nullptr));
        TRPFDoc back;
        TColor color = clNone;
        ASSERT_TRUE(back.LoadRPFFromStream(s, color, nullptr, nullptr));
        EXPECT_EQ(back.PlainText(), Doc.PlainText());
        EXPECT_EQ(FirstCells(back), FirstCells(Doc));
        for (const TRPTableItemInfo* t : Tables(back))
            EXPECT_TRUE(t->Rows->IsConsistent());
    }
}

// Rows = rows of one cell each, "r0" .. , after a first row of FirstCells
// cells 100 twips wide; every later row spans the first row's width.
std::string RowsRTF(int FirstCells, int Rows) {
    std::string s = "{\\rtf1\\ansi vor\\par\\trowd";
    for (int c = 1; c <= FirstCells; ++c)
        s += "\\cellx" + std::to_string(c * 100);
    s += "\\pard\\intbl r0\\cell";
    for (int c = 1; c < FirstCells; ++c)
        s += "\\cell";
    s += "\\row\n";
    const std::string row = "\\trowd\\cellx" + std::to_string(FirstCells * 100) + "\\pard\\intbl r";
    for (int r = 1; r < Rows; ++r)
        s += row + std::to_string(r) + "\\cell\\row\n";
    return s + "\\pard nach\\par}";
}

std::string Numbered(int From, int To) {
    std::string s;
    for (int r = From; r < To; ++r)
        s += (r > From ? " r" : "r") + std::to_string(r);
    return s;
}

// A table of all columns reaches its positions (rows x columns) with fewer
// rows than its rows' limit: the row that would pass it begins the next table.
TEST(RTFTableLimits, ATableFullOfPositionsGoesOnInANewTable) {
    const int full = L::MaxPositions / L::MaxCols; // 1,024 rows of 256 columns
    TRPFDoc doc;
    ASSERT_EQ(0, doc.Import(RowsRTF(L::MaxCols, full + 3)));
    const auto tables = Tables(doc);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->Rows->RowCount(), full);
    EXPECT_EQ(tables[0]->Rows->GetColCount(), L::MaxCols);
    EXPECT_EQ(tables[1]->Rows->RowCount(), 3);
    EXPECT_EQ(FirstCells(doc), Numbered(0, full) + "/" + Numbered(full, full + 3));
    EXPECT_EQ(doc.ItemUtf8(doc.GetItemCount() - 1), "nach");
    ExpectRPFReadsBack(doc);
}

// The same where the row that passes the positions brings the new columns:
// a table of 1,024 rows of one column is full at the row that adds 255.
TEST(RTFTableLimits, ARowThatAddsColumnsPastThePositionsBeginsTheNextTable) {
    const int rows = L::MaxPositions / L::MaxCols + 1;
    std::string s = "{\\rtf1\\ansi ";
    for (int r = 0; r < rows; ++r)
        s += "\\trowd\\cellx25600\\pard\\intbl r" + std::to_string(r) + "\\cell\\row\n";
    s += "\\trowd";
    for (int c = 1; c <= L::MaxCols; ++c)
        s += "\\cellx" + std::to_string(c * 100);
    s += "\\pard\\intbl r" + std::to_string(rows) + "\\cell\\cell\\row}";
    TRPFDoc doc;
    ASSERT_EQ(0, doc.Import(s));
    const auto tables = Tables(doc);
    ASSERT_EQ(tables.size(), 2u);
    // 1,025 rows of one column fit; the grid of 256 columns holds 1,024.
    EXPECT_EQ(tables[0]->Rows->RowCount(), rows);
    EXPECT_EQ(tables[0]->Rows->GetColCount(), 1);
    EXPECT_EQ(tables[1]->Rows->RowCount(), 1);
    EXPECT_EQ(tables[1]->Rows->GetColCount(), L::MaxCols);
    EXPECT_EQ(FirstCells(doc), Numbered(0, rows) + "/r" + std::to_string(rows));
    ExpectRPFReadsBack(doc);
}

// Cells after the last row end of a full table make a row of a table of their own.
TEST(RTFTableLimits, CellsAfterTheLastRowOfAFullTableMakeATableOfTheirOwn) {
    const int full = L::MaxPositions / L::MaxCols;
    std::string s = RowsRTF(L::MaxCols, full);
    s.resize(s.rfind("\\pard nach"));
    s += "\\pard\\intbl rest\\cell}";
    TRPFDoc doc;
    ASSERT_EQ(0, doc.Import(s));
    const auto tables = Tables(doc);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->Rows->RowCount(), full);
    EXPECT_EQ(FirstCells(doc), Numbered(0, full) + "/rest");
    ExpectRPFReadsBack(doc);
}

// Rows of one column reach the rows' limit first; the next row begins a new
// table. (Empty cells but the first and the last: a hundred thousand rows of
// text take long under the sanitizers, and the other tests read text back.)
TEST(RTFTableLimits, ATableFullOfRowsGoesOnInANewTable) {
    std::string s = "{\\rtf1\\ansi \\trowd\\cellx1000\\pard\\intbl erste\\cell\\row\n";
    for (int r = 1; r < L::MaxRows; ++r)
        s += "\\trowd\\cellx1000\\pard\\intbl\\cell\\row\n";
    s += "\\trowd\\cellx1000\\pard\\intbl letzte\\cell\\row}";
    TRPFDoc doc;
    ASSERT_EQ(0, doc.Import(s));
    auto tables = Tables(doc);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->Rows->RowCount(), L::MaxRows);
    EXPECT_EQ(CellText(tables[0]->GetCell(0, 0)), "erste");
    ASSERT_EQ(tables[1]->Rows->RowCount(), 1);
    EXPECT_EQ(CellText(tables[1]->GetCell(0, 0)), "letzte");

    doc.RPFOpts = rpfoSaveBinary;
    std::string rpf;
    ASSERT_TRUE(doc.SaveRPFToStream(rpf, false, clNone, nullptr, nullptr));
    TRPFDoc back;
    TColor color = clNone;
    ASSERT_TRUE(back.LoadRPFFromStream(rpf, color, nullptr, nullptr));
    tables = Tables(back);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->Rows->RowCount(), L::MaxRows);
    EXPECT_EQ(CellText(tables[1]->GetCell(0, 0)), "letzte");
}

// Tables of one cell nested Depth levels deep, each cell holding "t<level>"
// before the table inside it and "e<level>" after.
std::string NestedRTF(int Depth) {
    std::string s = "{\\rtf1\\ansi\\trowd\\cellx3000 ";
    const auto level = [](int l) { return "\\pard\\intbl\\itap" + std::to_string(l) + " "; };
    for (int l = 1; l <= Depth; ++l)
        s += level(l) + "t" + std::to_string(l) + "\\par\n";
    for (int l = Depth; l >= 1; --l) {
        s += level(l) + "e" + std::to_string(l);
        s += l == 1 ? "\\cell\\trowd\\cellx3000\\row\n"
                    : "\\nestcell{\\*\\nesttableprops\\trowd\\cellx3000\\nestrow}\n";
    }
    return s + "\\pard nach\\par}";
}

// Every text of the document in order, one word per item.
std::string Words(const TCustomRPData& D) {
    std::string s;
    for (int i = 0; i < D.GetItemCount(); ++i) {
        if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(D.GetItem(i)))
            t->Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) {
                const std::string w = Words(Cell);
                if (!w.empty()) s += (s.empty() ? "" : " ") + w;
            });
        else if (!D.GetItemText(i).empty())
            s += (s.empty() ? "" : " ") + TImportDoc::ItemUtf8(D, i);
    }
    return s;
}

int Depth(const TCustomRPData& D) {
    int d = 0;
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const TCustomRPItemInfo* item = D.GetItem(i)) d = std::max(d, RPTablesIn(*item));
    return d;
}

std::string NestedWords(int Depth) {
    std::string s;
    for (int l = 1; l <= Depth; ++l)
        s += "t" + std::to_string(l) + " ";
    for (int l = Depth; l >= 1; --l)
        s += "e" + std::to_string(l) + " ";
    return s + "nach";
}

// Levels past the deepest a table may stand at are no tables: their text
// goes on in the deepest table's cells, in order.
TEST(RTFTableLimits, TablesNestNoDeeperThanTheLimit) {
    for (const int levels : {L::MaxDepth, L::MaxDepth + 3}) {
        SCOPED_TRACE(levels);
        TRPFDoc doc;
        ASSERT_EQ(0, doc.Import(NestedRTF(levels)));
        EXPECT_EQ(Depth(doc), L::MaxDepth);
        EXPECT_EQ(Words(doc), NestedWords(levels));
        ExpectRPFReadsBack(doc);
    }
}

// Read into a cell of tables nested already, the import nests as deep as is
// left; into a cell at the deepest level, table rows become paragraphs.
TEST(RTFTableLimits, AnImportIntoACellNestsAsDeepAsTheCellLeaves) {
    for (const int around : {L::MaxDepth - 2, L::MaxDepth}) {
        SCOPED_TRACE(around);
        TRPFDoc doc;
        TCustomRPData* holder = &doc;
        for (int l = 0; l < around; ++l) {
            auto t = TRPTableItemInfo::CreateEx(1, 1, holder);
            TRPTableCellData* cell = t->GetCell(0, 0);
            holder->AddItem(std::string(), std::move(t));
            holder = cell;
        }
        holder->Clear();
        ASSERT_EQ(RPTablesAround(holder), around);
        QByteArray rtf = QByteArray::fromStdString(NestedRTF(4));
        QBuffer buf(&rtf);
        buf.open(QIODevice::ReadOnly);
        ASSERT_EQ(0, doc.Props.ReadRTFStream(buf, holder));
        EXPECT_EQ(Depth(*holder), L::MaxDepth - around);
        EXPECT_EQ(Words(*holder), NestedWords(4));
        EXPECT_EQ(Depth(doc), L::MaxDepth);
        ExpectRPFReadsBack(doc);
    }
}

} // namespace
