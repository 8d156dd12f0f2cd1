// The chaos game's batches walked four at a time in vector lanes make exactly the plots they make
// walked one point at a time: every variation, beside a costly one and alone, through
// post-affines, bad values and every bucket, with and without z; and every formula's lanes to
// the bit at points that reach each of its branches.

#include "reference_support.h"

#include "game/chaos_game.h"
#include "variations/table.h"
#include "variations/variations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Three xforms of variation sName: one with swirl beside it (a costly xform, mapped in lanes),
// one alone with a post-affine, and one that maps every point to the origin, where hyperbolic's
// 0/0 makes a bad value.
SGenome genomeWith(const std::string& sName) {
    const std::string sXforms =
        "<xform weight=\"0.5\" color=\"0\" " + sName + "=\"0.7\" swirl=\"0.3\" "
        "coefs=\"0.7 0.2 -0.2 0.7 0.1 0\"/>"
        "<xform weight=\"0.4\" color=\"1\" " + sName + "=\"1\" "
        "coefs=\"0.5 0 0 0.5 0.3 0.2\" post=\"1 0.1 -0.1 1 0 0.05\"/>"
        "<xform weight=\"0.1\" color=\"0.5\" " + sName + "=\"0.9\" hyperbolic=\"0.2\" "
        "coefs=\"0 0 0 0 0 0\"/>";
    return firstGenomeOf("<flame palette=\"9\" size=\"64 48\" scale=\"20\">" + sXforms +
                         "</flame>");
}

struct SWalked {
    std::vector<std::vector<SPlot>> vPlots;
    std::vector<std::vector<SBucket>> vAdds;
    std::vector<SBatchJob> vJobs;
    std::vector<const SBucket*> vAddsOf;  // per job, what its plots add
};

// iWalks batches (a group unless said), the k-th of iSamples + k·iLonger samples, walked side
// by side the way eWay.
SWalked walked(const CChaosGame& game, EWalkWay eWay, int iSamples, int iWalks = iMostWalksAtOnce,
               int iLonger = 0) {
    SWalked result;
    result.vPlots.assign(iWalks, std::vector<SPlot>(iBatchSamples));
    result.vAdds.assign(iWalks, std::vector<SBucket>(iBatchSamples));
    for (int k = 0; k < iWalks; k++)
        result.vJobs.push_back({static_cast<uint64_t>(100 + k), iSamples + k * iLonger,
                                result.vPlots[k].data(), result.vAdds[k].data(), 0, 0});
    game.runBatches(7, result.vJobs.data(), iWalks, eWay);
    for (const SBatchJob& job : result.vJobs) result.vAddsOf.push_back(game.addsOf(job));
    return result;
}

bool samePlots(const SWalked& a, const SWalked& b) {
    for (size_t k = 0; k < a.vJobs.size(); k++) {
        const SBatchJob &jobA = a.vJobs[k], &jobB = b.vJobs[k];
        if (jobA.iPlots != jobB.iPlots || jobA.iBadValues != jobB.iBadValues) return false;
        for (int i = 0; i < jobA.iPlots; i++) {
            const SPlot& p = a.vPlots[k][i];
            const SPlot& q = b.vPlots[k][i];
            if (p.uBucket != q.uBucket || !(a.vAddsOf[k][p.uAdd] == b.vAddsOf[k][q.uAdd]))
                return false;
        }
    }
    return true;
}

TEST(LanesTest, EveryLaneFormulaPlotsWhatItPlotsAlone) {
    const CChaosGame probe(genomeWith("linear"));
    if (!probe.lanes()) GTEST_SKIP() << "no lanes on this processor";
    int iInLanes = 0;
    for (int i = 0; i < iVariationCount; i++) {
        const std::string sName = variationOf(i).sName;
        if (sName == "swirl" || sName == "hyperbolic") continue;  // beside itself: one row
        const CChaosGame game(genomeWith(sName));
        ASSERT_TRUE(game.lanes()) << sName;
        iInLanes++;
        // Batches of different lengths end at different steps: the last walks go on alone.
        const SWalked inLanes = walked(game, EWalkWay::eLanes, 3000);
        const SWalked alone = walked(game, EWalkWay::eOnePoint, 3000);
        EXPECT_TRUE(samePlots(inLanes, alone)) << sName;
        int64_t iBad = 0;
        for (const SBatchJob& job : inLanes.vJobs) iBad += job.iBadValues;
        // pre_blur moves the point off the origin before hyperbolic sees it.
        if (!variationOf(i).space.bFirst) {
            EXPECT_GT(iBad, 0) << sName << ": the origin xform should make bad values";
        }
    }
    EXPECT_EQ(iInLanes, iVariationCount - 2);
}

