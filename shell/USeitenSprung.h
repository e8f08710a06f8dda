#pragma once
// Page jumps to the other programs of the family. A jump text names a
// program and a place ("Pravolin - Klasse 5|Abschnitt 1.3", "Physolin -
// Optik, 2. Kapitel Übung 1"); following it starts that program with a deep
// link of the form the program's own command line reads ("KxxA1.3.1").
//
// The programs lie side by side under one install root:
//   <root>/Orvandel - Mathematik/<program folder>/<program>.exe
//   <root>/Orvandel - Physik/<program folder>/<program>.exe
#include <QString>

// One program of the family.
struct TGeschwisterProgramm {
    const char* Familie; // "Orvandel - Mathematik" or "Orvandel - Physik"
    const char* Ordner;  // the program's folder in the family folder
    const char* Datei;   // its executable in that folder
};

constexpr int GeschwisterAnzahl = 46;
// Row 1 .. 46 of the table; nullptr outside.
const TGeschwisterProgramm* GeschwisterProgramm(int Zeile);

// The install root: the application directory cut before the family folder
// it lies in (the physics family wins), or all of it.
QString Installationswurzel(const QString& Anwendungsverzeichnis);

// A jump text taken apart: the program named (after its aliases) and the
// deep-link parameter for the place.
struct TSeitenSprung {
    QString Programm;
    QString Parameter;
};
TSeitenSprung SeitenSprungZerlegen(const QString& Sprungtext);

// The deep-link parameter of a place ("Abschnitt 1.3", "1.3.2", "1.3 Übung 2"):
// "Kxx" alone when the place names no page of a section.
QString SprungParameter(const QString& Ort);

// The family member an application directory belongs to, by the folder
// words in it; empty when none fits.
QString ProgrammDesVerzeichnisses(const QString& Anwendungsverzeichnis);
