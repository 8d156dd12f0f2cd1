#include "editing/genome_frame.h"

#include "genome/genome_check.h"
#include "maths/maths.h"
#include "game/camera.h"
#include "game/chaos_game.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

SGenome zoomedGenome(const SGenome& genome, double dFactor) {
    SGenome zoomed = genome;
    zoomed.dScale = genome.dScale * dFactor;
    return zoomed;
}

SGenome zoomedAbout(const SGenome& genome, double dPixelX, double dPixelY, double dFactor) {
    double dX, dY;
    CCamera(genome).worldOf(dPixelX, dPixelY, dX, dY);
    SGenome zoomed = zoomedGenome(genome, dFactor);
    CCamera(zoomed).centreFor(dX, dY, dPixelX, dPixelY, zoomed.dCenterX, zoomed.dCenterY);
    return zoomed;
}

SGenome movedGenome(const SGenome& genome, double dRight, double dDown) {
    SGenome moved = genome;
    CCamera(genome).worldOf(genome.iWidth * (0.5 + dRight), genome.iHeight * (0.5 + dDown),
                            moved.dCenterX, moved.dCenterY);
    return moved;
}

SGenome rotatedGenome(const SGenome& genome, double dDegrees) {
    SGenome rotated = genome;
    const double dRotate = std::remainder(genome.dRotate + dDegrees, 360);
    rotated.dRotate = dRotate == -180 ? 180 : dRotate;
    return rotated;
}

SGenome qualityScaled(const SGenome& genome, bool bTenTimes) {
    SGenome scaled = genome;
    const double dPixels = maths::pow(4.0, genome.dZoom) * genome.iWidth * genome.iHeight;
    const double dMost = std::min(dMostQuality, dMostSamples / dPixels);
    const double dQuality = bTenTimes ? genome.dQuality * 10 : genome.dQuality / 10;
    if (bTenTimes) scaled.dQuality = std::max(genome.dQuality, std::min(dQuality, dMost));
    else
        scaled.dQuality = std::min(std::max(dQuality, std::min(genome.dQuality,
                                                               dLeastSteppedQuality)), dMost);
    return scaled;
}

namespace {

// The points of the fit's batches, turned as the picture shows them (about the origin: a turn
// about the centre differs from it by a shift only).
std::vector<SPoint> turnedOrbit(const SGenome& genome, uint64_t uSeed) {
    const CChaosGame game(genome);
    std::vector<SPoint> vOrbit;
    std::vector<SWorldPoint> vBatch;
    vOrbit.reserve(static_cast<size_t>(iFrameFitBatches) * iBatchSamples);
    SBatchCounts counts;
    for (int iBatch = 0; iBatch < iFrameFitBatches; iBatch++) {
        game.runBatchPoints(uSeed, iBatch, iBatchSamples, vBatch, counts);
        for (const SWorldPoint& point : vBatch) {
            SPoint turned = {point.dX, point.dY};
            game.camera().turn(turned.dX, turned.dY);
            vOrbit.push_back(turned);
        }
    }
    return vOrbit;
}

}  // namespace

SGenome fittedGenome(const SGenome& genome, uint64_t uSeed) {
    std::string sError;
    if (!checkGenome(genome, sError)) return genome;
    const std::vector<SPoint> vPoints = turnedOrbit(genome, uSeed);
    if (vPoints.empty()) return genome;
    const SFrame frame =
        denseFrameOf(vPoints, static_cast<double>(genome.iWidth) / genome.iHeight);
    // The frame's centre back from the turned view.
    SGenome fitted = genome;
    fitted.dCenterX = frame.dX;
    fitted.dCenterY = frame.dY;
    CCamera(genome).turnBack(fitted.dCenterX, fitted.dCenterY);
    fitted.dScale = genome.iWidth / (2 * frame.dHalfWidth) / maths::pow(2.0, genome.dZoom);
    return fitted;
}
