#pragma once
// Windows code pages. Page 1252 uses an exact table of our own; other pages go
// through ICU's converters. Upper-casing keeps the length of the text.
#include <QString>
#include <string>
#include <string_view>

namespace CodePage {

constexpr int CP_1252 = 1252;

// The character of one byte of code page 1252 (undefined bytes map to U+0081 and its kin).
char16_t Cp1252ToUnicode(unsigned char b);
// The byte of a character in code page 1252, or -1 when the page has none.
int UnicodeToCp1252(char16_t c);

// Whole texts. Characters that a page cannot hold become '?'.
QString FromCp1252(std::string_view bytes);
std::string ToCp1252(const QString& text);

// Any Windows code page (1250..1258, 874, 932, 936, 949, 950, the DOS pages
// 437, 850 and their kin, the Mac pages 10000.., ISO 8859 ...).
// Unknown pages fall back to 1252.
QString ToUnicode(int codePage, std::string_view bytes);
std::string FromUnicode(int codePage, const QString& text, bool* lossy = nullptr);
// Whether the page is known to the converter.
bool IsKnown(int codePage);
// The code page of a font charset (0 ANSI, 1 default, 2 symbol -> 1252; 204 -> 1251;
// 77 and on -> the Mac pages; 254 -> 437, 255 -> 850 ...).
int CharsetToCodePage(int charset);

// Upper-cases one character at a time, so the length never changes ("ß" stays "ß").
QString AnsiUpperCase(const QString& s);
QString AnsiLowerCase(const QString& s);
// The same on code page 1252 bytes.
std::string AnsiUpperCase1252(std::string_view s);

} // namespace CodePage
