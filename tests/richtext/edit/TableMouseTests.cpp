// A table and the mouse, driven through the editor control as a user would:
// border drags with their guide line and their single undo step, cell, row
// and column selection, right clicks and the cursors over the borders.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "support/FormDriver.h"
#include "support/Readers.h"

namespace {

class TableMouse : public TableInEditor {
protected:
    // The control the mouse works in: the editor, or a view of a test's own.
    TCustomRichPad* View = nullptr;
    TCustomRichPad* Target() const { return View ? View : static_cast<TCustomRichPad*>(F.Edit); }
    TRichPadRPData* Doc() const { return Target()->RPData(); }
    // The control that takes the events: the cell editor while it holds the mouse.
    TCustomRichPad* Receiver() const {
        if (TRPTableInplaceEdit* e = T ? T->InplaceEditor() : nullptr; e && e->MouseCapture()) return e;
        return Target();
    }
    void Send(QEvent::Type Type, int X, int Y, Qt::MouseButton Button = Qt::LeftButton,
              Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        TCustomRichPad* r = Receiver();
        if (r != Target()) {
            // In the editor's own coordinates.
            X -= r->Left();
            Y -= r->Top();
        }
        QWidget* w = r->ClientWidget();
        const Qt::MouseButtons held =
            Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
        QMouseEvent e(Type, QPointF(X, Y), w->mapToGlobal(QPointF(X, Y)),
                      Type == QEvent::MouseMove ? Qt::NoButton : Button, held, Mods);
        QApplication::sendEvent(w, &e);
    }
    void Press(int X, int Y, Qt::MouseButton B = Qt::LeftButton, Qt::KeyboardModifiers M = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, X, Y, B, M);
    }
    void Drag(int X, int Y, Qt::KeyboardModifiers M = Qt::NoModifier) {
        Send(QEvent::MouseMove, X, Y, Qt::LeftButton, M);
    }
    void Hover(int X, int Y) { Send(QEvent::MouseMove, X, Y, Qt::NoButton); }
    void Release(int X, int Y, Qt::MouseButton B = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, X, Y, B);
    }
    void Click(int X, int Y, Qt::MouseButton B = Qt::LeftButton) {
        Press(X, Y, B);
        Release(X, Y, B);
    }
    // The table's corner in the control's client area.
    TPoint Corner() {
        int l = 0, t = 0;
        EXPECT_TRUE(Doc()->GetItemClientCoords(1, l, t));
        return {l, t};
    }
    // The middle of a cell, in client coordinates.
    TPoint CellCentre(int Row, int Col) {
        const TRPTableCellData* c = T->GetCell(Row, Col);
        const TPoint o = Corner();
        return {o.x + c->Left + c->Width / 2, o.y + c->Top + c->Height / 2};
    }
    // Where vertical border Border and horizontal border Border lie (table coordinates).
    int BorderPos(bool Vertical, int Border) {
        const TRPTableItemFormattingInfo& f = T->FormattingInfo;
        for (int x = 0; x <= (Vertical ? f.Width : f.Height); ++x) {
            int s, p;
            if ((Vertical ? T->GetVBorderAt(x, s, p) : T->GetHBorderAt(x, s, p)) == Border) return p;
        }
        ADD_FAILURE() << "no border " << Border;
        return 0;
    }
    int VBorder(int Border) { return BorderPos(true, Border); }
    int HBorder(int Border) { return BorderPos(false, Border); }
    std::string Flags() {
        std::string s;
        for (int r = 0; r < T->Rows->RowCount(); ++r) {
            if (r) s += "/";
            for (int c = 0; c < T->Rows->GetColCount(); ++c) {
                const TRPTableCellData* cell = T->GetCell(r, c);
                s += !cell ? '.' : (cell->State & rpcsSelected) ? 'x' : 'o';
            }
        }
        return s;
    }
    std::vector<int> Bounds() {
        int top, left, rows, cols;
        if (!T->GetSelectionBounds(top, left, rows, cols)) return {};
        return {top, left, rows, cols};
    }
    int Cursor() const { return Target()->CurrentCursor(); }
    // A read-only view on the fixture's form showing "vor" and a table; the
    // mouse then works in it. The cells named in Links read "Link" in a jump style.
    TRichPad* MakeView(int Rows, int Cols, const std::vector<std::pair<int, int>>& Links = {}) {
        int linkStyle = -1;
        if (!Links.empty()) {
            TFontInfo* link = F.Style->TextStyles().Add();
            link->FontName = "Arial";
            link->Size = 15;
            link->Jump = true;
            linkStyle = F.Style->TextStyles().Count() - 1;
        }
        auto* view = new TRichPad(F.Form.get());
        view->SetParent(F.Form.get());
        view->SetBounds(0, 0, 300, 200);
        view->SetStyle(F.Style.get());
        view->AddText("vor", 0, 0);
        auto t = TRPTableItemInfo::CreateEx(Rows, Cols, view->RPData());
        T = t.get();
        for (const auto& [r, c] : Links) {
            T->GetCell(r, c)->Clear();
            T->GetCell(r, c)->AddNL("Link", linkStyle, 0);
        }
        view->RPData()->AddItem(std::string(), std::move(t));
        view->Format();
        View = view;
        return view;
    }
};

TEST_F(TableMouse, ColumnDragThroughTheRimResizesInOneUndoStep) {
    Build(2, 3);
    const std::string before = SaveRPF(*F.Edit);
    const TPoint o = Corner();
    const TRPTableCellData* a = T->GetCell(0, 0);
    const int w0 = T->FormattingInfo.ColWidths[0], w1 = T->FormattingInfo.ColWidths[1];
    // The rightmost pixel of cell (0, 0) is its rim: no cell, but the border next to it.
    const int rimX = a->Left + a->Width - 1, y = a->Top + a->Height / 2;
    int r, c;
    EXPECT_FALSE(T->GetCellAt(rimX, y, r, c));
    Hover(o.x + rimX, o.y + y);
    EXPECT_EQ(Cursor(), crHSplit);
    Press(o.x + rimX, o.y + y);
    EXPECT_TRUE(T->IsDragging());
    EXPECT_EQ(F.Data()->CaptureItem, T);
    EXPECT_FALSE(T->HasCellSelection());
    Drag(o.x + rimX + 30, o.y + y);
    Release(o.x + rimX + 30, o.y + y);
    EXPECT_FALSE(T->IsDragging());
    EXPECT_EQ(F.Data()->CaptureItem, nullptr);
    EXPECT_FALSE(F.Data()->IsXorDrawerRegistered());
    EXPECT_EQ(T->GetCell(0, 0)->BestWidth, w0 + 30);
    EXPECT_EQ(T->GetCell(1, 0)->BestWidth, w0 + 30);
    EXPECT_EQ(T->GetCell(0, 1)->BestWidth, 0); // the neighbour keeps its automatic width
    EXPECT_EQ(T->FormattingInfo.ColWidths[0], w0 + 30);
    EXPECT_LT(T->FormattingInfo.ColWidths[1], w1); // the automatic ones make room
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
}

