#include "platform/TextMetrics.h"

#include "platform/Fonts.h"
#include "platform/Graphics.h"

#include <QFontMetrics>
#include <QImage>

#include <algorithm>
#include <cstdlib>

TTextMetrics::~TTextMetrics() = default;

int TTextMetrics::TextWidth(const TFont& font, const QString& text) {
    if (text.isEmpty()) return 0;
    return PrefixWidths(font, text).back();
}

int TTextMetrics::FitCount(const TFont& font, const QString& text, int maxWidth) {
    const std::vector<int> w = PrefixWidths(font, text);
    int n = 0;
    while (n < static_cast<int>(w.size()) && w[n] <= maxWidth)
        ++n;
    return n;
}

int TTextMetrics::CaretIndexAt(const TFont& font, const QString& text, int x) {
    if (x <= 0 || text.isEmpty()) return 0;
    const std::vector<int> w = PrefixWidths(font, text);
    int prev = 0;
    for (int i = 0; i < static_cast<int>(w.size()); ++i) {
        if (x < w[i]) {
            // Nearer boundary; a tie goes to the left one.
            return (x - prev <= w[i] - x) ? i : i + 1;
        }
        prev = w[i];
    }
    return static_cast<int>(w.size());
}

namespace {

TQtTextMetrics g_qtMetrics;
TTextMetrics* g_metrics = &g_qtMetrics;

// Pixel-sized fonts do not depend on the device's resolution, but a fixed
// 96-DPI device keeps the screen out of it altogether.
const QPaintDevice* MeasureDevice() {
    static QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        return img;
    }();
    return &device;
}

QFontMetrics MetricsOf(const TFont& font) {
    return QFontMetrics(ToQFont(font), const_cast<QPaintDevice*>(MeasureDevice()));
}

} // namespace

TTextMetrics& TextMetrics() {
    return *g_metrics;
}

TTextMetrics* SetTextMetrics(TTextMetrics* metrics) {
    TTextMetrics* previous = g_metrics;
    g_metrics = metrics ? metrics : &g_qtMetrics;
    return previous;
}

int TQtTextMetrics::Ascent(const TFont& font) {
    return FontCell(font).Ascent;
}
int TQtTextMetrics::Descent(const TFont& font) {
    return FontCell(font).Descent;
}
int TQtTextMetrics::Height(const TFont& font) {
    return FontCell(font).Height();
}

int TQtTextMetrics::InternalLeading(const TFont& font) {
    return std::max(0, FontCell(font).Height() - FontPixelSize(font));
}

int TQtTextMetrics::ExternalLeading(const TFont& font) {
    return std::max(0, MetricsOf(font).leading());
}

int TQtTextMetrics::AveCharWidth(const TFont& font) {
    return MetricsOf(font).averageCharWidth();
}

std::vector<int> TQtTextMetrics::PrefixWidths(const TFont& font, const QString& raw) {
    const QString text = DisplayText(font, raw);
    const QFontMetrics m = MetricsOf(font);
    std::vector<int> out(text.size());
    int sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out[i] = sum; // the pair counts at its second half
            sum += m.horizontalAdvance(text.mid(i, 2));
            out[++i] = sum;
            continue;
        }
        sum += m.horizontalAdvance(c);
        out[i] = sum;
    }
    return out;
}

int TQtTextMetrics::TextWidth(const TFont& font, const QString& text) {
    if (text.isEmpty()) return 0;
    return PrefixWidths(font, text).back();
}
