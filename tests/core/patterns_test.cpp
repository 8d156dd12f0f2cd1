// The pattern step: worked values of every function, the choice of function in the compound
// patterns, and the traps of the one-argument arc tangent, signed zeros and scratch fields.

#include "peer.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Equal once rounded to seven significant digits.
void expectSevenDigits(double dActual, double dExpected) {
    const double dUnit = std::pow(10.0, std::floor(std::log10(std::fabs(dExpected))) - 6);
    EXPECT_NEAR(dActual, dExpected, 0.5 * dUnit + 1e-15) << "expected " << dExpected;
}

struct SWorked {
    int iPattern;
    int iFuncNum;  // the drawn function number; -1 for the single patterns, which draw none
    double dX, dY;
};

// Every function from the point (0.3, -0.7). The number k itself, drawn when the draw is its
// maximum, picks the last function, as does 3 in pattern 5.
constexpr SWorked workedValues[] = {
    {1,  0,  0.15,        -0.35},
    {1,  1,  0.65,        -0.35},
    {1,  2,  0.15,        0.15},
    {2,  0,  0.8843424,   -2.608831},
    {2,  1,  0.8418546,   -0.3106467},
    {3,  0,  -0.8069932,  0.8767311},
    {3,  1,  2.691998,    8.592614},
    {3,  2,  -1.153644,   1.106177},
    {4,  0,  -0.6652298,  0.2718295},
    {4,  1,  -0.5908050,  -0.4805720},
    {5,  0,  -0.2527047,  0.2717896},
    {5,  1,  0.2955202,   -0.6442177},
    {5,  2,  1.423340,    -0.2565683},
    {1,  3,  0.15,        0.15},
    {2,  2,  0.8418546,   -0.3106467},
    {3,  3,  -1.153644,   1.106177},
    {4,  2,  -0.5908050,  -0.4805720},
    {5,  3,  1.423340,    -0.2565683},
    {5,  4,  1.423340,    -0.2565683},
    {6,  -1, -0.8069932,  0.8767311},
    {7,  -1, -0.08321267, -0.2036525},
    {8,  -1, -1.700145,   -4.185356},
    {9,  -1, -0.2035878,  0.4597023},
    {10, -1, 0.02074089,  1.598152},
    {11, -1, 0.2479346,   0.5982868},
    {12, -1, 1.106177,    1.091113},
    {13, -1, 1.514170,    -0.5116729},
    {14, -1, -0.2362088,  0.07534578},
    {15, -1, 1.070710,    0.4223377},
    {16, -1, 0.4395355,   1.137469},
    {17, -1, -0.01930721, 0.7114128},
    {18, -1, 0.5298634,   0.5085098},
    {19, -1, 0.3690786,   -0.8611834},
    {20, -1, 0.7377698,   0.5566084},
};

class PatternTest : public FlameTest {
protected:
    // One pattern step from (dX, dY): the compound patterns apply function iFuncNum.
    SPoint step(int iPattern, int iFuncNum, double dX, double dY) {
        peer.reset(dX, dY, iPattern);
        if (iFuncNum >= 0) peer.applyCompound(iFuncNum);
        else peer.patternStep();
        return {peer.x(), peer.y()};
    }
};

TEST_F(PatternTest, WorkedValuesFromOneEntryPoint) {
    for (const SWorked& row : workedValues) {
        SCOPED_TRACE(::testing::Message()
                     << "pattern " << row.iPattern << " function " << row.iFuncNum);
        const SPoint pNew = step(row.iPattern, row.iFuncNum, 0.3, -0.7);
        expectSevenDigits(pNew.dX, row.dX);
        expectSevenDigits(pNew.dY, row.dY);
    }
}

