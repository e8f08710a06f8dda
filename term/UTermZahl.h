#pragma once
// Extended arithmetic of the term engine: the 23-character number text, reading
// it back, and operations that turn overflow, division by zero and invalid
// operations into an EMathFehler instead of letting inf or NaN slip through.
#include <cfloat>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

using Extended = long double;

class EMathFehler : public std::exception {
public:
    enum tArt { Ueberlauf, DivisionDurchNull, Ungueltig };
    explicit EMathFehler(tArt art) : Art(art) {}
    const char* what() const noexcept override;
    tArt Art;
};

namespace TermZahl {

// Raises EMathFehler for a value that is not finite (overflow for inf, invalid for NaN).
[[noreturn]] void NichtEndlich(Extended x);
// x itself when it is finite; otherwise raises as above. One comparison for
// the usual case (it fails for inf and NaN alike).
inline Extended Pruefe(Extended x) {
    if (x <= LDBL_MAX && x >= -LDBL_MAX) [[likely]]
        return x;
    NichtEndlich(x);
}
Extended Add(Extended a, Extended b);
Extended Sub(Extended a, Extended b);
Extended Mul(Extended a, Extended b);
// Division by zero raises (invalid for 0/0).
Extended Div(Extended a, Extended b);
// Storing an extended value as a double: overflow raises, underflow gives 0.
double AlsDouble(Extended x);

// x to the nearest whole number, halves to even.
Extended Nint(Extended x);
// nint(x) as a 32-bit integer; false when x lies outside that range (or is NaN).
bool NintInt32(Extended x, int32_t& r);
// |nint(x) - x| <= Grenze.
bool Ganzzahlig(Extended x, Extended Grenze = 0.001L);

// " 1.50000000000000E+0003": sign or blank, one digit, point, 14 digits,
// "E", exponent sign and four digits. Independent of the locale.
std::string ZahlText(Extended x);
// The same, and in Gekappt the value that reading the text back gives.
std::string ZahlText(Extended x, Extended& Gekappt);
// The value that reading ZahlText(x) back gives, without building the text.
Extended Kappen(Extended x);
// Reads a number (blanks, [+-] digits [. digits] [E [+-] digits]); false when the text
// is not one. A value beyond the extended range raises an overflow.
bool ZahlLesen(std::string_view s, Extended& x);
// The same, 0 for a text that is not a number.
Extended ZahlOderNull(std::string_view s);

} // namespace TermZahl
