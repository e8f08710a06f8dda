// Lines, figures and fills, with the old pixel rules: one-pixel lines walk
// their pixels, figures leave out the right and bottom edge. A printer gets
// the same pixels as runs, held and drawn together (CanvasStrokes.cpp).
#include "platform/CanvasState.h"

#include <QImage>
#include <QPainterPath>

#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

using namespace CanvasRules;

namespace {

// Cuts the segment a-b to the box (Liang-Barsky); false when nothing is left.
bool ClipSegment(const QRectF& box, QPointF& a, QPointF& b) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

// The raster operation of a pen mode. Black and white draw that colour;
// false for pmNop (nothing is drawn).
bool PenComposition(TPenMode m, QPainter::CompositionMode& mode, QColor& color) {
    mode = QPainter::CompositionMode_SourceOver;
    switch (m) {
    case pmNop:
        return false;
    case pmBlack:
        color = Qt::black;
        break;
    case pmWhite:
        color = Qt::white;
        break;
    case pmCopy:
        break;
    case pmNot:
        mode = QPainter::RasterOp_NotDestination;
        break;
    case pmNotCopy:
        mode = QPainter::RasterOp_NotSource;
        break;
    case pmMergePenNot:
        mode = QPainter::RasterOp_SourceOrNotDestination;
        break;
    case pmMaskPenNot:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case pmMergeNotPen:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        break;
    case pmMaskNotPen:
        mode = QPainter::RasterOp_NotSourceAndDestination;
        break;
    case pmMerge:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case pmNotMerge:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case pmMask:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case pmNotMask:
        mode = QPainter::RasterOp_NotSourceOrNotDestination;
        break;
    case pmXor:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case pmNotXor:
        mode = QPainter::RasterOp_NotSourceXorDestination;
        break;
    }
    return true;
}

// On/off runs of the styled one-pixel pens.
std::vector<int> DashPattern(TPenStyle s) {
    switch (s) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

// Walks a one-pixel line from a to b, leaving out b.
template <typename Plot> void WalkLine(TPoint a, TPoint b, Plot&& plot) {
    const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x, y = a.y;
    while (x != b.x || y != b.y) {
        plot(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// The pixels of a one-pixel line as runs along a row or a column: what a
// printer takes as a few rectangles instead of a point per printer pixel.
class PixelRuns {
public:
    void Add(int x, int y) {
        if (!m_runs.isEmpty()) {
            QRect& r = m_runs.last();
            if (r.height() == 1 && y == r.top() && (x == r.right() + 1 || x == r.left() - 1)) {
                x > r.right() ? r.setRight(x) : r.setLeft(x);
                return;
            }
            if (r.width() == 1 && x == r.left() && (y == r.bottom() + 1 || y == r.top() - 1)) {
                y > r.bottom() ? r.setBottom(y) : r.setTop(y);
                return;
            }
        }
        m_runs.append(QRect(x, y, 1, 1));
    }
    bool IsEmpty() const { return m_runs.isEmpty(); }
    // One fill of all runs; overlapping runs stay covered.
    void Fill(QPainter* p, const QColor& color) const {
        if (m_runs.isEmpty()) return;
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const QRect& r : m_runs)
            path.addRect(r);
        p->fillPath(path, color);
    }

private:
    QList<QRect> m_runs;
};

bool IsPrinter(const QPainter* p) {
    return p->device() && p->device()->devType() == QInternal::Printer;
}

// Counter-clockwise angle in degrees of the ray from the centre of r to p.
double RayAngle(const QRectF& r, int x, int y) {
    const double a = std::atan2(-(y - r.center().y()), x - r.center().x()) * 180.0 / M_PI;
    return a < 0 ? a + 360.0 : a;
}

// The visible part of a one-pixel segment a-b, near the surface: its ends,
// and whether the end pixel is kept (a cut end is not the line's end, which
// is left out). False when nothing of it is visible.
bool VisibleSegment(const QRectF& visible, TPoint a, TPoint b, TPoint& ca, TPoint& cb, bool& cutEnd) {
    const QRectF inner = visible.adjusted(1, 1, -1, -1);
    if (inner.contains(a.x, a.y) && inner.contains(b.x, b.y)) {
        ca = a;
        cb = b;
        cutEnd = false;
        return true;
    }
    QPointF fa(a.x, a.y), fb(b.x, b.y);
    if (!ClipSegment(visible, fa, fb)) return false;
    cutEnd = fb != QPointF(b.x, b.y);
    ca = {qRound(fa.x()), qRound(fa.y())};
    cb = {qRound(fb.x()), qRound(fb.y())};
    return true;
}

// Only the part of a segment near the surface is walked.
QRectF VisibleArea(const QPainter* p) {
    if (const QPaintDevice* dev = p->device()) {
        const QRect logical = p->transform().inverted().mapRect(QRect(0, 0, dev->width(), dev->height()));
        return QRectF(logical).adjusted(-2, -2, 2, 2);
    }
    return QRectF(-2, -2, 4, 4);
}

// The pixels of one-pixel lines as runs along a row or a column, cut by the
// pen's pattern, for the lines a printer is given together. Straight spans
// are cut by arithmetic; only slanted segments go pixel by pixel.
class HeldRuns {
public:
    HeldRuns(PrinterStrokes& Held, QColor On, QColor Off, QPainter::CompositionMode Mode,
             std::vector<int> Pattern)
        : m_held(Held), m_on(On), m_off(Off), m_mode(Mode), m_pattern(std::move(Pattern)),
          m_left(m_pattern.empty() ? 0 : m_pattern[0]) {}
    ~HeldRuns() {
        for (int g = 0; g < 2; ++g)
            Put(g != 0, QRect());
    }
    // N pixels from (x, y) on, one step (dx, dy) apart along a row or a column.
    void Span(int x, int y, int n, int dx, int dy) {
        while (n > 0) {
            const int c = m_pattern.empty() ? n : std::min(n, m_left);
            const int x2 = x + dx * (c - 1), y2 = y + dy * (c - 1);
            Put(!m_pattern.empty() && m_run % 2 != 0,
                QRect(QPoint(std::min(x, x2), std::min(y, y2)), QPoint(std::max(x, x2), std::max(y, y2))));
            x += dx * c;
            y += dy * c;
            n -= c;
            if (!m_pattern.empty() && (m_left -= c) == 0) {
                m_run = (m_run + 1) % m_pattern.size();
                m_left = m_pattern[m_run];
            }
        }
    }
    void Pixel(int x, int y) { Span(x, y, 1, 1, 0); }
    bool Plotted() const { return m_plotted; }

private:
    // Runs that continue the one before join it; an empty run sends what
    // is pending.
    void Put(bool Gap, const QRect& r) {
        QRect& pending = m_pending[Gap ? 1 : 0];
        if (!r.isEmpty()) m_plotted = true;
        if (!r.isEmpty() && !pending.isEmpty()) {
            const bool row = r.height() == 1 && pending.height() == 1 && r.top() == pending.top() &&
                             (r.left() == pending.right() + 1 || r.right() + 1 == pending.left());
            const bool column = r.width() == 1 && pending.width() == 1 && r.left() == pending.left() &&
                                (r.top() == pending.bottom() + 1 || r.bottom() + 1 == pending.top());
            if (row || column) {
                pending |= r;
                return;
            }
        }
        const QColor& color = Gap ? m_off : m_on;
        if (!pending.isEmpty() && color.isValid()) m_held.Add(pending, color, m_mode);
        pending = r;
    }

    PrinterStrokes& m_held;
    const QColor m_on, m_off;
    const QPainter::CompositionMode m_mode;
    const std::vector<int> m_pattern;
    size_t m_run = 0;
    int m_left;
    QRect m_pending[2];
    bool m_plotted = false;
};

// One-pixel strokes with the pen's style; gaps of styled lines get the brush
// colour when the brush is solid (the old opaque background mode). On a
// printer the pixels go to Held, to be given to it with the lines around.
void StrokeThin(QPainter* p, const TPen& pen, const TBrush& brush, const std::vector<TPoint>& pts,
                bool closed, PrinterStrokes& Held) {
    QPainter::CompositionMode mode;
    QColor color = QtColor(pen.Color());
    if (!PenComposition(pen.Mode(), mode, color) || pts.empty()) return;
    const std::vector<int> pattern = DashPattern(pen.Style());
    const bool opaqueGaps = brush.Style() == bsSolid && pen.Mode() == pmCopy;
    const QRectF visible = VisibleArea(p);
    std::vector<TPoint> clamped(pts.size());
    std::transform(pts.begin(), pts.end(), clamped.begin(), [](TPoint q) { return Clamped(q); });
    if (IsPrinter(p)) {
        HeldRuns runs(Held, color, opaqueGaps ? QtColor(brush.Color()) : QColor(), mode, pattern);
        auto segment = [&](TPoint a, TPoint b) {
            TPoint ca, cb;
            bool cutEnd;
            if (!VisibleSegment(visible, a, b, ca, cb, cutEnd)) return;
            if (ca.x == cb.x || ca.y == cb.y) {
                const int dx = (cb.x > ca.x) - (cb.x < ca.x), dy = (cb.y > ca.y) - (cb.y < ca.y);
                runs.Span(ca.x, ca.y, std::abs(cb.x - ca.x) + std::abs(cb.y - ca.y), dx, dy);
            } else {
                WalkLine(ca, cb, [&](int x, int y) { runs.Pixel(x, y); });
            }
            if (cutEnd) runs.Pixel(cb.x, cb.y);
        };
        for (size_t i = 0; i + 1 < clamped.size(); ++i)
            segment(clamped[i], clamped[i + 1]);
        if (closed && clamped.size() > 1) segment(clamped.back(), clamped.front());
        if (closed && !runs.Plotted()) runs.Pixel(clamped.front().x, clamped.front().y);
        return;
    }
    // The pixels of the pen and of the gaps, in buffers kept from call to
    // call: a figure of many small polygons (a shaded cup strokes 600) grew
    // new ones point by point for each.
    thread_local std::vector<QPoint> on, off;
    on.clear();
    off.clear();
    size_t run = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    auto plot = [&](int x, int y) {
        const bool gap = !pattern.empty() && (run % 2) != 0;
        (gap ? off : on).emplace_back(x, y);
        if (!pattern.empty() && --left == 0) {
            run = (run + 1) % pattern.size();
            left = pattern[run];
        }
    };
    auto segment = [&](TPoint a, TPoint b) {
        TPoint ca, cb;
        bool cutEnd;
        if (!VisibleSegment(visible, a, b, ca, cb, cutEnd)) return;
        WalkLine(ca, cb, plot);
        if (cutEnd) plot(cb.x, cb.y);
    };
    for (size_t i = 0; i + 1 < clamped.size(); ++i)
        segment(clamped[i], clamped[i + 1]);
    if (closed && clamped.size() > 1) segment(clamped.back(), clamped.front());
    if (closed && on.empty() && off.empty()) plot(clamped.front().x, clamped.front().y);
    p->setCompositionMode(mode);
    p->setBrush(Qt::NoBrush);
    if (!off.empty() && opaqueGaps) {
        p->setPen(QPen(QtColor(brush.Color()), 1));
        p->drawPoints(off.data(), static_cast<int>(off.size()));
    }
    p->setPen(QPen(color, 1));
    if (!on.empty()) p->drawPoints(on.data(), static_cast<int>(on.size()));
    // The outline of a huge figure does not keep its memory.
    constexpr size_t kKept = 1 << 16;
    if (on.capacity() > kKept) std::vector<QPoint>().swap(on);
    if (off.capacity() > kKept) std::vector<QPoint>().swap(off);
}

bool ThinPen(const TPen& pen) {
    return pen.Width() <= 1;
}

// Wide pens are solid with round ends, centred on the pixel centres.
QPen WidePen(const TPen& pen, QColor color) {
    return QPen(color, pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPolygonF CentredPolygon(const std::vector<TPoint>& pts, TPoint Origin = {0, 0}) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(pts.size()));
    for (const TPoint& raw : pts) {
        const TPoint p = Clamped(raw);
        poly.append(QPointF(double(p.x) - Origin.x + 0.5, double(p.y) - Origin.y + 0.5));
    }
    return poly;
}

// A wide pen's round ends and joins have pixels on their very edge, which
// the rounding of where they lie on the device decides: drawn from its
// first point, a line gives the same pixels wherever it lies (a screen of a
// document and the whole document paint it alike).
QPolygonF WidePolygon(QPainter* p, const std::vector<TPoint>& pts) {
    const TPoint origin = Clamped(pts.front());
    p->translate(origin.x, origin.y);
    return CentredPolygon(pts, origin);
}

} // namespace

void TCanvas::MoveTo(int x, int y) {
    m_penPos = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = m_penPos;
    m_penPos = {x, y};
    Polyline({from, {x, y}});
}

void TCanvas::StrokeThinLines(const std::vector<TPoint>& points, bool closed) {
    // Not through Painter(): the lines held before these stay held.
    QPainter* raw = OpenPainter();
    if (!raw) return;
    if (IsPrinter(raw)) {
        StrokeThin(raw, m_pen, m_brush, points, closed, d->held);
        if (d->held.Full()) d->FlushHeld();
    } else {
        PaintScope p(raw);
        StrokeThin(raw, m_pen, m_brush, points, closed, d->held);
    }
    if (OnChange) OnChange();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (d->recorder) return d->recorder->Poly(*this, points, false);
    if (points.size() < 2 || m_pen.Style() == psClear) return;
    if (ThinPen(m_pen)) {
        StrokeThinLines(points, false);
        return;
    }
    PaintScope p(Painter());
    if (!p) return;
    QPainter::CompositionMode mode;
    QColor color = QtColor(m_pen.Color());
    if (PenComposition(m_pen.Mode(), mode, color)) {
        p->setCompositionMode(mode);
        p->setPen(WidePen(m_pen, color));
        p->drawPolyline(WidePolygon(p.operator->(), points));
    }
    if (OnChange) OnChange();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (d->recorder) return d->recorder->Poly(*this, points, true);
    PaintScope p(Painter());
    if (!p || points.size() < 2) return;
    QPainter::CompositionMode mode;
    QColor color = QtColor(m_pen.Color());
    const bool draws = PenComposition(m_pen.Mode(), mode, color);
    if (draws && m_brush.Style() != bsClear) {
        p->setCompositionMode(mode);
        p->setPen(Qt::NoPen);
        QBrush b = QtBrush(m_brush);
        if (m_pen.Mode() == pmBlack || m_pen.Mode() == pmWhite) b.setColor(color);
        p->setBrush(b);
        p->drawPolygon(CentredPolygon(points), Qt::OddEvenFill);
    }
    if (draws && m_pen.Style() != psClear) {
        if (ThinPen(m_pen)) {
            StrokeThin(p.operator->(), m_pen, m_brush, points, true, d->held);
            if (d->held.Full()) d->FlushHeld();
        } else {
            p->setCompositionMode(mode);
            p->setPen(WidePen(m_pen, color));
            p->setBrush(Qt::NoBrush);
            p->drawPolygon(WidePolygon(p.operator->(), points));
        }
    }
    if (OnChange) OnChange();
}

namespace {

// Shared by the box-shaped figures: fills with the brush, then strokes.
// The box excludes its right and bottom edge; without a pen the fill is one
// pixel smaller still (as the old rectangle and ellipse were).
template <typename Shape>
void DrawBoxShape(QPainter* p, const TPen& pen, const TBrush& brush, TRect box, Shape&& shape) {
    QPainter::CompositionMode mode;
    QColor color = QtColor(pen.Color());
    if (!PenComposition(pen.Mode(), mode, color)) return;
    const bool hasPen = pen.Style() != psClear;
    int w = hasPen ? pen.Width() : 0;
    if (hasPen && pen.Style() == psInsideFrame && w > 1) {
        // The whole pen stays inside the box.
        InflateRect(box, -(w / 2), -(w / 2));
        if (w % 2 == 0) {
            box.Right += 1;
            box.Bottom += 1;
        }
    }
    p->setCompositionMode(mode);
    if (brush.Style() != bsClear) {
        QBrush b = QtBrush(brush);
        if (pen.Mode() == pmBlack || pen.Mode() == pmWhite) b.setColor(color);
        p->setPen(Qt::NoPen);
        p->setBrush(b);
        // Aliased fills cover the pixels whose centres lie inside: with a pen
        // the fill follows the outline through the pixel centres, without one
        // it ends a pixel before the right and bottom edge.
        if (hasPen)
            shape(QRectF(box.Left + 0.5, box.Top + 0.5, box.Width() - 1, box.Height() - 1), true);
        else
            shape(QRectF(box.Left, box.Top, box.Width() - 1, box.Height() - 1), true);
    }
    if (!hasPen) return;
    p->setBrush(Qt::NoBrush);
    if (w <= 1) {
        QPen qpen(color, 0);
        const std::vector<int> pattern = DashPattern(pen.Style());
        if (!pattern.empty()) {
            QList<qreal> dashes;
            for (int v : pattern)
                dashes.append(v);
            qpen.setDashPattern(dashes);
        }
        p->setPen(qpen);
        shape(QRectF(box.Left, box.Top, box.Width() - 1, box.Height() - 1), false);
    } else {
        p->setPen(QPen(color, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        shape(QRectF(box.Left + 0.5, box.Top + 0.5, box.Width() - 1, box.Height() - 1), false);
    }
}

} // namespace

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (d->recorder) return d->recorder->Rectangle(*this, Normalized(x1, y1, x2, y2));
    const TRect box = Normalized(x1, y1, x2, y2);
    const std::vector<TPoint> outline{{box.Left, box.Top},
                                      {box.Right - 1, box.Top},
                                      {box.Right - 1, box.Bottom - 1},
                                      {box.Left, box.Bottom - 1}};
    if (m_pen.Style() != psClear && ThinPen(m_pen) && m_brush.Style() == bsClear) {
        // An outline alone: the frames of a border drawn one inside the other.
        if (!box.IsEmpty()) StrokeThinLines(outline, true);
        return;
    }
    PaintScope p(Painter());
    if (!p || box.IsEmpty()) return;
    QPainter* painter = p.operator->();
    if (m_pen.Style() != psClear && ThinPen(m_pen)) {
        // Fill inside, then the outline pixel by pixel, so that the edge
        // pixels are exact for every style.
        QPainter::CompositionMode mode;
        QColor color = QtColor(m_pen.Color());
        if (!PenComposition(m_pen.Mode(), mode, color)) return;
        if (m_brush.Style() != bsClear && box.Width() > 2 && box.Height() > 2) {
            QBrush b = QtBrush(m_brush);
            if (m_pen.Mode() == pmBlack || m_pen.Mode() == pmWhite) b.setColor(color);
            painter->setCompositionMode(mode);
            painter->fillRect(QRect(box.Left + 1, box.Top + 1, box.Width() - 2, box.Height() - 2), b);
        }
        StrokeThin(painter, m_pen, m_brush, outline, true, d->held);
        if (d->held.Full()) d->FlushHeld();
    } else {
        const bool hasPenFill = m_pen.Style() != psClear;
        DrawBoxShape(painter, m_pen, m_brush, box, [&](const QRectF& r, bool fill) {
            if (fill)
                painter->fillRect(QRect(box.Left, box.Top, box.Width() - (hasPenFill ? 0 : 1),
                                        box.Height() - (hasPenFill ? 0 : 1)),
                                  painter->brush());
            else
                painter->drawRect(r);
        });
    }
    if (OnChange) OnChange();
}

namespace {

// Rows of a rounded rectangle over the pixels x0..x1, y0..y1 (inclusive) with
// corners of the ellipse rw x rh: for each row the outline's left span
// [first, last]. Only the top-left quarter is computed; the rest is mirrored,
// so that all four corners come out alike.
struct RoundRows {
    int x0, x1, y0, y1;
    std::vector<std::pair<int, int>> top; // rows y0 .. middle

    RoundRows(int ax0, int ay0, int ax1, int ay1, int rw, int rh) : x0(ax0), x1(ax1), y0(ay0), y1(ay1) {
        rw = std::min(rw, x1 - x0 + 1);
        rh = std::min(rh, y1 - y0 + 1);
        const double a = std::max(0, rw - 1) / 2.0, b = std::max(0, rh - 1) / 2.0;
        const double cy = y0 + b;
        const int middle = (y0 + y1) / 2, centre = (x0 + x1) / 2;
        int prevLeft = centre + 1;
        for (int y = y0; y <= middle; ++y) {
            int left = x0;
            if (b > 0 && y < cy) {
                const double t = (cy - y) / b;
                left = x0 + static_cast<int>(std::floor(a - a * std::sqrt(std::max(0.0, 1 - t * t)) + 0.5));
            }
            left = std::min(left, centre);
            const int last = y == y0 ? centre : std::max(left, std::min(prevLeft - 1, centre));
            top.emplace_back(left, last);
            prevLeft = left;
        }
    }
    // The left span of any row.
    std::pair<int, int> Row(int y) const {
        const int m = y <= (y0 + y1) / 2 ? y : y0 + y1 - y;
        return top[static_cast<size_t>(std::clamp(m - y0, 0, static_cast<int>(top.size()) - 1))];
    }
    int Mirror(int x) const { return x0 + x1 - x; }
};

void FillSpan(QPainter* p, int xa, int xb, int y, const QBrush& brush) {
    if (xb >= xa) p->fillRect(QRect(xa, y, xb - xa + 1, 1), brush);
}

} // namespace

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    if (d->recorder) return d->recorder->RoundRect(*this, Normalized(x1, y1, x2, y2), x3, y3);
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    QPainter* painter = p.operator->();
    const int rw = std::abs(Clamped(x3)), rh = std::abs(Clamped(y3));
    const bool hasPen = m_pen.Style() != psClear;
    const bool thinSolid = m_pen.Width() <= 1 && (m_pen.Style() == psSolid || m_pen.Style() == psInsideFrame);
    if (hasPen && !thinSolid) {
        DrawBoxShape(painter, m_pen, m_brush, box, [&](const QRectF& r, bool) {
            painter->drawRoundedRect(r, rw / 2.0, rh / 2.0, Qt::AbsoluteSize);
        });
    } else {
        // Thin outlines and fills pixel by pixel, symmetric in both axes.
        DrawBoxShape(painter, m_pen, m_brush, box, [&](const QRectF&, bool fill) {
            if (fill && !hasPen) {
                // Without a pen the fill ends a pixel before the right and bottom edge.
                if (box.Width() < 2 || box.Height() < 2) return;
                const RoundRows rows(box.Left, box.Top, box.Right - 2, box.Bottom - 2, rw, rh);
                for (int y = rows.y0; y <= rows.y1; ++y) {
                    const int left = rows.Row(y).first;
                    FillSpan(painter, left, rows.Mirror(left), y, painter->brush());
                }
                return;
            }
            const RoundRows rows(box.Left, box.Top, box.Right - 1, box.Bottom - 1, rw, rh);
            const QBrush penColour(painter->pen().color());
            for (int y = rows.y0; y <= rows.y1; ++y) {
                const auto [first, last] = rows.Row(y);
                const bool edge = y == rows.y0 || y == rows.y1;
                if (fill) {
                    // Inside the outline only, so that pen modes see each pixel once.
                    if (!edge) FillSpan(painter, last + 1, rows.Mirror(last) - 1, y, painter->brush());
                } else if (last >= rows.Mirror(last)) {
                    FillSpan(painter, first, rows.Mirror(first), y, penColour);
                } else {
                    FillSpan(painter, first, last, y, penColour);
                    FillSpan(painter, rows.Mirror(last), rows.Mirror(first), y, penColour);
                }
            }
        });
    }
    if (OnChange) OnChange();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (d->recorder) return d->recorder->Ellipse(*this, Normalized(x1, y1, x2, y2));
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    QPainter* painter = p.operator->();
    DrawBoxShape(painter, m_pen, m_brush, box, [&](const QRectF& r, bool) { painter->drawEllipse(r); });
    if (OnChange) OnChange();
}

namespace {

enum class ArcKind { Arc, Pie, Chord };

// The point where the ray from the centre of the box at angle a (degrees,
// counter-clockwise) meets the ellipse, as a pixel.
TPoint EllipsePoint(const TRect& box, double a) {
    const double rx = (box.Width() - 1) / 2.0, ry = (box.Height() - 1) / 2.0;
    // Snapped, so that the quarter angles meet their pixel exactly.
    auto snap = [](double v) { return std::abs(v) < 1e-9 ? 0.0 : v; };
    const double c = snap(std::cos(a * M_PI / 180.0)), s = snap(std::sin(a * M_PI / 180.0));
    const double denom = std::sqrt((rx > 0 ? c * c / (rx * rx) : 0.0) + (ry > 0 ? s * s / (ry * ry) : 0.0));
    const double t = denom > 0 ? 1.0 / denom : 0.0;
    const double cx = box.Left + rx, cy = box.Top + ry;
    return {static_cast<int>(std::lround(cx + t * c)), static_cast<int>(std::lround(cy - t * s))};
}

// One-pixel outline of an arc, pie or chord: the pixels of the full ellipse
// outline within the angle, so that the curve matches Ellipse exactly.
void StrokeThinArc(QPainter* p, QColor color, const TRect& box, double a1, double span, ArcKind kind) {
    const int w = box.Width(), h = box.Height();
    QImage mask(w, h, QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull()) return;
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing, false);
        m.setPen(QPen(Qt::black, 0));
        m.drawEllipse(QRectF(0, 0, w - 1, h - 1));
    }
    QList<QPoint> dots;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0) continue;
            double a = std::atan2(-(y + 0.5 - h / 2.0), x + 0.5 - w / 2.0) * 180.0 / M_PI - a1;
            while (a < 0)
                a += 360.0;
            if (a <= span + 1e-9) dots.append(QPoint(box.Left + x, box.Top + y));
        }
    }
    const TPoint from = EllipsePoint(box, a1), to = EllipsePoint(box, a1 + span);
    auto plot = [&](int x, int y) { dots.append(QPoint(x, y)); };
    if (kind == ArcKind::Pie) {
        const TPoint centre{box.Left + (box.Width() - 1) / 2, box.Top + (box.Height() - 1) / 2};
        WalkLine(centre, from, plot);
        WalkLine(centre, to, plot);
        plot(centre.x, centre.y);
    } else if (kind == ArcKind::Chord) {
        WalkLine(from, to, plot);
    }
    if (IsPrinter(p)) {
        PixelRuns runs;
        for (const QPoint& d : dots)
            runs.Add(d.x(), d.y());
        runs.Fill(p, color);
        return;
    }
    p->setPen(QPen(color, 1));
    p->setBrush(Qt::NoBrush);
    p->drawPoints(dots.data(), static_cast<int>(dots.size()));
}

