// After edits in and around tables the view shows what the document is: what
// a fresh view of the edited document shows (FreshLayout.h).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "FreshLayout.h"
#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/view/RichPad.h"
#include "support/PaintedArea.h"

namespace {

class TableFreshLayout : public TableInplace {
protected:
    // Text, then a Rows x Cols table of empty cells without widths, then "nach".
    TRPTableItemInfo* BuildAfter(const std::string& Text, int Rows, int Cols) {
        F.Load(Text);
        auto t = TRPTableItemInfo::CreateEx(Rows, Cols, F.Data());
        T = t.get();
        F.Data()->AddItem(std::string(), std::move(t));
        F.Edit->AddText("nach", 0, 0);
        F.Edit->Format();
        F.Edit->ClearUndo();
        return T;
    }
    std::string Fresh() { return DiffFromFreshLayout(*F.Edit); }
    // Seven entries of a numbered list, a 2 x 2 table whose cells hold one
    // entry each (8. to 11.), and one entry more.
    void BuildListThroughTable() {
        AddNumberedList(*F.Style);
        F.Edit->Clear();
        for (int i = 0; i < 7; ++i)
            AddListEntry(*F.Edit, "Punkt");
        auto t = TRPTableItemInfo::CreateEx(2, 2, F.Data());
        T = t.get();
        T->Rows->ForEachCell([](int, int, TRPTableCellData& Cell) {
            Cell.Clear();
            AddListEntry(Cell, "Zelle");
        });
        F.Data()->AddItem(std::string(), std::move(t));
        AddListEntry(*F.Edit, "Punkt");
        F.Edit->Format();
        F.Edit->ClearUndo();
    }
    // The number the first marker of a cell shows, in its editor when open.
    std::string Number(int Row, int Col) const {
        const TCustomRPItemInfo* item = T->GetCell(Row, Col)->GetContentData()->GetItem(0);
        const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(item);
        return m ? m->DisplayString : "-";
    }
    // "vor", a 1 x 2 table whose first cell holds a 1 x 2 table, and "nach";
    // the first cell is opened, then the nested table's second cell. Answers
    // the nested table (nil when a cell did not open).
    TRPTableItemInfo* OpenNestedCell() {
        BuildAfter("vor", 1, 2);
        AddTableInCell(0, 0, 1, 2);
        T->Changed();
        F.Edit->Format();
        if (!Open(0, 0)) return nullptr;
        auto* inner = dynamic_cast<TRPTableItemInfo*>(Editor()->RPData()->GetItem(1));
        if (!inner || !inner->EditCell(-1, 0, 1, false, false, true, false, false)) return nullptr;
        ProcessEvents();
        return inner;
    }
};

// The caret of the host stands in a line that the cell's growth takes away:
// the document became wider than the view, and the paragraph above the table
// went onto one line. Enter after closing the cell breaks the paragraph where
// the caret is, instead of taking the table for text.
TEST_F(TableFreshLayout, TheHostsCaretKeepsItsPlaceWhileTheLinesChangeUnderAnOpenCell) {
    BuildAfter("aaaa bbbb cccc dddd eeee ffff gggg hhhh", 1, 2);
    F.Caret(0, 36);
    ASSERT_GT(F.Data()->DrawItem(F.Data()->CaretDrawItemNo)->Top,
              F.Data()->DrawItem(0)->Top); // the second line
    ASSERT_TRUE(Open(0, 0));
    Type(std::string(45, 'w'));
    EXPECT_EQ(Fresh(), "");
    T->CloseInplaceEditor(true);
    ProcessEvents();
    // One line now: the caret stands where it stood in the text.
    EXPECT_EQ(F.CaretPos(), "0:36");
    EXPECT_EQ(F.Data()->DrawItem(F.Data()->CaretDrawItemNo)->ItemNo, 0);
    Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*F.Data()), "P s0 p0 \"aaaa bbbb cccc dddd eeee ffff gggg \"\n"
                                    "P s0 p0 \"hhhh\"\n"
                                    "P s-60 p0 \"\"\n"
                                    "P s0 p0 \"nach\"\n");
    EXPECT_EQ(Fresh(), "");
    F.Edit->Undo();
    EXPECT_EQ(PlainText(*F.Data()).substr(0, 39), "aaaa bbbb cccc dddd eeee ffff gggg hhhh");
    EXPECT_EQ(Fresh(), "");
}

// Closing a cell, or undoing in it and closing it, lays the table out from
// its cells as a fresh load does: the columns of free width share the line
// by what the cells hold, not by what the cell editor's document measured.
TEST_F(TableFreshLayout, ClosingACellLaysTheTableOutFromItsCells) {
    BuildAfter("vor", 1, 3);
    for (int c = 0; c < 3; ++c) {
        ASSERT_TRUE(Open(0, c));
        Type(std::string(3 + 4 * c, 'a') + " " + std::string(2 + c, 'b'));
    }
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
    ASSERT_TRUE(Open(0, 1));
    Type(" cccccc");
    Focused()->Undo();
    ProcessEvents();
    Key(VK_RETURN);
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
    UndoAll(false);
    EXPECT_EQ(Fresh(), "");
    UndoAll(true);
    EXPECT_EQ(Fresh(), "");
}

