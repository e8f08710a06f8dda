#include "platform/Timer.h"

#include "platform/HandlerEdge.h"
#include "platform/Wait.h"

#include <QTimer>

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), m_timer(std::make_unique<QTimer>()) {
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
        RunHandler([&] {
            if (!m_enabled || !OnTimer || TimeHeld()) return;
            TFormBusy busy(dynamic_cast<TForm*>(Owner()));
            OnTimer(this);
        });
    });
    Restart();
}

TTimer::~TTimer() {
    m_timer->stop();
}

void TTimer::SetInterval(int ms) {
    if (ms == m_interval) return;
    m_interval = ms;
    Restart();
}

void TTimer::SetEnabled(bool e) {
    if (e == m_enabled) return;
    m_enabled = e;
    Restart();
}

void TTimer::Restart() {
    m_timer->stop();
    if (m_enabled && m_interval > 0) m_timer->start(m_interval);
}
