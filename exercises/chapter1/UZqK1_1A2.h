#pragma once
// The number line to 1 000 000.
#include "exercises/chapter1/UZqK1_1A1.h"

extern TZahlenstrahlZustand ZqK1_1A2;

class TZqK1_1A2 : public TZahlenstrahlForm {
public:
    explicit TZqK1_1A2(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_1A2"); }
};
