#pragma once

// The camera of a genome, both ways: where a world point shows on the picture and which bucket
// of the grid it lands in, and which world point a pixel shows. The picture is the world turned
// by rotate about the centre (clockwise on the screen, whose y points down), scale · 2^zoom
// pixels a world unit, the centre at the picture's middle. The render plots through it, the
// framing keys and the fit move it, and the window zooms about the pointer with it.
//
// Pixel coordinates are as the picture shows them: x from the left edge, y from the top edge,
// in output pixels; pixel (i, j) covers [i, i + 1) × [j, j + 1), so its centre is
// (i + 0.5, j + 0.5).
//
// Before it, the editors' camera in three dimensions takes a point (x, y, z) to the plane: it
// turns it (yaw about z, then pitch about x) about z = cam_zpos, divides by ζ = 1 − P·z′ for
// perspective (the point's depth z′ after the turn), and with depth of field moves it first, in
// a random direction, by up to a tenth of cam_dof times its depth.

#include "core/angles.h"
#include "genome/genome.h"
#include "formulas/batch_random.h"
#include "maths/maths.h"
#include "render/lane_points.h"

#include <cmath>
#include <cstddef>

class CCamera {
public:
    explicit CCamera(const SGenome& genome);

    // The bucket, row after row, that world point (x, y) lands in; false outside the grid. On
    // every sample's path: turned about the centre, then placed, each step as written.
    bool bucketOf(double x, double y, std::size_t& uBucket) const {
        if (bRotate) {
            const double dX = x - dCenterX, dY = y - dCenterY;
            x = dCenterX + (dCos * dX - dSin * dY);
            y = dCenterY + (dSin * dX + dCos * dY);
        }
        const double dColumn = (x - dCenterX) * dBucketsPerUnit + dOffsetX;
        const double dRow = (y - dCenterY) * dBucketsPerUnit + dOffsetY;
        if (!(dColumn >= 0 && dColumn < iGridWidth && dRow >= 0 && dRow < iGridHeight))
            return false;
        uBucket = static_cast<std::size_t>(dRow) * iGridWidth + static_cast<std::size_t>(dColumn);
        return true;
    }
    // For four points at once, on processors with AVX2 (render/lanes.cpp): each one's bucket as
    // bucketOf gives it, and its palette entry, trunc(256·c) clamped to 0 … 255.
    void placeLanes(const SLanePoints& points, SLanePlaces& places) const;
    int gridWidth() const { return iGridWidth; }
    int gridHeight() const { return iGridHeight; }

    // Whether the genome has a camera in three dimensions: cam_pitch, cam_yaw, cam_persp or
    // cam_dof not 0. Where it has none, nothing of z reaches the picture through the camera.
    bool threeD() const { return bThreeD; }

    // World point (x, y) at height z as the 3D camera shows it on the plane; two random draws
    // with depth of field, the angle first.
    void project(double& x, double& y, double z, CBatchRandom& random) const {
        const double t = z - dZpos;
        const double dX = dM00 * x + dM10 * y;
        const double dY = dM01 * x + dM11 * y + dM21 * t;
        const double dZ = dM02 * x + dM12 * y + dM22 * t;
        double dZeta = 1 - dPerspective * dZ;
        if (dZeta == 0) dZeta = 1e-10;  // as Fractorium: far off, rather than NaN
        if (dDofScale == 0) {
            x = dX / dZeta;
            y = dY / dZeta;
            return;
        }
        const double dPsi = 2 * dPI * random.uniform();
        const double dDelta = random.uniform() * dDofScale * blurSpread(dX, dY) * dZ;
        x = (dX + dDelta * maths::cos(dPsi)) / dZeta;
        y = (dY + dDelta * maths::sin(dPsi)) / dZeta;
    }

    // The pixel coordinates of a world point, and the world point at pixel coordinates.
    void pixelOf(double dX, double dY, double& dPixelX, double& dPixelY) const;
    void worldOf(double dPixelX, double dPixelY, double& dX, double& dY) const;

    // A world point turned as the picture shows it, about the origin; and turned back.
    void turn(double& dX, double& dY) const;
    void turnBack(double& dX, double& dY) const;

    // The centre that puts world point (dX, dY) under pixel coordinates (dPixelX, dPixelY),
    // with this camera's scale and turn.
    void centreFor(double dX, double dY, double dPixelX, double dPixelY, double& dCenterX_,
                   double& dCenterY_) const;

private:
    void setThreeD(const SGenome& genome);
    // Fractorium's blur_curve κ: the blur grows as d²/(4κ) with d = 10·√((x/h_x)² + (y/h_y)²),
    // (h_x, h_y) the half sides of the picture in world units; 1 everywhere when κ is 0.
    double blurSpread(double dX, double dY) const {
        if (dBlurCurve == 0) return 1;
        const double dU = dX / dHalfWorldWidth, dV = dY / dHalfWorldHeight;
        const double dD = 10 * std::sqrt(dU * dU + dV * dV);
        return dD * dD / (4 * dBlurCurve);
    }

    double dCenterX, dCenterY;
    bool   bRotate;
    double dCos, dSin;          // of rotate; 1 and 0 when it is 0
    double dPixelsPerUnit;      // scale · 2^zoom
    double dHalfWidth, dHalfHeight;  // of the picture, in pixels
    double dBucketsPerUnit;     // S · scale · 2^zoom
    double dOffsetX, dOffsetY;  // the centre's bucket coordinates: S·W/2 + g, S·H/2 + g
    int    iGridWidth, iGridHeight;
    bool   bThreeD;
    double dM00, dM10, dM01, dM11, dM21, dM02, dM12, dM22;  // the turn, input axis to output
    double dZpos, dPerspective;
    double dDofScale;           // 0.1 · cam_dof
    double dBlurCurve;
    double dHalfWorldWidth, dHalfWorldHeight;
};
