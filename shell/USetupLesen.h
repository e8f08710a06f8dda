#pragma once
// Reading of the administrator's setup file "OrvandelSetup.txt" (in the folder
// above the application directory) into FSetup.
#include <QSize>
#include <QString>
#include <QStringList>

// Resets FSetup for the given application directory and reads the file, when it
// exists. The enlargement is limited to the given screen size. Never throws.
void FSetupLesen(const QString& Anwendungsverzeichnis, QSize Bildschirm);
// The same with the size of the screen.
void FSetupLesen(const QString& Anwendungsverzeichnis);

// Applies the lines of a setup file to FSetup, first to last; later lines win.
void SetupZeilenAuswerten(const QStringList& Zeilen, QSize Bildschirm);

// The path of the setup file for an application directory.
QString SetupDateiName(const QString& Anwendungsverzeichnis);

// The enlargement of a "WDX=" / "WDY=" value text: evaluated as a term, rounded
// (halves to even) and limited to 0 .. Hoechstwert. False when the text gives no
// usable number.
bool SetupPixelWert(const QString& Text, int Hoechstwert, int& Wert);
