// Number texts, rounding, random decisions and points of the drawing units.
#include "drawing/UZeichnen2.h"

#include "drawing/Bildzugang.h"

#include "platform/Runtime.h"

#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace {

// Fixed-point text with d decimals, independent of the locale.
template <typename T> std::string Festkomma(T x, int d) {
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, d);
    if (res.ec != std::errc()) return {};
    return std::string(buf, res.ptr);
}

std::optional<double> Wert(const std::string& s) {
    double v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

// Halves away from zero, decided on the 5-decimal text of |x|; nothing when the
// integer part does not fit.
std::optional<int64_t> HalbAuf(long double x) {
    if (!std::isfinite(x)) return std::nullopt;
    const std::string s = Festkomma(std::fabs(x), 5);
    const auto punkt = s.find('.');
    if (s.empty() || punkt == std::string::npos || punkt > 18) return std::nullopt;
    int64_t n = 0;
    std::from_chars(s.data(), s.data() + punkt, n);
    if (s[punkt + 1] >= '5') ++n;
    return x < 0 ? -n : n;
}

} // namespace

QString ZahlAlsText(double x) {
    if (!std::isfinite(x)) return QString::fromStdString(Festkomma(x, 0));
    if (auto v = Wert(Festkomma(x, 11))) x = *v;
    int d = 11;
    for (int k = 10; k >= 0; --k) {
        auto v = Wert(Festkomma(x, k));
        if (v && *v == x) d = k;
    }
    std::string s = Festkomma(x, d);
    if (s == "-0") s = "0";
    return QString::fromStdString(s);
}

QString BetragAlsText(double x) {
    QString s = ZahlAlsText(x);
    if (s.size() >= 2 && s[s.size() - 2] == QLatin1Char('.') &&
        std::fabs(Runden(10 * x, 1) - 10 * x) < 0.00001)
        s += QLatin1Char('0');
    return s;
}

QString KommaZuPunkt(const QString& s) {
    QString t = s;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t;
}

QString ZahlGegliedert(int n) {
    // The minus sign counts like a digit: -100 is "- 100", -1000 "-1 000".
    const QString ziffern = QString::number(n);
    QString s;
    for (qsizetype i = 0; i < ziffern.size(); ++i) {
        if (i > 0 && (ziffern.size() - i) % 3 == 0) s += QLatin1Char(' ');
        s += ziffern[i];
    }
    return s;
}

int64_t RundenHalbAuf(long double x) {
    if (auto n = HalbAuf(x)) return *n;
    // Out of range: the nearest representable whole number.
    if (std::isnan(x)) return 0;
    return x < 0 ? INT64_MIN : INT64_MAX;
}

double Runden(double x, int n) {
    if (n > 18) return x;
    int64_t f = 1;
    for (int i = 0; i < n; ++i)
        f *= 10;
    auto r = HalbAuf(static_cast<long double>(x) * f);
    if (!r) return x;
    return static_cast<double>(*r) / static_cast<double>(f);
}

bool Zufallsentscheidung(double p) {
    // One of 100001 draws: even p = 0 comes true for the draw 0.
    const int r = Runtime::Random(100001);
    return r <= 100000 * p;
}

void UhrzeitLesen(int& Stunde, int& Minute, int& Sekunde) {
    const QTime t = QTime::currentTime();
    Stunde = t.hour();
    Minute = t.minute();
    Sekunde = t.second();
}

double Potenz(double Basis, double Exponent) {
    if (!(Basis > 0)) return 0;
    return std::exp(Exponent * std::log(Basis));
}

TRealPunkt RealPunkt(double x, double y) {
    return {x, y};
}

TPoint PunktAusRealPunkt(const TRealPunkt& P) {
    return TPoint{Ganzteil(P.x), Ganzteil(P.y)};
}

TRealPunkt RealPunktAusPunkt(const TPoint& P) {
    return {static_cast<double>(P.x), static_cast<double>(P.y)};
}

TRealPunkt PunktDrehen(const TRealPunkt& P, const TRealPunkt& Zentrum, double Winkel) {
    const double a = Winkel / 180 * M_PI;
    const double dx = P.x - Zentrum.x, dy = P.y - Zentrum.y;
    return {Zentrum.x + std::cos(a) * dx - std::sin(a) * dy, Zentrum.y + std::sin(a) * dx + std::cos(a) * dy};
}

double StundenzeigerWinkel(int Stunde, int Minute, int Sekunde) {
    return Stunde / 12.0 * 360 + Minute / 60.0 / 12 * 360 + Sekunde / 3600.0 / 12 * 360;
}

double MinutenzeigerWinkel(int Minute, int Sekunde) {
    return Minute * 6 + Sekunde / 10.0;
}
