#include "UTermPruefen.h"

#include "USonderfunktionen.h"
#include "UTermAuswerten.h"
#include "UTermNormal.h"
#include "UTermZahl.h"

#include <chrono>
#include <cmath>
#include <numbers>

using namespace TermZahl;

namespace {

const TColor Gruen = RGB(0, 255, 0);
const TColor Gelb = RGB(255, 255, 0);
const TColor Rot = RGB(255, 0, 0);
const TColor Magenta = RGB(255, 0, 255);
const TColor Weiss = RGB(255, 255, 255);
const TColor Cyan = RGB(0, 255, 255);

void Zeigen(tUrteil& u, const QString& Text, TColor Farbe) {
    u.Text = Text;
    u.Farbe = Farbe;
    u.Code = 0;
}

// Same recurrence as the program's generator, but a state of its own.
struct tZufall {
    uint32_t Seed = 0;
    int32_t Random(int32_t n) {
        Seed = Seed * 134775813u + 1u;
        return static_cast<int32_t>((static_cast<uint64_t>(Seed) * static_cast<uint32_t>(n)) >> 32);
    }
};

tZufall Zufall;
bool ZufallFest = false;
uint32_t FesterSeed = 0;

void ZufallStarten() {
    if (ZufallFest) {
        Zufall.Seed = FesterSeed;
        return;
    }
    auto t = std::chrono::steady_clock::now().time_since_epoch().count();
    Zufall.Seed = static_cast<uint32_t>(t) ^ static_cast<uint32_t>(static_cast<uint64_t>(t) >> 32);
}

struct tDurchgang {
    int Von, Bis;
    double Skala;
    bool Ersatz; // run the fallback when no sample was valid
};
const tDurchgang Normal{-20, 20, 1.0, true};
const tDurchgang Exp{-20, 20, 0.1, true};
const tDurchgang Weit{-40, 40, 0.1, false};

struct tArgumente {
    int Kopie;
    const std::string& Antwort;
    const std::string& Loesung;
    tUrteil& Urteil;
    int Grenze;
    char Modus;
    bool& Richtig;
};

bool Enthaelt(const std::string& s, char c) { return s.find(c) != std::string::npos; }

bool ZweiFunktionen(const std::string& s) {
    for (size_t i = 0; i + 1 < s.size(); ++i)
        if (Token::IstFunktion(s[i]) && Token::IstFunktion(s[i + 1]))
            return true;
    return false;
}

bool Verboten(const std::string& s) {
    for (char c : s)
        if (c == '!' || c == '$' || (c >= 'A' && c <= 'Z' && c != 'E'))
            return true;
    return false;
}

// Evaluates a term at one sample; false when it fails. Aus: out of range.
bool Bewerten(const std::string& Term, const tVarWerte& w, double& Wert, int& Fehler, bool& Aus) {
    Aus = false;
    Fehler = 0;
    try {
        std::string r;
        if (!TermAuswerten(Term, r, w, Fehler))
            return false;
        Wert = AlsDouble(ZahlOderNull(std::string_view(r).substr(r[0] == ' ' ? 1 : 0)));
        Aus = std::fabs(Wert) > 1e201;
        return true;
    } catch (const EMathFehler&) {
        Aus = true;
        return false;
    }
}

void Durchgang(const tArgumente& a, double Toleranz, const tDurchgang& d);

void Ersatz(const tArgumente& a, double Toleranz) {
    std::string A = a.Antwort, L = a.Loesung;
    TermNormalisieren(A);
    TermNormalisieren(L);
    if (Toleranz <= 1e-8 && (Enthaelt(A, Token::Exp) || Enthaelt(L, Token::Exp)))
        Toleranz = 1e-4;
    Durchgang(a, Toleranz, Weit);
}

void Durchgang(const tArgumente& a, double Toleranz, const tDurchgang& d) {
    tUrteil& u = a.Urteil;
    if (a.Antwort.empty()) {
        Zeigen(u, QStringLiteral("Keine Eingabe gemacht."), Magenta);
        a.Richtig = false;
        return;
    }
    ZufallStarten();
    std::string A = a.Antwort, L = a.Loesung;
    TermNormalisieren(A);
    TermNormalisieren(L);
    const bool absMissbrauch = Enthaelt(A, Token::Abs) && !Enthaelt(L, Token::Abs);
    std::string A2 = A; // the answer after the rewriting
    int gueltig = 0, treffer = 0;
    bool nieAusgewertet = true, andererFehler = false, undefiniert = false;
    a.Richtig = true;
    try {
        for (int r = d.Von; r <= d.Bis; ++r) {
            tVarWerte w;
            for (double& x : w) {
                double z1 = Zufall.Random(10), z2 = Zufall.Random(100);
                x = (std::sqrt(z1 * 0.01 + 0.367) * std::fabs(std::sin(z2 + 1)) + 0.1 + 0.3 * r) * d.Skala;
            }
            w['p' - 'a'] = std::numbers::pi;
            if (a.Modus != 'c')
                w['e' - 'a'] = std::numbers::e;
            bool ok;
            A2 = A;
            std::string L2 = L;
            SonderfunktionenAuswerten(A2, ok, w);
            SonderfunktionenAuswerten(L2, ok, w);
            if (Verboten(A2)) {
                Zeigen(u, QStringLiteral("Unzulässige Eingabe"), Weiss);
                a.Richtig = false;
                return;
            }
            TermNormalisieren(A2);
            TermNormalisieren(L2);
            const bool unueblich = UnueblicheSchreibweise(A2);
            double va = 0, vl = 0;
            int fa = 0, fl = 0;
            bool ausA, ausL;
            bool okA = Bewerten(A2, w, va, fa, ausA);
            bool okL = Bewerten(L2, w, vl, fl, ausL);
            if (okA)
                nieAusgewertet = false;
            if (!okL || ausL)
                continue;
            ++gueltig;
            if (!okA && !ausA) {
                a.Richtig = false;
                undefiniert = true;
                if (fa >= Fehlercode::Wurzel && fa <= Fehlercode::Lg)
                    ErgebnisAnzeigen(a.Kopie, u, Ergebniscode::Definitionsbereich);
                else
                    andererFehler = true;
            } else if (okA && !ausA) {
                double erlaubt = Toleranz > 0 ? std::fabs(vl * Toleranz) : Toleranz < 0 ? -Toleranz : 1e-6;
                if (std::fabs(va - vl) <= erlaubt) {
                    ++treffer;
                    // Simplicity is judged on the rewritten terms: 3! is no simpler than 6.
                    ErgebnisAnzeigen(a.Kopie, u,
                                     unueblich                      ? Ergebniscode::Unueblich
                                     : EinfacherAls(A2, L2, a.Grenze) ? Ergebniscode::Richtig
                                                                    : Ergebniscode::Vereinfachen);
                } else {
                    ErgebnisAnzeigen(a.Kopie, u, Ergebniscode::Falsch);
                    a.Richtig = false;
                }
            }
            // Out of range: valid, but no match.
        }
        if (andererFehler)
            ErgebnisAnzeigen(a.Kopie, u, Ergebniscode::Unzulaessig);
        if (A.empty())
            ErgebnisAnzeigen(a.Kopie, u, Ergebniscode::KeineEingabe);
        if (ZweiFunktionen(A))
            Zeigen(u, QStringLiteral("Klammern setzen !"), Cyan);
        // Undefined and out-of-range answers count as misses as well.
        if (gueltig - treffer > 5 || gueltig == 0) {
            Zeigen(u, QStringLiteral("Leider falsch"), Rot);
            a.Richtig = false;
        }
        if (undefiniert && treffer > 0) {
            Zeigen(u, QStringLiteral("Definitionsbereich beachten !"), Cyan);
            a.Richtig = false;
        }
        if (absMissbrauch)
            Zeigen(u, QStringLiteral("Bitte kein abs benutzen !"), Magenta);
        if (nieAusgewertet)
            Zeigen(u, QStringLiteral("Unzulässige Eingabe !"), Weiss);
    } catch (const EMathFehler&) {
        Zeigen(u, QStringLiteral("Unzulässige Eingabe"), Weiss);
        a.Richtig = false;
    }
    if (gueltig == 0 && d.Ersatz)
        Ersatz(a, Toleranz);
    if (Enthaelt(A2, '^'))
        Zeigen(u, QStringLiteral("Unzulässige Eingabe !"), Weiss);
}

} // namespace