// Draw -> function, through the scaling and truncation of randomNum(0, k) and through the
// comparisons with the first draw of each function that the loop makes instead.
TEST(FunctionChoiceTest, DrawBoundariesSelectAsTabled) {
    const int iFunctionAt[5][4] = {{0, 1, 1, 2}, {0, 0, 1, 1}, {0, 1, 1, 2}, {0, 0, 1, 1},
                                   {0, 1, 2, 2}};  // for draws 0, 1073741823, 1073741824, max
    const int iDraws[4] = {0, 1073741823, 1073741824, 2147483647};
    for (int iPattern = 1; iPattern <= 5; iPattern++) {
        const SChoice& choice = patternTable[iPattern - 1].choice;
        for (int i = 0; i < 4; i++) {
            const int iExpected = iFunctionAt[iPattern - 1][i];
            EXPECT_EQ(functionOfDraw(iDraws[i], choice.dChoices, choice.iFunctions), iExpected)
                << "pattern " << iPattern << ", draw " << iDraws[i];
            EXPECT_EQ(chosenFunction(choice, iDraws[i]), iExpected)
                << "pattern " << iPattern << ", draw " << iDraws[i];
        }
    }
}

// The function is a step function of the draw, so agreeing at each first draw and the draw
// before it, and at both ends, is agreeing at every draw.
TEST(FunctionChoiceTest, ComparisonsAgreeWithDivisionAtEveryThreshold) {
    for (int iPattern = 1; iPattern <= 5; iPattern++) {
        const SChoice& choice = patternTable[iPattern - 1].choice;
        std::vector<long long> draws = {0, 1, iRandomMax - 1, iRandomMax};
        for (int iFunction = 1; iFunction < choice.iFunctions; iFunction++) {
            const long long iFirst = choice.iFirstDraws[iFunction];
            ASSERT_LE(iFirst, iRandomMax) << "pattern " << iPattern << " function " << iFunction;
            draws.insert(draws.end(), {iFirst - 1, iFirst, iFirst + 1});
            EXPECT_EQ(functionOfDraw(static_cast<int>(iFirst), choice.dChoices, choice.iFunctions),
                      iFunction);
            EXPECT_EQ(functionOfDraw(static_cast<int>(iFirst - 1), choice.dChoices,
                                     choice.iFunctions), iFunction - 1);
        }
        for (long long iDraw : draws) {
            const int iDrawn = static_cast<int>(iDraw);
            EXPECT_EQ(chosenFunction(choice, iDrawn),
                      functionOfDraw(iDrawn, choice.dChoices, choice.iFunctions))
                << "pattern " << iPattern << ", draw " << iDraw;
        }
    }
}

// The real pattern step against the recorded draws: each draw must select the function
// its share of the range gives (k = 2: halves; k = 3: thirds; pattern 5: quarters, the top half
// to its last function), and each step must take exactly one draw.
TEST_F(PatternTest, CompoundStepChoosesByItsOneDraw) {
    const auto expectedFunction = [](int iPattern, int iRand) {
        switch (iPattern) {
        case 2: case 4: return iRand >= 1073741824 ? 1 : 0;
        case 5: return iRand >= 1073741824 ? 2 : iRand >= 536870912 ? 1 : 0;
        default: return iRand >= 1431655765 ? 2 : iRand >= 715827883 ? 1 : 0;
        }
    };
    constexpr int iSteps = 2000;
    CCalculation reference;
    CCalculationPeer referencePeer(reference);
    for (int iPattern = 1; iPattern <= 5; iPattern++) {
        std::vector<int> draws(iSteps + 1);
        CRandom sequence;
        sequence.seed(1234);
        for (int& iDraw : draws) iDraw = sequence.next();
        calc.seedRandom(1234);
        double dX = 0.3, dY = -0.7;
        for (int i = 0; i < iSteps; i++) {
            referencePeer.reset(dX, dY, iPattern);
            referencePeer.applyCompound(expectedFunction(iPattern, draws[i]));  // draws nothing
            peer.reset(dX, dY, iPattern);
            peer.patternStep();
            ASSERT_EQ(peer.x(), referencePeer.x()) << "pattern " << iPattern << " step " << i;
            ASSERT_EQ(peer.y(), referencePeer.y()) << "pattern " << iPattern << " step " << i;
            // Go on from the new point while it stays ordinary, else from a fresh one.
            const bool bOrdinary = std::fabs(peer.x()) < 2 && std::fabs(peer.y()) < 2;
            dX = bOrdinary ? peer.x() : 0.25 - i * 1e-4;
            dY = bOrdinary ? peer.y() : -0.5 + i * 1e-4;
        }
        EXPECT_EQ(peer.generator().next(), draws[iSteps])
            << "pattern " << iPattern << " drew more than once a step";
    }
}

