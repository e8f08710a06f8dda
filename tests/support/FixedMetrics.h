#pragma once
// Text metrics that do not depend on fonts: every character is half the
// font's pixel height wide (rounded down), the cell is the pixel height, the
// ascent four fifths of it.
#include "platform/TextMetrics.h"

class TFixedMetrics : public TTextMetrics {
public:
    explicit TFixedMetrics(double widthFactor = 0.5) : m_widthFactor(widthFactor) {}
    int Ascent(const TFont& font) override;
    int Descent(const TFont& font) override;
    int InternalLeading(const TFont& font) override;
    int ExternalLeading(const TFont& font) override;
    int AveCharWidth(const TFont& font) override;
    std::vector<int> PrefixWidths(const TFont& font, const QString& text) override;

    // The pixel height the metrics use: |Height| of the font.
    static int PixelHeight(const TFont& font);

private:
    double m_widthFactor;
};

// Puts fixed metrics in force for its lifetime.
class FixedMetricsScope {
public:
    explicit FixedMetricsScope(double widthFactor = 0.5);
    ~FixedMetricsScope();
    FixedMetricsScope(const FixedMetricsScope&) = delete;
    FixedMetricsScope& operator=(const FixedMetricsScope&) = delete;
    TFixedMetrics& Metrics() { return m_metrics; }

private:
    TFixedMetrics m_metrics;
    TTextMetrics* m_previous;
};