void ErgebnisAnzeigen(int Kopie, tUrteil& Urteil, int Code) {
    QString text;
    TColor farbe;
    switch (Code) {
    case 1: text = QStringLiteral("Super, das Ergebnis ist richtig."); farbe = Gruen; break;
    case 2:
        text = Kopie == 2 ? QStringLiteral("Richtig, aber weiter vereinfachen.")
                          : QStringLiteral("Richtig, aber bitte noch weiter vereinfachen.");
        farbe = Gelb;
        break;
    case 3: text = QStringLiteral("Leider falsch"); farbe = Rot; break;
    case 4: text = QStringLiteral("Keine Eingabe gemacht"); farbe = Magenta; break;
    case 5: text = QStringLiteral("Unzulässige Eingabe"); farbe = Weiss; break;
    case 6: text = QStringLiteral("Richtig, aber unübliche Schreibweise."); farbe = Cyan; break;
    case 7: text = QStringLiteral("Der Wurzelradikand ist negativ !"); farbe = Weiss; break;
    case 8: text = QStringLiteral("Division durch Null !"); farbe = Weiss; break;
    case 9: text = QStringLiteral("tan kann nicht berechnet werden !"); farbe = Weiss; break;
    case 10: text = QStringLiteral("ln einer negativen Zahl !"); farbe = Weiss; break;
    case 11: text = QStringLiteral("log einer negativen Zahl !"); farbe = Weiss; break;
    case 15: text = QStringLiteral("Definitionsbereich beachten !"); farbe = Cyan; break;
    case 16: text = QStringLiteral("Bereichsüberschreitung !"); farbe = Cyan; break;
    default: return;
    }
    Urteil.Text = text;
    Urteil.Farbe = farbe;
    Urteil.Code = Code;
}

