// Components and controls: ownership, geometry, fonts and colours passed
// down from the parent, alignment, focus and the events that reach a control.
#include "platform/Forms.h"

#include "platform/Application.h"
#include "platform/ControlsCom.h"
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Fonts.h"
#include "platform/Keys.h"
#include "platform/Menus.h"
#include "platform/QtInput.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

#include <algorithm>

namespace {

// Visible where it sits: a page of a page control shows only while it is the
// active one, whatever its own Visible says.
bool ShownInParent(const TControl* c) {
    if (!c->Visible()) return false;
    if (const auto* page = dynamic_cast<const TTabSheet*>(c))
        return !page->PageControl() || page->PageControl()->ActivePage() == page;
    return true;
}

} // namespace

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
    m_alive.reset();
    DestroyComponents();
    CancelDragOfFreed();
    ForgetPopupOfFreed();
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
    if (old && (!parent || parent->ParentForm() != old->ParentForm())) DefocusInForm();
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

void FocusOutOfHidden(TControl* Hidden) {
    if (!Hidden) return;
    Hidden->DefocusInForm();
    QWidget* hidden = Hidden->Widget();
    QWidget* f = QApplication::focusWidget();
    if (!hidden || !f || f->isVisible() || (f != hidden && !hidden->isAncestorOf(f))) return;
    if (QWidget* w = hidden->window(); w && w != f) w->setFocus(Qt::OtherFocusReason);
}

void TControl::DefocusInForm() {
    if (TForm* f = ParentForm(); f && f != this) f->DefocusControl(this);
}

void TControl::ApplyVisible() {
    if (!m_widget || !m_parent) return;
    m_widget->setVisible(m_visible);
    if (!m_visible) FocusOutOfHidden(this);
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
        if (!ShownInParent(c)) return false;
        if (auto* f = dynamic_cast<const TForm*>(c)) return f->Widget() && f->Widget()->isVisible();
        c = c->m_parent;
    }
    return false;
}

void TControl::SetEnabled(bool e) {
    if (e == m_enabled) return;
    m_enabled = e;
    if (m_widget) m_widget->setEnabled(e);
    if (!e) DefocusInForm();
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

int TControl::Scaled(int Value, int M, int D) {
    return ScaleRounded(Value, M, D);
}

void TControl::ScaleFont(int M, int D) {
    if (D == 0) return;
    bool wasParent = m_parentFont;
    m_fontFromParent = wasParent;
    m_font.ScaleBy(M, D);
    m_fontFromParent = false;
    m_parentFont = wasParent;
}

void TControl::ScaleBy(int M, int D) {
    if (D == 0) return;
    SetBounds(Scaled(m_left, M, D), Scaled(m_top, M, D), Scaled(m_width, M, D), Scaled(m_height, M, D));
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

bool TControl::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (!m_enabled) return false;
        TFormBusy busy(ParentForm());
        const std::weak_ptr<void> alive = m_alive;
        const int cx = static_cast<int>(me->position().x());
        const int cy = static_cast<int>(me->position().y());
        const TPoint place = MousePlace(cx, cy);
        const int x = place.x, y = place.y;
        TShiftState shift = ShiftOf(me->modifiers(), me->buttons());
        if (e->type() == QEvent::MouseMove) {
            if (OnMouseMove) OnMouseMove(this, shift, x, y);
            return false;
        }
        if (e->type() == QEvent::MouseButtonDblClick) {
            if (ClickOnDoubleClick()) m_mousePressed = me->button() == Qt::LeftButton;
            if (OnDblClick) OnDblClick(this);
            if (alive.expired()) return true;
            if (OnMouseDown) OnMouseDown(this, ButtonOf(me->button()), shift | ssDouble, x, y);
            return alive.expired();
        }
        if (e->type() == QEvent::MouseButtonPress) {
            if (me->button() == Qt::LeftButton && m_dragMode == dmAutomatic) {
                BeginDrag();
                return true;
            }
            m_mousePressed = me->button() == Qt::LeftButton;
            if (OnMouseDown) OnMouseDown(this, ButtonOf(me->button()), shift, x, y);
            return alive.expired();
        }
        bool wasPressed = m_mousePressed;
        m_mousePressed = false;
        if (OnMouseUp) OnMouseUp(this, ButtonOf(me->button()), shift, x, y);
        if (alive.expired()) return true;
        if (wasPressed && me->button() == Qt::LeftButton && ClickOnMouseUp() && cx >= 0 && cy >= 0 &&
            cx < m_width && cy < m_height)
            Click();
        return false;
    }
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(e);
        if (ce->reason() == QContextMenuEvent::Keyboard) {
            // Asked once for the focused control and its parents; unserved,
            // the widget shows its own menu.
            TFormBusy busy(ParentForm());
            if (!SystemKeyboardContextMenu(this) && m_link) m_link->BaseEvent(e);
            ce->accept();
            return true;
        }
        if (!m_enabled) return false;
        QWidget* client = m_widget;
        if (auto* w = dynamic_cast<TWinControl*>(this)) client = w->ClientWidget();
        const QPoint p = client ? client->mapFromGlobal(ce->globalPos()) : ce->pos();
        TFormBusy busy(ParentForm());
        // Not served here: the widget's own menu, else the parent's.
        return ContextMenu(TPoint{p.x(), p.y()}, false);
    }
    default:
        return false;
    }
}

