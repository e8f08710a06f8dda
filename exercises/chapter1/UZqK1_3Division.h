#pragma once
// Written division of a four-digit number by a one-digit number in the column
// scheme, with or without remainder: the whole scheme is worked out when the
// task is made, the pupil fills it row by row, and a right quotient opens the
// check by multiplication.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <vector>

struct TDivisionZustand {
    int q = 0, d = 0, R = 0;
    int T = 0, H = 0, Z = 0, E = 0;
    int q1 = 0, q2 = 0, q3 = 0, q4 = 0;
    int p1 = 0, p2t = 0, p2o = 0, p3t = 0, p3o = 0, p4t = 0, p4o = 0;
    int r1 = 0, r2 = 0, r3 = 0;
    int P = 0, S = 0;
    int c1 = 0, c2 = 0, c3 = 0;
};

// Thousands (not limited to one digit), hundreds, tens and ones of n.
void ZiffernZerlegen(int n, int& Tausender, int& Hunderter, int& Zehner, int& Einer);
// Every number of the scheme of D : d, where D = q · d + Rest.
void DivisionRechnen(TDivisionZustand& Z, int q, int d, int Rest = 0);
// The two lines of each step of the written multiplication q · d, ones digit
// first; three steps for a three-digit q, four for a four-digit q.
QStringList MultiplikationsHilfe(TDivisionZustand& Z);

class TDivisionsform : public TAufgabeg {
public:
    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void AufgabeStellen();
    void AufgabeErzeugen();
    // A new task with the given numbers instead of drawn ones.
    void AufgabeMit(int q, int d, int Rest = 0);

    void SchemaPruefen(TObject* Sender);
    void KontrollePruefen();
    void BitBtn7Click(TObject* Sender);
    void BitBtn21Click(TObject* Sender);
    void BitBtn20Click(TObject* Sender);
    void BitBtn35Click(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);

    TLabel *Label1 = nullptr, *Label5 = nullptr;
    TPanel *Panel6 = nullptr, *Panel7 = nullptr, *Panel8 = nullptr, *Panel9 = nullptr, *Panel11 = nullptr;
    TRichEdit* RichEdit[24] = {}; // RichEdit1 .. RichEdit23 (22, 23: the remainder)
    TRichEdit* RichEditE[5] = {}; // sum boxes RichEditE1 .. RichEditE4 (ones first)
    TShape* Shape[12] = {};       // Shape1 .. Shape11
    TBitBtn* BitBtn[39] = {};     // BitBtn3 .. BitBtn38 where the form has them
    TLabel* LabelPP[12] = {};     // LabelPP, LabelPP1 .. LabelPP11
    TPanel* Hinweis[16] = {};     // hint panels of rows 1 .. 14, 15 the remainder
    TLabel* HinweisText[16] = {}; // their labels
    TBitBtn* BitBtnErgebnis = nullptr;
    TBitBtn* BitBtnHilfe = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TLabel* LabelP1 = nullptr;
    TLabel *Label25 = nullptr, *Label27 = nullptr, *Label32 = nullptr;
    TPanel* PanelK1 = nullptr;
    TPanel *Panel30 = nullptr, *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel5 = nullptr;
    TPanel *Panel34 = nullptr, *Panel37 = nullptr, *Panel39 = nullptr;
    TPanel* HilfePanel[5] = {};     // Panel14, Panel15, Panel16, Panel31
    TLabel* HilfeZeile[5][2] = {};  // Label11/12, 13/14, 15/16, 19/20
    TBitBtn* HilfeKnopf[5] = {};    // BitBtnHilfe, BitBtn5, BitBtn6, BitBtn18
    TBitBtn* ErgebnisKnopf[6] = {}; // BitBtnErgebnis, BitBtn3, BitBtn4, BitBtn19, BitBtn38

protected:
    TDivisionsform(TComponent* AOwner, TDivisionZustand& Zustand, bool MitRest);

private:
    struct TPlatz {
        TControl* Control;
        int Links, Oben;
    };
    TDivisionZustand& Z;
    const bool m_rest;
    std::vector<TPlatz> m_plaetze;
    int m_q = -1, m_d = -1, m_r = 0;
    void DreistelligAnordnen();
};