void ErgebnisPruefen(int Kopie, const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                     char Modus, bool& Richtig, double Toleranz, int Flag) {
    (void)Flag; // every caller passes 0
    const tArgumente a{Kopie, Antwort, Loesung, Urteil, Grenze, Modus, Richtig};
    try {
        std::string A = Antwort, L = Loesung;
        TermNormalisieren(A);
        TermNormalisieren(L);
        const bool expFall = Enthaelt(A, Token::Exp) || Enthaelt(L, Token::Exp);
        if (expFall && Toleranz <= 1e-8)
            Toleranz = 1e-5;
        Durchgang(a, Toleranz, Normal);
        if (expFall && !Richtig)
            Durchgang(a, -0.0001, Exp);
    } catch (...) {
        // Nothing the pupil types may escape from here.
        Zeigen(Urteil, QStringLiteral("Unzulässige Eingabe"), Weiss);
        Richtig = false;
    }
    // A "right" verdict never stands beside a wrong result.
    if (!Richtig && (Urteil.Code == Ergebniscode::Richtig || Urteil.Code == Ergebniscode::Vereinfachen ||
                     Urteil.Code == Ergebniscode::Unueblich))
        ErgebnisAnzeigen(Kopie, Urteil, Ergebniscode::Falsch);
}

bool EinfacherAls(const std::string& Antwort, const std::string& Loesung, int Grenze) {
    if (Grenze != 25 && Grenze != 45)
        return true;
    auto klassen = [Grenze](std::string s) {
        TermNormalisieren(s);
        std::array<int, 50> z{};
        for (char c : s) {
            int k = -1;
            switch (c) {
            case '-': k = 0; break;
            case '(': k = 1; break;
            case ')': k = 2; break;
            case Token::Quadrat: case Token::Kubus: case '^': k = 3; break;
            case Token::Wurzel: k = 4; break;
            case Token::Sin: k = 5; break;
            case Token::Cos: k = 6; break;
            case Token::Tan: k = 7; break;
            case Token::Ln: k = 8; break;
            case Token::Lg: k = 9; break;
            case Token::Exp: k = 10; break;
            case Token::Abs: k = 11; break;
            case Token::ArcTan: k = 12; break;
            case Token::ArcSin: k = 13; break;
            case Token::ArcCos: k = 14; break;
            case '.': case '/': k = 15; break;
            case '+': k = 16; break;
            case '*': case Token::MalPunkt: k = Grenze == 45 ? 17 : -1; break;
            default:
                if (Token::IstKlein(c))
                    k = 18 + (c - 'a');
            }
            if (k >= 0)
                ++z[static_cast<size_t>(k)];
        }
        return z;
    };
    auto a = klassen(Antwort), l = klassen(Loesung);
    for (size_t k = 0; k < a.size(); ++k)
        if (a[k] > l[k])
            return false;
    return true;
}

bool UnueblicheSchreibweise(const std::string& Term) {
    for (size_t i = 0; i + 1 < Term.size(); ++i) {
        char c = Term[i];
        if ((c == ')' || Token::IstKlein(c) || Token::IstPotenz(c)) && Token::IstZiffer(Term[i + 1]))
            return true;
    }
    return false;
}

void PruefZufallFestlegen(bool Fest, uint32_t Seed) {
    ZufallFest = Fest;
    FesterSeed = Seed;
}
