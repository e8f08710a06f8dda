#pragma once
// The one place that knows the exercise forms by class name. Each exercise
// chapter registers its forms through a function that the program calls at
// start (self-registering objects would be dropped from static libraries):
//
//   AufgabeRegistrieren<TZqK1_3E1>("TZqK1_3E1");
#include <QString>
#include <QStringList>
#include <functional>

class TAufgabeg;
class TComponent;

// Creates a form of the class, owned by AOwner.
using TAufgabeFabrik = std::function<TAufgabeg*(TComponent* AOwner)>;

// Registers (or replaces) the factory of an exercise form class.
void AufgabeRegistrieren(const QString& Klasse, TAufgabeFabrik Fabrik);
template <class T> void AufgabeRegistrieren(const QString& Klasse) {
    AufgabeRegistrieren(Klasse, [](TComponent* AOwner) -> TAufgabeg* { return new T(AOwner); });
}
// Removes a registration.
void AufgabeAbmelden(const QString& Klasse);
bool AufgabeBekannt(const QString& Klasse);
QStringList AufgabenKlassen();

// A new form of the class owned by AOwner, or nullptr when the class is unknown.
TAufgabeg* AufgabeErzeugen(const QString& Klasse, TComponent* AOwner);

// Creates the form with the application as owner, shows it modally and releases
// it when it closes. False when the class is unknown (the page's exercise does
// not exist) or a form of that class is already open.
bool AufgabeOeffnen(const QString& Klasse);
// The open form of that class, or nullptr.
TAufgabeg* OffeneAufgabe(const QString& Klasse);
