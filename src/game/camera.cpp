#include "game/camera.h"

#include "base/angles.h"
#include "maths/maths.h"
#include "tone/grid.h"

#include <cmath>

CCamera::CCamera(const SGenome& genome)
    : dCenterX(genome.dCenterX), dCenterY(genome.dCenterY), bRotate(genome.dRotate != 0),
      dCos(maths::cos(radiansOf(genome.dRotate))), dSin(maths::sin(radiansOf(genome.dRotate))),
      dPixelsPerUnit(genome.dScale * maths::pow(2.0, genome.dZoom)),
      dHalfWidth(genome.iWidth / 2.0), dHalfHeight(genome.iHeight / 2.0) {
    const SGridShape grid = gridShapeOf(genome);
    const double dS = genome.iSupersample;
    dBucketsPerUnit = dS * genome.dScale * maths::pow(2.0, genome.dZoom);
    dOffsetX = dS * genome.iWidth / 2 + grid.iGutter;
    dOffsetY = dS * genome.iHeight / 2 + grid.iGutter;
    // JWildfire's pictures lie half a bucket up and left of flam3's, and take a colour c to
    // palette entry trunc(255·c) rather than trunc(256·c).
    const bool bJwildfire = genome.eToneStyle == eToneJwildfire;
    if (bJwildfire) dOffsetX -= 0.5, dOffsetY -= 0.5;
    dPaletteEntries = bJwildfire ? 255 : 256;
    iGridWidth = grid.iWidth;
    iGridHeight = grid.iHeight;
    setThreeD(genome);
}

// The 3D camera's turn: by the yaw about z, then by the pitch about x, written out.
void CCamera::setThreeD(const SGenome& genome) {
    bThreeD = genome.dCamPitch != 0 || genome.dCamYaw != 0 || genome.dCamPerspective != 0 ||
              genome.dCamDof != 0 || genome.dCamRoll != 0;
    bRolled = genome.dCamRoll != 0;
    dM20 = 0;
    const double dSinP = maths::sin(genome.dCamPitch), dCosP = maths::cos(genome.dCamPitch);
    const double dSinY = maths::sin(genome.dCamYaw), dCosY = maths::cos(genome.dCamYaw);
    dM00 = dCosY, dM10 = dSinY;
    dM01 = -dCosP * dSinY, dM11 = dCosP * dCosY, dM21 = -dSinP;
    dM02 = -dSinP * dSinY, dM12 = dSinP * dCosY, dM22 = dCosP;
    dZpos = genome.dCamZpos;
    dPerspective = genome.dCamPerspective;
    dDofScale = 0.1 * genome.dCamDof;
    dBlurCurve = genome.dBlurCurve;
    dHalfWorldWidth = dHalfWidth / dPixelsPerUnit;
    dHalfWorldHeight = dHalfHeight / dPixelsPerUnit;
    if (bRolled) setRolled(genome);
}

// JWildfire's turn of pitch p, yaw Y = −cam_yaw, roll b and rotate ρ, written out; the picture
// is then not turned again.
void CCamera::setRolled(const SGenome& genome) {
    const double dSp = maths::sin(genome.dCamPitch), dCp = maths::cos(genome.dCamPitch);
    const double dSy = maths::sin(-genome.dCamYaw), dCy = maths::cos(-genome.dCamYaw);
    const double dSb = maths::sin(genome.dCamRoll), dCb = maths::cos(genome.dCamRoll);
    const double dRho = radiansOf(genome.dRotate);
    const double dSr = maths::sin(dRho), dCr = maths::cos(dRho);
    const double dU = dSp * dSb * dSr - dCb * dCr, dV = dCr * dSp * dSb + dCb * dSr;
    dM00 = -dCp * dSr * dSy - dU * dCy;
    dM10 = -dCp * dCy * dSr + dU * dSy;
    dM20 = dCb * dSp * dSr + dCr * dSb;
    dM01 = dCp * dCr * dSy + dV * dCy;
    dM11 = dCp * dCr * dCy - dV * dSy;
    dM21 = -dCb * dCr * dSp + dSb * dSr;
    dM02 = -dCp * dCy * dSb + dSp * dSy;
    dM12 = dCp * dSb * dSy + dCy * dSp;
    dM22 = dCp * dCb;
    bRotate = false, dCos = 1, dSin = 0;
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
