#include "platform/Fonts.h"

#include "platform/CodePage.h"
#include "platform/Graphics.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <unordered_map>

namespace {

// The "Symbol" encoding in Unicode; codes without a character keep
// U+F000 + code (the private-use place of symbol fonts).
// clang-format off
const char16_t kSymbolTable[256] = {
    0xF000, 0xF001, 0xF002, 0xF003, 0xF004, 0xF005, 0xF006, 0xF007,  // 00
    0xF008, 0xF009, 0xF00A, 0xF00B, 0xF00C, 0xF00D, 0xF00E, 0xF00F,  // 08
    0xF010, 0xF011, 0xF012, 0xF013, 0xF014, 0xF015, 0xF016, 0xF017,  // 10
    0xF018, 0xF019, 0xF01A, 0xF01B, 0xF01C, 0xF01D, 0xF01E, 0xF01F,  // 18
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,  // 20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,  // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 38
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,  // 48
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,  // 58
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,  // 68
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0xF07F,  // 78
    0xF080, 0xF081, 0xF082, 0xF083, 0xF084, 0xF085, 0xF086, 0xF087,  // 80
    0xF088, 0xF089, 0xF08A, 0xF08B, 0xF08C, 0xF08D, 0xF08E, 0xF08F,  // 88
    0xF090, 0xF091, 0xF092, 0xF093, 0xF094, 0xF095, 0xF096, 0xF097,  // 90
    0xF098, 0xF099, 0xF09A, 0xF09B, 0xF09C, 0xF09D, 0xF09E, 0xF09F,  // 98
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // A0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // B0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,  // B8
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // C0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,  // C8
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // D0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,  // D8
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,  // E0
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,  // E8
    0xF0F0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,  // F0
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0xF0FF,  // F8
};
// clang-format on

// The "Wingdings" encoding in Unicode. Its pictures beyond the Basic
// Multilingual Plane take a close character of it where there is one, so
// that a code stays one UTF-16 unit; the others keep U+F000 + code.
// clang-format off
const char16_t kWingdingsTable[256] = {
    0xF000, 0xF001, 0xF002, 0xF003, 0xF004, 0xF005, 0xF006, 0xF007,  // 00
    0xF008, 0xF009, 0xF00A, 0xF00B, 0xF00C, 0xF00D, 0xF00E, 0xF00F,  // 08
    0xF010, 0xF011, 0xF012, 0xF013, 0xF014, 0xF015, 0xF016, 0xF017,  // 10
    0xF018, 0xF019, 0xF01A, 0xF01B, 0xF01C, 0xF01D, 0xF01E, 0xF01F,  // 18
    0x0020, 0x270E, 0x2702, 0x2701, 0xF024, 0xF025, 0xF026, 0xF027,  // 20
    0x260E, 0x2706, 0x2709, 0x2709, 0xF02C, 0xF02D, 0xF02E, 0xF02F,  // 28
    0xF030, 0xF031, 0xF032, 0xF033, 0xF034, 0xF035, 0x231B, 0x2328,  // 30
    0xF038, 0xF039, 0xF03A, 0xF03B, 0xF03C, 0xF03D, 0x2707, 0x270D,  // 38
    0xF040, 0x270C, 0xF042, 0xF043, 0xF044, 0x261C, 0x261E, 0x261D,  // 40
    0x261F, 0x270B, 0x263A, 0xF04B, 0x2639, 0xF04D, 0x2620, 0x2690,  // 48
    0x2691, 0x2708, 0x263C, 0xF053, 0x2744, 0x271D, 0x271E, 0xF057,  // 50
    0x2720, 0x2721, 0x262A, 0x262F, 0x0950, 0x2638, 0x2648, 0x2649,  // 58
    0x264A, 0x264B, 0x264C, 0x264D, 0x264E, 0x264F, 0x2650, 0x2651,  // 60
    0x2652, 0x2653, 0x0026, 0x0026, 0x25CF, 0x274D, 0x25A0, 0x25A1,  // 68
    0x25FB, 0x2751, 0x2752, 0x2B27, 0x29EB, 0x25C6, 0x2756, 0x2B25,  // 70
    0x2327, 0x2BB9, 0x2318, 0x273F, 0x273E, 0x275D, 0x275E, 0xF07F,  // 78
    0x24EA, 0x2460, 0x2461, 0x2462, 0x2463, 0x2464, 0x2465, 0x2466,  // 80
    0x2467, 0x2468, 0x2469, 0x24FF, 0x2776, 0x2777, 0x2778, 0x2779,  // 88
    0x277A, 0x277B, 0x277C, 0x277D, 0x277E, 0x277F, 0xF096, 0xF097,  // 90
    0xF098, 0xF099, 0xF09A, 0xF09B, 0xF09C, 0xF09D, 0x00B7, 0x2022,  // 98
    0x25AA, 0x26AA, 0x25EF, 0x25CB, 0x25C9, 0x25CE, 0xF0A6, 0x25AA,  // A0
    0x25FB, 0xF0A9, 0x2726, 0x2605, 0x2736, 0x2734, 0x2739, 0x2735,  // A8
    0x2BD0, 0x2316, 0x27E1, 0x2311, 0x2BD1, 0x272A, 0x2730, 0xF0B7,  // B0
    0xF0B8, 0xF0B9, 0xF0BA, 0xF0BB, 0xF0BC, 0xF0BD, 0xF0BE, 0xF0BF,  // B8
    0xF0C0, 0xF0C1, 0xF0C2, 0x2BB0, 0x2BB1, 0x2BB2, 0x2BB3, 0x2BB4,  // C0
    0x2BB5, 0x2BB6, 0x2BB7, 0xF0CB, 0xF0CC, 0xF0CD, 0xF0CE, 0xF0CF,  // C8
    0xF0D0, 0xF0D1, 0xF0D2, 0xF0D3, 0xF0D4, 0x232B, 0x2326, 0x2B98,  // D0
    0x27A2, 0x2B99, 0x2B9B, 0x2B88, 0x2B8A, 0x2B89, 0x2B8B, 0x2B60,  // D8
    0x2B62, 0x2B61, 0x2B63, 0x2B66, 0x2B67, 0x2B69, 0x2B68, 0x2B05,  // E0
    0x27A1, 0x2B06, 0x2B07, 0x2B09, 0x2B08, 0x2B0B, 0x2B0A, 0x21E6,  // E8
    0x21E8, 0x21E7, 0x21E9, 0x2B04, 0x21F3, 0x2B00, 0x2B01, 0x2B03,  // F0
    0x2B02, 0xF0F9, 0xF0FA, 0x2718, 0x2713, 0x2612, 0x2611, 0xF0FF,  // F8
};
// clang-format on

// The fonts whose codes stand for other characters than their code page's.
struct TSymbolFont {
    const char* Name;
    const char16_t* Table;
};
constexpr TSymbolFont kSymbolFonts[] = {{"Symbol", kSymbolTable}, {"Wingdings", kWingdingsTable}};

// Asked for every piece of text measured, drawn or written: no copies of the name.
template <class TName> const char16_t* SymbolTableOf(const TName& name) {
    for (const TSymbolFont& f : kSymbolFonts)
        if (name.compare(QLatin1String(f.Name), Qt::CaseInsensitive) == 0) return f.Table;
    return nullptr;
}

// Text in the codes of a symbol font, as the program passes it: codes below
// 256, code page 1252 characters or U+F0xx.
QString CodesToUnicode(const char16_t* table, const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        int code = -1;
        if (u < 0x100)
            code = u;
        else if (u >= 0xF000 && u <= 0xF0FF)
            code = u - 0xF000;
        else
            code = CodePage::UnicodeToCp1252(u); // 0x80..0x9F came through code page 1252
        // "Symbol" has nothing at 0x80..0x9F: text there was written in the
        // code page's characters (a bullet, a dash) and stays so.
        const bool empty = table == kSymbolTable && code >= 0x80 && code < 0xA0 && u != 0xF000 + code;
        out.append(code >= 0 && code < 256 && !empty ? QChar(table[code]) : c);
    }
    return out;
}

