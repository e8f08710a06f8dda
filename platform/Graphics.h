#pragma once
// Pens, brushes, fonts and the canvas, with the old framework's pixel rules on
// top of QPainter.
//
// Conventions:
// - Records (TPoint, TSize, TRect) are plain structs with public fields.
// - Classes (TPen, TBrush, TFont, TCanvas) use getters and setters:
//   Canvas->Pen()->SetColor(clRed); Canvas->Font()->SetSize(14);
//   if (Canvas->Brush()->Style() == bsClear) ...
// - Every change of a pen, brush or font that alters a value calls its
//   OnChange (controls repaint from there).
// - A canvas draws on a QImage (pictures: it opens its own painter when
//   needed), on a painter it is given (paint events, printing), or on any
//   QPaintDevice. Nothing is drawn without a surface.
//
//   QPainter p(this);                  // in a paintEvent
//   TCanvas canvas(&p);
//   canvas.Brush()->SetColor(clWhite);
//   canvas.Rectangle(10, 10, 20, 20);  // covers pixels 10..19
//   canvas.TextOut(4, 4, "Hallo");     // top of the text cell at y = 4
//
// Pixel rules: antialiasing off (also for text); Rectangle, Ellipse,
// FillRect and the clip shapes leave out the right and bottom edge, and
// without a pen Rectangle and Ellipse fill one pixel less still; LineTo
// leaves out its end pixel; text is placed by its top-left corner; a solid
// brush fills the text background and the gaps of styled one-pixel lines,
// any other brush leaves them transparent. Pens wider than one pixel are
// solid with round ends. The pen mode applies to lines and figures, not to
// text, FillRect or pixels.
#include "platform/Colors.h"
#include "platform/Runtime.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class QPaintDevice;
class QRegion;
class TGraphic;

// ---- records ---------------------------------------------------------------

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) {
    return {x, y};
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
inline bool PtInRect(const TRect& r, const TPoint& p) {
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}
void InflateRect(TRect& r, int dx, int dy);
void OffsetRect(TRect& r, int dx, int dy);
// False and an empty result when the rectangles do not overlap.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);
TRect UnionRect(const TRect& a, const TRect& b);

// ---- pen -------------------------------------------------------------------

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Raster operations of the pen, in the framework's order.
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen {
public:
    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    int Width() const { return m_width; }
    void SetWidth(int w); // below 1 becomes 1
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode m);
    void Assign(const TPen& other);

    std::function<void()> OnChange;

private:
    void Changed();
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    TPenMode m_mode = pmCopy;
};

// ---- brush -----------------------------------------------------------------

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush {
public:
    TColor Color() const { return m_color; }
    void SetColor(TColor c); // a colour on a clear brush makes it solid again
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle s);
    void Assign(const TBrush& other);

    std::function<void()> OnChange;

private:
    void Changed();
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
};

// ---- font ------------------------------------------------------------------

// Font styles are bit flags: Style() & fsBold, SetStyle(fsBold | fsItalic).
enum TFontStyle : unsigned { fsBold = 1u, fsItalic = 2u, fsUnderline = 4u, fsStrikeOut = 8u };
using TFontStyles = unsigned;

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Size is in points, Height in pixels of the font's device (PixelsPerInch,
// 96 on screen): Height = -round(Size * PixelsPerInch / 72). A negative
// height is the character height, a positive one the cell height.
// What text measuring depends on in a font: face, height, weight, slant,
// pitch and stretch, as numbers (Face 0: not made yet).
struct TFontMeasureKey {
    uint32_t Face = 0;
    int32_t Height = 0;
    uint32_t Look = 0; // stretch, bold, italic, pitch
    bool operator==(const TFontMeasureKey&) const = default;
};

struct TFontMeasureKeyHash {
    size_t operator()(const TFontMeasureKey& k) const {
        return (static_cast<size_t>(k.Face) * 0x9E3779B97F4A7C15ull) ^ (static_cast<size_t>(k.Height) << 20) ^
               k.Look;
    }
};

class TFont {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other); // copies values, keeps OnChange

    QString Name() const { return m_name; }
    void SetName(const QString& name);
    int Size() const;
    void SetSize(int points);
    int Height() const { return m_height; }
    void SetHeight(int pixels);
    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles s);
    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset c);
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch p);
    // Text direction in tenths of a degree, counter-clockwise.
    int Orientation() const { return m_orientation; }
    void SetOrientation(int tenths);
    // Width of the characters in percent of their normal width (1 .. 4000).
    int Stretch() const { return m_stretch; }
    void SetStretch(int percent);
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int ppi); // keeps Height; a printer canvas sets its own

    // Scales Height by M/D, halves to even, as a control's scaling does. The
    // font remembers the height it was designed with and the whole scale
    // until the program sets another height, so that text can be kept to the
    // proportions of its design (ScaledTextFont).
    void ScaleBy(int M, int D);
    // The height before the first ScaleBy; 0 for a font not scaled since its
    // height was set.
    int DesignHeight() const { return m_designHeight; }
    int ScaleNumerator() const { return m_scale.M; }
    int ScaleDenominator() const { return m_scale.D; }

    // Copies everything but PixelsPerInch; between different resolutions the
    // point size is kept.
    void Assign(const TFont& other);
    // Same look (name, height, colour, style, charset, pitch, orientation, stretch).
    bool SameAs(const TFont& other) const;
    // Made once per change of the font, for the caches of measuring.
    TFontMeasureKey MeasureKey() const;

    std::function<void()> OnChange;

