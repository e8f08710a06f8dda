#include "platform/CodePage.h"

#include <QByteArray>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <mutex>

namespace CodePage {

namespace {
// Bytes 0x80..0x9F of code page 1252; the five undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const char* iconvName(int cp) {
    switch (cp) {
    case 437: return "CP437";
    case 850: return "CP850";
    case 852: return "CP852";
    case 866: return "CP866";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

// iconv descriptors are not thread-safe; the program converts on one thread,
// the lock only protects tests that might not.
std::mutex g_lock;

std::u16string iconvDecode(const char* name, std::string_view bytes) {
    std::lock_guard<std::mutex> guard(g_lock);
    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::u16string out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char16_t buf[256];
    while (inLeft > 0) {
        char* o = reinterpret_cast<char*>(buf);
        size_t oLeft = sizeof(buf);
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, (sizeof(buf) - oLeft) / 2);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or truncated sequence: one '?' for its first byte, go on.
            out.push_back(u'?');
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::string iconvEncode(const char* name, const QString& text, bool* lossy) {
    std::lock_guard<std::mutex> guard(g_lock);
    iconv_t cd = iconv_open(name, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out;
    const char16_t* data = reinterpret_cast<const char16_t*>(text.utf16());
    size_t n = static_cast<size_t>(text.size());
    for (size_t i = 0; i < n; ++i) {
        // One character (or surrogate pair) at a time, so an unmappable one becomes '?'.
        size_t len = (data[i] >= 0xD800 && data[i] < 0xDC00 && i + 1 < n) ? 2 : 1;
        char* in = reinterpret_cast<char*>(const_cast<char16_t*>(data + i));
        size_t inLeft = len * 2;
        char buf[16];
        char* o = buf;
        size_t oLeft = sizeof(buf);
        if (iconv(cd, &in, &inLeft, &o, &oLeft) == static_cast<size_t>(-1)) {
            out.push_back('?');
            if (lossy)
                *lossy = true;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buf, sizeof(buf) - oLeft);
        }
        i += len - 1;
    }
    iconv_close(cd);
    return out;
}
} // namespace

char16_t Cp1252ToUnicode(unsigned char b) {
    if (b >= 0x80 && b < 0xA0)
        return kHigh[b - 0x80];
    return b;
}

int UnicodeToCp1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

QString FromCp1252(std::string_view bytes) {
    QString s;
    s.resize(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i)
        s[static_cast<qsizetype>(i)] = QChar(Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    return s;
}

std::string ToCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        int b = UnicodeToCp1252(ch.unicode());
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

bool IsKnown(int codePage) { return codePage == CP_1252 || codePage == 0 || iconvName(codePage) != nullptr; }

QString ToUnicode(int codePage, std::string_view bytes) {
    const char* name = iconvName(codePage);
    if (codePage == CP_1252 || !name)
        return FromCp1252(bytes);
    std::u16string u = iconvDecode(name, bytes);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

std::string FromUnicode(int codePage, const QString& text, bool* lossy) {
    if (lossy)
        *lossy = false;
    const char* name = iconvName(codePage);
    if (codePage == CP_1252 || !name) {
        std::string out = ToCp1252(text);
        if (lossy)
            for (qsizetype i = 0; i < text.size(); ++i)
                if (out[static_cast<size_t>(i)] == '?' && text[i] != u'?')
                    *lossy = true;
        return out;
    }
    return iconvEncode(name, text, lossy);
}

int CharsetToCodePage(int charset) {
    switch (charset) {
    case 0: case 1: case 2: return 1252;   // ANSI, default, symbol
    case 77: return 10000;                 // Mac
    case 128: return 932;                  // Shift-JIS
    case 129: return 949;                  // Hangul
    case 134: return 936;                  // GB2312
    case 136: return 950;                  // Big5
    case 161: return 1253;                 // Greek
    case 162: return 1254;                 // Turkish
    case 163: return 1258;                 // Vietnamese
    case 177: return 1255;                 // Hebrew
    case 178: return 1256;                 // Arabic
    case 186: return 1257;                 // Baltic
    case 204: return 1251;                 // Russian
    case 222: return 874;                  // Thai
    case 238: return 1250;                 // Eastern Europe
    case 255: return 850;                  // OEM
    default: return 1252;
    }
}

QString AnsiUpperCase(const QString& s) {
    QString r = s;
    for (qsizetype i = 0; i < r.size(); ++i) {
        QChar c = r[i];
        if (c.isLowSurrogate() || c.isHighSurrogate())
            continue;
        QString up = QString(c).toUpper();
        if (up.size() == 1)
            r[i] = up[0];
    }
    return r;
}

QString AnsiLowerCase(const QString& s) {
    QString r = s;
    for (qsizetype i = 0; i < r.size(); ++i) {
        QChar c = r[i];
        if (c.isLowSurrogate() || c.isHighSurrogate())
            continue;
        QString lo = QString(c).toLower();
        if (lo.size() == 1)
            r[i] = lo[0];
    }
    return r;
}

std::string AnsiUpperCase1252(std::string_view s) {
    std::string out(s);
    for (char& b : out) {
        QString up = QString(QChar(Cp1252ToUnicode(static_cast<unsigned char>(b)))).toUpper();
        if (up.size() != 1)
            continue;
        int u = UnicodeToCp1252(up[0].unicode());
        if (u >= 0)
            b = static_cast<char>(u);
    }
    return out;
}

} // namespace CodePage
