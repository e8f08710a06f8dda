// The recording canvas: what is drawn on it comes back as a metafile that
// draws the same picture, in both record formats; and an enhanced metafile
// translated record by record into a Windows metafile.
#include "platform/LittleEndian.h"
#include "platform/MetafileCanvas.h"
#include "platform/MetafileConvert.h"
#include "platform/MetafileTranslate.h"
#include "platform/Pictures.h"
#include "support/Corpus.h"
#include "support/MetafileBuilder.h"

#include <QImage>
#include <gtest/gtest.h>

#include <set>

namespace {

// Every kind of call: filled figures, a thick outline, a line, text, a
// picture, and a fill under an origin shift and a clip.
void DrawScene(TCanvas& C) {
    C.Brush()->SetColor(clYellow);
    C.Rectangle(0, 0, 200, 100);
    C.Brush()->SetColor(clRed);
    C.Ellipse(10, 10, 60, 60);
    C.Brush()->SetColor(clBlue);
    C.Pen()->SetWidth(3);
    C.Polygon({{80, 10}, {130, 10}, {105, 60}});
    C.Pen()->SetColor(clLime);
    C.MoveTo(10, 80);
    C.LineTo(150, 80);
    C.Brush()->SetStyle(bsClear);
    C.Font()->SetName("Arial");
    C.Font()->SetSize(14);
    C.Font()->SetColor(clBlack);
    C.TextOut(140, 20, "Hallo");
    TBitmap b(20, 20);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, 20, 20));
    C.Draw(170, 70, b);
    C.SetWindowOrg(-100, 0);
    C.SetClipRect(Rect(50, 85, 60, 95));
    C.Brush()->SetColor(clNavy);
    C.FillRect(Rect(50, 85, 60, 95)); // 150..160 on the picture
    C.ReleaseClip();
}

QImage Shown(const TMetafile& M) {
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    M.Draw(c, Bounds(0, 0, 200, 100));
    c.Release();
    return img;
}

// Record types of a metafile's records in file order.
std::set<uint32_t> RecordTypes(const QByteArray& Data, bool Enhanced) {
    std::set<uint32_t> types;
    qsizetype at = Enhanced ? 0 : 22 + 18;
    while (at + 8 <= Data.size()) {
        const uint32_t size = ReadLe32(Data, at + (Enhanced ? 4 : 0));
        types.insert(Enhanced ? ReadLe32(Data, at) : ReadLe16(Data, at + 4));
        if (size == 0) break;
        at += Enhanced ? size : 2 * static_cast<qsizetype>(size);
    }
    return types;
}

// The scene as a metafile draws it: every figure in its place and colour.
void ExpectScene(const TMetafile& Mf) {
    EXPECT_EQ(Mf.Width(), 200);
    EXPECT_EQ(Mf.Height(), 100);
    EXPECT_TRUE(Mf.CheckRecords());
    const QImage img = Shown(Mf);
    auto near = [&](int x, int y, QRgb want) {
        const QRgb got = img.pixel(x, y);
        return std::abs(qRed(got) - qRed(want)) + std::abs(qGreen(got) - qGreen(want)) +
                   std::abs(qBlue(got) - qBlue(want)) <
               60;
    };
    EXPECT_TRUE(near(5, 95, qRgb(255, 255, 0))); // the yellow box
    EXPECT_TRUE(near(35, 35, qRgb(255, 0, 0)));  // the ellipse
    EXPECT_TRUE(near(105, 25, qRgb(0, 0, 255))); // the triangle
    bool line = false;                           // the line, however thick the reader draws it
    for (int y = 77; y <= 83; ++y)
        line = line || (qRed(img.pixel(60, y)) < 200 && qGreen(img.pixel(60, y)) > 200);
    EXPECT_TRUE(line);
    EXPECT_TRUE(near(180, 80, qRgb(255, 0, 255))); // the picture
    EXPECT_TRUE(near(155, 90, qRgb(0, 0, 128)));   // the shifted fill
    EXPECT_TRUE(near(145, 90, qRgb(255, 255, 0))); // and not beside it
    int ink = 0;                                   // the text
    for (int y = 20; y < 40; ++y)
        for (int x = 140; x < 195; ++x)
            ink += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(ink, 40);
}

