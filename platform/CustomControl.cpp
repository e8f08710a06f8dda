#include "platform/CustomControl.h"

#include "platform/ControlsCom.h"
#include "platform/Keys.h"
#include "platform/Menus.h"
#include "platform/MetafileCache.h"
#include "platform/QtInput.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace {

unsigned g_wheelLines = 0;

// The widget that lost the keyboard focus last; the next focus arrival asks
// for it.
QPointer<QWidget> g_focusLost;

class FocusLostTracker : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override {
        // A popup menu takes the focus only for as long as it is up.
        // (The style sees the widgets' focus events too.)
        if (e->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason)
            if (auto* w = qobject_cast<QWidget*>(watched)) g_focusLost = w;
        return false;
    }
};

void InstallFocusLostTracker() {
    static FocusLostTracker* tracker = nullptr;
    if (!tracker && qApp) {
        tracker = new FocusLostTracker;
        tracker->setParent(qApp);
        qApp->installEventFilter(tracker);
    }
}

// The client area: it paints through the control and hands it its mouse.
class ClientArea : public QWidget {
public:
    ClientArea(TCustomControl* c, QWidget* parent) : QWidget(parent), m_control(c) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }
    TCustomControl* m_control;

protected:
    bool event(QEvent* e) override {
        if (!m_control) return QWidget::event(e);
        // A handler that freed the control freed this widget too.
        const std::weak_ptr<void> alive = m_control->AliveToken();
        if (RunHandler(true, [&] { return m_control->ClientEvent(e); }) || alive.expired()) return true;
        return QWidget::event(e);
    }
    // Tab out of one of the control's own child controls.
    bool focusNextPrevChild(bool next) override {
        if (!m_control) return QWidget::focusNextPrevChild(next);
        const std::weak_ptr<void> alive = m_control->AliveToken();
        if (RunHandler(true, [&] { return m_control->TabFromChild(next); }) || alive.expired()) return true;
        return QWidget::focusNextPrevChild(next);
    }
    void paintEvent(QPaintEvent* e) override {
        if (!m_control) return;
        QPainter p(this);
        // Pictures still converting come later; the window does not wait.
        TScreenPaintScope screen(this);
        RunPaintHandler(this, [&] { m_control->PaintClient(p, e->region()); });
    }
};

// A scroll bar that is painted again only where what it shows changes: a new
// range or page that leaves the thumb where it was (a document one line
// longer, a little wider) changes no pixel, and a thumb that grows or moves a
// little changes only the columns (rows) at its ends. Painting the whole bar
// costs more than the line typed: every long line the style draws goes
// through Qt's thread pool, whose hand-offs cost more than the drawing.
class ScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override {
        const TLook now = Look();
        if (m_shown && now == *m_shown) return;
        if (change == SliderOrientationChange || !m_shown || now.AtMinimum != m_shown->AtMinimum ||
            now.AtMaximum != m_shown->AtMaximum) {
            QScrollBar::sliderChange(change);
            return;
        }
        // The thumb's shading runs along the bar, the same at every place of
        // it; only the ends that moved look different.
        const bool across = orientation() == Qt::Horizontal;
        const auto from = [&](const QRect& r) { return across ? r.left() : r.top(); };
        const auto to = [&](const QRect& r) { return across ? r.right() : r.bottom(); };
        const auto strip = [&](int a, int b) {
            if (a == b) return QRect();
            constexpr int Edge = 3; // outline and inner line around each end
            const int lo = std::min(a, b) - Edge, hi = std::max(a, b) + Edge;
            return across ? QRect(lo, 0, hi - lo + 1, height()) : QRect(0, lo, width(), hi - lo + 1);
        };
        const QRect& was = m_shown->Slider;
        QRegion changed(strip(from(was), from(now.Slider)));
        changed += strip(to(was), to(now.Slider));
        if (was.isEmpty() || now.Slider.isEmpty()) changed = rect();
        update(changed);
    }
    void paintEvent(QPaintEvent* e) override {
        m_shown = Look();
        QScrollBar::paintEvent(e);
    }

private:
    struct TLook {
        QRect Slider;
        bool AtMinimum, AtMaximum;
        friend bool operator==(const TLook&, const TLook&) = default;
    };
    TLook Look() const {
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this),
                opt.sliderValue == opt.minimum, opt.sliderValue == opt.maximum};
    }
    std::optional<TLook> m_shown;
};

} // namespace

