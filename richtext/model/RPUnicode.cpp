#include "richtext/model/RPUnicode.h"

#include <algorithm>
#include <cstdio>

#include "platform/CodePage.h"
#include "platform/Fonts.h"
#include "richtext/model/RPStyleInfos.h"

bool RPIsNT = true;

void InitPlatformFlags() {
    RPIsNT = true;
}

void RPRaiseUnicodeError() {
    throw ERichPadError(errRPUnicode);
}

void RPCheckUnicodeLength(size_t ByteLength) {
    if (ByteLength % 2 != 0) RPRaiseUnicodeError();
}

namespace {

bool IsUni(TRPItemOptions Options) {
    return (Options & rpioUnicode) != 0;
}

} // namespace

int ResolveCodePage(int CodePage) {
    switch (CodePage) {
    case 0:
    case 3:
        return CodePage::CP_1252;
    case 1:
        return 850;
    case 2:
        return 10000;
    default:
        return CodePage;
    }
}

// ---------------------------------------------------------------------------
int ItemTextLength(std::string_view Text, TRPItemOptions Options) {
    return static_cast<int>(IsUni(Options) ? Text.size() / 2 : Text.size());
}

std::string ItemTextCopy(std::string_view Text, int Index, int Count, TRPItemOptions Options) {
    const int unit = IsUni(Options) ? 2 : 1;
    const int len = ItemTextLength(Text, Options);
    if (Index < 1) Index = 1;
    if (Count <= 0 || Index > len) return {};
    Count = std::min(Count, len - Index + 1);
    return std::string(
        Text.substr(static_cast<size_t>((Index - 1) * unit), static_cast<size_t>(Count * unit)));
}

void ItemTextInsert(std::string_view s, std::string& Text, int Index, TRPItemOptions Options) {
    const int unit = IsUni(Options) ? 2 : 1;
    const int len = ItemTextLength(Text, Options);
    Index = std::clamp(Index, 1, len + 1);
    Text.insert(static_cast<size_t>((Index - 1) * unit), s);
}

void ItemTextDelete(std::string& Text, int Index, int Count, TRPItemOptions Options) {
    const int unit = IsUni(Options) ? 2 : 1;
    const int len = ItemTextLength(Text, Options);
    if (Index < 1 || Index > len || Count <= 0) return;
    Count = std::min(Count, len - Index + 1);
    Text.erase(static_cast<size_t>((Index - 1) * unit), static_cast<size_t>(Count * unit));
}

bool ItemTextIsSpaceAt(std::string_view Text, int Index, TRPItemOptions Options) {
    if (Index < 1 || Index > ItemTextLength(Text, Options)) return false;
    if (!IsUni(Options)) return Text[static_cast<size_t>(Index - 1)] == ' ';
    const size_t b = static_cast<size_t>((Index - 1) * 2);
    return Text[b] == ' ' && Text[b + 1] == 0;
}

std::string ApplyAllCapsToItemText(const std::string& Text, TRPItemOptions Options,
                                   const TFontInfo& TextStyle) {
    if ((TextStyle.StyleEx & rpfsAllCaps) == 0 || Text.empty()) return Text;
    if (IsUni(Options)) {
        std::u16string w = ItemTextToWideStr(Text);
        // One code unit at a time, so the length never changes.
        for (char16_t& c : w) {
            if (QChar::isSurrogate(c)) continue;
            const char32_t u = QChar::toUpper(static_cast<char32_t>(c));
            if (u <= 0xFFFF && !QChar::isSurrogate(u)) c = static_cast<char16_t>(u);
        }
        std::string r = WideStrToItemText(w);
        if (Text.size() % 2 != 0) r += Text.back();
        return r;
    }
    const int cp = ResolveCodePage(CharsetToCodePage(TextStyle.Charset));
    if (cp == CodePage::CP_1252) return CodePage::AnsiUpperCase1252(Text);
    std::string up = CodePage::FromUnicode(cp, CodePage::AnsiUpperCase(CodePage::ToUnicode(cp, Text)));
    if (up.size() != Text.size()) return CodePage::AnsiUpperCase1252(Text); // multi-byte pages: ASCII only
    return up;
}

std::string ApplyAllCapsToText(const std::string& Text, const TFontInfo& TextStyle) {
    return ApplyAllCapsToItemText(Text, TextStyle.Unicode ? rpioUnicode : 0, TextStyle);
}

QString ItemTextToQString(std::string_view Text, TRPItemOptions Options, int CodePage) {
    if (IsUni(Options)) {
        const std::u16string w = ItemTextToWideStr(Text);
        return QString::fromUtf16(w.data(), static_cast<qsizetype>(w.size()));
    }
    return CodePage::ToUnicode(ResolveCodePage(CodePage), Text);
}

std::string QStringToItemText(const QString& s, TRPItemOptions Options, int CodePage) {
    if (IsUni(Options))
        return WideStrToItemText(
            std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())));
    return CodePage::FromUnicode(ResolveCodePage(CodePage), s);
}

