// Formatting into lines with fixed metrics: every draw item's place and size
// and the document height of small documents, minimum widths, right-to-left
// order, and the conversion between item and draw-item positions.
#include <QBuffer>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPUnicode.h"
#include "support/FixedMetrics.h"

namespace {

class Layout : public ::testing::Test {
protected:
    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style = MakeLayoutStyle();
    std::unique_ptr<TTestFormatDoc> Doc = std::make_unique<TTestFormatDoc>(Style.get());

    // Formats at Width pixels (margins 5) and answers the dump and the height.
    std::string Formatted(int Width) {
        Doc->Width = Width;
        Doc->Format();
        return DumpDrawItems(*Doc) + " H=" + std::to_string(Doc->DocumentHeight);
    }
    void Marker() {
        auto m = TRPMarkerItemInfo::CreateEx(Doc.get(), 0, 0, 1, false);
        m->ParaNo = 0;
        Doc->AddItem("", std::move(m));
        Doc->AddMarkerInList(Doc->GetItemCount() - 1);
    }
};

} // namespace

// Lines of 200 pixels (width 210, margins 5); characters of style 0 are 10 pixels wide.
TEST_F(Layout, WrapsAtSpacesAndDropsTheSpace) {
    Doc->Text("aaa bbb ccc ddd eee fff ggg", 0, 0);
    EXPECT_EQ(Formatted(210), "5 5 190 20 0:1+19 / 5 25 70 20 0:21+7 H=50");
}

TEST_F(Layout, AWordEndingAtTheLineEndStaysOnTheLine) {
    Doc->Text("aaaa bbbb cccc dddd eeee ffff", 0, 4);
    // First line 140 wide (indents 30 + 30): "cccc" ends exactly there.
    EXPECT_EQ(Formatted(210), "35 5 140 20 0:1+14 / 25 25 140 20 0:16+14 H=50");
}

TEST_F(Layout, AlignsLeftCentredAndRight) {
    Doc->Text("aaa bbb", 0, 0);
    Doc->Text("aaa bbb", 0, 1);
    Doc->Text("aaa bbb", 0, 2);
    EXPECT_EQ(Formatted(210), "5 5 70 20 0:1+7 / 70 25 70 20 1:1+7 / 135 45 70 20 2:1+7 H=70");
}

TEST_F(Layout, JustifiesInnerLinesWordByWord) {
    Doc->Text("aa bb cc dd ee ff gg hh", 0, 3);
    // 220 pixels: 20 spare pixels over six gaps (3 3 3 3 4 4); the last line stays left.
    EXPECT_EQ(Formatted(230), "5 5 20 20 0:1+2 | 25 5 33 20 0:3+3 j3 | 58 5 33 20 0:6+3 j3 | 91 5 33 20 0:9+3 j3 | "
                              "124 5 33 20 0:12+3 j3 | 157 5 34 20 0:15+3 j4 | 191 5 34 20 0:18+3 j4 / "
                              "5 25 20 20 0:22+2 H=50");
}

TEST_F(Layout, IndentsFirstAndFollowingLines) {
    Doc->Text("aaaa bbbb cccc dddd eeee ffff gggg", 0, 4);
    EXPECT_EQ(Formatted(210), "35 5 140 20 0:1+14 / 25 25 140 20 0:16+14 / 25 45 40 20 0:31+4 H=70");
}

TEST_F(Layout, LineSpacingInPercentAndInPixels) {
    Doc->Text("aaaa bbbb cccc dddd eeee ffff", 0, 5);
    Doc->Text("x", 0, 0);
    EXPECT_EQ(Formatted(210), "5 5 190 20 0:1+19 s10 / 5 35 90 20 0:21+9 s10 / 5 65 10 20 1:1+1 H=90");
    Doc->Clear();
    Doc->Text("aaaa bbbb cccc dddd eeee ffff", 0, 6);
    Doc->Text("x", 0, 0);
    EXPECT_EQ(Formatted(210), "5 5 190 20 0:1+19 s8 / 5 33 90 20 0:21+9 s8 / 5 61 10 20 1:1+1 H=86");
}