TControl* ControlOfWidget(QWidget* Widget) {
    for (QWidget* w = Widget; w; w = w->parentWidget())
        if (auto* link = dynamic_cast<TWidgetLink*>(w); link && link->Control) return link->Control;
    return nullptr;
}

unsigned SystemWheelScrollLines() {
    if (g_wheelLines != 0) return g_wheelLines;
    const int lines = QApplication::wheelScrollLines();
    return lines > 0 ? static_cast<unsigned>(lines) : 3u;
}

void SetSystemWheelScrollLines(unsigned Lines) {
    g_wheelLines = Lines;
}

struct TCustomControl::Impl {
    THooked<QWidget>* outer = nullptr;
    ClientArea* client = nullptr;
    QScrollBar* bars[2] = {nullptr, nullptr};
    TScrollInfo info[2];
    bool visible[2] = {false, false};
    bool enabled[2] = {true, true};
    bool dispatching = false;
    std::map<int, std::unique_ptr<QTimer>> timers;
    TCanvas* paintCanvas = nullptr;
    QImage measureImage{1, 1, QImage::Format_RGB32};
    std::unique_ptr<TCanvas> measureCanvas;
    bool pressed = false;
    // What was invalidated and not painted yet (Update paints it).
    QRegion pending;
};

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), d(std::make_unique<Impl>()) {
    InstallFocusLostTracker();
    auto* w = new THooked<QWidget>(this);
    // Focus comes by Tab or when the control takes it itself (a click).
    w->setFocusPolicy(Qt::TabFocus);
    d->outer = w;
    d->client = new ClientArea(this, w);
    for (int b = SB_HORZ; b <= SB_VERT; ++b) {
        auto* bar = new ScrollBar(b == SB_VERT ? Qt::Vertical : Qt::Horizontal, w);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setCursor(Qt::ArrowCursor);
        bar->hide();
        QObject::connect(bar, &QAbstractSlider::actionTriggered, [this, b, bar](int action) {
            RunHandler([&] {
                int code = -1;
                switch (action) {
                case QAbstractSlider::SliderSingleStepAdd:
                    code = SB_LINEDOWN;
                    break;
                case QAbstractSlider::SliderSingleStepSub:
                    code = SB_LINEUP;
                    break;
                case QAbstractSlider::SliderPageStepAdd:
                    code = SB_PAGEDOWN;
                    break;
                case QAbstractSlider::SliderPageStepSub:
                    code = SB_PAGEUP;
                    break;
                case QAbstractSlider::SliderToMinimum:
                    code = SB_TOP;
                    break;
                case QAbstractSlider::SliderToMaximum:
                    code = SB_BOTTOM;
                    break;
                case QAbstractSlider::SliderMove:
                    code = SB_THUMBTRACK;
                    break;
                default:
                    return;
                }
                const int pos = bar->sliderPosition();
                SendScrollMessage(b, code, pos);
                // The control decides the position; the bar shows it.
                bar->setSliderPosition(d->info[b].Pos);
            });
        });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, [this, b, bar] {
            RunHandler([&] {
                SendScrollMessage(b, SB_THUMBPOSITION, bar->sliderPosition());
                SendScrollMessage(b, SB_ENDSCROLL, 0);
                bar->setSliderPosition(d->info[b].Pos);
            });
        });
        d->bars[b] = bar;
    }
    Attach(w, w);
    d->measureCanvas = std::make_unique<TCanvas>(&d->measureImage);
    SetTabStop(true);
}

TCustomControl::~TCustomControl() {
    for (auto& [id, t] : d->timers)
        t->stop();
    d->timers.clear();
    if (d->client) d->client->m_control = nullptr;
}

QScrollBar* TCustomControl::Bar(int Which) const {
    return d->bars[Which == SB_VERT ? SB_VERT : SB_HORZ];
}

void TCustomControl::SetParent(TWinControl* parent) {
    TWinControl::SetParent(parent);
    if (parent && !m_handle)
        CreateHandle();
    else if (!parent && m_handle)
        DestroyHandle();
}

void TCustomControl::CreateHandle() {
    m_handle = true;
    LayoutParts();
    CreateWnd();
}

