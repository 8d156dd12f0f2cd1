// Framing: the camera's map against the render's, zoom and moves that keep what they should
// where it was, turns in the screen's sense, fits to known orbits, and quality steps.

#include "genome/genome_frame.h"
#include "genome/genome_xml.h"
#include "genome/iterate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace {

// Four quarter maps of the unit square: the orbit fills [0, 1]² evenly.
const char* sSquare =
    R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>
       <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0"/>
       <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0.5"/>
       <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0.5"/>)";

SGenome genomeOf(const std::string& sAttributes, const std::string& sXforms = sSquare) {
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_TRUE(readGenomes("<flame " + sAttributes + ">" + sXforms + "</flame>", vGenomes,
                            sError)) << sError;
    return vGenomes.empty() ? SGenome() : vGenomes[0];
}

struct SView {
    const char* sAttributes;
};
constexpr SView views[] = {
    {"size=\"100 100\" center=\"0.3 -0.2\""},
    {"size=\"200 100\" center=\"0.3 -0.2\" rotate=\"30\" zoom=\"1\""},
    {"size=\"90 160\" center=\"-1 2\" rotate=\"-90\" supersample=\"2\""},
    {"size=\"64 48\" scale=\"7\" rotate=\"180\" zoom=\"-0.5\""},
};

// Pixel coordinates agree with the buckets the render puts world points in.
TEST(GenomeFrameTest, PixelsAreTheRendersBuckets) {
    for (const SView& view : views) {
        const SGenome genome = genomeOf(view.sAttributes);
        const SCamera camera = cameraOf(genome);
        const double dS = genome.iSupersample, dGutter = gridShapeOf(genome).iGutter;
        for (const auto& point : {std::pair<double, double>{0.7, -0.4}, {-2, 3}, {0.3, -0.2}}) {
            double dX = point.first - camera.dCenterX, dY = point.second - camera.dCenterY;
            if (camera.bRotate) {
                const double dTurnedX = camera.dCos * dX - camera.dSin * dY;
                dY = camera.dSin * dX + camera.dCos * dY, dX = dTurnedX;
            }
            double dPixelX, dPixelY, dBackX, dBackY;
            pixelOfWorld(genome, point.first, point.second, dPixelX, dPixelY);
            EXPECT_NEAR(dPixelX * dS + dGutter, dX * camera.dBucketsPerUnit + camera.dOffsetX,
                        1e-9) << view.sAttributes;
            EXPECT_NEAR(dPixelY * dS + dGutter, dY * camera.dBucketsPerUnit + camera.dOffsetY,
                        1e-9) << view.sAttributes;
            worldOfPixel(genome, dPixelX, dPixelY, dBackX, dBackY);
            EXPECT_NEAR(dBackX, point.first, 1e-12);
            EXPECT_NEAR(dBackY, point.second, 1e-12);
        }
    }
}

// The world points of a batch are its plots before the camera: one for one, in order, those
// that land in the grid.
TEST(GenomeFrameTest, WorldPointsAreTheBatchsPlots) {
    const SGenome genome = genomeOf("size=\"48 32\" center=\"0.4 0.5\" scale=\"30\" "
                                    "rotate=\"30\" palette=\"3\"");
    const CChaosGame game(genome);
    std::vector<SPlot> vPlots(iBatchSamples);
    std::vector<SWorldPoint> vPoints;
    SBatchCounts counts;
    const int iPlots = game.runBatch(9, 3, iBatchSamples, vPlots, counts);
    game.runBatchPoints(9, 3, iBatchSamples, vPoints, counts);
    EXPECT_EQ(counts.iBadValues, 0);
    const SCamera& camera = game.camera();
    int iInside = 0;
    for (const SWorldPoint& point : vPoints) {
        // Turned about the centre, then placed, as the render does it (to the last bit).
        const double dX = point.dX - camera.dCenterX, dY = point.dY - camera.dCenterY;
        const double dTurnedX = camera.dCenterX + (camera.dCos * dX - camera.dSin * dY);
        const double dTurnedY = camera.dCenterY + (camera.dSin * dX + camera.dCos * dY);
        const double dColumn =
            (dTurnedX - camera.dCenterX) * camera.dBucketsPerUnit + camera.dOffsetX;
        const double dRow = (dTurnedY - camera.dCenterY) * camera.dBucketsPerUnit + camera.dOffsetY;
        if (!(dColumn >= 0 && dColumn < camera.iGridWidth && dRow >= 0 &&
              dRow < camera.iGridHeight))
            continue;
        ASSERT_LT(iInside, iPlots);
        const size_t uBucket = static_cast<size_t>(dRow) * camera.iGridWidth +
                               static_cast<size_t>(dColumn);
        EXPECT_EQ(vPlots[iInside++].uBucket, uBucket);
    }
    EXPECT_EQ(iInside, iPlots);
    EXPECT_GT(iPlots, 1000);
    EXPECT_EQ(vPoints.size(), static_cast<size_t>(iBatchSamples));
}

