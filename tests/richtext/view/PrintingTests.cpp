// Printing into PDF files read back with poppler: pages, copies and their
// order, failing jobs, colour modes, and real documents page by page.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <stdexcept>

#include "PrintTestDoc.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "support/Corpus.h"

namespace {

QString Lines(int From, int To) {
    QStringList l;
    for (int i = From; i <= To; ++i)
        l << QStringLiteral("Zeile %1").arg(i);
    return l.join(QLatin1Char(' '));
}

} // namespace

TEST_F(PrintTest, PrintedPagesHoldTheirLines) {
    AddLines(100);
    std::vector<std::pair<int, int>> sent;
    Print.OnSendingToPrinter = [&](TCustomRichPad*, int Page, TRPPrintingStep Step) {
        sent.emplace_back(Page, Step);
    };
    Print.AssignSource(&View);
    Print.FormatPages();
    ASSERT_EQ(Print.GetPagesCount(), 3);
    ASSERT_TRUE(Print.Print(QStringLiteral("Zeilen"), 1, false)) << Print.LastError().toStdString();
    EXPECT_EQ(PdfPages(Pdf), (QStringList{Lines(1, 48), Lines(49, 96), Lines(97, 100)}));
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1}, {3, 1}, {0, 2}}));
    EXPECT_EQ(Printer()->Title(), QStringLiteral("Zeilen"));
}

TEST_F(PrintTest, CopiesComeInTheOrderAskedForWhenTheDriverCannotMakeThem) {
    View.AddText("Seite A", 0, 0);
    View.AddText("Seite B", 0, 0);
    View.RPData()->GetItem(1)->SetPageBreakBefore(true);
    Printer()->SetCopies(3);
    const auto printTwo = [&](bool Collate) {
        Print.AssignSource(&View);
        Print.FormatPages();
        EXPECT_TRUE(Print.Print(QStringLiteral("Kopien"), 2, Collate));
        // The printer's own copy count is back as it was.
        EXPECT_EQ(Printer()->Copies(), 3);
        return PdfPages(Pdf);
    };
    EXPECT_EQ(printTwo(false), (QStringList{"Seite A", "Seite A", "Seite B", "Seite B"}));
    EXPECT_EQ(printTwo(true), (QStringList{"Seite A", "Seite B", "Seite A", "Seite B"}));
    // A driver that makes copies gets every page once.
    Printer()->CopySupportOverride = 1;
    EXPECT_EQ(printTwo(false), (QStringList{"Seite A", "Seite B"}));
}

TEST_F(PrintTest, FailureInTheMiddleOfAJobAbortsItAndSaysSo) {
    AddLines(100);
    Printer()->SetCopies(2);
    Print.OnPagePrepaint = [](TRPPrint*, int PageNo, TCanvas*, bool, const TRect&, const TRect&) {
        if (PageNo == 2) throw std::runtime_error("Papierstau");
    };
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_FALSE(Print.Print(QStringLiteral("Stau"), 1, false));
    EXPECT_EQ(Print.LastError(), QStringLiteral("Papierstau"));
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_TRUE(Printer()->Aborted());
    EXPECT_EQ(Printer()->Copies(), 2);
    // The copy has let go of the view's items, and the view still has all of them.
    EXPECT_EQ(Print.GetPagesCount(), 0);
    EXPECT_NE(Print.Data()->Items, View.RPData()->Items);
    EXPECT_EQ(Print.Data()->GetItemCount(), 0);
    EXPECT_EQ(View.ItemCount(), 100);
    // The next job runs normally.
    Print.OnPagePrepaint = nullptr;
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_TRUE(Print.Print(QStringLiteral("Stau"), 1, false));
    EXPECT_EQ(PdfPages(Pdf).size(), 3);
}

