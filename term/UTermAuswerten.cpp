#include "UTermAuswerten.h"

#include "UTermNormal.h"
#include "UTermZahl.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

using namespace TermZahl;
using Token::IstFunktion;
using Token::IstKlein;
using Token::IstPotenz;
using Token::IstZahlZeichen;
using Token::IstZiffer;

namespace {

// Operators and function tokens.
bool IstO(char c) { return Token::Klasse(c) & (Token::KRechen | Token::KFunktion); }
bool IstOPlus(char c) { return c == '(' || IstO(c); }
// Operands.
bool IstC(char c) { return c == '.' || (Token::Klasse(c) & (Token::KZiffer | Token::KKlein | Token::KFunktion)); }

// The innermost bracket: R is the first ")", L the last "(" before it (npos
// when there is none). False when the term has no ")".
bool InnersteKlammer(const std::string& S, size_t& L, size_t& R) {
    R = S.find(')');
    if (R == std::string::npos) return false;
    L = S.rfind('(', R);
    return true;
}

// x² becomes (x²), so that a letter's power binds before anything else.
void PotenzKlammernBuchstabe(std::string& S) {
    if (S.size() <= 1)
        return;
    std::string r;
    r.reserve(S.size() + 8);
    for (size_t i = 0; i < S.size(); ++i) {
        if (IstKlein(S[i]) && i + 1 < S.size() && IstPotenz(S[i + 1])) {
            r += '(';
            r += S[i];
            r += S[i + 1];
            r += ')';
            ++i;
        } else {
            r += S[i];
        }
    }
    S.swap(r);
}

// 1/2² becomes 1/(2)²: the power binds before the division.
void PotenzKlammernZahl(std::string& S) {
    std::string r;
    r.reserve(S.size() + 8);
    size_t i = 0;
    while (i < S.size()) {
        if (IstZahlZeichen(S[i])) {
            size_t j = i;
            while (j < S.size() && IstZahlZeichen(S[j]))
                ++j;
            bool klammern = j < S.size() && IstPotenz(S[j]) && i > 0 && (S[i - 1] == '/' || S[i - 1] == ':');
            if (klammern)
                r += '(';
            r.append(S, i, j - i);
            if (klammern)
                r += ')';
            i = j;
        } else {
            r += S[i++];
        }
    }
    S.swap(r);
}

bool Zulaessig(const std::string& S) {
    int tiefe = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        char c = S[i];
        if (i + 1 < S.size()) {
            char d = S[i + 1];
            if (IstO(c) && (d == '*' || d == '+' || d == '-' || d == '/'))
                return false;
            if (c == '(' && d == ')')
                return false;
        }
        if (c == '(')
            ++tiefe;
        else if (c == ')' && --tiefe < 0)
            return false;
    }
    return tiefe == 0;
}

Extended Funktion(char f, Extended x, int& Fehler) {
    switch (f) {
    case Token::Wurzel:
        if (x < 0) {
            Fehler = Fehlercode::Wurzel;
            return 0;
        }
        return std::sqrt(x);
    case Token::Abs:
        return std::fabs(x);
    case Token::ArcTan:
        return std::atan(x);
    case Token::ArcSin:
    case Token::ArcCos:
        if (x < -1 || x > 1) {
            Fehler = Fehlercode::Wurzel;
            return 0;
        }
        return f == Token::ArcSin ? std::asin(x) : std::acos(x);
    case Token::Sin:
        return std::sin(x);
    case Token::Cos:
        return std::cos(x);
    case Token::Exp:
        return Pruefe(std::exp(x));
    case Token::Tan: {
        Extended c = std::cos(x);
        if (c == 0) {
            Fehler = Fehlercode::Tangens;
            return 0;
        }
        return Div(std::sin(x), c);
    }
    case Token::Ln:
        if (x <= 0) {
            Fehler = Fehlercode::Ln;
            return 0;
        }
        return std::log(x);
    case Token::Lg:
        if (x <= 0) {
            Fehler = Fehlercode::Lg;
            return 0;
        }
        return std::log(x) / std::log(10.0L);
    default:
        return 0;
    }
}

// One token of a piece: a single character (operator, sign, function token,
// letter or anything else), a number as it stands in the piece's text, or a
// computed value (kept as the value its number text reads as).
struct tToken {
    enum tArt : uint8_t { Zeichen, Text, Wert, Tot };
    tArt Art = Wert;
    char Z = 0;       // the character of a Zeichen token
    char Vz = 0;      // a sign joined to a Text token
    uint32_t Von = 0; // a Text token's place in the piece
    uint32_t Laenge = 0;
    bool Gelesen = true;
    Extended W = 0;

