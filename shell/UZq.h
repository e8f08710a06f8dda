#pragma once
// The main window: the contents tree of the three chapters.
#include "shell/UInhaltsverzeichnisX.h"

class TZq : public TInhaltsverzeichnisX {
public:
    explicit TZq(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZq"); }

    TTreeView* TreeView1;

    void FormActivate(TObject* Sender) override;
    void EintragOeffnen(int Index) override;
    void SpeedButton1Click(TObject* Sender) override;
    void TreeView1DblClick(TObject* Sender);
    // Hands the selected node's index to EintragOeffnen.
    void GewaehltenEintragOeffnen();
};

// The texts of the tree's nodes in tree order (three chapters, twelve sections,
// 36 entries) with the level of each (0 chapter, 1 section, 2 entry).
struct TZqKnoten {
    int Ebene;
    const char* Text;
};
extern const TZqKnoten ZqKnoten[51];

extern TZq* Zq;
