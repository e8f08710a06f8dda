#pragma once
// Popup menus: a tree of menu items that pops up at a point of the screen,
// and the way a control asks for its context menu (a right click, the menu
// key or Shift+F10).
//
//   auto* menu = new TPopupMenu(form);
//   auto* copy = new TMenuItem(form);
//   copy->SetCaption("&Kopieren");
//   copy->OnClick = [](TObject*) { ... };
//   menu->Items()->Add(copy);
//   view->SetPopupMenu(menu);   // a right click on the view pops it up
//
// Popup returns at once; a chosen item's OnClick runs when the user picks it.
#include "platform/Forms.h"

#include <memory>
#include <vector>

class QMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    QString ClassName() const override { return QStringLiteral("TMenuItem"); }

    // "-" makes the item a separator line; "&" marks the access key.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& Caption) { m_caption = Caption; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool Value) { m_enabled = Value; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool Value) { m_visible = Value; }
    TNotifyEvent OnClick;

    // Sub-items in the order added; their owner frees them, and a freed item
    // leaves its parent.
    void Add(TMenuItem* Item);
    void Remove(TMenuItem* Item);
    int Count() const { return static_cast<int>(m_items.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return m_parent; }
    virtual void Click();
    // Expires when the item is freed.
    std::weak_ptr<void> AliveToken() const { return m_alive; }

private:
    QString m_caption;
    bool m_enabled = true;
    bool m_visible = true;
    TMenuItem* m_parent = nullptr;
    std::vector<TMenuItem*> m_items;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    QString ClassName() const override { return QStringLiteral("TPopupMenu"); }

    // The top of the item tree (owned).
    TMenuItem* Items() const { return m_items.get(); }
    // A control's context-menu step pops the menu up by itself.
    bool AutoPopup = true;
    // The control whose context menu popped the menu up last.
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

    // Fires OnPopup and shows the visible items with the menu's top-left
    // corner at (X, Y) of the screen.
    virtual void Popup(int X, int Y);
    // The menu on the screen while it is up, nullptr otherwise.
    QMenu* Shown() const;
    // Expires when the menu is freed.
    std::weak_ptr<void> AliveToken() const { return m_alive; }

private:
    std::unique_ptr<TMenuItem> m_items;
    std::unique_ptr<QMenu> m_menu;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

// The menu key, or F10 with Shift: a context menu asked for from the keyboard.
bool IsContextMenuKey(uint16_t Key, TShiftState Shift);
// A context menu asked for from the keyboard at Control: its context-menu
// step, then its parents' until one serves it. True when one did.
bool KeyboardContextMenu(TControl* Control);
// A key pressed at Control, after its own key handling: for a context-menu
// key the menu is asked for (KeyboardContextMenu). True when the key was
// used for that.
bool ContextMenuKey(TControl* Control, uint16_t Key, TShiftState Shift);
// The window system's own request for the menu key's menu, which some
// systems send before the key itself: asked for here, and the key that
// follows asks no more. True when a control served it.
bool SystemKeyboardContextMenu(TControl* Control);
