#include "platform/ImageList.h"

#include "platform/Graphics.h"
#include "platform/Pictures.h"

#include <QPainter>

#include <algorithm>

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
    m_freeNotify.Notify(this);
}

void TCustomImageList::SetWidth(int w) {
    SetSize(w, m_height);
}

void TCustomImageList::SetHeight(int h) {
    SetSize(m_width, h);
}

void TCustomImageList::SetSize(int w, int h) {
    w = std::max(1, w);
    h = std::max(1, h);
    if (w == m_width && h == m_height) return;
    m_width = w;
    m_height = h;
    m_images.clear();
    Changed();
}

int TCustomImageList::AddImages(const QImage& source, const QImage& alphaMask) {
    if (source.isNull()) return -1;
    const int first = Count();
    // Whole images only; a narrower picture still gives one (padded clear).
    const int n = std::max(1, source.width() / m_width);
    for (int k = 0; k < n; ++k) {
        QImage img(m_width, m_height, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        for (int y = 0; y < m_height && y < source.height(); ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < m_width; ++x) {
                const int sx = k * m_width + x;
                if (sx >= source.width()) break;
                const bool clear = !alphaMask.isNull() && sx < alphaMask.width() && y < alphaMask.height() &&
                                   alphaMask.pixelIndex(sx, y) != 0;
                dst[x] = clear ? 0u : (src[sx] | 0xFF000000u);
            }
        }
        m_images.push_back(std::move(img));
    }
    Changed();
    return first;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) return -1;
    const QImage src = image->ToImage().convertToFormat(QImage::Format_RGB32);
    QImage alpha;
    if (mask && !mask->Empty()) {
        // 1 = transparent where the mask is light.
        const QImage m = mask->ToImage().convertToFormat(QImage::Format_RGB32);
        alpha = QImage(m.size(), QImage::Format_Indexed8);
        alpha.setColorCount(2);
        alpha.setColor(0, qRgb(0, 0, 0));
        alpha.setColor(1, qRgb(255, 255, 255));
        for (int y = 0; y < m.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(m.constScanLine(y));
            uchar* out = alpha.scanLine(y);
            for (int x = 0; x < m.width(); ++x)
                out[x] = qGray(row[x]) >= 128 ? 1 : 0;
        }
    }
    return AddImages(src, alpha);
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    const QImage src = image->ToImage().convertToFormat(QImage::Format_RGB32);
    const TColor rgb = ColorToRGB(maskColor);
    const QRgb key = qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)) & 0x00FFFFFFu;
    QImage alpha(src.size(), QImage::Format_Indexed8);
    alpha.setColorCount(2);
    alpha.setColor(0, qRgb(0, 0, 0));
    alpha.setColor(1, qRgb(255, 255, 255));
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uchar* out = alpha.scanLine(y);
        for (int x = 0; x < src.width(); ++x)
            out[x] = (maskColor != clNone && (row[x] & 0x00FFFFFFu) == key) ? 1 : 0;
    }
    return AddImages(src, alpha);
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    m_images.erase(m_images.begin() + index);
    Changed();
}

void TCustomImageList::Clear() {
    if (m_images.empty()) return;
    m_images.clear();
    Changed();
}

QImage TCustomImageList::Image(int index) const {
    if (index < 0 || index >= Count()) return {};
    return m_images[static_cast<size_t>(index)];
}

namespace {

void Paint(TCanvas* canvas, int x, int y, const QImage& img) {
    if (!canvas) return;
    QPainter* p = canvas->Painter();
    if (!p) return;
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(x, y, img);
    p->restore();
}

} // namespace

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    QImage img = m_images[static_cast<size_t>(index)];
    if (!enabled) {
        // Greyed: each visible pixel becomes a light grey of its brightness.
        for (int py = 0; py < img.height(); ++py) {
            QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(py));
            for (int px = 0; px < img.width(); ++px) {
                if (qAlpha(row[px]) == 0) continue;
                const int g = 128 + qGray(row[px]) / 2;
                row[px] = qRgba(g, g, g, qAlpha(row[px]));
            }
        }
    }
    Paint(canvas, x, y, img);
}

void TCustomImageList::DrawBlended(TCanvas* canvas, int x, int y, int index, TColor blend) const {
    if (index < 0 || index >= Count()) return;
    QImage img = m_images[static_cast<size_t>(index)];
    const TColor rgb = ColorToRGB(blend);
    const int br = GetRValue(rgb), bg = GetGValue(rgb), bb = GetBValue(rgb);
    for (int py = 0; py < img.height(); ++py) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(py));
        for (int px = 0; px < img.width(); ++px) {
            if (qAlpha(row[px]) == 0) continue;
            row[px] = qRgba((qRed(row[px]) + br) / 2, (qGreen(row[px]) + bg) / 2, (qBlue(row[px]) + bb) / 2,
                            qAlpha(row[px]));
        }
    }
    Paint(canvas, x, y, img);
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) const {
    if (!image || index < 0 || index >= Count()) return false;
    image->SetSize(m_width, m_height);
    TCanvas* c = image->Canvas();
    if (m_bkColor != clNone) {
        c->Brush()->SetColor(m_bkColor);
        c->FillRect(Rect(0, 0, m_width, m_height));
    }
    Draw(c, 0, 0, index, true);
    c->Release();
    return true;
}

void TCustomImageList::Changed() {
    if (OnChange) OnChange();
}