// Whether a family is installed here (asked once per family).
bool FamilyInstalled(const QString& name) {
    static QHash<QString, bool> known;
    const QString key = name.trimmed().toLower();
    auto it = known.find(key);
    if (it != known.end()) return *it;
    bool installed = false;
    if (QGuiApplication::instance()) {
        RegisterProgramFonts();
        installed = QFontDatabase::families().contains(name.trimmed(), Qt::CaseInsensitive);
    }
    known.insert(key, installed);
    return installed;
}

bool g_fontsRegistered = false;
// Read by the threads that render metafile pictures.
std::mutex g_fontFilesLock;
QStringList g_fontFiles;

} // namespace

void RegisterProgramFonts() {
    if (g_fontsRegistered || !QGuiApplication::instance()) return;
    g_fontsRegistered = true;
    const QStringList known = QFontDatabase::families();
    struct Entry {
        const char* family;
        const char* files[2];
    };
    // Only the families the program names; the other wine fonts stay out.
    const Entry entries[] = {{"Tahoma", {"tahoma.ttf", "tahomabd.ttf"}},
                             {"MS Sans Serif", {"ms_sans_serif.ttf", nullptr}}};
    const QDir dir(QStringLiteral("/usr/share/wine/fonts"));
    for (const Entry& e : entries) {
        if (known.contains(QString::fromLatin1(e.family), Qt::CaseInsensitive)) continue;
        for (const char* file : e.files)
            if (file && dir.exists(QString::fromLatin1(file)) &&
                QFontDatabase::addApplicationFont(dir.filePath(QString::fromLatin1(file))) >= 0) {
                std::lock_guard lock(g_fontFilesLock);
                g_fontFiles << dir.filePath(QString::fromLatin1(file));
            }
    }
}

