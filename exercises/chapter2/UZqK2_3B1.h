#pragma once
// Word problems about volumes on three pages: watering cans from rain
// barrels, glasses at a party, and prices per litre.
#include "exercises/chapter2/UTextaufgaben.h"

extern TTextaufgabenZustand ZqK2_3B1;

class TZqK2_3B1 : public TTextaufgabe {
public:
    explicit TZqK2_3B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_3B1"); }

    // Both ways to the party's answer, shown with its "Ergebnis".
    TPanel* Panel8 = nullptr;

protected:
    void ErgebnisGezeigt(int k) override;
    void Leeren() override;

private:
    int m_party = -1;
};
