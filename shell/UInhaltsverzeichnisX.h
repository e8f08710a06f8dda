#pragma once
// Base of the main window: title panels, the contents panel with its two small
// buttons, the bottom bar with "Kapitelauswahl" and "Programm beenden", and the
// tree's font size.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Forms.h"

class TInhaltsverzeichnisX : public TForm {
public:
    explicit TInhaltsverzeichnisX(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TInhaltsverzeichnisX"); }

    TPanel* B_PanelTitel;
    TPanel* B_PanelT1;
    TPanel* B_PanelT2;
    TPanel* B_PanelVzText;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TPanel* B_PanelButtons;
    TImage* hgbuttonliste;
    TSpeedButton* BtnKapitelauswahl;
    TShape* Shape1;
    TPanel* B_PanelButtonende;
    TImage* B_Imageende;
    TSpeedButton* ProgrammEnde;
    TShape* Shape2;
    TPanel* B_PanelVZ;

    // The tree's font size in points: 14 or 12.
    int Baumschriftgroesse = 14;

    // Opens the entry with this tree index; nothing in the base.
    virtual void EintragOeffnen(int Index);

    virtual void FormActivate(TObject* Sender);
    void BaumGestalten(TTreeView* Tree);
    virtual void SpeedButton1Click(TObject* Sender);
    void ProgrammEndeClick(TObject* Sender);
    void BtnKapitelauswahlClick(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    // Follows the command-line deep link through the tree's node texts; true when
    // the parameter carries the marker.
    bool KommandozeileAuswerten(TTreeView* Tree);
    // Every way of closing the main window asks here (the close box and
    // "Programm beenden" alike).
    virtual bool BeendenErlaubt();

private:
    void FormCloseQuery(TObject* Sender, bool& CanClose);
};
