#pragma once
// A windowed control that paints itself: it takes mouse, keyboard, wheel and
// focus events, owns the window's two scroll bars, window timers and the mouse
// capture, and may carry a sunken border. The rich-text views stand on it.
//
// The window exists while the control has a parent (as a window handle is made
// when a control is placed); CreateWnd and DestroyWnd run at those moments and
// RecreateWnd runs both, as a change of window style does.
//
// Coordinates of mouse events and of painting are those of the client area:
// the part inside the border and the visible scroll bars.
#include "platform/Forms.h"

#include <QRegion>

#include <memory>

class QScrollBar;
class QImage;

// Scroll bars and their messages, in the old window system's numbering.
constexpr int SB_HORZ = 0, SB_VERT = 1;
constexpr int SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4,
              SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8;
// Fields of TScrollInfo that a call sets.
constexpr unsigned SIF_RANGE = 1, SIF_PAGE = 2, SIF_POS = 4, SIF_DISABLENOSCROLL = 8, SIF_TRACKPOS = 16,
                   SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
// Width of a vertical and height of a horizontal scroll bar, and of a sunken border.
constexpr int ScrollBarExtent = 17;
constexpr int ClientEdgeWidth = 2;

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    friend bool operator==(const TScrollInfo&, const TScrollInfo&) = default;
};

// Lines per wheel notch as the desktop sets it; WheelScrollPage means "one
// screen per notch". Tests may put a value in force (0: the desktop's again).
constexpr unsigned WheelScrollPage = 0xFFFFFFFFu;
unsigned SystemWheelScrollLines();
void SetSystemWheelScrollLines(unsigned Lines);

// The wheel turned over a control: WheelDelta 120 per notch, positive away
// from the user; MousePos in screen coordinates. A handler that sets Handled
// has taken the turn.
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

// The control a widget belongs to (a combo box for its edit field), or nullptr.
TControl* ControlOfWidget(QWidget* Widget);

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    QString ClassName() const override { return QStringLiteral("TCustomControl"); }

    bool HandleAllocated() const { return m_handle; }
    // Destroys and creates the window again (a change of its style).
    void RecreateWnd();
    void SetParent(TWinControl* parent) override;

    int ClientWidth() const override;
    int ClientHeight() const override;
    QWidget* ClientWidget() const override;

    // Border and side of the vertical bar, as window styles.
    bool ClientEdge() const { return m_clientEdge; }
    void SetClientEdge(bool Edge);
    bool LeftScrollBar() const { return m_leftScrollBar; }
    void SetLeftScrollBar(bool Left);

    // The canvas of the running paint, or one for measuring outside painting.
    TCanvas* Canvas();
    // True while a paint runs: Canvas() then draws on the window.
    bool Painting() const;
    // Paints the client area into Image (sized to the client area) as a paint
    // message would paint the window.
    void PaintTo(QImage& Image);

    // ---- scroll bars (SB_HORZ, SB_VERT)
    bool GetScrollInfo(int Bar, TScrollInfo& Info) const;
    // Sets the fields in Mask; answers the position after clamping. The bar is
    // hidden when its page covers its range (disabled instead with
    // SIF_DISABLENOSCROLL).
    int SetScrollInfo(int Bar, const TScrollInfo& Info, unsigned Mask, bool Redraw);
    int GetScrollPos(int Bar) const;
    int SetScrollPos(int Bar, int Pos, bool Redraw);
    void ShowScrollBar(int Bar, bool Show);
    void EnableScrollBar(int Bar, bool Enable);
    bool ScrollBarVisible(int Bar) const;
    bool ScrollBarEnabled(int Bar) const;

    // Moves the client area's pixels by (DX, DY); child controls stay where
    // they are; what is uncovered is painted later.
    void ScrollWindow(int DX, int DY);
    // The same for the pixels inside R (client coordinates): what moves out
    // of R is dropped, what the move uncovers in R is painted later.
    void ScrollWindowRect(int DX, int DY, const TRect& R);
    // Marks part of the client area for painting (no erasing).
    void InvalidateRect(const TRect& R);
    // The client area is a window of its own: these reach it too.
    void Invalidate() override;
    void Repaint() override;
    // Leaves what was invalidated to the next paint (see the .cpp).
    void Update() override;

    // ---- window timers
    void SetTimer(int Id, int Milliseconds);
    void KillTimer(int Id);
    bool TimerRunning(int Id) const;

    // ---- mouse
    // The pointer's shape over the client area for now (a link under it, a
    // selection to drag); Cursor() stays the control's own.
    void SetCurrentCursor(TCursor C);
    TCursor CurrentCursor() const { return m_currentCursor; }
    void SetCapture();
    void ReleaseCapture();
    bool MouseCapture() const { return m_capture; }
    // The pointer in client coordinates, and the state of keys and buttons.
    TPoint CursorPos() const;
    // Where the last mouse event of the client area happened.
    TPoint LastMousePos() const { return m_lastMouse; }
    static TShiftState KeyboardShiftState();

    TMouseWheelEvent OnMouseWheel;

    // ---- the tests' way in: window messages as the system would send them
    void SendScrollMessage(int Bar, int Code, int Pos = 0);
    void SendMouseWheel(int WheelDelta, TShiftState Shift = 0);
    void SendTimer(int Id) { Timer(Id); }

    bool HandleEvent(QEvent* e) override;
    // The outer window paints the border and the corner between the bars.
    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    // Called by the client area's widget.
    bool ClientEvent(QEvent* e);
    void PaintClient(QPainter& p, const QRegion& Region);
    // Tab (Forward) or Shift+Tab left one of the control's own child
    // controls; true when the control took the focus itself (it then comes
    // again in the tab order before each of its children and after the
    // last), false to go on in the window's tab order.
    virtual bool TabFromChild(bool Forward) { return (void)Forward, false; }

