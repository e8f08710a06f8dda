#include "platform/Forms.h"

#include "platform/Application.h"
#include "platform/ControlsCom.h"
#include "platform/ControlsStd.h"
#include "platform/Fonts.h"
#include "platform/Keys.h"
#include "platform/Runtime.h"
#include "platform/Timer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

// ---- TComponent ------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) : m_owner(AOwner) {
    if (m_owner) m_owner->m_components.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (m_owner) m_owner->Remove(this);
}

void TComponent::Remove(TComponent* c) {
    auto it = std::find(m_components.begin(), m_components.end(), c);
    if (it != m_components.end()) m_components.erase(it);
}

TComponent* TComponent::Components(int i) const {
    return i >= 0 && i < ComponentCount() ? m_components[static_cast<size_t>(i)] : nullptr;
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    for (TComponent* c : m_components)
        if (c->m_name.compare(name, Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}

void TComponent::DestroyComponents() {
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        m_components.pop_back();
        c->m_owner = nullptr;
        delete c;
    }
}

// ---- TControl --------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    m_font.SetName(QStringLiteral("MS Sans Serif"));
    m_font.OnChange = [this] {
        if (!m_fontFromParent) m_parentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    DestroyComponents();
    if (m_parent) {
        auto& v = m_parent->m_controls;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    DetachLink();
    delete m_widget;
}

void TControl::DetachLink() {
    if (m_link) m_link->Control = nullptr;
}

QWidget* TControl::Widget() const {
    return m_widget;
}

void TControl::Attach(QWidget* widget, TWidgetLink* link) {
    m_widget = widget;
    m_link = link;
    m_widget->hide();
    m_widget->setAttribute(Qt::WA_DeleteOnClose, false);
    FontChanged();
    ColorChanged();
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c) {
        if (auto* f = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(f);
        c = c->m_parent;
    }
    return nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent) return;
    TWinControl* old = m_parent;
    if (old) {
        auto& v = old->m_controls;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    m_parent = parent;
    if (m_widget) {
        m_widget->setParent(parent ? parent->ClientWidget() : nullptr);
        ApplyGeometry();
    }
    if (parent) {
        parent->m_controls.push_back(this);
        if (m_parentFont) ParentFontChanged();
        if (m_parentColor) ParentColorChanged();
    }
    ApplyVisible();
    UpdateHint();
    if (old && m_align != alNone) old->Realign();
    if (parent && m_align != alNone) parent->Realign();
}

void TControl::ApplyGeometry() {
    if (m_widget && m_parent)
        m_widget->setGeometry(m_left, m_top, std::max(0, m_width), std::max(0, m_height));
}

void TControl::ApplyVisible() {
    if (m_widget && m_parent) m_widget->setVisible(m_visible);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == m_left && top == m_top && width == m_width && height == m_height) return;
    bool resized = width != m_width || height != m_height;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    ApplyGeometry();
    BoundsChanged();
    if (m_parent && m_align != alNone && !m_parent->m_aligning) m_parent->Realign();
    if (m_parent) m_parent->ChildBoundsChanged(this);
    if (resized && OnResize) OnResize(this);
}

void TControl::SetAlign(TAlign a) {
    if (a == m_align) return;
    m_align = a;
    if (m_parent) m_parent->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == m_visible) return;
    m_visible = v;
    ApplyVisible();
    if (m_parent && m_align != alNone) m_parent->Realign();
}

bool TControl::Showing() const {
    const TControl* c = this;
    while (c) {
        if (!c->m_visible) return false;
        if (auto* f = dynamic_cast<const TForm*>(c)) return f->Widget() && f->Widget()->isVisible();
        c = c->m_parent;
    }
    return false;
}

void TControl::SetEnabled(bool e) {
    if (e == m_enabled) return;
    m_enabled = e;
    if (m_widget) m_widget->setEnabled(e);
    Invalidate();
}

void TControl::SetCaption(const QString& c) {
    if (c == m_caption) return;
    m_caption = c;
    CaptionChanged();
}

void TControl::SetColor(TColor c) {
    m_parentColor = false;
    if (c == m_color) return;
    m_color = c;
    ColorChanged();
}

void TControl::SetParentColor(bool p) {
    m_parentColor = p;
    if (p) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!m_parentColor || !m_parent) return;
    if (m_color != m_parent->Color()) {
        m_color = m_parent->Color();
        ColorChanged();
    }
}

