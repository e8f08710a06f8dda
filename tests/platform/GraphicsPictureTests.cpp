// Pictures: bitmaps, JPEG, metafiles and the picture holder.
#include "platform/Pictures.h"
#include "support/PlainPng.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/resource.h>

namespace {

QString OutputDir() {
    const QString dir = QStringLiteral(PRAVOLIN_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

QByteArray ColourBlocksJpeg() {
    TBitmap bmp(32, 16);
    bmp.Canvas()->Pen()->SetStyle(psClear);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(Rect(16, 0, 32, 16));
    return TJPEGImage::Encode(bmp.Image(), 95);
}

bool Near(QRgb a, int r, int g, int b, int tolerance = 12) {
    return std::abs(qRed(a) - r) <= tolerance && std::abs(qGreen(a) - g) <= tolerance &&
           std::abs(qBlue(a) - b) <= tolerance;
}

void WriteFile(const QString& name, const QByteArray& data) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(GraphicsPicture, JpegRoundTripThroughLibjpeg) {
    const QByteArray data = ColourBlocksJpeg();
    ASSERT_TRUE(data.startsWith(QByteArray("\xFF\xD8\xFF", 3)));
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.LoadFromStream(data));
    EXPECT_EQ(jpeg.Width(), 32);
    EXPECT_EQ(jpeg.Height(), 16);
    EXPECT_EQ(jpeg.SaveToStream(), data); // bytes kept as read
    EXPECT_TRUE(Near(jpeg.Decoded().pixel(4, 8), 255, 0, 0));
    EXPECT_TRUE(Near(jpeg.Decoded().pixel(28, 8), 0, 0, 255));
    TBitmap bmp;
    bmp.Assign(jpeg);
    EXPECT_EQ(bmp.PixelFormat(), pf24bit);
    const uint8_t* row = bmp.ScanLine(8);
    EXPECT_NEAR(row[3 * 4 + 2], 255, 12); // B, G, R
    EXPECT_NEAR(row[3 * 4 + 0], 0, 12);
    jpeg.SetGrayscale(true);
    const QRgb grey = jpeg.Decoded().pixel(4, 8);
    EXPECT_EQ(qRed(grey), qBlue(grey));
    // A bitmap assigned to a JPEG is coded anew.
    TBitmap green(8, 8);
    green.Canvas()->Brush()->SetColor(clGreen);
    green.Canvas()->FillRect(Rect(0, 0, 8, 8));
    TJPEGImage coded;
    ASSERT_TRUE(coded.Assign(green));
    TJPEGImage reread;
    ASSERT_TRUE(reread.LoadFromStream(coded.SaveToStream()));
    EXPECT_EQ(reread.Width(), 8);
    EXPECT_TRUE(Near(reread.Decoded().pixel(3, 3), 0, 128, 0));
}

TEST(GraphicsPicture, JpegRejectsDamagedData) {
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.LoadFromStream(ColourBlocksJpeg()));
    EXPECT_FALSE(jpeg.LoadFromStream(QByteArray("\xFF\xD8\xFF\xE0garbage", 11)));
    EXPECT_FALSE(jpeg.LoadFromStream(QByteArray()));
    QByteArray badHeader = ColourBlocksJpeg();
    badHeader.truncate(40);
    EXPECT_FALSE(jpeg.LoadFromStream(badHeader));
    // A frame header claiming 65535 x 65535 pixels is refused before any
    // memory is taken.
    QByteArray huge = ColourBlocksJpeg();
    const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (int i = 5; i < 9; ++i)
        huge[sof + i] = '\xFF';
    EXPECT_FALSE(jpeg.LoadFromStream(huge));
    EXPECT_EQ(jpeg.Width(), 32); // the old picture stays
    TBitmap bmp(2, 2);
    bmp.SetSize(100000, 100000);
    EXPECT_EQ(bmp.Width(), 2);
}

TEST(GraphicsPicture, BitmapRoundTripKeepsPixelsAndDepth) {
    TBitmap bmp(5, 3);
    bmp.SetPixelFormat(pf24bit);
    bmp.Canvas()->SetPixel(4, 2, RGB(1, 2, 3));
    const QByteArray bytes = bmp.SaveToStream();
    ASSERT_TRUE(bytes.startsWith("BM"));
    TBitmap back;
    ASSERT_TRUE(back.LoadFromStream(bytes));
    EXPECT_EQ(back.Width(), 5);
    EXPECT_EQ(back.Height(), 3);
    EXPECT_EQ(back.Canvas()->Pixel(4, 2), RGB(1, 2, 3));
    EXPECT_EQ(back.Canvas()->Pixel(0, 0), clWhite);
    EXPECT_FALSE(back.LoadFromStream("BM this is not a bitmap at all"));
    EXPECT_EQ(back.Width(), 5);
}

// The bytes after a row's last pixel up to its 32-bit end are no part of the
// picture: whatever memory holds there, the bitmap file has zeros, and two
// saves of the same picture give the same bytes.
TEST(GraphicsPicture, BitmapFilesHoldZerosAfterEachRow) {
    const auto scribble = [](TBitmap& B, uint8_t V) {
        QImage& img = B.Image();
        const qsizetype used = (qsizetype(img.width()) * img.depth() + 7) / 8;
        for (int y = 0; y < img.height(); ++y)
            std::memset(img.scanLine(y) + used, V, size_t(img.bytesPerLine() - used));
    };
    const auto le = [](const QByteArray& D, int At, int Bytes) {
        uint32_t v = 0;
        for (int i = Bytes - 1; i >= 0; --i)
            v = v << 8 | uint8_t(D[At + i]);
        return v;
    };
    for (const TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit})
        for (const int w : {1, 5, 238, 239}) {
            SCOPED_TRACE(::testing::Message() << "format " << int(f) << ", width " << w);
            TBitmap bmp(w, 3);
            bmp.SetPixelFormat(f);
            bmp.Canvas()->SetPixel(0, 1, clBlack);
            bmp.Canvas()->SetPixel(w - 1, 2, clBlack);
            scribble(bmp, 0xFF);
            const QByteArray first = bmp.SaveToStream();
            scribble(bmp, 0xA5);
            const QByteArray second = bmp.SaveToStream();
            EXPECT_EQ(first, second);
            ASSERT_GT(first.size(), 54);
            const int bits = int(le(first, 28, 2));
            const qsizetype used = (qsizetype(w) * bits + 7) / 8, stride = (qsizetype(w) * bits + 31) / 32 * 4;
            const qsizetype pixels = le(first, 10, 4);
            ASSERT_EQ(first.size(), pixels + 3 * stride);
            for (int y = 0; y < 3; ++y)
                for (qsizetype x = used; x < stride; ++x)
                    EXPECT_EQ(first[pixels + y * stride + x], 0) << "row " << y << ", byte " << x;
            TBitmap back;
            ASSERT_TRUE(back.LoadFromStream(first));
            EXPECT_EQ(back.ToImage(), bmp.ToImage());
        }
}

