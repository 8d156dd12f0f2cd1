#include "render/camera.h"

#include "core/angles.h"
#include "tone/grid.h"

#include <cmath>

CCamera::CCamera(const SGenome& genome)
    : dCenterX(genome.dCenterX), dCenterY(genome.dCenterY), bRotate(genome.dRotate != 0),
      dCos(std::cos(radiansOf(genome.dRotate))), dSin(std::sin(radiansOf(genome.dRotate))),
      dPixelsPerUnit(genome.dScale * std::pow(2.0, genome.dZoom)),
      dHalfWidth(genome.iWidth / 2.0), dHalfHeight(genome.iHeight / 2.0) {
    const SGridShape grid = gridShapeOf(genome);
    const double dS = genome.iSupersample;
    dBucketsPerUnit = dS * genome.dScale * std::pow(2.0, genome.dZoom);
    dOffsetX = dS * genome.iWidth / 2 + grid.iGutter;
    dOffsetY = dS * genome.iHeight / 2 + grid.iGutter;
    iGridWidth = grid.iWidth;
    iGridHeight = grid.iHeight;
}

void CCamera::pixelOf(double dX, double dY, double& dPixelX, double& dPixelY) const {
    const double dU = dX - dCenterX, dV = dY - dCenterY;
    dPixelX = (dCos * dU - dSin * dV) * dPixelsPerUnit + dHalfWidth;
    dPixelY = (dSin * dU + dCos * dV) * dPixelsPerUnit + dHalfHeight;
}

void CCamera::worldOf(double dPixelX, double dPixelY, double& dX, double& dY) const {
    const double dU = (dPixelX - dHalfWidth) / dPixelsPerUnit;
    const double dV = (dPixelY - dHalfHeight) / dPixelsPerUnit;
    dX = dCenterX + (dCos * dU + dSin * dV);
    dY = dCenterY + (-dSin * dU + dCos * dV);
}

void CCamera::turn(double& dX, double& dY) const {
    const double dU = dX, dV = dY;
    dX = dCos * dU - dSin * dV;
    dY = dSin * dU + dCos * dV;
}

void CCamera::turnBack(double& dX, double& dY) const {
    const double dU = dX, dV = dY;
    dX = dCos * dU + dSin * dV;
    dY = -dSin * dU + dCos * dV;
}

void CCamera::centreFor(double dX, double dY, double dPixelX, double dPixelY, double& dCenterX_,
                        double& dCenterY_) const {
    const double dU = (dPixelX - dHalfWidth) / dPixelsPerUnit;
    const double dV = (dPixelY - dHalfHeight) / dPixelsPerUnit;
    dCenterX_ = dX - (dCos * dU + dSin * dV);
    dCenterY_ = dY - (-dSin * dU + dCos * dV);
}
