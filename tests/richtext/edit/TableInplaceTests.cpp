// Editing a table cell in place: the editor over the cell, keys that move
// between cells and out of the table, writing back, and one undo history
// through cell and host.
#include <gtest/gtest.h>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPStyle.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <iterator>
#include <random>
#include <set>

namespace {

TEST_F(TableInplace, TypingInACellWritesBackWhenTheEditorCloses) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 1));
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(Focused(), Editor());
    // A cell without colour shows the table's; a new cell colour shows at once.
    EXPECT_EQ(Editor()->Color(), T->Color);
    T->GetCell(0, 1)->SetColor(clYellow);
    EXPECT_EQ(Editor()->Color(), clYellow);
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

// Padding and colour of the table change under an open cell editor, which
// takes them and stays open with what was typed; one undo each.
TEST_F(TableInplace, PaddingAndColourReachTheOpenEditor) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 1));
    Type("xy");
    T->SetCellPadding(6);
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(T->CellPadding, 6);
    EXPECT_EQ((std::vector<int>{Editor()->LeftMargin, Editor()->RightMargin, Editor()->TopMargin,
                                Editor()->BottomMargin}),
              (std::vector<int>{6, 6, 6, 6}));
    EXPECT_EQ(Editor()->Width(), T->GetCell(0, 1)->Width);
    // The editor's lines start inside the new margin.
    ASSERT_GT(Editor()->EditData()->DrawItemCount(), 0);
    EXPECT_EQ(Editor()->EditData()->DrawItem(0)->Left, 6);
    EXPECT_EQ(EditorText(), "Bxy");
    T->SetColor(clAqua);
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(Editor()->Color(), clAqua);
    EXPECT_FALSE(Editor()->TransparentCell);
    T->SetColor(clNone);
    EXPECT_TRUE(Editor()->TransparentCell);
    T->CloseInplaceEditor(true);
    F.Edit->Undo();
    EXPECT_EQ(T->Color, clAqua);
    F.Edit->Undo();
    EXPECT_EQ(T->Color, clWindow);
    F.Edit->Undo();
    EXPECT_EQ(T->CellPadding, 1);
    EXPECT_EQ(Text(0, 1), "Bxy");
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
    // Up from the line below enters the last row in the column under the caret.
    T->CloseInplaceEditor(true);
    F.Caret(2, 5);
    Key(VK_UP);
    EXPECT_EQ(EditedCell(), "1,0");
    EXPECT_EQ(EditorCaret(), "0:2");
    // Down from the line above enters the first row, at the cell's start.
    T->CloseInplaceEditor(true);
    F.Caret(0, 2);
    Key(VK_DOWN);
    EXPECT_EQ(EditedCell(), "0,0");
    EXPECT_EQ(EditorCaret(), "0:1");
    // With Shift the caret selects over the table instead.
    T->CloseInplaceEditor(true);
    F.Caret(0, 2);
    Key(VK_DOWN, ssShift);
    EXPECT_EQ(EditedCell(), "-");
}

} // namespace

namespace {

TEST_F(TableInplace, UndoAndRedoRunThroughCellAndHostAsOneHistory) {
    Build(2, 2);
    const std::string start = SaveRPF(*F.Edit);
    F.Caret(2, 5);
    F.Type("!");
    ASSERT_TRUE(Open(1, 0));
    Type("xy");
    Key(VK_RETURN);
    Type("z");
    Key(VK_TAB);
    Type("q");
    T->CloseInplaceEditor(true);
    EXPECT_EQ(Text(1, 0), "Cxy|z");
    EXPECT_EQ(Text(1, 1), "qD");
    // The cells' steps are one host step each, of the item modification kind.
    ASSERT_EQ(F.Data()->UndoList->Count(), 3);
    EXPECT_EQ(F.Data()->UndoList->Group(1)->Action, rpuaModifyItem);
    EXPECT_EQ(F.Data()->UndoList->Group(2)->Action, rpuaModifyItem);
    const std::string edited = SaveRPF(*F.Edit);
    UndoAll(false);
    EXPECT_EQ(SaveRPF(*F.Edit), start);
    UndoAll(true);
    EXPECT_EQ(SaveRPF(*F.Edit), edited);
}

TEST_F(TableInplace, UndoInAFreshCellUndoesTheHostsLastStep) {
    Build(2, 2);
    F.Caret(2, 5);
    F.Type("!");
    ASSERT_TRUE(Open(0, 0));
    Key('Z', ssCtrl);
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.Data()->GetItemText(2), "nach");
    EXPECT_FALSE(F.Edit->CanUndo());
    // A cell's own steps come first.
    ASSERT_TRUE(Open(0, 0));
    Type("w");
    Key('Z', ssCtrl);
    EXPECT_EQ(EditedCell(), "0,0");
    EXPECT_EQ(EditorText(), "A");
    EXPECT_TRUE(F.Edit->CanRedo());
}

