// From buckets to pixels: log scaling, filter and tone curve on hand-made input.

#include "maths/maths.h"
#include "game/chaos_game.h"
#include "tone/density_spread.h"
#include "tone/four_channels.h"
#include "tone/grid.h"
#include "tone/picture.h"
#include "tone/pixel_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// A grid of the system's pages (over 4 MiB) readied for reading by rows, whole and in part, its
// first and last page shared with the rows beside: every bucket reads as it was, and plots
// added after land as on a grid never readied.
TEST(HistogramTest, ReadiedRowsReadAndTakeAddsAsBefore) {
    const int iWidth = 1001, iHeight = 211;  // rows of 40040 bytes: pages split across rows
    const SRows ranges[] = {{0, 0}, {3, 4}, {5, 9}, {0, iHeight}, {iHeight, iHeight}};
    const SBucket add = {1, 2, 3, 4, 5};
    const std::size_t uBuckets = static_cast<std::size_t>(iWidth) * iHeight;
    const SPlot before[] = {{0, 0}, {uBuckets / 2, 0}, {uBuckets - 1, 0}};
    const SPlot after[] = {{1, 0}, {uBuckets / 2, 0}, {5 * iWidth + 7, 0}, {uBuckets - 2, 0}};
    for (const SRows rows : ranges) {
        CHistogram readied(iWidth, iHeight), plain(iWidth, iHeight);
        readied.add(before, 3, &add);
        plain.add(before, 3, &add);
        readied.readyForReading(rows);
        EXPECT_TRUE(readied == plain) << rows.iFirst << " to " << rows.iEnd;
        readied.add(after, 4, &add);
        plain.add(after, 4, &add);
        EXPECT_TRUE(readied == plain) << rows.iFirst << " to " << rows.iEnd;
        EXPECT_EQ(readied.at(7, 5).uCount, 5u);
    }
}

// Pages taken for writing, whole and in part, keep what they held.
TEST(HistogramTest, PagesTakenForWritingKeepWhatTheyHold) {
    std::vector<uint32_t> v(1 << 20);
    for (size_t i = 0; i < v.size(); i++) v[i] = static_cast<uint32_t>(i * 2654435761u);
    const std::vector<uint32_t> held = v;
    const size_t pieces[][2] = {{0, 0}, {1, 1000}, {3, 300000}, {0, 1 << 20}};
    for (const auto& piece : pieces) {
        takePagesForWriting(v.data() + piece[0], piece[1] * sizeof(uint32_t));
        EXPECT_TRUE(v == held) << piece[0] << " + " << piece[1];
    }
}

// A genome's frame filled evenly with opaque red, the sums chosen so that k2·a = 1 exactly.
TEST(WritePictureTest, EvenRedSquareHasTheLogOfTwo) {
    SGenome genome;
    genome.iWidth = genome.iHeight = 8;
    genome.dBrightness = genome.dGamma = 1;
    genome.dEstimatorRadius = 0;
    const SGridShape grid = gridShapeOf(genome);
    CHistogram histogram(grid.iWidth, grid.iHeight);
    const SLogScale scale = logScaleOf(genome, genome.dQuality, 1);
    const double dUnits = 1 / scale.dK2 / 255 * dBucketUnit;  // a = 1/k2 in flam3's units
    const uint64_t uSum = static_cast<uint64_t>(std::llround(dUnits));
    std::vector<SPlot> vPlots;
    for (size_t u = 0; u < static_cast<size_t>(grid.iWidth) * grid.iHeight; u++)
        vPlots.push_back({u, 0});
    const SBucket red = {uSum, 0, 0, uSum, uSum};
    histogram.add(vPlots.data(), vPlots.size(), &red);
    SPictureSource source;
    source.pHistogram = &histogram;
    source.scale = scale;
    int iRows = 0;
    writePicture(genome, source, [&](int iRow, const unsigned char* pRgb) {
        EXPECT_EQ(iRow, iRows++);
        for (int p = 0; p < genome.iWidth; p++) {
            EXPECT_EQ(pRgb[3 * p], static_cast<int>(268 * std::log(2.0)));  // 185
            EXPECT_EQ(pRgb[3 * p + 1], 0);
        }
    });
    EXPECT_EQ(iRows, genome.iHeight);
}

