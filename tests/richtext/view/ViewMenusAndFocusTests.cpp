// What a caller of the view meets beside the document: its popup menu on a
// right click and on the menu key, its wheel event, a style component freed
// under it, and Tab through the controls embedded in its document.
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/ControlsStd.h"
#include "platform/Menus.h"
#include "richtext/model/RPItemNonText.h"
#include "support/FormDriver.h"

namespace {

class ViewMenus : public ViewFixture {
protected:
    TPopupMenu* Menu = nullptr;
    void SetUp() override {
        ViewFixture::SetUp();
        Form->SetBounds(30, 20, 400, 300);
        Menu = new TPopupMenu(Form.get());
        auto* item = new TMenuItem(Form.get());
        item->SetCaption(QStringLiteral("Kopieren"));
        Menu->Items()->Add(item);
        View->AddText("Hallo Welt", 0, 0);
        View->Format();
    }
    void TearDown() override {
        if (QMenu* m = Menu->Shown()) m->close();
        Form->Hide();
    }
    void Mouse(QEvent::Type Type, int X, int Y, Qt::MouseButton Button) {
        QMouseEvent e(Type, QPointF(X, Y), View->ClientWidget()->mapToGlobal(QPointF(X, Y)), Button,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button),
                      Qt::NoModifier);
        QApplication::sendEvent(View->ClientWidget(), &e);
    }
    void RightClick(int X, int Y) {
        Mouse(QEvent::MouseButtonPress, X, Y, Qt::RightButton);
        Mouse(QEvent::MouseButtonRelease, X, Y, Qt::RightButton);
    }
    // A key pressed and released. Qt takes the modifiers of the last key
    // press sent as the keyboard's state: a key without them, sent elsewhere,
    // lets them go again.
    void Key(QWidget* To, int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, QtKey, Mods);
        QApplication::sendEvent(To, &press);
        QKeyEvent release(QEvent::KeyRelease, QtKey, Mods);
        QApplication::sendEvent(To, &release);
        if (Mods == Qt::NoModifier) return;
        QWidget elsewhere;
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QApplication::sendEvent(&elsewhere, &plain);
    }
    QPoint Screen(int X, int Y) const { return View->ClientWidget()->mapToGlobal(QPoint(X, Y)); }
    void Show() { ShowAndActivate(Form.get()); }
};

} // namespace

TEST_F(ViewMenus, ARightClickOnTheDocumentPopsUpTheViewsMenuAtThePointer) {
    Show();
    View->SetPopupMenu(Menu);
    RightClick(60, 12);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), Screen(60, 12));
    EXPECT_EQ(Menu->PopupComponent, View);
    Menu->Shown()->close();
    // The system's own request for the same click shows no second menu.
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(60, 12), Screen(60, 12));
    QApplication::sendEvent(View->ClientWidget(), &e);
    EXPECT_EQ(Menu->Shown(), nullptr);
    // A handler that takes the request keeps the menu down.
    TPoint at{-1, -1};
    View->OnContextPopup = [&](TObject*, TPoint P, bool& Handled) {
        at = P;
        Handled = true;
    };
    RightClick(70, 14);
    EXPECT_EQ(at, (TPoint{70, 14}));
    EXPECT_EQ(Menu->Shown(), nullptr);
}

TEST_F(ViewMenus, OverAnEmbeddedControlWithoutAMenuTheViewsMenuShows) {
    Show();
    View->SetPopupMenu(Menu);
    auto* button = new TButton(Form.get());
    button->SetParent(View);
    button->SetBounds(100, 50, 60, 25);
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), button->Widget()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button->Widget(), &e);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), Screen(105, 55));
}

