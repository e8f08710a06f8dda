#include "platform/Graphics.h"

#include "platform/Fonts.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "platform/TextMetrics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

// ---- records ---------------------------------------------------------------

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        result = TRect{};
        return false;
    }
    result = r;
    return true;
}

TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// ---- pen, brush, font ------------------------------------------------------

void TPen::Changed() {
    if (OnChange) OnChange();
}

void TPen::SetColor(TColor c) {
    if (c == m_color) return;
    m_color = c;
    Changed();
}

void TPen::SetWidth(int w) {
    w = std::max(1, w);
    if (w == m_width) return;
    m_width = w;
    Changed();
}

void TPen::SetStyle(TPenStyle s) {
    if (s == m_style) return;
    m_style = s;
    Changed();
}

void TPen::SetMode(TPenMode m) {
    if (m == m_mode) return;
    m_mode = m;
    Changed();
}

void TPen::Assign(const TPen& other) {
    if (m_color == other.m_color && m_width == other.m_width && m_style == other.m_style &&
        m_mode == other.m_mode)
        return;
    m_color = other.m_color;
    m_width = other.m_width;
    m_style = other.m_style;
    m_mode = other.m_mode;
    Changed();
}

void TBrush::Changed() {
    if (OnChange) OnChange();
}

void TBrush::SetColor(TColor c) {
    const TBrushStyle style = m_style == bsClear ? bsSolid : m_style;
    if (c == m_color && style == m_style) return;
    m_color = c;
    m_style = style;
    Changed();
}

void TBrush::SetStyle(TBrushStyle s) {
    if (s == m_style) return;
    m_style = s;
    Changed();
}

void TBrush::Assign(const TBrush& other) {
    if (m_color == other.m_color && m_style == other.m_style) return;
    m_color = other.m_color;
    m_style = other.m_style;
    Changed();
}

TFont::TFont() = default;

TFont::TFont(const TFont& other)
    : m_name(other.m_name), m_height(other.m_height), m_color(other.m_color), m_style(other.m_style),
      m_charset(other.m_charset), m_pitch(other.m_pitch), m_orientation(other.m_orientation),
      m_pixelsPerInch(other.m_pixelsPerInch) {}

TFont& TFont::operator=(const TFont& other) {
    if (this != &other) {
        m_pixelsPerInch = other.m_pixelsPerInch;
        Assign(other);
    }
    return *this;
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

void TFont::SetName(const QString& name) {
    if (name.isEmpty() || name == m_name) return;
    m_name = name;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(m_height, 72, m_pixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, m_pixelsPerInch, 72));
}

void TFont::SetHeight(int pixels) {
    if (pixels == m_height) return;
    m_height = pixels;
    Changed();
}

void TFont::SetColor(TColor c) {
    if (c == m_color) return;
    m_color = c;
    Changed();
}

void TFont::SetStyle(TFontStyles s) {
    s &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (s == m_style) return;
    m_style = s;
    Changed();
}

void TFont::SetCharset(TFontCharset c) {
    if (c == m_charset) return;
    m_charset = c;
    Changed();
}

void TFont::SetPitch(TFontPitch p) {
    if (p == m_pitch) return;
    m_pitch = p;
    Changed();
}

void TFont::SetOrientation(int tenths) {
    if (tenths == m_orientation) return;
    m_orientation = tenths;
    Changed();
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0) m_pixelsPerInch = ppi;
}

void TFont::Assign(const TFont& other) {
    if (this == &other) return;
    int height = other.m_height;
    if (other.m_pixelsPerInch != m_pixelsPerInch) height = -MulDiv(other.Size(), m_pixelsPerInch, 72);
    if (SameAs(other) && height == m_height) return;
    m_name = other.m_name;
    m_height = height;
    m_color = other.m_color;
    m_style = other.m_style;
    m_charset = other.m_charset;
    m_pitch = other.m_pitch;
    m_orientation = other.m_orientation;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return m_name == other.m_name && m_height == other.m_height && m_color == other.m_color &&
           m_style == other.m_style && m_charset == other.m_charset && m_pitch == other.m_pitch &&
           m_orientation == other.m_orientation;
}