void TCustomControl::DestroyHandle() {
    DestroyWnd();
    for (auto& [id, t] : d->timers)
        t->stop();
    d->timers.clear();
    m_handle = false;
}

void TCustomControl::RecreateWnd() {
    if (!m_handle) return;
    DestroyHandle();
    CreateHandle();
}

void TCustomControl::SetClientEdge(bool Edge) {
    if (Edge == m_clientEdge) return;
    m_clientEdge = Edge;
    LayoutParts();
}

void TCustomControl::SetLeftScrollBar(bool Left) {
    if (Left == m_leftScrollBar) return;
    m_leftScrollBar = Left;
    LayoutParts();
}

int TCustomControl::ClientWidth() const {
    const int e = m_clientEdge ? ClientEdgeWidth : 0;
    return std::max(0, m_width - 2 * e - (d->visible[SB_VERT] ? ScrollBarExtent : 0));
}

int TCustomControl::ClientHeight() const {
    const int e = m_clientEdge ? ClientEdgeWidth : 0;
    return std::max(0, m_height - 2 * e - (d->visible[SB_HORZ] ? ScrollBarExtent : 0));
}

QWidget* TCustomControl::ClientWidget() const {
    return d->client;
}

void TCustomControl::LayoutParts() {
    const int e = m_clientEdge ? ClientEdgeWidth : 0;
    const int cw = ClientWidth(), ch = ClientHeight();
    const bool v = d->visible[SB_VERT], h = d->visible[SB_HORZ];
    const int clientLeft = e + (v && m_leftScrollBar ? ScrollBarExtent : 0);
    d->client->setGeometry(clientLeft, e, cw, ch);
    QScrollBar* vb = Bar(SB_VERT);
    QScrollBar* hb = Bar(SB_HORZ);
    vb->setGeometry(m_leftScrollBar ? e : e + cw, e, ScrollBarExtent, ch);
    hb->setGeometry(clientLeft, e + ch, cw, ScrollBarExtent);
    vb->setVisible(v);
    hb->setVisible(h);
    if (m_handle && (cw != m_lastClientW || ch != m_lastClientH)) {
        m_lastClientW = cw;
        m_lastClientH = ch;
        ClientResized();
    }
}

void TCustomControl::BoundsChanged() {
    TWinControl::BoundsChanged();
    LayoutParts();
}

TCanvas* TCustomControl::Canvas() {
    return d->paintCanvas ? d->paintCanvas : d->measureCanvas.get();
}

bool TCustomControl::Painting() const {
    return d->paintCanvas != nullptr;
}

void TCustomControl::PaintClient(QPainter& p, const QRegion& Region) {
    d->pending -= Region;
    TCanvas canvas(&p);
    canvas.Font()->Assign(*Font());
    TCanvas* old = d->paintCanvas;
    d->paintCanvas = &canvas;
    // A region of a few parts far apart (a band and the thin sides of a
    // table below it) is painted part by part, each kept to its rectangle;
    // otherwise as its bounding box.
    const auto size = [](const QRect& r) { return static_cast<int64_t>(r.width()) * r.height(); };
    const QRect all = Region.boundingRect();
    int64_t area = 0;
    for (const QRect& r : Region)
        area += size(r);
    if (Region.rectCount() > 1 && Region.rectCount() <= 32 && area * 2 < size(all)) {
        // The region comes in rows of rectangles, cut by child windows and
        // by each other: rectangles whose bounding box is not much larger than
        // they are go together, so that nothing is painted twice for nothing.
        struct TPart {
            QRect Box;
            int64_t Area;
        };
        std::vector<TPart> parts;
        for (const QRect& r : Region)
            parts.push_back({r, size(r)});
        for (bool joined = true; joined;) {
            joined = false;
            for (size_t i = 0; i < parts.size() && !joined; ++i)
                for (size_t k = i + 1; k < parts.size() && !joined; ++k) {
                    const QRect box = parts[i].Box | parts[k].Box;
                    const int64_t both = parts[i].Area + parts[k].Area;
                    if (size(box) * 2 > both * 3) continue;
                    parts[i] = {box, both};
                    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(k));
                    joined = true;
                }
        }
        for (const TPart& part : parts) {
            const QRect& r = part.Box;
            p.save();
            p.setClipRect(r, Qt::IntersectClip);
            Paint(canvas, Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
            p.restore();
        }
    } else {
        Paint(canvas, Rect(all.left(), all.top(), all.right() + 1, all.bottom() + 1));
    }
    d->paintCanvas = old;
}

