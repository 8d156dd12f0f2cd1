// JWildfire's and Fractorium's plugins at the point (0.3, −0.4, 0.5), weight 0.8, at values
// worked by hand from their formulas: each formula alone at given draws, and the older rows'
// later parameters through an xform, with each image their draws can give.

#include "reference_support.h"

#include "game/xform_apply.h"
#include "plugins/wildfire.h"
#include "variations/variations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace variation;

struct SPoint3 {
    double x, y, z;
};
const SPoint3 at = {0.3, -0.4, 0.5};

// Draws given in turn, in place of a walk's.
struct SScriptedRandom {
    std::vector<double> vDraws;
    size_t uNext = 0;
    double uniform() { return uNext < vDraws.size() ? vDraws[uNext++] : 0.5; }
};

struct SScriptedCall {
    CVariationInput<double>& in;
    SScriptedRandom&         random;
    const double*            coefs;
    double                   w;
    const double*            p;
    const double*            k;
    double                   dX = 0, dY = 0, dZ = 0;
};
using FScripted = void (*)(SScriptedCall&);

// The row's parameters at their defaults, those of sParameters ("name value …") as given.
std::vector<double> parametersOf(int iVariation, const std::string& sParameters) {
    std::vector<double> vAll = defaultParameters();
    std::istringstream words(sParameters);
    std::string sName;
    double dValue;
    while (words >> sName >> dValue) {
        const int iParameter = parameterIndex(sName.c_str());
        EXPECT_GE(iParameter, 0) << sName;
        if (iParameter >= 0) vAll[iParameter] = dValue;
    }
    return {vAll.begin() + firstParameter(iVariation), vAll.begin() + firstParameter(iVariation + 1)};
}

bool near(const SPoint3& a, const SPoint3& b) {
    const auto close = [](double u, double v) { return std::fabs(u - v) <= 6e-6 * (1 + std::fabs(v)); };
    return close(a.x, b.x) && close(a.y, b.y) && close(a.z, b.z);
}

TEST(PluginFormulaTest, EachGivesItsWorkedValueAtItsDraws) {
    const double dK1 = 1.5 / 2147483647;  // rand(2³¹ − 1) = 1
    const struct {
        int iVariation;
        FScripted pfFormula;
        const char* sParameters;
        SPoint3 in;
        std::vector<double> vDraws;
        SPoint3 out;
    } cases[] = {
        {eHypertile1, hypertile1, "", at, {0}, {0.450870, -0.249608, 0}},
        {eHypertile1, hypertile1, "", at, {dK1}, {0.063772, -0.492488, 0}},
        {ePoincare3D, poincare3D, "poincare3D_r 0.5 poincare3D_a 0.3 poincare3D_b 0.2", at, {},
         {0.518930, -0.351306, 0.326575}},
        {eAffine3D, affine3D, "affine3D_translateX 0.1 affine3D_translateY 0.2 "
         "affine3D_translateZ 0.3 affine3D_scaleX 1.5 affine3D_scaleY 0.5 affine3D_scaleZ 2 "
         "affine3D_rotateX 30 affine3D_rotateY 45 affine3D_rotateZ 60", at, {},
         {0.890354, 0.486446, 0.418771}},
        {eAffine3D, affine3D, "affine3D_translateX 0.1 affine3D_translateY 0.2 "
         "affine3D_translateZ 0.3 affine3D_scaleX 1.5 affine3D_scaleY 0.5 affine3D_scaleZ 2 "
         "affine3D_rotateX 30 affine3D_rotateY 45 affine3D_rotateZ 60 affine3D_shearXY 0.1 "
         "affine3D_shearYZ 0.2", at, {}, {0.792982, 0.594920, 0.486653}},
        {eEpispiral, epispiral, "", at, {}, {0.158135, -0.210847, 0}},
        {eEpispiral, epispiral, "epispiral_thickness 0.7", at, {0.4}, {-0.301322, 0.401763, 0}},
        {eBlurLinear, blurLinear, "", at, {0.6}, {0.661240, -0.089876, 0}},
        // case 0, then rand(6) = 2, 0.4, rand(6) = 3, 0.8
        {eWaffle, waffle, "waffle_rotation 0.3", at, {0.1, 2.5 / 6, 0.4, 3.5 / 6, 0.8},
         {0.414201, 0.346400, 0}},
        {eWaves2In3D, waves2In3D, "", at, {}, {-0.333885, 0.131714, 0.320133}},
        {eWaves2b, waves2b, "", at, {}, {-0.626130, -0.047350, 0}},
        {eYinYang, yinYang, "yin_yang_ang1 0.2", at, {0.3}, {0.591128, -0.058908, 0}},
        {eYinYang, yinYang, "yin_yang_ang1 0.2", at, {0.7}, {-0.52, 0.16, 0}},
        {eYinYang, yinYang, "yin_yang_ang1 0.2", {0.2, 0.5, 0}, {0.3}, {0.170651, 0.403098, 0}},
        {eYinYang, yinYang, "", {1, 1, 0}, {}, {0, 0, 0}},  // outside: nothing
        {eTileLog, tileLog, "", at, {0.3, 0.1}, {-1.36, -0.32, 0.4}},
        {eEpispiralWf, epispiralWf, "", at, {}, {-0.284630, 0.379507, 0}},
        {eTwoface, twoface, "", at, {}, {0.96, -1.28, 0}},
        {eTwoface, twoface, "", {-0.3, -0.4, 0}, {}, {-0.24, -0.32, 0}},
        {eBlurZoom, blurZoom, "", at, {0.5}, {0.2496, -0.368, 0}},
        {eUnpolar, unpolar, "", at, {}, {0.025222, 0.081536, 0}},
        {eSpirograph, spirograph, "", at, {0.25, 0.75}, {3.910330, -1.517702, 0}},
        {eBubble2, bubble2, "bubble2_z 0.4", at, {}, {0.213333, -0.284444, 0.862222}},
        {eCannabisCurve, cannabisCurve, "cannabiscurve_wf_filled 0", at, {},
         {-1.021899, -0.766424, 0}},
        {eCannabisCurve, cannabisCurve, "", at, {0.5, 0.3}, {-0.306570, -0.229927, 0}},
        {eCloverleaf, cloverleaf, "cloverleaf_wf_filled 0", at, {}, {-0.381727, 0.508969, 0}},
    };
    for (const auto& example : cases) {
        const SVariation& row = variationOf(example.iVariation);
        const std::vector<double> vParameters = parametersOf(example.iVariation, example.sParameters);
        const CConstants k = row.pfPrepare ? row.pfPrepare(vParameters.data(), nullptr) : CConstants{};
        CVariationInput<double> in(example.in.x, example.in.y, example.in.z);
        SScriptedRandom random{example.vDraws};
        SScriptedCall call{in, random, nullptr, 0.8, vParameters.data(), k.data()};
        example.pfFormula(call);
        EXPECT_TRUE(near({call.dX, call.dY, call.dZ}, example.out))
            << row.sName << " " << example.sParameters << ": (" << call.dX << ", " << call.dY
            << ", " << call.dZ << ")";
        EXPECT_EQ(random.uNext, example.vDraws.size()) << row.sName << ": draws taken";
    }
}

