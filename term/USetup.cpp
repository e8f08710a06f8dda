#include "USetup.h"

tFSetup FSetup;

void FSetupZuruecksetzen(const QString& Anwendungsverzeichnis) {
    FSetup = tFSetup{};
    FSetup.Anwendungsverzeichnis = Anwendungsverzeichnis;
}