TEST(GenomeFrameTest, ZoomKeepsThePointUnderTheMouse) {
    for (const SView& view : views) {
        const SGenome genome = genomeOf(view.sAttributes);
        for (double dFactor : {2.0, 0.5, 1.25}) {
            const SGenome zoomed = zoomedAbout(genome, 10.5, 3.5, dFactor);
            double dX, dY, dZoomedX, dZoomedY;
            worldOfPixel(genome, 10.5, 3.5, dX, dY);
            worldOfPixel(zoomed, 10.5, 3.5, dZoomedX, dZoomedY);
            EXPECT_NEAR(dZoomedX, dX, 1e-12) << view.sAttributes;
            EXPECT_NEAR(dZoomedY, dY, 1e-12) << view.sAttributes;
            EXPECT_EQ(zoomed.dScale, genome.dScale * dFactor);
            EXPECT_EQ(zoomed.dZoom, genome.dZoom);
            const SGenome centred = zoomedGenome(genome, dFactor);
            EXPECT_EQ(centred.dCenterX, genome.dCenterX);
            EXPECT_EQ(centred.dScale, zoomed.dScale);
        }
    }
}

// Right and down as the picture shows them, whatever the turn: the old centre moves left and up.
TEST(GenomeFrameTest, MovesFollowTheScreen) {
    for (const SView& view : views) {
        const SGenome genome = genomeOf(view.sAttributes);
        double dPixelX, dPixelY;
        const SGenome right = movedGenome(genome, 0.25, 0);
        pixelOfWorld(right, genome.dCenterX, genome.dCenterY, dPixelX, dPixelY);
        EXPECT_NEAR(dPixelX, genome.iWidth * 0.25, 1e-9) << view.sAttributes;
        EXPECT_NEAR(dPixelY, genome.iHeight * 0.5, 1e-9) << view.sAttributes;
        const SGenome down = movedGenome(genome, 0, 0.25);
        pixelOfWorld(down, genome.dCenterX, genome.dCenterY, dPixelX, dPixelY);
        EXPECT_NEAR(dPixelX, genome.iWidth * 0.5, 1e-9) << view.sAttributes;
        EXPECT_NEAR(dPixelY, genome.iHeight * 0.25, 1e-9) << view.sAttributes;
        const SGenome back = movedGenome(right, -0.25, 0);
        EXPECT_NEAR(back.dCenterX, genome.dCenterX, 1e-12);
        EXPECT_NEAR(back.dCenterY, genome.dCenterY, 1e-12);
    }
}

TEST(GenomeFrameTest, PositiveTurnsAreClockwiseOnScreen) {
    const SGenome genome = genomeOf("size=\"100 100\"");
    const SGenome turned = rotatedGenome(genome, 90);
    double dPixelX, dPixelY;  // the point right of the centre comes below it
    pixelOfWorld(turned, 1, 0, dPixelX, dPixelY);
    EXPECT_NEAR(dPixelX, 50, 1e-9);
    EXPECT_NEAR(dPixelY, 100, 1e-9);
    const struct {
        double dRotate, dTurn, dExpected;
    } turns[] = {{0, 15, 15}, {170, 15, -175}, {-175, -15, 170}, {180, 360, 180}, {-30, 30, 0}};
    for (const auto& turn : turns) {
        SGenome start = genome;
        start.dRotate = turn.dRotate;
        EXPECT_NEAR(rotatedGenome(start, turn.dTurn).dRotate, turn.dExpected, 1e-12)
            << turn.dRotate << " + " << turn.dTurn;
    }
}

