// RTF import of tables: the grid from cell boundaries, merges, nesting, the
// table's properties, and rows the RTF does not describe well.
#include "RTFImportDoc.h"
#include "richtext/model/RPMarkers.h"

#include <gtest/gtest.h>

namespace {

// "RxC" spans per position, "." for covered ones, rows separated by "/".
std::string Spans(const TRPTableItemInfo& T) {
    std::string s;
    for (int r = 0; r < T.Rows->RowCount(); ++r) {
        if (r) s += "/";
        for (int c = 0; c < T.Rows->GetColCount(); ++c) {
            if (c) s += " ";
            const TRPTableCellData* cell = T.GetCell(r, c);
            s += cell ? std::to_string(cell->RowSpan) + "x" + std::to_string(cell->ColSpan) : ".";
        }
    }
    return s;
}

TRPTableItemInfo* TableAt(TCustomRPData& D, int ItemNo) {
    return ItemNo < D.GetItemCount() ? dynamic_cast<TRPTableItemInfo*>(D.GetItem(ItemNo)) : nullptr;
}

// The first table of a document, or null.
TRPTableItemInfo* FirstTable(TCustomRPData& D) {
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (TRPTableItemInfo* t = TableAt(D, i)) return t;
    return nullptr;
}

std::string CellText(const TRPTableCellData* C) {
    return C ? TImportDoc::Text(*C, TImportTableText(), 1) : "(none)";
}

TEST(RTFTableImport, RowsOfDifferentBoundariesShareOneGrid) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1 x\\par"
                            "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
                            "\\trowd\\cellx1000\\cellx1500\\cellx2000\\intbl c\\cell d\\cell e\\cell\\row"
                            "\\pard y}"));
    ASSERT_EQ(doc.GetItemCount(), 3);
    TRPTableItemInfo* t = TableAt(doc, 1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Spans(*t), "1x1 1x2 ./1x1 1x1 1x1");
    EXPECT_EQ(CellText(t->GetCell(0, 1)), "b");
    EXPECT_EQ(CellText(t->GetCell(1, 2)), "e");
    EXPECT_TRUE(t->Rows->IsConsistent());
    EXPECT_EQ(doc.PlainText(), "x\na|b|\nc|d|e|\n\ny");
    // Cell widths from the boundaries less the padding (none given: 0); the
    // boundaries are rounded where they stand (67 and 133 pixels), so that the
    // widths add up to the row's.
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, 67);
    EXPECT_EQ(t->GetCell(0, 1)->BestWidth, 66);
}

TEST(RTFTableImport, BoundariesWithinATwipAreOneColumn) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd\\cellx2000\\intbl a\\cell\\row"
                            "\\trowd\\cellx2001\\intbl b\\cell\\row"
                            "\\trowd\\cellx2003\\intbl c\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Spans(*t), "1x1 1x1/1x1 1x1/1x2 .");
    EXPECT_TRUE(t->Rows->IsConsistent());
    // The third row reaches further: the earlier rows get an invisible filler there.
    const TRPTableCellData* filler = t->GetCell(0, 1);
    EXPECT_FALSE(filler->VisibleBorders.Left || filler->VisibleBorders.Top || filler->VisibleBorders.Right ||
                 filler->VisibleBorders.Bottom);
    EXPECT_EQ(CellText(t->GetCell(2, 0)), "c");
}

TEST(RTFTableImport, VerticalAndHorizontalMerges) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1"
                            "\\trowd\\clvmgf\\cellx1000\\clmgf\\cellx2000\\clmrg\\cellx3000"
                            "\\intbl top\\cell wide\\cell\\cell\\row"
                            "\\trowd\\clvmrg\\cellx1000\\cellx2000\\cellx3000"
                            "\\intbl\\cell m\\cell n\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Spans(*t), "2x1 1x2 ./. 1x1 1x1");
    // Merged empty cells add no empty paragraphs.
    EXPECT_EQ(t->GetCell(0, 0)->GetItemCount(), 1);
    EXPECT_EQ(t->GetCell(0, 1)->GetItemCount(), 1);
    EXPECT_EQ(CellText(t->GetCell(0, 1)), "wide");
    EXPECT_EQ(CellText(t->GetCell(1, 2)), "n");
}

TEST(RTFTableImport, MergesThatPointAtNothingKeepTheirText) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd\\clvmrg\\cellx1000\\clvmrg\\cellx2000\\intbl a\\cell b\\cell\\row"
                            "\\trowd\\clmrg\\cellx1000\\cellx2000\\intbl c\\cell d\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Spans(*t), "1x1 1x1/1x1 1x1");
    EXPECT_EQ(doc.PlainText(), "a|b|\nc|d|\n");
}

