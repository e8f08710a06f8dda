#include "platform/MetafileConvert.h"

#include "platform/CodePage.h"
#include "platform/Fonts.h"
#include "platform/LittleEndian.h"
#include "platform/MetafileRaster.h"

#include <QBuffer>
#include <QImage>
#include <QList>

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QXmlStreamReader>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Conversions run on several threads at once.
std::atomic<int> g_lastSignal = 0;
std::atomic<int> g_cpuLimitMs = MetafileLimits::CpuTimeMs;
std::atomic<int> g_wallLimitMs = MetafileLimits::WallTimeMs;
std::atomic<int> g_conversions = 0;
std::atomic<int> g_renders = 0;
std::atomic<int> g_lastRenderSignal = 0;

// ---- Windows metafiles ------------------------------------------------------

constexpr uint32_t PlaceableKey = 0x9AC6CDD7u;

// The checksum of a placeable header: the exclusive or of the ten words before it.
uint16_t PlaceableChecksum(const QByteArray& Header) {
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= ReadLe16(Header, 2 * i);
    return sum;
}

constexpr qsizetype PlaceableSize = 22;
constexpr qsizetype HeaderSize = 18;

enum : uint16_t {
    wmfEOF = 0x0000,
    wmfSetMapMode = 0x0103,
    wmfSetWindowOrg = 0x020B,
    wmfSetWindowExt = 0x020C,
    wmfSetViewportOrg = 0x020D,
    wmfSetViewportExt = 0x020E,
    wmfSelectObject = 0x012D,
    wmfCreatePenIndirect = 0x02FA,
    wmfRectangle = 0x041B,
    wmfCreateFontIndirect = 0x02FB,
    wmfSaveDC = 0x001E,
    wmfRestoreDC = 0x0127,
};

// Raster operations of bitmaps.
constexpr uint32_t ropSrcCopy = 0x00CC0020, ropSrcAnd = 0x008800C6, ropSrcPaint = 0x00EE0086,
                   ropSrcInvert = 0x00660046;

bool IsMappingRecord(uint16_t Fn) {
    return Fn == wmfSetMapMode || Fn == wmfSetWindowOrg || Fn == wmfSetWindowExt || Fn == wmfSetViewportOrg ||
           Fn == wmfSetViewportExt;
}

} // namespace

// The mapping in force before the first of these records is the picture's own.
bool IsWindowsMetafileDrawingRecord(uint16_t Fn) {
    switch (Fn) {
    case 0x0213: // line to
    case 0x041B: // rectangle
    case 0x0418: // ellipse
    case 0x0324: // polygon
    case 0x0325: // polyline
    case 0x0538: // poly-polygon
    case 0x0521: // text out
    case 0x0A32: // extended text out
    case 0x062F: // draw text
    case 0x0817: // arc
    case 0x081A: // pie
    case 0x0830: // chord
    case 0x061C: // round rectangle
    case 0x061D: // pattern blit
    case 0x0922: // bit blit
    case 0x0940: // DIB bit blit
    case 0x0B23: // stretch blit
    case 0x0B41: // DIB stretch blit
    case 0x0F43: // stretch DIB
    case 0x0D33: // DIB to device
    case 0x041F: // set pixel
    case 0x0419: // flood fill
    case 0x0548: // extended flood fill
    case 0x0228: // fill region
    case 0x0429: // frame region
    case 0x012B: // paint region
    case 0x012A: // invert region
        return true;
    default:
        return false;
    }
}

namespace {

int16_t Le16s(const QByteArray& D, qsizetype At) {
    return static_cast<int16_t>(ReadLe16(D, At));
}

struct TWmfScan {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Inch = 0;
    QByteArray Header;  // the 18 bytes after the placeable header
    QByteArray Records; // the records, with an end record
    QByteArray Mapping; // the mapping records before the first drawing
    uint32_t MaxRecord = 3;
    int MapMode = 8;
    int OrgX = 0, OrgY = 0, ExtX = 0, ExtY = 0;
    bool HasOrg = false, HasExt = false;
    // The raster operation of every record that draws a bitmap, in order.
    std::vector<uint32_t> BitmapRops;
    // Where the font records start in Records.
    std::vector<qsizetype> Fonts;
};

// Where the device-independent bitmap of a record starts (bytes after the
// record's start): 0 for records without one, -1 for records that cannot be
// taken: too short for the bitmap they must carry, or carrying a bitmap of
// the oldest kind, which nothing here checks.
qsizetype DibAt(uint16_t Fn, uint32_t Words) {
    switch (Fn) {
    case 0x0B41: // DIB stretch blit: operation and 8 words (9 without a bitmap)
        return Words == 14 ? 0 : Words > 14 ? 6 + 4 + 16 : -1;
    case 0x0940: // DIB bit blit: operation and 6 words (7 without a bitmap)
        return Words == 12 ? 0 : Words > 12 ? 6 + 4 + 12 : -1;
    case 0x0F43: // stretch DIB: operation, colour use and 8 words
        return 6 + 4 + 2 + 16;
    case 0x0D33: // DIB to device: colour use and 8 words
        return 6 + 18;
    case 0x0142: // DIB pattern brush: style and colour use
        return 6 + 4;
    case 0x0922: // bit blit
        return Words == 12 ? 0 : -1;
    case 0x0B23: // stretch blit
        return Words == 14 ? 0 : -1;
    case 0x01F9: // pattern brush
        return -1;
    default:
        return 0;
    }
}

// Records that draw their bitmap (the library writes one picture for each).
bool DrawsBitmap(uint16_t Fn) {
    return Fn == 0x0B41 || Fn == 0x0940 || Fn == 0x0F43 || Fn == 0x0D33;
}

// A bitmap the library may take: a known header, sizes within bounds, and
// its colour table inside the record. The library allocates for the sizes a
// header states and reads what it says is there: Missing tells how many
// bytes of its pixels (unless compressed) lie beyond the record, NoTable
// that they are those of a 1-bit bitmap's colours, left out.
bool ValidDib(const QByteArray& D, qsizetype At, qsizetype End, qsizetype& Missing, bool& NoTable) {
    Missing = 0;
    NoTable = false;
    constexpr int64_t maxSide = 16384, maxPixels = int64_t(16) << 20;
    if (At + 12 > End) return false;
    const uint32_t headerSize = ReadLe32(D, At);
    int64_t width = 0, height = 0;
    uint32_t planes = 0, bits = 0, compression = 0, used = 0;
    if (headerSize == 12) {
        width = ReadLe16(D, At + 4);
        height = ReadLe16(D, At + 6);
        planes = ReadLe16(D, At + 8);
        bits = ReadLe16(D, At + 10);
    } else if (headerSize >= 40 && headerSize <= 124 && At + headerSize <= End) {
        width = static_cast<int32_t>(ReadLe32(D, At + 4));
        height = static_cast<int32_t>(ReadLe32(D, At + 8));
        planes = ReadLe16(D, At + 12);
        bits = ReadLe16(D, At + 14);
        compression = ReadLe32(D, At + 16);
        used = ReadLe32(D, At + 32);
    } else {
        return false;
    }
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || width * height > maxPixels)
        return false;
    if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return false;
    const bool rle = compression == 1 || compression == 2;
    if (compression > 3 || (compression == 1 && bits != 8) || (compression == 2 && bits != 4) ||
        (compression == 3 && bits != 16 && bits != 32))
        return false;
    if (bits <= 8 ? used > (1u << bits) : used > 4096) return false;
    const int64_t colours = used ? used : (bits <= 8 ? int64_t(1) << bits : 0);
    const int64_t table =
        colours * (headerSize == 12 ? 3 : 4) + (compression == 3 && headerSize == 40 ? 12 : 0);
    const int64_t pixels = rle ? 0 : (width * bits + 31) / 32 * 4 * height;
    if (At + headerSize + table > End) return false;
    Missing = static_cast<qsizetype>(std::max<int64_t>(0, At + headerSize + table + pixels - End));
    // A mask written without its two colours: its pixels fill the record,
    // and what would be its colours are one colour twice (pixels).
    NoTable = bits == 1 && !rle && Missing == table && At + headerSize + pixels == End &&
              ReadLe32(D, At + headerSize) == ReadLe32(D, At + headerSize + 4);
    return true;
}

// A bitmap of up to 8 bits per pixel that leaves its colour count at 0 has
// the full colour table; the library then takes the table for pixels. The
// played copy states the count.
void StateColourCount(QByteArray& Records, qsizetype Header, qsizetype RecordEnd) {
    if (Header + 40 > RecordEnd || ReadLe32(Records, Header) < 40) return;
    const uint16_t bits = ReadLe16(Records, Header + 14);
    if (bits == 0 || bits > 8 || ReadLe32(Records, Header + 32) != 0) return;
    qToLittleEndian<uint32_t>(1u << bits, Records.data() + Header + 32);
}

bool ScanWindowsMetafile(const QByteArray& D, TWmfScan& S) {
    if (D.size() < PlaceableSize + HeaderSize || D.size() > MetafileLimits::MaxBytes) return false;
    if (ReadLe32(D, 0) != PlaceableKey) return false;
    S.Left = Le16s(D, 6);
    S.Top = Le16s(D, 8);
    S.Right = Le16s(D, 10);
    S.Bottom = Le16s(D, 12);
    S.Inch = ReadLe16(D, 14);
    if (S.Inch == 0 || S.Left == S.Right || S.Top == S.Bottom) return false;
    const qsizetype h = PlaceableSize;
    const uint16_t type = ReadLe16(D, h), headerWords = ReadLe16(D, h + 2), version = ReadLe16(D, h + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return false;
    if (ReadLe16(D, h + 10) > MetafileLimits::MaxObjects) return false;
    S.Header = D.mid(h, HeaderSize);
    const qsizetype first = h + HeaderSize;
    qsizetype at = first;
    int count = 0;
    bool drawn = false, ended = false;
    std::vector<std::pair<qsizetype, qsizetype>> bitmaps; // header and record end, in Records
    // Blank pixels the played copy may add to bitmaps that are cut short.
    constexpr qsizetype MaxPadding = 8 << 20;
    qsizetype padded = 0;
    // Saved device contexts as the library counts them (one restored by any
    // restore) and as the system does (as many as the count says, or back to
    // the numbered one).
    int held = 0, saved = 0;
    while (at + 6 <= D.size()) {
        const uint32_t words = ReadLe32(D, at);
        const uint16_t fn = ReadLe16(D, at + 4);
        if (words < 3 || words > static_cast<uint64_t>(D.size() - at) / 2) return false;
        if (++count > MetafileLimits::MaxRecords) return false;
        const qsizetype bytes = static_cast<qsizetype>(words) * 2;
        if (fn == wmfEOF) {
            S.Records.append(D.constData() + at, bytes);
            at += bytes;
            ended = true;
            break;
        }
        if (!drawn && IsMappingRecord(fn)) {
            S.Mapping.append(D.constData() + at, bytes);
            if (fn == wmfSetMapMode && words >= 4) S.MapMode = Le16s(D, at + 6);
            if ((fn == wmfSetWindowOrg || fn == wmfSetWindowExt) && words >= 5) {
                const int y = Le16s(D, at + 6), x = Le16s(D, at + 8);
                if (fn == wmfSetWindowOrg) {
                    S.OrgX = x, S.OrgY = y, S.HasOrg = true;
                } else {
                    S.ExtX = x, S.ExtY = y, S.HasExt = true;
                }
            }
        }
        if (fn == wmfSaveDC) {
            if (std::max(++held, ++saved) > MetafileLimits::MaxSavedStates) return false;
        } else if (fn == wmfRestoreDC) {
            held = std::max(0, held - 1);
            // A count that reaches past the saved contexts restores nothing.
            const int n = words >= 4 ? Le16s(D, at + 6) : 0;
            if (n < 0 && -n <= saved)
                saved += n;
            else if (n > 0 && n <= saved)
                saved = n - 1;
        }
        drawn = drawn || IsWindowsMetafileDrawingRecord(fn);
        const qsizetype record = S.Records.size();
        if (fn == wmfCreateFontIndirect && words >= 3 + 5) S.Fonts.push_back(record);
        const qsizetype dib = DibAt(fn, words);
        qsizetype missing = 0;
        bool noTable = false;
        if (dib < 0 || (dib > 0 && !ValidDib(D, at + dib, at + bytes, missing, noTable))) return false;
        // A bitmap that is short is drawn with what is there, as other
        // readers draw it: a mask without its colours (an icon's, found so)
        // gets black and white, a bitmap whose last rows are cut off has
        // the rest blank.
        missing = (missing + 1) / 2 * 2;
        padded += missing;
        if (padded > MaxPadding) return false;
        if (noTable) {
            const qsizetype table = at + dib + ReadLe32(D, at + dib);
            S.Records.append(D.constData() + at, table - at);
            S.Records.append("\0\0\0\0\xFF\xFF\xFF\0", 8);
            S.Records.append(D.constData() + table, at + bytes - table);
        } else {
            S.Records.append(D.constData() + at, bytes);
            S.Records.append(missing, '\0');
        }
        if (missing > 0)
            qToLittleEndian<uint32_t>(static_cast<uint32_t>(words + missing / 2), S.Records.data() + record);
        S.MaxRecord = std::max<uint32_t>(S.MaxRecord, static_cast<uint32_t>(words + missing / 2));
        if (dib > 0) bitmaps.push_back({record + dib, S.Records.size()});
        if (dib > 0 && DrawsBitmap(fn))
            S.BitmapRops.push_back(fn == 0x0D33 ? ropSrcCopy : ReadLe32(D, at + 6));
        at += bytes;
    }
    if (count == 0 || (count == 1 && ended)) return false; // nothing to draw
    for (const auto& [header, end] : bitmaps)
        StateColourCount(S.Records, header, end);
    if (!ended) {
        AppendLe32(S.Records, 3);
        AppendLe16(S.Records, wmfEOF);
    }
    return true;
}

void AppendRecord(QByteArray& Out, uint16_t Fn, std::initializer_list<int> Params) {
    AppendLe32(Out, static_cast<uint32_t>(3 + Params.size()));
    AppendLe16(Out, Fn);
    for (int p : Params)
        AppendLe16(Out, static_cast<uint16_t>(static_cast<int16_t>(p)));
}

// A placeable metafile of the scan's header around the given records.
QByteArray BuildWindowsMetafile(const TWmfScan& S, const QByteArray& Records) {
    QByteArray out = PlaceableHeader(S.Left, S.Top, S.Right, S.Bottom, S.Inch);
    QByteArray header = S.Header;
    const uint32_t total = static_cast<uint32_t>((HeaderSize + Records.size()) / 2);
    qToLittleEndian<uint32_t>(total, header.data() + 6);
    qToLittleEndian<uint32_t>(std::max<uint32_t>(S.MaxRecord, 7), header.data() + 12);
    // The probe's pen needs a place in the object table.
    qToLittleEndian<uint16_t>(std::max<uint16_t>(ReadLe16(header, 10), 1), header.data() + 10);
    out += header;
    out += Records;
    return out;
}

// The rectangle, in the metafile's logical units, that fills the picture:
// its window where it maps one to the frame, else its placeable bounds.
struct TFrame {
    int Left, Top, Right, Bottom;
};

TFrame FrameOf(const TWmfScan& S) {
    if ((S.MapMode == 7 || S.MapMode == 8) && (!S.HasExt || (S.ExtX != 0 && S.ExtY != 0))) {
        const int ox = S.HasOrg ? S.OrgX : S.Left, oy = S.HasOrg ? S.OrgY : S.Top;
        const int ex = S.HasExt ? S.ExtX : S.Right - S.Left, ey = S.HasExt ? S.ExtY : S.Bottom - S.Top;
        return {ox, oy, ox + ex, oy + ey};
    }
    return {S.Left, S.Top, S.Right, S.Bottom};
}

bool Fits16(int V) {
    return V >= -32768 && V <= 32767;
}

// The records played: the picture's frame as window of an anisotropic
// mapping, as a program plays a metafile into a rectangle, then the
// metafile's own records, which may set their own mapping.
QByteArray PlaybackRecords(const TWmfScan& S) {
    QByteArray r;
    AppendRecord(r, wmfSetMapMode, {8});
    AppendRecord(r, wmfSetWindowOrg, {S.Top, S.Left});
    AppendRecord(r, wmfSetWindowExt, {S.Bottom - S.Top, S.Right - S.Left});
    return r + S.Records;
}

// A metafile that draws nothing but the frame under the picture's own
// mapping, or (Half) the frame's top-left part of half its size in whole
// units: the library's bounds of the two tell where the frame lies in its
// output space.
QByteArray ProbeRecords(const TWmfScan& S, TFrame F, bool Half) {
    if (Half) {
        F.Right = F.Left + (F.Right - F.Left) / 2;
        F.Bottom = F.Top + (F.Bottom - F.Top) / 2;
    }
    QByteArray r;
    AppendRecord(r, wmfSetMapMode, {8});
    AppendRecord(r, wmfSetWindowOrg, {S.Top, S.Left});
    AppendRecord(r, wmfSetWindowExt, {S.Bottom - S.Top, S.Right - S.Left});
    r += S.Mapping;
    AppendRecord(r, wmfCreatePenIndirect, {5, 0, 0, 0, 0}); // a null pen
    AppendRecord(r, wmfSelectObject, {0});
    AppendRecord(r, wmfRectangle, {F.Bottom, F.Right, F.Top, F.Left});
    AppendRecord(r, wmfEOF, {});
    return r;
}

// ---- the SVG libwmf writes ------------------------------------------------

QString XmlEscaped(const QString& S) {
    QString out;
    out.reserve(S.size());
    for (QChar c : S) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        default:
            // Control characters are not allowed in XML text.
            if (c.unicode() >= 0x20 || c == QLatin1Char('\t')) out += c;
        }
    }
    return out;
}

// The size of the PNG picture in base64 that starts at At.
bool PngSize(const QByteArray& Svg, qsizetype At, int& Width, int& Height) {
    QByteArray head;
    for (qsizetype i = At; i < Svg.size() && head.size() < 32; ++i)
        if (!std::isspace(static_cast<unsigned char>(Svg[i]))) head.append(Svg[i]);
    const QByteArray png = QByteArray::fromBase64(head);
    if (png.size() < 24 || !png.startsWith("\x89PNG")) return false;
    Width = static_cast<int>(qFromBigEndian<uint32_t>(png.constData() + 16));
    Height = static_cast<int>(qFromBigEndian<uint32_t>(png.constData() + 20));
    return Width > 0 && Height > 0;
}

// A picture element as the library writes it gives its place twice: as
// x, y, width and height, and as a transform of the picture's pixels. The
// place becomes the pixels, so that the transform alone puts it there.
QByteArray FixedImage(QByteArray Tag, const QByteArray& Svg, qsizetype DataAt) {
    int w = 0, h = 0;
    const qsizetype end = Tag.indexOf("transform=");
    if (end < 0 || !PngSize(Svg, DataAt, w, h)) return Tag;
    return "<image x=\"0\" y=\"0\" width=\"" + QByteArray::number(w) + "\" height=\"" +
           QByteArray::number(h) + "\"\n\t" + Tag.mid(end);
}

