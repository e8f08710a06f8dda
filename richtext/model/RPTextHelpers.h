#pragma once
// Free helpers shared by the document model, the items, the writers and the
// view: tags, tabs and replacing, HTML and RTF vocabulary, resolution scaling
// and print colours.
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/model/RPTypes.h"

#include <functional>
#include <memory>

#include <QString>

class TCanvas;
class TFont;
class TFontInfo;
class TGraphic;

// ---------------------------------------------------------------------------
// Strings and tags.
TRPTag CopyTag(const TRPTag& Tag, bool TagsArePChars);
bool TagsAreEqual(const TRPTag& Tag1, const TRPTag& Tag2, bool TagsArePChars);
std::string ExpandTabsAnsi(std::string_view s, int Count);
std::string ExpandTabsUnicode(std::string_view s, int Count);
// 1-based position of Ch among the first Count bytes, 0 when absent.
int StrScanPos(const char* p, char Ch, int Count);
// Replaces the first occurrence again and again, searching from the start.
// When New contains Old that would never end, so every occurrence is then
// replaced once, left to right.
std::string RP_ReplaceAll(std::string_view s, std::string_view Old, std::string_view New);
inline std::string ReplaceAll(std::string_view s, std::string_view Old, std::string_view New) {
    return RP_ReplaceAll(s, Old, New);
}
// Replaces every occurrence, going on after each inserted text.
std::string ReplaceAllForward(std::string_view s, std::string_view Old, std::string_view New);
std::string AppendWithBlank(std::string_view s, std::string_view Word);
std::string InsertBeforeChars(std::string_view s, char Ch, std::string_view Set);
std::string ReplaceChars(std::string_view s, char Ch, std::string_view Set);

// ---------------------------------------------------------------------------
// HTML.
std::string ColorToHTML(TColor Color);
std::string ColorToHTMLOrTransparent(TColor Color);
std::string BackslashesToSlashes(std::string_view Path);
// An attribute value: &, <, > and the double quote as references.
std::string HTMLEscapeAttribute(std::string_view s);
std::string MakeHintAttribute(int Mode, std::string_view Hint);
std::string HTMLEscapeAnsiText(std::string_view s, bool EmptyAsNbsp, bool CodeMode);
int FontSizeToHTMLSize(int Points);
// The HTML name of a font charset; empty for ANSI and unknown charsets.
std::string CharsetToHTMLCharset(int Charset);
std::string OpenFontTags(const TFontInfo& Style, const TFontInfo& Base, bool Relative);
std::string CloseFontTags(const TFontInfo& Style, const TFontInfo& Base, bool Relative);
// "font: ...; text-decoration: ...; color: ...;" of a font.
std::string FontToCSS(const TFont& Font);
// Relative font tags of a font against a text style, without SUB and SUP.
std::string OpenFontTagsFromFont(const TFont& Font, const TFontInfo& Base);
std::string CloseFontTagsFromFont(const TFont& Font, const TFontInfo& Base);

// ---------------------------------------------------------------------------
// RTF.
void ByteToHexLower(uint8_t b, std::string& s);
std::string RTFEscapeHighChars(std::string_view s);
std::string RTFEscapeText(std::string_view s, bool CodeMode);
std::string RTFEscapeName(std::string_view s);
std::string MakeRTFIdentifier(std::string_view s);
// The length of the switches without a word of their own that begin the
// extras of a link, when they hold the location switch \l; else 0. A link
// read from HYPERLINK \l "mark" has the target mark and the extras \l: the
// target is the word of those switches, a place in the document.
size_t LinkLocationSwitches(std::string_view Extras);
// Appends each byte of s as \'hh.
void RTFAppendHexBytes(std::string& Out, std::string_view s);
// Appends s escaped: characters outside 26..127 as \'hh, and outside code
// mode a backslash before each \ { }.
void RTFAppendEscaped(std::string& Out, std::string_view s, bool CodeMode);
// Appends UTF-16 item text as RTF (\u with an optional ANSI fallback).
void WriteRTFUnicodeText(std::string& Stream, std::string_view Text, int CodePage, bool AnsiFallback,
                         bool CodeMode);

// ---------------------------------------------------------------------------
// Resolution and geometry.
int ScreenToDeviceX(int X, const TRPResolution& R);
int ScreenToDeviceY(int Y, const TRPResolution& R);
int DeviceToScreenX(int X, const TRPResolution& R);
int DeviceToScreenY(int Y, const TRPResolution& R);
void DeviceToScreenRect(TRPBounds& Rect, const TRPResolution& R);
bool IsPointInRect(int X, int Y, int Left, int Top, int Width, int Height);
// Screen values are 96; device values are the canvas font's resolution.
void FillResolutionRecord(TRPResolution& R, const TCanvas& Canvas);

// ---------------------------------------------------------------------------
// Pictures.
// A new, empty picture of a class by its stored name ("TBitmap", "TJPEGImage",
// "TMetafile", "TPngImage", or a registered format); nullptr when unknown.
std::unique_ptr<TGraphic> CreateGraphicOfClass(const QString& ClassName);
// The suite's replaceable picture-creation routine (CreateGraphicOfClass by default).
extern std::function<std::unique_ptr<TGraphic>(const QString& ClassName)> RPCreateGraphicProc;
// Called with every picture the RTF reader builds; does nothing by default.
extern std::function<void(TGraphic* Graphic)> RPAfterImportGraphicProc;
bool GetGraphicTransparent(const TGraphic& Graphic);
// Draws a picture scaled from screen to device size; Width or Height below 0
// take the picture's own. Without Stretch only bitmaps are drawn.
void PrintDrawGraphic(TCanvas& Canvas, int X, int Y, int Width, int Height, const TRPResolution& R,
                      const TGraphic& Graphic, bool Stretch);

// ---------------------------------------------------------------------------
// Colours for printing.
int GetLuminance(TColor Color);
TColor GetLuminanceGray(TColor Color);
TColor SysColorToPrintColor(TColor Color);
TColor GetPrintTextColor(TColor Color, TRPColorMode ColorMode);
TColor GetPrintBackColor(TColor Color, TRPColorMode ColorMode);