QStringList ProgramFontFiles() {
    std::lock_guard lock(g_fontFilesLock);
    return g_fontFiles;
}

bool IsSymbolFontName(const QString& name) {
    return SymbolTableOf(name) != nullptr;
}

bool IsSymbolFontName(QLatin1String name) {
    return SymbolTableOf(name) != nullptr;
}

QString MapFontFamily(const QString& name) {
    static const std::array<std::pair<const char*, const char*>, 6> map = {{
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Symbol", "DejaVu Sans"},
    }};
    const QString trimmed = name.trimmed();
    for (const auto& [from, to] : map)
        if (trimmed.compare(QLatin1String(from), Qt::CaseInsensitive) == 0) return QString::fromLatin1(to);
    if (trimmed.isEmpty()) return QStringLiteral("Liberation Sans");
    return trimmed;
}

namespace {

QFont BaseQFont(const TFont& font) {
    RegisterProgramFonts();
    QFont f;
    f.setFamilies({MapFontFamily(font.Name()), QStringLiteral("DejaVu Sans")});
    const TFontStyles s = font.Style();
    f.setBold((s & fsBold) != 0);
    f.setItalic((s & fsItalic) != 0);
    f.setUnderline((s & fsUnderline) != 0);
    f.setStrikeOut((s & fsStrikeOut) != 0);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setKerning(false);
    if (font.Pitch() == fpFixed) f.setFixedPitch(true);
    // Qt widens or narrows the glyphs and their advances alike.
    if (font.Stretch() != 100) f.setStretch(font.Stretch());
    return f;
}

// Vertical design metrics of a face, in units of its em.
struct FaceMetrics {
    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    bool Valid() const { return unitsPerEm > 0 && winAscent + winDescent > 0; }
};

int BigEndian16(const QByteArray& table, int offset) {
    if (offset + 2 > table.size()) return -1;
    return (static_cast<unsigned char>(table[offset]) << 8) | static_cast<unsigned char>(table[offset + 1]);
}

// The metrics of the face Qt really uses for the font (a fallback face
// included), read once per face and style.
FaceMetrics FaceMetricsOf(const QFont& base) {
    static QHash<QString, FaceMetrics> cache;
    const QString key = base.families().join(QLatin1Char(',')) + QLatin1Char('|') +
                        QString::number(base.weight()) + QLatin1Char('|') + QString::number(base.italic());
    const auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    FaceMetrics m;
    // A face of bitmaps alone is not opened at a size it has no strike of:
    // FreeType's face is shared by all sizes, and every later drawing of the
    // face would come out empty.
    const QString family = base.families().value(0);
    if (QFontDatabase::families().contains(family) && !QFontDatabase::isSmoothlyScalable(family)) {
        cache.insert(key, m);
        return m;
    }
    QFont probe = base;
    probe.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(probe);
    // Faces of bitmaps alone (the stand-in of the old raster font) keep the
    // cell of their strikes, which Qt reports.
    const QList<quint32> probeGlyph =
        raw.isValid() ? raw.glyphIndexesForString(QStringLiteral("H")) : QList<quint32>();
    const bool outlines = !probeGlyph.isEmpty() && !raw.pathForGlyph(probeGlyph.first()).isEmpty();
    if (outlines) {
        const QByteArray head = raw.fontTable("head");
        const QByteArray os2 = raw.fontTable("OS/2");
        m.unitsPerEm = BigEndian16(head, 18);
        m.winAscent = BigEndian16(os2, 74);
        m.winDescent = BigEndian16(os2, 76);
        if (m.unitsPerEm < 16 || m.winAscent < 0 || m.winDescent < 0) m = FaceMetrics{};
    }
    cache.insert(key, m);
    return m;
}

// The em in pixels of a font given by the cell height H (> 0), scaled by the
// family's proportion of em to cell; the base font and its face metrics come
// from the caller, which may need them too.
int CellPixelSize(int h, const QFont& base, const FaceMetrics& face) {
    if (face.Valid())
        return std::max(1, static_cast<int>(std::lround(static_cast<double>(h) * face.unitsPerEm /
                                                        (face.winAscent + face.winDescent))));
    QFont f = base;
    f.setPixelSize(1000);
    const QFontMetricsF m(f);
    const double cell = m.ascent() + m.descent();
    if (cell <= 0) return h;
    return std::max(1, static_cast<int>(std::lround(h * 1000.0 / cell)));
}

} // namespace

