#include "imaging/ColorReduction.h"

#include "platform/Graphics.h"
#include "platform/Pictures.h"

#include <algorithm>

namespace {

constexpr int kHashSlots = 5191;
constexpr int kMaxDistinct = 2049;

struct CountedColor {
    uint32_t rgb = 0; // masked 0xRRGGBB
    uint32_t count = 0;
};

int HashOf(int r, int g, int b) { return int((int64_t(r + g) * (g + b) * (b + r)) % kHashSlots); }

// Counts the masked colours; false when more than kMaxDistinct were met.
// Pixels of the colour `skip` (0xRRGGBB, or above 0xFFFFFF for none) are not counted.
bool CountColors(const QImage& img, int rm, int gm, int bm, uint32_t skip, std::vector<int>& slotTable,
                 std::vector<CountedColor>& colors) {
    std::fill(slotTable.begin(), slotTable.end(), -1);
    colors.clear();
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == skip) continue;
            const int r = qRed(line[x]) & rm, g = qGreen(line[x]) & gm, b = qBlue(line[x]) & bm;
            const uint32_t key = uint32_t(r << 16 | g << 8 | b);
            int s = HashOf(r, g, b);
            while (slotTable[size_t(s)] >= 0 && colors[size_t(slotTable[size_t(s)])].rgb != key)
                if (++s == kHashSlots) s = 0;
            if (slotTable[size_t(s)] >= 0) {
                ++colors[size_t(slotTable[size_t(s)])].count;
                continue;
            }
            if (int(colors.size()) == kMaxDistinct) return false;
            slotTable[size_t(s)] = int(colors.size());
            colors.push_back({key, 1});
        }
    }
    return true;
}

int SlotOf(const std::vector<int>& slotTable, const std::vector<CountedColor>& colors, uint32_t key) {
    int s = HashOf(int(key >> 16), int(key >> 8 & 0xFF), int(key & 0xFF));
    while (colors[size_t(slotTable[size_t(s)])].rgb != key)
        if (++s == kHashSlots) s = 0;
    return slotTable[size_t(s)];
}

} // namespace

TReducedImage ReduceMostFrequentColors(const QImage& image, int paletteSize, TColor transparent) {
    TReducedImage out;
    paletteSize = std::clamp(paletteSize, 1, 256);
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    constexpr uint32_t kNoColour = 0xFFFFFFFFu;
    uint32_t skip = kNoColour;
    if (transparent != clNone) {
        const TColor c = ColorToRGB(transparent);
        skip = uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    }
    int rm = 255, gm = 255, bm = 255;
    std::vector<int> slotTable(kHashSlots);
    std::vector<CountedColor> colors;
    while (!CountColors(img, rm, gm, bm, skip, slotTable, colors)) {
        if (rm < gm)
            gm &= gm - 1;
        else if (rm <= bm)
            bm &= bm - 1;
        else
            rm &= rm - 1;
    }

    std::vector<size_t> order(colors.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return colors[a].count > colors[b].count; });
    out.Palette.fill(qRgb(128, 128, 128), paletteSize);
    const int counted = skip == kNoColour ? paletteSize : std::max(paletteSize - 1, 0);
    const int used = std::min<int>(counted, int(order.size()));
    for (int i = 0; i < used; ++i) {
        const uint32_t c = colors[order[size_t(i)]].rgb;
        out.Palette[i] = qRgb(int(c >> 16), int(c >> 8 & 0xFF), int(c & 0xFF));
    }
    if (skip != kNoColour) {
        out.TransparentIndex = std::min(used, paletteSize - 1);
        out.Palette[out.TransparentIndex] = qRgb(int(skip >> 16), int(skip >> 8 & 0xFF), int(skip & 0xFF));
    }

    std::vector<uint8_t> nearest(colors.size());
    for (size_t i = 0; i < colors.size(); ++i) {
        const int r = int(colors[i].rgb >> 16), g = int(colors[i].rgb >> 8 & 0xFF), b = int(colors[i].rgb & 0xFF);
        int best = 0;
        int bestDist = INT32_MAX;
        for (int p = 0; p < paletteSize; ++p) {
            if (p == out.TransparentIndex && paletteSize > 1) continue;
            const int dr = r - qRed(out.Palette[p]), dg = g - qGreen(out.Palette[p]), db = b - qBlue(out.Palette[p]);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDist) {
                bestDist = d;
                best = p;
            }
        }
        nearest[i] = uint8_t(best);
    }

    out.Indices.resize(size_t(img.width()) * size_t(img.height()));
    size_t k = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == skip) {
                out.Indices[k++] = uint8_t(out.TransparentIndex);
                continue;
            }
            const uint32_t key = uint32_t((qRed(line[x]) & rm) << 16 | (qGreen(line[x]) & gm) << 8 | (qBlue(line[x]) & bm));
            out.Indices[k++] = nearest[size_t(SlotOf(slotTable, colors, key))];
        }
    }
    return out;
}

void DrawBitmapMasked(TCanvas& canvas, const TBitmap& bitmap, TColor transparentColor, int destX, int destY,
                      int destW, int destH, int srcX, int srcY, int srcW, int srcH) {
    if (bitmap.Empty()) return;
    if (destW <= 0) destW = bitmap.Width();
    if (destH <= 0) destH = bitmap.Height();
    if (srcW <= 0 || srcH <= 0) {
        srcX = 0;
        srcY = 0;
        srcW = bitmap.Width();
        srcH = bitmap.Height();
    }
    const TRect dest{destX, destY, destX + destW, destY + destH};
    const TRect src{srcX, srcY, srcX + srcW, srcY + srcH};
    const QImage& image = bitmap.Image();
    if (transparentColor == clNone) {
        canvas.DrawImage(dest, image, src);
        return;
    }
    QRgb key;
    if (bitmap.Monochrome())
        key = qRgb(255, 255, 255);
    else if (transparentColor == clDefault)
        key = image.pixel(0, image.height() - 1) | 0xFF000000u;
    else {
        const TColor c = ColorToRGB(transparentColor);
        key = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
    // The mask is the alpha channel: the left-out colour becomes clear.
    canvas.DrawImage(dest, ImageWithoutColor(image, key), src);
}

QImage ImageWithoutColor(const QImage& image, QRgb key) {
    QImage work = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < work.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(work.scanLine(y));
        for (int x = 0; x < work.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
    return work;
}

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }
