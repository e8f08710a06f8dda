#pragma once
// Reading of the administrator's setup file "OrvandelSetup.txt" (in the folder
// above the application directory) into FSetup.
#include <QString>
#include <QStringList>

// Resets FSetup for the given application directory and reads the file, when it
// exists. Never throws.
void FSetupLesen(const QString& Anwendungsverzeichnis);

// Applies the lines of a setup file to FSetup, first to last; later lines win,
// and a line that fails ends the reading.
void SetupZeilenAuswerten(const QStringList& Zeilen);

// The path of the setup file for an application directory.
QString SetupDateiName(const QString& Anwendungsverzeichnis);

// The enlargement of a "WDX=" / "WDY=" value text: evaluated as a term and
// rounded (halves to even); negative values shrink. False, Wert unchanged,
// when the value lies beyond the integer range; an arithmetic failure of the
// term (an overflow such as 171!) raises EMathFehler.
bool SetupPixelWert(const QString& Text, int& Wert);