TEST_F(Layout, SpaceBeforeAndAfterParagraphs) {
    Doc->Text("a", 0, 0);
    Doc->Text("b", 0, 7);
    Doc->Text("c", 0, 7);
    Doc->Text("d", 0, 0);
    EXPECT_EQ(Formatted(210), "5 5 10 20 0:1+1 / 5 31 10 20 1:1+1 / 5 61 10 20 2:1+1 / 5 85 10 20 3:1+1 H=110");
}

TEST_F(Layout, ALargerPieceRaisesTheLine) {
    Doc->Text("ab ", 0, 0);
    Doc->Text("CD", 1, -1);
    Doc->Text(" ef", 3, -1);
    EXPECT_EQ(Formatted(210), "5 21 30 20 0:1+3 | 35 5 40 40 1:1+2 | 75 27 18 12 2:1+3 H=50");
}

TEST_F(Layout, BreakSpansTheTextWidth) {
    Doc->Text("a", 0, 0);
    Doc->AddItem("", CreateItemByStyleNo(Doc.get(), rpsnBreak));
    Doc->Text("b", 0, 0);
    EXPECT_EQ(Formatted(210), "5 5 10 20 0:1+1 / 5 25 200 11 1:0+0 / 5 36 10 20 2:1+1 H=61");
}

TEST_F(Layout, PicturesOnTheBaselineAndInTheMiddle) {
    Doc->Text("ab", 0, 0);
    Doc->AddPicture("", SolidPicture(30, 50, clRed), -1, 0, TRPTag{});
    Doc->AddPicture("", SolidPicture(30, 50, clRed), -1, 1, TRPTag{});
    Doc->Text("cd", 0, -1);
    EXPECT_EQ(Formatted(210), "5 40 20 20 0:1+2 | 25 5 32 52 1:0+0 | 57 30 32 52 2:0+0 | 89 40 20 20 3:1+2 H=87");
    // A picture that does not fit goes to the next line.
    EXPECT_EQ(Formatted(100), "5 40 20 20 0:1+2 | 25 5 32 52 1:0+0 | 57 30 32 52 2:0+0 / 5 82 20 20 3:1+2 H=107");
}

TEST_F(Layout, ListMarkerAndHangingLines) {
    Marker();
    Doc->Text("aaaa bbbb cccc dddd", 0, -1);
    // The marker stands at its level's marker indent and reaches to its left indent (30).
    EXPECT_EQ(Formatted(210), "5 5 30 20 0:0+0 | 35 5 140 20 1:1+14 / 35 25 40 20 1:16+4 H=50");
}

TEST_F(Layout, NoWrapAndLongWordsWidenTheDocument) {
    Doc->Text("aaaa bbbb cccc dddd eeee ffff", 0, 9);
    EXPECT_EQ(Formatted(210), "5 5 290 20 0:1+29 H=30");
    EXPECT_EQ(Doc->ContentWidth, 290);
    EXPECT_EQ(Doc->AreaWidth, 300);
    Doc->Clear();
    Doc->Text("aaaaaaaaaaaaaaaaaaaaaaaaa", 0, 0);
    EXPECT_EQ(Formatted(100), "5 5 250 20 0:1+25 H=30");
}

TEST_F(Layout, MaxTextWidthLimitsTheLines) {
    Doc->MaxText = 100;
    Doc->Text("aaa bbb ccc ddd", 0, 0);
    EXPECT_EQ(Formatted(300), "5 5 70 20 0:1+7 / 5 25 70 20 0:9+7 H=50");
    EXPECT_EQ(Doc->ContentWidth, 290);
}

TEST_F(Layout, EmptyDocumentsAndEmptyItems) {
    EXPECT_EQ(Formatted(210), " H=10");
    Doc->Text("", 0, 0);
    Doc->Text("a", 0, 0);
    EXPECT_EQ(Formatted(210), "5 5 0 20 0:1+0 / 5 25 10 20 1:1+1 H=50");
}

