// Flames: the text form, pattern 3 written as a flame, and random flames from a seed.

#include "core/calc.h"
#include "runs/fit.h"
#include "runs/random_flame.h"
#include "text/text_forms.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const char* const sPattern3 =
    "linear 0.98396 0.359416 -0.85059 0.298328 -0.583541 0.378754; "
    "spiral -0.900388 0.397598 0.465126 0.293063 0.0225629 -0.277212; "
    "swirl -0.329863 -0.369381 0.977861 -0.0855261 -0.858379 0.547595";

SRun runOf(const SFlame& flame, int iIterations) {
    SRun run;
    run.flame = flame;
    run.iIterations = iIterations;
    run.uSeed = 9;
    return run;
}

TEST(FlameFunctionsTest, TextReadsBackWhatItWrote) {
    SFlame flame;
    std::string sError;
    ASSERT_TRUE(readFlame(sPattern3, flame, sError)) << sError;
    EXPECT_EQ(flameText(flame), sPattern3);
    EXPECT_EQ(flameNames(flame), "linear & spiral & swirl");
    const SFlame random = randomFlame(4);
    SFlame again;
    ASSERT_TRUE(readFlame(flameText(random), again, sError)) << sError;
    EXPECT_EQ(flameText(again), flameText(random));
}

TEST(FlameFunctionsTest, RefusesWhatIsNoFlame) {
    const std::string sNames = "linear, sinusoidal, spherical, swirl, spiral, diamond, heart, disc, "
                               "horseshoe, polar, handkerchief, hyperbolic, ex, fisheye, cosine";
    const struct {
        const char* sText;
        std::string sError;
    } cases[] = {
        {"disc 1 2 3 4 5 6", "a flame has 2 to 4 functions separated by ';', not 1"},
        {"disc 1 2 3 4 5 6;", "'' is no function: " + sNames},
        {"disc 1 2 3 4 5 6; julia 1 2 3 4 5 6", "'julia' is no function: " + sNames},
        {"disc 1 2 3 4 5 6; swirl 1 2 3", "'swirl 1 2 3' needs six finite numbers after its name"},
        {"disc 1 2 3 4 5 nan; swirl 1 2 3 4 5 6", "'disc 1 2 3 4 5 nan' needs six finite numbers "
                                                  "after its name"},
        {"disc 1 2 3 4 5 6 7; swirl 1 2 3 4 5 6", "'disc 1 2 3 4 5 6 7' needs six finite numbers "
                                                  "after its name"},
        {"a 0 0 0 0 0 0; b 0 0 0 0 0 0; c 0 0 0 0 0 0; d 0 0 0 0 0 0; e 0 0 0 0 0 0",
         "a flame has 2 to 4 functions separated by ';', not 5"},
    };
    for (const auto& example : cases) {
        SFlame flame;
        std::string sError;
        EXPECT_FALSE(readFlame(example.sText, flame, sError));
        EXPECT_EQ(sError, example.sError);
    }
}

// The same draws choose the same functions: pattern 3 written as a flame is pattern 3.
TEST(FlameFunctionsTest, PatternThreeAsAFlameDrawsPatternThree) {
    SFlame flame;
    std::string sError;
    ASSERT_TRUE(readFlame(sPattern3, flame, sError)) << sError;
    SRun pattern = runOf(SFlame(), 1000000);
    pattern.iPattern = 3;
    CCalculation fromPattern(pattern), fromFlame(runOf(flame, 1000000));
    fromPattern.initCalculate();
    fromFlame.initCalculate();
    EXPECT_EQ(fromFlame.picture().iScreenHits, fromPattern.picture().iScreenHits);
    EXPECT_EQ(fromFlame.picture().iMaxHit, fromPattern.picture().iMaxHit);
}

// One seed, one flame and one picture; twelve seeds, twelve flames, each lighting at least 2 % of
// an 800 x 800 picture framed on its orbit.
TEST(FlameFunctionsTest, RandomFlamesFromSeeds) {
    EXPECT_EQ(flameText(randomFlame(5)), flameText(randomFlame(5)));
    std::set<std::string> texts;
    for (unsigned int uSeed = 1; uSeed <= 12; uSeed++) {
        const SFlame flame = randomFlame(uSeed);
        EXPECT_TRUE(flame.bRandom);
        EXPECT_EQ(flame.uSeed, uSeed);
        texts.insert(flameText(flame));
        SRun run = runOf(flame, iTrialIterations);
        run.uSeed = uSeed;
        run.view = fitView(run);
        CCalculation calc(run);
        calc.initCalculate();
        long long iLit = 0;
        for (const int iHits : calc.picture().iScreenHits) iLit += iHits > 0;
        EXPECT_GE(iLit, 800 * 800 / 50) << "seed " << uSeed;
    }
    EXPECT_EQ(texts.size(), 12u);
}

}  // namespace
