#include "platform/TextMetrics.h"

#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/Runtime.h"

#include <QFontMetrics>
#include <QImage>

#include <QHash>

#include <algorithm>
#include <atomic>
#include <array>
#include <climits>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
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

int DesignRoom(const TFont& font, int room) {
    return font.DesignHeight() == 0 ? room
                                    : ScaleRounded(room, font.ScaleDenominator(), font.ScaleNumerator());
}

TFont DesignFont(const TFont& font) {
    TFont design(font);
    // Setting the height forgets the scaling.
    if (font.DesignHeight() != 0) design.SetHeight(font.DesignHeight());
    return design;
}

namespace {

// The widest stretch, at most the font's own, at which every line is no
// wider than its room: from the proportion of the widest overhang, then
// pixel by pixel, as advances round to whole pixels.
int WidestStretch(TTextMetrics& m, const TFont& font, const QStringList& lines,
                  const std::vector<int>& room) {
    double narrowest = 1.0;
    for (int i = 0; i < lines.size(); ++i) {
        const int w = m.TextWidth(font, lines[i]);
        if (w > room[static_cast<size_t>(i)])
            narrowest = std::min(narrowest, static_cast<double>(room[static_cast<size_t>(i)]) / w);
    }
    if (narrowest >= 1.0) return font.Stretch();
    TFont narrow(font);
    const auto fits = [&](int s) {
        narrow.SetStretch(s);
        for (int i = 0; i < lines.size(); ++i)
            if (m.TextWidth(narrow, lines[i]) > room[static_cast<size_t>(i)]) return false;
        return true;
    };
    int s = std::max(1, static_cast<int>(font.Stretch() * narrowest));
    if (fits(s)) {
        while (s + 1 < font.Stretch() && fits(s + 1))
            ++s;
    } else {
        while (s > 1 && !fits(s))
            --s;
    }
    return s;
}

// Text of the program's language with every letter, for the proportions of a whole font.
const QString& Sample() {
    static const QString s =
        QStringLiteral("Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich. 0123456789 ÄÖÜ");
    return s;
}

} // namespace

TFont ScaledTextFont(const TFont& font, const QStringList& lines, int room) {
    if (font.DesignHeight() == 0) return font;
    const TFont design = DesignFont(font);
    const int M = font.ScaleNumerator(), D = font.ScaleDenominator();
    TTextMetrics& m = TextMetrics();
    // The whole font narrows to the proportions of its design, measured on a
    // sample of the program's language, so that the texts set in it look
    // alike (a pixel of stretch more or less may thin a stem); once per font,
    // scale and metrics.
    using TKey = std::tuple<const TTextMetrics*, uint32_t, int32_t, uint32_t, int, int, int>;
    static std::map<TKey, int> whole;
    const TFontMeasureKey k = font.MeasureKey();
    const TKey key{&m, k.Face, k.Height, k.Look, font.DesignHeight(), M, D};
    auto it = whole.find(key);
    if (it == whole.end()) {
        const int sample = ScaleRounded(m.TextWidth(design, Sample()), M, D);
        it = whole.emplace(key, WidestStretch(m, font, {Sample()}, {sample})).first;
    }
    TFont narrow(font);
    narrow.SetStretch(it->second);
    if (room == INT_MAX) return narrow;
    // A line that fits the room of its design keeps as many pixels of it
    // free, up to one on either side; where the whole font does not, that
    // line's font narrows further.
    const int designRoom = DesignRoom(font, room);
    QStringList kept;
    std::vector<int> limits;
    for (const QString& line : lines) {
        const int free = designRoom - m.TextWidth(design, line);
        if (free < 0) continue;
        kept << line;
        limits.push_back(room - std::min(free, 2));
    }
    narrow.SetStretch(WidestStretch(m, narrow, kept, limits));
    return narrow;
}

TTextMetrics& TextMetrics() {
    return *g_metrics;
}

namespace {
std::atomic<uint64_t> g_metricsStamp{0};
} // namespace

TTextMetrics* SetTextMetrics(TTextMetrics* metrics) {
    TTextMetrics* previous = g_metrics;
    g_metrics = metrics ? metrics : &g_qtMetrics;
    ++g_metricsStamp;
    return previous;
}

uint64_t TextMetricsStamp() {
    return g_metricsStamp;
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
    // Millions of wide characters stop at the largest int rather than wrap.
    const auto add = [&sum](int Advance) {
        if (__builtin_add_overflow(sum, Advance, &sum)) sum = Advance > 0 ? INT_MAX : INT_MIN;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out[i] = sum; // the pair counts at its second half
            add(advances.Of(QChar::surrogateToUcs4(c, text[i + 1]), text.mid(i, 2), qtMetrics));
            out[++i] = sum;
            continue;
        }
        add(advances.Of(c.unicode(), QString(), qtMetrics));
        out[i] = sum;
    }
    return out;
}

int TQtTextMetrics::TextWidth(const TFont& font, const QString& text) {
    if (text.isEmpty()) return 0;
    return PrefixWidths(font, text).back();
}
