#include "platform/CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>

namespace CodePage {

namespace {
// Bytes 0x80..0x9F of code page 1252; the five undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr int kMacJapanese = 10001;

// The ICU converter of a Windows code page. The Mac pages of the CJK scripts
// take the Windows page of the same character set; Mac Japanese differs from
// it in the single bytes below.
const char* IcuName(int cp) {
    switch (cp) {
    case 437: return "ibm-437_P100-1995";
    case 737: return "ibm-737_P100-1997";
    case 775: return "ibm-775_P100-1996";
    case 850: return "ibm-850_P100-1995";
    case 852: return "ibm-852_P100-1995";
    case 855: return "ibm-855_P100-1995";
    case 857: return "ibm-857_P100-1995";
    case 858: return "ibm-858_P100-1997";
    case 860: return "ibm-860_P100-1995";
    case 861: return "ibm-861_P100-1995";
    case 862: return "ibm-862_P100-1995";
    case 863: return "ibm-863_P100-1995";
    case 864: return "ibm-864_X110-1999";
    case 865: return "ibm-865_P100-1995";
    case 866: return "ibm-866_P100-1995";
    case 869: return "ibm-869_P100-1995";
    case 874: return "windows-874-2000";
    case 932:
    case kMacJapanese: return "ibm-943_P15A-2003";
    case 936:
    case 10008: return "windows-936-2000";
    case 949:
    case 10003: return "windows-949-2000";
    case 950:
    case 10002: return "windows-950-2000";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macos-0_2-10.2";
    case 10006: return "macos-6_2-10.4";
    case 10007: return "macos-7_3-10.2";
    case 10029: return "macos-29-10.2";
    case 10081: return "macos-35-10.2";
    case 20127: return "US-ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    case 51932: return "EUC-JP";
    case 54936: return "gb18030";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

// Single bytes of Mac Japanese that its Windows relative leaves undefined.
constexpr std::array<std::pair<unsigned char, char16_t>, 5> kMacJapaneseBytes = {
    {{0x80, 0x005C}, {0xA0, 0x00A0}, {0xFD, 0x00A9}, {0xFE, 0x2122}, {0xFF, 0x2026}}};

struct TConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using TConverter = std::unique_ptr<UConverter, TConverterCloser>;

// What cannot be converted becomes "?" both ways, and is noted.
void ToUnicodeQuestionMark(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t,
                           UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;
    if (context) *static_cast<bool*>(const_cast<void*>(context)) = true;
    *err = U_ZERO_ERROR;
    const UChar q = u'?';
    ucnv_cbToUWriteUChars(args, &q, 1, 0, err);
}

void FromUnicodeQuestionMark(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                             UChar32, UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;
    if (context) *static_cast<bool*>(const_cast<void*>(context)) = true;
    *err = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

// Converters are opened once per page and kept. The program converts on one
// thread; the lock only protects tests that might not.
std::mutex g_lock;
bool g_lossy = false;

UConverter* Converter(int cp) {
    static std::map<int, TConverter> open;
    auto it = open.find(cp);
    if (it != open.end()) return it->second.get();
    TConverter c;
    if (const char* name = IcuName(cp)) {
        UErrorCode err = U_ZERO_ERROR;
        c.reset(ucnv_open(name, &err));
        if (U_FAILURE(err)) c.reset();
    }
    if (c) {
        UErrorCode err = U_ZERO_ERROR;
        ucnv_setToUCallBack(c.get(), ToUnicodeQuestionMark, &g_lossy, nullptr, nullptr, &err);
        ucnv_setFromUCallBack(c.get(), FromUnicodeQuestionMark, &g_lossy, nullptr, nullptr, &err);
    }
    return open.emplace(cp, std::move(c)).first->second.get();
}

std::u16string Decode(UConverter* c, int cp, std::string_view bytes) {
    std::u16string out;
    size_t from = 0;
    // Mac Japanese: its own single bytes between runs of its Windows relative.
    const auto run = [&](size_t to) {
        if (to <= from) return;
        ucnv_resetToUnicode(c);
        std::u16string part(2 * (to - from) + 2, u'\0');
        UErrorCode err = U_ZERO_ERROR;
        const int32_t n = ucnv_toUChars(c, reinterpret_cast<UChar*>(part.data()), static_cast<int32_t>(part.size()),
                                        bytes.data() + from, static_cast<int32_t>(to - from), &err);
        if (U_SUCCESS(err) || err == U_STRING_NOT_TERMINATED_WARNING) out.append(part.data(), static_cast<size_t>(n));
    };
    if (cp == kMacJapanese)
        for (size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            // A lead byte takes the byte after it: that one is never the Mac's own.
            if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
                ++i;
                continue;
            }
            for (const auto& [byte, ch] : kMacJapaneseBytes)
                if (byte == b) {
                    run(i);
                    out.push_back(ch);
                    from = i + 1;
                }
        }
    run(bytes.size());
    return out;
}

std::string Encode(UConverter* c, int cp, const QString& text) {
    std::string out;
    const auto run = [&](qsizetype from, qsizetype to) {
        if (to <= from) return;
        ucnv_resetFromUnicode(c);
        std::string part(static_cast<size_t>(to - from) * 4 + 4, '\0');
        UErrorCode err = U_ZERO_ERROR;
        const int32_t n = ucnv_fromUChars(c, part.data(), static_cast<int32_t>(part.size()),
                                          reinterpret_cast<const UChar*>(text.utf16()) + from,
                                          static_cast<int32_t>(to - from), &err);
        if (U_SUCCESS(err) || err == U_STRING_NOT_TERMINATED_WARNING) out.append(part.data(), static_cast<size_t>(n));
    };
    qsizetype from = 0;
    if (cp == kMacJapanese)
        for (qsizetype i = 0; i < text.size(); ++i)
            for (const auto& [byte, ch] : kMacJapaneseBytes)
                if (ch == text[i].unicode() && ch != u'\\') {
                    run(from, i);
                    out.push_back(static_cast<char>(byte));
                    from = i + 1;
                }
    run(from, text.size());
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

bool IsKnown(int codePage) {
    if (codePage == CP_1252 || codePage == 0) return true;
    std::lock_guard<std::mutex> guard(g_lock);
    return Converter(codePage) != nullptr;
}

QString ToUnicode(int codePage, std::string_view bytes) {
    if (codePage != CP_1252 && !bytes.empty()) {
        std::lock_guard<std::mutex> guard(g_lock);
        if (UConverter* c = Converter(codePage)) {
            const std::u16string u = Decode(c, codePage, bytes);
            return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
        }
    }
    return FromCp1252(bytes);
}

std::string FromUnicode(int codePage, const QString& text, bool* lossy) {
    if (lossy)
        *lossy = false;
    if (codePage != CP_1252 && !text.isEmpty()) {
        std::lock_guard<std::mutex> guard(g_lock);
        if (UConverter* c = Converter(codePage)) {
            g_lossy = false;
            std::string out = Encode(c, codePage, text);
            if (lossy)
                *lossy = g_lossy;
            return out;
        }
    }
    std::string out = ToCp1252(text);
    if (lossy)
        for (qsizetype i = 0; i < text.size(); ++i)
            if (out[static_cast<size_t>(i)] == '?' && text[i] != u'?')
                *lossy = true;
    return out;
}

int CharsetToCodePage(int charset) {
    switch (charset) {
    case 0: case 1: case 2: return 1252;   // ANSI, default, symbol
    case 77: return 10000;                 // Mac Roman
    case 78: return kMacJapanese;          // Mac Japanese
    case 79: return 10003;                 // Mac Korean
    case 80: return 10008;                 // Mac simplified Chinese
    case 81: return 10002;                 // Mac traditional Chinese
    case 85: return 10006;                 // Mac Greek
    case 86: return 10081;                 // Mac Turkish
    case 88: return 10029;                 // Mac Central European
    case 89: return 10007;                 // Mac Cyrillic
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
    case 254: return 437;                  // PC 437
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
