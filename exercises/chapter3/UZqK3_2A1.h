#pragma once
// Counting cubes: seven fixed questions about a large cube built of small ones,
// each with a picture in oblique view and prepared help.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <vector>

struct TWuerfelzahlZustand {
    int Aufgabe = 0;  // 1 .. 7, 0 before the first task
    int Ergebnis = 0; // expected answer of the current task
    int Richtig = 0, Falsch = 0;
    bool ErsteAntwort = true;
};
extern TWuerfelzahlZustand ZqK3_2A1;

// One small cube of a picture: layer (up), column (right), depth (back) and
// the colours of its front, right side and top.
struct TKlotz {
    int L = 0, C = 0, D = 0;
    TColor Vorne = RGB(255, 200, 0), Seite = RGB(0, 200, 0), Oben = RGB(255, 0, 0);
};

// Where a cube's front square has its lower left corner, for the centre (cx, cy).
TPoint KlotzPosition(int cx, int cy, int s, int L, int C, int D);
// Bottom layers first, then left columns, then back to front, so that nearer
// cubes cover farther ones.
void KloetzeOrdnen(std::vector<TKlotz>& Kloetze);
// The cubes of the task's picture (1 .. 7), empty for other numbers.
std::vector<TKlotz> AufgabenKloetze(int Aufgabe);

class TZqK3_2A1 : public TAufgabeg {
public:
    explicit TZqK3_2A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_2A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet[8] = {}; // TabSheet1 .. TabSheet7
    TBitBtn* HilfeKnopf[8] = {}; // BitBtnHilfe, BitBtn3, BitBtn4, BitBtn5, BitBtn6, BitBtn8, BitBtn10
    TPanel* HilfePanel[8] = {};  // Panel2, Panel3, Panel5 .. Panel9
    TImage* HilfeBild[8] = {};   // Image2 .. Image7 (task 2 has none)
    TBitBtn* BitBtn7 = nullptr;  // "Hilfe 2" of task 5
    TBitBtn* BitBtn9 = nullptr;  // "Hilfe 2" of task 6
    TImage* Image1 = nullptr;
    TLabel* Label4 = nullptr;
    TAntwortPaar Paar1; // RichEdit1, BitBtnP1, LabelP1
    TPunkteAnzeige Panel4;
    TMemo* Memo1 = nullptr;

private:
    void AufgabeZeigen();
    void WuerfelzahlPruefen();
    void StandZeigen();
    void Hilfe2Aufgabe5();
    void Hilfe2Aufgabe6();
    void HilfebildZeichnen(int Aufgabe);
};