// ---------------------------------------------------------------------------
int CharsetToCodePage(int Charset) {
    switch (Charset) {
    case 1:
    case 2:
        return 0; // the system page; symbol fonts have none
    case 130:
        return 1361;
    case 255:
        return 1; // the OEM page
    default: {
        // The platform knows the pages of the charsets; one it does not know is the system's.
        const int cp = CodePage::CharsetToCodePage(Charset);
        return cp == CodePage::CP_1252 && Charset != 0 ? 0 : cp;
    }
    }
}

int CharsetToLangId(int Charset) {
    switch (Charset) {
    case 0:
        return 1033;
    case 128:
        return 1041;
    case 129:
        return 1042;
    case 130:
        return 2066;
    case 134:
        return 2052;
    case 136:
        return 1028;
    case 161:
        return 1032;
    case 162:
        return 1055;
    case 163:
        return 1066;
    case 177:
        return 1037;
    case 204:
        return 1049;
    case 222:
        return 1054;
    default:
        return 1024;
    }
}

int MakeLangIdValue(int PrimaryLanguage, int SubLanguage) {
    return PrimaryLanguage | (SubLanguage << 10);
}

int MakeLocaleValue(int LangId, int SortId) {
    return (SortId << 16) | (LangId & 0xFFFF);
}

int MakeDefaultLocale(int PrimaryLanguage) {
    return MakeLocaleValue(MakeLangIdValue(PrimaryLanguage, 1), 0);
}

std::string AnsiToUnicodeText(int CodePage, std::string_view s) {
    if (s.empty()) return {};
    int cp = ResolveCodePage(CodePage);
    // A page the converter cannot use falls back to the system page.
    if (!CodePage::IsKnown(cp)) cp = CodePage::CP_1252;
    const QString q = CodePage::ToUnicode(cp, s);
    return WideStrToItemText(
        std::u16string_view(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size())));
}

std::string UnicodeTextToAnsi(int CodePage, std::string_view s) {
    if (s.empty()) return {};
    RPCheckUnicodeLength(s.size());
    int cp = ResolveCodePage(CodePage);
    if (!CodePage::IsKnown(cp)) cp = CodePage::CP_1252;
    const std::u16string w = ItemTextToWideStr(s);
    return CodePage::FromUnicode(cp, QString::fromUtf16(w.data(), static_cast<qsizetype>(w.size())));
}

bool SymbolFontTextToUnicodeText(const std::string& FontName, std::string_view Text, TRPItemOptions Options,
                                 int CodePage, std::string& Wide) {
    if (!IsSymbolFontName(QLatin1String(FontName.data(), static_cast<qsizetype>(FontName.size())))) return false;
    const QString name = QString::fromLatin1(FontName.data(), static_cast<qsizetype>(FontName.size()));
    Wide = QStringToItemText(SymbolFontTextToUnicode(name, ItemTextToQString(Text, Options, CodePage)), rpioUnicode, 0);
    return true;
}

std::string SymbolFontTextToAnsi(int CodePage, std::string_view Wide, std::string_view Codes, char Fallback) {
    const std::u16string w = ItemTextToWideStr(Wide);
    std::string out;
    for (size_t i = 0; i < w.size(); ++i) {
        const std::string c = UnicodeTextToAnsi(CodePage, WideStrToItemText(std::u16string_view(&w[i], 1)));
        if (c != "?" || w[i] == u'?')
            out += c;
        else if (Fallback)
            out += Fallback;
        else
            out += i < Codes.size() ? Codes[i] : '?';
    }
    return out;
}

int KeyboardCodePage() {
    return CodePage::CP_1252;
}

std::string KeyboardAnsiToUnicodeText(std::string_view s) {
    return AnsiToUnicodeText(KeyboardCodePage(), s);
}

std::string WideStrToItemText(std::u16string_view s) {
    std::string r(s.size() * 2, '\0');
    for (size_t i = 0; i < s.size(); ++i) {
        r[2 * i] = static_cast<char>(s[i] & 0xFF);
        r[2 * i + 1] = static_cast<char>(s[i] >> 8);
    }
    return r;
}

void ReplaceLoneSurrogates(std::u16string& W) {
    for (size_t i = 0; i < W.size(); ++i) {
        if (QChar::isHighSurrogate(W[i]) && i + 1 < W.size() && QChar::isLowSurrogate(W[i + 1]))
            ++i;
        else if (QChar::isSurrogate(W[i]))
            W[i] = 0xFFFD;
    }
}

std::string ReplaceLoneSurrogates(std::string_view UnicodeItemText) {
    std::u16string w = ItemTextToWideStr(UnicodeItemText);
    ReplaceLoneSurrogates(w);
    return WideStrToItemText(w);
}

std::u16string ItemTextToWideStr(std::string_view s) {
    std::u16string r(s.size() / 2, u'\0');
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = static_cast<char16_t>(static_cast<unsigned char>(s[2 * i]) |
                                     (static_cast<unsigned char>(s[2 * i + 1]) << 8));
    return r;
}

