#pragma once
// Converting between days, hours, minutes and seconds: eight fixed tasks, one
// per page, stepped through in a cycle. Some want one number, some a mixed
// notation in two boxes; the last page is a timetable with five answers.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TZeiteinheitenZustand {
    int32_t Aufgabe = 0; // 1 .. 8, 0 before the first task
    QString Erwartet;    // the single answer of the current task
    int32_t Teil1 = 0, Teil2 = 0; // the two parts of a mixed notation
};
extern TZeiteinheitenZustand ZqK2_1B1;

class TZqK2_1B1 : public TAufgabeg {
public:
    explicit TZqK2_1B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_1B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void ZeitaufgabeEinrichten();
    // Runs the check whose box or "prüfen" button is the sender.
    void ZeitaufgabePruefen(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet[9] = {};   // 1 .. 8
    TRichEdit* RichEdit[16] = {};  // 1 .. 15
    TLabel* LabelP[16] = {};       // 1, 2, 3, 4, 5, 7, 9, 10, 12 .. 15
    TBitBtn* BitBtnP[16] = {};     // as LabelP
    TBitBtn* BitBtnHilfe[8] = {};  // pages 1 .. 7
    TPanel* PanelHilfe[8] = {};    // pages 1 .. 7
    TBitBtn *BitBtn8 = nullptr, *BitBtn10 = nullptr; // "Lösung" on pages 5 and 6
    TPanel *PanelLoesung5 = nullptr, *PanelLoesung6 = nullptr;

private:
    void Gemischt(TRichEdit* Box1, TRichEdit* Box2, TLabel* Label, int Faktor);
};
