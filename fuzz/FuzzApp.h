#pragma once
// The Qt application the fuzz targets need for pictures and fonts, made once
// on the offscreen platform. A target that makes widgets (views, the print
// component) asks for one that carries them; a target asks for one kind only.
#include <QApplication>
#include <QGuiApplication>

template <typename TApplication> void FuzzAnwendungMit() {
    static int argc = 1;
    static char arg0[] = "fuzz";
    static char* argv[] = {arg0, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new TApplication(argc, argv);
    }();
    (void)app;
}

inline void FuzzAnwendung() {
    FuzzAnwendungMit<QGuiApplication>();
}

inline void FuzzWidgetAnwendung() {
    FuzzAnwendungMit<QApplication>();
}
