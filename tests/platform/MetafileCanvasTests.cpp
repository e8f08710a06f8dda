// The recording canvas: what is drawn on it comes back as a metafile that
// draws the same picture, in both record formats.
#include "platform/LittleEndian.h"
#include "platform/MetafileCanvas.h"
#include "platform/Pictures.h"

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
        EXPECT_EQ(mf.Width(), 200);
        EXPECT_EQ(mf.Height(), 100);
        EXPECT_TRUE(mf.CheckRecords());

        const QImage img = Shown(mf);
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

        // Text goes as text, pictures as device-independent bitmaps.
        const QByteArray data = mf.SaveToStream();
        const std::set<uint32_t> types = RecordTypes(data, enhanced);
        const std::set<uint32_t> wanted =
            enhanced ? std::set<uint32_t>{82, 84, 81, 86, 87, 42, 43, 30}
                     : std::set<uint32_t>{0x02FB, 0x0A32, 0x0F43, 0x0324, 0x0325, 0x0418, 0x041B, 0x0416};
        for (uint32_t t : wanted)
            EXPECT_TRUE(types.count(t)) << std::hex << t;
        EXPECT_NE(data.indexOf(enhanced ? QByteArray("A\0r\0i\0a\0l\0", 10) : QByteArray("Arial")), -1);
        EXPECT_NE(data.indexOf(enhanced ? QByteArray("H\0a\0l\0l\0o\0", 10) : QByteArray("Hallo")), -1);
    }
}
