#include "imaging/BitmapToDIB.h"

#include "imaging/ColorReduction.h"

#include "platform/Dialogs.h"

#include <QGuiApplication>
#include <QtEndian>

#include <algorithm>
#include <array>

uint8_t DefaultColorReduction = rmMostFrequent;

namespace {

constexpr int kLevels4[4] = {0, 85, 170, 255};
constexpr int kLevels6[6] = {0, 51, 102, 153, 204, 255};
constexpr int kLevels7[7] = {0, 43, 85, 128, 170, 213, 255};
constexpr int kLevels8[8] = {0, 36, 73, 109, 146, 182, 219, 255};

// Byte value -> index of the nearest level; the first level wins a tie.
template <size_t N>
std::array<uint8_t, 256> NearestLevel(const int (&levels)[N]) {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        size_t best = 0;
        for (size_t i = 1; i < N; ++i)
            if (std::abs(levels[i] - v) < std::abs(levels[best] - v)) best = i;
        table[size_t(v)] = uint8_t(best);
    }
    return table;
}

const std::array<uint8_t, 256> kNear4 = NearestLevel(kLevels4);
const std::array<uint8_t, 256> kNear6 = NearestLevel(kLevels6);
const std::array<uint8_t, 256> kNear7 = NearestLevel(kLevels7);
const std::array<uint8_t, 256> kNear8 = NearestLevel(kLevels8);

int BytesPerLine(int width, int bits) { return ((width * bits) + 31) / 32 * 4; }

QByteArray WriteDIB(int w, int h, const std::vector<uint8_t>& indices, const QList<QRgb>& palette, int colorsUsed) {
    const int line = BytesPerLine(w, 8);
    const int header = 14 + 40 + 256 * 4;
    QByteArray out(header + qsizetype(line) * h, '\0');
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<uint32_t>(uint32_t(out.size()), p + 2);
    qToLittleEndian<uint32_t>(uint32_t(header), p + 10);
    char* info = p + 14;
    qToLittleEndian<uint32_t>(40, info);
    qToLittleEndian<int32_t>(w, info + 4);
    qToLittleEndian<int32_t>(h, info + 8);
    qToLittleEndian<uint16_t>(1, info + 12);
    qToLittleEndian<uint16_t>(8, info + 14);
    qToLittleEndian<uint32_t>(uint32_t(line * h), info + 20);
    qToLittleEndian<uint32_t>(uint32_t(colorsUsed), info + 32);
    auto* table = reinterpret_cast<uint8_t*>(p + 54);
    for (int i = 0; i < 256 && i < palette.size(); ++i) {
        table[i * 4] = uint8_t(qBlue(palette[i]));
        table[i * 4 + 1] = uint8_t(qGreen(palette[i]));
        table[i * 4 + 2] = uint8_t(qRed(palette[i]));
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(indices.begin() + ptrdiff_t(y) * w, w, reinterpret_cast<uint8_t*>(p + header) + ptrdiff_t(h - 1 - y) * line);
    return out;
}

struct Cell {
    uint8_t c[3];
    uint32_t count;
};

// Median cut over the 4096 cells of the high four bits of red, green, blue.
int MedianCut(const QImage& img, std::vector<uint8_t>& indices, QList<QRgb>& palette) {
    std::vector<uint32_t> histogram(4096, 0);
    auto cellOf = [](QRgb c) { return (qRed(c) >> 4) << 8 | (qGreen(c) >> 4) << 4 | (qBlue(c) >> 4); };
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) ++histogram[size_t(cellOf(line[x]))];
    }
    std::vector<Cell> cells;
    for (int i = 0; i < 4096; ++i)
        if (histogram[size_t(i)]) cells.push_back({{uint8_t(i >> 8), uint8_t(i >> 4 & 15), uint8_t(i & 15)}, histogram[size_t(i)]});
    struct Box {
        size_t first, last; // cells [first, last)
    };
    std::vector<Box> boxes;
    if (!cells.empty()) boxes.push_back({0, cells.size()});
    while (boxes.size() < 256) {
        int bestBox = -1, bestChannel = 0, bestExtent = -1;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].last - boxes[b].first < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 15, hi = 0;
                for (size_t i = boxes[b].first; i < boxes[b].last; ++i) {
                    lo = std::min<int>(lo, cells[i].c[ch]);
                    hi = std::max<int>(hi, cells[i].c[ch]);
                }
                if (hi - lo > bestExtent) {
                    bestExtent = hi - lo;
                    bestBox = int(b);
                    bestChannel = ch;
                }
            }
        }
        if (bestBox < 0) break;
        Box& box = boxes[size_t(bestBox)];
        std::stable_sort(cells.begin() + ptrdiff_t(box.first), cells.begin() + ptrdiff_t(box.last),
                         [&](const Cell& a, const Cell& b) { return a.c[bestChannel] < b.c[bestChannel]; });
        uint64_t total = 0;
        for (size_t i = box.first; i < box.last; ++i) total += cells[i].count;
        uint64_t running = 0;
        size_t split = box.first + 1;
        for (size_t i = box.first; i < box.last; ++i) {
            running += cells[i].count;
            if (running * 2 >= total) {
                split = i + 1;
                break;
            }
        }
        split = std::clamp(split, box.first + 1, box.last - 1);
        const Box upper{split, box.last};
        box.last = split;
        boxes.push_back(upper);
    }
    palette.fill(qRgb(0, 0, 0), 256);
    std::vector<uint8_t> boxOfCell(4096, 0);
    for (size_t b = 0; b < boxes.size(); ++b) {
        uint32_t sum[3] = {0, 0, 0};
        const uint32_t n = uint32_t(boxes[b].last - boxes[b].first);
        for (size_t i = boxes[b].first; i < boxes[b].last; ++i) {
            for (int ch = 0; ch < 3; ++ch) sum[ch] += cells[i].c[ch];
            boxOfCell[size_t(cells[i].c[0] << 8 | cells[i].c[1] << 4 | cells[i].c[2])] = uint8_t(b);
        }
        int v[3];
        for (int ch = 0; ch < 3; ++ch) v[ch] = int((sum[ch] * 16 + 15) / n);
        if (v[0] <= 16 && v[1] <= 16 && v[2] <= 16) v[0] = v[1] = v[2] = 0;
        palette[int(b)] = qRgb(v[0], v[1], v[2]);
    }
    indices.resize(size_t(img.width()) * size_t(img.height()));
    size_t k = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) indices[k++] = boxOfCell[size_t(cellOf(line[x]))];
    }
    return int(boxes.size());
}

} // namespace

