#pragma once
// What the RTF fuzz targets share: the application the reader needs, and
// the cap on the input length. Inputs past the cap are cut: longer ones only
// repeat what a short one reaches, and slow every run down.
#include <QCoreApplication>
#include <algorithm>
#include <cstddef>

constexpr size_t kRTFFuzzMaxInput = 16 * 1024;

inline void RTFFuzzSetup() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}

inline size_t RTFFuzzCap(size_t size) {
    return std::min(size, kRTFFuzzMaxInput);
}