TEST(GraphicsPicture, ScanLinesFollowThePixelFormat) {
    TBitmap bmp(3, 2);
    bmp.SetPixelFormat(pf24bit);
    bmp.Canvas()->SetPixel(1, 1, RGB(10, 20, 30));
    const uint8_t* p24 = bmp.ScanLine(1);
    EXPECT_EQ(p24[3], 30);
    EXPECT_EQ(p24[4], 20);
    EXPECT_EQ(p24[5], 10);
    bmp.SetPixelFormat(pf32bit);
    const uint8_t* p32 = bmp.ScanLine(1);
    EXPECT_EQ(p32[4], 30);
    EXPECT_EQ(p32[5], 20);
    EXPECT_EQ(p32[6], 10);
    EXPECT_EQ(bmp.ScanLine(2), nullptr);
    EXPECT_EQ(bmp.ScanLine(-1), nullptr);
    // Writing through the row shows on the canvas.
    bmp.ScanLine(0)[0] = 0;
    bmp.ScanLine(0)[1] = 0;
    bmp.ScanLine(0)[2] = 0;
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), clBlack);
}

TEST(GraphicsPicture, PaletteBitmapsCanBeDrawnOn) {
    TBitmap bmp(8, 8);
    bmp.SetPixelFormat(pf8bit);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(bmp.Image().format(), QImage::Format_Indexed8);
    EXPECT_EQ(bmp.PixelFormat(), pf8bit);
    EXPECT_EQ(bmp.Canvas()->Pixel(1, 1), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixel(6, 6), clWhite);
}

