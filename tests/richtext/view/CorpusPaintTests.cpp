// Real RTF files: every one is formatted and painted at three widths without
// a crash; a few are written as pictures for people to look at.
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"

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
        const QString name = QString::fromLatin1(f).replace(QLatin1Char('/'), QLatin1Char('_')).replace(QStringLiteral(".rtf"), QStringLiteral(".png"));
        EXPECT_TRUE(page.save(out + QLatin1Char('/') + name)) << f;
        // Something was painted.
        EXPECT_GT(d.DrawItemCount(), 0) << f;
    }
}
