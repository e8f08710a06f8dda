// The canvas's surface and state: painters, pixels, pictures, clipping and
// the logical origin.
#include "platform/CanvasState.h"

#include "platform/Pictures.h"

#include <QPaintDevice>

#include <cstdint>
#include <utility>
#include <vector>

using namespace CanvasRules;

namespace {

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
    d->FlushHeld();
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
    d->FlushHeld();
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
    QPainter* p = OpenPainter();
    // Whoever draws next draws over the lines held back.
    d->FlushHeld();
    return p;
}

void TCanvas::Flush() {
    d->FlushHeld();
}

QPainter* TCanvas::OpenPainter() {
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

// ---- pixels ----------------------------------------------------------------

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
    if (d->recorder) return d->recorder->Pixel(*this, x, y, c);
    QImage* img = Image();
    if (img && !m_hasClip && Paintable(img->format()) && d->kind != Impl::Borrowed && d->origin == TPoint{}) {
        if (x >= 0 && y >= 0 && x < img->width() && y < img->height()) {
            const QColor q = QtColor(c);
            const QImage::Format f = img->format();
            // An opaque colour is the same word in these formats: written
            // directly, a dotted grid line costs little.
            if (q.alpha() == 255 && (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
                                     f == QImage::Format_ARGB32_Premultiplied))
                reinterpret_cast<QRgb*>(img->scanLine(y))[x] = q.rgba();
            else
                img->setPixelColor(x, y, q);
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

// ---- pictures --------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    if (d->recorder)
        return d->recorder->Picture(*this, Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    if (d->recorder) return d->recorder->Picture(*this, r, graphic);
    graphic.Draw(*this, r);
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const TRect& sourceRect) {
    if (d->recorder) return d->recorder->Image(*this, dest, image, sourceRect);
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
        p->setCompositionMode(mode);
        if (!flipX && !flipY && target.Width() == src.Width() && target.Height() == src.Height()) {
            // One to one: straight from the source, without a copy of the part.
            p->drawImage(QPoint(target.Left + cutLeft, target.Top + cutTop), image, inside);
            break;
        }
        QImage part = image.copy(inside);
        if (flipX || flipY) part = part.mirrored(flipX, flipY);
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
    if (d->recorder) d->recorder->State(*this, m_hasClip, d->clip, d->origin);
    d->FlushHeld(); // held lines keep the origin and clip they came with
    QPainter* p = d->Current();
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
