#include "imaging/BitmapToDIB.h"

#include "platform/Dialogs.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace {

std::unique_ptr<TBitmap> TrueColour(int w, int h, const std::vector<QRgb>& pixels) {
    auto bmp = std::make_unique<TBitmap>(w, h);
    bmp->SetPixelFormat(pf24bit);
    for (int i = 0; i < w * h; ++i) bmp->Image().setPixel(i % w, i / w, pixels[size_t(i)]);
    return bmp;
}

struct Dib {
    explicit Dib(const QByteArray& d) : data(d) {}
    int Width() const { return qFromLittleEndian<int32_t>(data.constData() + 18); }
    int Height() const { return qFromLittleEndian<int32_t>(data.constData() + 22); }
    int Bits() const { return qFromLittleEndian<uint16_t>(data.constData() + 28); }
    int ColorsUsed() const { return int(qFromLittleEndian<uint32_t>(data.constData() + 46)); }
    QRgb Palette(int i) const {
        const auto* p = reinterpret_cast<const uint8_t*>(data.constData()) + 54 + i * 4;
        return qRgb(p[2], p[1], p[0]);
    }
    int Index(int x, int y) const {
        const int line = (Width() * 8 + 31) / 32 * 4;
        const int offset = int(qFromLittleEndian<uint32_t>(data.constData() + 10));
        return uint8_t(data[offset + (Height() - 1 - y) * line + x]);
    }
    QRgb Pixel(int x, int y) const { return Palette(Index(x, y)); }
    QByteArray data;
};

class Responder : public TDialogResponder {
public:
    TDialogAnswer Answer(const TDialogRequest& r) override {
        asked.append(r.text);
        return TDialogAnswer{mrOk, {}};
    }
    QStringList asked;
};

} // namespace

TEST(BitmapToDIB, FixedPalettesIndexByNearestLevels) {
    const auto owned = TrueColour(3, 1, {qRgb(40, 200, 100), qRgb(255, 255, 255), qRgb(21, 18, 43)});
    const TBitmap& bmp = *owned;
    const Dib fixed(BitmapToDIBStream(bmp, pf8bit, rmFixed784));
    EXPECT_EQ(fixed.Bits(), 8);
    EXPECT_EQ(fixed.ColorsUsed(), 224);
    // 40 -> level 1 (43), 200 -> level 5 (182; 219 is farther), 100 -> level 1 (85).
    EXPECT_EQ(fixed.Index(0, 0), (1 * 8 + 5) * 4 + 1);
    EXPECT_EQ(fixed.Pixel(0, 0), qRgb(43, 182, 85));
    EXPECT_EQ(fixed.Index(1, 0), 223);
    // Ties go to the lower level: green 18 lies halfway between 0 and 36.
    EXPECT_EQ(fixed.Pixel(2, 0), qRgb(0, 0, 85));

    const Dib cube(BitmapToDIBStream(bmp, pf8bit, rmColorCube666));
    EXPECT_EQ(cube.ColorsUsed(), 216);
    EXPECT_EQ(cube.Pixel(0, 0), qRgb(51, 204, 102));
    EXPECT_EQ(cube.Index(1, 0), 215);
}

TEST(BitmapToDIB, StripesAndGrayScale) {
    const auto owned = TrueColour(3, 2, std::vector<QRgb>(6, qRgb(100, 150, 200)));
    const TBitmap& bmp = *owned;
    const Dib stripes(BitmapToDIBStream(bmp, pf8bit, rmStripes));
    EXPECT_EQ(stripes.Index(0, 0), 25);       // red / 4
    EXPECT_EQ(stripes.Index(1, 0), 64 + 37);  // green / 4
    EXPECT_EQ(stripes.Index(2, 0), 128 + 50); // blue / 4
    EXPECT_EQ(stripes.Index(0, 1), 64 + 37);
    EXPECT_EQ(stripes.Palette(64 + 37), qRgb(0, 148, 0));

    const Dib gray(BitmapToDIBStream(bmp, pf8bit, rmGrayScale));
    const int lum = (100 * 77 + 150 * 150 + 200 * 29) >> 8;
    EXPECT_EQ(gray.Index(2, 1), lum);
    EXPECT_EQ(gray.Palette(lum), qRgb(lum, lum, lum));
}

TEST(BitmapToDIB, MedianCutSplitsByTheLargestExtent) {
    // Two colours far apart in red, one pixel of a third close to the first.
    const auto owned = TrueColour(4, 1, {qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(240, 0, 0), qRgb(255, 16, 0)});
    const TBitmap& bmp = *owned;
    const Dib dib(BitmapToDIBStream(bmp, pf8bit, rmMedianCut));
    EXPECT_EQ(dib.ColorsUsed(), 3);
    EXPECT_EQ(dib.Pixel(0, 0), qRgb(0, 0, 0)); // (15, 15, 15) is dark enough to be black
    EXPECT_EQ(dib.Pixel(2, 0), qRgb(255, 15, 15));
    EXPECT_EQ(dib.Pixel(3, 0), qRgb(255, 31, 15));
    EXPECT_EQ(dib.Palette(3), qRgb(0, 0, 0));
}

TEST(BitmapToDIB, MostFrequentIsTheDefaultAndReduceChoosesTheFormat) {
    const auto owned = TrueColour(3, 1, {qRgb(9, 9, 9), qRgb(200, 0, 0), qRgb(200, 0, 0)});
    const TBitmap& bmp = *owned;
    const Dib dib(ReduceBitmapColors(bmp, 256));
    EXPECT_EQ(dib.Bits(), 8);
    EXPECT_EQ(dib.Palette(0), qRgb(200, 0, 0));
    EXPECT_EQ(dib.Palette(1), qRgb(9, 9, 9));
    EXPECT_EQ(dib.Palette(2), qRgb(128, 128, 128));
    EXPECT_EQ(dib.Index(0, 0), 1);
    // Same format and not gray scale: saved unchanged.
    EXPECT_EQ(ReduceBitmapColors(bmp, 1 << 24), bmp.SaveToStream());
}

TEST(BitmapToDIB, RefusedInput) {
    TBitmap empty;
    EXPECT_THROW(BitmapToDIBStream(empty, pf8bit, 0), EInvalidGraphic);
    Responder responder;
    SetDialogResponder(&responder);
    const auto owned = TrueColour(1, 1, {qRgb(1, 2, 3)});
    const TBitmap& bmp = *owned;
    EXPECT_THROW(BitmapToDIBStream(bmp, pf8bit, 9), EAbort);
    EXPECT_THROW(BitmapToDIBStream(bmp, pf16bit, 0), EAbort);
    // Eight bits come from 24-bit pictures only, also in gray.
    for (const TPixelFormat source : {pf8bit, pf32bit}) {
        TBitmap other(2, 2);
        other.SetPixelFormat(source);
        EXPECT_THROW(BitmapToDIBStream(other, pf8bit, rmGrayScale), EAbort);
    }
    SetDialogResponder(nullptr);
    EXPECT_EQ(responder.asked, QStringList(4, QStringLiteral("Function not yet implemented")));
}
