// RTF tables whatever their boundaries and sizes say: every cell of a row
// keeps its place and its words through the import and every writer, and the
// sizes the import keeps are the ones the table's stream reads back.
#include "RTFImportDoc.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using L = TRPTableLimits;

class TRoundTripDoc : public TImportDoc {
public:
    TRPFOptions RPFOpts = rpfoSaveBinary;
    TRPFOptions GetRPFOptions() const override { return RPFOpts; }
    void SetRPFOptions(TRPFOptions Value) override { RPFOpts = Value; }

    std::string RPF() {
        std::string s;
        EXPECT_TRUE(SaveRPFToStream(s, false, clNone, nullptr, nullptr));
        return s;
    }
    std::string RTF() {
        std::string s;
        EXPECT_TRUE(SaveRTFToStream(s, false, 0, clWindow, nullptr, nullptr, 0));
        return s;
    }
    std::string Text() {
        std::string s;
        EXPECT_TRUE(SaveTextToStream("", s, 80, false, false, false, false));
        return s;
    }
};

// Doc as RPF, in both forms, read back (Check looks at what came back) and
// written again byte for byte.
template <class F> void ExpectRPFReadsBack(TRoundTripDoc& Doc, F&& Check) {
    for (const TRPFOptions form : {TRPFOptions(0), rpfoSaveBinary}) {
        SCOPED_TRACE(form ? "binary" : "text");
        Doc.RPFOpts = form;
        const std::string rpf = Doc.RPF();
        TRoundTripDoc back;
        back.RPFOpts = form;
        TColor color = clNone;
        ASSERT_TRUE(back.LoadRPFFromStream(rpf, color, nullptr, nullptr));
        Check(back);
        EXPECT_EQ(back.RPF(), rpf);
    }
}

// The cells of every table (nested ones too) that hold a word, each as
// "<word>" or "<word>+<word>" for more than one.
void CellsWithWords(const TCustomRPData& D, QStringList& Out) {
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(D.GetItem(i)))
            t->Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) {
                QStringList words;
                for (int k = 0; k < Cell.GetItemCount(); ++k)
                    if (Cell.GetItemStyle(k) >= 0 && !Cell.GetItemText(k).empty())
                        words << QString::fromStdString(TImportDoc::ItemUtf8(Cell, k));
                if (!words.isEmpty()) Out << words.join('+');
                CellsWithWords(Cell, Out);
            });
}

QStringList CellsWithWords(const TCustomRPData& D) {
    QStringList out;
    CellsWithWords(D, out);
    return out;
}

// Rows whose boundaries give some cell no width, or less than a twip, or
// run backwards, left of the margin, or to the far end of the int range.
struct TBoundaryCase {
    const char* Name;
    std::string Rows;
    QStringList Cells; // the words of the cells, one cell each
};

