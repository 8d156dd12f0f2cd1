// <motion> elements: the values flam3-genome gives a loop's xforms at b = ⅛, ¼, ½ and ¾; what
// the reader refuses; a still genome that keeps them and a still picture that never sees them.

#include "reference_support.h"

#include "animation/motion.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Three motions on one xform, each its own function and frequency; one past the ranges of
// weight, colour and colour speed; a colour out of range with a motion, and without; a final
// xform that moves.
const std::string sMoving = R"(<flame size="40 30" scale="10" quality="5" palette="12">
  <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0.5">
    <motion motion_frequency="1" motion_function="sin" coefs="0 0 0 0 0.5 0"/>
    <motion motion_frequency="2" motion_function="triangle" linear="1"/>
    <motion motion_frequency="1" julian="1" post="0 0 0 0 0 1"/></xform>
  <xform weight="0.5" color="0.5" spherical="1" coefs="0.5 0 0 0.5 0.5 0">
    <motion motion_frequency="1" motion_function="sin" weight="-2" color="2" color_speed="2"/>
  </xform>
  <xform weight="0.5" color="1.5" linear="1" coefs="0.5 0 0 0.5 -0.5 0">
    <motion motion_frequency="3" linear="1"/></xform>
  <xform weight="0.5" color="1.5" linear="1" coefs="0.5 0 0 0.5 0 -0.5"/>
  <finalxform linear="1"><motion motion_frequency="1" motion_function="sin" linear="1"/>
  </finalxform>
</flame>)";

TEST(MotionTest, MovesAsFlam3GenomeMovesALoop) {
    const SGenome genome = firstGenomeOf(sMoving);
    using FValue = double (*)(const SXform&);
    const FValue linearOf = [](const SXform& x) { return x.variations[0]; };
    const FValue colourOf = [](const SXform& x) { return x.dColor; };
    const struct {
        const char* sName;
        int iXform;  // -1: the final
        FValue value;
        std::vector<double> vAt;  // at b = ⅛, ¼, ½, ¾
    } cases[] = {
        {"sin 0.5 on E", 0, [](const SXform& x) { return x.coefs[4]; }, {0.353553, 0.5, 0, -0.5}},
        {"triangle φ = 2 on linear 1", 0, linearOf, {2, 1, 1, 1}},
        {"hill on julian", 0,
         [](const SXform& x) { return x.variations[variationIndex("julian")]; },
         {0.146447, 0.5, 1, 0.5}},
        {"hill on post F", 0, [](const SXform& x) { return x.post[5]; }, {0.146447, 0.5, 1, 0.5}},
        {"weight at least 0", 1, [](const SXform& x) { return x.dWeight; }, {0, 0, 0.5, 2.5}},
        {"colour within [0, 1]", 1, colourOf, {1, 1, 0.5, 0}},
        {"colour speed as it comes", 1, [](const SXform& x) { return x.dColorSpeed; },
         {1.914214, 2.5, 0.5, -1.5}},
        {"colour of a moving xform held", 2, colourOf, {1, 1, 1, 1}},
        {"colour of a still xform left", 3, colourOf, {1.5, 1.5, 1.5, 1.5}},
        {"the final xform moves", -1, linearOf, {1.707107, 2, 1, 0}},
    };
    for (const auto& example : cases)
        for (int i = 0; i < 4; i++) {
            const double dBlend = i == 0 ? 0.125 : 0.25 * i;
            const SGenome moved = movedGenome(genome, dBlend);
            const SXform& x = example.iXform < 0 ? moved.finalXform : moved.vXforms[example.iXform];
            EXPECT_NEAR(example.value(x), example.vAt[i], 1e-6)
                << example.sName << " at b = " << dBlend;
        }
}

TEST(MotionTest, WhatCannotMoveIsRefusedInOneLine) {
    const auto inXform = [](const std::string& sMotions) {
        return "<flame size=\"8 8\"><xform weight=\"1\" linear=\"1\">" + sMotions +
               "</xform></flame>";
    };
    std::string sMany;
    for (int i = 0; i < 1001; i++) sMany += "<motion/>";
    const std::pair<std::string, const char*> cases[] = {
        {inXform("<motion motion_function=\"cos\"/>"),
         "xform 1's <motion> 1: motion_function=\"cos\" is not sin, triangle or hill"},
        {inXform("<motion/><motion motion_frequency=\"1.5\"/>"),
         "xform 1's <motion> 2: motion_frequency=\"1.5\" is not a whole number"},
        {inXform("<motion chaos=\"1\"/>"), "xform 1's <motion> 1: chaos cannot move"},
        {inXform("<motion plotmode=\"off\"/>"), "plotmode cannot move"},
        {inXform("<motion pre_julia=\"1\"/>"), "pre_julia cannot move"},
        {inXform("<motion frob=\"1\"/>"), "<motion> 1: unknown variation or attribute 'frob'"},
        {inXform("<motion linear=\"1\" linear=\"2\"/>"), "<motion> has linear twice"},
        {"<flame size=\"8 8\"><xform weight=\"1\"/><finalxform><motion weight=\"1\"/>"
         "</finalxform></flame>",
         "final xform's <motion> 1: a final xform has no weight to move"},
        {inXform(sMany), "1001 <motion> elements, over the 1000 a flame may hold"},
    };
    for (const auto& [sXml, sExpected] : cases) {
        std::vector<SGenome> vGenomes;
        std::string sError;
        EXPECT_FALSE(readGenomes(sXml, vGenomes, sError)) << sXml;
        EXPECT_NE(sError.find(sExpected), std::string::npos) << sError;
        EXPECT_EQ(sError.find('\n'), std::string::npos) << sError;
    }
}

// Written with the still genome and read back the same; drawn as if it had none, as flam3-render
// draws it.
TEST(MotionTest, AStillKeepsItsMotionsAndDrawsWithoutThem) {
    const SGenome genome = firstGenomeOf(sMoving);
    EXPECT_TRUE(firstGenomeOf(genomeXml(genome)) == genome) << genomeXml(genome);
    std::string sStill = sMoving;
    for (size_t i; (i = sStill.find("<motion")) != std::string::npos;)
        sStill.erase(i, sStill.find("/>", i) + 2 - i);
    std::string sError;
    const SPicture moving = renderOurs(sMoving, 5, 1, sError);
    ASSERT_FALSE(moving.vRgb.empty()) << sError;
    const long iDark = std::count(moving.vRgb.begin(), moving.vRgb.end(), 0);
    ASSERT_LT(iDark, static_cast<long>(moving.vRgb.size()) * 9 / 10);  // enough drawn to differ
    EXPECT_EQ(moving.vRgb, renderOurs(sStill, 5, 1, sError).vRgb);
}

}  // namespace
