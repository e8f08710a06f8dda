#include "platform/Messages.h"

#include "platform/HandlerEdge.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>

#include <cstdint>
#include <deque>
#include <limits>

namespace {

struct TPosted {
    uint64_t Id = 0;
    bool ForReceiver = false;
    QPointer<QObject> Receiver;
    std::function<void()> Work;
};

bool IsInput(QEvent::Type t) {
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

// Qt delivers a batch of window-system input (keys typed ahead) before it
// looks at its posted events again; the queue therefore watches the input
// and runs what is pending before each piece of it is handed on.
class TMessageQueue : public QObject {
public:
    static TMessageQueue* Instance() {
        static QPointer<TMessageQueue> queue;
        if (!queue && QCoreApplication::instance()) {
            queue = new TMessageQueue;
            queue->setParent(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(queue);
        }
        return queue;
    }

    void Post(QObject* Receiver, std::function<void()> Work) {
        const uint64_t id = ++m_lastId;
        m_pending.push_back({id, Receiver != nullptr, Receiver, std::move(Work)});
        QCoreApplication::postEvent(this, new TDue(id));
    }

    // Runs the messages up to Last in their order; those posted meanwhile
    // join the end and run too when Last is the end.
    void RunUpTo(uint64_t Last) {
        while (!m_pending.empty() && m_pending.front().Id <= Last) {
            TPosted p = std::move(m_pending.front());
            m_pending.pop_front();
            // A message that fails is reported; those after it still run.
            if (!p.ForReceiver || p.Receiver) RunHandler(p.Work);
        }
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() != TDue::Type()) return QObject::event(e);
        RunUpTo(static_cast<TDue*>(e)->Id);
        return true;
    }

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (m_pending.empty() || !IsInput(e->type())) return false;
        // Input from the window system, or queued to a window as it is; keys
        // the program sends itself inside a handler (the on-screen keyboard)
        // are that handler's own.
        if (!e->spontaneous() && !watched->isWindowType()) return false;
        QPointer<QObject> target = watched;
        RunUpTo(std::numeric_limits<uint64_t>::max());
        if (target) return false;
        // The work took the input's receiver away: the input goes with it.
        e->accept();
        return true;
    }

private:
    class TDue : public QEvent {
    public:
        explicit TDue(uint64_t AId) : QEvent(Type()), Id(AId) {}
        static QEvent::Type Type() {
            static const auto t = static_cast<QEvent::Type>(QEvent::registerEventType());
            return t;
        }
        uint64_t Id;
    };

    std::deque<TPosted> m_pending;
    uint64_t m_lastId = 0;
};

} // namespace

void PostMessage(QObject* Receiver, std::function<void()> Work) {
    if (TMessageQueue* q = TMessageQueue::Instance()) q->Post(Receiver, std::move(Work));
}

unsigned GetDoubleClickTime() {
    return unsigned(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}