std::vector<TBoundaryCase> BoundaryCases() {
    std::string fifty;
    QStringList fiftyCells;
    for (int i = 0; i < 50; ++i) {
        fifty += "\\trowd\\cellx1\\pard\\intbl w" + std::to_string(i) + "\\cell\\row\n";
        fiftyCells << QStringLiteral("w%1").arg(i);
    }
    fifty += "\\trowd\\cellx2000\\pard\\intbl last\\cell\\row\n";
    fiftyCells << QStringLiteral("last");
    return {
        {"one twip, then an ordinary row",
         "\\trowd\\cellx1\\pard\\intbl MKR a\\cell\\row\n\\trowd\\cellx1000\\pard\\intbl MKR b\\cell\\row\n",
         {"MKR a", "MKR b"}},
        {"fifty rows of one twip", fifty, fiftyCells},
        {"a nested cell of one twip",
         "\\trowd\\cellx3000\\pard\\intbl out\\par\\itap2 in\\nestcell"
         "{\\*\\nesttableprops\\trowd\\cellx1\\nestrow}\\pard\\intbl\\itap1 after\\cell\\row\n",
         {"out+after", "in"}},
        {"one twip left at the far right",
         "\\trowd\\trleft16777215\\cellx2000\\pard\\intbl far\\cell\\row\n",
         {"far"}},
        {"the ends of the int range",
         "\\trowd\\trleft2147483647\\cellx2147483647\\cellx-2147483647\\pard\\intbl max\\cell "
         "min\\cell\\row\n",
         {"max", "min"}},
        {"boundaries a twip apart in one row",
         "\\trowd\\cellx1000\\cellx1001\\cellx1002\\cellx1002\\pard\\intbl a\\cell b\\cell c\\cell "
         "d\\cell\\row\n"
         "\\trowd\\cellx1001\\pard\\intbl e\\cell\\row\n",
         {"a", "b", "c", "d", "e"}},
        {"equal, decreasing and negative boundaries",
         "\\trowd\\trleft-500\\cellx-500\\cellx-200\\cellx-300\\cellx0\\pard\\intbl a\\cell b\\cell c\\cell d"
         "\\cell\\row\n",
         {"a", "b", "c", "d"}},
        {"more cells than boundaries",
         "\\trowd\\cellx1\\pard\\intbl a\\cell b\\cell c\\cell\\row\n",
         {"a", "b", "c"}},
    };
}

TEST(RTFTableBoundaries, EveryCellKeepsItsWordsThroughEveryWriter) {
    for (const TBoundaryCase& c : BoundaryCases()) {
        SCOPED_TRACE(c.Name);
        const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\n" + c.Rows + "\\pard ENDMARK\\par}";
        TRoundTripDoc doc;
        ASSERT_EQ(0, doc.Import(rtf));
        EXPECT_EQ(CellsWithWords(doc), c.Cells);
        for (int i = 0; i < doc.GetItemCount(); ++i)
            if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(doc.GetItem(i))) {
                EXPECT_TRUE(t->Rows->IsConsistent());
            }
        const std::string text = doc.Text();
        for (const QString& cell : c.Cells)
            for (const QString& word : cell.split('+'))
                EXPECT_NE(text.find(word.toStdString()), std::string::npos)
                    << word.toStdString() << " in " << text;
        EXPECT_NE(text.find("ENDMARK"), std::string::npos);

        // Written as RTF and read again: the same cells.
        TRoundTripDoc fromRTF;
        ASSERT_EQ(0, fromRTF.Import(doc.RTF()));
        EXPECT_EQ(CellsWithWords(fromRTF), c.Cells);

        ExpectRPFReadsBack(doc, [&](TRoundTripDoc& Back) { EXPECT_EQ(CellsWithWords(Back), c.Cells); });
    }
}

// A cell whose boundaries give it less than a pixel takes the narrowest
// width there is: the layout widens it to its text.
TEST(RTFTableBoundaries, ACellNarrowerThanAPixelIsAsNarrowAsItsText) {
    TRoundTripDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd\\cellx1\\pard\\intbl a\\cell\\row"
                            "\\trowd\\cellx1000\\pard\\intbl b\\cell\\row}"));
    auto* t = dynamic_cast<TRPTableItemInfo*>(doc.GetItem(0));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Rows->GetColCount(), 2);
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, 1);
    EXPECT_EQ(t->GetCell(0, 0)->ColSpan, 1);
    EXPECT_EQ(t->GetCell(1, 0)->ColSpan, 2);
    EXPECT_EQ(t->GetCell(1, 0)->BestWidth, 67);
}

