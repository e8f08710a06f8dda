// Speed of printing: a document of 200 A4 pages (paragraphs of German text in
// two text styles) paginated for a 600 dpi printer, and paginated and printed
// into a PDF file; beside it, as the reference, Qt's own rich-text document
// printing the same paragraphs into a PDF file.
#include "BenchMain.h"
#include "QtPrinting.h"
#include "platform/CodePage.h"
#include "platform/Printer.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPPrint.h"

#include <QApplication>
#include <QDir>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

const char kSatz[] =
    "Große Zahlen addierst du am besten schriftlich: Einer unter Einer, Zehner unter Zehner, "
    "Hunderter unter Hunderter, und der Übertrag kommt in die nächste Spalte. ";

QString PdfFile() {
    return QDir::temp().filePath(QStringLiteral("pravolin_bench_print.pdf"));
}

struct TDokument {
    TRPStyle Style;
    TRichPad View{nullptr};
    TRPPrint Print{nullptr};
    int Absaetze = 0;
    TDokument() {
        Style.TextStyles().Add()->Style = fsBold;
        View.SetStyle(&Style);
        // Paragraphs of four sentences, a bold heading every tenth.
        const std::string satz = CodePage::ToCp1252(QString::fromUtf8(kSatz));
        for (Absaetze = 0; Absaetze < 1800; ++Absaetze) {
            if (Absaetze % 10 == 0) View.AddText("Abschnitt " + std::to_string(Absaetze / 10 + 1), 1, 0);
            View.AddText(satz + satz + satz + satz, 0, 0);
        }
        Printer()->SetOutputFileName(PdfFile());
        Printer()->SetPageSizeMM(210, 297);
    }
};

TDokument& Dokument() {
    static TDokument d;
    return d;
}

// Lays the document out in pages; answers their number.
int Paginieren(TDokument& d) {
    d.Print.AssignSource(&d.View);
    d.Print.FormatPages();
    return d.Print.GetPagesCount();
}

void BM_Paginieren(benchmark::State& state) {
    TDokument& d = Dokument();
    int seiten = 0;
    for (auto _ : state)
        seiten = Paginieren(d);
    d.Print.ReleaseSource();
    state.counters["Seiten"] = seiten;
}

void BM_PaginierenUndDrucken(benchmark::State& state) {
    TDokument& d = Dokument();
    int seiten = 0;
    for (auto _ : state) {
        seiten = Paginieren(d);
        if (!d.Print.Print(QStringLiteral("Benchmark"), 1, false)) state.SkipWithError("printing failed");
    }
    state.counters["Seiten"] = seiten;
}

void BM_QtTextDocumentDrucken(benchmark::State& state) {
    const QString satz = QString::fromUtf8(kSatz);
    QTextDocument doc;
    QTextCursor c(&doc);
    for (int i = 0; i < Dokument().Absaetze; ++i) {
        if (i % 10 == 0) c.insertHtml(QStringLiteral("<p><b>Abschnitt %1</b></p>").arg(i / 10 + 1));
        c.insertBlock();
        c.insertText(satz + satz + satz + satz);
        c.insertBlock();
    }
    for (auto _ : state)
        PrintWithQt(doc, PdfFile());
}

} // namespace

BENCHMARK(BM_Paginieren)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaginierenUndDrucken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtTextDocumentDrucken)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    const int rc = RunBenchmarks<QApplication>(argc, argv);
    QFile::remove(PdfFile());
    return rc;
}