void TControl::ColorChanged() {
    if (m_widget) {
        QPalette pal = m_widget->palette();
        pal.setColor(QPalette::Window, ToQColor(ColorToRGB(m_color)));
        m_widget->setPalette(pal);
    }
    Invalidate();
}

void TControl::SetParentFont(bool p) {
    m_parentFont = p;
    if (p) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!m_parentFont || !m_parent) return;
    m_fontFromParent = true;
    m_font.Assign(*m_parent->Font());
    m_fontFromParent = false;
    m_parentFont = true;
}

void TControl::FontChanged() {
    if (m_widget) {
        QFont f = ToQFont(m_font);
        m_widget->setFont(f);
        QPalette pal = m_widget->palette();
        QColor fc = ToQColor(ColorToRGB(m_font.Color()));
        pal.setColor(QPalette::WindowText, fc);
        pal.setColor(QPalette::ButtonText, fc);
        pal.setColor(QPalette::Text, fc);
        m_widget->setPalette(pal);
    }
    Invalidate();
}

void TControl::ScaleFont(int M, int D) {
    if (D == 0) return;
    int h = static_cast<int>(Round(static_cast<double>(m_font.Height()) * M / D));
    bool wasParent = m_parentFont;
    m_fontFromParent = wasParent;
    m_font.SetHeight(h);
    m_fontFromParent = false;
    m_parentFont = wasParent;
}

void TControl::ScaleBy(int M, int D) {
    if (D == 0) return;
    auto sc = [M, D](int v) { return static_cast<int>(Round(static_cast<double>(v) * M / D)); };
    SetBounds(sc(m_left), sc(m_top), sc(m_width), sc(m_height));
    if (!m_parentFont) ScaleFont(M, D);
}

void TControl::SetHint(const QString& h) {
    m_hint = h;
    UpdateHint();
}

bool TControl::ShowHint() const {
    if (m_parentShowHint && m_parent) return m_parent->ShowHint();
    return m_showHint;
}

void TControl::SetShowHint(bool s) {
    m_showHint = s;
    m_parentShowHint = false;
    UpdateHint();
}

void TControl::UpdateHint() {
    if (!m_widget) return;
    bool show = ShowHint();
    // Hints show the part before a '|', as the framework does.
    m_widget->setToolTip(show ? m_hint.section(QLatin1Char('|'), 0, 0) : QString());
}

void TControl::SetCursor(TCursor c) {
    m_cursor = c;
    if (m_widget) {
        if (c == crDefault)
            m_widget->unsetCursor();
        else
            m_widget->setCursor(QtCursor(c));
    }
}

void TControl::Click() {
    if (OnClick) {
        TFormBusy busy(ParentForm());
        OnClick(this);
    }
}

void TControl::Invalidate() {
    if (m_widget) m_widget->update();
}

void TControl::Repaint() {
    if (m_widget) m_widget->repaint();
}

void TControl::Update() {
    if (m_widget) m_widget->update();
}

void TControl::BringToFront() {
    if (m_widget) m_widget->raise();
}

void TControl::SendToBack() {
    if (m_widget) m_widget->lower();
}

static TShiftState shiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier) s |= ssShift;
    if (mods & Qt::AltModifier) s |= ssAlt;
    if (mods & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

static TMouseButton buttonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return mbRight;
    if (b == Qt::MiddleButton) return mbMiddle;
    return mbLeft;
}

bool TControl::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (!m_enabled) return false;
        TFormBusy busy(ParentForm());
        std::weak_ptr<void> alive;
        if (TForm* f = ParentForm()) alive = f->AliveToken();
        int x = static_cast<int>(me->position().x());
        int y = static_cast<int>(me->position().y());
        TShiftState shift = shiftOf(me->modifiers(), me->buttons());
        if (e->type() == QEvent::MouseMove) {
            if (OnMouseMove) OnMouseMove(this, shift, x, y);
            return false;
        }
        if (e->type() == QEvent::MouseButtonDblClick) {
            if (OnDblClick) OnDblClick(this);
            if (OnMouseDown) OnMouseDown(this, buttonOf(me->button()), shift | ssDouble, x, y);
            return false;
        }
        if (e->type() == QEvent::MouseButtonPress) {
            m_mousePressed = me->button() == Qt::LeftButton;
            if (OnMouseDown) OnMouseDown(this, buttonOf(me->button()), shift, x, y);
            return false;
        }
        bool wasPressed = m_mousePressed;
        m_mousePressed = false;
        if (OnMouseUp) OnMouseUp(this, buttonOf(me->button()), shift, x, y);
        if (wasPressed && me->button() == Qt::LeftButton && ClickOnMouseUp() && x >= 0 && y >= 0 &&
            x < m_width && y < m_height)
            Click();
        return false;
    }
    default:
        return false;
    }
}

