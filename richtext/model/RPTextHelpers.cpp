#include "richtext/model/RPTextHelpers.h"

#include <QChar>
#include <algorithm>
#include <cmath>

#include "platform/CodePage.h"
#include "platform/Runtime.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPUnicode.h"

// ---------------------------------------------------------------------------
TRPTag CopyTag(const TRPTag& Tag, bool TagsArePChars) {
    if (!TagsArePChars) return TRPTag::FromInt(Tag.Int);
    return Tag;
}

bool TagsAreEqual(const TRPTag& Tag1, const TRPTag& Tag2, bool TagsArePChars) {
    if (!TagsArePChars) return Tag1.Int == Tag2.Int;
    if (!Tag1.Text && !Tag2.Text) return true;
    if (!Tag1.Text || !Tag2.Text) return false;
    return *Tag1.Text == *Tag2.Text;
}

std::string ExpandTabsAnsi(std::string_view s, int Count) {
    const std::string blanks(static_cast<size_t>(std::max(Count, 0)), ' ');
    std::string r;
    r.reserve(s.size());
    for (char c : s) {
        if (c == '\t')
            r += blanks;
        else
            r += c;
    }
    return r;
}

std::string ExpandTabsUnicode(std::string_view s, int Count) {
    std::string blanks;
    for (int i = 0; i < Count; ++i)
        blanks.append(" \0", 2);
    std::string r;
    r.reserve(s.size());
    size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        if (s[i] == '\t' && s[i + 1] == 0)
            r += blanks;
        else
            r.append(s.substr(i, 2));
    }
    if (i < s.size()) r += s[i];
    return r;
}

int StrScanPos(const char* p, char Ch, int Count) {
    if (!p) return 0;
    for (int i = 0; i < Count; ++i)
        if (p[i] == Ch) return i + 1;
    return 0;
}

std::string RP_ReplaceAll(std::string_view s, std::string_view Old, std::string_view New) {
    if (Old.empty()) return std::string(s);
    if (New.find(Old) != std::string_view::npos) return ReplaceAllForward(s, Old, New);
    std::string r(s);
    // A replacement can form a new occurrence with the text around it; let no
    // such chain run away on odd input.
    size_t budget = size_t(1) << 20;
    for (size_t p = r.find(Old); p != std::string::npos; p = r.find(Old)) {
        if (budget-- == 0) return ReplaceAllForward(r, Old, New);
        r.replace(p, Old.size(), New);
    }
    return r;
}

std::string ReplaceAllForward(std::string_view s, std::string_view Old, std::string_view New) {
    if (Old.empty()) return std::string(s);
    std::string r;
    size_t from = 0;
    for (size_t p = s.find(Old); p != std::string_view::npos; p = s.find(Old, from)) {
        r.append(s.substr(from, p - from));
        r.append(New);
        from = p + Old.size();
    }
    r.append(s.substr(from));
    return r;
}

std::string AppendWithBlank(std::string_view s, std::string_view Word) {
    if (s.empty()) return std::string(Word);
    std::string r(s);
    r += ' ';
    r += Word;
    return r;
}

std::string InsertBeforeChars(std::string_view s, char Ch, std::string_view Set) {
    std::string r;
    for (char c : s) {
        if (Set.find(c) != std::string_view::npos) r += Ch;
        r += c;
    }
    return r;
}

std::string ReplaceChars(std::string_view s, char Ch, std::string_view Set) {
    std::string r(s);
    for (char& c : r)
        if (Set.find(c) != std::string_view::npos) c = Ch;
    return r;
}

