#include "UWahrscheinlichkeit.h"

#include <algorithm>
#include <cmath>

using namespace TermZahl;

namespace {

const Extended ZweiPi = 6.283185307179586476925286766559L;

// Loops longer than this are done in closed form, so that a term such as
// B(2000000000;0.5;1) costs no more than a short one.
constexpr int64_t LangeSchleife = 1000;

// b^m by squaring, each step checked.
Extended Hoch(Extended b, int64_t m) {
    Extended r = 1;
    while (m > 0) {
        if (m & 1)
            r = Mul(r, b);
        m >>= 1;
        if (m > 0)
            b = Mul(b, b);
        if (r == 0)
            break;
    }
    return r;
}

} // namespace

Extended Fakultaet(int32_t n) {
    // Stops at the first overflow (n > 1754), so even huge n cost little.
    Extended r = 1;
    for (int32_t i = 1; i <= n; ++i)
        r = Mul(static_cast<Extended>(i), r);
    return r;
}

double Binomialkoeffizient(int32_t n, int32_t k) {
    // Bin(n;k) = Bin(n;n-k): the shorter product gives the same value.
    if (n >= 0 && k > n / 2 && k <= n)
        k = n - k;
    double r = 1.0;
    for (int64_t i = 1; i <= k; ++i) {
        Extended f = Div(Mul(static_cast<Extended>(n) - static_cast<Extended>(i) + 1, r),
                         static_cast<Extended>(k) - static_cast<Extended>(i) + 1);
        r = AlsDouble(f);
        if (r == 0)
            break; // stays 0
    }
    return r;
}

Extended Binomialverteilung(int32_t n, int32_t k, double p) {
    const Extended pp = p;
    const Extended q1 = Sub(1, pp);
    const int64_t nk = static_cast<int64_t>(n) - k;
    const int64_t rest = static_cast<int64_t>(n) - 2 * static_cast<int64_t>(k);
    if (n >= 0 && k >= 0 && k <= n && pp >= 0 && pp <= 1 && k + std::max<int64_t>(rest, 0) > LangeSchleife) {
        if (pp == 0)
            return k == 0 ? 1 : 0;
        if (pp == 1)
            return k == n ? 1 : 0;
        Extended l = std::lgamma(static_cast<Extended>(n) + 1) - std::lgamma(static_cast<Extended>(k) + 1) -
                     std::lgamma(static_cast<Extended>(nk) + 1) + k * std::log(pp) + nk * std::log1p(-pp);
        return std::exp(l);
    }
    Extended r = 1;
    for (int64_t i = 1; i <= k; ++i) {
        Extended q = i <= nk ? q1 : 1;
        r = Mul(Mul(Div(Mul(static_cast<Extended>(n) - static_cast<Extended>(i) + 1, r),
                        static_cast<Extended>(k) - static_cast<Extended>(i) + 1),
                    pp),
                q);
        if (r == 0)
            return 0;
    }
    if (rest > 0) {
        if (rest > LangeSchleife)
            return Mul(r, Hoch(q1, rest));
        for (int64_t j = 1; j <= rest && r != 0; ++j)
            r = Mul(q1, r);
    }
    return r;
}

Extended KumulierteBinomialverteilung(int32_t n, int32_t k, double p) {
    Extended t = Binomialverteilung(n, 100, p);
    Extended summe = 0;
    if (k < 0)
        return 0;
    const Extended pp = p;
    for (int64_t i = 0; i <= k; ++i) {
        if (i <= 100) {
            summe = Add(summe, Binomialverteilung(n, static_cast<int32_t>(i), p));
        } else {
            t = Div(Mul(Div(Mul(t, pp), Sub(1, pp)), static_cast<Extended>(n) - static_cast<Extended>(i) + 1),
                    static_cast<Extended>(i));
            summe = Add(summe, t);
            if (t == 0)
                break; // every later term is 0 as well
        }
    }
    return summe;
}

double Normaldichte(double x) {
    static const Extended Faktor = 1.0L / std::sqrt(ZweiPi);
    Extended xx = x;
    return static_cast<double>(Faktor * std::exp(-xx * xx / 2));
}

double Normalverteilung(double x) {
    const double a = -10;
    const double h = (x - a) / 100;
    const double m = h / 2;
    // The panel points are computed in extended and passed on as doubles.
    auto stelle = [a, h](int i, double d) { return static_cast<double>(a + static_cast<Extended>(i) * h + d); };
    double s = Normaldichte(a) + 4.0L * Normaldichte(stelle(0, m));
    for (int i = 1; i <= 99; ++i) {
        Extended t = s + 2.0L * Normaldichte(stelle(i, 0));
        s = static_cast<double>(t + 4.0L * Normaldichte(stelle(i, m)));
    }
    s = s + Normaldichte(x);
    return static_cast<double>(static_cast<Extended>(s) * h / 6);
}

double InverseNormalverteilung(double p) {
    if (std::isnan(p) || p <= 0 || p >= 1)
        return 0;
    const Extended Toleranz = 1e-9L;
    double lo = -10, hi = 10, mid = 0;
    // F(mid) moves by less than the tolerance once the interval is tiny; the
    // cap ends the search where the plain distance test would spin forever.
    for (int schritt = 0; schritt < 200; ++schritt) {
        mid = (lo + hi) / 2;
        double v = Normalverteilung(mid);
        if (std::isnan(v))
            return 0;
        if (v >= p)
            hi = mid;
        else
            lo = mid;
        if (std::fabs(static_cast<Extended>(v) - p) < Toleranz)
            break;
    }
    return mid;
}
