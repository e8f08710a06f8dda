#include "UNavigation.h"

#include "platform/Application.h"
#include "shell/UAbschnitte.h"
#include "shell/UAbschnittstabellen.h"
#include "shell/UZqK.h"
#include "shell/UZqStart.h"

#include <QCoreApplication>

void ZqEintragOeffnen(int Index) {
    if (!KxNav) return;
    KxNav->AktSeite = 1;
    QString Formklasse;
    int Seite = 0;
    if (!ZqBaumEintrag(Index, Formklasse, Seite)) return;
    KxNav->AktSeite = Seite;
    AbschnittOeffnen(Formklasse);
}

bool KommandozeileAuswerten(const QString& P, const QStringList& Knotentexte,
                            const std::function<void(int)>& EintragOeffnen) {
    const TDeepLink D = DeepLinkZerlegen(P, Knotentexte);
    if (!D.Vorhanden) return false;
    if (KxNav) KxNav->AutoOeffnen = D.AutoOeffnen;
    // Without a section to open, the choice stays for the section forms opened later.
    if (D.Knoten > 0 && EintragOeffnen) {
        EintragOeffnen(D.Knoten);
        if (KxNav) KxNav->AutoOeffnen = QStringLiteral("0");
    }
    return D.Marke;
}

QString ErsterParameter() {
    const QStringList Argumente = QCoreApplication::arguments();
    return Argumente.size() > 1 ? Argumente[1] : QString();
}

void KapitelauswahlZeigen() {
    if (KxNav) KxNav->AktSeite = 1;
    if (ZqK) ZqK->ShowModal();
}

void AnleitungZeigen() {
    if (KxNav) KxNav->AktSeite = 1;
    if (ZqAnleitung) ZqAnleitung->ShowModal();
}

bool ProgrammBeendenErlaubt() {
    return !KxNav || KxNav->BeendenErlaubt();
}

void ShellFormulareErzeugen() {
    Application()->CreateForm(ZqK);
    Application()->CreateForm(ZqStart);
    Application()->CreateForm(ZqAnleitung);
    Application()->CreateForm(KxNav);
}