void DrawArcShape(QPainter* p, const TPen& pen, const TBrush& brush, const TRect& box, int x3, int y3, int x4,
                  int y4, ArcKind kind) {
    const QRectF centreBox(box.Left, box.Top, box.Width(), box.Height());
    const double a1 = RayAngle(centreBox, x3, y3);
    double span = RayAngle(centreBox, x4, y4) - a1;
    if (span <= 0) span += 360.0;
    const int start16 = qRound(a1 * 16), span16 = qRound(span * 16);
    TBrush fill = brush;
    if (kind == ArcKind::Arc) fill.SetStyle(bsClear);
    const bool thin = pen.Width() <= 1 && (pen.Style() == psSolid || pen.Style() == psInsideFrame);
    if (!thin || static_cast<qint64>(box.Width()) * box.Height() > 16'000'000) {
        DrawBoxShape(p, pen, fill, box, [&](const QRectF& r, bool) {
            switch (kind) {
            case ArcKind::Arc:
                p->drawArc(r, start16, span16);
                break;
            case ArcKind::Pie:
                p->drawPie(r, start16, span16);
                break;
            case ArcKind::Chord:
                p->drawChord(r, start16, span16);
                break;
            }
        });
        return;
    }
    QPainter::CompositionMode mode;
    QColor color = QtColor(pen.Color());
    if (!PenComposition(pen.Mode(), mode, color)) return;
    p->setCompositionMode(mode);
    if (fill.Style() != bsClear) {
        QBrush b = QtBrush(fill);
        if (pen.Mode() == pmBlack || pen.Mode() == pmWhite) b.setColor(color);
        p->setPen(Qt::NoPen);
        p->setBrush(b);
        const QRectF r(box.Left + 0.5, box.Top + 0.5, box.Width() - 1, box.Height() - 1);
        if (kind == ArcKind::Pie)
            p->drawPie(r, start16, span16);
        else
            p->drawChord(r, start16, span16);
    }
    StrokeThinArc(p, color, box, a1, span, kind);
}

} // namespace

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (d->recorder)
        return d->recorder->Arc(*this, TCanvasRecorder::akArc, Normalized(x1, y1, x2, y2), {x3, y3},
                                {x4, y4});
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    DrawArcShape(p.operator->(), m_pen, m_brush, box, x3, y3, x4, y4, ArcKind::Arc);
    if (OnChange) OnChange();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (d->recorder)
        return d->recorder->Arc(*this, TCanvasRecorder::akPie, Normalized(x1, y1, x2, y2), {x3, y3},
                                {x4, y4});
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    DrawArcShape(p.operator->(), m_pen, m_brush, box, x3, y3, x4, y4, ArcKind::Pie);
    if (OnChange) OnChange();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (d->recorder)
        return d->recorder->Arc(*this, TCanvasRecorder::akChord, Normalized(x1, y1, x2, y2), {x3, y3},
                                {x4, y4});
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    DrawArcShape(p.operator->(), m_pen, m_brush, box, x3, y3, x4, y4, ArcKind::Chord);
    if (OnChange) OnChange();
}