TEST_F(TableMouse, ShiftDragKeepsTheSumOfTwoColumnsAndStopsAtTheirMinimum) {
    Build(2, 2);
    T->GetCell(1, 1)->Clear();
    T->GetCell(1, 1)->AddNL("wxyz", 0, 0); // 40 pixels of content in column 1
    T->BestWidth = 200;                    // the columns are wider than their content
    F.Edit->Format();
    F.Edit->ClearUndo();
    const std::string before = SaveRPF(*F.Edit);
    const TPoint o = Corner();
    const TRPTableItemFormattingInfo& f = T->FormattingInfo;
    const int w0 = f.ColWidths[0], w1 = f.ColWidths[1], sum = w0 + w1;
    const int x = VBorder(1), y = T->GetCell(0, 0)->Top + 5;
    Press(o.x + x, o.y + y, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_TRUE(T->IsDragging());
    Drag(o.x + x + 12, o.y + y);
    Release(o.x + x + 12, o.y + y);
    EXPECT_EQ(T->GetCell(0, 0)->BestWidth, w0 + 12);
    EXPECT_EQ(T->GetCell(0, 1)->BestWidth, w1 - 12);
    EXPECT_EQ(f.ColWidths[0] + f.ColWidths[1], sum);
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);

    // Far to the right the guide line stops where column 1 keeps its content.
    T = Table();
    const int minW1 = T->Rows->GetColMinWidth(1, nullptr, F.Data()->GetCanvas());
    EXPECT_EQ(minW1, 40);
    Press(o.x + x, o.y + y, Qt::LeftButton, Qt::ShiftModifier);
    Drag(o.x + x + 500, o.y + y);
    Release(o.x + x + 500, o.y + y);
    EXPECT_EQ(T->GetCell(0, 1)->BestWidth, minW1);
    EXPECT_EQ(T->GetCell(0, 0)->BestWidth, sum - minW1);
    // And far to the left column 0 keeps its own.
    const int x2 = VBorder(1);
    Press(o.x + x2, o.y + y);
    Drag(o.x - 200, o.y + y);
    Release(o.x - 200, o.y + y);
    EXPECT_EQ(T->GetCell(0, 0)->BestWidth, T->Rows->GetColMinWidth(0, nullptr, F.Data()->GetCanvas()));
    EXPECT_EQ(F.Data()->UndoList->Count(), 2);
}

TEST_F(TableMouse, RowDragSetsTheRowHeightInOneUndoStep) {
    Build(3, 2);
    const std::string before = SaveRPF(*F.Edit);
    const TPoint o = Corner();
    const int h0 = T->FormattingInfo.RowHeights[0];
    const int x = T->GetCell(0, 0)->Left + 4, y = HBorder(1);
    Hover(o.x + x, o.y + y);
    EXPECT_EQ(Cursor(), crVSplit);
    Press(o.x + x, o.y + y + 1); // a pixel off the line: the offset is kept while dragging
    ASSERT_TRUE(T->IsDragging());
    Drag(o.x + x, o.y + y + 26);
    Release(o.x + x, o.y + y + 26);
    EXPECT_EQ(T->GetCell(0, 0)->BestHeight, h0 + 25);
    EXPECT_EQ(T->GetCell(0, 1)->BestHeight, h0 + 25);
    EXPECT_EQ(T->GetCell(1, 0)->BestHeight, 0);
    EXPECT_EQ(T->FormattingInfo.RowHeights[0], h0 + 25);
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    // A row never becomes lower than its text.
    T = Table();
    Press(o.x + x, o.y + y);
    Drag(o.x + x, o.y - 100);
    Release(o.x + x, o.y - 100);
    EXPECT_EQ(T->FormattingInfo.RowHeights[0], h0);
}

TEST_F(TableMouse, BordersOfCollapsedSpacingKeepTheirPlaceOnAClick) {
    // Imported tables overlap their cells' borders: spacing -1, no padding.
    Build(2, 3);
    T->CellHSpacing = T->CellVSpacing = -1;
    T->CellPadding = 0;
    T->BestWidth = 240;
    F.Edit->Format();
    F.Edit->ClearUndo();
    const std::string before = SaveRPF(*F.Edit);
    const TPoint o = Corner();
    const TRPTableItemFormattingInfo& f = T->FormattingInfo;
    const int w0 = f.ColWidths[0], h0 = f.RowHeights[0];
    const int x = VBorder(1), y = HBorder(1), midY = T->GetCell(0, 0)->Top + 4,
              midX = T->GetCell(0, 0)->Left + 4;
    Click(o.x + x, o.y + midY);
    Click(o.x + midX, o.y + y);
    EXPECT_EQ(f.ColWidths[0], w0);
    EXPECT_EQ(f.RowHeights[0], h0);
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    EXPECT_EQ(F.Data()->UndoList->Count(), 0);
    Press(o.x + x, o.y + midY);
    Drag(o.x + x + 10, o.y + midY);
    Release(o.x + x + 10, o.y + midY);
    EXPECT_EQ(f.ColWidths[0], w0 + 10);
    EXPECT_EQ(VBorder(1), x + 10);
}

TEST_F(TableMouse, ATableThatGoesDuringADragTakesItsGuideLineAlong) {
    Build(2, 2);
    const TPoint o = Corner();
    const int x = VBorder(1), y = T->GetCell(0, 0)->Top + 4;
    Press(o.x + x, o.y + y);
    Drag(o.x + x + 5, o.y + y);
    ASSERT_TRUE(F.Data()->IsXorDrawerRegistered());
    F.Edit->Clear();
    T = nullptr;
    EXPECT_FALSE(F.Data()->IsXorDrawerRegistered());
    EXPECT_EQ(F.Data()->CaptureItem, nullptr);
    // The pointer goes on and lets go over what is left.
    Drag(o.x + x + 10, o.y + y);
    Release(o.x + x + 10, o.y + y);
    QImage img;
    F.Edit->PaintTo(img);
}

