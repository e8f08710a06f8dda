#pragma once
// Runtime services the whole program shares: its one random generator, rounding,
// MulDiv and the monotonic tick count.
#include <cstdint>

namespace Runtime {

// The program's generator: seed := seed * 134775813 + 1 (mod 2^32).
uint32_t RandSeed();
void SetRandSeed(uint32_t seed);
// A whole number 0 .. n - 1: the upper 32 bits of seed * n after advancing the seed.
int32_t Random(int32_t n);
// A value in [0, 1): seed / 2^32 after advancing the seed.
double RandomFloat();
// Seeds the generator from the clock.
void Randomize();
// Tests install a hook so that Randomize() gives a fixed seed.
void SetRandomizeHook(bool (*hook)(uint32_t& seed));

} // namespace Runtime

// Rounds halves to even (the arithmetic unit's default mode).
int64_t Round(double x);
int64_t Round(long double x);
// Truncates towards zero.
int64_t Trunc(double x);
// Value * M / D rounded half to even, as the scaling of a form rounds its sizes.
int ScaleRounded(int Value, int M, int D);
// The whole scale of steps M / D taken one after another, kept in lowest terms.
struct TScaleRatio {
    int M = 1, D = 1;
    void By(int StepM, int StepD);
    bool Scaled() const { return M != D; }
    int Of(int Value) const { return ScaleRounded(Value, M, D); }
};
// a * b / c rounded half away from zero; -1 when c is 0 or the result does not fit.
int MulDiv(int a, int b, int c);
// Milliseconds of a monotonic clock.
uint32_t GetTickCount();
