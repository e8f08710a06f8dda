// Popup menus of controls (right click, menu key, Shift+F10) and dragging a
// control onto another.
#include "platform/ControlsStd.h"
#include "platform/Menus.h"
#include "support/FormDriver.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A panel holding a button on a shown form, and a menu of two entries.
struct MenuTest : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TPanel* panel = new TPanel(form.get());
    TButton* button = new TButton(form.get());
    TPopupMenu* menu = new TPopupMenu(form.get());
    std::vector<std::string> clicked;
    MenuTest() {
        form->SetBounds(40, 30, 400, 300);
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 200, 150);
        button->SetParent(panel);
        button->SetBounds(20, 20, 80, 25);
        for (const char* caption : {"&Kopieren", "-", "Alles markieren"}) {
            auto* item = new TMenuItem(form.get());
            item->SetCaption(QString::fromUtf8(caption));
            item->OnClick = [this, caption](TObject*) { clicked.emplace_back(caption); };
            menu->Items()->Add(item);
        }
        ShowAndActivate(form.get());
    }
    ~MenuTest() override {
        if (QMenu* m = menu->Shown()) m->close();
    }
    static void RightClick(QWidget* w, QPoint at) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &e);
    }
    // A key pressed and released. Qt takes the modifiers of the last key
    // press sent as the keyboard's state: a key without them, sent elsewhere,
    // lets them go again.
    static void Key(QWidget* w, int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, QtKey, Mods);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, QtKey, Mods);
        QApplication::sendEvent(w, &release);
        if (Mods == Qt::NoModifier) return;
        QWidget elsewhere;
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QApplication::sendEvent(&elsewhere, &plain);
    }
};

} // namespace

TEST_F(MenuTest, ARightClickPopsUpTheMenuOfTheControlOrOfAParentAtThePointer) {
    panel->SetPopupMenu(menu);
    // The button has no menu of its own: its parent's pops up where the pointer is.
    RightClick(button->Widget(), QPoint(5, 6));
    QMenu* shown = menu->Shown();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->pos(), button->Widget()->mapToGlobal(QPoint(5, 6)));
    EXPECT_EQ(menu->PopupComponent, panel);
    ASSERT_EQ(shown->actions().size(), 3);
    EXPECT_TRUE(shown->actions()[1]->isSeparator());
    shown->actions()[2]->trigger();
    EXPECT_EQ(clicked, (std::vector<std::string>{"Alles markieren"}));
    shown->close();
    // OnContextPopup sees the point in the control's client area and may keep the menu down.
    TPoint seen{0, 0};
    panel->OnContextPopup = [&](TObject*, TPoint P, bool& Handled) {
        seen = P;
        Handled = true;
    };
    RightClick(panel->Widget(), QPoint(150, 100));
    EXPECT_EQ(seen, (TPoint{150, 100}));
    EXPECT_EQ(menu->Shown(), nullptr);
    // A freed menu is forgotten.
    button->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(button->PopupMenu(), nullptr);
    menu = new TPopupMenu(form.get());
}

