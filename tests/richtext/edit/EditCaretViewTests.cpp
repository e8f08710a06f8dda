// The caret keys of an editor move the caret and the view follows it: the
// caret's line always shows whole, and the view stays where it is while it does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
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
    // A table of Rows rows of one cell each in a cell of table T.
    static TRPTableItemInfo* AddTableInCell(TRPTableItemInfo* T, int Row, int Col, int Rows) {
        TRPTableCellData* cell = T->GetCell(Row, Col);
        auto t = TRPTableItemInfo::CreateEx(Rows, 1, cell);
        TRPTableItemInfo* inner = t.get();
        for (int r = 0; r < Rows; ++r) {
            inner->GetCell(r, 0)->Clear();
            inner->GetCell(r, 0)->AddNL("Innen " + std::to_string(r), 0, 0);
        }
        cell->AddItem(std::string(), std::move(t));
        return inner;
    }
    // Where row Row of table T lies in the client area.
    std::pair<int, int> Row(const TRPTableItemInfo* T, int Row) const {
        const int top = f.Data()->DrawItem(f.Data()->GetFirstDrawItemOfItem(f.Data()->GetItemNo(T)))->Top +
                        T->FormattingInfo.RowStarts[Row] - V();
        return {top, top + T->FormattingInfo.RowHeights[Row]};
    }
};

