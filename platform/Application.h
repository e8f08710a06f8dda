#pragma once
// The application object: owner of the program's forms, its message loop and
// its settings.
#include "platform/Forms.h"

#include <QString>

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    QString ClassName() const override { return QStringLiteral("TApplication"); }

    // Loads Qt's German translations and makes German the default language, so
    // that the standard dialogs and buttons speak German whatever the desktop's
    // language. Only the first call does anything.
    void Initialize();
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T> T* CreateForm(T*& ref) {
        ref = new T(this);
        if (!m_mainForm) m_mainForm = ref;
        return ref;
    }
    TForm* MainForm() const { return m_mainForm; }
    void SetMainForm(TForm* f) { m_mainForm = f; }
    // Shows the main form and runs the message loop until it closes or Terminate.
    void Run();
    // Handles every pending event, then returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // Tests end a run and start the next.
    void ResetTerminated() { m_terminated = false; }

    QString Title() const { return m_title; }
    void SetTitle(const QString& t) { m_title = t; }
    QString ExeName() const;
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool s) { m_showHint = s; }
    TColor HintColor() const { return m_hintColor; }
    void SetHintColor(TColor c);
    int HintPause() const { return m_hintPause; }
    void SetHintPause(int ms);
    int HintHidePause() const { return m_hintHidePause; }
    void SetHintHidePause(int ms);

    // Message box with the flags of the platform (MB_YESNO | MB_ICONQUESTION ...);
    // returns IDYES, IDNO, IDOK, IDCANCEL ... (see Dialogs.h).
    int MessageBox(const QString& text, const QString& caption, unsigned flags);

    // The exception being handled left an event handler, a posted message or
    // a timer (platform/HandlerEdge.h): its message shows, and the program
    // goes on. Only inside a catch block. Deferred (a paint, inside which no
    // box can open), the box shows once the handler is over.
    void HandleException(bool Deferred = false) noexcept;
    // The message in a message box with the application's title; a full stop
    // follows a last character that sorts above it (a letter, a digit).
    void ShowException(const QString& Message);

    // A form closed: the main form's closing ends the run.
    void FormClosed(TForm* f);
    // The form being freed.
    void FormDestroyed(TForm* f);

private:
    TForm* m_mainForm = nullptr;
    bool m_terminated = false;
    bool m_initialized = false;
    // One box of an exception at a time: what its own loop paints or posts
    // may fail the same way.
    void ReportException(const QString& Message) noexcept;
    bool m_showingException = false;
    QString m_title;
    bool m_showHint = true;
    TColor m_hintColor = clInfoBk;
    int m_hintPause = 500;
    int m_hintHidePause = 2500;
};

// Before the QApplication exists: dates and month names in Qt's own dialogs
// (the file list of the open and save dialogs) are German, whatever the
// desktop's language; every other part of the environment's locale stays.
void PrepareGermanLocale();

// The one application object (created on first use, freed with the QApplication).
TApplication* Application();
