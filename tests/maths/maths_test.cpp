// The program's own elementary functions against the C library's long double ones (64-bit
// mantissas, a few thousandths of a double's last place off the exact value), over the
// ranges the variations, the camera and the tone curve see, and at the special values.

#include "maths/lanes.h"
#include "maths/maths.h"
#include "maths/variants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// A fixed generator, so that a failure names the same inputs every time.
class CInputs {
public:
    double uniform(double dLow, double dHigh) {
        iState += 0x9e3779b97f4a7c15ULL;
        std::uint64_t z = iState;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        z ^= z >> 31;
        return dLow + (dHigh - dLow) * (double(z >> 11) * 0x1p-53);
    }
    // Spread evenly over the exponents: ± 10^[lowest, highest].
    double spread(double dLowest, double dHighest, bool bSigned) {
        const double d = std::pow(10.0, uniform(dLowest, dHighest));
        return bSigned && uniform(0, 1) < 0.5 ? -d : d;
    }

private:
    std::uint64_t iState = 12345;
};

// How many of the double's last places lie between a value and the exact one.
double ulpsOff(double dValue, long double dExact) {
    const double dNearest = double(dExact);
    if (std::isnan(dNearest)) return std::isnan(dValue) ? 0 : 1e9;
    if (std::isinf(dNearest)) return dValue == dNearest ? 0 : 1e9;
    const double dMagnitude = std::fabs(dNearest);
    const double dUlp = dMagnitude == 0 ? std::numeric_limits<double>::denorm_min()
                                        : std::nextafter(dMagnitude, INFINITY) - dMagnitude;
    return double(std::fabs((long double)dValue - dExact) / dUlp);
}

enum EDraw { eUniform, eSpread, eSpreadSigned };

struct SOneArgumentCase {
    const char* sName;
    double (*pfOurs)(double);
    long double (*pfExact)(long double);
    EDraw eDraw;
    double dLow, dHigh;  // the range, or for a spread the powers of ten
    double dMostUlps;
};

const SOneArgumentCase oneArgumentCases[] = {
    {"sin near 0", maths::sin, sinl, eUniform, -0.8, 0.8, 1},
    {"sin of turns", maths::sin, sinl, eUniform, -100, 100, 1},
    {"sin of a million", maths::sin, sinl, eUniform, -2e6, 2e6, 1},
    {"sin of anything", maths::sin, sinl, eSpreadSigned, -300, 300, 1},
    {"cos near 0", maths::cos, cosl, eUniform, -0.8, 0.8, 1},
    {"cos of turns", maths::cos, cosl, eUniform, -100, 100, 1},
    {"cos of anything", maths::cos, cosl, eSpreadSigned, -300, 300, 1},
    {"tan of turns", maths::tan, tanl, eUniform, -100, 100, 2.5},
    {"atan", maths::atan, atanl, eSpreadSigned, -20, 20, 1.5},
    {"acos", maths::acos, acosl, eUniform, -1, 1, 2},
    {"exp of small", maths::exp, expl, eUniform, -2, 2, 1},
    {"exp of all", maths::exp, expl, eUniform, -745, 709.7, 1},
    {"log near 1", maths::log, logl, eUniform, 0.5, 2, 1},
    {"log of all", maths::log, logl, eSpread, -320, 308, 1},
    {"log10 of all", maths::log10, log10l, eSpread, -320, 308, 1},
    {"log1p of small", maths::log1p, log1pl, eUniform, -0.9, 1, 1},
    {"log1p of densities", maths::log1p, log1pl, eSpread, -12, 12, 1},
    {"sinh near 0", maths::sinh, sinhl, eUniform, -1, 1, 2},
    {"sinh of all", maths::sinh, sinhl, eUniform, -710, 710, 2.5},
    {"cosh of all", maths::cosh, coshl, eUniform, -710, 710, 2.5},
};

TEST(MathsTest, OneArgumentFunctionsAreWithinTheirUlps) {
    for (const SOneArgumentCase& row : oneArgumentCases) {
        CInputs inputs;
        double dWorst = 0, dWorstAt = 0;
        for (int i = 0; i < 100000; i++) {
            const double x = row.eDraw == eUniform ? inputs.uniform(row.dLow, row.dHigh)
                                                   : inputs.spread(row.dLow, row.dHigh,
                                                                   row.eDraw == eSpreadSigned);
            const double dOff = ulpsOff(row.pfOurs(x), row.pfExact(x));
            if (dOff > dWorst) dWorst = dOff, dWorstAt = x;
        }
        EXPECT_LE(dWorst, row.dMostUlps) << row.sName << " at " << std::hexfloat << dWorstAt;
    }
}