// ---- canvas ----------------------------------------------------------------

struct TCanvas::Impl {
    enum Kind { None, OwnImage, Borrowed, OwnDevice };
    Kind kind = None;
    QImage* image = nullptr;
    QPaintDevice* device = nullptr;
    QPainter* borrowed = nullptr;
    std::unique_ptr<QPainter> own;
    // Images QPainter cannot draw on are drawn as 32 bit and converted back.
    QImage::Format convertedFrom = QImage::Format_Invalid;
    QList<QRgb> colorTable;
    QRegion clip;
    bool borrowedHadClip = false;
    QRegion borrowedClip;
    // The painter's own transformation (a borrowed painter may bring one);
    // the origin shift comes on top of it. The clip is kept in the
    // coordinates of that base.
    QTransform base;
    TPoint origin;
    struct Saved {
        bool hasClip;
        QRegion clip;
        TPoint origin;
    };
    std::vector<Saved> saved;
    int charExtra = 0;

    QPoint ToBase(int x, int y) const { return QPoint(x - origin.x, y - origin.y); }
    QPoint ToSurface(int x, int y) const { return base.map(ToBase(x, y)); }
};

namespace {

bool Paintable(QImage::Format f) {
    switch (f) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return true;
    default:
        return false;
    }
}

QColor QtColor(TColor c) {
    return ToQColor(ColorToRGB(c));
}

// Coordinates far outside any surface are pulled in, so that no width or
// height can overflow and no figure takes endless steps.
constexpr int kCoordLimit = 1 << 26;

int Clamped(int v) {
    return std::clamp(v, -kCoordLimit, kCoordLimit);
}

TPoint Clamped(TPoint p) {
    return {Clamped(p.x), Clamped(p.y)};
}

TRect Clamped(const TRect& r) {
    return {Clamped(r.Left), Clamped(r.Top), Clamped(r.Right), Clamped(r.Bottom)};
}