TEST_F(MenuTest, TheMenuKeyAndShiftF10PopUpTheMenuAtTheFocusedControl) {
    button->SetPopupMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    button->SetFocus();
    Key(button->Widget(), Qt::Key_Menu);
    ASSERT_NE(menu->Shown(), nullptr);
    EXPECT_EQ(menu->Shown()->pos(), button->Widget()->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(menu->PopupComponent, button);
    menu->Shown()->close();
    Key(button->Widget(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_NE(menu->Shown(), nullptr);
    EXPECT_EQ(popups, 2);
    menu->Shown()->close();
    // The X server's request comes before the menu key itself: one menu for both.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5));
    QApplication::sendEvent(button->Widget(), &request);
    EXPECT_EQ(popups, 3);
    Key(button->Widget(), Qt::Key_Menu);
    EXPECT_EQ(popups, 3);
    menu->Shown()->close();
    // F10 alone asks for nothing, nor a key that OnKeyDown takes, nor a menu switched off.
    Key(button->Widget(), Qt::Key_F10);
    button->OnKeyDown = [](TObject*, uint16_t& K, TShiftState) { K = 0; };
    Key(button->Widget(), Qt::Key_Menu);
    button->OnKeyDown = nullptr;
    menu->AutoPopup = false;
    Key(button->Widget(), Qt::Key_Menu);
    EXPECT_EQ(popups, 3);
}

namespace {

// Dragging a panel of the form onto another with the left button.
struct DragTest : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TPanel* source = new TPanel(form.get());
    TPanel* target = new TPanel(form.get());
    std::vector<std::string> log;
    DragTest() {
        form->SetBounds(40, 30, 400, 300);
        for (TPanel* p : {source, target})
            p->SetParent(form.get());
        source->SetBounds(10, 10, 100, 100);
        target->SetBounds(200, 10, 150, 150);
        source->OnEndDrag = [this](TObject*, TObject* Target, int X, int Y) {
            const std::string name = Target == target ? "target" : Target ? "?" : "none";
            log.push_back("end " + name + " " + std::to_string(X) + "," + std::to_string(Y));
        };
        ShowAndActivate(form.get());
    }
    ~DragTest() override { source->EndDrag(false); }
    // A mouse event at At of the source, the pointer there.
    void Mouse(QEvent::Type Type, QPoint At) {
        const QPoint global = source->Widget()->mapToGlobal(At);
        QCursor::setPos(global);
        QMouseEvent e(Type, QPointF(At), QPointF(global),
                      Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(source->Widget(), &e);
    }
    void Accepting(bool Accept) {
        target->OnDragOver = [this, Accept](TObject*, TObject* Source, int X, int Y, TDragState State,
                                            bool& Acc) {
            EXPECT_EQ(Source, source);
            static const char* names[] = {"enter", "leave", "move"};
            log.push_back(std::string(names[State]) + " " + std::to_string(X) + "," + std::to_string(Y));
            Acc = Accept;
        };
    }
};

} // namespace

TEST_F(DragTest, AnAutomaticDragAsksTheControlsUnderThePointerAndDropsOnTheOneThatTakesIt) {
    Accepting(true);
    target->OnDragDrop = [this](TObject*, TObject* Source, int X, int Y) {
        EXPECT_EQ(Source, source);
        log.push_back("drop " + std::to_string(X) + "," + std::to_string(Y));
    };
    source->SetDragMode(dmAutomatic);
    Mouse(QEvent::MouseButtonPress, QPoint(50, 50));
    EXPECT_TRUE(source->Dragging());
    Mouse(QEvent::MouseMove, QPoint(80, 50));  // over the source, which takes nothing
    Mouse(QEvent::MouseMove, QPoint(200, 50)); // 10, 50 in the target
    Mouse(QEvent::MouseMove, QPoint(210, 60));
    EXPECT_EQ(QApplication::overrideCursor()->shape(), QtCursor(crDrag).shape());
    Mouse(QEvent::MouseButtonRelease, QPoint(210, 60));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(log, (std::vector<std::string>{"enter 10,50", "move 10,50", "move 20,60", "move 20,60",
                                             "leave 20,60", "drop 20,60", "end target 20,60"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DragTest, ARefusedOrCancelledDragEndsWithoutATarget) {
    Accepting(false);
    source->BeginDrag();
    Mouse(QEvent::MouseMove, QPoint(200, 50));
    Mouse(QEvent::MouseButtonRelease, QPoint(200, 50));
    EXPECT_EQ(log.back(), "end none 0,0");
    // Escape cancels a drag the target would take.
    Accepting(true);
    source->BeginDrag();
    Mouse(QEvent::MouseMove, QPoint(200, 50));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form->Widget(), &esc);
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(log.back(), "end none 0,0");
}