QByteArray FixedShapes(QByteArray Part) {
    // Lines are not filled; the library leaves that to SVG's default, black.
    // (Built in one pass: a drawing may hold many thousands of them.)
    QByteArray lines;
    qsizetype kept = 0;
    for (qsizetype at = 0; (at = Part.indexOf("<polyline ", at)) >= 0;) {
        const qsizetype style = Part.indexOf("style=\"", at);
        if (style < 0) break;
        if (lines.isEmpty()) lines.reserve(Part.size() + Part.size() / 8);
        lines.append(Part.constData() + kept, style + 7 - kept);
        lines.append("fill:none; ");
        kept = style + 7;
        at = style;
    }
    if (kept > 0) {
        lines.append(Part.constData() + kept, Part.size() - kept);
        Part = lines;
    }
    QByteArray out;
    qsizetype at = 0;
    for (;;) {
        const qsizetype i = Part.indexOf("<image ", at);
        const qsizetype data = i < 0 ? -1 : Part.indexOf("base64,", i);
        if (data < 0) break;
        out += Part.mid(at, i - at);
        out += FixedImage(Part.mid(i, data - i), Part, data + 7);
        at = data;
    }
    out += Part.mid(at);
    // Windows metafiles have no transparency; the library fills at half.
    return out.replace("fill-opacity:0.5;", "fill-opacity:1;");
}

// A text element as the library writes it: its start tag without the
// closing bracket, its raw text in the font's 8-bit code, and the end tag.
// The text is decoded (code page 1252, or the "Symbol" encoding), escaped
// and written in UTF-8; the family becomes the one that stands in for it.
QByteArray FixedText(QByteArray Tag, const QByteArray& Raw) {
    QString family;
    const qsizetype f = Tag.indexOf("font-family:");
    if (f >= 0) {
        const qsizetype start = f + 12, end = Tag.indexOf(';', start);
        if (end < 0) return {};
        family = QString::fromLatin1(Tag.mid(start, end - start)).trimmed();
        Tag.replace(start, end - start, XmlEscaped(MapFontFamily(family)).toUtf8());
    }
    QString text;
    if (IsSymbolFontName(family)) {
        for (char c : Raw)
            text += SymbolToUnicode(static_cast<unsigned char>(c));
    } else {
        text = CodePage::FromCp1252(std::string_view(Raw.constData(), static_cast<size_t>(Raw.size())));
    }
    return Tag + ">" + XmlEscaped(text).toUtf8() + "</text>\n";
}

// ---- bitmaps drawn with a mask ---------------------------------------------

struct TSvgImage {
    qsizetype Start = 0, End = 0; // the element
    QByteArray Transform;
    QByteArray Data; // base64
};

std::vector<TSvgImage> SvgImages(const QByteArray& Svg) {
    std::vector<TSvgImage> images;
    qsizetype at = 0;
    for (;;) {
        TSvgImage im;
        im.Start = Svg.indexOf("<image ", at);
        if (im.Start < 0) break;
        const qsizetype t = Svg.indexOf("transform=\"", im.Start), d = Svg.indexOf("base64,", im.Start);
        im.End = Svg.indexOf("\"/>", im.Start);
        if (t < 0 || d < 0 || im.End < 0 || t > im.End || d > im.End) return {};
        im.Transform = Svg.mid(t, Svg.indexOf('"', t + 11) + 1 - t);
        im.Data = Svg.mid(d + 7, im.End - d - 7);
        im.End += 3;
        images.push_back(im);
        at = im.End;
    }
    return images;
}

// A bitmap put through a mask the old way, by two raster operations on the
// same place, has no raster operations here: the pair becomes one picture
// that is transparent where the operations leave the paper as it was. The
// mask ORed, then the picture ANDed: where the mask is black and the
// picture white. The mask ANDed, then the picture ORed or XORed: where the
// mask is white.
QByteArray MaskedPicture(const QByteArray& MaskData, const QByteArray& PictureData, bool OrThenAnd,
                         QSize& Size) {
    const QImage mask = QImage::fromData(QByteArray::fromBase64(MaskData), "PNG");
    QImage picture = QImage::fromData(QByteArray::fromBase64(PictureData), "PNG");
    if (mask.isNull() || picture.isNull() || mask.size() != picture.size()) return {};
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const bool maskWhite = qGray(mask.pixel(x, y)) > 127;
            const bool clear = OrThenAnd ? !maskWhite && qGray(row[x]) > 250 : maskWhite;
            if (clear) row[x] = qRgba(0, 0, 0, 0);
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return {};
    Size = picture.size();
    return png.toBase64();
}

