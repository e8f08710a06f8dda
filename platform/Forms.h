#pragma once
// Components, controls and forms: the program's form framework on Qt Widgets.
//
// Conventions (as in Graphics.h):
// - Properties are getters and setters: Label1->SetCaption("x"); Label1->Caption().
// - Events are public std::function members taking the sender first:
//   Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
// - State lives in the wrapper; the Qt widget (Widget()) only shows it. Tests read
//   the wrapper.
// - A component is owned by its Owner, which frees it (and everything it owns) when
//   it is freed; deleting a component takes it out of its owner's list. A control's
//   Parent is where it sits on screen.
// - Calling Click() runs OnClick even when the control is hidden or disabled.
//
//   auto* f = new TForm(Application());
//   auto* b = new TButton(f); b->SetName("Button1"); b->SetParent(f);
//   b->SetBounds(8, 8, 75, 25); b->SetCaption("OK"); b->SetModalResult(mrOk);
//   if (f->ShowModal() == mrOk) ...
//   delete f;
#include "platform/Colors.h"
#include "platform/Graphics.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QEvent;
class QKeyEvent;
class QEventLoop;
class QPainter;
class QCursor;
class TComponent;
class TControl;
class TWinControl;
class TForm;
class TPopupMenu;

class TObject {
public:
    virtual ~TObject() = default;
    // The class's name as the program knows it ("TSpeedButton").
    virtual QString ClassName() const { return QStringLiteral("TObject"); }
};

// ---- events ------------------------------------------------------------------

enum TMouseButton : int { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void(TObject* Sender)>;
// Key is the typed character; the handler may change it or set it to 0 to drop it.
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
// Key is a virtual key code (VK_RETURN, '0'..'9', ...); 0 swallows the key.
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
// Dragging a control onto another control of the program (not the system's
// drag and drop of data): Source is the control dragged, X and Y are client
// coordinates of the control asked. A target takes the drop when its
// OnDragOver sets Accept (which starts true); Target is nullptr for a
// cancelled drag.
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
// A context menu is asked for at MousePos (client coordinates; -1, -1 from
// the keyboard); a handler that sets Handled keeps the popup menu down.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// ---- enumerations -------------------------------------------------------------

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
                  crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                  crSizeAll = -22;
// Screen cursors of the rich-text view: a link, the arrows over a table's
// left and top edge that select a row or a column, and the arrow pointing
// right that selects whole lines.
constexpr TCursor crJump = 101, crSelectRow = 104, crSelectCol = 105, crFlipArrow = 106;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// Controls with a border use the same values (bsNone or bsSingle).
using TBorderStyle = TFormBorderStyle;

// ---- components ----------------------------------------------------------------

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    QString ClassName() const override { return QStringLiteral("TComponent"); }
    QString Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    TComponent* Owner() const { return m_owner; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // Owned components in creation order.
    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int i) const;
    // The owned component of that name (ignoring case), or nullptr.
    TComponent* FindComponent(const QString& name) const;
    // Frees the owned components, last created first.
    void DestroyComponents();

private:
    void Remove(TComponent* c);
    QString m_name;
    TComponent* m_owner = nullptr;
    int m_tag = 0;
    std::vector<TComponent*> m_components;
};

// Looks for a component of type T by name among those owned by owner.
template <class T> T* FindComponentAs(const TComponent* owner, const QString& name) {
    return owner ? dynamic_cast<T*>(owner->FindComponent(name)) : nullptr;
}

// ---- controls ------------------------------------------------------------------

// Bridge between a Qt widget and its control; the widget classes call into it.
struct TWidgetLink {
    TControl* Control = nullptr;
    virtual ~TWidgetLink() = default;
    // Runs the widget class's own handling of an event.
    virtual bool BaseEvent(QEvent* e) = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    QString ClassName() const override { return QStringLiteral("TControl"); }

