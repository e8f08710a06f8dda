// Pixel rules of the canvas on pictures.
#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "support/FixedMetrics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Bounds of the pixels that differ from white, as a TRect with exclusive
// right and bottom; empty when all is white.
TRect InkBounds(const TBitmap& bmp) {
    const QImage& img = bmp.Image();
    TRect r{img.width(), img.height(), 0, 0};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.IsEmpty() ? TRect{} : r;
}

int CountColor(const TBitmap& bmp, TColor c) {
    const QImage& img = bmp.Image();
    const QRgb key = qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == key;
    return n;
}

} // namespace

TEST(GraphicsCanvas, RectangleLeavesOutRightAndBottomEdge) {
    TBitmap bmp(40, 40);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Rectangle(10, 10, 20, 20);
    EXPECT_EQ(InkBounds(bmp), Rect(10, 10, 20, 20));
    EXPECT_EQ(c->Pixel(10, 10), clBlack);
    EXPECT_EQ(c->Pixel(19, 19), clBlack);
    EXPECT_EQ(c->Pixel(19, 15), clBlack);
    EXPECT_EQ(c->Pixel(11, 11), clRed);
    EXPECT_EQ(c->Pixel(18, 18), clRed);
    EXPECT_EQ(c->Pixel(20, 20), clWhite);
    EXPECT_EQ(CountColor(bmp, clBlack), 36);
    EXPECT_EQ(CountColor(bmp, clRed), 64);
}

TEST(GraphicsCanvas, RectangleWithoutPenFillsOnePixelLess) {
    TBitmap bmp(40, 40);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(10, 10, 20, 20);
    EXPECT_EQ(InkBounds(bmp), Rect(10, 10, 19, 19));
}

TEST(GraphicsCanvas, ReversedCornersDrawTheSameRectangle) {
    TBitmap bmp(40, 40);
    bmp.Canvas()->Brush()->SetStyle(bsClear);
    bmp.Canvas()->Rectangle(20, 20, 10, 10);
    EXPECT_EQ(InkBounds(bmp), Rect(10, 10, 20, 20));
    EXPECT_EQ(CountColor(bmp, clBlack), 36);
}

TEST(GraphicsCanvas, LineToLeavesOutItsEndPixelAndMovesThePen) {
    TBitmap bmp(30, 30);
    TCanvas* c = bmp.Canvas();
    c->MoveTo(2, 5);
    c->LineTo(12, 5);
    EXPECT_EQ(InkBounds(bmp), Rect(2, 5, 12, 6));
    EXPECT_EQ(c->PenPos(), Point(12, 5));
    c->LineTo(12, 15); // continues without a gap, end pixel left out
    EXPECT_EQ(c->Pixel(12, 5), clBlack);
    EXPECT_EQ(c->Pixel(12, 14), clBlack);
    EXPECT_EQ(c->Pixel(12, 15), clWhite);
    EXPECT_EQ(CountColor(bmp, clBlack), 20);
}

TEST(GraphicsCanvas, DiagonalLineHasOnePixelPerStep) {
    TBitmap bmp(30, 30);
    TCanvas* c = bmp.Canvas();
    c->MoveTo(0, 0);
    c->LineTo(10, 10);
    EXPECT_EQ(CountColor(bmp, clBlack), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(c->Pixel(i, i), clBlack) << i;
    EXPECT_EQ(c->Pixel(10, 10), clWhite);
}

TEST(GraphicsCanvas, DottedLineAlternatesThreeOnThreeOff) {
    TBitmap bmp(30, 5);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetStyle(psDot);
    c->Brush()->SetStyle(bsClear);
    c->MoveTo(0, 2);
    c->LineTo(12, 2);
    QString pattern;
    for (int x = 0; x < 12; ++x)
        pattern += c->Pixel(x, 2) == clBlack ? '#' : '.';
    EXPECT_EQ(pattern, "###...###...");
}

TEST(GraphicsCanvas, DottedLineGapsTakeASolidBrushColour) {
    TBitmap bmp(30, 5);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetStyle(psDot);
    c->Brush()->SetColor(clYellow);
    c->MoveTo(0, 2);
    c->LineTo(6, 2);
    EXPECT_EQ(c->Pixel(1, 2), clBlack);
    EXPECT_EQ(c->Pixel(4, 2), clYellow);
}

TEST(GraphicsCanvas, NotModeInvertsAndTwiceRestores) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetMode(pmNot);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(c->Pixel(2, 2), clBlack);
    EXPECT_EQ(c->Pixel(5, 5), clWhite);
    c->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(InkBounds(bmp), TRect{});
}

