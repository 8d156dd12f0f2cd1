#pragma once

// What the functions of this folder share: a double's bits, exact sums and products carried in
// two doubles, polynomials, and the constants they are reduced by. In the namespace of the
// variant being built (maths/variants.h), since each is compiled for its own processors.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#ifndef FLAMES_MATHS_VARIANT
#error "built as one of the variants of maths/variants.h"
#endif

namespace maths::FLAMES_MATHS_VARIANT {

inline std::uint64_t bitsOf(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

inline double doubleOf(std::uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

constexpr double dInfinity = std::numeric_limits<double>::infinity();

inline double magnitude(double d) { return doubleOf(bitsOf(d) & 0x7fffffffffffffffULL); }
inline bool isNan(double d) { return d != d; }
inline bool isFinite(double d) { return magnitude(d) <= 0x1.fffffffffffffp+1023; }

// 2^k for −1022 ≤ k ≤ 1023, built from its bits.
inline double powerOfTwo(int k) { return doubleOf(std::uint64_t(k + 1023) << 52); }

// x rounded to the nearest whole number (ties to even), for |x| < 2^51: adding 1.5·2^52 leaves
// no bits below the units.
inline double nearestWhole(double x) {
    constexpr double dShifter = 0x1.8p52;
    return (x + dShifter) - dShifter;
}

// A value carried as the sum of two doubles, the second far below the first's last bit.
struct SDouble2 {
    double dHi, dLo;
};

// a + b exactly, as a rounded sum and its error (Knuth's two-sum: any order of magnitudes).
inline SDouble2 sumOf(double a, double b) {
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly where |a| ≥ |b| (Dekker's fast two-sum).
inline SDouble2 fastSumOf(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a·b + c where the caller knows the result to be exact (so that no rounding can tell the two
// ways apart): one instruction where the processor fuses, a product and a sum where not.
inline double exactMultiplyAdd(double a, double b, double c) {
#ifdef FLAMES_MATHS_FUSED
    return std::fma(a, b, c);
#else
    return a * b + c;
#endif
}

// a·b exactly, as a rounded product and its error, for |a|, |b| below 2^995: the error is one
// fused multiply-add where the processor has it, Dekker's product by halves of 26 bits where
// not; both exact, so both the same.
inline SDouble2 productOf(double a, double b) {
    const double p = a * b;
#ifdef FLAMES_MATHS_FUSED
    return {p, std::fma(a, b, -p)};
#else
    constexpr double dSplitter = 134217729.0;  // 2^27 + 1
    const double ca = dSplitter * a, aHi = ca - (ca - a), aLo = a - aHi;
    const double cb = dSplitter * b, bHi = cb - (cb - b), bLo = b - bHi;
    return {p, ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo};
#endif
}

// The polynomial of degree N − 1 at x, highest coefficient first, by Estrin's scheme: pairs
// c + c'·x, then pairs of those with x², and so on. Its steps wait on each other about log2 N
// times where Horner's rule waits N times, and the chaos game waits on every result. Each step
// is one fused multiply-add, rounded once by definition: one instruction where the processor
// has it, the C library's exact emulation where not; the same bits on every machine.
// Its levels unrolled by templates, as any optimisation level unrolls them: level n pairs the
// n values left, n / 2 pairs.
template <int N, int... i>
inline void estrinPairs(double (&q)[N], double dPower, std::integer_sequence<int, i...>) {
    ((q[i] = std::fma(q[2 * i + 1], dPower, q[2 * i])), ...);
}
template <int N, int n>
inline void estrinLevels(double (&q)[N], double dPower) {
    if constexpr (n > 1) {
        estrinPairs(q, dPower, std::make_integer_sequence<int, n / 2>());
        if constexpr (n % 2 != 0) q[n / 2] = q[n - 1];
        estrinLevels<N, (n + 1) / 2>(q, dPower * dPower);
    }
}
template <int N>
inline double polynomial(const double (&c)[N], double x) {
    double q[N];  // lowest degree first
#pragma GCC unroll 16
    for (int i = 0; i < N; i++) q[i] = c[N - 1 - i];
    estrinLevels<N, N>(q, x);
    return q[0];
}

constexpr double dHalfPiHi = 0x1.921fb54442d18p+0, dHalfPiLo = 0x1.1a62633145c07p-54;
constexpr double dPiHi = 0x1.921fb54442d18p+1, dPiLo = 0x1.1a62633145c07p-53;

}  // namespace maths::FLAMES_MATHS_VARIANT
