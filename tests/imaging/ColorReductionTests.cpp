#include "imaging/ColorReduction.h"

#include "platform/Pictures.h"

#include <gtest/gtest.h>

TEST(MostFrequentColors, FewColoursAreKeptInOrderOfFrequency) {
    QImage img(4, 2, QImage::Format_RGB32);
    const QRgb a = qRgb(10, 20, 30), b = qRgb(200, 100, 0), c = qRgb(1, 2, 3);
    const QRgb pixels[8] = {a, b, b, c, b, a, b, a};
    for (int i = 0; i < 8; ++i) img.setPixel(i % 4, i / 4, pixels[i]);
    const TReducedImage r = ReduceMostFrequentColors(img, 256);
    ASSERT_EQ(r.Palette.size(), 256);
    EXPECT_EQ(r.Palette[0], b);
    EXPECT_EQ(r.Palette[1], a);
    EXPECT_EQ(r.Palette[2], c);
    for (int i = 3; i < 256; ++i) ASSERT_EQ(r.Palette[i], qRgb(128, 128, 128)) << i;
    EXPECT_EQ(r.Indices, (std::vector<uint8_t>{1, 0, 0, 2, 0, 1, 0, 1}));
}

TEST(MostFrequentColors, TooManyColoursAreCountedAgainMoreCoarsely) {
    // 4096 colours: red and green in steps of 4. The masks narrow blue, red,
    // green in turn until red has lost its third bit: 2048 colours remain.
    QImage img(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) img.setPixel(x, y, qRgb(x * 4, y * 4, 0));
    const TReducedImage r = ReduceMostFrequentColors(img, 256);
    EXPECT_EQ(r.Palette[0], qRgb(0, 0, 0));
    EXPECT_EQ(r.Palette[1], qRgb(8, 0, 0));
    EXPECT_EQ(r.Palette[31], qRgb(248, 0, 0));
    EXPECT_EQ(r.Palette[32], qRgb(0, 4, 0));
    EXPECT_EQ(r.Indices[1], 0);  // (4, 0, 0) masked to black
    EXPECT_EQ(r.Indices[2], 1);  // (8, 0, 0)
    EXPECT_EQ(r.Indices[64], 32); // (0, 4, 0)
    // Beyond the palette: nearest entry.
    EXPECT_EQ(r.Palette[r.Indices[size_t(63 * 64 + 63)]], qRgb(248, 28, 0));
}

TEST(DrawBitmapMasked, LeavesOutTheChosenColour) {
    TBitmap bmp(2, 2);
    bmp.SetPixelFormat(pf24bit);
    bmp.Image().setPixelColor(0, 0, Qt::blue);
    bmp.Image().setPixelColor(1, 0, Qt::red);
    bmp.Image().setPixelColor(0, 1, Qt::red); // bottom-left
    bmp.Image().setPixelColor(1, 1, Qt::blue);
    const TColor green = RGB(0, 128, 0), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
    auto draw = [&](TColor transparent, int w, int h) {
        TBitmap target(4, 4);
        target.SetPixelFormat(pf24bit);
        target.Canvas()->Brush()->SetColor(green);
        target.Canvas()->FillRect(TRect{0, 0, 4, 4});
        DrawBitmapMasked(*target.Canvas(), bmp, transparent, 0, 0, w, h);
        std::vector<TColor> out;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) out.push_back(target.Canvas()->Pixel(x, y));
        return out;
    };
    const TColor G = green, B = blue, R = red;
    // 0x20000000: the bottom-left pixel's colour (red); natural size.
    EXPECT_EQ(draw(clDefault, 0, 0), (std::vector<TColor>{B, G, G, G, G, B, G, G, G, G, G, G, G, G, G, G}));
    // Stretched to 4 x 4, blue left out.
    EXPECT_EQ(draw(blue, 4, 4), (std::vector<TColor>{G, G, R, R, G, G, R, R, R, R, G, G, R, R, G, G}));
    EXPECT_EQ(draw(clNone, 2, 2), (std::vector<TColor>{B, R, G, G, R, B, G, G, G, G, G, G, G, G, G, G}));
}