TEST(RTFTableImport, BadBoundariesAndRowsWithoutThemKeepEveryCell) {
    TImportDoc doc;
    // Boundaries that do not ascend, and a row without any \cellx.
    ASSERT_EQ(0,
              doc.Import("{\\rtf1\\trowd\\cellx2000\\cellx1000\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row"
                         "\\trowd\\intbl d\\cell e\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->Rows->IsConsistent());
    const std::string text = doc.PlainText();
    for (const char* s : {"a|", "b|", "c|", "d|", "e|"})
        EXPECT_NE(text.find(s), std::string::npos) << s << " in " << text;
}

// A table has 256 columns at most; a row of more cells keeps their text in
// its last cell, one paragraph per cell, with and without boundaries for
// them, and so do cells that never end their row.
TEST(RTFTableImport, CellsPastTheLastColumnJoinTheCellBefore) {
    std::string bounds, cells, rest;
    for (int i = 1; i <= 300; ++i) {
        bounds += "\\cellx" + std::to_string(i * 100);
        cells += "c" + std::to_string(i) + "\\cell ";
        if (i >= 256) rest += "c" + std::to_string(i) + (i < 300 ? "\n" : "");
    }
    for (const std::string& defs : {bounds, std::string()}) {
        TImportDoc doc;
        ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd" + defs + "\\intbl " + cells + "\\row\\pard after\\par}"));
        TRPTableItemInfo* t = TableAt(doc, 0);
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(t->Rows->IsConsistent());
        ASSERT_EQ(t->Rows->GetColCount(), 256);
        EXPECT_EQ(CellText(t->GetCell(0, 254)), "c255");
        EXPECT_EQ(CellText(t->GetCell(0, 255)), rest);
        EXPECT_EQ(doc.GetItemText(doc.GetItemCount() - 1), "after");
    }
    // A row reaching past the full grid: its last cell joins the one before,
    // also where that one continues a merge from above.
    std::string first = "\\trowd";
    for (int i = 1; i <= 256; ++i)
        first += (i == 256 ? "\\clvmgf\\cellx" : "\\cellx") + std::to_string(i * 100);
    TImportDoc merged;
    ASSERT_EQ(
        0, merged.Import("{\\rtf1" + first + "\\intbl " + cells.substr(0, cells.find("c257")) +
                         "\\row\\trowd\\cellx25500\\clvmrg\\cellx25600\\cellx30000\\intbl wide\\cell\\cell "
                         "tail\\cell\\row}"));
    TRPTableItemInfo* m = TableAt(merged, 0);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->Rows->IsConsistent());
    EXPECT_EQ(CellText(m->GetCell(1, 0)), "wide");
    EXPECT_EQ(CellText(m->GetCell(0, 255)), "c256\ntail");
    TImportDoc loose;
    ASSERT_EQ(0, loose.Import("{\\rtf1\\intbl " + cells + "\\pard after\\par}"));
    const std::string text = loose.PlainText();
    EXPECT_EQ(text.substr(text.size() - rest.size() - 6), rest + "\nafter");
    EXPECT_EQ(text.substr(0, 6), "c1\nc2\n");
}

TEST(RTFTableImport, CellsWithoutARowEndStayParagraphs) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1 x\\par\\intbl a\\cell b\\cell\\pard y}"));
    EXPECT_EQ(doc.PlainText(), "x\na\nb\ny");
    for (int i = 0; i < doc.GetItemCount(); ++i)
        EXPECT_EQ(TableAt(doc, i), nullptr);
}

// Cells after the last row end make one more row; where the file ends
// there, the row lies on the table's columns.
TEST(RTFTableImport, CellsAfterTheLastRowEndMakeOneMoreRow) {
    TImportDoc ended;
    ASSERT_EQ(0, ended.Import("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
                              "\\pard\\intbl c\\cell d\\cell}"));
    ASSERT_NE(TableAt(ended, 0), nullptr);
    EXPECT_EQ(Spans(*TableAt(ended, 0)), "1x1 1x1/1x1 1x1");
    EXPECT_EQ(ended.PlainText(), "a|b|\nc|d|\n");
    TImportDoc goesOn;
    ASSERT_EQ(0, goesOn.Import("{\\rtf1\\trowd\\cellx1000\\pard\\intbl a\\cell\\row"
                               "\\pard\\intbl c\\cell\\pard x\\par}"));
    EXPECT_EQ(goesOn.PlainText(), "a|\nc|\n\nx");
}