TEST_F(TableInplace, EnterInACellGrowsTheRowAndMovesTheText) {
    Build(2, 2);
    int x0 = 0, nachTop = 0;
    ASSERT_TRUE(F.Data()->GetItemCoords(2, x0, nachTop));
    const int rowHeight = T->FormattingInfo.RowHeights[0];
    ASSERT_TRUE(Open(0, 1));
    const int editorHeight = Editor()->Height();
    Key(VK_RETURN);
    Type("b");
    EXPECT_EQ(EditorText(), "B\nb");
    EXPECT_EQ(T->FormattingInfo.RowHeights[0], rowHeight + 20);
    EXPECT_EQ(Editor()->Height(), editorHeight + 20);
    int y = 0;
    ASSERT_TRUE(F.Data()->GetItemCoords(2, x0, y));
    EXPECT_EQ(y, nachTop + 20);
    // Typing on the same line leaves the layout alone.
    T->TableState &= ~rptbsChanged;
    Type("c");
    EXPECT_FALSE(T->TableState & rptbsChanged);
}

TEST_F(TableInplace, SavingWhileACellIsEditedKeepsItsText) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 0));
    Type("bc");
    // The log book saved while the caret is in a cell: nothing of it is lost.
    std::string rtf;
    ASSERT_TRUE(F.Edit->SaveRTFToStream(rtf, false));
    EXPECT_NE(rtf.find("Abc"), std::string::npos);
    const std::string rpf = SaveRPF(*F.Edit);
    std::string text;
    ASSERT_TRUE(F.Edit->SaveTextToStream("", text, 80, false, false));
    EXPECT_NE(text.find("Abc"), std::string::npos);
    // The writers' copy does not stay in the cell, where the next write would free it.
    EXPECT_EQ(T->GetCell(0, 0)->GetItemCount(), 0);
    Type("d");
    T->CloseInplaceEditor(true);
    EXPECT_EQ(Text(0, 0), "Abcd");
    F.Edit->Clear();
    F.Edit->LoadRPFFromStream(rpf);
    EXPECT_EQ(static_cast<TRPTableItemInfo*>(F.Data()->GetItem(1))->GetCell(0, 0)->GetItemText(0), "Abc");
}

// Text pasted at the end of a cell's centred paragraph brings a line after a
// line break: closed, the cell holds that line centred, as the document read
// again holds it, and the document's stream reads back to the byte.
TEST_F(TableInplace, ALinePastedIntoACellsParagraphTakesItsStyle) {
    Build(2, 2);
    T->GetCell(1, 0)->Clear();
    T->GetCell(1, 0)->AddNL("Zelle", 0, 1);
    F.Edit->Format();
    ASSERT_TRUE(Open(1, 0));
    ASSERT_TRUE(Focused()->InsertRPFFromStream(
        "-8 1 3\r\n0 1 -1 0 0 0\r\n und\r\n0 1 0 4 0 0\r\nnoch eine Zeile\r\n0 1 0 0 0 0\r\ndanach\r\n"));
    T->CloseInplaceEditor(true);
    ASSERT_EQ(EditedCell(), "-");
    EXPECT_EQ(DumpItems(*T->GetCell(1, 0)),
              "P s0 p1 \"Zelle und\"\nB s0 p1 \"noch eine Zeile\"\nP s0 p0 \"danach\"\n");
    F.Edit->Format();
    const std::string rpf = SaveRPF(*F.Edit);
    TRichPadEdit fresh(F.Form.get());
    fresh.SetParent(F.Form.get());
    fresh.SetBounds(F.Edit->Left(), F.Edit->Top(), F.Edit->Width(), F.Edit->Height());
    fresh.SetStyle(F.Style.get());
    fresh.Clear();
    ASSERT_TRUE(fresh.LoadRPFFromStream(rpf));
    fresh.Format();
    EXPECT_EQ(SaveRPF(fresh), rpf);
    auto* back = static_cast<TRPTableItemInfo*>(fresh.RPData()->GetItem(1));
    EXPECT_EQ(DumpItems(*back->GetCell(1, 0)), DumpItems(*T->GetCell(1, 0)));
}

TEST_F(TableInplace, ClearingOrDestroyingTheHostTakesTheEditorAlong) {
    Build(2, 2);
    ASSERT_TRUE(Open(1, 1));
    Type("x");
    F.Edit->Clear();
    EXPECT_EQ(F.Edit->GetCellEditor(), nullptr);
    EXPECT_EQ(F.Edit->EditedCellItem, nullptr);
    Build(2, 2);
    ASSERT_TRUE(Open(0, 0));
    // Closing a table command's way and deleting the table both close it.
    T->InsertRows(0, 1, -1, false);
    EXPECT_EQ(EditedCell(), "-");
    ASSERT_TRUE(Open(1, 0));
    Type("k");
    // The editing commands now go to the cell: the table goes by the document's own deletion.
    F.Data()->SetSelectionBounds(0, 0, 2, 4);
    ASSERT_TRUE(F.Data()->DeleteSelectionWithUndo());
    EXPECT_EQ(F.Edit->GetCellEditor(), nullptr);
    EXPECT_EQ(F.Data()->GetItemCount(), 1);
    F.Edit->Undo();
    EXPECT_EQ(Table()->GetCell(1, 0)->GetItemText(0), "Ak");
}

