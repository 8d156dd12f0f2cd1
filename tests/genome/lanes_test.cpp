// The chaos game's batches walked four at a time in vector lanes make exactly the plots they make
// walked one point at a time: for every variation that has a lane formula, beside a costly one
// and alone, through post-affines, bad values and every bucket.

#include "reference_support.h"

#include "render/chaos_game.h"
#include "variations/variations.h"

#include <gtest/gtest.h>

#include <cstring>
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
    std::vector<SBatchJob> vJobs;
};

// Eight batches of iSamples each, walked side by side, in lanes or not.
SWalked walked(const CChaosGame& game, bool bLanes, int iSamples) {
    SWalked result;
    result.vPlots.assign(iMostWalksAtOnce, std::vector<SPlot>(iBatchSamples));
    for (int k = 0; k < iMostWalksAtOnce; k++)
        result.vJobs.push_back({static_cast<uint64_t>(100 + k), iSamples, &result.vPlots[k], 0, 0});
    game.runBatches(7, result.vJobs.data(), iMostWalksAtOnce, bLanes);
    return result;
}

bool samePlots(const SWalked& a, const SWalked& b) {
    for (size_t k = 0; k < a.vJobs.size(); k++) {
        if (a.vJobs[k].iPlots != b.vJobs[k].iPlots || a.vJobs[k].iBadValues != b.vJobs[k].iBadValues)
            return false;
        for (int i = 0; i < a.vJobs[k].iPlots; i++) {
            const SPlot& p = a.vPlots[k][i];
            const SPlot& q = b.vPlots[k][i];
            if (p.uBucket != q.uBucket || !(p.add == q.add)) return false;
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
        if (!game.lanes()) continue;
        iInLanes++;
        // Batches of different lengths end at different steps: the last walks go on alone.
        const SWalked inLanes = walked(game, true, 3000), alone = walked(game, false, 3000);
        EXPECT_TRUE(samePlots(inLanes, alone)) << sName;
        int64_t iBad = 0;
        for (const SBatchJob& job : inLanes.vJobs) iBad += job.iBadValues;
        EXPECT_GT(iBad, 0) << sName << ": the origin xform should make bad values";
    }
    EXPECT_GE(iInLanes, 20);
}

TEST(LanesTest, WhatCannotGoInLanesWalksAlone) {
    // z, a pre_ form, a variation without a lane formula: each keeps the flame out of lanes.
    const std::vector<std::string> vXforms = {
        "<xform weight=\"1\" color=\"0\" linear=\"1\" julia3D=\"0.5\" coefs=\"1 0 0 1 0 0\"/>",
        "<xform weight=\"1\" color=\"0\" linear=\"1\" pre_blur=\"0.5\" coefs=\"1 0 0 1 0 0\"/>",
        "<xform weight=\"1\" color=\"0\" linear=\"1\" ngon=\"0.5\" coefs=\"1 0 0 1 0 0\"/>"};
    for (const std::string& sXform : vXforms) {
        const CChaosGame game(firstGenomeOf("<flame palette=\"9\">" + sXform + "</flame>"));
        EXPECT_FALSE(game.lanes()) << sXform;
    }
}

}  // namespace
