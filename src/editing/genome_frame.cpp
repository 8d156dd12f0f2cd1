#include "editing/genome_frame.h"

#include "core/angles.h"
#include "genome/genome_check.h"
#include "render/chaos_game.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// The camera's turn as the render makes it: screen = R(ρ)·(world − centre), R the
// counter-clockwise rotation of y-up coordinates (clockwise on a screen whose y points down).
struct STurn {
    double dCos, dSin;
};

STurn turnOf(const SGenome& genome) {
    if (genome.dRotate == 0) return {1, 0};
    const double dAngle = genome.dRotate * dPI / 180;
    return {std::cos(dAngle), std::sin(dAngle)};
}

double pixelsPerUnit(const SGenome& genome) { return genome.dScale * std::pow(2.0, genome.dZoom); }

// The centre that puts world point (dX, dY) under pixel coordinates (dPixelX, dPixelY).
void centreUnder(SGenome& genome, double dX, double dY, double dPixelX, double dPixelY) {
    const STurn turn = turnOf(genome);
    const double dUnit = pixelsPerUnit(genome);
    const double dU = (dPixelX - genome.iWidth / 2.0) / dUnit;
    const double dV = (dPixelY - genome.iHeight / 2.0) / dUnit;
    genome.dCenterX = dX - (turn.dCos * dU + turn.dSin * dV);
    genome.dCenterY = dY - (-turn.dSin * dU + turn.dCos * dV);
}

}  // namespace

void worldOfPixel(const SGenome& genome, double dPixelX, double dPixelY, double& dX,
                  double& dY) {
    const STurn turn = turnOf(genome);
    const double dUnit = pixelsPerUnit(genome);
    const double dU = (dPixelX - genome.iWidth / 2.0) / dUnit;
    const double dV = (dPixelY - genome.iHeight / 2.0) / dUnit;
    dX = genome.dCenterX + (turn.dCos * dU + turn.dSin * dV);
    dY = genome.dCenterY + (-turn.dSin * dU + turn.dCos * dV);
}

void pixelOfWorld(const SGenome& genome, double dX, double dY, double& dPixelX,
                  double& dPixelY) {
    const STurn turn = turnOf(genome);
    const double dUnit = pixelsPerUnit(genome);
    const double dU = dX - genome.dCenterX, dV = dY - genome.dCenterY;
    dPixelX = (turn.dCos * dU - turn.dSin * dV) * dUnit + genome.iWidth / 2.0;
    dPixelY = (turn.dSin * dU + turn.dCos * dV) * dUnit + genome.iHeight / 2.0;
}

SGenome zoomedGenome(const SGenome& genome, double dFactor) {
    SGenome zoomed = genome;
    zoomed.dScale = genome.dScale * dFactor;
    return zoomed;
}

SGenome zoomedAbout(const SGenome& genome, double dPixelX, double dPixelY, double dFactor) {
    double dX, dY;
    worldOfPixel(genome, dPixelX, dPixelY, dX, dY);
    SGenome zoomed = zoomedGenome(genome, dFactor);
    centreUnder(zoomed, dX, dY, dPixelX, dPixelY);
    return zoomed;
}

SGenome movedGenome(const SGenome& genome, double dRight, double dDown) {
    SGenome moved = genome;
    worldOfPixel(genome, genome.iWidth * (0.5 + dRight), genome.iHeight * (0.5 + dDown),
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
    const double dPixels = std::pow(4.0, genome.dZoom) * genome.iWidth * genome.iHeight;
    const double dMost = std::min(dMostQuality, dMostSamples / dPixels);
    const double dQuality = bTenTimes ? genome.dQuality * 10 : genome.dQuality / 10;
    if (bTenTimes) scaled.dQuality = std::max(genome.dQuality, std::min(dQuality, dMost));
    else if (dQuality > 0) scaled.dQuality = std::min(dQuality, dMost);
    return scaled;
}

namespace {

// The points of the fit's batches, turned as the picture shows them (about the origin: a turn
// about the centre differs from it by a shift only).
std::vector<SPoint> turnedOrbit(const SGenome& genome, uint64_t uSeed) {
    const CChaosGame game(genome);
    const STurn turn = turnOf(genome);
    std::vector<SPoint> vOrbit;
    std::vector<SWorldPoint> vBatch;
    vOrbit.reserve(static_cast<size_t>(iFrameFitBatches) * iBatchSamples);
    SBatchCounts counts;
    for (int iBatch = 0; iBatch < iFrameFitBatches; iBatch++) {
        game.runBatchPoints(uSeed, iBatch, iBatchSamples, vBatch, counts);
        for (const SWorldPoint& point : vBatch)
            vOrbit.push_back({turn.dCos * point.dX - turn.dSin * point.dY,
                              turn.dSin * point.dX + turn.dCos * point.dY});
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
    // The frame's centre back from the turned view: R(−ρ) undoes R(ρ).
    const STurn turn = turnOf(genome);
    SGenome fitted = genome;
    fitted.dCenterX = turn.dCos * frame.dX + turn.dSin * frame.dY;
    fitted.dCenterY = -turn.dSin * frame.dX + turn.dCos * frame.dY;
    fitted.dScale = genome.iWidth / (2 * frame.dHalfWidth) / std::pow(2.0, genome.dZoom);
    return fitted;
}
