#include "richtext/model/RPFTokens.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/Pictures.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"

namespace {

const char HexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void SkipBlank(std::string_view s, size_t& Pos) {
    if (Pos < s.size() && s[Pos] == ' ') ++Pos;
}

template <class TInfos> int FindByName(const TInfos& Infos, const std::string& Name) {
    for (int i = 0; i < Infos.Count(); ++i)
        if (Infos.GetItem(i)->StyleName == Name) return i;
    return 0;
}

} // namespace

void RPFWriteTextOrHex(std::string& Stream, std::string_view s, bool Unicode, bool Hex) {
    if (Unicode && Hex) {
        RPFWriteLine(Stream, RPFStringToHex(s));
        return;
    }
    Stream.append(s);
    if (Unicode)
        Stream += "\x29\x20";
    else
        Stream += "\r\n";
}

int32_t RPFReadInt32(std::string_view s, size_t Pos) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(s[Pos + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

void RPFWriteInt32(std::string& Stream, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        Stream += static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::string RPFLineText(std::string_view s) {
    std::string r = RPFEncodeLineBreaks(s);
    for (char& c : r)
        if (c == '\0') c = '?';
    return r;
}

bool RPFNeedsHex(std::string_view s) {
    return s.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

bool RPFReadBody(std::string_view Line, int ReadType, std::string& Data) {
    if (ReadType == 2) {
        Data.assign(Line);
        return true;
    }
    return RPFHexToStream(Line, Data);
}

void RPFWriteBody(std::string& Stream, std::string_view Body, bool Binary) {
    if (Binary) {
        RPFWriteInt32(Stream, static_cast<int32_t>(Body.size()));
        Stream.append(Body);
    } else {
        RPFWriteLine(Stream, RPFStringToHex(Body));
    }
}

void RPFWarn(TCustomRPData* RPData, uint8_t Bits) {
    if (RPData) RPData->SetRPFWarnings(RPData->GetRPFWarnings() | Bits);
}

bool RPFNeedsWideHex(std::string_view s) {
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        const unsigned u = static_cast<uint8_t>(s[i]) | (static_cast<uint8_t>(s[i + 1]) << 8);
        if (u == 0 || u == 0x2029) return true;
    }
    return false;
}

std::string RPFStringToHex(std::string_view s) {
    std::string r;
    r.reserve(s.size() * 2);
    for (unsigned char c : s) {
        r += HexDigits[c >> 4];
        r += HexDigits[c & 15];
    }
    return r;
}

bool RPFHexToStream(std::string_view Hex, std::string& Result) {
    Result.clear();
    if (Hex.size() % 2 != 0) return false;
    std::string r(Hex.size() / 2, '\0');
    for (size_t i = 0; i < r.size(); ++i) {
        int hi = HexValue(Hex[2 * i]), lo = HexValue(Hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        r[i] = static_cast<char>(hi * 16 + lo);
    }
    Result = std::move(r);
    return true;
}

std::string RPFHexToString(std::string_view Hex) {
    std::string r;
    if (Hex.size() % 2 != 0) return r;
    for (size_t i = 0; i + 1 < Hex.size(); i += 2) {
        int hi = HexValue(Hex[i]), lo = HexValue(Hex[i + 1]);
        if (hi < 0 || lo < 0) break;
        r += static_cast<char>(hi * 16 + lo);
    }
    return r;
}

std::string RPFWideToHex(std::u16string_view s) {
    std::string r;
    for (char16_t c : s)
        for (int sh = 12; sh >= 0; sh -= 4)
            r += HexDigits[(c >> sh) & 15];
    return r;
}

std::u16string RPFHexToWide(std::string_view Hex) {
    std::u16string r;
    if (Hex.size() % 4 != 0) return r;
    for (size_t i = 0; i < Hex.size(); i += 4) {
        unsigned v = 0;
        for (size_t k = 0; k < 4; ++k) {
            int d = HexValue(Hex[i + k]);
            if (d < 0) return r;
            v = v * 16 + static_cast<unsigned>(d);
        }
        r += static_cast<char16_t>(v);
    }
    return r;
}

std::string RPFEncodeLineBreaks(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c == '\n')
            c = '\x02';
        else if (c == '\r')
            c = '\x01';
    return r;
}

std::string RPFDecodeLineBreaks(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c == '\x02')
            c = '\n';
        else if (c == '\x01')
            c = '\r';
    return r;
}

bool RPFReadWord(std::string_view s, size_t& Pos, std::string& Word) {
    size_t e = Pos;
    while (e < s.size() && s[e] != ' ')
        ++e;
    if (e == Pos) return false;
    Word.assign(s.substr(Pos, e - Pos));
    Pos = e;
    SkipBlank(s, Pos);
    return true;
}

bool RPFReadInteger(std::string_view s, size_t& Pos, int32_t& Value) {
    size_t p = Pos;
    const bool neg = p < s.size() && s[p] == '-';
    if (neg) ++p;
    if (p >= s.size() || s[p] < '0' || s[p] > '9') return false;
    const int64_t limit = neg ? -int64_t(std::numeric_limits<int32_t>::min()) : std::numeric_limits<int32_t>::max();
    int64_t v = 0;
    for (; p < s.size() && s[p] != ' '; ++p) {
        if (s[p] < '0' || s[p] > '9') return false;
        v = v * 10 + (s[p] - '0');
        if (v > limit) return false;
    }
    Value = static_cast<int32_t>(neg ? -v : v);
    Pos = p;
    SkipBlank(s, Pos);
    return true;
}

bool RPFReadQuotedString(std::string_view s, size_t& Pos, std::string& Value) {
    if (Pos >= s.size() || s[Pos] != '"') return false;
    std::string r;
    for (size_t i = Pos + 1; i < s.size(); ++i) {
        if (s[i] != '"') {
            r += s[i];
            continue;
        }
        if (i + 1 < s.size() && s[i + 1] == '"') {
            r += '"';
            ++i;
            continue;
        }
        Value = std::move(r);
        Pos = i + 1;
        SkipBlank(s, Pos);
        return true;
    }
    return false;
}

bool RPFReadTag(std::string_view s, size_t& Pos, bool TagsArePChars, bool QuotedAllowed, TRPTag& Tag) {
    if (!TagsArePChars) {
        int32_t v = 0;
        if (!RPFReadInteger(s, Pos, v)) return false;
        Tag = TRPTag::FromInt(v);
        return true;
    }
    std::string w;
    if (QuotedAllowed && Pos < s.size() && s[Pos] == '"') {
        if (!RPFReadQuotedString(s, Pos, w)) return false;
        Tag = TRPTag::FromText(RPFDecodeLineBreaks(w));
        return true;
    }
    if (!RPFReadWord(s, Pos, w)) return false;
    Tag = w == "0" ? TRPTag{} : TRPTag::FromText(RPFDecodeLineBreaks(w));
    return true;
}

int RPFFindTextStyleByName(const TRPStyle* RPStyle, const std::string& Name) {
    return RPStyle ? FindByName(RPStyle->TextStyles(), Name) : 0;
}

int RPFFindParaStyleByName(const TRPStyle* RPStyle, const std::string& Name) {
    return RPStyle ? FindByName(RPStyle->ParaStyles(), Name) : 0;
}

bool RPFReadTextStyleRef(std::string_view s, size_t& Pos, const TRPStyle* RPStyle, int32_t& StyleNo) {
    if (Pos < s.size() && s[Pos] == '"') {
        std::string name;
        if (!RPFReadQuotedString(s, Pos, name)) return false;
        StyleNo = RPFFindTextStyleByName(RPStyle, name);
        return true;
    }
    return RPFReadInteger(s, Pos, StyleNo);
}

bool RPFReadParaStyleRef(std::string_view s, size_t& Pos, const TRPStyle* RPStyle, int32_t& ParaNo) {
    if (Pos < s.size() && s[Pos] == '"') {
        std::string name;
        if (!RPFReadQuotedString(s, Pos, name)) return false;
        ParaNo = RPFFindParaStyleByName(RPStyle, name);
        return true;
    }
    return RPFReadInteger(s, Pos, ParaNo);
}

std::string RPFQuote(std::string_view s) {
    std::string r = "\"";
    for (char c : s) {
        if (c == '"') r += '"';
        r += c;
    }
    r += '"';
    return r;
}

std::string RPFFormatTag(const TRPTag& Tag, bool TagsArePChars) {
    if (!TagsArePChars) return std::to_string(Tag.Int);
    if (!Tag.Text || Tag.Text->empty()) return "0";
    return RPFQuote(RPFLineText(*Tag.Text));
}

std::string RPFFormatTextStyleRef(int StyleNo, const TRPStyle* RPStyle, bool UseNames) {
    if (UseNames && StyleNo >= 0 && RPStyle && StyleNo < RPStyle->TextStyles().Count())
        return RPFQuote(RPStyle->TextStyles().GetItem(StyleNo)->StyleName);
    return std::to_string(StyleNo);
}

std::string RPFFormatParaStyleRef(int ParaNo, const TRPStyle* RPStyle, bool UseNames) {
    if (UseNames && ParaNo >= 0 && RPStyle && ParaNo < RPStyle->ParaStyles().Count())
        return RPFQuote(RPStyle->ParaStyles().GetItem(ParaNo)->StyleName);
    return std::to_string(ParaNo);
}

std::string RPFFormatItemParaRef(TCustomRPData* RPData, int ParaNo, bool ForceContinue) {
    return RPFFormatParaStyleRef(ForceContinue ? -1 : ParaNo, RPData->GetRPStyle(),
                                 (RPData->GetRPFOptions() & rpfoUseStyleNames) != 0);
}

void RPFWriteNonTextHeader(std::string& Stream, TCustomRPData* RPData, const TCustomRPItemInfo& Item,
                           int DataCount, int ParaNo, int ReadType, bool ForceContinue) {
    int opts = Item.ItemOptions & 15;
    if (ForceContinue) opts = (opts | rpioContinuesPrev) & ~(rpioPageBreakBefore | rpioLineBreakBefore);
    std::string extra;
    Item.GetRPFExtraText(RPData, extra);
    RPFWriteLine(Stream, std::to_string(Item.StyleNo) + " " + std::to_string(DataCount) + " " +
                             RPFFormatItemParaRef(RPData, ParaNo, ForceContinue) + " " +
                             std::to_string(opts) + " " + std::to_string(ReadType) + " " +
                             RPFFormatTag(Item.Tag, (RPData->GetOptions() & rpoTagsArePChars) != 0) + " " +
                             extra);
}

std::string RPFGraphicBytes(const TGraphic& Graphic) {
    QByteArray b = Graphic.SaveToStream();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

std::string RPFSavePictureToHex(const TGraphic& Graphic) {
    return RPFStringToHex(RPFGraphicBytes(Graphic));
}

void RPFSavePictureBinary(std::string& Stream, const TGraphic& Graphic) {
    const size_t at = Stream.size();
    RPFWriteInt32(Stream, 0);
    Stream += RPFGraphicBytes(Graphic);
    std::string count;
    RPFWriteInt32(count, static_cast<int32_t>(Stream.size() - at - 4));
    Stream.replace(at, 4, count);
}

bool RPFLoadPictureFromBinaryString(std::string_view Data, TGraphic& Graphic) {
    return Graphic.LoadFromStream(QByteArray(Data.data(), static_cast<qsizetype>(Data.size())));
}

bool RPFLoadPictureFromHex(std::string_view Hex, TGraphic& Graphic, bool* Loaded) {
    std::string data;
    if (!RPFHexToStream(Hex, data)) return false;
    const bool ok = RPFLoadPictureFromBinaryString(data, Graphic);
    if (Loaded) *Loaded = ok;
    return true;
}

bool RPFLoadPictureBinary(std::string_view Stream, size_t& Pos, TGraphic& Graphic) {
    if (Pos > Stream.size() || Stream.size() - Pos < 4) return false;
    const int32_t n = RPFReadInt32(Stream, Pos);
    if (n < 0 || static_cast<size_t>(n) > Stream.size() - Pos - 4) return false;
    const std::string_view data = Stream.substr(Pos + 4, static_cast<size_t>(n));
    Pos += 4 + static_cast<size_t>(n);
    return RPFLoadPictureFromBinaryString(data, Graphic);
}

// ---------------------------------------------------------------------------

void TRPLayoutInfo::SaveToStream(std::string& Stream, bool IncludeSize) const {
    bool partial = FirstParaPartial != 0 || LastParaPartial != 0;
    int32_t size = partial ? 41 : 25;
    if (IncludeSize) RPFWriteInt32(Stream, size + 8);
    RPFWriteInt32(Stream, 0);
    RPFWriteInt32(Stream, size);
    for (int32_t v : {LeftMargin, RightMargin, TopMargin, BottomMargin, MinTextWidth, MaxTextWidth})
        RPFWriteInt32(Stream, v);
    Stream += static_cast<char>(BiDiMode);
    if (partial)
        for (int32_t v : {FirstParaPartial, LastParaPartial, FirstParaListNo, FirstParaListLevel})
            RPFWriteInt32(Stream, v);
}

bool TRPLayoutInfo::LoadFromStream(std::string_view Stream, size_t& Pos, bool IncludeSize) {
    size_t p = Pos;
    auto have = [&](size_t n) { return p <= Stream.size() && Stream.size() - p >= n; };
    if (IncludeSize) {
        if (!have(4)) return false;
        p += 4; // the count is implied by the block's own size field
    }
    if (!have(8)) return false;
    int32_t size = RPFReadInt32(Stream, p + 4);
    p += 8;
    if (size < 25) throw ERichPadError("Invalid RPF format");
    if (!have(static_cast<size_t>(size))) return false;
    int32_t* fields[] = {&LeftMargin, &RightMargin, &TopMargin, &BottomMargin, &MinTextWidth, &MaxTextWidth};
    // Margins are laid out as indents are, text widths (none below 1) as picture sides.
    using L = TRPReadLimits;
    for (int i = 0; i < 6; ++i)
        *fields[i] = i < 4 ? std::clamp(RPFReadInt32(Stream, p + 4 * i), 0, L::MaxIndent)
                           : std::clamp(RPFReadInt32(Stream, p + 4 * i), -L::MaxLength, L::MaxLength);
    BiDiMode = static_cast<uint8_t>(Stream[p + 24]);
    if (size >= 41) {
        FirstParaPartial = RPFReadInt32(Stream, p + 25);
        LastParaPartial = RPFReadInt32(Stream, p + 29);
        FirstParaListNo = RPFReadInt32(Stream, p + 33);
        FirstParaListLevel = RPFReadInt32(Stream, p + 37);
    } else {
        FirstParaPartial = LastParaPartial = 0;
        FirstParaListNo = -1;
        FirstParaListLevel = 0;
    }
    Pos = p + static_cast<size_t>(size);
    IsLoaded = true;
    return true;
}

void TRPLayoutInfo::SaveTextToStream(std::string& Stream) const {
    std::string block;
    SaveToStream(block, false);
    RPFWriteLine(Stream, RPFStringToHex(block));
}

bool TRPLayoutInfo::LoadText(std::string_view Hex) {
    std::string data;
    if (!RPFHexToStream(Hex, data)) return false;
    return LoadBinary(data);
}

bool TRPLayoutInfo::LoadBinary(std::string_view Data) {
    size_t p = 0;
    return LoadFromStream(Data, p, false);
}