void TCustomControl::PaintTo(QImage& Image) {
    // A picture of the right size is painted again in place (checks paint
    // the same views again and again).
    const QSize size(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
    if (Image.size() != size || Image.format() != QImage::Format_RGB32)
        Image = QImage(size, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter p(&Image);
    PaintClient(p, QRegion(0, 0, ClientWidth(), ClientHeight()));
}

void TCustomControl::Paint(TCanvas& Canvas, const TRect& Clip) {
    Canvas.Brush()->SetColor(Color());
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.FillRect(Clip);
}

void TCustomControl::PaintWidget(QPainter& p) {
    const int w = m_width, h = m_height;
    p.fillRect(0, 0, w, h, ToQColor(ColorToRGB(clBtnFace)));
    if (!m_clientEdge) return;
    // The sunken edge: shadow and dark shadow at the top left, light and
    // highlight at the bottom right.
    const auto line = [&p](int x1, int y1, int x2, int y2, TColor c) {
        p.setPen(ToQColor(ColorToRGB(c)));
        p.drawLine(x1, y1, x2, y2);
    };
    line(0, 0, w - 2, 0, clBtnShadow);
    line(0, 0, 0, h - 2, clBtnShadow);
    line(1, 1, w - 3, 1, cl3DDkShadow);
    line(1, 1, 1, h - 3, cl3DDkShadow);
    line(0, h - 1, w - 1, h - 1, clBtnHighlight);
    line(w - 1, 0, w - 1, h - 1, clBtnHighlight);
    line(1, h - 2, w - 2, h - 2, clBtnFace);
    line(w - 2, 1, w - 2, h - 2, clBtnFace);
}

// ---- scroll bars ------------------------------------------------------------------

bool TCustomControl::GetScrollInfo(int Which, TScrollInfo& Info) const {
    Info = d->info[Which == SB_VERT ? SB_VERT : SB_HORZ];
    return true;
}

int TCustomControl::SetScrollInfo(int Which, const TScrollInfo& Info, unsigned Mask, bool Redraw) {
    (void)Redraw;
    const int b = Which == SB_VERT ? SB_VERT : SB_HORZ;
    TScrollInfo& s = d->info[b];
    if (Mask & SIF_RANGE) {
        s.Min = Info.Min;
        s.Max = std::max(Info.Min, Info.Max);
    }
    if (Mask & SIF_PAGE) s.Page = Info.Page;
    if (Mask & SIF_POS) s.Pos = Info.Pos;
    if (Mask & SIF_TRACKPOS) s.TrackPos = Info.TrackPos;
    // The page never exceeds the range, the position never passes its last place.
    const int64_t range = static_cast<int64_t>(s.Max) - s.Min + 1;
    s.Page = static_cast<int>(std::clamp<int64_t>(s.Page, 0, range));
    const int last = static_cast<int>(std::max<int64_t>(s.Min, s.Max - std::max(s.Page - 1, 0)));
    s.Pos = std::clamp(s.Pos, s.Min, last);
    QScrollBar* bar = Bar(b);
    const QSignalBlocker block(bar);
    bar->setRange(s.Min, last);
    bar->setPageStep(std::max(1, s.Page));
    bar->setSingleStep(1);
    bar->setValue(s.Pos);
    const bool needed = s.Page <= s.Max - s.Min;
    bool show = needed;
    bool enable = needed;
    if (!needed && (Mask & SIF_DISABLENOSCROLL)) {
        show = d->visible[b];
        enable = false;
    }
    d->enabled[b] = enable;
    bar->setEnabled(enable);
    if (show != d->visible[b]) {
        d->visible[b] = show;
        LayoutParts();
    }
    return s.Pos;
}

int TCustomControl::GetScrollPos(int Which) const {
    return d->info[Which == SB_VERT ? SB_VERT : SB_HORZ].Pos;
}

int TCustomControl::SetScrollPos(int Which, int Pos, bool Redraw) {
    TScrollInfo i;
    i.Pos = Pos;
    return SetScrollInfo(Which, i, SIF_POS | SIF_DISABLENOSCROLL, Redraw);
}

void TCustomControl::ShowScrollBar(int Which, bool Show) {
    const int b = Which == SB_VERT ? SB_VERT : SB_HORZ;
    if (d->visible[b] == Show) return;
    d->visible[b] = Show;
    LayoutParts();
}

void TCustomControl::EnableScrollBar(int Which, bool Enable) {
    const int b = Which == SB_VERT ? SB_VERT : SB_HORZ;
    d->enabled[b] = Enable;
    Bar(b)->setEnabled(Enable);
}

bool TCustomControl::ScrollBarVisible(int Which) const {
    return d->visible[Which == SB_VERT ? SB_VERT : SB_HORZ];
}

bool TCustomControl::ScrollBarEnabled(int Which) const {
    return d->enabled[Which == SB_VERT ? SB_VERT : SB_HORZ];
}

void TCustomControl::ScrollWindow(int DX, int DY) {
    ScrollWindowRect(DX, DY, Rect(0, 0, ClientWidth(), ClientHeight()));
}

void TCustomControl::ScrollWindowRect(int DX, int DY, const TRect& R) {
    if ((DX == 0 && DY == 0) || R.IsEmpty()) return;
    const QRect r = QRect(R.Left, R.Top, R.Width(), R.Height()) & d->client->rect();
    if (r.isEmpty()) return;
    // What waited to be painted inside the area is painted at its old place
    // and at the one its pixels moved to; what the move uncovers is painted too.
    const QRegion inside = d->pending & r;
    d->client->scroll(DX, DY, r);
    const QRegion again = inside + (inside.translated(DX, DY) & r);
    for (const QRect& a : again)
        d->client->update(a);
    d->pending += again + (QRegion(r) - QRegion(r.translated(DX, DY)));
}

void TCustomControl::InvalidateRect(const TRect& R) {
    if (R.IsEmpty()) return;
    d->pending += QRect(R.Left, R.Top, R.Width(), R.Height());
    d->client->update(R.Left, R.Top, R.Width(), R.Height());
}

void TCustomControl::Invalidate() {
    TWinControl::Invalidate();
    d->pending = QRegion(d->client->rect());
    d->client->update();
}

void TCustomControl::Repaint() {
    TWinControl::Repaint();
    d->client->repaint();
}

void TCustomControl::Update() {
    // What is pending is painted as soon as the event loop runs, all of it in
    // one paint. Painting it at once could show a document in the middle of
    // an edit, and nothing else needs painting.
}

// ---- timers and mouse -------------------------------------------------------------

void TCustomControl::SetTimer(int Id, int Milliseconds) {
    auto& t = d->timers[Id];
    if (!t) {
        t = std::make_unique<QTimer>();
        QObject::connect(t.get(), &QTimer::timeout, [this, Id] {
            RunHandler([&] {
                TFormBusy busy(ParentForm());
                Timer(Id);
            });
        });
    }
    t->start(std::max(1, Milliseconds));
}

void TCustomControl::KillTimer(int Id) {
    auto it = d->timers.find(Id);
    if (it != d->timers.end()) it->second->stop();
}

bool TCustomControl::TimerRunning(int Id) const {
    auto it = d->timers.find(Id);
    return it != d->timers.end() && it->second->isActive();
}

void TCustomControl::SetCurrentCursor(TCursor C) {
    if (C == m_currentCursor) return;
    m_currentCursor = C;
    if (C == crDefault)
        d->client->unsetCursor();
    else
        d->client->setCursor(QtCursor(C));
}

void TCustomControl::SetCapture() {
    m_capture = true;
    if (d->client->isVisible()) d->client->grabMouse();
}

void TCustomControl::ReleaseCapture() {
    if (!m_capture) return;
    m_capture = false;
    if (QWidget::mouseGrabber() == d->client) d->client->releaseMouse();
}

TPoint TCustomControl::CursorPos() const {
    const QPoint p = d->client->mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

TShiftState TCustomControl::KeyboardShiftState() {
    return ShiftOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

void TCustomControl::SendScrollMessage(int Which, int Code, int Pos) {
    if (d->dispatching) return;
    d->dispatching = true;
    TFormBusy busy(ParentForm());
    ScrollMessage(Which, Code, Pos);
    d->dispatching = false;
}

void TCustomControl::SendMouseWheel(int WheelDelta, TShiftState Shift) {
    MouseWheel(Shift, WheelDelta, 0, 0);
}

void TCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

bool TCustomControl::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) {
    bool handled = false;
    if (OnMouseWheel) {
        const QPoint screen = d->client->mapToGlobal(QPoint(X, Y));
        OnMouseWheel(this, Shift, WheelDelta, TPoint{screen.x(), screen.y()}, handled);
    }
    return handled;
}

// ---- events -------------------------------------------------------------------------

bool TCustomControl::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) && !WantTabs()) return false;
        if (!Enabled()) return true;
        TFormBusy busy(ParentForm());
        const std::weak_ptr<void> alive = m_alive;
        uint16_t vk = VirtualKeyOf(*ke);
        const TShiftState shift = ShiftOf(ke->modifiers(), Qt::NoButton);
        if (vk != 0) {
            if (!FilterKeyDown(vk, shift) || alive.expired()) return true;
            KeyDown(vk, shift);
            if (vk == 0 || alive.expired()) return true;
            if (ContextMenuKey(this, vk, shift)) return true;
        }
        char16_t ch = KeyCharOf(*ke);
        if (ch != 0 && FilterKeyPress(ch) && !alive.expired()) KeyChar(ch);
        return true;
    }
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        // A popup menu going down gives the focus back; it never left.
        if (reason == Qt::PopupFocusReason) return false;
        const std::weak_ptr<void> alive = m_alive;
        TWinControl::HandleEvent(e);
        if (alive.expired()) return true;
        TFormBusy busy(ParentForm());
        const bool fromNowhere = reason == Qt::ActiveWindowFocusReason;
        m_focusFrom = fromNowhere ? nullptr : ControlOfWidget(g_focusLost);
        g_focusLost = nullptr;
        FocusIn(reason == Qt::MouseFocusReason, reason == Qt::BacktabFocusReason, fromNowhere);
        if (alive.expired()) return true;
        m_focusFrom = nullptr;
        return false;
    }
    case QEvent::FocusOut: {
        if (static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason) return false;
        const std::weak_ptr<void> alive = m_alive;
        TWinControl::HandleEvent(e);
        if (alive.expired()) return true;
        FocusOut();
        return false;
    }
    case QEvent::Resize:
        LayoutParts();
        return false;
    default:
        return TWinControl::HandleEvent(e);
    }
}

