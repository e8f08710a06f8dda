// The keyboard focus as a pupil meets it: only a control that is shown can
// take it, Tab moves it among the controls that are shown, the button that
// has it shows so, and a double click on a button is two clicks.
#include "platform/ControlsExt.h"
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"
#include "platform/Keys.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct FocusTest : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    FocusTest() { form->SetBounds(0, 0, 400, 300); }
    template <class T> T* add(TWinControl* parent, int x, int y, int w, int h) {
        auto* c = new T(form.get());
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        return c;
    }
    TTabSheet* page(TPageControl* pc) {
        auto* p = new TTabSheet(form.get());
        p->SetPageControl(pc);
        p->SetTabVisible(false);
        return p;
    }
    static QString lineOf(TRichEdit* box) {
        return box->Lines()->Count() ? box->Lines()->Strings(0) : QString();
    }
};

// Mouse events as Qt delivers a double click: press, release, double click, release.
void doubleClick(TControl* c) {
    QWidget* w = c->Widget();
    const QPointF p(c->Width() / 2.0, c->Height() / 2.0);
    const QPointF g = w->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release2(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    for (QMouseEvent* e : {&press, &release, &twice, &release2})
        QApplication::sendEvent(w, e);
}

} // namespace

TEST_F(FocusTest, AControlOnAPageNotShownTakesNeitherFocusNorKeys) {
    auto* pc = add<TPageControl>(form.get(), 0, 0, 400, 200);
    TTabSheet* reading = page(pc);
    TTabSheet* placing = page(pc);
    auto* shownBox = add<TRichEdit>(reading, 8, 8, 200, 30);
    auto* shownField = add<TEdit>(reading, 8, 50, 200, 25);
    auto* hiddenBox = add<TRichEdit>(placing, 8, 8, 200, 30);
    auto* hiddenField = add<TEdit>(placing, 8, 50, 200, 25);
    int enters = 0;
    auto* hiddenDefault = add<TButton>(placing, 8, 100, 75, 25);
    hiddenDefault->SetDefault(true);
    hiddenDefault->OnClick = [&](TObject*) { ++enters; };
    ShowAndActivate(form.get());

    shownBox->SetFocus();
    ASSERT_EQ(KeyboardTarget(), shownBox->Widget());
    EXPECT_TRUE(shownBox->CanFocus());
    EXPECT_FALSE(hiddenBox->CanFocus());
    EXPECT_FALSE(hiddenBox->Showing());
    // Focusing it does nothing: the keys go on reaching the box that shows.
    hiddenBox->SetFocus();
    EXPECT_FALSE(hiddenBox->Focused());
    TypeAtFocus("42");
    EXPECT_EQ(lineOf(shownBox), "42");
    EXPECT_EQ(lineOf(hiddenBox), "");
    // Nor does Enter reach a default button on the page not shown.
    shownField->SetFocus();
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(enters, 0);

    pc->SetActivePage(placing);
    EXPECT_TRUE(hiddenBox->CanFocus());
    EXPECT_FALSE(shownBox->CanFocus());
    hiddenBox->SetFocus();
    TypeAtFocus("7");
    EXPECT_EQ(lineOf(hiddenBox), "7");
    EXPECT_EQ(lineOf(shownBox), "42");
    hiddenField->SetFocus();
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(enters, 1);
}

TEST_F(FocusTest, TabGoesAroundTheShownControlsAndTheButtonShowsTheFocus) {
    auto* box = add<TRichEdit>(form.get(), 8, 8, 200, 30);
    auto* button = add<TBitBtn>(form.get(), 8, 50, 120, 33);
    button->SetCaption("prüfen");
    auto* panel = add<TPanel>(form.get(), 8, 100, 200, 60);
    auto* unseen = add<TBitBtn>(panel, 4, 4, 120, 33);
    panel->SetVisible(false);
    ShowAndActivate(form.get());

    // Given the focus by the program (or a click), the button shows no dotted frame.
    button->SetFocus();
    ASSERT_TRUE(button->Focused());
    const QImage clicked = button->Widget()->grab().toImage();
    const auto dotted = [](const QImage& img) {
        int dark = 0;
        for (int x = 4; x < img.width() - 4; ++x)
            dark += qGray(img.pixel(x, 4)) < 64 ? 1 : 0;
        return dark;
    };
    EXPECT_EQ(dotted(clicked), 0);

    std::vector<QWidget*> visited;
    box->SetFocus();
    for (int i = 0; i < 4; ++i) {
        PressKeyAtFocus(VK_TAB);
        visited.push_back(KeyboardTarget());
    }
    EXPECT_EQ(visited,
              (std::vector<QWidget*>{button->Widget(), box->Widget(), button->Widget(), box->Widget()}));
    EXPECT_FALSE(unseen->Focused());
    // Reached by the keyboard, the button wears the dotted frame of the focus.
    PressKeyAtFocus(VK_TAB);
    ASSERT_TRUE(button->Focused());
    EXPECT_GT(dotted(button->Widget()->grab().toImage()), 20);
    // Leaving it repaints it without.
    PressKeyAtFocus(VK_TAB, Qt::ShiftModifier);
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(dotted(button->Widget()->grab().toImage()), 0);
}

TEST_F(FocusTest, ADoubleClickOnAButtonIsTwoClicks) {
    int speed = 0, bit = 0, image = 0, doubles = 0;
    auto* s = add<TSpeedButton>(form.get(), 8, 8, 120, 33);
    s->OnClick = [&](TObject*) { ++speed; };
    auto* b = add<TBitBtn>(form.get(), 8, 50, 120, 33);
    b->OnClick = [&](TObject*) { ++bit; };
    auto* i = add<TImage>(form.get(), 8, 100, 100, 100);
    i->OnClick = [&](TObject*) { ++image; };
    i->OnDblClick = [&](TObject*) { ++doubles; };
    ShowAndActivate(form.get());

    // Twenty quick clicks on "Neue Aufgabe" are twenty tasks.
    for (int k = 0; k < 10; ++k)
        doubleClick(s);
    EXPECT_EQ(speed, 20);
    doubleClick(b);
    EXPECT_EQ(bit, 2);
    // Other controls still take the second press as the double click it is.
    doubleClick(i);
    EXPECT_EQ(image, 1);
    EXPECT_EQ(doubles, 1);
}
