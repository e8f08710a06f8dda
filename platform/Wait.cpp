#include "platform/Wait.h"

#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/Runtime.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {
bool g_timeHeld = false;
} // namespace

void HoldTime(bool Hold) {
    g_timeHeld = Hold;
}

bool TimeHeld() {
    return g_timeHeld;
}

bool FormStillOpen(TForm* form, int closeCount) {
    if (!form) return true;
    return form->CloseCount() == closeCount && !(form->Modal() && form->ModalResult() != mrNone);
}

bool WaitResponsive(uint32_t ms, TForm* form) {
    std::weak_ptr<void> alive;
    int closeCount = 0;
    if (form) {
        alive = form->AliveToken();
        closeCount = form->CloseCount();
    }
    auto open = [&] {
        if (!form) return !Application()->Terminated();
        return !alive.expired() && FormStillOpen(form, closeCount) && !Application()->Terminated();
    };
    if (g_timeHeld) {
        QCoreApplication::processEvents();
        return open();
    }
    const uint32_t start = GetTickCount();
    while (open()) {
        const uint32_t elapsed = GetTickCount() - start;
        if (elapsed >= ms) return true;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(ms - elapsed));
        if (form) form->RegisterWait(&loop);
        loop.exec();
        if (form && !alive.expired()) form->UnregisterWait(&loop);
    }
    return false;
}
