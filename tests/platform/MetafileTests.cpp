// Metafile pictures drawn through the libraries' SVG: where the ink lands,
// what the SVG of a Windows metafile's text becomes, damaged records, the
// helper program that bounds a conversion and a drawing, the pictures kept
// per process, and the fuzz regression corpus.
#include "platform/Fonts.h"
#include "platform/LittleEndian.h"
#include "platform/MetafileCache.h"
#include "platform/MetafileCanvas.h"
#include "platform/MetafileConvert.h"
#include "platform/MetafileRaster.h"
#include "platform/MetafileTranslate.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "support/BusyMetafileHelper.h"
#include "support/Corpus.h"
#include "support/HeldMetafileHelper.h"
#include "support/MetafileBuilder.h"
#include "support/PdfPrinter.h"
#include "support/Readers.h"
#include "support/ThrowingMetafileWork.h"
#include "support/PlainPng.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QThread>
#include <QThreadPool>
#include <QWidget>
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace {

constexpr uint32_t Yellow = 0x0000FFFF, Red = 0x000000FF;

// The picture drawn at (10, 10) with the given size into a white image.
QImage Drawn(const TMetafile& Meta, int W, int H) {
    QImage image(W + 20, H + 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas c(&image);
    Meta.Draw(c, Bounds(10, 10, W, H));
    c.Release();
    return image;
}

// The colour at a fraction of the drawn picture.
QRgb At(const QImage& Image, double Fx, double Fy) {
    return Image.pixel(10 + static_cast<int>(Fx * (Image.width() - 20)),
                       10 + static_cast<int>(Fy * (Image.height() - 20)));
}

// Dark pixels of a part of the drawn picture (fractions of its size).
int Ink(const QImage& Image, double X0, double Y0, double X1, double Y1) {
    const int w = Image.width() - 20, h = Image.height() - 20;
    int n = 0;
    for (int y = 10 + static_cast<int>(Y0 * h); y < 10 + static_cast<int>(Y1 * h); ++y)
        for (int x = 10 + static_cast<int>(X0 * w); x < 10 + static_cast<int>(X1 * w); ++x)
            n += qGray(Image.pixel(x, y)) < 128;
    return n;
}

std::unique_ptr<TMetafile> Loaded(const QByteArray& Bytes) {
    auto m = std::make_unique<TMetafile>();
    EXPECT_TRUE(m->LoadFromStream(Bytes));
    return m;
}

// A yellow top-left quarter and a red bottom-right ellipse, in a window
// that does not start at the origin. With OwnBytes the bytes differ from
// every other picture's (a mode set after the drawing changes no pixel): the
// store keeps the conversions of what other tests loaded before.
QByteArray QuartersWmf(bool OwnBytes = false) {
    TWmfBuilder b(2000, 1000);
    b.MapMode(8)
        .WindowOrg(100, 50)
        .WindowExt(2000, 1000)
        .NullPen()
        .Brush(Yellow)
        .Rectangle(100, 50, 1100, 550)
        .Brush(Red)
        .Ellipse(1100, 550, 2100, 1050);
    if (OwnBytes) b.BkMode(2);
    return b.Bytes();
}

} // namespace

TEST(Metafile, WindowsMetafileDrawsItsRecordsIntoAnyRectangleAndConvertsOnce) {
    // Counted before loading, once the work that earlier tests left is done:
    // the conversion starts in the background as the picture is loaded and
    // may be over before the first draw.
    WaitForMetafileWork();
    const int before = MetafileConversionCount();
    const std::unique_ptr<TMetafile> loaded = Loaded(QuartersWmf(true));
    const TMetafile& meta = *loaded;
    EXPECT_EQ(meta.Width(), 133); // the frame it reports: 2000 x 1000 at 1440 per inch
    EXPECT_EQ(meta.Height(), 67);
    ASSERT_TRUE(meta.CheckRecords());
    for (const QSize size : {QSize(200, 100), QSize(60, 30), QSize(100, 200)}) {
        const QImage image = Drawn(meta, size.width(), size.height());
        SCOPED_TRACE(size.width());
        EXPECT_EQ(At(image, 0.25, 0.25), qRgb(255, 255, 0));
        EXPECT_EQ(At(image, 0.75, 0.75), qRgb(255, 0, 0));
        EXPECT_EQ(At(image, 0.75, 0.25), qRgb(255, 255, 255));
        EXPECT_EQ(At(image, 0.25, 0.75), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255)); // nothing outside the rectangle
    }
    // Copies share the conversion: the records went through the library once.
    const std::unique_ptr<TGraphic> copy = meta.Clone();
    Drawn(static_cast<const TMetafile&>(*copy), 40, 20);
    EXPECT_EQ(MetafileConversionCount(), before + 1);
    EXPECT_EQ(meta.ToImage().size(), QSize(133, 67));
    EXPECT_EQ(meta.ToImage().pixel(30, 15), qRgb(255, 255, 0));
}

TEST(Metafile, EnhancedMetafileDrawsItsRecordsWithItsOwnMapping) {
    const QByteArray emf = TEmfBuilder(200, 100)
                               .MapMode(8)
                               .WindowExt(2000, 1000)
                               .ViewportExt(200, 100)
                               .Brush(Yellow)
                               .Rectangle(0, 0, 1000, 500)
                               .Brush(Red)
                               .Ellipse(1000, 500, 2000, 1000)
                               .Bytes();
    const std::unique_ptr<TMetafile> loaded = Loaded(emf);
    const TMetafile& meta = *loaded;
    EXPECT_TRUE(meta.Enhanced());
    EXPECT_EQ(meta.Width(), 200);
    ASSERT_TRUE(meta.HasPicture());
    const QImage image = Drawn(meta, 100, 50);
    EXPECT_EQ(At(image, 0.2, 0.25), qRgb(255, 255, 0));
    EXPECT_EQ(At(image, 0.75, 0.75), qRgb(255, 0, 0));
    EXPECT_EQ(At(image, 0.75, 0.2), qRgb(255, 255, 255));
}