// ---- TWinControl -----------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    DestroyComponents();
    // Children owned elsewhere leave with their widgets intact.
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        c->m_parent = nullptr;
        if (c->Widget()) {
            c->Widget()->hide();
            c->Widget()->setParent(nullptr);
        }
    }
    m_controls.clear();
}

TControl* TWinControl::Controls(int i) const {
    return i >= 0 && i < ControlCount() ? m_controls[static_cast<size_t>(i)] : nullptr;
}

QWidget* TWinControl::ClientWidget() const {
    return Widget();
}

void TWinControl::EnableAlign() {
    if (m_alignLock > 0 && --m_alignLock == 0) Realign();
}

void TWinControl::Realign() {
    if (m_alignLock > 0 || m_aligning) return;
    m_aligning = true;
    const TRect area = AlignRect();
    int l = area.Left, t = area.Top, r = area.Right, b = area.Bottom;
    auto place = [](TControl* c, int x, int y, int w, int h) {
        c->SetBounds(x, y, std::max(0, w), std::max(0, h));
    };
    for (TControl* c : m_controls)
        if (c->Visible() && c->Align() == alTop) {
            place(c, l, t, r - l, c->Height());
            t += c->Height();
        }
    for (TControl* c : m_controls)
        if (c->Visible() && c->Align() == alBottom) {
            b -= c->Height();
            place(c, l, b, r - l, c->Height());
        }
    for (TControl* c : m_controls)
        if (c->Visible() && c->Align() == alLeft) {
            place(c, l, t, c->Width(), b - t);
            l += c->Width();
        }
    for (TControl* c : m_controls)
        if (c->Visible() && c->Align() == alRight) {
            r -= c->Width();
            place(c, r, t, c->Width(), b - t);
        }
    for (TControl* c : m_controls)
        if (c->Visible() && c->Align() == alClient) place(c, l, t, r - l, b - t);
    m_aligning = false;
}

void TWinControl::BoundsChanged() {
    Realign();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : m_controls)
        c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : m_controls)
        c->ParentColorChanged();
}

void TWinControl::ParentFontChanged() {
    TControl::ParentFontChanged();
}
void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
}

void TWinControl::ScaleBy(int M, int D) {
    if (D == 0) return;
    DisableAlign();
    TControl::ScaleBy(M, D);
    for (TControl* c : m_controls)
        c->ScaleBy(M, D);
    EnableAlign();
}

void TWinControl::SetFocus() {
    TForm* f = ParentForm();
    if (f && f != this)
        f->SetActiveControl(this);
    else if (Widget())
        Widget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const {
    TForm* f = ParentForm();
    if (!f || !Widget()) return false;
    return f->ActiveControl() == this;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::FilterKeyDown(uint16_t& key, TShiftState shift) {
    TForm* f = ParentForm();
    if (f && f != this && f->KeyPreview() && f->OnKeyDown) {
        f->OnKeyDown(f, key, shift);
        if (key == 0) return false;
    }
    if (OnKeyDown) OnKeyDown(this, key, shift);
    return key != 0;
}

bool TWinControl::FilterKeyPress(char16_t& key) {
    TForm* f = ParentForm();
    if (f && f != this && f->KeyPreview() && f->OnKeyPress) {
        f->OnKeyPress(f, key);
        if (key == 0) return false;
    }
    if (OnKeyPress) OnKeyPress(this, key);
    return key != 0;
}

bool TWinControl::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (!Enabled()) return true;
        TFormBusy busy(ParentForm());
        uint16_t vk = VirtualKeyOf(*ke);
        TShiftState shift = shiftOf(ke->modifiers(), Qt::NoButton);
        if (vk != 0 && !FilterKeyDown(vk, shift)) return true;
        char16_t ch = KeyCharOf(*ke);
        if (ch == 0) return false;
        char16_t orig = ch;
        if (!FilterKeyPress(ch)) return true;
        if (KeyChar(ch)) return true;
        if (ch != orig) {
            // The handler changed the key: the widget gets the new character.
            QKeyEvent changed(QEvent::KeyPress, QtKeyOfChar(ch), ke->modifiers(), QString(QChar(ch)));
            if (TWidgetLink* l = dynamic_cast<TWidgetLink*>(Widget())) l->BaseEvent(&changed);
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        uint16_t vk = VirtualKeyOf(*ke);
        if (vk != 0 && OnKeyUp) {
            TFormBusy busy(ParentForm());
            OnKeyUp(this, vk, shiftOf(ke->modifiers(), Qt::NoButton));
            if (vk == 0) return true;
        }
        return false;
    }
    case QEvent::FocusIn: {
        TForm* f = ParentForm();
        if (f && f != this) f->SetActiveControl(this);
        if (OnEnter) OnEnter(this);
        return false;
    }
    case QEvent::FocusOut:
        if (OnExit) OnExit(this);
        return false;
    default:
        return TControl::HandleEvent(e);
    }
}

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
        handler(form);
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

