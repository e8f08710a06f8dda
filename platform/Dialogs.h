#pragma once
// Message boxes and the file and printer dialogs. All of them go through one
// responder: the default one shows Qt's dialogs; tests install their own, which
// answers at once and records what was asked.
#include "platform/Forms.h"

#include <QString>

// Buttons of MessageDlg.
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                         mbIgnore = 64, mbAll = 128, mbNoToAll = 256, mbYesToAll = 512, mbHelp = 1024;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Flags and results of MessageBox.
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                   MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10,
                   MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
                   MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40, MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

struct TDialogRequest {
    enum Kind { Message, Open, Save, PrinterSetup };
    Kind kind = Message;
    QString text;    // message text
    QString caption; // message box caption or dialog title
    // Message: the offered answers as mrYes, mrNo, ... (MessageBox results are the same numbers).
    std::vector<int> answers;
    QString filter; // "RichText Format Files (*.rtf)|*.rtf"
    QString defaultExt;
    QString fileName;
    QString initialDir;
};

struct TDialogAnswer {
    int result = mrCancel; // the button (mrYes, mrOk, ...); for the others mrOk or mrCancel
    QString fileName;      // chosen file
};

class TDialogResponder {
public:
    virtual ~TDialogResponder() = default;
    virtual TDialogAnswer Answer(const TDialogRequest& request) = 0;
};

// nullptr brings back the real dialogs. The responder is not owned.
void SetDialogResponder(TDialogResponder* responder);
TDialogResponder* CurrentDialogResponder();
// The real dialogs themselves; set as the responder they show also where no
// one could answer them (tests that answer them as a user would).
TDialogResponder* StandardDialogs();

// The modal result of the button pressed (mrYes, mrNo, mrOk, mrCancel ...).
int MessageDlg(const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const QString& msg);
// IDYES, IDNO, IDOK, IDCANCEL ...
int MessageBox(const QString& text, const QString& caption, unsigned flags);

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TOpenDialog"); }
    QString Filter() const { return m_filter; }
    void SetFilter(const QString& f) { m_filter = f; }
    QString DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString& e) { m_defaultExt = e; }
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& f) { m_fileName = f; }
    QString InitialDir() const { return m_initialDir; }
    void SetInitialDir(const QString& d) { m_initialDir = d; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& t) { m_title = t; }
    // True when a file was chosen. FileName holds it: a saved name without
    // an extension gets DefaultExt; a name to open gets it only when the file
    // does not exist as named.
    virtual bool Execute();

protected:
    bool run(TDialogRequest::Kind kind);
    QString m_filter, m_defaultExt, m_fileName, m_initialDir, m_title;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TSaveDialog"); }
    bool Execute() override;
};

class TPrinterSetupDialog : public TComponent {
public:
    explicit TPrinterSetupDialog(TComponent* AOwner) : TComponent(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TPrinterSetupDialog"); }
    bool Execute();
};

// "Text (*.rtf)|*.rtf|All (*.*)|*.*" as Qt's name filters.
QString QtNameFilters(const QString& filter);
