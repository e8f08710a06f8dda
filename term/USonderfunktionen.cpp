#include "USonderfunktionen.h"

#include "UTermNormal.h"
#include "UTermZahl.h"
#include "UWahrscheinlichkeit.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <vector>

using namespace TermZahl;
using Token::IstKlein;
using Token::IstZahlZeichen;
using Token::IstZiffer;

namespace {

enum tArt { ArtB = 1, ArtK = 2, ArtF = 3, ArtY = 4, ArtBin = 5, ArtDollar = 6 };

struct tNotation {
    std::string_view Anfang; // leading text
    int Semikolons;
};

const tNotation Notationen[7] = {{"", 0}, {"B(", 2}, {"K(", 2}, {"F(", 0}, {"Y(", 0}, {"Bin(", 1}, {"$(", 1}};

// The values the notation and factorial steps evaluate their arguments at. They
// only matter for p (and they never touch the program's shared generator).
tVarWerte PrivateWerte(bool MitPi) {
    static uint32_t Seed = 0x2F6B1D3u;
    tVarWerte w;
    for (double& x : w) {
        Seed = Seed * 134775813u + 1u;
        x = static_cast<double>((static_cast<uint64_t>(Seed) * 1000u) >> 32) / 1000.0 + 0.13;
    }
    if (MitPi)
        w['p' - 'a'] = std::numbers::pi;
    return w;
}

bool HatBuchstabenAusser(std::string_view s, std::string_view erlaubt) {
    for (char c : s)
        if (((c >= 'A' && c <= 'Z') || IstKlein(c)) && erlaubt.find(c) == std::string_view::npos)
            return true;
    return false;
}

bool HatGrossbuchstabenAusserE(std::string_view s) {
    for (char c : s)
        if (c >= 'A' && c <= 'Z' && c != 'E')
            return true;
    return false;
}

// The evaluator does not know "^" and would read a text that still holds one
// as something else (2^2 as 2-2), so such a text counts as not evaluated.
bool Wert(const std::string& Text, const tVarWerte& Werte, Extended& x) {
    std::string r;
    int f = 0;
    if (Text.find('^') != std::string::npos || !TermAuswerten(Text, r, Werte, f))
        return false;
    x = ZahlOderNull(std::string_view(r).substr(r[0] == ' ' ? 1 : 0));
    return true;
}

// Argument list of the notation of this kind: Anfang and Ende (1-based) span
// the text between the brackets. False when it is malformed.
bool Argumente(const std::string& Term, int Art, int& Anfang, int& Ende) {
    const tNotation& n = Notationen[Art];
    size_t p = Term.find(n.Anfang);
    if (p == std::string::npos) {
        Anfang = Ende = 0;
        return true;
    }
    size_t a = p + n.Anfang.size();
    Anfang = static_cast<int>(a) + 1;
    int tiefe = 1, semikolons = 0;
    size_t j = a;
    for (; j < Term.size(); ++j) {
        char c = Term[j];
        if (c == '(')
            ++tiefe;
        else if (c == ')' && --tiefe == 0)
            break;
        else if (c == ';')
            ++semikolons;
    }
    Ende = static_cast<int>(j); // 1-based position before the closing bracket
    return tiefe == 0 && semikolons == n.Semikolons;
}

// One notation step of the given kind.
void NotationErsetzen(std::string& Term, int Art, bool& Ok, bool& Geaendert) {
    Ok = false;
    Geaendert = false;
    const tVarWerte Werte = PrivateWerte(true);
    int Anfang = 0, Ende = 0;
    bool gefunden = Term.find(Notationen[Art].Anfang) != std::string::npos;
    if (!gefunden) {
        Ok = true;
        return;
    }
    if (!Argumente(Term, Art, Anfang, Ende))
        return;
    std::string liste = Term.substr(static_cast<size_t>(Anfang - 1), static_cast<size_t>(Ende - Anfang + 1));
    std::vector<Extended> arg;
    size_t von = 0;
    Ok = true;
    for (;;) {
        size_t bis = liste.find(';', von);
        std::string teil = liste.substr(von, bis == std::string::npos ? std::string::npos : bis - von);
        Extended x = 0;
        if (!Wert(teil, Werte, x))
            Ok = false;
        arg.push_back(x);
        if (bis == std::string::npos)
            break;
        von = bis + 1;
    }
    if (HatBuchstabenAusser(liste, "Ep"))
        Ok = false;
    if (!Ok)
        return;

    Extended v = 0;
    int32_t n = 0, k = 0;
    switch (Art) {
    case ArtB: {
        Extended N = arg[0], p = arg[1], K = arg[2];
        // Arguments beyond the 32-bit range are refused rather than wrapped.
        if (p < 0 || p > 1 || K < 0 || !Ganzzahlig(N) || !NintInt32(N, n) || n < 0 || !NintInt32(K, k)) {
            Ok = false;
            return;
        }
        v = Binomialverteilung(n, k, static_cast<double>(p));
        if (!Ganzzahlig(K) || K > N)
            v = 0;
        break;
    }
    case ArtK: {
        Extended N = arg[0], p = arg[1], K = arg[2];
        if (p < 0 || p > 1 || K < 0 || !Ganzzahlig(N) || !NintInt32(N, n) || n < 0) {
            Ok = false;
            return;
        }
        if (!Ganzzahlig(K))
            K = std::trunc(K);
        if (!NintInt32(K, k)) {
            Ok = false;
            return;
        }
        v = KumulierteBinomialverteilung(n, k, static_cast<double>(p));
        break;
    }
    case ArtBin:
    case ArtDollar: {
        Extended N = arg[0], K = arg[1];
        if (K < 0 || !Ganzzahlig(N) || !Ganzzahlig(K) || !NintInt32(N, n) || !NintInt32(K, k) || n < 0 || n < k) {
            Ok = false;
            return;
        }
        v = Binomialkoeffizient(n, k);
        break;
    }
    case ArtF: {
        Extended x = arg[0];
        v = x > 10 ? 1 : x < -10 ? 0 : Normalverteilung(static_cast<double>(x));
        break;
    }
    case ArtY: {
        Extended p = arg[0];
        if (p <= 0 || p >= 1) {
            Ok = false;
            return;
        }
        v = InverseNormalverteilung(static_cast<double>(p));
        break;
    }
    }
    int start = static_cast<int>(Term.find(Notationen[Art].Anfang)) + 1;
    DurchZahlErsetzen(Term, start, Ende + 1, AlsDouble(v));
    Geaendert = true;
}

// Start of the bracket group that the ")" at 0-based position Zu closes; the
// start of the term when no "(" matches it.
size_t KlammerLinks(const std::string& Term, size_t Zu) {
    int tiefe = 0;
    for (size_t j = Zu + 1; j-- > 0;) {
        if (Term[j] == ')')
            ++tiefe;
        else if (Term[j] == '(' && --tiefe == 0)
            return j;
    }
    return 0;
}

// One past the end of the bracket group that the "(" at 0-based position Auf
// opens; the end of the term when no ")" matches it.
size_t KlammerRechts(const std::string& Term, size_t Auf) {
    int tiefe = 0;
    for (size_t j = Auf; j < Term.size(); ++j) {
        if (Term[j] == '(')
            ++tiefe;
        else if (Term[j] == ')' && --tiefe == 0)
            return j + 1;
    }
    return Term.size();
}

void FakultaetErsetzen(std::string& Term, bool& Ok, bool& Geaendert) {
    Ok = false;
    Geaendert = false;
    const tVarWerte Werte = PrivateWerte(false);
    size_t P = Term.find('!');
    if (P == std::string::npos) {
        Ok = true;
        return;
    }
    if (P == 0)
        return;
    size_t a;
    int punkte = 0;
    if (Term[P - 1] == ')') {
        a = KlammerLinks(Term, P - 1);
    } else {
        a = P;
        while (a > 0 && (IstZiffer(Term[a - 1]) || Term[a - 1] == '.'))
            --a;
    }
    std::string operand = Term.substr(a, P - a);
    for (char c : operand)
        punkte += c == '.';
    bool falsch = punkte > 1 || Term[P - 1] == '.' || (Term[P - 1] == ')' && P >= 2 && Term[P - 2] == '.');
    if (HatBuchstabenAusser(operand, "E")) {
        falsch = true;
    } else if (operand.find('^') != std::string::npos) {
        // This pass runs before the powers; (2^2)! needs its power first, as a
        // notation's argument list has. A power left over is refused below.
        bool potenzOk = false;
        PotenzenErsetzen(operand, potenzOk, Werte);
    }
    Extended x = 0;
    Ok = !operand.empty() && !falsch && Wert(operand, Werte, x);
    if (!Ok)
        return;
    int32_t n = 0;
    if (!Ganzzahlig(x) || !NintInt32(x, n) || n < 0) {
        Ok = false;
        return;
    }
    DurchZahlErsetzen(Term, static_cast<int>(a) + 1, static_cast<int>(P) + 1, AlsDouble(Fakultaet(n)));
    Geaendert = true;
}

// b^m by squaring for a whole m; each step checked, 0 stays 0.
Extended GanzeHoch(Extended b, Extended m) {
    if (std::fabs(b) == 1)
        return (b > 0 || std::fmod(m, 2.0L) == 0) ? 1 : -1;
    Extended r = 1;
    while (m >= 1) {
        if (std::fmod(m, 2.0L) != 0)
            r = Mul(r, b);
        m = std::floor(m / 2);
        if (m >= 1)
            b = Mul(b, b);
        if (r == 0 && b == 0)
            break;
    }
    return r;
}

void PotenzErsetzen(std::string& Term, bool& Ok, bool& Geaendert, const tVarWerte& Werte) {
    TermNormalisieren(Term);
    Ok = false;
    Geaendert = false;
    size_t P = Term.find('^');
    if (P == std::string::npos) {
        Ok = true;
        return;
    }
    // A power inside a bracketed exponent goes first, so that 2^(2^3) is 2^8:
    // the evaluator cannot take the inner "^".
    while (P + 1 < Term.size() && Term[P + 1] == '(') {
        size_t innen = Term.find('^', P + 2);
        if (innen >= KlammerRechts(Term, P + 1))
            break;
        P = innen;
    }
    // Base, read leftwards.
    size_t a = P;
    bool basisGueltig = false;
    Extended x = 1;
    if (P > 0) {
        int punkte = 0;
        if (Term[P - 1] == ')') {
            a = KlammerLinks(Term, P - 1);
        } else {
            while (a > 0 && IstZahlZeichen(Term[a - 1])) {
                --a;
                punkte += Term[a] != '.' && Term[a] != ',' ? 0 : 1;
            }
            if (a == P && IstKlein(Term[P - 1]))
                a = P - 1;
        }
        std::string basis = Term.substr(a, P - a);
        basisGueltig = !basis.empty() && Wert(basis, Werte, x) && !HatGrossbuchstabenAusserE(basis) && punkte <= 1;
    }
    // Exponent, read rightwards.
    size_t e = P + 1; // one past its end
    bool expGueltig = false;
    Extended y = 1;
    if (P > 0 && P + 1 < Term.size()) {
        int punkte = 0;
        char c = Term[P + 1];
        if (c == '(') {
            e = KlammerRechts(Term, P + 1);
        } else if (IstZahlZeichen(c)) {
            while (e < Term.size() && IstZahlZeichen(Term[e])) {
                punkte += Term[e] == '.' || Term[e] == ',';
                ++e;
            }
        } else if (IstKlein(c)) {
            e = P + 2;
        }
        std::string exponent = Term.substr(P + 1, e - P - 1);
        expGueltig = !exponent.empty() && Wert(exponent, Werte, y) && !HatGrossbuchstabenAusserE(exponent) &&
                     punkte <= 1;
    }
    if (x < 0 && !Ganzzahlig(y, 0.0001L))
        return;
    if (basisGueltig && expGueltig) {
        try {
            Extended v;
            if (x > 0)
                v = Pruefe(std::exp(Mul(y, std::log(x))));
            else
                v = 0;
            if (y == 0)
                v = 1;
            if (x < 0) {
                Extended m = Nint(y);
                v = m > 0 ? GanzeHoch(x, m) : Div(1, GanzeHoch(x, -m));
            }
            DurchZahlErsetzen(Term, static_cast<int>(a) + 1, static_cast<int>(e), AlsDouble(v));
            Geaendert = true;
        } catch (const EMathFehler&) {
            return;
        }
    }
    Ok = basisGueltig && expGueltig;
}

void QuadratKubusErsetzen(std::string& Term, bool& Ok, bool& Geaendert, const tVarWerte& Werte, char Zeichen) {
    Ok = false;
    Geaendert = false;
    size_t P = Term.find(Zeichen);
    if (P == std::string::npos) {
        Ok = true;
        return;
    }
    if (P == 0)
        return;
    size_t a = P;
    int punkte = 0;
    if (Term[P - 1] != ')') {
        while (a > 0 && (IstZiffer(Term[a - 1]) || Term[a - 1] == '.')) {
            --a;
            punkte += Term[a] == '.';
        }
    }
    std::string operand = Term.substr(a, P - a);
    bool falsch = punkte > 1 || Term[P - 1] == '.' || (Term[P - 1] == ')' && P >= 2 && Term[P - 2] == '.');
    Extended x = 0;
    Ok = !operand.empty() && Wert(operand, Werte, x) && !falsch;
    if (!Ok)
        return;
    Extended v = Zeichen == Token::Quadrat ? Mul(x, x) : Mul(Mul(x, x), x);
    DurchZahlErsetzen(Term, static_cast<int>(a) + 1, static_cast<int>(P) + 1, AlsDouble(v));
    Geaendert = true;
}

} // namespace

