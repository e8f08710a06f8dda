// Graphics of the pictures an RTF file holds, made with the platform's picture classes.
#include "platform/Pictures.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/rtf/RPRTFReader.h"

#include <QFile>

namespace {

void PutLE32(QByteArray& a, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        a.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutLE16(QByteArray& a, uint16_t v) {
    a.append(static_cast<char>(v & 0xFF));
    a.append(static_cast<char>(v >> 8));
}
uint32_t LE32(const std::string& d, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(d[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 3])) << 24;
}

template <class G> TRPRTFGraphicPtr Load(const QByteArray& data) {
    auto g = std::make_unique<G>();
    if (!g->LoadFromStream(data) || g->Empty()) return nullptr;
    return g;
}

// A bitmap file around the device-independent bitmap of the picture.
TRPRTFGraphicPtr MakeDIB(const TRPRTFPicture& pic) {
    const std::string& d = pic.Data;
    const uint32_t hdr = LE32(d, 0);
    const int bits = static_cast<unsigned char>(d[14]) | static_cast<unsigned char>(d[15]) << 8;
    const uint32_t compression = LE32(d, 16);
    uint32_t colors = LE32(d, 32);
    if (colors == 0 && bits <= 8) colors = 1u << bits;
    const uint32_t offset = 14 + hdr + (compression == 3 && hdr == 40 ? 12 : 0) + colors * 4;
    QByteArray bmp;
    bmp.reserve(static_cast<qsizetype>(d.size() + 14));
    bmp.append("BM");
    PutLE32(bmp, static_cast<uint32_t>(d.size() + 14));
    PutLE32(bmp, 0);
    PutLE32(bmp, offset);
    bmp.append(d.data(), static_cast<qsizetype>(d.size()));
    return Load<TBitmap>(bmp);
}

// A device-dependent bitmap: rows of picw pixels, top row first.
TRPRTFGraphicPtr MakeDDB(const TRPRTFPicture& pic) {
    const int w = pic.PicW, h = pic.PicH;
    const int stride = pic.WidthBytes > 0 ? pic.WidthBytes : (w * pic.BitsPixel + 15) / 16 * 2;
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) return nullptr;
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const unsigned char*>(pic.Data.data()) + static_cast<size_t>(y) * stride;
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (pic.BitsPixel) {
            case 1:
                out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                break;
            case 4: {
                const int v = ((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF) * 17;
                out[x] = qRgb(v, v, v);
                break;
            }
            case 8:
                out[x] = qRgb(row[x], row[x], row[x]);
                break;
            case 16: {
                const int v = row[2 * x] | row[2 * x + 1] << 8;
                out[x] = qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
                break;
            }
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default:
                out[x] = qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
            }
        }
    }
    return std::make_unique<TBitmap>(img);
}

// A Windows metafile gets the placeable header that gives its size.
TRPRTFGraphicPtr MakeWMF(const TRPRTFPicture& pic) {
    const bool hundredthMM = pic.MetafileMapMode == 7 || pic.MetafileMapMode == 8;
    const int inch = hundredthMM ? 2540 : 96;
    int w = pic.PicW, h = pic.PicH;
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767) {
        w = pic.PicWGoal > 0 ? pic.PicWGoal * inch / 1440 : 0;
        h = pic.PicHGoal > 0 ? pic.PicHGoal * inch / 1440 : 0;
    }
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767) return nullptr;
    QByteArray wmf;
    PutLE32(wmf, 0x9AC6CDD7u);
    PutLE16(wmf, 0);
    PutLE16(wmf, 0);
    PutLE16(wmf, 0);
    PutLE16(wmf, static_cast<uint16_t>(w));
    PutLE16(wmf, static_cast<uint16_t>(h));
    PutLE16(wmf, static_cast<uint16_t>(inch));
    PutLE32(wmf, 0);
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= static_cast<uint16_t>(static_cast<unsigned char>(wmf[2 * i]) |
                                     static_cast<unsigned char>(wmf[2 * i + 1]) << 8);
    PutLE16(wmf, sum);
    wmf.append(pic.Data.data(), static_cast<qsizetype>(pic.Data.size()));
    return Load<TMetafile>(wmf);
}

} // namespace

TRPRTFGraphicPtr RPRTFMakeGraphic(const TRPRTFPicture& pic) {
    if (!pic.IsPlausible()) return nullptr;
    const QByteArray data(pic.Data.data(), static_cast<qsizetype>(pic.Data.size()));
    switch (pic.Kind) {
    case rtfpkEMF:
        return Load<TMetafile>(data);
    case rtfpkPNG:
        return Load<TPngImage>(data);
    case rtfpkJPEG:
        return Load<TJPEGImage>(data);
    case rtfpkWMF:
        return MakeWMF(pic);
    case rtfpkDIB:
        return MakeDIB(pic);
    case rtfpkDDB:
        return MakeDDB(pic);
    default:
        return nullptr; // Macintosh and OS/2 pictures cannot be shown here
    }
}

TRPRTFGraphicPtr RPRTFLoadPictureFile(const QString& path) {
    TPicture pic;
    if (!pic.LoadFromFile(path) || !pic.Graphic() || pic.Graphic()->Empty()) return nullptr;
    return RPRTF::CopyGraphic(*pic.Graphic());
}

TRPRTFGraphicPtr RPRTF::CopyGraphic(const TGraphic& Source) {
    // A graphic of the class made by the suite's factory takes the copy; one
    // it cannot fill copies itself.
    TRPRTFGraphicPtr copy = RPCreateGraphicProc ? RPCreateGraphicProc(Source.ClassName()) : nullptr;
    if (!copy || !copy->Assign(Source)) copy = Source.Clone();
    return copy;
}
