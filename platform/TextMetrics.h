#pragma once
// Text measuring, in one place so that tests can put fixed metrics in its
// stead. All answers are pixels of the font's own height (see TFont).
// Widths are sums of character advances, without kerning, as the old text
// output placed characters.
#include <QString>

#include <vector>

class TFont;

class TTextMetrics {
public:
    virtual ~TTextMetrics();
    virtual int Ascent(const TFont& font) = 0;
    virtual int Descent(const TFont& font) = 0;
    // Cell height (ascent + descent).
    virtual int Height(const TFont& font) { return Ascent(font) + Descent(font); }
    // Part of the cell above the characters (accents).
    virtual int InternalLeading(const TFont& font) = 0;
    virtual int ExternalLeading(const TFont& font) = 0;
    virtual int AveCharWidth(const TFont& font) = 0;
    // The width of every prefix: element i is the width of characters 0..i.
    virtual std::vector<int> PrefixWidths(const TFont& font, const QString& text) = 0;
    virtual int TextWidth(const TFont& font, const QString& text);

    // How many characters fit into maxWidth.
    int FitCount(const TFont& font, const QString& text, int maxWidth);
    // The caret index (0..length) nearest to the pixel offset x.
    int CaretIndexAt(const TFont& font, const QString& text, int x);
};

// The metrics in force.
TTextMetrics& TextMetrics();
// Puts other metrics in force (nullptr: the default ones); gives the previous.
TTextMetrics* SetTextMetrics(TTextMetrics* metrics);

// Real font metrics on a 96-DPI device; the cell is the one of FontCell.
class TQtTextMetrics : public TTextMetrics {
public:
    int Ascent(const TFont& font) override;
    int Descent(const TFont& font) override;
    int Height(const TFont& font) override;
    int InternalLeading(const TFont& font) override;
    int ExternalLeading(const TFont& font) override;
    int AveCharWidth(const TFont& font) override;
    std::vector<int> PrefixWidths(const TFont& font, const QString& text) override;
    int TextWidth(const TFont& font, const QString& text) override;
};
