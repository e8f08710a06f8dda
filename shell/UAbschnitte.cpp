#include "UAbschnitte.h"

#include "platform/Application.h"
#include "shell/ExerciseRegistry.h"

#include <map>

TZqAnleitung* ZqAnleitung = nullptr;

namespace {

// The global form variable of each section form class.
std::map<QString, TKxNav*>& OffeneAbschnitte() {
    static std::map<QString, TKxNav*> Formen;
    return Formen;
}

void SeitenUebernehmen(TKxNav& Form, const TAbschnittDef& Def) {
    Form.Seitenanzahl = Def.Seitenanzahl;
    for (int s = 0; s < Def.SeitenDefiniert && s < MaxSeiten; ++s) {
        TAbschnitt& P = Form.Seite[s + 1];
        P.Datei = QString::fromUtf8(Def.Seiten[s].Datei);
        P.Uebung1 = QString::fromUtf8(Def.Seiten[s].Uebung1);
        P.Uebung2 = QString::fromUtf8(Def.Seiten[s].Uebung2);
    }
}

} // namespace

TAbschnittsform::TAbschnittsform(TComponent* AOwner, const char* Formklasse)
    : TKxNav(AOwner), m_def(AbschnittDefinition(QString::fromLatin1(Formklasse))) {
    SetName(QString::fromLatin1(Formklasse).mid(1));
    SetCaption(QString::fromUtf8(m_def->Caption));
}

void TAbschnittsform::SeitenEinrichten() {
    TKxNav::SeitenEinrichten();
    SeitenUebernehmen(*this, *m_def);
}

void TAbschnittsform::SpeedButton2Click(TObject* Sender) {
    TKxNav::SpeedButton2Click(Sender);
    if (AktSeite >= 1 && AktSeite <= m_def->SeitenDefiniert)
        AufgabeOeffnen(QString::fromLatin1(m_def->Seiten[AktSeite - 1].Klasse1));
}

void TAbschnittsform::SpeedButton3Click(TObject* Sender) {
    TKxNav::SpeedButton3Click(Sender);
    if (AktSeite >= 1 && AktSeite <= m_def->SeitenDefiniert && *m_def->Seiten[AktSeite - 1].Klasse2)
        AufgabeOeffnen(QString::fromLatin1(m_def->Seiten[AktSeite - 1].Klasse2));
}

TZqAnleitung::TZqAnleitung(TComponent* AOwner) : TKxNav(AOwner) {
    SetName(QStringLiteral("ZqAnleitung"));
    SetCaption(QStringLiteral("Bedienungsanleitung"));
}

void TZqAnleitung::SeitenEinrichten() {
    TKxNav::SeitenEinrichten();
    SeitenUebernehmen(*this, *AbschnittDefinition(QStringLiteral("TZqAnleitung")));
}

TKxNav* AbschnittsformErzeugen(const QString& Formklasse, TComponent* AOwner) {
    static const std::map<QString, TKxNav* (*)(TComponent*)> Fabriken = {
        {"TZqK1_1", [](TComponent* o) -> TKxNav* { return new TZqK1_1(o); }},
        {"TZqK1_2", [](TComponent* o) -> TKxNav* { return new TZqK1_2(o); }},
        {"TZqK1_3", [](TComponent* o) -> TKxNav* { return new TZqK1_3(o); }},
        {"TZqK1_4", [](TComponent* o) -> TKxNav* { return new TZqK1_4(o); }},
        {"TZqK2_1", [](TComponent* o) -> TKxNav* { return new TZqK2_1(o); }},
        {"TZqK2_2", [](TComponent* o) -> TKxNav* { return new TZqK2_2(o); }},
        {"TZqK2_3", [](TComponent* o) -> TKxNav* { return new TZqK2_3(o); }},
        {"TZqK2_4", [](TComponent* o) -> TKxNav* { return new TZqK2_4(o); }},
        {"TZqK2_5", [](TComponent* o) -> TKxNav* { return new TZqK2_5(o); }},
        {"TZqK2_6", [](TComponent* o) -> TKxNav* { return new TZqK2_6(o); }},
        {"TZqK3_1", [](TComponent* o) -> TKxNav* { return new TZqK3_1(o); }},
        {"TZqK3_2", [](TComponent* o) -> TKxNav* { return new TZqK3_2(o); }},
    };
    const auto it = Fabriken.find(Formklasse);
    return it == Fabriken.end() ? nullptr : it->second(AOwner);
}

TKxNav* OffenerAbschnitt(const QString& Formklasse) {
    const auto it = OffeneAbschnitte().find(Formklasse);
    return it == OffeneAbschnitte().end() ? nullptr : it->second;
}

bool AbschnittOeffnen(const QString& Formklasse) {
    TKxNav*& Variable = OffeneAbschnitte()[Formklasse];
    if (Variable) return false; // already shown further down the chain of modal forms
    TKxNav* Form = AbschnittsformErzeugen(Formklasse, Application());
    if (!Form) {
        OffeneAbschnitte().erase(Formklasse);
        return false;
    }
    Variable = Form;
    Form->ShowModal();
    OffeneAbschnitte().erase(Formklasse);
    Form->Release();
    return true;
}
