// Printing to PDF and the clipboard.
#include "platform/Graphics.h"
#include "platform/Clipboard.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"

#include "support/PdfPrinter.h"
#include "support/Readers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

TEST(GraphicsPrinter, TwoPagesGiveAPdfFile) {
    const QString dir = QStringLiteral(PRAVOLIN_TEST_OUTPUT);
    QDir().mkpath(dir);
    const QString file = dir + "/two-pages.pdf";
    QFile::remove(file);
    TPrinter printer;
    printer.SetOutputFileName(file);
    printer.SetTitle("Test");
    EXPECT_EQ(printer.Printers(), QStringList{"PDF"});
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PixelsPerInchY(), 600);
    EXPECT_EQ(printer.Canvas()->PixelsPerInchX(), 600);
    EXPECT_GT(printer.PageWidth(), 4000);
    EXPECT_GT(printer.PageHeight(), printer.PageWidth());
    printer.Canvas()->Font()->SetSize(12);
    EXPECT_EQ(printer.Canvas()->Font()->Height(), -100);
    printer.Canvas()->TextOut(600, 600, "Seite 1");
    printer.Canvas()->Rectangle(600, 1000, 1200, 1600);
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Canvas()->TextOut(600, 600, "Seite 2");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 2);
    // Printing twice in a row is refused, not nested.
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_FALSE(printer.BeginDoc());
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
}

TEST(GraphicsPrinter, ProgramPrinterIsOneObject) {
    EXPECT_EQ(Printer(), Printer());
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_EQ(Printer()->Canvas()->Font()->PixelsPerInch(), Printer()->PixelsPerInchY());
}

TEST(GraphicsClipboard, TextRoundTrip) {
    Clipboard()->SetAsText(QStringLiteral("Grüße √2"));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("Grüße √2"));
    EXPECT_EQ(Clipboard()->GetAsHandle(CF_UNICODETEXT).size(), 16);
    Clipboard()->SetAsHandle(CF_TEXT, QByteArray("\x80 5", 3));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("€ 5"));
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), QString());
}

TEST(GraphicsClipboard, BitmapRoundTrip) {
    TBitmap bmp(6, 4);
    bmp.Canvas()->SetPixel(5, 3, RGB(1, 2, 3));
    Clipboard()->Assign(bmp);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    TBitmap back;
    ASSERT_TRUE(Clipboard()->GetBitmap(back));
    EXPECT_EQ(back.Width(), 6);
    EXPECT_EQ(back.Height(), 4);
    EXPECT_EQ(back.Canvas()->Pixel(5, 3), RGB(1, 2, 3));
    Clipboard()->SetAsText("x");
    TBitmap untouched(2, 2);
    EXPECT_FALSE(Clipboard()->GetBitmap(untouched));
    EXPECT_EQ(untouched.Width(), 2);
}

TEST(GraphicsClipboard, NamedFormatsBatchedWithText) {
    const TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
    EXPECT_GE(rtf, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("rich text format"), rtf);
    EXPECT_NE(RegisterClipboardFormat("Other Format"), rtf);
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);
    EXPECT_EQ(ClipboardFormatName(rtf), "Rich Text Format");
    const QByteArray data("{\\rtf1 x}\0tail", 14);
    Clipboard()->Open();
    Clipboard()->SetAsText("x");
    Clipboard()->SetAsHandle(rtf, data);
    Clipboard()->Close();
    EXPECT_TRUE(Clipboard()->HasFormat(rtf));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->GetAsHandle(rtf), data);
    // Outside a batch a new format replaces everything.
    Clipboard()->SetAsText("y");
    EXPECT_FALSE(Clipboard()->HasFormat(rtf));
    EXPECT_EQ(Clipboard()->GetAsHandle(rtf), QByteArray());
}

namespace {

// Thin lines of every kind in black, inside 400 x 300 pixels.
void DrawThinLines(TCanvas& C) {
    C.Pen()->SetColor(clBlack);
    C.Pen()->SetWidth(1);
    C.Brush()->SetStyle(bsClear);
    C.MoveTo(10, 10);
    C.LineTo(390, 10);
    C.LineTo(390, 290);
    C.MoveTo(380, 280);
    C.LineTo(20, 280);
    C.LineTo(20, 20);
    C.Rectangle(40, 40, 141, 91);
    C.Polyline({{60, 120}, {160, 120}, {160, 200}, {60, 200}});
    C.MoveTo(200, 40);
    C.LineTo(330, 110);
    C.MoveTo(330, 130);
    C.LineTo(210, 260);
    C.Pen()->SetStyle(psDot);
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clWhite);
    C.MoveTo(40, 240);
    C.LineTo(180, 240);
    C.Pen()->SetStyle(psDashDot);
    C.Brush()->SetStyle(bsClear);
    C.MoveTo(190, 40);
    C.LineTo(190, 250);
    C.Pen()->SetStyle(psSolid);
}

} // namespace

