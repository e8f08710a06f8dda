// Printing a long table: a log book of 1,000 rows of 4 cells with cell
// borders, paginated for the 600 dpi printer and printed into a PDF file;
// the counters give the pages and the size of the file. Beside it, as the
// reference, Qt's own rich-text document printing the same table with borders.
#include "BenchMain.h"
#include "QtPrinting.h"
#include "platform/Printer.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPPrint.h"
#include "richtext/view/RichPad.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 1000, kCols = 4;

QString PdfFile() {
    return QDir::temp().filePath(QStringLiteral("pravolin_bench_table.pdf"));
}

std::string CellText(int Row, int Col) {
    static const char* const kinds[kCols] = {"Aufgabe", "Abschnitt", "Ergebnis", "Datum"};
    return std::string(kinds[Col]) + " " + std::to_string(Row + 1);
}

struct TTabelle {
    TRPStyle Style;
    TRichPad View{nullptr};
    TRPPrint Print{nullptr};
    TTabelle() {
        View.SetStyle(&Style);
        View.AddText("Logbuch", 0, 0);
        auto t = TRPTableItemInfo::CreateEx(kRows, kCols, View.RPData());
        t->BorderWidth = 1;
        t->CellBorderWidth = 1;
        t->HeadingRowCount = 1;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                TRPTableCellData* cell = t->GetCell(r, c);
                cell->Clear();
                cell->AddText(CellText(r, c), 0, 0);
            }
        View.RPData()->AddItem(std::string(), std::move(t));
        View.AddText("Ende", 0, 0);
        View.Format();
        Printer()->SetOutputFileName(PdfFile());
        Printer()->SetPageSizeMM(210, 297);
    }
};

TTabelle& Tabelle() {
    static TTabelle t;
    return t;
}

void BM_TabelleDrucken(benchmark::State& state) {
    TTabelle& t = Tabelle();
    int seiten = 0;
    for (auto _ : state) {
        t.Print.AssignSource(&t.View);
        t.Print.FormatPages();
        seiten = t.Print.GetPagesCount();
        if (!t.Print.Print(QStringLiteral("Benchmark"), 1, false)) state.SkipWithError("printing failed");
    }
    state.counters["Seiten"] = seiten;
    state.counters["PDF_KB"] = static_cast<double>(QFileInfo(PdfFile()).size()) / 1024.0;
}

void BM_QtTextDocumentTabelleDrucken(benchmark::State& state) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Logbuch"));
    QTextTableFormat format;
    format.setBorder(1);
    format.setCellSpacing(2);
    format.setCellPadding(1);
    QTextTable* table = c.insertTable(kRows, kCols, format);
    for (int r = 0; r < kRows; ++r)
        for (int col = 0; col < kCols; ++col)
            table->cellAt(r, col).firstCursorPosition().insertText(QString::fromStdString(CellText(r, col)));
    for (auto _ : state)
        PrintWithQt(doc, PdfFile());
    state.counters["PDF_KB"] = static_cast<double>(QFileInfo(PdfFile()).size()) / 1024.0;
}

} // namespace

BENCHMARK(BM_TabelleDrucken)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_QtTextDocumentTabelleDrucken)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    const int rc = RunBenchmarks<QApplication>(argc, argv);
    QFile::remove(PdfFile());
    return rc;
}