// What lies around the lanes: a final xform (its chance of being applied drawn from the same
// streams), colours blended between palette entries, fewer walks than a group (and than the
// xforms), a turned camera that puts many points outside the grid, batches that end at
// different steps, a cheap xform beside a costly one, an xform of opacity 0, pre_ and post_
// forms, a 3D camera with depth of field (its draws from the same streams), a final xform whose
// chance is drawn while points carry z; and lanes that mix the walks of linear xforms, each
// lane by its own, through post-affines, colour speeds, weights, a symmetry's xforms, bad values
// and a final xform. Every way the game can walk against a point at a time.
TEST(LanesTest, WhatSurroundsTheLanesIsWalkedAsAlone) {
    const std::string sCostly = "<xform weight=\"0.6\" color=\"0.2\" fan2=\"0.5\" tangent=\"0.5\" "
                                "coefs=\"0.6 0.2 -0.2 0.6 0.2 0.1\"/>";
    const std::string sCheap = "<xform weight=\"0.4\" color=\"0.9\" linear=\"1\" "
                               "coefs=\"0.5 0 0 0.5 -0.3 0.2\"/>";
    const std::string sFinal = "<finalxform color=\"0.5\" color_speed=\"0.3\" opacity=\"0.6\" "
                               "julia=\"1\" coefs=\"1 0 0 1 0 0\"/>";
    struct SCase {
        const char* sName;
        std::string sFlame;
        int iWalks, iLonger;
        bool bMixes = false;  // mixed lanes mix its walks
    };
    // Linear xforms of their own colours, speeds, weights and post-affines, one of no plot,
    // one huge whose points overflow to bad values.
    const std::string sTiles =
        "<xform weight=\"0.3\" color=\"0\" color_speed=\"0.2\" linear=\"0.9\" "
        "coefs=\"0.5 0.1 -0.1 0.5 0.4 0\"/>"
        "<xform weight=\"0.3\" color=\"0.3\" linear=\"1.1\" coefs=\"0.4 -0.2 0.2 0.4 -0.4 0.1\" "
        "post=\"0.9 0.1 -0.1 0.9 0.05 0\"/>"
        "<xform weight=\"0.2\" color=\"0.6\" color_speed=\"0.8\" linear=\"1\" "
        "coefs=\"-0.5 0 0 -0.5 0 0.4\" opacity=\"0\"/>"
        "<xform weight=\"0.2\" color=\"1\" linear=\"1\" coefs=\"0.45 0.3 -0.3 0.45 0 -0.4\"/>";
    const std::string sHuge = "<xform weight=\"0.05\" color=\"0.5\" linear=\"1\" "
                              "coefs=\"1e300 0 0 1e300 0 0\"/>";
    const SCase cases[] = {
        {"final xform", "<flame palette=\"9\">" + sCostly + sCheap + sFinal + "</flame>", 8, 0},
        {"linear palette", "<flame palette=\"9\" palette_mode=\"linear\">" + sCostly + sCheap +
                               "</flame>", 8, 0},
        {"three walks", "<flame palette=\"9\">" + sCostly + sCheap + "</flame>", 3, 0},
        {"more xforms than walks", "<flame palette=\"9\">" + sCostly + sCheap + sCostly +
                                       sCheap + "</flame>", 3, 0, true},
        {"turned camera", "<flame palette=\"9\" rotate=\"30\" scale=\"90\">" + sCostly +
                              sCheap + "</flame>", 8, 0},
        {"unequal batches", "<flame palette=\"9\">" + sCostly + sCheap + "</flame>", 8, 350},
        {"an xform that does not plot", "<flame palette=\"9\">" + sCostly +
                                            "<xform weight=\"0.4\" opacity=\"0\" linear=\"1\" "
                                            "coefs=\"0.5 0 0 0.5 -0.3 0.2\"/></flame>", 8, 0},
        {"pre_ and post_ forms", "<flame palette=\"9\"><xform weight=\"0.6\" color=\"0.1\" "
                                 "pre_blur=\"0.2\" pre_disc=\"0.3\" spherical=\"0.8\" "
                                 "post_curl=\"0.4\" coefs=\"0.6 0.2 -0.2 0.6 0.2 0.1\"/>" +
                                     sCheap + "</flame>", 8, 0},
        {"3D camera", "<flame palette=\"9\" cam_pitch=\"0.6\" cam_yaw=\"0.3\" "
                      "cam_persp=\"0.4\" cam_dof=\"0.3\">" + sCostly +
                          "<xform weight=\"0.4\" color=\"0.9\" julia3D=\"0.7\" "
                          "zscale=\"0.5\" coefs=\"0.5 0 0 0.5 -0.3 0.2\"/></flame>", 8, 0},
        {"final xform, z", "<flame palette=\"9\">" + sCostly +
                               "<xform weight=\"0.4\" color=\"0.9\" linear3D=\"1\" "
                               "ztranslate=\"0.2\" coefs=\"0.5 0 0 0.5 -0.3 0.2\"/>"
                               "<finalxform opacity=\"0.7\" blur3D=\"0.2\" "
                               "spherical3D=\"0.8\" coefs=\"1 0 0 1 0 0\"/></flame>", 8, 0},
        {"planes, rolled camera", "<flame palette=\"9\" cam_roll=\"0.5\" rotate=\"20\" "
                                  "cam_persp=\"0.3\">" + sCostly +
                                      "<xform weight=\"0.4\" color=\"0.9\" linear3D=\"1\" "
                                      "yzCoefs=\"0.8 0.3 -0.3 0.8 0.1 0.2\" "
                                      "zxPost=\"0.9 -0.2 0.2 0.9 0 0.3\"/></flame>", 8, 0},
        {"mixed linear xforms", "<flame palette=\"9\" palette_mode=\"linear\">" + sTiles +
                                    "</flame>", 8, 350, true},
        {"mixed beside a costly xform, bad values, a final xform",
         "<flame palette=\"9\">" + sCostly + sTiles + sHuge + sFinal + "</flame>", 16, 0, true},
        {"mixed, a symmetry's xforms, few walks", "<flame palette=\"9\" rotate=\"10\">" +
                                                     sCostly + "<symmetry kind=\"4\"/></flame>",
         3, 0, true}};
    for (const SCase& test : cases) {
        const CChaosGame game(firstGenomeOf(test.sFlame));
        if (!game.lanes()) GTEST_SKIP() << "no lanes on this processor";
        EXPECT_EQ(game.wayCount(), test.bMixes ? 3 : 2) << test.sName;
        const SWalked alone = walked(game, EWalkWay::eOnePoint, 2000, test.iWalks, test.iLonger);
        for (int iWay = 1; iWay < game.wayCount(); iWay++)
            EXPECT_TRUE(samePlots(walked(game, static_cast<EWalkWay>(iWay), 2000, test.iWalks,
                                         test.iLonger),
                                  alone))
                << test.sName << ", way " << iWay;
    }
}

