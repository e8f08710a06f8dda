#pragma once
// Font names of the program and the fonts that stand in for them here.
// "Arial", "Times New Roman" and "Courier New" map to the metric-compatible
// Liberation fonts; "Tahoma" comes from the wine font files, registered at
// start; "Symbol" does not exist and its text is drawn through Unicode, as is
// the text of "Wingdings" where that font is not installed.
#include <QChar>
#include <QFont>
#include <QString>
#include <QStringList>

class TFont;

// Registers the program's fonts that fontconfig does not list. Call once at
// start (later calls do nothing).
void RegisterProgramFonts();
// The font files that RegisterProgramFonts added (the metafile helper adds
// them to its own fonts, so that pictures render alike there).
QStringList ProgramFontFiles();

// The family that is actually used for a font name of the program.
QString MapFontFamily(const QString& name);
// Whether a font's codes stand for other characters than their code page's
// ("Symbol", "Wingdings").
bool IsSymbolFontName(const QString& name);
bool IsSymbolFontName(QLatin1String name);
// The Qt font of a font: family mapped, pixel size from Height, styles.
QFont ToQFont(const TFont& font);
// The pixel size (character height) of a font, also for a positive Height
// (cell height), which is converted with the family's proportions.
int FontPixelSize(const TFont& font);

// The text cell of a font in pixels, as the old system made it: the face's
// usWinAscent and usWinDescent (OS/2 table) scaled to the pixel size, so the
// internal leading above the characters, where the dots and accents of
// capitals sit, belongs to the cell. Faces without the table or without
// outlines take Qt's ascent and descent.
struct TFontCell {
    int Ascent = 0;
    int Descent = 0;
    int Height() const { return Ascent + Descent; }
};
TFontCell FontCell(const TFont& font);

// True when a bold font must be drawn twice, one pixel apart, to look bold:
// its face's bold is no heavier than the regular at this size (the bold
// stand-in of Tahoma has the regular's outlines, and only its small bitmaps
// are bold).
bool SimulatedBold(const TFont& font);

// The Unicode character of a byte of the "Symbol" encoding; codes without a
// character give U+F000 + code.
QChar SymbolToUnicode(unsigned char code);
// The "Symbol" code of a character, -1 when there is none.
int UnicodeToSymbol(QChar c);
// Text written in the "Symbol" font (one character per code, as the program
// passes it: codes below 256, code page 1252 characters or U+F0xx) in Unicode.
QString SymbolTextToUnicode(const QString& text);
// The same for any symbol font (the text unchanged for other fonts). Each code
// stays one UTF-16 unit; codes without a character give U+F000 + code.
QString SymbolFontTextToUnicode(const QString& fontName, const QString& text);
// The text that a font really shows: mapped when the font is a symbol font
// that is not installed here ("Symbol" never is).
QString DisplayText(const TFont& font, const QString& text);