// The older rows' later parameters, through an xform whose points carry z: every image one of
// those listed, each of them drawn in 64 walks.
TEST(PluginFormulaTest, LaterParametersOfOlderRows) {
    const struct {
        const char* sAttributes;
        SPoint3 in;
        std::vector<SPoint3> out;
    } cases[] = {
        {"elliptic=\"0.8\"", at, {{0.142923, -0.160929, 0}}},
        {"elliptic=\"0.8\" elliptic_mode=\"2\"", at, {{0.142923, -0.160929, 0}}},
        {"elliptic=\"0.8\" elliptic_mode=\"1\"", at,
         {{0.142923, -0.160929, 0}, {0.142923, 0.160929, 0}}},
        {"splits=\"0.8\" splits_x=\"0.4\" splits_y=\"0.6\" splits_lshear=\"0.1\" "
         "splits_rshear=\"0.2\" splits_ushear=\"0.3\" splits_dshear=\"0.05\"", at,
         {{0.52, -0.64, 0}}},
        {"log=\"0.8\" log_base=\"10\"", at, {{-0.240824, -0.741836, 0.4}}},
        {"auger=\"0.8\" auger_sym=\"0.7\" auger_weight=\"0.6\" auger_freq=\"2.5\" "
         "auger_scale=\"1.3\" auger_half_scale=\"0.65\"", {0.3, -0.4, 0},
         {{-0.028598, 0.023546, 0}}},
        {"waves2=\"0.8\" waves2_scalex=\"0.3\" waves2_scaley=\"0.2\" waves2_freqx=\"3\" "
         "waves2_freqy=\"2\" waves2_freqz=\"2\" waves2_scalez=\"0.5\"", at,
         {{0.016311, -0.229657, 0.736588}}},
    };
    for (const auto& example : cases) {
        const SGenome genome = firstGenomeOf("<flame size=\"8 8\"><xform weight=\"1\" " +
                                             std::string(example.sAttributes) + "/></flame>");
        const CXformMap map(genome.vXforms.at(0), true, true);
        std::vector<bool> vSeen(example.out.size());
        for (uint64_t uBatch = 0; uBatch < 64; uBatch++) {
            CBatchRandom random(5, uBatch);
            SWalkPoint<double> point = {example.in.x, example.in.y, example.in.z, 0};
            map.apply<double, true>(point, random);
            bool bKnown = false;
            for (size_t i = 0; i < example.out.size(); i++)
                if (near({point.x, point.y, point.z}, example.out[i])) bKnown = vSeen[i] = true;
            EXPECT_TRUE(bKnown) << example.sAttributes << ": (" << point.x << ", " << point.y
                                << ", " << point.z << ")";
        }
        for (size_t i = 0; i < example.out.size(); i++)
            EXPECT_TRUE(vSeen[i]) << example.sAttributes << ": image " << i << " never drawn";
    }
}

}  // namespace
