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
    std::vector<std::vector<SBucket>> vAdds;
    std::vector<SBatchJob> vJobs;
    std::vector<const SBucket*> vAddsOf;  // per job, what its plots add
};

// iWalks batches (eight unless said), the k-th of iSamples + k·iLonger samples, walked side by
// side, in lanes or not.
SWalked walked(const CChaosGame& game, bool bLanes, int iSamples, int iWalks = iMostWalksAtOnce,
               int iLonger = 0) {
    SWalked result;
    result.vPlots.assign(iWalks, std::vector<SPlot>(iBatchSamples));
    result.vAdds.assign(iWalks, std::vector<SBucket>(iBatchSamples));
    for (int k = 0; k < iWalks; k++)
        result.vJobs.push_back({static_cast<uint64_t>(100 + k), iSamples + k * iLonger,
                                &result.vPlots[k], &result.vAdds[k], 0, 0});
    game.runBatches(7, result.vJobs.data(), iWalks, bLanes);
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

// What lies around the lanes: a final xform (its chance of being applied drawn from the same
// streams), colours blended between palette entries, fewer walks than a group (and than the
// xforms), a turned camera that puts many points outside the grid, batches that end at
// different steps, a cheap xform beside a costly one, an xform of opacity 0.
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
    };
    const SCase cases[] = {
        {"final xform", "<flame palette=\"9\">" + sCostly + sCheap + sFinal + "</flame>", 8, 0},
        {"linear palette", "<flame palette=\"9\" palette_mode=\"linear\">" + sCostly + sCheap +
                               "</flame>", 8, 0},
        {"three walks", "<flame palette=\"9\">" + sCostly + sCheap + "</flame>", 3, 0},
        {"more xforms than walks", "<flame palette=\"9\">" + sCostly + sCheap + sCostly +
                                       sCheap + "</flame>", 3, 0},
        {"turned camera", "<flame palette=\"9\" rotate=\"30\" scale=\"90\">" + sCostly +
                              sCheap + "</flame>", 8, 0},
        {"unequal batches", "<flame palette=\"9\">" + sCostly + sCheap + "</flame>", 8, 350},
        {"an xform that does not plot", "<flame palette=\"9\">" + sCostly +
                                            "<xform weight=\"0.4\" opacity=\"0\" linear=\"1\" "
                                            "coefs=\"0.5 0 0 0.5 -0.3 0.2\"/></flame>", 8, 0}};
    for (const SCase& test : cases) {
        const CChaosGame game(firstGenomeOf(test.sFlame));
        if (!game.lanes()) GTEST_SKIP() << "no lanes on this processor";
        EXPECT_TRUE(samePlots(walked(game, true, 2000, test.iWalks, test.iLonger),
                              walked(game, false, 2000, test.iWalks, test.iLonger)))
            << test.sName;
    }
}

// juliascope's odd branches, taken without a branch, where they are a whole number's last bit
// and past 2^52 (power 6·10^15: a quarter of the branches), each lane's point to the bit as the
// one-point map makes it. A plot would not show a wrong sign there: −φ/p moves the angle by an
// ulp.
TEST(LanesTest, JuliascopesBranchesMapAsAlone) {
    for (const char* sPower : {"7", "6e15"}) {
        const SGenome genome = firstGenomeOf(
            std::string("<flame palette=\"9\"><xform weight=\"1\" juliascope=\"1\" "
                        "juliascope_power=\"") + sPower + "\" coefs=\"1 0 0 1 0 0\"/></flame>");
        if (!CChaosGame(genome).lanes()) GTEST_SKIP() << "no lanes on this processor";
        const CXformMap map(genome.vXforms[0], true, false);
        int iDiffering = 0;
        for (uint64_t uGroup = 0; uGroup < 2000; uGroup++) {
            CBatchRandom randoms[SLanePoints::iLanes] = {{1, 4 * uGroup}, {1, 4 * uGroup + 1},
                                                         {1, 4 * uGroup + 2}, {1, 4 * uGroup + 3}};
            CBatchRandom alone[SLanePoints::iLanes] = {randoms[0], randoms[1], randoms[2],
                                                       randoms[3]};
            SLanePoints points;
            for (int i = 0; i < SLanePoints::iLanes; i++) {
                points.x[i] = randoms[i].symmetric(), points.y[i] = randoms[i].symmetric();
                points.c[i] = 0.5;
                alone[i] = randoms[i];
                points.pRandoms[i] = &randoms[i];
            }
            const SLanePoints before = points;
            map.applyLanes(points);
            for (int i = 0; i < SLanePoints::iLanes; i++) {
                double x = before.x[i], y = before.y[i], z = 0, c = before.c[i];
                map.apply<false>(x, y, z, c, alone[i]);
                iDiffering += std::memcmp(&x, &points.x[i], sizeof x) != 0 ||
                              std::memcmp(&y, &points.y[i], sizeof y) != 0;
            }
        }
        EXPECT_EQ(iDiffering, 0) << "power " << sPower;
    }
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
