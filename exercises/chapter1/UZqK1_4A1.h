#pragma once
// Reading and drawing bar charts: eight questions on a chart of the animals in
// Gaby's garden, then a second chart built by clicks.
#include "exercises/chapter1/UAufgabenmuster.h"

// The task shown, 1 .. 9 (0 before the first).
extern int ZqK1_4A1_Aufgabe;
// Heights of the seven bars set by clicks in task 9, index 1 .. 7.
extern int ZqK1_4A1_Hoehe[8];

class TZqK1_4A1 : public TAufgabeg {
public:
    explicit TZqK1_4A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_4A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void RichEdit1Change(TObject* Sender);
    void RichEdit1KeyPress(TObject* Sender, char16_t& Key);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void Image9MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image9MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // The chart of tasks 1-8 on Image1 and the chart to build on Image9.
    void Diagramm1Zeichnen();
    void Diagramm2Zeichnen();
    // Runs the check for the control that asked for it.
    void Pruefen(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPanel* PanelPage = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image9 = nullptr;
    TImage* Tierbild1[8] = {}; // TabSheet1, bar order (Image2, Image6, Image3, ...)
    TImage* Tierbild2[8] = {}; // TabSheet2, Image1h .. Image7h
    TLabel* LabelF1 = nullptr;
    TLabel* LabelP1 = nullptr;
    TLabel* Label4 = nullptr;
    TRichEdit* RichEdit1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TBitBtn* BitBtnHilfe = nullptr;
    TPanel* PanelH1 = nullptr;
    TLabel* LabelH1 = nullptr;
    TRichEdit* RichEdit2 = nullptr;
    TPanel* Panel1 = nullptr;
    TBitBtn* BitBtn[8] = {}; // 1 .. 7
    TLabel* Label15 = nullptr;

private:
    void DiagrammZeichnen(TImage* Bild, bool Zweites);
    int m_erwarteteAnzahl = 0;
    QString m_erwartetesTier;
    bool m_maustaste = false;
    int m_mausX = 0, m_mausY = 0;
};
