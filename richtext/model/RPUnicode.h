#pragma once
// Item text helpers. An item text is a byte string: one byte per character in
// the code page of its text style, or UTF-16 little-endian code units when the
// item's option rpioUnicode is set. Character positions count from 1. Only
// rpioUnicode of the options passed in is looked at.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/model/RPTypes.h"

#include <vector>

class TCanvas;
class TFontInfo;

// The program runs with the Unicode text paths everywhere.
extern bool RPIsNT;
void InitPlatformFlags();

// Raises ERichPadError "Can't perform Unicode operation".
[[noreturn]] void RPRaiseUnicodeError();
// Raises it for an odd byte length.
void RPCheckUnicodeLength(size_t ByteLength);

// ---------------------------------------------------------------------------
// Item texts.
int ItemTextLength(std::string_view Text, TRPItemOptions Options);
// Characters Index .. Index + Count - 1, clipped to the text.
std::string ItemTextCopy(std::string_view Text, int Index, int Count, TRPItemOptions Options);
// Inserts s before character Index (after the last one when Index is past the end).
void ItemTextInsert(std::string_view s, std::string& Text, int Index, TRPItemOptions Options);
void ItemTextDelete(std::string& Text, int Index, int Count, TRPItemOptions Options);
bool ItemTextIsSpaceAt(std::string_view Text, int Index, TRPItemOptions Options);
// The text upper-cased when the style is all-caps; the length never changes.
std::string ApplyAllCapsToText(const std::string& Text, const TFontInfo& TextStyle);
// Same for an item text with its options (UTF-16 or code-page bytes).
std::string ApplyAllCapsToItemText(const std::string& Text, TRPItemOptions Options,
                                   const TFontInfo& TextStyle);

// Measuring and drawing on a canvas; 8-bit text is read in the code page of
// the canvas font's charset.
int ItemTextWidth(std::string_view Text, TCanvas& Canvas, TRPItemOptions Options);
// How many characters fit into MaxWidth; PartialExtents (when given) gets the
// extent of every prefix that fits.
void ItemTextExtentEx(TCanvas& Canvas, std::string_view Text, int MaxWidth, TRPItemOptions Options,
                      std::vector<int>* PartialExtents, int& FitCount);
// The same for a buffer of Length characters; Size gets the last measured extent.
void ItemTextBufExtentEx(TCanvas& Canvas, const char* Buffer, int Length, int& Size, TRPItemOptions Options,
                         std::vector<int>* PartialExtents, int& FitCount, int MaxWidth);
// Caret x-positions of the character count + 1 boundaries.
bool ItemTextCaretPositions(TCanvas& Canvas, std::string_view Text, std::vector<int>& Positions,
                            TRPItemOptions Options);
// Draws characters First .. Last (1-based, logical order) where they stand in
// the whole text drawn at (X, Y); False without the draw flag.
bool ItemTextOutPlaced(int X, int Y, int Height, bool Draw, TRPItemOptions Options, TCanvas& Canvas,
                       std::string_view Text, int First, int Last);

// Conversion of an item text to and from QString, for measuring and painting.
QString ItemTextToQString(std::string_view Text, TRPItemOptions Options, int CodePage);
std::string QStringToItemText(const QString& s, TRPItemOptions Options, int CodePage);

// ---------------------------------------------------------------------------
// Code pages.
int CharsetToCodePage(int Charset);
// The page a code page number stands for here: 0 and 3 (the system and thread
// page) are 1252, 1 (OEM) is 850, 2 (Mac) is Mac Roman.
int ResolveCodePage(int CodePage);
int CharsetToLangId(int Charset);
int MakeLangIdValue(int PrimaryLanguage, int SubLanguage);
int MakeLocaleValue(int LangId, int SortId);
int MakeDefaultLocale(int PrimaryLanguage);
// 8-bit text of a code page to an UTF-16 item text; code page 0 is the
// system page (1252 here).
std::string AnsiToUnicodeText(int CodePage, std::string_view s);
// UTF-16 item text to 8-bit text; characters the page lacks become "?".
std::string UnicodeTextToAnsi(int CodePage, std::string_view s);
// The text of a run in a symbol font ("Symbol", "Wingdings") as the characters
// its codes stand for, one UTF-16 unit per code, as UTF-16 item text. False
// (and Wide untouched) for other fonts.
bool SymbolFontTextToUnicodeText(const std::string& FontName, std::string_view Text, TRPItemOptions Options,
                                 int CodePage, std::string& Wide);
// Such a text in 8-bit form: the characters that the page has; for the others
// Fallback when it is not 0, else the 8-bit codes (Codes, "?" beyond them).
std::string SymbolFontTextToAnsi(int CodePage, std::string_view Wide, std::string_view Codes, char Fallback);
int KeyboardCodePage();
std::string KeyboardAnsiToUnicodeText(std::string_view s);
std::string WideStrToItemText(std::u16string_view s);
std::u16string ItemTextToWideStr(std::string_view s);
// A surrogate without its other half is no character: every writer puts
// the replacement character U+FFFD in its place (in 8-bit text the "?" of any
// character a code page lacks). The second form takes and gives item text.
void ReplaceLoneSurrogates(std::u16string& W);
std::string ReplaceLoneSurrogates(std::string_view UnicodeItemText);
// Index of the first Ch among the first Count units, -1 when none.
int ScanWideChar(std::u16string_view s, char16_t Ch, int Count);

// ---------------------------------------------------------------------------
// UTF-8 (sequences of up to three bytes).
// Characters written + 1, or -1 for a malformed sequence; without Dest only counts.
int Utf8ToWideBuffer(char16_t* Dest, int Capacity, const char* Source, int SourceCount);
// Empty for a malformed sequence.
std::u16string Utf8ToWideText(std::string_view s);

// ---------------------------------------------------------------------------
// HTML.
void HTMLEscapeChar(char Ch, bool& PrevWasBlank, bool CodeMode, std::string& Output, bool IsLast);
std::string HTMLEscapeUnicodeText(std::string_view Text, bool BlankIfEmpty, bool CodeMode);

// ---------------------------------------------------------------------------
// Line breaking in UTF-16 text.
enum TRPLineBreakClass : uint8_t {
    rplbOP,
    rplbCL,
    rplbQU,
    rplbGL,
    rplbNS,
    rplbEX,
    rplbSY,
    rplbIS,
    rplbPR,
    rplbPO,
    rplbNU,
    rplbAL,
    rplbID,
    rplbIN,
    rplbHY,
    rplbBA,
    rplbBB,
    rplbB2,
    rplbZW,
    rplbCM
};
TRPLineBreakClass GetCharLineBreakClass(char16_t Ch);
// [class before][class after]: 0 break allowed, 1 only across blanks, 2 never.
extern const uint8_t RPLineBreakPairs[20][20];
// Given the 0-based index of the first character that does not fit, the
// 0-based index of the last character of the line, or -1 when there is no
// break opportunity.
int FindLineBreakPosW(std::u16string_view Text, int Index);