// The square about as wide as the picture's narrower side (10 % more, 1 % less for the
// quantiles) and its corners in it; turned by 45°, the quantiles trim a tenth off each tip of
// the diamond it shows. The picture's proportions kept; zoom and rotate kept.
TEST(GenomeFrameTest, FitFramesTheDenseOrbitAsTheScreenShowsIt) {
    const struct {
        const char* sAttributes;
        double dSpan;  // the narrower side in world units
        bool bCornersIn;
    } cases[] = {
        {"size=\"100 100\" center=\"5 5\" scale=\"3\"", 1.1 * 0.99, true},
        {"size=\"200 100\" zoom=\"1\"", 1.1 * 0.99, true},
        {"size=\"100 100\" rotate=\"90\"", 1.1 * 0.99, true},
        {"size=\"100 100\" rotate=\"45\"", 1.1 * std::sqrt(2.0) * 0.9, false},
    };
    for (const auto& fit : cases) {
        const SGenome genome = genomeOf(fit.sAttributes);
        const SGenome fitted = fittedGenome(genome, 1);
        EXPECT_EQ(fitted.dZoom, genome.dZoom);
        EXPECT_EQ(fitted.dRotate, genome.dRotate);
        EXPECT_NEAR(fitted.dCenterX, 0.5, 0.01) << fit.sAttributes;
        EXPECT_NEAR(fitted.dCenterY, 0.5, 0.01) << fit.sAttributes;
        const double dUnit = fitted.dScale * std::pow(2.0, fitted.dZoom);
        EXPECT_NEAR(std::min(fitted.iWidth, fitted.iHeight) / dUnit, fit.dSpan, 0.02)
            << fit.sAttributes;
        for (const auto& corner : {std::pair<int, int>{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
            double dPixelX, dPixelY;
            pixelOfWorld(fitted, corner.first, corner.second, dPixelX, dPixelY);
            const bool bIn = dPixelX > 0 && dPixelX < fitted.iWidth && dPixelY > 0 &&
                             dPixelY < fitted.iHeight;
            EXPECT_EQ(bIn, fit.bCornersIn) << fit.sAttributes;
        }
    }
}

TEST(GenomeFrameTest, FitOfAPointIsTheFloorAndOfNothingIsNoChange) {
    const SGenome point = genomeOf("size=\"100 50\"",
                                   R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 3 -2"/>)");
    const SGenome fitted = fittedGenome(point, 1);
    EXPECT_NEAR(fitted.dCenterX, 6, 1e-9);
    EXPECT_NEAR(fitted.dCenterY, -4, 1e-9);
    EXPECT_NEAR(fitted.dScale, 100 / (dLeastFitWidth * 2), 1e-6);  // the floor on the height
    const SGenome diverging = genomeOf(
        "size=\"40 40\"", R"(<xform weight="1" linear="1" coefs="1e20 0 0 1e20 0 0"/>)");
    EXPECT_EQ(fittedGenome(diverging, 1), diverging);
    SGenome refused = point;
    refused.dQuality = 0;
    EXPECT_EQ(fittedGenome(refused, 1), refused);
}

TEST(GenomeFrameTest, QualityStepsStayInRange) {
    const struct {
        const char* sSize;
        double dQuality;
        bool bTenTimes;
        double dExpected;
    } steps[] = {
        {"100 100", 1, true, 10},
        {"100 100", 1, false, 0.1},
        {"100 100", 50000, true, 100000},
        {"100 100", 100000, true, 100000},
        {"100 100", 5e-324, false, 5e-324},  // a tenth would be 0
        // 16384² pixels at zoom 2 reach 1e14 samples at quality 23,283.06...
        {"16384 16384", 10000, true, 1e14 / (16.0 * 16384 * 16384)},
        {"16384 16384", 20000, false, 2000},
    };
    for (const auto& step : steps) {
        SGenome genome = genomeOf(std::string("zoom=\"2\" size=\"") + step.sSize + "\"");
        genome.dQuality = step.dQuality;
        const SGenome scaled = qualityScaled(genome, step.bTenTimes);
        EXPECT_DOUBLE_EQ(scaled.dQuality, step.dExpected) << step.dQuality;
        SGenome rest = scaled;
        rest.dQuality = genome.dQuality;
        EXPECT_EQ(rest, genome);
    }
}

}  // namespace
