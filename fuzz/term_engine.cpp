// Arbitrary bytes through normalisation, rewriting, evaluation, the answer box
// conversions and the answer check: nothing may crash, hang or raise out of the
// check.
#include "term/UTerm.h"
#include "term/UTermEingabe.h"
#include "term/UTermZahl.h"

#include <cstddef>
#include <cstdint>
#include <numbers>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    std::string s(reinterpret_cast<const char*>(data), size);

    std::string n = s;
    TermNormalisieren(n);
    std::string k = s;
    TermNormalisierenKomma(k);

    tVarWerte w;
    for (size_t i = 0; i < w.size(); ++i)
        w[i] = 0.13 + 0.04 * static_cast<double>(i);
    w['p' - 'a'] = std::numbers::pi;

    std::string t = s.substr(0, 256);
    try {
        std::string r;
        int f = 0;
        TermAuswerten(t, r, w, f);
    } catch (const EMathFehler&) {
    }
    try {
        bool ok = false;
        std::string u = t;
        SonderfunktionenAuswerten(u, ok, w);
    } catch (const EMathFehler&) {
    }

    // Answer and solution, split at the first line break; kept as short as an
    // answer box line so that one input stays cheap.
    size_t nl = s.find('\n');
    std::string antwort = s.substr(0, std::min<size_t>(nl == std::string::npos ? s.size() : nl, 48));
    std::string loesung = nl == std::string::npos ? std::string("3x") : s.substr(nl + 1, 48);
    tUrteil u;
    bool richtig = false;
    ErgebnisPruefen2(antwort, loesung, u, 25, 'c', richtig, 0, 0);

    QString anzeige = AnzeigeText(s.substr(0, 256));
    BoxText(anzeige);
    EingabeStuecke(2, anzeige, (size & 1) != 0);
    bool g;
    try {
        TermWertGueltig1(antwort, "0", g);
    } catch (const EMathFehler&) {
    }
    TermWert2("x", antwort);
    return 0;
}
