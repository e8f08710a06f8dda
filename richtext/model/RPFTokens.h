#pragma once
// Token, hex and line routines shared by the RPF reader and writer, and the
// layout block that travels with a whole document.
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/model/RPStream.h"
#include "richtext/model/RPTypes.h"

class TRPStyle;
class TCustomRPData;
class TCustomRPItemInfo;
class TGraphic;

// Current stream version written in the version record.
constexpr int RPFVersionMajor = 1;
constexpr int RPFVersionMinor = 3;

// ---- writing primitives
// A string's bytes, without and with CR LF.
inline void RPFWrite(std::string& Stream, std::string_view s) {
    Stream.append(s);
}
inline void RPFWriteLine(std::string& Stream, std::string_view s) {
    Stream.append(s);
    Stream.append("\r\n", 2);
}
// Hex when both flags are set; UTF-16 text written as is ends with U+2029
// instead of CR LF.
void RPFWriteTextOrHex(std::string& Stream, std::string_view s, bool Unicode, bool Hex);
void RPFWriteInt32(std::string& Stream, int32_t v);
// The little-endian 32-bit integer at Pos; the caller has checked that its
// four bytes are there.
int32_t RPFReadInt32(std::string_view s, size_t Pos);
// 8-bit text made safe for one line: CR and LF become the bytes 1 and 2, as
// in document properties (RPFDecodeLineBreaks gives them back), and NUL, which
// no line can hold, becomes "?".
std::string RPFLineText(std::string_view s);
// 8-bit text that cannot stand in a text line as it is (holds NUL, CR or LF).
bool RPFNeedsHex(std::string_view s);
// UTF-16 text that cannot stand in a UTF-16 line (holds U+2029 or U+0000).
bool RPFNeedsWideHex(std::string_view s);

// A body line: the bytes of a binary block (read type 2) or hex text; False
// for bad hex.
bool RPFReadBody(std::string_view Line, int ReadType, std::string& Data);
// A body written as one hex line, or as a binary block (count and bytes, no line end).
void RPFWriteBody(std::string& Stream, std::string_view Body, bool Binary);

// Bits of the reading warnings.
constexpr uint8_t rpfwUnknownPicture = 1;
constexpr uint8_t rpfwUnknownControl = 2;
constexpr uint8_t rpfwStyleIndex = 4;
constexpr uint8_t rpfwImageIndex = 8;
constexpr uint8_t rpfwToUnicode = 16;
constexpr uint8_t rpfwToAnsi = 32;
// Adds warning bits to the document's reading warnings.
void RPFWarn(TCustomRPData* RPData, uint8_t Bits);

// ---- hex text
std::string RPFStringToHex(std::string_view s);
// False for odd length or a non-hex character; Result is then empty.
bool RPFHexToStream(std::string_view Hex, std::string& Result);
// Empty for odd length; stops at the first bad digit.
std::string RPFHexToString(std::string_view Hex);
std::string RPFWideToHex(std::u16string_view s);
std::u16string RPFHexToWide(std::string_view Hex);

// ---- line breaks in one-line strings (document properties, names, hints, tags)
std::string RPFEncodeLineBreaks(std::string_view s);
std::string RPFDecodeLineBreaks(std::string_view s);

// ---- reading tokens of a header line; each skips one blank after the token
bool RPFReadWord(std::string_view s, size_t& Pos, std::string& Word);
// A 32-bit decimal; False for a lone "-", another character or a value out of range.
bool RPFReadInteger(std::string_view s, size_t& Pos, int32_t& Value);
bool RPFReadQuotedString(std::string_view s, size_t& Pos, std::string& Value);
// Quoted tags only when QuotedAllowed (stream version 1.3 and later).
bool RPFReadTag(std::string_view s, size_t& Pos, bool TagsArePChars, bool QuotedAllowed, TRPTag& Tag);
int RPFFindTextStyleByName(const TRPStyle* RPStyle, const std::string& Name);
int RPFFindParaStyleByName(const TRPStyle* RPStyle, const std::string& Name);
bool RPFReadTextStyleRef(std::string_view s, size_t& Pos, const TRPStyle* RPStyle, int32_t& StyleNo);
bool RPFReadParaStyleRef(std::string_view s, size_t& Pos, const TRPStyle* RPStyle, int32_t& ParaNo);

// ---- formatting header fields
std::string RPFQuote(std::string_view s);
// String tags in quotes, their line ends made blanks; "0" for none.
std::string RPFFormatTag(const TRPTag& Tag, bool TagsArePChars);
std::string RPFFormatTextStyleRef(int StyleNo, const TRPStyle* RPStyle, bool UseNames);
std::string RPFFormatParaStyleRef(int ParaNo, const TRPStyle* RPStyle, bool UseNames);
// The paragraph reference of an item of RPData: -1 with ForceContinue.
std::string RPFFormatItemParaRef(TCustomRPData* RPData, int ParaNo, bool ForceContinue);
// The header of a non-text record: "%d %d %s %d %d %s %s" (kind, data lines,
// paragraph, options, read type, tag, the kind's extra text). ForceContinue
// makes the item continue the line before it.
void RPFWriteNonTextHeader(std::string& Stream, TCustomRPData* RPData, const TCustomRPItemInfo& Item,
                           int DataCount, int ParaNo, int ReadType, bool ForceContinue);
// The bytes of a picture in its own stream format.
std::string RPFGraphicBytes(const TGraphic& Graphic);

// ---- picture bodies: the picture's own stream format as hex text, or as
// a binary block (int32 byte count, then the bytes)
std::string RPFSavePictureToHex(const TGraphic& Graphic);
void RPFSavePictureBinary(std::string& Stream, const TGraphic& Graphic);
// False for bad hex (Graphic untouched). Loaded (may be null) tells whether
// the picture could read the bytes.
bool RPFLoadPictureFromHex(std::string_view Hex, TGraphic& Graphic, bool* Loaded = nullptr);
// The bytes of a block whose count has been read already; False when the
// picture cannot read them.
bool RPFLoadPictureFromBinaryString(std::string_view Data, TGraphic& Graphic);
// A whole block at Pos: False when it ends early (Pos unmoved) or the picture
// cannot read it (Pos past the block).
bool RPFLoadPictureBinary(std::string_view Stream, size_t& Pos, TGraphic& Graphic);

// The view's page layout and the partial-paragraph facts of a stream.
class TRPLayoutInfo {
public:
    bool IsLoaded = false;
    int32_t LeftMargin = 0;
    int32_t RightMargin = 0;
    int32_t TopMargin = 0;
    int32_t BottomMargin = 0;
    int32_t MinTextWidth = 0;
    int32_t MaxTextWidth = 0;
    uint8_t BiDiMode = 0;
    int32_t LastParaPartial = 0;
    int32_t FirstParaPartial = 0;
    int32_t FirstParaListNo = -1;
    int32_t FirstParaListLevel = 0;

    // The block, with IncludeSize preceded by its int32 byte count.
    void SaveToStream(std::string& Stream, bool IncludeSize) const;
    // Reads at Pos and moves Pos past the block; False when the data end
    // early. A size below 25 raises ERichPadError.
    bool LoadFromStream(std::string_view Stream, size_t& Pos, bool IncludeSize);
    void SaveTextToStream(std::string& Stream) const;
    bool LoadText(std::string_view Hex);
    bool LoadBinary(std::string_view Data);
};
