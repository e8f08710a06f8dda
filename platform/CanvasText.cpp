// Text on the canvas: placed by the top-left corner of its cell, measured
// through the replaceable text metrics.
#include "platform/CanvasState.h"

#include "platform/Fonts.h"
#include "platform/TextMetrics.h"


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
    p->drawText(QPoint(0, ascent), shown);
    // A face whose bold is no heavier than its regular is made bold the old
    // way, by striking the text twice.
    if (SimulatedBold(font)) p->drawText(QPoint(1, ascent), shown);
}

} // namespace

void TCanvas::TextOut(int x, int y, const QString& text) {
    TextOutMeasured(x, y, text, TextWidth(text));
}

void TCanvas::TextOutMeasured(int x, int y, const QString& text, int Width) {
    {
        PaintScope p(Painter());
        if (p && !text.isEmpty())
            DrawTextAt(p.operator->(), m_font, m_brush, x, y, text, Width, d->charExtra);
    }
    m_penPos = {Clamped(Clamped(x) + Width), y};
    if (OnChange) OnChange();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
    PaintScope p(Painter());
    if (!p) return;
    p->setClipRect(ToQRect(r), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (m_brush.Style() == bsSolid) p->fillRect(ToQRect(r), QtColor(m_brush.Color()));
    TBrush clear;
    clear.SetStyle(bsClear);
    if (!text.isEmpty()) DrawTextAt(p.operator->(), m_font, clear, x, y, text, 0, d->charExtra);
    if (OnChange) OnChange();
}
