#pragma once
// The ranges in which styles, list levels and items take their sizes from
// files. The RPF reader and the RTF import keep what they read inside them, so
// that whatever a file says, what the layout adds up, paints and prints stays
// far inside an int. They are the ranges of a word processor's dialogs; what
// the program makes itself lies inside them, and the writers are not bound by
// them. Lengths are pixels at 96 per inch (the styles' unit), font sizes
// points; RTF keeps its twips in the same ranges before it converts them.
#include <algorithm>

struct TRPReadLimits {
    // 1,584 pt: space before and after a paragraph, between its lines, above
    // or below raised and lowered text, between characters, and between a
    // paragraph's text and its border.
    static constexpr int MaxSpacing = 2112;
    // 22 inches either way: indents of paragraphs and list levels, and the
    // margins of a document.
    static constexpr int MaxIndent = 2112;
    // Fifty lines: 12-point text spaced fifty-fold fills a page.
    static constexpr int MaxLineSpacingPercent = 5000;
    static constexpr int MinFontSize = 1;
    static constexpr int MaxFontSize = 1638;
    // The pixel height of the largest font.
    static constexpr int MaxFontHeight = MaxFontSize * 96 / 72;
    // Character widths in percent.
    static constexpr int MinCharScale = 1;
    static constexpr int MaxCharScale = 1000;
    // A line of a paragraph's border, and the gap between its lines.
    static constexpr int MaxBorderWidth = 100;
    // A side of a picture or a control, and the width a document keeps its
    // text to (as long as a table's longest cell).
    static constexpr int MaxLength = 30000;
    // The number a list starts counting from, and the number a marker stored
    // with its list shows (far more markers than a document holds).
    static constexpr int MaxListStart = 32767;
    static constexpr int MaxListCounter = 1 << 30;
    // How far a paragraph's border reaches into its indents and spaces: three
    // lines, two gaps and the offset from the text.
    static constexpr int MaxBorderReach = 5 * MaxBorderWidth + MaxSpacing;

    // Indents either way.
    static constexpr int Indent(int v) { return std::clamp(v, -MaxIndent, MaxIndent); }
    // Spaces that mean nothing below zero.
    static constexpr int Spacing(int v) { return std::clamp(v, 0, MaxSpacing); }
    // Shifts and offsets either way.
    static constexpr int Shift(int v) { return std::clamp(v, -MaxSpacing, MaxSpacing); }
    // A font size; a negative one is the size of the character cell (the
    // platform's positive height) and keeps its sign.
    static constexpr int FontSize(int Points) {
        return Points < 0 ? std::clamp(Points, -MaxFontSize, -MinFontSize)
                          : std::clamp(Points, MinFontSize, MaxFontSize);
    }
    static constexpr int ListStart(int v) { return std::clamp(v, 0, MaxListStart); }
    // Sides of pictures and controls; 0 where a file may leave the size open.
    static constexpr int Length(int v) { return std::clamp(v, 0, MaxLength); }

    // RTF gives lengths in twips.
    static constexpr int TwipsPerPixel = 15;
    static constexpr int Twips(int Pixels) { return Pixels * TwipsPerPixel; }
};
