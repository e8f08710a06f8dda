// Measuring and placing item texts on a canvas.
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
    const std::vector<int> pre = Prefixes(Canvas, s);
    const int left = X + (First > 1 ? pre[static_cast<size_t>(First - 2)] : 0);
    const int right = X + pre[static_cast<size_t>(Last - 1)];
    const TRect run{left, Y, right, Y + Height};
    const bool hadClip = Canvas.HasClip();
    const TRect oldClip = Canvas.ClipRect();
    Canvas.IntersectClipRect(run);
    const TBrushStyle oldStyle = Canvas.Brush()->Style();
    const TColor oldColor = Canvas.Brush()->Color();
    if (oldStyle != bsClear) Canvas.FillRect(run);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.TextOut(X, Y, s);
    Canvas.Brush()->SetColor(oldColor);
    Canvas.Brush()->SetStyle(oldStyle);
    if (hadClip)
        Canvas.SetClipRect(oldClip);
    else
        Canvas.ReleaseClip();
    return true;
}