struct STwoArgumentCase {
    const char* sName;
    double (*pfOurs)(double, double);
    long double (*pfExact)(long double, long double);
    double dLowX, dHighX, dLowY, dHighY;
    double dMostUlps;
};

const STwoArgumentCase twoArgumentCases[] = {
    {"atan2 of points", maths::atan2, atan2l, -10, 10, -10, 10, 1.5},
    {"atan2 near an axis", maths::atan2, atan2l, -1e-3, 1e-3, -10, 10, 2},
    {"pow of radii", maths::pow, powl, 1e-3, 1e3, -2, 2, 1},
    {"pow of tone", maths::pow, powl, 0, 1, 0.1, 1, 1},
    {"pow of kernels", maths::pow, powl, 1, 1e4, -1.5, 1.5, 1},
    {"pow up to 2^±16", maths::pow, powl, 0.5, 2, -23, 23, 1},
    {"pow up to overflow", maths::pow, powl, 0.5, 2, -1400, 1400, 1},
};

TEST(MathsTest, TwoArgumentFunctionsAreWithinTheirUlps) {
    for (const STwoArgumentCase& row : twoArgumentCases) {
        CInputs inputs;
        double dWorst = 0, dWorstX = 0, dWorstY = 0;
        for (int i = 0; i < 100000; i++) {
            const double x = inputs.uniform(row.dLowX, row.dHighX);
            const double y = inputs.uniform(row.dLowY, row.dHighY);
            // atan2 takes (y, x); pow (x, y)
            const bool bAngle = row.pfOurs == static_cast<double (*)(double, double)>(maths::atan2);
            const double a = bAngle ? y : x, b = bAngle ? x : y;
            const double dOff = ulpsOff(row.pfOurs(a, b), row.pfExact(a, b));
            if (dOff > dWorst) dWorst = dOff, dWorstX = a, dWorstY = b;
        }
        EXPECT_LE(dWorst, row.dMostUlps)
            << row.sName << " at " << std::hexfloat << dWorstX << ", " << dWorstY;
    }
}

// Next to a multiple of π/2 the reduction must keep its bits: these doubles come closest.
TEST(MathsTest, ArgumentsNextToMultiplesOfHalfPiKeepTheirBits) {
    const double hardest[] = {0x1.6ac5b262ca1ffp+849, 0x1.921fb54442d18p+0, 0x1.921fb54442d18p+1,
                              0x1.921fb54442d18p+20, 0x1.921fb54442d18p+21, 355.0, 103993.0,
                              6381956970095103.0 * 0x1p797};
    for (double x : hardest) {
        EXPECT_LE(ulpsOff(maths::sin(x), sinl(x)), 1.5) << std::hexfloat << x;
        EXPECT_LE(ulpsOff(maths::cos(x), cosl(x)), 1.5) << std::hexfloat << x;
    }
}

struct SSpecialCase {
    const char* sName;
    double      dGot, dExpected;
};

