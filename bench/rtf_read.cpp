// Reading a large RTF document (text, styles, lists, pictures; about 5 MB, made
// here) into a document, beside unrtf --text and pandoc -f rtf -t plain on the
// same file; and one file of the shared corpus with pictures, lists and tables.
// Figures are MB/s of RTF input: the whole import (including freeing the
// document) beside the reader's events alone, which bound what the import
// can reach. Then the same 5 MB formatted as the view formats it, each
// iteration timing the import and the format apart, so that their ratio comes
// from one run. Last, freeing documents of 10,000 to 1,000,000 list markers,
// which must take time in proportion to their size.
#include "BenchMain.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include "RTFBenchDocument.h"
#include "ViewBenchDocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

QString DocumentFile() {
    static const QString path = [] {
        const QString p = QDir::tempPath() + "/pravolin_rtf_read_bench.rtf";
        QFile f(p);
        if (f.open(QIODevice::WriteOnly)) f.write(Document().data(), static_cast<qint64>(Document().size()));
        return p;
    }();
    return path;
}

// A file of the shared corpus beside the repository.
const std::string& CorpusFile() {
    static const std::string data = [] {
        QFile f(QStringLiteral(PRAVOLIN_SOURCE_DIR
                               "/../shared/corpus/rtf/striprtf/rtf/BVWGT_20241227_W258_2227269_1_00_01.rtf"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }();
    return data;
}

void ReportBytes(benchmark::State& state, const std::string& rtf) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rtf.size()));
}

void RTFImport(benchmark::State& state, const std::string& rtf) {
    if (rtf.empty()) {
        state.SkipWithError("the shared corpus is not there");
        return;
    }
    size_t items = 0;
    for (auto _ : state) {
        TBenchDoc doc;
        TRPRTFReaderProperties props;
        if (!ReadInto(doc, props, rtf)) state.SkipWithError("import failed");
        items = static_cast<size_t>(doc.GetItemCount());
    }
    state.counters["items"] = static_cast<double>(items);
    ReportBytes(state, rtf);
}

void RTFEventsOnly(benchmark::State& state, const std::string& rtf) {
    if (rtf.empty()) {
        state.SkipWithError("the shared corpus is not there");
        return;
    }
    for (auto _ : state) {
        size_t chars = 0;
        TRPRTFReader r;
        r.OnNewText = [&](TRPRTFReader*, const std::string& t, TRPRTFPosition) { chars += t.size(); };
        r.OnNewUnicodeText = [&](TRPRTFReader*, const std::u16string& t, TRPRTFPosition) {
            chars += t.size();
        };
        if (r.ReadFromBuffer(rtf.data(), rtf.size()) != 0) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(chars);
    }
    ReportBytes(state, rtf);
}

void BM_RTFImport_5MB(benchmark::State& state) {
    RTFImport(state, Document());
}
void BM_RTFEventsOnly_5MB(benchmark::State& state) {
    RTFEventsOnly(state, Document());
}
void BM_RTFImport_CorpusFile(benchmark::State& state) {
    RTFImport(state, CorpusFile());
}
void BM_RTFEventsOnly_CorpusFile(benchmark::State& state) {
    RTFEventsOnly(state, CorpusFile());
}

// The 5 MB document formatted at the view's width. Each iteration also times
// an import as BM_RTFImport_5MB does (reading and freeing the document), so
// that "format/import" compares the two in one run.
void BM_RTFFormat_5MB(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    double import = 0, format = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto t0 = Clock::now();
        {
            TBenchDoc doc;
            TRPRTFReaderProperties props;
            if (!ReadInto(doc, props, Document())) state.SkipWithError("import failed");
        }
        import += std::chrono::duration<double>(Clock::now() - t0).count();
        auto doc = std::make_unique<TViewBenchDoc>(1, 1, 5, false);
        if (!ReadInto(*doc, doc->RTF, Document())) state.SkipWithError("import failed");
        state.ResumeTiming();
        const auto t1 = Clock::now();
        doc->Format(false, false, false, 0, nullptr, false, false);
        format += std::chrono::duration<double>(Clock::now() - t1).count();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["import_ms"] = import * 1000 / n;
    state.counters["format_ms"] = format * 1000 / n;
    state.counters["format/import"] = import > 0 ? format / import : 0;
}

// Freeing a document of state.range(0) list markers, one paragraph each.
void BM_FreeDocumentOfMarkers(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TBenchDoc doc;
        TRPListLevel* level = doc.Style.ListStyles().Add()->Levels.Add();
        level->ListType = rplstDecimal;
        level->FormatString = "%0:s.";
        for (int i = 0; i < count; ++i) {
            doc.AddItem(std::string(), TRPMarkerItemInfo::CreateEx(&doc, 0, 0, 1, false));
            doc.AddMarkerInList(i);
        }
        const auto start = std::chrono::steady_clock::now();
        doc.Clear();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * count);
}

void RunTool(benchmark::State& state, const char* tool, const std::string& command) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError((std::string(tool) + " failed").c_str());
    ReportBytes(state, Document());
}

void BM_Unrtf(benchmark::State& state) {
    RunTool(state, "unrtf", "unrtf --text '" + DocumentFile().toStdString() + "' > /dev/null 2>&1");
}

void BM_Pandoc(benchmark::State& state) {
    RunTool(state, "pandoc", "pandoc -f rtf -t plain '" + DocumentFile().toStdString() + "' -o /dev/null");
}

} // namespace

BENCHMARK(BM_RTFImport_5MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RTFEventsOnly_5MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RTFFormat_5MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RTFImport_CorpusFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RTFEventsOnly_CorpusFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Unrtf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Pandoc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FreeDocumentOfMarkers)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000);

int main(int argc, char** argv) {
    const int rc = RunBenchmarks<QGuiApplication>(argc, argv);
    QFile::remove(DocumentFile());
    return rc;
}