// ---------------------------------------------------------------------------
std::string ColorToHTML(TColor Color) {
    if (Color == clNone) return {};
    const TColor c = Color == clWindowText ? clBlack : ColorToRGB(Color);
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

std::string ColorToHTMLOrTransparent(TColor Color) {
    return Color == clNone ? std::string("transparent") : ColorToHTML(Color);
}

std::string BackslashesToSlashes(std::string_view Path) {
    return ReplaceChars(Path, '/', "\\");
}

std::string HTMLEscapeAttribute(std::string_view s) {
    std::string r = ReplaceAllForward(s, "&", "&amp;");
    r = ReplaceAllForward(r, "<", "&lt;");
    r = ReplaceAllForward(r, ">", "&gt;");
    return ReplaceAllForward(r, "\"", "&quot;");
}

std::string MakeHintAttribute(int Mode, std::string_view Hint) {
    if (Hint.empty()) return {};
    const std::string h = ReplaceChars(Hint, '\'', "\"");
    if (Mode == 1) return "title=\"" + HTMLEscapeAttribute(h) + "\"";
    if (Mode == 2) return "\\o \"" + RTFEscapeName(h) + "\"";
    return {};
}

std::string HTMLEscapeAnsiText(std::string_view s, bool EmptyAsNbsp, bool CodeMode) {
    if (CodeMode) return std::string(s);
    if (s.empty()) return EmptyAsNbsp ? "&nbsp;" : "";
    std::string r = ReplaceAllForward(s, "&", "&amp;");
    r = RP_ReplaceAll(r, ">", "&gt;");
    r = RP_ReplaceAll(r, "<", "&lt;");
    r = RP_ReplaceAll(r, "  ", "&nbsp; ");
    if (!r.empty() && r.back() == ' ') r.replace(r.size() - 1, 1, "&nbsp;");
    if (!r.empty() && r.front() == ' ') r.replace(0, 1, "&nbsp;");
    return r;
}

int FontSizeToHTMLSize(int Points) {
    if (Points < 9) return 1;
    if (Points <= 10) return 2;
    if (Points <= 12) return 3;
    if (Points <= 14) return 4;
    if (Points <= 18) return 5;
    if (Points <= 24) return 6;
    return 7;
}

std::string CharsetToHTMLCharset(int Charset) {
    switch (Charset) {
    case 128:
        return "shift_jis";
    case 134:
        return "gb2312";
    case 136:
        return "big5";
    case 161:
        return "Windows-1253";
    case 162:
        return "Windows-1254";
    case 163:
        return "Windows-1258";
    case 177:
        return "Windows-1255";
    case 178:
        return "Windows-1256";
    case 186:
        return "Windows-1257";
    case 204:
        return "Windows-1251";
    case 222:
        return "Windows-874";
    case 238:
        return "Windows-1250";
    case 255:
        return "ascii";
    default:
        return {};
    }
}

namespace {

struct TagPair {
    TRPFontStyleSet Bit;
    const char* Open;
    const char* Close;
};
// In opening order; closing runs the other way.
constexpr TagPair kStyleTags[] = {{RPFontStyle::Bold, "<B>", "</B>"},
                                  {RPFontStyle::Italic, "<I>", "</I>"},
                                  {RPFontStyle::Underline, "<U>", "</U>"},
                                  {RPFontStyle::StrikeOut, "<S>", "</S>"}};

std::string OpenTags(TRPFontStyleSet s) {
    std::string r;
    for (const auto& t : kStyleTags)
        if (s & t.Bit) r += t.Open;
    return r;
}

std::string CloseTags(TRPFontStyleSet s) {
    std::string r;
    for (int i = 3; i >= 0; --i)
        if (s & kStyleTags[i].Bit) r += kStyleTags[i].Close;
    return r;
}

bool SameFontAttrs(const TFontInfo& a, const TFontInfo& b) {
    return FontSizeToHTMLSize(a.Size) == FontSizeToHTMLSize(b.Size) && a.Color == b.Color &&
           RPSameTextNoCase(a.FontName, b.FontName);
}

} // namespace

std::string OpenFontTags(const TFontInfo& Style, const TFontInfo& Base, bool Relative) {
    std::string attrs;
    if (!Relative || FontSizeToHTMLSize(Style.Size) != FontSizeToHTMLSize(Base.Size))
        attrs += " size=" + std::to_string(FontSizeToHTMLSize(Style.Size));
    if (!Relative || Style.Color != Base.Color) attrs += " color=" + ColorToHTML(Style.Color);
    if (!Relative || !RPSameTextNoCase(Style.FontName, Base.FontName))
        attrs += " face=\"" + HTMLEscapeAttribute(Style.FontName) + "\"";
    std::string r;
    if (!attrs.empty()) r = "<FONT" + attrs + ">";
    if (!Relative) {
        r += OpenTags(Style.Style);
    } else {
        r += CloseTags(Base.Style & ~Style.Style);
        r += OpenTags(Style.Style & ~Base.Style);
    }
    if (Style.VShift < 0)
        r += "<SUB>";
    else if (Style.VShift > 0)
        r += "<SUP>";
    return r;
}

std::string CloseFontTags(const TFontInfo& Style, const TFontInfo& Base, bool Relative) {
    std::string r;
    if (Style.VShift < 0)
        r += "</SUB>";
    else if (Style.VShift > 0)
        r += "</SUP>";
    if (!Relative) {
        r += CloseTags(Style.Style);
    } else {
        r += CloseTags(Style.Style & ~Base.Style);
        r += OpenTags(Base.Style & ~Style.Style);
    }
    if (!Relative || !SameFontAttrs(Style, Base)) r += "</FONT>";
    return r;
}

// ---------------------------------------------------------------------------
void ByteToHexLower(uint8_t b, std::string& s) {
    static const char hex[] = "0123456789abcdef";
    if (s.size() < 3) s.resize(3, ' ');
    s[1] = hex[b >> 4];
    s[2] = hex[b & 15];
}

namespace {
void AppendHexByte(std::string& Out, unsigned char c) {
    static const char hex[] = "0123456789abcdef";
    const char e[4] = {'\\', '\'', hex[c >> 4], hex[c & 15]};
    Out.append(e, 4);
}
} // namespace

void RTFAppendHexBytes(std::string& Out, std::string_view s) {
    for (char ch : s)
        AppendHexByte(Out, static_cast<unsigned char>(ch));
}

void RTFAppendEscaped(std::string& Out, std::string_view s, bool CodeMode) {
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 26 || c > 127) {
            AppendHexByte(Out, c);
        } else {
            if (!CodeMode && (ch == '\\' || ch == '{' || ch == '}')) Out += '\\';
            Out += ch;
        }
    }
}