void SonderfunktionSuchen(const std::string& Term, int& Start, int& Ende, int& Art) {
    int pos[7] = {0, 0, 0, 0, 0, 0, 0};
    const size_t n = Term.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (Term[i + 1] != '(')
            continue;
        switch (Term[i]) {
        case 'B': pos[ArtB] = static_cast<int>(i) + 1; break;
        case 'K': pos[ArtK] = static_cast<int>(i) + 1; break;
        case 'F': pos[ArtF] = static_cast<int>(i) + 1; break;
        case 'Y': pos[ArtY] = static_cast<int>(i) + 1; break;
        case '$': pos[ArtDollar] = static_cast<int>(i) + 1; break;
        default: break;
        }
    }
    for (size_t i = 0; i + 3 < n; ++i)
        if (Term.compare(i, 4, "Bin(") == 0)
            pos[ArtBin] = static_cast<int>(i) + 1;
    Start = pos[ArtB];
    Art = ArtB;
    for (int a = ArtK; a <= ArtDollar; ++a) {
        if (pos[a] > Start) {
            Start = pos[a];
            Art = a;
        }
    }
    Ende = 0;
    if (Start == 0)
        return;
    int tiefe = 0;
    for (size_t j = static_cast<size_t>(Start - 1) + (Art == ArtBin ? 3 : 1); j < n; ++j) {
        if (Term[j] == '(')
            ++tiefe;
        else if (Term[j] == ')' && --tiefe == 0) {
            Ende = static_cast<int>(j) + 1;
            return;
        }
    }
}

