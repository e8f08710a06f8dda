#include "exercises/chapter1/UZqK1_3G1.h"

TDivisionZustand ZqK1_3G1;

TZqK1_3G1::TZqK1_3G1(TComponent* AOwner) : TDivisionsform(AOwner, ZqK1_3G1, false) {
    SetName(QStringLiteral("ZqK1_3G1"));
}