TEST(RTFTableImport, APictureAfterATableStaysOutOfIt) {
    TImportDoc doc;
    // Right after the row, as a plain picture and as the picture of a \shppict group;
    // a picture inside a cell stays in its cell.
    ASSERT_EQ(
        0,
        doc.Import("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row"
                   "\\pard{\\pict\\pngblip 00}\\par"
                   "\\trowd\\cellx1000\\pard\\intbl b{\\pict\\pngblip 00}\\cell\\row"
                   "\\pard{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}} c\\par}"));
    EXPECT_EQ(doc.PlainText(), "a|\n\n[pic]\nb[pic]|\n\n[pic] c");
    ASSERT_NE(TableAt(doc, 0), nullptr);
    EXPECT_EQ(TableAt(doc, 0)->Rows->RowCount(), 1);
    ASSERT_NE(TableAt(doc, 2), nullptr);
    EXPECT_EQ(TableAt(doc, 2)->Rows->RowCount(), 1);
}

TEST(RTFTableImport, AnEmptyParagraphBetweenRowsSeparatesTwoTables) {
    // The empty paragraph between the rows stands between two tables; empty
    // paragraphs inside a cell stay there.
    TImportDoc doc;
    ASSERT_EQ(0,
              doc.Import("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row\\pard\\par"
                         "\\trowd\\cellx1000\\cellx2000\\intbl\\par b\\cell c\\cell\\row\\pard\\par\\par}"));
    EXPECT_EQ(doc.PlainText(), "a|\n\n\n\nb|c|\n\n\n");
    ASSERT_EQ(doc.GetItemCount(), 5);
    ASSERT_NE(TableAt(doc, 0), nullptr);
    EXPECT_EQ(Spans(*TableAt(doc, 0)), "1x1");
    ASSERT_NE(TableAt(doc, 2), nullptr);
    EXPECT_EQ(Spans(*TableAt(doc, 2)), "1x1 1x1");
    EXPECT_EQ(TableAt(doc, 2)->GetCell(0, 0)->GetItemCount(), 2);
}

TEST(RTFTableImport, RowsWithoutAlignmentStandAtTheLeft) {
    // A centred paragraph after the table does not centre it; \\trqc does.
    for (const char* Row : {"\\trowd", "\\trowd\\trqc", "\\trowd\\trqr"}) {
        TImportDoc doc;
        doc.Props.ParaStyleMode = rprsAddIfNeeded;
        ASSERT_EQ(0, doc.Import(std::string("{\\rtf1 ") + Row +
                                "\\cellx1000\\intbl a\\cell\\row\\pard\\qc b\\par}"));
        SCOPED_TRACE(Row);
        ASSERT_NE(TableAt(doc, 0), nullptr);
        const TRPAlignment Want = std::string(Row).ends_with("qc")   ? rpaCenter
                                  : std::string(Row).ends_with("qr") ? rpaRight
                                                                     : rpaLeft;
        EXPECT_EQ(doc.Style.ParaStyles().GetItem(TableAt(doc, 0)->ParaNo)->Alignment, Want);
        EXPECT_EQ(doc.Style.ParaStyles().GetItem(doc.GetItem(1)->ParaNo)->Alignment, rpaCenter);
    }
}

TEST(RTFTableImport, NestedTableLandsInItsCell) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd\\cellx3000\\pard\\intbl outer\\par"
                            "\\itap2 in1\\nestcell in2\\nestcell"
                            "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                            "{\\nonesttables\\par}\\pard\\intbl\\itap1\\cell"
                            "\\trowd\\cellx3000\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(Spans(*t), "1x1");
    TRPTableCellData* cell = t->GetCell(0, 0);
    TRPTableItemInfo* n = FirstTable(*cell);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(Spans(*n), "1x1 1x1");
    EXPECT_EQ(n->GetRPData(), cell);
    EXPECT_EQ(CellText(n->GetCell(0, 1)), "in2");
    EXPECT_EQ(CellText(cell).substr(0, 6), "outer\n");
}

