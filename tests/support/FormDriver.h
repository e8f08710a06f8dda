#pragma once
// Driving forms in tests as a pupil would: show them off screen, answer their
// dialogs, fix the random seed, type into answer boxes through their key
// handling, press Enter, click buttons by name and read what the form shows.
#include "platform/Dialogs.h"
#include "platform/Forms.h"

#include <QKeyEvent>
#include <QString>

class QWidget;

#include <deque>
#include <functional>
#include <vector>

// Answers dialogs from a queue and records every question. Installed for its
// lifetime. An unexpected question is answered with Cancel (mrCancel) and counted.
class DialogResponder : public TDialogResponder {
public:
    DialogResponder();
    ~DialogResponder() override;
    DialogResponder(const DialogResponder&) = delete;
    DialogResponder& operator=(const DialogResponder&) = delete;

    // The next message box gets this button (mrYes, mrNo, mrOk ...).
    void QueueButton(int result);
    // The next file dialog chooses this file (empty: cancelled).
    void QueueFile(const QString& fileName);
    // The next printer setup is confirmed or cancelled.
    void QueuePrinterSetup(bool ok);

    const std::vector<TDialogRequest>& Questions() const { return m_questions; }
    int Unexpected() const { return m_unexpected; }
    // Texts of the message boxes asked so far.
    QStringList MessageTexts() const;

    TDialogAnswer Answer(const TDialogRequest& request) override;

private:
    std::deque<TDialogAnswer> m_answers;
    std::vector<TDialogRequest> m_questions;
    int m_unexpected = 0;
    TDialogResponder* m_previous = nullptr;
};

// Fixes the generator's seed, also for Randomize(), for its lifetime.
class SeedScope {
public:
    explicit SeedScope(uint32_t seed);
    ~SeedScope();
    SeedScope(const SeedScope&) = delete;
    SeedScope& operator=(const SeedScope&) = delete;
};

// Gives the screen a fixed size for its lifetime.
class ScreenScope {
public:
    ScreenScope(int width, int height);
    ~ScreenScope();
    ScreenScope(const ScreenScope&) = delete;
    ScreenScope& operator=(const ScreenScope&) = delete;
};

// Handles pending events (activation handlers run here).
void ProcessEvents(int rounds = 3);

// Shows a form (not modally) and lets its activation run.
void ShowAndActivate(TForm* form);

// Shows a form modally; `whileShown` runs once the form is active and must close
// it (or leave it to the form's own handlers). Returns the modal result.
int RunModal(TForm* form, const std::function<void(TForm*)>& whileShown);

// Sends the key events of typed text to a control, one character at a time,
// through its key handling (OnKeyDown, OnKeyPress, then insertion).
void TypeText(TWinControl* control, const QString& text);
// One key (virtual key code) down and up at a control.
void PressKey(TWinControl* control, uint16_t vk, Qt::KeyboardModifiers mods = Qt::NoModifier);
void PressEnter(TWinControl* control);

// The widget the keyboard's keys reach now: the focus widget of the active
// window, else the active window, else the active form itself.
QWidget* KeyboardTarget();
// Types text key by key, as the keyboard sends it: each key goes to whatever
// widget has the focus when it is pressed.
void TypeAtFocus(const QString& text);
// One key (virtual key code) down and up at whatever widget has the focus.
void PressKeyAtFocus(uint16_t vk, Qt::KeyboardModifiers mods = Qt::NoModifier);

// One key as the keyboard sends it: a virtual key code with its modifiers
// (Ctrl+Z, Shift+Tab), or a typed character.
struct TKeyStroke {
    int Key = 0;
    Qt::KeyboardModifiers Mods;
    QString Text;
};
TKeyStroke Stroke(uint16_t vk, Qt::KeyboardModifiers mods = Qt::NoModifier);
std::vector<TKeyStroke> Strokes(const QString& typed);
// Keys that reach the program in one batch, as the window system hands them
// over when the pupil types ahead or the program is busy: every key is queued
// to the form's window before the first of them is handled; then they are
// handled.
void TypeAhead(TForm* form, const std::vector<TKeyStroke>& keys);

// Clicks a control: mouse press and release in its middle.
void MouseClick(TControl* control);
// Left press and release at (x, y) of a control's client area.
void MouseClickAt(TWinControl* control, int x, int y);
// Runs Click() of the owned component of that name; false when there is none.
bool ClickByName(TComponent* owner, const QString& name);

// What a control shows, by name (empty / clNone when not found).
QString CaptionOf(TComponent* owner, const QString& name);
TColor ColorOf(TComponent* owner, const QString& name);
TColor FontColorOf(TComponent* owner, const QString& name);