void DurchZahlErsetzen(std::string& Term, int Von, int Bis, double Wert) {
    std::string r = Term.substr(0, static_cast<size_t>(Von - 1));
    r += '(';
    r += ZahlText(Wert);
    r += ')';
    if (static_cast<size_t>(Bis) < Term.size())
        r.append(Term, static_cast<size_t>(Bis), std::string::npos);
    Term.swap(r);
}

void FakultaetenErsetzen(std::string& Term, bool& Ok) {
    bool geaendert = true;
    while (geaendert)
        FakultaetErsetzen(Term, Ok, geaendert);
}

void PotenzenErsetzen(std::string& Term, bool& Ok, const tVarWerte& Werte) {
    bool geaendert = true;
    while (geaendert)
        PotenzErsetzen(Term, Ok, geaendert, Werte);
}

void QuadrateErsetzen(std::string& Term, bool& Ok, const tVarWerte& Werte) {
    bool geaendert = true;
    while (geaendert)
        QuadratKubusErsetzen(Term, Ok, geaendert, Werte, Token::Quadrat);
}

void KubenErsetzen(std::string& Term, bool& Ok, const tVarWerte& Werte) {
    bool geaendert = true;
    while (geaendert)
        QuadratKubusErsetzen(Term, Ok, geaendert, Werte, Token::Kubus);
}

void SonderfunktionenAuswerten(std::string& Term, bool& Ok, const tVarWerte& Werte) {
    TermNormalisieren(Term);
    Ok = true;
    bool geaendert = true, ok = true;
    while (geaendert) {
        geaendert = false;
        int start = 0, ende = 0, art = 0;
        SonderfunktionSuchen(Term, start, ende, art);
        if (start == 0 || ende == 0)
            break;
        std::string vorne = Term.substr(0, static_cast<size_t>(start - 1));
        std::string mitte = Term.substr(static_cast<size_t>(start - 1), static_cast<size_t>(ende - start + 1));
        std::string hinten = Term.substr(static_cast<size_t>(ende));
        FakultaetenErsetzen(mitte, ok);
        PotenzenErsetzen(mitte, ok, Werte);
        QuadrateErsetzen(mitte, ok, Werte);
        KubenErsetzen(mitte, ok, Werte);
        NotationErsetzen(mitte, art, ok, geaendert);
        Term = vorne + mitte + hinten;
    }
    FakultaetenErsetzen(Term, ok);
    PotenzenErsetzen(Term, Ok, Werte);
    QuadrateErsetzen(Term, ok, Werte);
    KubenErsetzen(Term, ok, Werte);
}
