#pragma once
// The rules of the exercise base form that need no window: the task counter,
// the window scaling and placement, and which buttons the setup switches lock.
#include <QString>

// "Aufgabe k / N".
QString AufgabenZaehlerText(int AufgabenNr, int Aufgabenanzahl);

// The counter after one more task: 1 .. N, then 1 again.
int NaechsteAufgabenNr(int AufgabenNr, int Aufgabenanzahl);

// What the scaling switches do to a window of the given size.
struct TSkalierung {
    bool An = false; // the form's scaling is turned on
    int Zaehler = 1; // the overall scale Zaehler / Nenner
    int Nenner = 1;
    int Schritte = 0; // controls are scaled Schritte times by SchrittM / SchrittD
    int SchrittM = 1;
    int SchrittD = 1;
    int Breite = 0; // the new outer size
    int Hoehe = 0;
};
// Factor 0 scales by 4/3 up to twice while the window still fits well on the screen;
// factors 1 to 5 scale by 1/1, 4/3, 16/9, 2/1 and 3/2. Off when Skalieren is not set.
TSkalierung SkalierungBerechnen(bool Skalieren, int Faktor, int Breite, int Hoehe, int SchirmBreite,
                                int SchirmHoehe, int TaskleistenHoehe);

// Left and top of a window centred on the screen; on screens lower than 780 pixels
// the window moves up to 3 pixels from the top.
void FensterZentrieren(int Breite, int Hoehe, int SchirmBreite, int SchirmHoehe, int& Links, int& Oben);

// Whether the setup switches lock a button with this caption.
bool DurchSetupGesperrt(const QString& Caption, bool KeineHilfe, bool KeineLoesung);