std::string RTFEscapeHighChars(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    RTFAppendEscaped(r, s, true);
    return r;
}

std::string RTFEscapeText(std::string_view s, bool CodeMode) {
    std::string r;
    r.reserve(s.size());
    RTFAppendEscaped(r, s, CodeMode);
    return r;
}

std::string RTFEscapeName(std::string_view s) {
    return RTFEscapeHighChars(ReplaceChars(s, '_', "\\{}"));
}

std::string MakeRTFIdentifier(std::string_view s) {
    std::string r(s);
    for (char& ch : r) {
        const QChar u(CodePage::Cp1252ToUnicode(static_cast<unsigned char>(ch)));
        if (!u.isLetterOrNumber()) ch = '_';
    }
    return RTFEscapeHighChars(r);
}

size_t LinkLocationSwitches(std::string_view Extras) {
    const auto blank = [&](size_t i) { return i < Extras.size() && (Extras[i] == ' ' || Extras[i] == '\t'); };
    size_t i = 0, end = 0;
    bool location = false;
    while (i < Extras.size() && Extras[i] == '\\') {
        const size_t from = i;
        while (i < Extras.size() && !blank(i))
            ++i;
        const std::string_view name = Extras.substr(from, i - from);
        while (blank(i))
            ++i;
        // A switch followed by a word takes that word: the run ends before it.
        if (i < Extras.size() && Extras[i] != '\\') break;
        location = location || name == "\\l";
        end = from + name.size();
    }
    return location ? end : 0;
}

