// Decodes the GIF files collected from other projects' test suites and
// compares with their expected output where there is one.
#include "imaging/GIFImage.h"
#include "support/Corpus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QBuffer>
#include <QDirIterator>
#include <QImageReader>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kCorpus = SharedCorpusDir() + QStringLiteral("/gif");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool HaveCorpus() { return QDir(kCorpus).exists(); }

// Palette indices of frame 0, read back from its bitmap.
std::vector<uint8_t> FrameIndices(const TGIFFrame& frame) {
    const QImage img = frame.Bitmap()->Image().convertToFormat(QImage::Format_Indexed8);
    std::vector<uint8_t> out;
    for (int y = 0; y < img.height(); ++y)
        out.insert(out.end(), img.constScanLine(y), img.constScanLine(y) + img.width());
    return out;
}

} // namespace

TEST(GIFCorpus, EveryFileLoadsOrIsRefusedCleanly) {
    if (!HaveCorpus()) GTEST_SKIP() << "corpus not present";
    int loaded = 0, seen = 0;
    QDirIterator it(kCorpus, {QStringLiteral("*.gif")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        ++seen;
        TGIFImage gif;
        if (!gif.LoadFromStream(ReadAll(path))) {
            EXPECT_TRUE(gif.Frames().empty()) << path.toStdString();
            continue;
        }
        ++loaded;
        for (const auto& f : gif.Frames()) f->Bitmap(); // decode every frame
        // What was read can be written and read again with the same frames.
        const QByteArray saved = gif.SaveToStream();
        if (gif.Frames().empty() || saved.isEmpty()) continue; // a refused save is checked below
        TGIFImage again;
        ASSERT_TRUE(again.LoadFromStream(saved)) << path.toStdString();
        ASSERT_EQ(again.Frames().size(), gif.Frames().size()) << path.toStdString();
        EXPECT_EQ(FrameIndices(*again.Frames()[0]), FrameIndices(*gif.Frames()[0])) << path.toStdString();
    }
    EXPECT_GT(seen, 50);
    EXPECT_GT(loaded, 50);
}

// giflib's .rgb files are the logical screen of single-image files: the
// background colour with the image laid on it.
TEST(GIFCorpus, ScreensMatchGiflibOutput) {
    if (!HaveCorpus()) GTEST_SKIP() << "corpus not present";
    int compared = 0;
    for (const QFileInfo& rgb : QDir(kCorpus + "/giflib/tests").entryInfoList({QStringLiteral("*.rgb")})) {
        TGIFImage gif;
        ASSERT_TRUE(gif.LoadFromStream(ReadAll(kCorpus + "/giflib/pic/" + rgb.baseName() + ".gif")))
            << rgb.baseName().toStdString();
        if (gif.Frames().size() != 1) continue;
        const QByteArray expected = ReadAll(rgb.filePath());
        const int w = gif.ScreenWidth, h = gif.ScreenHeight;
        ASSERT_EQ(expected.size(), qsizetype(w) * h * 3) << rgb.baseName().toStdString();
        const TGIFFrame& f = *gif.Frames()[0];
        const QImage img = f.Bitmap()->Image().convertToFormat(QImage::Format_RGB32);
        const TGIFColorTable& global = gif.Data().ColorTable;
        QByteArray got(expected.size(), '\0');
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int fx = x - f.Origin.x, fy = y - f.Origin.y;
                int r, g, b;
                if (fx >= 0 && fy >= 0 && fx < img.width() && fy < img.height()) {
                    const QRgb c = img.pixel(fx, fy);
                    r = qRed(c), g = qGreen(c), b = qBlue(c);
                } else {
                    const TColor c = global.Count ? global.Color(0) : 0;
                    r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                }
                const qsizetype at = (qsizetype(y) * w + x) * 3;
                got[at] = char(r), got[at + 1] = char(g), got[at + 2] = char(b);
            }
        EXPECT_TRUE(got == expected) << rgb.baseName().toStdString();
        ++compared;
    }
    EXPECT_GE(compared, 5);
}

TEST(GIFCorpus, IndicesMatchReferenceDecodes) {
    if (!HaveCorpus()) GTEST_SKIP() << "corpus not present";
    const QString data = kCorpus + "/wuffs/data/";
    struct Case {
        const char* gif;
        const char* indexes;
        int frame;
    };
    int compared = 0;
    std::vector<Case> cases{{"bricks-dither.gif", "bricks-dither.indexes", 0}};
    for (int i = 0; i < 15; ++i) cases.push_back({"muybridge.gif", nullptr, i});
    for (const Case& c : cases) {
        const QString indexes = c.indexes ? QString::fromLatin1(c.indexes)
                                          : QStringLiteral("muybridge-frame-%1.indexes").arg(c.frame, 3, 10, QLatin1Char('0'));
        TGIFImage gif;
        ASSERT_TRUE(gif.LoadFromStream(ReadAll(data + c.gif))) << c.gif;
        ASSERT_LT(size_t(c.frame), gif.Frames().size());
        const TGIFFrame& f = *gif.Frames()[size_t(c.frame)];
        const QByteArray expected = ReadAll(data + indexes);
        const std::vector<uint8_t> got = FrameIndices(f);
        if (qsizetype(got.size()) != expected.size()) continue; // reference is of the whole screen
        EXPECT_TRUE(std::equal(got.begin(), got.end(), reinterpret_cast<const uint8_t*>(expected.constData())))
            << indexes.toStdString();
        EXPECT_FALSE(f.Corrupt());
        ++compared;
    }
    EXPECT_GE(compared, 2);
}