// The same with the keys at the focus, which a cell's editor takes when the
// caret enters the cell.
class CaretInCells : public CaretView {
protected:
    // Where the caret is: the item and offset in the innermost editor, after
    // the row and column of each cell it lies in; its line's top and bottom
    // in the host's client area; and the view's offset.
    struct TAt {
        std::string Where;
        int Depth = 0, Top = 0, Bottom = 0, V = 0;
    };
    void Show() {
        ShowAndActivate(f.Form.get());
        f.Edit->SetFocus();
        ProcessEvents();
    }
    // Seven lines (items 0 to 6), a table of Rows rows (item 7) with CellLines
    // lines in the first cell of row LongRow, and ten lines (items 8 to 17),
    // shown with the keys in the editor; Inner, when asked, a table of Inner
    // rows after the text of cell (1, 0), and the line "unten" after it.
    void Document(int Rows, int LongRow = 0, int CellLines = 1, int Inner = 0) {
        f.Edit->Clear();
        Lines(7);
        TRPTableItemInfo* T = AddTable(Rows);
        for (int i = 1; i < CellLines; ++i)
            T->GetCell(LongRow, 0)->AddNL("Zeile " + std::to_string(i), 0, 0);
        if (Inner > 0) {
            AddTableInCell(T, 1, 0, Inner);
            T->GetCell(1, 0)->AddNL("unten", 0, 0);
        }
        Lines(10, 7);
        f.Edit->Format();
        Show();
    }
    TAt At() const {
        TAt a;
        TCustomRichPadEdit* e = f.Edit;
        for (;;) {
            auto* t = dynamic_cast<TRPTableItemInfo*>(e->EditedCellItem);
            TRPTableInplaceEdit* cell = t ? t->InplaceEditor() : nullptr;
            if (!cell) break;
            a.Where += std::to_string(cell->Row) + "," + std::to_string(cell->Col) + " ";
            a.Top += cell->Top();
            ++a.Depth;
            e = cell;
        }
        TRPEditRPData* d = e->EditData();
        a.Where += std::to_string(d->CurItemNo()) + ":" + std::to_string(d->OffsetInCurItem());
        const TRPDrawLineInfo* di = d->DrawItem(d->CaretDrawItemNo);
        a.Top += di->Top - d->GetVOffs();
        a.Bottom = a.Top + di->Height;
        a.V = V();
        return a;
    }
    // What is wrong with the view after a caret key moved the caret from
    // Before to Now, empty when nothing: the caret's line shows with a
    // margin of 5 pixels where the document has room for it (of a table
    // taller than the view, beside which the caret stands, one edge); the
    // view stays while the line shows with that margin where the view was,
    // and moves no further than the line needs.
    std::string Faults(const TAt& Before, const TAt& Now) const {
        const int h = f.Edit->ClientHeight(), step = f.Edit->VSmallStep, moved = Now.V - Before.V;
        const bool atEnd = f.Edit->VPos >= f.Edit->VScrollMax - (f.Edit->VScrollPage - 1);
        const std::string line = Now.Where + " " + std::to_string(Now.Top) + ".." +
                                 std::to_string(Now.Bottom) + " of " + std::to_string(h) + " after " +
                                 std::to_string(moved);
        if (Now.Bottom - Now.Top + 12 > h) {
            const bool edge = (Now.Top >= 6 && Now.Top < h) || (Now.Bottom + 6 <= h && Now.Bottom > 0);
            return edge ? std::string() : "no edge: " + line;
        }
        if (Now.Top < 0 || Now.Bottom > h) return "cut: " + line;
        if ((Now.Top - 6 < 0 && Now.V > 0) || (Now.Bottom + 6 > h && !atEnd)) return "no margin: " + line;
        if (Now.Top + moved - 6 >= 0 && Now.Bottom + moved + 6 <= h) return moved ? "moved: " + line : "";
        if ((moved > 0 && Now.Bottom + 6 <= h - step) || (moved < 0 && Now.Top - 6 >= step))
            return "too far: " + line;
        return std::string();
    }
    // Presses Key until the caret stands in the host at item Item, checking
    // the view after each key; the places the caret took.
    std::vector<TAt> Walk(uint16_t Key, int Item) {
        std::vector<TAt> way{At()};
        const std::string to = std::to_string(Item) + ":";
        while (way.size() < 200 && way.back().Where.rfind(to, 0) != 0) {
            PressKeyAtFocus(Key);
            ProcessEvents();
            way.push_back(At());
            SCOPED_TRACE(way.size());
            EXPECT_NE(way.back().Where, way[way.size() - 2].Where);
            EXPECT_EQ(Faults(way[way.size() - 2], way.back()), "");
        }
        return way;
    }
    // Presses a page key until the caret stands in the host at item Item;
    // the places the caret took. Each key moves the view on in its
    // direction, the new screen overlaps or touches the one before, and the
    // caret's line shows whole.
    std::vector<TAt> Pages(uint16_t Key, int Item, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        std::vector<TAt> way{At()};
        const std::string to = std::to_string(Item) + ":";
        const int h = f.Edit->ClientHeight();
        while (way.size() < 100 && way.back().Where.rfind(to, 0) != 0) {
            PressKeyAtFocus(Key, Mods);
            ProcessEvents();
            way.push_back(At());
            const TAt &a = way[way.size() - 2], &b = way.back();
            SCOPED_TRACE(b.Where + " at " + std::to_string(b.V) + " after " + a.Where + " at " +
                         std::to_string(a.V));
            if (Key == VK_NEXT) {
                EXPECT_TRUE(b.V > a.V || b.Where != a.Where);
                EXPECT_LE(b.V, a.V + h);
            } else {
                EXPECT_TRUE(b.V < a.V || b.Where != a.Where);
                EXPECT_GE(b.V + h, a.V);
            }
            // A table the caret stands beside shows in part.
            if (b.Bottom - b.Top <= h) {
                EXPECT_TRUE(b.Top >= 0 && b.Bottom <= h) << b.Top << ".." << b.Bottom;
            } else {
                EXPECT_TRUE(b.Top < h && b.Bottom > 0) << b.Top << ".." << b.Bottom;
            }
        }
        return way;
    }
    // The lines of the host and the rows of table T that no screen of Way
    // showed whole (one taller than the view: that the screens did not show
    // all of), empty when none.
    std::string Unshown(const std::vector<TAt>& Way, const TRPTableItemInfo* T) const {
        const int h = f.Edit->ClientHeight();
        std::vector<int> screens;
        for (const TAt& a : Way)
            screens.push_back(a.V);
        std::sort(screens.begin(), screens.end());
        const auto shown = [&](int Top, int Bottom) {
            int from = Top;
            for (const int v : screens)
                if (v <= from && (Bottom - Top <= h ? Bottom <= v + h : v + h > from)) from = v + h;
            return from >= Bottom;
        };
        std::string missed;
        const TRPEditRPData* d = f.Data();
        for (int i = 0; i < d->DrawItemCount(); ++i) {
            const TRPDrawLineInfo* di = d->DrawItem(i);
            if (d->GetItem(di->ItemNo) == T) continue;
            if (!shown(di->Top, di->Top + di->Height)) missed += "line " + std::to_string(di->ItemNo) + " ";
        }
        const int pad = T->CellPadding;
        for (int r = 0; r < T->Rows->RowCount(); ++r) {
            const int top = Row(T, r).first + V();
            if (!shown(top, top + T->FormattingInfo.RowHeights[r] + 2 * pad))
                missed += "row " + std::to_string(r) + " ";
        }
        return missed;
    }
    static int InCells(const std::vector<TAt>& Way, int Depth) {
        return static_cast<int>(
            std::count_if(Way.begin(), Way.end(), [Depth](const TAt& a) { return a.Depth == Depth; }));
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

// PageDown from the last line of a screen: the next screen starts with the
// line below it. The second try went half a screen past the first, below
// the screen's end, and the lines between were never shown.
TEST_F(CaretView, APageFromTheScreensLastLineStartsWithTheLineBelowIt) {
    f.Edit->Clear();
    Lines(200);
    f.Edit->Format();
    f.Caret(0, 1);
    const int h = f.Edit->ClientHeight();
    for (int start = 0; start < 3; ++start) {
        SCOPED_TRACE(start);
        // Down to the screen's last line that shows with its margin.
        const int v = V();
        for (;;) {
            const TRPDrawLineInfo* next = f.Data()->DrawItem(f.Data()->CaretDrawItemNo + 1);
            if (next->Top + next->Height + 6 > v + h) break;
            Press(VK_DOWN);
        }
        ASSERT_EQ(V(), v);
        // The line that the screen's bottom edge cuts, or the first below it.
        int below = f.Data()->CaretDrawItemNo + 1;
        while (f.Data()->DrawItem(below)->Top + f.Data()->DrawItem(below)->Height <= v + h)
            ++below;
        below = f.Data()->DrawItem(below)->ItemNo;
        Press(VK_NEXT);
        EXPECT_EQ(f.Data()->CurItemNo(), below);
        EXPECT_LE(V(), v + h);
        EXPECT_GT(V(), v);
        EXPECT_EQ(Cut(), "");
    }
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

// The caret keys take the caret through the rows of a table at the view's
// edges: the view moves for the cell's line as it does for a line of text.
// The cells' lines were cut at the bottom: the rectangle to show was cut to
// the height of the cell's editor before its host scrolled for it.
TEST_F(CaretInCells, RowsAtTheEdgesShowTheCaretsLineWithItsMargin) {
    // A cell of six lines, which the caret walks through too.
    Document(8, 4, 6);
    f.Caret(0, 3);
    const std::vector<TAt> down = Walk(VK_DOWN, 17);
    EXPECT_EQ(InCells(down, 1), 13);
    EXPECT_GT(V(), 0);
    const std::vector<TAt> up = Walk(VK_UP, 0);
    EXPECT_EQ(InCells(up, 1), 13);
    EXPECT_EQ(V(), 0);
}

// PageDown and PageUp in a cell of several lines at the view's bottom edge
// page through the host's screens: within the cell while the next screen
// starts in it, and out of it into the host's lines when the screen lies
// beyond. The host shows the line the caret comes to. The pages were the
// cell's own, of the cell's height: PageDown stopped at the cell's end and
// PageUp at its start.
TEST_F(CaretInCells, PagesInACellAtTheEdgeShowTheCaretsLine) {
    Document(2, 0, 12);
    f.Caret(6, 3);
    PressKeyAtFocus(VK_DOWN);
    ProcessEvents();
    ASSERT_EQ(At().Where, "0,0 0:1");
    ASSERT_EQ(V(), 0);
    const std::vector<TAt> down = Pages(VK_NEXT, 17);
    EXPECT_GE(InCells(down, 1), 2);
    ASSERT_GE(down.size(), 3u);
    // The first page below the cell leaves it.
    const auto left = std::find_if(down.begin(), down.end(), [](const TAt& a) { return a.Depth == 0; });
    ASSERT_NE(left, down.end());
    EXPECT_GE(std::stoi(left->Where), 8) << left->Where;
    // Back into the cell from below, and out of it above.
    const std::vector<TAt> up = Pages(VK_PRIOR, 0);
    EXPECT_GE(InCells(up, 1), 1);
    EXPECT_EQ(V(), 0);
    EXPECT_EQ(Unshown(down, dynamic_cast<TRPTableItemInfo*>(f.Data()->GetItem(7))), "");
}

// PageDown from the document's start to its end, through a table taller
// than several screens, and PageUp back: the caret goes into the row where
// each screen starts, and every line and row shows whole on a screen. A
// table is one draw item: the pages went from its first screen to the text
// after it.
TEST_F(CaretInCells, PagesGoThroughATallTableScreenByScreen) {
    Document(40);
    const auto* T = dynamic_cast<TRPTableItemInfo*>(f.Data()->GetItem(7));
    ASSERT_TRUE(T);
    ASSERT_GT(T->FormattingInfo.Height, 4 * f.Edit->ClientHeight());
    f.Caret(0, 1);
    const std::vector<TAt> down = Pages(VK_NEXT, 17);
    EXPECT_GE(InCells(down, 1), 5);
    EXPECT_EQ(Unshown(down, T), "");
    const std::vector<TAt> up = Pages(VK_PRIOR, 0);
    EXPECT_GE(InCells(up, 1), 5);
    EXPECT_EQ(Unshown(up, T), "");
    EXPECT_EQ(V(), 0);
    // With Shift the selection takes the table whole, and the screens go
    // through it all the same: the caret stays beside it meanwhile.
    const std::vector<TAt> selecting = Pages(VK_NEXT, 17, Qt::ShiftModifier);
    EXPECT_EQ(InCells(selecting, 1), 0);
    EXPECT_EQ(Unshown(selecting, T), "");
    int si = -1, so = -1, ei = -1, eo = -1;
    f.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei}), std::vector<int>({0, 1, 17}));
}

