// Properties of the chaos game that must hold for every pattern number, in and out of range, from
// awkward start points and from random ones: the point never ends an iteration as NaN or beyond
// the escape bound, an iteration adds at most one hit and only to the pixel under the point, the
// counts stay below iMaxHit and below the iterations run, and every
// colouring turns them into components in [0, 1]. A run's own loop must do exactly what the
// iterations one at a time do.

#include "peer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int iFirstPattern = -1;  // every pattern, and -1, 0, 21 and 22 around them
constexpr int iLastPattern = iPatternCount + 2;
constexpr int iRunLength = 2000;       // iterations from one start point
constexpr int iRandomStarts = 200;     // per pattern number
constexpr int iLoopRandomStarts = 40;  // per pattern number, through the run's own loop
constexpr double dEscape = 1e10;       // exact as a float too: the escape bound itself

constexpr double dInf = std::numeric_limits<double>::infinity();
constexpr double dNaN = std::numeric_limits<double>::quiet_NaN();

// Zeros of both signs, the corners, a subnormal, the escape bound itself (kept, as it is not
// beyond), far beyond it, infinities and NaN.
const SPoint hardStarts[] = {
    {0, 0},         {1, 1},          {1, -1},         {-1, 1},        {-1, -1},
    {-0.0, -0.0},   {1e-310, 0},     {-1e-310, 0},    {1e10, 1e10},   {1e10, -1e10},
    {-1e10, 1e10},  {-1e10, -1e10},  {1e300, -1e300}, {dInf, 0},      {-dInf, 0},
    {dNaN, dNaN},
};
constexpr int iHardStarts = static_cast<int>(std::size(hardStarts));

constexpr long long iTotalIterations =
    static_cast<long long>(iLastPattern - iFirstPattern + 1) * (iHardStarts + iRandomStarts) *
    iRunLength;
static_assert(iTotalIterations >= 10000000, "at least 10^7 iterations over all pattern numbers");

bool isWithinWindow(double dX, double dY) { return std::fabs(dX) <= 1 && std::fabs(dY) <= 1; }

// The pixel of a window coordinate, worked out on its own: [-1, 1] stretched over iSize pixels,
// the right or top edge itself in the last one.
int pixelOf(double dValue, int iSize) {
    const int iPixel = static_cast<int>(std::floor((dValue + 1) / 2 * iSize));
    return iPixel < iSize ? iPixel : iSize - 1;
}

// A start point of one of four kinds: inside the window, around it, of any magnitude a double
// can have, or any bit pattern at all (NaNs, infinities and subnormals included).
SPoint randomStart(std::mt19937_64& generator, int iKind) {
    std::uniform_real_distribution<double> window(-1, 1), around(-3, 3), exponent(-320, 308);
    std::bernoulli_distribution negative;
    const auto anyMagnitude = [&] {
        const double dValue = std::pow(10.0, exponent(generator));
        return negative(generator) ? -dValue : dValue;
    };
    const auto anyBits = [&] {
        const std::uint64_t uBits = generator();
        double dValue;
        std::memcpy(&dValue, &uBits, sizeof dValue);
        return dValue;
    };
    switch (iKind % 4) {
    case 0: return {window(generator), window(generator)};
    case 1: return {around(generator), around(generator)};
    case 2: return {anyMagnitude(), anyMagnitude()};
    default: return {anyBits(), anyBits()};
    }
}

