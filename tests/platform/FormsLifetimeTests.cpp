// A control that goes, or leaves its form, is named by nothing of the form
// framework any more: the form's active control, which the keyboard, the
// on-screen keyboard and the form's next showing reach, the drag it is the
// source of, the menu it popped up, the mouse it holds.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/CustomControl.h"
#include "platform/Keys.h"
#include "platform/Menus.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A shown form with a box that stays, and the boxes and panels a test adds.
struct GoneTest : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TEdit* stays = nullptr;
    GoneTest() {
        form->SetBounds(40, 30, 400, 300);
        stays = Box(form.get(), 8);
    }
    TEdit* Box(TWinControl* parent, int top) {
        auto* e = new TEdit(form.get());
        e->SetParent(parent);
        e->SetBounds(8, top, 200, 25);
        return e;
    }
    TPanel* Panel() {
        auto* p = new TPanel(form.get());
        p->SetParent(form.get());
        p->SetBounds(8, 100, 300, 100);
        return p;
    }
    // One key each way: the on-screen keyboard's key and character, and the keyboard's.
    static void KeysEveryWay(char digit) {
        keybd_event(static_cast<uint8_t>(digit), 0, 0, 0);
        keybd_event(static_cast<uint8_t>(digit), 0, KEYEVENTF_KEYUP, 0);
        InjectChar(static_cast<char16_t>(digit + 1));
        TypeAtFocus(QString(QChar(digit + 2)));
    }
    void HideAndShowAgain() {
        form->Hide();
        ProcessEvents();
        ShowAndActivate(form.get());
        // As the window manager activates it; the offscreen platform does so
        // for a window's first showing only.
        QApplication::setActiveWindow(form->Widget());
    }
    // Keys every way, before and after the form was hidden and shown again.
    void KeysAroundAShowing() {
        KeysEveryWay('1');
        HideAndShowAgain();
        KeysEveryWay('4');
    }
    // Box has the focus when TakeAway runs; then the form names it no more:
    // it has no active control, or the next one that shows, as Qt passes
    // the focus on.
    void LosesTheFocus(TEdit* box, const std::function<void()>& takeAway) {
        box->SetFocus();
        ASSERT_EQ(form->ActiveControl(), box);
        takeAway();
        TWinControl* now = form->ActiveControl();
        EXPECT_NE(now, box);
        EXPECT_TRUE(!now || now->CanFocus());
    }
};

} // namespace

TEST_F(GoneTest, AFreedFocusedBoxIsNoLongerTheActiveControlOfItsForm) {
    TEdit* going = Box(form.get(), 40);
    ShowAndActivate(form.get());
    LosesTheFocus(going, [&] { delete going; });
    EXPECT_EQ(form->ActiveControl(), nullptr);
    // The keys reach no box, nor the form shown again.
    KeysAroundAShowing();
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(stays->Text(), "");
    // A box that takes the focus gets the keys as before.
    stays->SetFocus();
    KeysEveryWay('1');
    EXPECT_EQ(stays->Text(), "123");
}

TEST_F(GoneTest, ABoxTakenOffTheFormGetsNoMoreOfItsKeys) {
    // A panel freed with a box of the form on it: the box lives on, off the form.
    TPanel* panel = Panel();
    TEdit* inside = Box(panel, 8);
    ShowAndActivate(form.get());
    LosesTheFocus(inside, [&] { delete panel; });
    KeysAroundAShowing();
    EXPECT_EQ(inside->Text(), "");
    EXPECT_EQ(stays->Text(), "");
    // Moved onto another form, the box is the first form's no more.
    TForm other(nullptr);
    LosesTheFocus(stays, [&] { stays->SetParent(&other); });
    // Moved about on its own form, it keeps the focus.
    inside->SetParent(form.get());
    inside->SetFocus();
    TPanel* onForm = Panel();
    inside->SetParent(onForm);
    EXPECT_EQ(form->ActiveControl(), inside);
    stays->SetParent(form.get());
}