// The rows of a table in a cell are pages' places as well: the caret goes
// into the inner cells through both editors, and out again.
TEST_F(CaretInCells, PagesGoThroughATableInACell) {
    Document(3, 0, 1, 30);
    f.Caret(0, 1);
    const std::vector<TAt> down = Pages(VK_NEXT, 17);
    EXPECT_GE(InCells(down, 2), 3);
    const std::vector<TAt> up = Pages(VK_PRIOR, 0);
    EXPECT_GE(InCells(up, 2), 3);
    EXPECT_EQ(V(), 0);
}

// In a table in a cell, the rectangle of the inner cell's line goes up
// through both cell editors to the host, which scrolls for it.
TEST_F(CaretInCells, ANestedTablesRowsShowThroughEveryHost) {
    Document(3, 0, 1, 5);
    f.Caret(6, 3);
    // Into the outer cell of the inner table, to the end of its first line,
    // from where Down goes into the inner table.
    for (const uint16_t key : {VK_DOWN, VK_DOWN, VK_END}) {
        PressKeyAtFocus(key);
        ProcessEvents();
    }
    ASSERT_EQ(At().Where, "1,0 0:8");
    const std::vector<TAt> down = Walk(VK_DOWN, 17);
    EXPECT_EQ(InCells(down, 2), 5);
    const std::vector<TAt> up = Walk(VK_UP, 0);
    EXPECT_EQ(InCells(up, 2), 5);
    EXPECT_EQ(V(), 0);
}

