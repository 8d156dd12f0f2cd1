// Each variation against flam3-render: one xform of it beside a plain contraction. And points
// of known image for the formulas with a quirk a picture would hardly show.

#include "reference_support.h"

#include "game/chaos_game.h"
#include "genome_parts/variation_use.h"
#include "variations/variations.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// flam3's variations past 48, each at a weight and with parameters (in its row's order) at
// which its picture spreads over the frame rather than shrinking to a few dots.
struct SShown {
    const char* sName;
    const char* sWeight;
    const char* sValues;
};

const SShown shown[] = {
    {"disc2", "0.8", "0.7 7.5"}, {"super_shape", "0.9", "0.3 5 2 1.5 0.7 0.1"},
    {"flower", "0.9", "3 0.2"}, {"conic", "0.9", "0.6 0.1"}, {"parabola", "0.9", "1.3 0.8"},
    {"bent2", "0.9", "1.7 -0.6"}, {"bipolar", "1.5", "0.7"}, {"butterfly", "1.5", ""},
    {"cell", "0.9", "0.6"}, {"cpow", "0.9", "1.3 0.4 3"}, {"curve", "0.9", "0.6 -0.4 0.8 1.4"},
    {"edisc", "-2.5", ""}, {"elliptic", "-2.5", ""}, {"escher", "2.5", "0.8"},
    {"lazysusan", "0.9", "0.3 1.2 0.5 0.2 -0.3"}, {"loonie", "1.1", ""},
    {"modulus", "0.9", "0.7 0.45"}, {"oscilloscope", "0.9", "0.3 0.8 0.7 0.4"},
    {"polar2", "1.5", ""}, {"popcorn2", "0.9", "0.3 0.2 2.5"}, {"scry", "2.5", ""},
    {"separation", "1.3", "0.4 0.3 0.6 -0.2"}, {"split", "0.9", "0.9 0.6"},
    {"splits", "0.9", "0.3 0.2"}, {"stripes", "0.9", "0.4 0.9"},
    {"wedge", "0.9", "0.6 0.2 3 0.4"}, {"wedge_julia", "0.9", "0.5 2 3 1"},
    {"wedge_sph", "0.9", "0.6 0.1 3 0.3"}, {"whorl", "0.9", "0.3 0.4"},
    {"waves2", "0.9", "0.3 0.2 3 2"}, {"exp", "1.5", ""}, {"log", "-0.9", ""},
    {"sin", "0.9", ""}, {"cos", "1.5", ""}, {"tan", "-1.5", ""}, {"sec", "2.5", ""},
    {"csc", "0.5", ""}, {"cot", "0.5", ""}, {"sinh", "-1.5", ""}, {"cosh", "1.5", ""},
    {"tanh", "0.5", ""}, {"sech", "1.5", ""}, {"csch", "0.5", ""}, {"coth", "1.5", ""},
    {"auger", "0.9", "2.5 0.6 0.7 1.3"}, {"flux", "-0.9", "0.4"},
    {"mobius", "1.5", "-1 0.5 0.3 0 0.6 0.2 0.4 -0.3"},
};

// The variation's attributes on its xform: its weight and its parameters away from their
// defaults, where the defaults draw nothing (perspective's 0, 0, mobius's 0/0). One that only
// moves the point is given linear too, to draw where it moved it.
std::string variationAttributes(int iVariation) {
    const SVariation& variation = variationOf(iVariation);
    std::string sWeight = "0.9", sValues = "0.7 0.45 3 0.25";
    for (const SShown& row : shown) {
        if (std::strcmp(row.sName, variation.sName) != 0) continue;
        sWeight = row.sWeight;
        sValues = row.sValues;
    }
    std::string sAttributes = std::string(variation.sName) + "=\"" + sWeight + "\"";
    std::istringstream values(sValues);
    std::string sValue;
    for (int k = 0; k < variation.parameterCount() && values >> sValue; k++)
        sAttributes += std::string(" ") + variation.parameters[k].sName + "=\"" + sValue + "\"";
    if (variation.space.bFirst) sAttributes += " linear=\"1\"";
    return sAttributes;
}