void NotImplemented() {
    QGuiApplication::restoreOverrideCursor();
    MessageDlg(QStringLiteral("Function not yet implemented"), mtInformation, mbOK);
    throw EAbort();
}

QByteArray BitmapToDIBStream(const TBitmap& bitmap, TPixelFormat format, uint8_t method) {
    if (bitmap.Empty()) throw EInvalidGraphic("Bitmap ist ungültig");
    if (format == bitmap.PixelFormat() && method != rmGrayScale) return bitmap.SaveToStream();
    if (format == pf1bit || format == pf4bit) {
        TBitmap copy(bitmap.Image());
        copy.SetPixelFormat(format);
        return copy.SaveToStream();
    }
    // Eight bits are made from true-colour pixels of 24 bits only.
    if (format != pf8bit || bitmap.PixelFormat() != pf24bit) NotImplemented();

    const QImage img = bitmap.Image().convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    std::vector<uint8_t> indices(size_t(w) * size_t(h));
    QList<QRgb> palette(256, qRgb(0, 0, 0));
    int used = 0;
    auto eachPixel = [&](auto&& indexOf) {
        size_t k = 0;
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x) indices[k++] = uint8_t(indexOf(x, y, qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
        }
    };
    switch (method) {
    case rmMostFrequent: {
        TReducedImage r = ReduceMostFrequentColors(img, 256);
        indices = std::move(r.Indices);
        palette = r.Palette;
        break;
    }
    case rmMedianCut:
        used = MedianCut(img, indices, palette);
        break;
    case rmFixed784:
        for (int r = 0; r < 7; ++r)
            for (int g = 0; g < 8; ++g)
                for (int b = 0; b < 4; ++b) palette[(r * 8 + g) * 4 + b] = qRgb(kLevels7[r], kLevels8[g], kLevels4[b]);
        eachPixel([](int, int, int r, int g, int b) { return (kNear7[size_t(r)] * 8 + kNear8[size_t(g)]) * 4 + kNear4[size_t(b)]; });
        used = 224;
        break;
    case rmColorCube666:
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) palette[(r * 6 + g) * 6 + b] = qRgb(kLevels6[r], kLevels6[g], kLevels6[b]);
        eachPixel([](int, int, int r, int g, int b) { return (kNear6[size_t(r)] * 6 + kNear6[size_t(g)]) * 6 + kNear6[size_t(b)]; });
        used = 216;
        break;
    case rmStripes:
        for (int i = 0; i < 64; ++i) {
            palette[i] = qRgb(i * 4, 0, 0);
            palette[64 + i] = qRgb(0, i * 4, 0);
            palette[128 + i] = qRgb(0, 0, i * 4);
        }
        eachPixel([](int x, int y, int r, int g, int b) {
            switch ((x + y) % 3) {
            case 0: return r / 4;
            case 1: return 64 + g / 4;
            default: return 128 + b / 4;
            }
        });
        break;
    case rmGrayScale:
        for (int i = 0; i < 256; ++i) palette[i] = qRgb(i, i, i);
        eachPixel([](int, int, int r, int g, int b) { return (r * 77 + g * 150 + b * 29) >> 8; });
        break;
    default:
        NotImplemented();
    }
    return WriteDIB(w, h, indices, palette, used);
}

QByteArray ReduceBitmapColors(const TBitmap& bitmap, int colors) {
    const TPixelFormat f = colors <= 2 ? pf1bit : colors <= 16 ? pf4bit : colors <= 256 ? pf8bit : pf24bit;
    return BitmapToDIBStream(bitmap, f, DefaultColorReduction);
}