// Enter in the last row of a table that ends the document, and in a table
// in that row: the new line shows with its margin. The cell's editor showed
// it before the host was laid out for it, when the host had no room yet.
TEST_F(CaretInCells, ANewLineInACellAtTheDocumentsEndShows) {
    for (const bool nested : {false, true}) {
        SCOPED_TRACE(nested);
        f.Edit->DestroyCellEditor();
        f.Edit->Clear();
        Lines(12);
        TRPTableItemInfo* T = AddTable(2);
        if (nested) AddTableInCell(T, 1, 0, 2);
        f.Edit->Format();
        Show();
        f.Caret(11, 3);
        // Into the last row; in it, into the table under the end of its text.
        std::vector<uint16_t> keys{VK_DOWN, VK_DOWN};
        if (nested) keys.insert(keys.end(), {VK_END, VK_DOWN, VK_DOWN});
        for (const uint16_t key : keys) {
            PressKeyAtFocus(key);
            ProcessEvents();
        }
        ASSERT_EQ(At().Where, nested ? "1,0 1,0 0:1" : "1,0 0:1");
        for (int i = 1; i <= 3; ++i) {
            const TAt before = At();
            PressKeyAtFocus(VK_RETURN);
            ProcessEvents();
            EXPECT_EQ(At().Where, (nested ? "1,0 1,0 " : "1,0 ") + std::to_string(i) + ":1");
            EXPECT_EQ(Faults(before, At()), "");
        }
    }
}

