// Framing: world points and pixels against the render's own camera, zoom, moves and turns that
// keep what they should where it was, fits to orbits of known extent, and quality steps.

#include "reference_support.h"

#include "editing/genome_frame.h"
#include "xml/genome_xml.h"
#include "game/camera.h"
#include "game/chaos_game.h"
#include "tone/grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Four quarter maps of the unit square: the orbit fills [0, 1]² evenly.
const char* sSquare =
    R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>
       <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0"/>
       <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0.5"/>
       <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0.5"/>)";

SGenome genomeOf(const std::string& sAttributes, const std::string& sXforms = sSquare) {
    return firstGenomeOf("<flame palette=\"3\" " + sAttributes + ">" + sXforms + "</flame>");
}

const char* views[] = {
    "size=\"100 100\" center=\"0.3 -0.2\"",
    "size=\"48 32\" center=\"0.4 0.5\" scale=\"30\" rotate=\"30\" zoom=\"0.5\" supersample=\"2\"",
    "size=\"90 160\" center=\"0.2 0.7\" rotate=\"-90\"",
};

// A batch's world points are its plots before the camera, one for one and in order, and their
// pixel coordinates are the buckets the render put them in.
TEST(GenomeFrameTest, WorldPointsAndPixelsAreTheRendersPlots) {
    for (const char* sView : views) {
        const SGenome genome = genomeOf(sView);
        const CChaosGame game(genome);
        std::vector<SPlot> vPlots(iBatchSamples);
        std::vector<SBucket> vAdds(iBatchSamples);
        std::vector<SWorldPoint> vPoints;
        SBatchCounts counts;
        const int iPlots = game.runBatch(9, 3, iBatchSamples, vPlots, vAdds, counts);
        game.runBatchPoints(9, 3, iBatchSamples, vPoints, counts);
        EXPECT_EQ(vPoints.size(), static_cast<size_t>(iBatchSamples));
        const CCamera& camera = game.camera();
        const double dS = genome.iSupersample, dGutter = gridShapeOf(genome).iGutter;
        int iInside = 0;
        for (const SWorldPoint& point : vPoints) {
            double dPixelX, dPixelY;
            camera.pixelOf(point.dX, point.dY, dPixelX, dPixelY);
            size_t uBucket;
            if (!camera.bucketOf(point.dX, point.dY, uBucket)) continue;
            ASSERT_LT(iInside, iPlots) << sView;
            EXPECT_EQ(vPlots[iInside++].uBucket, uBucket) << sView;
            // The pixel is the bucket's, within the last bits of the two ways to work it out.
            const double dColumn = dPixelX * dS + dGutter, dRow = dPixelY * dS + dGutter;
            const double dBucketColumn = static_cast<double>(uBucket % camera.gridWidth());
            const double dBucketRow = static_cast<double>(uBucket / camera.gridWidth());
            EXPECT_TRUE(dColumn > dBucketColumn - 1e-9 && dColumn < dBucketColumn + 1 + 1e-9);
            EXPECT_TRUE(dRow > dBucketRow - 1e-9 && dRow < dBucketRow + 1 + 1e-9) << sView;
        }
        EXPECT_EQ(iInside, iPlots) << sView;
        EXPECT_GT(iPlots, 1000) << sView;
    }
}

// The point under the mouse stays under it; a move's old centre is a quarter off the new one,
// left and up as the screen shows them; a positive turn is clockwise on screen.
TEST(GenomeFrameTest, ZoomMovesAndTurnsFollowTheScreen) {
    for (const char* sView : views) {
        const SGenome genome = genomeOf(sView);
        double dX, dY, dAfterX, dAfterY;
        CCamera(genome).worldOf(10.5, 3.5, dX, dY);
        const SGenome zoomed = zoomedAbout(genome, 10.5, 3.5, 2);
        CCamera(zoomed).worldOf(10.5, 3.5, dAfterX, dAfterY);
        EXPECT_NEAR(dAfterX, dX, 1e-12) << sView;
        EXPECT_NEAR(dAfterY, dY, 1e-12) << sView;
        EXPECT_EQ(zoomed.dScale, 2 * genome.dScale);
        EXPECT_EQ(zoomedGenome(genome, 0.5).dScale, genome.dScale / 2);
        const struct { double dRight, dDown, dPixelX, dPixelY; } moves[] = {
            {0.25, 0, 0.25, 0.5}, {0, 0.25, 0.5, 0.25}, {-0.25, 0.25, 0.75, 0.25}};
        for (const auto& move : moves) {
            const SGenome moved = movedGenome(genome, move.dRight, move.dDown);
            CCamera(moved).pixelOf(genome.dCenterX, genome.dCenterY, dAfterX, dAfterY);
            EXPECT_NEAR(dAfterX, move.dPixelX * genome.iWidth, 1e-9) << sView;
            EXPECT_NEAR(dAfterY, move.dPixelY * genome.iHeight, 1e-9) << sView;
        }
    }
    const SGenome turned = rotatedGenome(genomeOf("size=\"100 100\""), 90);
    double dPixelX, dPixelY;  // the point right of the centre comes below it
    CCamera(turned).pixelOf(1, 0, dPixelX, dPixelY);
    EXPECT_NEAR(dPixelX, 50, 1e-9);
    EXPECT_NEAR(dPixelY, 100, 1e-9);
    const struct { double dRotate, dTurn, dExpected; } turns[] = {
        {170, 15, -175}, {-175, -15, 170}, {180, 360, 180}, {-30, 30, 0}};
    for (const auto& turn : turns) {
        SGenome start = turned;
        start.dRotate = turn.dRotate;
        EXPECT_EQ(rotatedGenome(start, turn.dTurn).dRotate, turn.dExpected) << turn.dRotate;
    }
}