TEST_F(ViewMenus, TheMenuKeyPopsUpTheViewsMenuAtItsCorner) {
    Show();
    View->SetPopupMenu(Menu);
    View->SetFocus();
    Key(View->Widget(), Qt::Key_Menu);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), Screen(0, 0));
    Menu->Shown()->close();
    Key(View->Widget(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_NE(Menu->Shown(), nullptr);
}

TEST_F(ViewMenus, TheWheelEventSeesTheTurnAndTheViewScrollsAfterIt) {
    Show();
    View->Clear();
    for (int i = 0; i < 60; ++i)
        View->AddText("line " + std::to_string(i), 0, 0);
    View->Format();
    SetSystemWheelScrollLines(3);
    std::vector<std::string> seen;
    bool take = false;
    View->OnMouseWheel = [&](TObject* Sender, TShiftState Shift, int Delta, TPoint MousePos, bool& Handled) {
        EXPECT_EQ(Sender, View);
        EXPECT_FALSE(Handled);
        seen.push_back(std::to_string(Delta) + " " + std::to_string(Shift) + " " +
                       std::to_string(MousePos.x - Screen(0, 0).x()) + "," +
                       std::to_string(MousePos.y - Screen(0, 0).y()) + " at " + std::to_string(View->VPos));
        Handled = take;
    };
    auto wheel = [&](int Delta) {
        QWheelEvent e(QPointF(10, 20), QPointF(Screen(10, 20)), QPoint(), QPoint(0, Delta), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(View->ClientWidget(), &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(wheel(-120));
    EXPECT_EQ(View->VPos, 2);
    // A view without a wheel step leaves the turn to its parent, unless the handler took it.
    View->WheelStep = 0;
    EXPECT_FALSE(wheel(-120));
    take = true;
    EXPECT_TRUE(wheel(-120));
    EXPECT_EQ(View->VPos, 2);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"-120 4 10,20 at 0", "-120 4 10,20 at 2", "-120 4 10,20 at 2"}));
    SetSystemWheelScrollLines(0);
}

TEST_F(ViewMenus, AStyleComponentFreedUnderTheViewLeavesItWithoutAStyle) {
    Show();
    auto style = MakeLayoutStyle();
    View->SetStyle(style.get());
    int painted = 0;
    View->OnPaint = [&](TCustomRichPad*, TCanvas*, bool) { ++painted; };
    QImage img;
    View->PaintTo(img);
    EXPECT_EQ(painted, 1);
    style.reset();
    EXPECT_EQ(View->Style(), nullptr);
    // The view says so instead of painting the document.
    View->PaintTo(img);
    EXPECT_EQ(painted, 1);
    int ink = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 150; ++x)
            ink += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(ink, 20);
    // A view freed first is not told when its style goes.
    auto other = MakeLayoutStyle();
    View->SetStyle(other.get());
    delete View;
    View = nullptr;
    other.reset();
}

namespace {

// "a one [button] two" with links "one" and "two" and a button embedded
// between them, and a button of the form after the view.
class ViewTab : public ViewMenus {
protected:
    TButton* Embedded = nullptr;
    TButton* After = nullptr;
    int ButtonItem = -1;
    void SetUp() override {
        ViewMenus::SetUp();
        View->Clear();
        View->AddText("a ", 0, 0);
        View->AddText("one", 2, -1);
        auto item = std::make_unique<TRPControlItemInfo>(View->RPData());
        item->StyleNo = rpsnControl;
        auto button = std::make_unique<TButton>(nullptr);
        button->SetBounds(0, 0, 40, 20);
        button->SetParent(View);
        Embedded = button.get();
        item->Control = std::move(button);
        View->RPData()->AddItem("knopf", std::move(item));
        ButtonItem = View->ItemCount() - 1;
        View->AddText("two", 2, -1);
        View->Format();
        After = new TButton(Form.get());
        After->SetParent(Form.get());
        After->SetBounds(310, 10, 60, 25);
        After->SetTabOrder(1);
        // The form comes up with the focus on its button.
        After->SetFocus();
        Show();
        EXPECT_EQ(FocusWidget(), After->Widget());
    }
    QWidget* FocusWidget() const { return QApplication::focusWidget(); }
};

} // namespace

TEST_F(ViewTab, TabFromAnEmbeddedControlGoesOnWithTheNextLink) {
    // Arriving from the form's button the focus goes to the first link.
    View->SetFocus();
    EXPECT_EQ(View->RPData()->FocusedItemNo, 1);
    Key(View->Widget(), Qt::Key_Tab);
    EXPECT_EQ(View->RPData()->FocusedItemNo, ButtonItem);
    ASSERT_EQ(FocusWidget(), Embedded->Widget());
    // Tab in the button: the view takes the focus back and moves it on to "two".
    Key(Embedded->Widget(), Qt::Key_Tab);
    EXPECT_EQ(FocusWidget(), View->Widget());
    EXPECT_EQ(View->RPData()->FocusedItemNo, ButtonItem + 1);
    // Shift+Tab goes back through the button to "one".
    Key(View->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(FocusWidget(), Embedded->Widget());
    Key(Embedded->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusWidget(), View->Widget());
    EXPECT_EQ(View->RPData()->FocusedItemNo, 1);
    // After the last link the form's next control.
    Key(View->Widget(), Qt::Key_Tab);
    Key(Embedded->Widget(), Qt::Key_Tab);
    Key(View->Widget(), Qt::Key_Tab);
    EXPECT_EQ(Form->ActiveControl(), After);
}

TEST_F(ViewTab, FocusComingFromAnEmbeddedControlStartsAtItsItem) {
    // The focus goes to the embedded button, then the program focuses the view.
    Embedded->SetFocus();
    ASSERT_EQ(FocusWidget(), Embedded->Widget());
    View->SetFocus();
    EXPECT_EQ(View->RPData()->FocusedItemNo, ButtonItem + 1);
}
