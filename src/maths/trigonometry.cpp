// Sine, cosine, tangent and the arc tangents.

#include "maths/variants.h"

#include "maths/coefficients.h"
#include "maths/double2.h"

#include <cmath>
#include <cstdint>

namespace maths::FLAMES_MATHS_VARIANT {

namespace {

// --- sine and cosine: the argument reduced to [−π/4, π/4] -------------------------------------

// x = q·π/2 + r, |r| ≤ π/4, r as two doubles; q mod 4 is what counts.
struct SQuadrant {
    int      iQuarter;
    SDouble2 r;
};

using UInt128 = unsigned __int128;

// The bits of 2/π after the binary point, 64 to a word: enough for the largest double, for which
// 192 bits are taken from bit 969 on.
constexpr std::uint64_t twoOverPiBits[] = {
    0xa2f9836e4e441529, 0xfc2757d1f534ddc0, 0xdb6295993c439041, 0xfe5163abdebbc561,
    0xb7246e3a424dd2e0, 0x06492eea09d1921c, 0xfe1deb1cb129a73e, 0xe88235f52ebb4484,
    0xe99c7026b45f7e41, 0x3991d639835339f4, 0x9c845f8bbdf9283b, 0x1ff897ffde05980f,
    0xef2f118b5a0a6d1f, 0x6d367ecf27cb09b7, 0x4f463f669e5fea2d, 0x7527bac7ebe5f17b,
    0x3d0739f78a5292ea, 0x6bfb5fb11f8d5d08, 0x56033046fc7b6bab, 0xf0cfbc209af4361d,
    0xa9e391615ee61b08, 0x6599855f14a06840};

// 64 bits of 2/π from bit iFirst after the point on (bit 0 is the first).
std::uint64_t twoOverPiWord(int iFirst) {
    const int iWord = iFirst / 64, iShift = iFirst % 64;
    if (iShift == 0) return twoOverPiBits[iWord];
    return (twoOverPiBits[iWord] << iShift) | (twoOverPiBits[iWord + 1] >> (64 - iShift));
}

// A 256-bit whole number, four words, the most significant last.
struct SWide {
    std::uint64_t words[4];
    // The 64 bits from bit iLowest up.
    std::uint64_t bitsFrom(int iLowest) const {
        const int iWord = iLowest / 64, iShift = iLowest % 64;
        const std::uint64_t iLow = words[iWord] >> iShift;
        if (iShift == 0 || iWord == 3) return iLow;
        return iLow | (words[iWord + 1] << (64 - iShift));
    }
};

// For |x| of 2^20·π/2 or more, or next to a multiple of π/2: π/2's multiples taken away with 2/π
// to 1,400 bits (Payne and Hanek's method).
// |x| = m·2^e with m a 53-bit whole number. Bits of 2/π worth 4·2^-e or more make multiples of
// 4 quarter turns and are skipped; m times the next 192 bits is |x|·2/π modulo 4, with the
// binary point at bit iPoint of the product, and far more bits past it than a double needs
// even next to a multiple of π/2.
SQuadrant quadrantOfLarge(double x) {
    const std::uint64_t u = bitsOf(x);
    const int e = int((u >> 52) & 0x7ff) - 1075;
    const std::uint64_t m = (u & 0x000fffffffffffffULL) | 0x0010000000000000ULL;
    const int iSkipped = e > 2 ? e - 2 : 0;
    const std::uint64_t w0 = twoOverPiWord(iSkipped), w1 = twoOverPiWord(iSkipped + 64),
                        w2 = twoOverPiWord(iSkipped + 128);
    SWide product;
    UInt128 t = UInt128(m) * w2;
    product.words[0] = std::uint64_t(t);
    t = UInt128(m) * w1 + (t >> 64);
    product.words[1] = std::uint64_t(t);
    t = UInt128(m) * w0 + (t >> 64);
    product.words[2] = std::uint64_t(t);
    product.words[3] = std::uint64_t(t >> 64);
    const int iPoint = iSkipped + 192 - e;
    int iQuarter = int(product.bitsFrom(iPoint) & 3);
    // The fraction's first 128 bits, as a signed fraction of a quarter turn in [−½, ½).
    const UInt128 fraction =
        (UInt128(product.bitsFrom(iPoint - 64)) << 64) | product.bitsFrom(iPoint - 128);
    iQuarter += int(fraction >> 127);
    const __int128 signedFraction = __int128(fraction);
    const std::int64_t iHigh = std::int64_t(signedFraction >> 64);
    const double dHigh = double(iHigh);
    const std::int64_t iRest = std::int64_t(__int128(iHigh) - __int128(dHigh));
    const std::uint64_t iLow = std::uint64_t(signedFraction);
    const double fHi = dHigh * 0x1p-64;
    const double fLo = (double(iRest) + double(iLow) * 0x1p-64) * 0x1p-64;
    // r = f·π/2, carried in two doubles.
    const SDouble2 p = productOf(fHi, dHalfPiHi);
    SDouble2 r = fastSumOf(p.dHi, p.dLo + (fHi * dHalfPiLo + fLo * dHalfPiHi));
    if (x < 0) r = {-r.dHi, -r.dLo}, iQuarter = -iQuarter;
    return {iQuarter & 3, r};
}

// π/2 = dPart1 + dPart2 + dPart3 to 139 bits, dPart1 of 33 bits so that k·dPart1 is exact for
// |k| < 2^20 (Cody and Waite's reduction). r = x − k·π/2 is rounded once from x − k·dPart1 −
// k·dPart2, and the polynomials start from it at once; its error, carried in a second double,
// is worked out beside them. Where r is small against k·dPart2 (below 2^-12) that error would
// lose bits: the long way, which is rare.
SQuadrant quadrantOf(double x) {
    constexpr double dTwoOverPi = 0x1.45f306dc9c883p-1;
    constexpr double dPart1 = 0x1.921fb54400000p+0, dPart2 = 0x1.0b4611a626331p-34,
                     dPart3 = 0x1.1701b839a2520p-88;
    if (magnitude(x) <= 0x1.921fb54442d18p-1) return {0, {x, 0}};
    if (!(magnitude(x) < 0x1.921fb54442d18p+20)) return quadrantOfLarge(x);
    const double k = nearestWhole(x * dTwoOverPi);
    const double a = exactMultiplyAdd(-k, dPart1, x);
    const double r = std::fma(-k, dPart2, a);
    if (magnitude(r) < 0x1p-12) return quadrantOfLarge(x);
    // a − r is exact: |k·dPart2| < 2^-13, so a and r lie within a factor 2 of each other
    const double rLo = std::fma(-k, dPart2, a - r) - k * dPart3;
    return {int(static_cast<std::int64_t>(k) & 3), {r, rLo}};
}

// sin(r) for |r| ≤ π/4: r + r³·S(r²), plus the low part's first-order share.
double sinOfReduced(SDouble2 r) {
    const double z = r.dHi * r.dHi;
    return r.dHi + std::fma(r.dHi * z, polynomial(dSineCoefficients, z), r.dLo * (1 - 0.5 * z));
}

// cos(r) for |r| ≤ π/4: 1 − r²/2 + r⁴·C(r²), with the rounding of 1 − r²/2 carried.
double cosOfReduced(SDouble2 r) {
    const double z = r.dHi * r.dHi, dHalf = 0.5 * z, w = 1 - dHalf;
    const double dTail = std::fma(z * z, polynomial(dCosineCoefficients, z), -(r.dHi * r.dLo));
    return w + (((1 - w) - dHalf) + dTail);
}

// --- arc tangents -----------------------------------------------------------------------------

// atan(t) for 0 ≤ t ≤ 1 as two doubles: atan(j/16) from a table, plus atan(u) for the rest,
// u = (t − j/16)/(1 + t·j/16), |u| ≤ 1/32, where u + u³·A(u²) is exact to double precision.
SDouble2 atanOfUnit(double t) {
    const double dSixteenths = nearestWhole(t * 16);
    const double c = dSixteenths * 0.0625;
    const int j = int(dSixteenths);  // beside c, not before it
    const double u = (t - c) / std::fma(t, c, 1);  // t − c is exact: c/2 ≤ t ≤ 2c, or c = 0
    const double z = u * u, dTail = u * z * polynomial(dAtanCoefficients, z);
    const SDouble2 sum = fastSumOf(dAtanOfSixteenths[j][0], u);
    return {sum.dHi, sum.dLo + (dTail + dAtanOfSixteenths[j][1])};
}

}  // namespace

VSineCosine sineCosine(double x) {
    if (!isFinite(x)) return VSineCosine{x - x, x - x};  // NaN for infinities and NaN
    if (x == 0) return VSineCosine{x, 1};                // sin keeps the sign of a zero
    const SQuadrant q = quadrantOf(x);
    const double s = sinOfReduced(q.r), c = cosOfReduced(q.r);
    switch (q.iQuarter) {
        case 0: return VSineCosine{s, c};
        case 1: return VSineCosine{c, -s};
        case 2: return VSineCosine{-s, -c};
        default: return VSineCosine{-c, s};
    }
}

namespace {

// atan2 where x or y is zero, infinite or NaN, as C gives it.
double atan2OfSpecial(double y, double x) {
    if (isNan(x) || isNan(y)) return x + y;
    const double ax = magnitude(x), ay = magnitude(y);
    const bool bLeft = bitsOf(x) >> 63;
    double dAngle;  // of (|x|, |y|), turned to the half plane of x
    if (ay == 0) dAngle = bLeft ? dPiHi : 0;
    else if (ax == 0 || isFinite(ax)) dAngle = dHalfPiHi;
    else if (isFinite(ay)) dAngle = bLeft ? dPiHi : 0;
    else dAngle = bLeft ? 3 * dHalfPiHi / 2 : dHalfPiHi / 2;
    return bitsOf(y) >> 63 ? -dAngle : dAngle;
}

}  // namespace

// The angle of (x, y), in (−π, π], as C's atan2 gives it, signed zeros and infinities included.
// With t = min/max of |x| and |y|, the angle is atan t turned into its octant. The octant is
// chosen by branches: a table of the four turns, branch-free, measured slower (it lengthens the
// chain each step of the chaos game waits on, and the branches are mostly predicted).
double atan2(double y, double x) {
    const double ax = magnitude(x), ay = magnitude(y);
    if (!(ax > 0 && ay > 0 && isFinite(ax) && isFinite(ay))) return atan2OfSpecial(y, x);
    const bool bSteep = ay > ax, bLeft = bitsOf(x) >> 63;
    SDouble2 a = atanOfUnit(bSteep ? ax / ay : ay / ax);
    if (bSteep) a = {dHalfPiHi - a.dHi, dHalfPiLo - a.dLo};  // π/2 − atan(x/y)
    if (bLeft) a = {dPiHi - a.dHi, dPiLo - a.dLo};            // π − the angle
    const double dAngle = a.dHi + a.dLo;
    return doubleOf(bitsOf(dAngle) ^ (bitsOf(y) & 0x8000000000000000ULL));
}

double atan(double t) { return atan2(t, 1); }

// acos from the angle of (x, √(1 − x²)), 1 − x² taken as (1 − x)(1 + x), exact enough at ±1.
double acos(double x) { return atan2(std::sqrt((1 - x) * (1 + x)), x); }

}  // namespace maths::FLAMES_MATHS_VARIANT