private:
    void Changed();
    QString m_name = QStringLiteral("MS Sans Serif");
    int m_height = -11;
    TColor m_color = clWindowText;
    TFontStyles m_style = 0;
    TFontCharset m_charset = DEFAULT_CHARSET;
    TFontPitch m_pitch = fpDefault;
    int m_orientation = 0;
    int m_stretch = 100;
    int m_pixelsPerInch = 96;
    int m_designHeight = 0;
    TScaleRatio m_scale;
    mutable TFontMeasureKey m_measureKey;
};

// ---- canvas ----------------------------------------------------------------

enum TFillStyle { fsSurface, fsBorder };

// Raster operations of CopyRect and Draw (the framework's values).
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Value of Pixels() where no pixel can be read.
constexpr TColor CLR_INVALID = static_cast<TColor>(0xFFFFFFFFu);

class TCanvas {
public:
    TCanvas();                              // no surface yet
    explicit TCanvas(QImage* image);        // opens its own painter when drawing
    explicit TCanvas(QPainter* painter);    // borrowed, e.g. in a paint event
    explicit TCanvas(QPaintDevice* device); // own painter on any device
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void SetImage(QImage* image);
    void SetPainter(QPainter* painter);
    void SetDevice(QPaintDevice* device);
    // Ends a painter of our own, so that the image can be read, replaced or
    // resized; the next drawing call opens it again with the same clip.
    void Release();
    bool HasSurface() const;
    // The painter (opened when needed); nullptr without a surface.
    QPainter* Painter();
    // Draws what the canvas holds back (thin lines on a printer, which go to
    // it together); before a page ends.
    void Flush();
    // The image drawn on, directly or through the painter; else nullptr.
    QImage* Image() const;

    TPen* Pen() { return &m_pen; }
    TBrush* Brush() { return &m_brush; }
    TFont* Font() { return &m_font; }
    const TPen* Pen() const { return &m_pen; }
    const TBrush* Brush() const { return &m_brush; }
    const TFont* Font() const { return &m_font; }
    void SetPen(const TPen& pen) { m_pen.Assign(pen); }
    void SetBrush(const TBrush& brush) { m_brush.Assign(brush); }
    void SetFont(const TFont& font) { m_font.Assign(font); }

    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(TPoint p) { m_penPos = p; }
    TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode m) { m_copyMode = m; }

    // Lines and shapes.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Arcs run counter-clockwise from the ray to (x3, y3) to the ray to (x4, y4).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    // Fills with the brush.
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    // A dotted frame that a second call removes again (every other pixel
    // inverted).
    void DrawFocusRect(const TRect& r);
    // fsSurface: fills the area of colour c around (x, y); fsBorder: fills up
    // to the border of colour c. Only on image surfaces.
    void FloodFill(int x, int y, TColor c, TFillStyle style);

    // Pixels; reading needs an image surface and a point inside the clip
    // (else CLR_INVALID).
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);

    // Text. The font "Symbol" is drawn through its Unicode equivalents.
    void TextOut(int x, int y, const QString& text); // moves the pen to (x + width, y)
    // TextOut of a text whose width the caller measured already, as
    // TextWidth measures it: the text is drawn whole, as TextOut draws it,
    // and Width is taken for its background and the pen, not measured again.
    void TextOutMeasured(int x, int y, const QString& text, int Width);
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    TSize TextExtent(const QString& text) const;

    // Pictures.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& r, const TGraphic& graphic);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    // Draws an image stretched into dest with the copy mode; used by the
    // picture classes and CopyRect.
    void DrawImage(const TRect& dest, const QImage& image, const TRect& sourceRect);

    // Clipping. Without a clip region everything is drawn.
    void SetClipRect(const TRect& r);
    void SetClipEllipse(const TRect& r); // elliptic region in the box r
    void SetClipRegion(const QRegion& region);
    void IntersectClipRect(const TRect& r);
    void ReleaseClip();
    bool HasClip() const { return m_hasClip; }
    TRect ClipRect() const; // the clip's bounds, or the surface

    // Logical origin: the logical point (x, y) lands on the surface's (0, 0).
    // A clip keeps the place on the surface it was given for.
    TPoint WindowOrg() const;
    void SetWindowOrg(int x, int y);
    // Saves and restores clip and origin (nested).
    void SaveState();
    void RestoreState();

    // Resolution of the surface: a printer's own, 96 for everything else.
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;

    // Extra pixels after every character of TextOut, TextWidth and TextExtent.
    int TextCharacterExtra() const;
    void SetTextCharacterExtra(int extra);

    // Called after each drawing call (pictures and controls repaint).
    std::function<void()> OnChange;

private:
    // The painter, without drawing what is held back.
    QPainter* OpenPainter();
    void StrokeThinLines(const std::vector<TPoint>& points, bool closed);
    void ApplyState();
    void LeaveBorrowed();
    struct Impl;
    std::unique_ptr<Impl> d;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    TPoint m_penPos;
    TCopyMode m_copyMode = cmSrcCopy;
    bool m_hasClip = false;
    friend struct CanvasAccess;
};

// Text painted on pictures and on the screen keeps the glyphs it was shaped
// into, so that painting it again does not shape it again (on at start).
// Off, every text is shaped as it is drawn; the pixels are the same.
void SetShapedTextKept(bool Kept);

// Thin wrappers of CopyRect with an explicit raster operation.
void BitBlt(TCanvas& dest, int x, int y, int w, int h, TCanvas& source, int sx, int sy, TCopyMode rop);
void StretchBlt(TCanvas& dest, int x, int y, int w, int h, TCanvas& source, int sx, int sy, int sw, int sh,
                TCopyMode rop);