// Leaving a cell that nothing changed, whichever way (caret keys and Tab to
// another cell, the caret coming into the table from the line above, the
// program closing the cell), measures no other cell: in a table of 80 rows it
// measures as many characters as in one of 20, and the view shows what a
// fresh view shows.
TEST_F(TableFreshLayout, LeavingACellThatNothingChangedMeasuresNoOtherCell) {
    std::vector<int64_t> measured;
    for (const int rows : {20, 80}) {
        BuildAfter("vor", rows, 3);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 3; ++c) {
                TRPTableCellData* cell = T->GetCell(r, c);
                cell->BestWidth = 80;
                cell->Clear();
                cell->AddNL(std::string(1 + (r * 3 + c) % 5, static_cast<char>('a' + c)), 0, 0);
            }
        T->Changed();
        F.Edit->Format();
        F.Caret(0, 2);
        int64_t chars = 0;
        // Way leaves the edited cell; Cell: the one edited then.
        const auto leave = [&](const std::string& What, const std::string& Cell,
                               const std::function<void()>& Way) {
            {
                TCountingMetrics counted;
                Way();
                chars += counted.Chars;
            }
            EXPECT_EQ(EditedCell(), Cell) << rows << " rows, " << What;
            EXPECT_EQ(Fresh(), "") << rows << " rows, " << What;
        };
        leave("Down from the line above", "0,0", [&] { Key(VK_DOWN); });
        leave("Down", "1,0", [&] { Key(VK_DOWN); });
        leave("Tab", "1,1", [&] { Key(VK_TAB); });
        leave("Down", "2,1", [&] { Key(VK_DOWN); });
        leave("Shift+Tab", "2,0", [&] { Key(VK_TAB, ssShift); });
        leave("Up", "1,0", [&] { Key(VK_UP); });
        leave("closed", "-", [&] {
            T->CloseInplaceEditor(true);
            ProcessEvents();
        });
        measured.push_back(chars);
    }
    EXPECT_EQ(measured[0], measured[1]);
}

// A cell whose edit changed its height or its minimum width, left, moves
// what that change moves: its row, or its column where the column follows
// its cells. Cells of one column edited one after the other, each becoming
// the column's widest or giving that up, leave what a fresh view shows at
// every key and every way out.
TEST_F(TableFreshLayout, LeavingACellLaysOutWhatItsEditChanged) {
    BuildAfter("vor", 4, 2);
    const char* const texts[] = {"wwwwww", "x", "ab", "y", "cd", "z", "ef", "v"};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c) {
            TRPTableCellData* cell = T->GetCell(r, c);
            cell->Clear();
            cell->AddNL(texts[r * 2 + c], 0, 0);
        }
    T->Changed();
    F.Edit->Format();
    const int row = T->FormattingInfo.RowHeights[1], col = T->FormattingInfo.ColWidths[0];
    const auto step = [&](const std::string& What, const std::function<void()>& Edit) {
        Edit();
        EXPECT_EQ(Fresh(), "") << What;
    };
    ASSERT_TRUE(Open(1, 0));
    step("Enter", [&] { Key(VK_RETURN); });
    step("Down", [&] { Key(VK_DOWN); });
    EXPECT_EQ(EditedCell(), "2,0");
    EXPECT_EQ(T->FormattingInfo.RowHeights[1], row + 20);
    for (int i = 0; i < 8; ++i)
        step("typed " + std::to_string(i + 1), [&] { Type("m"); });
    EXPECT_GT(T->FormattingInfo.ColWidths[0], col);
    step("Up", [&] { Key(VK_UP); });
    step("Backspace", [&] { Key(VK_BACK); });
    step("Tab", [&] { Key(VK_TAB); });
    // The widest word of the column goes, a letter at a time, and comes back.
    ASSERT_TRUE(Open(0, 0));
    for (int i = 0; i < 6; ++i)
        step("deleted " + std::to_string(i + 1), [&] { Key(VK_BACK); });
    step("Down", [&] { Key(VK_DOWN); });
    ASSERT_TRUE(Open(2, 0));
    for (int i = 0; i < 8; ++i)
        step("deleted in the row below " + std::to_string(i + 1), [&] { Key(VK_BACK); });
    step("closed", [&] {
        T->CloseInplaceEditor(true);
        ProcessEvents();
    });
    EXPECT_LT(T->FormattingInfo.ColWidths[0], col);
    UndoAll(false);
    EXPECT_EQ(Fresh(), "");
    EXPECT_EQ(T->FormattingInfo.ColWidths[0], col);
}

// A table whose columns all have pixel widths is as wide as they make it, at
// any width of the view: its rows follow its cells after the view's width
// changed, while the cell is edited and after it closed.
TEST_F(TableFreshLayout, ATableOfPixelColumnsFollowsItsCellsAfterTheViewsWidthChanged) {
    BuildAfter("vor", 1, 2);
    T->GetCell(0, 0)->BestWidth = 60;
    T->GetCell(0, 1)->BestWidth = 90;
    T->Changed();
    F.Edit->Format();
    ASSERT_TRUE(T->AllColumnsHavePixelWidths());
    const int row = T->FormattingInfo.RowHeights[0];
    F.Edit->SetBounds(0, 0, 250, 200);
    ProcessEvents();
    ASSERT_TRUE(Open(0, 0));
    Key(VK_RETURN);
    EXPECT_EQ(T->FormattingInfo.RowHeights[0], row + 20);
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(T->FormattingInfo.RowHeights[0], row + 20);
    EXPECT_EQ(Fresh(), "");
    F.Edit->SetBounds(0, 0, 400, 200);
    ProcessEvents();
    ASSERT_TRUE(Open(0, 1));
    Key(VK_BACK);
    Type(std::string(12, 'x'));
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
}