TEST(GraphicsCanvas, EllipseLeavesOutRightAndBottomEdge) {
    TBitmap bmp(40, 40);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clBlack);
    c->Ellipse(10, 10, 20, 20);
    EXPECT_EQ(InkBounds(bmp), Rect(10, 10, 20, 20));
    EXPECT_EQ(c->Pixel(15, 10), clBlack);
    EXPECT_EQ(c->Pixel(15, 19), clBlack);
    EXPECT_EQ(c->Pixel(10, 10), clWhite); // corners stay free
}

TEST(GraphicsCanvas, SmallFilledCircleCoversFiveByFive) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clRed);
    c->Ellipse(8, 8, 13, 13);
    EXPECT_EQ(InkBounds(bmp), Rect(8, 8, 13, 13));
    EXPECT_EQ(c->Pixel(10, 10), clRed);
}

namespace {

// The fill of a figure never shows outside its outline: in every row and
// column the outermost ink is pen colour.
void ExpectOutlineEncloses(const TBitmap& bmp, TColor pen) {
    const QImage& img = bmp.Image();
    const QRgb key = qRgb(GetRValue(pen), GetGValue(pen), GetBValue(pen)) & 0xFFFFFF;
    auto ink = [&](int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF; };
    auto isPen = [&](int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == key; };
    for (int y = 0; y < img.height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < img.width(); ++x)
            if (ink(x, y)) {
                if (first < 0) first = x;
                last = x;
            }
        if (first >= 0) {
            EXPECT_TRUE(isPen(first, y)) << "row " << y;
            EXPECT_TRUE(isPen(last, y)) << "row " << y;
        }
    }
    for (int x = 0; x < img.width(); ++x) {
        int first = -1, last = -1;
        for (int y = 0; y < img.height(); ++y)
            if (ink(x, y)) {
                if (first < 0) first = y;
                last = y;
            }
        if (first >= 0) {
            EXPECT_TRUE(isPen(x, first)) << "column " << x;
            EXPECT_TRUE(isPen(x, last)) << "column " << x;
        }
    }
}

} // namespace

TEST(GraphicsCanvas, FilledEllipseAndPieStayInsideTheirOutline) {
    for (int size : {5, 10, 11, 24}) {
        TBitmap bmp(30, 30);
        bmp.Canvas()->Brush()->SetColor(clRed);
        bmp.Canvas()->Ellipse(2, 2, 2 + size, 2 + size);
        EXPECT_EQ(InkBounds(bmp), Rect(2, 2, 2 + size, 2 + size)) << size;
        ExpectOutlineEncloses(bmp, clBlack);
    }
    TBitmap pie(20, 20);
    pie.Canvas()->Brush()->SetColor(clRed);
    pie.Canvas()->Pie(2, 2, 14, 14, 14, 8, 8, 2);
    ExpectOutlineEncloses(pie, clBlack);
}

TEST(GraphicsCanvas, ArcsRunCounterClockwise) {
    TBitmap bmp(20, 20);
    bmp.Canvas()->Brush()->SetStyle(bsClear);
    // From three o'clock to twelve o'clock: the upper right quarter only.
    bmp.Canvas()->Arc(2, 2, 14, 14, 14, 8, 8, 2);
    const TRect ink = InkBounds(bmp);
    EXPECT_GE(ink.Left, 7);
    EXPECT_EQ(ink.Top, 2);
    EXPECT_LE(ink.Bottom, 9);
    TBitmap other(20, 20);
    other.Canvas()->Brush()->SetStyle(bsClear);
    // The other way round: three quarters.
    other.Canvas()->Arc(2, 2, 14, 14, 8, 2, 14, 8);
    EXPECT_EQ(InkBounds(other).Left, 2);
    EXPECT_GE(InkBounds(other).Bottom, 13);
}