TEST(RTFTableImport, TableProperties) {
    TImportDoc doc;
    ASSERT_EQ(
        0, doc.Import("{\\rtf1 a\\page"
                      "\\trowd\\trwWidth2500\\trftsWidth2\\trhdr\\trpaddl60\\trpaddfl3\\trpaddr60\\trpaddfr3"
                      "\\trpaddt0\\trpaddft3\\trpaddb0\\trpaddfb3"
                      "\\clbrdrr\\brdrs\\brdrw15\\clcbpat1\\clvertalc\\cellx1000"
                      "\\clbrdrl\\brdrs\\brdrw15\\clbrdrr\\brdrs\\brdrw15\\cellx2000"
                      "\\intbl a\\par\\cell b\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 1);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->GetPageBreakBefore());
    EXPECT_EQ(t->BestWidth, -50); // fiftieths of a percent
    EXPECT_EQ(t->HeadingRowCount, 1);
    EXPECT_EQ(t->CellPadding, 2); // 120 twips over four sides
    EXPECT_EQ(t->CellBorderWidth, 1);
    EXPECT_EQ(t->CellBorderStyle, rptbColor);
    EXPECT_EQ(t->CellHSpacing, -1);
    EXPECT_EQ(t->CellVSpacing, -1);
    EXPECT_EQ(t->BorderWidth, 0);
    EXPECT_EQ(t->GetCell(0, 0)->VAlign, rpcMiddle);
    // One line between neighbours: the right border of the first cell stays,
    // the left border of the second goes.
    EXPECT_TRUE(t->GetCell(0, 0)->VisibleBorders.Right);
    EXPECT_FALSE(t->GetCell(0, 1)->VisibleBorders.Left);
    EXPECT_TRUE(t->GetCell(0, 1)->VisibleBorders.Right);
    // A paragraph mark right before the cell end leaves an empty last line.
    EXPECT_EQ(CellText(t->GetCell(0, 0)), "a\n");
}

// A border without \\brdrcf has the automatic colour, as a paragraph's has.
TEST(RTFTableImport, BordersWithoutColourAreAutomatic) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\trowd"
                            "\\clbrdrl\\brdrs\\brdrcf1\\clbrdrr\\brdrs\\cellx1000"
                            "\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\cellx2000"
                            "\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    const TRPTableCellData* red = t->GetCell(0, 0);
    EXPECT_EQ(red->BorderColor, TColor(0x0000FF));
    EXPECT_EQ(red->BorderLightColor, clWindowText);
    // Red and automatic sides in one cell: the cells are not of one colour.
    EXPECT_EQ(t->CellBorderStyle, rptbLoweredColor);
    EXPECT_EQ(t->GetCell(0, 1)->BorderColor, clWindowText);
    EXPECT_EQ(t->GetCell(0, 1)->BorderLightColor, clWindowText);
    // A cell without borders keeps the table's colours.
    EXPECT_EQ(t->GetCell(0, 2)->BorderColor, clNone);
}

// A cell with a border on one side only (bottom or right) keeps its colour,
// in the table, in our RTF and in our HTML; a cell with top and bottom
// borders of two colours keeps both.
TEST(RTFTableImport, OneSidedBordersKeepTheirColours) {
    const std::string colours = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    const TColor red = 0x0000FF, blue = 0xFF0000;
    TImportDoc one;
    ASSERT_EQ(0, one.Import(colours +
                            "\\trowd\\clbrdrb\\brdrs\\brdrw20\\brdrcf1\\cellx1000"
                            "\\clbrdrr\\brdrs\\brdrw20\\brdrcf2\\cellx2000\\intbl a\\cell b\\cell\\row}"));
    TImportDoc two;
    ASSERT_EQ(0, two.Import(colours +
                            "\\trowd\\clbrdrt\\brdrs\\brdrw20\\brdrcf1\\clbrdrb\\brdrs\\brdrw20\\brdrcf2"
                            "\\cellx1000\\intbl a\\cell\\row}"));
    // The colours each cell's visible sides are drawn in.
    const auto drawn = [](TCustomRPData& D) {
        TRPTableItemInfo* t = FirstTable(D);
        std::vector<std::pair<TColor, TColor>> c; // left and top, right and bottom
        if (!t) return c;
        for (int k = 0; k < t->Rows->GetColCount(); ++k) {
            const TRPTableCellData* cell = t->GetCell(0, k);
            const TColor main = cell->BorderColor, light = cell->BorderLightColor;
            if (t->CellBorderStyle == rptbColor)
                c.emplace_back(main, main);
            else if (t->CellBorderStyle == rptbLoweredColor)
                c.emplace_back(main, light);
            else
                c.emplace_back(light, main);
        }
        return c;
    };
    const std::vector<std::pair<TColor, TColor>> oneWant = {{red, red}, {blue, blue}},
                                                 twoWant = {{red, blue}};
    EXPECT_EQ(drawn(one), oneWant);
    EXPECT_EQ(drawn(two), twoWant);
    for (TImportDoc* d : {&one, &two}) {
        std::string rtf;
        ASSERT_TRUE(d->SaveRTFToStream(rtf, false, 0, clWindow, nullptr, nullptr, 0));
        EXPECT_EQ(rtf.find("\\brdrcf0"), std::string::npos) << rtf;
        TImportDoc back;
        ASSERT_EQ(0, back.Import(rtf));
        EXPECT_EQ(drawn(back), drawn(*d)) << rtf;
        std::string html;
        int n = 0;
        TColor color = clNone;
        ASSERT_TRUE(d->SaveHTMLWithCSSToStream(html, "", "t", "p", "", "", "", 0, clNone, color, n, 0, 0, 0,
                                               0, nullptr, nullptr));
        EXPECT_NE(html.find("#FF0000"), std::string::npos) << html;
        EXPECT_NE(html.find("#0000FF"), std::string::npos) << html;
        EXPECT_EQ(html.find("border-color : #000000"), std::string::npos) << html;
    }
}

TEST(RTFTableImport, SuiteWidthsAreReadInPixels) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd\\richpadtbw300\\richpadcbw120\\richpadcbh40\\cellx1000"
                            "\\richpadcbw-30\\cellx2000\\intbl a\\cell b\\cell\\row}"));
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->BestWidth, 300);
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, 120);
    EXPECT_EQ(t->GetCell(0, 0)->BestHeight, 40);
    EXPECT_EQ(t->GetCell(0, 1)->BestWidth, -30);
}

