#pragma once
// The swan race: the pupil's swan gets a push for every right answer, the
// computer's swims at the speed of the chosen level; the first at the finish wins.
#include "exercises/chapter1/UAufgabenmuster.h"
#include "platform/Timer.h"

struct TRennenZustand {
    long long a = 0, b = 0, Ergebnis = 0;
    int Punkte = 0;
    double SpielerX = 0, ComputerX = 0, SpielerV = 0;
    int aVon = 0, aBis = 10, bVon = 0, bBis = 10;
    QString Ausgang; // who won, empty while the race is on or not started
};
extern TRennenZustand ZqK1_1D1;

class TZqK1_1D1 : public TAufgabeg {
public:
    explicit TZqK1_1D1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_1D1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void RichEdit1KeyPress(TObject* Sender, char16_t& Key);
    void BitBtnP1Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void RadioWasClick(TObject* Sender);
    void RichEdit2KeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* ImageSchwan = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* PanelZ1 = nullptr;
    TPanel* PanelZ2 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label3 = nullptr;
    TAntwortPaar Paar1; // RichEdit1, BitBtnP1, LabelP1
    TRadioGroup* RadioWas = nullptr;
    TRadioGroup* RadioBereich = nullptr;
    TPanel* Panel2 = nullptr;
    TLabel* Label6 = nullptr;
    TRichEdit* Grenze[4] = {}; // RichEdit2 .. RichEdit5: a von, a bis, b von, b bis
    TRadioGroup* RadioGroup1 = nullptr;
    TStaticText* StaticText1 = nullptr;
    TPanel* Panel3 = nullptr;
    TTimer* Timer1 = nullptr;

    // Pixels a tick of the opponent at the selected level.
    double Gegnertempo() const;

private:
    void NaechsteAufgabe(bool Zuruecksetzen);
    void AufgabeMachen();
    void Zeichnen();
    void PunkteZeigen();
};
