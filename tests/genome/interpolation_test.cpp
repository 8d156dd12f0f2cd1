// Keyframes interpolated as flam3-animate interpolates them, each case a value the reference
// gave: a scalar on a line and beyond it, a turn by angle, a curve through a middle keyframe,
// palettes half-way in each mode, and keyframes of different xform counts padded.

#include "animation/interpolation.h"
#include "animation/keyframes.h"
#include "animation/loops.h"
#include "animation/motion_blur.h"
#include "genome/attributes.h"
#include "genome/palette.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<SGenome> keyframes(const std::string& sFlames) {
    std::vector<SGenome> vKeys;
    std::string sError;
    EXPECT_TRUE(readGenomes("<flames>" + sFlames + "</flames>", vKeys, sError)) << sError;
    settleKeyframes(vKeys);
    return vKeys;
}

// A keyframe at time t, its flame attributes and xforms as given.
std::string key(double dTime, const std::string& sAttributes, const std::string& sXforms) {
    return "<flame time=\"" + std::to_string(dTime) + "\" " + sAttributes + ">" + sXforms +
           "</flame>";
}

std::string xform(const std::string& sAttributes) {
    return "<xform weight=\"1\" " + sAttributes + "/>";
}

const std::string sLinear = xform("linear=\"1\"");

// A palette of one colour, each entry (r, g, b) on the 0–255 scale.
std::string colours(const char* sRgb) {
    std::string sText;
    for (int i = 0; i < 256; i++)
        sText += "<color index=\"" + std::to_string(i) + "\" rgb=\"" + sRgb + "\"/>";
    return sText;
}

struct SCase {
    const char* sName;
    std::string sFlames;
    double dTime;
    std::function<std::vector<double>(const SGenome&)> values;
    std::vector<double> vExpected;
    double dTolerance = 1e-9;
};

std::vector<double> coefs(const SGenome& genome, int j = 0) {
    const std::array<double, 6>& c = genome.vXforms[j].coefs;
    return {c.begin(), c.end()};
}

std::vector<double> firstColour(const SGenome& genome) {
    const SColour& c = genome.palette[0];
    return {255 * c.dRed, 255 * c.dGreen, 255 * c.dBlue};
}

std::vector<double> scaleOf(const SGenome& genome) { return {genome.dScale}; }

std::string scales(const char* sInterpolation) {
    std::string sFlames;
    const double dScales[] = {10, 20, 40, 10, 30};
    for (int k = 0; k < 5; k++)
        sFlames += key(10 * k, "scale=\"" + std::to_string(dScales[k]) + "\" " + sInterpolation,
                       sLinear);
    return sFlames;
}

std::string palettes(const char* sFrom, const char* sTo, const std::string& sMode) {
    return key(0, sMode, sLinear + colours(sFrom)) + key(10, sMode, sLinear + colours(sTo));
}

