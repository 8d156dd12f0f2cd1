// Renders: batches that depend on their number alone, pictures that do not depend on threads,
// and a render that grows, stops and counts as it should.

#include "reference_support.h"

#include "xml/genome_xml.h"
#include "game/chaos_game.h"
#include "render/render.h"
#include "render/strips.h"
#include "tone/density_rows.h"
#include "tone/tone_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

namespace {

SGenome genomeOf(const std::string& sAttributes, const std::string& sXforms =
                     "<xform weight=\"0.6\" color=\"0\" julian=\"1\" julian_power=\"3\" "
                     "coefs=\"0.7 0.2 -0.2 0.7 0.1 0\"/><xform weight=\"0.4\" color=\"1\" "
                     "noise=\"0.5\" spherical=\"0.5\" coefs=\"0.5 0 0 0.5 0.3 0.2\"/>") {
    return firstGenomeOf("<flame palette=\"9\" " + sAttributes + ">" + sXforms + "</flame>");
}

std::vector<unsigned char> pictureOf(CGenomeRender& render) {
    std::vector<unsigned char> vRgb;
    render.writeImage([&](int, const unsigned char* pRgb) {
        vRgb.insert(vRgb.end(), pRgb, pRgb + render.renderedGenome().iWidth * 3);
    });
    return vRgb;
}

void addBatch(const CChaosGame& game, uint64_t uBatch, CHistogram& histogram) {
    std::vector<SPlot> vPlots(iBatchSamples);
    std::vector<SBucket> vAdds(iBatchSamples);
    SBatchCounts counts;
    const int iPlots = game.runBatch(42, uBatch, iBatchSamples, vPlots, vAdds, counts);
    histogram.add(vPlots.data(), iPlots, game.addsOf(vAdds));
}

TEST(ChaosGameTest, BatchesDependOnTheirNumberAlone) {
    const SGenome genome = genomeOf("size=\"48 32\"");
    const CChaosGame game(genome);
    const int iW = game.camera().gridWidth(), iH = game.camera().gridHeight();
    CHistogram inOrder(iW, iH), reversed(iW, iH), others(iW, iH), seventh(iW, iH);
    for (int b = 0; b < 10; b++) addBatch(game, b, inOrder);
    for (int b = 9; b >= 0; b--) addBatch(game, b, reversed);
    for (int b = 0; b < 10; b++)
        if (b != 7) addBatch(game, b, others);
    addBatch(game, 7, seventh);
    EXPECT_TRUE(reversed == inOrder);
    EXPECT_FALSE(others == inOrder);
    others.merge(seventh);
    EXPECT_TRUE(others == inOrder);
}

// Threads beyond the cores too, so that workers meet at the histogram; the last pass's sums
// compared as well as the picture, whose 8 bits could hide a batch lost or added twice.
// Runs under ThreadSanitizer too: small, so that it stays quick there.
TEST(RenderThreadsTest, OneSeedOnePictureAtAnyThreadCount) {
    const SGenome genome = genomeOf("size=\"40 30\" quality=\"200\" supersample=\"2\" "
                                    "passes=\"2\"");
    std::unique_ptr<CGenomeRender> pOne;  // on one thread
    std::vector<unsigned char> vFirst;
    for (int iThreads : {1, 2, 3, 5, 9}) {
        auto pRender = std::make_unique<CGenomeRender>(genome, 5, iThreads);
        while (pRender->continueRender(std::chrono::milliseconds(2))) {}
        const std::vector<unsigned char> vRgb = pictureOf(*pRender);
        if (iThreads == 1) {
            vFirst = vRgb;
            pOne = std::move(pRender);
            continue;
        }
        EXPECT_TRUE(pRender->histogram() == pOne->histogram()) << iThreads << " threads";
        EXPECT_EQ(vRgb, vFirst) << iThreads << " threads";
    }
    CGenomeRender otherSeed(genome, 6, 2);
    while (otherSeed.continueRender(std::chrono::milliseconds(100))) {}
    EXPECT_NE(pictureOf(otherSeed), vFirst);
}

// Density estimation's rows, to the last bit, on any number of threads: a picture wide enough
// for eight strips of columns at two threads, each taking its sums in the segments' order (an
// 8-bit picture would hide a sum made in another order).
TEST(RenderThreadsTest, DensityRowsTheSameAtAnyThreadCount) {
    const SGenome genome = genomeOf("size=\"700 24\" quality=\"20\" estimator_radius=\"9\"");
    CGenomeRender render(genome, 5, 2);
    while (render.continueRender(std::chrono::milliseconds(100))) {}
    const std::unique_ptr<CDensityKernels> pKernels = densityKernelsOf(genome);
    const auto rowsOn = [&](int iThreads) {
        CDensityRows rows(render.histogram(), logScaleOf(genome, genome.dQuality, 1),
                          pKernels.get(), genome.iSupersample, iThreads);
        std::vector<double> vAll;
        while (!rows.done()) {
            const double* pRow = rows.nextRow();
            vAll.insert(vAll.end(), pRow, pRow + 4 * render.histogram().width());
        }
        return vAll;
    };
    const std::vector<double> vOne = rowsOn(1);
    for (int iThreads : {2, 3, 7}) {
        const std::vector<double> vMany = rowsOn(iThreads);
        ASSERT_EQ(vMany.size(), vOne.size());
        EXPECT_EQ(std::memcmp(vMany.data(), vOne.data(), vOne.size() * sizeof(double)), 0)
            << iThreads << " threads";
    }
}

// Half the samples, scaled as if they were all: about as bright as the whole (a little darker:
// the log of fewer hits is noisier, and noise lowers its mean).
TEST(GenomeRenderTest, GrowingPictureIsAsBrightAsTheFinishedOne) {
    CGenomeRender render(genomeOf("size=\"32 32\" quality=\"400\""), 1, 1);
    while (render.shareDone() < 0.5) render.continueRender(std::chrono::milliseconds(0));
    const std::vector<unsigned char> vHalf = pictureOf(render);
    while (render.continueRender(std::chrono::milliseconds(100))) {}
    EXPECT_EQ(render.shareDone(), 1);
    const std::vector<unsigned char> vWhole = pictureOf(render);
    double dHalf = 0, dWhole = 0;
    for (size_t i = 0; i < vHalf.size(); i++) dHalf += vHalf[i], dWhole += vWhole[i];
    EXPECT_NEAR(dHalf / dWhole, 1, 0.03);
}

// A picture saved part way is drawn again: a render stopped where another stood after that many
// samples gives its picture, bit for bit, also where it stood between two passes, or in the
// middle of adding one to the passes done.
TEST(GenomeRenderTest, StoppingAtTheSamplesDoneDrawsThePicturePartWay) {
    const SGenome genome = genomeOf("size=\"40 30\" quality=\"2000\" passes=\"3\"");
    CGenomeRender growing(genome, 4, 1);
    int iChecked = 0;
    // Zero budgets: a group of batches a slice, or a pass's adding cut short.
    while (growing.continueRender(std::chrono::milliseconds(0))) {
        const std::vector<unsigned char> vPartWay = pictureOf(growing);
        CGenomeRender again(genome, 4, 2);
        again.limitSamples(growing.samplesDone());
        while (again.continueRender(std::chrono::milliseconds(100))) {}
        ASSERT_EQ(again.samplesDone(), growing.samplesDone());
        EXPECT_EQ(pictureOf(again), vPartWay) << growing.samplesDone() << " samples";
        iChecked++;
    }
    EXPECT_GT(iChecked, 10);
}

// Runs under ThreadSanitizer too. A stop ends a slice of a minute at once: after it, each of the
// two workers runs at most the group of batches it was claiming, however busy the machine.
TEST(RenderThreadsTest, StopEndsALongSliceAtOnce) {
    CGenomeRender render(genomeOf("size=\"600 600\" quality=\"5000\""), 1, 2);
    std::thread slice([&] { render.continueRender(std::chrono::seconds(60)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // well into the slice
    render.stop();
    const int64_t iAtStop = render.samplesDone();
    slice.join();
    EXPECT_LE(render.samplesDone() - iAtStop, 2 * 2 * iBatchSamples);
    EXPECT_LT(render.shareDone(), 1);
    EXPECT_FALSE(render.continueRender(std::chrono::seconds(1)) && render.shareDone() == 0);
    int iRows = 0;
    EXPECT_TRUE(render.writeImage([&](int, const unsigned char*) { iRows++; }));
    EXPECT_EQ(iRows, 600);  // stopped, yet whole
    iRows = 0;
    EXPECT_FALSE(render.writeImage([&](int, const unsigned char*) {
        if (++iRows == 100) render.stop();
    }));
    EXPECT_LT(iRows, 200);
}

// Every result diverges: each fifth random point is plotted, a faint square over [−1, 1]².
TEST(GenomeRenderTest, DivergingGenomeFillsTheSquareAndCountsBadValues) {
    const SGenome genome = genomeOf(
        "size=\"40 40\" scale=\"10\" quality=\"20\"",
        "<xform weight=\"1\" linear=\"1\" coefs=\"1e20 0 0 1e20 0 0\"/>");
    CGenomeRender render(genome, 3, 1);
    while (render.continueRender(std::chrono::milliseconds(100))) {}
    EXPECT_NEAR(render.badValueRate(), 5, 0.02);  // five bad results a sample
    const std::vector<unsigned char> vRgb = pictureOf(render);
    const auto lit = [&](int p, int q) {
        const size_t i = 3 * (static_cast<size_t>(q) * 40 + p);
        return vRgb[i] + vRgb[i + 1] + vRgb[i + 2] > 0;
    };
    EXPECT_TRUE(lit(20, 20) && lit(11, 11) && lit(28, 28));  // inside the square: 10 px a unit
    EXPECT_FALSE(lit(5, 5) || lit(35, 20));
}

TEST(GenomeRenderTest, CountsSamplesAndRefusesWhatItCannotDraw) {
    CGenomeRender zoomed(genomeOf("size=\"30 20\" quality=\"5\" zoom=\"1\" passes=\"3\""), 1, 1);
    EXPECT_EQ(zoomed.samplesTotal(), 4 * 5 * 30 * 20);
    CGenomeRender overridden(genomeOf("size=\"30 20\""), 1, 1, 7);
    EXPECT_EQ(overridden.samplesTotal(), 7 * 30 * 20);
    SGenome empty;
    CGenomeRender refused(empty, 1, 1);
    EXPECT_EQ(refused.error(), "no xform with a weight above 0");
    EXPECT_FALSE(refused.continueRender(std::chrono::milliseconds(10)));
    // 262,144² buckets of 40 bytes: no machine has that.
    CGenomeRender huge(genomeOf("size=\"16384 16384\" supersample=\"16\" quality=\"0.01\""),
                       1, 1);
    EXPECT_EQ(huge.error(), "not enough memory for the buckets of a 16384 × 16384 picture at "
                            "supersample 16");
}

// A picture in strips, each a render of its own that keeps only its rows' buckets, is the
// picture of one piece, bit for bit: density estimation and a wide filter reach across the
// strips' edges, the passes are summed a strip at a time, the rows are numbered as the whole's.
TEST(RenderThreadsTest, StripsDrawThePixelsOfOnePiece) {
    const SRenderPlan plan = stillPlan(genomeOf(
        "size=\"40 36\" supersample=\"2\" filter=\"1.5\" quality=\"30\" passes=\"2\" "
        "estimator_radius=\"5\" estimator_minimum=\"0\""));
    const auto drawn = [&](int iStrips, int iThreads) {
        std::vector<unsigned char> vRgb;
        int iNext = 0;
        for (int k = 0; k < iStrips; k++) {
            CGenomeRender strip(plan, 9, iThreads, stripRows(36, iStrips, k));
            while (strip.continueRender(std::chrono::seconds(10))) {}
            strip.writeImage([&](int iRow, const unsigned char* pRgb) {
                EXPECT_EQ(iRow, iNext++);
                vRgb.insert(vRgb.end(), pRgb, pRgb + 40 * 3);
            });
        }
        EXPECT_EQ(iNext, 36);
        return vRgb;
    };
    const std::vector<unsigned char> vWhole = drawn(1, 1);
    EXPECT_GT(std::count_if(vWhole.begin(), vWhole.end(), [](unsigned char c) { return c > 0; }),
              40 * 36);
    EXPECT_TRUE(drawn(3, 1) == vWhole);
    EXPECT_TRUE(drawn(7, 2) == vWhole);
}

// The fewest strips whose renders each keep within a bound: every strip within it, one strip
// fewer not; a bound below a strip of one row gives none, and what that strip would need.
TEST(GenomeRenderTest, MemoryBoundPicksTheFewestStripsThatFit) {
    const SRenderPlan plan = stillPlan(genomeOf("size=\"400 300\" supersample=\"2\""));
    const auto mostOf = [&](int iStrips) {
        double dMost = 0;
        for (int k = 0; k < iStrips; k++)
            dMost = std::max(dMost, renderBytesOf(plan, 2, stripRows(300, iStrips, k)));
        return dProgramBytes + dMost;
    };
    long long iLeastMiB = 0;
    const double dOneRow = dProgramBytes + renderBytesOf(plan, 2, {150, 151});
    for (double dShare : {1.0, 0.5, 0.1, 0.01}) {
        SCOPED_TRACE(dShare);
        const double dBound = dShare == 1 ? mostOf(1) : dOneRow + dShare * (mostOf(1) - dOneRow);
        const int iStrips = stripsWithin(plan, 2, dBound, iLeastMiB);
        ASSERT_GT(iStrips, 0);
        EXPECT_LE(mostOf(iStrips), dBound);
        if (iStrips > 1) {
            EXPECT_GT(mostOf(iStrips - 1), dBound);
        }
        EXPECT_EQ(iStrips == 1, dShare == 1.0);
    }
    EXPECT_EQ(iLeastMiB, static_cast<long long>(std::ceil(dOneRow / (1 << 20))));
    EXPECT_EQ(stripsWithin(plan, 2, dOneRow - 1, iLeastMiB), 0);
}

TEST(GenomeRenderTest, ResizingKeepsTheFraming) {
    const SGenome genome = genomeOf("size=\"400 300\" scale=\"80\"");
    const SGenome wider = resizedGenome(genome, 1000, 0);
    EXPECT_EQ(wider.iHeight, 750);
    EXPECT_EQ(wider.dScale, 200);
    EXPECT_EQ(resizedGenome(genome, 200, 50).iHeight, 50);
}

// Colour speeds so large that the colour coordinate overflows to infinity and NaN: the palette
// index is clamped, never an undefined conversion (which UndefinedBehaviorSanitizer reports).
TEST(GenomeRenderTest, ColourCoordinatesBeyondRangeStillPlot) {
    CGenomeRender render(genomeOf("size=\"16 16\" quality=\"5\"",
                                  "<xform weight=\"1\" color=\"1e308\" color_speed=\"1e300\" "
                                  "linear=\"0.5\"/><xform weight=\"1\" color=\"-1e308\" "
                                  "color_speed=\"-1e300\" spherical=\"1\"/>"), 1, 1);
    while (render.continueRender(std::chrono::milliseconds(100))) {}
    EXPECT_EQ(render.shareDone(), 1);
}
}  // namespace

namespace {

// A flame drawn with a colour curve is the flame drawn without it, each byte through the curve:
// within what the bytes' truncation before and after it allows, and changed where it bends.
TEST(RenderCurvesTest, PictureIsThePlainOneThroughTheCurve) {
    const std::string sPlain =
        "<flame size=\"24 24\" scale=\"10\" quality=\"20\" palette=\"7\" background=\"0.2 0 0.1\">"
        "<xform weight=\"1\" color=\"0\" coefs=\"0.5 0 0 0.5 0.4 0\" linear=\"1\"/>"
        "<xform weight=\"1\" color=\"1\" coefs=\"0.5 0 0 0.5 -0.4 0.3\" spherical=\"1\"/></flame>";
    const CCurveKnots overall = {0, 0, 0.25, 0.35, 0.5, 0.6, 0.75, 0.8, 1, 1};
    std::string sCurved = sPlain;
    sCurved.insert(7, "overall_curve=\"0 0 0.25 0.35 0.5 0.6 0.75 0.8 1 1\" ");
    std::string sError;
    const SPicture plain = renderOurs(sPlain, 3, 1, sError), curved = renderOurs(sCurved, 3, 1, sError);
    ASSERT_EQ(plain.vRgb.size(), curved.vRgb.size()) << sError;
    ASSERT_FALSE(plain.vRgb.empty());
    int iBent = 0;
    for (size_t i = 0; i < plain.vRgb.size(); i++) {
        const double dExpected = 255 * curveValue(overall, plain.vRgb[i] / 255.0);
        EXPECT_NEAR(curved.vRgb[i], dExpected, 3) << i;
        iBent += curved.vRgb[i] >= plain.vRgb[i] + 5;
    }
    EXPECT_GT(iBent, 0);
}

}  // namespace
