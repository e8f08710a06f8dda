// Pictures: bitmaps, JPEG, metafiles and the picture holder.
#include "platform/Pictures.h"
#include "support/BitmapFile.h"
#include "support/PlainPng.h"
#include "support/RowPadding.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

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

// The bits after a row's last pixel up to its 32-bit end are no part of the
// picture: whatever memory holds there, the bitmap file has zeros, and two
// saves of the same picture give the same bytes.
TEST(GraphicsPicture, BitmapFilesHoldZerosAfterEachRow) {
    for (const TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf24bit, pf32bit})
        for (const int w : {1, 5, 238, 239}) {
            SCOPED_TRACE(::testing::Message() << "format " << int(f) << ", width " << w);
            TBitmap bmp(w, 3);
            bmp.SetPixelFormat(f);
            bmp.Canvas()->SetPixel(0, 1, clBlack);
            bmp.Canvas()->SetPixel(w - 1, 2, clBlack);
            ScribbleRowPadding(bmp.Image(), 0xFF);
            const QByteArray first = bmp.SaveToStream();
            ScribbleRowPadding(bmp.Image(), 0xA5);
            EXPECT_EQ(bmp.SaveToStream(), first);
            EXPECT_EQ(RowsWithPadding(first), 0);
            TBitmap back;
            ASSERT_TRUE(back.LoadFromStream(first));
            EXPECT_EQ(back.ToImage(), bmp.ToImage());
        }
}

// The pixels of a picture as grey values, rows top down, "." between rows.
std::string Greys(const TBitmap& B) {
    const QImage img = B.ToImage();
    std::string s;
    for (int y = 0; y < img.height(); ++y) {
        if (y) s += ".";
        for (int x = 0; x < img.width(); ++x)
            s += std::to_string(qRed(img.pixel(x, y)) / 17) + (x + 1 < img.width() ? " " : "");
    }
    return s;
}

// Pixels that a bitmap file does not give (rows it lacks, pixels that
// run-length data skips or leaves after its end) have colour 0, not what the
// memory held; data that gives every pixel reads as the decoder reads it.
TEST(GraphicsPicture, PixelsABitmapFileLeavesOpenHaveColourZero) {
    // Rows of 5 pixels at 8, 4, 24 and 1 bits, the bottom one alone given.
    for (const int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const int stride = (5 * bits + 31) / 32 * 4;
        TBitmap b;
        ASSERT_TRUE(b.LoadFromStream(BitmapFile(5, 3, bits, 0, QByteArray(stride, '\xFF'))));
        EXPECT_EQ(Greys(b), "0 0 0 0 0.0 0 0 0 0.15 15 15 15 15");
    }
    // Run-length rows of 5 pixels, bottom up: a run of 3, the end of the row;
    // a skip of two pixels and one row up, two values as they are; the end.
    const QByteArray rle8("\x03\x22\x00\x00\x00\x02\x02\x01\x00\x03\x33\x44\x55\x00\x00\x01", 16);
    TBitmap b8;
    ASSERT_TRUE(b8.LoadFromStream(BitmapFile(5, 4, 8, 1, rle8)));
    EXPECT_EQ(Greys(b8), "0 0 0 0 0.0 0 3 4 5.0 0 0 0 0.2 2 2 0 0");
    // The same rows top down (the decoder takes such files too).
    ASSERT_TRUE(b8.LoadFromStream(BitmapFile(5, -4, 8, 1, rle8)));
    EXPECT_EQ(Greys(b8), "2 2 2 0 0.0 0 0 0 0.0 0 3 4 5.0 0 0 0 0");
    const QByteArray rle4("\x03\xAB\x00\x00\x00\x02\x02\x01\x00\x03\xCD\xE0\x00\x01", 14);
    TBitmap b4;
    ASSERT_TRUE(b4.LoadFromStream(BitmapFile(5, 4, 4, 2, rle4)));
    EXPECT_EQ(Greys(b4), "0 0 0 0 0.0 0 12 13 14.0 0 0 0 0.10 11 10 0 0");
    // Data that ends in the middle gives what it has.
    TBitmap cut;
    ASSERT_TRUE(cut.LoadFromStream(BitmapFile(5, 2, 8, 1, QByteArray("\x02\x44\x00", 3))));
    EXPECT_EQ(Greys(cut), "0 0 0 0 0.4 4 0 0 0");
    // Run-length data that gives every pixel reads as the decoder reads it:
    // a run of the row, then the next row's values as they are.
    for (const auto& [bits, compression, data] :
         {std::tuple(8, 1u, QByteArray("\x05\x01\x00\x00\x00\x05\x01\x02\x03\x04\x05\x00\x00\x01", 14)),
          std::tuple(4, 2u, QByteArray("\x05\x12\x00\x00\x00\x05\x34\x56\x70\x00\x00\x01", 12))}) {
        const QByteArray file = BitmapFile(5, 2, bits, compression, data);
        TBitmap ours;
        ASSERT_TRUE(ours.LoadFromStream(file));
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(file, "BMP"));
        EXPECT_EQ(ours.ToImage(), decoded.convertToFormat(QImage::Format_RGB32)) << bits;
        EXPECT_EQ(ours.PixelFormat(), bits == 8 ? pf8bit : pf4bit);
    }
}

