#include "platform/TextMetrics.h"

#include "platform/Fonts.h"
#include "platform/Graphics.h"

#include <QFontMetrics>
#include <QImage>

#include <QHash>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <unordered_map>

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

// The advances of one Qt font, each character measured once: Qt looks the
// font engine up again for every character it measures. Plain numbers only,
// so that nothing of Qt's fonts outlives the application; the font for a
// character not measured yet comes from the caller.
class TAdvances {
public:
    explicit TAdvances(const QFont& f) {
        const QFontMetrics m(f, const_cast<QPaintDevice*>(MeasureDevice()));
        m_leading = m.leading();
        m_aveCharWidth = m.averageCharWidth();
        m_latin.fill(-1);
    }
    int Leading() const { return m_leading; }
    int AveCharWidth() const { return m_aveCharWidth; }
    // The advance of a character: one UTF-16 unit Code, or the surrogate
    // pair Pair of the code point Code.
    template <class Metrics> int Of(char32_t Code, const QString& Pair, Metrics&& M) {
        if (Code < m_latin.size()) {
            int& a = m_latin[Code];
            if (a < 0) a = M().horizontalAdvance(QChar(static_cast<char16_t>(Code)));
            return a;
        }
        const auto it = m_others.constFind(Code);
        if (it != m_others.constEnd()) return *it;
        const int a = Pair.size() == 2 ? M().horizontalAdvance(Pair)
                                       : M().horizontalAdvance(QChar(static_cast<char16_t>(Code)));
        m_others.insert(Code, a);
        return a;
    }

private:
    int m_leading = 0, m_aveCharWidth = 0;
    std::array<int, 256> m_latin;
    QHash<char32_t, int> m_others;
};

TAdvances& AdvancesOf(const TFont& font) {
    static std::unordered_map<TFontMeasureKey, std::unique_ptr<TAdvances>, TFontMeasureKeyHash> cache;
    // Runs of text mostly come in the font of the run before.
    static TFontMeasureKey lastKey;
    static TAdvances* last = nullptr;
    const TFontMeasureKey key = font.MeasureKey();
    if (last && key == lastKey) return *last;
    std::unique_ptr<TAdvances>& a = cache[key];
    if (!a) a = std::make_unique<TAdvances>(ToQFont(font));
    lastKey = key;
    last = a.get();
    return *a;
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
    return std::max(0, AdvancesOf(font).Leading());
}

int TQtTextMetrics::AveCharWidth(const TFont& font) {
    return AdvancesOf(font).AveCharWidth();
}

std::vector<int> TQtTextMetrics::PrefixWidths(const TFont& font, const QString& raw) {
    const QString text = DisplayText(font, raw);
    TAdvances& advances = AdvancesOf(font);
    // Made only when a character has not been measured yet.
    std::optional<QFontMetrics> metrics;
    const auto qtMetrics = [&]() -> const QFontMetrics& {
        if (!metrics) metrics.emplace(ToQFont(font), const_cast<QPaintDevice*>(MeasureDevice()));
        return *metrics;
    };
    std::vector<int> out(text.size());
    int sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out[i] = sum; // the pair counts at its second half
            sum += advances.Of(QChar::surrogateToUcs4(c, text[i + 1]), text.mid(i, 2), qtMetrics);
            out[++i] = sum;
            continue;
        }
        sum += advances.Of(c.unicode(), QString(), qtMetrics);
        out[i] = sum;
    }
    return out;
}

int TQtTextMetrics::TextWidth(const TFont& font, const QString& text) {
    if (text.isEmpty()) return 0;
    return PrefixWidths(font, text).back();
}
