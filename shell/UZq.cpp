#include "shell/UZq.h"

#include "shell/UKxNav.h"
#include "shell/UNavigation.h"
#include "shell/UZqStart.h"

TZq* Zq = nullptr;

// clang-format off
const TZqKnoten ZqKnoten[51] = {
    {0, "1. Kapitel : Natürliche Zahlen"},
    {1, "1.1 Einführende Übungen"},
    {2, "1.1.1 Der Zahlenstrahl"},
    {2, "1.1.2 Der Zahlenstrahl II"},
    {2, "1.1.3 Rechenübungen"},
    {2, "1.1.4 Rechenübungen II"},
    {1, "1.2 Schätzen und Runden"},
    {2, "1.2.1 Runden"},
    {2, "1.2.2 Schätzen, runden, rechnen "},
    {2, "1.2.3 Schätzen, runden, rechnen  II"},
    {1, "1.3 Schriftliches Rechnen"},
    {2, "1.3.1 Die schriftliche Addition"},
    {2, "1.3.2 Die schriftliche Subtraktion"},
    {2, "1.3.3 Vorübung zum schriftlichen Multiplizieren"},
    {2, "1.3.4 Schriftliches Multiplizieren mit einstelligen Zahlen"},
    {2, "1.3.5 Schriftliches Multiplizieren mit einstelligen Zahlen II"},
    {2, "1.3.6 Schriftliches Multiplizieren mit zweistelligen Zahlen"},
    {2, "1.3.7 Schriftliche Division durch einstellige Zahlen ohne Rest"},
    {2, "1.3.8 Schriftliche Division durch einstellige Zahlen mit Rest"},
    {1, "1.4 Diagramme"},
    {2, "1.4.1 Darstellung im Balkendiagramm"},
    {2, "1.4.2 Darstellung im Kreisdiagramm"},
    {0, "2. Kapitel : Größen"},
    {1, "2.1 Zeiten"},
    {2, "2.1.1 Ablesen von Zeiten"},
    {2, "2.1.2 Umwandlung von Zeiteinheiten"},
    {2, "2.1.3 Kalender"},
    {1, "2.2 Längen"},
    {2, "2.2.1 Berechnung von Längen"},
    {2, "2.2.2 Umwandlung von Längeneinheiten"},
    {1, "2.3 Volumina"},
    {2, "2.3.1 Umwandlung von Einheiten"},
    {2, "2.3.2 Anwendungsaufgaben zu Volumina"},
    {1, "2.4 Gewichte"},
    {2, "2.4.1 Rechnen mit Gewichten"},
    {2, "2.4.2 Umrechnung von Gewichtseinheiten"},
    {1, "2.5 Geldwerte "},
    {2, "2.5.1 Aufgaben zum Umgang mit Geldwerten"},
    {2, "2.5.2 Aufgaben zum Umgang mit Geldwerten II"},
    {1, "2.6 Umwandeln von Einheiten"},
    {2, "2.6.1 Umwandeln von Einheiten"},
    {0, "3. Kapitel : Geometrie"},
    {1, "3.1 Ebene Geometrie"},
    {2, "3.1.1 Muster erkennen"},
    {2, "3.1.2 Spiegelungen"},
    {2, "3.1.3 Symmetrieachsen"},
    {1, "3.2 Räumliche Geometrie"},
    {2, "3.2.1 Verstehen räumlicher Darstellungen"},
    {2, "3.2.2 Würfel- und Quadernetze"},
    {2, "3.2.3 Würfel- und Quadernetze II"},
    {2, "3.2.4 Vom Würfelnetz zum Würfel"},
};
// clang-format on

TZq::TZq(TComponent* AOwner) : TInhaltsverzeichnisX(AOwner) {
    SetCaption(QStringLiteral("Pravolin - Grundschule"));
    B_PanelT2->SetCaption(QStringLiteral("Grundschule"));

    TreeView1 = new TTreeView(this);
    TreeView1->SetName(QStringLiteral("TreeView1"));
    TreeView1->SetParent(B_PanelVZ);
    TreeView1->SetAlign(alClient);
    TreeView1->SetCursor(crHandPoint);
    TreeView1->SetReadOnly(true);
    TreeView1->SetAutoExpand(true);
    TreeView1->SetShowButtons(false);
    TreeView1->SetIndent(19);
    TreeView1->Font()->SetName(QStringLiteral("Arial"));
    TreeView1->Font()->SetColor(clYellow);
    TreeView1->Font()->SetHeight(-19);

    TTreeNode* ebenen[3] = {nullptr, nullptr, nullptr};
    for (const TZqKnoten& k : ZqKnoten) {
        TTreeNode* parent = k.Ebene > 0 ? ebenen[k.Ebene - 1] : nullptr;
        ebenen[k.Ebene] = TreeView1->Items()->AddChild(parent, QString::fromUtf8(k.Text));
    }

    TreeView1->OnDblClick = [this](TObject* s) { TreeView1DblClick(s); };
}

void TZq::FormActivate(TObject* Sender) {
    TInhaltsverzeichnisX::FormActivate(Sender);
    if (KxNav)
        KxNav->LogbuchBeginnen(QStringLiteral("Logbuch: ") + Caption());
    BaumGestalten(TreeView1);
    // The deep link may open a section (and an exercise in it) before the start screen.
    if (!KommandozeileAuswerten(TreeView1) && ZqStart)
        ZqStart->ShowModal();
}

void TZq::EintragOeffnen(int Index) { ZqEintragOeffnen(Index); }

void TZq::SpeedButton1Click(TObject* Sender) {
    TInhaltsverzeichnisX::SpeedButton1Click(Sender);
    BaumGestalten(TreeView1);
}

void TZq::TreeView1DblClick(TObject* Sender) {
    (void)Sender;
    GewaehltenEintragOeffnen();
}

void TZq::GewaehltenEintragOeffnen() {
    // Without a selected node there is nothing to open.
    if (TTreeNode* n = TreeView1->Selected()) EintragOeffnen(n->AbsoluteIndex());
}
