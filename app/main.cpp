// Start of the program: the application, its fonts, the main window, the loop.
#include "platform/Application.h"
#include "platform/Fonts.h"
#include "shell/UNavigation.h"
#include "shell/UZq.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    RegisterProgramFonts();
    Application()->Initialize();
    Application()->SetTitle(QStringLiteral("Pravolin - Grundschule"));
    Application()->CreateForm(Zq);
    ShellFormulareErzeugen();
    Application()->Run();
    return 0;
}
