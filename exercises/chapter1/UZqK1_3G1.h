#pragma once
// Written division without remainder.
#include "exercises/chapter1/UZqK1_3Division.h"

extern TDivisionZustand ZqK1_3G1;

class TZqK1_3G1 : public TDivisionsform {
public:
    explicit TZqK1_3G1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3G1"); }
};