// Text goes as text, pictures as device-independent bitmaps.
void ExpectSceneRecords(const QByteArray& Data, bool Enhanced) {
    const std::set<uint32_t> types = RecordTypes(Data, Enhanced);
    const std::set<uint32_t> wanted =
        Enhanced ? std::set<uint32_t>{82, 84, 81, 86, 87, 42, 43, 30}
                 : std::set<uint32_t>{0x02FB, 0x0A32, 0x0F43, 0x0324, 0x0325, 0x0418, 0x041B, 0x0416};
    for (uint32_t t : wanted)
        EXPECT_TRUE(types.count(t)) << std::hex << t;
    EXPECT_NE(Data.indexOf(Enhanced ? QByteArray("A\0r\0i\0a\0l\0", 10) : QByteArray("Arial")), -1);
    EXPECT_NE(Data.indexOf(Enhanced ? QByteArray("H\0a\0l\0l\0o\0", 10) : QByteArray("Hallo")), -1);
}

} // namespace

TEST(MetafileCanvas, RecordsEveryCallAsTheSamePictureInBothFormats) {
    for (bool enhanced : {false, true}) {
        SCOPED_TRACE(enhanced ? "enhanced" : "Windows");
        TMetafile mf;
        mf.SetWidth(200);
        mf.SetHeight(100);
        mf.SetEnhanced(enhanced);
        {
            TMetafileCanvas c(&mf);
            DrawScene(c);
            // Nothing lands after the records were handed over.
            c.Finish();
            c.Rectangle(0, 0, 10, 10);
        }
        ASSERT_FALSE(mf.Empty());
        EXPECT_EQ(mf.Enhanced(), enhanced);
        ExpectScene(mf);
        ExpectSceneRecords(mf.SaveToStream(), enhanced);
    }
}

