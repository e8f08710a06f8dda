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

bool g_fontsRegistered = false;

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
            if (file && dir.exists(QString::fromLatin1(file)))
                QFontDatabase::addApplicationFont(dir.filePath(QString::fromLatin1(file)));
    }
}

bool IsSymbolFontName(const QString& name) {
    return name.compare(QStringLiteral("Symbol"), Qt::CaseInsensitive) == 0;
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
    QFont probe = base;
    probe.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(probe);
    FaceMetrics m;
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
    // Runs of text mostly come in the font of the run before.
    static TFont lastFont;
    static TFontCell lastCell;
    static bool known = false;
    if (known && lastFont.SameAs(font)) return lastCell;
    lastCell = MeasureFontCell(font);
    lastFont = font;
    known = true;
    return lastCell;
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
        out.append(code >= 0 && code < 256 ? SymbolToUnicode(static_cast<unsigned char>(code)) : c);
    }
    return out;
}

QString DisplayText(const TFont& font, const QString& text) {
    return IsSymbolFontName(font.Name()) ? SymbolTextToUnicode(text) : text;
}
