// Forms: showing, modality, activation, closing and the outer frame.
#include "platform/Forms.h"

#include "platform/Application.h"
#include "platform/ControlsCom.h"
#include "platform/ControlsStd.h"
#include "platform/Fonts.h"
#include "platform/Keys.h"
#include "platform/Messages.h"
#include "platform/Runtime.h"
#include "platform/Timer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>

// ---- TForm -----------------------------------------------------------------------

namespace {

using FormWidget = THooked<QDialog>;

namespace {
// Wheel turns reach the form first, whichever control is under the mouse.
class WheelToForm : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w) return false;
        auto* link = dynamic_cast<TWidgetLink*>(w->window());
        auto* form = link ? dynamic_cast<TForm*>(link->Control) : nullptr;
        if (!form) return false;
        const int dy = static_cast<QWheelEvent*>(e)->angleDelta().y();
        const TNotifyEvent& handler = dy < 0 ? form->OnMouseWheelDown : form->OnMouseWheelUp;
        if (dy == 0 || !handler) return false;
        RunHandler([&] { handler(form); });
        return true;
    }
};

void InstallWheelToForm() {
    static WheelToForm* filter = nullptr;
    if (!filter && qApp) {
        filter = new WheelToForm;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
}
} // namespace

bool offscreen() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

// Makes a window belong to its owner for the window manager: it stays in
// front of the owner (also of one that stays on top), and activating the
// owner activates it instead.
void SetWindowOwner(QWidget* window, QWidget* owner) {
    if (!window) return;
    QWindow* ownerWindow = owner ? owner->window()->windowHandle() : nullptr;
    // Qt names the owner to the window system for dialog windows only.
    const Qt::WindowFlags flags = window->windowFlags();
    const Qt::WindowFlags type = ownerWindow ? Qt::Dialog : Qt::Window;
    if ((flags & Qt::WindowType_Mask) != type) window->setWindowFlags((flags & ~Qt::WindowType_Mask) | type);
    if (!ownerWindow && !window->windowHandle()) return;
    // The hint lives on the native window, which must exist before it shows.
    window->winId();
    if (QWindow* h = window->windowHandle()) h->setTransientParent(ownerWindow);
}

} // namespace

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    InstallWheelToForm();
    auto* w = new FormWidget(this);
    w->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    w->setAutoFillBackground(true);
    w->setModal(false);
    Attach(w, w);
    // A form shows only when asked to.
    TControl::SetVisible(false);
    SetParentFont(false);
    SetParentColor(false);
    m_width = 320;
    m_height = 240;
    w->resize(m_width, m_height);
}

TForm::~TForm() {
    m_alive.reset();
    DetachLink();
    for (QEventLoop* l : m_waits)
        l->quit();
    if (m_modalLoop) m_modalLoop->quit();
    Screen()->FormHidden(this);
    Application()->FormDestroyed(this);
    DestroyComponents();
}

int TForm::Width() const {
    return m_width + frameW();
}
int TForm::Height() const {
    return m_height + frameH();
}
void TForm::SetWidth(int w) {
    SetBounds(m_left, m_top, w, Height());
}
void TForm::SetHeight(int h) {
    SetBounds(m_left, m_top, Width(), h);
}
void TForm::SetClientWidth(int w) {
    SetBounds(m_left, m_top, w + frameW(), Height());
}
void TForm::SetClientHeight(int h) {
    SetBounds(m_left, m_top, Width(), h + frameH());
}

bool TForm::CanResize(int& width, int& height) {
    if (!OnCanResize || (width == Width() && height == Height())) return true;
    bool resize = true;
    TFormBusy busy(this);
    OnCanResize(this, width, height, resize);
    return resize;
}

void TForm::SetMinClientSize(int width, int height) {
    m_constraints.MinWidth = width > 0 ? width + frameW() : 0;
    m_constraints.MinHeight = height > 0 ? height + frameH() : 0;
    ApplyConstraints();
}

