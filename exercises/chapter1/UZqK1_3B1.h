#pragma once
// Written subtraction of a smaller number below 1000 from a larger one, with
// the check by addition as a tip once all is right.
#include "exercises/chapter1/UZqK1_3Spalten.h"

extern TSpaltenZustand ZqK1_3B1;

class TZqK1_3B1 : public TSpaltenrechnen {
public:
    explicit TZqK1_3B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3B1"); }
};
