// Writing the 5 MB benchmark document (read once into a document) as RTF and
// as HTML with a style sheet, beside LibreOffice's headless conversion of the
// same RTF file to RTF. Figures are MB/s of the benchmark document, so that the
// three compare; the counters give the size of what was written.
#include "BenchMain.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include "RTFBenchDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

TBenchDoc& Loaded() {
    static std::unique_ptr<TBenchDoc> doc = [] {
        auto d = std::make_unique<TBenchDoc>();
        TRPRTFReaderProperties props;
        props.TextStyleMode = rprsAddIfNeeded;
        props.ParaStyleMode = rprsAddIfNeeded;
        QByteArray bytes =
            QByteArray::fromRawData(Document().data(), static_cast<qsizetype>(Document().size()));
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        props.ReadRTFStream(buf, d.get());
        return d;
    }();
    return *doc;
}

void ReportBytes(benchmark::State& state, size_t written) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Document().size()));
    state.counters["written_MB"] = static_cast<double>(written) / (1024.0 * 1024.0);
}

void BM_WriteRTF(benchmark::State& state) {
    TBenchDoc& d = Loaded();
    size_t written = 0;
    for (auto _ : state) {
        std::string rtf;
        rtf.reserve(8 << 20);
        if (!d.SaveRTFToStream(rtf, false, 0, clWindow, nullptr, nullptr, 0))
            state.SkipWithError("write failed");
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.counters["items"] = d.GetItemCount();
    ReportBytes(state, written);
}

void BM_WriteHTML(benchmark::State& state) {
    TBenchDoc& d = Loaded();
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/";
    size_t written = 0;
    for (auto _ : state) {
        std::string html;
        int images = 0;
        TColor cur = clNone;
        if (!d.SaveHTMLWithCSSToStream(html, path, "Benchmark", "img", "", "", "", rphsoOverwriteImages,
                                       clNone, cur, images, 0, 0, 0, 0, nullptr, nullptr))
            state.SkipWithError("write failed");
        written = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    ReportBytes(state, written);
}

void BM_LibreOfficeRTFtoRTF(benchmark::State& state) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        state.SkipWithError("soffice is not installed");
        return;
    }
    QTemporaryDir dir;
    const QString in = dir.filePath("bench.rtf");
    QFile f(in);
    f.open(QIODevice::WriteOnly);
    f.write(Document().data(), static_cast<qint64>(Document().size()));
    f.close();
    const std::string command =
        "soffice -env:UserInstallation=file://" + dir.filePath("profile").toStdString() +
        " --headless --convert-to rtf --outdir '" + dir.filePath("out").toStdString() + "' '" +
        in.toStdString() + "' > /dev/null 2>&1";
    // The first start builds LibreOffice's profile; it is not measured.
    if (std::system(command.c_str()) != 0) state.SkipWithError("soffice failed");
    size_t written = 0;
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("soffice failed");
    written = static_cast<size_t>(QFileInfo(dir.filePath("out/bench.rtf")).size());
    ReportBytes(state, written);
}

} // namespace

BENCHMARK(BM_WriteRTF)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteHTML)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibreOfficeRTFtoRTF)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    return RunBenchmarks<QCoreApplication>(argc, argv);
}
