// Metafile pictures saved as RTF with the views' options: an enhanced
// metafile goes as a Windows metafile made of its records at once, however
// heavy, and comes back from our reader and from LibreOffice at its size;
// one whose records have no counterpart is drawn into the copy, unless it is
// too heavy to draw, and then goes as it is.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

#include "WriterTestsDoc.h"
#include "platform/MetafileConvert.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "support/Corpus.h"
#include "support/MetafileBuilder.h"
#include "support/Readers.h"

namespace {

// The document: a line of text and the picture.
void Fill(TWriterDoc& D, const QByteArray& Metafile) {
    auto m = std::make_unique<TMetafile>();
    ASSERT_TRUE(m->LoadFromStream(Metafile));
    D.AddText("Bilder", 0, 0);
    D.AddPicture("", std::move(m), 0, 0, TRPTag{});
}

// The picture of a document read back.
const TMetafile* PictureOf(const TCustomRPData& D) {
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const auto* p = dynamic_cast<const TRPGraphicItemInfo*>(D.GetItem(i)))
            if (const auto* m = dynamic_cast<const TMetafile*>(p->Image.get())) return m;
    return nullptr;
}

int Ink(const TGraphic& G, int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas c(&image);
    G.Draw(c, Bounds(0, 0, W, H));
    c.Release();
    int ink = 0;
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x)
            ink += qGray(image.pixel(x, y)) < 160;
    return ink;
}

void WriteFile(const QString& Name, const std::string& Bytes) {
    QFile f(Name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
}

} // namespace

