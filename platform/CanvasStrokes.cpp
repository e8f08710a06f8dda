// One-pixel lines on a printer, held back and handed over as few shapes.
#include "platform/CanvasState.h"

#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace {

// How many runs are held at most, and how far back a run looks for the
// figure it continues.
constexpr size_t kMaxHeld = 4096;
constexpr size_t kLookBack = 8;

} // namespace

bool PrinterStrokes::Piece::Continue(int Index, int Start, int End) {
    const bool below = Index == First + Count, above = Index == First - 1;
    if (!below && !above) return false;
    // The run the new one would lie next to.
    const int k = below ? Count - 1 : 0;
    const int s = this->Start + DStart * k, e = this->End + DEnd * k;
    // Only runs that lie side by side join: the pixels of a slanted thin
    // line stay runs of their own.
    if (std::max(s, Start) >= std::min(e, End)) return false;
    const int ds = below ? Start - s : s - Start, de = below ? End - e : e - End;
    if (Count == 1 ? std::abs(ds) > 1 || std::abs(de) > 1 : ds != DStart || de != DEnd) return false;
    DStart = ds;
    DEnd = de;
    if (above) {
        First = Index;
        this->Start = Start;
        this->End = End;
    }
    ++Count;
    return true;
}

QRect PrinterStrokes::Piece::Bounds() const {
    const int lo = Start + std::min(0, DStart * (Count - 1));
    const int hi = End + std::max(0, DEnd * (Count - 1));
    return Vertical ? QRect(First, lo, Count, hi - lo) : QRect(lo, First, hi - lo, Count);
}

void PrinterStrokes::Add(const QRect& Run, const QColor& Color, QPainter::CompositionMode Mode) {
    if (Run.isEmpty()) return;
    // A run goes to the last layer of its colour, unless a later layer holds
    // something it covers: it would be drawn under that, so it starts a layer
    // of its own above.
    Layer* layer = nullptr;
    for (auto it = m_layers.rbegin(); it != m_layers.rend(); ++it) {
        if (it->Color == Color && it->Mode == Mode) {
            layer = &*it;
            break;
        }
        if (it->Bounds.intersects(Run) &&
            std::any_of(it->Pieces.begin(), it->Pieces.end(),
                        [&](const Piece& p) { return p.Bounds().intersects(Run); }))
            break;
    }
    if (!layer) {
        m_layers.push_back({Color, Mode, {}, QRect()});
        layer = &m_layers.back();
    }
    layer->Bounds |= Run;
    ++m_held;
    // A line of pixels next to a figure of the same slant widens that figure.
    const bool vertical = Run.height() > 1;
    const int index = vertical ? Run.x() : Run.y();
    const int start = vertical ? Run.y() : Run.x();
    const int end = start + (vertical ? Run.height() : Run.width());
    const size_t n = layer->Pieces.size();
    for (size_t i = n; i > n - std::min(n, kLookBack); --i) {
        Piece& p = layer->Pieces[i - 1];
        if (p.Vertical == vertical && p.Continue(index, start, end)) return;
    }
    layer->Pieces.push_back({vertical, index, 1, start, end, 0, 0});
}

bool PrinterStrokes::Full() const {
    return m_held >= kMaxHeld;
}

void PrinterStrokes::Flush(QPainter* P) {
    if (m_layers.empty()) return;
    if (P && P->isActive()) {
        P->save();
        P->setPen(Qt::NoPen);
        P->setRenderHint(QPainter::Antialiasing, false);
        for (const Layer& l : m_layers) {
            QList<QRect> rects;
            QPainterPath figures;
            figures.setFillRule(Qt::WindingFill);
            for (const Piece& p : l.Pieces) {
                if (p.Count == 1 || (p.DStart == 0 && p.DEnd == 0)) {
                    rects.append(p.Bounds());
                    continue;
                }
                // A staircase of runs: its slanted sides go through the
                // corners of the steps, where the staircase of a neighbour
                // that shares them (the next side of a frame) meets it.
                const int a = p.First, k = p.Count;
                const auto at = [&](int along, int across) {
                    return p.Vertical ? QPoint(across, along) : QPoint(along, across);
                };
                QPolygon poly{at(p.Start, a), at(p.End, a), at(p.End + p.DEnd * k, a + k),
                              at(p.Start + p.DStart * k, a + k)};
                // Mirrored for columns: every figure turns the same way, so
                // that touching figures leave no seam.
                if (p.Vertical) std::reverse(poly.begin(), poly.end());
                figures.addPolygon(QPolygonF(poly));
                figures.closeSubpath();
            }
            P->setCompositionMode(l.Mode);
            P->setBrush(l.Color);
            if (!rects.isEmpty()) P->drawRects(rects.constData(), static_cast<int>(rects.size()));
            if (!figures.isEmpty()) P->drawPath(figures);
        }
        P->restore();
    }
    m_layers.clear();
    m_held = 0;
}