// Our own spacing between cells is read in pixels, below zero as above, and
// counts as given: the borders stay as the cells tell them, where a row
// without spacing has a neighbour's border stand for a cell's own, and the
// table's border stays beside cell borders of its width.
TEST(RTFTableImport, SuiteCellSpacingsAreReadInPixels) {
    const std::string row =
        "\\trowd\\trbrdrl\\brdrs\\brdrw15\\trbrdrt\\brdrs\\brdrw15\\trbrdrr\\brdrs\\brdrw15"
        "\\trbrdrb\\brdrs\\brdrw15%1"
        "\\clbrdrl\\brdrs\\brdrw15\\clbrdrt\\brdrs\\brdrw15\\clbrdrr\\brdrs\\brdrw15"
        "\\clbrdrb\\brdrs\\brdrw15\\cellx1000"
        "\\clbrdrl\\brdrs\\brdrw15\\clbrdrt\\brdrs\\brdrw15\\clbrdrr\\brdrs\\brdrw15"
        "\\clbrdrb\\brdrs\\brdrw15\\cellx2000";
    const auto import = [&](const std::string& Words) {
        auto doc = std::make_unique<TImportDoc>();
        std::string r = row;
        r.replace(r.find("%1"), 2, Words);
        EXPECT_EQ(0, doc->Import("{\\rtf1" + r + "\\intbl a\\cell b\\cell\\row" + r +
                                 "\\intbl c\\cell d\\cell\\row}"));
        return doc;
    };
    auto ours = import("\\richpadtbhs-20\\richpadtbvs-100\\richpadtchs-5\\richpadtcvs-8");
    TRPTableItemInfo* t = TableAt(*ours, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->CellHSpacing, -5);
    EXPECT_EQ(t->CellVSpacing, -8);
    EXPECT_EQ(t->BorderHSpacing, -20);
    EXPECT_EQ(t->BorderVSpacing, -100);
    EXPECT_EQ(t->BorderWidth, 1);
    EXPECT_EQ(t->CellBorderWidth, 1);
    EXPECT_TRUE(t->GetCell(0, 1)->VisibleBorders.Left);
    EXPECT_TRUE(t->GetCell(1, 0)->VisibleBorders.Top);
    // One of them alone: the other direction is not given.
    auto one = import("\\richpadtchs-1");
    t = TableAt(*one, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->CellHSpacing, -1);
    EXPECT_EQ(t->CellVSpacing, -1);
    EXPECT_EQ(t->BorderWidth, 1);
    EXPECT_TRUE(t->GetCell(0, 1)->VisibleBorders.Left);
    EXPECT_FALSE(t->GetCell(1, 0)->VisibleBorders.Top);
    // Without them, a row without spacing shares its cells' borders.
    auto plain = import("");
    t = TableAt(*plain, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->CellHSpacing, -1);
    EXPECT_EQ(t->CellVSpacing, -1);
    EXPECT_EQ(t->BorderWidth, 0);
    EXPECT_FALSE(t->GetCell(0, 1)->VisibleBorders.Left);
    EXPECT_FALSE(t->GetCell(1, 0)->VisibleBorders.Top);
}