// A Windows metafile fills its frame exactly, however the frame is shaped:
// a red band over the top tenth of a wide, a tall and a square picture
// covers the top tenth of the drawing from side to side and no more, at the
// picture's size and five times as large.
TEST(Metafile, AWindowsMetafileFillsItsFrameExactly) {
    for (const QSize frame : {QSize(200, 100), QSize(100, 200), QSize(200, 200)}) {
        const QByteArray wmf = TWmfBuilder(frame.width(), frame.height(), 96)
                                   .WindowExt(frame.width(), frame.height())
                                   .NullPen()
                                   .Brush(Red)
                                   .Rectangle(0, 0, frame.width(), frame.height() / 10)
                                   .Bytes();
        const std::unique_ptr<TMetafile> meta = Loaded(wmf);
        for (int times : {1, 5}) {
            SCOPED_TRACE(std::to_string(frame.width()) + " x " + std::to_string(frame.height()) + " at " +
                         std::to_string(times));
            QImage image(frame * times, QImage::Format_RGB32);
            image.fill(Qt::white);
            TCanvas c(&image);
            meta->Draw(c, Bounds(0, 0, image.width(), image.height()));
            c.Release();
            // (The library places the frame to a few millionths of a pixel.)
            const auto near = [&](int X, int Y, QRgb Colour) {
                const QRgb p = image.pixel(X, Y);
                return std::abs(qRed(p) - qRed(Colour)) + std::abs(qGreen(p) - qGreen(Colour)) +
                           std::abs(qBlue(p) - qBlue(Colour)) <=
                       6;
            };
            const int band = image.height() / 10;
            for (const int x : {0, image.width() / 2, image.width() - 1}) {
                EXPECT_TRUE(near(x, 0, qRgb(255, 0, 0))) << x;
                EXPECT_TRUE(near(x, band - 1, qRgb(255, 0, 0))) << x;
                EXPECT_TRUE(near(x, band, qRgb(255, 255, 255))) << x;
            }
        }
    }
}

TEST(Metafile, TextOfAWindowsMetafileBecomesValidUnicodeSvg) {
    // The library writes text as the metafile holds it: 8-bit, unescaped.
    const QByteArray wmf = TWmfBuilder(2000, 1000)
                               .WindowExt(2000, 1000)
                               .Font(-200, 0, "Arial")
                               .TextOut(50, 50,
                                        "Gr\xFC\xDF"
                                        "e & <x>")
                               .Font(-200, 0, "Symbol")
                               .TextOut(50, 500, "S=p")
                               .Bytes();
    TMetafileSvg svg;
    ASSERT_TRUE(ConvertMetafile(wmf, false, svg));
    const QString text = QString::fromUtf8(svg.Svg);
    EXPECT_TRUE(text.contains(QStringLiteral(">Grüße &amp; &lt;x&gt;</text>"))) << svg.Svg.constData();
    EXPECT_TRUE(text.contains(QStringLiteral(">Σ=π</text>"))) << svg.Svg.constData();
    EXPECT_TRUE(text.contains(QStringLiteral("font-family:Liberation Sans;")));
    EXPECT_TRUE(text.contains(QStringLiteral("font-family:DejaVu Sans;")));
    QSvgRenderer renderer;
    EXPECT_TRUE(renderer.load(svg.Svg));
    EXPECT_GT(Ink(Drawn(*Loaded(wmf), 200, 100), 0, 0, 1, 1), 50);
}

TEST(Metafile, FillsAreOpaqueAndTurnedTextRunsUpInAPictureWhoseYAxisPointsUp) {
    // Metafiles know no transparency, whatever the background mode.
    const QByteArray fills = TWmfBuilder(1000, 1000)
                                 .WindowExt(1000, 1000)
                                 .BkMode(1)
                                 .NullPen()
                                 .Brush(Red)
                                 .Rectangle(0, 0, 1000, 1000)
                                 .Bytes();
    EXPECT_EQ(At(Drawn(*Loaded(fills), 50, 50), 0.5, 0.5), qRgb(255, 0, 0));
    // The label of a chart's y axis: turned by 270 degrees in the metafile's
    // own (upward) y axis, it reads from the bottom up.
    const QByteArray up = TWmfBuilder(1000, 1000)
                              .MapMode(8)
                              .WindowOrg(0, 1000)
                              .WindowExt(1000, -1000)
                              .Font(-120, 2700, "Arial")
                              .TextOut(500, 100, "MMMMMM")
                              .Bytes();
    const QImage image = Drawn(*Loaded(up), 200, 200);
    EXPECT_GT(Ink(image, 0.3, 0.2, 0.8, 0.85), 200);
    EXPECT_EQ(Ink(image, 0, 0, 1, 0.2), 0);
}

TEST(Metafile, DamagedRecordsAreRefusedAndDrawTheFrame) {
    const QByteArray good = QuartersWmf();
    auto wmfWith = [&](qsizetype At, const QByteArray& Bytes) {
        QByteArray d = good;
        d.replace(At, Bytes.size(), Bytes);
        return d;
    };
    const qsizetype first = 22 + 18; // the first record
    const std::vector<QByteArray> damaged = {
        good.left(good.size() - 9),                    // cut inside a record
        wmfWith(first, QByteArray("\x00\0\0\0", 4)),   // record of no size
        wmfWith(first, QByteArray("\xFF\xFF\0\0", 4)), // record beyond the end
        wmfWith(22, QByteArray("\x07\0", 2)),          // not a metafile type
        wmfWith(22 + 10, QByteArray("\xFF\x7F", 2)),   // too many objects declared
        good.left(first) + QByteArray::fromRawData("\x04\0\0\0\x03\x01\x08\0", 8).repeated(200001),
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        TMetafile meta;
        ASSERT_TRUE(meta.LoadFromStream(damaged[i])); // the header still gives the frame
        EXPECT_FALSE(meta.CheckRecords());
        EXPECT_FALSE(meta.HasPicture());
        const QImage image = Drawn(meta, 60, 30);
        EXPECT_EQ(image.pixel(10, 10), qRgb(128, 128, 128));
        EXPECT_EQ(image.pixel(40, 25), qRgb(255, 255, 255));
    }
    // Enhanced metafiles: a record of an odd size, no end record, a second header.
    const QByteArray emf = TEmfBuilder(20, 10).Brush(Red).Rectangle(0, 0, 20, 10).Bytes();
    ASSERT_TRUE(CheckEnhancedMetafile(emf));
    QByteArray odd = emf;
    odd[88 + 4] = 26;
    QByteArray endless = emf.left(emf.size() - 20);
    endless.replace(48, 4, QByteArray::fromRawData("\0\0\0\0", 4));
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(endless.size()), endless.data() + 48);
    QByteArray twoHeads = emf;
    twoHeads[88] = 1;
    for (const QByteArray& d : {odd, endless, twoHeads}) {
        TMetafile meta;
        ASSERT_TRUE(meta.LoadFromStream(d));
        EXPECT_FALSE(meta.HasPicture());
    }
}