QByteArray JoinedMaskedPictures(const QByteArray& Svg, const std::vector<uint32_t>& Rops) {
    const std::vector<TSvgImage> images = SvgImages(Svg);
    if (images.size() != Rops.size() || images.size() < 2) return Svg;
    QByteArray out;
    qsizetype at = 0;
    for (size_t i = 0; i + 1 < images.size(); ++i) {
        const TSvgImage &a = images[i], &b = images[i + 1];
        const bool orAnd = Rops[i] == ropSrcPaint && Rops[i + 1] == ropSrcAnd;
        const bool andOr =
            Rops[i] == ropSrcAnd && (Rops[i + 1] == ropSrcPaint || Rops[i + 1] == ropSrcInvert);
        if ((!orAnd && !andOr) || a.Transform != b.Transform) continue;
        QSize size;
        const QByteArray joined = MaskedPicture(a.Data, b.Data, orAnd, size);
        if (joined.isEmpty()) continue;
        out += Svg.mid(at, a.Start - at);
        out += "<image x=\"0\" y=\"0\" width=\"" + QByteArray::number(size.width()) + "\" height=\"" +
               QByteArray::number(size.height()) + "\" " + a.Transform +
               " xlink:href=\"data:image/png;base64," + joined + "\"/>";
        at = b.End;
        ++i;
    }
    return out + Svg.mid(at);
}

QByteArray FixedLibwmfSvg(const QByteArray& Raw) {
    QByteArray out;
    out.reserve(Raw.size() + Raw.size() / 8);
    qsizetype at = 0;
    for (;;) {
        const qsizetype t = Raw.indexOf("<text ", at);
        if (t < 0) break;
        out += FixedShapes(Raw.mid(at, t - at));
        const qsizetype open = Raw.indexOf("\n\t>", t);
        const qsizetype close = open < 0 ? -1 : Raw.indexOf("</text>\n", open);
        if (close < 0) return {};
        const QByteArray text = FixedText(Raw.mid(t, open - t), Raw.mid(open + 3, close - open - 3));
        if (text.isEmpty()) return {};
        out += text;
        at = close + 8;
    }
    out += FixedShapes(Raw.mid(at));
    return out;
}

// ---- hairlines ------------------------------------------------------------

// The system draws a pen of width 0, and any pen no wider than a pixel, one
// device pixel wide at whatever size the picture is drawn, and solid; the
// libraries write such pens as strokes of the width they have at the
// picture's own size (or thinner). A stroke that rounds to one pixel there
// becomes a hairline (MetafileRaster.h): one pixel wide at any size, its
// dashes as long in pixels as they were at the picture's own size.
constexpr double HairlineWidth = 1.5;

// The width of the SVG document, in its units.
double SvgWidth(const QByteArray& Svg) {
    QXmlStreamReader xml(Svg);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("svg")) return 0;
    return xml.attributes().value(QLatin1String("width")).toDouble();
}

// Where the value of the stroke property Name starts and ends in the tag,
// as an attribute (name="value", Quote set to its quote) or in a style
// (name:value;, Quote 0).
bool PropertyValue(const QByteArray& Tag, const char* Name, qsizetype& Start, qsizetype& End, char& Quote) {
    const qsizetype at = Tag.indexOf(Name);
    if (at < 0) return false;
    qsizetype i = at + qsizetype(std::strlen(Name));
    const auto blanks = [&] {
        while (i < Tag.size() && Tag[i] == ' ')
            ++i;
        return i < Tag.size();
    };
    if (!blanks()) return false;
    if (Tag[i] == ':') {
        Start = End = i + 1;
        Quote = 0;
        while (End < Tag.size() && Tag[End] != ';' && Tag[End] != '"' && Tag[End] != '\'')
            ++End;
        return true;
    }
    if (Tag[i] != '=') return false;
    ++i;
    if (!blanks() || (Tag[i] != '"' && Tag[i] != '\'')) return false;
    Quote = Tag[i];
    Start = i + 1;
    End = Tag.indexOf(Quote, Start);
    return End >= 0;
}

// The tag with its stroke made a hairline when it rounds to one pixel.
QByteArray HairlineTag(QByteArray Tag, double PixelsPerUnit) {
    qsizetype start = 0, end = 0;
    char quote = 0;
    if (!PropertyValue(Tag, "stroke-width", start, end, quote)) return Tag;
    bool ok = false;
    const double width = Tag.mid(start, end - start).trimmed().toDouble(&ok);
    if (!ok || width < 0 || width * PixelsPerUnit >= HairlineWidth) return Tag;
    Tag.replace(start, end - start,
                quote ? QByteArray("1") + quote + " vector-effect=" + quote + MetafileHairline
                      : QByteArray("1; vector-effect:") + MetafileHairline);
    // Dashes in pixels of the picture's own size.
    if (!PropertyValue(Tag, "stroke-dasharray", start, end, quote)) return Tag;
    QByteArray dashes;
    for (const QByteArray& d : Tag.mid(start, end - start).replace(',', ' ').split(' ')) {
        if (d.isEmpty()) continue;
        const double v = d.toDouble(&ok);
        if (!ok) return Tag; // none
        dashes += (dashes.isEmpty() ? "" : " ") + QByteArray::number(v * PixelsPerUnit, 'g', 6);
    }
    return Tag.replace(start, end - start, dashes);
}

// The SVG whose strokes of up to a pixel are hairlines; Pixels: the width of
// its viewport in pixels of the picture at its own size.
QByteArray WithHairlines(const QByteArray& Svg, double Pixels) {
    const double units = SvgWidth(Svg);
    if (!(units > 0) || !(Pixels > 0)) return Svg;
    const double pixelsPerUnit = Pixels / units;
    QByteArray out;
    qsizetype kept = 0;
    for (qsizetype at = 0; (at = Svg.indexOf("stroke-width", at)) >= 0;) {
        // Within a tag, not in the text of an element.
        const qsizetype open = Svg.lastIndexOf('<', at), close = Svg.indexOf('>', at);
        if (open < 0 || close < 0 || Svg.lastIndexOf('>', at) > open) {
            at += 12;
            continue;
        }
        if (out.isEmpty()) out.reserve(Svg.size() + Svg.size() / 8);
        out.append(Svg.constData() + kept, open - kept);
        out += HairlineTag(Svg.mid(open, close - open), pixelsPerUnit);
        kept = at = close;
    }
    if (kept == 0) return Svg;
    out.append(Svg.constData() + kept, Svg.size() - kept);
    return out;
}

// ---- enhanced metafiles ---------------------------------------------------

constexpr uint32_t EmfSignature = 0x464D4520u;
constexpr uint32_t emrHeader = 1, emrEOF = 14;

struct TEmfScan {
    qsizetype Bytes = 0;
    qsizetype HeaderSize = 0;
    QRectF Place{0, 0, 1, 1};
};