// A focused cell closed by the program (a table command, the log book's own
// code) leaves the focus with the host: the keys of the on-screen keyboard
// and of the keyboard type there, also after the form was hidden and shown
// again. A cell of a table in a cell closes with its outer cell.
TEST_F(TableInplace, AFocusedCellClosedInCodeLeavesTheKeysWithTheHost) {
    Build(2, 2);
    TRPTableItemInfo* in = AddTableInCell(1, 0, 1, 1);
    F.Edit->Format();
    ShowAndActivate(F.Form.get());
    const auto typeEveryWay = [] {
        keybd_event('1', 0, 0, 0);
        keybd_event('1', 0, KEYEVENTF_KEYUP, 0);
        InjectChar(u'2');
        TypeAtFocus(QStringLiteral("3"));
        ProcessEvents();
    };
    std::string host = "nach";
    for (const bool nested : {false, true}) {
        if (nested)
            in->EditCellAt(0, 0, false);
        else
            ASSERT_TRUE(Open(0, 1));
        ProcessEvents();
        TCustomRichPadEdit* cell = nested ? in->InplaceEditor() : Editor();
        ASSERT_NE(cell, nullptr);
        ASSERT_EQ(F.Form->ActiveControl(), cell);
        T->CloseInplaceEditor(true);
        EXPECT_EQ(EditedCell(), "-");
        EXPECT_EQ(F.Edit->GetCellEditor(), nullptr);
        EXPECT_EQ(F.Form->ActiveControl(), F.Edit);
        F.Caret(2, static_cast<int>(host.size()) + 1);
        typeEveryWay();
        F.Form->Hide();
        ProcessEvents();
        ShowAndActivate(F.Form.get());
        // As the window manager activates it again (the offscreen platform does not).
        QApplication::setActiveWindow(F.Form->Widget());
        EXPECT_EQ(F.Form->ActiveControl(), F.Edit);
        typeEveryWay();
        host += "123123";
        EXPECT_EQ(F.Data()->GetItemText(2), host);
        EXPECT_EQ(Text(0, 1), "B");
    }
}

} // namespace

namespace {

TEST_F(TableInplace, HostCommandsAndCopyWorkInTheEditedCell) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 1));
    // What the program does through the log book's control happens in the cell.
    F.Edit->InsertText("12", false);
    EXPECT_EQ(EditorText(), "B12");
    F.Edit->SetCurTextStyleNo(1);
    EXPECT_EQ(Editor()->EditData()->CurTextStyleNo, 1);
    EXPECT_EQ(F.Edit->CurTextStyleNo(), 1);
    EXPECT_EQ(F.Data()->CurTextStyleNo, 0);
    F.Edit->ApplyParaStyle(1);
    EXPECT_EQ(Editor()->EditData()->GetItem(0)->ParaNo, 1);
    EXPECT_EQ(F.Data()->GetItem(0)->ParaNo, 0);
    // Ctrl+C copies the cell's selection, by key and through the host alike.
    Editor()->SelectAll();
    Key('C', ssCtrl);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("B12"));
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(F.Edit->CopyToClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("B12"));
    F.Edit->Undo();
    EXPECT_EQ(EditorText(), "B12");
    EXPECT_EQ(Editor()->EditData()->GetItem(0)->ParaNo, 0);
    T->CloseInplaceEditor(true);
    EXPECT_EQ(Text(0, 1), "B12");
}

} // namespace

namespace {

void ClickAt(TWinControl* Control, int X, int Y) {
    MouseClickAt(Control, X, Y);
    ProcessEvents();
}

TEST_F(TableInplace, TheEditedCellAnswersForTheSelectionAndASelectedTableForItsCells) {
    Build(2, 2);
    F.Select(0, 1, 0, 3);
    ASSERT_TRUE(Open(0, 1));
    // The table is the host's selection while its cell is edited.
    int si, so, ei, eo;
    F.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ((std::vector<int>{si, so, ei, eo}), (std::vector<int>{1, 0, 1, 1}));
    EXPECT_FALSE(F.Data()->SelectionExists(false, false));
    Editor()->SelectAll();
    EXPECT_TRUE(F.Data()->SelectionExists(false, false));
    // Releasing selections keeps the editor of the table excepted, and only that.
    F.Data()->ReleasePartialSelections(T);
    ASSERT_NE(Editor(), nullptr);
    F.Data()->ReleasePartialSelections(nullptr);
    ProcessEvents();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Text(0, 1), "B");
    EXPECT_FALSE(F.Data()->SelectionExists(false, false));
    // A selection around the table covers every position of its cells.
    F.Select(0, 1, 2, 3);
    EXPECT_TRUE(T->GetCell(1, 0)->IsPositionInSelection(0, 1));
    F.Select(0, 1, 0, 3);
    EXPECT_FALSE(T->GetCell(1, 0)->IsPositionInSelection(0, 1));
}

TEST_F(TableInplace, ClearUndoWithACellOpenClearsTheCellsStepsAndTheHosts) {
    Build(2, 2);
    F.Caret(0, 4);
    Type("x");
    ASSERT_TRUE(Open(0, 1));
    Type("y");
    ASSERT_TRUE(Editor()->CanUndo());
    F.Edit->ClearUndo();
    EXPECT_FALSE(Editor()->CanUndo());
    EXPECT_EQ(F.Data()->UndoList->Count(), 0);
    EXPECT_FALSE(F.Edit->CanUndo());
}

