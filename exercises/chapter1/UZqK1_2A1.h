#pragma once
// Rounding: a page of rules, number tasks with a help that marks the deciding
// digit, and seven word problems.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TRundenZustand {
    int x = 0;           // the number of the number task
    int k = 0;           // its rounding place, 0 .. 5
    int gerundet = 0;    // expected answer
    bool Hilfe = false;  // the deciding digit is marked
    int Textaufgabe = 0; // 1 .. 7, 0 before the first
    int TextErgebnis = 0;
    bool Erste = true; // no task made yet
};
extern TRundenZustand ZqK1_2A1;

// x rounded to the place k, halves up; place 0 (one-digit numbers) rounds to tens.
int Gerundet(int x, int k);
// The rounding place of a number task for x: 0 .. 5.
int Rundungsstelle(int x);

class TZqK1_2A1 : public TAufgabeg {
public:
    explicit TZqK1_2A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_2A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    void RadioBereichClick(TObject* Sender);
    void PageControl1Change(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabInfo = nullptr;
    TTabSheet* TabZahlen = nullptr;
    TTabSheet* TabAufgaben = nullptr;
    TLabel* Label22 = nullptr;
    TImage* Image1 = nullptr;
    TAntwortPaar Paar1; // RichEdit1, BitBtnP1, LabelP1, BitBtnErgebnis
    TBitBtn* BitBtnHilfe = nullptr;
    TPanel* Panel2 = nullptr;
    TRadioGroup* RadioBereich = nullptr;
    TPageControl* PageControl2 = nullptr;
    TTabSheet* Problemseite[8] = {}; // TabSheet1 .. TabSheet7
    TBitBtn* ProblemHilfe[8] = {};   // BitBtn3, BitBtn5 .. BitBtn10
    TPanel* ProblemPanel[8] = {};    // Panel4 .. Panel10
    TLabel* Label29 = nullptr;
    TLabel* Label31 = nullptr;
    TAntwortPaar Paar2; // RichEdit2, BitBtnP2, LabelP2
    TPanel* Panel3 = nullptr;

private:
    void Zahlenaufgabe();
    void Zeichnen();
    void Textaufgabe();
};
