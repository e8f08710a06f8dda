#pragma once
// The Qt application the fuzz targets need for pictures and fonts, made once
// on the offscreen platform.
#include <QGuiApplication>

inline void FuzzAnwendung() {
    static int argc = 1;
    static char arg0[] = "fuzz";
    static char* argv[] = {arg0, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}