void TCanvas::FillRect(const TRect& r) {
    if (d->recorder) return d->recorder->FillRect(*this, r, false);
    PaintScope p(Painter());
    if (!p || r.IsEmpty() || m_brush.Style() == bsClear) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(ToQRect(r), QtBrush(m_brush));
    if (OnChange) OnChange();
}

void TCanvas::FrameRect(const TRect& raw) {
    if (d->recorder) return d->recorder->FillRect(*this, raw, true);
    const TRect r = Clamped(raw);
    PaintScope p(Painter());
    if (!p || r.IsEmpty() || m_brush.Style() == bsClear) return;
    const QBrush b = QtBrush(m_brush);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), b);
    if (r.Height() > 1) p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), b);
    if (r.Height() > 2) {
        p->fillRect(QRect(r.Left, r.Top + 1, 1, r.Height() - 2), b);
        if (r.Width() > 1) p->fillRect(QRect(r.Right - 1, r.Top + 1, 1, r.Height() - 2), b);
    }
    if (OnChange) OnChange();
}

void TCanvas::DrawFocusRect(const TRect& raw) {
    const TRect r = Clamped(raw);
    PaintScope p(Painter());
    if (!p || r.IsEmpty()) return;
    QList<QPoint> dots;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) dots.append(QPoint(x, y));
    };
    // Only the visible part of the frame is collected.
    const QRect surface = p->transform().inverted().mapRect(
        QRect(0, 0, p->device() ? p->device()->width() : 0, p->device() ? p->device()->height() : 0));
    const int x0 = std::max(r.Left, surface.left() - 1), x1 = std::min(r.Right - 1, surface.right() + 1);
    const int y0 = std::max(r.Top + 1, surface.top() - 1), y1 = std::min(r.Bottom - 2, surface.bottom() + 1);
    for (int x = x0; x <= x1; ++x) {
        dot(x, r.Top);
        if (r.Bottom - 1 != r.Top) dot(x, r.Bottom - 1);
    }
    for (int y = y0; y <= y1; ++y) {
        dot(r.Left, y);
        if (r.Right - 1 != r.Left) dot(r.Right - 1, y);
    }
    p->setCompositionMode(QPainter::RasterOp_NotDestination);
    p->setPen(QPen(Qt::white, 1));
    p->drawPoints(dots.data(), static_cast<int>(dots.size()));
    if (OnChange) OnChange();
}