// Table keywords take any int, which the import adds up over rows and cells
// and turns into sizes: nothing overflows, and the sizes stay in the ranges
// in which the table's own stream reads them (widths as far as the widest
// grid reaches). Written as RTF, such a table reads back alike where its
// columns fit in the boundaries a row can give.
TEST(RTFTableImport, ExtremeTableValuesStayInRange) {
    const auto roundTrip = [](TImportDoc& Doc) {
        std::string rtf;
        ASSERT_TRUE(Doc.SaveRTFToStream(rtf, false, 0, clWindow, nullptr, nullptr, 0));
        TImportDoc back;
        ASSERT_EQ(0, back.Import(rtf)) << rtf;
        EXPECT_EQ(back.PlainText(), Doc.PlainText());
        TRPTableItemInfo *a = FirstTable(Doc), *b = FirstTable(back);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(Spans(*b), Spans(*a));
        EXPECT_EQ(b->BestWidth, a->BestWidth);
        EXPECT_EQ(b->GetCell(0, 0)->BestWidth, a->GetCell(0, 0)->BestWidth);
    };
    // Widths as the ints at either end, given before and after their unit: a
    // percentage below zero is a width, and the smallest int has no negation.
    TImportDoc widths;
    ASSERT_EQ(0,
              widths.Import(
                  "{\\rtf1\\trowd\\trwWidth-2147483648\\trftsWidth2\\clwWidth2147483647\\clftsWidth2"
                  "\\cellx1000\\clftsWidth2\\clwWidth-2147483648\\cellx2000\\intbl a\\cell b\\cell\\row}"));
    TRPTableItemInfo* t = FirstTable(widths);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->BestWidth, TRPTableLimits::MaxLength); // as wide as a table is read back
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, -100);
    EXPECT_EQ(t->GetCell(0, 1)->BestWidth, TRPTableLimits::MaxLength);

    // Gaps, paddings and spacings at both ends of the ints, over three rows.
    TImportDoc spacing;
    ASSERT_EQ(0, spacing.Import(
                     "{\\rtf1\\trowd\\trgaph2147483647\\trpaddl-2147483648\\trpaddfl3\\trpaddr-2147483648"
                     "\\trpaddfr3\\trpaddt2147483647\\trpaddft3\\trspdl2147483647\\trspdfl3"
                     "\\trspdr2147483647\\trspdfr3\\trspdt2147483647\\trspdft3\\trspdb2147483647"
                     "\\trspdfb3\\trrh2147483647\\cellx1000\\intbl a\\cell\\row\\intbl b\\cell\\row"
                     "\\trowd\\trgaph-2147483648\\trspdt-2147483648\\trspdft3\\trspdb-2147483648"
                     "\\trspdfb3\\cellx1000\\intbl c\\cell\\row}"));
    t = FirstTable(spacing);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Spans(*t), "1x1/1x1/1x1");
    EXPECT_EQ(t->CellPadding, 0);
    EXPECT_EQ(t->CellHSpacing, 1000);
    EXPECT_EQ(t->BorderHSpacing, 1000);
    EXPECT_EQ(t->CellVSpacing, 1000);
    EXPECT_EQ(t->BorderVSpacing, 0); // the first row's top and the last row's bottom: -1 twip
    EXPECT_EQ(t->GetCell(0, 0)->BestHeight, 30000);
    roundTrip(spacing);

    // The program's own pixel sizes; a width at the percentages' end was
    // written back as a number too long to read.
    TImportDoc suite;
    ASSERT_EQ(0,
              suite.Import(
                  "{\\rtf1\\trowd\\richpadtbw-2147483648\\trftsWidth2\\richpadtbhs2147483647"
                  "\\richpadtbvs-2147483648\\richpadtchs-2147483648\\richpadtcvs2147483647"
                  "\\richpadcbw-2147483648\\richpadcbh2147483647\\cellx1000"
                  "\\richpadcbw2147483647\\richpadcbh-2147483648\\cellx2000\\intbl a\\cell b\\cell\\row}"));
    t = FirstTable(suite);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->BestWidth, TRPTableLimits::MaxLength);
    EXPECT_EQ(t->BorderHSpacing, 1000);
    EXPECT_EQ(t->BorderVSpacing, -100);
    EXPECT_EQ(t->CellHSpacing, -100);
    EXPECT_EQ(t->CellVSpacing, 1000);
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, -100);
    EXPECT_EQ(t->GetCell(0, 0)->BestHeight, 30000);
    EXPECT_EQ(t->GetCell(0, 1)->BestWidth, TRPTableLimits::MaxLength);
    EXPECT_EQ(t->GetCell(0, 1)->BestHeight, 0);
    TImportDoc percent;
    ASSERT_EQ(0, percent.Import("{\\rtf1\\trowd\\richpadtbw-2147483648\\richpadcbw-2147483648\\cellx1000"
                                "\\richpadcbw-2147483648\\cellx2000\\intbl a\\cell b\\cell\\row}"));
    t = FirstTable(percent);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->BestWidth, -100);
    EXPECT_EQ(t->GetCell(0, 1)->BestWidth, -100);
    roundTrip(percent);
}

// Border widths summed over the cells of many rows pass an int; the average
// is what the table gets.
TEST(RTFTableImport, BorderWidthsOfManyCellsAverage) {
    std::string cells;
    for (int i = 1; i <= 64; ++i)
        cells += "\\clbrdrl\\brdrs\\brdrw32767\\clbrdrt\\brdrs\\brdrw32767\\clbrdrr\\brdrs\\brdrw32767"
                 "\\clbrdrb\\brdrs\\brdrw32767\\cellx" +
                 std::to_string(i * 20);
    std::string rows;
    for (int i = 0; i < 257; ++i)
        rows += "\\cell\\row";
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\trowd" + cells + "\\pard\\intbl x" + rows + "\\pard after\\par}"));
    TRPTableItemInfo* t = FirstTable(doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Rows->RowCount(), 257);
    EXPECT_EQ(t->Rows->GetColCount(), 64);
    EXPECT_EQ(t->CellBorderWidth, 100);
    EXPECT_EQ(doc.GetItemText(doc.GetItemCount() - 1), "after");
}

