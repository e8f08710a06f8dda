// RTF tables past the limits of a table: the import starts a new table where
// one is full and nests no deeper than tables may, so that every row and
// every text stays, in order, and the document saves to RPF and reads back.
#include "RTFImportDoc.h"

#include <gtest/gtest.h>

namespace {

using L = TRPTableLimits;

class TRPFDoc : public TImportDoc {
public:
    TRPFOptions RPFOpts = 0;
    TRPFOptions GetRPFOptions() const override { return RPFOpts; }
    void SetRPFOptions(TRPFOptions Value) override { RPFOpts = Value; }
};

// Per table, the first cells of its rows; "/" between tables.
std::string FirstCells(const TCustomRPData& D) {
    std::string s;
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(D.GetItem(i))) {
            s += s.empty() ? "" : "/";
            for (int r = 0; r < t->Rows->RowCount(); ++r)
                if (const TRPTableCellData* c = t->GetCell(r, 0))
                    s += (r ? " " : "") + TImportDoc::Text(*c, TImportTableText(), 1);
        }
    return s;
}

int Depth(const TCustomRPData& D) {
    int d = 0;
    for (int i = 0; i < D.GetItemCount(); ++i)
        d = std::max(d, RPTablesIn(*D.GetItem(i)));
    return d;
}

// Saved as RPF in the given forms and read back: the same text and tables.
void ExpectRPFReadsBack(TRPFDoc& Doc, std::initializer_list<TRPFOptions> Forms = {0, rpfoSaveBinary}) {
    for (const TRPFOptions form : Forms) {
        SCOPED_TRACE(form ? "binary" : "text");
        Doc.RPFOpts = form;
        std::string s;
        ASSERT_TRUE(Doc.SaveRPFToStream(s, false, clNone, nullptr, nullptr));
        TRPFDoc back;
        TColor color = clNone;
        ASSERT_TRUE(back.LoadRPFFromStream(s, color, nullptr, nullptr));
        EXPECT_EQ(back.PlainText(), Doc.PlainText());
        EXPECT_EQ(FirstCells(back), FirstCells(Doc));
        EXPECT_EQ(Depth(back), Depth(Doc));
    }
}

// Rows "r<From>" .. "r<To - 1>" of one cell As wide as the first row given.
std::string Rows(int From, int To, int Width, std::string* Texts = nullptr) {
    std::string s;
    for (int r = From; r < To; ++r) {
        s += "\\trowd\\cellx" + std::to_string(Width) + "\\pard\\intbl r" + std::to_string(r) +
             "\\cell\\row\n";
        if (Texts) *Texts += (Texts->empty() ? "r" : " r") + std::to_string(r);
    }
    return s;
}

// A row of all columns, 100 twips each, its first cell "r<Row>".
std::string WideRow(int Row) {
    std::string s = "\\trowd";
    for (int c = 1; c <= L::MaxCols; ++c)
        s += "\\cellx" + std::to_string(c * 100);
    return s + "\\pard\\intbl r" + std::to_string(Row) + "\\cell\\cell\\row\n";
}

// A grid of all columns holds 1,024 rows: the next row begins a new table,
// and so do cells after the last row end that the file stops at.
TEST(RTFTableLimits, ATableFullOfPositionsGoesOnInANewTable) {
    const int full = L::MaxPositions / L::MaxCols, width = L::MaxCols * 100;
    for (const bool rowEnd : {true, false}) {
        SCOPED_TRACE(rowEnd);
        std::string first = "r0", second = rowEnd ? "" : "rest";
        std::string rtf = "{\\rtf1\\ansi vor\\par" + WideRow(0) + Rows(1, full, width, &first);
        rtf +=
            rowEnd ? Rows(full, full + 3, width, &second) + "\\pard nach\\par}" : "\\pard\\intbl rest\\cell}";
        TRPFDoc doc;
        ASSERT_EQ(0, doc.Import(rtf));
        EXPECT_EQ(FirstCells(doc), first + "/" + second);
        ExpectRPFReadsBack(doc);
    }
}