int32_t Le32s(const QByteArray& D, qsizetype At) {
    return static_cast<int32_t>(ReadLe32(D, At));
}

bool ScanEnhancedMetafile(const QByteArray& D, TEmfScan& S) {
    if (D.size() < 88 || D.size() > MetafileLimits::MaxBytes) return false;
    if (ReadLe32(D, 0) != emrHeader || ReadLe32(D, 40) != EmfSignature) return false;
    const uint32_t headerSize = ReadLe32(D, 4);
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > static_cast<uint32_t>(D.size())) return false;
    const uint32_t bytes = ReadLe32(D, 48);
    if (bytes < headerSize || bytes > static_cast<uint32_t>(D.size())) return false;
    if (ReadLe16(D, 56) > MetafileLimits::MaxObjects) return false;
    qsizetype at = 0;
    int count = 0;
    bool ended = false;
    while (at + 8 <= bytes) {
        const uint32_t type = ReadLe32(D, at), size = ReadLe32(D, at + 4);
        if (size < 8 || size % 4 != 0 || size > bytes - at) return false;
        if (++count > MetafileLimits::MaxRecords) return false;
        if ((type == emrHeader) != (at == 0)) return false;
        at += size;
        if (type == emrEOF) {
            ended = true;
            break;
        }
    }
    if (!ended || count < 3) return false;
    S.Bytes = at;
    S.HeaderSize = headerSize;
    // The library draws the bounds (reference-device pixels); the picture
    // is the frame (0.01 mm), converted with the reference device's size.
    const double bl = Le32s(D, 8), bt = Le32s(D, 12), br = Le32s(D, 16), bb = Le32s(D, 20);
    const double fl = Le32s(D, 24), ft = Le32s(D, 28), fr = Le32s(D, 32), fb = Le32s(D, 36);
    const double devX = Le32s(D, 72), devY = Le32s(D, 76), mmX = Le32s(D, 80), mmY = Le32s(D, 84);
    if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0 && fr > fl && fb > ft && br > bl && bb > bt) {
        const double sx = devX / (mmX * 100), sy = devY / (mmY * 100);
        const double fx = fl * sx, fy = ft * sy, fw = (fr - fl) * sx, fh = (fb - ft) * sy;
        const QRectF place((bl - fx) / fw, (bt - fy) / fh, (br - bl) / fw, (bb - bt) / fh);
        // A header that contradicts itself keeps the whole frame.
        if (place.left() > -1 && place.top() > -1 && place.right() < 2 && place.bottom() < 2 &&
            place.width() > 0.01 && place.height() > 0.01)
            S.Place = place;
    }
    return true;
}

// The records the library plays: those up to the end record, after a white
// brush selected, which a device context holds before the records select
// one (the library starts with black).
//
// The library draws the pens of the older call that makes pens one pixel
// wide, whatever their width, and takes the width of the newer call's pens
// in pixels, whatever the mapping. Where the units are the pixels (no record
// maps them otherwise), a pen of the older call two units wide or more goes
// to it as the newer call's pen of that width, solid as the system draws it.
QByteArray PlayedEnhancedMetafile(const QByteArray& Data, const TEmfScan& S) {
    constexpr uint32_t emrSetWindowExtEx = 9, emrSetViewportExtEx = 11, emrSetMapMode = 17,
                       emrScaleViewportExtEx = 31, emrScaleWindowExtEx = 32, emrSetWorldTransform = 35,
                       emrModifyWorldTransform = 36, emrSelectObject = 37, emrCreatePen = 38,
                       emrExtCreatePen = 95;
    constexpr uint32_t stockWhiteBrush = 0x80000000u, geometric = 0x10000u;
    bool pixels = true;
    for (qsizetype at = S.HeaderSize; at < S.Bytes && pixels; at += ReadLe32(Data, at + 4)) {
        const uint32_t type = ReadLe32(Data, at);
        pixels = type != emrSetWindowExtEx && type != emrSetViewportExtEx && type != emrScaleViewportExtEx &&
                 type != emrScaleWindowExtEx && type != emrSetWorldTransform &&
                 type != emrModifyWorldTransform &&
                 !(type == emrSetMapMode && (ReadLe32(Data, at + 4) < 12 || ReadLe32(Data, at + 8) != 1));
    }
    QByteArray out = Data.left(S.HeaderSize);
    for (const uint32_t v : {emrSelectObject, 12u, stockWhiteBrush})
        AppendLe32(out, v);
    for (qsizetype at = S.HeaderSize; at < S.Bytes;) {
        const uint32_t type = ReadLe32(Data, at), size = ReadLe32(Data, at + 4);
        const int32_t width = pixels && type == emrCreatePen && size >= 28 ? Le32s(Data, at + 16) : 0;
        if (width >= 2) {
            uint32_t style = ReadLe32(Data, at + 12) & 0xF;
            if (style != 5) style = 0; // only a hairline has dashes; the null pen stays
            for (const uint32_t v : {emrExtCreatePen, 52u, ReadLe32(Data, at + 8), 0u, 0u, 0u, 0u,
                                     geometric | style, uint32_t(width), 0u, ReadLe32(Data, at + 24), 0u, 0u})
                AppendLe32(out, v);
        } else {
            out.append(Data.constData() + at, size);
        }
        at += size;
    }
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(out.size()), out.data() + 48);
    qToLittleEndian<uint32_t>(ReadLe32(out, 52) + 1, out.data() + 52);
    return out;
}

// ---- the helper process ---------------------------------------------------

int64_t NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The CPU time a process has used so far, in clock ticks; -1 when it is gone.
long long CpuTicks(pid_t Pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(Pid));
    FILE* f = std::fopen(path, "r");
    if (!f) return -1;
    char line[1024];
    const size_t n = std::fread(line, 1, sizeof line - 1, f);
    std::fclose(f);
    line[n] = 0;
    // The fields after the name, which may hold spaces and brackets: the
    // state is the third field, user and system time the 14th and 15th.
    const char* p = std::strrchr(line, ')');
    unsigned long long user = 0, system = 0;
    if (!p ||
        std::sscanf(p + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user, &system) != 2)
        return -1;
    return static_cast<long long>(user + system);
}