TEST_F(PatternTest, SingleVariationPatternsDrawNoRandomNumber) {
    calc.seedRandom(99);
    const int iFirst = peer.generator().next();
    for (int iPattern = 6; iPattern <= iPatternCount; iPattern++) {
        calc.seedRandom(99);
        step(iPattern, -1, 0.3, -0.7);
        EXPECT_EQ(peer.generator().next(), iFirst) << "pattern " << iPattern;
    }
}

TEST_F(PatternTest, OtherPatternNumbersLeaveEverythingAsItWas) {
    for (int iPattern : {std::numeric_limits<int>::min(), -1, 0, iNoPattern, iNoPattern + 1}) {
        calc.seedRandom(5);
        const int iFirst = peer.generator().next();
        calc.seedRandom(5);
        peer.reset(0.3, -0.7, iPattern);
        peer.vx() = 1.5, peer.vy() = 2.5, peer.radius() = 3.5, peer.theta() = 4.5;
        peer.patternStep();
        EXPECT_EQ(peer.x(), 0.3);
        EXPECT_EQ(peer.y(), -0.7);
        EXPECT_EQ(peer.vx(), 1.5);
        EXPECT_EQ(peer.vy(), 2.5);
        EXPECT_EQ(peer.radius(), 3.5);
        EXPECT_EQ(peer.theta(), 4.5);
        EXPECT_EQ(peer.generator().next(), iFirst) << "pattern " << iPattern;
    }
}

TEST_F(PatternTest, OneArgumentArcTangentFoldsOppositeImages) {
    // heart on (-1, 0): θ = atan(0 / -1) = -0 and r = 1, so (-0, -1), not the (0, 1) of atan2
    const SPoint pHeart = step(4, 1, -1, 0);
    EXPECT_EQ(pHeart.dX, 0.0);
    EXPECT_TRUE(std::signbit(pHeart.dX));
    EXPECT_EQ(pHeart.dY, -1.0);

    // diamond on (-1, -1) equals diamond on (1, 1): θ = π/4, r = √2
    const SPoint pNegative = step(4, 0, -1, -1);
    const SPoint pPositive = step(4, 0, 1, 1);
    expectSevenDigits(pNegative.dX, 0.1102688);
    expectSevenDigits(pNegative.dY, 0.6984560);
    EXPECT_EQ(pNegative.dX, pPositive.dX);
    EXPECT_EQ(pNegative.dY, pPositive.dY);
}

TEST_F(PatternTest, IdentityMapCopiesSignedZeros) {
    // heart on (-0, 1): vx must stay -0, so θ = atan(-inf) = -π/2 and x′ = sin(-π/2) = -1.
    // A computed identity (1·x + 0·y + 0) would give +0, θ = +π/2 and x′ = +1.
    const SPoint pHeart = step(4, 1, -0.0, 1);
    EXPECT_TRUE(std::signbit(peer.vx()));
    EXPECT_EQ(pHeart.dX, -1.0);

    const SPoint pSine = step(5, 1, -0.0, -0.0);  // sin(-0) = -0 on both axes
    EXPECT_TRUE(std::signbit(pSine.dX));
    EXPECT_TRUE(std::signbit(pSine.dY));
}