TEST_F(TableInplace, ARightClickInTheCellTellsTheHostWhereItIsInTheHost) {
    Build(2, 2);
    F.Form->Show();
    ASSERT_TRUE(Open(0, 1));
    TObject* sender = nullptr;
    TPoint at{-1, -1};
    F.Edit->OnContextPopup = [&](TObject* Sender, TPoint P, bool&) {
        sender = Sender;
        at = P;
    };
    QWidget* w = Editor()->ClientWidget();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(5, 6), w->mapToGlobal(QPointF(5, 6)), Qt::RightButton,
                      type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    ProcessEvents();
    EXPECT_EQ(sender, static_cast<TObject*>(F.Edit));
    EXPECT_EQ(at.x, Editor()->Left() + 5);
    EXPECT_EQ(at.y, Editor()->Top() + 6);
}

TEST_F(TableInplace, LinksInACellOfAReadOnlyHostStayClickable) {
    const int linkStyle = AddLinkStyle();
    Build(1, 2);
    TRPTableCellData* cell = T->GetCell(0, 0);
    cell->Clear();
    cell->AddNL("Seite", linkStyle, 0);
    F.Edit->Format();
    F.Edit->SetReadOnly(true);
    std::vector<int> jumps;
    F.Edit->OnJump = [&](TObject* Sender, int Id) {
        EXPECT_EQ(Sender, F.Edit);
        jumps.push_back(Id);
    };
    ASSERT_TRUE(Open(0, 0, false));
    ClickAt(Editor(), T->CellPadding + 5, T->CellPadding + 5);
    ASSERT_EQ(jumps.size(), 1u);
    // Nothing is typed into a read-only host's cell.
    Type("x");
    EXPECT_EQ(EditorText(), "Seite");
}

TEST_F(TableInplace, ATableInACellIsEditedInsideTheCellsEditor) {
    Build(2, 2);
    TRPTableItemInfo* in = AddTableInCell(0, 0, 1, 2);
    for (int c = 0; c < 2; ++c) {
        in->GetCell(0, c)->Clear();
        in->GetCell(0, c)->AddNL(c ? "q" : "p", 0, 0);
    }
    F.Edit->Format();
    F.Edit->ClearUndo();
    const std::string start = SaveRPF(*F.Edit);
    // Opening the inner table's cell opens the outer cell first.
    in->EditCellAt(0, 1, false);
    EXPECT_EQ(EditedCell(), "0,0");
    ASSERT_NE(in->InplaceEditor(), nullptr);
    EXPECT_EQ(Editor()->InnermostEditor(), in->InplaceEditor());
    EXPECT_EQ(Focused(), in->InplaceEditor());
    Key(VK_END);
    Type("z");
    EXPECT_EQ(PlainText(*in->InplaceEditor()->EditData()), "qz");
    // Leaving the inner table to the right lands in the outer cell, after it.
    Key(VK_RIGHT);
    EXPECT_EQ(in->InplaceEditor(), nullptr);
    EXPECT_EQ(Focused(), Editor());
    Type("w");
    T->CloseInplaceEditor(true);
    EXPECT_EQ(in->GetCell(0, 1)->GetItemText(0), "qz");
    EXPECT_EQ(Text(0, 0), "A||w");
    const std::string edited = SaveRPF(*F.Edit);
    UndoAll(false);
    EXPECT_EQ(SaveRPF(*F.Edit), start);
    UndoAll(true);
    EXPECT_EQ(SaveRPF(*F.Edit), edited);
}

} // namespace

namespace {

TEST_F(TableInplace, TheClickThatOpenedTheCellAndAQuickSecondOneMakeADoubleClick) {
    Build(1, 2);
    int clicks = 0, downs = 0, downX = -1;
    F.Edit->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, F.Edit);
        ++clicks;
    };
    F.Edit->OnRPMouseDown = [&](TCustomRichPad*, TMouseButton, TShiftState, int ItemNo, int X, int) {
        EXPECT_EQ(ItemNo, 1);
        ++downs;
        downX = X;
    };
    T->GetCell(0, 1)->Clear();
    T->GetCell(0, 1)->AddNL("Hund Katze", 0, 0);
    F.Edit->Format();
    ASSERT_TRUE(T->EditCell(-1, 0, 1, false, true, false, true, false));
    ClickAt(Editor(), T->CellPadding + 15, T->CellPadding + 5);
    // The word under the pointer is selected as by a double click.
    TRPEditRPData* d = Editor()->EditData();
    ASSERT_TRUE(d->SelectionExists(false, false));
    EXPECT_EQ(d->GetSelText(), QStringLiteral("Hund"));
    // The host hears the cell's mouse in its own coordinates, and its click.
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(downX, Editor()->Left() + T->CellPadding + 15);
    // A later click is a single one again.
    ClickAt(Editor(), T->CellPadding + 75, T->CellPadding + 5);
    EXPECT_FALSE(d->SelectionExists(false, false));
}

