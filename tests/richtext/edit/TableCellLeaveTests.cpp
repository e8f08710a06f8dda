// What the host editor is left with when the editor of a table cell closes,
// whichever way the user closes it: clicks of any button outside the cell,
// caret keys that leave the table, or the program closing it. The host's
// caret is then shown and answers to the keys, and nothing of the table
// stays selected.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "support/FormDriver.h"

namespace {

class TableCellLeave : public TableInplace {
protected:
    // A 3 x 2 table between "vor" and "nach", on a shown form with the keys at the editor.
    void BuildShown() {
        Build(3, 2);
        ShowAndActivate(F.Form.get());
        F.Edit->SetFocus();
        ProcessEvents();
    }
    // A click at (X, Y) of the editor's client area as the window system
    // delivers it: the press to the window under the pointer (an open cell
    // editor), the release to the window that took the mouse meanwhile.
    void ClickAt(int X, int Y, Qt::MouseButton Button = Qt::LeftButton) {
        QWidget* client = F.Edit->ClientWidget();
        QWidget* under = client->childAt(QPoint(X, Y));
        if (!under) under = client;
        const QPointF global = client->mapToGlobal(QPointF(X, Y));
        QMouseEvent press(QEvent::MouseButtonPress, under->mapFromGlobal(global), global, Button, Button,
                          Qt::NoModifier);
        QApplication::sendEvent(under, &press);
        const QPointer<QWidget> to = QWidget::mouseGrabber() ? QWidget::mouseGrabber() : under;
        if (to) {
            QMouseEvent release(QEvent::MouseButtonRelease, to->mapFromGlobal(global), global, Button,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(to, &release);
        }
        ProcessEvents();
    }
    // A click into a cell of a table in the document of In: Dx, Dy from its
    // corner, or into its middle.
    void ClickCell(TRPTableItemInfo& Table, TCustomRichPadEdit& In, int Row, int Col, int Dx = -1,
                   int Dy = -1) {
        int x = 0, y = 0;
        ASSERT_TRUE(In.EditData()->GetItemClientCoords(Table.GetItemNo(), x, y));
        const TRPTableCellData* c = Table.GetCell(Row, Col);
        // The point in the host's client area: a cell editor lies at its own place in it.
        for (TCustomRichPad* e = &In; e != F.Edit; e = static_cast<TRPTableInplaceEdit*>(e)->HostControl) {
            x += e->Left();
            y += e->Top();
        }
        ClickAt(x + c->Left + (Dx < 0 ? c->Width / 2 : Dx), y + c->Top + (Dy < 0 ? c->Height / 2 : Dy));
    }
    // A point of the editor's client area on item ItemNo, Dx pixels from its left.
    TPoint OnItem(int ItemNo, int Dx) {
        int x = 0, y = 0;
        EXPECT_TRUE(F.Data()->GetItemClientCoords(ItemNo, x, y));
        return {x + Dx, y + 5};
    }
    std::string Caret() const { return F.CaretPos(); }
    // Caret keys and a letter as the user types them, with the caret after
    // each: Ctrl+Home, Ctrl+End, Home, Left, Ctrl+Home and "q".
    std::string KeysAndLetter() {
        std::string s;
        for (const auto& [key, mods] : {std::pair{VK_HOME, Qt::ControlModifier},
                                        {VK_END, Qt::ControlModifier},
                                        {VK_HOME, Qt::NoModifier},
                                        {VK_LEFT, Qt::NoModifier},
                                        {VK_HOME, Qt::ControlModifier}}) {
            PressKeyAtFocus(key, mods);
            ProcessEvents();
            s += Caret() + " ";
        }
        TypeAtFocus(QStringLiteral("q"));
        ProcessEvents();
        return s + Caret();
    }
};

// Every way the user closes a cell opened by a click into the middle row:
// afterwards the table holds no selection, the host's caret shows, the caret
// keys move it to the document's ends and the typed letter lands there. A
// right or middle click where no text is used to leave the table partly
// selected: the caret hidden and its reported place stuck at the table.
TEST_F(TableCellLeave, EveryWayOfClosingTheCellLeavesTheCaretToTheKeys) {
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"a click on the text below", [&] { ClickAt(OnItem(2, 2).x, OnItem(2, 2).y); }},
        {"a click below the text", [&] { ClickAt(150, 180); }},
        {"a right click on the text above",
         [&] { ClickAt(OnItem(0, 3).x, OnItem(0, 3).y, Qt::RightButton); }},
        {"a right click below the text", [&] { ClickAt(150, 180, Qt::RightButton); }},
        {"a right click beside the text",
         [&] { ClickAt(OnItem(2, 150).x, OnItem(2, 150).y, Qt::RightButton); }},
        {"a middle click below the text", [&] { ClickAt(150, 180, Qt::MiddleButton); }},
        {"Down twice",
         [&] {
             Key(VK_DOWN);
             Key(VK_DOWN);
         }},
        {"Ctrl+End in the cell", [&] { Key(VK_END, ssCtrl); }},
        {"the program", [&] { T->CloseInplaceEditor(true); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        BuildShown();
        ClickCell(*T, *F.Edit, 1, 0);
        ASSERT_EQ(EditedCell(), "1,0");
        Type("x");
        close();
        ProcessEvents();
        ASSERT_EQ(EditedCell(), "-");
        EXPECT_EQ(Text(1, 0), "Cx");
        EXPECT_EQ(F.Data()->PartialSelectedItem, nullptr);
        EXPECT_FALSE(F.Data()->SelectionExists(false, true));
        EXPECT_EQ(Focused(), F.Edit);
        const TRect caret = F.Data()->CaretRect();
        EXPECT_GT(caret.Bottom, caret.Top);
        // Left from the last line goes to the end of the table, which it does not enter.
        EXPECT_EQ(KeysAndLetter(), "0:1 2:5 2:1 1:1 0:1 0:2");
        EXPECT_EQ(PlainText(*F.Data()), "qvor\n#\nnach");
        EXPECT_EQ(Text(1, 0), "Cx");
    }
}

// The same for a table inside a cell: closing the outer cell closes the
// inner one, and neither table stays selected in the document holding it.
TEST_F(TableCellLeave, ClosingAroundATableInACellLeavesNothingSelected) {
    Build(3, 2);
    TRPTableItemInfo* inner = AddTableInCell(1, 1, 1, 2);
    T->Changed();
    F.Edit->Format();
    ShowAndActivate(F.Form.get());
    F.Edit->SetFocus();
    ProcessEvents();
    // On the line of the cell's "D", beside it.
    ClickCell(*T, *F.Edit, 1, 1, T->CellPadding + 15, T->CellPadding + 5);
    ASSERT_EQ(EditedCell(), "1,1");
    ASSERT_EQ(inner->InplaceEditor(), nullptr);
    TRPTableInplaceEdit* outer = Editor();
    ClickCell(*inner, *outer, 0, 1);
    ASSERT_NE(inner->InplaceEditor(), nullptr);
    Type("y");
    TRPEditRPData* outerData = outer->EditData();
    // A right click beside the outer cell's text closes the inner cell only.
    int x = 0, y = 0;
    ASSERT_TRUE(outerData->GetItemClientCoords(0, x, y));
    ClickAt(outer->Left() + x + 12, outer->Top() + y + 5, Qt::RightButton);
    ASSERT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(inner->InplaceEditor(), nullptr);
    EXPECT_EQ(outerData->PartialSelectedItem, nullptr);
    EXPECT_EQ(Focused(), outer);
    // The outer cell's caret stands at the inner table; the keys move it
    // before and after the table and up to the line of "D".
    const auto caret = [&] {
        return std::to_string(outerData->CurItemNo()) + ":" + std::to_string(outerData->OffsetInCurItem());
    };
    std::string moves;
    for (const uint16_t key : {VK_HOME, VK_END, VK_UP}) {
        PressKeyAtFocus(key);
        ProcessEvents();
        moves += caret() + " ";
    }
    EXPECT_EQ(moves, "1:0 1:1 0:2 ");
    // Open again; a right click below the document closes both.
    ClickCell(*inner, *outer, 0, 0);
    ASSERT_NE(inner->InplaceEditor(), nullptr);
    ClickAt(150, 180, Qt::RightButton);
    ASSERT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.Data()->PartialSelectedItem, nullptr);
    EXPECT_EQ(KeysAndLetter(), "0:1 2:5 2:1 1:1 0:1 0:2");
    EXPECT_EQ(PlainText(*inner->GetCell(0, 1)), "y");
}

} // namespace