TEST_F(PrintTest, AfterPrintingTheViewMayChangeFreely) {
    AddLines(3);
    Print.AssignSource(&View);
    Print.FormatPages();
    ASSERT_TRUE(Print.Print(QStringLiteral("Frei"), 1, false));
    EXPECT_NE(Print.Data()->Items, View.RPData()->Items);
    EXPECT_EQ(Print.Data()->DrawItemCount(), 0);
    // Clearing the view and formatting or drawing the copy again touch no freed item.
    View.Clear();
    Print.FormatPages();
    EXPECT_EQ(Print.GetPagesCount(), 0);
    QImage img(10, 10, QImage::Format_RGB32);
    TCanvas c(&img);
    Print.PrintableRP()->DrawPage(1, c, false, false);
}

TEST_F(PrintTest, NoPrinterIsAClearFailure) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed here; this test would print on it";
    AddLines(3);
    Printer()->SetOutputFileName(QString());
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(Print.GetPagesCount(), 1);
    EXPECT_FALSE(Print.Print(QStringLiteral("Nichts"), 1, false));
    EXPECT_EQ(Print.LastError(), QStringLiteral("no printer is installed"));
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(PrintTest, PageNumbersOutsideTheDocumentDrawNothing) {
    AddLines(3);
    Print.AssignSource(&View);
    Print.FormatPages();
    QImage img(50, 50, QImage::Format_RGB32);
    img.fill(Qt::green);
    TCanvas c(&img);
    Print.PrintableRP()->DrawPage(0, c, false, false);
    Print.PrintableRP()->DrawPage(2, c, false, false);
    EXPECT_EQ(img.pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_THROW(Print.Data()->CheckPageNo(2), ERichPadError);
    EXPECT_EQ(Print.Data()->CheckPageNo(1), 1);
}

TEST_F(PrintTest, ViewEmptiedBetweenPaginationAndPrintingPrintsWhatIsLeft) {
    AddLines(60);
    Print.AssignSource(&View);
    Print.FormatPages();
    ASSERT_EQ(Print.GetPagesCount(), 2);
    View.Clear();
    EXPECT_TRUE(Print.Print(QStringLiteral("Leer"), 1, false));
    EXPECT_EQ(PdfPages(Pdf), (QStringList{QString(), QString()}));
}

// A small page drawn into a picture at 600 dpi: 40 x 20 mm, margins of 5 mm.
class PrintColourTest : public PrintTest {
protected:
    QImage DrawFirstPage(TRPColorMode Mode) {
        Printer()->SetPageSizeMM(40, 20);
        Print.SetLeftMarginMM(5);
        Print.SetTopMarginMM(5);
        Print.SetRightMarginMM(5);
        Print.SetBottomMarginMM(5);
        Print.SetColorMode(Mode);
        Print.AssignSource(&View);
        Print.FormatPages();
        EXPECT_EQ(Print.GetPagesCount(), 1);
        QImage img(Printer()->PageWidth(), Printer()->PageHeight(), QImage::Format_RGB32);
        img.fill(qRgb(0, 255, 0));
        TCanvas c(&img);
        c.Font()->SetPixelsPerInch(600);
        Print.PrintableRP()->DrawPage(1, c, false, false);
        return img;
    }
    static int Count(const QImage& Img, QRgb Colour) {
        int n = 0;
        for (int y = 0; y < Img.height(); ++y)
            for (int x = 0; x < Img.width(); ++x)
                n += Img.pixel(x, y) == Colour;
        return n;
    }
};

TEST_F(PrintColourTest, WhiteTextOnForcedWhitePaperPrintsBlack) {
    // White text on a black view.
    Style->TextStyles().GetItem(0)->Color = clWhite;
    View.SetColor(clBlack);
    View.AddText("WWWW", 0, 0);
    const QImage colour = DrawFirstPage(rpcmColor);
    // In colour: the print area is black, the margin untouched, the text white.
    EXPECT_EQ(colour.pixel(130, 130), qRgb(0, 0, 0));
    EXPECT_EQ(colour.pixel(20, 20), qRgb(0, 255, 0));
    EXPECT_GT(Count(colour, qRgb(255, 255, 255)), 1000);
    const QImage bw = DrawFirstPage(rpcmBlackAndWhite);
    // Black and white: white paper with black text.
    EXPECT_EQ(bw.pixel(130, 130), qRgb(255, 255, 255));
    EXPECT_GT(Count(bw, qRgb(0, 0, 0)), 1000);
}

// A rule drawn as a sunken frame prints its rings in the colour mode too:
// grey on paper in colour, black in black and white.
TEST_F(PrintColourTest, AFramedRulePrintsItsRingsInTheColourMode) {
    auto rule = CreateItemByStyleNo(View.RPData(), rpsnBreak);
    static_cast<TRPBreakItemInfo*>(rule.get())->Style = 2;
    static_cast<TRPBreakItemInfo*>(rule.get())->LineWidth = 3;
    View.RPData()->AddItem(std::string(), std::move(rule));
    const auto kinds = [](const QImage& Img) {
        int black = 0, grey = 0;
        for (int y = 118; y < Img.height() - 118; ++y)
            for (int x = 118; x < Img.width() - 118; ++x) {
                const QRgb p = Img.pixel(x, y);
                black += p == qRgb(0, 0, 0);
                grey += p != qRgb(0, 0, 0) && p != qRgb(255, 255, 255) && qRed(p) == qGreen(p);
            }
        return std::make_pair(black, grey);
    };
    const auto colour = kinds(DrawFirstPage(rpcmColor));
    EXPECT_GT(colour.second, 100);
    const auto bw = kinds(DrawFirstPage(rpcmBlackAndWhite));
    EXPECT_EQ(bw.second, 0);
    EXPECT_GT(bw.first, 100);
}

TEST_F(PrintColourTest, ClippedMarginsKeepWideItemsInThePrintArea) {
    View.AddText(std::string(40, 'W'), 0, 9); // paragraph style 9 does not wrap
    TRect area;
    Print.OnPagePrepaint = [&](TRPPrint* Sender, int PageNo, TCanvas*, bool Preview, const TRect&,
                               const TRect& A) {
        EXPECT_EQ(Sender, &Print);
        EXPECT_EQ(PageNo, 1);
        EXPECT_FALSE(Preview);
        area = A;
    };
    const QImage loose = DrawFirstPage(rpcmBlackOnWhite);
    EXPECT_EQ(area.Left, 118);
    EXPECT_EQ(area.Top, 118);
    // The line runs over the right margin...
    int beyond = 0;
    for (int x = area.Right; x < loose.width(); ++x)
        for (int y = area.Top; y < area.Bottom; ++y)
            beyond += loose.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_GT(beyond, 0);
    // ...unless the margins clip.
    Print.SetClipMargins(true);
    const QImage clipped = DrawFirstPage(rpcmBlackOnWhite);
    for (int x = area.Right; x < clipped.width(); ++x)
        for (int y = 0; y < clipped.height(); ++y)
            ASSERT_EQ(clipped.pixel(x, y), qRgb(0, 255, 0)) << x << "," << y;
}

namespace {

// Letters and digits only: what the printed text and the document have in
// common, whatever spacing and line ends pdftotext chooses.
QString Letters(const QString& s) {
    QString r;
    for (QChar c : s)
        if (c.isLetterOrNumber()) r += c;
    return r;
}

QString DrawItemText(TCustomRPFormattedData& D, int DItemNo) {
    std::string bytes;
    D.DrawItems->GetPieceText(DItemNo, *D.Items, bytes);
    if (D.GetItem(D.DrawItem(DItemNo)->ItemNo)->IsUnicode())
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    return QString::fromLatin1(bytes);
}

} // namespace

// Real documents printed: pdftotext finds on every page the text of the
// draw items that page holds, and pdftoppm renders the pages to look at.
TEST_F(PrintToPdfTest, CorpusDocumentsPrintTheirTextPageByPage) {
    const QString root = CorpusRtfDir() + QLatin1Char('/');
    if (!QFileInfo(root).isDir()) GTEST_SKIP() << "no corpus at " << root.toStdString();
    const QString out = QStringLiteral(PRAVOLIN_TEST_OUTPUT "/print-gallery");
    QDir().mkpath(out);
    for (const char* name : {"pandoc-writer/writer.rtf", "rtfpipe/rtf2xml/nested_lists_indents_word.rtf"}) {
        SCOPED_TRACE(name);
        const QString file = root + QString::fromLatin1(name);
        TRPStyle style;
        ASSERT_TRUE(LoadFile(style, file));
        Print.AssignSource(&View);
        Print.FormatPages();
        const int pages = Print.GetPagesCount();
        ASSERT_GE(pages, 1);
        TPrintableRPData* d = Print.Data();
        QStringList expected;
        for (int p = 1; p <= pages; ++p) {
            int start = 0, part = 0, end = 0;
            d->GetDrawItemsRange(p, start, part, end);
            QString text;
            for (int i = start; i <= end; ++i) {
                TCustomRPItemInfo* item = d->GetItem(d->DrawItem(i)->ItemNo);
                if (d->GetItemStyle(d->DrawItem(i)->ItemNo) >= 0)
                    text += DrawItemText(*d, i);
                else if (auto* marker = dynamic_cast<TRPMarkerItemInfo*>(item))
                    text += QString::fromLatin1(marker->DisplayString);
            }
            expected << Letters(text);
        }
        ASSERT_TRUE(Print.Print(QStringLiteral("Korpus"), 1, false)) << Print.LastError().toStdString();
        const QStringList printed = PdfPages(Pdf);
        ASSERT_EQ(printed.size(), pages);
        for (int p = 0; p < pages; ++p)
            EXPECT_EQ(Letters(printed[p]), expected[p]) << "page " << p + 1;
        const QString prefix = out + QLatin1Char('/') + QFileInfo(file).baseName();
        QProcess ppm;
        ppm.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), Pdf, prefix});
        ASSERT_TRUE(ppm.waitForFinished(60000));
        EXPECT_EQ(ppm.exitCode(), 0);
        View.SetStyle(Style.get());
        View.Clear();
    }
}

