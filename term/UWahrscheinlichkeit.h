#pragma once
// Probability functions behind the notations B(n;p;k), K(n;p;k), Bin(n;k), n!,
// F(x) and Y(p). Pure functions; they check no arguments. Overflow and division
// by zero raise EMathFehler.
#include "UTermZahl.h"

#include <cstdint>

Extended Fakultaet(int32_t n);
double Binomialkoeffizient(int32_t n, int32_t k);
Extended Binomialverteilung(int32_t n, int32_t k, double p);
Extended KumulierteBinomialverteilung(int32_t n, int32_t k, double p);
double Normaldichte(double x);
double Normalverteilung(double x);
double InverseNormalverteilung(double p);