TEST(GraphicsPicture, SetSizeKeepsOldPixelsAndWhitensNewOnes) {
    TBitmap bmp(4, 4);
    bmp.Canvas()->SetPixel(3, 3, clRed);
    bmp.SetSize(6, 5);
    EXPECT_EQ(bmp.Canvas()->Pixel(3, 3), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixel(5, 4), clWhite);
    bmp.SetSize(0, 5);
    EXPECT_TRUE(bmp.Empty());
    bmp.Canvas()->Rectangle(0, 0, 3, 3); // nothing to draw on, no crash
}

TEST(GraphicsPicture, TransparentBitmapLeavesItsColourOut) {
    TBitmap sprite(4, 4);
    sprite.Canvas()->Brush()->SetColor(clRed);
    sprite.Canvas()->FillRect(Rect(0, 0, 2, 4));
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentMode(), tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), clRed); // the bottom-left pixel
    TBitmap target(4, 4);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    target.Canvas()->Draw(0, 0, sprite);
    EXPECT_EQ(target.Canvas()->Pixel(0, 0), clBlue);
    EXPECT_EQ(target.Canvas()->Pixel(3, 0), clWhite);
    sprite.SetTransparentColor(clWhite);
    EXPECT_EQ(sprite.TransparentMode(), tmFixed);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    target.Canvas()->Draw(0, 0, sprite);
    EXPECT_EQ(target.Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->Pixel(3, 0), clBlue);
}

TEST(GraphicsPicture, MetafileSizeComesFromTheHeader) {
    // Placeable header: 1440 units per inch, 2880 x 720 units = 192 x 48 px.
    QByteArray wmf(40, '\0');
    const uint8_t head[] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x40, 0x0B, 0xD0, 0x02, 0xA0, 0x05};
    std::memcpy(wmf.data(), head, sizeof head);
    TMetafile meta;
    ASSERT_TRUE(meta.LoadFromStream(wmf));
    EXPECT_FALSE(meta.Enhanced());
    EXPECT_EQ(meta.Width(), 192);
    EXPECT_EQ(meta.Height(), 48);
    EXPECT_EQ(meta.MMWidth(), 5080);
    EXPECT_EQ(meta.SaveToStream(), wmf);
    // A header that leaves the units per inch open loads without a size
    // until they are set; setting them writes them into the header.
    wmf[14] = 0;
    wmf[15] = 0;
    ASSERT_TRUE(meta.LoadFromStream(wmf));
    EXPECT_EQ(meta.Inch(), 0);
    EXPECT_EQ(meta.Width(), 0);
    meta.SetInch(1440);
    EXPECT_EQ(meta.Width(), 192);
    EXPECT_EQ(meta.Height(), 48);
    const QByteArray saved = meta.SaveToStream();
    EXPECT_EQ(saved.mid(14, 2), QByteArray("\xA0\x05", 2));
    uint16_t sum = 0;
    for (int i = 0; i < 11; ++i)
        sum ^= static_cast<uint16_t>(uint8_t(saved[2 * i]) | uint8_t(saved[2 * i + 1]) << 8);
    EXPECT_EQ(sum, 0); // the checksum covers the new value
    EXPECT_FALSE(meta.LoadFromStream(QByteArray(10, 'x')));
    TBitmap target(200, 50);
    target.Canvas()->Draw(0, 0, meta);
    EXPECT_EQ(target.Canvas()->Pixel(0, 0), clGray);
    EXPECT_EQ(target.Canvas()->Pixel(191, 47), clGray);
}

