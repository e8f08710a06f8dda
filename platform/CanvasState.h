#pragma once
// What the canvas units share: the canvas's surface and saved state, and the
// small conversions every drawing call goes through. Not for use outside
// platform/.
#include "platform/Colors.h"
#include "platform/Graphics.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <memory>
#include <vector>

// Takes the drawing calls of a canvas that records them instead of drawing
// them (the metafile canvas). Pen, brush, font and copy mode are read from
// the canvas; coordinates are the caller's, before the origin shift.
class TCanvasRecorder {
public:
    enum TArcKind { akArc, akPie, akChord };
    virtual ~TCanvasRecorder() = default;
    virtual void Poly(const TCanvas& C, const std::vector<TPoint>& Points, bool Closed) = 0;
    virtual void Rectangle(const TCanvas& C, const TRect& R) = 0;
    virtual void RoundRect(const TCanvas& C, const TRect& R, int W, int H) = 0;
    virtual void Ellipse(const TCanvas& C, const TRect& R) = 0;
    virtual void Arc(const TCanvas& C, TArcKind Kind, const TRect& R, TPoint Start, TPoint End) = 0;
    virtual void FillRect(const TCanvas& C, const TRect& R, bool FrameOnly) = 0;
    virtual void Pixel(const TCanvas& C, int X, int Y, TColor Color) = 0;
    // Clip is the rectangle of TextRect, or nullptr.
    virtual void Text(const TCanvas& C, int X, int Y, const QString& Text, int Width, const TRect* Clip) = 0;
    virtual void Image(const TCanvas& C, const TRect& Dest, const QImage& Image, const TRect& Source) = 0;
    virtual void Picture(const TCanvas& C, const TRect& Dest, const TGraphic& Graphic) = 0;
    // Clip (when HasClip) is in surface coordinates, as the canvas keeps it.
    virtual void State(const TCanvas& C, bool HasClip, const QRegion& Clip, TPoint Origin) = 0;
};

// One-pixel lines on a printer, held back until something else is drawn and
// then handed over as few shapes: runs of pixels along a row or a column,
// gathered by colour, and the runs of a wide border drawn line by line
// joined into one figure per side. A printer takes every run as a path of
// its own, so drawn one by one a long table would print slowly and large.
class PrinterStrokes {
public:
    // A run of pixels one high or one wide, in the painter's coordinates.
    void Add(const QRect& Run, const QColor& Color, QPainter::CompositionMode Mode);
    bool IsEmpty() const { return m_layers.empty(); }
    bool Full() const;
    // Draws what is held, in the order it came, and forgets it.
    void Flush(QPainter* P);

private:
    // Runs of consecutive rows (or columns) whose ends move by at most a
    // pixel from one to the next, in the same direction throughout.
    struct Piece {
        bool Vertical;
        int First, Count; // row (column) of the first run, number of runs
        int Start, End;   // extent of the first run
        int DStart, DEnd; // move of the ends from one run to the next
        bool Continue(int Index, int Start, int End);
        QRect Bounds() const;
    };
    struct Layer {
        QColor Color;
        QPainter::CompositionMode Mode;
        std::vector<Piece> Pieces;
        QRect Bounds;
    };
    std::vector<Layer> m_layers;
    size_t m_held = 0;
};

struct TCanvas::Impl {
    enum Kind { None, OwnImage, Borrowed, OwnDevice };
    Kind kind = None;
    QImage* image = nullptr;
    QPaintDevice* device = nullptr;
    QPainter* borrowed = nullptr;
    std::unique_ptr<QPainter> own;
    // Images QPainter cannot draw on are drawn as 32 bit and converted back.
    QImage::Format convertedFrom = QImage::Format_Invalid;
    QList<QRgb> colorTable;
    QRegion clip;
    bool borrowedHadClip = false;
    QRegion borrowedClip;
    // The painter's own transformation (a borrowed painter may bring one);
    // the origin shift comes on top of it. The clip is kept in the
    // coordinates of that base.
    QTransform base;
    TPoint origin;
    struct Saved {
        bool hasClip;
        QRegion clip;
        TPoint origin;
    };
    std::vector<Saved> saved;
    int charExtra = 0;
    TCanvasRecorder* recorder = nullptr;
    PrinterStrokes held;

    // The painter in use, without opening one.
    QPainter* Current() const { return kind == Borrowed ? borrowed : own.get(); }
    void FlushHeld() {
        if (!held.IsEmpty()) held.Flush(Current());
    }

    QPoint ToBase(int x, int y) const { return QPoint(x - origin.x, y - origin.y); }
    QPoint ToSurface(int x, int y) const { return base.map(ToBase(x, y)); }
};

struct CanvasAccess {
    static void SetRecorder(TCanvas& C, TCanvasRecorder* Recorder) {
        C.d->recorder = Recorder;
        C.ApplyState();
    }
};

namespace CanvasRules {

inline bool Paintable(QImage::Format f) {
    switch (f) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return true;
    default:
        return false;
    }
}

inline QColor QtColor(TColor c) {
    return ToQColor(ColorToRGB(c));
}

// Coordinates far outside any surface are pulled in, so that no width or
// height can overflow and no figure takes endless steps.
constexpr int kCoordLimit = 1 << 26;

inline int Clamped(int v) {
    return std::clamp(v, -kCoordLimit, kCoordLimit);
}

inline TPoint Clamped(TPoint p) {
    return {Clamped(p.x), Clamped(p.y)};
}

inline TRect Clamped(const TRect& r) {
    return {Clamped(r.Left), Clamped(r.Top), Clamped(r.Right), Clamped(r.Bottom)};
}

inline QRect ToQRect(const TRect& raw) {
    const TRect r = Clamped(raw);
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

inline TRect Normalized(int x1, int y1, int x2, int y2) {
    x1 = Clamped(x1);
    y1 = Clamped(y1);
    x2 = Clamped(x2);
    y2 = Clamped(y2);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

inline Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
    switch (s) {
    case bsSolid:
        return Qt::SolidPattern;
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

inline QBrush QtBrush(const TBrush& b) {
    if (b.Style() == bsClear) return QBrush(Qt::NoBrush);
    return QBrush(QtColor(b.Color()), QtBrushStyle(b.Style()));
}

// Sets up a painter for one drawing call and puts its state back afterwards.
class PaintScope {
public:
    explicit PaintScope(QPainter* p) : m_p(p) {
        if (m_p) {
            m_p->save();
            m_p->setRenderHint(QPainter::Antialiasing, false);
            m_p->setRenderHint(QPainter::TextAntialiasing, false);
        }
    }
    ~PaintScope() {
        if (m_p) m_p->restore();
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    QPainter* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    QPainter* m_p;
};

} // namespace CanvasRules