TEST_F(TableInplace, CellsAreChosenByStoredPositions) {
    Build(2, 3);
    std::unique_ptr<TRPStoreSubRPData> at;
    ASSERT_TRUE(T->GetSubRPData(at, 1));
    auto* cell = dynamic_cast<TRPTableStoreSubRPData*>(at.get());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Row * 10 + cell->Col, 12);
    ASSERT_TRUE(T->GetSubRPData(at, 5));
    cell = static_cast<TRPTableStoreSubRPData*>(at.get());
    EXPECT_EQ(cell->Row * 10 + cell->Col, 11);
    // Choosing the cell in an editor opens the cell editor there.
    T->ChooseSubRPData(at.get());
    EXPECT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(EditorText(), "E");
    // The chosen cell is the one the selection's ends name.
    ASSERT_TRUE(T->GetSubRPData(at, 2));
    EXPECT_EQ(static_cast<TRPTableStoreSubRPData*>(at.get())->Col, 1);
    T->UnchooseSubRPData();
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(Text(1, 1), "E");
    EXPECT_FALSE(T->GetSubRPData(at, 2));
    ASSERT_TRUE(T->GetSubRPData(at, 0));
    EXPECT_FALSE(T->GetSubRPData(at, 5));
}

} // namespace

namespace {

TEST_F(TableInplace, TheEditorFollowsItsCellAndClosesOnAPressElsewhere) {
    F.Edit->SetBounds(0, 0, 300, 60);
    Build(3, 2);
    F.Edit->Format();
    F.Edit->SetVPosition(0, true);
    ASSERT_TRUE(Open(2, 0));
    // The host scrolls to show the cell's caret; the editor itself never scrolls.
    Type("4");
    const TRect caret = Editor()->EditData()->CaretRect();
    EXPECT_GT(F.Edit->VPos, 0);
    EXPECT_GE(Editor()->Top() + caret.Top, 0);
    EXPECT_LE(Editor()->Top() + caret.Bottom, F.Edit->ClientHeight());
    EXPECT_EQ(Editor()->VPos, 0);
    const int top = Editor()->Top();
    // Scrolling the host moves the editor with its cell.
    F.Edit->SetVPosition(F.Edit->VPos + 2, true);
    EXPECT_EQ(Editor()->Top(), top - 2 * F.Edit->VSmallStep);
    // A wider host lays the table out anew and the editor over its cell again.
    F.Edit->SetBounds(0, 0, 400, 60);
    ProcessEvents();
    EXPECT_EQ(Editor()->Width(), T->GetCell(2, 0)->Width);
    // A press on the text below the table closes the editor there.
    Type("5");
    int x = 0, y = 0;
    ASSERT_TRUE(F.Data()->GetItemClientCoords(2, x, y));
    ClickAt(F.Edit, x + 2, y + 2);
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(Text(2, 0), "E45");
    EXPECT_EQ(Focused(), F.Edit);
}

} // namespace

namespace {

TEST_F(TableInplace, CtrlInAnEditedCellNumbersItsLinksAmongTheHosts) {
    const int linkStyle = AddLinkStyle();
    Build(1, 2);
    TRPTableCellData* cell = T->GetCell(0, 1);
    cell->Clear();
    cell->AddNL("Zelle", linkStyle, 0);
    F.Edit->AddText("Ende", linkStyle, 0);
    F.Edit->Format();
    F.Edit->EditorOptions |= rpoCtrlJumps;
    ASSERT_TRUE(Open(0, 1));
    Key(VK_CONTROL);
    EXPECT_TRUE(F.Edit->DocFlags & rpflRecordJumps);
    // The cell's link comes first, the one after the table second; each is
    // found in the document that holds it.
    TCustomRPFormattedData* holder = nullptr;
    EXPECT_EQ(F.Edit->GetJumpItemNo(0, holder), 0);
    EXPECT_EQ(holder, Editor()->RPData());
    EXPECT_EQ(F.Edit->GetJumpItemNo(1, holder), 3);
    EXPECT_EQ(holder, F.Data());
    EXPECT_EQ(F.Edit->GetJumpItemNo(2, holder), -1);
    Focused()->SendKeyUp(VK_CONTROL);
    EXPECT_FALSE(F.Edit->DocFlags & rpflRecordJumps);
    EXPECT_FALSE(Editor()->DocFlags & rpflRecordJumps);
}

TEST_F(TableInplace, LinksInTheCellsOfAViewAreClickable) {
    const int linkStyle = AddLinkStyle();
    TRichPad* view = NewView();
    view->AddText("Seite", linkStyle, 0);
    auto table = TRPTableItemInfo::CreateEx(1, 2, view->RPData());
    TRPTableItemInfo* t = table.get();
    TRPTableCellData* cell = t->GetCell(0, 1);
    cell->Clear();
    cell->AddNL("Tabelle", linkStyle, 0);
    view->RPData()->AddItem(std::string(), std::move(table));
    view->Format();
    std::vector<int> jumps;
    view->OnJump = [&](TObject*, int Id) { jumps.push_back(Id); };
    // The cell's link is numbered after the one before the table.
    int x = 0, y = 0;
    cell->GetOrigin(x, y);
    ClickAt(view, x + 5, y + 5);
    ClickAt(view, view->LeftMargin + 5, view->TopMargin + 5);
    EXPECT_EQ(jumps, (std::vector<int>{1, 0}));
    delete view;
}

} // namespace