TEST_F(Layout, AtLeastOneCharacterOnAFreshLine) {
    // Lines as wide as the client area (5 pixels): narrower than one character.
    Doc->Opts |= rpoClientTextWidth;
    Doc->Left = Doc->Right = 0;
    Doc->Text("abc", 0, 0);
    EXPECT_EQ(Formatted(5), "0 5 10 20 0:1+1 / 0 25 10 20 0:2+1 / 0 45 10 20 0:3+1 H=70");
    // The minimum width keeps a word whole otherwise.
    Doc->Opts &= ~rpoClientTextWidth;
    EXPECT_EQ(Formatted(5), "0 5 30 20 0:1+3 H=30");
}

TEST_F(Layout, AppendingFormatsOnlyTheNewItems) {
    Doc->Text("aaa", 0, 0);
    Doc->Text("bbb", 0, 7);
    Formatted(210);
    TRPDrawLineInfo* first = Doc->DrawItem(0);
    Doc->Text("ccc", 0, 0);
    Doc->TCustomRPFormattedData::Format(false, false, false, 0, nullptr, true, false);
    EXPECT_EQ(Doc->DrawItem(0), first);
    EXPECT_EQ(DumpDrawItems(*Doc), "5 5 30 20 0:1+3 / 5 31 30 20 1:1+3 / 5 55 30 20 2:1+3");
    EXPECT_EQ(Doc->DocumentHeight, 80);
}

TEST_F(Layout, MinimumWidthsUseIndentsAndListLevels) {
    Doc->Text("ab abcdef", 0, 4);
    // The widest word (60) plus the left (20), right (30) and positive first indent (10).
    EXPECT_EQ(Doc->CalcDocMinWidth(nullptr, &Doc->Canvas), 120);
    Doc->Clear();
    Style->ParaStyles().GetItem(4)->FirstIndent = -10;
    Doc->Text("ab abcdef", 0, 4);
    EXPECT_EQ(Doc->CalcDocMinWidth(nullptr, &Doc->Canvas), 110);
    Doc->Clear();
    Marker();
    Doc->Text("ab abcdef", 0, -1);
    // The list level's indent (30) replaces the paragraph's; the text beside
    // the marker needs the marker's room too.
    EXPECT_EQ(Doc->CalcParaMinWidth(0), 30 + 60 + 30);
}

TEST_F(Layout, RightToLeftLinesFollowTheBidirectionalAlgorithm) {
    // In a right-to-left paragraph the runs of one direction keep their own
    // order and the line reads from the right.
    Doc->Text("abc ", 0, 10);
    Doc->Wide(QStringLiteral("\u05D0\u05D1\u05D2 "), 4, -1);
    Doc->Text("def", 0, -1);
    EXPECT_EQ(Formatted(210), "75 5 40 20 0:1+4 | 35 5 40 20 1:1+4 | 5 5 30 20 2:1+3 H=30");
    // Left to right with a right-to-left run in the middle: only that run turns.
    Doc->Clear();
    Style->ParaStyles().GetItem(10)->BiDiMode = rpbdLeftToRight;
    Doc->Text("ab ", 0, 10);
    Doc->Wide(QStringLiteral("\u05D0\u05D1"), 4, -1);
    Doc->Wide(QStringLiteral("\u05D2\u05D3"), 4, -1);
    Doc->Text(" cd", 0, -1);
    EXPECT_EQ(Formatted(210), "5 5 30 20 0:1+3 | 55 5 20 20 1:1+2 | 35 5 20 20 2:1+2 | 75 5 30 20 3:1+3 H=30");
}