TEST_F(PatternTest, CompoundFunctionEdgeCases) {
    const SPoint pSpiral = step(5, 2, 1, 0);  // spiral on the image (1, 0): both y′ terms added
    expectSevenDigits(pSpiral.dX, 1.8414710);
    expectSevenDigits(pSpiral.dY, 0.5403023);

    const SPoint pDisc = step(5, 0, 0, 1);  // disc: θ = π/2, r = 1
    EXPECT_NEAR(pDisc.dX, 6.1e-17, 1e-18);
    EXPECT_EQ(pDisc.dY, -0.5);

    const SPoint pOrigin = step(5, 1, 0, 0);
    EXPECT_EQ(pOrigin.dX, 0.0);
    EXPECT_EQ(pOrigin.dY, 0.0);
    // r = 0 and θ = atan(0 / 0): every function of r and θ gives a point that is not a number
    for (const auto& [iPattern, iFuncNum] : {std::pair{5, 0}, {5, 2}, {4, 0}, {4, 1}}) {
        const SPoint pNaN = step(iPattern, iFuncNum, 0, 0);
        EXPECT_TRUE(std::isnan(pNaN.dX) || std::isnan(pNaN.dY))
            << "pattern " << iPattern << " function " << iFuncNum;
    }
}

TEST_F(PatternTest, ScratchFieldsWrittenOnlyWhereComputed) {
    // pattern 5, function 1 (sinusoidal) writes the affine image only
    peer.reset(0.3, -0.7, 5);
    peer.radius() = 7.5;
    peer.theta() = -7.5;
    peer.applyCompound(1);
    EXPECT_EQ(peer.vx(), 0.3);
    EXPECT_EQ(peer.vy(), -0.7);
    EXPECT_EQ(peer.radius(), 7.5);
    EXPECT_EQ(peer.theta(), -7.5);

    // pattern 8 (spherical) writes the radius but not the angle
    peer.reset(0.3, -0.7, 8);
    peer.theta() = -7.5;
    peer.patternStep();
    EXPECT_NE(peer.radius(), 0.0);
    EXPECT_EQ(peer.theta(), -7.5);

    // pattern 19 at (0, 0) stays at (0, 0) but stores the swirl map's image, its r and θ
    const SPoint pFisheye = step(19, -1, 0, 0);
    EXPECT_EQ(pFisheye.dX, 0.0);
    EXPECT_EQ(pFisheye.dY, 0.0);
    EXPECT_EQ(peer.vx(), 0.977861);
    EXPECT_EQ(peer.vy(), 0.547595);
    EXPECT_EQ(peer.radius(), std::sqrt(0.977861 * 0.977861 + 0.547595 * 0.547595));
    EXPECT_EQ(peer.theta(), std::atan(0.547595 / 0.977861));

    // pattern 19 from (0.3, -0.7): r comes from the swirl map's image
    step(19, -1, 0.3, -0.7);
    expectSevenDigits(peer.vx(), 1.1374688);
    expectSevenDigits(peer.vy(), 1.1228025);
    expectSevenDigits(peer.radius(), 1.598287);
}

TEST_F(PatternTest, DiamondMapDiffersFromSwirlMapInF) {
    step(13, -1, 0.3, -0.7);
    const double dVySwirl = peer.vy();
    step(17, -1, 0.3, -0.7);
    EXPECT_NEAR(dVySwirl - peer.vy(), 0.000005, 1e-12);
}

TEST_F(PatternTest, CosineTakesSineOfNewX) {
    const SPoint pCosine = step(20, -1, 0.3, -0.7);
    expectSevenDigits(pCosine.dY, 0.5566084);
    EXPECT_GT(std::fabs(pCosine.dY - 0.6137071), 1e-3);  // the value of sin(π · x) instead
}

TEST_F(PatternTest, PolarOfVerticalImageIsHalf) {
    // An entry point whose swirl-map image has vx exactly 0 and vy > 0: θ = atan(+inf) = π/2.
    step(11, -1, 2.9622062431979335, 0.002);
    ASSERT_EQ(peer.vx(), 0.0);
    EXPECT_GT(peer.vy(), 0.0);
    EXPECT_EQ(peer.x(), 0.5);
}

}  // namespace