QRect ToQRect(const TRect& raw) {
    const TRect r = Clamped(raw);
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

TRect Normalized(int x1, int y1, int x2, int y2) {
    x1 = Clamped(x1);
    y1 = Clamped(y1);
    x2 = Clamped(x2);
    y2 = Clamped(y2);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

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

Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
    switch (s) {
    case bsSolid:
        return Qt::SolidPattern;
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QBrush QtBrush(const TBrush& b) {
    if (b.Style() == bsClear) return QBrush(Qt::NoBrush);
    return QBrush(QtColor(b.Color()), QtBrushStyle(b.Style()));
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

enum class CopyKind { Image, FillBlack, FillWhite, InvertDest, Brush };

CopyKind CopyComposition(TCopyMode m, QPainter::CompositionMode& mode) {
    mode = QPainter::CompositionMode_SourceOver;
    switch (m) {
    case cmBlackness:
        return CopyKind::FillBlack;
    case cmWhiteness:
        return CopyKind::FillWhite;
    case cmDstInvert:
        return CopyKind::InvertDest;
    case cmPatCopy:
        return CopyKind::Brush;
    case cmSrcAnd:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case cmSrcPaint:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case cmSrcInvert:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case cmNotSrcCopy:
        mode = QPainter::RasterOp_NotSource;
        break;
    case cmSrcErase:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case cmNotSrcErase:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case cmMergePaint:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        break;
    default:
        break; // copy; the pattern modes copy the source as well
    }
    return CopyKind::Image;
}

// Counter-clockwise angle in degrees of the ray from the centre of r to p.
double RayAngle(const QRectF& r, int x, int y) {
    const double a = std::atan2(-(y - r.center().y()), x - r.center().x()) * 180.0 / M_PI;
    return a < 0 ? a + 360.0 : a;
}

} // namespace

TCanvas::TCanvas() : d(std::make_unique<Impl>()) {}

TCanvas::TCanvas(QImage* image) : TCanvas() {
    SetImage(image);
}
TCanvas::TCanvas(QPainter* painter) : TCanvas() {
    SetPainter(painter);
}
TCanvas::TCanvas(QPaintDevice* device) : TCanvas() {
    SetDevice(device);
}

TCanvas::~TCanvas() {
    LeaveBorrowed();
    Release();
}

void TCanvas::LeaveBorrowed() {
    // A borrowed painter goes back as it came (transformation and clip).
    if (d->kind != Impl::Borrowed || !d->borrowed || !d->borrowed->isActive()) return;
    QPainter* p = d->borrowed;
    p->setTransform(d->base);
    if (d->borrowedHadClip)
        p->setClipRegion(d->borrowedClip);
    else
        p->setClipping(false);
}

void TCanvas::SetImage(QImage* image) {
    LeaveBorrowed();
    Release();
    d->kind = image ? Impl::OwnImage : Impl::None;
    d->image = image;
    d->device = nullptr;
    d->borrowed = nullptr;
}

void TCanvas::SetPainter(QPainter* painter) {
    LeaveBorrowed();
    Release();
    d->kind = painter ? Impl::Borrowed : Impl::None;
    d->borrowed = painter;
    d->image = nullptr;
    d->device = nullptr;
    if (painter) {
        d->borrowedHadClip = painter->hasClipping();
        d->borrowedClip = d->borrowedHadClip ? painter->clipRegion() : QRegion();
        d->base = painter->transform();
        ApplyState();
    }
}

void TCanvas::SetDevice(QPaintDevice* device) {
    LeaveBorrowed();
    Release();
    d->kind = device ? Impl::OwnDevice : Impl::None;
    d->device = device;
    d->image = nullptr;
    d->borrowed = nullptr;
}

void TCanvas::Release() {
    if (d->own) {
        d->own->end();
        d->own.reset();
    }
    if (d->convertedFrom != QImage::Format_Invalid && d->image) {
        *d->image = d->colorTable.isEmpty()
                        ? d->image->convertToFormat(d->convertedFrom)
                        : d->image->convertToFormat(d->convertedFrom, d->colorTable,
                                                    Qt::ThresholdDither | Qt::AvoidDither);
    }
    d->convertedFrom = QImage::Format_Invalid;
    d->colorTable.clear();
}

bool TCanvas::HasSurface() const {
    return d->kind != Impl::None;
}

QPainter* TCanvas::Painter() {
    switch (d->kind) {
    case Impl::None:
        return nullptr;
    case Impl::Borrowed:
        return d->borrowed->isActive() ? d->borrowed : nullptr;
    case Impl::OwnImage:
    case Impl::OwnDevice:
        break;
    }
    if (d->own) return d->own.get();
    if (d->kind == Impl::OwnImage) {
        if (!d->image || d->image->isNull()) return nullptr;
        if (!Paintable(d->image->format())) {
            d->convertedFrom = d->image->format();
            d->colorTable = d->image->colorTable();
            *d->image = d->image->convertToFormat(QImage::Format_RGB32);
        }
        d->own = std::make_unique<QPainter>(d->image);
    } else {
        d->own = std::make_unique<QPainter>(d->device);
    }
    if (!d->own->isActive()) {
        d->own.reset();
        return nullptr;
    }
    d->own->setRenderHint(QPainter::Antialiasing, false);
    d->own->setRenderHint(QPainter::TextAntialiasing, false);
    d->own->setRenderHint(QPainter::SmoothPixmapTransform, false);
    d->base = QTransform();
    ApplyState();
    return d->own.get();
}

QImage* TCanvas::Image() const {
    QPaintDevice* dev = nullptr;
    switch (d->kind) {
    case Impl::None:
        return nullptr;
    case Impl::OwnImage:
        return d->image;
    case Impl::Borrowed:
        dev = d->borrowed->device();
        break;
    case Impl::OwnDevice:
        dev = d->device;
        break;
    }
    if (dev && dev->devType() == QInternal::Image) return static_cast<QImage*>(dev);
    return nullptr;
}

namespace {

// Sets up a painter for one drawing call and puts its state back afterwards.
class PaintScope {
public:
    explicit PaintScope(QPainter* p) : m_p(p) {
        if (m_p) {
            m_p->save();
            m_p->setRenderHint(QPainter::Antialiasing, false);
            m_p->setRenderHint(QPainter::TextAntialiasing, false);
        }
    }
    ~PaintScope() {
        if (m_p) m_p->restore();
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    QPainter* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    QPainter* m_p;
};

// One-pixel strokes with the pen's style; gaps of styled lines get the brush
// colour when the brush is solid (the old opaque background mode).
void StrokeThin(QPainter* p, const TPen& pen, const TBrush& brush, const std::vector<TPoint>& pts,
                bool closed) {
    QPainter::CompositionMode mode;
    QColor color = QtColor(pen.Color());
    if (!PenComposition(pen.Mode(), mode, color) || pts.empty()) return;
    const std::vector<int> pattern = DashPattern(pen.Style());
    QList<QPoint> on, off;
    size_t run = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    auto plot = [&](int x, int y) {
        if (pattern.empty()) {
            on.append(QPoint(x, y));
            return;
        }
        ((run % 2) == 0 ? on : off).append(QPoint(x, y));
        if (--left == 0) {
            run = (run + 1) % pattern.size();
            left = pattern[run];
        }
    };
    // Only the part of a segment near the surface is walked.
    QRectF visible(-2, -2, 4, 4);
    if (const QPaintDevice* dev = p->device()) {
        const QRect logical = p->transform().inverted().mapRect(QRect(0, 0, dev->width(), dev->height()));
        visible = QRectF(logical).adjusted(-2, -2, 2, 2);
    }
    auto segment = [&](TPoint a, TPoint b) {
        const QRectF inner = visible.adjusted(1, 1, -1, -1);
        if (inner.contains(a.x, a.y) && inner.contains(b.x, b.y)) {
            WalkLine(a, b, plot);
            return;
        }
        QPointF fa(a.x, a.y), fb(b.x, b.y);
        if (!ClipSegment(visible, fa, fb)) return;
        const bool endKept = fb == QPointF(b.x, b.y);
        const TPoint ca{qRound(fa.x()), qRound(fa.y())};
        const TPoint cb{qRound(fb.x()), qRound(fb.y())};
        WalkLine(ca, cb, plot);
        if (!endKept) plot(cb.x, cb.y); // the cut end is not the line's end
    };
    std::vector<TPoint> clamped(pts.size());
    std::transform(pts.begin(), pts.end(), clamped.begin(), [](TPoint q) { return Clamped(q); });
    for (size_t i = 0; i + 1 < clamped.size(); ++i)
        segment(clamped[i], clamped[i + 1]);
    if (closed && clamped.size() > 1) segment(clamped.back(), clamped.front());
    if (closed && on.isEmpty() && off.isEmpty()) on.append(QPoint(clamped.front().x, clamped.front().y));
    p->setCompositionMode(mode);
    p->setBrush(Qt::NoBrush);
    if (!off.isEmpty() && brush.Style() == bsSolid && pen.Mode() == pmCopy) {
        p->setPen(QPen(QtColor(brush.Color()), 1));
        p->drawPoints(off.data(), static_cast<int>(off.size()));
    }
    p->setPen(QPen(color, 1));
    if (!on.isEmpty()) p->drawPoints(on.data(), static_cast<int>(on.size()));
}

bool ThinPen(const TPen& pen) {
    return pen.Width() <= 1;
}

// Wide pens are solid with round ends, centred on the pixel centres.
QPen WidePen(const TPen& pen, QColor color) {
    return QPen(color, pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPolygonF CentredPolygon(const std::vector<TPoint>& pts) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(pts.size()));
    for (const TPoint& raw : pts) {
        const TPoint p = Clamped(raw);
        poly.append(QPointF(p.x + 0.5, p.y + 0.5));
    }
    return poly;
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

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    PaintScope p(Painter());
    if (!p || points.size() < 2 || m_pen.Style() == psClear) return;
    if (ThinPen(m_pen)) {
        StrokeThin(p.operator->(), m_pen, m_brush, points, false);
    } else {
        QPainter::CompositionMode mode;
        QColor color = QtColor(m_pen.Color());
        if (PenComposition(m_pen.Mode(), mode, color)) {
            p->setCompositionMode(mode);
            p->setPen(WidePen(m_pen, color));
            p->drawPolyline(CentredPolygon(points));
        }
    }
    if (OnChange) OnChange();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
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
            StrokeThin(p.operator->(), m_pen, m_brush, points, true);
        } else {
            p->setCompositionMode(mode);
            p->setPen(WidePen(m_pen, color));
            p->setBrush(Qt::NoBrush);
            p->drawPolygon(CentredPolygon(points));
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
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
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
        StrokeThin(painter, m_pen, m_brush,
                   {{box.Left, box.Top},
                    {box.Right - 1, box.Top},
                    {box.Right - 1, box.Bottom - 1},
                    {box.Left, box.Bottom - 1}},
                   true);
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
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    DrawArcShape(p.operator->(), m_pen, m_brush, box, x3, y3, x4, y4, ArcKind::Arc);
    if (OnChange) OnChange();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    DrawArcShape(p.operator->(), m_pen, m_brush, box, x3, y3, x4, y4, ArcKind::Pie);
    if (OnChange) OnChange();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    PaintScope p(Painter());
    const TRect box = Normalized(x1, y1, x2, y2);
    if (!p || box.IsEmpty()) return;
    DrawArcShape(p.operator->(), m_pen, m_brush, box, x3, y3, x4, y4, ArcKind::Chord);
    if (OnChange) OnChange();
}

void TCanvas::FillRect(const TRect& r) {
    PaintScope p(Painter());
    if (!p || r.IsEmpty() || m_brush.Style() == bsClear) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(ToQRect(r), QtBrush(m_brush));
    if (OnChange) OnChange();
}

void TCanvas::FrameRect(const TRect& raw) {
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

void TCanvas::FloodFill(int x, int y, TColor c, TFillStyle style) {
    PaintScope p(Painter());
    QImage* img = Image(); // after the painter opened: palette images are 32 bit then
    const QPoint seed = d->ToSurface(x, y);
    if (!p || !img || !img->rect().contains(seed) || m_brush.Style() == bsClear) return;
    x = seed.x();
    y = seed.y();
    const QRgb target = QtColor(c).rgb() & 0xFFFFFF;
    const int w = img->width(), h = img->height();
    auto matches = [&](int px, int py) {
        const bool same = (img->pixel(px, py) & 0xFFFFFF) == target;
        return style == fsSurface ? same : !same;
    };
    if (!matches(x, y)) return;
    // Scan-line fill on a mask first: the fill colour may itself match.
    std::vector<uint8_t> done(static_cast<size_t>(w) * h, 0);
    std::vector<QRect> runs;
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (done[static_cast<size_t>(sy) * w + sx] || !matches(sx, sy)) continue;
        int l = sx, r = sx;
        while (l > 0 && !done[static_cast<size_t>(sy) * w + l - 1] && matches(l - 1, sy))
            --l;
        while (r + 1 < w && !done[static_cast<size_t>(sy) * w + r + 1] && matches(r + 1, sy))
            ++r;
        for (int i = l; i <= r; ++i)
            done[static_cast<size_t>(sy) * w + i] = 1;
        runs.emplace_back(l, sy, r - l + 1, 1);
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            for (int i = l; i <= r; ++i)
                if (!done[static_cast<size_t>(ny) * w + i] && matches(i, ny)) stack.emplace_back(i, ny);
        }
    }
    const QBrush b = QtBrush(m_brush);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->resetTransform(); // the runs are surface pixels
    for (const QRect& run : runs)
        p->fillRect(run, b);
    if (OnChange) OnChange();
}

TColor TCanvas::Pixel(int x, int y) const {
    const QImage* img = Image();
    const QPoint pt = d->ToSurface(x, y);
    if (!img || !img->rect().contains(pt)) return CLR_INVALID;
    if (m_hasClip && !d->clip.contains(d->ToBase(x, y))) return CLR_INVALID;
    const QRgb v = img->pixel(pt);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    QImage* img = Image();
    if (img && !m_hasClip && Paintable(img->format()) && d->kind != Impl::Borrowed && d->origin == TPoint{}) {
        if (x >= 0 && y >= 0 && x < img->width() && y < img->height()) {
            img->setPixelColor(x, y, QtColor(c));
            if (OnChange) OnChange();
        }
        return;
    }
    PaintScope p(Painter());
    if (!p) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(QRect(x, y, 1, 1), QtColor(c));
    if (OnChange) OnChange();
}

// ---- text ------------------------------------------------------------------

int TCanvas::TextWidth(const QString& text) const {
    return TextMetrics().TextWidth(m_font, text) + d->charExtra * static_cast<int>(text.size());
}

int TCanvas::TextHeight(const QString&) const {
    return TextMetrics().Height(m_font);
}

TSize TCanvas::TextExtent(const QString& text) const {
    return {TextWidth(text), TextHeight(text)};
}

namespace {

void DrawTextAt(QPainter* p, const TFont& font, const TBrush& brush, int x, int y, const QString& text,
                const TSize& extent, int charExtra) {
    QFont qf = ToQFont(font);
    if (charExtra != 0) qf.setLetterSpacing(QFont::AbsoluteSpacing, charExtra);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->translate(x, y);
    if (font.Orientation() != 0) p->rotate(-font.Orientation() / 10.0);
    if (brush.Style() == bsSolid) p->fillRect(QRect(0, 0, extent.cx, extent.cy), QtColor(brush.Color()));
    p->setFont(qf);
    p->setPen(QtColor(font.Color()));
    p->setBrush(Qt::NoBrush);
    const QFontMetrics m(qf, p->device());
    p->drawText(QPoint(0, m.ascent()), DisplayText(font, text));
}

} // namespace

void TCanvas::TextOut(int x, int y, const QString& text) {
    const TSize extent = TextExtent(text);
    {
        PaintScope p(Painter());
        if (p && !text.isEmpty())
            DrawTextAt(p.operator->(), m_font, m_brush, x, y, text, extent, d->charExtra);
    }
    m_penPos = {Clamped(Clamped(x) + extent.cx), y};
    if (OnChange) OnChange();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
    PaintScope p(Painter());
    if (!p) return;
    p->setClipRect(ToQRect(r), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (m_brush.Style() == bsSolid) p->fillRect(ToQRect(r), QtColor(m_brush.Color()));
    TBrush clear;
    clear.SetStyle(bsClear);
    if (!text.isEmpty())
        DrawTextAt(p.operator->(), m_font, clear, x, y, text, TextExtent(text), d->charExtra);
    if (OnChange) OnChange();
}

// ---- pictures --------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, r);
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const TRect& sourceRect) {
    PaintScope p(Painter());
    if (!p || dest.Left == dest.Right || dest.Top == dest.Bottom) return;
    QPainter::CompositionMode mode;
    const CopyKind kind = CopyComposition(m_copyMode, mode);
    TRect target = dest;
    target = Clamped(target);
    const bool mirrorX = target.Width() < 0, mirrorY = target.Height() < 0;
    if (mirrorX) std::swap(target.Left, target.Right);
    if (mirrorY) std::swap(target.Top, target.Bottom);
    switch (kind) {
    case CopyKind::FillBlack:
        p->fillRect(ToQRect(target), Qt::black);
        break;
    case CopyKind::FillWhite:
        p->fillRect(ToQRect(target), Qt::white);
        break;
    case CopyKind::Brush:
        p->fillRect(ToQRect(target), QtBrush(m_brush));
        break;
    case CopyKind::InvertDest:
        p->setCompositionMode(QPainter::RasterOp_NotDestination);
        p->fillRect(ToQRect(target), Qt::white);
        break;
    case CopyKind::Image: {
        const TRect srcRaw = Clamped(sourceRect);
        if (image.isNull() || srcRaw.Width() == 0 || srcRaw.Height() == 0) break;
        const TRect src = Normalized(srcRaw.Left, srcRaw.Top, srcRaw.Right, srcRaw.Bottom);
        const bool flipX = mirrorX != (srcRaw.Width() < 0), flipY = mirrorY != (srcRaw.Height() < 0);
        // Only the part of the source inside the image is read; the target
        // shrinks in proportion.
        const QRect inside = ToQRect(src).intersected(image.rect());
        if (inside.isEmpty()) break;
        const double sx = static_cast<double>(target.Width()) / src.Width();
        const double sy = static_cast<double>(target.Height()) / src.Height();
        const int cutLeft = flipX ? src.Right - (inside.right() + 1) : inside.left() - src.Left;
        const int cutTop = flipY ? src.Bottom - (inside.bottom() + 1) : inside.top() - src.Top;
        const QRectF dest(target.Left + cutLeft * sx, target.Top + cutTop * sy, inside.width() * sx,
                          inside.height() * sy);
        QImage part = image.copy(inside);
        if (flipX || flipY) part = part.mirrored(flipX, flipY);
        p->setCompositionMode(mode);
        p->drawImage(dest, part);
        break;
    }
    }
    if (OnChange) OnChange();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    const QImage* img = source.Image();
    if (!img) return;
    // Copying within one canvas reads a snapshot of the source.
    const QImage snapshot = img->copy();
    DrawImage(dest, snapshot, sourceRect);
}

void BitBlt(TCanvas& dest, int x, int y, int w, int h, TCanvas& source, int sx, int sy, TCopyMode rop) {
    const TCopyMode keep = dest.CopyMode();
    dest.SetCopyMode(rop);
    dest.CopyRect(Bounds(x, y, w, h), source, Bounds(sx, sy, w, h));
    dest.SetCopyMode(keep);
}

void StretchBlt(TCanvas& dest, int x, int y, int w, int h, TCanvas& source, int sx, int sy, int sw, int sh,
                TCopyMode rop) {
    const TCopyMode keep = dest.CopyMode();
    dest.SetCopyMode(rop);
    dest.CopyRect(Bounds(x, y, w, h), source, Bounds(sx, sy, sw, sh));
    dest.SetCopyMode(keep);
}

// ---- clipping --------------------------------------------------------------

void TCanvas::ApplyState() {
    QPainter* p = d->kind == Impl::Borrowed ? d->borrowed : d->own.get();
    if (!p || !p->isActive()) return;
    p->setTransform(d->base);
    if (m_hasClip)
        p->setClipRegion(d->clip);
    else if (d->kind == Impl::Borrowed && d->borrowedHadClip)
        p->setClipRegion(d->borrowedClip);
    else
        p->setClipping(false);
    p->setTransform(QTransform::fromTranslate(-d->origin.x, -d->origin.y) * d->base);
}

void TCanvas::SetClipRegion(const QRegion& region) {
    d->clip = region.translated(-d->origin.x, -d->origin.y);
    m_hasClip = true;
    ApplyState();
}

void TCanvas::SetClipRect(const TRect& r) {
    SetClipRegion(QRegion(ToQRect(r)));
}

void TCanvas::SetClipEllipse(const TRect& r) {
    // Row by row: a pixel belongs to the region when its centre lies inside
    // the ellipse of the box.
    const TRect box = Normalized(r.Left, r.Top, r.Right, r.Bottom);
    const double cx = (box.Left + box.Right) / 2.0, cy = (box.Top + box.Bottom) / 2.0;
    const double rx = box.Width() / 2.0, ry = box.Height() / 2.0;
    QRegion region;
    QRect pending;
    const int firstRow = std::max(box.Top, -65536), endRow = std::min(box.Bottom, 65536);
    for (int y = firstRow; rx > 0 && ry > 0 && y < endRow; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        QRect row;
        if (dy * dy < 1.0) {
            const double dx = rx * std::sqrt(1.0 - dy * dy);
            const int left = static_cast<int>(std::ceil(cx - dx - 0.5));
            const int right = static_cast<int>(std::floor(cx + dx - 0.5));
            if (right >= left) row = QRect(left, y, right - left + 1, 1);
        }
        if (!pending.isNull() && !row.isNull() && row.left() == pending.left() &&
            row.right() == pending.right()) {
            pending.setBottom(y);
            continue;
        }
        if (!pending.isNull()) region += pending;
        pending = row;
    }
    if (!pending.isNull()) region += pending;
    SetClipRegion(region);
}

void TCanvas::IntersectClipRect(const TRect& r) {
    const QRegion rect(ToQRect(r).translated(-d->origin.x, -d->origin.y));
    d->clip = m_hasClip ? d->clip.intersected(rect) : rect;
    m_hasClip = true;
    ApplyState();
}

void TCanvas::ReleaseClip() {
    m_hasClip = false;
    d->clip = QRegion();
    ApplyState();
}

TRect TCanvas::ClipRect() const {
    if (m_hasClip) {
        const QRect b = d->clip.boundingRect().translated(d->origin.x, d->origin.y);
        return Bounds(b.x(), b.y(), b.width(), b.height());
    }
    const QPaintDevice* dev = nullptr;
    if (d->kind == Impl::OwnImage)
        dev = d->image;
    else if (d->kind == Impl::Borrowed)
        dev = d->borrowed->device();
    else
        dev = d->device;
    if (!dev) return {};
    return Bounds(d->origin.x, d->origin.y, dev->width(), dev->height());
}

TPoint TCanvas::WindowOrg() const {
    return d->origin;
}

void TCanvas::SetWindowOrg(int x, int y) {
    d->origin = {x, y};
    ApplyState();
}

void TCanvas::SaveState() {
    d->saved.push_back({m_hasClip, d->clip, d->origin});
}

void TCanvas::RestoreState() {
    if (d->saved.empty()) return;
    const Impl::Saved s = d->saved.back();
    d->saved.pop_back();
    m_hasClip = s.hasClip;
    d->clip = s.clip;
    d->origin = s.origin;
    ApplyState();
}

namespace {

int SurfaceDpi(const QPaintDevice* dev, bool x) {
    if (dev && dev->devType() == QInternal::Printer) return x ? dev->logicalDpiX() : dev->logicalDpiY();
    return 96;
}

} // namespace

int TCanvas::PixelsPerInchX() const {
    const QPaintDevice* dev = d->kind == Impl::Borrowed ? d->borrowed->device() : d->device;
    return SurfaceDpi(dev, true);
}

int TCanvas::PixelsPerInchY() const {
    const QPaintDevice* dev = d->kind == Impl::Borrowed ? d->borrowed->device() : d->device;
    return SurfaceDpi(dev, false);
}

int TCanvas::TextCharacterExtra() const {
    return d->charExtra;
}

void TCanvas::SetTextCharacterExtra(int extra) {
    d->charExtra = extra;
}