// A table in a cell of a table grows with what is typed into it, and so does
// the row of the table around it.
TEST_F(TableFreshLayout, TheRowAroundANestedTableGrowsWithIt) {
    TRPTableItemInfo* inner = OpenNestedCell();
    ASSERT_NE(inner, nullptr);
    const int row = T->FormattingInfo.RowHeights[0];
    Key(VK_RETURN);
    Key(VK_RETURN);
    inner->CloseInplaceEditor(true);
    ProcessEvents();
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(T->FormattingInfo.RowHeights[0], row + 40);
    EXPECT_EQ(Fresh(), "");
}

// While a cell is edited, the table shows what the document with the edit
// shows, after every edit: the columns of free width follow the cell's
// minimum width also when its height stays (a word shortened or made longer),
// and a cell of empty paragraphs measures as it does closed.
TEST_F(TableFreshLayout, ATableFollowsItsOpenCellAtEveryEdit) {
    BuildAfter("vor", 1, 2);
    ASSERT_TRUE(Open(0, 1));
    const auto step = [&](const std::string& What, const std::function<void()>& Edit) {
        Edit();
        ASSERT_NE(F.Edit->GetCellEditor(), nullptr) << What;
        EXPECT_EQ(Fresh(), "") << What;
    };
    step("Enter", [&] { Key(VK_RETURN); });
    step("a word", [&] { Type("Zwischenergebnis"); });
    const int wide = T->FormattingInfo.ColWidths[1];
    step("Backspace", [&] { Key(VK_BACK); });
    step("Backspace", [&] { Key(VK_BACK); });
    EXPECT_LT(T->FormattingInfo.ColWidths[1], wide);
    step("undo", [&] { Focused()->Undo(); });
    step("redo", [&] { Focused()->Redo(); });
    step("the word selected and cut", [&] {
        for (int i = 0; i < 14; ++i)
            Key(VK_LEFT, ssShift);
        Focused()->CutDef();
    });
    step("pasted twice", [&] {
        Focused()->Paste();
        Focused()->Paste();
    });
    step("Ctrl+Z", [&] { Key('Z', ssCtrl); });
    ASSERT_TRUE(Open(0, 0));
    step("Enter in the other cell", [&] { Key(VK_RETURN); });
    step("Backspace", [&] { Key(VK_BACK); });
}

// A word that grows and shrinks in a column of its own width, becoming the
// column's widest and its narrowest again, leaves the table and the view
// around the cell as they were: the host paints nothing, the cell's editor
// its line. Past the column's width the column widens, and the view follows.
TEST_F(TableFreshLayout, AWordWithinItsColumnsWidthChangesNothingButItsCell) {
    BuildAfter("vor", 3, 2);
    const char* const texts[] = {"eins", "zwei", "drei", "vier", "fuenf", "sechs"};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) {
            TRPTableCellData* cell = T->GetCell(r, c);
            cell->BestWidth = 120;
            cell->Clear();
            cell->AddNL(texts[r * 2 + c], 0, 0);
        }
    T->Changed();
    F.Edit->Format();
    F.Form->Show();
    ASSERT_TRUE(Open(1, 0));
    ProcessEvents();
    const std::vector<int> cols = {T->FormattingInfo.ColWidths[0], T->FormattingInfo.ColWidths[1]};
    TPaintedArea host({F.Edit->ClientWidget()});
    TPaintedArea cell({Editor()->ClientWidget()});
    const auto step = [&](const std::string& What, bool Host) {
        EXPECT_EQ(host.Pixels > 0, Host) << What;
        EXPECT_GT(cell.Pixels, 0) << What;
        host.Pixels = cell.Pixels = 0;
        EXPECT_EQ(Fresh(), "") << What;
    };
    for (int i = 0; i < 6; ++i) {
        Type("w");
        step("typed " + std::to_string(i + 1), false);
    }
    for (int i = 0; i < 6; ++i) {
        Key(VK_BACK);
        step("deleted " + std::to_string(i + 1), false);
    }
    EXPECT_EQ(T->FormattingInfo.ColWidths[0], cols[0]);
    // Wider than the column: the column grows with the word, and shrinks back.
    Type(std::string(16, 'w'));
    step("wider than the column", true);
    EXPECT_GT(T->FormattingInfo.ColWidths[0], cols[0]);
    for (int i = 0; i < 16; ++i)
        Key(VK_BACK);
    step("back within the column", true);
    EXPECT_EQ(T->FormattingInfo.ColWidths[0], cols[0]);
    F.Form->Hide();
}