TEST(GraphicsCanvas, FourQuarterArcsMakeTheEllipseOutline) {
    TBitmap ellipse(30, 30), arcs(30, 30);
    ellipse.Canvas()->Brush()->SetStyle(bsClear);
    ellipse.Canvas()->Ellipse(3, 4, 25, 20);
    arcs.Canvas()->Brush()->SetStyle(bsClear);
    const TPoint rays[4] = {{30, 12}, {14, 0}, {0, 12}, {14, 30}};
    for (int i = 0; i < 4; ++i)
        arcs.Canvas()->Arc(3, 4, 25, 20, rays[i].x, rays[i].y, rays[(i + 1) % 4].x, rays[(i + 1) % 4].y);
    EXPECT_EQ(arcs.Image(), ellipse.Image());
}

TEST(GraphicsCanvas, WidePens) {
    TBitmap line(20, 20);
    line.Canvas()->Pen()->SetWidth(3);
    line.Canvas()->MoveTo(4, 8);
    line.Canvas()->LineTo(12, 8);
    EXPECT_EQ(InkBounds(line).Top, 7);
    EXPECT_EQ(InkBounds(line).Bottom, 10);
    TBitmap frame(20, 20);
    frame.Canvas()->Pen()->SetWidth(3);
    frame.Canvas()->Pen()->SetStyle(psInsideFrame);
    frame.Canvas()->Brush()->SetColor(clRed);
    frame.Canvas()->Rectangle(2, 2, 12, 12);
    EXPECT_EQ(InkBounds(frame), Rect(2, 2, 12, 12));
    EXPECT_EQ(frame.Canvas()->Pixel(4, 4), clBlack);
    EXPECT_EQ(frame.Canvas()->Pixel(5, 5), clRed);
    TBitmap centred(20, 20);
    centred.Canvas()->Pen()->SetWidth(3);
    centred.Canvas()->Rectangle(2, 2, 12, 12);
    EXPECT_EQ(InkBounds(centred), Rect(1, 1, 13, 13));
}

TEST(GraphicsCanvas, TextRectClipsAndFillsItsRectangle) {
    FixedMetricsScope fixed;
    TBitmap bmp(60, 30);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetHeight(-20);
    c->Brush()->SetColor(clYellow);
    c->TextRect(Rect(10, 5, 20, 25), 0, 5, "WWWWWW");
    const TRect ink = InkBounds(bmp);
    EXPECT_EQ(ink, Rect(10, 5, 20, 25));
    EXPECT_FALSE(c->HasClip());
    c->FillRect(Rect(30, 0, 40, 10)); // later drawing is not clipped
    EXPECT_EQ(c->Pixel(35, 5), clYellow);
}

TEST(GraphicsCanvas, FillRectAndFrameRectUseTheBrush) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(2, 3, 6, 8));
    EXPECT_EQ(InkBounds(bmp), Rect(2, 3, 6, 8));
    EXPECT_EQ(CountColor(bmp, clLime), 20);
    c->Brush()->SetColor(clBlue);
    c->FrameRect(Rect(10, 10, 15, 14));
    EXPECT_EQ(CountColor(bmp, clBlue), 14);
    EXPECT_EQ(c->Pixel(14, 13), clBlue);
    EXPECT_EQ(c->Pixel(12, 12), clWhite);
}

TEST(GraphicsCanvas, PolygonFillsAndOutlines) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clRed);
    c->Polygon({{2, 2}, {12, 2}, {12, 12}, {2, 12}});
    EXPECT_EQ(InkBounds(bmp), Rect(2, 2, 13, 13));
    EXPECT_EQ(c->Pixel(2, 2), clBlack);
    EXPECT_EQ(c->Pixel(12, 12), clBlack);
    EXPECT_EQ(c->Pixel(7, 7), clRed);
}

TEST(GraphicsCanvas, FloodFillSurfaceAndBorder) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(5, 5, 15, 15);
    c->Brush()->SetColor(clRed);
    c->FloodFill(10, 10, clWhite, fsSurface);
    EXPECT_EQ(CountColor(bmp, clRed), 64);
    EXPECT_EQ(c->Pixel(0, 0), clWhite);
    c->Brush()->SetColor(clBlue);
    c->FloodFill(10, 10, clBlack, fsBorder);
    EXPECT_EQ(CountColor(bmp, clBlue), 64);
    // Filling an area with its own colour ends.
    c->FloodFill(10, 10, clBlue, fsSurface);
    EXPECT_EQ(CountColor(bmp, clBlue), 64);
    // A seed outside the picture does nothing.
    c->FloodFill(-1, 50, clWhite, fsSurface);
    EXPECT_EQ(CountColor(bmp, clBlue), 64);
}