    QWidget* Widget() const;
    // Expires when the control is freed: a handler of its own may free it,
    // and what runs after the handler must then leave it alone.
    std::weak_ptr<void> AliveToken() const { return m_alive; }
    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on (itself for a form), or nullptr.
    TForm* ParentForm() const;

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    virtual int Width() const { return m_width; }
    virtual int Height() const { return m_height; }
    // Width()/Height() are virtual: a form's SetBounds takes its outer size.
    void SetLeft(int v) { SetBounds(v, m_top, Width(), Height()); }
    void SetTop(int v) { SetBounds(m_left, v, Width(), Height()); }
    virtual void SetWidth(int v) { SetBounds(m_left, m_top, v, Height()); }
    virtual void SetHeight(int v) { SetBounds(m_left, m_top, Width(), v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(m_left, m_top, m_width, m_height); }
    virtual int ClientWidth() const { return m_width; }
    virtual int ClientHeight() const { return m_height; }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign a);
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to a shown form visible.
    bool Showing() const;
    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool e);

    QString Caption() const { return m_caption; }
    virtual void SetCaption(const QString& c);
    // Text and Caption are the same property of the framework's controls.
    virtual QString Text() const { return m_caption; }
    virtual void SetText(const QString& t) { SetCaption(t); }

    TColor Color() const { return m_color; }
    virtual void SetColor(TColor c);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool p);
    TFont* Font() { return &m_font; }
    const TFont* Font() const { return &m_font; }
    void SetFont(const TFont& f) { m_font.Assign(f); }
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool p);

    QString Hint() const { return m_hint; }
    void SetHint(const QString& h);
    // With ParentShowHint the parent's setting counts.
    bool ShowHint() const;
    void SetShowHint(bool s);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool p) {
        m_parentShowHint = p;
        UpdateHint();
    }
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor c);

    virtual void Click();
    virtual void Invalidate();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void Update();
    void BringToFront();
    void SendToBack();
    // Scales position, size and (unless taken from the parent) the font by M/D,
    // halves rounded to even.
    virtual void ScaleBy(int M, int D);
    // One place, size or font height as ScaleBy scales it (D not 0).
    static int Scaled(int Value, int M, int D);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    // ---- context menu (Menus.cpp)
    // The menu a right click or the menu key pops up; not owned, and
    // forgotten when it is freed.
    TPopupMenu* PopupMenu() const;
    void SetPopupMenu(TPopupMenu* Menu);
    TContextPopupEvent OnContextPopup;
    // The context-menu step: OnContextPopup, then the popup menu when it pops
    // up by itself, at MousePos or (from the keyboard) at the client area's
    // corner. False when neither served the request: it goes on to the parent.
    virtual bool ContextMenu(TPoint MousePos, bool Keyboard);

    // ---- dragging controls (ControlDrag.cpp)
    // With dmAutomatic a left press starts dragging the control.
    TDragMode DragMode() const { return m_dragMode; }
    void SetDragMode(TDragMode Mode) { m_dragMode = Mode; }
    // Starts dragging the control: the pointer drags it until the left button
    // goes up (a drop) or Escape cancels.
    void BeginDrag();
    // Ends the running drag of this control: dropped on the control under the
    // pointer when Drop and that one takes it, else cancelled.
    void EndDrag(bool Drop);
    bool Dragging() const;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    // The steps of a drag: DragOver asks the target (Accept false without an
    // OnDragOver), DragDrop hands it the drop, DoEndDrag tells the source how
    // it ended. Each fires its event.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DoEndDrag(TObject* Target, int X, int Y);

    // --- used by the widget classes ---
    // Mouse, key and focus events reach the wrapper first; true: handled.
    virtual bool HandleEvent(QEvent* e);
    // Controls that paint their whole widget themselves.
    virtual bool OwnPaint() const { return false; }
    virtual void PaintWidget(QPainter& p) { (void)p; }
    // Scales the font alone (ScaleBy of controls that take it from the parent skip it).
    void ScaleFont(int M, int D);
    // The parent font or colour changed.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    // The control hides, is disabled, goes or leaves its form: the form lets
    // go of its active control when this control is or holds it.
    void DefocusInForm();

protected:
    // A mouse position in the control as its mouse handlers take it.
    virtual TPoint MousePlace(int X, int Y) const { return TPoint{X, Y}; }
    // Takes the control's Qt widget; it is shown under the parent's client widget.
    void Attach(QWidget* widget, TWidgetLink* link);
    // The font changed (applied to the widget); controls with Qt text override.
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void CaptionChanged() { Invalidate(); }
    virtual void BoundsChanged() {}
    // Mouse clicks on custom-painted controls run Click() on release.
    virtual bool ClickOnMouseUp() const { return true; }
    // Buttons take the second press of a double click as a click of its own.
    virtual bool ClickOnDoubleClick() const { return false; }
    virtual void ApplyGeometry();
    void ApplyVisible();
    // Qt must not call into a wrapper that is being destroyed.
    void DetachLink();
    void UpdateHint();

    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    QString m_caption;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);

