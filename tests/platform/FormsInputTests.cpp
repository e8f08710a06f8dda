// Mouse and clipboard input of the answer box, lists and memo, and the key
// translation of the on-screen keyboard.
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"
#include "platform/Keys.h"
#include "platform/Messages.h"
#include "support/FixedMetrics.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct InputTest : ::testing::Test {
    FixedMetricsScope metrics; // 8 px per character at height 16
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TRichEdit* edit = new TRichEdit(form.get());
    InputTest() {
        edit->SetParent(form.get());
        edit->SetBounds(0, 0, 300, 30);
        edit->Font()->SetHeight(-16);
    }
    void click(int x, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QPointF p(x, 10);
        QMouseEvent press(QEvent::MouseButtonPress, p, edit->Widget()->mapToGlobal(p), Qt::LeftButton,
                          Qt::LeftButton, mods);
        QApplication::sendEvent(edit->Widget(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, edit->Widget()->mapToGlobal(p), Qt::LeftButton,
                            Qt::NoButton, mods);
        QApplication::sendEvent(edit->Widget(), &release);
    }
};

} // namespace

TEST_F(InputTest, MouseClicksPlaceTheCaretBetweenCharacters) {
    edit->SetText("12345");
    // Text starts 3 px in; each character is 8 px wide.
    click(3 + 8 * 2 + 1);
    EXPECT_EQ(edit->SelStart(), 2);
    click(3 + 8 * 3 + 5); // past the middle of the fourth character
    EXPECT_EQ(edit->SelStart(), 4);
    click(3 + 8, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_EQ(edit->SelText(), "234");
    click(290);
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(InputTest, KeyboardSelectionAndClipboard) {
    TypeText(edit, "abcdef");
    PressKey(edit, VK_HOME);
    PressKey(edit, VK_RIGHT);
    PressKey(edit, VK_RIGHT, Qt::ShiftModifier);
    PressKey(edit, VK_RIGHT, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelText(), "bc");
    PressKey(edit, 'X', Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "bc");
    EXPECT_EQ(edit->Text(), "adef");
    PressKey(edit, VK_DELETE);
    EXPECT_EQ(edit->Text(), "aef");
    PressKey(edit, VK_END);
    PressKey(edit, 'V', Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "aefbc");
    PressKey(edit, 'A', Qt::ControlModifier);
    PressKey(edit, 'C', Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "aefbc");
    // Typing replaces the selection.
    TypeText(edit, "z");
    EXPECT_EQ(edit->Text(), "z");
}

TEST_F(InputTest, DroppedTextIsFilteredAndCopied) {
    edit->SetText("15");
    edit->OnKeyPress = [](TObject*, char16_t& k) {
        if (k == u'x') k = 0;
    };
    QMimeData data;
    data.setText("2x3\n4");
    QPointF at(3 + 8 + 1, 10); // between 1 and 5
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the widget: without a drag in progress the application filters drops.
    static_cast<QObject*>(edit->Widget())->event(&drop);
    EXPECT_EQ(edit->Text(), "12345");
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);

    edit->SetReadOnly(true);
    QDropEvent refused(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(edit->Widget())->event(&refused);
    EXPECT_EQ(edit->Text(), "12345");
}

TEST_F(InputTest, WantReturnsMakesLinesAndArrowsMoveBetweenThem) {
    edit->SetWantReturns(true);
    TypeText(edit, "ab");
    PressEnter(edit);
    TypeText(edit, "cd");
    EXPECT_EQ(edit->Text(), "ab\r\ncd");
    EXPECT_EQ(edit->Lines()->Count(), 2);
    EXPECT_EQ(edit->SelStart(), 5);
    PressKey(edit, VK_HOME);
    EXPECT_EQ(edit->SelStart(), 3);
    PressKey(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), "abcd");
}

// Work posted from a handler runs after the handler has returned, in the order
// posted, and before any key or click that reaches a window after it was
// posted, however many arrive in one batch; keys the program itself sends
// inside a handler (the on-screen keyboard) are that handler's own; a message
// to a receiver that is gone is dropped.
TEST_F(InputTest, PostedMessagesComeBeforeTheInputAfterThem) {
    form->Show();
    ProcessEvents();
    edit->SetFocus();
    std::string log;
    edit->OnKeyPress = [&](TObject*, char16_t& Key) {
        const char c = static_cast<char>(Key);
        log += c;
        if (c == 'a' || c == 'b')
            PostMessage(edit->Widget(), [&log, c] {
                log += static_cast<char>(c - 'a' + 'A');
                // Posted in turn: also before the next key.
                if (c == 'a') PostMessage(nullptr, [&log] { log += '+'; });
            });
        // A key sent from inside the handler does not run the work early.
        if (c == 'b') InjectChar(u'i');
    };
    TypeAhead(form.get(), Strokes(QStringLiteral("abc")));
    EXPECT_EQ(log, "aA+biBc");

    // A click queued after the work comes after it too.
    log.clear();
    edit->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log += 'M'; };
    QWindow* window = form->Widget()->windowHandle();
    const QPointF at = edit->Widget()->mapTo(form->Widget(), QPointF(5, 5));
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    QCoreApplication::postEvent(window, new QMouseEvent(QEvent::MouseButtonPress, at, window->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(window, new QMouseEvent(QEvent::MouseButtonRelease, at, window->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    ProcessEvents();
    EXPECT_EQ(log, "aA+M");

    // Gone before its turn: dropped.
    log.clear();
    auto* gone = new QObject;
    PostMessage(gone, [&log] { log += 'X'; });
    PostMessage(nullptr, [&log] { log += 'Y'; });
    delete gone;
    ProcessEvents();
    EXPECT_EQ(log, "Y");
}

TEST(KeyTranslation, VirtualKeysOfQtKeys) {
    auto vk = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyPress, key, mods);
        return VirtualKeyOf(e);
    };
    EXPECT_EQ(vk(Qt::Key_5), '5');
    EXPECT_EQ(vk(Qt::Key_5, Qt::KeypadModifier), VK_NUMPAD0 + 5);
    EXPECT_EQ(vk(Qt::Key_Comma, Qt::KeypadModifier), VK_DECIMAL);
    EXPECT_EQ(vk(Qt::Key_Return), VK_RETURN);
    EXPECT_EQ(vk(Qt::Key_Enter, Qt::KeypadModifier), VK_RETURN);
    EXPECT_EQ(vk(Qt::Key_Left), VK_LEFT);
    EXPECT_EQ(vk(Qt::Key_G), 'G');
    EXPECT_EQ(vk(Qt::Key_F1), VK_F1);

    QKeyEvent sharpS(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0xDF)));
    EXPECT_EQ(KeyCharOf(sharpS), u'ß');
    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(KeyCharOf(ctrlV), 22);
    QKeyEvent bare(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, QString(QChar(1)));
    EXPECT_EQ(KeyCharOf(bare), 0);
}

