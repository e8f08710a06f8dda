#pragma once
// Virtual key codes, the translation of Qt's key events into them, and the
// keystroke injection of the on-screen keyboard. Injected keys go to the focused
// control of the program's own active form through that control's own key
// handling, never anywhere else.
#include <QtGlobal>

#include <cstdint>

class QKeyEvent;

constexpr uint16_t VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
                   VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
                   VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
                   VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60,
                   VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
                   VK_F1 = 0x70, VK_F10 = 0x79;
constexpr unsigned KEYEVENTF_KEYUP = 2;

// The virtual key of a Qt key event (0 when it has none).
uint16_t VirtualKeyOf(const QKeyEvent& e);
// The character a key event types (Enter 13, Backspace 8, Escape 27, Tab 9), or 0.
char16_t KeyCharOf(const QKeyEvent& e);
// The Qt key code of a typed character.
int QtKeyOfChar(char16_t ch);

// One synthetic key-down (flags 0) or key-up (KEYEVENTF_KEYUP) of a virtual key, as
// the on-screen keyboard sends them. With no focused control it goes nowhere.
void keybd_event(uint8_t vk, uint8_t scan, unsigned flags, uintptr_t extra);
// Key-down and key-up of a virtual key.
void SendKey(uint16_t vk);
// Types one character into the focused control of the active form.
void InjectChar(char16_t ch);