// The helper's path: beside the program's own executable, else where the
// build put it (tests, benchmarks and fuzz targets live in other folders).
QString DefaultHelper() {
    static const QString path = [] {
        const QString own = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        const QString beside = QFileInfo(own).absolutePath() + QStringLiteral("/pravolin-metafile");
        if (QFileInfo(beside).isExecutable()) return beside;
#ifdef PRAVOLIN_METAFILE_HELPER
        return QStringLiteral(PRAVOLIN_METAFILE_HELPER);
#else
        return beside;
#endif
    }();
    return path;
}

std::mutex g_helperLock;
QString g_helper;
// The helpers that run, and whether the program ends.
std::vector<pid_t> g_running;
bool g_stopping = false;

QString HelperProgram() {
    std::lock_guard lock(g_helperLock);
    return g_helper.isEmpty() ? DefaultHelper() : g_helper;
}

// Starts the program with its standard input and output on pipes (returned
// non-blocking, closed on exec) and its errors on /dev/null. posix_spawn
// starts a new program at once: nothing of this (threaded) process runs in
// the child.
pid_t SpawnHelper(const QByteArray& Program, const QList<QByteArray>& Args, int& In, int& Out) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return -1;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return -1;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(Program.constData()));
    for (const QByteArray& a : Args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // The program's handlers and blocked signals are no business of the helper's.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (posix_spawn(&pid, Program.constData(), &actions, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(in[0]);
    close(out[1]);
    if (pid < 0) {
        close(in[1]);
        close(out[0]);
        return -1;
    }
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    In = in[1];
    Out = out[0];
    return pid;
}

// Feeds Input to the helper and collects what it writes, within the limits;
// false when it fails, dies, overruns a limit or writes more than MaxOut
// bytes before its closing byte.
bool RunHelper(const QList<QByteArray>& Args, const QByteArray& Input, qsizetype MaxOut, QByteArray& Out,
               int& Signal) {
    Signal = 0;
    int cpuMs = 0, wallMs = 0;
    MetafileTimeLimits(cpuMs, wallMs);
    const QByteArray program = QFile::encodeName(HelperProgram());
    // Writing to a helper that has ended raises SIGPIPE, which would end the
    // program: this thread holds it back and drops it.
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const auto restore = qScopeGuard([&] {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &now) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    });
    int in = -1, out = -1;
    const pid_t pid = SpawnHelper(program, Args, in, out);
    if (pid < 0) return false;
    {
        std::lock_guard lock(g_helperLock);
        if (g_stopping) kill(pid, SIGKILL);
        g_running.push_back(pid);
    }
    // CPU time bounds the work (the kernel ends the helper by SIGXCPU, then
    // SIGKILL); the wall clock only catches a helper that hangs: one that
    // has used no CPU time for so long. A helper that works, however slowly
    // a loaded machine lets it, is not hung.
    const rlim_t seconds = static_cast<rlim_t>((cpuMs + 999) / 1000);
    const rlimit cpu{seconds, seconds + 1};
    prlimit(pid, RLIMIT_CPU, &cpu, nullptr);
    QByteArray got;
    qsizetype written = 0;
    int64_t deadline = NowMs() + wallMs;
    long long ticks = CpuTicks(pid);
    bool overrun = false;
    while (out >= 0) {
        int64_t left = deadline - NowMs();
        if (left <= 0) {
            if (const long long now = CpuTicks(pid); now > ticks) {
                ticks = now;
                deadline = NowMs() + wallMs;
                left = wallMs;
            }
        }
        if (left <= 0) {
            overrun = true;
            break;
        }
        pollfd p[2] = {{out, POLLIN, 0}, {in, POLLOUT, 0}};
        const int r = poll(p, in >= 0 ? 2 : 1, static_cast<int>(std::min<int64_t>(left, 1000)));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            overrun = true;
            break;
        }
        if (in >= 0 && p[1].revents) {
            // A helper that ends without reading all leaves the rest unwritten.
            const bool writable = p[1].revents & POLLOUT;
            const ssize_t n =
                writable ? write(in, Input.constData() + written,
                                 static_cast<size_t>(std::min<qsizetype>(Input.size() - written, 65536)))
                         : -1;
            if (n > 0) written += n;
            if ((n < 0 && !(writable && (errno == EINTR || errno == EAGAIN))) || written == Input.size()) {
                close(in);
                in = -1;
            }
        }
        if (p[0].revents) {
            char buffer[65536];
            const ssize_t n = read(out, buffer, sizeof buffer);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (n <= 0) break;
            got.append(buffer, n);
            if (got.size() > MaxOut + 1) {
                overrun = true;
                break;
            }
        }
    }
    if (in >= 0) close(in);
    close(out);
    if (overrun) kill(pid, SIGKILL);
    {
        std::lock_guard lock(g_helperLock);
        std::erase(g_running, pid);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // The helper ends with 0 or 1 by itself; another code comes from a
    // runtime (a sanitizer) that stopped it.
    Signal = WIFSIGNALED(status)                            ? WTERMSIG(status)
             : WIFEXITED(status) && WEXITSTATUS(status) > 1 ? SIGABRT
                                                            : 0;
    if (overrun || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || !got.endsWith('\1')) return false;
    got.chop(1);
    Out = got;
    return true;
}

} // namespace

bool RunMetafileHelper(const QList<QByteArray>& Args, const QByteArray& Input, QByteArray& Out) {
    int signal = 0;
    const bool ok = RunHelper(Args, Input, MetafileLimits::MaxSvgBytes, Out, signal);
    g_lastSignal = signal;
    return ok;
}

int LastMetafileWorkSignal() {
    return g_lastSignal;
}

void StopMetafileHelpers() {
    std::lock_guard lock(g_helperLock);
    g_stopping = true;
    for (const pid_t pid : g_running)
        kill(pid, SIGKILL);
}

QString MetafileHelperPath() {
    return HelperProgram();
}

void SetMetafileHelper(const QString& Program) {
    std::lock_guard lock(g_helperLock);
    g_helper = Program;
}

