#pragma once
// The administrator's settings, read from "OrvandelSetup.txt" at every
// section-form activation and read by the exercise forms and launchers.
#include <QString>

struct tFSetup {
    bool HGSchwarz = false;        // black background
    QString Anwendungsverzeichnis; // application directory
    // The 18 one-byte switches, in file order.
    bool KeineHilfe = false;
    bool KeineLoesung = false;
    bool KeineWerkzeuge = false;
    bool KeinKurvenwerk = false;     // function plotter
    bool KeinRaumschau = false;      // 3-D viewer
    bool KeinTaschenrechner = false; // calculator
    bool KeinTermlotse = false;      // algebra help
    bool KeinStufenloeser = false;   // Gauss solver
    bool KeinNaeherlotse = false;    // numerics help
    bool KeinIPAdresse = false;
    bool KeinMonitoraufloesung = false;
    bool KeinSkizzbrett = false; // drawing sheet
    bool Kein3D2Monitore = false;
    bool KeinBildkalk = false;      // graphing calculator
    bool KeinZufallslotse = false;  // stochastics help
    bool KeinGittermeister = false; // matrix tool
    bool SOT = false;               // exercise windows stay on top
    bool CW = false;                // enlarge exercise windows by WDX x WDY
    int WDX = 0;
    int WDY = 0;
    bool Skalieren = false;
    int Skalierungsfaktor = 0; // 0 .. 5
};

// The one instance; zero values until the first section form reads the file.
extern tFSetup FSetup;

// Back to the reset values, with the given application directory.
void FSetupZuruecksetzen(const QString& Anwendungsverzeichnis);
