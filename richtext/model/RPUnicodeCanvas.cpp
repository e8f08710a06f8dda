// Measuring and placing item texts on a canvas.
#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>

#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/TextMetrics.h"
#include "richtext/model/RPUnicode.h"

namespace {

QString CanvasText(std::string_view Text, const TCanvas& Canvas, TRPItemOptions Options) {
    return ItemTextToQString(Text, Options, CharsetToCodePage(Canvas.Font()->Charset()));
}

// Prefix extents as the canvas draws them, its character extra included.
std::vector<int> Prefixes(const TCanvas& Canvas, const QString& s) {
    if (s.isEmpty()) return {};
    std::vector<int> r = TextMetrics().PrefixWidths(*Canvas.Font(), s);
    const int extra = Canvas.TextCharacterExtra();
    for (size_t i = 0; i < r.size(); ++i)
        r[i] += extra * static_cast<int>(i + 1);
    return r;
}

bool HasRightToLeft(const QString& s) {
    for (QChar c : s) {
        const auto d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL) return true;
    }
    return false;
}

} // namespace

int ItemTextWidth(std::string_view Text, TCanvas& Canvas, TRPItemOptions Options) {
    const QString s = CanvasText(Text, Canvas, Options);
    return s.isEmpty() ? 0 : Canvas.TextWidth(s);
}

void ItemTextBufExtentEx(TCanvas& Canvas, const char* Buffer, int Length, int& Size, TRPItemOptions Options,
                         std::vector<int>* PartialExtents, int& FitCount, int MaxWidth) {
    FitCount = 0;
    Size = 0;
    if (PartialExtents) PartialExtents->clear();
    if (!Buffer || Length <= 0) return;
    const size_t bytes = static_cast<size_t>(Length) * ((Options & rpioUnicode) ? 2 : 1);
    const std::vector<int> pre =
        Prefixes(Canvas, CanvasText(std::string_view(Buffer, bytes), Canvas, Options));
    for (int w : pre) {
        Size = w;
        if (w > MaxWidth) break;
        ++FitCount;
        if (PartialExtents) PartialExtents->push_back(w);
    }
}

void ItemTextExtentEx(TCanvas& Canvas, std::string_view Text, int MaxWidth, TRPItemOptions Options,
                      std::vector<int>* PartialExtents, int& FitCount) {
    int size = 0;
    ItemTextBufExtentEx(Canvas, Text.data(), ItemTextLength(Text, Options), size, Options, PartialExtents,
                        FitCount, MaxWidth);
}

bool ItemTextCaretPositions(TCanvas& Canvas, std::string_view Text, std::vector<int>& Positions,
                            TRPItemOptions Options) {
    const QString s = CanvasText(Text, Canvas, Options);
    const int n = static_cast<int>(s.size());
    Positions.assign(static_cast<size_t>(n) + 1, 0);
    if (n == 0) return true;
    if (HasRightToLeft(s)) {
        // Mixed directions: the visual caret places come from Qt's layout.
        QTextLayout layout(s, ToQFont(*Canvas.Font()));
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid()) return false;
        for (int i = 0; i <= n; ++i)
            Positions[static_cast<size_t>(i)] = static_cast<int>(line.cursorToX(i));
        return true;
    }
    const std::vector<int> pre = Prefixes(Canvas, s);
    Positions[0] = 0;
    for (int i = 0; i < n; ++i)
        Positions[static_cast<size_t>(i) + 1] = pre[static_cast<size_t>(i)] + 1;
    return true;
}

bool ItemTextOutPlaced(int X, int Y, int Height, bool Draw, TRPItemOptions Options, TCanvas& Canvas,
                       std::string_view Text, int First, int Last) {
    if (!Draw) return false;
    const QString s = CanvasText(Text, Canvas, Options);
    const int n = static_cast<int>(s.size());
    First = std::max(First, 1);
    Last = std::min(Last, n);
    if (First > Last) return true;
    // Where characters First .. Last stand on the line drawn at X: in text
    // of both directions the line shows them in its own order.
    std::vector<std::pair<int, int>> spans;
    if (HasRightToLeft(s)) {
        QFont font = ToQFont(*Canvas.Font());
        if (Canvas.TextCharacterExtra() != 0)
            font.setLetterSpacing(QFont::AbsoluteSpacing, Canvas.TextCharacterExtra());
        QTextLayout layout(s, font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid()) return false;
        for (int i = First - 1; i < Last; ++i) {
            qreal left = 0, right = 0;
            bool any = false;
            for (const QGlyphRun& run : layout.glyphRuns(i, 1)) {
                const QRectF r = run.boundingRect();
                left = any ? std::min(left, r.left()) : r.left();
                right = any ? std::max(right, r.right()) : r.right();
                any = true;
            }
            if (any) spans.emplace_back(qRound(left), qRound(right));
        }
    } else {
        const std::vector<int> pre = Prefixes(Canvas, s);
        spans.emplace_back(First > 1 ? pre[static_cast<size_t>(First - 2)] : 0,
                           pre[static_cast<size_t>(Last - 1)]);
    }
    // Characters that stand side by side are drawn as one run.
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> runs;
    for (const auto& sp : spans)
        if (!runs.empty() && sp.first <= runs.back().second)
            runs.back().second = std::max(runs.back().second, sp.second);
        else
            runs.push_back(sp);
    const bool hadClip = Canvas.HasClip();
    const TRect oldClip = Canvas.ClipRect();
    const TBrushStyle oldStyle = Canvas.Brush()->Style();
    const TColor oldColor = Canvas.Brush()->Color();
    for (const auto& [l, r] : runs) {
        if (r <= l) continue;
        // The whole text, seen through the run's rectangle only.
        const TRect run{X + l, Y, X + r, Y + Height};
        if (hadClip)
            Canvas.SetClipRect(oldClip);
        else
            Canvas.ReleaseClip();
        Canvas.IntersectClipRect(run);
        Canvas.Brush()->SetColor(oldColor);
        Canvas.Brush()->SetStyle(oldStyle);
        if (oldStyle != bsClear) Canvas.FillRect(run);
        Canvas.Brush()->SetStyle(bsClear);
        Canvas.TextOut(X, Y, s);
    }
    Canvas.Brush()->SetColor(oldColor);
    Canvas.Brush()->SetStyle(oldStyle);
    if (hadClip)
        Canvas.SetClipRect(oldClip);
    else
        Canvas.ReleaseClip();
    return true;
}
