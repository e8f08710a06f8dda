#include "support/FixedMetrics.h"

#include "platform/Graphics.h"

#include <cstdlib>

int TFixedMetrics::PixelHeight(const TFont& font) {
    return std::abs(font.Height());
}

int TFixedMetrics::Ascent(const TFont& font) {
    return PixelHeight(font) - Descent(font);
}
int TFixedMetrics::Descent(const TFont& font) {
    return PixelHeight(font) / 5;
}
int TFixedMetrics::InternalLeading(const TFont&) {
    return 0;
}
int TFixedMetrics::ExternalLeading(const TFont&) {
    return 0;
}
int TFixedMetrics::AveCharWidth(const TFont& font) {
    return static_cast<int>(PixelHeight(font) * m_widthFactor);
}

std::vector<int> TFixedMetrics::PrefixWidths(const TFont& font, const QString& text) {
    const int w = AveCharWidth(font);
    std::vector<int> out(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = static_cast<int>(i + 1) * w;
    return out;
}

FixedMetricsScope::FixedMetricsScope(double widthFactor)
    : m_metrics(widthFactor), m_previous(SetTextMetrics(&m_metrics)) {}

FixedMetricsScope::~FixedMetricsScope() {
    SetTextMetrics(m_previous);
}
