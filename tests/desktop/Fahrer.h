#pragma once
// Driving the running program from a second thread as a pupil does: real
// clicks and keys through the X server (xdotool), questions to the program's
// own thread for where its controls are and what its dialogs say.
#include "Arbeitsplatz.h"

#include <QApplication>
#include <QMetaObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <type_traits>

class TControl;
class TForm;

// Runs F on the program's thread and waits for its answer; the program's
// loops (modal ones included) run it between their events.
template <class F> std::invoke_result_t<F> ImProgramm(F f) {
    using R = std::invoke_result_t<F>;
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(qApp, f, Qt::BlockingQueuedConnection);
    } else {
        R r{};
        QMetaObject::invokeMethod(
            qApp, [&] { r = f(); }, Qt::BlockingQueuedConnection);
        return r;
    }
}

// Hands F to the program's thread without waiting: for what opens a modal
// window and so returns only when the window has closed.
void Posten(std::function<void()> f);

// Polls the condition until it holds; false when Sekunden passed first.
bool Warten(const std::function<bool()>& Bedingung, double Sekunden = 30);

// The X window of a form while it shows, else 0.
FensterId FormFenster(TForm* Form);

// The standard dialog in front (message box, file or print dialog) as the
// program shows it.
struct TDialogBild {
    FensterId Fenster = 0;
    QString Art; // "QMessageBox", "QFileDialog", "QPrintDialog" ...
    QString Titel;
    QStringList
        Knoepfe; // captions of the visible buttons, without the & of their shortcut key and outer blanks
    // Every text a pupil can read in it: title, labels, buttons, their hints,
    // tabs, group titles, column heads and the file type; not file names.
    QStringList Texte;
};
// The standard dialog of that kind once it is in front (Fenster 0 if none came).
TDialogBild DialogAbwarten(const QString& Art, double Sekunden = 30);
// The middle of the visible button of the dialog in front with that caption
// (as in Knoepfe) on the screen.
QPoint DialogKnopf(const QString& Caption);

// The middle of a control on the screen.
QPoint MitteVon(TControl* Control);
// A left click as the pupil makes it (the pointer moves there first).
void KlickBei(QPoint Punkt);
void Klick(TControl* Control);
// Anzahl clicks in a row, Pause milliseconds apart: quick ones pair into
// double clicks, as a pupil's do.
void KlickSerie(TControl* Control, int Anzahl, int Pause);
// A key ("Return", "Escape") to the window that has the focus.
void Taste(const QString& Name);
// Return to the window in front, taken by its control with the focus: a list
// of names that a name box offers (a file dialog's) may open only once its
// folder has been read, on a loaded machine after the name is typed, and
// then takes the Return and only closes. As a pupil would, Return is pressed
// again then.
void Bestaetigen();
// Keys ("x", "ctrl+z", "Tab") as fast as the keyboard can send them, with
// no pause between them: they reach the program in one batch.
void TastenSchnell(const QStringList& Namen);
// Text typed key by key into the focused control.
void Tippen(const QString& Text);
// Asks the window manager to activate a window, as a click on its title does.
void Aktivieren(FensterId Fenster);
// Returns once the program has taken in and handled the clicks and keys
// sent so far, however long a loaded machine takes. Not after input that
// opens a modal window: its handler would run inside this wait.
void Verarbeitet();

// Saves the screen as PNG under the test output, for people to look at.
void Bildschirmfoto(const QString& Name);

// The words of a text that a German pupil would meet as English.
QStringList EnglischeWoerter(const QStringList& Texte);

// Checks with the window manager's answers that Fenster is the active window,
// the topmost of all, above its owner Eigner and belongs to it (and modal).
void ImVordergrund(FensterId Fenster, FensterId Eigner, const QString& Was);
// Checks that the owner takes no input while Fenster is open: activating it
// leaves the focus with Fenster.
void EignerGesperrt(FensterId Fenster, FensterId Eigner, const QString& Was);

// Runs the program on this thread while Ablauf drives it from a second one,
// until the program has ended. A program still running when Ablauf returns
// (a failed check) is ended: its dialogs cancelled, its forms closed.
void Programmlauf(const std::function<void()>& Ablauf);
