// Reading a large RTF document (text, styles, lists, pictures; about 5 MB, made
// here) into a document, beside unrtf --text and pandoc -f rtf -t plain on the
// same file. Figures are MB/s of RTF input.
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include "RTFBenchDocument.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
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

void ReportBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Document().size()));
}

void BM_RTFImportIntoDocument(benchmark::State& state) {
    const std::string& rtf = Document();
    size_t items = 0;
    for (auto _ : state) {
        TBenchDoc doc;
        TRPRTFReaderProperties props;
        props.UnicodeMode = rpruMixed;
        props.TextStyleMode = rprsAddIfNeeded;
        props.ParaStyleMode = rprsAddIfNeeded;
        QByteArray bytes = QByteArray::fromRawData(rtf.data(), static_cast<qsizetype>(rtf.size()));
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        if (props.ReadRTFStream(buf, &doc) != 0) state.SkipWithError("import failed");
        items = static_cast<size_t>(doc.GetItemCount());
    }
    state.counters["items"] = static_cast<double>(items);
    ReportBytes(state);
}

void BM_RTFReaderEventsOnly(benchmark::State& state) {
    const std::string& rtf = Document();
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
    ReportBytes(state);
}

void RunTool(benchmark::State& state, const char* tool, const std::string& command) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError((std::string(tool) + " failed").c_str());
    ReportBytes(state);
}

void BM_Unrtf(benchmark::State& state) {
    RunTool(state, "unrtf", "unrtf --text '" + DocumentFile().toStdString() + "' > /dev/null 2>&1");
}

void BM_Pandoc(benchmark::State& state) {
    RunTool(state, "pandoc", "pandoc -f rtf -t plain '" + DocumentFile().toStdString() + "' -o /dev/null");
}

} // namespace

BENCHMARK(BM_RTFImportIntoDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RTFReaderEventsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Unrtf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Pandoc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QFile::remove(DocumentFile());
    return 0;
}