// Whatever the kind of the columns (of their own widths, percentages,
// sharing the width, a cell spanning two of them, a table in a cell), typing
// a word wider than the others in a cell, one letter at a time, and deleting
// it again, the tables show what a fresh view of the document shows after
// every key; so they do after the table's width changed while the cell is
// edited.
TEST_F(TableFreshLayout, EveryKeyInACellOfEveryKindOfColumnsLeavesWhatAFreshViewShows) {
    enum Kind { Pixels, Percent, Free, Spanning, WidthChanged, Nested };
    for (const Kind kind : {Pixels, Percent, Free, Spanning, WidthChanged, Nested}) {
        // Nested: the table of percentages in a cell of a table whose
        // columns share the width, which follows its minimum width.
        BuildAfter("vor", kind == Nested ? 1 : 3, kind == Nested ? 2 : 3);
        TRPTableItemInfo* typed = kind == Nested ? AddTableInCell(0, 0, 3, 3) : T;
        const bool percent = kind == Percent || kind == Nested;
        const int widths[3] = {percent ? -20 : 70,
                               kind == Nested ? -60
                               : percent      ? -30
                                              : 90,
                               percent ? -20 : 110};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                TRPTableCellData* cell = typed->GetCell(r, c);
                if (kind != Free && kind != WidthChanged) cell->BestWidth = widths[c];
                cell->Clear();
                // The first row's words are the columns' widest until the typing passes them.
                cell->AddNL(std::string(r == 0 ? 6 : 2, static_cast<char>('a' + r * 3 + c)), 0, 0);
            }
        if (kind == Spanning) T->Rows->MergeCells(1, 0, 2, 1, true, false);
        T->Changed();
        F.Edit->Format();
        if (kind == Nested) {
            ASSERT_TRUE(Open(0, 0));
            typed = nullptr;
            for (int i = 0; i < Editor()->ItemCount() && !typed; ++i)
                typed = dynamic_cast<TRPTableItemInfo*>(Editor()->RPData()->GetItem(i));
            ASSERT_NE(typed, nullptr);
        }
        ASSERT_TRUE(typed->EditCell(-1, 1, kind == Spanning ? 0 : 1, false, false, true, false, false))
            << kind;
        ProcessEvents();
        if (kind == WidthChanged) {
            T->SetBestWidth(260);
            ProcessEvents();
            ASSERT_NE(Editor(), nullptr);
            EXPECT_EQ(Fresh(), "");
        }
        for (int i = 0; i < 18; ++i) {
            Type(i % 6 == 5 ? " " : "m");
            ASSERT_EQ(Fresh(), "") << kind << ", typed " << i + 1;
        }
        for (int i = 0; i < 18; ++i) {
            Key(VK_BACK);
            ASSERT_EQ(Fresh(), "") << kind << ", deleted " << i + 1;
        }
    }
}

// A table wider than the view makes the document's width: a word of a cell
// that shrinks or grows within its column of percentages leaves the columns
// as they are, and the document becomes narrower or wider with the table's
// minimum width.
TEST_F(TableFreshLayout, ADocumentAsWideAsItsTableFollowsTheTablesMinimumWidth) {
    BuildAfter("vor", 1, 2);
    for (int c = 0; c < 2; ++c) {
        TRPTableCellData* cell = T->GetCell(0, c);
        cell->BestWidth = -50;
        cell->Clear();
        cell->AddNL(std::string(c == 0 ? 20 : 40, c == 0 ? 'm' : 'w'), 0, 0);
    }
    T->Changed();
    F.Edit->Format();
    ASSERT_GT(F.Data()->TextWidth, F.Edit->ClientWidth());
    ASSERT_TRUE(Open(0, 0));
    const int width = F.Data()->TextWidth;
    for (int i = 0; i < 4; ++i) {
        Key(VK_BACK);
        ASSERT_EQ(Fresh(), "") << "deleted " << i + 1;
    }
    EXPECT_LT(F.Data()->TextWidth, width);
    for (int i = 0; i < 4; ++i) {
        Type("m");
        ASSERT_EQ(Fresh(), "") << "typed " << i + 1;
    }
    EXPECT_EQ(F.Data()->TextWidth, width);
}

// A table nested in an open cell follows its own open cell at every key,
// and so does the table around it; closing the nested cell lays the nested
// table out from its cells, and the table around it follows that too.
TEST_F(TableFreshLayout, TablesAroundANestedOpenCellFollowItAtEveryKey) {
    TRPTableItemInfo* inner = OpenNestedCell();
    ASSERT_NE(inner, nullptr);
    Key(VK_RETURN);
    EXPECT_EQ(Fresh(), "");
    for (const char c : std::string("Zwischenergebnis")) {
        Type(std::string(1, c));
        ASSERT_EQ(Fresh(), "") << c;
    }
    Key(VK_RETURN);
    EXPECT_EQ(Fresh(), "");
    inner->CloseInplaceEditor(true);
    ProcessEvents();
    ASSERT_NE(F.Edit->GetCellEditor(), nullptr);
    EXPECT_EQ(Fresh(), "");
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
}