// ---- TWinControl -----------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // The control is going: Qt's focus events reach it no more, and its
    // form names neither it nor a control on it as the active one.
    m_alive.reset();
    DetachLink();
    DefocusInForm();
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

TSize PlacedChildrenExtent(const TWinControl* c) {
    TSize e{0, 0};
    for (int i = 0; c && i < c->ControlCount(); ++i) {
        const TControl* k = c->Controls(i);
        if (k->Align() != alNone) continue;
        e.cx = std::max(e.cx, k->Left() + k->Width());
        e.cy = std::max(e.cy, k->Top() + k->Height());
    }
    return e;
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
    if (f && f != this) {
        // A control hidden, disabled or on a page not shown keeps no focus:
        // what the pupil types would reach it unseen. The form itself may
        // still be hidden; it gives the focus once it shows.
        for (const TControl* c = this; c != f; c = c->Parent())
            if (!ShownInParent(c) || !c->Enabled()) return;
        f->SetActiveControl(this);
    } else if (Widget())
        Widget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const {
    TForm* f = ParentForm();
    if (!f || !Widget()) return false;
    return f->ActiveControl() == this;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!ShownInParent(c) || !c->Enabled()) return false;
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
        const std::weak_ptr<void> alive = m_alive;
        uint16_t vk = VirtualKeyOf(*ke);
        TShiftState shift = ShiftOf(ke->modifiers(), Qt::NoButton);
        if (vk != 0 && (!FilterKeyDown(vk, shift) || alive.expired())) return true;
        if (vk != 0 && ContextMenuKey(this, vk, shift)) return true;
        char16_t ch = KeyCharOf(*ke);
        if (ch == 0) return false;
        char16_t orig = ch;
        if (!FilterKeyPress(ch) || alive.expired()) return true;
        if (KeyChar(ch) || alive.expired()) return true;
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
            const std::weak_ptr<void> alive = m_alive;
            OnKeyUp(this, vk, ShiftOf(ke->modifiers(), Qt::NoButton));
            if (vk == 0 || alive.expired()) return true;
        }
        return false;
    }
    case QEvent::FocusIn: {
        // A popup menu going down gives the focus back; it never left.
        if (static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason) return false;
        TForm* f = ParentForm();
        if (f && f != this) f->SetActiveControl(this);
        if (OnEnter) OnEnter(this);
        return false;
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason) return false;
        if (OnExit) OnExit(this);
        return false;
    default:
        return TControl::HandleEvent(e);
    }
}
