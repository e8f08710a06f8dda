// Qt SVG smooths every line it draws, and a line one pixel wide between two
// rows of pixels comes out as two grey rows. The system draws the thin pens
// of a metafile as solid lines through whole pixels. So where the SVG holds
// hairlines, a paint engine of our own stands between Qt SVG and the
// picture's painter: it passes every state and every drawing on as it
// comes, and draws the hairline pens (cosmetic ones, which only the
// conversion's marks give) itself, without smoothing, one device pixel wide
// through the centres of the pixels their points fall into.
#include "platform/MetafileRaster.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace {

// The centre of the pixel a device coordinate falls into: the pixel whose
// left (top) edge lies nearest.
double Centre(double V) {
    return std::floor(V + 0.5) + 0.5;
}

// Inside the right (bottom) edge of a figure: the centre of the pixel before
// the nearest edge, not before the first pixel.
double InsideEnd(double V, double StartCentre) {
    return std::max(StartCentre, std::floor(V + 0.5) - 0.5);
}

class THairlineEngine final : public QPaintEngine {
public:
    explicit THairlineEngine(QImage& Target) : QPaintEngine(AllFeatures), m_target(Target) {}

    bool begin(QPaintDevice*) override { return m_painter.begin(&m_target); }
    bool end() override { return m_painter.end(); }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& S) override {
        const DirtyFlags f = S.state();
        // The transformation first: a clip is given in the coordinates it sets.
        if (f & DirtyTransform) {
            m_transform = S.transform();
            m_painter.setTransform(m_transform);
        }
        if (f & DirtyPen) {
            m_pen = S.pen();
            m_painter.setPen(m_pen);
        }
        if (f & DirtyBrush) {
            m_brush = S.brush();
            m_painter.setBrush(m_brush);
        }
        if (f & DirtyBrushOrigin) m_painter.setBrushOrigin(S.brushOrigin());
        if (f & DirtyFont) m_painter.setFont(S.font());
        if (f & DirtyBackground) m_painter.setBackground(S.backgroundBrush());
        if (f & DirtyBackgroundMode) m_painter.setBackgroundMode(S.backgroundMode());
        if (f & DirtyClipRegion) m_painter.setClipRegion(S.clipRegion(), S.clipOperation());
        if (f & DirtyClipPath) m_painter.setClipPath(S.clipPath(), S.clipOperation());
        if (f & DirtyClipEnabled) m_painter.setClipping(S.isClipEnabled());
        if (f & DirtyHints) {
            m_painter.setRenderHints(~S.renderHints(), false);
            m_painter.setRenderHints(S.renderHints(), true);
        }
        if (f & DirtyCompositionMode) m_painter.setCompositionMode(S.compositionMode());
        if (f & DirtyOpacity) m_painter.setOpacity(S.opacity());
    }

    void drawRects(const QRectF* Rects, int Count) override {
        if (!Hairline()) return m_painter.drawRects(Rects, Count);
        Fill([&] { m_painter.drawRects(Rects, Count); });
        for (int i = 0; i < Count; ++i)
            Figure(Rects[i], false);
    }

    void drawEllipse(const QRectF& Rect) override {
        if (!Hairline()) return m_painter.drawEllipse(Rect);
        Fill([&] { m_painter.drawEllipse(Rect); });
        Figure(Rect, true);
    }

    void drawPath(const QPainterPath& Path) override {
        if (!Hairline()) return m_painter.drawPath(Path);
        Fill([&] { m_painter.drawPath(Path); });
        Snapped(m_transform.map(Path));
    }

    void drawPolygon(const QPointF* Points, int Count, PolygonDrawMode Mode) override {
        const auto draw = [&] {
            switch (Mode) {
            case PolylineMode:
                return m_painter.drawPolyline(Points, Count);
            case ConvexMode:
                return m_painter.drawConvexPolygon(Points, Count);
            default:
                return m_painter.drawPolygon(Points, Count,
                                             Mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
            }
        };
        if (!Hairline()) return draw();
        if (Count < 1) return;
        if (Mode != PolylineMode) Fill(draw);
        QPainterPath line(Points[0]);
        for (int i = 1; i < Count; ++i)
            line.lineTo(Points[i]);
        if (Mode != PolylineMode) line.closeSubpath();
        Snapped(m_transform.map(line));
    }

    void drawLines(const QLineF* Lines, int Count) override {
        if (!Hairline()) return m_painter.drawLines(Lines, Count);
        QPainterPath lines;
        for (int i = 0; i < Count; ++i) {
            lines.moveTo(Lines[i].p1());
            lines.lineTo(Lines[i].p2());
        }
        Snapped(m_transform.map(lines));
    }

    void drawPoints(const QPointF* Points, int Count) override { m_painter.drawPoints(Points, Count); }

    void drawPixmap(const QRectF& Rect, const QPixmap& Pixmap, const QRectF& Source) override {
        m_painter.drawPixmap(Rect, Pixmap, Source);
    }
    void drawTiledPixmap(const QRectF& Rect, const QPixmap& Pixmap, const QPointF& Offset) override {
        m_painter.drawTiledPixmap(Rect, Pixmap, Offset);
    }
    void drawImage(const QRectF& Rect, const QImage& Image, const QRectF& Source,
                   Qt::ImageConversionFlags Flags) override {
        m_painter.drawImage(Rect, Image, Source, Flags);
    }

    // Text goes on as it comes. (Were Qt SVG to underline it, the painter
    // here would draw the line once more after the caller's painter.)
    void drawTextItem(const QPointF& At, const QTextItem& Item) override { m_painter.drawTextItem(At, Item); }

private:
    bool Hairline() const { return m_pen.style() != Qt::NoPen && m_pen.isCosmetic() && m_pen.widthF() <= 1; }

    // The inside of a figure, smoothed as before, without its outline.
    template <typename Draw> void Fill(Draw&& D) {
        if (m_brush.style() == Qt::NoBrush) return;
        m_painter.setPen(Qt::NoPen);
        D();
        m_painter.setPen(m_pen);
    }

    // A line through device pixels, without smoothing.
    void Stroke(const QPainterPath& Device) {
        QPen pen = m_pen;
        pen.setWidth(1);
        m_painter.save();
        m_painter.resetTransform();
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(Device);
        m_painter.restore();
    }

    // A line whose points (in device coordinates) go to the centres of their pixels.
    void Snapped(QPainterPath Device) {
        for (int i = 0; i < Device.elementCount(); ++i) {
            const QPainterPath::Element e = Device.elementAt(i);
            Device.setElementPositionAt(i, Centre(e.x), Centre(e.y));
        }
        Stroke(Device);
    }

    // The outline of a rectangle or an ellipse lies inside its right and
    // bottom edges, as the system draws figures; a turned one is a line.
    void Figure(const QRectF& Rect, bool Ellipse) {
        QPainterPath outline;
        if (m_transform.type() > QTransform::TxScale) {
            Ellipse ? outline.addEllipse(Rect) : outline.addRect(Rect);
            return Snapped(m_transform.map(outline));
        }
        const QRectF d = m_transform.mapRect(Rect).normalized();
        const double l = Centre(d.left()), t = Centre(d.top());
        const QRectF inside(QPointF(l, t), QPointF(InsideEnd(d.right(), l), InsideEnd(d.bottom(), t)));
        Ellipse ? outline.addEllipse(inside) : outline.addRect(inside);
        Stroke(outline);
    }

    QImage& m_target;
    QPainter m_painter;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
};

