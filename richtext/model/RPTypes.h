#pragma once
// Types, named constants and the exception shared by the whole rich-text suite.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/Colors.h"

// The suite's exception: it carries only its fixed English message.
class ERichPadError : public std::runtime_error {
public:
    explicit ERichPadError(const std::string& Msg) : std::runtime_error(Msg) {}
};

// Messages raised by the suite (used exactly as they stand).
inline constexpr const char* errRPUnicode = "Can't perform Unicode operation";

// ---------------------------------------------------------------------------
// Item options byte.
using TRPItemOptions = uint8_t;
constexpr TRPItemOptions rpioContinuesPrev = 1;   // continues the line of the item before it
constexpr TRPItemOptions rpioPageBreakBefore = 2; // page break before the item
constexpr TRPItemOptions rpioLineBreakBefore = 4; // new line inside its paragraph
constexpr TRPItemOptions rpioUnicode = 8;         // the item text holds UTF-16LE units

// Style numbers of items: text styles are 0 or more, other kinds negative.
constexpr int rpsnBreak = -1;
constexpr int rpsnPicture = -3;
constexpr int rpsnHotspot = -4;
constexpr int rpsnControl = -5;
constexpr int rpsnBullet = -6;
constexpr int rpsnHotPicture = -10;
constexpr int rpsnListMarker = -11;
constexpr int rpsnTable = -60;
// Stands for the default text style of the item's paragraph style.
constexpr int rpsnParaDefault = 0x7FFFFFFF;

// ---------------------------------------------------------------------------
// Item tags: a number, or a text owned by the item when the document keeps text
// tags. A text tag without text is the tag 0.
struct TRPTag {
    int32_t Int = 0;
    std::optional<std::string> Text;

    static TRPTag FromInt(int32_t v) { return TRPTag{v, std::nullopt}; }
    static TRPTag FromText(std::string s) { return TRPTag{0, std::move(s)}; }
    bool IsZero() const { return Int == 0 && !Text.has_value(); }
};

// ---------------------------------------------------------------------------
// Style enumerations.
enum TRPBiDiMode : uint8_t { rpbdUnspecified, rpbdLeftToRight, rpbdRightToLeft };

enum TRPColorMode : uint8_t {
    rpcmColor,
    rpcmPrinterColor,
    rpcmGrayScale,
    rpcmBlackAndWhite,
    rpcmBlackOnWhite
};

enum TRPAlignment : uint8_t { rpaLeft, rpaRight, rpaCenter, rpaJustify };

enum TRPLineSpacingType : uint8_t { rplsPercent, rplsSpaceBetween };

enum TRPBorderStyle : uint8_t { rpbNone, rpbSingle, rpbDouble, rpbTriple, rpbThickInside, rpbThickOutside };

enum TRPSelectionMode : uint8_t { rpsmChar, rpsmWord, rpsmParagraph };

enum TRPSelectionStyle : uint8_t { rpssItems, rpssLines };

// Page break kinds drawn by the style component: 1 is a hard break.
enum TRPPageBreakType : uint8_t { rppbtSoft = 0, rppbtHard = 1 };

// Font styles of a text style (bold, italic, underline, strike-out), one bit each.
using TRPFontStyleSet = uint8_t;
namespace RPFontStyle {
constexpr TRPFontStyleSet Bold = 1;
constexpr TRPFontStyleSet Italic = 2;
constexpr TRPFontStyleSet Underline = 4;
constexpr TRPFontStyleSet StrikeOut = 8;
} // namespace RPFontStyle

// Extra font styles.
using TRPFontStyles = uint8_t;
constexpr TRPFontStyles rpfsOverline = 1;
constexpr TRPFontStyles rpfsAllCaps = 2;

// Editing protection of a text style (16 bits).
using TRPProtectOptions = uint16_t;
constexpr TRPProtectOptions rpprStyleProtect = 1 << 0;
constexpr TRPProtectOptions rpprModifyProtect = 1 << 1;
constexpr TRPProtectOptions rpprDeleteProtect = 1 << 2;
constexpr TRPProtectOptions rpprConcateProtect = 1 << 3;
constexpr TRPProtectOptions rpprRPFInsertProtect = 1 << 4;
constexpr TRPProtectOptions rpprDoNotAutoSwitch = 1 << 5;
constexpr TRPProtectOptions rpprParaStartProtect = 1 << 6;
constexpr TRPProtectOptions rpprSticking = 1 << 7;
constexpr TRPProtectOptions rpprStickToTop = 1 << 8;
constexpr TRPProtectOptions rpprStickToBottom = 1 << 9;

// Text runs whose text is HTML or RTF code written out verbatim.
using TRPTextOptions = uint8_t;
constexpr TRPTextOptions rpteoHTMLCode = 1;
constexpr TRPTextOptions rpteoRTFCode = 2;

// Paragraph options.
using TRPParaOptions = uint8_t;
constexpr TRPParaOptions rppaoNoWrap = 1;
constexpr TRPParaOptions rppaoReadOnly = 2;
constexpr TRPParaOptions rppaoStyleProtect = 4;
constexpr TRPParaOptions rppaoDoNotWantReturns = 8;

// Draw states passed to text and item painting.
using TRPTextDrawStates = uint8_t;
constexpr TRPTextDrawStates rptdsSelected = 1;
constexpr TRPTextDrawStates rptdsHover = 2;
constexpr TRPTextDrawStates rptdsHotLink = 4;
constexpr TRPTextDrawStates rptdsFocused = 64;
constexpr TRPTextDrawStates rptdsSpecialChars = 128;

// Default charset of fonts (DEFAULT_CHARSET).
constexpr uint8_t rpDefaultCharset = 1;
// Screen cursors of links and line selection.
constexpr int16_t crRPJump = 101;
constexpr int16_t crRPFlipArrow = 106;

using TRPCodePage = int;

// Screen and device resolution, used to scale measurements for printing: the
// first four values are screen pixels per inch horizontally and vertically and
// device pixels per inch horizontally and vertically.
struct TRPResolution {
    int ScreenX = 96;
    int ScreenY = 96;
    int DeviceX = 96;
    int DeviceY = 96;
    int Reserved1 = 0;
    int Reserved2 = 0;
};

// A rectangle by its four edges (right and bottom exclusive).
struct TRPBounds {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TRPBounds&) const = default;
};