TEST(MetafileCanvas, EnhancedRecordsTranslateIntoTheSamePicture) {
    TMetafile emf;
    emf.SetWidth(200);
    emf.SetHeight(100);
    emf.SetEnhanced(true);
    {
        TMetafileCanvas c(&emf);
        DrawScene(c);
    }
    const QByteArray wmf = WindowsMetafileOf(emf.SaveToStream());
    ASSERT_FALSE(wmf.isEmpty());
    TMetafile copy;
    ASSERT_TRUE(copy.LoadFromStream(wmf));
    EXPECT_FALSE(copy.Enhanced());
    EXPECT_EQ(copy.MMWidth(), emf.MMWidth());
    ExpectScene(copy);
    ExpectSceneRecords(wmf, false);

    // The enhanced metafile's own mapping: an anisotropic window of logical
    // units, and hundredths of a millimetre on a y axis that runs upwards.
    // A yellow top-left quarter and a red bottom-right ellipse either way.
    const QByteArray anisotropic = TEmfBuilder(200, 100)
                                       .MapMode(8)
                                       .WindowExt(2000, 1000)
                                       .ViewportExt(200, 100)
                                       .Brush(0x00FFFF)
                                       .Rectangle(0, 0, 1000, 500)
                                       .Brush(0x0000FF)
                                       .Ellipse(1000, 500, 2000, 1000)
                                       .Bytes();
    // 200 x 100 pixels of the builder's reference device are 5,293 x 2,646 hundredths of a millimetre.
    const QByteArray metric = TEmfBuilder(200, 100)
                                  .MapMode(3)
                                  .Brush(0x00FFFF)
                                  .Rectangle(0, 0, 2646, -1323)
                                  .Brush(0x0000FF)
                                  .Ellipse(2646, -1323, 5293, -2646)
                                  .Bytes();
    for (const QByteArray& e : {anisotropic, metric}) {
        TMetafile translated;
        ASSERT_TRUE(translated.LoadFromStream(WindowsMetafileOf(e)));
        ASSERT_TRUE(translated.HasPicture());
        QImage img(100, 50, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas c(&img);
        translated.Draw(c, Bounds(0, 0, 100, 50));
        c.Release();
        EXPECT_EQ(img.pixel(20, 10), qRgb(255, 255, 0));
        EXPECT_EQ(img.pixel(75, 37), qRgb(255, 0, 0));
        EXPECT_EQ(img.pixel(75, 10), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(20, 40), qRgb(255, 255, 255));
    }
}

namespace {

// An enhanced metafile of a rectangle after the given records.
QByteArray EmfWith(const std::function<void(TEmfBuilder&)>& Records) {
    TEmfBuilder b(100, 100);
    Records(b);
    return b.Rectangle(10, 10, 90, 90).Bytes();
}

// A text record: the characters at (10, 10), with the given options.
void TextRecord(TEmfBuilder& B, std::initializer_list<char16_t> Text, int Options = 0) {
    std::vector<int64_t> p{0,  0,       -1, -1, 1, 0x3F800000, 0x3F800000, 10, 10, int64_t(Text.size()),
                           76, Options, 0,  0,  0, 0,          0};
    std::vector<char16_t> chars(Text);
    chars.resize((chars.size() + 1) / 2 * 2);
    for (size_t i = 0; i < chars.size(); i += 2)
        p.push_back(chars[i] | (int64_t(chars[i + 1]) << 16));
    B.Record(84, p);
}

} // namespace

// What the older format cannot say leaves the translation empty, so that the
// picture goes another way; what it can say in other words does not.
TEST(MetafileCanvas, RecordsWithoutCounterpartLeaveTheTranslationEmpty) {
    const std::vector<std::pair<const char*, QByteArray>> refused = {
        {"a path", EmfWith([](TEmfBuilder& b) {
             b.Record(59, {}).Rectangle(0, 0, 5, 5).Record(60, {}).Record(62, {0, 0, 5, 5});
         })},
        {"a world transformation that doubles", EmfWith([](TEmfBuilder& b) {
             b.Record(35, {0x40000000, 0, 0, 0x40000000, 0, 0});
         })},
        {"a coordinate beyond 16 bits", EmfWith([](TEmfBuilder& b) { b.Rectangle(0, 0, 40000, 10); })},
        {"text that code page 1252 cannot hold", EmfWith([](TEmfBuilder& b) {
             TextRecord(b, {u'1', u'\u4E2D'});
         })},
        {"glyph indexes", EmfWith([](TEmfBuilder& b) { TextRecord(b, {u'\x0024'}, 0x10); })},
        {"a drawing of the newer interface alone", EmfWith([](TEmfBuilder& b) {
             b.Record(70, {16, 0x2B464D45, 0x4001 | (0 << 16), 28, 0});
         })},
        {"damaged records", EmfWith([](TEmfBuilder&) {}).chopped(12)},
    };
    for (const auto& [what, emf] : refused)
        EXPECT_TRUE(WindowsMetafileOf(emf).isEmpty()) << what;
    const std::vector<std::pair<const char*, QByteArray>> translated = {
        {"the identity set as world transformation", EmfWith([](TEmfBuilder& b) {
             b.Record(35, {0x3F800000, 0, 0, 0x3F800000, 0, 0});
         })},
        {"no clipping where nothing clips", EmfWith([](TEmfBuilder& b) {
             b.Record(75, {0, 5});
         })},
        {"text in code page 1252", EmfWith([](TEmfBuilder& b) {
             TextRecord(b, {u'G', u'r', u'\u00FC', u'\u00DF'});
         })},
        {"a dual drawing of both interfaces", EmfWith([](TEmfBuilder& b) {
             b.Record(70, {16, 0x2B464D45, 0x4001 | (1 << 16), 28, 0});
         })},
    };
    for (const auto& [what, emf] : translated) {
        const QByteArray wmf = WindowsMetafileOf(emf);
        EXPECT_TRUE(CheckWindowsMetafile(wmf)) << what;
    }
    EXPECT_NE(WindowsMetafileOf(translated[2].second).indexOf("Gr\xFC\xDF"), -1);
}

// The heavy pictures of the corpus translate record for record, whatever
// they cover: 2,000 polylines, and five times as many (bench/metafile_page
// measures how long it takes).
TEST(MetafileCanvas, AHeavyPictureTranslatesAtTheCostOfReadingIt) {
    for (int times : {1, 5}) {
        const QByteArray emf = HeavyEmf(times);
        if (emf.isEmpty()) GTEST_SKIP() << "no corpus at " << SharedCorpusDir().toStdString();
        TMetafile original;
        ASSERT_TRUE(original.LoadFromStream(emf));
        const QByteArray wmf = WindowsMetafileOf(emf);
        ASSERT_TRUE(CheckWindowsMetafile(wmf));
        TMetafile copy;
        ASSERT_TRUE(copy.LoadFromStream(wmf));
        EXPECT_EQ(copy.Width(), original.Width());
        EXPECT_EQ(copy.Height(), original.Height());
        int polylines = 0;
        for (qsizetype at = 22 + 18; at + 6 <= wmf.size() && ReadLe32(wmf, at) >= 3;
             at += 2 * qsizetype(ReadLe32(wmf, at)))
            polylines += ReadLe16(wmf, at + 4) == 0x0325;
        EXPECT_EQ(polylines, 2000 * times);
        // Both started converting when loaded; tests after this one count
        // conversions of their own.
        EXPECT_TRUE(original.HasPicture());
        EXPECT_TRUE(copy.HasPicture());
    }
}

namespace {

// A bitmap of one pixel as enhanced records carry it: a header of 40 bytes
// (all zero when Empty), then its one row.
std::vector<int64_t> OnePixelDib(bool Empty) {
    std::vector<int64_t> dib{40, 1, 1, 1 | (24 << 16), 0, 4, 0, 0, 0, 0};
    if (Empty) std::fill(dib.begin(), dib.end(), 0);
    dib.push_back(0x00FF0000); // red
    return dib;
}

// A stretched bitmap across the picture.
QByteArray EmfWithBitmap(bool Empty) {
    std::vector<int64_t> p{0, 0, 99, 99, 0, 0, 0, 0, 1, 1, 80, 40, 120, 4, 0, 0x00CC0020, 100, 100};
    for (int64_t v : OnePixelDib(Empty))
        p.push_back(v);
    return TEmfBuilder(100, 100).Record(81, p).Bytes();
}

// A rectangle filled with a bitmap pattern.
QByteArray EmfWithPatternBrush(bool Empty) {
    std::vector<int64_t> p{1, 0, 32, 40, 72, 4};
    for (int64_t v : OnePixelDib(Empty))
        p.push_back(v);
    return TEmfBuilder(100, 100).Record(94, p).Record(37, {1}).Rectangle(10, 10, 90, 90).Bytes();
}

} // namespace

// Bitmaps are copied as they are: one that the checks of Windows metafiles
// refuse (an empty header, which the enhanced format does not look into)
// leaves the translation empty rather than a Windows metafile that no reader
// of ours would take; a sound one translates. A picture of the newer
// interface whose older records draw nothing has no translation either.
TEST(MetafileCanvas, ATranslationTheWindowsMetafileChecksRefuseIsNone) {
    for (bool empty : {false, true})
        for (const QByteArray& emf : {EmfWithBitmap(empty), EmfWithPatternBrush(empty)}) {
            SCOPED_TRACE(empty ? "empty header" : "sound header");
            ASSERT_TRUE(CheckEnhancedMetafile(emf));
            const QByteArray wmf = WindowsMetafileOf(emf);
            EXPECT_EQ(wmf.isEmpty(), empty);
            EXPECT_EQ(CheckWindowsMetafile(wmf), !empty);
        }
    const QByteArray plusAlone =
        TEmfBuilder(100, 100).Record(70, {16, 0x2B464D45, 0x4001 | (1 << 16), 28, 0}).Bytes();
    EXPECT_TRUE(WindowsMetafileOf(plusAlone).isEmpty());
}
