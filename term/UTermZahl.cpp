#include "UTermZahl.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

const char* EMathFehler::what() const noexcept {
    switch (Art) {
    case Ueberlauf:
        return "Floating point overflow";
    case DivisionDurchNull:
        return "Floating point division by zero";
    default:
        return "Invalid floating point operation";
    }
}

namespace TermZahl {

void NichtEndlich(Extended x) {
    if (std::isnan(x))
        throw EMathFehler(EMathFehler::Ungueltig);
    throw EMathFehler(EMathFehler::Ueberlauf);
}

Extended Add(Extended a, Extended b) { return Pruefe(a + b); }
Extended Sub(Extended a, Extended b) { return Pruefe(a - b); }
Extended Mul(Extended a, Extended b) { return Pruefe(a * b); }

Extended Div(Extended a, Extended b) {
    if (b == 0)
        throw EMathFehler(a == 0 || std::isnan(a) ? EMathFehler::Ungueltig : EMathFehler::DivisionDurchNull);
    return Pruefe(a / b);
}

double AlsDouble(Extended x) {
    Pruefe(x);
    if (std::fabs(x) > static_cast<Extended>(DBL_MAX))
        throw EMathFehler(EMathFehler::Ueberlauf);
    return static_cast<double>(x);
}

Extended Nint(Extended x) { return std::nearbyint(x); }

bool NintInt32(Extended x, int32_t& r) {
    if (std::isnan(x))
        return false;
    Extended n = Nint(x);
    if (n < static_cast<Extended>(INT32_MIN) || n > static_cast<Extended>(INT32_MAX))
        return false;
    r = static_cast<int32_t>(n);
    return true;
}

bool Ganzzahlig(Extended x, Extended Grenze) {
    if (!std::isfinite(x))
        return false;
    return std::fabs(Nint(x) - x) <= Grenze;
}

namespace {

// Powers of ten that the extended format holds exactly (5^27 < 2^64).
constexpr int MaxExakt = 27;
Extended ZehnHoch(int k) {
    static const auto Tabelle = [] {
        std::array<Extended, MaxExakt + 1> t{};
        t[0] = 1;
        for (int i = 1; i <= MaxExakt; ++i)
            t[static_cast<size_t>(i)] = t[static_cast<size_t>(i) - 1] * 10;
        return t;
    }();
    return Tabelle[static_cast<size_t>(k)];
}

constexpr uint64_t E14 = 100000000000000ull;
constexpr uint64_t E15 = 1000000000000000ull;

// The exponent frexp would give for a finite a > 0, read from the bits of the
// 80-bit format where that is cheap.
int BinaerExponent(Extended a) {
    if constexpr (LDBL_MANT_DIG == 64 && sizeof(Extended) >= 10) {
        unsigned char b[sizeof(Extended)];
        std::memcpy(b, &a, sizeof a);
        int feld = ((b[9] & 0x7F) << 8) | b[8];
        if (feld != 0)
            return feld - 16382;
    }
    int e2 = 0;
    std::frexp(a, &e2);
    return e2;
}

// The nearest whole number to 0 <= y < 2^63, halves to even. The sum y + 2^63
// is rounded by the addition itself and carries that number in its 64-bit
// significand; this avoids switching the rounding mode for a conversion.
uint64_t NaechsteGanze(Extended y) {
    if constexpr (LDBL_MANT_DIG == 64 && sizeof(Extended) >= 10) {
        const Extended z = y + 9223372036854775808.0L;
        uint64_t signifikand;
        std::memcpy(&signifikand, &z, sizeof signifikand);
        return signifikand - (uint64_t{1} << 63);
    } else {
        auto m = static_cast<uint64_t>(y);
        Extended rest = y - static_cast<Extended>(m);
        if (rest > 0.5L || (rest == 0.5L && (m & 1)))
            ++m;
        return m;
    }
}

// The 15 significant digits of a > 0 as a whole number m (10^14 <= m < 10^15)
// and its decimal exponent; false when the scale is beyond the exact powers.
bool Ziffern(Extended a, uint64_t& m, int& e) {
    // log10(2) * binary exponent (78913 / 2^18, floored) is within one of the
    // decimal exponent.
    e = ((BinaerExponent(a) - 1) * 78913) >> 18;
    for (int versuch = 0; versuch < 4; ++versuch) {
        int k = 14 - e;
        if (k < -MaxExakt || k > MaxExakt)
            return false;
        Extended y = k >= 0 ? a * ZehnHoch(k) : a / ZehnHoch(-k);
        if (y >= 2e15L) {
            ++e;
            continue;
        }
        m = NaechsteGanze(y);
        if (m >= E15)
            ++e;
        else if (m < E14)
            --e;
        else
            return true;
    }
    return false;
}

// Digits and exponent of x != 0 and, in v, exactly what the reader makes of
// their text; false when x is too far from 1 for the exact powers of ten.
bool KappenExakt(Extended x, uint64_t& m, int& e, Extended& v) {
    if (!Ziffern(std::fabs(x), m, e) || e - 14 < -MaxExakt)
        return false;
    int k = e - 14;
    v = k >= 0 ? static_cast<Extended>(m) * ZehnHoch(k) : static_cast<Extended>(m) / ZehnHoch(-k);
    if (x < 0)
        v = -v;
    return true;
}

std::string Formatieren(bool negativ, uint64_t m, int e) {
    std::string s(23, '0');
    s[0] = negativ ? '-' : ' ';
    char ziffern[15];
    for (int i = 14; i >= 0; --i) {
        ziffern[i] = static_cast<char>('0' + m % 10);
        m /= 10;
    }
    s[1] = ziffern[0];
    s[2] = '.';
    for (int i = 1; i < 15; ++i)
        s[static_cast<size_t>(2 + i)] = ziffern[i];
    s[17] = 'E';
    s[18] = e < 0 ? '-' : '+';
    int ae = e < 0 ? -e : e;
    for (int i = 22; i >= 19; --i) {
        s[static_cast<size_t>(i)] = static_cast<char>('0' + ae % 10);
        ae /= 10;
    }
    return s;
}

} // namespace

std::string ZahlText(Extended x) {
    Extended g;
    return ZahlText(x, g);
}

Extended Kappen(Extended x) {
    Pruefe(x);
    if (x == 0)
        return 0;
    uint64_t m = 0;
    int e = 0;
    Extended v = 0;
    if (KappenExakt(x, m, e, v))
        return v;
    ZahlText(x, v);
    return v;
}

std::string ZahlText(Extended x, Extended& Gekappt) {
    Pruefe(x);
    if (x == 0) {
        Gekappt = 0;
        return Formatieren(false, 0, 0);
    }
    uint64_t m = 0;
    int e = 0;
    if (KappenExakt(x, m, e, Gekappt))
        return Formatieren(x < 0, m, e);
    // Far from 1: the library's conversion.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    std::string_view t(buf, static_cast<size_t>(res.ptr - buf)); // "-1.50000000000000e+03"
    std::string s;
    s.reserve(23);
    size_t i = 0;
    if (t[0] == '-') {
        s += '-';
        i = 1;
    } else {
        s += ' ';
    }
    size_t ep = t.find('e', i);
    s.append(t.substr(i, ep - i));
    s += 'E';
    s += t[ep + 1];
    std::string_view exp = t.substr(ep + 2);
    for (size_t k = exp.size(); k < 4; ++k)
        s += '0';
    s.append(exp);
    Gekappt = ZahlOderNull(s);
    return s;
}

bool ZahlLesen(std::string_view s, Extended& x) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ')
        ++i; // a positive number text leads with a blank
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    size_t mantAnfang = i;
    size_t ziffern = 0;
    bool signifikant = false;
    bool punkt = false;
    for (; i < n; ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            ++ziffern;
            signifikant = signifikant || c != '0';
        } else if (c == '.' && !punkt) {
            punkt = true;
        } else {
            break;
        }
    }
    if (ziffern == 0)
        return false;
    size_t mantEnde = i;
    long long exponent = 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        size_t j = i + 1;
        bool eneg = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) {
            eneg = s[j] == '-';
            ++j;
        }
        size_t eAnfang = j;
        for (; j < n && s[j] >= '0' && s[j] <= '9'; ++j)
            if (exponent < 1000000)
                exponent = exponent * 10 + (s[j] - '0');
        if (j == eAnfang)
            return false;
        if (eneg)
            exponent = -exponent;
        i = j;
    }
    if (i != n)
        return false;
    if (!signifikant) {
        x = 0;
        return true;
    }
    if (ziffern <= 18) {
        // Up to 18 digits fit a whole number exactly; with an exact power of
        // ten the one multiplication or division rounds correctly.
        uint64_t m = 0;
        long long nachKomma = 0;
        bool hinter = false;
        for (size_t j = mantAnfang; j < mantEnde; ++j) {
            if (s[j] == '.') {
                hinter = true;
                continue;
            }
            m = m * 10 + static_cast<uint64_t>(s[j] - '0');
            nachKomma += hinter;
        }
        long long k = exponent - nachKomma;
        if (k >= -MaxExakt && k <= MaxExakt) {
            Extended v = k >= 0 ? static_cast<Extended>(m) * ZehnHoch(static_cast<int>(k))
                                : static_cast<Extended>(m) / ZehnHoch(static_cast<int>(-k));
            x = neg ? -v : v;
            return true;
        }
    }
    // from_chars wants no leading sign and no trailing point.
    std::string t(s.substr(mantAnfang, mantEnde - mantAnfang));
    if (!t.empty() && t.back() == '.')
        t.pop_back();
    if (!t.empty() && t.front() == '.')
        t.insert(t.begin(), '0');
    t += 'e';
    t += std::to_string(exponent);
    Extended v = 0;
    auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Overflow or underflow: decide by the size of the mantissa alone.
        Extended m = 0;
        auto r2 = std::from_chars(t.data(), t.data() + t.find('e'), m);
        if (r2.ec == std::errc::result_out_of_range || std::log10(m) + static_cast<Extended>(exponent) > 0)
            throw EMathFehler(EMathFehler::Ueberlauf);
        v = 0;
    } else if (res.ec != std::errc() || res.ptr != t.data() + t.size()) {
        return false;
    }
    x = neg ? -v : v;
    return true;
}

Extended ZahlOderNull(std::string_view s) {
    Extended x = 0;
    return ZahlLesen(s, x) ? x : 0;
}

} // namespace TermZahl
