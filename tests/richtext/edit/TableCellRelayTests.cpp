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

class CellRelay : public TableInplace {
protected:
    TPopupMenu* Menu = nullptr;
    std::vector<std::string> Log;
    void SetUp() override {
        Build(2, 2);
        Menu = new TPopupMenu(F.Form.get());
        auto* item = new TMenuItem(F.Form.get());
        item->SetCaption(QStringLiteral("Zelle teilen"));
        Menu->Items()->Add(item);
        ShowAndActivate(F.Form.get());
        ASSERT_TRUE(Open(0, 1));
        ProcessEvents();
    }
    void TearDown() override {
        if (QMenu* m = Menu->Shown()) m->close();
    }
    QPoint HostScreen(int X, int Y) const { return F.Edit->ClientWidget()->mapToGlobal(QPoint(X, Y)); }
    // A left (right) button event at (X, Y) of a control's client area, the pointer there.
    static void Mouse(QEvent::Type Type, QWidget* W, QPoint At, Qt::MouseButton Button = Qt::LeftButton) {
        const QPoint global = W->mapToGlobal(At);
        QCursor::setPos(global);
        QMouseEvent e(Type, QPointF(At), QPointF(global), Type == QEvent::MouseMove ? Qt::NoButton : Button,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button),
                      Qt::NoModifier);
        QApplication::sendEvent(W, &e);
    }
    std::string At(const char* What, TObject* Sender, int X, int Y) {
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
    EXPECT_EQ(Menu->Shown()->pos(), HostScreen(0, 0));
    EXPECT_EQ(Menu->PopupComponent, F.Edit);
    Menu->Shown()->close();
    // A right click in the cell: the host's menu, at the pointer, for the cell's editor.
    QWidget* cell = Editor()->ClientWidget();
    Mouse(QEvent::MouseButtonPress, cell, QPoint(5, 6), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, cell, QPoint(5, 6), Qt::RightButton);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), cell->mapToGlobal(QPoint(5, 6)));
    EXPECT_EQ(Menu->PopupComponent, Editor());
}

TEST_F(CellRelay, AControlDraggedOverACellIsDraggedOverTheHost) {
    auto* source = new TPanel(F.Form.get());
    source->SetParent(F.Form.get());
    source->SetBounds(305, 10, 40, 40);
    source->SetDragMode(dmAutomatic);
    F.Edit->OnDragOver = [&](TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept) {
        EXPECT_EQ(Source, source);
        if (State == dsDragMove) Log.push_back(At("over", Sender, X, Y));
        Accept = true;
    };
    F.Edit->OnDragDrop = [&](TObject* Sender, TObject* Source, int X, int Y) {
        EXPECT_EQ(Source, source);
        Log.push_back(At("drop", Sender, X, Y));
    };
    source->OnEndDrag = [&](TObject*, TObject* Target, int X, int Y) {
        Log.push_back(std::string("end ") + (Target == Editor() ? "cell " : "? ") + std::to_string(X) + "," +
                      std::to_string(Y));
    };
    const int left = Editor()->Left(), top = Editor()->Top();
    Mouse(QEvent::MouseButtonPress, source->Widget(), QPoint(5, 5));
    Mouse(QEvent::MouseMove, Editor()->ClientWidget(), QPoint(3, 4));
    Mouse(QEvent::MouseButtonRelease, Editor()->ClientWidget(), QPoint(3, 4));
    const std::string over = At("over", F.Edit, left + 3, top + 4);
    // The host hears of the drop once the drop itself is over.
    EXPECT_EQ(Log, (std::vector<std::string>{over, over, "end cell 3,4"}));
    ProcessEvents();
    EXPECT_EQ(Log.back(), At("drop", F.Edit, left + 3, top + 4));
}

TEST_F(CellRelay, TheEndOfADragOutOfACellIsTheHosts) {
    auto* target = new TPanel(F.Form.get());
    target->SetParent(F.Form.get());
    target->SetBounds(305, 10, 40, 40);
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = true; };
    F.Edit->OnEndDrag = [&](TObject* Sender, TObject* Target, int X, int Y) {
        Log.push_back(At(Target == target ? "end on panel" : "end", Sender, X, Y));
    };
    TRPTableInplaceEdit* editor = Editor();
    QCursor::setPos(editor->ClientWidget()->mapToGlobal(QPoint(3, 4)));
    editor->BeginDrag(true);
    Mouse(QEvent::MouseMove, target->Widget(), QPoint(7, 8));
    Mouse(QEvent::MouseButtonRelease, target->Widget(), QPoint(7, 8));
    EXPECT_TRUE(Log.empty());
    ProcessEvents();
    EXPECT_EQ(Log, (std::vector<std::string>{At("end on panel", F.Edit, 7, 8)}));
}