TEST(GraphicsCanvas, PixelsReadAndWrite) {
    TBitmap bmp(4, 4);
    TCanvas* c = bmp.Canvas();
    c->SetPixel(1, 2, RGB(10, 20, 30));
    EXPECT_EQ(c->Pixel(1, 2), RGB(10, 20, 30));
    EXPECT_EQ(c->Pixel(4, 0), CLR_INVALID);
    c->SetPixel(9, 9, clRed); // outside: ignored
    TCanvas none;
    EXPECT_EQ(none.Pixel(0, 0), CLR_INVALID);
    none.Rectangle(0, 0, 5, 5); // no surface, no crash
}

TEST(GraphicsCanvas, EllipticClipKeepsDrawingInsideUntilReleased) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->SetClipEllipse(Rect(0, 0, 20, 20));
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(c->Pixel(10, 10), clBlack);
    EXPECT_EQ(c->Pixel(0, 0), CLR_INVALID); // outside the clip nothing is read
    EXPECT_EQ(bmp.Image().pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(bmp.Image().pixel(19, 19) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(bmp.Image().pixel(10, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(bmp.Image().pixel(10, 19) & 0xFFFFFF, 0u);
    // The clip survives a release of the painter (scan line access).
    bmp.ScanLine(0);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(c->Pixel(10, 10), clRed);
    EXPECT_EQ(bmp.Image().pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    c->ReleaseClip();
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(bmp.Image().pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
}

TEST(GraphicsCanvas, CopyRectStretchesAndCopyModeInverts) {
    TBitmap src(4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 2, 4));
    TBitmap dst(8, 8);
    dst.Canvas()->CopyRect(Rect(0, 0, 8, 8), *src.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(dst.Canvas()->Pixel(3, 7), clRed);
    EXPECT_EQ(dst.Canvas()->Pixel(4, 0), clWhite);
    BitBlt(*dst.Canvas(), 0, 0, 8, 8, *dst.Canvas(), 0, 0, cmDstInvert);
    EXPECT_EQ(dst.Canvas()->Pixel(4, 0), clBlack);
    EXPECT_EQ(dst.Canvas()->Pixel(0, 0), clAqua);
}

TEST(GraphicsCanvas, TextIsPlacedByItsTopLeftCorner) {
    TBitmap bmp(120, 120);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetSize(20);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(10, 10, "H");
    const QFontMetrics m(ToQFont(*c->Font()));
    const TRect ink = InkBounds(bmp);
    // The capital stands on the baseline, its top cap height above it.
    EXPECT_EQ(ink.Bottom, 10 + m.ascent());
    EXPECT_NEAR(ink.Top, 10 + m.ascent() - m.capHeight(), 1);
    EXPECT_NEAR(ink.Left, 10, 3);
    EXPECT_EQ(c->PenPos(), Point(10 + c->TextWidth("H"), 10));
    // Moving the text moves the ink by exactly as much.
    TBitmap other(120, 120);
    other.Canvas()->SetFont(*c->Font());
    other.Canvas()->Brush()->SetStyle(bsClear);
    other.Canvas()->TextOut(30, 50, "H");
    TRect moved = ink;
    OffsetRect(moved, 20, 40);
    EXPECT_EQ(InkBounds(other), moved);
}

TEST(GraphicsCanvas, SymbolTextIsDrawn) {
    TBitmap bmp(60, 40);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetName("Symbol");
    c->Font()->SetSize(16);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(5, 5, QString(QChar(0xD6))); // radical
    EXPECT_FALSE(InkBounds(bmp).IsEmpty());
    EXPECT_GT(c->TextWidth(QString(QChar(0xD6))), 5);
}

TEST(GraphicsCanvas, SolidBrushFillsTheTextCellClearBrushDoesNot) {
    FixedMetricsScope fixed;
    TBitmap bmp(100, 40);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetHeight(-20);
    c->Brush()->SetColor(clYellow);
    c->TextOut(5, 5, "ab");
    EXPECT_EQ(c->TextExtent("ab"), (TSize{20, 20}));
    EXPECT_EQ(c->Pixel(5, 5), clYellow);
    EXPECT_EQ(c->Pixel(24, 24), clYellow);
    EXPECT_EQ(c->Pixel(25, 5), clWhite);
    EXPECT_EQ(c->Pixel(5, 25), clWhite);
    const int yellow = CountColor(bmp, clYellow);
    EXPECT_GT(yellow, 200); // the cell less the glyphs
    c->Brush()->SetStyle(bsClear);
    c->TextOut(50, 5, "ab");
    EXPECT_EQ(CountColor(bmp, clYellow), yellow);
    EXPECT_EQ(c->Pixel(50, 5), clWhite);
}

TEST(GraphicsCanvas, OnChangeFollowsDrawing) {
    TBitmap bmp(10, 10);
    int pictureChanges = 0;
    bmp.OnChange = [&] { ++pictureChanges; };
    bmp.Canvas()->Rectangle(0, 0, 5, 5);
    bmp.Canvas()->SetPixel(7, 7, clRed);
    EXPECT_EQ(pictureChanges, 2);
}

TEST(GraphicsCanvas, DrawsOnABorrowedPainter) {
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    {
        TCanvas c(&p);
        c.Rectangle(2, 2, 6, 6);
        EXPECT_EQ(c.Pixel(5, 5), clBlack);
        EXPECT_EQ(c.Pixel(6, 6), clWhite);
    }
    EXPECT_TRUE(p.isActive());
    p.end();
    EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, 0u);
}

TEST(GraphicsCanvas, WindowOriginShiftsDrawingClipAndPixels) {
    TBitmap bmp(30, 30);
    TCanvas* c = bmp.Canvas();
    c->SaveState();
    c->IntersectClipRect(Rect(0, 0, 10, 10));
    c->SetWindowOrg(-5, -5); // logical (0, 0) is pixel (5, 5)
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 20));
    // The clip stays where it was given: pixels 0..9.
    EXPECT_EQ(InkBounds(bmp), Rect(5, 5, 10, 10));
    EXPECT_EQ(c->Pixel(0, 0), clRed); // logical
    EXPECT_EQ(c->ClipRect(), Rect(-5, -5, 5, 5));
    c->RestoreState();
    EXPECT_FALSE(c->HasClip());
    EXPECT_EQ(c->WindowOrg(), Point(0, 0));
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(20, 20, 22, 22));
    EXPECT_EQ(bmp.Canvas()->Pixel(20, 20), clBlue);
    c->RestoreState(); // nothing saved: ignored
}

TEST(GraphicsCanvas, BorrowedPainterIsHandedBackUnchanged) {
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(2, 3);
    p.setClipRect(QRect(0, 0, 10, 10));
    {
        TCanvas c(&p);
        c.SetWindowOrg(1, 1);
        c.SetClipRect(Rect(0, 0, 4, 4));
        c.Brush()->SetColor(clBlack);
        c.FillRect(Rect(0, 0, 20, 20));
        EXPECT_EQ(c.Pixel(1, 1), clBlack); // surface pixel (2, 3)
    }
    EXPECT_EQ(p.transform(), QTransform::fromTranslate(2, 3));
    EXPECT_EQ(p.clipRegion(), QRegion(0, 0, 10, 10));
    p.end();
    // Our clip replaced the painter's: surface pixels 1..4 by 2..5.
    EXPECT_EQ(img.pixel(1, 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(4, 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(5, 6) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(GraphicsCanvas, CharacterExtraWidensText) {
    FixedMetricsScope fixed;
    TCanvas c;
    c.Font()->SetHeight(-10);
    c.SetTextCharacterExtra(2);
    EXPECT_EQ(c.TextWidth("abc"), 21);
    EXPECT_EQ(c.TextExtent("").cx, 0);
}

TEST(GraphicsCanvas, FarAwayCoordinatesNeitherHangNorOverflow) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    // A line through the picture from far outside: only its visible part.
    c->MoveTo(-2000000000, 10);
    c->LineTo(2000000000, 10);
    EXPECT_EQ(InkBounds(bmp), Rect(0, 10, 20, 11));
    c->MoveTo(5, 5);
    c->LineTo(5, 2147483647);
    EXPECT_EQ(c->Pixel(5, 19), clBlack);
    c->Rectangle(-2147483647 - 1, -5, 2147483647, 3);
    c->Ellipse(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647);
    c->RoundRect(0, 0, 10, 10, -2147483647 - 1, 5);
    c->Polygon({{-2147483647 - 1, 0}, {2147483647, 0}, {0, 2147483647}});
    c->SetClipEllipse(Rect(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647));
    c->ReleaseClip();
    c->TextOut(2147483647, 0, "x");
    // A source rectangle reaching far beyond the picture reads only the picture.
    TBitmap src(4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 4, 4));
    TBitmap dst(8, 8);
    dst.Canvas()->CopyRect(Rect(0, 0, 8, 8), *src.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(InkBounds(dst), Rect(0, 0, 4, 4));
    dst.Canvas()->CopyRect(Rect(0, 0, 8, 8), *src.Canvas(), Rect(0, 0, 2000000000, 2000000000));
}

TEST(GraphicsCanvas, MirroredCopy) {
    TBitmap src(4, 1);
    src.Canvas()->SetPixel(0, 0, clRed);
    TBitmap dst(4, 1);
    dst.Canvas()->CopyRect(Rect(4, 0, 0, 1), *src.Canvas(), Rect(0, 0, 4, 1));
    EXPECT_EQ(dst.Canvas()->Pixel(3, 0), clRed);
    EXPECT_EQ(dst.Canvas()->Pixel(0, 0), clWhite);
}

TEST(GraphicsCanvas, FocusRectIsDottedAndRemovedByASecondCall) {
    TBitmap bmp(12, 12);
    TCanvas* c = bmp.Canvas();
    c->DrawFocusRect(Rect(2, 2, 10, 8));
    EXPECT_EQ(c->Pixel(2, 2), clBlack);
    EXPECT_EQ(c->Pixel(3, 2), clWhite);
    EXPECT_EQ(c->Pixel(4, 2), clBlack);
    EXPECT_EQ(c->Pixel(9, 7), clBlack);
    EXPECT_EQ(InkBounds(bmp), Rect(2, 2, 10, 8));
    EXPECT_EQ(CountColor(bmp, clBlack), 12);
    c->DrawFocusRect(Rect(2, 2, 10, 8));
    EXPECT_EQ(InkBounds(bmp), TRect{});
    EXPECT_EQ(c->PixelsPerInchY(), 96);
}

TEST(GraphicsCanvas, RoundRectOutlineIsSymmetric) {
    // Each corner is the same quarter, mirrored; the outline stays in the box.
    for (int r : {6, 9, 20}) {
        TBitmap bmp(40, 40);
        TCanvas* c = bmp.Canvas();
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->RoundRect(5, 7, 31, 29, r, r);
        c->Release();
        EXPECT_EQ(InkBounds(bmp), Rect(5, 7, 31, 29)) << r;
        const QImage& img = bmp.Image();
        for (int y = 7; y < 29; ++y)
            for (int x = 5; x < 31; ++x) {
                const QRgb p = img.pixel(x, y) & 0xFFFFFF;
                ASSERT_EQ(p, img.pixel(5 + 30 - x, y) & 0xFFFFFF) << r << " at " << x << "," << y;
                ASSERT_EQ(p, img.pixel(x, 7 + 28 - y) & 0xFFFFFF) << r << " at " << x << "," << y;
            }
        EXPECT_EQ(c->Pixel(5, 18), clBlack); // the straight edges
        EXPECT_EQ(c->Pixel(18, 28), clBlack);
        EXPECT_EQ(c->Pixel(5, 7), clWhite); // a rounded corner
    }
}

// A wide line's round ends have pixels on their very edge: the same line
// gives the same pixels wherever it lies, as a screen of a document and the
// whole document must paint a paragraph's border alike.
TEST(GraphicsCanvas, AWideLineGivesTheSamePixelsWhereverItLies) {
    constexpr int kW = 40, kStep = 7, kLines = 120;
    TBitmap bmp(kW + 20, kLines * kStep + 10);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetWidth(2);
    for (int i = 0; i < kLines; ++i) {
        const int x = 3 + i % 5, y = 2 + i * kStep;
        c->MoveTo(x, y);
        c->LineTo(x + kW, y);
        c->LineTo(x, y);
    }
    const auto shape = [&](int i) {
        const int x0 = 3 + i % 5, y0 = 2 + i * kStep;
        std::string s;
        for (int y = y0 - 2; y < y0 + 3; ++y)
            for (int x = x0 - 2; x < x0 + kW + 3; ++x)
                s += c->Pixel(x, y) == clBlack ? '#' : '.';
        return s;
    };
    const std::string first = shape(0);
    EXPECT_NE(first.find('#'), std::string::npos);
    for (int i = 1; i < kLines; ++i)
        ASSERT_EQ(shape(i), first) << "line " << i;
}
