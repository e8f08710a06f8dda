#include "platform/Pictures.h"

#include "platform/Clipboard.h"
#include "platform/Icon.h"
#include "platform/LittleEndian.h"
#include "platform/Runtime.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

// ---- graphic ---------------------------------------------------------------

TGraphic::~TGraphic() = default;

void TGraphic::SetWidth(int) {}
void TGraphic::SetHeight(int) {}
bool TGraphic::Empty() const {
    return Width() <= 0 || Height() <= 0;
}

void TGraphic::SetTransparent(bool t) {
    if (t == m_transparent) return;
    m_transparent = t;
    Changed();
}

void TGraphic::Changed() {
    m_modified = true;
    if (OnChange) OnChange();
}

void TGraphic::Progress(TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                        const QString& msg) {
    if (OnProgress) OnProgress(this, stage, percentDone, redrawNow, r, msg);
}

bool TGraphic::LoadFromClipboardFormat(unsigned format) {
    const QByteArray data = Clipboard()->GetAsHandle(format);
    return !data.isEmpty() && LoadFromStream(data);
}

bool TGraphic::LoadFromFile(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return LoadFromStream(f.readAll());
}

bool TGraphic::SaveToFile(const QString& fileName) const {
    // No picture format is written as no bytes: nothing came out, and an
    // existing file must not be emptied for it.
    const QByteArray data = SaveToStream();
    if (data.isEmpty()) return false;
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(data) == data.size();
}

bool TGraphic::Assign(const TGraphic&) {
    return false;
}

// ---- bitmap ----------------------------------------------------------------