QByteArray PlaceableHeader(int Left, int Top, int Right, int Bottom, int Inch) {
    QByteArray out;
    AppendLe32(out, PlaceableKey);
    AppendLe16(out, 0);
    for (int v : {Left, Top, Right, Bottom})
        AppendLe16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
    AppendLe16(out, static_cast<uint16_t>(Inch));
    AppendLe32(out, 0);
    AppendLe16(out, PlaceableChecksum(out));
    return out;
}

QByteArray PlaceableWindowsMetafile(int Width, int Height, int Inch, int Objects, uint32_t MaxRecordWords,
                                    const QByteArray& Records) {
    QByteArray out = PlaceableHeader(0, 0, Width, Height, Inch);
    AppendLe16(out, 1); // in memory
    AppendLe16(out, HeaderSize / 2);
    AppendLe16(out, 0x0300);
    AppendLe32(out, static_cast<uint32_t>((HeaderSize + Records.size()) / 2));
    AppendLe16(out, static_cast<uint16_t>(Objects));
    AppendLe32(out, MaxRecordWords);
    AppendLe16(out, 0);
    return out + Records;
}

void SetPlaceableInch(QByteArray& Data, int Inch) {
    if (Data.size() < PlaceableSize) return;
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(Inch), Data.data() + 14);
    qToLittleEndian<uint16_t>(PlaceableChecksum(Data), Data.data() + 20);
}

bool CheckWindowsMetafile(const QByteArray& Data) {
    TWmfScan s;
    return ScanWindowsMetafile(Data, s);
}

bool CheckEnhancedMetafile(const QByteArray& Data) {
    TEmfScan s;
    return ScanEnhancedMetafile(Data, s);
}

bool ConvertMetafile(const QByteArray& Data, bool Enhanced, TMetafileSvg& Out) {
    g_lastSignal = 0;
    const QByteArray parent = QByteArray::number(static_cast<qint64>(getpid()));
    QByteArray svg;
    if (Enhanced) {
        TEmfScan s;
        if (!ScanEnhancedMetafile(Data, s)) return false;
        ++g_conversions;
        if (!RunMetafileHelper({"emf", parent}, PlayedEnhancedMetafile(Data, s), svg)) return false;
        // The picture's own size is its frame (0.01 mm); the SVG fills the
        // part of it that Place gives.
        const double frame = (double(Le32s(Data, 32)) - Le32s(Data, 24)) * 96 / 2540;
        Out.Svg = WithHairlines(svg, s.Place.width() * frame);
        Out.Place = s.Place;
        return true;
    }
    TWmfScan s;
    if (!ScanWindowsMetafile(Data, s)) return false;
    const TFrame f = FrameOf(s);
    if (!Fits16(f.Left) || !Fits16(f.Top) || !Fits16(f.Right) || !Fits16(f.Bottom)) return false;
    // Fonts are turned by their angle in the metafile's own axes; the library
    // turns them on the page. Where one axis runs the other way round (y up,
    // or x to the left), the played copy turns them the other way.
    if (((f.Right < f.Left) != (f.Bottom < f.Top)) || (s.MapMode >= 2 && s.MapMode <= 6))
        for (const qsizetype font : s.Fonts)
            for (const qsizetype angle : {font + 10, font + 12})
                qToLittleEndian<int16_t>(static_cast<int16_t>((3600 - Le16s(s.Records, angle) % 3600) % 3600),
                                         s.Records.data() + angle);
    // The two probes have the same length.
    const QByteArray probe = BuildWindowsMetafile(s, ProbeRecords(s, f, false)) +
                             BuildWindowsMetafile(s, ProbeRecords(s, f, true));
    const QByteArray playback = BuildWindowsMetafile(s, PlaybackRecords(s));
    const int w = std::abs(f.Right - f.Left), h = std::abs(f.Bottom - f.Top);
    const double aspect =
        std::clamp(double(std::abs(s.Right - s.Left)) / std::abs(s.Bottom - s.Top), 0.001, 1000.0);
    ++g_conversions;
    if (!RunMetafileHelper({"wmf", parent, QByteArray::number(w), QByteArray::number(h),
                            QByteArray::number(aspect, 'g', 17), QByteArray::number(probe.size() / 2)},
                           probe + playback, svg))
        return false;
    Out.Svg = JoinedMaskedPictures(FixedLibwmfSvg(svg), s.BitmapRops);
    Out.Svg = WithHairlines(Out.Svg, std::abs(s.Right - s.Left) * 96.0 / s.Inch);
    Out.Place = QRectF(0, 0, 1, 1);
    return !Out.Svg.isEmpty();
}

void SetMetafileTimeLimits(int CpuMs, int WallMs) {
    g_cpuLimitMs = std::max(1, CpuMs);
    g_wallLimitMs = std::max(1, WallMs);
}

void MetafileTimeLimits(int& CpuMs, int& WallMs) {
    CpuMs = g_cpuLimitMs;
    WallMs = g_wallLimitMs;
}

int MetafileConversionCount() {
    return g_conversions;
}

bool RenderMetafileSvg(const QByteArray& Svg, const QRectF& Place, QSize Size, QImage& Out) {
    ++g_renders;
    if (Size.isEmpty() || qint64(Size.width()) * Size.height() > MetafileLimits::MaxRenderPixels)
        return false;
    const qsizetype bytes = qsizetype(Size.width()) * Size.height() * 4;
    QList<QByteArray> args{"svg", QByteArray::number(static_cast<qint64>(getpid())),
                           QByteArray::number(Size.width()), QByteArray::number(Size.height())};
    for (const double v : {Place.x(), Place.y(), Place.width(), Place.height()})
        args << QByteArray::number(v, 'g', 17);
    for (const QString& font : ProgramFontFiles())
        args << QFile::encodeName(font);
    QByteArray pixels;
    int signal = 0;
    const bool ok = RunHelper(args, Svg, bytes, pixels, signal) && pixels.size() == bytes;
    g_lastRenderSignal = signal;
    if (!ok) return false;
    QImage image(Size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return false;
    for (int y = 0; y < Size.height(); ++y)
        std::memcpy(image.scanLine(y), pixels.constData() + qsizetype(y) * Size.width() * 4,
                    size_t(Size.width()) * 4);
    Out = image;
    return true;
}

int MetafileRenderCount() {
    return g_renders;
}

int LastMetafileRenderSignal() {
    return g_lastRenderSignal;
}