// A printer takes a thin line as a few rectangles, not a point per printer
// pixel, and poppler shows it with exactly the pixels of an image canvas.
TEST(GraphicsPrinter, ThinLinesPrintAsLinesWithTheCanvasPixels) {
    TPdfPrinter printer(QStringLiteral("linien.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    TPrinter* p = Printer();
    ASSERT_TRUE(p->BeginDoc());
    DrawThinLines(*p->Canvas());
    // A page of long borders, as a long table prints them.
    for (int i = 0; i < 100; ++i) {
        p->Canvas()->MoveTo(500 + 40 * i, 400);
        p->Canvas()->LineTo(500 + 40 * i, 6800);
        p->Canvas()->MoveTo(500, 400 + 64 * i);
        p->Canvas()->LineTo(4500, 400 + 64 * i);
    }
    ASSERT_TRUE(p->EndDoc());
    EXPECT_LT(QFileInfo(printer.Pdf).size(), 30000);

    QImage expected(400, 300, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        TCanvas c(&expected);
        DrawThinLines(c);
    }
    QByteArray pgm, err;
    const QString ran = RunReader(QStringLiteral("pdftoppm"),
                                  {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"), QStringLiteral("-x"), QStringLiteral("0"),
                                   QStringLiteral("-y"), QStringLiteral("0"), QStringLiteral("-W"),
                                   QStringLiteral("400"), QStringLiteral("-H"), QStringLiteral("300"),
                                   QStringLiteral("-singlefile"), printer.Pdf},
                                  &pgm, &err, 60000);
    ASSERT_TRUE(ran.isEmpty()) << ran.toStdString() << err.toStdString();
    const QImage printed = QImage::fromData(pgm, "PGM");
    ASSERT_EQ(printed.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if ((qGray(expected.pixel(x, y)) < 128) != (qGray(printed.pixel(x, y)) < 128))
                if (++differing <= 5) ADD_FAILURE() << "pixel " << x << "," << y;
    EXPECT_EQ(differing, 0);
}

namespace {

// Frames as a table draws its borders on paper: six concentric one-pixel
// lines per side, light above and left, dark below and right; a frame of
// concentric rectangles; then a fill over part of them and a dotted line
// over the fill, which must come out on top.
void DrawFrames(TCanvas& C, int Top) {
    C.Pen()->SetWidth(1);
    C.Pen()->SetStyle(psSolid);
    for (int f = 0; f < 3; ++f) {
        const int l = 20 + f * 120, t = Top, r = l + 100, b = t + 60;
        for (int i = 0; i < 6; ++i) {
            C.Pen()->SetColor(clSilver);
            C.MoveTo(l + i, t + i);
            C.LineTo(r - i + 1, t + i);
            C.MoveTo(l + i, t + i);
            C.LineTo(l + i, b - i + 1);
            C.Pen()->SetColor(clGray);
            C.MoveTo(l + i, b - i);
            C.LineTo(r - i + 1, b - i);
            C.MoveTo(r - i, t + i);
            C.LineTo(r - i, b - i + 1);
        }
    }
    C.Brush()->SetStyle(bsClear);
    C.Pen()->SetColor(clBlue);
    for (int i = 0; i < 5; ++i)
        C.Rectangle(40 + i, Top + 90 + i, 300 - i, Top + 150 - i);
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clRed);
    C.FillRect(Rect(250, Top + 30, 330, Top + 120));
    C.Pen()->SetColor(clBlack);
    C.Pen()->SetStyle(psDot);
    C.Brush()->SetStyle(bsClear);
    C.MoveTo(10, Top + 100);
    C.LineTo(390, Top + 100);
    C.Pen()->SetStyle(psSolid);
}

} // namespace

// The lines of a frame go to the printer together, as a few figures, in the
// order they were drawn among the rest, and on the page they were drawn on;
// only the pixels where the sides meet at a slant may differ from a picture.
TEST(GraphicsPrinter, FramesPrintAsFewFiguresWithTheCanvasPixels) {
    TPdfPrinter printer(QStringLiteral("rahmen.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    TPrinter* p = Printer();
    ASSERT_TRUE(p->BeginDoc());
    for (int row = 0; row < 40; ++row)
        DrawFrames(*p->Canvas(), 200 + row * 160);
    p->NewPage();
    DrawFrames(*p->Canvas(), 0);
    p->NewPage();
    ASSERT_TRUE(p->EndDoc());
    // 40 rows of frames and a fill on a page: a few kilobytes, not a path per line.
    EXPECT_LT(QFileInfo(printer.Pdf).size(), 40000);

    QImage expected(400, 160, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        TCanvas c(&expected);
        DrawFrames(c, 0);
    }
    for (int page : {2, 3}) {
        QByteArray ppm, err;
        const QString ran = RunReader(
            QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-f"), QString::number(page),
             QStringLiteral("-l"), QString::number(page), QStringLiteral("-x"), QStringLiteral("0"),
             QStringLiteral("-y"), QStringLiteral("0"), QStringLiteral("-W"), QStringLiteral("400"),
             QStringLiteral("-H"), QStringLiteral("160"), QStringLiteral("-singlefile"), printer.Pdf},
            &ppm, &err, 60000);
        ASSERT_TRUE(ran.isEmpty()) << ran.toStdString() << err.toStdString();
        const QImage printed = QImage::fromData(ppm, "PPM");
        ASSERT_EQ(printed.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < printed.height(); ++y)
            for (int x = 0; x < printed.width(); ++x) {
                const QRgb a = expected.pixel(x, y), b = printed.pixel(x, y);
                if (page == 3) {
                    // The page after the frames is empty.
                    if (qGray(b) != 255 && ++differing <= 5) ADD_FAILURE() << "page 3 at " << x << "," << y;
                } else if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                               std::abs(qBlue(a) - qBlue(b)) >
                           96) {
                    ++differing;
                }
            }
        // Five pixels or fewer on each slanted corner line of the frames.
        EXPECT_LE(differing, page == 2 ? 3 * 4 * 6 + 4 * 5 : 0) << "page " << page;
    }
}