void TForm::ApplyConstraints() {
    if (QWidget* w = Widget())
        w->setMinimumSize(std::max(0, m_constraints.MinWidth - frameW()),
                          std::max(0, m_constraints.MinHeight - frameH()));
    if (Width() < m_constraints.MinWidth || Height() < m_constraints.MinHeight)
        SetBounds(m_left, m_top, Width(), Height());
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (!CanResize(width, height)) {
        width = Width();
        height = Height();
    }
    width = std::max(width, m_constraints.MinWidth);
    height = std::max(height, m_constraints.MinHeight);
    int cw = std::max(0, width - frameW());
    int ch = std::max(0, height - frameH());
    bool resized = cw != m_width || ch != m_height;
    if (!resized && left == m_left && top == m_top) return;
    m_left = left;
    m_top = top;
    m_width = cw;
    m_height = ch;
    if (QWidget* w = Widget()) {
        w->resize(std::max(1, cw), std::max(1, ch));
        w->move(left, top);
    }
    if (resized) {
        Realign();
        if (OnResize) {
            TFormBusy busy(this);
            OnResize(this);
        }
    }
}

void TForm::WindowResized(int clientWidth, int clientHeight) {
    if (clientWidth == m_width && clientHeight == m_height) return;
    int w = clientWidth + frameW(), h = clientHeight + frameH();
    if (w < m_constraints.MinWidth || h < m_constraints.MinHeight) {
        SetBounds(m_left, m_top, w, h);
        return;
    }
    if (!CanResize(w, h)) {
        if (QWidget* widget = Widget()) widget->resize(std::max(1, m_width), std::max(1, m_height));
        return;
    }
    if (w - frameW() != clientWidth || h - frameH() != clientHeight) {
        SetBounds(m_left, m_top, w, h);
        return;
    }
    m_width = clientWidth;
    m_height = clientHeight;
    Realign();
    if (OnResize) {
        TFormBusy busy(this);
        OnResize(this);
    }
}

void TForm::ScaleBy(int M, int D) {
    if (D == 0) return;
    DisableAlign();
    ScaleFont(M, D);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->ScaleBy(M, D);
    EnableAlign();
}

void TForm::SetCaption(const QString& c) {
    m_caption = c;
    if (Widget()) Widget()->setWindowTitle(c);
}

void TForm::ColorChanged() {
    TWinControl::ColorChanged();
}

void TForm::SetWindowState(TWindowState s) {
    m_windowState = s;
    if (m_shown) PlaceForShowing();
}

void TForm::SetFormStyle(TFormStyle s) {
    m_formStyle = s;
    if (QWidget* w = Widget()) {
        bool vis = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, s == fsStayOnTop);
        if (vis) w->show();
    }
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    int outerW = Width(), outerH = Height();
    m_borderStyle = s;
    if (QWidget* w = Widget()) {
        bool vis = w->isVisible();
        w->setWindowFlag(Qt::FramelessWindowHint, s == bsNone);
        if (vis) w->show();
    }
    // The outer size stays; the client area follows the new frame.
    SetBounds(m_left, m_top, outerW, outerH);
    ApplyConstraints();
}

TWinControl* TForm::ActiveControl() const {
    return m_activeControl;
}

void TForm::SetActiveControl(TWinControl* c) {
    m_activeControl = c;
    if (!c) {
        // No active control: keys must not go on reaching the old one.
        QWidget* focus = QApplication::focusWidget();
        if (focus && Widget() && focus != Widget() && Widget()->isAncestorOf(focus)) Widget()->setFocus();
        return;
    }
    if (c && c->Widget() && c->Widget()->focusPolicy() != Qt::NoFocus) {
        QWidget* w = c->Widget()->focusProxy() ? c->Widget()->focusProxy() : c->Widget();
        if (QApplication::focusWidget() != w) w->setFocus(Qt::OtherFocusReason);
    }
}

void TForm::DefocusControl(const TControl* Control) {
    for (const TControl* c = m_activeControl; c && Control; c = c->Parent())
        if (c == Control) {
            SetActiveControl(nullptr);
            return;
        }
}

