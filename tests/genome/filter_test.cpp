// The spatial filter's and the density estimator's tables.

#include "genome/filter.h"
#include "tone/density_kernels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SpatialFilterTest, WeightsSumToOneSymmetricAndCentred) {
    const struct {
        EFilterShape eShape;
        double dRadius;
        int iSupersample;
        int iWidth;
    } cases[] = {
        {eGaussian, 0.5, 1, 3}, {eGaussian, 1, 1, 5}, {eGaussian, 2, 1, 7},
        {eGaussian, 0.5, 2, 4}, {eGaussian, 0, 3, 1}, {eBox, 0.5, 1, 1},
        {eBspline, 1.3, 2, 12}, {eHamming, 1.3, 1, 9}, {eMitchell, 0.7, 3, 9},
    };
    for (const auto& example : cases) {
        const CSpatialFilter filter(example.eShape, example.dRadius, example.iSupersample);
        const int iF = filter.width();
        EXPECT_EQ(iF, example.iWidth) << filterShapeName(example.eShape) << example.dRadius;
        EXPECT_EQ((iF - example.iSupersample) % 2, 0);
        double dSum = 0;
        for (int j = 0; j < iF; j++)
            for (int i = 0; i < iF; i++) {
                dSum += filter.weight(i, j);
                EXPECT_NEAR(filter.weight(i, j), filter.weight(iF - 1 - i, j), 1e-15);
                EXPECT_NEAR(filter.weight(i, j), filter.weight(j, i), 1e-15);
            }
        EXPECT_NEAR(dSum, 1, 1e-12);
    }
}

// Taps at u = −2, 0, 2 of e^(−2u²); filter 1 reaches u = ±1 and ±2.
TEST(SpatialFilterTest, GaussianProfilesAreFlam3s) {
    const CSpatialFilter standard(eGaussian, 0.5, 1);
    EXPECT_NEAR(standard.weight(0, 1) / standard.weight(1, 1), std::exp(-8.0), 1e-15);
    const CSpatialFilter wide(eGaussian, 1, 1);
    EXPECT_NEAR(wide.weight(1, 2) / wide.weight(2, 2), std::exp(-2.0), 1e-15);
    EXPECT_NEAR(wide.weight(0, 2) / wide.weight(2, 2), std::exp(-8.0), 1e-15);
}

TEST(DensityKernelsTest, DefaultTableHasFlam3sLengths) {
    const CDensityKernels kernels(9, 0, 0.4, 1);
    EXPECT_EQ(kernels.halfSize(), 9);
    EXPECT_EQ(kernels.count(), 110);
    EXPECT_EQ(kernels.mostDensity(), 416);
    EXPECT_EQ(kernels.kernel(109).dWidth, 1);
}

// The widths flam3 picks for 1, 2, 50, 200 and 1000 hits in one bucket.
TEST(DensityKernelsTest, DensityPicksFlam3sWidths) {
    const CDensityKernels kernels(9, 0, 0.4, 1);
    const double dHits[] = {1, 2, 50, 200, 1000}, dWidths[] = {10, 7.58, 2.09, 1.23, 1};
    for (int i = 0; i < 5; i++)
        EXPECT_NEAR(kernels.kernel(kernels.index(dHits[i])).dWidth, dWidths[i], 0.005) << dHits[i];
}

// Normalised over every offset within h, deposited only within ⌈h⌉ − 1: at h = 1 only the
// centre, at G(0)/(G(0) + 4·G(1.5)); at h = 10 the ring at 10 weighs in the sum alone.
TEST(DensityKernelsTest, WholeWidthsLoseTheirOuterRing) {
    const CDensityKernels kernels(9, 0, 0.4, 1);
    const SDensityKernel& narrowest = kernels.kernel(109);
    EXPECT_EQ(narrowest.iReach, 0);
    EXPECT_NEAR(narrowest.weight(0, 0), 1 / (1 + 4 * std::exp(-4.5)), 1e-15);
    const SDensityKernel& widest = kernels.kernel(0);
    EXPECT_EQ(widest.iReach, 9);
    double dDeposited = 0;
    for (int dy = -9; dy <= 9; dy++)
        for (int dx = -9; dx <= 9; dx++) dDeposited += widest.weight(dx, dy);
    EXPECT_LT(dDeposited, 1);
    EXPECT_GT(dDeposited, 0.99);
    EXPECT_EQ(widest.weight(9, 9), 0);  // d = 12.7 > h
}

}  // namespace
