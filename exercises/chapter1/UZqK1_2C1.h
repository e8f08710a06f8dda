#pragma once
// Estimating the sum of two power readings by rounding both to tens and to
// hundreds; seven answer pairs, help marks under the deciding digits.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <utility>

struct TSchaetzenZustand {
    int a = 0, b = 0;
    int a10 = 0, b10 = 0;
    int a100 = 0, b100 = 0;
    bool Zehner = false;    // blue mark under the units digit
    bool Hunderter = false; // red mark under the tens digit
};
extern TSchaetzenZustand ZqK1_2C1;

// n rounded to the multiple of Stelle (10 or 100), halves up.
int AufRunden(int n, int Stelle);
// The two decomposition lines of a + b into the tens-rounded parts.
std::pair<QString, QString> Zerlegung(int a, int b);

class TZqK1_2C1 : public TAufgabeg {
public:
    explicit TZqK1_2C1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_2C1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TLabel* Label20 = nullptr;
    TAntwortPaar Paar[8];           // 1 .. 7
    TBitBtn* BitBtnHilfe = nullptr; // "Hilfe 1"
    TBitBtn* BitBtn10 = nullptr;    // "Hilfe 2"
    TBitBtn* BitBtn5 = nullptr;     // "Hilfe"
    TPanel* Panel2 = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel4 = nullptr;
    TLabel* Label24 = nullptr;
    TLabel* Label27 = nullptr;

    // The expected value of pair n.
    int Erwartet(int n) const;

private:
    void Zeichnen();
    void ZahlZeichnen(TImage* Bild, int Zahl);
};
