// Drops onto table cells and the cells' part in what is edited: the cell
// under the drop point opens its editor and takes the data, at any depth of
// nesting, with the writers' selection following the edited cell; links in
// cells walked with Tab and followed with Enter.
#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/model/RPStyle.h"
#include "support/PaintedArea.h"

namespace {

class TableDrop : public TableInplace {
protected:
    // The middle of a cell's first line in the host's client area, after
    // Chars characters of its text (10 pixels each).
    QPoint InCell(TRPTableCellData* Cell, int Chars) {
        int ox = 0, oy = 0;
        Cell->GetOrigin(ox, oy);
        TRPEditRPData* d = F.Data();
        return QPoint(ox + 10 * Chars - d->GetHOffs(), oy + 10 - d->GetVOffs());
    }
    // Hands a drag event at a client point to the host as the window system does.
    Qt::DropAction Deliver(QDropEvent& Event) {
        static_cast<TControl*>(F.Edit)->HandleEvent(&Event);
        ProcessEvents();
        return Event.isAccepted() ? Event.dropAction() : Qt::IgnoreAction;
    }
    QPointF OnWidget(QPoint Client) const {
        return QPointF(F.Edit->ClientWidget()->mapTo(F.Edit->Widget(), Client));
    }
    Qt::DropAction Drop(const QMimeData& Data, QPoint Client, Qt::DropActions Actions = Qt::CopyAction) {
        QDropEvent drop(OnWidget(Client), Actions, &Data, Qt::LeftButton, Qt::NoModifier);
        return Deliver(drop);
    }
    std::string HostText() const { return PlainText(*F.Data()); }
    TRPTableInplaceEdit* Innermost() const {
        TRPTableInplaceEdit* e = Editor();
        while (auto* inner = e ? dynamic_cast<TRPTableInplaceEdit*>(e->OpenCellEditor()) : nullptr)
            e = inner;
        return e;
    }
};

TEST_F(TableDrop, AWordDroppedOnACellGoesIntoTheCellWhoseEditorOpens) {
    Build(2, 2);
    const std::string host = HostText();
    QMimeData word;
    word.setText(QStringLiteral("Wort"));
    // While it hovers, the drop caret stands after the cell's "C".
    QWidget* client = F.Edit->ClientWidget();
    const QPoint at = InCell(T->GetCell(1, 0), 1);
    QImage plain(client->size(), QImage::Format_RGB32);
    client->render(&plain);
    QDragEnterEvent enter(OnWidget(at).toPoint(), Qt::CopyAction, &word, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(Deliver(enter), Qt::CopyAction);
    QImage hovering(client->size(), QImage::Format_RGB32);
    client->render(&hovering);
    int changed = 0, left = 10000, right = -1;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != hovering.pixel(x, y)) {
                ++changed;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(changed, 0);
    EXPECT_GE(left, at.x() - 1);
    EXPECT_LE(right, at.x() + 2);

    EXPECT_EQ(Drop(word, at), Qt::CopyAction);
    EXPECT_EQ(EditedCell(), "1,0");
    EXPECT_EQ(EditorText(), "CWort");
    EXPECT_EQ(Editor()->EditData()->GetSelText(), QStringLiteral("Wort"));
    EXPECT_EQ(F.Form->ActiveControl(), Editor());
    EXPECT_EQ(HostText(), host);
    // The drop is the cell's step: undone there, kept when the cell closes.
    Focused()->Undo();
    EXPECT_EQ(EditorText(), "C");
    Focused()->Redo();
    ProcessEvents();
    F.Edit->DestroyCellEditor();
    EXPECT_EQ(Text(1, 0), "CWort");
    EXPECT_EQ(Text(0, 0), "A");
}

TEST_F(TableDrop, TextMovedFromTheHostIntoACellLeavesItsPlace) {
    Build(2, 2);
    F.Select(0, 1, 0, 4);
    F.Data()->State |= rpstDragging;
    QMimeData data;
    data.setText(QStringLiteral("vor"));
    EXPECT_EQ(Drop(data, InCell(T->GetCell(0, 1), 1), Qt::CopyAction | Qt::MoveAction), Qt::MoveAction);
    F.Data()->State &= ~rpstDragging;
    // The end of the drag takes nothing more away.
    F.Edit->DoneDragging(2);
    EXPECT_EQ(EditorText(), "Bvor");
    EXPECT_EQ(F.Data()->GetItemText(0), "");
    // Onto a cell of a table that is part of the dragged text: nothing moves.
    F.Edit->DestroyCellEditor();
    F.Edit->SelectAll();
    F.Data()->State |= rpstDragging;
    EXPECT_EQ(Drop(data, InCell(T->GetCell(1, 1), 1), Qt::CopyAction | Qt::MoveAction), Qt::IgnoreAction);
    F.Data()->State &= ~rpstDragging;
    EXPECT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(EditorCaret(), "0:2");
    F.Edit->DestroyCellEditor();
    EXPECT_EQ(Text(0, 1), "Bvor");
    EXPECT_EQ(Text(1, 1), "D");
}

// Text selected in a cell, or a word dropped into one, goes out of the
// selection when the pupil clicks out of the table into the text above: the
// cell keeps no selection and shows none in the selection colour.
TEST_F(TableDrop, ASelectionInACellEndsWhenThePupilClicksIntoTheTextAbove) {
    F.Style->SelColor = clRed;
    F.Style->InactiveSelColor = clRed;
    Build(2, 2);
    T->GetCell(0, 1)->Clear();
    T->GetCell(0, 1)->AddNL("Hund Katze", 0, 0);
    F.Edit->Format();
    ShowAndActivate(F.Form.get());
    // Pixels of the selection colour that the host's window shows in a cell's box.
    const auto selectedPixels = [&](TRPTableCellData* Cell) {
        ProcessEvents();
        const QImage shown = F.Edit->ClientWidget()->grab().toImage();
        int ox = 0, oy = 0;
        Cell->GetOrigin(ox, oy);
        const int left = ox - T->CellPadding - F.Data()->GetHOffs(),
                  top = oy - T->CellPadding - F.Data()->GetVOffs();
        int n = 0;
        for (int y = top; y < top + Cell->Height; ++y)
            for (int x = left; x < left + Cell->Width; ++x)
                n += shown.valid(x, y) && QColor(shown.pixel(x, y)) == QColor(Qt::red);
        return n;
    };
    const auto clickIntoTheTextAbove = [&] {
        MouseClickAt(F.Edit, 5 + 10 * 2, 10);
        ProcessEvents();
    };
    // Selected with the keys in the cell the pupil clicked into.
    TRPTableCellData* cell = T->GetCell(0, 1);
    const QPoint inCell = InCell(cell, 1);
    MouseClickAt(F.Edit, inCell.x(), inCell.y());
    ProcessEvents();
    ASSERT_EQ(EditedCell(), "0,1");
    PressKeyAtFocus(VK_HOME);
    PressKeyAtFocus(VK_END, Qt::ShiftModifier);
    ProcessEvents();
    ASSERT_EQ(Editor()->EditData()->GetSelText(), QStringLiteral("Hund Katze"));
    ASSERT_GT(selectedPixels(cell), 0);
    clickIntoTheTextAbove();
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.CaretPos(), "0:3");
    EXPECT_FALSE(cell->SelectionExists(false, false));
    EXPECT_EQ(selectedPixels(cell), 0);
    // A word dropped into a cell is selected there until the pupil clicks elsewhere.
    cell = T->GetCell(1, 0);
    QMimeData word;
    word.setText(QStringLiteral("Wort"));
    ASSERT_EQ(Drop(word, InCell(cell, 1)), Qt::CopyAction);
    ASSERT_EQ(Editor()->EditData()->GetSelText(), QStringLiteral("Wort"));
    ASSERT_GT(selectedPixels(cell), 0);
    clickIntoTheTextAbove();
    EXPECT_EQ(Text(1, 0), "CWort");
    EXPECT_FALSE(cell->SelectionExists(false, false));
    EXPECT_EQ(selectedPixels(cell), 0);
}

// Text moved from the host into a cell is one step of the history: one
// Ctrl+Z puts it back at its old place and takes it out of the cell, one
// Ctrl+Shift+Z does both again.
TEST_F(TableDrop, TextMovedFromTheHostIntoACellIsUndoneAndRedoneInOneStep) {
    Build(2, 2);
    ShowAndActivate(F.Form.get());
    const std::string before = SaveRPF(*F.Edit);
    F.Select(0, 1, 0, 4);
    F.Data()->State |= rpstDragging;
    QMimeData data;
    data.setText(QStringLiteral("vor"));
    ASSERT_EQ(Drop(data, InCell(T->GetCell(0, 1), 1), Qt::CopyAction | Qt::MoveAction), Qt::MoveAction);
    F.Data()->State &= ~rpstDragging;
    F.Edit->DoneDragging(2);
    ASSERT_EQ(EditorText(), "Bvor");
    ASSERT_EQ(Focused(), Editor());
    const std::string moved = SaveRPF(*F.Edit);
    PressKeyAtFocus('Z', Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(F.Data()->GetItemText(0), "vor");
    EXPECT_EQ(Text(0, 1), "B");
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    EXPECT_FALSE(F.Edit->CanUndo());
    PressKeyAtFocus('Z', Qt::ControlModifier | Qt::ShiftModifier);
    ProcessEvents();
    EXPECT_EQ(F.Data()->GetItemText(0), "");
    EXPECT_EQ(Text(0, 1), "Bvor");
    EXPECT_EQ(SaveRPF(*F.Edit), moved);
    EXPECT_FALSE(F.Edit->CanRedo());
    // And back once more, still in one step.
    PressKeyAtFocus('Z', Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
}

TEST_F(TableDrop, AWordDraggedFromOneCellToAnotherMovesWhenTheDragIsOver) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 0));
    TRPEditRPData* source = Editor()->EditData();
    source->SetSelectionBounds(0, 1, 0, 2);
    source->State |= rpstDragging;
    QMimeData data;
    data.setText(QStringLiteral("A"));
    QDropEvent drop(OnWidget(InCell(T->GetCell(1, 1), 1)), Qt::CopyAction | Qt::MoveAction, &data,
                    Qt::LeftButton, Qt::NoModifier);
    static_cast<TControl*>(F.Edit)->HandleEvent(&drop);
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    // The source editor lives until its drag returns and takes the word away.
    ASSERT_EQ(EditedCell(), "0,0");
    source->State &= ~rpstDragging;
    Editor()->DoneDragging(2);
    ProcessEvents();
    EXPECT_EQ(EditedCell(), "1,1");
    EXPECT_EQ(EditorText(), "DA");
    F.Edit->DestroyCellEditor();
    EXPECT_EQ(Text(0, 0), "");
}