namespace {

constexpr uint16_t SaveDC = 0x001E, RestoreDC = 0x0127;

// A rectangle, then Rounds of Saves saved device contexts, each round
// restored by records of the counts given.
QByteArray SavingWmf(int Rounds, int Saves, const std::vector<int>& Restores) {
    TWmfBuilder b(1000, 1000);
    b.WindowExt(1000, 1000).Rectangle(0, 0, 500, 500);
    for (int r = 0; r < Rounds; ++r) {
        for (int i = 0; i < Saves; ++i)
            b.Record(SaveDC, {});
        for (const int n : Restores)
            b.Record(RestoreDC, {n});
    }
    return b.Bytes();
}

} // namespace

// libwmf walks the device contexts it holds at every save and restore, and
// any restore gives back one of them, whatever its count; the system gives
// back as many as a negative count says, or those from the one a positive
// count numbers on, and nothing for a count beyond them. The checks bound
// the contexts held at once either way.
TEST(Metafile, SavedDeviceContextsAreBoundedAsTheLibraryAndTheSystemHoldThem) {
    constexpr int Max = MetafileLimits::MaxSavedStates;
    std::vector<int> oneByOne(Max, -1), byIndex;
    for (int i = Max; i >= 1; --i)
        byIndex.push_back(i);
    const struct {
        const char* What;
        QByteArray Bytes;
        bool Taken;
    } cases[] = {
        {"nested as deep as allowed", NestedWmf(Max), true},
        {"one deeper", NestedWmf(Max + 1), false},
        {"rounds restored one by one", SavingWmf(3, Max, oneByOne), true},
        {"rounds restored one by one by index", SavingWmf(3, Max, byIndex), true},
        {"a round restored at once", SavingWmf(1, Max, {-Max}), true},
        {"rounds restored at once", SavingWmf(2, Max, {-Max}), false},
        {"rounds restored at once by index", SavingWmf(2, Max, {1}), false},
        {"pairs", SavingWmf(Max + 1, 1, {-1}), true},
        {"pairs restoring by index", SavingWmf(Max + 1, 1, {1}), true},
        {"pairs restoring more than saved", SavingWmf(Max + 1, 1, {-32768}), false},
        {"pairs restoring one not saved", SavingWmf(Max + 1, 1, {32767}), false},
        {"pairs restoring none", SavingWmf(Max + 1, 1, {0}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWindowsMetafile(c.Bytes), c.Taken) << c.What;
}

// As deep as the metafile found by fuzzing (95,000 saved device contexts
// around a rectangle; its library took 25 s of CPU time): the checks turn it
// away without a helper, and it is drawn as its frame, on the screen and
// where drawing waits for the picture (printing, images).
TEST(Metafile, AMetafileNestedTooDeepDrawsItsFrameWithoutAHelper) {
    const QByteArray deep = NestedWmf(95000);
    const int before = MetafileConversionCount();
    const std::unique_ptr<TMetafile> meta = Loaded(deep);
    EXPECT_FALSE(meta->CheckRecords());
    EXPECT_FALSE(meta->HasPicture());
    EXPECT_EQ(MetafileConversionCount(), before);
    EXPECT_EQ(LastMetafileWorkSignal(), 0);
    QWidget widget;
    QImage screen;
    {
        TScreenPaintScope scope(&widget);
        screen = Drawn(*meta, 60, 60);
    }
    const QImage image = Drawn(*meta, 60, 60);
    EXPECT_EQ(screen, image);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool frame =
                (x == 10 || x == 69 || y == 10 || y == 69) && x >= 10 && x <= 69 && y >= 10 && y <= 69;
            ASSERT_EQ(image.pixel(x, y), frame ? qRgb(128, 128, 128) : qRgb(255, 255, 255)) << x << "," << y;
        }
}

// Real files save and restore around every figure: thousands of shallow
// pairs convert. And the heaviest saving the checks let through, all the
// records they allow saving and restoring as deep as allowed, converts
// within the CPU time of a conversion.
TEST(Metafile, ManyShallowSavesConvertAndSoDoTheDeepestAllowed) {
    TWmfBuilder shallow(1000, 1000);
    shallow.WindowExt(1000, 1000).NullPen().Brush(Red);
    for (int i = 0; i < 5000; ++i) {
        shallow.Record(SaveDC, {}).Record(SaveDC, {}).Rectangle(i % 500, 0, i % 500 + 10, 10);
        shallow.Record(RestoreDC, {-1}).Record(RestoreDC, {-1});
    }
    TMetafileSvg svg;
    ASSERT_TRUE(ConvertMetafile(shallow.Bytes(), false, svg));
    EXPECT_EQ(svg.Svg.count("<rect "), 5000);

    TWmfBuilder deepest(1000, 1000);
    deepest.WindowExt(1000, 1000).NullPen().Brush(Red).Rectangle(0, 0, 500, 500);
    for (int i = 1; i < MetafileLimits::MaxSavedStates; ++i)
        deepest.Record(SaveDC, {});
    const int pairs = (MetafileLimits::MaxRecords - MetafileLimits::MaxSavedStates - 10) / 2;
    for (int i = 0; i < pairs; ++i)
        deepest.Record(SaveDC, {}).Record(RestoreDC, {-1});
    const QByteArray bytes = deepest.Bytes();
    ASSERT_TRUE(CheckWindowsMetafile(bytes));
    EXPECT_TRUE(ConvertMetafile(bytes, false, svg));
    EXPECT_EQ(LastMetafileWorkSignal(), 0);
    EXPECT_EQ(svg.Svg.count("<rect "), 1);
}

// The helper's runner with a shell in the helper's place.
TEST(Metafile, AHelperThatCrashesHangsOrFloodsCostsOnlyThePicture) {
    SetMetafileHelper(QStringLiteral("/bin/sh"));
    const auto run = [](const char* Script, QByteArray& Out) {
        return RunMetafileHelper({"-c", Script}, "<svg/>", Out);
    };
    QByteArray out;
    EXPECT_TRUE(run("cat; printf '\\001'", out));
    EXPECT_EQ(out, "<svg/>");
    EXPECT_FALSE(run("cat >/dev/null; exit 1", out));
    EXPECT_EQ(LastMetafileWorkSignal(), 0);
    EXPECT_FALSE(run("cat; exit 0", out)); // no closing byte: cut off
    EXPECT_FALSE(run("kill -SEGV $$", out));
    EXPECT_EQ(LastMetafileWorkSignal(), SIGSEGV);
    EXPECT_FALSE(run("head -c 70000000 /dev/zero; printf '\\001'", out));
    // One that ends without reading what it was given.
    EXPECT_FALSE(RunMetafileHelper({"-c", "exit 0"}, QByteArray(4 << 20, 'x'), out));
    // A hang ends at the wall clock, work at its CPU time.
    SetMetafileTimeLimits(1000, 300);
    EXPECT_FALSE(run("exec sleep 20", out));
    EXPECT_EQ(LastMetafileWorkSignal(), SIGKILL);
    // Work longer than the wall clock's limit is no hang (a loaded machine
    // makes any work take that long).
    SetMetafileTimeLimits(10000, 1000);
    EXPECT_TRUE(run("i=0; while [ $i -lt 2500000 ]; do i=$((i+1)); done; cat; printf '\\001'", out));
    EXPECT_EQ(LastMetafileWorkSignal(), 0);
    EXPECT_EQ(out, "<svg/>");
    SetMetafileTimeLimits(1000, 60000);
    EXPECT_FALSE(run("while :; do :; done", out));
    EXPECT_EQ(LastMetafileWorkSignal(), SIGXCPU);
    SetMetafileTimeLimits(MetafileLimits::CpuTimeMs, MetafileLimits::WallTimeMs);
    SetMetafileHelper(QString());
    EXPECT_EQ(out, "<svg/>");
    EXPECT_TRUE(QFileInfo(MetafileHelperPath()).isExecutable());
}

// The fuzz target's corpus: seeds and findings that draw, and findings
// ("refused-*") that the record checks must turn away before a library sees
// them.
TEST(Metafile, TheFuzzRegressionCorpusIsDrawnOrRefused) {
    // The program's text holds the font configuration that a library's
    // child process inherits (the glyph-index text found by fuzzing failed there).
    QImage text(60, 20, QImage::Format_RGB32);
    QPainter painter(&text);
    for (const char* family : {"Liberation Serif", "No Such Family", "Ming(for ISO10646)"}) {
        painter.setFont(QFont(QString::fromLatin1(family), 12));
        painter.drawText(2, 15, QStringLiteral("Größe 中"));
    }
    painter.end();
    QDirIterator it(QStringLiteral(PRAVOLIN_SOURCE_DIR "/fuzz/corpus/metafile_load"), QDir::Files);
    int drawn = 0, refused = 0;
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        SCOPED_TRACE(f.fileName().toStdString());
        TMetafile meta;
        ASSERT_TRUE(meta.LoadFromStream(f.readAll()));
        const bool draws = !it.fileName().startsWith(QLatin1String("refused-"));
        (draws ? drawn : refused)++;
        EXPECT_EQ(meta.CheckRecords(), draws);
        EXPECT_EQ(meta.HasPicture(), draws);
        EXPECT_EQ(LastMetafileWorkSignal(), 0);
        Drawn(meta, 40, 30);
    }
    EXPECT_GE(drawn, 4);
    EXPECT_GE(refused, 2);
}

