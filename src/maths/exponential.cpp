// The exponential, the logarithms, powers and the hyperbolic functions.

#include "maths/variants.h"

#include "maths/coefficients.h"
#include "maths/double2.h"

#include <cstdint>

namespace maths::FLAMES_MATHS_VARIANT {

namespace {

// exp(hi + lo) for finite hi within the range above: x = n·ln 2/64 + r, |r| ≤ ln 2/128, and
// n = 64k + j: exp x = 2^k · 2^(j/64) · (1 + r + r²·E(r)), 2^(j/64) from the table, 2^k from
// the exponent's bits.
double expOf(double dHi, double dLo) {
    const double n = nearestWhole(dHi * dSixtyFourOverLn2);
    // n·dLn2Over64Hi is exact, and near dHi
    const double dReducedHi = exactMultiplyAdd(-n, dLn2Over64Hi, dHi);
    const double dRest = std::fma(-n, dLn2Over64Lo, dLo);
    const double r = dReducedHi + dRest, rLo = (dReducedHi - r) + dRest;
    const double dExpM1 = r + std::fma(r * r, polynomial(dExpCoefficients, r), rLo);  // e^r − 1
    const std::int64_t iN = static_cast<std::int64_t>(n);
    const double* t = dPowersOfTwo[iN & 63];
    const double dScaled = t[0] + std::fma(t[0], dExpM1, t[1]);
    const int iK = int(iN >> 6);  // rounds down, as n = 64k + j asks
    if (iK > 1023) return dScaled * 2 * powerOfTwo(iK - 1);
    if (iK < -1021) return dScaled * powerOfTwo(iK + 54) * 0x1p-54;  // subnormal results
    return dScaled * powerOfTwo(iK);
}

// ln x for finite x > 0 as two doubles: x = 2^e·z, 0.6875 ≤ z < 1.375, z in part i of the
// table, r = z·inverse − 1 (|r| < 0.0079, exactly, as two doubles): ln x = e·ln 2 + log + r +
// r²·Q(r). No division, and every step but the last few is independent of the others.
SDouble2 logOf(double x) {
    int e = 0;
    if (x < 0x1p-1022) x *= 0x1p54, e = -54;  // subnormal: made normal first
    const std::uint64_t u = bitsOf(x), uFromStart = u - 0x3fe6000000000000ULL;
    const SLogRow& row = logRows[(uFromStart >> 45) & 127];
    e += int(static_cast<std::int64_t>(uFromStart) >> 52);
    const double z = doubleOf(u - (uFromStart & 0xfff0000000000000ULL));
    const SDouble2 p = productOf(z, row.dInverse);
    const double dFromOne = p.dHi - 1;  // exact: p.dHi is within 0.008 of 1
    const double r = dFromOne + p.dLo, rLo = p.dLo - (r - dFromOne);
    const double dTail = std::fma(r * r, polynomial(dLogCoefficients, r), rLo);
    const SDouble2 a = sumOf(e * dLn2Hi, row.dLogHi);
    const SDouble2 b = sumOf(a.dHi, r);
    return fastSumOf(b.dHi, b.dLo + (a.dLo + (dTail + (e * dLn2Lo + row.dLogLo))));
}

// Every double of 2^52 or more is whole; below, rounding to a whole number leaves it alone.
bool isWhole(double y) { return magnitude(y) >= 0x1p52 || nearestWhole(y) == y; }
bool isOddWhole(double y) { return isWhole(y) && magnitude(y) < 0x1p53 && !isWhole(0.5 * y); }

// pow's cases outside finite positive x and finite non-zero y, as C99's Annex F lists them.
double powOfSpecial(double x, double y) {
    if (y == 0 || x == 1) return 1;
    if (isNan(x) || isNan(y)) return x + y;
    const double ax = magnitude(x);
    if (!isFinite(y)) {
        if (ax == 1) return 1;
        return (ax > 1) == (y > 0) ? dInfinity : 0;
    }
    const bool bNegative = x < 0 || (x == 0 && (bitsOf(x) >> 63));
    const double dSign = bNegative && isOddWhole(y) ? -1 : 1;
    if (ax == 0) return dSign * (y < 0 ? dInfinity : 0);
    if (!isFinite(ax)) return dSign * (y < 0 ? 0 : dInfinity);
    if (!isWhole(y)) return (x - x) / (x - x);  // a negative number to a fraction: NaN
    return dSign * pow(ax, y);
}

}  // namespace

double exp(double x) {
    if (isNan(x)) return x;
    if (x > dExpHighest) return dInfinity;
    if (x < dExpLowest) return 0;
    return expOf(x, 0);
}

double log(double x) {
    if (isNan(x) || x < 0) return (x - x) / (x - x) + x;  // NaN
    if (x == 0) return -1 / magnitude(x);                  // −∞
    if (!isFinite(x)) return x;
    const SDouble2 l = logOf(x);
    return l.dHi + l.dLo;
}

double log10(double x) {
    constexpr double dHi = 0x1.bcb7b1526e50ep-2, dLo = 0x1.95355baaafad3p-57;  // 1/ln 10
    if (!(x > 0) || !isFinite(x)) return log(x);
    const SDouble2 l = logOf(x);
    const SDouble2 p = productOf(l.dHi, dHi);
    return p.dHi + (p.dLo + (l.dLo * dHi + l.dHi * dLo));
}

// ln(1 + x): ln u for u = 1 + x rounded, plus what the rounding lost, c/u with c = x − (u − 1).
double log1p(double x) {
    const double u = 1 + x;
    if (u == 1) return x;
    if (!(u > 0) || !isFinite(u)) return log(u);
    const SDouble2 l = logOf(u);
    const double c = magnitude(x) < 1 ? (x - (u - 1)) : (1 - (u - x));
    return l.dHi + (l.dLo + c / u);
}

// x^y as C's pow gives it, exp(y·ln x) with ln x and the product carried in two doubles.
double pow(double x, double y) {
    const double ax = magnitude(x);
    if (!(ax > 0) || !isFinite(ax) || !isFinite(y) || x < 0 || y == 0 || x == 1)
        return powOfSpecial(x, y);
    const SDouble2 l = logOf(x);
    const double dEstimate = y * l.dHi;
    if (dEstimate > dExpHighest + 1) return dInfinity;
    if (dEstimate < dExpLowest - 1) return 0;
    const SDouble2 p = productOf(y, l.dHi);
    const SDouble2 q = fastSumOf(p.dHi, p.dLo + y * l.dLo);
    if (q.dHi > dExpHighest) return dInfinity;
    if (q.dHi < dExpLowest) return 0;
    return expOf(q.dHi, q.dLo);
}

// --- hyperbolic functions ---------------------------------------------------------------------

namespace {

// e^a / 2 for a > 709, where e^a overflows before e^a / 2 does: e^(a/2)·e^(a/2)/2.
double halfExpOfLarge(double a) {
    const double e = exp(0.5 * a);
    return (0.5 * e) * e;
}

}  // namespace

// sinh x: x + x³·H(x²) below ½, where (eˣ − e⁻ˣ)/2 would lose bits; from exp above.
double sinh(double x) {
    static constexpr double h[] = {
        0x1.afe25b9553ef6p-41, 0x1.6123e7158cdf3p-33, 0x1.ae6456a8fbd5dp-26,
        0x1.71de3a556528bp-19, 0x1.a01a01a01a02dp-13, 0x1.1111111111111p-7,
        0x1.5555555555555p-3};
    const double ax = magnitude(x);
    if (isNan(x)) return x;
    if (ax < 0.5) {
        const double z = x * x;
        return std::fma(x * z, polynomial(h, z), x);
    }
    double dResult;
    if (ax > 709) {
        dResult = halfExpOfLarge(ax);
    } else {
        const double e = exp(ax);
        dResult = 0.5 * e - 0.5 / e;
    }
    return x < 0 ? -dResult : dResult;
}

double cosh(double x) {
    const double ax = magnitude(x);
    if (isNan(x)) return x;
    if (ax > 709) return halfExpOfLarge(ax);
    const double e = exp(ax);
    return 0.5 * e + 0.5 / e;
}

}  // namespace maths::FLAMES_MATHS_VARIANT
