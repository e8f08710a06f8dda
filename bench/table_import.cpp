// Importing many tables: an RTF document of N one-row tables (two cells,
// a paragraph between each two tables) beside a document of one table of N
// such rows followed by the same N paragraphs, for N from 1,000 to 50,000.
// Each iteration imports both, so that their ratio comes from one run; the
// time per table must stay flat as N grows, and the many tables must take
// no more than a few times the one table's time. Beside it, one table of N
// rows with a list marker in every cell against the same rows without: the
// time per row must stay flat too.
#include "BenchMain.h"
#include "RTFBenchDocument.h"
#include "richtext/edit/RPTable.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <string>

namespace {

const char* const kRow =
    "\\trowd\\trgaph60\\cellx2000\\cellx4000\\pard\\intbl Apfel\\cell Birne\\cell\\row\n";
const char* const kPara = "\\pard Zwischen\\par\n";

std::string ManyTables(int N) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n";
    for (int i = 0; i < N; ++i) {
        s += kRow;
        s += kPara;
    }
    return s + "}";
}

std::string OneTable(int N) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n";
    for (int i = 0; i < N; ++i)
        s += kRow;
    for (int i = 0; i < N; ++i)
        s += kPara;
    return s + "}";
}

// One table of N one-cell rows, each cell a bulleted paragraph or a plain one.
std::string ListRows(int N, bool Bullets) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listid1{\\listlevel"
                    "\\levelnfc23\\levelstartat1{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}\\li720\\fi-360}}}"
                    "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\f0\\fs20\n";
    for (int i = 0; i < N; ++i)
        s += std::string("\\trowd\\cellx3000\\pard\\intbl") + (Bullets ? "\\ls1" : "") +
             " Punkt\\cell\\row\n";
    return s + "\\pard Ende\\par}";
}

// Seconds to import Rtf into a fresh document and free it again; the number
// of tables it held.
double Import(const std::string& Rtf, int& Tables) {
    const auto start = std::chrono::steady_clock::now();
    {
        TBenchDoc doc;
        TRPRTFReaderProperties props;
        if (!ReadInto(doc, props, Rtf)) return -1;
        Tables = 0;
        for (int i = 0; i < doc.GetItemCount(); ++i)
            if (dynamic_cast<TRPTableItemInfo*>(doc.GetItem(i))) ++Tables;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One document (Tables tables) beside its reference (RefTables tables), both
// imported in each iteration (BenchMain.h), per N of the benchmark.
void SideBySide(benchmark::State& state, const std::string& Doc, int Tables, const std::string& Ref,
                int RefTables, const std::string& Name, const std::string& RefName, const std::string& Unit) {
    const auto import = [](const std::string& Rtf, int Want) {
        int tables = 0;
        const double t = Import(Rtf, tables);
        return tables == Want ? t : -1;
    };
    RunSideBySide(
        state, [&] { return import(Doc, Tables); }, [&] { return import(Ref, RefTables); }, Name, RefName,
        Unit, static_cast<double>(state.range(0)));
}

void BM_ManyOneRowTables(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SideBySide(state, ManyTables(n), n, OneTable(n), 1, "many", "one", "table");
}

// The rows of a table with a list marker in every cell, beside the same rows
// without: the markers' numbering must cost each row the same, however many.
void BM_BulletedRows(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SideBySide(state, ListRows(n, true), 1, ListRows(n, false), 1, "bulleted", "plain", "row");
}

} // namespace

BENCHMARK(BM_BulletedRows)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000);

BENCHMARK(BM_ManyOneRowTables)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(50000);

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