private:
    friend class TWinControl;
    QWidget* m_widget = nullptr;
    TWidgetLink* m_link = nullptr;
    TWinControl* m_parent = nullptr;
    TAlign m_align = alNone;
    bool m_visible = true;
    bool m_enabled = true;
    TColor m_color = clBtnFace;
    bool m_parentColor = false;
    TFont m_font;
    bool m_parentFont = true;
    bool m_fontFromParent = false;
    QString m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    TCursor m_cursor = crDefault;
    bool m_mousePressed = false;
    TPopupMenu* m_popupMenu = nullptr;
    std::weak_ptr<void> m_popupMenuAlive;
    TDragMode m_dragMode = dmManual;
    // What of the platform names the control lets go of it as it goes: its
    // drag (ControlDrag.cpp) and the menu it popped up (Menus.cpp).
    void CancelDragOfFreed();
    void ForgetPopupOfFreed();
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    QString ClassName() const override { return QStringLiteral("TWinControl"); }

    // Child controls in the order they were given this parent.
    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int i) const;
    // The widget children are placed in (the control's own widget unless a client
    // area lies inside it).
    virtual QWidget* ClientWidget() const;

    // Lays out aligned children: top and bottom first, in creation order, then left
    // and right, then the client control in what is left.
    void Realign();
    // The area aligned children share (inside borders and bevels).
    virtual TRect AlignRect() const { return ClientRect(); }
    void DisableAlign() { ++m_alignLock; }
    void EnableAlign();

    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool t) { m_tabStop = t; }
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int t) { m_tabOrder = t; }
    void SetFocus();
    bool Focused() const;
    bool CanFocus() const;
    void ScaleBy(int M, int D) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    bool HandleEvent(QEvent* e) override;
    void ParentFontChanged() override;
    void ParentColorChanged() override;
    // A child moved or was resized.
    virtual void ChildBoundsChanged(TControl* child) { (void)child; }
    // The form's key preview and this control's key handlers; false: the key is gone.
    // Key may be changed on the way.
    bool FilterKeyPress(char16_t& key);
    bool FilterKeyDown(uint16_t& key, TShiftState shift);

protected:
    void FontChanged() override;
    void ColorChanged() override;
    void BoundsChanged() override;
    // Typed characters (after OnKeyPress); true when the control took it itself.
    virtual bool KeyChar(char16_t key) {
        (void)key;
        return false;
    }

private:
    friend class TControl;
    std::vector<TControl*> m_controls;
    int m_alignLock = 0;
    bool m_aligning = false;
    bool m_tabStop = false;
    int m_tabOrder = 0;
};

// The room the placed (not aligned) children of a control take up: their
// largest right and bottom edges, hidden ones included.
TSize PlacedChildrenExtent(const TWinControl* c);

// ---- forms ---------------------------------------------------------------------

// The smallest outer size a form may take, whether the program sizes it or the
// user drags its edges; 0 sets no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
};

