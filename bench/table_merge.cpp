// A table whose first cell is merged over all its rows (\clvmgf, then
// \clvmrg in every row below), beside the same rows unmerged, for N rows from
// 5,000 to 80,000: imported, and formatted at the view's width, each timed
// apart; both tables in each iteration, so that their ratios come from one
// run. The time per row must stay flat as N grows, merged or not.
#include "BenchMain.h"
#include "ViewBenchDocument.h"
#include "richtext/edit/RPTable.h"

#include <QBuffer>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <string>

namespace {

class TBenchDoc : public TViewBenchDoc {
public:
    TBenchDoc() : TViewBenchDoc(kWidth, kHeight, 0, true) {}
};

std::string Rows(int N, bool Merged) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n"
                    "\\trowd\\clvmgf\\cellx2000\\cellx4000\\pard\\intbl Oben\\cell Zeile 0\\cell\\row\n";
    const std::string row = std::string("\\trowd") + (Merged ? "\\clvmrg" : "") + "\\cellx2000\\cellx4000";
    for (int r = 1; r < N; ++r)
        s += row + "\\pard\\intbl \\cell Zeile " + std::to_string(r) + "\\cell\\row\n";
    return s + "\\pard Ende\\par}";
}

struct TTimes {
    double Import = 0, Format = 0;
};

TTimes ImportAndFormat(const std::string& Rtf, int& Rows) {
    using Clock = std::chrono::steady_clock;
    TTimes t;
    TBenchDoc d;
    QByteArray data = QByteArray::fromRawData(Rtf.data(), static_cast<qsizetype>(Rtf.size()));
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    auto start = Clock::now();
    d.RTF.ReadRTFStream(buf, &d);
    t.Import = std::chrono::duration<double>(Clock::now() - start).count();
    start = Clock::now();
    d.TCustomRPFormattedData::Format(false, true, false, 0, nullptr, false, true);
    t.Format = std::chrono::duration<double>(Clock::now() - start).count();
    Rows = 0;
    for (int i = 0; i < d.GetItemCount(); ++i)
        if (auto* table = dynamic_cast<TRPTableItemInfo*>(d.GetItem(i))) Rows = table->Rows->RowCount();
    return t;
}

void BM_MergedRows(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string merged = Rows(n, true), plain = Rows(n, false);
    TTimes m, p;
    for (auto _ : state) {
        int rows = 0, plainRows = 0;
        const TTimes a = ImportAndFormat(merged, rows);
        const TTimes b = ImportAndFormat(plain, plainRows);
        if (rows != n || plainRows != n) state.SkipWithError("the rows did not import");
        m.Import += a.Import;
        m.Format += a.Format;
        p.Import += b.Import;
        p.Format += b.Format;
        state.SetIterationTime(a.Import + a.Format);
    }
    const double it = static_cast<double>(state.iterations());
    state.counters["import_us_per_row"] = m.Import * 1e6 / it / n;
    state.counters["format_us_per_row"] = m.Format * 1e6 / it / n;
    state.counters["import_merged/plain"] = p.Import > 0 ? m.Import / p.Import : 0;
    state.counters["format_merged/plain"] = p.Format > 0 ? m.Format / p.Format : 0;
}

} // namespace

BENCHMARK(BM_MergedRows)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(80000);

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