// Every row of the variation table over four lanes and over one point, to the bit: at points
// on both sides of every branch a formula takes on the point (signs, the unit circle, whole
// numbers and halves, the origin, huge values), four unlike points a group, with and without
// z, at each row's default parameters, at parameters drawn from its random ranges, at zeros
// (the branches of a zero size) and at 6·10^15 (juliascope's branches past 2^52). The random
// numbers each lane draws are its own point's: the streams end where the one point's do.
class CFormulaLanes {
public:
    explicit CFormulaLanes(int iVariation_) : iVariation(iVariation_) {}

    // The points' images by one point and by four lanes that differ, and how many.
    int differing(const std::vector<double>& vParameters, bool bZ) const {
        const SVariation& row = variationOf(iVariation);
        const double coefs[6] = {0.9, -0.3, 0.2, 0.8, 0.1, -0.2};
        const double* p = vParameters.data() + firstParameter(iVariation);
        const CConstants k = row.pfPrepare ? row.pfPrepare(p, coefs) : CConstants{};
        const std::vector<double> vCoordinates = coordinates();
        int iDiffering = 0;
        for (size_t g = 0; g + 12 <= vCoordinates.size(); g += 12) {
            SLanes lanes;
            for (int i = 0; i < 4; i++) {
                lanes.x[i] = vCoordinates[g + i], lanes.y[i] = vCoordinates[g + 4 + i];
                lanes.z[i] = bZ ? vCoordinates[g + 8 + i] : 0;
                lanes.randoms[i] = CBatchRandom(11, g + i);
            }
            SLanes alone = lanes;
            mapLanes(iVariation, bZ, coefs, p, k.data(), lanes);
            for (int i = 0; i < 4; i++) {
                CVariationInput<double> in(alone.x[i], alone.y[i], alone.z[i]);
                SVariationCall<double> call{in, alone.randoms[i], coefs, dWeight, p, k.data()};
                if (bZ) variation::callFormula<true>(iVariation, call);
                else variation::callFormula<false>(iVariation, call);
                iDiffering += !same(call.dX, lanes.x[i]) + !same(call.dY, lanes.y[i]) +
                              (bZ && !same(call.dZ, lanes.z[i])) +
                              (alone.randoms[i].next() != lanes.randoms[i].next());
            }
        }
        return iDiffering;
    }

private:
    static constexpr double dWeight = 0.8;
    struct SLanes {
        double x[4], y[4], z[4];
        CBatchRandom randoms[4] = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    };

