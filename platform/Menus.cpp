// Popup menus on Qt's menus, and the context-menu step of controls.
#include "platform/Menus.h"

#include "platform/CustomControl.h"
#include "platform/HandlerEdge.h"
#include "platform/Keys.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

// ---- TMenuItem -------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    m_alive.reset();
    if (m_parent) m_parent->Remove(this);
    for (TMenuItem* i : m_items)
        i->m_parent = nullptr;
}

void TMenuItem::Add(TMenuItem* Item) {
    if (!Item || Item == this) return;
    if (Item->m_parent) Item->m_parent->Remove(Item);
    Item->m_parent = this;
    m_items.push_back(Item);
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto it = std::find(m_items.begin(), m_items.end(), Item);
    if (it == m_items.end()) return;
    m_items.erase(it);
    Item->m_parent = nullptr;
}

TMenuItem* TMenuItem::Items(int Index) const {
    return Index >= 0 && Index < Count() ? m_items[static_cast<size_t>(Index)] : nullptr;
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

// ---- TPopupMenu ------------------------------------------------------------------

namespace {

// The visible items of Parent as entries of Menu.
void AddEntries(QMenu* Menu, const TMenuItem* Parent) {
    for (int i = 0; i < Parent->Count(); ++i) {
        TMenuItem* item = Parent->Items(i);
        if (!item->Visible()) continue;
        if (item->Caption() == QLatin1String("-")) {
            Menu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = Menu->addMenu(item->Caption());
            sub->setEnabled(item->Enabled());
            AddEntries(sub, item);
            continue;
        }
        QAction* a = Menu->addAction(item->Caption());
        a->setEnabled(item->Enabled());
        // The item may be freed while the menu is up.
        QObject::connect(a, &QAction::triggered, [item, alive = item->AliveToken()] {
            RunHandler([&] {
                if (alive.expired()) return;
                item->Click();
            });
        });
    }
}

// The menus of the process, which a control going asks to forget it.
std::vector<TPopupMenu*>& Menus() {
    // Never freed: menus of forms freed at exit still take themselves out.
    static auto* menus = new std::vector<TPopupMenu*>;
    return *menus;
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), m_items(std::make_unique<TMenuItem>(nullptr)) {
    Menus().push_back(this);
}

TPopupMenu::~TPopupMenu() {
    std::erase(Menus(), this);
    m_alive.reset();
    m_menu.reset();
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    // Built anew from the items as they are now.
    m_menu = std::make_unique<QMenu>();
    AddEntries(m_menu.get(), m_items.get());
    m_menu->popup(QPoint(X, Y));
}

QMenu* TPopupMenu::Shown() const {
    return m_menu && m_menu->isVisible() ? m_menu.get() : nullptr;
}

// ---- the context-menu step of controls ----------------------------------------------

TPopupMenu* TControl::PopupMenu() const {
    return m_popupMenuAlive.expired() ? nullptr : m_popupMenu;
}

void TControl::SetPopupMenu(TPopupMenu* Menu) {
    m_popupMenu = Menu;
    m_popupMenuAlive = Menu ? Menu->AliveToken() : std::weak_ptr<void>();
}

void TControl::ForgetPopupOfFreed() {
    for (TPopupMenu* m : Menus())
        if (m->PopupComponent == this) m->PopupComponent = nullptr;
}

bool TControl::ContextMenu(TPoint MousePos, bool Keyboard) {
    bool handled = false;
    if (OnContextPopup) {
        TFormBusy busy(ParentForm());
        OnContextPopup(this, MousePos, handled);
    }
    if (handled) return true;
    TPopupMenu* menu = PopupMenu();
    if (!menu || !menu->AutoPopup) return false;
    // Whoever holds the mouse lets it go before the menu takes it.
    if (auto* c = dynamic_cast<TCustomControl*>(this)) c->ReleaseCapture();
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QWidget* client = Widget();
    if (auto* w = dynamic_cast<TWinControl*>(this)) client = w->ClientWidget();
    const QPoint local = Keyboard ? QPoint(0, 0) : QPoint(MousePos.x, MousePos.y);
    const QPoint at = client ? client->mapToGlobal(local) : local;
    menu->PopupComponent = this;
    menu->Popup(at.x(), at.y());
    return true;
}

bool IsContextMenuKey(uint16_t Key, TShiftState Shift) {
    return Key == VK_APPS || (Key == VK_F10 && (Shift & ssShift) && !(Shift & (ssCtrl | ssAlt)));
}

bool KeyboardContextMenu(TControl* Control) {
    for (TControl* c = Control; c; c = c->Parent())
        if (c->Enabled() && c->ContextMenu(TPoint{-1, -1}, true)) return true;
    return false;
}

namespace {
// The window system asked for the menu key's menu; its key is still to come.
bool g_menuKeyAsked = false;
} // namespace

bool ContextMenuKey(TControl* Control, uint16_t Key, TShiftState Shift) {
    const bool asked = std::exchange(g_menuKeyAsked, false);
    if (!IsContextMenuKey(Key, Shift)) return false;
    if (asked && Key == VK_APPS) return true;
    return KeyboardContextMenu(Control);
}

bool SystemKeyboardContextMenu(TControl* Control) {
    g_menuKeyAsked = true;
    return KeyboardContextMenu(Control);
}
