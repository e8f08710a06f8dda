#include "support/FormDriver.h"

#include "platform/Application.h"
#include "platform/Keys.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

// ---- dialogs --------------------------------------------------------------------------

DialogResponder::DialogResponder() : m_previous(CurrentDialogResponder()) {
    SetDialogResponder(this);
}
DialogResponder::~DialogResponder() {
    SetDialogResponder(m_previous);
}

void DialogResponder::QueueButton(int result) {
    m_answers.push_back({result, QString()});
}
void DialogResponder::QueueFile(const QString& fileName) {
    m_answers.push_back({fileName.isEmpty() ? mrCancel : mrOk, fileName});
}
void DialogResponder::QueuePrinterSetup(bool ok) {
    m_answers.push_back({ok ? mrOk : mrCancel, QString()});
}

QStringList DialogResponder::MessageTexts() const {
    QStringList out;
    for (const TDialogRequest& r : m_questions)
        if (r.kind == TDialogRequest::Message) out << r.text;
    return out;
}

TDialogAnswer DialogResponder::Answer(const TDialogRequest& request) {
    m_questions.push_back(request);
    if (m_answers.empty()) {
        ++m_unexpected;
        return {mrCancel, QString()};
    }
    TDialogAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

// ---- seed and screen ----------------------------------------------------------------------

namespace {
uint32_t g_fixedSeed = 0;
bool fixedSeedHook(uint32_t& seed) {
    seed = g_fixedSeed;
    return true;
}
} // namespace

SeedScope::SeedScope(uint32_t seed) {
    g_fixedSeed = seed;
    Runtime::SetRandSeed(seed);
    Runtime::SetRandomizeHook(&fixedSeedHook);
}

SeedScope::~SeedScope() {
    Runtime::SetRandomizeHook(nullptr);
}

ScreenScope::ScreenScope(int width, int height) {
    Screen()->SetSize(width, height);
    Screen()->SetWorkArea(Rect(0, 0, width, height));
}

ScreenScope::~ScreenScope() {
    Screen()->Reset();
}

// ---- events -------------------------------------------------------------------------------

void ProcessEvents(int rounds) {
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ShowAndActivate(TForm* form) {
    form->Show();
    ProcessEvents();
}

int RunModal(TForm* form, const std::function<void(TForm*)>& whileShown) {
    // Two hops: the form's activation is queued while ShowModal starts.
    QTimer::singleShot(0, qApp, [form, whileShown] {
        QTimer::singleShot(0, qApp, [form, whileShown] {
            if (whileShown) whileShown(form);
        });
    });
    return form->ShowModal();
}

namespace {

void sendKey(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text) {
    const QPointer<QWidget> alive = w;
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &down);
    // A key that freed its window is released nowhere.
    if (!alive) return;
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &up);
}

} // namespace

void TypeText(TWinControl* control, const QString& text) {
    if (!control || !control->Widget()) return;
    control->SetFocus();
    for (QChar ch : text)
        sendKey(control->Widget(), QtKeyOfChar(ch.unicode()), Qt::NoModifier, QString(ch));
}

namespace {

// The Qt key and its text for a virtual key code.
std::pair<int, QString> keyOf(uint16_t vk) {
    int key = Qt::Key_unknown;
    QString text;
    switch (vk) {
    case VK_RETURN:
        key = Qt::Key_Return;
        text = QStringLiteral("\r");
        break;
    case VK_BACK:
        key = Qt::Key_Backspace;
        text = QStringLiteral("\b");
        break;
    case VK_LEFT:
        key = Qt::Key_Left;
        break;
    case VK_RIGHT:
        key = Qt::Key_Right;
        break;
    case VK_UP:
        key = Qt::Key_Up;
        break;
    case VK_DOWN:
        key = Qt::Key_Down;
        break;
    case VK_PRIOR:
        key = Qt::Key_PageUp;
        break;
    case VK_NEXT:
        key = Qt::Key_PageDown;
        break;
    case VK_HOME:
        key = Qt::Key_Home;
        break;
    case VK_END:
        key = Qt::Key_End;
        break;
    case VK_DELETE:
        key = Qt::Key_Delete;
        break;
    case VK_ESCAPE:
        key = Qt::Key_Escape;
        text = QString(QChar(27));
        break;
    case VK_TAB:
        key = Qt::Key_Tab;
        text = QStringLiteral("\t");
        break;
    default:
        if (vk >= 'A' && vk <= 'Z')
            key = Qt::Key_A + (vk - 'A');
        else if (vk >= '0' && vk <= '9') {
            key = Qt::Key_0 + (vk - '0');
            text = QString(QChar(vk));
        }
        break;
    }
    return {key, text};
}

} // namespace