// A sub-document drawn into a rectangle of a page (what printed table cells build on).
TEST_F(PrintTest, RectangleDocumentDrawsItsSourceInItsPlace) {
    AddLines(1);
    Print.AssignSource(&View);
    Print.FormatPages();
    TRichPad cell(nullptr);
    cell.SetStyle(Style.get());
    cell.AddText("WW", 0, 0);
    TRectPtblRPData r(Print.PrintableRP(), cell.RPData(), Print.Data());
    r.Left = 1000;
    r.Top = 2000;
    r.DX = 10;
    r.DY = 20;
    r.Width = 400;
    r.Height = 300;
    r.Color = clYellow;
    EXPECT_EQ(r.Items, cell.RPData()->Items);
    EXPECT_EQ(r.GetPageOriginY(1), -2020);
    EXPECT_EQ(r.GetPrintAreaLeft(1), 1010);
    EXPECT_EQ(r.GetRootData(), Print.Data());
    TRPResolution res;
    r.FillResolution(nullptr, res);
    EXPECT_EQ(res.DeviceY, 600);

    QImage img(1600, 2600, QImage::Format_RGB32);
    img.fill(qRgb(0, 255, 0));
    TCanvas c(&img);
    c.Font()->SetPixelsPerInch(600);
    r.Format(false, true, false, 0, &c, false, false);
    ASSERT_EQ(r.DrawItemCount(), 1);
    r.DrawPage(1, c, false, false);
    // Its colour fills its rectangle and nothing around it; the text lies inside.
    EXPECT_EQ(img.pixel(1010, 2020), qRgb(255, 255, 0));
    EXPECT_EQ(img.pixel(1409, 2319), qRgb(255, 255, 0));
    EXPECT_EQ(img.pixel(1009, 2020), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(1410, 2320), qRgb(0, 255, 0));
    int dark = 0;
    for (int y = 2020; y < 2020 + 125; ++y)
        for (int x = 1010; x < 1010 + 250; ++x)
            dark += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(dark, 500);
    // Its source keeps the items when it goes.
    r.Detach();
    EXPECT_EQ(cell.ItemCount(), 1);
}
