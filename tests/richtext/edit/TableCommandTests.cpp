// Table commands in an editor: every grid change is one undo step that gives
// back the table exactly as it was, and redo gives the changed one.
#include <functional>

#include "TableEditFixture.h"
#include "richtext/edit/RPTableInplace.h"
#include "support/FormDriver.h"

namespace {

using TableCommands = TableInEditor;

struct TCommandCase {
    const char* Name;
    int Rows, Cols;
    std::function<void(TRPTableRows&)> Prepare; // without undo
    std::function<void(TRPTableItemInfo&)> Run;
    const char* Spans; // the grid after the command
};

TEST_F(TableCommands, EachCommandIsOneStepUndoneToTheSameRPFAndRedone) {
    const TCommandCase cases[] = {
        {"merge", 3, 3, nullptr, [](TRPTableItemInfo& t) { t.MergeCells(0, 1, 2, 2, true); },
         "1x1 2x2 ./1x1 . ./1x1 1x1 1x1"},
        {"insert rows", 2, 2, nullptr, [](TRPTableItemInfo& t) { t.InsertRows(1, 2, 0, false); },
         "1x1 1x1/1x1 1x1/1x1 1x1/1x1 1x1"},
        {"insert rows across a merge", 2, 2, [](TRPTableRows& g) { g.MergeCells(0, 0, 1, 2, true, false); },
         [](TRPTableItemInfo& t) { t.InsertRows(1, 1, -1, false); }, "3x1 1x1/. 1x1/. 1x1"},
        {"insert cols", 2, 2, nullptr, [](TRPTableItemInfo& t) { t.InsertCols(2, 1, 1, false); },
         "1x1 1x1 1x1/1x1 1x1 1x1"},
        {"delete rows", 3, 2, nullptr, [](TRPTableItemInfo& t) { t.DeleteRows(0, 2); }, "1x1 1x1"},
        {"delete cols through a merge", 2, 3, [](TRPTableRows& g) { g.MergeCells(0, 0, 3, 1, true, false); },
         [](TRPTableItemInfo& t) { t.DeleteCols(1, 1, true); }, "1x2 ./1x1 1x1"},
        {"delete every row", 2, 2, nullptr, [](TRPTableItemInfo& t) { t.DeleteRows(0, 2); }, ""},
    };
    for (const TCommandCase& k : cases) {
        SCOPED_TRACE(k.Name);
        Build(k.Rows, k.Cols);
        if (k.Prepare) {
            k.Prepare(*T->Rows);
            F.Edit->Format();
        }
        const std::string before = SaveRPF(*F.Edit);
        k.Run(*T);
        const std::string after = SaveRPF(*F.Edit);
        EXPECT_EQ(Spans(*T->Rows), k.Spans);
        ASSERT_EQ(F.Data()->UndoList->Count(), 1);
        EXPECT_EQ(F.Data()->UndoList->Last()->Action, rpuaModifyItem);
        EXPECT_TRUE(Table()->Rows->IsConsistent());

        // Deleting columns leaves a cell open: the host's step then runs once the cell closed.
        F.Edit->Undo();
        ProcessEvents();
        EXPECT_EQ(SaveRPF(*F.Edit), before);
        EXPECT_FALSE(F.Edit->CanUndo());
        EXPECT_TRUE(Table()->Rows->IsConsistent());
        F.Edit->Redo();
        EXPECT_EQ(SaveRPF(*F.Edit), after);
        EXPECT_EQ(Spans(*Table()->Rows), k.Spans);
        F.Edit->Undo();
        EXPECT_EQ(SaveRPF(*F.Edit), before);
        // The document around the table is untouched and still laid out.
        EXPECT_EQ(PlainText(*F.Data()), "vor\n#\nnach");
        EXPECT_GT(Table()->GetHeight(), 0);
    }
}

TEST_F(TableCommands, DeletingColumnsKeepsACellEditorOpen) {
    // The cell editor at (Row, Col) over that cell, caret at the start, with Text.
    auto expectEditor = [this](int Row, int Col, const std::string& Text) {
        TRPTableInplaceEdit* e = T->InplaceEditor();
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Row, Row);
        EXPECT_EQ(e->Col, Col);
        EXPECT_EQ(e->Cell, T->GetCell(Row, Col));
        EXPECT_EQ(e->Width(), T->GetCell(Row, Col)->Width);
        TRPEditRPData* ed = e->EditData();
        std::string s;
        for (int i = 0; i < ed->GetItemCount(); ++i)
            s += (i ? "|" : "") + ed->GetItemText(i);
        EXPECT_EQ(s, Text);
        EXPECT_EQ(ed->CurItemNo(), 0);
        EXPECT_EQ(ed->OffsetInCurItem(), ed->GetFirstOffsetOfItem(0));
    };
    Build(2, 4);
    ASSERT_TRUE(T->EditCell(-1, 1, 3, true, false, true, false, false));
    // Right of the deleted columns: the edited cell moves left with its column.
    T->DeleteCols(0, 2, false);
    expectEditor(1, 1, "H");
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    // Inside them: the nearest cell that is left.
    T->DeleteCols(1, 1, false);
    expectEditor(1, 0, "G");
    EXPECT_EQ(Spans(*T->Rows), "1x1/1x1");

