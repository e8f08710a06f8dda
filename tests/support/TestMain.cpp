// Entry point of every test program: one QApplication for the whole run.
#include "platform/Fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // GoogleTest takes its own flags first, so the program's command line (the
    // deep link) never sees them.
    ::testing::InitGoogleTest(&argc, argv);
    // The build lists the tests after every link: no application for that.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    RegisterProgramFonts();
    return RUN_ALL_TESTS();
}