// 1,025 rows of one column fit; the row that adds 255 columns does not.
TEST(RTFTableLimits, ARowThatAddsColumnsPastThePositionsBeginsTheNextTable) {
    const int rows = L::MaxPositions / L::MaxCols + 1;
    std::string texts;
    TRPFDoc doc;
    ASSERT_EQ(0,
              doc.Import("{\\rtf1\\ansi " + Rows(0, rows, L::MaxCols * 100, &texts) + WideRow(rows) + "}"));
    EXPECT_EQ(FirstCells(doc), texts + "/r" + std::to_string(rows));
    ExpectRPFReadsBack(doc);
}

// Rows of one column reach the rows' limit first. (Empty cells between the
// first and the last: a hundred thousand rows of text take long under the
// sanitizers, and the other tests read text back.)
TEST(RTFTableLimits, ATableFullOfRowsGoesOnInANewTable) {
    std::string rtf = "{\\rtf1\\ansi " + Rows(0, 1, 1000);
    for (int r = 1; r < L::MaxRows; ++r)
        rtf += "\\trowd\\cellx1000\\pard\\intbl\\cell\\row\n";
    TRPFDoc doc;
    ASSERT_EQ(0, doc.Import(rtf + Rows(L::MaxRows, L::MaxRows + 1, 1000) + "}"));
    EXPECT_EQ(FirstCells(doc), "r0" + std::string(L::MaxRows - 1, ' ') + "/r100000");
    ExpectRPFReadsBack(doc, {rpfoSaveBinary});
}

// Tables of one cell Depth levels deep; each cell holds "t<level>" before
// the table inside it and "e<level>" after.
std::string NestedRTF(int Depth, std::string& Words) {
    std::string s = "{\\rtf1\\ansi\\trowd\\cellx3000 ", after;
    const auto level = [](int l) { return "\\pard\\intbl\\itap" + std::to_string(l) + " "; };
    for (int l = 1; l <= Depth; ++l) {
        s += level(l) + "t" + std::to_string(l) + "\\par\n";
        Words += "t" + std::to_string(l) + " ";
        after = "e" + std::to_string(l) + " " + after;
    }
    for (int l = Depth; l >= 1; --l)
        s += level(l) + "e" + std::to_string(l) +
             (l == 1 ? "\\cell\\trowd\\cellx3000\\row\n"
                     : "\\nestcell{\\*\\nesttableprops\\trowd\\cellx3000\\nestrow}\n");
    Words += after + "nach";
    return s + "\\pard nach\\par}";
}

// Every text of D, tables' cells row by row, one word per item.
std::string Words(const TCustomRPData& D) {
    std::string s;
    for (int i = 0; i < D.GetItemCount(); ++i) {
        std::string w = TImportDoc::ItemUtf8(D, i);
        if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(D.GetItem(i)))
            t->Rows->ForEachCell(
                [&](int, int, TRPTableCellData& Cell) { w += (w.empty() ? "" : " ") + Words(Cell); });
        if (!w.empty()) s += (s.empty() ? "" : " ") + w;
    }
    return s;
}

// Levels past the deepest a table may stand at are no tables: their text
// goes on in the deepest table's cells, in order. Read into a cell of tables
// nested already, the import nests as deep as is left.
TEST(RTFTableLimits, TablesNestNoDeeperThanTheLimit) {
    for (const int around : {0, L::MaxDepth - 2, L::MaxDepth}) {
        SCOPED_TRACE(around);
        TRPFDoc doc;
        TCustomRPData* holder = &doc;
        for (int l = 0; l < around; ++l) {
            auto t = TRPTableItemInfo::CreateEx(1, 1, holder);
            TRPTableCellData* cell = t->GetCell(0, 0);
            holder->AddItem(std::string(), std::move(t));
            (holder = cell)->Clear();
        }
        std::string words;
        QByteArray rtf = QByteArray::fromStdString(NestedRTF(around ? 4 : L::MaxDepth + 3, words));
        QBuffer buf(&rtf);
        buf.open(QIODevice::ReadOnly);
        ASSERT_EQ(0, doc.Props.ReadRTFStream(buf, holder));
        EXPECT_EQ(Depth(*holder), L::MaxDepth - around);
        EXPECT_EQ(Words(*holder), words);
        ExpectRPFReadsBack(doc);
    }
}

} // namespace