namespace {

// Larger pictures are refused rather than allocated (160 MB at 32 bit), so
// that a damaged header cannot exhaust the memory.
constexpr qint64 kMaxPixels = 40'000'000;

QList<QRgb> PaletteFor(TPixelFormat f) {
    QList<QRgb> table;
    if (f == pf1bit) {
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (f == pf4bit) {
        static const QRgb vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (QRgb c : vga)
            table.append(0xFF000000u | c);
    } else {
        // A colour cube with greys; white is the last entry.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    table.append(qRgb(r * 51, g * 51, b * 51));
        for (int i = 1; i <= 39; ++i)
            table.append(qRgb(i * 255 / 40, i * 255 / 40, i * 255 / 40));
        table.append(qRgb(255, 255, 255));
    }
    return table;
}

QImage::Format FormatFor(TPixelFormat f) {
    switch (f) {
    case pf1bit:
        return QImage::Format_Mono;
    case pf4bit:
    case pf8bit:
        return QImage::Format_Indexed8;
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf24bit:
        return QImage::Format_BGR888;
    default:
        return QImage::Format_RGB32;
    }
}

TPixelFormat PixelFormatOf(const QImage& img) {
    switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return pf1bit;
    case QImage::Format_Indexed8:
        return img.colorCount() <= 16 ? pf4bit : pf8bit;
    case QImage::Format_RGB555:
        return pf15bit;
    case QImage::Format_RGB16:
        return pf16bit;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
        return pf24bit;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return pf32bit;
    default:
        return pfDevice;
    }
}

QImage ConvertTo(const QImage& img, TPixelFormat f) {
    const QImage::Format target = FormatFor(f);
    if (img.isNull()) return img;
    if (target == QImage::Format_Indexed8 || target == QImage::Format_Mono) {
        if (img.format() == target && (f != pf4bit || img.colorCount() <= 16)) return img;
        return img.convertToFormat(target, PaletteFor(f), Qt::ThresholdDither | Qt::AvoidDither);
    }
    if (f == pf32bit && img.hasAlphaChannel()) return img.convertToFormat(QImage::Format_ARGB32);
    return img.format() == target ? img : img.convertToFormat(target);
}

QImage NewImage(int w, int h, TPixelFormat f) {
    QImage img(w, h, FormatFor(f));
    if (img.isNull()) return img;
    if (img.format() == QImage::Format_Indexed8 || img.format() == QImage::Format_Mono) {
        const QList<QRgb> table = PaletteFor(f);
        img.setColorTable(table);
        img.fill(static_cast<uint>(table.size() - 1));
    } else {
        img.fill(Qt::white);
    }
    return img;
}

// Clears the bits after each row's last pixel up to the row's 32-bit end.
// They are no part of the picture, and nothing sets them in an image made or
// converted in memory; a bitmap file takes rows of 1 and 8 bits as they lie,
// and it must hold only bytes that were written.
void ClearRowPadding(QImage& Image) {
    const qsizetype bits = qsizetype(Image.width()) * Image.depth();
    if (bits >= qsizetype(Image.bytesPerLine()) * 8) return;
    const qsizetype whole = bits / 8;
    const int rest = static_cast<int>(bits % 8);
    // The pixels' bits of a byte they share with the padding.
    const auto kept = static_cast<uint8_t>(Image.format() == QImage::Format_MonoLSB ? (1u << rest) - 1
                                                                                    : 0xFFu << (8 - rest));
    const qsizetype cleared = whole + (rest ? 1 : 0);
    for (int y = 0; y < Image.height(); ++y) {
        uchar* row = Image.scanLine(y);
        if (rest) row[whole] &= kept;
        std::memset(row + cleared, 0, static_cast<size_t>(Image.bytesPerLine() - cleared));
    }
}

// The decoder refuses a picture whose pixels, reckoned at 32 bits whatever
// the file's depth, pass its allocation limit; it decides so on the size in
// the header, before it reads the palette or a pixel.
bool DecoderAllocates(QSize Size) {
    const int megabytes = QImageReader::allocationLimit();
    return megabytes <= 0 || qint64(Size.width()) * 4 * Size.height() <= qint64(megabytes) << 20;
}

// How far the decoder reads a bitmap file, with zeros after its data: it
// leaves a row it cannot read whole as it found it, also when no more than
// the row's padding is missing, and where run-length data ends inside a
// run or a delta, it takes what it reads past the end from memory that
// nothing wrote. So the rows go on with zeros to the end of the last row,
// and run-length data with zeros enough to end any run (which then read as
// ends of rows). The zeros come after the end, where they change nothing
// the decoder reads before the pixels: a file that ends inside its header,
// palette or masks is still refused, and a data offset past the end still
// has the decoder read on after the palette. Where the palette ends is
// reckoned high (a table of the colours the header names at every depth,
// the bit-field masks after every header that does not hold them): at
// worst a row stays open.
qint64 LengthReadWithZeros(const QByteArray& Data, QSize Size) {
    const uint32_t header = ReadLe32(Data, 14);
    const bool core = header == 12;
    if (Data.size() < (core ? 26 : 54)) return Data.size();
    const int bits = ReadLe16(Data, core ? 24 : 28);
    const uint32_t compression = core ? 0 : ReadLe32(Data, 30);
    const qint64 named = core ? 0 : ReadLe32(Data, 46);
    const qint64 colours = bits <= 8 && named == 0 ? qint64(1) << bits : named;
    const qint64 table = 14 + std::max<qint64>(header, core ? 12 : 40) + colours * (core ? 3 : 4) +
                         (compression == 3 && header < 108 ? 12 : 0);
    const qint64 offset = ReadLe32(Data, 10);
    if (Data.size() <= table) return Data.size();
    qint64 end = Data.size() + 256;
    if (compression == 0 || compression == 3)
        end = std::max(table, offset <= Data.size() ? offset : 0) +
              (qint64(Size.width()) * bits + 31) / 32 * 4 * Size.height();
    if (offset > Data.size()) end = std::min(end, offset - 1);
    return std::max<qint64>(end, Data.size());
}

// The bytes of a file read as a device, and zeros after them up to a length
// set later, so that the zeros need no copy of the file.
class TZeroTail : public QIODevice {
public:
    // Unbuffered, as a buffer is: the decoder reads whole rows, which a
    // read-ahead would copy twice.
    explicit TZeroTail(const QByteArray& Data) : m_data(Data), m_length(Data.size()) {
        open(ReadOnly | Unbuffered);
    }
    void SetLength(qint64 Length) { m_length = std::max<qint64>(Length, m_data.size()); }
    qint64 size() const override { return m_length; }
    // As a buffer does, no position past the end.
    bool seek(qint64 Pos) override { return Pos <= m_length && QIODevice::seek(Pos); }

protected:
    qint64 readData(char* Out, qint64 Max) override {
        const qint64 at = pos(), n = std::min(Max, m_length - at);
        if (n <= 0) return 0;
        const qint64 given = std::clamp<qint64>(m_data.size() - at, 0, n);
        std::memcpy(Out, m_data.constData() + at, size_t(given));
        std::memset(Out + given, 0, size_t(n - given));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray m_data;
    qint64 m_length;
};

void FreeZeros(void* Memory) {
    std::free(Memory);
}

// A bitmap file read by the decoder into pixels of colour 0: it writes only
// the pixels that its data gives and leaves the others as it found them
// (pixels that run-length data skips, rows that the data does not reach
// from where the decoder starts reading). Given a picture of its size and
// format, it reads into that one; the zeros come from calloc, so that the
// pixels that nothing writes cost nothing. A picture that the decoder
// refuses for its size is refused before anything is allocated; one that
// it would read into memory of its own is refused too.
QImage DecodedBitmap(const QByteArray& Data) {
    TZeroTail file(Data);
    QImageReader reader(&file, "BMP");
    // No size when the decoder refuses the header; rows stored top down come
    // with a negative height.
    const QSize declared = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (declared.width() <= 0 || declared.height() == 0 || declared.height() == INT_MIN ||
        format == QImage::Format_Invalid)
        return {};
    const QSize size(declared.width(), std::abs(declared.height()));
    if (!DecoderAllocates(size)) return {};
    file.SetLength(LengthReadWithZeros(Data, size));
    const qsizetype stride =
        (qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    void* zeros = std::calloc(size_t(stride), size_t(size.height()));
    if (!zeros) return {};
    QImage image(static_cast<uchar*>(zeros), size.width(), size.height(), stride, format, FreeZeros, zeros);
    if (image.isNull()) {
        std::free(zeros);
        return {};
    }
    if (!reader.read(&image) || image.constBits() != zeros) return {};
    if (format == QImage::Format_RGB32) {
        // Colour 0 as the decoder makes it from zero bytes: opaque black.
        auto* pixel = reinterpret_cast<QRgb*>(image.bits());
        for (qsizetype i = 0, n = stride / 4 * size.height(); i < n; ++i)
            pixel[i] |= 0xFF000000u;
    }
    return image;
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image) {
    SetImage(image);
}

TBitmap::~TBitmap() {
    // The canvas holds a painter on our image; end it first.
    m_canvas.reset();
}

void TBitmap::ReleaseCanvas() const {
    if (m_canvas) m_canvas->Release();
}

int TBitmap::Width() const {
    return m_image.width();
}
int TBitmap::Height() const {
    return m_image.height();
}
bool TBitmap::Empty() const {
    return m_image.isNull() || m_image.width() == 0 || m_image.height() == 0;
}

void TBitmap::SetWidth(int w) {
    SetSize(w, Height());
}
void TBitmap::SetHeight(int h) {
    SetSize(Width(), h);
}

void TBitmap::SetSize(int w, int h) {
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height()) return;
    if (static_cast<qint64>(w) * h > kMaxPixels) return;
    ReleaseCanvas();
    QImage img = (w > 0 && h > 0) ? NewImage(w, h, m_pixelFormat) : QImage();
    if (!img.isNull() && !m_image.isNull()) {
        const int cw = std::min(w, m_image.width()), ch = std::min(h, m_image.height());
        const QImage old = m_image.format() == img.format() ? m_image : ConvertTo(m_image, m_pixelFormat);
        const int bytes = (cw * img.depth() + 7) / 8;
        for (int y = 0; y < ch; ++y)
            std::memcpy(img.scanLine(y), old.constScanLine(y), static_cast<size_t>(bytes));
    }
    m_image = img;
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
    if (f == pfCustom) f = pfDevice;
    if (f == m_pixelFormat) return;
    ReleaseCanvas();
    m_pixelFormat = f;
    m_image = ConvertTo(m_image, f);
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>(&m_image);
        m_canvas->OnChange = [this] { Changed(); };
    }
    return m_canvas.get();
}

uint8_t* TBitmap::ScanLine(int row) {
    ReleaseCanvas();
    if (row < 0 || row >= m_image.height()) return nullptr;
    return m_image.scanLine(row);
}

const uint8_t* TBitmap::ScanLine(int row) const {
    ReleaseCanvas();
    if (row < 0 || row >= m_image.height()) return nullptr;
    return m_image.constScanLine(row);
}

QImage& TBitmap::Image() {
    ReleaseCanvas();
    return m_image;
}

const QImage& TBitmap::Image() const {
    ReleaseCanvas();
    return m_image;
}

void TBitmap::SetImage(const QImage& image) {
    ReleaseCanvas();
    if (static_cast<qint64>(image.width()) * image.height() > kMaxPixels) return;
    m_pixelFormat = PixelFormatOf(image);
    m_image = ConvertTo(image, m_pixelFormat);
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (m_transparentMode == tmFixed && m_transparentColor != clDefault) return m_transparentColor;
    if (Empty()) return clDefault;
    const QRgb v = m_image.pixel(0, m_image.height() - 1);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TBitmap::SetTransparentColor(TColor c) {
    m_transparentColor = c;
    m_transparentMode = c == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m) {
    if (m == m_transparentMode) return;
    m_transparentMode = m;
    if (m == tmAuto) m_transparentColor = clDefault;
    Changed();
}

QImage TBitmap::ToImage() const {
    if (m_image.isNull()) return QImage();
    return m_image.convertToFormat(m_image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const {
    if (Empty()) return;
    const TRect src = Bounds(0, 0, Width(), Height());
    if (!Transparent()) {
        canvas.DrawImage(r, m_image, src);
        return;
    }
    // The transparent colour is left out.
    QImage img = m_image.convertToFormat(QImage::Format_ARGB32);
    const TColor tc = ColorToRGB(TransparentColor());
    const QRgb key = qRgb(GetRValue(tc), GetGValue(tc), GetBValue(tc)) & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    const TCopyMode keep = canvas.CopyMode();
    canvas.SetCopyMode(cmSrcCopy);
    canvas.DrawImage(r, img, src);
    canvas.SetCopyMode(keep);
}

bool TBitmap::LoadFromStream(const QByteArray& data) {
    // The old 12-byte header ends at 26; the decoder takes no file shorter
    // than the header it names, so the bit count below is there.
    if (data.size() < 26 || !data.startsWith("BM")) return false;
    const QImage img = DecodedBitmap(data);
    if (img.isNull()) return false;
    // The stored depth decides the pixel format (Qt widens 4-bit rows).
    // The bit count follows the header size: at 24 in the old 12-byte header.
    const int at = (static_cast<uint8_t>(data[14]) == 12 && data[15] == 0) ? 24 : 28;
    const int bits = static_cast<uint8_t>(data[at]) | (static_cast<uint8_t>(data[at + 1]) << 8);
    TPixelFormat f = PixelFormatOf(img);
    switch (bits) {
    case 1:
        f = pf1bit;
        break;
    case 4:
        f = pf4bit;
        break;
    case 8:
        f = pf8bit;
        break;
    case 16:
        f = pf16bit;
        break;
    case 24:
        f = pf24bit;
        break;
    case 32:
        f = pf32bit;
        break;
    default:
        break;
    }
    ReleaseCanvas();
    m_pixelFormat = f;
    m_image = (f == pf4bit && img.format() == QImage::Format_Indexed8) ? img : ConvertTo(img, f);
    if (f == pf32bit && !img.hasAlphaChannel()) m_image = img.convertToFormat(QImage::Format_RGB32);
    Changed();
    return true;
}

QByteArray TBitmap::SaveToStream() const {
    ReleaseCanvas();
    QByteArray out;
    if (Empty()) return out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImage img = m_image;
    if (img.format() == QImage::Format_BGR888 || img.format() == QImage::Format_RGB555 ||
        img.format() == QImage::Format_RGB16)
        img = img.convertToFormat(QImage::Format_RGB32);
    ClearRowPadding(img); // on the copy: the bitmap's own image stays as it is
    img.save(&buf, "BMP");
    return out;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const { return CloneByAssign(*this); }

bool TBitmap::Assign(const TGraphic& source) {
    if (&source == this) return true;
    ReleaseCanvas();
    if (const auto* b = dynamic_cast<const TBitmap*>(&source)) {
        b->ReleaseCanvas();
        m_image = b->m_image;
        m_pixelFormat = b->m_pixelFormat;
        m_transparentColor = b->m_transparentColor;
        m_transparentMode = b->m_transparentMode;
        m_ignorePalette = b->m_ignorePalette;
        SetTransparent(b->Transparent());
    } else {
        const QImage img = source.ToImage();
        m_pixelFormat = dynamic_cast<const TJPEGImage*>(&source) ? pf24bit : pfDevice;
        m_image = ConvertTo(img, m_pixelFormat);
    }
    Changed();
    return true;
}

// ---- PNG -------------------------------------------------------------------

bool PngChunksFit(const QByteArray& Data) {
    if (!Data.startsWith("\x89PNG")) return true;
    // Each chunk: its length, its type, the data and a check sum.
    for (qsizetype at = 8; at + 8 <= Data.size();) {
        const qsizetype length = qFromBigEndian<quint32>(Data.constData() + at);
        if (length > Data.size() - at - 8) return false;
        if (Data.mid(at + 4, 4) == "IEND") break;
        at += 12 + length;
    }
    return true;
}

bool TPngImage::LoadFromStream(const QByteArray& data) {
    QImage img;
    if (!data.startsWith("\x89PNG") || !PngChunksFit(data) || !img.loadFromData(data, "PNG") || img.isNull())
        return false;
    SetImage(img);
    return true;
}

QByteArray TPngImage::SaveToStream() const {
    QByteArray out;
    if (Empty()) return out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    Image().save(&buf, "PNG");
    return out;
}

std::unique_ptr<TGraphic> TPngImage::Clone() const { return CloneByAssign(*this); }

// ---- JPEG ------------------------------------------------------------------

namespace {

struct JpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void JpegSilent(j_common_ptr, int) {}
void JpegSilentOutput(j_common_ptr) {}

// Errors jump back to the caller's setjmp; warnings and messages stay quiet.
jpeg_error_mgr* JpegQuietErrors(JpegError& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    err.pub.emit_message = JpegSilent;
    err.pub.output_message = JpegSilentOutput;
    return &err.pub;
}

// Only plain locals live here: a longjmp must not skip destructors.
bool DecodeJpeg(const uint8_t* bytes, size_t size, QImage* out, bool grayscale) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = JpegQuietErrors(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0 ||
        static_cast<qint64>(info.image_width) * info.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        info.out_color_space = JCS_CMYK;
    else if (grayscale || info.jpeg_color_space == JCS_GRAYSCALE)
        info.out_color_space = JCS_GRAYSCALE;
    else
        info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    const int comps = info.output_components;
    *out = QImage(w, h, QImage::Format_RGB32);
    if (out->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(w * comps), 1);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        if (jpeg_read_scanlines(&info, row, 1) != 1) break;
        auto* dst = reinterpret_cast<QRgb*>(out->scanLine(y));
        const uint8_t* src = row[0];
        for (int x = 0; x < w; ++x) {
            if (comps == 1) {
                dst[x] = qRgb(src[x], src[x], src[x]);
            } else if (comps == 3) {
                dst[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
            } else {
                // Adobe writes CMYK inverted.
                const int c = src[4 * x], m = src[4 * x + 1], ye = src[4 * x + 2], k = src[4 * x + 3];
                dst[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
            }
        }
        if (grayscale && comps != 1) {
            for (int x = 0; x < w; ++x) {
                const int g = qGray(dst[x]);
                dst[x] = qRgb(g, g, g);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool EncodeJpeg(const QImage* rgb, int quality, bool grayscale, bool progressive, unsigned char** buffer,
                unsigned long* size) {
    jpeg_compress_struct info;
    JpegError err;
    info.err = JpegQuietErrors(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(rgb->width());
    info.image_height = static_cast<JDIMENSION>(rgb->height());
    info.input_components = grayscale ? 1 : 3;
    info.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb->constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

bool TJPEGImage::Decode(const QByteArray& data, QImage& out, bool grayscale) {
    if (data.size() < 4 || !data.startsWith(QByteArray("\xFF\xD8", 2))) return false;
    QImage img;
    if (!DecodeJpeg(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size()),
                    &img, grayscale))
        return false;
    out = img;
    return true;
}

QByteArray TJPEGImage::Encode(const QImage& image, int quality, bool grayscale, bool progressive) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return QByteArray();
    const QImage rows = grayscale ? image.convertToFormat(QImage::Format_Grayscale8)
                                  : image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = EncodeJpeg(&rows, std::clamp(quality, 1, 100), grayscale, progressive, &buffer, &size);
    QByteArray out;
    if (ok && buffer) out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return out;
}

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const {
    return m_width;
}
int TJPEGImage::Height() const {
    return m_height;
}
bool TJPEGImage::Empty() const {
    return m_data.isEmpty();
}

void TJPEGImage::SetCompressionQuality(int q) {
    m_quality = std::clamp(q, 1, 100);
}

void TJPEGImage::SetGrayscale(bool g) {
    if (g == m_grayscale) return;
    m_grayscale = g;
    m_decoded = false;
    Changed();
}

const QImage& TJPEGImage::Decoded() const {
    if (!m_decoded) {
        m_decoded = true;
        if (!Decode(m_data, m_image, m_grayscale)) m_image = QImage();
    }
    return m_image;
}

void TJPEGImage::Compress() {
    if (Empty()) return;
    const QByteArray data = Encode(Decoded(), m_quality, m_grayscale, m_progressive);
    if (data.isEmpty()) return;
    m_data = data;
    m_decoded = false;
    Changed();
}

bool TJPEGImage::LoadFromStream(const QByteArray& data) {
    QImage img;
    if (!Decode(data, img, m_grayscale)) return false;
    m_data = data;
    m_image = img;
    m_decoded = true;
    m_width = img.width();
    m_height = img.height();
    Changed();
    return true;
}

QByteArray TJPEGImage::SaveToStream() const {
    return m_data;
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& r) const {
    const QImage& img = Decoded();
    if (!img.isNull()) canvas.DrawImage(r, img, Bounds(0, 0, img.width(), img.height()));
}

QImage TJPEGImage::ToImage() const {
    return Decoded();
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const { return CloneByAssign(*this); }

bool TJPEGImage::Assign(const TGraphic& source) {
    if (&source == this) return true;
    if (const auto* j = dynamic_cast<const TJPEGImage*>(&source)) {
        m_data = j->m_data;
        m_image = j->m_image;
        m_decoded = j->m_decoded;
        m_width = j->m_width;
        m_height = j->m_height;
        m_quality = j->m_quality;
        m_grayscale = j->m_grayscale;
        m_progressive = j->m_progressive;
        m_performance = j->m_performance;
        m_pixelFormat = j->m_pixelFormat;
        SetTransparent(j->Transparent());
        Changed();
        return true;
    }
    const QByteArray data = Encode(source.ToImage(), m_quality, m_grayscale, m_progressive);
    if (data.isEmpty()) return false;
    QImage img;
    if (!Decode(data, img, m_grayscale)) return false;
    m_data = data;
    m_image = img;
    m_decoded = true;
    m_width = img.width();
    m_height = img.height();
    Changed();
    return true;
}

// ---- picture ---------------------------------------------------------------

namespace {

struct FormatEntry {
    QString ext;
    QString description;
    TGraphicFactory factory;
    QByteArray signature;
    bool (*probe)(const QByteArray&) = nullptr;
};

bool IsEnhancedMetafile(const QByteArray& d) {
    return d.size() >= 44 && ReadLe32(d, 0) == 1 && ReadLe32(d, 40) == 0x464D4520u;
}

std::vector<FormatEntry>& Registry() {
    static std::vector<FormatEntry> formats = [] {
        std::vector<FormatEntry> f;
        auto bmp = [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); };
        auto jpg = [] { return std::unique_ptr<TGraphic>(std::make_unique<TJPEGImage>()); };
        auto png = [] { return std::unique_ptr<TGraphic>(std::make_unique<TPngImage>()); };
        auto meta = [] { return std::unique_ptr<TGraphic>(std::make_unique<TMetafile>()); };
        auto ico = [] { return std::unique_ptr<TGraphic>(std::make_unique<TIcon>()); };
        const QByteArray jpegSig("\xFF\xD8\xFF", 3);
        f.push_back({"bmp", "Bitmaps", bmp, "BM"});
        f.push_back({"jpg", "JPEG Image File", jpg, jpegSig});
        f.push_back({"jpeg", "JPEG Image File", jpg, jpegSig});
        f.push_back({"jpe", "JPEG Image File", jpg, jpegSig});
        f.push_back({"jfif", "JPEG Image File", jpg, jpegSig});
        f.push_back({"png", "Portable Network Graphics", png, QByteArray("\x89PNG", 4)});
        f.push_back({"wmf", "Metafiles", meta, QByteArray("\xD7\xCD\xC6\x9A", 4)});
        f.push_back({"emf", "Enhanced Metafiles", meta, QByteArray(), IsEnhancedMetafile});
        f.push_back({"ico", "Icons", ico, QByteArray("\0\0\1\0", 4)});
        return f;
    }();
    return formats;
}

} // namespace

void TPicture::RegisterFileFormat(const QString& ext, const QString& description, TGraphicFactory factory,
                                  const QByteArray& signature) {
    QString key = ext.toLower();
    if (key.startsWith(QLatin1Char('.'))) key.remove(0, 1);
    auto& reg = Registry();
    // A later registration of an extension takes its place.
    std::erase_if(reg, [&](const FormatEntry& e) { return e.ext == key; });
    reg.insert(reg.begin(), FormatEntry{key, description, std::move(factory), signature});
}

std::unique_ptr<TGraphic> TPicture::CreateForExtension(const QString& ext) {
    QString key = ext.toLower();
    if (key.startsWith(QLatin1Char('.'))) key.remove(0, 1);
    for (const FormatEntry& e : Registry())
        if (e.ext == key && e.factory) return e.factory();
    return nullptr;
}

std::unique_ptr<TGraphic> TPicture::CreateForData(const QByteArray& data) {
    for (const FormatEntry& e : Registry()) {
        const bool hit = e.probe ? e.probe(data) : (!e.signature.isEmpty() && data.startsWith(e.signature));
        if (hit && e.factory) return e.factory();
    }
    return nullptr;
}

std::unique_ptr<TGraphic> TPicture::CreateByClassName(const QString& className) {
    for (const FormatEntry& e : Registry()) {
        if (!e.factory) continue;
        std::unique_ptr<TGraphic> g = e.factory();
        if (g && g->ClassName() == className) return g;
    }
    return nullptr;
}

QStringList TPicture::FileFilters() {
    QStringList out;
    for (const FormatEntry& e : Registry())
        out.append(QStringLiteral("%1 (*.%2)").arg(e.description, e.ext));
    return out;
}

namespace {

std::vector<std::pair<unsigned, TGraphicFactory>>& ClipboardRegistry() {
    static std::vector<std::pair<unsigned, TGraphicFactory>> formats;
    return formats;
}

} // namespace

void TPicture::RegisterClipboardFormat(unsigned format, TGraphicFactory factory) {
    auto& reg = ClipboardRegistry();
    std::erase_if(reg, [&](const auto& e) { return e.first == format; });
    reg.emplace_back(format, std::move(factory));
}

bool TPicture::SupportsClipboardFormat(unsigned format) {
    const auto& reg = ClipboardRegistry();
    return std::any_of(reg.begin(), reg.end(), [&](const auto& e) { return e.first == format; });
}

bool TPicture::LoadFromClipboardFormat(unsigned format) {
    for (const auto& [f, factory] : ClipboardRegistry()) {
        if (f != format || !factory) continue;
        std::unique_ptr<TGraphic> g = factory();
        if (!g || !g->LoadFromClipboardFormat(format)) return false;
        SetGraphic(std::move(g));
        return true;
    }
    return false;
}

TPicture::TPicture() = default;

TPicture::~TPicture() {
    if (m_graphic) m_graphic->OnChange = nullptr;
}

void TPicture::GraphicChanged() {
    if (OnChange) OnChange();
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    if (m_graphic) m_graphic->OnChange = nullptr;
    m_graphic = std::move(graphic);
    if (m_graphic) m_graphic->OnChange = [this] { GraphicChanged(); };
    GraphicChanged();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == m_graphic.get() && graphic) return;
    SetGraphic(graphic ? graphic->Clone() : std::unique_ptr<TGraphic>());
}

TBitmap* TPicture::Bitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(m_graphic.get())) return b;
    SetGraphic(std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()));
    return static_cast<TBitmap*>(m_graphic.get());
}

int TPicture::Width() const {
    return m_graphic ? m_graphic->Width() : 0;
}
int TPicture::Height() const {
    return m_graphic ? m_graphic->Height() : 0;
}

bool TPicture::LoadFromStream(const QByteArray& data) {
    std::unique_ptr<TGraphic> g = CreateForData(data);
    if (!g || !g->LoadFromStream(data)) return false;
    g->SetModified(false);
    SetGraphic(std::move(g));
    return true;
}

bool TPicture::LoadFromFile(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = f.readAll();
    if (LoadFromStream(data)) return true;
    std::unique_ptr<TGraphic> g = CreateForExtension(QFileInfo(fileName).suffix());
    if (!g || !g->LoadFromStream(data)) return false;
    g->SetModified(false);
    SetGraphic(std::move(g));
    return true;
}

bool TPicture::SaveToFile(const QString& fileName) const {
    return m_graphic && m_graphic->SaveToFile(fileName);
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) return;
    SetGraphic(other.m_graphic ? other.m_graphic->Clone() : std::unique_ptr<TGraphic>());
}