std::vector<SCase> cases() {
    const std::string s150 = "coefs=\"-0.8660254037844386 0.5 -0.5 -0.8660254037844386 0 0\"";
    const std::string sMinus150 =
        "coefs=\"-0.8660254037844386 -0.5 0.5 -0.8660254037844386 0 0\"";
    const double d165 = 165 * M_PI / 180;
    const std::string sTurn = key(0, "", xform("linear=\"1\" " + s150)) +
                              key(10, "", xform("linear=\"1\" " + sMinus150));
    const std::string sCircular = "palette_interpolation=\"hsv_circular\"";
    return {
        {"scale half-way", key(0, "scale=\"10\"", sLinear) + key(10, "scale=\"20\"", sLinear), 5,
         scaleOf, {15}},
        {"scale before the first keyframe",
         key(0, "scale=\"10\"", sLinear) + key(10, "scale=\"20\"", sLinear), -5, scaleOf, {5}},
        {"+150° to −150°, half-way: 180°",
         sTurn,
         5, [](const SGenome& g) { return coefs(g); }, {-1, 0, 0, -1, 0, 0}},
        {"+150° to −150°, a quarter: 165°",
         sTurn,
         2.5, [](const SGenome& g) { return coefs(g); },
         {std::cos(d165), std::sin(d165), -std::sin(d165), std::cos(d165), 0, 0}},
        {"±150° in linear space shrinks",
         key(0, "interpolation_type=\"linear\"", xform("linear=\"1\" " + s150)) +
             key(10, "interpolation_type=\"linear\"", xform("linear=\"1\" " + sMinus150)),
         5, [](const SGenome& g) { return coefs(g); }, {-0.8660254037844386, 0, 0,
                                                         -0.8660254037844386, 0, 0}},
        {"scale 0.5 to 2: geometric",
         key(0, "", xform("linear=\"1\" coefs=\"0.5 0 0 0.5 0 0\"")) +
             key(10, "", xform("linear=\"1\" coefs=\"2 0 0 2 0 0\"")),
         5, [](const SGenome& g) { return coefs(g); }, {1, 0, 0, 1, 0, 0}},
        {"smooth: the middle keyframe hit", scales("interpolation=\"smooth\""), 20, scaleOf, {40}},
        {"smooth: a curve", scales("interpolation=\"smooth\""), 15, scaleOf, {32.5}},
        {"smooth: 12", scales("interpolation=\"smooth\""), 12, scaleOf, {24.16}},
        {"smooth: 25", scales("interpolation=\"smooth\""), 25, scaleOf, {25}},
        {"smooth: the first segment linear", scales("interpolation=\"smooth\""), 5, scaleOf,
         {15}},
        {"smooth: the last segment linear", scales("interpolation=\"smooth\""), 35, scaleOf,
         {20}},
        {"red to blue, hsv_circular", palettes("255 0 0", "0 0 255", sCircular), 5, firstColour,
         {255, 0, 255}},
        {"red to blue, hsv", palettes("255 0 0", "0 0 255", "palette_interpolation=\"hsv\""), 5,
         firstColour, {0, 255, 0}},
        {"red to blue, rgb", palettes("255 0 0", "0 0 255", "palette_interpolation=\"rgb\""), 5,
         firstColour, {127.5, 0, 127.5}},
        {"red to blue, half in rgb",
         palettes("255 0 0", "0 0 255", sCircular + " hsv_rgb_palette_blend=\"0.5\""), 5,
         firstColour, {191.25, 0, 191.25}},
        {"orange to navy, hsv_circular", palettes("255 128 0", "0 0 128", sCircular), 5,
         firstColour, {191.5, 0, 143.44}, 0.01},
        {"orange to navy, hsv", palettes("255 128 0", "0 0 128", "palette_interpolation=\"hsv\""),
         5, firstColour, {0, 191.5, 48.06}, 0.01},
        {"padding beside spherical: a half-turn with linear −1",
         key(0, "", sLinear) + key(10, "", sLinear + xform("spherical=\"1\"")), 0,
         [](const SGenome& g) {
             std::vector<double> v = coefs(g, 1);
             v.push_back(g.vXforms[1].variations[variation::eLinear]);
             v.push_back(g.vXforms[1].dWeight);
             return v;
         },
         {-1, 0, 0, -1, 0, 0, -1, 0}},
        {"padding beside fan: x and y swapped",
         key(0, "", sLinear + xform("fan=\"1\" coefs=\"2 0 0 2 0 0\"")) + key(10, "", sLinear),
         5, [](const SGenome& g) { return coefs(g, 1); }, {1, 1, 1, 1, 0, 0}},
        {"padding under linear beside spherical: linear",
         key(0, "interpolation_type=\"linear\"", sLinear) +
             key(10, "", sLinear + xform("spherical=\"1\"")),
         0, [](const SGenome& g) {
             return std::vector<double>{g.vXforms[1].variations[variation::eLinear]};
         },
         {1}},
    };
}

