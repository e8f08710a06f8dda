// Start of the program: the application, its forms, the loop.
#include "app/Programmstart.h"
#include "platform/Application.h"

#include <QApplication>

int main(int argc, char** argv) {
    ProgrammUmgebungVorbereiten();
    QApplication app(argc, argv);
    ProgrammVorbereiten();
    Application()->Run();
    return 0;
}
