// The caret keys of an editor move the caret and the view follows it: the
// caret's line always shows whole, and the view stays where it is while it does.
#include <gtest/gtest.h>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "richtext/edit/RPTable.h"
#include "support/FormDriver.h"

namespace {

class CaretView : public ::testing::Test {
protected:
    CaretView() : f(300, 200) {}
    TEditFixture f;

    void Lines(int Count, int First = 0) {
        for (int i = First; i < First + Count; ++i)
            f.Edit->AddText("Zeile " + std::to_string(i), 0, 0);
    }
    void Press(uint16_t Key, Qt::KeyboardModifiers Mods = Qt::NoModifier) { PressKey(f.Edit, Key, Mods); }
    int V() const { return f.Data()->GetVOffs(); }
    // Empty when the caret's line lies whole inside the client area.
    std::string Cut() const {
        const TRPEditRPData* d = f.Data();
        const TRPDrawLineInfo* di = d->DrawItem(d->CaretDrawItemNo);
        const int top = di->Top - V(), bottom = top + di->Height;
        if (top >= 0 && bottom <= f.Edit->ClientHeight()) return std::string();
        return "line " + std::to_string(top) + ".." + std::to_string(bottom) + " of " +
               std::to_string(f.Edit->ClientHeight());
    }
    // A table of Rows rows of one cell each.
    TRPTableItemInfo* AddTable(int Rows) {
        auto t = TRPTableItemInfo::CreateEx(Rows, 1, f.Data());
        TRPTableItemInfo* T = t.get();
        for (int r = 0; r < Rows; ++r) {
            T->GetCell(r, 0)->Clear();
            T->GetCell(r, 0)->AddNL("Reihe " + std::to_string(r), 0, 0);
        }
        f.Data()->AddItem(std::string(), std::move(t));
        return T;
    }
    // Where row Row of table T lies in the client area.
    std::pair<int, int> Row(const TRPTableItemInfo* T, int Row) const {
        const int top = f.Data()->DrawItem(f.Data()->GetFirstDrawItemOfItem(f.Data()->GetItemNo(T)))->Top +
                        T->FormattingInfo.RowStarts[Row] - V();
        return {top, top + T->FormattingInfo.RowHeights[Row]};
    }
};

} // namespace

TEST_F(CaretView, DownAndUpMoveTheViewOnlyAsFarAsTheCaretsLineNeeds) {
    f.Edit->Clear();
    Lines(200);
    f.Edit->Format();
    f.Caret(0, 1);
    const int step = f.Edit->VSmallStep, h = f.Edit->ClientHeight();
    ASSERT_EQ(step, 10);
    for (int i = 1; i < 200; ++i) {
        SCOPED_TRACE(i);
        const int before = V();
        Press(VK_DOWN);
        ASSERT_EQ(f.Data()->CurItemNo(), i);
        EXPECT_EQ(Cut(), "");
        const TRPDrawLineInfo* di = f.Data()->DrawItem(f.Data()->CaretDrawItemNo);
        if (di->Top + di->Height + 6 <= before + h) {
            // The line shows with its margin where the view is: it stays.
            EXPECT_EQ(V(), before);
        } else {
            // Down by whole units, no further than the line and its margin need.
            EXPECT_GT(di->Top + di->Height + 6, V() + h - step);
            EXPECT_LE(di->Top + di->Height + 6, V() + h);
        }
    }
    EXPECT_EQ(f.Edit->VPos, f.Edit->VScrollMax - (f.Edit->VScrollPage - 1));
    // Down on the last line tries to leave and shows the document's end.
    Press(VK_DOWN);
    EXPECT_EQ(f.Data()->CurItemNo(), 199);
    EXPECT_EQ(Cut(), "");
    for (int i = 198; i >= 0; --i) {
        SCOPED_TRACE(i);
        const int before = V();
        Press(VK_UP);
        ASSERT_EQ(f.Data()->CurItemNo(), i);
        EXPECT_EQ(Cut(), "");
        const int top = f.Data()->DrawItem(f.Data()->CaretDrawItemNo)->Top;
        if (top - 6 >= before)
            EXPECT_EQ(V(), before);
        else
            EXPECT_EQ(V(), std::max(0, (top - 6) / step * step));
    }
    EXPECT_EQ(V(), 0);
}

