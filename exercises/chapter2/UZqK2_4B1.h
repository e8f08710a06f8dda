#pragma once
// Word problems about weights on four pages: animals on the scales,
// dumbbells, advertising letters and vitamin C in juice.
#include "exercises/chapter2/UTextaufgaben.h"

extern TTextaufgabenZustand ZqK2_4B1;

class TZqK2_4B1 : public TTextaufgabe {
public:
    explicit TZqK2_4B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_4B1"); }

    // "Ergebnis" buttons that come with the help of a question.
    TBitBtn* BitBtn11 = nullptr; // the dumbbell course
    TBitBtn* BitBtn3 = nullptr;  // the letters in kilograms

protected:
    void HilfeGezeigt(int k) override;
    void Leeren() override;

private:
    int m_kurs = -1;
    int m_briefe = -1;
};