void PressKey(TWinControl* control, uint16_t vk, Qt::KeyboardModifiers mods) {
    if (!control || !control->Widget()) return;
    const auto [key, text] = keyOf(vk);
    sendKey(control->Widget(), key, mods, text);
}

TKeyStroke Stroke(uint16_t vk, Qt::KeyboardModifiers mods) {
    auto [key, text] = keyOf(vk);
    if (vk >= 'A' && vk <= 'Z')
        text = (mods & Qt::ControlModifier) ? QString(QChar(vk - 'A' + 1))
                                            : QString(QChar((mods & Qt::ShiftModifier) ? vk : vk + 32));
    return {key, mods, text};
}

std::vector<TKeyStroke> Strokes(const QString& typed) {
    std::vector<TKeyStroke> s;
    for (QChar ch : typed)
        s.push_back({QtKeyOfChar(ch.unicode()), Qt::NoModifier, QString(ch)});
    return s;
}

void TypeAhead(TForm* form, const std::vector<TKeyStroke>& keys) {
    QWindow* window = form && form->Widget() ? form->Widget()->windowHandle() : nullptr;
    ASSERT_TRUE(window) << "the form has no window";
    for (const TKeyStroke& k : keys) {
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, k.Key, k.Mods, k.Text));
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, k.Key, k.Mods, k.Text));
    }
    ProcessEvents();
}

QWidget* KeyboardTarget() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    TForm* f = Screen()->ActiveForm();
    return f ? f->Widget() : nullptr;
}

void TypeAtFocus(const QString& text) {
    for (QChar ch : text)
        if (QWidget* w = KeyboardTarget()) sendKey(w, QtKeyOfChar(ch.unicode()), Qt::NoModifier, QString(ch));
}

void PressKeyAtFocus(uint16_t vk, Qt::KeyboardModifiers mods) {
    const auto [key, text] = keyOf(vk);
    if (QWidget* w = KeyboardTarget()) sendKey(w, key, mods, text);
}

void PressEnter(TWinControl* control) {
    PressKey(control, VK_RETURN);
}

namespace {

// Left press and release at P of the widget.
void leftClick(QWidget* w, QPointF p) {
    const QPointF g = w->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

void MouseClick(TControl* control) {
    if (!control || !control->Widget()) return;
    leftClick(control->Widget(), QPointF(control->Width() / 2.0, control->Height() / 2.0));
}

void MouseClickAt(TWinControl* control, int x, int y) {
    QWidget* w = control ? control->ClientWidget() : nullptr;
    if (w) leftClick(w, QPointF(x, y));
}

bool ClickByName(TComponent* owner, const QString& name) {
    auto* c = FindComponentAs<TControl>(owner, name);
    if (!c) return false;
    c->Click();
    return true;
}

QString CaptionOf(TComponent* owner, const QString& name) {
    auto* c = FindComponentAs<TControl>(owner, name);
    return c ? c->Caption() : QString();
}

TColor ColorOf(TComponent* owner, const QString& name) {
    auto* c = FindComponentAs<TControl>(owner, name);
    return c ? c->Color() : clNone;
}

TColor FontColorOf(TComponent* owner, const QString& name) {
    auto* c = FindComponentAs<TControl>(owner, name);
    return c ? c->Font()->Color() : clNone;
}