TEST_F(TableMouse, TheGuideLineIsDrawnInvertedAndGoesWithTheRelease) {
    Build(2, 2);
    T->BestWidth = 200;
    F.Edit->Format();
    const TPoint o = Corner();
    const int x = VBorder(1), y = T->GetCell(0, 0)->Top + 5;
    Press(o.x + x, o.y + y);
    Drag(o.x + x + 20, o.y + y);
    QImage img;
    F.Edit->PaintTo(img);
    EXPECT_EQ(T->DragLimit, x + 20);
    // The line runs over the table's whole height, black over the white page.
    const int lineX = o.x + x + 20;
    for (int yy : {o.y + 1, CellCentre(0, 1).y, CellCentre(1, 1).y, o.y + T->FormattingInfo.Height - 2})
        EXPECT_EQ(img.pixel(lineX, yy) & 0xFFFFFF, 0x000000u) << yy;
    EXPECT_EQ(img.pixel(lineX + 1, o.y + 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(lineX - 1, CellCentre(1, 1).y) & 0xFFFFFF, 0xFFFFFFu);
    Release(o.x + x + 20, o.y + y);
    F.Edit->PaintTo(img);
    // The column moved its border to where the line stood; no line is left.
    EXPECT_EQ(VBorder(1), x + 20);
    EXPECT_EQ(img.pixel(lineX, o.y + 1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TableMouse, DraggingSelectsTheUnionOfTheCornerCells) {
    Build(3, 3);
    T->Options &= ~rptoEditing;                   // no cell editor: a press selects cells
    T->Rows->MergeCells(0, 0, 1, 2, true, false); // (1, 0) is covered from (0, 0)
    F.Edit->Format();
    const TPoint a = CellCentre(0, 0), b = CellCentre(1, 1), c = CellCentre(2, 2);
    Press(a.x, a.y);
    EXPECT_TRUE(T->Selecting);
    EXPECT_EQ(F.Data()->CaptureItem, T);
    EXPECT_FALSE(T->HasCellSelection()); // one cell is no cell selection
    Drag(b.x, b.y);
    EXPECT_EQ(Bounds(), (std::vector<int>{0, 0, 2, 2}));
    EXPECT_EQ(Flags(), "xxo/.xo/ooo");
    Drag(c.x, c.y);
    EXPECT_EQ(Flags(), "xxx/.xx/xxx");
    Drag(b.x, b.y);
    Release(b.x, b.y);
    EXPECT_EQ(Flags(), "xxo/.xo/ooo");
    EXPECT_FALSE(T->Selecting);
    EXPECT_EQ(F.Data()->CaptureItem, nullptr);
    EXPECT_EQ(F.Data()->PartialSelectedItem, T);
    EXPECT_TRUE(F.Data()->SelectionExists(false, true));
    // The selected cells show the selection colour, the others none.
    {
        QImage img;
        F.Edit->PaintTo(img);
        const TColor sel = F.Data()->IsFocused() ? F.Style->SelColor : F.Style->InactiveSelColor;
        const auto inner = [&](int Row, int Col) {
            const TRPTableCellData* cell = T->GetCell(Row, Col);
            const TPoint o = Corner();
            return img.pixel(o.x + cell->Left + cell->Width - 3, o.y + cell->Top + cell->Height - 3);
        };
        EXPECT_EQ(QColor(inner(0, 0)), ToQColor(sel));
        EXPECT_EQ(QColor(inner(1, 1)), ToQColor(sel));
        EXPECT_EQ(QColor(inner(2, 1)), QColor(Qt::white));
        EXPECT_EQ(QColor(inner(0, 2)), QColor(Qt::white));
    }
    // Back to the anchor: nothing is selected any more.
    Press(a.x, a.y);
    Drag(c.x, c.y);
    Drag(a.x, a.y);
    Release(a.x, a.y);
    EXPECT_EQ(Flags(), "ooo/.oo/ooo");
    EXPECT_FALSE(T->HasCellSelection());
    // Where the document allows no selection a press selects nothing.
    F.Edit->Options &= ~rpoAllowSelection;
    Press(a.x, a.y);
    EXPECT_FALSE(T->Selecting);
    Release(a.x, a.y);
}

TEST_F(TableMouse, DeleteBackspaceAndCutEmptyDraggedCellsAsOneStep) {
    Build(2, 3);
    const std::string before = SaveRPF(*F.Edit);
    const auto selectAndPress = [&](uint16_t Key, TShiftState Shift) {
        const TPoint a = CellCentre(0, 0), b = CellCentre(1, 1);
        Press(a.x, a.y);
        Drag(b.x, b.y);
        Release(b.x, b.y);
        ProcessEvents();
        ASSERT_EQ(Flags(), "xxo/xxo");
        F.Edit->SendKey(Key, Shift);
        ProcessEvents();
        EXPECT_EQ(Text(0, 0) + Text(0, 1) + Text(0, 2) + Text(1, 0) + Text(1, 1) + Text(1, 2), "CF") << Key;
        EXPECT_EQ(F.Data()->GetItemCount(), 3) << Key;
        EXPECT_EQ(F.Data()->UndoList->Count(), 1) << Key;
        F.Edit->Undo();
        T = Table();
        EXPECT_EQ(SaveRPF(*F.Edit), before) << Key;
        F.Edit->ClearUndo();
    };
    selectAndPress(VK_DELETE, 0);
    selectAndPress(VK_BACK, 0);
    selectAndPress('X', ssCtrl);
    selectAndPress(VK_DELETE, ssShift);
    // Cells the table keeps from editing are not emptied: the key beeps.
    T->Options &= ~rptoEditing;
    const TPoint a = CellCentre(0, 0), b = CellCentre(1, 1);
    Press(a.x, a.y);
    Drag(b.x, b.y);
    Release(b.x, b.y);
    ASSERT_EQ(Flags(), "xxo/xxo");
    F.Edit->SendKey(VK_DELETE, 0);
    EXPECT_EQ(Text(0, 0) + Text(1, 1), "AE");
    EXPECT_EQ(F.Data()->UndoList->Count(), 0);
}

TEST_F(TableMouse, DoubleAndRightClicksFindTheWordInACell) {
    TRichPad* view = MakeView(1, 2);
    TRPTableCellData* cell = T->GetCell(0, 1);
    cell->Clear();
    cell->AddNL("eins zwei", 0, 0);
    T->Changed();
    view->Format();
    std::string dbl, right;
    view->OnRPDblClick = [&](TCustomRichPad*, const std::string& Word, int) { dbl = Word; };
    view->OnRPRightClick = [&](TCustomRichPad*, const std::string& Word, int, int, int) { right = Word; };
    int x = 0, y = 0;
    cell->GetOrigin(x, y);
    const int wx = x + 5 * 10 + 15 - view->RPData()->GetHOffs(), wy = y + 5 - view->RPData()->GetVOffs();
    Click(wx, wy);
    Send(QEvent::MouseButtonDblClick, wx, wy);
    Release(wx, wy);
    EXPECT_EQ(dbl, "zwei");
    int si, so, ei, eo;
    cell->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ((std::vector<int>{si, so, ei, eo}), (std::vector<int>{0, 6, 0, 10}));
    Click(x + 5 - view->RPData()->GetHOffs(), wy, Qt::RightButton);
    EXPECT_EQ(right, "eins");
    delete view;
}

TEST_F(TableMouse, RightClickInsideTheSelectionKeepsIt) {
    Build(2, 3);
    T->Options &= ~rptoEditing;
    const TPoint a = CellCentre(0, 0), b = CellCentre(1, 1), outside = CellCentre(0, 2);
    Press(a.x, a.y);
    Drag(b.x, b.y);
    Release(b.x, b.y);
    ASSERT_EQ(Flags(), "xxo/xxo");
    T->Options |= rptoEditing;
    F.Edit->Options |= rpoRClickDeselects;
    Click(b.x, b.y, Qt::RightButton);
    EXPECT_EQ(Flags(), "xxo/xxo");
    EXPECT_EQ(F.Data()->PartialSelectedItem, T);
    // Outside the selection a right click ends it.
    Click(outside.x, outside.y, Qt::RightButton);
    EXPECT_EQ(Flags(), "ooo/ooo");
    EXPECT_FALSE(T->HasCellSelection());
}

TEST_F(TableMouse, OuterBordersSelectRowsAndColumnsAndShowTheirCursors) {
    Build(3, 3);
    const TPoint o = Corner();
    const TRPTableCellData* mid = T->GetCell(1, 1);
    const int top = HBorder(0), left = VBorder(0);
    const int colX = mid->Left + mid->Width / 2, rowY = mid->Top + mid->Height / 2;
    Hover(o.x + colX, o.y + top);
    EXPECT_EQ(Cursor(), crSelectCol);
    Hover(o.x + left, o.y + rowY);
    EXPECT_EQ(Cursor(), crSelectRow);
    Hover(o.x + left, o.y + top); // the corner belongs to no row or column
    EXPECT_EQ(Cursor(), crArrow);
    Hover(o.x + colX, o.y + rowY);
    EXPECT_EQ(Cursor(), F.Edit->Cursor());

    Click(o.x + colX, o.y + top);
    EXPECT_EQ(Flags(), "oxo/oxo/oxo");
    EXPECT_EQ(F.Data()->CaptureItem, nullptr);
    EXPECT_EQ(F.Data()->PartialSelectedItem, T);
    Click(o.x + left, o.y + rowY);
    EXPECT_EQ(Flags(), "ooo/xxx/ooo");

    // Without the options the borders do nothing and show the arrow.
    T->Options &= ~(rptoColSelect | rptoRowSelect | rptoColSizing);
    T->ClearSelection();
    Hover(o.x + colX, o.y + top);
    EXPECT_EQ(Cursor(), crArrow);
    Hover(o.x + VBorder(1), o.y + rowY);
    EXPECT_EQ(Cursor(), crArrow);
    Click(o.x + colX, o.y + top);
    EXPECT_EQ(Flags(), "ooo/ooo/ooo");
    Press(o.x + VBorder(1), o.y + rowY);
    EXPECT_FALSE(T->IsDragging());
    Release(o.x + VBorder(1), o.y + rowY);
}

TEST_F(TableMouse, AViewSelectsCellsButSizesNothing) {
    std::unique_ptr<TRichPad> view(MakeView(2, 2));
    ASSERT_FALSE(T->TableState & rptbsEditorDoc);
    const TPoint o = Corner();
    const int x = VBorder(1), y = T->GetCell(0, 0)->Top + 5;
    const std::string before = T->SaveToBlock(TRPTableBlock(*T->Rows));
    Hover(o.x + x, o.y + y);
    EXPECT_EQ(Cursor(), crArrow);
    Press(o.x + x, o.y + y);
    EXPECT_FALSE(T->IsDragging());
    Drag(o.x + x + 20, o.y + y);
    Release(o.x + x + 20, o.y + y);
    EXPECT_EQ(T->SaveToBlock(TRPTableBlock(*T->Rows)), before);
    const TPoint a = CellCentre(0, 0), b = CellCentre(1, 0);
    Press(a.x, a.y);
    Drag(b.x, b.y);
    Release(b.x, b.y);
    EXPECT_EQ(Flags(), "xo/xo");
    // A right click in a view leaves the selection alone.
    const TPoint c = CellCentre(1, 1);
    Click(c.x, c.y, Qt::RightButton);
    EXPECT_EQ(Flags(), "xo/xo");
    View = nullptr;
}

TEST_F(TableMouse, ALinkInACellIsHoveredOnceWhileThePointerStaysOnIt) {
    std::unique_ptr<TRichPad> view(MakeView(1, 2, {{0, 1}}));
    std::vector<int> hovered;
    view->OnRPMouseMove = [&](TObject*, int Id) { hovered.push_back(Id); };
    const TRPTableCellData* cell = T->GetCell(0, 1);
    const TPoint o = Corner();
    const int x = o.x + cell->Left + 2 * T->CellPadding + 5, y = o.y + cell->Top + cell->Height / 2;
    Hover(x, y);
    Hover(x + 1, y);
    Hover(x + 2, y);
    EXPECT_EQ(Cursor(), F.Style->TextStyles().GetItem(F.Style->TextStyles().Count() - 1)->JumpCursor);
    EXPECT_EQ(hovered.size(), 1u);
    Hover(o.x + T->GetCell(0, 0)->Left + 3, y);
    ASSERT_EQ(hovered.size(), 2u);
    EXPECT_EQ(hovered[1], -1);
    // A click on it is a jump; a drag from it that selects cells is none.
    std::vector<int> jumps;
    view->OnJump = [&](TObject*, int Id) { jumps.push_back(Id); };
    Click(x, y);
    EXPECT_EQ(jumps, std::vector<int>{hovered[0]});
    EXPECT_EQ(view->GetJumpItemNo(hovered[0]), 0);
    Press(x, y);
    Drag(o.x + T->GetCell(0, 0)->Left + 3, y);
    Drag(x, y);
    Release(x, y);
    EXPECT_EQ(jumps.size(), 1u);
    View = nullptr;
}

TEST_F(TableMouse, TabWalksTheLinksOfTheCellsInReadingOrder) {
    std::unique_ptr<TRichPad> view(MakeView(2, 2, {{0, 1}, {1, 0}}));
    TRichPadRPData* d = view->RPData();
    d->MoveFocus(false, nullptr, false);
    EXPECT_EQ(std::vector<int>({T->FocusedRow, T->FocusedCol}), std::vector<int>({0, 1}));
    EXPECT_EQ(d->FocusedItemNo, 1);
    d->MoveFocus(false, nullptr, false);
    EXPECT_EQ(std::vector<int>({T->FocusedRow, T->FocusedCol}), std::vector<int>({1, 0}));
    EXPECT_EQ(T->GetCell(0, 1)->FocusedItemNo, -1);
    d->MoveFocus(true, nullptr, false);
    EXPECT_EQ(std::vector<int>({T->FocusedRow, T->FocusedCol}), std::vector<int>({0, 1}));
    T->ClearFocus();
    EXPECT_EQ(T->FocusedRow, -1);
    EXPECT_EQ(T->GetCell(0, 1)->FocusedItemNo, -1);
    View = nullptr;
}

TEST_F(TableMouse, AClickOpensTheCellEditorWithTheCaretUnderThePointer) {
    Build(2, 2);
    T->GetCell(1, 1)->Clear();
    T->GetCell(1, 1)->AddNL("Hund Katze", 0, 0);
    F.Edit->Format();
    const TPoint o = Corner();
    const TRPTableCellData* cell = T->GetCell(1, 1);
    // Between "Hund" and " Katze": characters are 10 pixels wide.
    const int x = o.x + cell->Left + T->CellPadding + 39, y = o.y + cell->Top + cell->Height / 2;
    Click(x, y);
    int r = -1, c = -1;
    TRPTableInplaceEdit* e = T->GetEditedCell(r, c);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::vector<int>({r, c}), std::vector<int>({1, 1}));
    EXPECT_EQ(e->EditData()->OffsetInCurItem(), 5);
    EXPECT_FALSE(e->EditData()->SelectionExists(false, false));
    EXPECT_FALSE(T->HasCellSelection());
    EXPECT_EQ(F.Data()->CaptureItem, nullptr);
    EXPECT_EQ(T->GetCellRPDataAt(cell->Left + 3, cell->Top + 3), e->EditData());
}

TEST_F(TableMouse, DraggingFromTheCellEditorSelectsCells) {
    Build(3, 3);
    const TPoint a = CellCentre(0, 0), b = CellCentre(1, 1);
    Press(a.x, a.y);
    ASSERT_NE(T->InplaceEditor(), nullptr);
    EXPECT_TRUE(T->Selecting);
    Drag(b.x, b.y);
    EXPECT_EQ(Flags(), "xxo/xxo/ooo");
    EXPECT_TRUE(T->InplaceEditor()->Highlighted());
    Release(b.x, b.y);
    ProcessEvents();
    // The editor goes; the cells stay selected.
    EXPECT_EQ(T->InplaceEditor(), nullptr);
    EXPECT_EQ(Flags(), "xxo/xxo/ooo");
    EXPECT_FALSE(T->Selecting);
    EXPECT_EQ(F.Data()->CaptureItem, nullptr);
    // A drag that comes back to its cell is a click there: the editor stays.
    Press(a.x, a.y);
    Drag(b.x, b.y);
    Drag(a.x + 2, a.y);
    Release(a.x + 2, a.y);
    ProcessEvents();
    EXPECT_NE(T->InplaceEditor(), nullptr);
    EXPECT_EQ(Flags(), "ooo/ooo/ooo");
}

TEST_F(TableMouse, ABorderDragClosesTheCellEditorAndOpensItAgainAfterTheDrop) {
    Build(2, 2);
    T->BestWidth = 200;
    F.Edit->Format();
    ASSERT_TRUE(T->EditCell(-1, 1, 0, false, false, true, false, false));
    TRPEditRPData* ed = T->InplaceEditor()->EditData();
    const std::string caret = std::to_string(ed->CurItemNo()) + ":" + std::to_string(ed->OffsetInCurItem());
    const TPoint o = Corner();
    const int x = VBorder(1), y = T->GetCell(0, 0)->Top + 4;
    Press(o.x + x, o.y + y);
    EXPECT_TRUE(T->IsDragging());
    EXPECT_EQ(T->InplaceEditor(), nullptr);
    Drag(o.x + x + 15, o.y + y);
    Release(o.x + x + 15, o.y + y);
    int r = -1, c = -1;
    ASSERT_NE(T->GetEditedCell(r, c), nullptr);
    EXPECT_EQ(std::vector<int>({r, c}), std::vector<int>({1, 0}));
    ed = T->InplaceEditor()->EditData();
    EXPECT_EQ(std::to_string(ed->CurItemNo()) + ":" + std::to_string(ed->OffsetInCurItem()), caret);
    EXPECT_EQ(VBorder(1), x + 15);
}

TEST_F(TableMouse, RowTopsAndCellDocumentsUnderAPoint) {
    Build(2, 2);
    const TRPTableItemFormattingInfo& f = T->FormattingInfo;
    EXPECT_EQ(T->GetRowTop(1), f.RowStarts[1]);
    EXPECT_EQ(T->GetRowTop(2), f.Height);
    const TRPTableCellData* b = T->GetCell(0, 1);
    EXPECT_EQ(T->GetCellRPDataAt(b->Left + 3, b->Top + 3), b);
    EXPECT_EQ(T->GetCellRPDataAt(b->Left, b->Top + 3), nullptr);
    EXPECT_TRUE(T->GetBoolValue(10));
}

// ---------------------------------------------------------------------------
// Cells selected by a drag, copied with Ctrl+C and pasted with Ctrl+V: they
// travel as a table of their own.

class TableCellCopy : public TableMouse {
protected:
    void SetUp() override { RPRegisterClipboardFormats(); }
    // A drag over the cells from (R1, C1) to (R2, C2) of the editor's table.
    void DragCells(int R1, int C1, int R2, int C2) {
        const TPoint a = CellCentre(R1, C1), b = CellCentre(R2, C2);
        Press(a.x, a.y);
        Drag(b.x, b.y);
        Release(b.x, b.y);
        ProcessEvents();
    }
    // A click just after the text of item ItemNo (characters are 10 pixels wide).
    void ClickAfterText(int ItemNo) {
        int l = 0, t = 0;
        ASSERT_TRUE(Doc()->GetItemClientCoords(ItemNo, l, t));
        Click(l + 10 * static_cast<int>(Doc()->GetItemText(ItemNo).size()) + 3, t + 5);
        ProcessEvents();
        ASSERT_EQ(F.CaretPos(),
                  std::to_string(ItemNo) + ":" + std::to_string(Doc()->GetItemText(ItemNo).size() + 1));
    }
    // Ctrl+V just after the text that follows the editor's table; answers the
    // document's tables.
    std::vector<TRPTableItemInfo*> PasteAfterTheTable() {
        ClickAfterText(2);
        PressKeyAtFocus('V', Qt::ControlModifier);
        ProcessEvents();
        return Tables(*F.Data());
    }
    // The editor's table, shown on its form with the focus, after the drag.
    void ShowWithFocus() {
        ShowAndActivate(F.Form.get());
        F.Edit->SetFocus();
        ProcessEvents();
    }
    // The tables of a document, in order.
    static std::vector<TRPTableItemInfo*> Tables(TCustomRPData& D) {
        std::vector<TRPTableItemInfo*> t;
        for (int i = 0; i < D.GetItemCount(); ++i)
            if (auto* table = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i))) t.push_back(table);
        return t;
    }
    // A table's cell texts: "|" between the positions of a row, "/" between
    // rows, "." where a merged cell covers the position.
    static std::string Grid(const TRPTableItemInfo& Table) {
        std::string s;
        for (int r = 0; r < Table.Rows->RowCount(); ++r) {
            if (r) s += "/";
            for (int c = 0; c < Table.Rows->GetColCount(); ++c) {
                if (c) s += "|";
                const TRPTableCellData* cell = Table.GetCell(r, c);
                s += cell ? PlainText(*cell) : ".";
            }
        }
        return s;
    }
    // The grid of the only table that a document holds ("no table" or "n tables").
    static std::string OnlyGrid(TCustomRPData& D) {
        const std::vector<TRPTableItemInfo*> t = Tables(D);
        return t.size() == 1 ? Grid(*t[0]) : t.empty() ? "no table" : std::to_string(t.size()) + " tables";
    }
    static QByteArray Clip(const QString& Mime) { return QApplication::clipboard()->mimeData()->data(Mime); }
    // The RTF of the clipboard, read by our reader into a document of the editor's style.
    std::string ClipboardRTFGrid() {
        QByteArray rtf = Clip(RPClipboardMimeType(RPClipboardFormatRTF));
        QBuffer buf(&rtf);
        buf.open(QIODevice::ReadOnly);
        TTableTestDoc d(F.Style.get());
        TRPRTFReaderProperties props;
        EXPECT_EQ(props.ReadRTFStream(buf, &d), 0);
        return OnlyGrid(d);
    }
    // Ctrl+V into a new editor on the form; answers its document's table.
    std::string PasteIntoAnotherEditor() {
        auto other = std::make_unique<TRichPadEdit>(F.Form.get());
        other->SetParent(F.Form.get());
        other->SetBounds(0, 0, 300, 200);
        other->SetStyle(F.Style.get());
        other->Clear();
        other->Format();
        other->SetFocus();
        ProcessEvents();
        PressKeyAtFocus('V', Qt::ControlModifier);
        ProcessEvents();
        const std::string grid = OnlyGrid(*other->RPData());
        other.reset();
        F.Edit->SetFocus();
        ProcessEvents();
        return grid;
    }
};