void TForm::PlaceForShowing() {
    TScreen* s = Screen();
    if (m_windowState == wsMaximized) {
        // The client area covers the whole work area, the frame lies beyond
        // it; without a window manager (no frame at all) the window thus
        // fills the screen, with one the window manager fits it in.
        TRect work = s->WorkAreaRect();
        SetBounds(work.Left, work.Top, work.Width() + frameW(), work.Height() + frameH());
        return;
    }
    switch (m_position) {
    case poScreenCenter:
    case poDesktopCenter:
    case poMainFormCenter:
    case poOwnerFormCenter:
        SetBounds((s->Width() - Width()) / 2, (s->Height() - Height()) / 2, Width(), Height());
        break;
    default:
        break;
    }
}

void TForm::SetVisible(bool v) {
    if (!v) {
        if (!m_shown) return;
        if (Widget()) Widget()->hide();
        FinishHide();
        return;
    }
    if (m_shown) {
        if (Widget()) Widget()->raise();
        return;
    }
    TControl::SetVisible(true);
    m_shown = true;
    m_activated = false;
    m_closing = false;
    PlaceForShowing();
    Screen()->FormShown(this);
    if (OnShow) {
        TFormBusy busy(this);
        OnShow(this);
    }
    QWidget* w = Widget();
    if (!w || !m_shown) return;
    if (m_windowState == wsMaximized && !offscreen())
        w->showMaximized();
    else
        w->show();
    if (m_activeControl) SetActiveControl(m_activeControl);
    std::weak_ptr<void> alive = m_alive;
    PostMessage(w, [this, alive] {
        if (!alive.expired()) ActivateOnce();
    });
}

void TForm::Show() {
    SetVisible(true);
}

void TForm::ActivateOnce() {
    if (!m_shown || m_activated) return;
    m_activated = true;
    Screen()->FormShown(this);
    if (QWidget* w = Widget()) w->activateWindow();
    if (m_activeControl) SetActiveControl(m_activeControl);
    if (OnActivate) {
        TFormBusy busy(this);
        OnActivate(this);
    }
}

void TForm::FinishHide() {
    TControl::SetVisible(false);
    m_shown = false;
    m_activated = false;
    Screen()->FormHidden(this);
    ++m_closeCount;
    for (QEventLoop* l : m_waits)
        l->quit();
    // Timers of a closed form stop.
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* t = dynamic_cast<TTimer*>(Components(i))) t->SetEnabled(false);
    if (OnHide) {
        TFormBusy busy(this);
        OnHide(this);
    }
}

bool TForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) {
        TFormBusy busy(this);
        OnCloseQuery(this, can);
    }
    return can;
}

bool TForm::DoClose() {
    if (!CloseQuery()) return false;
    TCloseAction action = caHide;
    if (OnClose) {
        TFormBusy busy(this);
        std::weak_ptr<void> alive = m_alive;
        OnClose(this, action);
        if (alive.expired()) return true;
    }
    if (action == caNone) return false;
    if (action == caMinimize && !m_modal) {
        if (Widget()) Widget()->showMinimized();
        return false;
    }
    if (Widget()) Widget()->hide();
    FinishHide();
    if (action == caFree) Release();
    return true;
}

void TForm::Close() {
    if (m_closing) return;
    if (m_modal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!m_shown) return;
    m_closing = true;
    std::weak_ptr<void> alive = m_alive;
    bool closed = DoClose();
    if (alive.expired()) return;
    m_closing = false;
    if (closed) Application()->FormClosed(this);
}

