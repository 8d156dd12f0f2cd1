#pragma once

// Sine-cosine, atan2, exp and pow of four doubles at once, for processors with AVX2 and fused
// multiply-add: each lane is worked out by the very operations, in the same order, that
// maths::sineCosine, atan2, exp and pow use on one value, so each lane has their bits. A lane
// those leave to a slower way (zeros, infinities, NaN, huge angles, an angle next to a multiple
// of π/2, subnormal or overflowing values) is handed to them.
// Only for code compiled for those processors: every function here carries FLAMES_LANES, their
// target, and is inlined where the code that calls it is flattened (the variations' formulas,
// written once over a number type, call them from templates of no target of their own).

#include "maths/coefficients.h"
#include "maths/maths.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#define FLAMES_LANES [[gnu::target("avx2,fma")]] inline

namespace maths::lanes {

constexpr int iLanes = 4;
using V = double __attribute__((vector_size(iLanes * sizeof(double))));
using VBits = std::int64_t __attribute__((vector_size(iLanes * sizeof(std::int64_t))));
// Bits worked on as whole numbers: unsigned, so that they wrap where a lane holds a value the
// one-value way handles apart (a signed overflow would be undefined).
using VWord = std::uint64_t __attribute__((vector_size(iLanes * sizeof(std::uint64_t))));

FLAMES_LANES V asDoubles(VBits u) {
    V v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}
FLAMES_LANES VBits asBits(V v) {
    VBits u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}
FLAMES_LANES V all(double d) { return V{d, d, d, d}; }
// Four rows of four numbers turned into four lanes of each: r[i][k] becomes r[k][i].
FLAMES_LANES void transpose(V (&r)[4]) {
    const V t0 = _mm256_unpacklo_pd(r[0], r[1]), t1 = _mm256_unpackhi_pd(r[0], r[1]);
    const V t2 = _mm256_unpacklo_pd(r[2], r[3]), t3 = _mm256_unpackhi_pd(r[2], r[3]);
    r[0] = _mm256_permute2f128_pd(t0, t2, 0x20), r[1] = _mm256_permute2f128_pd(t1, t3, 0x20);
    r[2] = _mm256_permute2f128_pd(t0, t2, 0x31), r[3] = _mm256_permute2f128_pd(t1, t3, 0x31);
}
FLAMES_LANES V fusedMultiplyAdd(V a, V b, V c) { return _mm256_fmadd_pd(a, b, c); }
// Each lane: bChosen's lane (all ones or all zeros) ? a : b.
FLAMES_LANES V chosen(VBits bChosen, V a, V b) {
    return asDoubles((asBits(a) & bChosen) | (asBits(b) & ~bChosen));
}
FLAMES_LANES V magnitude(V v) { return asDoubles(asBits(v) & 0x7fffffffffffffffLL); }
FLAMES_LANES V truncated(V v) { return _mm256_round_pd(v, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }
FLAMES_LANES V squareRoot(V v) { return _mm256_sqrt_pd(v); }
FLAMES_LANES int anyOf(VBits b) { return _mm256_movemask_pd(asDoubles(b)); }
// Each lane's table[index], the indexes counted in doubles.
FLAMES_LANES V gathered(const double* pTable, VBits iIndex) {
    return _mm256_i64gather_pd(pTable, (__m256i)iIndex, 8);
}
// The whole number each lane holds (|n| < 2^51) as a double: from its bits, as AVX2 has no
// conversion.
FLAMES_LANES V asDouble(VBits n) {
    constexpr double dShifter = 0x1.8p52;
    return asDoubles(n + asBits(all(dShifter))) - all(dShifter);
}

// As maths' polynomial: Estrin's scheme, step for step. Written again rather than shared: the
// one-value build has no AVX, and a template over both cannot take the lanes' fused
// multiply-add without it (LanesGiveTheOneValueBits holds the two to the same bits).
// Its levels unrolled by templates, as any optimisation level unrolls them.
template <int N, int... i>
FLAMES_LANES void estrinPairs(V (&q)[N], V dPower, std::integer_sequence<int, i...>) {
    ((q[i] = fusedMultiplyAdd(q[2 * i + 1], dPower, q[2 * i])), ...);
}
template <int N, int n>
FLAMES_LANES void estrinLevels(V (&q)[N], V dPower) {
    if constexpr (n > 1) {
        estrinPairs(q, dPower, std::make_integer_sequence<int, n / 2>());
        if constexpr (n % 2 != 0) q[n / 2] = q[n - 1];
        estrinLevels<N, (n + 1) / 2>(q, dPower * dPower);
    }
}
template <int N>
FLAMES_LANES V polynomial(const double (&c)[N], V x) {
    V q[N];
#pragma GCC unroll 16
    for (int i = 0; i < N; i++) q[i] = all(c[N - 1 - i]);
    estrinLevels<N, N>(q, x);
    return q[0];
}

struct SSineCosine {
    V dSin, dCos;
};

// maths::sineCosine of each lane. Cody and Waite's reduction by k·π/2 (k = 0 within π/4, where it
// leaves the angle as it is, as the one-value way does), both polynomials, the quarter turn by
// bits.
FLAMES_LANES SSineCosine sineCosine(V x) {
    constexpr double dShifter = 0x1.8p52;
    const V t = x * all(0x1.45f306dc9c883p-1) + all(dShifter);  // k in its last bits
    const VBits bSmall = magnitude(x) <= all(0x1.921fb54442d18p-1);
    const V k = chosen(bSmall, all(0), t - all(dShifter));
    const VBits iQuarter = asBits(t) & ~bSmall & 3;
    const V a = fusedMultiplyAdd(-k, all(0x1.921fb54400000p+0), x);
    const V r = fusedMultiplyAdd(-k, all(0x1.0b4611a626331p-34), a);
    const V rLo =
        fusedMultiplyAdd(-k, all(0x1.0b4611a626331p-34), a - r) - k * all(0x1.1701b839a2520p-88);
    const V z = r * r;
    const V s = r + fusedMultiplyAdd(r * z, polynomial(dSineCoefficients, z),
                                     rLo * (all(1) - all(0.5) * z));
    const V dHalf = all(0.5) * z, w = all(1) - dHalf;
    const V dTail = fusedMultiplyAdd(z * z, polynomial(dCosineCoefficients, z), -(r * rLo));
    const V c = w + (((all(1) - w) - dHalf) + dTail);
    const VBits bSwap = -(iQuarter & 1);
    SSineCosine turned = {chosen(bSwap, c, s), chosen(bSwap, s, c)};
    constexpr std::int64_t iSign = std::numeric_limits<std::int64_t>::min();
    turned.dSin = asDoubles(asBits(turned.dSin) ^ (((iQuarter & 2) != 0) & iSign));
    turned.dCos = asDoubles(asBits(turned.dCos) ^ ((((iQuarter + 1) & 2) != 0) & iSign));
    const VBits bElsewise = (x == all(0)) | ~(magnitude(x) < all(0x1.921fb54442d18p+20)) |
                            ((k != all(0)) & (magnitude(r) < all(0x1p-12)));
    if (anyOf(bElsewise)) {
        for (int i = 0; i < iLanes; i++) {
            if (!bElsewise[i]) continue;
            const maths::SSineCosine one = maths::sincos(x[i]);
            turned.dSin[i] = one.dSin;
            turned.dCos[i] = one.dCos;
        }
    }
    return turned;
}

// maths::atan2 of each lane: atan t of t = min/max of |x| and |y|, atan(j/16) from the table
// and a polynomial for the rest, turned into its octant by bits.
FLAMES_LANES V atan2(V y, V x) {
    constexpr double dShifter = 0x1.8p52;
    const V ax = magnitude(x), ay = magnitude(y);
    const VBits bSteep = ay > ax, bLeft = asBits(x) >> 63;
    const V t = chosen(bSteep, ax, ay) / chosen(bSteep, ay, ax);
    const V dShifted = t * all(16) + all(dShifter);  // j in its last bits
    const V c = (dShifted - all(dShifter)) * all(0.0625);
    // j·2, the row's place in the table; 0 where t is not a number (a lane left to atan2 alone)
    const VBits j = ((asBits(dShifted) & 31) & (t <= all(1))) * 2;
    const V dTableHi = _mm256_i64gather_pd(&dAtanOfSixteenths[0][0], (__m256i)j, 8);
    const V dTableLo = _mm256_i64gather_pd(&dAtanOfSixteenths[0][1], (__m256i)j, 8);
    const V u = (t - c) / fusedMultiplyAdd(t, c, all(1));
    const V z = u * u, dTail = u * z * polynomial(dAtanCoefficients, z);
    const V dSum = dTableHi + u, dSumLo = u - (dSum - dTableHi);
    V dHi = dSum, dLo = dSumLo + (dTail + dTableLo);
    dHi = chosen(bSteep, all(0x1.921fb54442d18p+0) - dHi, dHi);
    dLo = chosen(bSteep, all(0x1.1a62633145c07p-54) - dLo, dLo);
    dHi = chosen(bLeft, all(0x1.921fb54442d18p+1) - dHi, dHi);
    dLo = chosen(bLeft, all(0x1.1a62633145c07p-53) - dLo, dLo);
    constexpr std::int64_t iSign = std::numeric_limits<std::int64_t>::min();
    V dAngle = asDoubles(asBits(dHi + dLo) ^ (asBits(y) & iSign));
    const VBits bElsewise = ~((ax > all(0)) & (ay > all(0)) & (ax <= all(0x1.fffffffffffffp+1023)) &
                              (ay <= all(0x1.fffffffffffffp+1023)));
    if (anyOf(bElsewise))
        for (int i = 0; i < iLanes; i++)
            if (bElsewise[i]) dAngle[i] = maths::atan2(y[i], x[i]);
    return dAngle;
}

// Two doubles per lane, as the one-value functions carry ln x and y·ln x.
struct SDouble2 {
    V dHi, dLo;
};
FLAMES_LANES SDouble2 sumOf(V a, V b) {
    const V s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}
FLAMES_LANES SDouble2 fastSumOf(V a, V b) {
    const V s = a + b;
    return {s, b - (s - a)};
}
FLAMES_LANES SDouble2 productOf(V a, V b) {
    const V p = a * b;
    return {p, fusedMultiplyAdd(a, b, -p)};
}

// The one-value way's ln x as two doubles, for normal finite x > 0 in every lane.
FLAMES_LANES SDouble2 logOf(V x) {
    const VWord u = (VWord)asBits(x), uFromStart = u - 0x3fe6000000000000ULL;
    const VBits iRow = (VBits)(((uFromStart >> 45) & 127) * 3);
    const V e = asDouble((VBits)uFromStart >> 52);
    const V z = asDoubles((VBits)(u - (uFromStart & 0xfff0000000000000ULL)));
    const double* pRows = &logRows[0].dInverse;
    const V dInverse = gathered(pRows, iRow), dLogHi = gathered(pRows + 1, iRow);
    const V dLogLo = gathered(pRows + 2, iRow);
    const SDouble2 p = productOf(z, dInverse);
    const V dFromOne = p.dHi - all(1);
    const V r = dFromOne + p.dLo, rLo = p.dLo - (r - dFromOne);
    const V dTail = fusedMultiplyAdd(r * r, polynomial(dLogCoefficients, r), rLo);
    const SDouble2 a = sumOf(e * all(dLn2Hi), dLogHi);
    const SDouble2 b = sumOf(a.dHi, r);
    return fastSumOf(b.dHi, b.dLo + (a.dLo + (dTail + (e * all(dLn2Lo) + dLogLo))));
}

// maths::log of each lane: the two doubles of logOf summed for normal finite x > 0; every other
// lane (zeros, negatives, subnormals, infinities, NaN) by maths::log.
FLAMES_LANES V log(V x) {
    const SDouble2 l = logOf(x);
    V dResult = l.dHi + l.dLo;
    const VBits bApart = ~((x >= all(0x1p-1022)) & (x <= all(0x1.fffffffffffffp+1023)));
    if (anyOf(bApart))
        for (int i = 0; i < iLanes; i++)
            if (bApart[i]) dResult[i] = maths::log(x[i]);
    return dResult;
}

// The one-value way's exp(hi + lo) for hi within its range; lanes whose result is not a normal
// number, which it scales apart, are marked in bApart.
FLAMES_LANES V expOf(V dHi, V dLo, VBits& bApart) {
    constexpr double dShifter = 0x1.8p52;
    const V dShifted = dHi * all(dSixtyFourOverLn2) + all(dShifter);  // n in its last bits
    const V n = dShifted - all(dShifter);
    const V dReducedHi = fusedMultiplyAdd(-n, all(dLn2Over64Hi), dHi);
    const V dRest = fusedMultiplyAdd(-n, all(dLn2Over64Lo), dLo);
    const V r = dReducedHi + dRest, rLo = (dReducedHi - r) + dRest;
    const V dExpM1 = r + fusedMultiplyAdd(r * r, polynomial(dExpCoefficients, r), rLo);
    const VBits iN = (VBits)((VWord)asBits(dShifted) - (VWord)asBits(all(dShifter)));
    const VBits iRow = (iN & 63) * 2;
    const V dTableHi = gathered(&dPowersOfTwo[0][0], iRow);
    const V dTableLo = gathered(&dPowersOfTwo[0][1], iRow);
    const V dScaled = dTableHi + fusedMultiplyAdd(dTableHi, dExpM1, dTableLo);
    const VBits iK = iN >> 6;
    bApart = (iK > 1023) | (iK < -1021);
    return dScaled * asDoubles((VBits)(((VWord)iK + 1023) << 52));
}

// maths::exp of each lane.
FLAMES_LANES V exp(V x) {
    VBits bApart;
    V dResult = expOf(x, all(0), bApart);
    bApart |= ~((x <= all(dExpHighest)) & (x >= all(dExpLowest)));
    if (anyOf(bApart))
        for (int i = 0; i < iLanes; i++)
            if (bApart[i]) dResult[i] = maths::exp(x[i]);
    return dResult;
}

// maths::pow of each lane: exp(y·ln x) for finite positive normal x ≠ 1 and finite y ≠ 0 whose
// power is a normal number; every other lane by maths::pow.
FLAMES_LANES V pow(V x, V y) {
    const SDouble2 l = logOf(x);
    const SDouble2 p = productOf(y, l.dHi);
    const SDouble2 q = fastSumOf(p.dHi, p.dLo + y * l.dLo);
    VBits bApart;
    V dResult = expOf(q.dHi, q.dLo, bApart);
    bApart |= ~((x >= all(0x1p-1022)) & (x <= all(0x1.fffffffffffffp+1023)) & (x != all(1)) &
                (magnitude(y) <= all(0x1.fffffffffffffp+1023)) & (y != all(0)) &
                (q.dHi <= all(dExpHighest)) & (q.dHi >= all(dExpLowest)));
    if (anyOf(bApart))
        for (int i = 0; i < iLanes; i++)
            if (bApart[i]) dResult[i] = maths::pow(x[i], y[i]);
    return dResult;
}

}  // namespace maths::lanes
