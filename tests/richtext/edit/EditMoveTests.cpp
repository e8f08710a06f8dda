// Caret movement and selection by keys on a wrapped paragraph.
#include <gtest/gtest.h>

#include <vector>

#include "EditTestSupport.h"
#include "platform/Keys.h"

namespace {

// Characters are 10 px wide; 200 px of text width leave room for 19 of them.
class EditMove : public ::testing::Test {
protected:
    EditMove() : f(210, 100) {
        f.Load("aa bb cc dd ee ff gg hh ii jj kk\nzz");
        lines = 0;
        for (int i = 0; i < f.Data()->DrawItemCount(); ++i)
            lines += f.Data()->DrawItem(i)->FromNewLine;
    }
    TEditFixture f;
    int lines;
};

} // namespace

TEST_F(EditMove, CharactersWordsAndLineEnds) {
    ASSERT_EQ(lines, 3); // the first paragraph wraps once
    f.Caret(0, 1);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.CaretPos(), "0:2");
    f.Key(VK_RIGHT, ssCtrl);
    EXPECT_EQ(f.CaretPos(), "0:4");
    f.Key(VK_RIGHT, ssCtrl);
    EXPECT_EQ(f.CaretPos(), "0:7");
    f.Key(VK_LEFT, ssCtrl);
    EXPECT_EQ(f.CaretPos(), "0:4");
    f.Key(VK_LEFT, ssCtrl);
    EXPECT_EQ(f.CaretPos(), "0:1");
    f.Key(VK_END);
    const int lineEnd = f.Data()->OffsetInCurItem();
    EXPECT_GT(lineEnd, 10);
    EXPECT_LT(lineEnd, 33);
    f.Key(VK_HOME);
    EXPECT_EQ(f.CaretPos(), "0:1");
    // Left at the document start tries to leave it.
    std::vector<TRPGetOutDirection> outs;
    f.Edit->OnCaretGetOut = [&](TCustomRichPadEdit*, TRPGetOutDirection d) { outs.push_back(d); };
    f.Key(VK_LEFT);
    EXPECT_EQ(f.CaretPos(), "0:1");
    f.Key(VK_HOME);
    f.Key(VK_END, ssCtrl);
    EXPECT_EQ(f.CaretPos(), "1:3");
    f.Key(VK_RIGHT);
    f.Key(VK_HOME, ssCtrl);
    EXPECT_EQ(f.CaretPos(), "0:1");
    EXPECT_EQ(outs, (std::vector<TRPGetOutDirection>{rpdirLeft, rpdirEnd, rpdirRight, rpdirHome}));
}

TEST_F(EditMove, UpAndDownKeepTheColumnAcrossWrappedLines) {
    f.Caret(0, 4); // after "aa "
    f.Key(VK_DOWN);
    // Second screen line of the same paragraph, same x.
    const int second = f.Data()->OffsetInCurItem();
    EXPECT_EQ(f.Data()->CurItemNo(), 0);
    EXPECT_GT(second, 19);
    f.Key(VK_DOWN);
    EXPECT_EQ(f.CaretPos(), "1:3"); // "zz" is shorter: its end
    f.Key(VK_UP);
    EXPECT_EQ(f.Data()->CurItemNo(), 0);
    f.Key(VK_UP);
    EXPECT_EQ(f.CaretPos(), "0:3");
    // Shift+Up on the first line selects to its start.
    f.Key(VK_UP, ssShift);
    EXPECT_EQ(f.CaretPos(), "0:1");
    int si, so, ei, eo;
    f.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei, eo}), std::vector<int>({0, 1, 0, 3}));
}

TEST_F(EditMove, ShiftExtendsAndAPlainMoveDropsTheSelection) {
    f.Caret(0, 1);
    f.Key(VK_RIGHT, ssShift);
    f.Key(VK_RIGHT, ssShift | ssCtrl);
    int si, so, ei, eo;
    f.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei, eo}), std::vector<int>({0, 1, 0, 4}));
    f.Key(VK_END, ssShift | ssCtrl);
    f.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei, eo}), std::vector<int>({0, 1, 1, 3}));
    f.Key(VK_LEFT);
    EXPECT_FALSE(f.Edit->SelectionExists());
    // Typing replaces a selection; Ctrl with a letter does not.
    f.Select(0, 1, 0, 3);
    f.Key('B', ssCtrl);
    EXPECT_TRUE(f.Edit->SelectionExists());
    f.Key(VK_INSERT);
    EXPECT_TRUE(f.Edit->SelectionExists());
    f.Type("X");
    EXPECT_EQ(PlainText(*f.Data()).substr(0, 5), "X bb ");
}

// In a window lower than a line, every key moves the view on by a scroll
// unit at least, and the caret goes to the next line when it comes into view.
TEST_F(EditMove, PagesMoveEvenInATinyWindow) {
    TEditFixture tiny(210, 1);
    tiny.Load("eins\nzwei\ndrei\nvier");
    tiny.Caret(0, 1);
    const auto pageTo = [&](uint16_t Key, int Item) {
        std::vector<int> items{tiny.Data()->CurItemNo()};
        for (int i = 0; i < 40 && items.back() != Item; ++i) {
            const int v = tiny.Data()->GetVOffs();
            tiny.Key(Key);
            EXPECT_NE(tiny.Data()->GetVOffs(), v);
            if (tiny.Data()->CurItemNo() != items.back()) items.push_back(tiny.Data()->CurItemNo());
        }
        return items;
    };
    EXPECT_EQ(pageTo(VK_NEXT, 3), std::vector<int>({0, 1, 2, 3}));
    EXPECT_EQ(pageTo(VK_PRIOR, 0), std::vector<int>({3, 2, 1, 0}));
    // A document shorter than a page: PageDown goes to its end.
    f.Caret(0, 1);
    f.Key(VK_NEXT);
    f.Key(VK_NEXT);
    EXPECT_EQ(f.CaretPos(), "1:3");
}

TEST_F(EditMove, DropCaretPlaceMatchesTheCaretLine) {
    // The drop caret's x and the caret's x come from one measurement, on
    // the first line and on the wrapped one.
    TRPEditRPData* d = f.Data();
    for (const int offs : {1, 4, 25}) {
        f.Caret(0, offs);
        const TRPCharPos& p = d->CharEnds[static_cast<size_t>(d->CaretIndex)];
        const TRPDrawLineInfo* di = d->DrawItem(p.DrawItemNo);
        EXPECT_EQ(d->DrawPosX(p.DrawItemNo, p.Offset), p.X) << offs;
        EXPECT_EQ(p.X, di->Left + 10 * (offs - di->Offs)) << offs;
    }
}