TEST_F(Layout, EveryOffsetOfAWrappedParagraphConvertsBothWays) {
    Doc->Text("aaa bbb ccc ddd eee fff ggg hhh", 0, 0);
    Formatted(110);
    ASSERT_EQ(DumpDrawItems(*Doc), "5 5 70 20 0:1+7 / 5 25 70 20 0:9+7 / 5 45 70 20 0:17+7 / 5 65 70 20 0:25+7");
    // Offsets 1 .. 32: the end of a line stays on that line; the dropped
    // space's far side is the next line's start.
    const int len = Doc->ItemLength(0);
    for (int offs = 1; offs <= len + 1; ++offs) {
        int dOffs = 0, d = -1;
        Doc->ItemToDrawItemPos(0, offs, dOffs, d);
        const int expectLine = offs <= 8 ? 0 : offs <= 16 ? 1 : offs <= 24 ? 2 : 3;
        EXPECT_EQ(d, expectLine) << offs;
        EXPECT_EQ(dOffs, offs - 8 * expectLine) << offs;
        int back = 0, item = -1;
        Doc->DrawItemToItemPos(d, dOffs, back, item);
        EXPECT_EQ(item, 0);
        EXPECT_EQ(back, offs) << offs;
    }
    // Every place in every draw item comes back to itself.
    for (int d = 0; d < Doc->DrawItemCount(); ++d)
        for (int dOffs = 1; dOffs <= Doc->DrawItem(d)->Length + 1; ++dOffs) {
            int offs = 0, item = -1, d2 = -1, dOffs2 = 0;
            Doc->DrawItemToItemPos(d, dOffs, offs, item);
            Doc->ItemToDrawItemPos(item, offs, dOffs2, d2);
            EXPECT_EQ(d2, d);
            EXPECT_EQ(dOffs2, dOffs);
        }
    // A non-text item has the offsets 0 and 1 of its one draw item.
    Doc->AddPicture("", SolidPicture(10, 10, clRed), 0, 0, TRPTag{});
    Formatted(110);
    int dOffs = 0, d = -1;
    Doc->ItemToDrawItemPos(1, 1, dOffs, d);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(dOffs, 1);
}

TEST_F(Layout, WrappingWithoutDroppingKeepsTheTrailingSpace) {
    Doc->Flags &= ~rpflWrapDropsSpace;
    Doc->Text("aaa bbb ccc", 0, 0);
    // The space stays with the word before it; a line of one piece keeps it.
    EXPECT_EQ(Formatted(90), "5 5 80 20 0:1+8 / 5 25 30 20 0:9+3 H=50");
    // A trailing space behind another piece of the line is dropped at the wrap.
    Doc->Clear();
    Doc->Text("aa", 0, 0);
    Doc->Text("a bbbbbbbbbbb", 3, -1);
    EXPECT_EQ(Formatted(90), "5 5 20 20 0:1+2 | 25 11 6 12 1:1+1 / 5 25 66 12 1:3+11 H=42");
}

// What RTF asks of the layout stays within a page: line spacing beyond what a
// page shows is cut on import, and a row's indent (\trleft) indents its table.
TEST_F(Layout, ImportedLineSpacingAndTableIndent) {
    const auto import = [&](const char* Rtf) {
        Doc->Clear();
        Doc->RTF.TextStyleMode = rprsAddIfNeeded;
        Doc->RTF.ParaStyleMode = rprsAddIfNeeded;
        QByteArray data(Rtf);
        QBuffer buf(&data);
        buf.open(QIODevice::ReadOnly);
        EXPECT_EQ(Doc->RTF.ReadRTFStream(buf, Doc.get()), 0);
        Doc->Width = 300;
        Doc->Format();
    };
    import("{\\rtf1\\sl237427400\\slmult1 t\\par t\\par}");
    ASSERT_EQ(Doc->GetItemCount(), 2);
    EXPECT_EQ(Style->ParaStyles().GetItem(Doc->GetItem(0)->ParaNo)->LineSpacing, 5000);
    // Two lines of 12-point text (16 pixels) spaced fifty-fold.
    EXPECT_EQ(Doc->DrawItem(1)->Top - Doc->DrawItem(0)->Top, 800);
    EXPECT_LT(Doc->DocumentHeight, 1700);
    import("{\\rtf1\\trowd\\trleft360\\cellx1800\\cellx3600\\pard\\intbl a\\cell b\\cell\\row\\pard x\\par}");
    ASSERT_EQ(Doc->GetItemStyle(0), rpsnTable);
    EXPECT_EQ(Doc->DrawItem(0)->Left, 5 + 24);
}