class ChaosGameTest : public FlameTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        FlameTest::SetUp();
        peer.reset(0, 0, GetParam());
        calc.seedRandom(static_cast<unsigned>(1000 + GetParam()));
    }

    // iRunLength iterations from the start point, added to what the buffer holds already. After
    // every iteration the point must be a number within the escape bound; if it lies in the
    // window, its pixel must have gained one hit (the point landed there) or none (it was placed
    // there by a restart), and every hit is recorded in expectedHits.
    void run(SPoint start, long long& iRunHits) {
        peer.x() = start.dX;
        peer.y() = start.dY;
        iRunHits = 0;
        for (int i = 0; i < iRunLength; i++) {
            calc.actualCalculate();
            const double dX = peer.x(), dY = peer.y();
            if (!(std::fabs(dX) <= dEscape && std::fabs(dY) <= dEscape)) {
                FAIL() << "iteration " << i << " ends at (" << dX << ", " << dY << ")";
            }
            if (!isWithinWindow(dX, dY)) continue;
            const int iCol = pixelOf(dX, iScreenWidth), iRow = pixelOf(dY, iScreenHight);
            int& iExpected = expectedHits[iCol * iScreenHight + iRow];
            const int iActual = myScreen.hits(iCol, iRow);
            if (iActual == iExpected + 1) {
                iExpected++;
                iRunHits++;
                if (peer.maxHit() < iActual)
                    FAIL() << "iMaxHit " << peer.maxHit() << " below a count of " << iActual;
            } else if (iActual != iExpected) {
                FAIL() << "iteration " << i << ": pixel " << iCol << "," << iRow << " of ("
                       << dX << ", " << dY << ") went from " << iExpected << " to " << iActual;
            }
        }
        iIterationsRun += iRunLength;
        iHitsSeen += iRunHits;
    }

    // iRunLength iterations from the start point by the run's own loop, added to what the buffer
    // holds already: only the point where it ends can be looked at.
    void runLoop(SPoint start) {
        peer.x() = start.dX;
        peer.y() = start.dY;
        calc.runIterations(iRunLength);
        iIterationsRun += iRunLength;
        if (!(std::fabs(peer.x()) <= dEscape && std::fabs(peer.y()) <= dEscape))
            FAIL() << "the run ends at (" << peer.x() << ", " << peer.y() << ")";
    }

    // The whole picture: iMaxHit the largest count, no more hits than iterations; when the runs
    // went one iteration at a time, exactly the hits seen.
    void checkCounts(bool bHitsTracked = true) {
        long long iSum = 0;
        int iLargest = 0;
        for (int i = 0; i < iScreenWidth; i++) {
            for (int j = 0; j < iScreenHight; j++) {
                const int iHits = myScreen.hits(i, j);
                if (bHitsTracked && iHits != expectedHits[i * iScreenHight + j])
                    FAIL() << "pixel " << i << "," << j << " has " << iHits << " hits, expected "
                           << expectedHits[i * iScreenHight + j];
                iSum += iHits;
                iLargest = std::max(iLargest, iHits);
            }
        }
        if (bHitsTracked) {
            EXPECT_EQ(iSum, iHitsSeen);
        }
        EXPECT_LE(iSum, iIterationsRun);
        EXPECT_EQ(peer.maxHit(), iLargest);
        EXPECT_LE(peer.maxHit(), iIterationsRun);
    }

    // Every colouring in turn over the counts as they are: each component a number in [0, 1],
    // pixels never hit untouched.
    void checkColourings() {
        constexpr float fSlack = 1e-6f;
        for (int iColourType = 1; iColourType <= iColourCount; iColourType++) {
            calc.iColourType = iColourType;
            calc.calculateHitsToColour(iScreenWidth, iScreenHight);
            for (int i = 0; i < iScreenWidth; i++) {
                for (int j = 0; j < iScreenHight; j++) {
                    const float* fColour = myScreen.colour(i, j);
                    const bool bUntouched = myScreen.hits(i, j) == 0;
                    for (int k = 0; k < 4; k++) {
                        const float fComponent = fColour[k];
                        if (!(fComponent >= -fSlack && fComponent <= 1 + fSlack) ||
                            (bUntouched && fComponent != 0.0f))
                            FAIL() << "colouring " << iColourType << ", pixel " << i << "," << j
                                   << " (" << myScreen.hits(i, j) << " hits of "
                                   << peer.maxHit() << "), component " << k << " = "
                                   << fComponent;
                    }
                    if (bUntouched) continue;
                    if (iColourType == 1 && fColour[0] + fColour[1] + fColour[2] + fColour[3] != 4)
                        FAIL() << "pixel " << i << "," << j << " is hit but not opaque white";
                    if (iColourType >= 3 && fColour[3] != 1.0f)
                        FAIL() << "colouring " << iColourType << ", pixel " << i << "," << j
                               << " is hit but not opaque";
                }
            }
        }
    }

    std::vector<int> expectedHits = std::vector<int>(iScreenWidth * iScreenHight, 0);
    long long iIterationsRun = 0;
    long long iHitsSeen = 0;
};