std::string variationFlame(int iVariation) {
    return std::string("<flame size=\"96 96\" scale=\"24\" quality=\"30\" palette=\"7\">"
                       "<xform weight=\"0.5\" color=\"0\" linear=\"1\" "
                       "coefs=\"0.5 0.1 -0.1 0.5 0.5 0.3\"/>"
                       "<xform weight=\"0.5\" color=\"1\" ") +
           variationAttributes(iVariation) + " coefs=\"0.8 0.3 -0.2 0.9 -0.3 0.2\"/></flame>";
}

// Every variation and parameter found by each of its names (a parameter by its alias too), and
// no name given twice: a row the reader could not reach, or a name that reached another row,
// would draw something else. A parameter's name is its variation's, "_" and its own, which its
// forms' names are made from.
TEST(VariationTableTest, EveryNameReadsBackToItsRow) {
    std::set<std::string> names;
    int iAliases = 0;
    for (int i = 0; i < iVariationCount; i++) {
        const SVariation& variation = variationOf(i);
        for (const char* sName : {variation.sName, variation.aliases[0], variation.aliases[1]}) {
            if (!sName) continue;
            EXPECT_EQ(variationIndex(sName), i) << sName;
            EXPECT_TRUE(names.insert(sName).second) << sName;
        }
        const std::string sPrefix = std::string(variation.sName) + "_";
        for (int k = 0; k < variation.parameterCount(); k++) {
            const SParameter& parameter = variation.parameters[k];
            EXPECT_EQ(std::string(parameter.sName).rfind(sPrefix, 0), 0u) << parameter.sName;
            EXPECT_EQ(parameterIndex(parameter.sName), firstParameter(i) + k) << parameter.sName;
            EXPECT_TRUE(names.insert(parameter.sName).second) << parameter.sName;
            EXPECT_LE(parameter.dRandomLow, parameter.dRandomHigh) << parameter.sName;
            if (!parameter.sAlias) continue;
            // An alias may be two variations' (Re_A: mobius's and Mobius's): it reaches one
            // that has it, and the reader sets them all.
            iAliases++;
            const int iFound = parameterIndex(parameter.sAlias);
            ASSERT_GE(iFound, 0) << parameter.sAlias;
            EXPECT_STREQ(parameterOf(iFound).sAlias, parameter.sAlias);
            EXPECT_EQ(names.count(parameter.sAlias), 0u) << parameter.sAlias;
        }
    }
    EXPECT_GE(iAliases, 12);  // oscilloscope's four oscope_ names, mobius's Re_A … Im_D
}

// Each form of each row, weight and parameters, named as the writer names it, reads back as that
// use.
TEST(VariationTableTest, EveryFormOfEveryRowReadsBack) {
    for (int i = 0; i < iVariationCount; i++)
        for (EVariationForm eForm : {ePlainForm, ePreForm, ePostForm}) {
            const SVariationUse use = {i, eForm, 1, {}};
            for (int k = -1; k < variationOf(i).parameterCount(); k++) {
                SVariationName name;
                const std::string sName = useAttributeName(use, k);
                ASSERT_TRUE(variationName(sName.c_str(), name)) << sName;
                // flam3's own pre_blur (a Gaussian step) owns its name: blur as a pre form
                // cannot be read from a file, so no genome ever needs that name for it.
                if (variationIndex(sName.c_str()) >= 0 && variationIndex(sName.c_str()) != i)
                    continue;
                EXPECT_EQ(name.iVariation, i) << sName;
                EXPECT_EQ(name.eForm, eForm) << sName;
                EXPECT_EQ(name.iParameter, k) << sName;
            }
        }
}

// A point and its image under one variation, worked out by hand from flam3's formulas; the
// parameters not named keep their defaults. NaN where flam3 gives a bad value.
struct SKnownPoint {
    const char* sVariation;
    double dWeight;
    std::vector<std::pair<const char*, double>> parameters;
    double x, y, dX, dY;
};

