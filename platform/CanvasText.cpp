// Text on the canvas: placed by the top-left corner of its cell, measured
// through the replaceable text metrics.
#include "platform/CanvasState.h"

#include "platform/Fonts.h"
#include "platform/TextMetrics.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextLayout>

#include <list>
#include <unordered_map>
#include <utility>

using namespace CanvasRules;

int TCanvas::TextWidth(const QString& text) const {
    return TextMetrics().TextWidth(m_font, text) + d->charExtra * static_cast<int>(text.size());
}

int TCanvas::TextHeight(const QString&) const {
    return TextMetrics().Height(m_font);
}

TSize TCanvas::TextExtent(const QString& text) const {
    return {TextWidth(text), TextHeight(text)};
}

namespace {

// Text once shaped is kept as glyph runs, by font, device resolution,
// direction and text: a line painted again (a key typed, a window uncovered)
// is not shaped again. The runs are the ones Qt's own text drawing makes;
// they are dropped with the application, before the fonts go.
class TShapedTexts {
public:
    const QList<QGlyphRun>& Runs(const QFont& Font, const QString& Text, const QPainter& P) {
        const QPaintDevice* device = P.device();
        TKey key{Font, Text, device ? device->logicalDpiY() : 0, P.layoutDirection()};
        if (auto it = m_index.find(key); it != m_index.end()) {
            m_order.splice(m_order.begin(), m_order, it->second);
            return it->second->second;
        }
        QTextLayout layout(Text, Font, const_cast<QPaintDevice*>(device));
        QTextOption option;
        option.setTextDirection(P.layoutDirection());
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) line.setNumColumns(static_cast<int>(Text.size()));
        layout.endLayout();
        QList<QGlyphRun> runs = layout.glyphRuns();
        // The runs stand on the line's baseline; they are drawn from the baseline.
        const qreal ascent = line.isValid() ? line.ascent() : 0;
        for (QGlyphRun& r : runs) {
            QList<QPointF> at = r.positions();
            for (QPointF& q : at)
                q.ry() -= ascent;
            r.setPositions(at);
        }
        m_order.emplace_front(key, std::move(runs));
        m_index[m_order.front().first] = m_order.begin();
        if (m_order.size() > kKept) {
            m_index.erase(m_order.back().first);
            m_order.pop_back();
        }
        return m_order.front().second;
    }

    // Whether glyph runs draw the family as text drawing does: an outline
    // font installed under that name. Bitmap fonts and names that fall back
    // to another family take the long way. The font database answers
    // without opening the face (a face of bitmaps alone opened at a size it
    // has no strike of draws nothing afterwards).
    bool Drawable(const QFont& Font) {
        const QString family = Font.family();
        auto known = m_families.find(family);
        if (known == m_families.end())
            known = m_families
                        .emplace(family, QFontDatabase::families().contains(family) &&
                                             QFontDatabase::isSmoothlyScalable(family))
                        .first;
        return known->second;
    }

    static TShapedTexts* Get() {
        static TShapedTexts* texts = nullptr;
        if (!texts && QCoreApplication::instance()) {
            texts = new TShapedTexts;
            qAddPostRoutine([] {
                delete texts;
                texts = nullptr;
            });
        }
        return texts;
    }

private:
    struct TKey {
        QFont Font;
        QString Text;
        int Dpi;
        Qt::LayoutDirection Direction;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        size_t operator()(const TKey& k) const { return qHashMulti(0, k.Font, k.Text, k.Dpi, k.Direction); }
    };
    static constexpr size_t kKept = 4096;
    std::list<std::pair<TKey, QList<QGlyphRun>>> m_order; // most recent first
    std::unordered_map<TKey, decltype(m_order)::iterator, THash> m_index;
    std::unordered_map<QString, bool> m_families;
};

bool g_keepShaped = true;

void DrawShaped(QPainter* p, const QPoint& Baseline, const QString& Text) {
    // Kept runs serve the screen and pictures; a printer takes text as text,
    // and lines drawn under or through text come with it.
    const QFont& f = p->font();
    const QPaintEngine* engine = p->paintEngine();
    TShapedTexts* texts = g_keepShaped ? TShapedTexts::Get() : nullptr;
    if (!texts || !engine || engine->type() != QPaintEngine::Raster || f.underline() || f.strikeOut() ||
        f.overline() || !texts->Drawable(f)) {
        p->drawText(Baseline, Text);
        return;
    }
    for (const QGlyphRun& r : texts->Runs(f, Text, *p))
        p->drawGlyphRun(Baseline, r);
}

// Text placed by the top-left corner of its cell; a solid brush fills Width
// times the cell height behind it first.
void DrawTextAt(QPainter* p, const TFont& font, const TBrush& brush, int x, int y, const QString& text,
                int Width, int charExtra) {
    QFont qf = ToQFont(font);
    if (charExtra != 0) qf.setLetterSpacing(QFont::AbsoluteSpacing, charExtra);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->translate(x, y);
    if (font.Orientation() != 0) p->rotate(-font.Orientation() / 10.0);
    if (brush.Style() == bsSolid)
        p->fillRect(QRect(0, 0, Width, TextMetrics().Height(font)), QtColor(brush.Color()));
    p->setFont(qf);
    p->setPen(QtColor(font.Color()));
    p->setBrush(Qt::NoBrush);
    // The baseline lies the cell's ascent below the top, so that accents on
    // capitals stay inside the cell.
    const int ascent = FontCell(font).Ascent;
    const QString shown = DisplayText(font, text);
    DrawShaped(p, QPoint(0, ascent), shown);
    // A face whose bold is no heavier than its regular is made bold the old
    // way, by striking the text twice.
    if (SimulatedBold(font)) DrawShaped(p, QPoint(1, ascent), shown);
}

} // namespace

void SetShapedTextKept(bool Kept) {
    g_keepShaped = Kept;
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    TextOutMeasured(x, y, text, TextWidth(text));
}

void TCanvas::TextOutMeasured(int x, int y, const QString& text, int Width) {
    if (d->recorder) {
        if (!text.isEmpty()) d->recorder->Text(*this, x, y, text, Width, nullptr);
    } else {
        PaintScope p(Painter());
        if (p && !text.isEmpty())
            DrawTextAt(p.operator->(), m_font, m_brush, x, y, text, Width, d->charExtra);
    }
    m_penPos = {Clamped(Clamped(x) + Width), y};
    if (OnChange) OnChange();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
    if (d->recorder) return d->recorder->Text(*this, x, y, text, 0, &r);
    PaintScope p(Painter());
    if (!p) return;
    p->setClipRect(ToQRect(r), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (m_brush.Style() == bsSolid) p->fillRect(ToQRect(r), QtColor(m_brush.Color()));
    TBrush clear;
    clear.SetStyle(bsClear);
    if (!text.isEmpty()) DrawTextAt(p.operator->(), m_font, clear, x, y, text, 0, d->charExtra);
    if (OnChange) OnChange();
}
