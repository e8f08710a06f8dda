#pragma once
// Comparing two numbers with "<", "=" or ">"; a right choice or "Hilfe" shows
// both on a number line to 1 000 000. Only the first choice of a task counts.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TVergleichZustand {
    int A = 0;
    int B = 0;
    int Index = 0;        // 1 .. 99, 0 before the first task
    bool Erster = false;  // the first choice of the task is still to come
    bool Gezeigt = false; // A and B are on the line
    int richtig = 0;
    int falsch = 0;
};
extern TVergleichZustand ZqK1_1B1;

class TZqK1_1B1 : public TAufgabeg {
public:
    explicit TZqK1_1B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_1B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn5Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);

    TLabel* Label1 = nullptr;
    TPanel* Panel1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TImage* Image1 = nullptr;
    TLabel* Label2 = nullptr;
    TPanel* Panel4 = nullptr;
    TLabel* LabelZ1 = nullptr;
    TPanel* Panel5 = nullptr;
    TLabel* LabelZ2 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* LabelP1 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn4 = nullptr;
    TBitBtn* BitBtn5 = nullptr;
    TBitBtn* BitBtn6 = nullptr;
    TPanel* Panel3 = nullptr;
    TPunkteAnzeige Punkte;

private:
    void Aufgabe();
    void Zeichnen();
    void Entscheiden(const QString& Zeichen, bool Stimmt);
};