TEST_F(TableDrop, APressOnTextSelectedInACellDragsTheTextInsteadOfSelectingCells) {
    Build(2, 2);
    ASSERT_TRUE(Open(0, 1));
    TRPTableInplaceEdit* e = Editor();
    e->EditData()->SetSelectionBounds(0, 1, 0, 2);
    // On the selected "B" (the cell's padding of 1 pixel is the editor's margin).
    QWidget* w = e->ClientWidget();
    const QPointF at(6, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    EXPECT_TRUE(e->EditData()->State & rpstDragPending);
    EXPECT_FALSE(e->DraggingFromCell);
    EXPECT_FALSE(T->Selecting);
    // Released where it was pressed, it is a click that places the caret.
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    ProcessEvents();
    EXPECT_FALSE(e->EditData()->State & rpstDragPending);
    EXPECT_FALSE(e->EditData()->SelectionExists(false, false));
    EXPECT_EQ(EditedCell(), "0,1");
}

// A table in cell (0, 0) of the outer table, its cells reading "x" and "y".
class NestedDrop : public TableDrop {
protected:
    TRPTableItemInfo* Inner = nullptr;
    void SetUp() override {
        Build(2, 2);
        TRPTableCellData* outer = T->GetCell(0, 0);
        auto inner = TRPTableItemInfo::CreateEx(1, 2, outer);
        Inner = inner.get();
        for (int c = 0; c < 2; ++c) {
            Inner->GetCell(0, c)->Clear();
            Inner->GetCell(0, c)->AddNL(c ? "y" : "x", 0, 0);
        }
        outer->AddItem(std::string(), std::move(inner));
        T->Changed();
        F.Edit->Format();
        F.Edit->ClearUndo();
    }
};

TEST_F(NestedDrop, ADropOnANestedCellOpensBothEditorsAndTheWritersFollowTheSelection) {
    QMimeData word;
    word.setText(QStringLiteral("Wort"));
    ASSERT_EQ(Drop(word, InCell(Inner->GetCell(0, 1), 1)), Qt::CopyAction);
    EXPECT_EQ(EditedCell(), "0,0");
    TRPTableInplaceEdit* inner = Innermost();
    ASSERT_NE(inner, Editor());
    EXPECT_EQ(inner->Table, Inner);
    EXPECT_EQ(PlainText(*inner->EditData()), "yWort");
    // The outer cell records what is edited inside it.
    EXPECT_EQ(Editor()->Cell->GetActiveSubData(), inner->Cell);
    EXPECT_EQ(Editor()->Cell->GetActiveSubItem(), Inner);
    // Saving the selection from the host writes what is selected in the nested cell.
    std::string rtf, rpf;
    ASSERT_TRUE(F.Edit->SaveRTFToStream(rtf, true));
    EXPECT_NE(rtf.find("Wort"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("nach"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\cell"), std::string::npos) << rtf;
    ASSERT_TRUE(F.Edit->SaveRPFToStream(rpf, true));
    TRichPadEdit back(F.Form.get());
    back.SetStyle(F.Style.get());
    ASSERT_TRUE(back.LoadRPFFromStream(rpf));
    EXPECT_EQ(PlainText(*back.EditData()), "Wort");
    // A selection elsewhere in the outer cell closes the nested editor; the
    // outer cell forgets it, and the writers take the outer cell's selection.
    Editor()->EditData()->SetSelectionBounds(0, 1, 0, 2);
    Editor()->Invalidate();
    ASSERT_EQ(Innermost(), Editor());
    EXPECT_EQ(Editor()->Cell->GetActiveSubData(), nullptr);
    EXPECT_EQ(Editor()->Cell->GetActiveSubItem(), nullptr);
    rpf.clear();
    ASSERT_TRUE(F.Edit->SaveRPFToStream(rpf, true));
    back.Clear();
    ASSERT_TRUE(back.LoadRPFFromStream(rpf));
    EXPECT_EQ(PlainText(*back.EditData()), "A");
    EXPECT_EQ(Editor()->EditedCellData, nullptr);
    F.Edit->DestroyCellEditor();
    EXPECT_EQ(F.Edit->EditedCellData, nullptr);
    EXPECT_EQ(F.Edit->EditedCellItem, nullptr);
    EXPECT_EQ(F.Data()->GetActiveSubData(), nullptr);
    EXPECT_EQ(PlainText(*Inner->GetCell(0, 1)), "yWort");
}

// A text moved from the host into a cell of a table in a cell: one undo
// step as well, whichever editors were open over the cells.
TEST_F(NestedDrop, TextMovedFromTheHostIntoANestedCellIsOneUndoStep) {
    const std::string before = SaveRPF(*F.Edit);
    F.Select(0, 1, 0, 4);
    F.Data()->State |= rpstDragging;
    QMimeData data;
    data.setText(QStringLiteral("vor"));
    ASSERT_EQ(Drop(data, InCell(Inner->GetCell(0, 1), 1), Qt::CopyAction | Qt::MoveAction), Qt::MoveAction);
    F.Data()->State &= ~rpstDragging;
    F.Edit->DoneDragging(2);
    ASSERT_EQ(PlainText(*Innermost()->EditData()), "yvor");
    const std::string moved = SaveRPF(*F.Edit);
    Focused()->Undo();
    ProcessEvents();
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    EXPECT_EQ(PlainText(*Inner->GetCell(0, 1)), "y");
    EXPECT_FALSE(F.Edit->CanUndo());
    Focused()->Redo();
    ProcessEvents();
    EXPECT_EQ(SaveRPF(*F.Edit), moved);
    EXPECT_EQ(PlainText(*Inner->GetCell(0, 1)), "yvor");
}

TEST_F(NestedDrop, ADropOnANestedCellInsideAnOpenCellEditorGoesIntoThatCell) {
    ASSERT_TRUE(Open(0, 0));
    TRPTableInplaceEdit* outer = Editor();
    ASSERT_EQ(Inner->GetRPData(), outer->EditData());
    // In the outer editor's client area: the nested cell's place in its document.
    TRPTableCellData* cell = Inner->GetCell(0, 0);
    int ox = 0, oy = 0;
    cell->GetOrigin(ox, oy);
    const QPointF at(ox + 10 - outer->EditData()->GetHOffs(), oy + 10 - outer->EditData()->GetVOffs());
    // Where the cell lies in the host's document, through the outer editor.
    int hx = 0, hy = 0;
    cell->GetOriginEx(hx, hy);
    const QPoint onHost = outer->ClientWidget()->mapTo(F.Edit->ClientWidget(), at.toPoint());
    EXPECT_EQ(hx + 10 - F.Data()->GetHOffs(), onHost.x());
    EXPECT_EQ(hy + 10 - F.Data()->GetVOffs(), onHost.y());
    QMimeData word;
    word.setText(QStringLiteral("Wort"));
    QDropEvent drop(QPointF(outer->ClientWidget()->mapTo(outer->Widget(), at.toPoint())), Qt::CopyAction,
                    &word, Qt::LeftButton, Qt::NoModifier);
    static_cast<TControl*>(outer)->HandleEvent(&drop);
    ProcessEvents();
    ASSERT_TRUE(drop.isAccepted());
    TRPTableInplaceEdit* inner = Innermost();
    ASSERT_NE(inner, outer);
    EXPECT_EQ(inner->Cell, cell);
    EXPECT_EQ(PlainText(*inner->EditData()), "xWort");
    EXPECT_EQ(outer->Cell->GetActiveSubData(), cell);
}

TEST_F(TableDrop, TheHostCountsItsEditedCellAndDeselectingTheCellReleasesIt) {
    Build(2, 2);
    ASSERT_TRUE(Open(1, 1));
    EXPECT_EQ(F.Edit->EditedCellData, T->GetCell(1, 1));
    EXPECT_EQ(F.Edit->EditedCellItem, T);
    EXPECT_EQ(F.Data()->GetActiveSubData(), Editor()->EditData());
    EXPECT_EQ(F.Data()->GetActiveSubItem(), T);
    // Another cell: the first is released, the second counted.
    ASSERT_TRUE(Open(0, 1));
    EXPECT_EQ(F.Edit->EditedCellData, T->GetCell(0, 1));
    // A program that deselects the edited cell ends its editing.
    TRPTableCellData* cell = T->GetCell(0, 1);
    cell->Deselect(nullptr, true);
    ProcessEvents();
    EXPECT_EQ(EditedCell(), "-");
    EXPECT_EQ(F.Edit->EditedCellData, nullptr);
    EXPECT_EQ(F.Edit->EditedCellItem, nullptr);
    EXPECT_EQ(T->ChosenRow, -1);
    EXPECT_EQ(Text(0, 1), "B");
}

TEST_F(TableDrop, ANewPictureOrStyleOfTheEditedCellShowsInItsEditorAtOnce) {
    Build(2, 2);
    F.Form->Show();
    ASSERT_TRUE(Open(0, 1));
    ProcessEvents();
    TPaintedArea painted({Editor()->ClientWidget()});
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(8, 8);
    picture->Canvas()->Brush()->SetColor(clRed);
    picture->Canvas()->FillRect(Rect(0, 0, 8, 8));
    T->GetCell(0, 1)->SetBackgroundImage(picture.get(), true);
    ProcessEvents();
    EXPECT_GT(painted.Pixels, 0);
    const int64_t afterPicture = painted.Pixels;
    T->GetCell(0, 1)->SetBackgroundStyle(rpbsTiled);
    ProcessEvents();
    EXPECT_GT(painted.Pixels, afterPicture);
    // The editor shows the picture.
    QImage shown = Editor()->ClientWidget()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(shown.width() - 2, shown.height() - 2)), QColor(Qt::red));
    F.Form->Hide();
}

// A read-only view with lines above a table whose cells (0, 1) and (1, 0) hold links.
class CellLinks : public TableInplace {
protected:
    TRichPad* View = nullptr;
    TRPTableItemInfo* Table = nullptr;
    std::vector<int> Jumps;
    void SetUp() override {
        const int link = AddLinkStyle();
        View = NewView();
        for (int i = 0; i < 12; ++i)
            View->AddText("Zeile " + std::to_string(i), 0, 0);
        auto t = TRPTableItemInfo::CreateEx(2, 2, View->RPData());
        Table = t.get();
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
                TRPTableCellData* cell = Table->GetCell(r, c);
                cell->Clear();
                cell->AddNL("Feld", 0, 0);
                if (r != c) cell->AddText(r ? "zwei" : "eins", link, -1);
            }
        View->RPData()->AddItem(std::string(), std::move(t));
        View->SetFirstJumpNo(100);
        View->Format();
        View->OnJump = [this](TObject*, int Id) { Jumps.push_back(Id); };
        F.Form->Show();
        View->SetFocus();
        ProcessEvents();
    }
    void TearDown() override { F.Form->Hide(); }
    // A key to the focused widget; Settle lets what it posted run.
    void Key(int QtKey, bool Settle = true) {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr);
        QKeyEvent e(QEvent::KeyPress, QtKey, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
        if (Settle) ProcessEvents();
    }
    // The focused link's first draw item in the view's client area.
    TRect FocusedRect() {
        TRichPadRPData* d = View->RPData();
        TCustomRPFormattedData* fd = d->FocusedData;
        const TRPDrawLineInfo* di = fd->DrawItem(fd->GetFirstDrawItemOfItem(d->FocusedSubItemNo));
        int ox = 0, oy = 0;
        fd->GetOrigin(ox, oy);
        const int x = di->Left + ox - d->GetHOffs(), y = di->Top + oy - d->GetVOffs();
        return Rect(x, y, x + di->Width, y + di->Height);
    }
};

TEST_F(CellLinks, TabFocusesTheLinksInTheCellsAndScrollsThemIntoViewAndEnterFollowsThem) {
    TRichPadRPData* d = View->RPData();
    ASSERT_EQ(View->VPos, 0);
    // Tab goes to the link of cell (0, 1) (unless the focus arriving with the
    // view went there already).
    if (d->FocusedData != Table->GetCell(0, 1)) Key(Qt::Key_Tab, false);
    ASSERT_EQ(d->FocusedData, Table->GetCell(0, 1));
    EXPECT_EQ(d->FocusedSubItemNo, 1);
    EXPECT_EQ(d->FocusedItemNo, 12);
    EXPECT_EQ(std::vector<int>({Table->FocusedRow, Table->FocusedCol}), std::vector<int>({0, 1}));
    // The root scrolled the link into view (to whole scroll units), and the
    // cell's offsets follow: the cell answers where its link is on the screen.
    EXPECT_GT(View->VPos, 0);
    const TRect r = FocusedRect();
    EXPECT_GE(r.Top, 0);
    EXPECT_LT(r.Bottom, View->ClientHeight() + View->VSmallStep);
    int cx = 0, cy = 0;
    ASSERT_TRUE(Table->GetCell(0, 1)->GetItemClientCoords(1, cx, cy));
    EXPECT_EQ(cx, r.Left);
    EXPECT_EQ(cy, r.Top);
    ProcessEvents();
    // The focus frame lies around the link, one pixel outside it.
    const QImage shown = View->ClientWidget()->grab().toImage();
    int framed = 0;
    for (int x = r.Left; x < r.Right; ++x)
        if (shown.pixel(x, r.Top - 1) != QColor(Qt::white).rgb()) ++framed;
    EXPECT_GT(framed, r.Width() / 3);
    // Enter follows it, with the view's jump numbers.
    Key(Qt::Key_Return);
    ASSERT_EQ(Jumps.size(), 1u);
    TCustomRPFormattedData* holder = nullptr;
    EXPECT_EQ(View->RPData()->GetJumpItemNo(Jumps[0], &holder), 1);
    EXPECT_EQ(holder, Table->GetCell(0, 1));
    // The next Tab goes on to the link of the next cell, not back to the first.
    Key(Qt::Key_Tab);
    EXPECT_EQ(d->FocusedData, Table->GetCell(1, 0));
    Key(Qt::Key_Return);
    ASSERT_EQ(Jumps.size(), 2u);
    EXPECT_EQ(Jumps[1], Jumps[0] + 1);
}

} // namespace