int FontPixelSize(const TFont& font) {
    const int h = font.Height();
    if (h < 0) return -h;
    if (h == 0) return 13; // the system's default character height
    const QFont base = BaseQFont(font);
    return CellPixelSize(h, base, FaceMetricsOf(base));
}

namespace {
TFontCell MeasureFontCell(const TFont& font);
} // namespace

TFontCell FontCell(const TFont& font) {
    static std::unordered_map<TFontMeasureKey, TFontCell, TFontMeasureKeyHash> cache;
    const TFontMeasureKey key = font.MeasureKey();
    const auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    return cache.emplace(key, MeasureFontCell(font)).first->second;
}

namespace {

TFontCell MeasureFontCell(const TFont& font) {
    const QFont base = BaseQFont(font);
    const FaceMetrics face = FaceMetricsOf(base);
    const int h = font.Height();
    const int size = std::max(1, h > 0 ? CellPixelSize(h, base, face) : FontPixelSize(font));
    if (!face.Valid()) {
        QFont f = base;
        f.setPixelSize(size);
        const QFontMetrics m(f);
        return {m.ascent(), m.descent()};
    }
    // The whole cell and the descent are each rounded; the ascent is the rest,
    // so that the cell is the scaled sum.
    const auto scaled = [&](int units) {
        return static_cast<int>(std::lround(static_cast<double>(units) * size / face.unitsPerEm));
    };
    const int height = scaled(face.winAscent + face.winDescent);
    const int descent = std::min(scaled(face.winDescent), height);
    return {height - descent, descent};
}

} // namespace

namespace {

// Dark pixels of a few stems drawn as the canvas draws them.
int StemInk(const QFont& font, int size) {
    QImage img(size * 4, size * 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(1, size + size / 2), QStringLiteral("lIH"));
    }
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            n += qGray(line[x]) < 128;
    }
    return n;
}

} // namespace

bool SimulatedBold(const TFont& font) {
    if (!(font.Style() & fsBold)) return false;
    const QFont bold = ToQFont(font);
    const int size = bold.pixelSize();
    if (size > 400) return false;
    static QHash<QString, bool> cache;
    const QString key = bold.families().join(QLatin1Char(',')) + QLatin1Char('|') + QString::number(bold.italic()) +
                        QLatin1Char('|') + QString::number(size);
    const auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    QFont regular = bold;
    regular.setBold(false);
    const bool simulated = StemInk(bold, size) <= StemInk(regular, size);
    cache.insert(key, simulated);
    return simulated;
}

QFont ToQFont(const TFont& font) {
    QFont f = BaseQFont(font);
    const int h = font.Height();
    f.setPixelSize(std::max(1, h > 0 ? CellPixelSize(h, f, FaceMetricsOf(f)) : FontPixelSize(font)));
    return f;
}

QChar SymbolToUnicode(unsigned char code) {
    return QChar(kSymbolTable[code]);
}

int UnicodeToSymbol(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0xF000 && u <= 0xF0FF) return u - 0xF000;
    for (int i = 0x20; i < 256; ++i)
        if (kSymbolTable[i] == u) return i;
    // Greek letters have second forms in Unicode.
    if (u == 0x2126) return 0x57; // ohm sign
    if (u == 0x2206) return 0x44; // increment
    if (u == 0x00B5) return 0x6D; // micro sign
    return -1;
}

QString SymbolTextToUnicode(const QString& text) {
    return CodesToUnicode(kSymbolTable, text);
}

QString SymbolFontTextToUnicode(const QString& fontName, const QString& text) {
    const char16_t* table = SymbolTableOf(fontName);
    return table ? CodesToUnicode(table, text) : text;
}

QString DisplayText(const TFont& font, const QString& text) {
    const char16_t* table = SymbolTableOf(font.Name());
    // "Symbol" is never installed here; the others only show their own
    // pictures where they are.
    if (!table || (table != kSymbolTable && FamilyInstalled(font.Name()))) return text;
    return CodesToUnicode(table, text);
}