TEST(MathsTest, SpecialValuesAreThoseOfC) {
    const double inf = INFINITY, nan = NAN, pi = 0x1.921fb54442d18p+1;
    const SSpecialCase cases[] = {
        {"sin(-0)", maths::sin(-0.0), -0.0},
        {"sin(inf)", maths::sin(inf), nan},
        {"cos(nan)", maths::cos(nan), nan},
        {"atan2(+0, -0)", maths::atan2(0.0, -0.0), pi},
        {"atan2(-0, -0)", maths::atan2(-0.0, -0.0), -pi},
        {"atan2(-0, +0)", maths::atan2(-0.0, 0.0), -0.0},
        {"atan2(1, 0)", maths::atan2(1, 0), pi / 2},
        {"atan2(-1, -inf)", maths::atan2(-1, -inf), -pi},
        {"atan2(inf, inf)", maths::atan2(inf, inf), pi / 4},
        {"atan2(nan, 1)", maths::atan2(nan, 1), nan},
        {"exp(1000)", maths::exp(1000), inf},
        {"exp(-1000)", maths::exp(-1000), 0},
        {"exp(-inf)", maths::exp(-inf), 0},
        {"exp(0)", maths::exp(0), 1},
        {"log(0)", maths::log(0), -inf},
        {"log(-1)", maths::log(-1), nan},
        {"log(inf)", maths::log(inf), inf},
        {"log(1)", maths::log(1), 0},
        {"log of the least", maths::log(0x1p-1074), -0x1.74385446d71c3p+9},
        {"log1p(-1)", maths::log1p(-1), -inf},
        {"pow(-2, 3)", maths::pow(-2, 3), -8},
        {"pow(-2, 0.5)", maths::pow(-2, 0.5), nan},
        {"pow(-0, -1)", maths::pow(-0.0, -1), -inf},
        {"pow(0, -2)", maths::pow(0, -2), inf},
        {"pow(0, 0)", maths::pow(0, 0), 1},
        {"pow(nan, 0)", maths::pow(nan, 0), 1},
        {"pow(1, nan)", maths::pow(1, nan), 1},
        {"pow(-1, inf)", maths::pow(-1, inf), 1},
        {"pow(0.5, -inf)", maths::pow(0.5, -inf), inf},
        {"pow(-inf, -3)", maths::pow(-inf, -3), -0.0},
        {"pow(-inf, 3)", maths::pow(-inf, 3), -inf},
        {"pow(2, 1024)", maths::pow(2, 1024), inf},
        {"pow(2, -1074)", maths::pow(2, -1074), 0x1p-1074},
        {"pow(10, 2)", maths::pow(10, 2), 100},
        {"sinh(-0)", maths::sinh(-0.0), -0.0},
        {"sinh(-800)", maths::sinh(-800), -inf},
        {"cosh(0)", maths::cosh(0), 1},
        {"cosh(-inf)", maths::cosh(-inf), inf},
        {"acos(2)", maths::acos(2), nan},
        {"acos(-1)", maths::acos(-1), pi},
    };
    for (const SSpecialCase& row : cases) {
        if (std::isnan(row.dExpected)) {
            EXPECT_TRUE(std::isnan(row.dGot)) << row.sName;
        } else {
            EXPECT_EQ(row.dGot, row.dExpected) << row.sName;
            EXPECT_EQ(std::signbit(row.dGot), std::signbit(row.dExpected)) << row.sName;
        }
    }
}

// The two builds, for processors with fused multiply-add and without, give the same bits: the
// plain one's fma is the C library's exact one, and both round each step once.
TEST(MathsTest, BothBuildsGiveTheSameBits) {
    if (!__builtin_cpu_supports("fma")) GTEST_SKIP() << "no fused multiply-add here to compare";
    struct SBuild {
        maths::VSineCosine (*pfSincos)(double);
        double (*pfAtan2)(double, double);
        double (*pfExp)(double);
        double (*pfLog)(double);
        double (*pfLog1p)(double);
        double (*pfPow)(double, double);
        double (*pfSinh)(double);
        double (*pfCosh)(double);
        double (*pfAcos)(double);
    };
    const SBuild fused = {maths::fused::sineCosine, maths::fused::atan2, maths::fused::exp,
                          maths::fused::log,    maths::fused::log1p, maths::fused::pow,
                          maths::fused::sinh,   maths::fused::cosh,  maths::fused::acos};
    const SBuild plain = {maths::plain::sineCosine, maths::plain::atan2, maths::plain::exp,
                          maths::plain::log,    maths::plain::log1p, maths::plain::pow,
                          maths::plain::sinh,   maths::plain::cosh,  maths::plain::acos};
    const auto same = [](double a, double b) {
        std::uint64_t ua, ub;
        std::memcpy(&ua, &a, sizeof ua);
        std::memcpy(&ub, &b, sizeof ub);
        return ua == ub || (std::isnan(a) && std::isnan(b));
    };
    CInputs inputs;
    int iDiffering = 0;
    for (int i = 0; i < 200000; i++) {
        const double x = inputs.spread(-6, 3, true), y = inputs.uniform(-30, 30);
        const double u = inputs.uniform(-1, 1);
        const maths::VSineCosine f = fused.pfSincos(x), p = plain.pfSincos(x);
        iDiffering += !same(f[0], p[0]) + !same(f[1], p[1]);
        iDiffering += !same(fused.pfAtan2(x, y), plain.pfAtan2(x, y));
        iDiffering += !same(fused.pfExp(y), plain.pfExp(y));
        iDiffering += !same(fused.pfLog(std::fabs(x)), plain.pfLog(std::fabs(x)));
        iDiffering += !same(fused.pfLog1p(x), plain.pfLog1p(x));
        iDiffering += !same(fused.pfPow(std::fabs(x), u * 8), plain.pfPow(std::fabs(x), u * 8));
        iDiffering += !same(fused.pfSinh(y), plain.pfSinh(y));
        iDiffering += !same(fused.pfCosh(y), plain.pfCosh(y));
        iDiffering += !same(fused.pfAcos(u), plain.pfAcos(u));
    }
    EXPECT_EQ(iDiffering, 0);
}