TEST(StringLists, TextSplitsAtEveryLineBreak) {
    TStrings s;
    int changes = 0;
    s.OnChange = [&] { ++changes; };
    s.SetText("eins\r\nzwei\ndrei\rvier\r\n");
    ASSERT_EQ(s.Count(), 4);
    EXPECT_EQ(s[3], "vier");
    EXPECT_EQ(s.Text(), "eins\r\nzwei\r\ndrei\r\nvier\r\n");
    EXPECT_EQ(s.IndexOf("ZWEI"), 1);
    s.Delete(9);
    s.Insert(5, "x");
    EXPECT_EQ(s.Count(), 4);
    s.BeginUpdate();
    s.Add("fünf");
    s.Delete(0);
    s.EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(s.Strings(0), "zwei");
    EXPECT_EQ(s.Strings(-1), "");
}

TEST(ListControls, ComboBoxMemoAndEditKeepTheirContent) {
    TForm form(nullptr);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add("Meter");
    combo->Items()->Add("Kilometer");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "Kilometer");
    combo->SetItemIndex(5);
    EXPECT_EQ(combo->ItemIndex(), -1);

    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines()->Add("erste");
    memo->Lines()->Add("zweite");
    EXPECT_EQ(memo->Text(), "erste\r\nzweite\r\n");
    EXPECT_EQ(changes, 2);

    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetMaxLength(3);
    edit->OnKeyPress = [](TObject*, char16_t& k) {
        if (k == u',') k = u'.';
    };
    TypeText(edit, "1,25");
    EXPECT_EQ(edit->Text(), "1.2");
}
