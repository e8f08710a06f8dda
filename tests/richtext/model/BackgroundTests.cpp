#include <gtest/gtest.h>

#include <QImage>

#include "DataTestsDoc.h"
#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "richtext/model/RPBackground.h"

namespace {

// A w x h bitmap in Fill with one pixel of Dot at (dx, dy).
TBitmap* MakeBitmap(int w, int h, TColor Fill, int dx = -1, int dy = -1, TColor Dot = clBlack) {
    auto* b = new TBitmap(w, h);
    b->Canvas()->Brush()->SetColor(Fill);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    if (dx >= 0) b->Canvas()->SetPixel(dx, dy, Dot);
    return b;
}

struct TSurface {
    QImage Img{20, 20, QImage::Format_RGB32};
    TCanvas Canvas{&Img};
    TSurface() {
        Canvas.Brush()->SetColor(clWhite);
        Canvas.FillRect(Rect(0, 0, 20, 20));
    }
    TColor At(int x, int y) { return Canvas.Pixel(x, y); }
};

} // namespace

TEST(Background, BlankAndRedrawQuestions) {
    TRPBackground b(true);
    EXPECT_TRUE(b.IsBlank());
    b.Style = bsCentered;
    EXPECT_FALSE(b.IsBlank());
    EXPECT_FALSE(b.ScrollRequiresFullRedraw()); // the picture is empty
    b.AssignImage(MakeBitmap(2, 2, clRed), nullptr, false);
    b.Style = bsTiled;
    EXPECT_TRUE(b.ScrollRequiresFullRedraw());
    b.Style = bsTiledAndScrolled;
    EXPECT_FALSE(b.ScrollRequiresFullRedraw());
    TRPBackground none(false);
    EXPECT_EQ(none.GetBitmap(), nullptr);
    EXPECT_TRUE(none.IsBlank());
}

TEST(Background, ItemStylesMapBothWays) {
    TRPBackground b(false);
    b.Style = bsTiledAndScrolled;
    EXPECT_EQ(b.GetItemBackStyle(), rpbsTiled);
    b.SetItemBackStyle(rpbsCentered);
    EXPECT_EQ(b.Style, bsCentered);
    b.SetItemBackStyle(rpbsColor);
    EXPECT_EQ(b.Style, bsNoBitmap);
    EXPECT_EQ(b.GetItemBackStyle(), rpbsColor);
    b.SetItemBackStyle(rpbsStretched);
    EXPECT_EQ(b.GetItemBackStyle(), rpbsStretched);
}

TEST(Background, AssigningImagesAndPaletteCopies) {
    TRPBackground b(false);
    TBitmap* red = MakeBitmap(3, 3, clRed);
    b.AssignImage(red, nullptr, false);
    EXPECT_EQ(b.GetBitmap(), red);
    int sentinel = 0;
    b.UpdatePaletted(rppaCreateCopies, nullptr, &sentinel);
    ASSERT_NE(b.ImageCopy, nullptr);
    TGraphic* copy = b.ImageCopy.get();
    b.AssignImage(red, nullptr, false); // the same picture: nothing happens
    EXPECT_EQ(b.ImageCopy.get(), copy);
    b.AssignImage(red, nullptr, true);
    EXPECT_EQ(b.GetBitmap(), red);
    // The previous picture is freed when another is adopted (no leak under ASan).
    b.AssignImage(MakeBitmap(4, 4, clBlue), nullptr, false);
    EXPECT_EQ(b.GetBitmap()->Width(), 4);
    EXPECT_EQ(b.ImageCopy, nullptr);
    TBitmap other(5, 5);
    b.AssignImage(&other, nullptr, true);
    ASSERT_NE(b.GetBitmap(), &other);
    EXPECT_EQ(b.GetBitmap()->Width(), 5);
    b.UpdatePaletted(rppaDoNothing, nullptr, &sentinel);
    EXPECT_EQ(b.ImageCopy, nullptr);
    b.UpdatePaletted(rppaCreateCopies, nullptr, nullptr);
    EXPECT_EQ(b.ImageCopy, nullptr);
}

TEST(Background, CentredPictureGetsTheFillAround) {
    TRPBackground b(false);
    b.AssignImage(MakeBitmap(2, 2, clRed), nullptr, false);
    b.Style = bsCentered;
    TSurface s;
    b.Draw(s.Canvas, {0, 0, 10, 10}, 0, 0, 0, 0, 10, 10, clBlue, false);
    EXPECT_EQ(s.At(0, 0), clBlue);
    EXPECT_EQ(s.At(4, 4), clRed);
    EXPECT_EQ(s.At(5, 5), clRed);
    EXPECT_EQ(s.At(6, 6), clBlue);
    EXPECT_EQ(s.At(12, 12), clWhite);
}

TEST(Background, StretchedOpaquePictureHasNoFillBeneath) {
    TRPBackground b(false);
    b.AssignImage(MakeBitmap(2, 2, clRed), nullptr, false);
    b.Style = bsStretched;
    TSurface s;
    b.Draw(s.Canvas, {0, 0, 10, 10}, 0, 0, 0, 0, 6, 6, clBlue, false);
    EXPECT_EQ(s.At(5, 5), clRed);
    EXPECT_EQ(s.At(8, 8), clWhite); // outside the stretched picture nothing was filled
}

