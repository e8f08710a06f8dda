// Real RTF files: every one is formatted and painted at three widths without
// a crash; a few are written as pictures for people to look at.
#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "support/Corpus.h"

namespace {

// Paints the whole document screen by screen into one reused picture.
void PaintAll(TTestFormatDoc& D, QImage& Screen) {
    for (int y = 0; y < D.DocumentHeight; y += D.Height) {
        D.VOffs = y;
        Screen.fill(Qt::white);
        TCanvas c(&Screen);
        D.PaintDocument(c, Rect(0, 0, D.Width, D.Height));
    }
    D.VOffs = 0;
}

} // namespace

TEST(CorpusPaint, EveryFileFormatsAndPaintsAtThreeWidths) {
    const QString root = CorpusRtfDir();
    if (!QFileInfo(root).isDir()) GTEST_SKIP() << "no corpus at " << root.toStdString();
    QDirIterator it(root, {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        auto style = std::make_unique<TRPStyle>();
        TTestFormatDoc d(style.get());
        d.RTF.TextStyleMode = rprsAddIfNeeded;
        d.RTF.ParaStyleMode = rprsAddIfNeeded;
        d.LoadRTF(path.toStdString());
        ++files;
        for (int width : {50, 300, 1000}) {
            d.Width = width;
            d.Height = 600;
            d.Format();
            ASSERT_GE(d.DocumentHeight, d.Top + d.Bottom);
            // Every item has its draw items, in document order.
            int item = -1;
            for (int i = 0; i < d.DrawItemCount(); ++i) {
                ASSERT_GE(d.DrawItem(i)->ItemNo, item);
                item = d.DrawItem(i)->ItemNo;
            }
            ASSERT_EQ(item, d.GetItemCount() - 1);
            QImage screen(width, d.Height, QImage::Format_RGB32);
            PaintAll(d, screen);
        }
    }
    EXPECT_GT(files, 100);
}

// The files run in four parts, each a test and a process of its own (all
// took minutes on a loaded machine).
class KeptGlyphs : public ::testing::TestWithParam<int> {};

TEST_P(KeptGlyphs, PaintThePixelsOfTextShapedAnew) {
    // Every page of the program and every corpus file, screen by screen: the
    // glyphs kept from shaping draw what shaping the text anew draws, faces
    // of every kind (bitmap fonts, fallbacks, symbols, right to left) included.
    QStringList files;
    for (const QString& root : {CorpusRtfDir(), QStringLiteral(PRAVOLIN_SOURCE_DIR "/data/dateien")}) {
        QDirIterator it(root, {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    ASSERT_GE(files.size(), 39); // the program's pages at least
    const auto screens = [](const QString& Path) {
        auto style = std::make_unique<TRPStyle>();
        TTestFormatDoc d(style.get());
        d.RTF.TextStyleMode = rprsAddIfNeeded;
        d.RTF.ParaStyleMode = rprsAddIfNeeded;
        d.LoadRTF(Path.toStdString());
        d.Width = 640;
        d.Height = 900;
        d.Format();
        std::vector<QImage> out;
        for (int y = 0; y < d.DocumentHeight && y < 9000; y += d.Height) {
            d.VOffs = y;
            QImage screen(d.Width, d.Height, QImage::Format_RGB32);
            screen.fill(Qt::white);
            TCanvas c(&screen);
            d.PaintDocument(c, Rect(0, 0, d.Width, d.Height));
            c.Release();
            out.push_back(screen);
        }
        return out;
    };
    for (const QString& f : FilesOfPart(files, GetParam(), 4)) {
        SetShapedTextKept(false);
        const std::vector<QImage> shaped = screens(f);
        SetShapedTextKept(true);
        // Twice: shaped and kept the first time, drawn from what was kept the second.
        for (int pass = 0; pass < 2; ++pass) {
            const std::vector<QImage> kept = screens(f);
            ASSERT_EQ(kept.size(), shaped.size()) << f.toStdString();
            for (size_t i = 0; i < kept.size(); ++i)
                ASSERT_TRUE(kept[i] == shaped[i]) << f.toStdString() << ", screen " << i << ", pass " << pass;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Teil, KeptGlyphs, ::testing::Range(0, 4));

TEST(CorpusPaint, GalleryOfPages) {
    const QString root = CorpusRtfDir();
    if (!QFileInfo(root).isDir()) GTEST_SKIP() << "no corpus at " << root.toStdString();
    const char* files[] = {"pandoc/formatting.rtf", "pandoc/list_simple.rtf", "tika/testRTFVarious.rtf",
                           "rtfpipe/rtf2xml/nested_lists_indents_word.rtf", "pandoc-writer/writer.rtf",
                           "tika/testRTFRegularImages.rtf", "pandoc/table_nested.rtf",
                           "striprtf/rtf/calcium_score.rtf", "striprtf/rtf/Speiseplan_KW_32-33_Eybl.rtf"};
    const QString out = QStringLiteral(PRAVOLIN_TEST_OUTPUT "/gallery");
    QDir().mkpath(out);
    for (const char* f : files) {
        auto style = std::make_unique<TRPStyle>();
        TTestFormatDoc d(style.get());
        d.RTF.TextStyleMode = rprsAddIfNeeded;
        d.RTF.ParaStyleMode = rprsAddIfNeeded;
        d.LoadRTF((root + QLatin1Char('/') + QString::fromLatin1(f)).toStdString());
        d.Width = 600;
        d.Height = 800;
        d.Format();
        const QImage page = PaintFirstScreen(d);
        const QString name = QString::fromLatin1(f)
                                 .replace(QLatin1Char('/'), QLatin1Char('_'))
                                 .replace(QStringLiteral(".rtf"), QStringLiteral(".png"));
        EXPECT_TRUE(page.save(out + QLatin1Char('/') + name)) << f;
        // Something was painted.
        EXPECT_GT(d.DrawItemCount(), 0) << f;
    }
}

// The tests over the corpus in parts: each file in exactly one part, in its
// order, and the parts of about the same size in bytes.
TEST(CorpusParts, EveryFileIsInOnePartAndThePartsAreAlike) {
    QStringList files;
    QDirIterator it(CorpusRtfDir(), {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    if (files.size() < 40) GTEST_SKIP() << "no corpus at " << CorpusRtfDir().toStdString();
    files.sort();
    qint64 total = 0, largest = 0;
    for (const QString& f : files) {
        total += QFileInfo(f).size();
        largest = std::max(largest, QFileInfo(f).size());
    }
    QStringList all;
    for (int part = 0; part < 4; ++part) {
        const QStringList mine = FilesOfPart(files, part, 4);
        QStringList sorted = mine;
        sorted.sort();
        EXPECT_EQ(mine, sorted) << "part " << part;
        qint64 bytes = 0;
        for (const QString& f : mine)
            bytes += QFileInfo(f).size();
        // No part carries more than its share and the largest file.
        EXPECT_LE(bytes, total / 4 + largest) << "part " << part;
        all += mine;
    }
    all.sort();
    EXPECT_EQ(all, files);
}
