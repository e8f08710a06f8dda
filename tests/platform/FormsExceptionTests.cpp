// An exception that leaves a handler of the program (an event of a control,
// a posted message, a timer, a paint) is reported by the application in a
// message box with the application's title, and the program goes on.
#include "platform/Application.h"
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Messages.h"
#include "platform/Timer.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// The dialog responder, answering every box, with the application's title set.
class HandlerExceptions : public ::testing::Test {
protected:
    void SetUp() override {
        m_title = Application()->Title();
        Application()->SetTitle(QStringLiteral("Pravolin - Grundschule"));
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override {
        Form.reset();
        Application()->SetTitle(m_title);
    }
    DialogResponder Boxes;
    std::unique_ptr<TForm> Form;

private:
    QString m_title;
};

TEST_F(HandlerExceptions, AFailedHandlerShowsItsMessageAndTheNextEventIsHandled) {
    auto* button = new TButton(Form.get());
    button->SetParent(Form.get());
    button->SetBounds(10, 10, 100, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        if (++clicks == 1) throw std::runtime_error("Liste kaputt (14)");
        if (clicks == 2) throw 42;
    };
    auto* edit = new TEdit(Form.get());
    edit->SetParent(Form.get());
    edit->SetBounds(10, 50, 100, 20);
    edit->OnKeyPress = [](TObject*, char16_t& Key) {
        if (Key == u'x') throw std::runtime_error("Taste verboten.");
    };
    ShowAndActivate(Form.get());

    // Clicks and keys through Qt, as the window system hands them over.
    MouseClick(button);
    MouseClick(button);
    MouseClick(button);
    EXPECT_EQ(clicks, 3);
    TypeText(edit, QStringLiteral("axb"));
    ProcessEvents();
    EXPECT_EQ(edit->Text(), QStringLiteral("ab"));

    // A full stop follows a letter, not a bracket or a full stop; what is
    // not an exception gets words of its own.
    ASSERT_EQ(Boxes.Questions().size(), 3u);
    EXPECT_EQ(Boxes.MessageTexts(), QStringList({QStringLiteral("Liste kaputt (14)"),
                                                 QStringLiteral("Ein unerwarteter Fehler ist aufgetreten."),
                                                 QStringLiteral("Taste verboten.")}));
    for (const TDialogRequest& q : Boxes.Questions()) {
        EXPECT_EQ(q.caption, QStringLiteral("Pravolin - Grundschule"));
        EXPECT_EQ(q.answers, std::vector<int>({mrOk}));
    }
}

TEST_F(HandlerExceptions, PostedMessagesAndTimersGoOnAfterOneFails) {
    std::vector<int> ran;
    PostMessage(nullptr, [&] {
        ran.push_back(1);
        throw std::runtime_error("erste Nachricht");
    });
    PostMessage(nullptr, [&] { ran.push_back(2); });
    ProcessEvents();
    EXPECT_EQ(ran, std::vector<int>({1, 2}));

    TTimer timer(Form.get());
    int ticks = 0;
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1) throw std::runtime_error("Uhr");
    };
    QElapsedTimer waited;
    waited.start();
    while (ticks < 3 && waited.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(Boxes.MessageTexts(),
              QStringList({QStringLiteral("erste Nachricht."), QStringLiteral("Uhr.")}));
}

// A paint that fails shows its box once the paint is over; the box's own
// loop paints the window again, and the paint fails again: one box, not a
// box in every box, nor a new box for every repaint.
TEST_F(HandlerExceptions, APaintThatKeepsFailingShowsOneBox) {
    auto* box = new TPaintBox(Form.get());
    box->SetParent(Form.get());
    box->SetBounds(0, 0, 100, 100);
    int paints = 0;
    box->OnPaint = [&](TObject*) {
        ++paints;
        throw std::runtime_error("Bild kaputt");
    };
    struct TRepaintingBox : DialogResponder {
        QWidget* Window = nullptr;
        int Nested = 0;
        TDialogAnswer Answer(const TDialogRequest& R) override {
            // While the box is up: the window paints again.
            const int before = static_cast<int>(Questions().size());
            if (Window) Window->repaint();
            Nested += static_cast<int>(Questions().size()) - before;
            return DialogResponder::Answer(R);
        }
    } boxes;
    boxes.Window = Form->Widget();
    ShowAndActivate(Form.get());
    for (int i = 0; i < 3; ++i) {
        Form->Widget()->repaint();
        ProcessEvents();
    }
    EXPECT_GE(paints, 4);
    EXPECT_EQ(boxes.Nested, 0);
    EXPECT_EQ(boxes.MessageTexts(), QStringList({QStringLiteral("Bild kaputt.")}));
    // Once it paints again, a new failure is worth a box again.
    box->OnPaint = [](TObject*) {};
    Form->Widget()->repaint();
    box->OnPaint = [](TObject*) { throw std::runtime_error("Wieder kaputt"); };
    Form->Widget()->repaint();
    ProcessEvents();
    EXPECT_EQ(boxes.MessageTexts(),
              QStringList({QStringLiteral("Bild kaputt."), QStringLiteral("Wieder kaputt.")}));
    // The form goes on: it closes as ever.
    Form->Close();
    ProcessEvents();
    EXPECT_FALSE(Form->Visible());
}

} // namespace