namespace {

// Keys typed at random through cells and host; undoing everything gives the
// start back, redoing everything the edited document.
TEST_F(TableInplace, RandomKeysThroughCellsUndoAndRedoExactly) {
    const uint16_t keys[] = {VK_LEFT,   VK_RIGHT, VK_UP,     VK_DOWN, VK_TAB,
                             VK_RETURN, VK_BACK,  VK_DELETE, VK_HOME, VK_END};
    for (unsigned seed = 1; seed <= 16; ++seed) {
        Build(3, 3);
        // Every other run with a table in the middle cell.
        if (seed % 2 == 0) {
            TRPTableCellData* middle = T->GetCell(1, 1);
            middle->AddItem(std::string(), TRPTableItemInfo::CreateEx(2, 2, middle));
            F.Edit->Format();
        }
        std::mt19937 rnd(seed);
        const std::string start = SaveRPF(*F.Edit);
        for (int step = 0; step < 150; ++step) {
            const unsigned what = rnd() % 10;
            if (what < 4) {
                Type(std::string(1, static_cast<char>('a' + rnd() % 26)));
            } else if (what < 8) {
                const uint16_t k = keys[rnd() % std::size(keys)];
                Key(k, k == VK_TAB && rnd() % 3 == 0 ? ssShift : 0);
            } else if (what == 8) {
                if (TRPTableItemInfo* t = AnyTable())
                    t->EditCell(-1, static_cast<int>(rnd() % 3), static_cast<int>(rnd() % 3), false, false,
                                rnd() % 2 == 0, true, false);
            } else if (rnd() % 4 == 0) {
                Key(rnd() % 2 ? VK_HOME : VK_END, ssCtrl);
            } else {
                Key('Z', rnd() % 3 == 0 ? ssCtrl | ssShift : ssCtrl);
            }
        }
        if (TRPTableItemInfo* t = AnyTable()) t->CloseInplaceEditor(true);
        // Steps undone on the way and not overwritten stay redoable: they are not part of this test.
        F.Data()->RedoList->Clear();
        const std::string edited = SaveRPF(*F.Edit);
        UndoAll(false, 2000);
        EXPECT_EQ(SaveRPF(*F.Edit), start) << "seed " << seed;
        UndoAll(true, 2000);
        EXPECT_EQ(SaveRPF(*F.Edit), edited) << "seed " << seed;
    }
}

// Keys typed ahead, reaching the editor in one batch, give what the same keys
// give one at a time: what a key defers (the move to the next cell, the host's
// undo or redo step, which may close and reopen the cell editor) runs before
// the keys after it.
class TypedAhead : public TableInplace {
protected:
    void SetUp() override {
        Build(2, 2);
        if (!F.Form->Visible()) F.Form->Show();
        ProcessEvents();
        ASSERT_TRUE(Open(0, 0));
    }
    // The keys one at a time, each handled with what it defers before the next.
    void OneAtATime(const std::vector<TKeyStroke>& Keys) {
        for (const TKeyStroke& k : Keys)
            TypeAhead(F.Form.get(), {k});
    }
    // The cells' texts and the document after the cell editor closed.
    std::string Result() {
        const std::string cells = Text(0, 0) + "/" + Text(0, 1) + "/" + Text(1, 0) + "/" + Text(1, 1);
        F.Edit->DestroyCellEditor();
        return cells + "\n" + SaveRPF(*F.Edit);
    }
    static std::vector<TKeyStroke> Keys(std::initializer_list<std::vector<TKeyStroke>> Parts) {
        std::vector<TKeyStroke> all;
        for (const auto& p : Parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }
    const TKeyStroke Undo = Stroke('Z', Qt::ControlModifier);
    const TKeyStroke Redo = Stroke('Z', Qt::ControlModifier | Qt::ShiftModifier);
    const TKeyStroke Tab = Stroke(VK_TAB);
};

TEST_F(TypedAhead, UndoThenLettersUndoBeforeTheLetters) {
    OneAtATime(Keys({Strokes("xy"), {Undo, Tab, Redo, Undo}}));
    ASSERT_EQ(EditedCell(), "0,0");
    ASSERT_EQ(EditorText(), "Ax");
    TypeAhead(F.Form.get(), Keys({{Undo}, Strokes("pq")}));
    EXPECT_EQ(EditorText(), "Apq");
    // Tab and a letter: the letter goes into the cell Tab moved to.
    TypeAhead(F.Form.get(), Keys({{Tab}, Strokes("x")}));
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(Text(0, 0), "Apq");
    EXPECT_EQ(EditorText(), "xB");
}

TEST_F(TypedAhead, AnyBatchGivesWhatItsKeysGiveOneAtATime) {
    const TKeyStroke pool[] = {Undo,
                               Redo,
                               Tab,
                               Stroke(VK_TAB, Qt::ShiftModifier),
                               Stroke(VK_RETURN),
                               Stroke(VK_BACK),
                               Stroke(VK_LEFT),
                               Stroke(VK_RIGHT)};
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rnd(seed);
        std::vector<TKeyStroke> keys;
        for (int i = 0; i < 40; ++i)
            keys.push_back(rnd() % 2 ? pool[rnd() % std::size(pool)]
                                     : Strokes(QString(QChar(static_cast<char16_t>(u'a' + rnd() % 26))))[0]);
        SetUp();
        OneAtATime(keys);
        const std::string single = Result();
        SetUp();
        TypeAhead(F.Form.get(), keys);
        EXPECT_EQ(Result(), single) << "seed " << seed;
    }
}

} // namespace