// Every path that brings a table into an editor's document gives the tables
// in its cells, at every depth, the editor's dotted grid: read from RTF, read
// from the stream, or inserted as a stream.
TEST_F(TableFreshLayout, NestedTablesShowTheGridWhateverPathBroughtThem) {
    BuildAfter("vor", 1, 2);
    TRPTableItemInfo* inner = AddTableInCell(0, 0, 1, 1);
    TRPTableCellData* deepCell = inner->GetCell(0, 0);
    auto deep = TRPTableItemInfo::CreateEx(1, 1, deepCell);
    deepCell->AddItem(std::string(), std::move(deep));
    T->Changed();
    F.Edit->Format();
    const std::string rpf = SaveRPF(*F.Edit);
    const auto grids = [](TCustomRPData& D) {
        std::string s;
        std::function<void(TCustomRPData&)> walk = [&](TCustomRPData& Doc) {
            for (int i = 0; i < Doc.GetItemCount(); ++i)
                if (auto* t = dynamic_cast<TRPTableItemInfo*>(Doc.GetItem(i))) {
                    s += (t->TableState & rptbsEditorDoc) ? 'E' : '-';
                    walk(*t->GetCell(0, 0));
                }
        };
        walk(D);
        return s;
    };
    // Read from the stream.
    F.Edit->Clear();
    ASSERT_TRUE(F.Edit->LoadRPFFromStream(rpf));
    F.Edit->Format();
    EXPECT_EQ(grids(*F.Data()), "EEE");
    EXPECT_EQ(Fresh(), "");
    // Inserted as a stream.
    F.Load("");
    ASSERT_TRUE(F.Edit->InsertRPFFromStream(rpf));
    EXPECT_EQ(grids(*F.Data()), "EEE");
    // From RTF.
    std::string rtf;
    ASSERT_TRUE(F.Edit->SaveRTFToStream(rtf, false));
    F.Edit->Clear();
    ASSERT_TRUE(F.Edit->InsertRTFFromStream(rtf));
    EXPECT_EQ(grids(*F.Data()), "EEE");
    // A view that does not edit shows no grid, at no depth.
    TRichPad* view = NewView();
    ASSERT_TRUE(view->LoadRPFFromStream(rpf));
    EXPECT_EQ(grids(*view->RPData()), "---");
}

// Deleting until the document fits the view takes both scroll bars away, as
// a fresh view of it has none: neither bar stays because the other took the
// room the document needs.
TEST_F(TableFreshLayout, ScrollBarsGoWhenTheDocumentComesToFitTheView) {
    // 290 pixels wide with the margins: wider than the view beside a vertical bar.
    std::string text = std::string(28, 'w');
    for (int i = 0; i < 12; ++i)
        text += "\nzeile";
    F.Load(text);
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_HORZ));
    // The last paragraph away, one at a time: the document comes to fit the
    // view while both bars stand.
    while (F.Data()->GetItemCount() > 2 && F.Edit->ScrollBarVisible(SB_VERT)) {
        const int last = F.Data()->GetItemCount() - 1;
        F.Select(last - 1, 6, last, 6);
        Key(VK_DELETE);
        ASSERT_EQ(Fresh(), "") << F.Data()->GetItemCount() << " paragraphs, " << F.Data()->DocumentHeight
                               << " pixels high";
    }
    EXPECT_GT(F.Data()->GetItemCount(), 5);
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_HORZ));
}

// A document may be taller than the view beside a vertical bar and yet fit
// the view without one, its lines broken at the wider width: then the
// edited view has no bar either, as the view that loads the document.
TEST_F(TableFreshLayout, AVerticalBarGoesWhenTheDocumentFitsTheViewWithoutIt) {
    // Two words 280 pixels wide: one line beside no bar, two beside a bar.
    std::string text = std::string(13, 'a') + " " + std::string(14, 'b');
    for (int i = 0; i < 11; ++i)
        text += "\nzeile";
    F.Load(text);
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    while (F.Data()->GetItemCount() > 9) {
        const int last = F.Data()->GetItemCount() - 1;
        F.Select(last - 1, 6, last, 6);
        Key(VK_DELETE);
        ASSERT_EQ(Fresh(), "") << F.Data()->GetItemCount() << " paragraphs";
    }
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(F.Data()->DrawItemCount(), 9);
    // Enter makes it taller than the view at any width: the bar comes back.
    Key(VK_RETURN);
    EXPECT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
}

// Whatever brings a document back to fitting the view without its vertical
// bar (the undo of what brought the bar, a deletion, a paste undone), the
// bar goes, however many lines the document has beside it: its first and
// last paragraphs take one line of the view without a bar and two beside it.
TEST_F(TableFreshLayout, AVerticalBarGoesAfterEveryEditThatLetsTheDocumentFitWithoutIt) {
    const std::string wide = std::string(13, 'a') + " " + std::string(14, 'b');
    std::string text = wide;
    for (int i = 0; i < 7; ++i)
        text += "\nzeile";
    F.Load(text + "\n" + wide);
    ASSERT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    const auto last = [&] { return F.Data()->GetItemCount() - 1; };
    const auto step = [&](const char* What, bool Bar) {
        EXPECT_EQ(F.Edit->ScrollBarVisible(SB_VERT), Bar) << What;
        EXPECT_EQ(Fresh(), "") << What;
    };
    // Two letters wrap the last paragraph at any width: the bar comes.
    F.Caret(last(), 29);
    Type("xy");
    step("typed", true);
    Key('Z', ssCtrl);
    step("one letter undone", true);
    Key('Z', ssCtrl);
    step("typing undone", false);
    Type("xy");
    Key(VK_BACK);
    step("one letter deleted", true);
    Key(VK_BACK);
    step("both letters deleted", false);
    F.Select(1, 1, 1, 6);
    F.Edit->CopyToClipboard();
    F.Caret(last(), 29);
    F.Edit->Paste();
    ProcessEvents();
    step("pasted", true);
    Key('Z', ssCtrl);
    step("paste undone", false);
    EXPECT_EQ(F.Data()->GetItemText(last()), wide);
}