    // Nothing edited: row 0 where the columns were, clamped, its main cell taken.
    Build(2, 3);
    T->Rows->MergeCells(0, 0, 2, 1, true, false);
    F.Edit->Format();
    T->DeleteCols(2, 1, false);
    expectEditor(0, 0, "A|B");

    // No cells left, or no editing: no editor.
    Build(2, 1);
    T->DeleteCols(0, 1, false);
    EXPECT_EQ(T->InplaceEditor(), nullptr);
    Build(2, 2);
    T->Options &= ~rptoEditing;
    T->DeleteCols(0, 1, false);
    EXPECT_EQ(T->InplaceEditor(), nullptr);
}

TEST_F(TableCommands, UndoingAMergeGivesEveryCoveredCellItsOwnItemsBack) {
    Build(2, 2);
    T->MergeCells(0, 0, 2, 2, true);
    EXPECT_EQ(Text(0, 0), "A|B|C|D");
    F.Edit->Undo();
    T = Table();
    EXPECT_EQ(Spans(*T->Rows), "1x1 1x1/1x1 1x1");
    EXPECT_EQ(Text(0, 0), "A");
    EXPECT_EQ(Text(0, 1), "B");
    EXPECT_EQ(Text(1, 0), "C");
    EXPECT_EQ(Text(1, 1), "D");
    // The restored cells belong to the editor's document again.
    EXPECT_EQ(T->GetCell(1, 1)->GetParentData(), F.Data());
}

TEST_F(TableCommands, DeletedRowsLeaveTheRestOfCrossingCellsWithTheirContent) {
    Build(4, 2);
    T->Rows->MergeCells(0, 0, 1, 3, true, false); // A over rows 0-2, with C and E
    T->Rows->MergeCells(1, 1, 1, 3, true, false); // D over rows 1-3, with F and H
    T->DeleteRows(1, 1);
    EXPECT_EQ(Spans(*T->Rows), "2x1 1x1/. 2x1/1x1 .");
    EXPECT_EQ(Text(0, 0), "A|C|E");
    EXPECT_EQ(Text(1, 1), "D|F|H");
    EXPECT_EQ(Text(2, 0), "G");
    EXPECT_TRUE(T->Rows->IsConsistent());
    EXPECT_THROW(T->DeleteRows(3, 1), ERichPadError);
    EXPECT_THROW(T->DeleteRows(0, 0), ERichPadError);
}

TEST_F(TableCommands, RefusedAndFailedCommandsLeaveNoStep) {
    Build(2, 2);
    T->MergeCells(0, 0, 1, 1, true); // nothing to merge
    EXPECT_THROW(T->DeleteCols(0, 3, false), ERichPadError);
    EXPECT_THROW(T->InsertRows(3, 1, -1, false), ERichPadError);
    EXPECT_THROW(T->InsertCols(0, 1, 2, false), ERichPadError);
    EXPECT_FALSE(F.Edit->CanUndo());
    EXPECT_EQ(Spans(*T->Rows), "1x1 1x1/1x1 1x1");
    // A command after an undone one drops the redo.
    T->InsertRows(0, 1, -1, false);
    F.Edit->Undo();
    T = Table();
    T->InsertCols(0, 1, -1, false);
    EXPECT_FALSE(F.Edit->CanRedo());
}

TEST_F(TableCommands, InsertedRowsAndColsCanBecomeTheSelection) {
    Build(2, 3);
    T->InsertRows(2, 2, -1, true);
    EXPECT_TRUE(T->TableState & rptbsCellsSelected);
    EXPECT_EQ(T->SelStartRow, 2);
    EXPECT_EQ(T->SelStartCol, 0);
    EXPECT_EQ(T->SelRowOffs, 1);
    EXPECT_EQ(T->SelColOffs, 2);
    T->InsertCols(1, 1, 0, true);
    EXPECT_EQ(T->SelStartRow, 0);
    EXPECT_EQ(T->SelStartCol, 1);
    EXPECT_EQ(T->SelRowOffs, 3);
    EXPECT_EQ(T->SelColOffs, 0);
    // Deleting forgets a selection whose cells may be gone.
    T->DeleteCols(1, 1, false);
    EXPECT_FALSE(T->TableState & rptbsCellsSelected);
    EXPECT_EQ(T->SelStartRow, -1);
    // Two inserts were two steps.
    EXPECT_EQ(F.Data()->UndoList->Count(), 3);
}

TEST_F(TableCommands, ClearingSelectedCellsSkipsThoseTheOwnerKeepsAndIsOneStep) {
    Build(2, 3);
    EXPECT_FALSE(T->CanClearSelectedCells());
    T->Select(0, 0, 1, 1);
    T->OnCellEditing = [](TRPTableItemInfo*, int Row, int Col, bool Automatic, bool& Allow) {
        EXPECT_TRUE(Automatic);
        Allow = !(Row == 1 && Col == 0);
    };
    const std::string before = SaveRPF(*F.Edit);
    ASSERT_TRUE(T->CanClearSelectedCells());
    T->ClearSelectedCells();
    EXPECT_EQ(Text(0, 0) + "," + Text(0, 1) + "," + Text(0, 2), ",,C");
    EXPECT_EQ(Text(1, 0) + "," + Text(1, 1), "D,");
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    // Editing switched off protects every cell.
    T = Table();
    T->Select(0, 0, 0, 0);
    T->Options &= ~rptoEditing;
    EXPECT_FALSE(T->CanClearSelectedCells());
}

} // namespace
