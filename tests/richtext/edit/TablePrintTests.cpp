// Printing tables: parts cut between rows and groups of merged rows, heading
// rows repeated, and every cell's text once in the printed PDF.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "TableTestDoc.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "richtext/edit/RPTablePrint.h"
#include "richtext/view/RPPrint.h"
#include "richtext/view/RichPad.h"
#include "support/PdfPrinter.h"
#include "support/Readers.h"

namespace {

// Prints the formatted view into the printer's PDF and reads page Page of it
// back at screen resolution. Answers what went wrong, empty when Image holds it.
QString PrintedPage(TRichPad& View, const TPdfPrinter& Printer, const QString& Title, int Page,
                    QImage& Image) {
    TRPPrint print(nullptr);
    print.AssignSource(&View);
    print.FormatPages();
    if (!print.Print(Title, 1, false)) return print.LastError();
    return PdfPageImage(Printer.Pdf, Page, 96, Image);
}

class TableSplit : public TableFixture {
protected:
    // A print item over a made-up printer layout: rows of the given heights
    // starting 10 below the top, 2 apart, 10 below the last.
    std::unique_ptr<TRPTablePrintInfo> Info(TRPTableItemInfo* T, std::vector<int> Heights) {
        auto info = std::make_unique<TRPTablePrintInfo>(T);
        int y = 10;
        for (int h : Heights) {
            info->FormattingInfo.RowStarts.Add(y);
            info->FormattingInfo.RowHeights.Add(h);
            y += h + 2;
        }
        info->FormattingInfo.Height = y - 2 + 10;
        return info;
    }
    static std::string Parts(const TRPTablePrintInfo& I) {
        std::string s;
        for (int i = 0; i < I.PartsList.Count(); ++i)
            s += (i ? " " : "") + std::to_string(I.GetPart(i)->StartRow) + "+" +
                 std::to_string(I.GetPart(i)->RowCount) + ":" + std::to_string(I.GetPart(i)->Height);
        return s;
    }
};

TEST_F(TableSplit, RowsSplitWithHeadingsRepeated) {
    auto t = Make(6, 2);
    t->HeadingRowCount = 1;
    auto info = Info(t.get(), {20, 30, 30, 30, 30, 30});
    ASSERT_TRUE(info->RepeatHeading);
    ASSERT_TRUE(info->InitSplit());
    EXPECT_EQ(Parts(*info), "1+5:200");
    // Every part: the block above the first body row (32), its rows, 10 below.
    EXPECT_TRUE(info->CanPlaceFirstPart(73));
    EXPECT_FALSE(info->CanPlaceFirstPart(72));
    EXPECT_TRUE(info->SplitAt(120));
    EXPECT_EQ(Parts(*info), "1+2:104 3+3:136");
    EXPECT_TRUE(info->SplitAt(120));
    EXPECT_EQ(Parts(*info), "1+2:104 3+2:104 5+1:72");
    EXPECT_FALSE(info->SplitAt(50)); // one row left: not cut further
}

TEST_F(TableSplit, MergedRowsStayTogetherAndHeadingsIntoTheBodyRepeatNothing) {
    auto t = Make(5, 2);
    t->Rows->MergeCells(1, 0, 1, 3, true, false); // rows 1..3 joined
    auto info = Info(t.get(), {30, 30, 30, 30, 30});
    EXPECT_FALSE(info->RepeatHeading);
    EXPECT_EQ(info->GroupEnd(1), 3);
    EXPECT_EQ(info->CutRow(3), 1);
    ASSERT_TRUE(info->InitSplit());
    // Room for rows 0 and 1 only: the cut goes before the group.
    EXPECT_TRUE(info->SplitAt(90));
    EXPECT_EQ(Parts(*info), "0+1:50 1+4:146");
    // Even when the group does not fit, a part keeps it whole.
    EXPECT_TRUE(info->SplitAt(60));
    EXPECT_EQ(Parts(*info), "0+1:50 1+3:114 4+1:50");

    t->HeadingRowCount = 1;
    t->Rows->MergeCells(0, 1, 1, 2, true, false); // a heading cell reaching into row 1
    EXPECT_FALSE(TRPTablePrintInfo(t.get()).RepeatHeading);
    t->PrintOptions &= static_cast<TRPTablePrintOptions>(~rptoRowsSplit);
    EXPECT_FALSE(Info(t.get(), {30, 30, 30, 30, 30})->InitSplit());
}

TEST_F(TableSplit, HeadingsThatAreTheWholeTableDoNotSplit) {
    auto t = Make(2, 1);
    t->HeadingRowCount = 3;
    EXPECT_FALSE(Info(t.get(), {30, 30})->InitSplit());
}

// The text of a PDF read back by poppler's pdftotext, pages separated by form feeds.
QStringList PdfPages(const QString& Pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << "pdftotext failed";
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

TEST(TablePrinting, LongTableSplitsByRowsWithHeadingsAndPrintsEveryCellOnce) {
    TPdfPrinter printer(QStringLiteral("tabelle.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    const QString& pdf = printer.Pdf;
    auto style = MakeTableStyle();
    TRichPad view(nullptr);
    view.SetStyle(style.get());
    view.AddText("Preisliste", 0, 0);
    const int rows = 120;
    auto t = TRPTableItemInfo::CreateEx(rows, 3, view.RPData());
    t->HeadingRowCount = 1;
    t->CellBorderWidth = 1;
    t->CellBorderStyle = rptbColor;
    const auto put = [&](int r, int c, const std::string& s) {
        TRPTableCellData* cell = t->GetCell(r, c);
        cell->Clear();
        cell->AddText(s, 0, 0);
    };
    put(0, 0, "Ware");
    put(0, 1, "Menge");
    put(0, 2, "Preis");
    for (int r = 1; r < rows; ++r) {
        put(r, 0, "Apfel" + std::to_string(r));
        put(r, 1, "Stueck" + std::to_string(r));
        put(r, 2, "Euro" + std::to_string(r));
    }
    view.RPData()->AddItem(std::string(), std::move(t));
    view.AddText("Ende", 0, 0);
    view.Format();
    TRPPrint print(nullptr);
    print.AssignSource(&view);
    print.FormatPages();
    const int pages = print.GetPagesCount();
    ASSERT_GE(pages, 3);
    ASSERT_TRUE(print.Print(QStringLiteral("Tabelle"), 1, false)) << print.LastError().toStdString();

    const QStringList text = PdfPages(pdf);
    ASSERT_EQ(text.size(), pages);
    const QString all = text.join(QLatin1Char('\n'));
    for (int r = 1; r < rows; ++r)
        for (const char* w : {"Apfel", "Stueck", "Euro"}) {
            const QString word = QString::fromLatin1(w) + QString::number(r);
            const QRegularExpression re(QStringLiteral("\\b") + word + QStringLiteral("\\b"));
            EXPECT_EQ(all.count(re), 1) << word.toStdString();
        }
    // The heading row stands at the top of every page.
    for (int p = 0; p < pages; ++p)
        EXPECT_TRUE(text[p].contains(QStringLiteral("Ware")) && text[p].contains(QStringLiteral("Preis")))
            << "page " << p + 1;
    EXPECT_EQ(all.count(QStringLiteral("Preisliste")), 1);
    EXPECT_TRUE(text.last().contains(QStringLiteral("Ende")));
    // Pages rendered for a look.
    const QString out = QStringLiteral(PRAVOLIN_TEST_OUTPUT);
    QDir().mkpath(out);
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"),
              {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"), QStringLiteral("-l"),
               QStringLiteral("2"), pdf, out + "/table_print"});
    ASSERT_TRUE(ppm.waitForFinished(60000));
}

// A colour border printed on a device finer than the screen is a pixel
// wider than its scaled width: the table's frame and a cell's sides drawn
// one by one (its left side hidden). Drawn at 600 dpi, a width of 1 is 7
// device pixels.
TEST(TablePrinting, ColourBordersOnAFinerDeviceTakeAPixelMore) {
    TPdfPrinter printer(QStringLiteral("rand.pdf"));
    auto style = MakeTableStyle();
    TRichPad view(nullptr);
    view.SetStyle(style.get());
    auto t = TRPTableItemInfo::CreateEx(1, 1, view.RPData());
    t->BestWidth = 100;
    t->Color = clNone;
    t->PrintOptions &= static_cast<TRPTablePrintOptions>(~rptoHalftoneBorders);
    t->BorderWidth = 1;
    t->BorderStyle = rptbColor;
    t->BorderColor = clBlack;
    t->BorderVSpacing = 10;
    t->BorderHSpacing = 10;
    t->CellBorderWidth = 1;
    t->CellBorderStyle = rptbColor;
    t->CellBorderColor = clBlack;
    t->GetCell(0, 0)->VisibleBorders.Left = false;
    view.RPData()->AddItem(std::string(), std::move(t));
    view.Format();
    Printer()->SetPageSizeMM(40, 20);
    TRPPrint print(nullptr);
    print.SetLeftMarginMM(5);
    print.SetTopMarginMM(5);
    print.SetRightMarginMM(5);
    print.SetBottomMarginMM(5);
    print.AssignSource(&view);
    print.FormatPages();
    QImage img(Printer()->PageWidth(), Printer()->PageHeight(), QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    c.Font()->SetPixelsPerInch(600);
    print.PrintableRP()->DrawPage(1, c, false, false);
    c.Release();
    // Black runs down a column through the middle of the table, and across
    // a row through the middle of the cell.
    const auto runs = [&](bool Down, int At) {
        std::vector<int> r;
        int n = 0;
        const int end = Down ? img.height() : img.width();
        for (int i = 0; i < end; ++i) {
            const bool black = (Down ? img.pixel(At, i) : img.pixel(i, At)) == qRgb(0, 0, 0);
            if (black) ++n;
            if (!black && n > 0) r.push_back(std::exchange(n, 0));
        }
        return r;
    };
    const std::vector<int> down = runs(true, 118 + 300);
    ASSERT_GE(down.size(), 2u);
    EXPECT_EQ(down[0], 7); // the table's top
    EXPECT_EQ(down[1], 7); // the cell's top, drawn side by side
    const std::vector<int> across = runs(false, down.size() > 1 ? 118 + 40 : 0);
    ASSERT_GE(across.size(), 1u);
    EXPECT_EQ(across[0], 7); // the table's left
}

// A cell's picture with transparent parts, on a cell and a table without
// colour, prints on what the printed document has behind it: here the
// colour of the table's paragraph.
TEST(TablePrinting, TransparentCellPictureShowsTheParagraphColourBehindIt) {
    TPdfPrinter printer(QStringLiteral("absatz.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    auto style = MakeTableStyle();
    style->ParaStyles().Add()->Background.Color = clYellow;
    TRichPad view(nullptr);
    view.SetStyle(style.get());
    auto stamp = std::make_unique<TBitmap>();
    stamp->SetSize(40, 40);
    stamp->Canvas()->Brush()->SetColor(clWhite);
    stamp->Canvas()->FillRect(Rect(0, 0, 40, 40));
    stamp->Canvas()->Brush()->SetColor(clBlack);
    stamp->Canvas()->FillRect(Rect(15, 15, 25, 25));
    stamp->Canvas()->Release();
    stamp->SetTransparentMode(tmFixed);
    stamp->SetTransparentColor(clWhite);
    stamp->SetTransparent(true);
    auto t = TRPTableItemInfo::CreateEx(1, 1, view.RPData());
    t->ParaNo = 2;
    t->Color = clNone;
    t->BorderWidth = 0;
    t->CellBorderWidth = 0;
    t->BestWidth = 200;
    TRPTableCellData* cell = t->GetCell(0, 0);
    cell->Color = clNone;
    cell->BestHeight = 200;
    cell->SetBackgroundStyle(rpbsStretched);
    cell->SetBackgroundImage(stamp.get(), true);
    view.RPData()->AddItem(std::string(), std::move(t));
    view.Format();
    QImage page;
    ASSERT_EQ(PrintedPage(view, printer, QStringLiteral("Absatz"), 1, page), QString());
    // The black square is the middle quarter of the stretched picture.
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (const QColor c = page.pixelColor(x, y); c.red() < 40 && c.green() < 40 && c.blue() < 40) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GT(right, left + 10);
    const int side = right - left;
    for (const QPoint p :
         {QPoint(left - side / 2, top + side / 2), QPoint(right + side / 2, top + side / 2),
          QPoint(left + side / 2, top - side / 2), QPoint(left + side / 2, bottom + side / 2)}) {
        const QColor c = page.pixelColor(p);
        EXPECT_TRUE(c.red() > 230 && c.green() > 230 && c.blue() < 60)
            << p.x() << "," << p.y() << ": " << c.name().toStdString();
    }
}

// What the table paints behind a printed piece: nothing in mode 0, else its
// colour in its rectangle, white when the print options ask for it.
TEST_F(TableSplit, PrintBackgroundModes) {
    auto t = Make(1, 1);
    t->Color = clYellow;
    TBitmap b(20, 20);
    const auto paint = [&](int Mode) {
        b.Canvas()->Brush()->SetColor(clBlack);
        b.Canvas()->FillRect(Rect(0, 0, 20, 20));
        t->PrintBackground(b.Canvas(), TRPBounds{5, 5, 15, 15}, rpcmColor, Mode);
        b.Canvas()->Release();
        const QImage img = b.ToImage();
        return std::make_pair(img.pixel(10, 10) & 0xFFFFFF, img.pixel(2, 2) & 0xFFFFFF);
    };
    EXPECT_EQ(paint(0), std::make_pair(0u, 0u));
    EXPECT_EQ(paint(1), std::make_pair(0xFFFF00u, 0u));
    t->PrintOptions |= rptoWhiteBackground;
    EXPECT_EQ(paint(1), std::make_pair(0xFFFFFFu, 0u));
    t->Color = clNone;
    EXPECT_EQ(paint(-1), std::make_pair(0u, 0u));
}

// Pictures with transparent parts inside cells print on what lies behind
// them: the table's background picture under a transparent cell, the cell's
// own picture under the other. Checked on the printed PDF's pixels.
TEST(TablePrinting, TransparentPicturesInCellsShowTheTableAndCellBackgrounds) {
    TPdfPrinter printer(QStringLiteral("hintergrund.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    auto style = MakeTableStyle();
    TRichPad view(nullptr);
    view.SetStyle(style.get());
    // White with a black square in the middle; white is transparent.
    const auto stamp = [] {
        auto b = std::make_unique<TBitmap>();
        b->SetSize(40, 40);
        b->Canvas()->Brush()->SetColor(clWhite);
        b->Canvas()->FillRect(Rect(0, 0, 40, 40));
        b->Canvas()->Brush()->SetColor(clBlack);
        b->Canvas()->FillRect(Rect(15, 15, 25, 25));
        b->Canvas()->Release();
        b->SetTransparentMode(tmFixed);
        b->SetTransparentColor(clWhite);
        b->SetTransparent(true);
        return b;
    };
    auto t = TRPTableItemInfo::CreateEx(1, 2, view.RPData());
    t->SetBackgroundStyle(rpbsStretched);
    t->SetBackgroundImage(SolidBitmap(clLime).get(), true);
    t->CellPadding = 10;
    for (int c = 0; c < 2; ++c) {
        TRPTableCellData* cell = t->GetCell(0, c);
        cell->Clear();
        cell->AddPicture("stempel", stamp(), 0, 0, TRPTag{});
    }
    t->GetCell(0, 1)->SetBackgroundStyle(rpbsTiled);
    t->GetCell(0, 1)->SetBackgroundImage(SolidBitmap(clBlue).get(), true);
    view.RPData()->AddItem(std::string(), std::move(t));
    view.Format();
    QImage page;
    ASSERT_EQ(PrintedPage(view, printer, QStringLiteral("Hintergrund"), 1, page), QString());
    // The table is the box of the green and blue pixels; inside it nothing is
    // white, and both black squares are there.
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    const auto kind = [&](int x, int y) {
        const QColor c = page.pixelColor(x, y);
        if (c.green() > 200 && c.red() < 60 && c.blue() < 60) return 'g';
        if (c.blue() > 200 && c.red() < 60 && c.green() < 60) return 'b';
        if (c.red() > 230 && c.green() > 230 && c.blue() > 230) return 'w';
        if (c.red() < 40 && c.green() < 40 && c.blue() < 40) return 'k';
        return '?';
    };
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (const char k = kind(x, y); k == 'g' || k == 'b') {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GT(right, left);
    std::map<char, int> counts;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            ++counts[kind(x, y)];
    EXPECT_EQ(counts['w'], 0);
    EXPECT_GE(counts['k'], 2 * 40);
    EXPECT_GT(counts['g'], 1000);
    EXPECT_GT(counts['b'], 1000);
}

} // namespace

namespace {

// A stretched table picture, red above and blue below, on a table split over
// two pages: behind a transparent picture in the last row the second part
// shows its own lower half, as the cell's padding around it does.
TEST(TablePrinting, EachPartStretchesTheTablePictureOverItself) {
    TPdfPrinter printer(QStringLiteral("teile.pdf"));
    ASSERT_TRUE(printer.Dir.isValid());
    auto style = MakeTableStyle();
    TRichPad view(nullptr);
    view.SetStyle(style.get());
    auto halves = std::make_unique<TBitmap>();
    halves->SetSize(64, 64);
    halves->Canvas()->Brush()->SetColor(clRed);
    halves->Canvas()->FillRect(Rect(0, 0, 64, 32));
    halves->Canvas()->Brush()->SetColor(clBlue);
    halves->Canvas()->FillRect(Rect(0, 32, 64, 64));
    halves->Canvas()->Release();
    auto stamp = std::make_unique<TBitmap>();
    stamp->SetSize(40, 40);
    stamp->Canvas()->Brush()->SetColor(clWhite);
    stamp->Canvas()->FillRect(Rect(0, 0, 40, 40));
    stamp->Canvas()->Brush()->SetColor(clBlack);
    stamp->Canvas()->FillRect(Rect(15, 15, 25, 25));
    stamp->Canvas()->Release();
    stamp->SetTransparentMode(tmFixed);
    stamp->SetTransparentColor(clWhite);
    stamp->SetTransparent(true);
    const int rows = 4;
    auto t = TRPTableItemInfo::CreateEx(rows, 1, view.RPData());
    t->Color = clNone;
    t->SetBackgroundStyle(rpbsStretched);
    t->SetBackgroundImage(halves.get(), true);
    t->CellPadding = 10;
    for (int r = 0; r < rows; ++r)
        t->GetCell(r, 0)->BestHeight = 300;
    TRPTableCellData* last = t->GetCell(rows - 1, 0);
    last->Clear();
    last->AddPicture("stempel", std::move(stamp), 0, 0, TRPTag{});
    view.RPData()->AddItem(std::string(), std::move(t));
    view.Format();
    TRPPrint print(nullptr);
    print.AssignSource(&view);
    print.FormatPages();
    ASSERT_EQ(print.GetPagesCount(), 2);
    ASSERT_TRUE(print.Print(QStringLiteral("Teile"), 1, false)) << print.LastError().toStdString();

    QImage page;
    ASSERT_EQ(PdfPageImage(printer.Pdf, 2, 96, page), QString());
    const auto kind = [&](int x, int y) {
        const QColor c = page.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 60 && c.blue() < 60) return 'r';
        if (c.blue() > 200 && c.red() < 60 && c.green() < 60) return 'b';
        if (c.red() < 40 && c.green() < 40 && c.blue() < 40) return 'k';
        return '?';
    };
    // The black square of the picture.
    int kx = -1, ky = -1;
    for (int y = 0; y < page.height() && kx < 0; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (kind(x, y) == 'k') {
                kx = x, ky = y;
                break;
            }
    ASSERT_GE(kx, 25);
    EXPECT_EQ(kind(kx - 8, ky + 4), 'b');  // in the picture, beside the square
    EXPECT_EQ(kind(kx - 22, ky + 4), 'b'); // in the cell's padding
}

} // namespace