// The counters of the markers in the order of the document, cells included,
// as "counter" per marker, joined by blanks.
std::string Counters(const TCustomRPData& D) {
    std::string s;
    for (int i = 0; i < D.GetItemCount(); ++i) {
        const TCustomRPItemInfo* it = D.GetItem(i);
        if (const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(it))
            s += (s.empty() ? "" : " ") + std::to_string(m->Counter);
        for (int k = 0; k < it->GetSubRPDataCount(); ++k)
            if (const std::string sub = Counters(*it->GetSubRPDataAt(k)); !sub.empty())
                s += (s.empty() ? "" : " ") + sub;
    }
    return s;
}

// A numbered list, its first item, and the definition of a table row of two
// cells: the table's cells follow.
const std::string kNumberedOpening =
    "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0"
    "\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\li720\\fi-360}}}"
    "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\f0"
    "\\pard\\ls1 eins\\par\\trowd\\cellx2000\\cellx4000";

// List markers inside cells are numbered with the document's own, after
// import and after RPF and RTF round trips; a table that goes takes its
// markers out of the numbering.
TEST(RTFTableImport, ListMarkersInCellsCountWithTheDocument) {
    const std::string rtf =
        kNumberedOpening +
        "\\pard\\intbl\\ls1 zwei\\par\\ls1 drei\\cell\\pard\\intbl\\ls1 vier\\cell\\row"
        "\\pard\\ls1 f\\'fcnf\\par}";
    TImportDoc doc;
    doc.Props.TextStyleMode = rprsAddIfNeeded;
    doc.Props.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(0, doc.Import(rtf));
    ASSERT_NE(FirstTable(doc), nullptr);
    EXPECT_EQ(Counters(doc), "1 2 3 4 5");
    ASSERT_NE(doc.GetMarkers(false), nullptr);
    EXPECT_EQ(doc.GetMarkers(false)->Count(), 5);

    std::string rpf;
    ASSERT_TRUE(doc.SaveRPFToStream(rpf, false, clNone, nullptr, nullptr));
    TImportDoc fromRPF;
    fromRPF.Style.SetTextStyles(doc.Style.TextStyles());
    fromRPF.Style.SetParaStyles(doc.Style.ParaStyles());
    fromRPF.Style.SetListStyles(doc.Style.ListStyles());
    TColor color = clNone;
    ASSERT_TRUE(fromRPF.LoadRPFFromStream(rpf, color, nullptr, nullptr));
    EXPECT_EQ(Counters(fromRPF), "1 2 3 4 5");

    std::string written;
    ASSERT_TRUE(doc.SaveRTFToStream(written, false, 0, clNone, nullptr, nullptr, 0));
    TImportDoc fromRTF;
    fromRTF.Props.TextStyleMode = rprsAddIfNeeded;
    fromRTF.Props.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(0, fromRTF.Import(written));
    EXPECT_EQ(Counters(fromRTF), "1 2 3 4 5");

    // Without the table the last item is the second.
    int tableNo = -1;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        if (TableAt(doc, i)) tableNo = i;
    doc.DeleteItems(tableNo, 1);
    EXPECT_EQ(Counters(doc), "1 2");
    EXPECT_EQ(doc.GetMarkers(false)->Count(), 2);
}

// Markers in a table nested in a cell count in the order they stand in,
// between the markers of the outer cells; so again when the table comes back
// by undo.
TEST(RTFTableImport, ListMarkersInNestedCellsCountInTheirOrder) {
    const std::string rtf =
        kNumberedOpening +
        "\\pard\\intbl\\ls1 zwei\\par"
        "\\pard\\intbl\\itap2\\ls1 drei\\nestcell\\pard\\intbl\\itap2 ohne\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
        "{\\nonesttables\\par}\\pard\\intbl\\itap1\\ls1 vier\\cell"
        "\\pard\\intbl\\ls1 f\\'fcnf\\cell\\row"
        "\\pard\\ls1 sechs\\par}";
    TImportDoc doc;
    doc.Props.TextStyleMode = rprsAddIfNeeded;
    doc.Props.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(0, doc.Import(rtf));
    TRPTableItemInfo* outer = FirstTable(doc);
    ASSERT_NE(outer, nullptr);
    ASSERT_NE(FirstTable(*outer->GetCell(0, 0)), nullptr);
    EXPECT_EQ(Counters(doc), "1 2 3 4 5 6");
    EXPECT_EQ(doc.GetMarkers(false)->Count(), 6);

    // The table out of the document and back, as undo takes and returns it.
    int tableNo = -1;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        if (TableAt(doc, i)) tableNo = i;
    ASSERT_GE(tableNo, 0);
    outer->DetachForUndo(tableNo, &doc);
    EXPECT_EQ(doc.GetMarkers(false)->Count(), 2);
    outer->ReattachFromUndo(&doc);
    EXPECT_EQ(doc.GetMarkers(false)->Count(), 6);
    EXPECT_EQ(Counters(doc), "1 2 3 4 5 6");
}

