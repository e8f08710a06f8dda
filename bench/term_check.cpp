// Time of one answer check (both terms at up to 41 random points each, with the
// rewriting of special notations) for typical answers, beside muparser
// evaluating the same expressions once per point for reference.
#include "term/UTerm.h"
#include "term/UTermEingabe.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#ifdef HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

struct tFall {
    const char* Antwort;
    const char* Loesung;
    // The same terms in muparser's syntax.
    const char* MuAntwort;
    const char* MuLoesung;
};

const tFall Faelle[] = {
    {"2x+x", "3x", "2*x+x", "3*x"},
    {"B(10;0.5;3)", "0.1171875", "120*0.5^3*0.5^7", "0.1171875"},
    // A 40-character polynomial against its simplified form.
    {"3x\xB3-2x\xB2+5x-7+4x\xB2-x+12-x\xB3+2x-9+6x\xB2-4x+150", "2x\xB3+8x\xB2+2x+146",
     "3*x^3-2*x^2+5*x-7+4*x^2-x+12-x^3+2*x-9+6*x^2-4*x+150", "2*x^3+8*x^2+2*x+146"},
};

void BM_Antwortpruefung(benchmark::State& state) {
    const tFall& f = Faelle[state.range(0)];
    tUrteil u;
    bool richtig = false;
    for (auto _ : state) {
        ErgebnisPruefen2(f.Antwort, f.Loesung, u, 25, 'c', richtig, 0, 0);
        benchmark::DoNotOptimize(richtig);
    }
    if (!richtig)
        state.SkipWithError("check did not accept the answer");
    state.SetLabel(AnzeigeText(f.Antwort).toStdString());
}
BENCHMARK(BM_Antwortpruefung)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

#ifdef HAVE_MUPARSER
// The same 41 points through muparser: parse once, evaluate both terms per point.
void BM_MuparserReferenz(benchmark::State& state) {
    const tFall& f = Faelle[state.range(0)];
    double x = 0;
    for (auto _ : state) {
        mu::Parser a, l;
        a.DefineVar("x", &x);
        l.DefineVar("x", &x);
        a.SetExpr(f.MuAntwort);
        l.SetExpr(f.MuLoesung);
        int treffer = 0;
        for (int r = -20; r <= 20; ++r) {
            x = 0.7 + 0.3 * r;
            treffer += std::fabs(a.Eval() - l.Eval()) <= 1e-6;
        }
        benchmark::DoNotOptimize(treffer);
    }
    state.SetLabel(f.MuAntwort);
}
BENCHMARK(BM_MuparserReferenz)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
#endif

} // namespace

BENCHMARK_MAIN();