// The square about as wide as the picture's narrower side (10 % more, 1 % less for the
// quantiles) with its corners in it; turned by 45°, the quantiles trim a tenth off each tip of
// the diamond it shows; a point is framed at the floor. Zoom and rotate kept.
TEST(GenomeFrameTest, FitFramesTheDenseOrbitAsTheScreenShowsIt) {
    const char* sPoint = R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.25 0.25"/>)";
    const struct {
        const char* sAttributes;
        const char* sXforms;
        double dSpan;  // the narrower side in world units
        bool bCornersIn;
    } cases[] = {
        {"size=\"100 100\" center=\"5 5\" scale=\"3\"", sSquare, 1.1 * 0.99, true},
        {"size=\"200 100\" zoom=\"1\"", sSquare, 1.1 * 0.99, true},
        {"size=\"100 100\" rotate=\"90\"", sSquare, 1.1 * 0.99, true},
        {"size=\"100 100\" rotate=\"45\"", sSquare, 1.1 * std::sqrt(2.0) * 0.9, false},
        {"size=\"100 50\"", sPoint, dLeastFitWidth, false},
    };
    for (const auto& fit : cases) {
        const SGenome genome = genomeOf(fit.sAttributes, fit.sXforms);
        const SGenome fitted = fittedGenome(genome, 1);
        EXPECT_TRUE(fitted.dZoom == genome.dZoom && fitted.dRotate == genome.dRotate);
        EXPECT_NEAR(fitted.dCenterX, 0.5, 0.01) << fit.sAttributes;
        EXPECT_NEAR(fitted.dCenterY, 0.5, 0.01) << fit.sAttributes;
        const double dUnit = fitted.dScale * std::pow(2.0, fitted.dZoom);
        EXPECT_NEAR(std::min(fitted.iWidth, fitted.iHeight) / dUnit, fit.dSpan, fit.dSpan / 50)
            << fit.sAttributes;
        for (const auto& corner : {std::pair<int, int>{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
            double dPixelX, dPixelY;
            CCamera(fitted).pixelOf(corner.first, corner.second, dPixelX, dPixelY);
            EXPECT_EQ(dPixelX > 0 && dPixelX < fitted.iWidth && dPixelY > 0 &&
                          dPixelY < fitted.iHeight, fit.bCornersIn) << fit.sAttributes;
        }
    }
    const SGenome diverging = genomeOf(
        "size=\"40 40\"", R"(<xform weight="1" linear="1" coefs="1e20 0 0 1e20 0 0"/>)");
    EXPECT_EQ(fittedGenome(diverging, 1), diverging);  // no point to frame
}

TEST(GenomeFrameTest, QualityStepsStayInRange) {
    const struct { const char* sSize; double dQuality; bool bTenTimes; double dExpected; }
        steps[] = {
            {"100 100", 100, false, 10}, {"100 100", 50000, true, 100000},
            {"100 100", 5, false, 1}, {"100 100", 1, false, 1},  // the command line's least
            {"100 100", 0.5, false, 0.5}, {"100 100", 0.5, true, 5},  // as a file may give it
            // 16384² pixels at zoom 2 reach 1e14 samples at quality 23,283.06...
            {"16384 16384", 10000, true, 1e14 / (16.0 * 16384 * 16384)},
        };
    for (const auto& step : steps) {
        SGenome genome = genomeOf(std::string("zoom=\"2\" size=\"") + step.sSize + "\"");
        genome.dQuality = step.dQuality;
        SGenome scaled = qualityScaled(genome, step.bTenTimes);
        EXPECT_DOUBLE_EQ(scaled.dQuality, step.dExpected) << step.dQuality;
        scaled.dQuality = genome.dQuality;
        EXPECT_EQ(scaled, genome);
    }
}

}  // namespace
