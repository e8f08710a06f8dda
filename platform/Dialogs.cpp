#include "platform/Dialogs.h"

#include "platform/Application.h"
#include "platform/Paths.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpacerItem>

namespace {

struct ButtonDef {
    int result;
    QMessageBox::StandardButton qt;
};

const ButtonDef kButtons[] = {
    {mrYes, QMessageBox::Yes},           {mrNo, QMessageBox::No},        {mrOk, QMessageBox::Ok},
    {mrCancel, QMessageBox::Cancel},     {mrAbort, QMessageBox::Abort},  {mrRetry, QMessageBox::Retry},
    {mrIgnore, QMessageBox::Ignore},     {mrAll, QMessageBox::YesToAll}, {mrNoToAll, QMessageBox::NoToAll},
    {mrYesToAll, QMessageBox::YesToAll},
};

QString WithoutDot(const QString& ext) {
    return ext.startsWith(QLatin1Char('.')) ? ext.mid(1) : ext;
}

// The file a file dialog hands back for the name it was given. Saving adds
// the default extension to a name without one; opening takes a file as it is
// named and adds the extension only to a name that does not exist without it.
QString WithDefaultExt(const QString& name, const QString& ext, bool opening) {
    const QString e = WithoutDot(ext);
    if (e.isEmpty() || name.isEmpty()) return name;
    const QString withExt = name + QLatin1Char('.') + e;
    if (opening) return !QFileInfo::exists(name) && QFileInfo::exists(withExt) ? withExt : name;
    return QFileInfo(name).fileName().contains(QLatin1Char('.')) ? name : withExt;
}

// Qt's file dialog with the default extension inside: the question before
// replacing a file covers the name with it, and a name typed to open finds
// the file with it.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, const TDialogRequest& r, const QString& start)
        : QFileDialog(parent, r.caption, start, QtNameFilters(r.filter)), m_ext(WithoutDot(r.defaultExt)) {
        const bool save = r.kind == TDialogRequest::Save;
        setAcceptMode(save ? AcceptSave : AcceptOpen);
        setFileMode(save ? AnyFile : ExistingFile);
        if (save) setDefaultSuffix(m_ext);
    }
    // The file chosen once the dialog was accepted.
    QString Chosen() const { return m_chosen.isEmpty() ? selectedFiles().value(0) : m_chosen; }
    void accept() override {
        const QStringList files = selectedFiles();
        if (acceptMode() == AcceptOpen && files.size() == 1) {
            const QString f = WithDefaultExt(files.first(), m_ext, true);
            if (f != files.first()) {
                // Qt's own check would refuse the name as typed.
                m_chosen = f;
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    QString m_ext;
    QString m_chosen;
};

// The real dialogs.
class QtResponder : public TDialogResponder {
public:
    TDialogAnswer Answer(const TDialogRequest& r) override {
        // The form in front owns the dialog: it stays in front of it and the
        // form takes no input until the dialog is answered.
        TForm* owner = Screen()->ActiveForm();
        QWidget* parent = owner && owner->Widget() ? owner->Widget() : QApplication::activeWindow();
        const TDialogAnswer a = Show(r, parent);
        // Then it takes the keyboard again, also where the window manager lost
        // track of it while a question and its dialog closed one after the other.
        if (parent && parent->isVisible()) parent->activateWindow();
        return a;
    }

private:
    static TDialogAnswer Show(const TDialogRequest& r, QWidget* parent) {
        TDialogAnswer a;
        switch (r.kind) {
        case TDialogRequest::Message: {
            QMessageBox box(parent);
            QString title = r.caption.isEmpty() ? Application()->Title() : r.caption;
            box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
            box.setText(QString(r.text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
            QMessageBox::StandardButtons buttons;
            for (int ans : r.answers)
                for (const ButtonDef& d : kButtons)
                    if (d.result == ans) buttons |= d.qt;
            box.setStandardButtons(buttons ? buttons : QMessageBox::Ok);
            // The box is wide enough for its title, as the system's boxes are:
            // a short message would leave the program's name cut in the title
            // bar. Room for the bar's buttons and margins comes on top.
            if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
                QFont bar = box.font();
                bar.setBold(true);
                const int wanted = QFontMetrics(bar).horizontalAdvance(box.windowTitle()) + 120;
                grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                              grid->rowCount(), 0, 1, grid->columnCount());
            }
            box.exec();
            QAbstractButton* clicked = box.clickedButton();
            a.result = mrCancel;
            for (const ButtonDef& d : kButtons)
                if (clicked && box.button(d.qt) == clicked) a.result = d.result;
            return a;
        }
        case TDialogRequest::Open:
        case TDialogRequest::Save: {
            QString dir = r.initialDir.isEmpty() ? QString() : Paths::MapPath(r.initialDir);
            if (!r.fileName.isEmpty())
                dir = QFileInfo(dir.isEmpty() ? Paths::MapPath(r.fileName)
                                              : dir + QLatin1Char('/') + r.fileName)
                          .absoluteFilePath();
            FileDialog dlg(parent, r, dir);
            const QString f = dlg.exec() == QDialog::Accepted ? dlg.Chosen() : QString();
            a.result = f.isEmpty() ? mrCancel : mrOk;
            a.fileName = f;
            return a;
        }
        case TDialogRequest::PrinterSetup: {
            QPrinter* printer = Printer()->QtPrinter();
            if (!printer) return a;
            // Without an installed printer the dialog offers printing into a PDF file.
            if (QPrinterInfo::availablePrinterNames().isEmpty() && printer->outputFileName().isEmpty())
                printer->setOutputFileName(QDir::home().filePath(QStringLiteral("Pravolin.pdf")));
            QPrintDialog dlg(printer, parent);
            // A printer setup chooses the printer and its paper, not the pages: the document prints whole.
            dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
            dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
            dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
            a.result = dlg.exec() == QDialog::Accepted ? mrOk : mrCancel;
            return a;
        }
        }
        return a;
    }
};

TDialogResponder* g_responder = nullptr;

TDialogAnswer ask(const TDialogRequest& r) {
    if (g_responder) return g_responder->Answer(r);
    // Off screen nobody could answer: a dialog would wait for ever.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        qWarning("unanswered dialog: %s", qPrintable(r.text.isEmpty() ? r.caption : r.text));
        return TDialogAnswer();
    }
    return StandardDialogs()->Answer(r);
}

} // namespace

TDialogResponder* StandardDialogs() {
    static QtResponder qtResponder;
    return &qtResponder;
}

void SetDialogResponder(TDialogResponder* responder) {
    g_responder = responder;
}
TDialogResponder* CurrentDialogResponder() {
    return g_responder;
}

int MessageDlg(const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    (void)helpContext;
    TDialogRequest r;
    r.kind = TDialogRequest::Message;
    r.text = msg;
    static const char* const captions[] = {"Warnung", "Fehler", "Information", "Bestätigen", ""};
    r.caption = QString::fromUtf8(captions[type]);
    const std::pair<TMsgDlgButtons, int> map[] = {{mbYes, mrYes},         {mbNo, mrNo},
                                                  {mbOK, mrOk},           {mbCancel, mrCancel},
                                                  {mbAbort, mrAbort},     {mbRetry, mrRetry},
                                                  {mbIgnore, mrIgnore},   {mbAll, mrAll},
                                                  {mbNoToAll, mrNoToAll}, {mbYesToAll, mrYesToAll}};
    for (const auto& [bit, result] : map)
        if (buttons & bit) r.answers.push_back(result);
    if (r.answers.empty()) r.answers.push_back(mrOk);
    return ask(r).result;
}

void ShowMessage(const QString& msg) {
    TDialogRequest r;
    r.text = msg;
    r.answers = {mrOk};
    ask(r);
}

int MessageBox(const QString& text, const QString& caption, unsigned flags) {
    TDialogRequest r;
    r.text = text;
    r.caption = caption;
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        r.answers = {mrOk, mrCancel};
        break;
    case MB_ABORTRETRYIGNORE:
        r.answers = {mrAbort, mrRetry, mrIgnore};
        break;
    case MB_YESNOCANCEL:
        r.answers = {mrYes, mrNo, mrCancel};
        break;
    case MB_YESNO:
        r.answers = {mrYes, mrNo};
        break;
    case MB_RETRYCANCEL:
        r.answers = {mrRetry, mrCancel};
        break;
    default:
        r.answers = {mrOk};
        break;
    }
    // The dialog results share the numbers of the modal results.
    return ask(r).result;
}

QString QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString name = parts[i];
        out << (name.contains(QLatin1Char('(')) ? name
                                                : name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

bool TOpenDialog::run(TDialogRequest::Kind kind) {
    TDialogRequest r;
    r.kind = kind;
    r.caption = m_title;
    r.filter = m_filter;
    r.defaultExt = m_defaultExt;
    r.fileName = m_fileName;
    r.initialDir = m_initialDir;
    TDialogAnswer a = ask(r);
    if (a.result != mrOk || a.fileName.isEmpty()) return false;
    // The real dialog has done this already; an answer from elsewhere gets
    // the same treatment.
    m_fileName = WithDefaultExt(a.fileName, m_defaultExt, kind == TDialogRequest::Open);
    return true;
}

bool TOpenDialog::Execute() {
    return run(TDialogRequest::Open);
}
bool TSaveDialog::Execute() {
    return run(TDialogRequest::Save);
}

bool TPrinterSetupDialog::Execute() {
    TDialogRequest r;
    r.kind = TDialogRequest::PrinterSetup;
    return ask(r).result == mrOk;
}
