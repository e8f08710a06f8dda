#pragma once
// Word problems about lengths on four pages: a stack of CD cases, a walk,
// a car journey and the furniture of a room.
#include "exercises/chapter2/UTextaufgaben.h"

extern TTextaufgabenZustand ZqK2_2B1;

class TZqK2_2B1 : public TTextaufgabe {
public:
    explicit TZqK2_2B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_2B1"); }

    // "Ja" and "Nein" of the room question.
    void BitBtn18Click(TObject* Sender);
    TBitBtn* BitBtn18 = nullptr;
    TBitBtn* BitBtn19 = nullptr;

protected:
    void Leeren() override;
};