    static tToken Einzeln(char c) {
        tToken t;
        t.Art = Zeichen;
        t.Z = c;
        return t;
    }
    static tToken Zahltext(size_t von, size_t laenge) {
        tToken t;
        t.Art = Text;
        t.Von = static_cast<uint32_t>(von);
        t.Laenge = static_cast<uint32_t>(laenge);
        t.Gelesen = false;
        return t;
    }
    bool Ist(char c) const { return Art == Zeichen && Z == c; }
    void Zahl(Extended v) {
        Art = Wert;
        W = Kappen(v);
        Gelesen = true;
    }
    // The sign becomes part of the token's text. Only a plain number text stays
    // readable with it; a single character or a computed value's text (which
    // leads with a blank or "-") then reads as no number, i.e. as 0.
    void VorzeichenDavor(char c) {
        if (Art == Text && Vz == 0) {
            Vz = c;
            Gelesen = false;
        } else {
            Art = Tot;
            W = 0;
            Gelesen = true;
        }
    }
};

bool IstEinzeln(const tToken& t, bool (*Art)(char)) { return t.Art == tToken::Zeichen && Art(t.Z); }

} // namespace

bool TermAuswertenKern(const std::string& Stueck, std::string& ErgebnisText, const tVarWerte& Werte, int& Fehler) {
    Fehler = Fehlercode::Keiner;
    std::string s = Stueck;
    TermNormalisieren(s);
    if (s.empty())
        return false;

    // Implicit products and the checks of neighbouring signs.
    std::string t;
    t.reserve(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        char a = s[i];
        t += a;
        if (i + 1 == s.size())
            break;
        char b = s[i + 1];
        if (IstO(a) && (IstPotenz(b) || b == '*' || b == '/'))
            return false;
        if (a == '.' && !IstZiffer(b))
            return false;
        bool zahlA = IstZiffer(a) || a == '.';
        if ((IstKlein(a) && (IstKlein(b) || IstZiffer(b) || b == '.')) || (zahlA && IstKlein(b)) ||
            (IstPotenz(a) && IstC(b)) || ((zahlA || IstKlein(a)) && IstFunktion(b)))
            t += '*';
    }
    if (t[0] == '*' || t[0] == '/' || IstPotenz(t[0]) || IstO(t.back()))
        return false;
    if (IstC(t[0]))
        t.insert(t.begin(), '+');

    // Tokens.
    std::vector<tToken> tok;
    tok.reserve(t.size() + 4);
    size_t zahlVon = 0, zahlLaenge = 0; // the pending number
    auto einzeln = [&tok](char c) { tok.push_back(tToken::Einzeln(c)); };
    auto zahl = [&] { tok.push_back(tToken::Zahltext(zahlVon, zahlLaenge)); };
    for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (IstZiffer(c) || c == '.') {
            if (zahlLaenge == 0)
                zahlVon = i;
            ++zahlLaenge;
        } else if (c == 'E' && t.size() - 1 - i > 4 && (t[i + 1] == '+' || t[i + 1] == '-') && IstZiffer(t[i + 2]) &&
                   IstZiffer(t[i + 3]) && IstZiffer(t[i + 4]) && IstZiffer(t[i + 5])) {
            if (zahlLaenge == 0)
                zahlVon = i;
            zahlLaenge += 6;
            i += 5;
        } else if (IstPotenz(c)) {
            int mal = c == Token::Quadrat ? 1 : 2;
            if (zahlLaenge != 0) {
                zahl();
                for (int k = 0; k < mal; ++k) {
                    einzeln('*');
                    zahl();
                }
                zahlLaenge = 0;
            } else {
                for (int k = 0; k < mal; ++k) {
                    einzeln('*');
                    einzeln(t[i - 1]);
                }
            }
        } else {
            if (zahlLaenge != 0) {
                zahl();
                zahlLaenge = 0;
            }
            einzeln(c);
        }
    }
    if (zahlLaenge != 0)
        zahl();

    for (tToken& x : tok)
        if (IstEinzeln(x, IstKlein))
            x.Zahl(Werte[static_cast<size_t>(x.Z - 'a')]);

    // A sign after an operator belongs to the number after it.
    {
        std::vector<tToken> aus;
        aus.reserve(tok.size());
        for (size_t i = 0; i < tok.size(); ++i) {
            if (i + 2 < tok.size() && IstEinzeln(tok[i], IstO) && (tok[i + 1].Ist('+') || tok[i + 1].Ist('-'))) {
                aus.push_back(tok[i]);
                tok[i + 2].VorzeichenDavor(tok[i + 1].Z);
                ++i; // the sign is gone; the joined token is looked at next
                continue;
            }
            aus.push_back(tok[i]);
        }
        tok.swap(aus);
    }

    // A token that is no number reads as 0.
    auto wert = [&t](tToken& x) -> Extended {
        if (!x.Gelesen) {
            std::string_view text(t.data() + x.Von, x.Laenge);
            if (x.Vz != 0) {
                std::string mitVz(1, x.Vz);
                mitVz += text;
                x.W = ZahlOderNull(mitVz);
            } else {
                x.W = ZahlOderNull(text);
            }
            x.Gelesen = true;
        }
        return x.W;
    };
    tToken null;
    auto nach = [&tok, &null](size_t i) -> tToken& { return i < tok.size() ? tok[i] : null; };

    // Functions, from the left; each takes the one token after it.
    {
        std::vector<tToken> aus;
        aus.reserve(tok.size());
        for (size_t i = 0; i < tok.size(); ++i) {
            if (!IstEinzeln(tok[i], IstFunktion)) {
                aus.push_back(tok[i]);
                continue;
            }
            int f = 0;
            Extended v = Funktion(tok[i].Z, wert(nach(i + 1)), f);
            if (f != 0)
                Fehler = f;
            aus.emplace_back().Zahl(v);
            ++i;
        }
        tok.swap(aus);
    }

    // Products and quotients, from the left; a result is the left operand of
    // the next operator.
    {
        std::vector<tToken> aus;
        aus.reserve(tok.size());
        if (!tok.empty())
            aus.push_back(tok[0]);
        for (size_t i = 1; i < tok.size(); ++i) {
            const bool mal = tok[i].Ist('*');
            if (!mal && !tok[i].Ist('/')) {
                aus.push_back(tok[i]);
                continue;
            }
            Extended a = wert(aus.back());
            Extended b = wert(nach(i + 1)), v;
            if (mal) {
                v = Mul(a, b);
            } else if (b == 0) {
                Fehler = Fehlercode::Division;
                v = 0;
            } else {
                v = Div(a, b);
            }
            aus.back().Zahl(v);
            ++i;
        }
        tok.swap(aus);
    }

    // Sums: sign, number, sign, number ...
    Extended summe = 0;
    for (size_t i = 0; i < tok.size(); i += 2) {
        Extended v = wert(nach(i + 1));
        summe = tok[i].Ist('+') ? Add(summe, v) : Sub(summe, v);
    }
    ErgebnisText = ZahlText(summe);
    return Fehler == Fehlercode::Keiner;
}