namespace {

// A device-independent bitmap: header, colour table and Rows rows of the
// given bytes (of which Cut are left out at the end).
QByteArray Dib(int Width, int Height, int Bits, const QByteArray& Table, char Fill, int Cut = 0) {
    QByteArray d;
    const auto put32 = [&](int64_t v) { MetafileBuilderDetail::Put32(d, v); };
    const auto put16 = [&](int v) { MetafileBuilderDetail::Put16(d, v); };
    put32(40);
    put32(Width);
    put32(Height);
    put16(1);
    put16(Bits);
    for (int i = 0; i < 6; ++i)
        put32(0);
    d += Table;
    const int stride = (Width * Bits + 31) / 32 * 4;
    return d + QByteArray(stride * Height - Cut, Fill);
}

// A DIB stretch blit of the bitmap onto (0, 0, W, H) with the raster operation.
void StretchBlit(TWmfBuilder& B, uint32_t Rop, int SrcW, int SrcH, int W, int H, const QByteArray& Bitmap) {
    QByteArray p;
    MetafileBuilderDetail::Put32(p, Rop);
    for (int v : {SrcH, SrcW, 0, 0, H, W, 0, 0})
        MetafileBuilderDetail::Put16(p, v);
    B.Raw(0x0B41, p + Bitmap);
}

} // namespace

// An icon drawn the old way, whose 1-bit mask lacks 8 bytes (two rows, or
// its colours), and the shapes of an enhanced metafile drawn before any brush is
// selected.
TEST(Metafile, AShortMaskDrawsWhatIsThereAndShapesWithoutABrushFillWhite) {
    // The picture's pixels: blue, green, red; all red.
    QByteArray red = Dib(32, 32, 24, {}, 0);
    for (qsizetype i = 40 + 2; i < red.size(); i += 3)
        red[i] = char(0xFF);
    // The mask's last rows cut off, or its colours left out (as the icons of
    // a corpus file have it).
    for (const QByteArray& mask :
         {Dib(32, 34, 1, QByteArray("\0\0\0\0\xFF\xFF\xFF\0", 8), 0, 8), Dib(32, 34, 1, {}, 0)}) {
        TWmfBuilder icon(320, 320);
        icon.WindowExt(320, 320);
        StretchBlit(icon, 0x008800C6, 32, 34, 320, 320, mask);
        StretchBlit(icon, 0x00660046, 32, 32, 320, 320, red);
        const std::unique_ptr<TMetafile> meta = Loaded(icon.Bytes());
        EXPECT_TRUE(meta->CheckRecords());
        ASSERT_TRUE(meta->HasPicture());
        EXPECT_EQ(At(Drawn(*meta, 64, 64), 0.5, 0.5), qRgb(255, 0, 0));
    }

    // A frame of black lines around a shape filled with the device
    // context's brush, white, where the library starts with black.
    const std::unique_ptr<TMetafile> shape = Loaded(TEmfBuilder(100, 100).Rectangle(10, 10, 90, 90).Bytes());
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::gray);
    TCanvas c(&image);
    shape->Draw(c, Bounds(0, 0, 100, 100));
    c.Release();
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
    EXPECT_LT(std::min({qGray(image.pixel(9, 50)), qGray(image.pixel(10, 50)), qGray(image.pixel(11, 50))}),
              100);
}