// Each size of a table at both ends of the int range: the import keeps it
// in the range the table's stream reads, so that the RPF saved reads back
// and saves again byte for byte.
TEST(RTFTableBoundaries, SizesTheImportKeepsReadBackFromRPF) {
    const char* const sizes[] = {
        "\\cellx%1",
        "\\cellx5000\\cellx%1",
        "\\clwWidth%1\\clftsWidth3\\cellx2000",
        "\\clwWidth%1\\clftsWidth2\\cellx2000",
        "\\trgaph%1\\cellx2000",
        "\\trleft%1\\cellx2000",
        "\\trleft%1\\cellx2000\\cellx%1",
        "\\trwWidth%1\\trftsWidth3\\cellx2000",
        "\\trwWidth%1\\trftsWidth2\\cellx2000",
        "\\trwWidth4000\\trftsWidth3\\trbrdrl\\brdrs\\brdrw%1\\cellx2000",
        "\\trbrdrt\\brdrs\\brdrw%1\\trbrdrb\\brdrs\\brdrw%1\\cellx2000",
        "\\clbrdrl\\brdrs\\brdrw%1\\clbrdrt\\brdrs\\brdrw%1\\cellx2000",
        "\\trrh%1\\cellx2000",
        "\\trpaddl%1\\trpaddfl3\\trpaddt%1\\trpaddft3\\cellx2000",
        "\\trspdl%1\\trspdfl3\\trspdt%1\\trspdft3\\cellx2000",
        "\\richpadtbw%1\\richpadcbw%1\\richpadcbh%1\\cellx2000",
        "\\richpadtbhs%1\\richpadtbvs%1\\cellx2000",
        "\\cellx451000",
    };
    for (const char* size : sizes)
        for (const char* value : {"2147483647", "-2147483648", "-2147483647"}) {
            const QString row = QString::fromLatin1(size).arg(QLatin1String(value));
            SCOPED_TRACE(row.toStdString());
            TRoundTripDoc doc;
            ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd" + row.toStdString() +
                                    "\\pard\\intbl a\\cell b\\cell\\row\\trowd" + row.toStdString() +
                                    "\\pard\\intbl c\\cell\\row\\pard e\\par}"));
            const auto* t = dynamic_cast<const TRPTableItemInfo*>(doc.GetItem(0));
            ASSERT_NE(t, nullptr);
            EXPECT_GE(t->BestWidth, L::MinPercent);
            EXPECT_LE(t->BestWidth, L::MaxLength);
            ExpectRPFReadsBack(doc,
                               [&](TRoundTripDoc& Back) { EXPECT_EQ(Back.PlainText(), doc.PlainText()); });
        }
}

// Each row's cells as their spans ("2x1", "." for a covered position), rows
// separated by "/".
std::string Spans(const TRPTableItemInfo& T) {
    std::string s;
    for (int r = 0; r < T.Rows->RowCount(); ++r) {
        s += r ? " /" : "";
        for (int c = 0; c < T.Rows->GetColCount(); ++c) {
            const TRPTableCellData* cell = T.Rows->GetCell(r, c);
            s += cell ? " " + std::to_string(cell->ColSpan) + "x" + std::to_string(cell->RowSpan) : " .";
        }
    }
    return s;
}

// Boundaries past a million pixels, where the layouts of tables nested in
// wide cells put them: the rows keep their columns apart, and the table
// written as RTF comes back with them.
TEST(RTFTableBoundaries, ColumnsPastAMillionPixelsKeepTheirPlaces) {
    TRoundTripDoc doc;
    ASSERT_EQ(0,
              doc.Import("{\\rtf1\\trowd\\cellx17000000\\cellx17100000\\cellx17200000\\pard\\intbl a\\cell "
                         "b\\cell c\\cell\\row\\trowd\\cellx17100000\\cellx17200000\\pard\\intbl d\\cell "
                         "e\\cell\\row\\pard x\\par}"));
    const auto* t = dynamic_cast<const TRPTableItemInfo*>(doc.GetItem(0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Spans(*t), " 1x1 1x1 1x1 / 2x1 . 1x1");
    const std::string rtf = doc.RTF();
    TRoundTripDoc back;
    ASSERT_EQ(0, back.Import(rtf));
    const auto* b = dynamic_cast<const TRPTableItemInfo*>(back.GetItem(0));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Spans(*b), Spans(*t));
    EXPECT_EQ(back.RTF(), rtf);
}

} // namespace
