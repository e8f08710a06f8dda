// Saving GIF pictures again: what a reader of our files sees must be what
// was read, and pictures that cannot be written are refused.
#include "imaging/ColorReduction.h"
#include "imaging/GIFImage.h"
#include "imaging/GifBuilder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

namespace {

// Frame 0 as Qt's own GIF reader shows it.
QImage ReadByQt(const QByteArray& gif) {
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// Red at 0 and 2, white, blue; the file makes entry 2 transparent.
QByteArray RedTwiceTransparentAtTwo() {
    const QByteArray table("\xFF\0\0\xFF\xFF\xFF\xFF\0\0\0\0\xFF", 12);
    return GifBuilder(4, 1).Control(0, 2, 0).LocalFrame(4, 1, table, {0, 1, 2, 3}).Trailer().b;
}

void ExpectRefused(TGIFImage& gif, const char* message) {
    try {
        gif.WriteStream(false);
        ADD_FAILURE() << "written";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), message);
    }
    EXPECT_TRUE(gif.SaveToStream().isEmpty());
}

} // namespace

TEST(GIFRead, UnknownExtensionsAreRefusedByTheirLabel) {
    const QByteArray good = GifBuilder(2, 1).Frame(0, 0, 2, 1, {2, 3}).Ext(0xFE, {}, {"c"}).Trailer().b;
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(good));
    const QByteArray odd = GifBuilder(2, 1).Frame(0, 0, 2, 1, {2, 3}).Ext(0x99, {}, {",!"}).Trailer().b;
    try {
        TGIFImage fresh;
        fresh.ReadStream(odd);
        ADD_FAILURE() << "read";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Unrecognized extension block: 99");
    }
    // Refused, the picture stays as it was.
    EXPECT_FALSE(gif.LoadFromStream(odd));
    ASSERT_EQ(gif.Frames().size(), 1u);
    EXPECT_EQ(gif.Comment(), QStringList{"c"});
}

TEST(GIFSave, AFrameKeepsTheTransparentIndexItWasReadWith) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(RedTwiceTransparentAtTwo()));
    const TGIFFrame& f = *gif.Frames()[0];
    EXPECT_EQ(f.TransColor, RGB(255, 0, 0));
    EXPECT_EQ(f.TransIndex(), 2);
    const QByteArray saved = gif.SaveToStream();

    TGIFImage again;
    ASSERT_TRUE(again.LoadFromStream(saved));
    EXPECT_EQ(again.Frames()[0]->TransIndex(), 2);
    // Another reader: the red of entry 0 stays opaque, that of entry 2 is clear.
    for (const QByteArray& bytes : {RedTwiceTransparentAtTwo(), saved}) {
        const QImage qt = ReadByQt(bytes);
        ASSERT_EQ(qt.size(), QSize(4, 1));
        EXPECT_EQ(qt.pixel(0, 0), qRgba(255, 0, 0, 255));
        EXPECT_EQ(qAlpha(qt.pixel(2, 0)), 0);
        EXPECT_EQ(qt.pixel(3, 0), qRgba(0, 0, 255, 255));
    }

    // Given another transparent colour, the first entry of that colour counts.
    TGIFImage changed;
    ASSERT_TRUE(changed.LoadFromStream(RedTwiceTransparentAtTwo()));
    changed.Frames()[0]->TransColor = RGB(0, 0, 255);
    const QImage qt = ReadByQt(changed.SaveToStream());
    EXPECT_EQ(qAlpha(qt.pixel(2, 0)), 255);
    EXPECT_EQ(qAlpha(qt.pixel(3, 0)), 0);
}

TEST(GIFSave, ReductionKeepsTheTransparentColourExactly) {
    // 4096 colours force coarser masks; the transparent colour would be masked
    // to black like (0, 0, 0) .. (3, 3, 3) and then not be found.
    QImage img(64, 65, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 4, 0));
    const QRgb clear = qRgb(3, 1, 2);
    for (int x = 0; x < 64; ++x)
        img.setPixel(x, 64, x % 2 ? clear : qRgb(0, 0, 0));

    const TReducedImage r = ReduceMostFrequentColors(img, 256, RGB(3, 1, 2));
    ASSERT_EQ(r.TransparentIndex, 255);
    EXPECT_EQ(r.Palette[255], clear);
    EXPECT_EQ(r.Indices[size_t(64 * 64 + 1)], 255);
    EXPECT_EQ(r.Palette[r.Indices[size_t(64 * 64)]], qRgb(0, 0, 0));
    EXPECT_EQ(std::count(r.Indices.begin(), r.Indices.end(), 255), 32);

    TBitmap bmp(img);
    bmp.SetPixelFormat(pf24bit);
    bmp.SetTransparentMode(tmFixed);
    bmp.SetTransparentColor(RGB(3, 1, 2));
    bmp.SetTransparent(true);
    TGIFImage gif;
    gif.AddFrame(bmp);
    ASSERT_EQ(gif.Frames()[0]->TransColor, RGB(3, 1, 2));
    const QImage qt = ReadByQt(gif.SaveToStream());
    ASSERT_EQ(qt.size(), QSize(64, 65));
    EXPECT_EQ(gif.Frames()[0]->TransIndex(), 255);
    int clearPixels = 0;
    for (int y = 0; y < 65; ++y)
        for (int x = 0; x < 64; ++x)
            clearPixels += qAlpha(qt.pixel(x, y)) == 0;
    EXPECT_EQ(clearPixels, 32);
    EXPECT_EQ(qAlpha(qt.pixel(1, 64)), 0);
    EXPECT_EQ(qt.pixel(0, 64), qRgba(0, 0, 0, 255));
}