// The lane functions give every lane the bits the one-value functions give it: angles of every
// size, next to multiples of π/2, powers of every size, and the values the one-value way
// handles apart (zeros, infinities, NaN, huge angles, points on the axes, subnormal and
// overflowing powers and exponentials), in every lane.
[[gnu::target("avx2,fma")]] int differingLanes(const std::vector<double>& vX,
                                               const std::vector<double>& vY) {
    const auto same = [](double a, double b) {
        std::uint64_t ua, ub;
        std::memcpy(&ua, &a, sizeof ua);
        std::memcpy(&ub, &b, sizeof ub);
        return ua == ub || (std::isnan(a) && std::isnan(b));
    };
    int iDiffering = 0;
    for (size_t i = 0; i + 4 <= vX.size(); i += 4) {
        const maths::lanes::V x = {vX[i], vX[i + 1], vX[i + 2], vX[i + 3]};
        const maths::lanes::V y = {vY[i], vY[i + 1], vY[i + 2], vY[i + 3]};
        const maths::lanes::SSineCosine sc = maths::lanes::sineCosine(x);
        const maths::lanes::V dAngle = maths::lanes::atan2(y, x);
        const maths::lanes::V dExp = maths::lanes::exp(x), dExpY = maths::lanes::exp(y * 100);
        const maths::lanes::V dPow = maths::lanes::pow(x, y);
        const maths::lanes::V dPowOfMagnitude = maths::lanes::pow(maths::lanes::magnitude(x), y);
        for (int k = 0; k < 4; k++) {
            const maths::SSineCosine one = maths::sincos(x[k]);
            iDiffering += !same(sc.dSin[k], one.dSin) + !same(sc.dCos[k], one.dCos);
            iDiffering += !same(dAngle[k], maths::atan2(y[k], x[k]));
            iDiffering += !same(dExp[k], maths::exp(x[k]));
            iDiffering += !same(dExpY[k], maths::exp(y[k] * 100));
            iDiffering += !same(dPow[k], maths::pow(x[k], y[k]));
            iDiffering += !same(dPowOfMagnitude[k], maths::pow(std::fabs(x[k]), y[k]));
        }
    }
    return iDiffering;
}

TEST(MathsTest, LanesGiveTheOneValueBits) {
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
        GTEST_SKIP() << "no AVX2 and fused multiply-add here";
    constexpr double dInf = std::numeric_limits<double>::infinity();
    const std::vector<double> vSpecial = {
        0.0, -0.0, dInf, -dInf, std::nan(""), 1e300, -3e7, 0x1.921fb54442d18p-1,
        0x1.921fb54442d19p-1, 0x1.921fb54442d18p+0, 3 * 0x1.921fb54442d18p+0, 1e-310, -1e-20,
        0x1.921fb54442d18p+20, 7.0, 1.0, -1.0, 0.5, -745.5, -708.5, 709.7, 0x1p-1022};
    std::vector<double> vX, vY;
    for (double x : vSpecial)  // each with each, in every lane
        for (double y : vSpecial) vX.push_back(x), vY.push_back(y);
    CInputs inputs;
    for (int i = 0; i < 400000; i++) {
        vX.push_back(i % 3 ? inputs.uniform(-8, 8) : inputs.spread(-8, 8, true));
        vY.push_back(i % 5 ? inputs.uniform(-8, 8) : inputs.spread(-8, 8, true));
    }
    EXPECT_EQ(differingLanes(vX, vY), 0);
}

}  // namespace