// The heavy enhanced metafile of the corpus and one five times heavier: the
// RTF holds a Windows metafile of the same size in a moment (drawing the
// picture took minutes), our reader draws it as the original draws, and
// LibreOffice places it at its size.
TEST(RTFPictures, AHeavyEnhancedMetafileSavesAtOnceAndComesBackAtItsSize) {
    QTemporaryDir dir;
    QStringList files;
    for (int times : {1, 5}) {
        SCOPED_TRACE(times);
        const QByteArray emf = HeavyEmf(times);
        if (emf.isEmpty()) GTEST_SKIP() << "no corpus at " << SharedCorpusDir().toStdString();
        TWriterDoc d;
        Fill(d, emf);
        const int renders = MetafileRenderCount();
        const std::string rtf = d.RTF();
        EXPECT_EQ(MetafileRenderCount(), renders); // translated, not drawn
        EXPECT_NE(rtf.find("{\\pict\\wmetafile8\\picw26458\\pich13229 "), std::string::npos);
        EXPECT_LT(rtf.size(), size_t(2 * emf.size() + 4096)); // the records, not a bitmap

        TWriterDoc back;
        ASSERT_EQ(back.ImportRTF(rtf), 0);
        const TMetafile* m = PictureOf(back);
        ASSERT_NE(m, nullptr);
        EXPECT_FALSE(m->Enhanced());
        EXPECT_EQ(m->Width(), 1000);
        EXPECT_EQ(m->Height(), 500);
        ASSERT_TRUE(m->HasPicture());
        const int ours = Ink(*m, 40, 20), theirs = Ink(*PictureOf(d), 40, 20);
        // The two libraries draw lines a little differently. (Its lines are
        // hairlines, one pixel wide at this size too.)
        EXPECT_GT(ours, 300);
        EXPECT_NEAR(ours, theirs, theirs / 4);

        files << dir.filePath(QStringLiteral("bild%1.rtf").arg(times));
        WriteFile(files.back(), rtf);
    }
    // LibreOffice writes what it read into a Word document at once (its
    // own formats take a minute to draw these pictures into their previews).
    const QString error =
        RunReader(QStringLiteral("soffice"),
                  QStringList{"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                              "--convert-to", "docx", "--outdir", dir.filePath("out")} +
                      files,
                  nullptr, nullptr, 300000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString docx = dir.filePath("out/" + QFileInfo(file).completeBaseName() + ".docx");
        QByteArray xml, list;
        ASSERT_EQ(RunReader("unzip", {"-p", docx, "word/document.xml"}, &xml, nullptr, 60000), QString());
        ASSERT_EQ(RunReader("unzip", {"-l", docx}, &list, nullptr, 60000), QString());
        // The picture at its size (in English metric units, 360,000 to the centimetre).
        static const QRegularExpression extent(QStringLiteral("<wp:extent cx=\"([0-9]+)\" cy=\"([0-9]+)\""));
        const QRegularExpressionMatch m = extent.match(QString::fromUtf8(xml));
        ASSERT_TRUE(m.hasMatch()) << "LibreOffice shows no picture";
        EXPECT_NEAR(m.captured(1).toDouble() / 36000, 264.58, 0.5);
        EXPECT_NEAR(m.captured(2).toDouble() / 36000, 132.29, 0.5);
        // As a Windows metafile.
        EXPECT_TRUE(list.contains("word/media/image1.wmf")) << list.constData();
    }
}

// Records without a counterpart in the older format (a path): a light
// picture is drawn into the copy; a heavy one, too heavy to draw within the
// bound, goes as the enhanced metafile it is, without waiting for more.
TEST(RTFPictures, AnEnhancedMetafileThatCannotBeCopiedWithinTheBoundGoesAsItIs) {
    // One CPU second, and a wall clock that gives even a crowded machine time for it.
    SetMetafileTimeLimits(1000, 120000);
    // A red box filled as a path: begun, moved, three lines, closed, ended, filled.
    const QByteArray light = TEmfBuilder(60, 30)
                                 .Brush(0x0000FF)
                                 .Record(59, {})
                                 .Record(27, {0, 0})
                                 .Record(54, {60, 0})
                                 .Record(54, {60, 30})
                                 .Record(54, {0, 30})
                                 .Record(61, {})
                                 .Record(60, {})
                                 .Record(62, {0, 0, 59, 29})
                                 .Bytes();
    // Its lines three pixels wide and smooth (hairlines, drawn through whole
    // pixels, would take a fraction of the time).
    TEmfBuilder heavyBuilder(1000, 500);
    heavyBuilder.Record(57, {2}).Pen(3, 0); // arcs drawn clockwise
    for (int i = 0; i < 2000; ++i) {
        std::vector<int> xy;
        for (int k = 0; k < 100; ++k)
            xy.insert(xy.end(), {(k * 37 + i) % 1000, (i * 7 + k * 53) % 500});
        heavyBuilder.Polyline(xy);
    }
    const QByteArray heavy = heavyBuilder.Bytes();
    TMetafile converted;
    ASSERT_TRUE(converted.LoadFromStream(heavy));
    ASSERT_TRUE(converted.HasPicture());
    TWriterDoc d;
    Fill(d, light);
    Fill(d, heavy);
    const int renders = MetafileRenderCount();
    const std::string rtf = d.RTF();
    // One try, ended by the CPU limit.
    EXPECT_EQ(MetafileRenderCount(), renders + 1);
    EXPECT_EQ(LastMetafileRenderSignal(), SIGXCPU);
    EXPECT_NE(rtf.find("{\\pict\\wmetafile8\\picw1588\\pich794 "), std::string::npos);
    EXPECT_NE(
        rtf.find("{\\pict\\emfblip\\picw26458\\pich13229 " + heavy.left(16).toHex().toUpper().toStdString()),
        std::string::npos);
    TWriterDoc back;
    ASSERT_EQ(back.ImportRTF(rtf), 0);
    std::vector<const TMetafile*> pictures;
    for (int i = 0; i < back.GetItemCount(); ++i)
        if (const auto* p = dynamic_cast<const TRPGraphicItemInfo*>(back.GetItem(i)))
            pictures.push_back(dynamic_cast<const TMetafile*>(p->Image.get()));
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_TRUE(pictures[0] && pictures[1]);
    EXPECT_FALSE(pictures[0]->Enhanced());
    EXPECT_EQ(pictures[0]->ToImage().pixel(30, 15), qRgb(255, 0, 0));
    EXPECT_TRUE(pictures[1]->Enhanced());
    EXPECT_EQ(pictures[1]->SaveToStream(), heavy);
    SetMetafileTimeLimits(MetafileLimits::CpuTimeMs, MetafileLimits::WallTimeMs);
}

namespace {

// A comment holding records of the newer drawing interface.
std::vector<int64_t> PlusComment(std::initializer_list<std::vector<int64_t>> Records) {
    std::vector<int64_t> comment{0, 0x2B464D45}; // its length, "EMF+"
    for (const auto& r : Records)
        comment.insert(comment.end(), r.begin(), r.end());
    comment[0] = 4 * static_cast<int64_t>(comment.size() - 1);
    return comment;
}

// The records' header, dual or not; a red rectangle filled; the end.
std::vector<int64_t> PlusHeader(bool Dual) {
    return {0x4001 | (int64_t(Dual) << 16), 28, 16, 0xDBC01002, 0, 96, 96};
}
std::vector<int64_t> PlusRedFill() {
    const int64_t red = 0xFFFF0000, ten = 0x41200000, hundred = 0x42C80000, fifty = 0x42480000;
    return {0x400A | (0x8000 << 16), 36, 24, red, 1, ten, ten, hundred, fifty};
}
const std::vector<int64_t> PlusEnd{0x4002, 12, 0};

// A picture of the newer drawing interface alone, as a comment of its
// records: its header (not dual), a red rectangle filled, its end. Nothing
// here draws such records.
QByteArray PlusOnlyEmf() {
    return TEmfBuilder(200, 100).Record(70, PlusComment({PlusHeader(false), PlusRedFill(), PlusEnd})).Bytes();
}

// A picture drawn with both interfaces, as a program writes that also draws
// with the older one: the red rectangle filled by the newer one, then the
// device context handed to the older records for a black frame around the
// picture. In a dual picture the older records draw it whole: the frame
// filled red. A path begun and ended first has no counterpart in the older
// format.
QByteArray BothInterfacesEmf(bool Dual, bool PathFirst = false) {
    TEmfBuilder b(200, 100);
    if (PathFirst) b.Record(59, {}).Record(60, {});
    b.Record(70, PlusComment({PlusHeader(Dual), PlusRedFill()}));
    b.Record(70, PlusComment({{0x4004, 12, 0}}));
    if (Dual)
        b.Brush(0x0000FF);
    else
        b.Record(37, {0x80000005}); // the hollow brush
    b.Rectangle(0, 0, 200, 100);
    return b.Record(70, PlusComment({PlusEnd})).Bytes();
}

std::vector<const TMetafile*> PicturesOf(const TCustomRPData& D) {
    std::vector<const TMetafile*> out;
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const auto* p = dynamic_cast<const TRPGraphicItemInfo*>(D.GetItem(i)))
            out.push_back(dynamic_cast<const TMetafile*>(p->Image.get()));
    return out;
}

} // namespace