// In a table whose cells can be edited (as the log book's) and in one whose
// cannot, two cells selected by a drag are what Ctrl+C copies in each format,
// and what Ctrl+V pastes, into another editor and after the table.
TEST_F(TableCellCopy, CtrlCCopiesTheDraggedCellsAndCtrlVPastesThemAsATable) {
    for (const bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "cells editable" : "cells not editable");
        Build(2, 3);
        if (!editable) T->Options &= ~rptoEditing;
        ShowWithFocus();
        DragCells(0, 0, 0, 1);
        ASSERT_EQ(Flags(), "xxo/ooo");
        PressKeyAtFocus('C', Qt::ControlModifier);
        ProcessEvents();
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "A\r\nB\r\n");
        EXPECT_EQ(ClipboardRTFGrid(), "A|B");
        EXPECT_EQ(PasteIntoAnotherEditor(), "A|B");
        // After the table, in the same editor: the table itself stays as it was.
        const std::vector<TRPTableItemInfo*> t = PasteAfterTheTable();
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(Grid(*t[0]), "A|B|C/D|E|F");
        EXPECT_EQ(Grid(*t[1]), "A|B");
        EXPECT_GT(F.Data()->GetItemNo(t[1]), F.Data()->GetItemNo(t[0]) + 1);
        EXPECT_EQ(Misplaced(*F.Data()), "");
    }
}