// A document more than twice as high as the view beside the bar may still
// fit without it: each of its paragraphs takes two lines beside the bar and
// one without.
TEST_F(TableFreshLayout, AVerticalBarGoesFromADocumentOfManyWrappedLines) {
    const std::string wide = std::string(13, 'a') + " " + std::string(14, 'b');
    std::string text = wide;
    for (int i = 0; i < 8; ++i)
        text += "\n" + wide;
    F.Load(text);
    ASSERT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    F.Caret(F.Data()->GetItemCount() - 1, 29);
    Key(VK_RETURN);
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    ASSERT_EQ(F.Data()->DrawItemCount(), 19);
    ASSERT_EQ(Fresh(), "");
    Key(VK_BACK);
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
    // A bar kept where it is not needed keeps its room: the lines stay beside it.
    Key(VK_RETURN);
    F.Edit->DisableNoScroll = true;
    Key(VK_BACK);
    EXPECT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(F.Data()->DrawItemCount(), 18);
}

// A view made wider lays the document out at its new width without the bar
// where the document fits then, with text and with a table whose columns
// share the width.
TEST_F(TableFreshLayout, AVerticalBarGoesWhenTheViewWidens) {
    const std::string wide = std::string(13, 'a') + " " + std::string(14, 'b');
    std::string text = wide;
    for (int i = 0; i < 8; ++i)
        text += "\nzeile";
    F.Edit->SetBounds(0, 0, 150, 200);
    F.Load(text);
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    F.Edit->SetBounds(0, 0, 300, 200);
    ProcessEvents();
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");

    // Two words in the cell take one line at the whole width and two beside the bar.
    F.Edit->SetBounds(0, 0, 150, 200);
    F.Load("zeile\nzeile\nzeile\nzeile\nzeile");
    auto table = TRPTableItemInfo::CreateEx(1, 1, F.Data());
    TRPTableCellData* cell = table->GetCell(0, 0);
    cell->Clear();
    cell->AddNL(std::string(12, 'a') + " " + std::string(12, 'b'), 0, 0);
    cell->AddNL("zelle", 0, 0);
    F.Data()->AddItem(std::string(), std::move(table));
    F.Edit->AddText("nach", 0, 0);
    F.Edit->Format();
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    F.Edit->SetBounds(0, 0, 300, 200);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
}

// What decides whether the view lays a document out again without its bar:
// the least height the document could have at a greater width. A run of
// wrapped lines keeps as many lines as its content needs at that width (a
// line holds no more than the width, a wrap drops a blank or two); of a
// table whose columns share the width, a row gives up no more than the cell
// that gives up the most.
TEST_F(TableFreshLayout, TheLeastHeightAtAGreaterWidthCountsWhatMayJoinOrBecomeLower) {
    const std::string wide = std::string(13, 'a') + " " + std::string(14, 'b');
    F.Edit->SetBounds(0, 0, 200, 600);
    F.Load("eins\n" + wide + "\nzwei");
    TRPEditRPData* d = F.Data();
    // The two words (280 pixels) on two lines of 186.
    ASSERT_EQ(d->DrawItemCount(), 4);
    ASSERT_EQ(d->TextWidth, 186);
    EXPECT_EQ(d->LeastHeightWhenWider(INT_MAX, 17), d->DocumentHeight);
    // Their 270 pixels without the blank the wrap dropped, and a line's
    // height for blanks, fit 186 + 84 and the same.
    EXPECT_EQ(d->LeastHeightWhenWider(INT_MAX, 83), d->DocumentHeight);
    EXPECT_EQ(d->LeastHeightWhenWider(INT_MAX, 84), d->DocumentHeight - 20);
    // Counting stops once the height passes what is asked.
    EXPECT_EQ(d->LeastHeightWhenWider(10, 84), 25);

    // Two cells of one row wrap a line each, a third in the next row does not.
    F.Edit->SetBounds(0, 0, 300, 600);
    BuildAfter("vor", 2, 2);
    const auto fill = [&](int Row, int Col, const std::string& Text) {
        T->GetCell(Row, Col)->Clear();
        T->GetCell(Row, Col)->AddNL(Text, 0, 0);
    };
    fill(0, 0, "aaaaaaaaa bbbbbbbbb");
    fill(0, 1, "ccccccccc ddddddddd");
    fill(1, 0, "eeeeeeeee");
    T->Changed();
    F.Edit->Format();
    ASSERT_EQ(T->GetCell(0, 0)->DrawItemCount(), 2);
    ASSERT_EQ(T->GetCell(0, 1)->DrawItemCount(), 2);
    EXPECT_EQ(T->HeightToLoseWhenWider(17), 0);
    EXPECT_EQ(T->HeightToLoseWhenWider(100), 20);
    EXPECT_EQ(d->LeastHeightWhenWider(INT_MAX, 100), d->DocumentHeight - 20);
    // A table of its own width keeps its rows at any width.
    T->BestWidth = 200;
    EXPECT_EQ(T->HeightToLoseWhenWider(100), 0);
}

// A text style of Size points (with the fixed metrics: as many pixels high
// as Size * 4 / 3, characters half that wide); answers its number.
int AddTextStyle(TRPStyle& Style, int Size) {
    TFontInfo* f = Style.TextStyles().Add();
    f->FontName = "Arial";
    f->Size = Size;
    return Style.TextStyles().Count() - 1;
}