bool TermAuswerten(const std::string& Term, std::string& ErgebnisText, const tVarWerte& Werte, int& Fehler) {
    Fehler = Fehlercode::Keiner;
    std::string s = Term;
    TermNormalisieren(s);
    PotenzKlammernBuchstabe(s);
    PotenzKlammernZahl(s);
    if (!Zulaessig(s))
        return false;

    // Innermost bracket first; its value goes back into the term as a number text.
    // Each round removes a bracket pair or a power after a bracket; the cap
    // only guards against a term that would never shrink.
    size_t runden = 2 * s.size() + 4;
    for (size_t lauf = 0;; ++lauf) {
        size_t l = 0, r = 0;
        if (!InnersteKlammer(s, l, r)) break;
        if (lauf > runden) return false;
        if (l == std::string::npos)
            return false;
        if (r + 1 < s.size() && IstPotenz(s[r + 1])) {
            // (..)² binds before whatever stands to its left.
            std::string u = s.substr(0, l + 1);
            u += '(';
            u.append(s, l + 1, r - l);
            u += s[r + 1];
            u += ')';
            u.append(s, r + 2, std::string::npos);
            s.swap(u);
            InnersteKlammer(s, l, r);
        }
        std::string wert;
        if (!TermAuswertenKern(s.substr(l + 1, r - l - 1), wert, Werte, Fehler))
            return false;
        size_t nach = r + 1;
        char potenz = 0;
        if (nach < s.size() && IstPotenz(s[nach]))
            potenz = s[nach++];
        std::string u = s.substr(0, l);
        if (l > 0 && !IstOPlus(s[l - 1]))
            u += '*';
        u += wert;
        for (int k = potenz == Token::Quadrat ? 1 : potenz == Token::Kubus ? 2 : 0; k > 0; --k) {
            u += '*';
            u += wert;
        }
        if (nach < s.size()) {
            char c = s[nach];
            if (c != ')' && c != '*' && c != '+' && c != '-' && c != '/' && !IstPotenz(c))
                u += '*';
            u.append(s, nach, std::string::npos);
        }
        s.swap(u);
    }
    std::string wert;
    if (!TermAuswertenKern(s, wert, Werte, Fehler))
        return false;
    ErgebnisText = ZahlText(ZahlOderNull(wert.substr(wert[0] == ' ' ? 1 : 0)));
    return true;
}