void TForm::SetModalResult(TModalResult r) {
    m_modalResult = r;
    if (m_modal && r != mrNone)
        for (QEventLoop* l : m_waits)
            l->quit();
    if (m_modal && r != mrNone)
        if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

TModalResult TForm::ShowModal() {
    if (m_modal) return mrCancel;
    if (m_shown) {
        if (Widget()) Widget()->hide();
        FinishHide();
    }
    std::weak_ptr<void> alive = m_alive;
    TFormBusy busy(this);
    m_modal = true;
    m_modalResult = mrNone;
    QWidget* w = Widget();
    w->setWindowModality(Qt::ApplicationModal);
    // The form in front owns the new window, wherever it is opened from.
    TForm* owner = Screen()->ActiveForm();
    SetWindowOwner(w, owner && owner != this ? owner->Widget() : nullptr);
    SetVisible(true);
    for (;;) {
        if (alive.expired()) return mrCancel;
        if (Application()->Terminated() && m_modalResult == mrNone) m_modalResult = mrCancel;
        if (m_modalResult != mrNone) {
            if (!m_shown) break;
            m_closing = true;
            bool closed = DoClose();
            if (alive.expired()) return mrCancel;
            m_closing = false;
            if (closed) break;
            m_modalResult = mrNone;
            if (Application()->Terminated()) break;
            continue;
        }
        if (!m_shown) {
            // Hidden by code: the showing ends as if cancelled.
            m_modalResult = mrCancel;
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    m_modal = false;
    if (w) {
        w->setWindowModality(Qt::NonModal);
        SetWindowOwner(w, nullptr);
    }
    Application()->FormClosed(this);
    return m_modalResult;
}

void TForm::Release() {
    m_freePending = true;
    std::weak_ptr<void> alive = m_alive;
    PostMessage(nullptr, [this, alive] {
        if (!alive.expired() && m_busy == 0 && m_freePending) delete this;
    });
}

void TForm::LeaveHandler() {
    if (--m_busy == 0 && m_freePending) Release();
}

void TForm::RegisterWait(QEventLoop* loop) {
    m_waits.push_back(loop);
}

void TForm::UnregisterWait(QEventLoop* loop) {
    m_waits.erase(std::remove(m_waits.begin(), m_waits.end(), loop), m_waits.end());
}

void TForm::PaintWidget(QPainter& p) {
    TCanvas canvas(&p);
    canvas.Font()->Assign(*Font());
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(ClientRect());
    m_paintCanvas = &canvas;
    if (OnPaint) {
        TFormBusy busy(this);
        OnPaint(this);
    }
    m_paintCanvas = nullptr;
}

bool TForm::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::Close:
        // The close box: the same path as Close().
        e->ignore();
        if (m_shown) Close();
        return true;
    case QEvent::Resize: {
        QWidget* w = Widget();
        if (w && w->isVisible()) WindowResized(w->width(), w->height());
        return false;
    }
    case QEvent::Move: {
        QWidget* w = Widget();
        if (w && w->isVisible() && !offscreen()) {
            m_left = w->x();
            m_top = w->y();
        }
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        QWidget* w = Widget();
        QWidget* focus = w ? w->focusWidget() : nullptr;
        if (focus && focus != w) {
            // Keys a child left alone: Enter and Escape reach the default and
            // cancel buttons; nothing goes on to the dialog's own defaults.
            auto* ke = static_cast<QKeyEvent*>(e);
            if (e->type() == QEvent::KeyPress &&
                (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter || ke->key() == Qt::Key_Escape)) {
                const bool enter = ke->key() != Qt::Key_Escape;
                for (int i = 0; i < ComponentCount(); ++i) {
                    auto* b = dynamic_cast<TButton*>(Components(i));
                    if (b && (enter ? b->Default() : b->Cancel()) && b->Showing() && b->Enabled()) {
                        b->Click();
                        break;
                    }
                }
            }
            return true;
        }
        TWinControl::HandleEvent(e);
        return true;
    }
    default:
        return TWinControl::HandleEvent(e);
    }
}

TFormBusy::TFormBusy(TForm* f) : m_form(f) {
    if (m_form) {
        m_alive = m_form->AliveToken();
        m_form->EnterHandler();
    }
}

TFormBusy::~TFormBusy() {
    if (m_form && !m_alive.expired()) m_form->LeaveHandler();
}
