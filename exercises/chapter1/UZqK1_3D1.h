#pragma once
// Written multiplication by a one-digit number, long form: the partial
// products place by place in rows a) to e), each with its help and solution.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TEinstelligZustand {
    int a = 0, m = 0;
    int h = 0, z = 0, e = 0;
    int p1 = 0, p2 = 0, p3 = 0, p4 = 0, p5 = 0;
};
extern TEinstelligZustand ZqK1_3D1;

class TZqK1_3D1 : public TAufgabeg {
public:
    explicit TZqK1_3D1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3D1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    // Builds the task and its help; new numbers are drawn only when asked.
    void AufgabeZeigen(bool NeueZahlen);
    // A new task with the given numbers instead of drawn ones.
    void AufgabeMit(int a, int m);
    void Pruefen();
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

    // The expected value of row 1..5 (a) .. e)).
    int Wert(int Zeile) const;

    TLabel* Label1 = nullptr;
    TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel5 = nullptr;
    TRichEdit* RichEdit[17] = {};
    // Boxes of row 1..5, ones upwards.
    TRichEdit* Zeile[6][4] = {};
    TPanel *Panel14 = nullptr, *Panel15 = nullptr, *Panel16 = nullptr, *Panel21 = nullptr, *Panel26 = nullptr;
    TBitBtn* Ergebnis[6] = {}; // BitBtnErgebnis, BitBtn3 .. BitBtn6
    TShape* Shape3 = nullptr;
    TLabel *Label3 = nullptr, *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
    TLabel* LabelP1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TPanel* PanelHide = nullptr;

private:
    int m_a = -1, m_m = -1; // given numbers for the next task
};
