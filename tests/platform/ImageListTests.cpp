// The image list: strips split into images, masks, drawing and freeing.
#include "platform/ImageList.h"

#include "platform/Pictures.h"

#include <gtest/gtest.h>

namespace {

// A strip of 3 images of 4 x 4: red, green, blue, each with a fuchsia
// top-left pixel.
void FillStrip(TBitmap& bmp) {
    bmp.SetSize(12, 4);
    const TColor colours[3] = {clRed, clLime, clBlue};
    for (int k = 0; k < 3; ++k) {
        bmp.Canvas()->Brush()->SetColor(colours[k]);
        bmp.Canvas()->FillRect(Rect(4 * k, 0, 4 * k + 4, 4));
        bmp.Canvas()->SetPixel(4 * k, 0, clFuchsia);
    }
}

} // namespace

TEST(ImageList, StripAddsOneImagePerWidthAndMaskColourIsTransparent) {
    TCustomImageList list(nullptr);
    list.SetSize(4, 4);
    TBitmap strip;
    FillStrip(strip);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 3); // index of the first image added
    EXPECT_EQ(list.Count(), 6);

    TBitmap target(20, 10);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 20, 10));
    list.Draw(target.Canvas(), 5, 3, 1, true);
    target.Canvas()->Release();
    EXPECT_EQ(target.Canvas()->Pixel(5, 3), clWhite); // masked corner leaves the canvas
    EXPECT_EQ(target.Canvas()->Pixel(6, 3), clLime);
    EXPECT_EQ(target.Canvas()->Pixel(8, 6), clLime);
    EXPECT_EQ(target.Canvas()->Pixel(9, 6), clWhite); // right of the image
    EXPECT_EQ(target.Canvas()->Pixel(8, 7), clWhite); // below it

    // Out of range draws nothing and GetBitmap fails.
    list.Draw(target.Canvas(), 0, 0, 6, true);
    list.Draw(target.Canvas(), 0, 0, -1, true);
    EXPECT_EQ(target.Canvas()->Pixel(1, 1), clWhite);
    TBitmap out;
    EXPECT_FALSE(list.GetBitmap(6, &out));
    ASSERT_TRUE(list.GetBitmap(2, &out));
    EXPECT_EQ(out.Width(), 4);
    EXPECT_EQ(out.Height(), 4);
    EXPECT_EQ(out.Canvas()->Pixel(3, 3), clBlue);
}

TEST(ImageList, MaskBitmapWhiteIsTransparentAndDisabledIsGreyed) {
    TCustomImageList list(nullptr);
    list.SetSize(2, 2);
    TBitmap img(2, 2);
    img.Canvas()->Brush()->SetColor(clRed);
    img.Canvas()->FillRect(Rect(0, 0, 2, 2));
    TBitmap mask(2, 2);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 2, 2));
    mask.Canvas()->SetPixel(1, 1, clWhite);
    ASSERT_EQ(list.Add(&img, &mask), 0);
    EXPECT_EQ(qAlpha(list.Image(0).pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(list.Image(0).pixel(0, 0)), 255);

    TBitmap target(4, 4);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    list.Draw(target.Canvas(), 0, 0, 0, false);
    const TColor grey = target.Canvas()->Pixel(0, 0);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_NE(grey, clRed);
    EXPECT_EQ(target.Canvas()->Pixel(1, 1), clBlack);

    list.DrawBlended(target.Canvas(), 2, 2, 0, clBlue);
    const TColor mixed = target.Canvas()->Pixel(2, 2);
    EXPECT_NEAR(GetRValue(mixed), 127, 1);
    EXPECT_NEAR(GetBValue(mixed), 127, 1);

    // A new size empties the list; empty input adds nothing.
    list.SetSize(3, 3);
    EXPECT_EQ(list.Count(), 0);
    TBitmap empty;
    EXPECT_EQ(list.AddMasked(&empty, clNone), -1);
    EXPECT_EQ(list.Add(nullptr, nullptr), -1);
}

TEST(ImageList, HoldersAreToldWhenTheListGoesAway) {
    int told = 0;
    int removed = 0;
    TCustomImageList* seen = nullptr;
    {
        auto* list = new TCustomImageList(nullptr);
        list->AddFreeNotification(&told, [&](TCustomImageList* l) {
            ++told;
            seen = l;
        });
        list->AddFreeNotification(&removed, [&](TCustomImageList*) { ++removed; });
        list->RemoveFreeNotification(&removed);
        delete list;
        EXPECT_NE(seen, nullptr);
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(removed, 0);
}
