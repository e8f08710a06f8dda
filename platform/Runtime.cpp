#include "platform/Runtime.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <numeric>

namespace {
uint32_t g_seed = 0;
bool (*g_randomizeHook)(uint32_t&) = nullptr;

void advance() {
    g_seed = g_seed * 134775813u + 1u;
}
} // namespace

namespace Runtime {

uint32_t RandSeed() {
    return g_seed;
}
void SetRandSeed(uint32_t seed) {
    g_seed = seed;
}

int32_t Random(int32_t n) {
    advance();
    return static_cast<int32_t>((static_cast<uint64_t>(g_seed) * static_cast<uint32_t>(n)) >> 32);
}

double RandomFloat() {
    advance();
    return static_cast<double>(g_seed) / 4294967296.0;
}

void Randomize() {
    uint32_t seed = 0;
    if (g_randomizeHook && g_randomizeHook(seed)) {
        g_seed = seed;
        return;
    }
    auto now = std::chrono::system_clock::now().time_since_epoch();
    g_seed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SetRandomizeHook(bool (*hook)(uint32_t&)) {
    g_randomizeHook = hook;
}

} // namespace Runtime

namespace {

// Values beyond the integer range (or not a number at all, from a division by
// zero in a pupil's term) would make the conversion undefined; they stop at
// the range's ends, a non-number gives 0.
int64_t ToInt64(long double r) {
    if (std::isnan(r)) return 0;
    if (r >= 9223372036854775807.0L) return std::numeric_limits<int64_t>::max();
    if (r <= -9223372036854775808.0L) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

} // namespace

int64_t Round(double x) {
    return ToInt64(std::nearbyint(x));
}
int64_t Round(long double x) {
    return ToInt64(std::nearbyintl(x));
}
int64_t Trunc(double x) {
    return ToInt64(std::trunc(x));
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t p = static_cast<int64_t>(a) * b;
    int64_t q = p / c;
    int64_t r = p % c;
    // Halves round away from zero.
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<int64_t>(c) : c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(q);
}

int ScaleRounded(int Value, int M, int D) {
    return static_cast<int>(Round(static_cast<double>(Value) * M / D));
}

void TScaleRatio::By(int StepM, int StepD) {
    if (StepD == 0) return;
    M *= StepM;
    D *= StepD;
    if (const int g = std::gcd(M, D); g > 1) {
        M /= g;
        D /= g;
    }
}

uint32_t GetTickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