TEST(GIFSave, PicturesWithoutPixelsOrTooWideAreRefused) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("alt.gif"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    const auto untouched = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) && f.readAll() == "keep";
    };

    TGIFImage none;
    ExpectRefused(none, "No GIF Data to write");
    EXPECT_FALSE(none.SaveToFile(file));
    EXPECT_TRUE(untouched());

    // A frame stored 0 pixels wide is shown at the screen's size (2 x 2 here),
    // and written back as it was stored, its data unchanged.
    for (const int screen : {0, 2}) {
        TGIFImage empty;
        QByteArray bytes = GifBuilder(screen, 2).Frame(0, 0, 0, 0, {}).Trailer().b;
        ASSERT_TRUE(empty.LoadFromStream(bytes));
        ASSERT_EQ(empty.Frames().size(), 1u);
        EXPECT_EQ(empty.Frames()[0]->Width(), screen);
        const QByteArray again = empty.SaveToStream();
        EXPECT_EQ(again.mid(6), bytes.mid(6)) << screen;
    }

    TBitmap wide(65536, 1);
    wide.SetPixelFormat(pf24bit);
    TGIFImage tooWide;
    tooWide.AddFrame(wide);
    ExpectRefused(tooWide, "GIF frame too large: at most 65535 x 65535 pixels");
    EXPECT_FALSE(tooWide.SaveToFile(file));
    EXPECT_TRUE(untouched());

    // The widest picture the format allows is written with straight rows.
    TBitmap widest(65535, 2);
    widest.SetPixelFormat(pf24bit);
    widest.Image().fill(Qt::white);
    widest.Image().setPixelColor(65534, 1, Qt::red);
    TGIFImage ok;
    ok.AddFrame(widest);
    ASSERT_TRUE(ok.SaveToFile(file));
    TGIFImage back;
    ASSERT_TRUE(back.LoadFromFile(file));
    const QImage img = back.ToImage();
    EXPECT_EQ(img.size(), QSize(65535, 2));
    EXPECT_EQ(img.pixelColor(65534, 1), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(65534, 0), QColor(Qt::white));
}

TEST(GIFProgress, DecodingAndCodingReportStartRunningAndEnd) {
    struct Report {
        TProgressStage stage;
        int percent;
    };
    std::vector<Report> reports;
    const auto record = [&](TGraphic*, TProgressStage stage, uint8_t percent, bool, const TRect& r,
                            const QString&) {
        EXPECT_EQ(r, Bounds(0, 0, 300, 200));
        reports.push_back({stage, percent});
    };
    const auto check = [&] {
        ASSERT_GE(reports.size(), 4u);
        EXPECT_EQ(reports.front().stage, psStarting);
        EXPECT_EQ(reports.front().percent, 0);
        EXPECT_EQ(reports.back().stage, psEnding);
        EXPECT_EQ(reports.back().percent, 100);
        for (size_t i = 1; i + 1 < reports.size(); ++i) {
            EXPECT_EQ(reports[i].stage, psRunning);
            if (i > 1) {
                EXPECT_GT(reports[i].percent, reports[i - 1].percent) << i;
            }
        }
        EXPECT_EQ(reports[reports.size() - 2].percent, 100);
    };

    TBitmap bmp(300, 200);
    bmp.SetPixelFormat(pf24bit);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            bmp.Image().setPixel(x, y, qRgb(x % 7 * 30, y % 5 * 50, (x ^ y) & 0xFF));
    TGIFImage gif;
    gif.AddFrame(bmp);
    gif.OnProgress = record;
    const QByteArray saved = gif.SaveToStream();
    check();

    reports.clear();
    TGIFImage read;
    read.OnProgress = record;
    ASSERT_TRUE(read.LoadFromStream(saved)); // the first frame is decoded at once
    check();
}
