#pragma once
// What the main window does with the sections: open one for a tree node, follow
// the command-line deep link, show the chapter selection and the instructions,
// and create the forms that live for the whole run.
#include <QString>
#include <QStringList>
#include <functional>

// Opens the section form of a tree node (0 .. 50) at the node's page. The
// requested start page is 1 afterwards for an index outside the tree.
void ZqEintragOeffnen(int Index);

// Evaluates the deep link P against the node texts in tree order; EintragOeffnen
// opens a node (the main window's virtual). True when P carries the marker "KXX".
bool KommandozeileAuswerten(const QString& P, const QStringList& Knotentexte,
                            const std::function<void(int)>& EintragOeffnen);
// The first command-line parameter of the program, or an empty text.
QString ErsterParameter();

// "Kapitelauswahl" and the instructions button of the main window: both start at page 1.
void KapitelauswahlZeigen();
void AnleitungZeigen();
// "Programm beenden": false when the pupil keeps the program open.
bool ProgrammBeendenErlaubt();

// Creates, after the main window and each owned by the application, the chapter
// selection, the start screen, the instructions and KxNav.
void ShellFormulareErzeugen();
