// The main function of the benchmark programs.
#pragma once

#include <benchmark/benchmark.h>

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