void imageOf(const SKnownPoint& known, double& dX, double& dY) {
    const int iVariation = variationIndex(known.sVariation);
    std::vector<double> vParameters = defaultParameters();
    for (const auto& [sName, dValue] : known.parameters)
        vParameters[parameterIndex(sName)] = dValue;
    const SVariation& row = variationOf(iVariation);
    const double* p = vParameters.data() + firstParameter(iVariation);
    const double coefs[6] = {1, 0, 0, 1, 0, 0};
    const CConstants constants = row.pfPrepare ? row.pfPrepare(p, coefs) : CConstants{};
    CVariationInput<double> in(known.x, known.y);
    CBatchRandom random(1, 1);
    SVariationCall<double> call{in, random, coefs, known.dWeight, p, constants.data()};
    row.formula.pfOne(call);
    dX = call.dX;
    dY = call.dY;
}

// The quirks a picture would hardly show: cell's minus on Y, split's crossed sizes, lazysusan's
// unweighted offsets (y's added with both signs), scry's missing outer w, mobius's and a zero
// modulus's bad values, wedge_julia's radius w at distance 0, flux's w as an offset.
TEST(VariationFormulaTest, KnownPointsGoWhereFlam3PutsThem) {
    const double dNaN = std::nan(""), dHalfPi = std::acos(0.0);
    const SKnownPoint known[] = {
        {"cell", 1, {}, 0.5, 0.25, 0.5, -0.25},
        {"cell", 1, {}, -0.5, 1.5, 1.5, -2.5},  // cells −1 and 1 dealt to 1 and 2
        {"split", 1, {{"split_xsize", 1}}, 1, 0.5, 1, -0.5},
        {"split", 1, {{"split_ysize", 1}}, 0.5, 1, -0.5, 1},
        {"lazysusan", 2, {{"lazysusan_x", 0.5}, {"lazysusan_y", 0.5}}, 3, 0, 5.5, 0.5},
        {"lazysusan", 2, {{"lazysusan_x", 0.5}, {"lazysusan_y", 0.5}, {"lazysusan_spin", dHalfPi}},
         1.5, -0.5, 0.5, 1.5},
        {"scry", 2, {}, 1, 0, 2.0 / 3, 0},
        {"loonie", 1, {}, 0.5, 0, std::sqrt(3.0) / 2, 0},
        {"loonie", 1, {}, 2, 0, 2, 0},
        {"oscilloscope", 1, {}, 0, 1.5, 0, -1.5},
        {"oscilloscope", 1, {}, 0, 2.5, 0, 2.5},
        {"modulus", 1, {{"modulus_x", 0.5}, {"modulus_y", 0.5}}, 0.7, 0.1, -0.3, 0.1},
        {"modulus", 1, {{"modulus_x", 0.5}}, 0.7, 0.1, -0.3, dNaN},
        {"mobius", 1, {}, 0.3, 0.4, dNaN, dNaN},
        {"mobius", 1, {{"Im_A", 1}, {"Re_D", 1}}, 1, 2, -2, 1},  // i·z
        {"wedge_julia", 1, {}, 0, 3, 0, 1},
        {"flux", 1, {}, 0, 1, std::sqrt(2.0), std::sqrt(2.0)},
        {"stripes", 1, {{"stripes_space", 0.5}, {"stripes_warp", 1}}, 1.2, 0.1, 1.1, 0.14},
        {"log", 1, {}, 0, 2, std::log(2.0), dHalfPi},
        {"bent2", 1, {{"bent2_x", 2}, {"bent2_y", 3}}, -1, -1, -2, -3},
    };
    for (const SKnownPoint& point : known) {
        double dX, dY;
        imageOf(point, dX, dY);
        const std::string sWhere = std::string(point.sVariation) + " of (" +
                                   std::to_string(point.x) + ", " + std::to_string(point.y) + ")";
        EXPECT_EQ(std::isnan(dX), std::isnan(point.dX)) << sWhere;
        EXPECT_EQ(std::isnan(dY), std::isnan(point.dY)) << sWhere;
        if (!std::isnan(point.dX)) {
            EXPECT_NEAR(dX, point.dX, 1e-9) << sWhere;
        }
        if (!std::isnan(point.dY)) {
            EXPECT_NEAR(dY, point.dY, 1e-9) << sWhere;
        }
    }
}

