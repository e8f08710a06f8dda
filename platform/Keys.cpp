#include "platform/Keys.h"

#include "platform/Forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

uint16_t VirtualKeyOf(const QKeyEvent& e) {
    const int k = e.key();
    const bool keypad = e.modifiers() & Qt::KeypadModifier;
    if (keypad && k >= Qt::Key_0 && k <= Qt::Key_9)
        return static_cast<uint16_t>(VK_NUMPAD0 + (k - Qt::Key_0));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<uint16_t>('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<uint16_t>('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_Asterisk:
        return keypad ? VK_MULTIPLY : 0xBB;
    case Qt::Key_Plus:
        return keypad ? VK_ADD : 0xBB;
    case Qt::Key_Minus:
        return keypad ? VK_SUBTRACT : 0xBD;
    case Qt::Key_Slash:
        return keypad ? VK_DIVIDE : 0;
    case Qt::Key_Comma:
        return keypad ? VK_DECIMAL : 0xBC;
    case Qt::Key_Period:
        return keypad ? VK_DECIMAL : 0xBE;
    default:
        return 0;
    }
}

char16_t KeyCharOf(const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
        return 9;
    default:
        break;
    }
    const QString t = e.text();
    if (t.size() != 1) return 0;
    const char16_t c = t.at(0).unicode();
    // Control characters other than those above come from shortcuts.
    if (c < 32 || c == 127) return (e.modifiers() & Qt::ControlModifier) ? c : 0;
    return c;
}

int QtKeyOfChar(char16_t ch) {
    switch (ch) {
    case 13:
        return Qt::Key_Return;
    case 8:
        return Qt::Key_Backspace;
    case 27:
        return Qt::Key_Escape;
    case 9:
        return Qt::Key_Tab;
    default:
        break;
    }
    QChar c(ch);
    if (c.isLetter() && c.unicode() < 128) return Qt::Key_A + (c.toUpper().unicode() - 'A');
    if (ch >= '0' && ch <= '9') return Qt::Key_0 + (ch - '0');
    if (ch < 128) return ch; // Qt's codes of the printable ASCII keys are the characters
    return Qt::Key_unknown;
}

namespace {

// The widget that has the keyboard focus in the program's active form.
QWidget* focusTarget() {
    TForm* f = Screen()->ActiveForm();
    if (!f || !f->Widget()) return nullptr;
    if (TWinControl* c = f->ActiveControl())
        if (c->Widget() && c->CanFocus())
            return c->Widget()->focusProxy() ? c->Widget()->focusProxy() : c->Widget();
    QWidget* w = f->Widget()->focusWidget();
    return w;
}

struct VkInfo {
    int key;
    QString text;
    Qt::KeyboardModifiers mods;
};

VkInfo describe(uint16_t vk) {
    if (vk >= '0' && vk <= '9') return {Qt::Key_0 + (vk - '0'), QString(QChar(vk)), Qt::NoModifier};
    if (vk >= 'A' && vk <= 'Z') return {Qt::Key_A + (vk - 'A'), QString(QChar(vk + 32)), Qt::NoModifier};
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        return {Qt::Key_0 + (vk - VK_NUMPAD0), QString(QChar('0' + vk - VK_NUMPAD0)), Qt::KeypadModifier};
    switch (vk) {
    case VK_BACK:
        return {Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier};
    case VK_TAB:
        return {Qt::Key_Tab, QStringLiteral("\t"), Qt::NoModifier};
    case VK_RETURN:
        return {Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier};
    case VK_ESCAPE:
        return {Qt::Key_Escape, QString(QChar(27)), Qt::NoModifier};
    case VK_SPACE:
        return {Qt::Key_Space, QStringLiteral(" "), Qt::NoModifier};
    case VK_LEFT:
        return {Qt::Key_Left, QString(), Qt::NoModifier};
    case VK_RIGHT:
        return {Qt::Key_Right, QString(), Qt::NoModifier};
    case VK_UP:
        return {Qt::Key_Up, QString(), Qt::NoModifier};
    case VK_DOWN:
        return {Qt::Key_Down, QString(), Qt::NoModifier};
    case VK_HOME:
        return {Qt::Key_Home, QString(), Qt::NoModifier};
    case VK_END:
        return {Qt::Key_End, QString(), Qt::NoModifier};
    case VK_DELETE:
        return {Qt::Key_Delete, QString(), Qt::NoModifier};
    // The keypad's decimal key types the German decimal comma.
    case VK_DECIMAL:
        return {Qt::Key_Comma, QStringLiteral(","), Qt::KeypadModifier};
    case VK_ADD:
        return {Qt::Key_Plus, QStringLiteral("+"), Qt::KeypadModifier};
    case VK_SUBTRACT:
        return {Qt::Key_Minus, QStringLiteral("-"), Qt::KeypadModifier};
    case VK_MULTIPLY:
        return {Qt::Key_Asterisk, QStringLiteral("*"), Qt::KeypadModifier};
    case VK_DIVIDE:
        return {Qt::Key_Slash, QStringLiteral("/"), Qt::KeypadModifier};
    default:
        return {Qt::Key_unknown, QString(), Qt::NoModifier};
    }
}

} // namespace

void keybd_event(uint8_t vk, uint8_t scan, unsigned flags, uintptr_t extra) {
    (void)scan;
    (void)extra;
    QWidget* target = focusTarget();
    if (!target) return;
    VkInfo info = describe(vk);
    if (info.key == Qt::Key_unknown) return;
    QKeyEvent ev((flags & KEYEVENTF_KEYUP) ? QEvent::KeyRelease : QEvent::KeyPress, info.key, info.mods,
                 info.text);
    QApplication::sendEvent(target, &ev);
}

void SendKey(uint16_t vk) {
    keybd_event(static_cast<uint8_t>(vk), 0, 0, 0);
    keybd_event(static_cast<uint8_t>(vk), 0, KEYEVENTF_KEYUP, 0);
}

void InjectChar(char16_t ch) {
    QWidget* target = focusTarget();
    if (!target || ch == 0) return;
    QKeyEvent down(QEvent::KeyPress, QtKeyOfChar(ch), Qt::NoModifier, QString(QChar(ch)));
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, QtKeyOfChar(ch), Qt::NoModifier, QString(QChar(ch)));
    QApplication::sendEvent(target, &up);
}
