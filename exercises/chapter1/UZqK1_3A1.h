#pragma once
// Written addition of two numbers below 1000.
#include "exercises/chapter1/UZqK1_3Spalten.h"

extern TSpaltenZustand ZqK1_3A1;

class TZqK1_3A1 : public TSpaltenrechnen {
public:
    explicit TZqK1_3A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3A1"); }
};
