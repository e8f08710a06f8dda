#include "ExerciseRegistry.h"

#include "platform/Application.h"
#include "shell/UAufgabeg.h"

#include <map>

namespace {

std::map<QString, TAufgabeFabrik>& Fabriken() {
    static std::map<QString, TAufgabeFabrik> F;
    return F;
}

// The global form variable of each exercise class.
std::map<QString, TAufgabeg*>& Offene() {
    static std::map<QString, TAufgabeg*> F;
    return F;
}

} // namespace

void AufgabeRegistrieren(const QString& Klasse, TAufgabeFabrik Fabrik) {
    if (Fabrik) Fabriken()[Klasse] = std::move(Fabrik);
}

void AufgabeAbmelden(const QString& Klasse) {
    Fabriken().erase(Klasse);
}

bool AufgabeBekannt(const QString& Klasse) {
    return Fabriken().count(Klasse) != 0;
}

QStringList AufgabenKlassen() {
    QStringList Liste;
    for (const auto& [Klasse, Fabrik] : Fabriken())
        Liste.append(Klasse);
    return Liste;
}

TAufgabeg* AufgabeErzeugen(const QString& Klasse, TComponent* AOwner) {
    const auto it = Fabriken().find(Klasse);
    return it == Fabriken().end() ? nullptr : it->second(AOwner);
}

TAufgabeg* OffeneAufgabe(const QString& Klasse) {
    const auto it = Offene().find(Klasse);
    return it == Offene().end() ? nullptr : it->second;
}

bool AufgabeOeffnen(const QString& Klasse) {
    if (OffeneAufgabe(Klasse)) return false;
    TAufgabeg* Form = AufgabeErzeugen(Klasse, Application());
    if (!Form) return false;
    Offene()[Klasse] = Form;
    Form->ShowModal();
    Offene().erase(Klasse);
    Form->Release();
    return true;
}