// Leaves free memory holding V: blocks of many sizes are filled and freed,
// so that allocations after it are likely to get them back (the sanitizer
// build fills new memory itself).
void ScribbleFreeMemory(uint8_t V) {
    std::vector<void*> blocks;
    for (size_t size = 16; size <= 4096; size += 16)
        for (int k = 0; k < 2; ++k)
            blocks.push_back(std::memset(std::malloc(size), V, size));
    for (void* block : blocks)
        std::free(block);
}

// Leaves the stack below the caller holding V.
[[gnu::noinline]] void ScribbleStack(uint8_t V) {
    volatile uint8_t room[64 * 1024];
    for (volatile uint8_t& b : room)
        b = V;
}

// A bitmap file's pixels read with free memory and the stack holding 0x00
// and then 0xFF before: they must not differ. Empty when the file is refused.
std::string GreysWhateverTheMemoryHeld(const QByteArray& File) {
    std::string greys[2];
    for (const int v : {0, 1}) {
        ScribbleFreeMemory(v ? 0xFF : 0x00);
        ScribbleStack(v ? 0xFF : 0x00);
        TBitmap b;
        if (b.LoadFromStream(File)) greys[v] = Greys(b);
    }
    EXPECT_EQ(greys[0], greys[1]);
    return greys[0];
}

// The decoder reads the pixels from the header's data offset only when it
// lies between the end of the palette and the end of the file; otherwise it
// reads them straight after the palette. Either way the rows that it finds
// no data for have colour 0.
TEST(GraphicsPicture, PixelsAreReadWhereTheDecoderReadsThem) {
    for (const int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const int stride = (5 * bits + 31) / 32 * 4;
        const QByteArray bottom(stride, '\xFF');
        const qsizetype pixels = BitmapFile(5, 3, bits, 0, bottom).size() - stride;
        // At 0, inside the header, two bytes before the pixels (inside the
        // palette, or the header at 24 bits) and past the end of the file.
        for (const int64_t at : {int64_t(0), int64_t(20), int64_t(pixels - 2), int64_t(pixels + 100)}) {
            SCOPED_TRACE(at);
            EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 3, bits, 0, bottom, at)),
                      "0 0 0 0 0.0 0 0 0 0.15 15 15 15 15");
        }
        // At the end of the file the decoder finds no row; one row into the
        // data it takes the second row for the first.
        EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 3, bits, 0, bottom, pixels + stride)),
                  "0 0 0 0 0.0 0 0 0 0.0 0 0 0 0");
        EXPECT_EQ(GreysWhateverTheMemoryHeld(
                      BitmapFile(5, 3, bits, 0, QByteArray(stride, '\0') + bottom, pixels + stride)),
                  "0 0 0 0 0.0 0 0 0 0.15 15 15 15 15");
        // A last row that lacks no more than its padding is taken whole.
        EXPECT_EQ(
            GreysWhateverTheMemoryHeld(BitmapFile(5, 3, bits, 0, bottom + bottom.left((5 * bits + 7) / 8))),
            "0 0 0 0 0.15 15 15 15 15.15 15 15 15 15");
    }
    // Run-length data read from after the palette: a run of 3 in the bottom
    // row, then the end of the picture.
    const QByteArray rle8("\x03\x22\x00\x01", 4);
    for (const int64_t at : {int64_t(0), int64_t(54 + 1000)})
        EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 8, 1, rle8, at)), "0 0 0 0 0.2 2 2 0 0") << at;
}

// Bit-field pictures take their three masks after the header: cut inside
// them, the file is refused, as the decoder refuses it; a data offset that
// points at them has the decoder read the pixels after them.
TEST(GraphicsPicture, BitFieldPicturesNeedTheirMasks) {
    const QByteArray white("\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00", 8);
    const QByteArray file = BitmapFile(3, 2, 16, 3, white);
    EXPECT_EQ(GreysWhateverTheMemoryHeld(file), "0 0 0.15 15 15");
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(3, 2, 16, 3, white, 54)), "0 0 0.15 15 15");
    for (const qsizetype cut : {54, 56, 62, 65}) {
        TBitmap b;
        EXPECT_FALSE(b.LoadFromStream(file.left(cut))) << cut;
    }
    // The masks whole and no pixel.
    EXPECT_EQ(GreysWhateverTheMemoryHeld(file.left(66)), "0 0 0.0 0 0");
}