// Laid out wider, a tall word may move up onto a line that is already tall
// while the line after it keeps a small word: as many lines, less height.
// A document that fits the view only so has no vertical bar, after Enter
// and its undo, and after the view was narrower, as the view that loads it.
TEST_F(TableFreshLayout, AVerticalBarGoesWhereATallWordMovesUpOntoATallLine) {
    const int big = AddTextStyle(*F.Style, 30), tiny = AddTextStyle(*F.Style, 6);
    F.Edit->SetBounds(0, 0, 300, 186);
    F.Load("zeile\nzeile\nzeile\nzeile\nzeile\nzeile");
    F.Edit->AddText(std::string(23, 'x') + " ", 0, 0);
    F.Edit->AddText("BB", big, -1);
    F.Edit->AddText(" " + std::string(20, 't'), tiny, -1);
    F.Edit->Format();
    // Without the bar the big word ends the first line (40 + 8 pixels);
    // beside it, it starts the second (20 + 40): 178 and 190 pixels in a
    // view of 182.
    ASSERT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    ASSERT_EQ(F.Data()->DocumentHeight, 178);
    F.Caret(F.Data()->GetItemCount() - 1, 22);
    Key(VK_RETURN);
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    Key('Z', ssCtrl);
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
    F.Edit->SetBounds(0, 0, 250, 186);
    ProcessEvents();
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    F.Edit->SetBounds(0, 0, 300, 186);
    ProcessEvents();
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
}

// Laid out wider, a document may become higher: a tall word joins the first
// line of its paragraph while the second line keeps another. Loaded, the
// view lays it out without the bar, finds it too high, lays it out beside
// the bar, finds that it fits there, and shows it without the bar, its
// lines beside where the bar would stand. A view formatted with the bar
// shown, or made narrower and wide again, ends the same.
TEST_F(TableFreshLayout, ADocumentHigherWhenWiderEndsAsWhenLoaded) {
    const int big = AddTextStyle(*F.Style, 30);
    F.Edit->SetBounds(0, 0, 300, 186);
    const auto build = [&](int Lines) {
        std::string text = "zeile";
        for (int i = 1; i < Lines; ++i)
            text += "\nzeile";
        F.Load(text);
        F.Edit->AddText(std::string(20, 's') + " ", 0, 0);
        F.Edit->AddText("TTT TTT", big, -1);
        F.Edit->Format();
    };
    build(5);
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(F.Data()->DocumentHeight, 170);
    EXPECT_EQ(Fresh(), "");
    // A line more needs the bar at either width; taken away, the view formatted.
    build(6);
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    F.Data()->DeleteItems(0, 1);
    F.Edit->Format();
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
    F.Edit->SetBounds(0, 0, 280, 186);
    ProcessEvents();
    F.Edit->SetBounds(0, 0, 300, 186);
    ProcessEvents();
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
}

// While a cell is edited the vertical bar comes and goes as a fresh view of
// the document decides: a line more in a cell of a table as wide as the
// document brings the bar, and the lines wrapped beside the bar do not keep
// it once that line is gone again.
TEST_F(TableFreshLayout, AVerticalBarGoesWhileACellIsEdited) {
    F.Edit->SetBounds(0, 0, 300, 200);
    F.Load("zeile\nzeile\nzeile\nzeile\nzeile\nzeile");
    auto table = TRPTableItemInfo::CreateEx(1, 1, F.Data());
    T = table.get();
    T->BestWidth = -100;
    TRPTableCellData* cell = T->GetCell(0, 0);
    cell->BestWidth = -100;
    cell->Clear();
    // One line at the whole width, two beside the bar.
    cell->AddNL(std::string(12, 'a') + " " + std::string(14, 'b'), 0, 0);
    F.Data()->AddItem(std::string(), std::move(table));
    F.Edit->AddText("nach", 0, 0);
    F.Edit->Format();
    F.Edit->ClearUndo();
    ASSERT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    ASSERT_TRUE(T->EditCell(-1, 0, 0, false, false, false, true, false));
    Key(VK_RETURN);
    EXPECT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
    Key(VK_BACK);
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(Fresh(), "");
}

// The view becomes wider while a cell is edited: the cell's lines join, its
// table and the document become lower, and the vertical bar goes while the
// view is formatted for its new width. The lines take the width the view has
// without the bar.
TEST_F(TableFreshLayout, LinesFollowABarThatWentWhileTheViewWasFormatted) {
    std::string text;
    for (int i = 0; i < 5; ++i)
        text += "zeile\n";
    BuildAfter(text + "vor", 1, 1);
    std::string words;
    for (int i = 0; i < 10; ++i)
        words += "wort ";
    ASSERT_TRUE(T->EditCell(-1, 0, 0, false, false, true, false, false));
    Type(words);
    T->CloseInplaceEditor(true);
    ProcessEvents();
    ASSERT_TRUE(F.Edit->ScrollBarVisible(SB_VERT));
    ASSERT_TRUE(T->EditCell(-1, 0, 0, false, false, true, false, false));
    F.Edit->SetBounds(0, 0, 560, 200);
    ProcessEvents();
    EXPECT_FALSE(F.Edit->ScrollBarVisible(SB_VERT));
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
}

// A word typed wider than the view widens the document: the lines of the
// paragraphs above it are broken anew at the new width, also those of a
// document whose first item has a line break before it (as editing may
// leave it).
TEST_F(TableFreshLayout, LinesAboveAWordThatWidensTheDocumentTakeTheNewWidth) {
    std::string words;
    for (int i = 0; i < 12; ++i)
        words += "wort ";
    F.Load(words + "\n\nx");
    F.Data()->GetItem(0)->SetLineBreakBefore(true);
    F.Edit->Format();
    ASSERT_FALSE(F.Data()->IsParaStart(0));
    F.Caret(F.Data()->GetItemCount() - 1, 2);
    for (int i = 0; i < 40; ++i) {
        Type("m");
        ASSERT_EQ(Fresh(), "") << i;
    }
}