// A merged cell that reaches out of the selected block is cut at its edge:
// the pasted table holds one cell for each position of the block, with the
// text of the cell that covered it, and no size of the whole merged cell.
TEST_F(TableCellCopy, AMergedCellReachingOutOfTheSelectionIsCutAtItsEdge) {
    Build(3, 3);
    T->Options &= ~rptoEditing;
    T->Rows->MergeCells(0, 0, 1, 2, true, false); // A also covers (1, 0)
    T->Rows->MergeCells(2, 1, 2, 1, true, false); // H also covers (2, 2)
    for (TRPTableCellData* cell : {T->GetCell(0, 0), T->GetCell(2, 1)}) {
        const std::string text = cell == T->GetCell(0, 0) ? "A" : "H";
        cell->Clear();
        cell->AddNL(text, 0, 0);
    }
    T->GetCell(2, 1)->BestWidth = 150;
    T->GetCell(0, 0)->BestHeight = 60;
    F.Edit->Format();
    ShowWithFocus();
    DragCells(2, 0, 1, 1); // from G to E: rows 1 and 2, columns 0 and 1
    ASSERT_EQ(Flags(), "xoo/.xo/xx.");
    PressKeyAtFocus('C', Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "A\r\nE\r\nG\r\nH\r\n");
    // The selection's HTML has a cell for each position and no spans.
    std::string html;
    TColor current = clNone;
    int no = 0;
    TRPHTMLParams p;
    p.Options = rphsoBodyOnly;
    ASSERT_TRUE(F.Data()->SaveHTMLRangeToStream(html, p, false, current, no, F.Data()->GetSaveRange(true)));
    size_t cells = 0;
    for (size_t at = html.find("<TD"); at != std::string::npos; at = html.find("<TD", at + 1))
        ++cells;
    EXPECT_EQ(cells, 4u) << html;
    EXPECT_EQ(html.find("span"), std::string::npos) << html;
    EXPECT_EQ(ClipboardRTFGrid(), "A|E/G|H");
    EXPECT_EQ(PasteIntoAnotherEditor(), "A|E/G|H");
    const std::vector<TRPTableItemInfo*> t = PasteAfterTheTable();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(Grid(*t[1]), "A|E/G|H");
    EXPECT_EQ(t[1]->GetCell(1, 1)->BestWidth, 0);
    EXPECT_EQ(t[1]->GetCell(0, 0)->BestHeight, 0);
    EXPECT_TRUE(t[1]->Rows->IsConsistent());
}