TEST_F(CaretView, HomeEndAndPagesKeepTheCaretsLineWhole) {
    f.Edit->Clear();
    Lines(200);
    f.Edit->Format();
    f.Caret(100, 1);
    const int v = V();
    ASSERT_GT(v, 0);
    ASSERT_EQ(Cut(), "");
    // Home and End stay on the line and leave the view alone.
    Press(VK_END);
    EXPECT_EQ(f.CaretPos(), "100:10");
    EXPECT_EQ(V(), v);
    Press(VK_HOME);
    EXPECT_EQ(f.CaretPos(), "100:1");
    EXPECT_EQ(V(), v);
    Press(VK_END, Qt::ControlModifier);
    EXPECT_EQ(f.CaretPos(), "199:10");
    EXPECT_EQ(Cut(), "");
    EXPECT_EQ(f.Edit->VPos, f.Edit->VScrollMax - (f.Edit->VScrollPage - 1));
    Press(VK_HOME, Qt::ControlModifier);
    EXPECT_EQ(f.CaretPos(), "0:1");
    EXPECT_EQ(V(), 0);
    // PageDown to the end and PageUp back: every page moves the caret, and
    // its line shows.
    int last = 0;
    for (int i = 0; i < 40 && f.Data()->CurItemNo() < 199; ++i) {
        Press(VK_NEXT);
        EXPECT_GT(f.Data()->CurItemNo(), last);
        last = f.Data()->CurItemNo();
        EXPECT_EQ(Cut(), "") << last;
    }
    EXPECT_EQ(last, 199);
    for (int i = 0; i < 40 && f.Data()->CurItemNo() > 0; ++i) {
        Press(VK_PRIOR);
        EXPECT_LT(f.Data()->CurItemNo(), last);
        last = f.Data()->CurItemNo();
        EXPECT_EQ(Cut(), "") << last;
    }
    EXPECT_EQ(last, 0);
    EXPECT_EQ(V(), 0);
}

TEST_F(CaretView, TablesTallerThanTheViewShowTheRowOnTheCaretsSide) {
    f.Edit->Clear();
    TRPTableItemInfo* first = AddTable(30);
    Lines(50);
    TRPTableItemInfo* last = AddTable(30);
    f.Edit->Format();
    const int h = f.Edit->ClientHeight();
    ASSERT_GT(first->FormattingInfo.Height, 2 * h);
    ASSERT_GT(last->FormattingInfo.Height, 2 * h);
    const auto shows = [&](const TRPTableItemInfo* T, int R) {
        const auto [top, bottom] = Row(T, R);
        return top >= 0 && bottom <= h ? std::string() : std::to_string(top) + ".." + std::to_string(bottom);
    };
    // Before the first table, from the start of the document and from its end.
    for (const bool fromEnd : {false, true}) {
        SCOPED_TRACE(fromEnd);
        f.Caret(fromEnd ? 51 : 40, 1);
        Press(VK_HOME, Qt::ControlModifier);
        EXPECT_EQ(f.CaretPos(), "0:0");
        EXPECT_EQ(V(), 0);
        EXPECT_EQ(shows(first, 0), "");
    }
    // After the last table: from the start, from a line above it, and with
    // the view inside the table.
    for (const int view : {-1, 0, 1}) {
        SCOPED_TRACE(view);
        f.Caret(view < 0 ? 0 : 40, view < 0 ? 0 : 1);
        if (view > 0) f.Edit->ScrollTo(Row(last, 15).first + V());
        Press(VK_END, Qt::ControlModifier);
        EXPECT_EQ(f.CaretPos(), "51:1");
        EXPECT_EQ(shows(last, 29), "");
    }
    // The caret steps next to a table from a line: the row beside it shows.
    f.Caret(50, 10);
    ASSERT_LT(Row(last, 0).first, h);
    Press(VK_RIGHT);
    EXPECT_EQ(f.CaretPos(), "51:0");
    EXPECT_EQ(shows(last, 0), "");
    f.Caret(1, 1);
    ASSERT_GT(Row(first, 29).second, 0);
    Press(VK_LEFT);
    EXPECT_EQ(f.CaretPos(), "0:1");
    EXPECT_EQ(shows(first, 29), "");
}

TEST_F(CaretView, AnEditorWithoutACaretScrollsByItsKeys) {
    f.Edit->Clear();
    Lines(200);
    f.Edit->Format();
    f.Edit->EditorOptions |= rpoHideReadOnlyCaret;
    f.Edit->SetReadOnly(true);
    f.Caret(0, 1);
    Press(VK_DOWN);
    EXPECT_EQ(f.Edit->VPos, 1);
    Press(VK_END, Qt::ControlModifier);
    EXPECT_EQ(f.Edit->VPos, f.Edit->VScrollMax - (f.Edit->VScrollPage - 1));
    Press(VK_HOME);
    EXPECT_EQ(f.Edit->VPos, 0);
    // With its caret shown, the same editor moves the caret instead.
    f.Edit->EditorOptions &= ~rpoHideReadOnlyCaret;
    f.Caret(0, 1);
    Press(VK_DOWN);
    EXPECT_EQ(f.Edit->VPos, 0);
    EXPECT_EQ(f.CaretPos(), "1:1");
}