TEST(InterpolationTest, KeyframesBlendAsTheReferenceGives) {
    for (const SCase& example : cases()) {
        const SGenome genome = genomeAt(keyframes(example.sFlames), example.dTime);
        const std::vector<double> vValues = example.values(genome);
        ASSERT_EQ(vValues.size(), example.vExpected.size()) << example.sName;
        for (size_t i = 0; i < vValues.size(); i++)
            EXPECT_NEAR(vValues[i], example.vExpected[i], example.dTolerance)
                << example.sName << ", value " << i;
    }
}

// The interpolation slot of every row is honoured: a row said to blend has its blend.
TEST(InterpolationTest, EveryRowThatBlendsHasItsBlend) {
    for (const SAttribute<SGenome>& row : flameAttributes())
        EXPECT_EQ(row.pfBlend != nullptr,
                  row.eInterpolation != eFromFirst && row.eInterpolation != eBlendAffine)
            << row.sName;
    for (const SAttribute<SXform>& row : xformAttributes())
        EXPECT_EQ(row.pfBlend != nullptr,
                  row.eInterpolation != eFromFirst && row.eInterpolation != eBlendAffine)
            << row.sName;
}

// A loop's and a transition's genomes, and a frame's moments, as the reference makes them.
TEST(InterpolationTest, LoopsTransitionsAndMomentsAsTheReferenceGives) {
    const std::vector<SGenome> vOne = keyframes(
        key(0, "", xform("linear=\"1\" coefs=\"2 0 0 1 0.5 0.25\"")) );
    const std::vector<SGenome> vPair = keyframes(
        key(0, "", xform("linear=\"1\" animate=\"0\"")) +
        key(1, "", xform("linear=\"1\" coefs=\"0.5 0 0 0.5 0 0\"")));
    const struct {
        const char* sName;
        std::vector<double> vValues, vExpected;
        double dTolerance;
    } cases[] = {
        {"loop frame a quarter round", coefs(spunGenome(vOne[0], 0.25)),
         {0, 2, -1, 0, 0.5, 0.25}, 1e-12},
        {"transition a quarter on, winding", coefs(transitionGenome(vPair[0], vPair[1], 0.25)),
         {0.8705, 0.2180}, 1e-4},
        {"transition three quarters on", coefs(transitionGenome(vPair[0], vPair[1], 0.75)),
         {-0.3742, -0.4129}, 1e-4},
        {"gaussian weights of five moments", temporalWeights(eTemporalGaussian, 0, 5),
         {0.0133, 0.237, 1, 1, 0.237}, 1e-3},
        {"exp 2 weights the end", temporalWeights(eTemporalExp, 2, 4),
         {1.0 / 16, 4.0 / 16, 9.0 / 16, 1}, 1e-12},
        {"moments over a width of 1", {momentTime(3, 1, 0, 5), momentTime(3, 1, 1, 5),
                                       momentTime(3, 1, 4, 5), momentTime(3, 1, 0, 1)},
         {2.5, 2.75, 3.5, 3}, 1e-12},
    };
    for (const auto& example : cases) {
        ASSERT_GE(example.vValues.size(), example.vExpected.size()) << example.sName;
        for (size_t i = 0; i < example.vExpected.size(); i++)
            EXPECT_NEAR(example.vValues[i], example.vExpected[i], example.dTolerance)
                << example.sName << ", value " << i;
    }
    // A sequence of two flames in 4 frames: 4 + 4 + 4 + 1 keyframes, a frame apart.
    const std::vector<SGenome> vSequence = sequenceKeyframes(vPair, 4);
    ASSERT_EQ(vSequence.size(), 13u);
    EXPECT_EQ(vSequence[12].dTime, 12);
    EXPECT_TRUE(vSequence[4].vXforms == vPair[0].vXforms);  // a transition starts as the flame
}

}  // namespace
