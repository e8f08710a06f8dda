#pragma once
// The token string: a term as code page 1252 bytes with one byte per function
// name, "." as decimal point, "*" for multiplication and no blanks.
#include <array>
#include <cstdint>
#include <string>

namespace Token {
constexpr char ArcTan = '\\';
constexpr char ArcSin = '\xA7';   // "§"
constexpr char ArcCos = '\xA8';   // "¨"
constexpr char Abs = '@';
constexpr char Sin = '\xE4';      // "ä"
constexpr char Cos = '\xC4';      // "Ä"
constexpr char Tan = '\xDF';      // "ß"
constexpr char Lg = '\xF6';       // "ö"
constexpr char Exp = '\xDC';      // "Ü"
constexpr char Bin = '$';
constexpr char Ln = '\xFC';       // "ü"
constexpr char Wurzel = '\xD6';   // "Ö"
constexpr char Quadrat = '\xB2';  // "²"
constexpr char Kubus = '\xB3';    // "³"
constexpr char MalPunkt = '\xB7'; // "·"

// Character classes of the token string, one bit each, looked up per byte.
enum tKlasse : uint8_t { KZiffer = 1, KKlein = 2, KFunktion = 4, KPotenz = 8, KRechen = 16, KAnzeigeFunktion = 32 };
constexpr std::array<uint8_t, 256> Klassen = [] {
    std::array<uint8_t, 256> k{};
    for (int c = '0'; c <= '9'; ++c)
        k[static_cast<size_t>(c)] |= KZiffer;
    for (int c = 'a'; c <= 'z'; ++c)
        k[static_cast<size_t>(c)] |= KKlein;
    auto setzen = [&k](char c, uint8_t bit) { k[static_cast<unsigned char>(c)] |= bit; };
    for (char c : {Abs, ArcTan, ArcSin, ArcCos, Cos, Wurzel, Exp, Tan, Sin, Lg, Ln})
        setzen(c, KFunktion);
    for (char c : {Bin, Abs, ArcTan, ArcSin, ArcCos, Cos, Exp, Tan, Sin, Lg, Ln})
        setzen(c, KAnzeigeFunktion);
    setzen(Quadrat, KPotenz);
    setzen(Kubus, KPotenz);
    for (char c : {'*', '+', '-', '/'})
        setzen(c, KRechen);
    return k;
}();
inline uint8_t Klasse(char c) { return Klassen[static_cast<unsigned char>(c)]; }

inline bool IstPotenz(char c) { return Klasse(c) & KPotenz; }
inline bool IstKlein(char c) { return Klasse(c) & KKlein; }
inline bool IstZiffer(char c) { return Klasse(c) & KZiffer; }
// Characters of a typed number: digits, point and comma.
inline bool IstZahlZeichen(char c) { return IstZiffer(c) || c == '.' || c == ','; }
// The eleven function tokens the evaluator knows (the root among them).
inline bool IstFunktion(char c) { return Klasse(c) & KFunktion; }
// The eleven function tokens the display writes out (the binomial sign among them).
inline bool IstAnzeigeFunktion(char c) { return Klasse(c) & KAnzeigeFunktion; }
} // namespace Token

// Turns S in place into its token string.
void TermNormalisieren(std::string& S);
// The display variant: as TermNormalisieren, but with decimal commas.
void TermNormalisierenKomma(std::string& S);
// S[Pos..Pos+Len-1] (1-based) becomes the single byte Token.
void TokenEinsetzen(std::string& S, int Pos, char Token, int Len);
// How many positions of S hold C.
int ZeichenZaehlen(const std::string& S, char C);