TEST(GraphicsPicture, PictureChoosesClassBySignatureAndExtension) {
    const QString dir = OutputDir();
    // A JPEG named .bmp is still a JPEG.
    WriteFile(dir + "/disguised.bmp", ColourBlocksJpeg());
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&] { ++changes; };
    ASSERT_TRUE(pic.LoadFromFile(dir + "/disguised.bmp"));
    EXPECT_EQ(pic.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(pic.Width(), 32);
    EXPECT_EQ(changes, 1);
    // Bytes without a known signature go by the extension.
    TBitmap bmp(3, 3);
    bmp.SaveToFile(dir + "/plain.bmp");
    ASSERT_TRUE(pic.LoadFromFile(dir + "/plain.bmp"));
    EXPECT_EQ(pic.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(pic.Width(), 3);
    // A file of nothing known keeps the picture.
    WriteFile(dir + "/junk.xyz", "not a picture");
    EXPECT_FALSE(pic.LoadFromFile(dir + "/junk.xyz"));
    EXPECT_FALSE(pic.LoadFromFile(dir + "/missing.bmp"));
    EXPECT_EQ(pic.Graphic()->ClassName(), "TBitmap");
}

namespace {

class TDummyGraphic : public TMetafile {
public:
    QString ClassName() const override { return QStringLiteral("TDummyGraphic"); }
    bool LoadFromStream(const QByteArray& data) override { return data.startsWith("DUMY"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TDummyGraphic>(); }
};

} // namespace

TEST(GraphicsPicture, RegisteredFormatsAreFoundBySignatureAndExtension) {
    TPicture::RegisterFileFormat(
        "dmy", "Dummy", [] { return std::make_unique<TDummyGraphic>(); }, "DUMY");
    TPicture pic;
    ASSERT_TRUE(pic.LoadFromStream("DUMY1234"));
    EXPECT_EQ(pic.Graphic()->ClassName(), "TDummyGraphic");
    auto g = TPicture::CreateForExtension(".DMY");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->ClassName(), "TDummyGraphic");
    EXPECT_TRUE(TPicture::FileFilters().contains("Dummy (*.dmy)"));
    ASSERT_TRUE(TPicture::CreateByClassName("TDummyGraphic"));
    EXPECT_EQ(TPicture::CreateByClassName("TJPEGImage")->ClassName(), "TJPEGImage");
    EXPECT_FALSE(TPicture::CreateByClassName("TNothing"));
}

TEST(GraphicsPicture, BitmapAccessorReplacesOtherGraphics) {
    TPicture pic;
    int changes = 0;
    TBitmap* b = pic.Bitmap();
    ASSERT_TRUE(b);
    EXPECT_TRUE(pic.Empty());
    pic.OnChange = [&] { ++changes; };
    b->SetSize(10, 10);
    EXPECT_EQ(pic.Width(), 10);
    // Drawing on the bitmap reaches the picture's owner (a picture control
    // repaints from there).
    b->Canvas()->Rectangle(0, 0, 4, 4);
    EXPECT_EQ(changes, 2);
    TPicture copy;
    copy.Assign(pic);
    EXPECT_EQ(copy.Width(), 10);
    EXPECT_NE(copy.Graphic(), pic.Graphic());
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.LoadFromStream(ColourBlocksJpeg()));
    pic.SetGraphic(&jpeg);
    EXPECT_EQ(pic.Width(), 32);
    EXPECT_EQ(pic.Bitmap()->Width(), 0);
    EXPECT_EQ(pic.Graphic()->ClassName(), "TBitmap");
}

namespace {

// Peak memory of the process so far, in kilobytes.
long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(GraphicsPicture, PngWhoseChunkClaimsMoreThanItsDataIsRefusedUnread) {
    const QByteArray png = PlainPng(4, 4, qRgb(255, 0, 0));
    ASSERT_FALSE(png.isEmpty());
    TPngImage whole;
    ASSERT_TRUE(whole.LoadFromStream(png));
    EXPECT_EQ(whole.Width(), 4);
    EXPECT_TRUE(PngChunksFit(png));
    EXPECT_TRUE(PngChunksFit("GIF89a"));

    // A text chunk after the header that says it holds 1.8 GB, in a file of
    // a hundred bytes: the decoder would clear that much memory first.
    const qsizetype afterHeader = 8 + 12 + 13;
    QByteArray text;
    text.append("\x70\x00\x00\x2B", 4);
    text.append("tEXtComment\0abc", 15);
    QByteArray boasting = png;
    boasting.insert(afterHeader, text);
    EXPECT_FALSE(PngChunksFit(boasting));
    const long before = PeakKilobytes();
    TPngImage refused;
    EXPECT_FALSE(refused.LoadFromStream(boasting));
    EXPECT_TRUE(refused.Empty());
    TPicture picture;
    EXPECT_FALSE(picture.LoadFromStream(boasting));
    EXPECT_LT(PeakKilobytes() - before, 100 * 1024);

    // A chunk whose length runs a byte past the end is refused too; one that
    // ends with the data, its check sum cut off, is left to the decoder.
    QByteArray cut = png.left(png.size() - 4);
    EXPECT_TRUE(PngChunksFit(cut));
    EXPECT_FALSE(PngChunksFit(png.left(png.size() - 18)));
}