// Outer frame added to a form's client area by its border (bsNone has none):
// the frame the program's forms were laid out for, four pixels round and a
// caption of 26, so that a 1024 x 715 form has a client area of 1016 x 681.
constexpr int FormFrameWidth = 8;
constexpr int FormFrameHeight = 34;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    QString ClassName() const override { return QStringLiteral("TForm"); }

    // Outer size (with the frame), as the program centres forms by it.
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override { return m_width; }
    int ClientHeight() const override { return m_height; }
    void SetClientWidth(int w);
    void SetClientHeight(int h);

    void SetCaption(const QString& c) override;
    const TSizeConstraints& Constraints() const { return m_constraints; }
    // Keeps the client area at least that large (0: no limit); a smaller form grows.
    void SetMinClientSize(int width, int height);
    // Scales the children and the form's font; the form keeps its size (the
    // program sets that itself).
    void ScaleBy(int M, int D) override;
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition p) { m_position = p; }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState s);
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle s);
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle s);
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool k) { m_keyPreview = k; }
    // The control that has (or gets, once the form is active) the keyboard focus.
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* c);
    // When Control is or holds the active control, the form has none: the
    // keys reach the form itself.
    void DefocusControl(const TControl* Control);

    void SetVisible(bool v) override;
    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form modally and returns its ModalResult once it has closed.
    TModalResult ShowModal();
    // Every way of closing runs OnCloseQuery and OnClose.
    void Close();
    bool Modal() const { return m_modal; }
    // Frees the form once its running handlers have returned.
    void Release();
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult r);
    // How often the form was closed; waits compare it.
    int CloseCount() const { return m_closeCount; }
    // The canvas of a running OnPaint; nullptr elsewhere.
    TCanvas* Canvas() { return m_paintCanvas; }

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    // The wheel turned over the form or any of its controls; the form takes it
    // before its controls when one of these is set.
    TNotifyEvent OnMouseWheelDown;
    TNotifyEvent OnMouseWheelUp;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    // Runs before every change of the outer size, with the new outer size.
    TCanResizeEvent OnCanResize;

    bool HandleEvent(QEvent* e) override;
    bool OwnPaint() const override { return static_cast<bool>(OnPaint); }
    void PaintWidget(QPainter& p) override;
    // Handlers running now; the form is freed only when none is.
    void EnterHandler() { ++m_busy; }
    void LeaveHandler();
    void RegisterWait(QEventLoop* loop);
    void UnregisterWait(QEventLoop* loop);
    // Runs OnActivate once for the current showing (the widget schedules it).
    void ActivateOnce();
    // The Qt window was resized (maximised, or by the user).
    void WindowResized(int clientWidth, int clientHeight);

protected:
    void ColorChanged() override;

private:
    // OnCanResize may change the new outer size or refuse it.
    bool CanResize(int& width, int& height);
    bool CloseQuery();
    // Runs the close handlers; false when the form stays open.
    bool DoClose();
    void PlaceForShowing();
    void FinishHide();
    // The window may not be made smaller than the constraints allow.
    void ApplyConstraints();
    int frameW() const { return m_borderStyle == bsNone ? 0 : FormFrameWidth; }
    int frameH() const { return m_borderStyle == bsNone ? 0 : FormFrameHeight; }

    TPosition m_position = poDesigned;
    TWindowState m_windowState = wsNormal;
    TFormStyle m_formStyle = fsNormal;
    TFormBorderStyle m_borderStyle = bsSizeable;
    bool m_keyPreview = false;
    TWinControl* m_activeControl = nullptr;
    bool m_modal = false;
    bool m_shown = false;
    bool m_activated = false;
    bool m_closing = false;
    TModalResult m_modalResult = mrNone;
    QEventLoop* m_modalLoop = nullptr;
    std::vector<QEventLoop*> m_waits;
    int m_closeCount = 0;
    int m_busy = 0;
    bool m_freePending = false;
    TCanvas* m_paintCanvas = nullptr;
    TSizeConstraints m_constraints;
};

// Keeps a form's handler counted as running for the scope.
class TFormBusy {
public:
    explicit TFormBusy(TForm* f);
    ~TFormBusy();
    TFormBusy(const TFormBusy&) = delete;
    TFormBusy& operator=(const TFormBusy&) = delete;

private:
    TForm* m_form;
    std::weak_ptr<void> m_alive;
};

// ---- screen --------------------------------------------------------------------

class TScreen {
public:
    // Size of the screen; tests set it. Defaults to the primary screen.
    int Width() const;
    int Height() const;
    void SetSize(int width, int height);
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    void SetWorkArea(const TRect& r);
    // Back to the primary screen's values.
    void Reset();
    // The form the user works in: the last one activated that is still showing.
    TForm* ActiveForm() const;
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor c);
    // Cursors a library brings along, by their number (pictures loaded at
    // start); QtCursor answers them. A later registration of a number wins.
    void RegisterCursor(TCursor c, const QCursor& cursor);
    bool HasCursor(TCursor c) const;

    // Book-keeping of the forms.
    void FormShown(TForm* f);
    void FormHidden(TForm* f);

private:
    int m_width = 0, m_height = 0;
    bool m_sizeSet = false;
    TRect m_work;
    bool m_workSet = false;
    TCursor m_cursor = crDefault;
    std::vector<TForm*> m_showing;
};

TScreen* Screen();

// The Qt cursor shape of a framework cursor (crFlipArrow, crSelectRow and
// crSelectCol, drawn by us, give the plain arrow here).
int QtCursorShape(TCursor c);
// The cursor itself, including those drawn by us.
QCursor QtCursor(TCursor c);