// A caret key ends a cell selection as it ends any other: what is pasted
// then goes to the caret and leaves the cells as they were.
TEST_F(TableCellCopy, ACaretKeyEndsTheCellSelection) {
    Build(2, 3);
    ShowWithFocus();
    DragCells(0, 0, 0, 1);
    ASSERT_EQ(Flags(), "xxo/ooo");
    PressKeyAtFocus('C', Qt::ControlModifier);
    PressKeyAtFocus(VK_END, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(Flags(), "ooo/ooo");
    EXPECT_FALSE(F.Data()->SelectionExists(false, true));
    PressKeyAtFocus('V', Qt::ControlModifier);
    ProcessEvents();
    const std::vector<TRPTableItemInfo*> t = Tables(*F.Data());
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(Grid(*t[0]), "A|B|C/D|E|F");
    EXPECT_EQ(Grid(*t[1]), "A|B");
}

// Shift with a caret key while cells are selected: the block of cells grows
// and shrinks by a cell or a row, and a move past the table's edge selects
// the whole table and the text beyond it. Whatever shows selected after each
// key is what Ctrl+C copies, Ctrl+X cuts, Delete deletes and a drag carries.
class TableCellShiftKeys : public TableCellCopy {
protected:
    struct TStep {
        uint16_t Key;
        Qt::KeyboardModifiers Mods; // Shift is added
        std::string Shown;          // the characters that show selected, in document order
    };
    // Every character of the document in order (cells row by row) and
    // whether it shows in the selection colour: a text's character by its
    // box, a cell by its background.
    std::vector<std::pair<char, bool>> Painted() {
        QImage img;
        F.Edit->PaintTo(img);
        const QColor sel = ToQColor(F.Data()->IsFocused() ? F.Style->SelColor : F.Style->InactiveSelColor);
        const auto lit = [&](int X, int Y, int W, int H) {
            for (int y = Y; y < Y + H; ++y)
                for (int x = X; x < X + W; ++x)
                    if (img.valid(x, y) && QColor(img.pixel(x, y)) == sel) return true;
            return false;
        };
        std::vector<std::pair<char, bool>> chars;
        TRPEditRPData* d = F.Data();
        for (int i = 0; i < d->GetItemCount(); ++i) {
            int l = 0, t = 0;
            EXPECT_TRUE(d->GetItemClientCoords(i, l, t));
            if (auto* table = dynamic_cast<TRPTableItemInfo*>(d->GetItem(i))) {
                for (int r = 0; r < table->Rows->RowCount(); ++r)
                    for (int c = 0; c < table->Rows->GetColCount(); ++c)
                        if (const TRPTableCellData* cell = table->GetCell(r, c))
                            for (char ch : PlainText(*cell))
                                chars.emplace_back(ch, lit(l + cell->Left + cell->Width - 5,
                                                           t + cell->Top + cell->Height - 5, 3, 3));
                continue;
            }
            const std::string& text = d->GetItemText(i);
            for (size_t k = 0; k < text.size(); ++k)
                chars.emplace_back(text[k], lit(l + 10 * static_cast<int>(k) + 1, t + 1, 8, 18));
        }
        return chars;
    }
    static std::string Chars(const std::vector<std::pair<char, bool>>& P, bool Lit) {
        std::string s;
        for (const auto& [ch, l] : P)
            if (l == Lit) s += ch;
        return s;
    }
    // The document the keys start from: "vor", the table and "nach".
    std::function<void()> Setup = [this] { Build(2, 3); };
    static std::string Squeezed(const QString& Text) {
        return QString(Text).remove(QRegularExpression(QStringLiteral("\\s"))).toStdString();
    }
    // From the cells dragged over, the keys of Steps one after the other;
    // after each, Ctrl+C, Ctrl+X or Delete, each on a document of its own.
    void Run(int R1, int C1, int R2, int C2, const std::vector<TStep>& Steps) {
        for (size_t n = 1; n <= Steps.size(); ++n)
            for (const int action : {0, 1, 2}) {
                const char* const names[] = {"Ctrl+C", "Ctrl+X", "Delete"};
                SCOPED_TRACE("step " + std::to_string(n) + ", " + names[action]);
                Setup();
                ShowWithFocus();
                DragCells(R1, C1, R2, C2);
                for (size_t i = 0; i < n; ++i) {
                    PressKeyAtFocus(Steps[i].Key, Steps[i].Mods | Qt::ShiftModifier);
                    ProcessEvents();
                }
                const std::vector<std::pair<char, bool>> painted = Painted();
                const std::string shown = Chars(painted, true);
                EXPECT_EQ(shown, Steps[n - 1].Shown);
                QApplication::clipboard()->clear();
                if (action == 0) {
                    PressKeyAtFocus('C', Qt::ControlModifier);
                    ProcessEvents();
                    EXPECT_EQ(Squeezed(QApplication::clipboard()->text()), shown);
                    // A drag takes the same selection along.
                    const std::unique_ptr<QMimeData> drag = F.Edit->CreateDragData();
                    EXPECT_EQ(Squeezed(drag->text()), shown);
                    const QString rpf = RPClipboardMimeType(RPClipboardFormatRPF);
                    EXPECT_EQ(drag->data(rpf), Clip(rpf));
                    continue;
                }
                if (action == 1)
                    PressKeyAtFocus('X', Qt::ControlModifier);
                else
                    PressKeyAtFocus(VK_DELETE);
                ProcessEvents();
                // What is left is what did not show selected.
                std::string left;
                for (const auto& [ch, l] : Painted())
                    left += ch;
                EXPECT_EQ(left, Chars(painted, false));
                if (action == 1) { EXPECT_EQ(Squeezed(QApplication::clipboard()->text()), shown); }
            }
    }
};

TEST_F(TableCellShiftKeys, ShiftDownAndUpGoRowByRowAndPastTheTableTakeItWhole) {
    Run(0, 0, 0, 1, {{VK_DOWN, Qt::NoModifier, "ABDE"}, {VK_DOWN, Qt::NoModifier, "ABCDEFnach"}});
    Run(0, 0, 0, 1, {{VK_UP, Qt::NoModifier, "vorABCDEF"}});
    Run(1, 1, 1, 0, {{VK_UP, Qt::ControlModifier, "ABDE"}, {VK_DOWN, Qt::ControlModifier, "DE"}});
}

TEST_F(TableCellShiftKeys, ShiftLeftRightHomeAndEndGoAlongTheRow) {
    Run(0, 0, 0, 1, {{VK_RIGHT, Qt::NoModifier, "ABC"}, {VK_RIGHT, Qt::NoModifier, "ABCDEF"}});
    Run(0, 0, 0, 1, {{VK_LEFT, Qt::NoModifier, "A"}, {VK_LEFT, Qt::ControlModifier, "ABCDEF"}});
    Run(1, 1, 1, 2, {{VK_HOME, Qt::NoModifier, "DE"}, {VK_END, Qt::NoModifier, "EF"}});
}

// A merged cell is crossed in one step, and the block keeps its column.
TEST_F(TableCellShiftKeys, TheBlockStepsOverMergedCells) {
    Setup = [this] {
        Build(3, 2); // A B / C D / E F, A reaching down over C
        T->GetCell(1, 0)->Clear();
        T->Rows->MergeCells(0, 0, 1, 2, true, false);
        F.Edit->Format();
    };
    Run(0, 1, 0, 0,
        {{VK_DOWN, Qt::NoModifier, "ABDEF"},
         {VK_UP, Qt::NoModifier, "ABD"},
         {VK_UP, Qt::NoModifier, "vorABDEF"}});
}

TEST_F(TableCellShiftKeys, PagesAndTheDocumentsEndsTakeTheWholeTable) {
    Run(0, 0, 0, 1, {{VK_NEXT, Qt::NoModifier, "ABCDEFnach"}, {VK_PRIOR, Qt::NoModifier, "vor"}});
    Run(1, 0, 1, 1, {{VK_END, Qt::ControlModifier, "ABCDEFnach"}});
    Run(1, 0, 1, 1, {{VK_HOME, Qt::ControlModifier, "vorABCDEF"}});
    Run(1, 0, 1, 1, {{VK_PRIOR, Qt::NoModifier, "vorABCDEF"}});
}

// Where neighbouring cells draw the line between them once (negative
// spacings, as tables read from RTF have), the copied cells at the block's
// top and left edge take the line their neighbour outside the block drew.
TEST_F(TableCellCopy, CellsCopiedFromATableOfSharedLinesKeepTheirFrame) {
    Build(2, 3);
    T->CellHSpacing = T->CellVSpacing = -1;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            T->GetCell(r, c)->VisibleBorders.SetValues(c == 0, r == 0, true, true);
    F.Edit->Format();
    ShowWithFocus();
    DragCells(1, 1, 1, 2);
    ASSERT_EQ(Flags(), "ooo/oxx");
    PressKeyAtFocus('C', Qt::ControlModifier);
    ProcessEvents();
    const std::vector<TRPTableItemInfo*> t = PasteAfterTheTable();
    ASSERT_EQ(t.size(), 2u);
    ASSERT_EQ(Grid(*t[1]), "E|F");
    // Left, top, right, bottom.
    EXPECT_TRUE(t[1]->GetCell(0, 0)->VisibleBorders.IsEqualValues(true, true, true, true));
    EXPECT_TRUE(t[1]->GetCell(0, 1)->VisibleBorders.IsEqualValues(false, true, true, true));
    // The table copied from keeps its cells as they were.
    EXPECT_TRUE(t[0]->GetCell(1, 1)->VisibleBorders.IsEqualValues(false, false, true, true));
}

// What the real readers make of the copied cells: LibreOffice reads the
// clipboard's RTF, xmllint the selection's HTML; both find the two cells only.
TEST_F(TableCellCopy, LibreOfficeAndXmllintReadOnlyTheCopiedCells) {
    Build(2, 3);
    ShowWithFocus();
    DragCells(0, 1, 0, 2);
    ASSERT_EQ(Flags(), "oxx/ooo");
    PressKeyAtFocus('C', Qt::ControlModifier);
    ProcessEvents();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto save = [&](const QString& Name, const QByteArray& Bytes) {
        QFile f(dir.filePath(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    };
    save(QStringLiteral("zellen.rtf"), Clip(RPClipboardMimeType(RPClipboardFormatRTF)));
    {
        std::string html;
        TColor current = clNone;
        int no = 0;
        ASSERT_TRUE(F.Data()->SaveHTMLRangeToStream(html, TRPHTMLParams(), true, current, no,
                                                    F.Data()->GetSaveRange(true)));
        save(QStringLiteral("zellen.html"), QByteArray(html.data(), static_cast<qsizetype>(html.size())));
    }
    const QString profile =
        QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile"));
    QByteArray out, err;
    QString error = RunReader(QStringLiteral("soffice"),
                              {profile, QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                               QStringLiteral("txt:Text"), QStringLiteral("--outdir"), dir.path(),
                               dir.filePath(QStringLiteral("zellen.rtf"))},
                              &out, &err, 180000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    QFile txt(dir.filePath(QStringLiteral("zellen.txt")));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(txt.readAll()).remove(QChar(0xFEFF)).simplified().toStdString(), "B C");
    error =
        RunReader(QStringLiteral("xmllint"),
                  {QStringLiteral("--html"), QStringLiteral("--xpath"),
                   QStringLiteral("concat(count(//table), '|', count(//td), '|', normalize-space(//table))"),
                   dir.filePath(QStringLiteral("zellen.html"))},
                  &out, &err, 60000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(QString::fromUtf8(out).trimmed().toStdString(), "1|2|B C");
}

} // namespace

// A press in the selection of a cell being edited that is released before
// the pointer moved is a click there: the cell's selection collapses at it.
TEST_F(TableMouse, APressInACellsSelectionReleasedInPlaceIsAClick) {
    Build(1, 2);
    TRPTableCellData* cell = T->GetCell(0, 0);
    cell->Clear();
    cell->AddNL("eins zwei", 0, 0);
    F.Edit->Format();
    ASSERT_TRUE(T->EditCell(-1, 0, 0, false, false, true, false, false));
    TRPTableInplaceEdit* e = T->InplaceEditor();
    e->SetSelectionBounds(0, 6, 0, 10);
    QWidget* w = e->ClientWidget();
    const QPointF at(e->LeftMargin + 70 + 2, 8);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    EXPECT_TRUE(e->EditData()->State & rpstDragPending);
    EXPECT_EQ(e->EditData()->GetSelText(), QStringLiteral("zwei"));
    QApplication::sendEvent(w, &release);
    ASSERT_EQ(T->InplaceEditor(), e);
    EXPECT_FALSE(e->EditData()->State & (rpstDragPending | rpstDragging));
    EXPECT_FALSE(e->EditData()->SelectionExists(false, false));
    EXPECT_EQ(e->EditData()->CurItemNo(), 0);
    EXPECT_EQ(e->EditData()->OffsetInCurItem(), 8);
    EXPECT_FALSE(F.Data()->State & rpstDragPending);
}
