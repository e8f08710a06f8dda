#pragma once
// Text measuring, in one place so that tests can put fixed metrics in its
// stead. All answers are pixels of the font's own height (see TFont).
// Widths are sums of character advances, without kerning, as the old text
// output placed characters.
#include <QString>
#include <QStringList>

#include <climits>
#include <cstdint>
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

// Text in a font scaled with its control (TFont::ScaleBy) may come out wider
// than the control grew: advances are hinted to whole pixels, and a face may
// set its small sizes from bitmaps of other advances than its outlines (the
// bold Tahoma here is a fifth narrower up to 16 pixels). The font to set these
// lines in: such a font narrowed as a whole to the proportions of its design,
// and further where a line that fits the room (the width its lines are set
// in, scaled) unscaled would not fit it so; any other font as it is.
TFont ScaledTextFont(const TFont& font, const QStringList& lines, int room = INT_MAX);
// The font a scaled font was designed as (the font itself when it was not scaled).
TFont DesignFont(const TFont& font);
// The width that room of a scaled font's text had in its design.
int DesignRoom(const TFont& font, int room);

// The metrics in force.
TTextMetrics& TextMetrics();
// Puts other metrics in force (nullptr: the default ones); gives the previous.
TTextMetrics* SetTextMetrics(TTextMetrics* metrics);
// Counts the metrics put in force: what was measured with other metrics
// (ones that lived at the same address too) is measured again.
uint64_t TextMetricsStamp();

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