// Pictures, lines, rows and gaps taller than the screen, in lines, a list,
// cells and a table in a cell: PageDown from the start to the end and PageUp
// back, with and without Shift, in views of several heights. Every key
// moves the view on by a scroll unit at least and by a screen at most, so
// that every row of pixels of the document shows on a screen on the way.
// The pages went from above a tall picture or line to the line after it,
// and back to its top, and stopped in front of a table whose top was not
// on a whole scroll unit.
TEST_F(CaretInCells, PagesShowEveryPartOfWhatIsTallerThanTheScreen) {
    f.Form->SetBounds(0, 0, 500, 500);
    TRPRTFReaderProperties* p = f.Edit->GetRTFReadProperties();
    p->TextStyleMode = rprsAddIfNeeded;
    p->ParaStyleMode = rprsAddIfNeeded;
    for (const char* name : {"picture_in_cell", "pictures_on_one_line", "tall_line_in_list", "tall_in_nested_table",
                             "gap", "tall_rows", "pictures_at_both_ends", "tall_ends"}) {
        f.Edit->DestroyCellEditor();
        f.Edit->SetBounds(0, 0, 400, 400);
        f.Edit->Clear();
        ASSERT_TRUE(f.Edit->LoadRTF(PRAVOLIN_SOURCE_DIR "/tests/richtext/edit/tall/" + std::string(name) + ".rtf"));
        f.Edit->Format();
        Show();
        for (const int height : {75, 330})
            for (const auto mods : {Qt::NoModifier, Qt::ShiftModifier}) {
                SCOPED_TRACE(std::string(name) + " " + std::to_string(height) + (mods ? " Shift" : ""));
                f.Edit->DestroyCellEditor();
                f.Edit->SetBounds(0, 0, 400, height);
                ProcessEvents();
                f.Caret(0, 0);
                f.Edit->ScrollTo(0);
                const int h = f.Edit->ClientHeight(), bottom = f.Data()->DocumentHeight;
                ASSERT_GT(bottom, 4 * h);
                for (const uint16_t key : {VK_NEXT, VK_PRIOR}) {
                    // Down to where the screens have shown the document, and back.
                    int shown = h;
                    for (int press = 0; press < 400; ++press) {
                        const int v = V();
                        if (key == VK_NEXT ? v + h >= bottom - 10 : v == 0) break;
                        PressKeyAtFocus(key, mods);
                        ProcessEvents();
                        const int now = V();
                        ASSERT_TRUE(key == VK_NEXT ? now > v : now < v) << "press " << press << " at " << v;
                        ASSERT_LE(std::abs(now - v), h) << "press " << press << " at " << v;
                        shown = std::max(shown, now + h);
                    }
                    if (key == VK_NEXT) {
                        EXPECT_GE(shown, bottom - 10);
                    }
                }
                EXPECT_EQ(V(), 0);
            }
    }
}