// The single-image tests of the pygif suite give the expected RGBA pixels.
TEST(GIFCorpus, SingleFramesMatchPygifPixels) {
    if (!HaveCorpus()) GTEST_SKIP() << "corpus not present";
    const QString dir = kCorpus + "/pygif/";
    int compared = 0;
    int maxCodeSize = 0;
    for (const QFileInfo& conf : QDir(dir).entryInfoList({QStringLiteral("*.conf")})) {
        QSettings ini(conf.filePath(), QSettings::IniFormat);
        const QString frames = ini.value(QStringLiteral("config/frames")).toString();
        const QString pixels = ini.value(QStringLiteral("frame0/pixels")).toString();
        if (frames != QLatin1String("frame0") || pixels.isEmpty()) continue;
        TGIFImage gif;
        if (!gif.LoadFromStream(ReadAll(dir + ini.value(QStringLiteral("config/input")).toString()))) continue;
        if (gif.Frames().size() != 1) continue;
        const TGIFFrame& f = *gif.Frames()[0];
        const int w = ini.value(QStringLiteral("config/width")).toInt();
        const int h = ini.value(QStringLiteral("config/height")).toInt();
        if (f.Width() != w || f.Height() != h || f.Origin != TPoint{0, 0}) continue;
        const QByteArray expected = ReadAll(dir + pixels);
        ASSERT_EQ(expected.size(), qsizetype(w) * h * 4) << pixels.toStdString();
        const QImage img = f.Bitmap()->Image().convertToFormat(QImage::Format_RGB32);
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto* e = reinterpret_cast<const uint8_t*>(expected.constData()) + (qsizetype(y) * w + x) * 4;
                const QRgb c = img.pixel(x, y);
                const TColor got = RGB(qRed(c), qGreen(c), qBlue(c));
                if (e[3] == 0 ? got != f.TransColor : got != RGB(e[0], e[1], e[2])) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << conf.fileName().toStdString();
        EXPECT_FALSE(f.Corrupt()) << conf.fileName().toStdString();
        maxCodeSize = std::max(maxCodeSize, int(uint8_t(f.Item().RawData.at(0))));
        ++compared;
    }
    EXPECT_GE(compared, 5);
    // The suite's file that starts at 12-bit codes (code size 11) is among them.
    EXPECT_EQ(maxCodeSize, 11);
}

// Another reader (Qt's) shows the first frame of every corpus file that it
// reads the same before and after the file went through our reader and writer.
TEST(GIFCorpus, SavedAgainAnotherReaderSeesTheSameFirstFrame) {
    if (!HaveCorpus()) GTEST_SKIP() << "corpus not present";
    const auto qtFrame = [](const QByteArray& bytes) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "gif");
        return reader.read().convertToFormat(QImage::Format_ARGB32);
    };
    int compared = 0;
    QDirIterator it(kCorpus, {QStringLiteral("*.gif")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray original = ReadAll(path);
        TGIFImage gif;
        if (!gif.LoadFromStream(original) || gif.Frames().empty()) continue;
        const QImage before = qtFrame(original);
        if (before.isNull()) continue;
        const QByteArray saved = gif.SaveToStream();
        if (saved.isEmpty()) {
            // Refused only for a frame that the file stored without pixels.
            EXPECT_TRUE(std::any_of(gif.Frames().begin(), gif.Frames().end(),
                                    [](const auto& f) { return f->Item().StoredEmpty; }))
                << path.toStdString();
            continue;
        }
        const QImage after = qtFrame(saved);
        ASSERT_FALSE(after.isNull()) << path.toStdString();
        // Only the first frame's own area: the screen around it is the reader's fill.
        const TGIFFrame& f = *gif.Frames()[0];
        int wrong = 0;
        for (int y = f.Origin.y; y < f.Origin.y + f.Height(); ++y)
            for (int x = f.Origin.x; x < f.Origin.x + f.Width(); ++x) {
                if (!before.valid(x, y) || !after.valid(x, y)) continue;
                const QRgb a = before.pixel(x, y), b = after.pixel(x, y);
                if (qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && a != b)) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << path.toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 50);
}