// flam3's highlight_power on a saturated orange, red at 741 of 255 before clamping.
TEST(ToneCurveTest, HighlightPowerKeepsOrShiftsTheHue) {
    SGenome genome;
    genome.dGamma = 1;  // ℓ = 256 at any density
    const double dRed = 741 * 255 / 256.0, dValue[4] = {dRed, dRed * 128 / 255, 0, dRed};
    const struct {
        double dPower;
        int iRgb[3];
    } cases[] = {
        {-1, {255, 255, 0}}, {-0.5, {255, 250, 0}}, {0, {255, 128, 0}}, {1, {255, 211, 167}},
    };
    for (const auto& example : cases) {
        genome.dHighlightPower = example.dPower;
        unsigned char rgb[3];
        toneCurveOf(genome).pixel(dValue, rgb);
        for (int c = 0; c < 3; c++)
            EXPECT_NEAR(rgb[c], example.iRgb[c], 1) << example.dPower << ", channel " << c;
    }
}

TEST(ToneCurveTest, CurveBlendsBelowThresholdAndShowsBackground) {
    SGenome genome;
    genome.dGamma = 2;
    genome.dGammaThreshold = 0.5;
    genome.dBackground[2] = 0.5;
    const double dTau = 0.25, f = dTau / 0.5;
    const double dAlpha = (1 - f) * dTau * std::pow(0.5, 0.5 - 1) + f * std::sqrt(dTau);
    const double dValue[4] = {255 * dTau, 0, 0, 255 * dTau};
    unsigned char rgb[3];
    toneCurveOf(genome).pixel(dValue, rgb);
    EXPECT_EQ(rgb[0], static_cast<int>(256 * dAlpha));  // ℓ·R/255 = 256·α'
    EXPECT_EQ(rgb[2], static_cast<int>((1 - dAlpha) * 256 * 0.5));
    const double dEmpty[4] = {0, 0, 0, 0};
    toneCurveOf(genome).pixel(dEmpty, rgb);
    EXPECT_EQ(rgb[2], 128);  // 256 · background, nothing else
}

}  // namespace

// Where a negative lobe leaves a channel below 0, flam3 shows 255 if its root 1/gamma is NaN
// (gamma 4), and 0 where the root exists (gamma 1).
TEST(ToneCurveTest, NegativeChannelsShowAsFlam3ShowsThem) {
    SGenome genome;
    const double dValue[4] = {-8, 0, 5, -8};
    const struct {
        double dGamma;
        int iRgb[3];
    } cases[] = {{4, {255, 0, 0}}, {1, {0, 0, 0}}};
    for (const auto& example : cases) {
        genome.dGamma = example.dGamma;
        unsigned char rgb[3];
        toneCurveOf(genome).pixel(dValue, rgb);
        for (int c = 0; c < 3; c++) EXPECT_EQ(rgb[c], example.iRgb[c]) << example.dGamma << c;
    }
}

// With no alpha and no background a channel shows its vibrancy term alone: (1 − vibrancy)·256 ·
// (v/255)^(1/γ), NaN as 255. At vibrancy 1 the power is left out where it must be finite; the
// bytes are the formula's everywhere, at the edges of where it may be left out and past them.
TEST(ToneCurveTest, VibrancyTermShowsAsItsFormula) {
    const double dInf = std::numeric_limits<double>::infinity();
    const double dValues[] = {0.0, -0.0, 1e-300, 100, 255, 1e300,
                              std::numeric_limits<double>::max(), dInf, -1, std::nan("")};
    for (double dGamma : {1.0, 4.0, 0.5, -2.0})
        for (double dVibrancy : {1.0, 0.5})
            for (double v : dValues) {
                SGenome genome;
                genome.dGamma = dGamma;
                genome.dVibrancy = dVibrancy;
                const double dValue[4] = {v, v, v, 0};
                unsigned char rgb[3];
                toneCurveOf(genome).pixel(dValue, rgb);
                const double dTerm = (1 - dVibrancy) * 256 * maths::pow(v / 255, 1 / dGamma);
                const int iExpected = std::isnan(dTerm) ? 255 : !(dTerm > 0) ? 0
                                      : dTerm >= 255 ? 255 : static_cast<int>(dTerm);
                EXPECT_EQ(rgb[0], iExpected) << "gamma " << dGamma << ", vibrancy " << dVibrancy
                                             << ", value " << v;
            }
}

