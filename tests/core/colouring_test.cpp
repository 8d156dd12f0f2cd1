// Hit counts to colours: the five colourings at the levels where their bands meet, the pixels and
// choices that colour nothing, and the range of every component.

#include "peer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Colour = std::array<float, 4>;

class ColouringTest : public FlameTest {
protected:
    // The colour of one pixel, black before, with iHits hits when the most-hit pixel has iMaxHit.
    Colour colourOf(int iColourType, int iHits, int iMaxHit) {
        std::fill(myScreen.colour(10, 20), myScreen.colour(10, 20) + 4, 0.0f);
        myScreen.hits(10, 20) = iHits;
        peer.maxHit() = iMaxHit;
        calc.iColourType = iColourType;
        calc.calculateHitsToColour(iScreenWidth, iScreenHight);
        const float* fColour = myScreen.colour(10, 20);
        return {fColour[0], fColour[1], fColour[2], fColour[3]};
    }

    static Colour colourAtLevel(int iColourType, double dLog) {
        Colour colour{};
        colourOfLevel(iColourType, dLog, colour.data());
        return colour;
    }
};

void expectColour(const Colour& actual, const Colour& expected) {
    for (int k = 0; k < 4; k++) EXPECT_NEAR(actual[k], expected[k], 1e-6) << "component " << k;
}