namespace {

TEST_F(TableInplace, ABorderDragClosesTheEditorAndReopensItWhereTheCaretWas) {
    Build(2, 2);
    ASSERT_TRUE(Open(1, 0));
    Type("xyz");
    Key(VK_LEFT);
    T->CloseInplaceEditorAndRemember();
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(Text(1, 0), "Cxyz");
    T->ReopenRememberedEditor();
    EXPECT_EQ(EditedCell(), "1,0");
    EXPECT_EQ(EditorCaret(), "0:4");
    // Nothing is remembered twice.
    T->CloseInplaceEditor(true);
    T->ReopenRememberedEditor();
    EXPECT_EQ(EditedCell(), "-");
    // Not while a press in the cell may still become a cell selection.
    ASSERT_TRUE(Open(0, 0));
    Editor()->DraggingFromCell = true;
    try {
        T->CloseInplaceEditorAndRemember();
        ADD_FAILURE() << "no exception";
    } catch (const ERPTableInplaceError& e) {
        EXPECT_STREQ(e.what(), "Cannot destroy cell inplace editor at this time");
    }
    EXPECT_EQ(EditedCell(), "0,0");
}

} // namespace

namespace {

// A command that removes the chosen, focused or hovered cell leaves the host
// pointing at none of it.
TEST_F(TableInplace, RemovedCellsAreForgottenByTheHost) {
    const int linkStyle = AddLinkStyle();
    TRichPad* view = NewView();
    auto table = TRPTableItemInfo::CreateEx(2, 2, view->RPData());
    TRPTableItemInfo* t = table.get();
    TRPTableCellData* cell = t->GetCell(1, 1);
    cell->Clear();
    cell->AddNL("Tabelle", linkStyle, 0);
    view->RPData()->AddItem(std::string(), std::move(table));
    view->Format();
    std::vector<int> jumps;
    view->OnJump = [&](TObject*, int Id) { jumps.push_back(Id); };
    // The link takes the keyboard focus and the mouse hovers over it.
    TRichPadRPData* d = view->RPData();
    d->MoveFocus(false, nullptr, false);
    ASSERT_EQ(t->FocusedRow * 10 + t->FocusedCol, 11);
    int x = 0, y = 0;
    cell->GetOrigin(x, y);
    d->MouseMove(0, x + 5, y + 5);
    ASSERT_EQ(d->HoverData, cell);
    std::unique_ptr<TRPStoreSubRPData> at = std::make_unique<TRPTableStoreSubRPData>(t, 1, 1);
    t->ChooseSubRPData(at.get());
    t->DeleteRows(1, 1);
    EXPECT_EQ(t->FocusedRow, -1);
    EXPECT_EQ(t->ChosenRow, -1);
    EXPECT_EQ(d->HoverData, nullptr);
    d->MouseMove(0, x + 6, y + 5); // before the view is laid out again
    EXPECT_EQ(d->HoverData, nullptr);
    view->Format();
    d->MouseMove(0, 1, 1);
    d->ActivateFocusedItem();
    t->UnchooseSubRPData();
    EXPECT_TRUE(jumps.empty());
    delete view;

    // In an editor: the chosen cell is edited; its row goes, comes back, goes.
    Build(3, 2);
    at = std::make_unique<TRPTableStoreSubRPData>(T, 1, 1);
    T->ChooseSubRPData(at.get());
    EXPECT_EQ(EditedCell(), "1,1");
    T->DeleteRows(1, 1);
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.Edit->EditedCellData, nullptr);
    UndoAll(false);
    EXPECT_EQ(AnyTable()->Rows->RowCount(), 3);
    UndoAll(true);
    T = AnyTable();
    EXPECT_EQ(T->Rows->RowCount(), 2);
    T->UnchooseSubRPData();
    F.Edit->ClearUndo();
    F.Edit->Format();
}

} // namespace

namespace {

// A picture of four coloured quarters, so that a shifted copy shows.
std::unique_ptr<TBitmap> Quarters(TColor A, TColor B) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(16, 16);
    b->Canvas()->Brush()->SetColor(A);
    b->Canvas()->FillRect(Rect(0, 0, 16, 16));
    b->Canvas()->Brush()->SetColor(B);
    b->Canvas()->FillRect(Rect(0, 0, 8, 8));
    b->Canvas()->FillRect(Rect(8, 8, 16, 16));
    b->Canvas()->Release();
    return b;
}