// Cells that no row end closes stay paragraphs, each paragraph of a cell its
// own: it keeps the marker it had in its cell and gets none of the paragraph
// read after the cells.
TEST(RTFTableImport, CellsWithoutARowEndKeepTheirMarkers) {
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\listtable"
        "{\\list\\listid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}\\li720\\fi-360}}"
        "{\\list\\listid2{\\listlevel\\levelnfc0\\levelstartat5{\\leveltext\\'02\\'00);}"
        "{\\levelnumbers\\'01;}\\li1440\\fi-360}}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}\\f0"
        "\\pard vorher\\par"
        "\\pard\\intbl\\ls1 eins\\cell\\pard\\intbl\\ls1 zwei\\par drei\\cell\\pard\\intbl ohne\\cell"
        "\\pard\\ls2 vier\\par}";
    TImportDoc doc;
    doc.Props.TextStyleMode = rprsAddIfNeeded;
    doc.Props.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(0, doc.Import(rtf));
    EXPECT_EQ(FirstTable(doc), nullptr);
    EXPECT_EQ(doc.PlainText(), "vorher\n*eins\n*zwei\n*drei\nohne\n*vier");
    EXPECT_EQ(Counters(doc), "1 2 3 5");
    std::vector<int> lists;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        if (const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(doc.GetItem(i)))
            lists.push_back(m->ListNo);
    ASSERT_EQ(lists.size(), 4u);
    EXPECT_EQ(lists[0], lists[1]);
    EXPECT_EQ(lists[0], lists[2]);
    EXPECT_NE(lists[0], lists[3]);
    ASSERT_NE(doc.GetMarkers(false), nullptr);
    EXPECT_EQ(doc.GetMarkers(false)->Count(), 4);
}

// RTF that LibreOffice wrote of HTML tables (the .html beside each file).
TEST(RTFTableImport, LibreOfficeTablesKeepTheirGrid) {
    const std::string dir = PRAVOLIN_SOURCE_DIR "/tests/richtext/rtf/tables/";
    {
        TImportDoc doc;
        ASSERT_EQ(0, doc.Props.ReadRTFFile(dir + "libreoffice_merged.rtf", &doc));
        TRPTableItemInfo* t = FirstTable(doc);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(Spans(*t), "1x2 . 2x1/1x1 1x1 ./1x1 1x1 1x1");
        EXPECT_EQ(CellText(t->GetCell(0, 0)), "Kopf");
        EXPECT_EQ(CellText(t->GetCell(0, 2)), "Seite");
        EXPECT_EQ(CellText(t->GetCell(1, 1)), "zwei");
        EXPECT_EQ(CellText(t->GetCell(2, 2)), "fuenf");
    }
    {
        TImportDoc doc;
        ASSERT_EQ(0, doc.Props.ReadRTFFile(dir + "libreoffice_nested.rtf", &doc));
        TRPTableItemInfo* t = FirstTable(doc);
        ASSERT_NE(t, nullptr);
        // LibreOffice puts the nested table after "aussen1" in the first cell
        // (and reads it back so itself).
        ASSERT_EQ(t->Rows->RowCount(), 2);
        EXPECT_TRUE(t->Rows->IsConsistent());
        EXPECT_EQ(CellText(t->GetCell(0, 0)).substr(0, 8), "aussen1\n");
        TRPTableItemInfo* n = FirstTable(*t->GetCell(0, 0));
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(Spans(*n), "1x1 1x1/1x2 .");
        EXPECT_EQ(CellText(n->GetCell(1, 0)), "n3");
        const std::string text = doc.PlainText();
        EXPECT_LT(text.find("Vorher"), text.find("aussen1"));
        EXPECT_LT(text.find("aussen3"), text.find("Nachher"));
    }
    {
        TImportDoc doc;
        ASSERT_EQ(0, doc.Props.ReadRTFFile(dir + "libreoffice_prices.rtf", &doc));
        TRPTableItemInfo* t = FirstTable(doc);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(Spans(*t), "1x1 1x1 1x1/1x1 1x1 1x1/2x1 1x1 1x1/. 1x1 1x1");
        EXPECT_EQ(CellText(t->GetCell(2, 0)), "Birne");
        EXPECT_EQ(CellText(t->GetCell(3, 2)), "2,10 \xE2\x82\xAC");
    }
}

} // namespace
