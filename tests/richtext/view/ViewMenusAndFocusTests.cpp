// What a caller of the view meets beside the document: its popup menu on a
// right click, its wheel event, a style component freed under it, and Tab
// through the controls embedded in its document.
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
        View->AddText("Hallo Welt", 0, 0);
        View->Format();
    }
    void TearDown() override {
        if (QMenu* m = Menu->Shown()) m->close();
    }
    void RightClick(int X, int Y) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, QPointF(X, Y), QPointF(Screen(X, Y)), Qt::RightButton,
                          type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(View->ClientWidget(), &e);
        }
    }
    QPoint Screen(int X, int Y) const { return View->ClientWidget()->mapToGlobal(QPoint(X, Y)); }
};

} // namespace

TEST_F(ViewMenus, ARightClickOnTheDocumentOrAControlWithoutAMenuPopsUpTheViewsMenu) {
    ShowAndActivate(Form.get());
    View->SetPopupMenu(Menu);
    RightClick(60, 12);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), Screen(60, 12));
    EXPECT_EQ(Menu->PopupComponent, View);
    Menu->Shown()->close();
    // The window system's own request for that click shows no second menu.
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(60, 12), Screen(60, 12));
    QApplication::sendEvent(View->ClientWidget(), &again);
    EXPECT_EQ(Menu->Shown(), nullptr);
    // Over an embedded control without a menu of its own the view's shows.
    auto* button = new TButton(Form.get());
    button->SetParent(View);
    button->SetBounds(100, 50, 60, 25);
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(5, 5), Screen(105, 55));
    QApplication::sendEvent(button->Widget(), &onButton);
    ASSERT_NE(Menu->Shown(), nullptr);
    EXPECT_EQ(Menu->Shown()->pos(), Screen(105, 55));
    Menu->Shown()->close();
    // A handler that takes the request keeps the menu down.
    View->OnContextPopup = [](TObject*, TPoint, bool& Handled) { Handled = true; };
    RightClick(70, 14);
    EXPECT_EQ(Menu->Shown(), nullptr);
}

TEST_F(ViewMenus, TheWheelEventSeesTheTurnAndTheViewScrollsAfterIt) {
    for (int i = 0; i < 60; ++i)
        View->AddText("line", 0, 0);
    View->Format();
    SetSystemWheelScrollLines(3);
    std::vector<std::string> seen;
    bool take = false;
    View->OnMouseWheel = [&](TObject* Sender, TShiftState Shift, int Delta, TPoint MousePos, bool& Handled) {
        EXPECT_EQ(Sender, View);
        EXPECT_EQ(MousePos, (TPoint{Screen(10, 20).x(), Screen(10, 20).y()}));
        seen.push_back(std::to_string(Delta) + " " + std::to_string(Shift) + " at " +
                       std::to_string(View->VPos));
        Handled = take;
    };
    auto wheel = [&] {
        QWheelEvent e(QPointF(10, 20), QPointF(Screen(10, 20)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(View->ClientWidget(), &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(wheel());
    EXPECT_EQ(View->VPos, 2);
    // A view without a wheel step leaves the turn to its parent, unless the handler took it.
    View->WheelStep = 0;
    EXPECT_FALSE(wheel());
    take = true;
    EXPECT_TRUE(wheel());
    EXPECT_EQ(View->VPos, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"-120 4 at 0", "-120 4 at 2", "-120 4 at 2"}));
    SetSystemWheelScrollLines(0);
}

TEST_F(ViewMenus, AStyleComponentFreedUnderTheViewLeavesItWithoutAStyle) {
    auto style = MakeLayoutStyle();
    View->SetStyle(style.get());
    int painted = 0;
    View->OnPaint = [&](TCustomRichPad*, TCanvas*, bool) { ++painted; };
    style.reset();
    EXPECT_EQ(View->Style(), nullptr);
    // The view says so instead of painting the document.
    QImage img;
    View->PaintTo(img);
    EXPECT_EQ(painted, 0);
    int ink = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 150; ++x)
            ink += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(ink, 20);
    // A view freed first is not told when its style goes.
    auto other = MakeLayoutStyle();
    View->SetStyle(other.get());
    delete View;
    other.reset();
}

// "a one [button] two" with the links "one" and "two" and a button embedded
// between them; the form has a button of its own after the view.
TEST_F(ViewMenus, TabFromAnEmbeddedControlGoesOnWithTheNextLink) {
    View->Clear();
    View->AddText("a ", 0, 0);
    View->AddText("one", 2, -1);
    auto item = std::make_unique<TRPControlItemInfo>(View->RPData());
    item->StyleNo = rpsnControl;
    item->Control = std::make_unique<TButton>(nullptr);
    auto* embedded = static_cast<TButton*>(item->Control.get());
    embedded->SetBounds(0, 0, 40, 20);
    embedded->SetParent(View);
    View->RPData()->AddItem("knopf", std::move(item));
    View->AddText("two", 2, -1);
    View->Format();
    auto* after = new TButton(Form.get());
    after->SetParent(Form.get());
    after->SetBounds(310, 10, 60, 25);
    after->SetFocus();
    ShowAndActivate(Form.get());
    // Qt takes the modifiers of the last key press sent as the keyboard's
    // state: a key without them, sent elsewhere, lets Shift go again.
    const auto tab = [](TWinControl* To, bool Back) {
        QKeyEvent e(QEvent::KeyPress, Back ? Qt::Key_Backtab : Qt::Key_Tab,
                    Back ? Qt::ShiftModifier : Qt::NoModifier);
        QApplication::sendEvent(To->Widget(), &e);
        QWidget elsewhere;
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QApplication::sendEvent(&elsewhere, &plain);
    };
    const int& focused = View->RPData()->FocusedItemNo;
    // Focus that comes from the embedded button starts at the button's item.
    embedded->SetFocus();
    View->SetFocus();
    EXPECT_EQ(focused, 3);
    // Tab in the button: the view takes the focus back and moves it on to "two".
    tab(View, true);
    ASSERT_EQ(QApplication::focusWidget(), embedded->Widget());
    tab(embedded, false);
    EXPECT_EQ(QApplication::focusWidget(), View->Widget());
    EXPECT_EQ(focused, 3);
    // Shift+Tab goes back through the button to "one", Tab after "two" to the form's button.
    tab(View, true);
    tab(embedded, true);
    EXPECT_EQ(QApplication::focusWidget(), View->Widget());
    EXPECT_EQ(focused, 1);
    tab(View, false);
    tab(embedded, false);
    tab(View, false);
    EXPECT_EQ(Form->ActiveControl(), after);
}