int ScanWideChar(std::u16string_view s, char16_t Ch, int Count) {
    const int n = std::min<int>(Count, static_cast<int>(s.size()));
    for (int i = 0; i < n; ++i)
        if (s[static_cast<size_t>(i)] == Ch) return i;
    return -1;
}

// ---------------------------------------------------------------------------
int Utf8ToWideBuffer(char16_t* Dest, int Capacity, const char* Source, int SourceCount) {
    if (!Source) return 0;
    SourceCount = std::max(SourceCount, 0);
    const auto* src = reinterpret_cast<const unsigned char*>(Source);
    auto isCont = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    int i = 0, written = 0;
    if (!Dest) {
        while (i < SourceCount) {
            const unsigned char b = src[i];
            if (b < 0x80) {
                ++i;
            } else {
                const int extra = (b & 0x20) ? 2 : 1;
                if (i + extra >= SourceCount) return -1;
                for (int k = 1; k <= extra; ++k)
                    if (!isCont(src[i + k])) return -1;
                i += extra + 1;
            }
            ++written;
        }
        return written + 1;
    }
    // Nothing can be stored in a buffer without room.
    if (Capacity <= 0) return 0;
    while (i < SourceCount && written < Capacity) {
        const unsigned char b = src[i];
        if (b < 0x80) {
            Dest[written] = b;
            ++i;
        } else if ((b & 0x20) == 0) {
            if (i + 1 >= SourceCount || !isCont(src[i + 1])) return -1;
            Dest[written] = static_cast<char16_t>(((b & 0x3F) << 6) | (src[i + 1] & 0x3F));
            i += 2;
        } else {
            if (i + 2 >= SourceCount || !isCont(src[i + 1]) || !isCont(src[i + 2])) return -1;
            const unsigned v = ((((b & 0x3Fu) << 6) | (src[i + 1] & 0x3Fu)) << 6) | (src[i + 2] & 0x3Fu);
            Dest[written] = static_cast<char16_t>(v & 0xFFFF);
            i += 3;
        }
        ++written;
    }
    if (written < Capacity) {
        Dest[written] = 0;
        return written + 1;
    }
    Dest[Capacity - 1] = 0;
    return Capacity;
}

std::u16string Utf8ToWideText(std::string_view s) {
    if (s.empty()) return {};
    std::u16string w(s.size() + 1, u'\0');
    const int n =
        Utf8ToWideBuffer(w.data(), static_cast<int>(s.size()) + 1, s.data(), static_cast<int>(s.size()));
    if (n < 1) return {};
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

// ---------------------------------------------------------------------------
void HTMLEscapeChar(char Ch, bool& PrevWasBlank, bool CodeMode, std::string& Output, bool IsLast) {
    if (CodeMode) {
        Output += Ch;
        PrevWasBlank = false;
        return;
    }
    switch (Ch) {
    case '&':
        Output += "&amp;";
        break;
    case '<':
        Output += "&lt;";
        break;
    case '>':
        Output += "&gt;";
        break;
    case ' ':
        if (!PrevWasBlank && !IsLast) {
            Output += ' ';
            PrevWasBlank = true;
            return;
        }
        Output += "&nbsp;";
        break;
    default:
        Output += Ch;
        break;
    }
    PrevWasBlank = false;
}

std::string HTMLEscapeUnicodeText(std::string_view Text, bool BlankIfEmpty, bool CodeMode) {
    std::u16string w = ItemTextToWideStr(Text);
    ReplaceLoneSurrogates(w);
    std::string r;
    bool prevBlank = true;
    for (size_t i = 0; i < w.size(); ++i) {
        const char16_t c = w[i];
        if (c < 128) {
            HTMLEscapeChar(static_cast<char>(c), prevBlank, CodeMode, r, i + 1 == w.size());
        } else {
            // A surrogate pair is one character.
            unsigned code = c;
            if (QChar::isHighSurrogate(c)) code = QChar::surrogateToUcs4(c, w[++i]);
            r += "&#";
            r += std::to_string(code);
            r += ';';
            prevBlank = false;
        }
    }
    if (r.empty() && BlankIfEmpty) r = "&nbsp;";
    return r;
}

// ---------------------------------------------------------------------------
int FindLineBreakPosW(std::u16string_view T, int p) {
    if (p < 0 || p >= static_cast<int>(T.size())) return -1;
    auto at = [&](int k) { return T[static_cast<size_t>(k)]; };
    if (at(p) == u' ') return p;
    int c2 = GetCharLineBreakClass(at(p));
    int i = p - 1;
    for (; i >= 0; --i) {
        if (at(i) == u' ') continue;
        const int c1 = GetCharLineBreakClass(at(i));
        int v = RPLineBreakPairs[c1][c2];
        if (v == 1 && at(i + 1) != u' ') v = 2;
        if (v < 2) break;
        c2 = c1;
    }
    if (i < 0) return -1;
    while (i + 1 < p && at(i + 1) == u' ')
        ++i;
    return i;
}
