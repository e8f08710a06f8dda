// Editing a table cell in place: the editor over the cell, keys that move
// between cells and out of the table, writing back, and one undo history
// through cell and host.
#include <gtest/gtest.h>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "richtext/edit/RPTableInplace.h"
#include "support/FormDriver.h"

namespace {

class TableInplace : public TableInEditor {
protected:
    // Keys and characters go where the keyboard focus is, as they would.
    TCustomRichPadEdit* Focused() const {
        auto* e = dynamic_cast<TCustomRichPadEdit*>(F.Form->ActiveControl());
        return e ? e : F.Edit;
    }
    void Key(uint16_t K, TShiftState Shift = 0) {
        Focused()->SendKey(K, Shift);
        ProcessEvents();
    }
    void Type(const std::string& Text) {
        for (char c : Text)
            Focused()->SendChar(static_cast<unsigned char>(c));
        ProcessEvents();
    }
    TRPTableInplaceEdit* Editor() const { return Table()->InplaceEditor(); }
    // "row,col" of the edited cell, "-" without an editor.
    std::string EditedCell() const {
        int r = -1, c = -1;
        return Table()->GetEditedCell(r, c) ? std::to_string(r) + "," + std::to_string(c) : "-";
    }
    std::string EditorText() const { return Editor() ? PlainText(*Editor()->EditData()) : "-"; }
    std::string EditorCaret() const {
        TRPEditRPData* d = Editor()->EditData();
        return std::to_string(d->CurItemNo()) + ":" + std::to_string(d->OffsetInCurItem());
    }
    bool Open(int Row, int Col, bool AtEnd = true) {
        return Table()->EditCell(-1, Row, Col, false, false, AtEnd, !AtEnd, false);
    }
};

TEST_F(TableInplace, TypingInACellWritesBackWhenTheEditorCloses) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 1));
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(Focused(), Editor());
    // The editor lies over its cell and holds the cell's items meanwhile.
    const TRPTableCellData* cell = T->GetCell(0, 1);
    EXPECT_EQ(cell->GetItemCount(), 0);
    EXPECT_EQ(EditorText(), "B");
    int x = 0, y = 0;
    ASSERT_TRUE(F.Data()->GetItemClientCoords(1, x, y));
    EXPECT_EQ(Editor()->Left(), x + cell->Left);
    EXPECT_EQ(Editor()->Width(), cell->Width);
    Type("xy");
    EXPECT_EQ(EditorText(), "Bxy");
    EXPECT_TRUE(F.Edit->Modified);
    T->CloseInplaceEditor(true);
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(Text(0, 1), "Bxy");
    EXPECT_EQ(F.Edit->GetCellEditor(), nullptr);
}

TEST_F(TableInplace, TabWalksTheCellsAndCtrlTabTypesATab) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 0));
    Key(VK_TAB);
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(EditorCaret(), "0:1");
    Key(VK_TAB);
    EXPECT_EQ(EditedCell(), "1,0");
    Key(VK_TAB, ssShift);
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(EditorCaret(), "0:2");
    // Shift+Tab at the first cell and Tab at the last stay put.
    Key(VK_TAB, ssShift);
    Key(VK_TAB, ssShift);
    EXPECT_EQ(EditedCell(), "0,0");
    ASSERT_TRUE(Open(1, 1));
    Key(VK_TAB);
    EXPECT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(T->Rows->RowCount(), 2);
    Key(VK_TAB, ssCtrl);
    EXPECT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(EditorText(), "D" + std::string(static_cast<size_t>(F.Style->SpacesInTab), ' '));
}

TEST_F(TableInplace, ArrowsLeaveTheTableAtItsEdgesAndEnterIt) {
    Build(2, 2);
    // From before the table Right enters the first cell, at its start.
    F.Caret(1, 0);
    Key(VK_RIGHT);
    EXPECT_EQ(EditedCell(), "0,0");
    EXPECT_EQ(EditorCaret(), "0:1");
    // Left at the start of the first cell goes before the table.
    Key(VK_LEFT);
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.CaretPos(), "1:0");
    EXPECT_EQ(Focused(), F.Edit);
    // Up in the first row goes before it too.
    ASSERT_TRUE(Open(0, 1));
    Key(VK_UP);
    EXPECT_EQ(F.CaretPos(), "1:0");
    // Right at the end of a row's last cell goes on to the next row.
    ASSERT_TRUE(Open(0, 1));
    Key(VK_RIGHT);
    EXPECT_EQ(EditedCell(), "1,0");
    EXPECT_EQ(EditorCaret(), "0:1");
    // Right at the end of the last cell, and Down in the last row, go after it.
    ASSERT_TRUE(Open(1, 1));
    Key(VK_RIGHT);
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.CaretPos(), "1:1");
    ASSERT_TRUE(Open(1, 0));
    Key(VK_DOWN);
    EXPECT_EQ(F.CaretPos(), "1:1");
    // From after the table Left enters the last cell at its end.
    Key(VK_LEFT);
    EXPECT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(EditorCaret(), "0:2");
    // Down and Up move between the rows.
    Key(VK_UP);
    EXPECT_EQ(EditedCell(), "0,1");
    Key(VK_DOWN);
    EXPECT_EQ(EditedCell(), "1,1");
}

} // namespace
