#include "platform/Icon.h"

#include "platform/Graphics.h"
#include "platform/LittleEndian.h"

namespace {

constexpr int kDirHeader = 6;
constexpr int kDirEntry = 16;
constexpr int kInfoHeader = 40;

int Stride(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

// A device-independent bitmap image of an icon: the colour (XOR) rows and
// the AND mask below them, both bottom-up. Null when malformed.
QImage DecodeDib(const QByteArray& image) {
    if (image.size() < kInfoHeader) return QImage();
    const uint32_t headerSize = ReadLe32(image, 0);
    const int32_t width = int32_t(ReadLe32(image, 4));
    const int32_t doubled = int32_t(ReadLe32(image, 8));
    const int bits = ReadLe16(image, 14);
    const uint32_t compression = ReadLe32(image, 16);
    uint32_t colorsUsed = ReadLe32(image, 32);
    if (headerSize < uint32_t(kInfoHeader) || headerSize > uint32_t(image.size()) || compression != 0)
        return QImage();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return QImage();
    // The height counts colour rows and mask rows.
    const int height = doubled / 2;
    if (width < 1 || height < 1 || width > TIcon::MaxSide || height > TIcon::MaxSide) return QImage();

    const int paletteSize =
        bits <= 8 ? int(colorsUsed == 0 || colorsUsed > (1u << bits) ? 1u << bits : colorsUsed) : 0;
    const qsizetype paletteAt = headerSize;
    const qsizetype pixelsAt = paletteAt + qsizetype(paletteSize) * 4;
    const qsizetype xorStride = Stride(width, bits);
    const qsizetype andStride = Stride(width, 1);
    const qsizetype andAt = pixelsAt + xorStride * height;
    if (andAt > image.size()) return QImage();
    // A 32-bit image may leave its mask out and rely on its alpha.
    const bool haveMask = andAt + andStride * height <= image.size();
    if (!haveMask && bits != 32) return QImage();

    const auto* d = reinterpret_cast<const uint8_t*>(image.constData());
    QImage out(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = d + pixelsAt + xorStride * (height - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int index = 0;
            switch (bits) {
            case 1:
                index = (row[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            case 4:
                index = (row[x >> 1] >> (x & 1 ? 0 : 4)) & 0x0F;
                break;
            case 8:
                index = row[x];
                break;
            case 24:
                line[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                continue;
            default:
                line[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
                anyAlpha = anyAlpha || row[4 * x + 3] != 0;
                continue;
            }
            const uint8_t* entry = d + paletteAt + 4 * std::min(index, paletteSize - 1);
            line[x] = qRgb(entry[2], entry[1], entry[0]);
        }
    }
    if (bits == 32 && anyAlpha) return out;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (!haveMask) {
            for (int x = 0; x < width; ++x)
                line[x] |= 0xFF000000u;
            continue;
        }
        const uint8_t* mask = d + andAt + andStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const bool clear = (mask[x >> 3] >> (7 - (x & 7))) & 1;
            line[x] = clear ? 0u : (line[x] | 0xFF000000u);
        }
    }
    return out;
}

QImage DecodeImage(const QByteArray& image) {
    if (image.startsWith("\x89PNG")) {
        QImage png;
        if (!PngChunksFit(image) || !png.loadFromData(image, "PNG") || png.width() > TIcon::MaxSide ||
            png.height() > TIcon::MaxSide)
            return QImage();
        return png.convertToFormat(QImage::Format_ARGB32);
    }
    return DecodeDib(image);
}

// A one-image icon file: 32-bit colour rows with alpha and the mask of the
// clear pixels.
QByteArray EncodeIcon(const QImage& source) {
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int xorStride = Stride(w, 32), andStride = Stride(w, 1);
    QByteArray dib;
    AppendLe32(dib, kInfoHeader);
    AppendLe32(dib, uint32_t(w));
    AppendLe32(dib, uint32_t(2 * h));
    AppendLe16(dib, 1);
    AppendLe16(dib, 32);
    AppendLe32(dib, 0);
    AppendLe32(dib, uint32_t((xorStride + andStride) * h));
    dib.append(QByteArray(16, '\0'));
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            dib.append(char(qBlue(line[x])));
            dib.append(char(qGreen(line[x])));
            dib.append(char(qRed(line[x])));
            dib.append(char(qAlpha(line[x])));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        QByteArray mask(andStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0) mask[x >> 3] = char(uint8_t(mask[x >> 3]) | (0x80 >> (x & 7)));
        dib.append(mask);
    }
    QByteArray out;
    AppendLe16(out, 0);
    AppendLe16(out, 1);
    AppendLe16(out, 1);
    out.append(char(w >= 256 ? 0 : w));
    out.append(char(h >= 256 ? 0 : h));
    out.append('\0');
    out.append('\0');
    AppendLe16(out, 1);
    AppendLe16(out, 32);
    AppendLe32(out, uint32_t(dib.size()));
    AppendLe32(out, kDirHeader + kDirEntry);
    return out + dib;
}

} // namespace

TIcon::TIcon() {
    SetTransparent(true);
}

TIcon::~TIcon() = default;

bool TIcon::ReadDirectory(const QByteArray& data, int& type, std::vector<TIconDirEntry>& entries) {
    entries.clear();
    if (data.size() < kDirHeader || ReadLe16(data, 0) != 0) return false;
    type = ReadLe16(data, 2);
    const int count = ReadLe16(data, 4);
    if ((type != 1 && type != 2) || count < 1 || count > MaxImages) return false;
    if (data.size() < kDirHeader + qsizetype(count) * kDirEntry) return false;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = kDirHeader + qsizetype(i) * kDirEntry;
        TIconDirEntry e;
        e.Width = uint8_t(data[at]) ? uint8_t(data[at]) : 256;
        e.Height = uint8_t(data[at + 1]) ? uint8_t(data[at + 1]) : 256;
        e.Colors = uint8_t(data[at + 2]);
        e.Planes = ReadLe16(data, at + 4);
        e.BitCount = ReadLe16(data, at + 6);
        e.Size = ReadLe32(data, at + 8);
        e.Offset = ReadLe32(data, at + 12);
        if (e.Size == 0 || e.Offset > uint32_t(data.size()) || e.Size > uint32_t(data.size()) - e.Offset)
            return false;
        entries.push_back(e);
    }
    return true;
}

int TIcon::ImageBitCount(const QByteArray& data, const TIconDirEntry& entry) {
    if (entry.Offset > uint32_t(data.size()) || entry.Size > uint32_t(data.size()) - entry.Offset) return 0;
    const QByteArray image = data.mid(entry.Offset, entry.Size);
    if (image.startsWith("\x89PNG")) return 32;
    return image.size() >= kInfoHeader ? ReadLe16(image, 14) : 0;
}

bool TIcon::LoadFromStream(const QByteArray& data) {
    int type = 0;
    std::vector<TIconDirEntry> entries;
    if (!ReadDirectory(data, type, entries) || type != 1) return false;
    const TIconDirEntry& first = entries.front();
    const QImage image = DecodeImage(data.mid(first.Offset, first.Size));
    if (image.isNull()) return false;
    m_data = data;
    m_image = image;
    Changed();
    return true;
}

QByteArray TIcon::SaveToStream() const {
    if (m_image.isNull()) return QByteArray();
    return m_data.isEmpty() ? EncodeIcon(m_image) : m_data;
}

void TIcon::SetImage(const QImage& image) {
    m_data.clear();
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32);
    Changed();
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) const {
    if (!m_image.isNull()) canvas.DrawImage(r, m_image, Bounds(0, 0, m_image.width(), m_image.height()));
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    return CloneByAssign(*this);
}

bool TIcon::Assign(const TGraphic& source) {
    const auto* icon = dynamic_cast<const TIcon*>(&source);
    if (!icon) return false;
    if (icon == this) return true;
    m_data = icon->m_data;
    m_image = icon->m_image;
    Changed();
    return true;
}