// A bitmap file of the old 12-byte header is taken from as few bytes as the
// decoder takes: 5 x 3 pixels at 24 bits, one byte of them.
TEST(GraphicsPicture, ShortestBitmapFilesAreReadAsTheDecoderReadsThem) {
    const QByteArray file("BM\x1B\0\0\0\0\0\0\0\x1A\0\0\0\x0C\0\0\0\x05\0\x03\0\x01\0\x18\0\xFA", 27);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(file, "BMP"));
    for (const int v : {0x00, 0xFF}) {
        ScribbleFreeMemory(uint8_t(v));
        TBitmap b;
        ASSERT_TRUE(b.LoadFromStream(file));
        EXPECT_EQ(b.PixelFormat(), pf24bit);
        const QImage img = b.ToImage();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(img.pixel(x, y), x == 0 && y == 2 ? qRgb(0, 0, 0xFA) : qRgb(0, 0, 0))
                    << x << " " << y;
    }
    TBitmap header;
    EXPECT_FALSE(header.LoadFromStream(file.left(26)));
}

// Run-length data that skips pixels with deltas (also past the row's end and
// past the top, which the decoder takes to the last pixel and row) or ends
// early: what the decoder writes it writes, and the rest is colour 0, top
// down as bottom up. Where the data ends inside a run or a delta, what the
// decoder reads past the end is 0 too.
TEST(GraphicsPicture, RunLengthPicturesWithDeltasAndEarlyEnds) {
    // Rows of 4: a run of 2, a delta of 1 right and 1 up, a run of 1; the
    // end of the row; a delta of 9 right and 9 up, a run of 1; the end.
    const QByteArray deltas("\x02\x11\x00\x02\x01\x01\x01\x33\x00\x00\x00\x02\x09\x09\x01\x55\x00\x01", 18);
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(4, 3, 8, 1, deltas)), "0 0 0 5.0 0 0 3.1 1 0 0");
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(4, -3, 8, 1, deltas)), "1 1 0 0.0 0 0 3.0 0 0 5");
    // Three values as they are, no end of row or picture.
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 8, 1, QByteArray("\x00\x03\x11\x22\x33\x00", 6))),
              "0 0 0 0 0.1 2 3 0 0");
    // At 4 bits: a run of 3 alternating values, then no more data.
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 4, 2, QByteArray("\x03\x9A", 2))),
              "0 0 0 0 0.9 10 9 0 0");
    // Three values as they are, the byte of the third cut off; a run of 4
    // whose value is cut off; a delta cut after its first step.
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 4, 2, QByteArray("\x00\x03\xAB", 3))),
              "0 0 0 0 0.10 11 0 0 0");
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 4, 2, QByteArray("\x01\x9A\x04", 3))),
              "0 0 0 0 0.9 0 0 0 0");
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 4, 2, QByteArray("\x01\x9A\x00\x02\x01", 5))),
              "0 0 0 0 0.9 0 0 0 0");
    // Five values as they are, two given.
    EXPECT_EQ(GreysWhateverTheMemoryHeld(BitmapFile(5, 2, 8, 1, QByteArray("\x00\x05\x11\x22", 4))),
              "0 0 0 0 0.1 2 0 0 0");
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

// The decoder refuses a picture whose pixels, reckoned at 32 bits, pass its
// allocation limit, however few bytes the file holds: such a picture is
// refused before its pixels cost anything, and the bound is the decoder's
// at every depth.
TEST(GraphicsPicture, PictureTooLargeForTheDecoderIsRefusedUnread) {
    const QByteArray runs("\x02\x11\x00\x00\x02\x22\x00\x01", 8);
    const long before = PeakKilobytes();
    for (const auto& [width, height, bits, compression] :
         {std::tuple(16384, 4096, 8, 1u), std::tuple(16384, 16384, 4, 2u), std::tuple(16384, -4096, 8, 1u)}) {
        const QByteArray file = BitmapFile(width, height, bits, compression, runs);
        TBitmap b;
        EXPECT_FALSE(b.LoadFromStream(file)) << height;
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromStream(file)) << height;
    }
    EXPECT_LT(PeakKilobytes() - before, 16 * 1024);

    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    for (const auto& [bits, compression] :
         {std::pair(1, 0u), std::pair(4, 2u), std::pair(8, 1u), std::pair(24, 0u)})
        for (const int height : {512, 513, -512, -513}) {
            const bool fits = std::abs(height) == 512;
            const QByteArray file =
                BitmapFile(512, height, bits, compression, compression ? runs : QByteArray(64, 'x'));
            QImage decoded;
            EXPECT_EQ(decoded.loadFromData(file, "BMP"), fits) << bits << " " << height;
            TBitmap b;
            EXPECT_EQ(b.LoadFromStream(file), fits) << bits << " " << height;
        }
    QImageReader::setAllocationLimit(limit);
}