// pre_blur adds nothing to the sum: alone it sends every point to the origin, and beside
// linear it only moves the points linear is given.
TEST(VariationFormulaTest, PreBlurMovesThePointAndAddsNothing) {
    const auto pointsOf = [](const std::string& sVariations) {
        std::vector<SGenome> vGenomes;
        std::string sError;
        EXPECT_TRUE(readGenomes("<flame size=\"20 20\"><xform weight=\"1\" " + sVariations +
                                " coefs=\"0.5 0 0 0.5 0.2 0\"/></flame>", vGenomes, sError));
        std::vector<SWorldPoint> vPoints;
        SBatchCounts counts;
        CChaosGame(vGenomes[0]).runBatchPoints(1, 1, 1000, vPoints, counts);
        return vPoints;
    };
    for (const SWorldPoint& point : pointsOf("pre_blur=\"1\"")) {
        EXPECT_EQ(point.dX, 0);
        EXPECT_EQ(point.dY, 0);
    }
    // Linear's orbit alone is its fixed point (0.4, 0); blurred first, it spreads about it.
    double dSpread = 0;
    for (const SWorldPoint& point : pointsOf("pre_blur=\"0.3\" linear=\"1\""))
        dSpread = std::max(dSpread, std::hypot(point.dX - 0.4, point.dY));
    EXPECT_GT(dSpread, 0.05);
}

// juliascope's branch parity without fmod: fmod's answer for every whole number it can be,
// the largest odd double, the first doubles that are all even, and broken parameters.
TEST(VariationFormulaTest, OddBranchIsFmodsAnswer) {
    const double dInf = std::numeric_limits<double>::infinity();
    for (double dK : {0.0, 1.0, 2.0, 5.0, 6.0, 0x1p52 + 1, 0x1p53 - 1, 0x1p53, 0x1p53 + 2, 0x1p63,
                      0x1p64, 1e300, dInf, std::nan("")})
        EXPECT_EQ(maths::oddWhole(dK), std::fmod(dK, 2) != 0) << dK;
}

// Each of flam3's own variations: the only ones flam3-render can draw.
// flam3-render's pictures are the same in either build: under the sanitizers each variation is
// drawn by the program alone, for what they catch in it, and compared in the optimised build.
#ifdef __SANITIZE_ADDRESS__
constexpr bool bComparedHere = false;
#else
constexpr bool bComparedHere = true;
#endif

TEST(VariationTest, EachDrawsAsFlam3DrawsIt) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    for (const SShown& row : shown) EXPECT_GE(variationIndex(row.sName), 0) << row.sName;
    for (int i = 0; i < iFlam3Variations; i++) {
        const std::string sXml = variationFlame(i);
        std::string sError;
        const SPicture ours = renderOurs(sXml, 1, 2, sError);
        if (!bComparedHere) {
            EXPECT_FALSE(ours.vRgb.empty()) << variationOf(i).sName << ": " << sError;
            continue;
        }
        const SPicture first = renderReference(sXml, "1", sError);
        const SPicture second = renderReference(sXml, "2", sError);
        ASSERT_FALSE(ours.vRgb.empty() || first.vRgb.empty() || second.vRgb.empty())
            << variationOf(i).sName << ": " << sError;
        const double dOurs = lumaSsim(ours, first), dTheirs = lumaSsim(first, second);
        std::printf("%2d %-14s SSIM ours %.4f, flam3's two seeds %.4f\n", i,
                    variationOf(i).sName, dOurs, dTheirs);
        EXPECT_GE(dOurs, dTheirs - 0.02) << variationOf(i).sName;
    }
}

}  // namespace
