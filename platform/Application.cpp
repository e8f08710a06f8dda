#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/HandlerEdge.h"
#include "platform/Messages.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QPointer>
#include <QToolTip>
#include <QTranslator>

#include <clocale>
#include <exception>
#include <vector>

namespace {

TApplication* g_app = nullptr;

void freeApplication() {
    delete g_app;
    g_app = nullptr;
}

} // namespace

TApplication* Application() {
    if (!g_app) {
        g_app = new TApplication();
        // The forms go before the QApplication does.
        qAddPostRoutine(freeApplication);
    }
    return g_app;
}

TApplication::TApplication() : TComponent(nullptr) {
    if (qApp) QApplication::setQuitOnLastWindowClosed(false);
}

TApplication::~TApplication() {
    m_mainForm = nullptr;
    DestroyComponents();
}

void PrepareGermanLocale() {
    // LC_ALL would win over LC_TIME: it goes to the single categories instead.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        for (const char* category :
             {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY", "LC_MESSAGES", "LC_PAPER", "LC_NAME",
              "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"})
            qputenv(category, all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "de_DE.UTF-8");
}

void TApplication::Initialize() {
    if (m_initialized || !qApp) return;
    m_initialized = true;
    // Qt set the C library to the desktop's language; numbers written and
    // read through it keep the point.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void TApplication::Run() {
    if (m_mainForm && !m_terminated) m_mainForm->Show();
    while (!m_terminated && m_mainForm && m_mainForm->Visible())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Terminate() {
    m_terminated = true;
    if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

QString TApplication::ExeName() const {
    return QCoreApplication::applicationFilePath();
}

void TApplication::SetHintColor(TColor c) {
    m_hintColor = c;
    QPalette pal = QToolTip::palette();
    pal.setColor(QPalette::ToolTipBase, ToQColor(ColorToRGB(c)));
    QToolTip::setPalette(pal);
}

void TApplication::SetHintPause(int ms) {
    m_hintPause = ms;
}
void TApplication::SetHintHidePause(int ms) {
    m_hintHidePause = ms;
}

int TApplication::MessageBox(const QString& text, const QString& caption, unsigned flags) {
    return ::MessageBox(text, caption, flags);
}

void TApplication::HandleException(bool Deferred) noexcept {
    try {
        QString message;
        try {
            throw;
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        } catch (...) {
            message = QStringLiteral("Ein unerwarteter Fehler ist aufgetreten");
        }
        if (Deferred)
            PostMessage(nullptr, [this, message] { ReportException(message); });
        else
            ReportException(message);
    } catch (...) {
        // Reporting failed too (memory): the program goes on all the same.
    }
}

void TApplication::ReportException(const QString& Message) noexcept {
    if (m_showingException) return;
    m_showingException = true;
    try {
        ShowException(Message);
    } catch (...) {
    }
    m_showingException = false;
}

void TApplication::ShowException(const QString& Message) {
    QString text = Message.trimmed();
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) text += QLatin1Char('.');
    MessageBox(text, m_title.isEmpty() ? QCoreApplication::applicationName() : m_title, MB_OK | MB_ICONERROR);
}

void ReportHandlerException() noexcept {
    Application()->HandleException();
}

namespace {

// Widgets whose last paint failed.
std::vector<QPointer<QWidget>> g_failedPaints;

} // namespace

void ReportPaintException(QWidget* Widget) noexcept {
    try {
        std::erase_if(g_failedPaints, [](const QPointer<QWidget>& w) { return w.isNull(); });
        for (const QPointer<QWidget>& w : g_failedPaints)
            if (w == Widget) return;
        g_failedPaints.emplace_back(Widget);
    } catch (...) {
    }
    Application()->HandleException(true);
}

void PaintSucceeded(QWidget* Widget) noexcept {
    if (g_failedPaints.empty()) return;
    std::erase_if(g_failedPaints, [Widget](const QPointer<QWidget>& w) { return w.isNull() || w == Widget; });
}

void TApplication::FormClosed(TForm* f) {
    if (f && f == m_mainForm) Terminate();
}

void TApplication::FormDestroyed(TForm* f) {
    if (f == m_mainForm) m_mainForm = nullptr;
}