protected:
    virtual void CreateWnd() {}
    virtual void DestroyWnd() {}
    // Painting of the client area; Clip in client coordinates.
    virtual void Paint(TCanvas& Canvas, const TRect& Clip);
    // The framework's mouse steps: the base versions fire the OnMouse events.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DblClick();
    virtual void MouseLeave() {}
    // Key down after OnKeyDown; Key 0 means it was taken.
    virtual void KeyDown(uint16_t& Key, TShiftState Shift) { (void)Key, (void)Shift; }
    // Whether the control keeps the Tab key (else it moves the focus on).
    virtual bool WantTabs() const { return false; }
    // One wheel turn (WheelDelta 120 per notch, positive away from the user)
    // at (X, Y) of the client area; true when handled. The base fires OnMouseWheel.
    virtual bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y);
    // The keyboard focus arrived; Mouse when a click brought it, Backward for
    // Shift+Tab, FromNowhere when it came from no window of the program.
    // FocusFrom() names the control that lost it meanwhile.
    virtual void FocusIn(bool Mouse, bool Backward, bool FromNowhere) { (void)Mouse, (void)Backward, (void)FromNowhere; }
    // While FocusIn runs: the control that lost the focus to this one (its
    // combo box for an edit field inside one), nullptr when none did.
    TControl* FocusFrom() const { return m_focusFrom; }
    virtual void FocusOut() {}
    virtual void Timer(int Id) { (void)Id; }
    virtual void ScrollMessage(int Bar, int Code, int Pos) { (void)Bar, (void)Code, (void)Pos; }
    // The client area changed size (a scroll bar came or went, or the control was resized).
    virtual void ClientResized() {}
    void BoundsChanged() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    void CreateHandle();
    void DestroyHandle();
    void LayoutParts();
    QScrollBar* Bar(int Which) const;
    bool m_handle = false;
    bool m_clientEdge = false;
    bool m_leftScrollBar = false;
    bool m_capture = false;
    TCursor m_currentCursor = crDefault;
    TControl* m_focusFrom = nullptr;
    TPoint m_lastMouse;
    int m_lastClientW = -1, m_lastClientH = -1;
};