namespace {

// Counts the paint events of a widget.
class TPaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* E) override {
        Paints += E->type() == QEvent::Paint;
        return false;
    }
};

// A sound Windows metafile of 20,000 records (320 KB).
QByteArray TwentyThousandRecords() {
    TWmfBuilder b(2000, 2000);
    b.WindowExt(2000, 2000).NullPen().Brush(Red);
    for (int i = 0; i < 19995; ++i)
        b.Record(0x041B, {1000 + i % 1000, 1000 + i % 997, i % 1000, i % 997, 0, 0, 0});
    return b.Bytes();
}

// The processes whose parent is Parent and whose program is the helper.
std::vector<pid_t> HelpersOf(pid_t Parent) {
    std::vector<pid_t> out;
    const QString helper = QFileInfo(MetafileHelperPath()).canonicalFilePath();
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!number || !stat.open(QIODevice::ReadOnly)) continue;
        // pid (name) state ppid ...
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        if (fields.size() < 2 || fields[0] == "Z" || fields[1].toInt() != Parent) continue;
        if (QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).canonicalFilePath() == helper)
            out.push_back(pid);
    }
    return out;
}

bool Running(pid_t Pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(Pid));
    return stat.open(QIODevice::ReadOnly) && stat.readAll().split(')').last().trimmed().left(1) != "Z";
}

} // namespace