namespace {

// The colour curves' spline through its knots, at the points the editors' curves were worked
// out at; and a channel through the overall curve and its own, by way of the sampled tables.
TEST(ColourCurveTest, SplinePassesThroughTheKnotsAsWorkedOut) {
    const CCurveKnots overall = {0, 0, 0.25, 0.35, 0.5, 0.6, 0.75, 0.8, 1, 1};
    const CCurveKnots red = {0, 0, 0.5, 0.4, 1, 1};
    const struct {
        const CCurveKnots* pKnots;
        double x, y;
    } cases[] = {
        {&overall, 0.1, 0.1484}, {&overall, 0.3, 0.4096}, {&overall, 0.5, 0.6},
        {&overall, 0.9, 0.92},   {&overall, 0.25, 0.35},  {&overall, -1, 0},
        {&overall, 2, 1},        {&red, 0.25, 0.18125},   {&red, 0.6, 0.5056},
        {&red, 0.75, 0.68125},   {&red, 0.5, 0.4},
    };
    for (const auto& example : cases)
        EXPECT_NEAR(curveValue(*example.pKnots, example.x), example.y, 1e-12) << example.x;
    // 0.3 of red, from the background alone: 0.314192 through both curves, 80 of 255; 76
    // without them.
    SGenome genome;
    for (double& d : genome.dBackground) d = 0.3 * 255 / 256;
    const double dEmpty[4] = {0, 0, 0, 0};
    unsigned char rgb[3];
    toneCurveOf(genome).pixel(dEmpty, rgb);
    EXPECT_EQ(rgb[0], 76);
    genome.curves[0] = overall;
    genome.curves[1] = red;
    toneCurveOf(genome).pixel(dEmpty, rgb);
    EXPECT_EQ(rgb[0], 80);
    EXPECT_EQ(rgb[1], static_cast<int>(255 * curveValue(overall, 0.3)));  // green: overall only
}

// Density estimation's spreads, plain and wide, against every cell of the kernel's square, bit
// for bit: kernels whole, clipped on either side (short of the bucket's column too) and at the
// grid's rows, and rows that wrap round the window; kernels round (their corners' weights 0,
// which the spreads leave out) and a value that is not finite (0 · ∞ is NaN: no cell left out).
TEST(DensitySpreadTest, SpreadsAreTheWholeSquareToTheBit) {
    constexpr int iWidth = 40, iWindowRows = 9;
    constexpr double dInf = std::numeric_limits<double>::infinity();
    struct SCase { int iReach, iColumn, iRow, iFirstDx, iLastDx, iFirstDy, iLastDy; bool bRound; double dLast; };
    const SCase cases[] = {
        {0, 5, 0, 0, 0, 0, 0, false, 1},    {1, 5, 3, -1, 1, -1, 1, false, 1},
        {3, 10, 4, -3, 3, -3, 3, false, 1}, {3, 1, 4, -1, 3, -3, 3, false, 1},
        {3, 38, 4, -3, 1, -3, 3, false, 1}, {4, 20, 0, -4, 4, 0, 4, false, 1},
        {4, 20, 7, -4, 4, -4, 4, false, 1}, {3, 20, 2, 1, 3, -2, 3, false, 1},
        {3, 20, 5, -3, -1, -3, 2, false, 1}, {4, 20, 5, 2, 4, -3, 2, false, 1},
        {4, 20, 5, -4, -2, -3, 2, false, 1}, {4, 20, 5, -1, 3, -2, 2, false, 1},
        {4, 20, 4, -4, 4, -4, 4, true, 1},  {4, 3, 6, -3, 4, -4, 2, true, 1},
        {4, 20, 4, -4, 4, -4, 4, true, dInf},
    };
    std::mt19937_64 generator(7);
    std::uniform_real_distribution<double> uniform(-1e3, 1e3);
    for (const SCase& test : cases) {
        SDensityKernel kernel = {1, test.iReach, {}, {}};
        const int iSide = test.iReach + 1;
        kernel.vQuadrant.resize(iSide * iSide);
        for (int i = 0; i < iSide * iSide; i++) {
            const int dx = i % iSide, dy = i / iSide;
            const bool bOut = test.bRound && dx * dx + dy * dy > test.iReach * test.iReach;
            kernel.vQuadrant[i] = bOut ? 0 : uniform(generator) / 1e3;
        }
        noteRowSpans(kernel);
        double dValue[4];
        for (double& d : dValue) d = uniform(generator);
        dValue[3] *= test.dLast;
        std::vector<double> whole(iWindowRows * iWidth * 4 + 3);
        for (double& d : whole) d = uniform(generator);
        std::vector<double> plain = whole, wide = whole;
        // The wide form on cells across 32-byte boundaries too: the window's start offset.
        double* pCentre = whole.data() + 1 + 4 * test.iColumn;
        for (int dy = test.iFirstDy; dy <= test.iLastDy; dy++)
            for (int dx = test.iFirstDx; dx <= test.iLastDx; dx++)
                for (int c = 0; c < 4; c++)
                    pCentre[windowRowOffset(test.iRow + dy, iWindowRows, iWidth * 4) + 4 * dx + c] +=
                        kernel.weight(dx, dy) * dValue[c];
        const SSpread spread = {&kernel, test.iFirstDx, test.iLastDx, test.iFirstDy,
                                test.iLastDy};
        spreadPlain(spread, dValue, plain.data() + 1 + 4 * test.iColumn, iWidth * 4, test.iRow,
                    iWindowRows);
        EXPECT_EQ(0, std::memcmp(whole.data(), plain.data(), whole.size() * sizeof(double)))
            << "plain, reach " << test.iReach << " at " << test.iColumn << ", " << test.iRow;
        if (!wideHere()) continue;
        spreadWide(spread, dValue, wide.data() + 1 + 4 * test.iColumn, iWidth * 4, test.iRow,
                   iWindowRows);
        EXPECT_EQ(0, std::memcmp(whole.data(), wide.data(), whole.size() * sizeof(double)))
            << "wide, reach " << test.iReach << " at " << test.iColumn << ", " << test.iRow;
    }
}

// The pixels' wide filter against the plain one, bit for bit: filters of one tap to many, on
// rows whose cells cross 32-byte boundaries.
TEST(PixelFilterTest, WideIsPlainToTheBit) {
    if (!wideHere()) GTEST_SKIP() << "no AVX here";
    std::mt19937_64 generator(11);
    std::uniform_real_distribution<double> uniform(-1e3, 1e3);
    for (const int iF : {1, 2, 5, 13}) {
        SPixelFilter filter = {iF, std::vector<double>(static_cast<size_t>(iF) * iF)};
        for (double& d : filter.vWeights) d = uniform(generator) / 1e3;
        std::vector<std::vector<double>> vCells(iF, std::vector<double>(4 * (iF + 3) + 1));
        std::vector<const double*> vRows;
        for (std::vector<double>& row : vCells) {
            for (double& d : row) d = uniform(generator);
            vRows.push_back(row.data() + 1);
        }
        for (const size_t uOffset : {size_t{0}, size_t{4}, size_t{8}}) {
            double dPlain[4], dWide[4];
            filterPlain(filter, vRows.data(), uOffset, dPlain);
            filterWide(filter, vRows.data(), uOffset, dWide);
            EXPECT_EQ(0, std::memcmp(dPlain, dWide, sizeof dPlain)) << iF << " taps a side";
        }
    }
}

}  // namespace