TEST_F(GoneTest, AHiddenOrDisabledBoxIsNoLongerTheActiveControl) {
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(8, 100, 300, 150);
    TTabSheet* first = nullptr;
    for (int i = 0; i < 2; ++i) {
        auto* page = new TTabSheet(form.get());
        page->SetPageControl(pages);
        if (i == 0) first = page;
    }
    TEdit* onPage = Box(first, 8);
    pages->SetActivePage(first);
    ShowAndActivate(form.get());
    LosesTheFocus(stays, [&] { stays->Hide(); });
    stays->Show();
    LosesTheFocus(stays, [&] { stays->SetEnabled(false); });
    stays->SetEnabled(true);
    // A panel hidden with the focused box on it, and a page put away.
    TPanel* panel = Panel();
    TEdit* inside = Box(panel, 8);
    LosesTheFocus(inside, [&] { panel->Hide(); });
    panel->Show();
    stays->Hide();
    LosesTheFocus(onPage, [&] { pages->SetActivePageIndex(1); });
    // Neither the hidden box nor the one on the page put away takes keys.
    KeysAroundAShowing();
    for (TEdit* box : {stays, onPage})
        EXPECT_EQ(box->Text(), "");
}

TEST_F(GoneTest, AFreedDragSourceEndsItsDragAndTheMouseIsTheUsersAgain) {
    TPanel* going = Panel();
    TPanel* other = Panel();
    other->SetBounds(8, 220, 100, 50);
    int presses = 0;
    other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
    ShowAndActivate(form.get());
    going->BeginDrag();
    ASSERT_TRUE(going->Dragging());
    delete going;
    EXPECT_FALSE(other->Dragging());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // A press is the pressed control's again, not the freed drag's.
    QWidget* w = other->Widget();
    const QPointF at(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    EXPECT_EQ(presses, 1);
}

TEST_F(GoneTest, AMenuForgetsTheFreedControlItPoppedUpFor) {
    TPanel* going = Panel();
    auto* menu = new TPopupMenu(form.get());
    auto* item = new TMenuItem(form.get());
    item->SetCaption(QStringLiteral("Kopieren"));
    menu->Items()->Add(item);
    going->SetPopupMenu(menu);
    ShowAndActivate(form.get());
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 6), going->Widget()->mapToGlobal(QPoint(5, 6)));
    QApplication::sendEvent(going->Widget(), &e);
    ASSERT_EQ(menu->PopupComponent, going);
    delete going;
    EXPECT_EQ(menu->PopupComponent, nullptr);
    if (QMenu* shown = menu->Shown()) shown->close();
}

namespace {

// A painted control that its own mouse release or key frees, as a table's
// cell editor is freed when a border dragged over it is dropped.
class SelfFreeing : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int* Clicks = nullptr;
    void Click() override { ++*Clicks; }

protected:
    void MouseUp(TMouseButton, TShiftState, int, int) override { delete this; }
    void KeyDown(uint16_t& Key, TShiftState) override {
        if (Key == VK_ESCAPE) delete this;
    }
};

} // namespace

// What runs after a handler that freed its control leaves the control alone:
// no click of a released button that is gone, no character for a freed box.
TEST_F(GoneTest, AControlFreedByItsOwnHandlerIsLeftAlone) {
    int clicks = 0;
    const auto make = [&] {
        auto* c = new SelfFreeing(form.get());
        c->SetParent(form.get());
        c->SetBounds(8, 100, 100, 50);
        c->Clicks = &clicks;
        return c;
    };
    SelfFreeing* first = make();
    ShowAndActivate(form.get());
    std::weak_ptr<void> alive = first->AliveToken();
    MouseClickAt(first, 10, 10);
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(clicks, 0);

    SelfFreeing* second = make();
    alive = second->AliveToken();
    second->SetFocus();
    PressKeyAtFocus(VK_ESCAPE);
    ProcessEvents();
    EXPECT_TRUE(alive.expired());

    // A box whose key handler frees it gets no character.
    TEdit* box = Box(form.get(), 40);
    alive = box->AliveToken();
    box->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { delete box; };
    box->SetFocus();
    TypeAtFocus(QStringLiteral("x"));
    ProcessEvents();
    EXPECT_TRUE(alive.expired());
    stays->SetFocus();
    TypeAtFocus(QStringLiteral("y"));
    EXPECT_EQ(stays->Text(), "y");
}