void WriteRTFUnicodeText(std::string& Stream, std::string_view Text, int CodePage, bool AnsiFallback,
                         bool CodeMode) {
    const std::string sound = ReplaceLoneSurrogates(Text);
    Text = sound;
    char16_t lastWide = 0;
    std::string lastAnsi;
    for (size_t i = 0; i + 1 < Text.size(); i += 2) {
        const auto u = static_cast<char16_t>(static_cast<uint8_t>(Text[i]) | (static_cast<uint8_t>(Text[i + 1]) << 8));
        const int c = static_cast<int16_t>(u);
        if (c >= 1 && c <= 127) {
            const char ch = static_cast<char>(c);
            RTFAppendEscaped(Stream, std::string_view(&ch, 1), CodeMode);
            continue;
        }
        if (AnsiFallback && (u != lastWide || lastAnsi.empty())) {
            // Runs of one character (a line of dashes, a repeated symbol) convert once.
            lastWide = u;
            lastAnsi = UnicodeTextToAnsi(CodePage, Text.substr(i, 2));
        }
        if (AnsiFallback && lastAnsi.size() != 1) {
            Stream += "\\uc";
            Stream += std::to_string(lastAnsi.size());
        }
        Stream += "\\u";
        Stream += std::to_string(c);
        Stream += ' ';
        if (AnsiFallback) {
            // A copy of more than one byte (a double-byte character) goes as
            // hex throughout, so that every byte is one character to skip.
            if (lastAnsi.size() > 1)
                RTFAppendHexBytes(Stream, lastAnsi);
            else
                RTFAppendEscaped(Stream, lastAnsi, CodeMode);
            if (lastAnsi.size() != 1) Stream += "\\uc1 ";
        }
    }
}

// ---------------------------------------------------------------------------
int ScreenToDeviceX(int X, const TRPResolution& R) {
    return MulDiv(X, R.DeviceX, R.ScreenX);
}
int ScreenToDeviceY(int Y, const TRPResolution& R) {
    return MulDiv(Y, R.DeviceY, R.ScreenY);
}
int DeviceToScreenX(int X, const TRPResolution& R) {
    return MulDiv(X, R.ScreenX, R.DeviceX);
}
int DeviceToScreenY(int Y, const TRPResolution& R) {
    return MulDiv(Y, R.ScreenY, R.DeviceY);
}

void DeviceToScreenRect(TRPBounds& Rect, const TRPResolution& R) {
    Rect.Left = DeviceToScreenX(Rect.Left, R);
    Rect.Right = DeviceToScreenX(Rect.Right, R);
    Rect.Top = DeviceToScreenY(Rect.Top, R);
    Rect.Bottom = DeviceToScreenY(Rect.Bottom, R);
}

bool IsPointInRect(int X, int Y, int Left, int Top, int Width, int Height) {
    return X >= Left && X < Left + Width && Y >= Top && Y < Top + Height;
}

// ---------------------------------------------------------------------------
int GetLuminance(TColor Color) {
    const TColor c = ColorToRGB(Color);
    return static_cast<int>(Round(0.3 * GetRValue(c) + 0.59 * GetGValue(c) + 0.11 * GetBValue(c)));
}

TColor GetLuminanceGray(TColor Color) {
    if (Color == clNone) return clNone;
    const int g = std::min(GetLuminance(Color), 255);
    return RGB(g, g, g);
}

TColor SysColorToPrintColor(TColor Color) {
    switch (Color) {
    case clScrollBar:
    case clBtnFace:
        return clSilver;
    case clWindow:
    case clBtnHighlight:
        return clWhite;
    case clWindowText:
        return clBlack;
    case clBtnShadow:
        return clGray;
    default:
        return Color;
    }
}

TColor GetPrintTextColor(TColor Color, TRPColorMode ColorMode) {
    if (Color == clNone) return clNone;
    switch (ColorMode) {
    case rpcmColor:
        return Color;
    case rpcmPrinterColor:
        return SysColorToPrintColor(Color);
    case rpcmGrayScale:
        return GetLuminanceGray(SysColorToPrintColor(Color));
    default:
        // The paper is forced white here: white text would vanish on it.
        return clBlack;
    }
}

TColor GetPrintBackColor(TColor Color, TRPColorMode ColorMode) {
    if (Color == clNone) return clNone;
    switch (ColorMode) {
    case rpcmColor:
        return Color;
    case rpcmPrinterColor:
        return SysColorToPrintColor(Color);
    case rpcmGrayScale:
        return GetLuminanceGray(SysColorToPrintColor(Color));
    default:
        return clWhite;
    }
}
