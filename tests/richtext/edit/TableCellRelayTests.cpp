// What happens in an open cell editor and belongs to the host control: its
// popup menu, and controls dragged over the cell or out of it.
#include <gtest/gtest.h>

#include "TableEditFixture.h"
#include "platform/ControlsStd.h"
#include "platform/Menus.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

namespace {

// Cell (0, 1) open in the editor of a shown form, and a panel beside the editor.
class CellRelay : public TableInplace {
protected:
    TPopupMenu* Menu = nullptr;
    TPanel* Panel = nullptr;
    std::vector<std::string> Log;
    void SetUp() override {
        Build(2, 2);
        Menu = new TPopupMenu(F.Form.get());
        Panel = new TPanel(F.Form.get());
        Panel->SetParent(F.Form.get());
        Panel->SetBounds(305, 10, 40, 40);
        ShowAndActivate(F.Form.get());
        ASSERT_TRUE(Open(0, 1));
        ProcessEvents();
    }
    void TearDown() override {
        if (QMenu* m = Menu->Shown()) m->close();
    }
    // A button event at At of a widget, the pointer there.
    static void Mouse(QEvent::Type Type, QWidget* W, QPoint At, Qt::MouseButton Button = Qt::LeftButton) {
        const QPoint global = W->mapToGlobal(At);
        QCursor::setPos(global);
        QMouseEvent e(Type, QPointF(At), QPointF(global), Type == QEvent::MouseMove ? Qt::NoButton : Button,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button),
                      Qt::NoModifier);
        QApplication::sendEvent(W, &e);
    }
    // What the host heard, with the position in its client area.
    std::string Heard(const char* What, TObject* Sender, int X, int Y) const {
        return std::string(What) + (Sender == F.Edit ? " host " : " ? ") + std::to_string(X) + "," +
               std::to_string(Y);
    }
};

} // namespace

TEST_F(CellRelay, TheMenuKeyInACellOpensTheHostsMenuAndARightClickPopsItUpAtThePointer) {
    F.Edit->SetPopupMenu(Menu);
    ASSERT_EQ(QApplication::focusWidget(), Editor()->Widget());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
    QApplication::sendEvent(Editor()->Widget(), &key);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), F.Edit->ClientWidget()->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(Menu->PopupComponent, F.Edit);
    Menu->Shown()->close();
    QWidget* cell = Editor()->ClientWidget();
    Mouse(QEvent::MouseButtonPress, cell, QPoint(5, 6), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, cell, QPoint(5, 6), Qt::RightButton);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), cell->mapToGlobal(QPoint(5, 6)));
    EXPECT_EQ(Menu->PopupComponent, Editor());
}

TEST_F(CellRelay, AControlDroppedOnACellIsDroppedOnTheHostAfterTheDrop) {
    Panel->SetDragMode(dmAutomatic);
    F.Edit->OnDragOver = [&](TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool&) {
        EXPECT_EQ(Source, Panel);
        if (State == dsDragMove) Log.push_back(Heard("over", Sender, X, Y));
    };
    F.Edit->OnDragDrop = [&](TObject* Sender, TObject* Source, int X, int Y) {
        EXPECT_EQ(Source, Panel);
        Log.push_back(Heard("drop", Sender, X, Y));
    };
    Panel->OnEndDrag = [&](TObject*, TObject* Target, int, int) {
        Log.push_back(Target == Editor() ? "end" : "?");
    };
    Mouse(QEvent::MouseButtonPress, Panel->Widget(), QPoint(5, 5));
    Mouse(QEvent::MouseMove, Editor()->ClientWidget(), QPoint(3, 4));
    Mouse(QEvent::MouseButtonRelease, Editor()->ClientWidget(), QPoint(3, 4));
    const int x = Editor()->Left() + 3, y = Editor()->Top() + 4;
    const std::string over = Heard("over", F.Edit, x, y);
    EXPECT_EQ(Log, (std::vector<std::string>{over, over, "end"}));
    // The host hears of the drop once the drop itself is over.
    ProcessEvents();
    EXPECT_EQ(Log.back(), Heard("drop", F.Edit, x, y));
}

TEST_F(CellRelay, TheEndOfADragOutOfACellIsTheHosts) {
    Panel->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {};
    F.Edit->OnEndDrag = [&](TObject* Sender, TObject* Target, int X, int Y) {
        Log.push_back(Heard(Target == Panel ? "end on panel" : "end", Sender, X, Y));
    };
    QCursor::setPos(Editor()->ClientWidget()->mapToGlobal(QPoint(3, 4)));
    Editor()->BeginDrag();
    Mouse(QEvent::MouseMove, Panel->Widget(), QPoint(7, 8));
    Mouse(QEvent::MouseButtonRelease, Panel->Widget(), QPoint(7, 8));
    EXPECT_TRUE(Log.empty());
    ProcessEvents();
    EXPECT_EQ(Log, (std::vector<std::string>{"end on panel host 7,8"}));
}