TEST(Background, TilesMeetingTheRectInPartArePainted) {
    TRPBackground b(false);
    b.AssignImage(MakeBitmap(4, 4, clRed, 3, 3, clLime), nullptr, false);
    b.Style = bsTiled;
    TSurface s;
    // Without clipping the canvas holds R only: R starts at (3, 3) of the
    // background, so the first tile shows only its last pixel.
    b.Draw(s.Canvas, {3, 3, 8, 8}, 0, 0, 0, 0, 20, 20, clNone, false);
    EXPECT_EQ(s.At(0, 0), clLime);
    EXPECT_EQ(s.At(1, 1), clRed);
    EXPECT_EQ(s.At(4, 4), clLime);
}

TEST(Background, TiledAndScrolledFollowsTheOffsets) {
    TRPBackground b(false);
    b.AssignImage(MakeBitmap(4, 4, clRed, 0, 0, clLime), nullptr, false);
    b.Style = bsTiledAndScrolled;
    TSurface s;
    b.Draw(s.Canvas, {2, 2, 12, 12}, 1, 2, 0, 0, 20, 20, clNone, true);
    // Tiles sit at multiples of 4 minus the offsets.
    EXPECT_EQ(s.At(3, 2), clLime);
    EXPECT_EQ(s.At(7, 6), clLime);
    EXPECT_EQ(s.At(4, 2), clRed);
    EXPECT_EQ(s.At(1, 1), clWhite); // clipped to R
}

TEST(Background, PrintingScalesToTheDevice) {
    TRPBackground b(false);
    b.AssignImage(MakeBitmap(2, 2, clRed), nullptr, false);
    b.Style = bsCentered;
    TSurface s;
    TRPResolution res{96, 96, 192, 192, 0, 0};
    b.DrawClipped(s.Canvas, {0, 0, 20, 20}, {0, 0, 20, 20}, res, clBlue, false, nullptr, nullptr);
    EXPECT_EQ(s.At(0, 0), clBlue);
    EXPECT_EQ(s.At(8, 8), clRed);
    EXPECT_EQ(s.At(11, 11), clRed);
    EXPECT_EQ(s.At(12, 12), clBlue);
}

namespace {
class TPrintedDoc : public TTestRPData {
public:
    int BackCalls = 0;
    void DrawBackToBitmap(int, int, bool, TColor, const TRPResolution&, TBitmap& Bitmap) override {
        ++BackCalls;
        Bitmap.Canvas()->Brush()->SetColor(clYellow);
        Bitmap.Canvas()->FillRect(Rect(0, 0, Bitmap.Width(), Bitmap.Height()));
    }
};
} // namespace

TEST(Background, TransparentPrintedPictureAsksForWhatLiesBehind) {
    TRPBackground b(false);
    TBitmap* pic = MakeBitmap(2, 2, clRed);
    pic->SetTransparent(true);
    b.AssignImage(pic, nullptr, false);
    b.Style = bsTiled;
    TSurface s;
    TRPResolution res;
    TPrintedDoc doc;
    b.DrawClipped(s.Canvas, {0, 0, 4, 2}, {0, 0, 4, 2}, res, clNone, false, nullptr, &doc);
    EXPECT_EQ(doc.BackCalls, 6);     // rows 0 and 1, columns 0 to 2 (the last ones only touch the edges)
    EXPECT_EQ(s.At(0, 0), clYellow); // the picture is all transparent colour
    EXPECT_EQ(s.At(5, 0), clWhite);
}

// A picture that has data but no size (a metafile with empty bounds) tiles to
// nothing: neither the screen nor the printer loops over zero-sized tiles.
TEST(Background, ZeroSizedPictureDrawsNothing) {
    QByteArray wmf;
    const uint16_t header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 0, 0, 1440, 0, 0, 0};
    for (uint16_t w : header)
        wmf.append(static_cast<char>(w & 0xFF)).append(static_cast<char>(w >> 8));
    wmf.append(QByteArray::fromHex("010009000003" "0C000000" "0000" "03000000" "0000" "030000000000"));
    auto pic = std::make_unique<TMetafile>();
    ASSERT_TRUE(pic->LoadFromStream(wmf));
    ASSERT_FALSE(pic->Empty());
    ASSERT_EQ(pic->Width(), 0);
    for (TBackgroundStyle style : {bsTiled, bsTiledAndScrolled, bsStretched, bsCentered}) {
        TRPBackground b(false);
        b.Style = style;
        b.AssignImage(MakeBitmap(1, 1, clRed), nullptr, false);
        b.AssignImage(pic->Clone().release(), nullptr, false);
        TSurface s;
        b.Draw(s.Canvas, TRPBounds{0, 0, 20, 20}, 3, 5, 0, 0, 20, 20, clNone, false);
        EXPECT_EQ(s.At(10, 10), clWhite) << style;
        b.DrawClipped(s.Canvas, TRPBounds{0, 0, 20, 20}, TRPBounds{0, 0, 20, 20}, TRPResolution(), clNone, false,
                      nullptr, nullptr);
        EXPECT_EQ(s.At(10, 10), clWhite) << style;
    }
}