// A numbered list runs on through the cells of a table. An entry begun or
// ended before the table, or in one of its cells, counts the markers after
// it on, in the cells and after the table, and each takes the width of its
// new number ("9." becomes "10.", and back).
TEST_F(TableFreshLayout, MarkersInCellsTakeTheWidthOfTheirNewNumbers) {
    BuildListThroughTable();
    ASSERT_EQ(Fresh(), "");
    ASSERT_EQ(Number(0, 1), "9.");
    // Enter at the start of an entry adds an empty one before it; Backspace
    // then takes the marker of the entry it stands in.
    const auto enterAndBack = [this] {
        Key(VK_RETURN);
        EXPECT_EQ(Number(0, 1), "10.");
        EXPECT_EQ(Fresh(), "");
        Key(VK_BACK);
        EXPECT_EQ(Number(0, 1), "9.");
        EXPECT_EQ(Fresh(), "");
    };
    F.Caret(1, 1);
    enterAndBack();

    // In the first cell, with its editor open: the cell keeps its number,
    // and the other cells and the entry after the table count on.
    ASSERT_TRUE(T->EditCell(-1, 0, 0, false, false, false, true, false));
    ProcessEvents();
    EXPECT_EQ(Number(0, 0), "8.");
    enterAndBack();
    Key(VK_RETURN);
    T->CloseInplaceEditor(true);
    ProcessEvents();
    EXPECT_EQ(Fresh(), "");
    UndoAll(false);
    EXPECT_EQ(Number(0, 1), "9.");
    EXPECT_EQ(Fresh(), "");
}

// The entry whose number grows stands in a table inside another cell, which
// makes its column as wide as the table is at least. An entry with a long
// word pasted into an open cell before it widens the table past the view:
// the nested table measures its number anew before the document takes the
// table's least width for its own.
TEST_F(TableFreshLayout, AMarkerInANestedTableWidensItsColumnWithItsNumber) {
    BuildListThroughTable();
    T->GetCell(0, 1)->Clear();
    TRPTableItemInfo* inner = AddTableInCell(0, 1, 1, 1);
    inner->GetCell(0, 0)->Clear();
    AddListEntry(*inner->GetCell(0, 0), std::string(20, 'w'));
    F.Edit->SetBounds(0, 0, 700, 300);
    T->Changed();
    F.Edit->Format();
    F.Edit->ClearUndo();
    ASSERT_EQ(Fresh(), "");
    const auto innerNumber = [&] {
        return static_cast<const TRPMarkerItemInfo*>(inner->GetCell(0, 0)->GetItem(0))->DisplayString;
    };
    ASSERT_EQ(innerNumber(), "9.");
    const std::string entry = RPFOf([](TCustomRPData& D) { AddListEntry(D, std::string(50, 'z')); });
    ASSERT_TRUE(T->EditCell(-1, 0, 0, false, false, false, true, false));
    ProcessEvents();
    ASSERT_TRUE(Focused()->InsertRPFFromStream(entry));
    ProcessEvents();
    EXPECT_EQ(innerNumber(), "10.");
    EXPECT_EQ(Fresh(), "");
    UndoAll(false);
    EXPECT_EQ(innerNumber(), "9.");
    EXPECT_EQ(Fresh(), "");
}

// Undoing a merge, or the clearing of cells, puts the cells back in their
// places before their entries join the numbering again.
TEST_F(TableFreshLayout, UndoneGridChangesGiveTheCellsTheirNumbersBack) {
    BuildListThroughTable();
    T->MergeCells(1, 0, 2, 1, true);
    F.Edit->Undo();
    EXPECT_EQ(Number(1, 0), "10.");
    EXPECT_EQ(Number(1, 1), "11.");
    EXPECT_EQ(Fresh(), "");
    // Down a column: the lower cell's entry comes back after the cell before it.
    T->MergeCells(0, 1, 1, 2, true);
    EXPECT_EQ(Number(1, 0), "11.");
    F.Edit->Undo();
    EXPECT_EQ(Number(1, 0), "10.");
    EXPECT_EQ(Number(1, 1), "11.");
    EXPECT_EQ(Fresh(), "");
    T->Select(0, 0, 1, 1);
    T->ClearSelectedCells();
    EXPECT_EQ(Number(1, 0), "-");
    F.Edit->Undo();
    EXPECT_EQ(Number(0, 0), "8.");
    EXPECT_EQ(Number(1, 1), "11.");
    EXPECT_EQ(Fresh(), "");
}

// The check itself finds what differs: a fresh view one pixel wider, and
// text put into a cell past the editor and the table's change notice.
TEST_F(TableFreshLayout, TheCheckFindsAPlantedDifference) {
    BuildAfter("vor", 2, 2);
    ASSERT_EQ(Fresh(), "");
    EXPECT_NE(DiffFromFreshLayout(*F.Edit, 1), "");
    T->GetCell(0, 0)->AddNL(std::string(30, 'w'), 0, 0);
    EXPECT_NE(Fresh(), "");
}

} // namespace
