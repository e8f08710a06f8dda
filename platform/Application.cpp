#include "platform/Application.h"

#include "platform/Dialogs.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPalette>
#include <QToolTip>

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

void TApplication::FormClosed(TForm* f) {
    if (f && f == m_mainForm) Terminate();
}

void TApplication::FormDestroyed(TForm* f) {
    if (f == m_mainForm) m_mainForm = nullptr;
}