// One pixel's colour from its count and the most hits: the bottom of the scale for a pixel hit
// once, the top for the most-hit pixel (also when that was hit once: level 1, never 0 / 0), the
// middle for 10 of 100, counts below and beyond the tabled logarithms, black and white whatever
// the counts, and nothing for a number that is no colouring.
TEST_F(ColouringTest, ColourOfOnePixelFromItsCounts) {
    const struct {
        int iColourType, iHits, iMaxHit;
        Colour expected;
    } cases[] = {
        {1, 1, 1, {1, 1, 1, 1}},     {1, 3, 1000, {1, 1, 1, 1}},
        {2, 1, 50, {0, 0, 0, 0}},    {3, 1, 50, {0, 0, 0, 1}},
        {4, 1, 50, {0, 0, 0, 1}},    {5, 1, 50, {0, 0, 0, 1}},
        {2, 77, 77, {1, 1, 1, 1}},   {3, 77, 77, {0, 1, 1, 1}},
        {4, 77, 77, {1, 0, 1, 1}},   {5, 77, 77, {0, 1, 0.78f, 1}},
        {2, 1, 1, {1, 1, 1, 1}},     {3, 1, 1, {0, 1, 1, 1}},
        {4, 1, 1, {1, 0, 1, 1}},     {5, 1, 1, {0, 1, 0.78f, 1}},
        {2, 10, 100, {0.5f, 0.5f, 0.5f, 0.5f}},     {3, 10, 100, {1, 1, 0, 1}},
        {4, 10, 100, {0, 1, 0, 1}},                 {5, 10, 100, {0, 0.251f, 1, 1}},
        {2, 1000, 1000000, {0.5f, 0.5f, 0.5f, 0.5f}}, {4, 100000, 100000, {1, 0, 1, 1}},
        {0, 5, 10, {0, 0, 0, 0}},    {6, 5, 10, {0, 0, 0, 0}},    {-1, 5, 10, {0, 0, 0, 0}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(::testing::Message() << "colouring " << example.iColourType << ", "
                                          << example.iHits << " of " << example.iMaxHit);
        expectColour(colourOf(example.iColourType, example.iHits, example.iMaxHit),
                     example.expected);
    }
}

TEST_F(ColouringTest, TrafficLightStepsAtQuarterAndHalf) {
    expectColour(colourOf(3, 10, 10000), {1, 0, 0, 1});    // level 0.25
    expectColour(colourOf(3, 1000, 10000), {0, 1, 0, 1});  // level 0.75
    expectColour(colourAtLevel(3, 0.25), {1, 0, 0, 1});
    expectColour(colourAtLevel(3, std::nextafter(0.25, 0.0)), {0.625f, 0, 0, 1});
    expectColour(colourAtLevel(3, 0.5), {1, 1, 0, 1});
    expectColour(colourAtLevel(3, std::nextafter(0.5, 0.0)), {1, 0.625f, 0, 1});
}

TEST_F(ColouringTest, RainbowAndBluesPassTheirStepColours) {
    const Colour rainbow[] = {{0, 0, 0, 1},   {1, 0, 0.5f, 1}, {1, 0, 0, 1}, {1, 0.5f, 0, 1},
                              {1, 1, 0, 1},   {0, 1, 0, 1},    {0, 1, 1, 1}, {0, 0.5f, 1, 1},
                              {0, 0, 1, 1},   {0.5f, 0, 1, 1}, {1, 0, 1, 1}};
    const Colour blues[] = {{0, 0, 0, 1},      {0.906f, 0, 1, 1}, {0.563f, 0, 1, 1},
                            {0.345f, 0, 1, 1}, {0.094f, 0, 1, 1}, {0, 0.251f, 1, 1},
                            {0, 0.469f, 1, 1}, {0, 0.655f, 1, 1}, {0, 0.875f, 1, 1},
                            {0, 1, 0.937f, 1}, {0, 1, 0.78f, 1}};
    const double dSteps[] = {0.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
    for (int i = 0; i < 11; i++) {
        SCOPED_TRACE(::testing::Message() << "level " << dSteps[i]);
        expectColour(colourAtLevel(4, dSteps[i]), rainbow[i]);
        expectColour(colourAtLevel(5, dSteps[i]), blues[i]);
        if (i == 0) continue;  // just below each bound: the colour of the row below, no jump
        expectColour(colourAtLevel(4, std::nextafter(dSteps[i], 0.0)), rainbow[i]);
        expectColour(colourAtLevel(5, std::nextafter(dSteps[i], 0.0)), blues[i]);
    }
}

TEST_F(ColouringTest, EveryComponentWithinUnitRangeAtEveryLevel) {
    for (int iColourType = 2; iColourType <= iColourCount; iColourType++) {
        for (int i = 0; i <= 100000; i++) {
            const double dLevel = i / 100000.0;
            for (double dLog : {dLevel, std::nextafter(dLevel, 0.0), std::nextafter(dLevel, 1.0)}) {
                if (dLog < 0 || dLog > 1) continue;
                const Colour colour = colourAtLevel(iColourType, dLog);
                for (float fComponent : colour) {
                    ASSERT_GE(fComponent, -1e-6f) << "colouring " << iColourType << ", " << dLog;
                    ASSERT_LE(fComponent, 1 + 1e-6f) << "colouring " << iColourType << ", " << dLog;
                }
            }
        }
    }
}

TEST_F(ColouringTest, NeverHitPixelsKeepTheirColour) {
    myScreen.colour(5, 5)[0] = 0.25f;  // a colour the colouring must not touch
    for (int iColourType = 1; iColourType <= iColourCount; iColourType++) {
        colourOf(iColourType, 4, 8);
        EXPECT_EQ(myScreen.colour(5, 5)[0], 0.25f);
        EXPECT_EQ(myScreen.colour(6, 6)[3], 0.0f);
    }
}

TEST_F(ColouringTest, NoHitsChangeNothing) {
    peer.maxHit() = 0;
    for (int iColourType = 1; iColourType <= iColourCount; iColourType++) {
        calc.iColourType = iColourType;
        calc.calculateHitsToColour(iScreenWidth, iScreenHight);
    }
    for (int i = 0; i < iScreenWidth; i++)
        for (int j = 0; j < iScreenHight; j++)
            ASSERT_EQ(myScreen.colour(i, j)[3], 0.0f);
}

TEST_F(ColouringTest, ColoursOnlyTheGivenWidthAndHeight) {
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 5; j++) myScreen.hits(i, j) = 1;
    calc.iColourType = 1;
    peer.maxHit() = 1;
    calc.calculateHitsToColour(2, 3);
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 5; j++)
            EXPECT_EQ(myScreen.colour(i, j)[0], i < 2 && j < 3 ? 1.0f : 0.0f)
                << i << "," << j;

    calc.calculateHitsToColour(0, 800);
    calc.calculateHitsToColour(-5, -5);
    myScreen.hits(799, 799) = 1;
    calc.calculateHitsToColour(2000, 2000);  // never past the picture's edge
    EXPECT_EQ(myScreen.colour(799, 799)[0], 1.0f);
}

}  // namespace