// A copy as a Windows metafile is made only where it holds the picture: one
// that nothing here draws goes as the enhanced metafile it is, and one whose
// translation the Windows metafile checks would refuse (a bitmap with an
// empty header) is drawn into the copy instead, which they take.
TEST(RTFPictures, APictureTheCopyWouldLoseGoesAsItIsOrDrawn) {
    const QByteArray plus = PlusOnlyEmf();
    // A red rectangle, then a bitmap record whose header is empty.
    std::vector<int64_t> badBitmap{0, 0, 59, 29, 0, 0, 0, 0, 1, 1, 80, 40, 120, 4, 0, 0x00CC0020, 60, 30};
    badBitmap.insert(badBitmap.end(), 11, 0);
    const QByteArray refused =
        TEmfBuilder(60, 30).Brush(0x0000FF).Rectangle(0, 0, 60, 30).Record(81, badBitmap).Bytes();
    TWriterDoc d;
    Fill(d, plus);
    Fill(d, refused);
    const std::string rtf = d.RTF();
    EXPECT_NE(rtf.find("{\\pict\\emfblip\\picw5292\\pich2646 " + plus.toHex().toUpper().toStdString() + "}"),
              std::string::npos);
    // A blank bitmap in place of the first would take 480,000 bytes.
    EXPECT_LT(rtf.size(), 100000u);
    EXPECT_NE(rtf.find("{\\pict\\wmetafile8\\picw1588\\pich794 "), std::string::npos);

    TWriterDoc back;
    ASSERT_EQ(back.ImportRTF(rtf), 0);
    const std::vector<const TMetafile*> pictures = PicturesOf(back);
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_TRUE(pictures[0] && pictures[1]);
    EXPECT_TRUE(pictures[0]->Enhanced());
    EXPECT_EQ(pictures[0]->SaveToStream(), plus);
    EXPECT_FALSE(pictures[1]->Enhanced());
    EXPECT_TRUE(pictures[1]->CheckRecords());
    EXPECT_EQ(pictures[1]->ToImage().pixel(30, 15), qRgb(255, 0, 0));
}

// What the newer interface draws in a picture that is not dual, no Windows
// metafile holds: neither the translated frame nor the picture drawn here
// (which shows the frame alone). The picture goes as it is and comes back
// whole, also when a record the older format cannot say comes before. A
// dual picture, drawn whole by its older records, goes as its copy.
TEST(RTFPictures, WhatTheNewerInterfaceDrawsIsNotLostInTheCopy) {
    const QByteArray both = BothInterfacesEmf(false), dual = BothInterfacesEmf(true);
    const QByteArray afterPath = BothInterfacesEmf(false, true);
    TWriterDoc d;
    Fill(d, both);
    Fill(d, dual);
    Fill(d, afterPath);
    const std::string rtf = d.RTF();
    for (const QByteArray& emf : {both, afterPath})
        EXPECT_NE(
            rtf.find("{\\pict\\emfblip\\picw5292\\pich2646 " + emf.toHex().toUpper().toStdString() + "}"),
            std::string::npos);
    EXPECT_NE(rtf.find("{\\pict\\wmetafile8\\picw5292\\pich2646 "), std::string::npos);
    // No bitmap of the frame (that took 240 KB).
    EXPECT_LT(rtf.size(), 10000u);

    TWriterDoc back;
    ASSERT_EQ(back.ImportRTF(rtf), 0);
    const std::vector<const TMetafile*> pictures = PicturesOf(back);
    ASSERT_EQ(pictures.size(), 3u);
    ASSERT_TRUE(pictures[0] && pictures[1] && pictures[2]);
    EXPECT_TRUE(pictures[0]->Enhanced());
    EXPECT_EQ(pictures[0]->SaveToStream(), both);
    EXPECT_FALSE(pictures[1]->Enhanced());
    EXPECT_EQ(pictures[1]->ToImage().pixel(100, 50), qRgb(255, 0, 0));
    EXPECT_EQ(pictures[2]->SaveToStream(), afterPath);
}