    static bool same(double a, double b) {
        return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
    }

    // The points: each value beside each, in every lane, then some at random.
    static std::vector<double> coordinates() {
        const double values[] = {-2.5, -1, -0.75, -0.5, -0.25, -0.0, 0, 1e-12, 0.3, 0.5,
                                 0.8, 1, 1.5, 2, 3.25, 7e5, -4e9};
        std::vector<double> vCoordinates;
        int iTurn = 0;
        for (double x : values)
            for (double y : values) {
                vCoordinates.push_back(x), vCoordinates.push_back(y);
                vCoordinates.push_back(values[iTurn++ % std::size(values)]);
            }
        CBatchRandom random(5, 5);
        for (int i = 0; i < 600; i++) vCoordinates.push_back(4 * random.symmetric());
        // Lanes of one group come from points far apart in the list: unlike, so that a lane's
        // branch differs from its neighbours'.
        std::vector<double> vMixed;
        const size_t uStride = vCoordinates.size() / 12;
        for (size_t k = 0; k < uStride; k++)
            for (size_t i = 0; i < 12; i++) vMixed.push_back(vCoordinates[i * uStride + k]);
        return vMixed;
    }

    [[gnu::target("avx2,fma"), gnu::flatten]] static void mapLanes(int iVariation, bool bZ,
                                                                  const double* coefs,
                                                                  const double* p,
                                                                  const double* k,
                                                                  SLanes& lanes) {
        using maths::lanes::V;
        CLaneRandom random(lanes.randoms[0], lanes.randoms[1], lanes.randoms[2],
                           lanes.randoms[3]);
        const auto load = [](const double* d) { return V{d[0], d[1], d[2], d[3]}; };
        CVariationInput<V> in(load(lanes.x), load(lanes.y), load(lanes.z));
        SVariationCall<V> call{in, random, coefs, dWeight, p, k};
        laneFormulaOf(iVariation, bZ)(call);
        for (int i = 0; i < 4; i++)
            lanes.x[i] = call.dX[i], lanes.y[i] = call.dY[i], lanes.z[i] = call.dZ[i];
    }

    int iVariation;
};

// A row's parameters: its defaults, drawn from its random ranges, or all at one value.
std::vector<double> parametersOf(int iVariation, int iSet) {
    std::vector<double> vParameters = defaultParameters();
    CBatchRandom random(3, static_cast<uint64_t>(iSet));
    for (int i = firstParameter(iVariation); i < firstParameter(iVariation + 1); i++) {
        const SParameter& parameter = parameterOf(i);
        const double dDrawn = parameter.dRandomLow +
                              random.uniform() * (parameter.dRandomHigh - parameter.dRandomLow);
        if (iSet == 1 || iSet == 2) vParameters[i] = parameter.bWhole ? std::round(dDrawn) : dDrawn;
        if (iSet == 3) vParameters[i] = 0;
        if (iSet == 4) vParameters[i] = 6e15;
    }
    return vParameters;
}

TEST(LanesTest, EveryFormulaMapsLanesAsAlone) {
    if (!CChaosGame(genomeWith("linear")).lanes()) GTEST_SKIP() << "no lanes on this processor";
    for (int i = 0; i < iVariationCount; i++)
        for (int iSet = 0; iSet < 5; iSet++)
            for (bool bZ : {false, true})
                EXPECT_EQ(CFormulaLanes(i).differing(parametersOf(i, iSet), bZ), 0)
                    << variationOf(i).sName << ", parameters " << iSet << (bZ ? ", z" : "");
}

}  // namespace
