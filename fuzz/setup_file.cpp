// Arbitrary bytes as the setup file: the lines are read, none may crash or hang.
#include "shell/USetupLesen.h"
#include "term/USetup.h"

#include <QString>
#include <QStringList>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SetupZeilenAuswerten(text.split(QLatin1Char('\n')));
    return 0;
}