bool TCustomControl::ClientEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        if (!Enabled()) return true;
        auto* me = static_cast<QMouseEvent*>(e);
        TFormBusy busy(ParentForm());
        const std::weak_ptr<void> alive = m_alive;
        const int x = static_cast<int>(me->position().x());
        const int y = static_cast<int>(me->position().y());
        const TShiftState shift = ShiftOf(me->modifiers(), me->buttons());
        m_lastMouse = {x, y};
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            if (me->button() == Qt::LeftButton && DragMode() == dmAutomatic) {
                BeginDrag();
                break;
            }
            d->pressed = me->button() == Qt::LeftButton;
            MouseDown(ButtonOf(me->button()), shift, x, y);
            break;
        case QEvent::MouseButtonDblClick:
            DblClick();
            if (!alive.expired()) MouseDown(ButtonOf(me->button()), shift | ssDouble, x, y);
            break;
        case QEvent::MouseMove:
            MouseMove(shift, x, y);
            break;
        default: {
            const bool wasPressed = d->pressed;
            d->pressed = false;
            MouseUp(ButtonOf(me->button()), shift, x, y);
            if (!alive.expired() && wasPressed && me->button() == Qt::LeftButton && x >= 0 && y >= 0 &&
                x < ClientWidth() && y < ClientHeight())
                Click();
            break;
        }
        }
        return true;
    }
    case QEvent::Leave:
        MouseLeave();
        return false;
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(e);
        const int delta = we->angleDelta().y();
        if (delta == 0) return false;
        TFormBusy busy(ParentForm());
        const bool handled = MouseWheel(ShiftOf(we->modifiers(), we->buttons()), delta,
                                        static_cast<int>(we->position().x()), static_cast<int>(we->position().y()));
        if (handled) we->accept();
        return handled;
    }
    default:
        return false;
    }
}