TEST_P(ChaosGameTest, CountsAndColoursStayInBoundsFromAnyStart) {
    for (const SPoint& start : hardStarts) {
        SCOPED_TRACE(::testing::Message() << "start (" << start.dX << ", " << start.dY << ")");
        long long iRunHits;
        ASSERT_NO_FATAL_FAILURE(run(start, iRunHits));
    }
    ASSERT_NO_FATAL_FAILURE(checkCounts());
    ASSERT_NO_FATAL_FAILURE(checkColourings());

    std::mt19937_64 generator(static_cast<std::uint64_t>(GetParam() + 7));
    for (int iStart = 0; iStart < iRandomStarts; iStart++) {
        const SPoint start = randomStart(generator, iStart);
        SCOPED_TRACE(::testing::Message() << "random start " << iStart << " (" << start.dX << ", "
                                          << start.dY << ")");
        long long iRunHits;
        ASSERT_NO_FATAL_FAILURE(run(start, iRunHits));
    }
    ASSERT_NO_FATAL_FAILURE(checkCounts());
    ASSERT_NO_FATAL_FAILURE(checkColourings());
}

// The run's loop from the same starts and the same draws, checked as above, then repeated one
// iteration at a time: the counts, iMaxHit and the point must come out the same.
TEST_P(ChaosGameTest, RunLoopKeepsBoundsAndMatchesSingleIterations) {
    std::vector<SPoint> starts(std::begin(hardStarts), std::end(hardStarts));
    std::mt19937_64 generator(static_cast<std::uint64_t>(GetParam() + 70));
    for (int iStart = 0; iStart < iLoopRandomStarts; iStart++)
        starts.push_back(randomStart(generator, iStart));

    constexpr unsigned uSeed = 4242;
    calc.seedRandom(uSeed);
    for (const SPoint& start : starts) {
        SCOPED_TRACE(::testing::Message() << "start (" << start.dX << ", " << start.dY << ")");
        ASSERT_NO_FATAL_FAILURE(runLoop(start));
    }
    ASSERT_NO_FATAL_FAILURE(checkCounts(false));
    ASSERT_NO_FATAL_FAILURE(checkColourings());

    const std::vector<int> loopHits = myScreen.iScreenHits;
    const int iLoopMaxHit = peer.maxHit();
    const SPoint loopEnd = {peer.x(), peer.y()};

    clearScreen();
    peer.reset(0, 0, GetParam());
    calc.seedRandom(uSeed);
    for (const SPoint& start : starts) {
        peer.x() = start.dX;
        peer.y() = start.dY;
        for (int i = 0; i < iRunLength; i++) calc.actualCalculate();
    }
    EXPECT_EQ(peer.maxHit(), iLoopMaxHit);
    EXPECT_EQ(peer.x(), loopEnd.dX);
    EXPECT_EQ(peer.y(), loopEnd.dY);
    EXPECT_TRUE(loopHits == myScreen.iScreenHits)
        << "the run's loop hit other pixels than its iterations one at a time";
}

// A point that is not a number, or infinite, is replaced at once by one inside the window, and
// the run goes on hitting as it does from an ordinary start.
TEST_P(ChaosGameTest, PointThatIsNotANumberStartsAfresh) {
    long long iOrdinaryHits;
    ASSERT_NO_FATAL_FAILURE(run({0.3, -0.7}, iOrdinaryHits));
    ASSERT_GT(iOrdinaryHits, 0) << "pattern " << GetParam() << " never hits";
    const SPoint badStarts[] = {{dNaN, dNaN}, {dNaN, 0.5}, {0.5, -dNaN}, {dInf, 0}, {0, -dInf}};
    for (const SPoint& start : badStarts) {
        SCOPED_TRACE(::testing::Message() << "start (" << start.dX << ", " << start.dY << ")");
        peer.x() = start.dX;
        peer.y() = start.dY;
        calc.actualCalculate();
        iIterationsRun++;
        ASSERT_TRUE(isWithinWindow(peer.x(), peer.y()))
            << "after one iteration (" << peer.x() << ", " << peer.y() << ")";
        // Placed there, not landed there: no hit for it.
        const int iCol = pixelOf(peer.x(), iScreenWidth), iRow = pixelOf(peer.y(), iScreenHight);
        ASSERT_EQ(myScreen.hits(iCol, iRow), expectedHits[iCol * iScreenHight + iRow]);
        long long iRunHits;
        ASSERT_NO_FATAL_FAILURE(run({peer.x(), peer.y()}, iRunHits));
        EXPECT_GT(iRunHits, 0);
    }
    ASSERT_NO_FATAL_FAILURE(checkCounts());
}

INSTANTIATE_TEST_SUITE_P(EveryPatternNumber, ChaosGameTest,
                         ::testing::Range(iFirstPattern, iLastPattern + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param < 0 ? "Minus" + std::to_string(-info.param)
                                                   : "Pattern" + std::to_string(info.param);
                         });

}  // namespace
