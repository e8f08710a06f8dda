#include "UTerm.h"

#include "UTermZahl.h"
#include "platform/Runtime.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <numbers>

using namespace TermZahl;

void ErgebnisPruefen1(const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                      char Modus, bool& Richtig, double Toleranz, int Flag) {
    ErgebnisPruefen(1, Antwort, Loesung, Urteil, Grenze, Modus, Richtig, Toleranz, Flag);
}
void ErgebnisPruefen2(const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                      char Modus, bool& Richtig, double Toleranz, int Flag) {
    ErgebnisPruefen(2, Antwort, Loesung, Urteil, Grenze, Modus, Richtig, Toleranz, Flag);
}
void ErgebnisPruefen3(const std::string& Antwort, const std::string& Loesung, tUrteil& Urteil, int Grenze,
                      char Modus, bool& Richtig, double Toleranz, int Flag) {
    ErgebnisPruefen(3, Antwort, Loesung, Urteil, Grenze, Modus, Richtig, Toleranz, Flag);
}
void ErgebnisAnzeigen1(tUrteil& Urteil, int Code) { ErgebnisAnzeigen(1, Urteil, Code); }
void ErgebnisAnzeigen2(tUrteil& Urteil, int Code) { ErgebnisAnzeigen(2, Urteil, Code); }
void ErgebnisAnzeigen3(tUrteil& Urteil, int Code) { ErgebnisAnzeigen(3, Urteil, Code); }

namespace {

// Random letter values for a term value. Drawn from a generator of this unit,
// so that asking for a value does not reseed the program's shared generator.
tVarWerte Zufallswerte() {
    uint32_t seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    auto random = [&seed](uint32_t n) {
        seed = seed * 134775813u + 1u;
        return static_cast<double>((static_cast<uint64_t>(seed) * n) >> 32);
    };
    tVarWerte w;
    for (double& x : w) {
        double z1 = random(10), z2 = random(100);
        x = std::sqrt(z1 * 0.01 + 0.367) * std::fabs(std::sin(z2 + 1)) + 0.1;
    }
    w['p' - 'a'] = std::numbers::pi;
    return w;
}

bool Lesen(const std::string& Term, const tVarWerte& w, double& Wert) {
    std::string r;
    int f = 0;
    if (!TermAuswerten(Term, r, w, f))
        return false;
    Wert = AlsDouble(ZahlOderNull(std::string_view(r).substr(r[0] == ' ' ? 1 : 0)));
    return true;
}

double TermWert(const std::string& Term, const std::string& Text) {
    try {
        tVarWerte w = Zufallswerte();
        double x = 0;
        if (!Lesen(Text, w, x))
            x = 0;
        w['x' - 'a'] = x;
        double v = 0;
        return Lesen(Term, w, v) ? v : 0;
    } catch (const EMathFehler&) {
        return 0;
    }
}

} // namespace

double TermWert2(const std::string& Term, const std::string& Text) { return TermWert(Term, Text); }
double TermWert3(const std::string& Term, const std::string& Text) { return TermWert(Term, Text); }

double TermWertGueltig1(const std::string& Term, const std::string& Text, bool& Gueltig) {
    Gueltig = false;
    // An arithmetic failure is the caller's to handle: the setup reader stops
    // there instead of taking 0 for a number.
    tVarWerte w = Zufallswerte();
    double x = 0;
    bool textOk = Lesen(Text, w, x);
    w['x' - 'a'] = textOk ? x : 0;
    w['p' - 'a'] = std::numbers::pi;
    w['e' - 'a'] = std::numbers::e;
    std::string t = Term;
    bool ok = false;
    SonderfunktionenAuswerten(t, ok, w);
    double v = 0;
    bool termOk = Lesen(t, w, v);
    bool verboten = false;
    for (char c : t)
        verboten = verboten || c == '!' || c == '$' || (c >= 'A' && c <= 'Z' && c != 'E');
    Gueltig = textOk && ok && !verboten && termOk;
    return termOk ? v : 0;
}

namespace {

// The five-decimal text of |X| decides; false when the whole part does not fit.
bool RundenText(Extended X, int64_t& N) {
    if (!std::isfinite(X))
        return false;
    char buf[6000];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(X), std::chars_format::fixed, 5);
    if (res.ec != std::errc())
        return false;
    std::string_view t(buf, static_cast<size_t>(res.ptr - buf));
    size_t punkt = t.find('.');
    int64_t n = 0;
    auto r2 = std::from_chars(t.data(), t.data() + punkt, n);
    if (r2.ec != std::errc())
        return false;
    if (t[punkt + 1] >= '5') {
        if (n == INT64_MAX)
            return false;
        ++n;
    }
    N = X < 0 ? -n : n;
    return true;
}

} // namespace

int64_t Runden2(Extended X) {
    int64_t n = 0;
    if (RundenText(X, n))
        return n;
    if (std::isnan(X))
        return 0;
    return X < 0 ? INT64_MIN : INT64_MAX;
}

double StellenRunden2(int N, double X) {
    if (N > 18)
        return X; // 10^N would not fit a 64-bit integer
    int64_t f = 1;
    for (int i = 0; i < N; ++i)
        f *= 10;
    int64_t n = 0;
    Extended y = static_cast<Extended>(X) * static_cast<Extended>(f);
    if (!RundenText(y, n))
        return X;
    return static_cast<double>(static_cast<Extended>(n) / static_cast<Extended>(f));
}

namespace {
template <class S> void AlleErsetzen(S& s, const S& alt, const S& neu) {
    if (alt.isEmpty())
        return;
    S r;
    qsizetype von = 0;
    for (;;) {
        qsizetype p = s.indexOf(alt, von);
        if (p < 0)
            break;
        r += s.mid(von, p - von);
        r += neu;
        von = p + alt.size();
    }
    r += s.mid(von);
    s = r;
}

void AlleErsetzenStd(std::string& S, const std::string& Alt, const std::string& Neu) {
    if (Alt.empty())
        return;
    std::string r;
    size_t von = 0;
    for (;;) {
        size_t p = S.find(Alt, von);
        if (p == std::string::npos)
            break;
        r.append(S, von, p - von);
        r += Neu;
        von = p + Alt.size();
    }
    r.append(S, von, std::string::npos);
    S.swap(r);
}
} // namespace

void AlleErsetzen1(std::string& S, const std::string& Alt, const std::string& Neu) { AlleErsetzenStd(S, Alt, Neu); }
void AlleErsetzen3(std::string& S, const std::string& Alt, const std::string& Neu) { AlleErsetzenStd(S, Alt, Neu); }
void AlleErsetzen1(QString& S, const QString& Alt, const QString& Neu) { AlleErsetzen(S, Alt, Neu); }
void AlleErsetzen3(QString& S, const QString& Alt, const QString& Neu) { AlleErsetzen(S, Alt, Neu); }

void ZufallsPermutation1(std::span<int> A, int N) {
    if (N < 0 || static_cast<size_t>(N) >= A.size())
        return;
    std::vector<int> pool(static_cast<size_t>(N) + 1);
    for (int i = 0; i <= N; ++i)
        pool[static_cast<size_t>(i)] = i;
    for (int i = 0; i <= N; ++i) {
        int k = Runtime::Random(N + 1 - i);
        A[static_cast<size_t>(i)] = pool[static_cast<size_t>(k)];
        pool.erase(pool.begin() + k);
    }
}

int ZeichenZaehlen1(const std::string& S, char C) { return ZeichenZaehlen(S, C); }
