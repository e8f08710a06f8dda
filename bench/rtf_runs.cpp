// Runs of one formatting that a word processor splits by revision marks
// ({\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid123 word }): N paragraphs of five
// such runs, loaded as a page or the log book loads a file (the document's
// RTF loading, which joins the imported runs), beside the same text in one
// run per paragraph, both in each iteration so that their ratio comes from
// one run; N from 10,000 to 80,000, whose time per paragraph must stay flat.
// Then the 5 MB benchmark document loaded in the view's default style mode
// (the closest style for every run, so that nearly all of them join) beside
// the log book's (styles added as needed).
#include "BenchMain.h"
#include "RTFBenchDocument.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <string>

namespace {

// A document that loads RTF files through its own import settings.
class TLoadDoc : public TCustomRPData {
public:
    explicit TLoadDoc(TRPReaderStyleMode Mode) {
        Props.UnicodeMode = rpruMixed;
        Props.TextStyleMode = Mode;
        Props.ParaStyleMode = Mode;
    }
    ~TLoadDoc() override { Clear(); }
    mutable TRPStyle Style;
    TRPRTFReaderProperties Props;
    TRPStyle* GetRPStyle() const override { return &Style; }
    TRPRTFReaderProperties* GetRTFReadProperties() override { return &Props; }
};

std::string Paragraphs(int N, bool Split) {
    std::string s = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n";
    for (int p = 0; p < N; ++p) {
        for (int k = 0; k < 5; ++k)
            s += Split ? "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid" + std::to_string(1000 + k) + " Wort" +
                             std::to_string(k) + " }"
                       : "Wort" + std::to_string(k) + " ";
        s += "\\par\n";
    }
    return s + "}";
}

// The file of Rtf in the temporary folder, named Name.
std::string FileOf(const std::string& Name, const std::string& Rtf) {
    const QString path = QDir::tempPath() + "/pravolin_bench_" + QString::fromStdString(Name) + ".rtf";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(Rtf.data(), static_cast<qint64>(Rtf.size()));
    return path.toStdString();
}

// Seconds to load File into a new document and free it; its items.
double Load(const std::string& File, TRPReaderStyleMode Mode, int& Items) {
    const auto start = std::chrono::steady_clock::now();
    {
        TLoadDoc doc(Mode);
        if (doc.LoadRTF(File) != 0) return -1;
        Items = doc.GetItemCount();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// File beside Ref, both loaded in each iteration (BenchMain.h); also the
// items each left.
void SideBySide(benchmark::State& state, const std::string& File, TRPReaderStyleMode Mode,
                const std::string& Ref, TRPReaderStyleMode RefMode, const std::string& Name,
                const std::string& RefName, const std::string& Unit, double Per) {
    int items = 0, refItems = 0;
    RunSideBySide(
        state, [&] { return Load(File, Mode, items); }, [&] { return Load(Ref, RefMode, refItems); }, Name,
        RefName, Unit, Per);
    state.counters["items"] = items;
    state.counters["ref_items"] = refItems;
}

void BM_RunsSplitByRevisions(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string split = FileOf("split" + std::to_string(n), Paragraphs(n, true));
    const std::string whole = FileOf("whole" + std::to_string(n), Paragraphs(n, false));
    SideBySide(state, split, rprsAddIfNeeded, whole, rprsAddIfNeeded, "split", "whole", "para", n);
    QFile::remove(QString::fromStdString(split));
    QFile::remove(QString::fromStdString(whole));
}

void BM_DefaultStyleMode_5MB(benchmark::State& state) {
    const std::string file = FileOf("5mb", Document());
    SideBySide(state, file, rprsUseClosest, file, rprsAddIfNeeded, "closest", "added", "MB",
               static_cast<double>(Document().size()) / 1e6);
    QFile::remove(QString::fromStdString(file));
}

} // namespace

BENCHMARK(BM_RunsSplitByRevisions)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000);

BENCHMARK(BM_DefaultStyleMode_5MB)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