void TForm::SetBounds(int left, int top, int width, int height) {
    if (!CanResize(width, height)) {
        width = Width();
        height = Height();
    }
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
    QTimer::singleShot(0, w, [this, alive] {
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
    if (w) w->setWindowModality(Qt::NonModal);
    Application()->FormClosed(this);
    return m_modalResult;
}

void TForm::Release() {
    m_freePending = true;
    std::weak_ptr<void> alive = m_alive;
    QTimer::singleShot(0, qApp, [this, alive] {
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

// ---- TScreen ---------------------------------------------------------------------

TScreen* Screen() {
    static TScreen screen;
    return &screen;
}

int TScreen::Width() const {
    if (m_sizeSet) return m_width;
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const {
    if (m_sizeSet) return m_height;
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

void TScreen::SetSize(int width, int height) {
    m_width = width;
    m_height = height;
    m_sizeSet = true;
}

TRect TScreen::WorkAreaRect() const {
    if (m_workSet) return m_work;
    if (!m_sizeSet) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            QRect r = s->availableGeometry();
            return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        }
    }
    return Rect(0, 0, Width(), Height());
}

void TScreen::SetWorkArea(const TRect& r) {
    m_work = r;
    m_workSet = true;
}

void TScreen::Reset() {
    m_sizeSet = false;
    m_workSet = false;
}

TForm* TScreen::ActiveForm() const {
    return m_showing.empty() ? nullptr : m_showing.back();
}

void TScreen::SetCursor(TCursor c) {
    if (c == m_cursor) return;
    if (m_cursor != crDefault) QApplication::restoreOverrideCursor();
    m_cursor = c;
    if (c != crDefault) QApplication::setOverrideCursor(QtCursor(c));
}

void TScreen::FormShown(TForm* f) {
    m_showing.erase(std::remove(m_showing.begin(), m_showing.end(), f), m_showing.end());
    m_showing.push_back(f);
}

void TScreen::FormHidden(TForm* f) {
    m_showing.erase(std::remove(m_showing.begin(), m_showing.end(), f), m_showing.end());
}

int QtCursorShape(TCursor c) {
    switch (c) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
    case crJump:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QCursor QtCursor(TCursor c) {
    if (c != crFlipArrow) return QCursor(static_cast<Qt::CursorShape>(QtCursorShape(c)));
    // The usual arrow (outline X, filling .), mirrored: its tip at the top right.
    static const char* const rows[] = {
        "X",         "XX",         "X.X",        "X..X",    "X...X",    "X....X",   "X.....X",   "X......X",
        "X.......X", "X........X", "X.....XXXX", "X..X..X", "X.X X..X", "XX  X..X", "X    X..X", "     XXX",
    };
    QImage img(12, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12 && rows[y][x]; ++x) {
            if (rows[y][x] == 'X')
                img.setPixel(11 - x, y, qRgb(0, 0, 0));
            else if (rows[y][x] == '.')
                img.setPixel(11 - x, y, qRgb(255, 255, 255));
        }
    return QCursor(QPixmap::fromImage(img), 11, 0);
}
