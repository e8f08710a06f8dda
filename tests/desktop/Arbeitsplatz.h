#pragma once
// A desktop of the tests' own: a virtual X server with a real window manager
// (openbox) on a free display, and what the window manager answers about the
// windows on it (through xprop and xdotool, as a pupil's desktop would show it).
#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <vector>

using FensterId = unsigned long;

// Runs a program with its arguments, without a shell, and answers what it
// wrote on its standard output; Ergebnis takes its exit status (-1: it could
// not run or was killed).
QString Ausfuehren(const QStringList& Befehl, int* Ergebnis = nullptr);

class Arbeitsplatz {
public:
    Arbeitsplatz() = default;
    ~Arbeitsplatz() { Beenden(); }
    Arbeitsplatz(const Arbeitsplatz&) = delete;
    Arbeitsplatz& operator=(const Arbeitsplatz&) = delete;

    // Starts the X server on a free display and the window manager on it, and
    // points DISPLAY there. False with the reason.
    bool Starten(QString& Grund);
    // Stops both (only the processes started here).
    void Beenden();
    int Anzeige() const { return m_anzeige; }

private:
    // Starts openbox on the display and waits until it manages it; false
    // with what went wrong.
    bool FensterverwaltungStarten(QString& Fehler);

    pid_t m_server = -1;
    pid_t m_verwalter = -1;
    int m_anzeige = -1;
};

// The window that has the focus (_NET_ACTIVE_WINDOW of the root window), 0 for none.
FensterId AktivesFenster();
// The same as xdotool sees it.
FensterId AktivesFensterLautXdotool();
// The window a window belongs to (WM_TRANSIENT_FOR), 0 for none.
FensterId Besitzer(FensterId Fenster);
// The managed windows from the bottom to the top (_NET_CLIENT_LIST_STACKING).
std::vector<FensterId> Stapel();
// Whether the window manager holds the window for modal (_NET_WM_STATE_MODAL).
bool IstModal(FensterId Fenster);
// Whether Oben lies above Unten in the stacking order.
bool Ueber(FensterId Oben, FensterId Unten);
