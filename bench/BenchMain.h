// The main function of the benchmark programs.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include <QByteArray>
#include <QtGlobal>

// Runs the registered benchmarks inside an application object of type App
// (QCoreApplication, QGuiApplication or QApplication), after AfterStart.
// Windows paint off screen unless QT_QPA_PLATFORM names another platform.
template <class App, class Setup> int RunBenchmarks(int argc, char** argv, Setup&& AfterStart) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    AfterStart();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

template <class App> int RunBenchmarks(int argc, char** argv) {
    return RunBenchmarks<App>(argc, argv, [] {});
}

// Doc and Ref (each answering its seconds, below zero when it failed) run in
// every iteration, so that their ratio comes from one run; the first is the
// measured time. Counters: Name_ms, RefName_ms, us_per_<Unit> (the first's,
// per Per units) and Name/RefName.
template <class F, class G>
void RunSideBySide(benchmark::State& state, F&& Doc, G&& Ref, const std::string& Name,
                   const std::string& RefName, const std::string& Unit, double Per) {
    double docTime = 0, refTime = 0;
    for (auto _ : state) {
        const double a = Doc();
        if (a < 0) state.SkipWithError(("the " + Name + " document failed").c_str());
        const double b = Ref();
        if (b < 0) state.SkipWithError(("the " + RefName + " document failed").c_str());
        docTime += a;
        refTime += b;
        state.SetIterationTime(a);
    }
    const double it = static_cast<double>(state.iterations());
    state.counters[Name + "_ms"] = docTime * 1000 / it;
    state.counters[RefName + "_ms"] = refTime * 1000 / it;
    state.counters["us_per_" + Unit] = docTime * 1e6 / it / Per;
    state.counters[Name + "/" + RefName] = refTime > 0 ? docTime / refTime : 0;
}