// Eight pictures that take their whole CPU time and fail: the screen paints
// their frames at once and is painted again when they are done; printing
// waits for them, and a page that shows them again costs nothing.
TEST(Metafile, TheScreenDoesNotWaitForPicturesAndFailuresAreKept) {
    SetMetafileTimeLimits(2000, MetafileLimits::WallTimeMs);
    QWidget widget;
    TPaintCounter counter;
    widget.installEventFilter(&counter);
    widget.show();
    QCoreApplication::processEvents();
    std::vector<QByteArray> bytes;
    for (int i = 0; i < 8; ++i)
        bytes.push_back(SmallWmf(i));
    const int before = MetafileConversionCount();
    {
        TBusyMetafileHelper busy;
        std::vector<std::unique_ptr<TMetafile>> page;
        {
            // The conversions are held until the frames are painted: a paint
            // that waited for one would wait for the hold.
            THeldMetafileHelper held;
            for (const QByteArray& b : bytes)
                page.push_back(Loaded(b));
            {
                TScreenPaintScope screen(&widget);
                for (const auto& meta : page)
                    EXPECT_EQ(Drawn(*meta, 60, 60).pixel(10, 10), qRgb(128, 128, 128));
            }
            EXPECT_FALSE(held.HeldTooLong());
            counter.Paints = 0;
        }
        for (const auto& meta : page)
            EXPECT_FALSE(meta->HasPicture());
        EXPECT_EQ(LastMetafileWorkSignal(), SIGXCPU);
        for (int i = 0; i < 6000 && counter.Paints == 0; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        EXPECT_GT(counter.Paints, 0);
        EXPECT_EQ(MetafileConversionCount(), before + 8);
    }
    // The same page opened again converts nothing; a sound picture shows on
    // the screen once it is ready.
    for (const QByteArray& b : bytes)
        EXPECT_FALSE(Loaded(b)->HasPicture());
    EXPECT_EQ(MetafileConversionCount(), before + 8);
    SetMetafileTimeLimits(MetafileLimits::CpuTimeMs, MetafileLimits::WallTimeMs);
    const std::unique_ptr<TMetafile> sound = Loaded(QuartersWmf());
    ASSERT_TRUE(sound->HasPicture());
    TScreenPaintScope screen(&widget);
    EXPECT_EQ(At(Drawn(*sound, 60, 30), 0.25, 0.25), qRgb(255, 255, 0));
    // A drawing that takes long to render is rendered on a thread: its frame
    // first, then the picture when the widget paints again.
    const std::unique_ptr<TMetafile> heavy = Loaded(PolylinesEmf(600, 400, 2000));
    ASSERT_TRUE(heavy->HasPicture());
    counter.Paints = 0;
    {
        THeldMetafileHelper held;
        EXPECT_EQ(Drawn(*heavy, 120, 80).pixel(10, 10), qRgb(128, 128, 128));
        EXPECT_FALSE(held.HeldTooLong());
    }
    // Rendered, the picture asks for a paint of the widget.
    WaitForMetafileWork();
    for (int i = 0; i < 10 && counter.Paints == 0; ++i)
        QCoreApplication::processEvents();
    EXPECT_GT(counter.Paints, 0);
    EXPECT_GT(Ink(Drawn(*heavy, 120, 80), 0, 0, 1, 1), 1000);
}

// The helper is a program of its own: locks that other threads of this one
// hold (in malloc, fontconfig, a busy thread pool) never stop it; and the
// time that counts is its CPU time, however loaded the machine.
TEST(Metafile, ConversionsNeverWaitForLocksOrALoadedMachine) {
    std::atomic<bool> stop = false;
    for (int i = 0; i < 4; ++i)
        QThreadPool::globalInstance()->start([&] {
            while (!stop) {
                std::vector<std::string> v(64, std::string(200, 'x'));
                v.clear();
            }
        });
    std::thread fonts([&] {
        while (!stop) {
            FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:bold"));
            FcConfigSubstitute(nullptr, p, FcMatchPattern);
            FcDefaultSubstitute(p);
            FcResult result;
            if (FcPattern* m = FcFontMatch(nullptr, p, &result)) FcPatternDestroy(m);
            FcPatternDestroy(p);
        }
    });
    // A helper stuck on a lock would be ended at the wall-clock limit and
    // its picture lost: the first such loss ends the round.
    int converted = 0;
    for (TMetafileSvg svg; converted < 40; ++converted)
        if (!ConvertMetafile(
                TWmfBuilder(100, 100).WindowExt(100, 100).Brush(converted).Rectangle(0, 0, 50, 50).Bytes(),
                false, svg))
            break;
    stop = true;
    fonts.join();
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(converted, 40);

    std::vector<std::unique_ptr<QProcess>> busy;
    for (int i = 0; i < 8; ++i) {
        busy.push_back(std::make_unique<QProcess>());
        busy.back()->start(QStringLiteral("/bin/sh"),
                           {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
    }
    const std::unique_ptr<TMetafile> meta = Loaded(TwentyThousandRecords());
    EXPECT_TRUE(meta->HasPicture());
    EXPECT_EQ(At(Drawn(*meta, 100, 100), 0.2, 0.2), qRgb(255, 0, 0));
    for (const auto& p : busy) {
        p->kill();
        p->waitForFinished();
    }
}

// A program killed while a helper works for it leaves no helper behind.
TEST(Metafile, AHelperEndsWithItsProgram) {
    if (qEnvironmentVariableIsSet("PRAVOLIN_KILLED_PROGRAM")) {
        // The program that is killed: a helper renders a drawing for it that
        // takes over a minute of CPU time, longer than the test waits.
        QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"600\" height=\"400\">";
        for (int i = 0; i < 2000; ++i) {
            svg += "<polyline fill=\"none\" stroke=\"black\" points=\"";
            for (int k = 0; k < 100; ++k)
                svg += QByteArray::number((k * 6 + i) % 600) + ',' +
                       QByteArray::number((i * 7 + k * 13) % 400) + ' ';
            svg += "\"/>";
        }
        SetMetafileTimeLimits(600000, 600000);
        QImage image;
        RenderMetafileSvg(svg + "</svg>", QRectF(0, 0, 1, 1), QSize(2000, 2000), image);
        return;
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PRAVOLIN_KILLED_PROGRAM"), QStringLiteral("1"));
    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=Metafile.AHelperEndsWithItsProgram")});
    ASSERT_TRUE(program.waitForStarted());
    std::vector<pid_t> helpers;
    // However long the program takes to start on a loaded machine: it
    // renders for longer.
    while (helpers.empty() && program.state() == QProcess::Running && !program.waitForFinished(20))
        helpers = HelpersOf(static_cast<pid_t>(program.processId()));
    ASSERT_EQ(helpers.size(), 1u);
    kill(static_cast<pid_t>(program.processId()), SIGKILL);
    program.waitForFinished();
    for (int i = 0; i < 3000 && Running(helpers[0]); ++i)
        QThread::msleep(20);
    EXPECT_FALSE(Running(helpers[0]));
}

namespace {

// The enhanced metafile drawn with a solid pen Width pixels wide, created
// and selected before its first record.
QByteArray WithPen(const QByteArray& Emf, int Width) {
    QByteArray pen;
    for (const uint32_t v :
         {95u, 52u, 1u, 0u, 0u, 0u, 0u, 0x10000u, uint32_t(Width), 0u, 0u, 0u, 0u, 37u, 12u, 1u})
        AppendLe32(pen, v);
    const qsizetype header = ReadLe32(Emf, 4);
    QByteArray out = Emf.left(header) + pen + Emf.mid(header);
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(out.size()), out.data() + 48);
    qToLittleEndian<uint32_t>(ReadLe32(out, 52) + 2, out.data() + 52);
    qToLittleEndian<uint16_t>(std::max<uint16_t>(ReadLe16(out, 56), 2), out.data() + 56);
    return out;
}

} // namespace

// A picture too heavy to draw at a size (the helper that renders it overruns
// the CPU time of a conversion) is drawn as its frame within that bound, and
// not tried again at that size or a larger one; smaller, it may draw.
TEST(Metafile, APictureTooHeavyToDrawShowsItsFrameWithinTheBound) {
    SetMetafileTimeLimits(1000, MetafileLimits::WallTimeMs);
    // Its lines three pixels wide and smooth: hairlines, drawn through
    // whole pixels, take a fraction of the time.
    const QByteArray corpus = HeavyEmf();
    if (corpus.isEmpty()) GTEST_SKIP() << "no corpus at " << SharedCorpusDir().toStdString();
    const QByteArray bytes = WithPen(corpus, 3);
    const std::unique_ptr<TMetafile> heavy = Loaded(bytes);
    ASSERT_TRUE(heavy->HasPicture());
    const int renders = MetafileRenderCount();
    const QImage frame = Drawn(*heavy, 600, 300);
    EXPECT_EQ(MetafileRenderCount(), renders + 1);
    EXPECT_TRUE(LastMetafileRenderSignal() == SIGXCPU || LastMetafileRenderSignal() == SIGKILL)
        << LastMetafileRenderSignal();
    EXPECT_EQ(frame.pixel(10, 10), qRgb(128, 128, 128));
    EXPECT_EQ(frame.pixel(609, 309), qRgb(128, 128, 128));
    EXPECT_EQ(Ink(frame, 0.01, 0.01, 0.99, 0.99), 0); // nothing drawn half
    // Not tried again, at that size or a larger one.
    EXPECT_EQ(Drawn(*heavy, 600, 300), frame);
    EXPECT_EQ(heavy->ToImage().pixel(500, 250), qRgb(255, 255, 255)); // 1000 x 500
    EXPECT_EQ(MetafileRenderCount(), renders + 1);
    // On the screen too: the frame at once, and no paint again for it.
    QWidget widget;
    TPaintCounter counter;
    widget.installEventFilter(&counter);
    widget.show();
    QCoreApplication::processEvents();
    counter.Paints = 0;
    {
        TScreenPaintScope screen(&widget);
        EXPECT_EQ(Drawn(*heavy, 600, 300), frame);
    }
    for (int i = 0; i < 30; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    EXPECT_EQ(counter.Paints, 0);
    EXPECT_EQ(MetafileRenderCount(), renders + 1);
    // A stamp of it is light enough.
    EXPECT_GT(Ink(Drawn(*heavy, 30, 15), 0, 0, 1, 1), 100);
    EXPECT_EQ(MetafileRenderCount(), renders + 2);
    SetMetafileTimeLimits(MetafileLimits::CpuTimeMs, MetafileLimits::WallTimeMs);
}

namespace {

// Counts the conversions that start on threads other than the
// application's while it lives.
class TConversionsOnThreads {
public:
    TConversionsOnThreads() {
        s_offMainThread = 0;
        SetMetafileWorkStandIn(&Count);
    }
    ~TConversionsOnThreads() { SetMetafileWorkStandIn(nullptr); }
    TConversionsOnThreads(const TConversionsOnThreads&) = delete;
    TConversionsOnThreads& operator=(const TConversionsOnThreads&) = delete;
    int OffMainThread() const { return s_offMainThread; }

private:
    static void Count(TMetafileWork Step) {
        if (Step == TMetafileWork::Converting &&
            QThread::currentThread() != QCoreApplication::instance()->thread())
            ++s_offMainThread;
    }
    static inline std::atomic<int> s_offMainThread{0};
};

// Whether the picture drawn by Drawn is its frame alone: grey corners,
// nothing inside.
bool OnlyTheFrame(const QImage& Image) {
    return Image.pixel(10, 10) == qRgb(128, 128, 128) &&
           Image.pixel(Image.width() - 11, Image.height() - 11) == qRgb(128, 128, 128) &&
           Ink(Image, 0.02, 0.02, 0.98, 0.98) == 0;
}

} // namespace

// A conversion that throws on its thread (as an allocation that fails in a
// library would) fails that picture only: the program goes on, whoever waits
// for the picture is answered, the screen and paper show its frame, and the
// threads of the store go on converting other pictures.
TEST(Metafile, AConversionThatThrowsOnItsThreadCostsOnlyThePicture) {
    QWidget widget;
    // Bytes of its own: the store keeps every picture it has seen.
    const QByteArray bytes =
        TWmfBuilder(800, 400).WindowExt(800, 400).Brush(Red).Rectangle(0, 0, 777, 399).Bytes();
    {
        TThrowingMetafileWork failing(TMetafileWork::Converting);
        const std::unique_ptr<TMetafile> meta = Loaded(bytes);
        // The conversion starts with the load, on a thread of the store;
        // nothing here asks for the picture before that thread is done
        // (one who asks first converts it himself).
        WaitForMetafileWork();
        EXPECT_EQ(failing.Throws(), 1);
        EXPECT_EQ(failing.ThrowsOffMainThread(), 1);
        EXPECT_FALSE(meta->HasPicture());
        {
            TScreenPaintScope screen(&widget);
            EXPECT_TRUE(OnlyTheFrame(Drawn(*meta, 80, 40)));
        }
        EXPECT_TRUE(OnlyTheFrame(Drawn(*meta, 80, 40)));
        EXPECT_EQ(failing.Throws(), 1); // a failure is kept
    }
    EXPECT_FALSE(Loaded(bytes)->HasPicture());
    // The threads of the store go on: the next picture (of bytes of its own
    // too) converts on one.
    std::unique_ptr<TMetafile> sound;
    {
        TConversionsOnThreads conversions;
        sound =
            Loaded(TWmfBuilder(800, 400).WindowExt(800, 400).Brush(Yellow).Rectangle(0, 0, 401, 201).Bytes());
        WaitForMetafileWork();
        EXPECT_EQ(conversions.OffMainThread(), 1);
    }
    ASSERT_TRUE(sound->HasPicture());
    EXPECT_EQ(At(Drawn(*sound, 60, 30), 0.25, 0.25), qRgb(255, 255, 0));
    EXPECT_EQ(At(Drawn(*sound, 60, 30), 0.75, 0.75), qRgb(255, 255, 255));
}

// A rendering that throws on a thread of the store (the screen leaves a
// heavy drawing to one) leaves the picture as a picture too heavy at that
// size: its frame on the screen and on paper, not tried again at that size;
// at another size it draws.
TEST(Metafile, ARenderingThatThrowsOnItsThreadShowsTheFrameAtThatSize) {
    QWidget widget;
    widget.show();
    QCoreApplication::processEvents();
    const std::unique_ptr<TMetafile> heavy = Loaded(PolylinesEmf(500, 300, 2000));
    ASSERT_TRUE(heavy->HasPicture());
    {
        TThrowingMetafileWork failing(TMetafileWork::Rendering);
        {
            TScreenPaintScope screen(&widget);
            EXPECT_TRUE(OnlyTheFrame(Drawn(*heavy, 120, 72)));
        }
        // Drawn here before the thread is done, it would render here.
        WaitForMetafileWork();
        EXPECT_EQ(failing.Throws(), 1);
        EXPECT_EQ(failing.ThrowsOffMainThread(), 1);
        for (int i = 0; i < 30; ++i)
            QCoreApplication::processEvents();
        EXPECT_TRUE(OnlyTheFrame(Drawn(*heavy, 120, 72)));
        {
            TScreenPaintScope screen(&widget);
            EXPECT_TRUE(OnlyTheFrame(Drawn(*heavy, 120, 72)));
        }
        EXPECT_EQ(failing.Throws(), 1);
    }
    EXPECT_TRUE(OnlyTheFrame(Drawn(*heavy, 120, 72)));
    EXPECT_GT(Ink(Drawn(*heavy, 60, 36), 0, 0, 1, 1), 100);
}

// The helper renders a picture pixel for pixel as the program does: shapes,
// a hairline, a bitmap, and text in a face of the system and in one the
// program added.
TEST(Metafile, TheHelperRendersAPictureAsTheProgramDoes) {
    ASSERT_FALSE(ProgramFontFiles().isEmpty()); // Tahoma, from the wine fonts
    const QByteArray png = PlainPng(4, 4, qRgb(0, 128, 255));
    const QByteArray svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "width=\"300\" height=\"120\"><rect x=\"5\" y=\"5\" width=\"100\" height=\"50\" fill=\"#ffff00\" "
        "stroke=\"#ff0000\" stroke-width=\"3\"/><polyline points=\"0,119 150,60 299,119\" fill=\"none\" "
        "stroke=\"#000000\"/><polyline points=\"20,115 280,100\" fill=\"none\" stroke=\"#0000ff\" "
        "stroke-width=\"1\" vector-effect=\"non-scaling-stroke\"/>"
        "<image x=\"200\" y=\"10\" width=\"40\" height=\"40\" "
        "xlink:href=\"data:image/png;base64," +
        png.toBase64() +
        "\"/><text x=\"10\" y=\"90\" font-family=\"Tahoma\" font-size=\"20\">Gr\xC3\xB6\xC3\x9F"
        "e</text>"
        "<text x=\"150\" y=\"110\" font-family=\"Liberation Serif\" font-size=\"16\">Zahl 42</text></svg>";
    const QRectF place(0.05, 0.1, 0.9, 0.8);
    QImage here(330, 140, QImage::Format_ARGB32_Premultiplied);
    RasterizeMetafileSvg(svg, place, here);
    QImage there;
    ASSERT_TRUE(RenderMetafileSvg(svg, place, here.size(), there));
    EXPECT_EQ(there.format(), here.format());
    EXPECT_TRUE(there == here);
    // The text is there: a face that was missing would draw another.
    EXPECT_GT(Ink(there.convertToFormat(QImage::Format_RGB32), 0.05, 0.55, 0.45, 0.8), 50);
}

// A pen wider than a pixel keeps its width, in proportion to the size the
// picture is drawn at: a line four pixels wide, written by the canvas into
// an enhanced metafile and into a Windows metafile, is four pixels wide at
// the picture's size and twelve at three times its size.
TEST(Metafile, AWidePenKeepsItsWidthInBothFormats) {
    for (bool enhanced : {true, false}) {
        SCOPED_TRACE(enhanced ? "enhanced" : "Windows");
        TMetafile meta;
        meta.SetWidth(200);
        meta.SetHeight(100);
        meta.SetEnhanced(enhanced);
        {
            TMetafileCanvas c(&meta);
            c.Pen()->SetWidth(4);
            c.MoveTo(10, 50);
            c.LineTo(190, 50);
        }
        const std::unique_ptr<TMetafile> loaded = Loaded(meta.SaveToStream());
        for (int times : {1, 3}) {
            QImage image(200 * times, 100 * times, QImage::Format_RGB32);
            image.fill(Qt::white);
            TCanvas c(&image);
            loaded->Draw(c, Bounds(0, 0, image.width(), image.height()));
            c.Release();
            int rows = 0;
            for (int y = 0; y < image.height(); ++y)
                rows += qGray(image.pixel(image.width() / 2, y)) < 128;
            EXPECT_EQ(rows, 4 * times) << times;
        }
    }
}

namespace {

// The pixels of Image that should be an outline one pixel wide around the
// rectangle R, and inside it the yellow fill, that are not.
int OutlineFaults(const QImage& Image, const QRect& R, const std::string& What) {
    int faults = 0;
    const auto expect = [&](int X, int Y, bool Black) {
        const int grey = qGray(Image.pixel(X, Y));
        if (Black ? grey <= 40 : grey >= 200) return;
        if (++faults <= 4)
            ADD_FAILURE() << What << ": pixel " << X << "," << Y << " is grey " << grey
                          << (Black ? ", not black" : ", not the fill");
    };
    for (int x = R.left(); x <= R.right(); ++x) {
        expect(x, R.top(), true);
        expect(x, R.bottom(), true);
        if (x > R.left() && x < R.right()) {
            expect(x, R.top() + 1, false);
            expect(x, R.bottom() - 1, false);
        }
    }
    for (int y = R.top() + 1; y < R.bottom(); ++y) {
        expect(R.left(), y, true);
        expect(R.right(), y, true);
        if (y > R.top() + 1 && y < R.bottom() - 1) {
            expect(R.left() + 1, y, false);
            expect(R.right() - 1, y, false);
        }
    }
    return faults;
}

} // namespace

// A yellow rectangle over a 200 x 100 picture, outlined by the pen a picture
// starts with (an enhanced metafile, and its Windows metafile copy) or by
// the canvas's pen of width 1 (a Windows metafile written directly): the
// outline is a solid black line one device pixel wide all round, inside the
// rectangle's right and bottom edges, at the picture's size, three times
// as large, and on paper at 600 pixels per inch.
TEST(Metafile, ThinPensDrawSolidLinesOnePixelWideOnScreenAndOnPaper) {
    const QByteArray emf = TEmfBuilder(200, 100).Brush(Yellow).Rectangle(0, 0, 200, 100).Bytes();
    TMetafile written;
    written.SetWidth(200);
    written.SetHeight(100);
    {
        TMetafileCanvas c(&written);
        c.Brush()->SetColor(clYellow);
        c.Rectangle(0, 0, 200, 100);
    }
    const std::vector<std::pair<std::string, QByteArray>> pictures = {
        {"enhanced", emf},
        {"its copy", WindowsMetafileOf(emf)},
        {"written directly", written.SaveToStream()}};
    std::vector<std::unique_ptr<TMetafile>> loaded;
    for (const auto& [what, bytes] : pictures) {
        loaded.push_back(Loaded(bytes));
        ASSERT_TRUE(loaded.back()->HasPicture()) << what;
        for (int times : {1, 3}) {
            QImage image(200 * times, 100 * times, QImage::Format_RGB32);
            image.fill(Qt::white);
            TCanvas c(&image);
            loaded.back()->Draw(c, Bounds(0, 0, image.width(), image.height()));
            c.Release();
            OutlineFaults(image, image.rect(), what + " x" + std::to_string(times));
        }
    }

    TPdfPrinter printer(QStringLiteral("haarlinien.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    TPrinter* p = Printer();
    ASSERT_TRUE(p->BeginDoc());
    for (size_t i = 0; i < loaded.size(); ++i)
        loaded[i]->Draw(*p->Canvas(), Bounds(100, 100 + 800 * static_cast<int>(i), 1250, 625));
    ASSERT_TRUE(p->EndDoc());
    // The pictures on the page, each one pixel of its own to a printer pixel.
    const QString prefix = printer.Dir.filePath(QStringLiteral("bild"));
    QByteArray list, error;
    QString ran = RunReader(QStringLiteral("pdfimages"), {"-list", printer.Pdf}, &list, &error, 60000);
    ASSERT_TRUE(ran.isEmpty()) << ran.toStdString() << error.toStdString();
    static const QRegularExpression size(QStringLiteral("\\s1250\\s+625\\s"));
    EXPECT_EQ(QString::fromUtf8(list).count(size), 3) << list.constData();
    ran = RunReader(QStringLiteral("pdfimages"), {"-png", printer.Pdf, prefix}, nullptr, &error, 60000);
    ASSERT_TRUE(ran.isEmpty()) << ran.toStdString() << error.toStdString();
    for (size_t i = 0; i < loaded.size(); ++i) {
        const QImage printed(prefix + QStringLiteral("-%1.png").arg(i, 3, 10, QLatin1Char('0')));
        ASSERT_EQ(printed.size(), QSize(1250, 625));
        OutlineFaults(printed, printed.rect(), pictures[i].first + " printed");
    }
}