// The picture's image as Qt SVG's device, drawn through the engine above.
class THairlineDevice final : public QPaintDevice {
public:
    explicit THairlineDevice(QImage& Target) : m_target(Target), m_engine(Target) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric Metric) const override {
        switch (Metric) {
        case PdmWidth:
            return m_target.width();
        case PdmHeight:
            return m_target.height();
        case PdmWidthMM:
            return m_target.widthMM();
        case PdmHeightMM:
            return m_target.heightMM();
        case PdmNumColors:
            return m_target.colorCount();
        case PdmDepth:
            return m_target.depth();
        case PdmDpiX:
            return m_target.logicalDpiX();
        case PdmDpiY:
            return m_target.logicalDpiY();
        case PdmPhysicalDpiX:
            return m_target.physicalDpiX();
        case PdmPhysicalDpiY:
            return m_target.physicalDpiY();
        case PdmDevicePixelRatio:
            return static_cast<int>(m_target.devicePixelRatio());
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(m_target.devicePixelRatio() * devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(Metric);
        }
    }

private:
    QImage& m_target;
    mutable THairlineEngine m_engine;
};

} // namespace

void RasterizeMetafileSvg(const QByteArray& Svg, const QRectF& Place, QImage& Image) {
    Image.fill(Qt::transparent);
    QSvgRenderer renderer(Svg);
    const double w = Image.width(), h = Image.height();
    const QRectF target(Place.x() * w, Place.y() * h, Place.width() * w, Place.height() * h);
    const auto render = [&](QPaintDevice& Device) {
        QPainter p(&Device);
        // Drawings look as their makers meant them: with smooth edges.
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        renderer.render(&p, target);
    };
    if (!Svg.contains(MetafileHairline)) return render(Image);
    THairlineDevice device(Image);
    render(device);
}