// A cell without colour looks the same with its editor open: the host, the
// table's picture and the cell's own picture show through.
TEST_F(TableInplace, ATransparentCellsEditorShowsWhatLiesBehindTheCell) {
    F.Edit->SetBounds(0, 0, 300, 150);
    Build(2, 2);
    T->Color = clNone;
    T->SetBackgroundStyle(rpbsTiled);
    T->SetBackgroundImage(Quarters(clLime, clYellow).get(), true);
    T->GetCell(0, 1)->SetBackgroundStyle(rpbsTiled);
    T->GetCell(0, 1)->SetBackgroundImage(Quarters(clAqua, clFuchsia).get(), true);
    F.Edit->Format();
    for (int col = 0; col < 2; ++col) {
        SCOPED_TRACE(col);
        TRPTableCellData* cell = T->GetCell(0, col);
        int x = 0, y = 0;
        ASSERT_TRUE(F.Data()->GetItemClientCoords(1, x, y));
        const TRect box =
            Rect(x + cell->Left, y + cell->Top, x + cell->Left + cell->Width, y + cell->Top + cell->Height);
        const QImage before = F.Edit->Widget()->grab().toImage();
        ASSERT_TRUE(Open(0, col, false));
        ASSERT_TRUE(Editor()->TransparentCell);
        const QImage after = F.Edit->Widget()->grab().toImage();
        // Only the caret, one narrow upright line, may differ (the dotted grid
        // lines along the box's edge lie under the editor).
        int left = box.Right, right = box.Left - 1, differing = 0;
        for (int py = box.Top + 3; py < box.Bottom - 3; ++py)
            for (int px = box.Left + 3; px < box.Right - 3; ++px)
                if (before.pixel(px, py) != after.pixel(px, py)) {
                    ++differing;
                    left = std::min(left, px);
                    right = std::max(right, px);
                }
        EXPECT_LE(right - left, 1) << differing << " pixels differ";
        // Below the editor the host fills a cell without a picture of its own
        // opaque with the window colour.
        QWidget* client = F.Edit->ClientWidget();
        QImage host(client->size(), QImage::Format_RGB32);
        client->render(&host, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QPoint inCell = client->mapFrom(F.Edit->Widget(), QPoint(box.Left + 4, box.Top + 4));
        if (col == 0) { EXPECT_EQ(host.pixel(inCell), QColor(Qt::white).rgb()); }
        EXPECT_NE(before.pixel(box.Left + 4, box.Top + 4), QColor(Qt::white).rgb());
        T->CloseInplaceEditor(true);
    }
}

} // namespace

namespace {

// A writer's event that lets input through (a dialog, say) while the table
// writes its cells: clicks on the table do nothing until the write is done.
TEST_F(TableInplace, ClicksThatAWritersEventLetsThroughDoNothing) {
    F.Edit->SetBounds(0, 0, 300, 150);
    Build(2, 2);
    int x = 0, y = 0;
    ASSERT_TRUE(F.Data()->GetItemClientCoords(1, x, y));
    const TRPTableCellData* target = T->GetCell(1, 1);
    const int cx = x + target->Left + 8, cy = y + target->Top + 5;
    int inCells = 0;
    F.Edit->OnSaveItemToFile = [&](TCustomRichPad*, const std::string&, TCustomRPData* Data, int, int, bool,
                                   std::string&, bool&) {
        if (dynamic_cast<TRPTableCellData*>(Data) && inCells++ == 0) ClickAt(F.Edit, cx, cy);
    };
    std::string text;
    ASSERT_TRUE(F.Edit->SaveTextToStream("", text, 80, false, false));
    EXPECT_GT(inCells, 0);
    EXPECT_EQ(EditedCell(), "-");
    for (const char* s : {"A", "B", "C", "D"})
        EXPECT_NE(text.find(s), std::string::npos) << s;
    // Afterwards the same click opens the cell.
    F.Edit->OnSaveItemToFile = nullptr;
    ClickAt(F.Edit, cx, cy);
    EXPECT_EQ(EditedCell(), "1,1");
}

} // namespace

namespace {

// The program's handlers see the editor that holds the table as the sender of
// what happens in a cell, as of what happens outside the table.
TEST_F(TableInplace, EventsOfAnEditInACellNameTheEditorThatHoldsTheTable) {
    Build(2, 2);
    std::set<std::string> seen, wrong;
    const auto note = [&](const std::string& Event, const TObject* Sender) {
        seen.insert(Event);
        if (Sender != F.Edit) wrong.insert(Event);
    };
    F.Edit->OnChanging = [&](TCustomRichPadEdit* Sender, bool&) { note("changing", Sender); };
    F.Edit->OnPaste = [&](TCustomRichPadEdit* Sender, bool&) { note("paste", Sender); };
    F.Edit->OnDropFiles = [&](TCustomRichPadEdit* Sender, const QStringList&, TRPDropFileAction& Action,
                              bool& DoDefault) {
        note("files", Sender);
        Action = 1;
        DoDefault = false;
    };
    F.Edit->OnCurTextStyleChanged = [&](TObject* Sender) { note("text style", Sender); };
    F.Edit->OnCurParaStyleChanged = [&](TObject* Sender) { note("paragraph style", Sender); };
    ASSERT_TRUE(Open(0, 0));
    Type("x");
    QGuiApplication::clipboard()->setText(QStringLiteral("p"));
    Key('V', ssCtrl);
    QGuiApplication::clipboard()->clear();
    F.Edit->SetCurTextStyleNo(1);
    F.Edit->ApplyParaStyle(1);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("notiz.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(file.fileName())});
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    static_cast<TControl*>(Editor())->HandleEvent(&drop);
    EXPECT_EQ(EditorText(), "Axp");
    EXPECT_EQ(seen, (std::set<std::string>{"changing", "files", "paragraph style", "paste", "text style"}));
    EXPECT_EQ(wrong, std::set<std::string>{});
    // The handlers know this test's sets only.
    F.Edit->DestroyCellEditor();
    ProcessEvents();
    F.Edit->OnChanging = nullptr;
    F.Edit->OnPaste = nullptr;
    F.Edit->OnDropFiles = nullptr;
    F.Edit->OnCurTextStyleChanged = F.Edit->OnCurParaStyleChanged = nullptr;
}

} // namespace
