#pragma once
// Reading and building pie charts: a cake set by a slider, a cake for eight,
// an election result in percent and four pools to be matched to the slices.
#include "exercises/chapter1/UAufgabenmuster.h"
#include "platform/Chart.h"

// The task shown, 1 .. 4 (0 before the first).
extern int ZqK1_4B1_Aufgabe;

class TZqK1_4B1 : public TAufgabeg {
public:
    explicit TZqK1_4B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_4B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void TrackBar1Change(TObject* Sender);
    void BitBtnP0Click(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);
    void ComboBox1KeyPress(TObject* Sender, char16_t& Key);

    TChart* Chart1 = nullptr;
    TPieSeries* Series1 = nullptr;
    TPanel* PanelPage = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet[5] = {}; // 1 .. 4
    TTrackBar* TrackBar1 = nullptr;
    TLabel* LabelP0 = nullptr;
    TBitBtn* BitBtnP0 = nullptr;
    TAntwortPaar Paar1, Paar2, Paar3; // RichEdit1/2/3, BitBtnP1/2/3, LabelP1/2/3
    TBitBtn* BitBtnHilfe = nullptr;
    TBitBtn* BitBtn3 = nullptr; // "Ja"
    TBitBtn* BitBtn4 = nullptr; // "Nein"
    TBitBtn* BitBtn5 = nullptr; // "Hilfe" of the election
    TPanel* Panel2 = nullptr;
    TBitBtn* BitBtn6 = nullptr;
    TLabel* Label26 = nullptr;
    TComboBox* ComboBox[5] = {}; // 1 .. 4

private:
    void AufgabeZeigen();
};
