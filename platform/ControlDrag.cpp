// Dragging a control onto another control of the program: the pointer drags
// it over the controls under it, each is asked whether it takes it, and the
// release drops it on the one under the pointer (Escape cancels).
#include "platform/CustomControl.h"
#include "platform/HandlerEdge.h"
#include "platform/Keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace {

// The one drag that may run; the controls are reached through their widgets,
// which go away with them.
class TDragRun : public QObject {
public:
    TControl* Source = nullptr;
    QPointer<QWidget> SourceWidget;
    TControl* Target = nullptr;
    QPointer<QWidget> TargetWidget;
    QPoint Last;

    bool Running() const { return Source != nullptr; }
    bool Alive(TControl* C, const QPointer<QWidget>& W) const { return C && W && ControlOfWidget(W) == C; }

    void Begin(TControl* S) {
        if (Running()) Finish(false);
        Source = S;
        SourceWidget = S->Widget();
        Target = nullptr;
        TargetWidget = nullptr;
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(QtCursor(crNoDrop));
        MoveTo(QCursor::pos());
    }

    // The control under a point of the screen that may be asked: enabled,
    // in a visible window of the program, the source's window first.
    static TControl* ControlAt(QPoint Global, QWidget* Prefer) {
        QList<QWidget*> windows;
        if (Prefer) windows.append(Prefer->window());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!windows.contains(w)) windows.append(w);
        for (QWidget* window : windows) {
            if (!window->isVisible() || window->windowType() == Qt::Popup ||
                !window->frameGeometry().contains(Global))
                continue;
            QWidget* w = window->childAt(window->mapFromGlobal(Global));
            for (TControl* c = ControlOfWidget(w ? w : window); c; c = c->Parent())
                if (c->Enabled()) return c;
        }
        return nullptr;
    }

    static QPoint ClientPos(TControl* C, QPoint Global) {
        QWidget* w = C->Widget();
        if (auto* wc = dynamic_cast<TWinControl*>(C)) w = wc->ClientWidget();
        return w ? w->mapFromGlobal(Global) : Global;
    }

    bool Ask(TDragState State, QPoint Global) {
        if (!Alive(Target, TargetWidget) || !Alive(Source, SourceWidget)) return false;
        bool accept = false;
        const QPoint p = ClientPos(Target, Global);
        Target->DragOver(Source, p.x(), p.y(), State, accept);
        return accept;
    }

    void MoveTo(QPoint Global) {
        Last = Global;
        TControl* now = ControlAt(Global, SourceWidget);
        if (now != Target || !Alive(Target, TargetWidget)) {
            if (Target) Ask(dsDragLeave, Global);
            Target = now;
            TargetWidget = now ? now->Widget() : nullptr;
            if (Target) Ask(dsDragEnter, Global);
        }
        const bool accepted = Target && Ask(dsDragMove, Global);
        QApplication::changeOverrideCursor(QtCursor(accepted ? crDrag : crNoDrop));
    }

    // Ends the drag without a word to anyone: its source is going.
    void Abandon() {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
        Source = Target = nullptr;
    }

    void Finish(bool Drop) {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
        // The target is asked once more as the pointer leaves it with the drop.
        const bool accepted = Target && Ask(dsDragLeave, Last) && Drop;
        TControl* source = Alive(Source, SourceWidget) ? Source : nullptr;
        TControl* target = accepted && Alive(Target, TargetWidget) ? Target : nullptr;
        Source = Target = nullptr;
        const QPoint p = target ? ClientPos(target, Last) : QPoint(0, 0);
        if (target && source) target->DragDrop(source, p.x(), p.y());
        if (source) source->DoEndDrag(target, p.x(), p.y());
    }

    // The pointer drags the control until the left button goes up; other
    // buttons do nothing meanwhile.
    bool eventFilter(QObject* Watched, QEvent* E) override {
        (void)Watched;
        switch (E->type()) {
        case QEvent::MouseMove:
            RunHandler([&] { MoveTo(static_cast<QMouseEvent*>(E)->globalPosition().toPoint()); });
            return true;
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(E);
            if (me->button() != Qt::LeftButton) return true;
            RunHandler([&] { MoveTo(me->globalPosition().toPoint()); });
            // The drag ends even when the move failed.
            RunHandler([&] { Finish(true); });
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(E)->key() != Qt::Key_Escape) return false;
            RunHandler([&] { Finish(false); });
            return true;
        default:
            return false;
        }
    }
};

TDragRun& Run() {
    static TDragRun* run = nullptr;
    if (!run) {
        run = new TDragRun;
        run->setParent(qApp);
    }
    return *run;
}

} // namespace

void TControl::BeginDrag() {
    if (!Dragging()) Run().Begin(this);
}

void TControl::EndDrag(bool Drop) {
    if (!Dragging()) return;
    TDragRun& r = Run();
    if (Drop) r.MoveTo(r.Last);
    r.Finish(Drop);
}

bool TControl::Dragging() const {
    return qApp && Run().Source == this;
}

void TControl::CancelDragOfFreed() {
    // The pointer and the mouse buttons are the user's again.
    if (Dragging()) Run().Abandon();
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (!OnDragOver) return;
    Accept = true;
    TFormBusy busy(ParentForm());
    OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (!OnDragDrop) return;
    TFormBusy busy(ParentForm());
    OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (!OnEndDrag) return;
    TFormBusy busy(ParentForm());
    OnEndDrag(this, Target, X, Y);
}
