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
// a random direction, by up to a tenth of cam_dof times its depth. JWildfire's cam_roll turns it
// about the screen's vertical too: then the turn is JWildfire's, rotate within it (about the
// origin, not the centre), z not moved by cam_zpos, and a point at ζ below 10⁻⁸ not shown.

#include "base/angles.h"
#include "formulas/lane_random.h"
#include "genome/genome.h"
#include "maths/maths.h"
#include "maths/numbers.h"

#include <cmath>
#include <cstddef>
#include <limits>

// Where a point lands on the grid, of one point or of four lanes: its column and row (0 outside
// the grid), whether it is inside, and its palette entry, trunc(256·c) clamped to 0 … 255.
template <class T>
struct SGridPlace {
    maths::TIntOf<T> iColumn, iRow, iEntry;
    maths::TMaskOf<T> bInside;
};

// Lane i of a place of four.
inline SGridPlace<double> laneOf(const SGridPlace<maths::lanes::V>& place, int i) {
    return {maths::laneOf(place.iColumn, i), maths::laneOf(place.iRow, i),
            maths::laneOf(place.iEntry, i), maths::laneOf(place.bInside, i)};
}

class CCamera {
public:
    explicit CCamera(const SGenome& genome);

    // Where world point (x, y) of colour c lands on the grid, of one point or of four lanes: on
    // every sample's path. Turned about the centre, then placed, each step as written.
    template <class T>
    SGridPlace<T> placeOnGrid(T x, T y, T c) const {
        if (bRotate) {
            const T dX = x - dCenterX, dY = y - dCenterY;
            x = dCenterX + (dCos * dX - dSin * dY);
            y = dCenterY + (dSin * dX + dCos * dY);
        }
        const T dColumn = (x - dCenterX) * dBucketsPerUnit + dOffsetX;
        const T dRow = (y - dCenterY) * dBucketsPerUnit + dOffsetY;
        SGridPlace<T> place;
        place.bInside = dColumn >= 0 && dColumn < iGridWidth && dRow >= 0 && dRow < iGridHeight;
        place.iColumn = maths::truncatedToInt(place.bInside ? dColumn : 0.0);
        place.iRow = maths::truncatedToInt(place.bInside ? dRow : 0.0);
        // trunc(256·c) (255·c for JWildfire's): 0 below 0 and for NaN, 255 from 255 on
        const T dIndex = dPaletteEntries * c;
        const T dAbove = dIndex > 0 ? dIndex : 0.0;
        place.iEntry = maths::truncatedToInt(dAbove >= 255 ? 255.0 : dAbove);
        return place;
    }
    // The bucket, row after row, that world point (x, y) lands in; false outside the grid.
    bool bucketOf(double x, double y, std::size_t& uBucket) const {
        const SGridPlace<double> place = placeOnGrid(x, y, 0.0);
        uBucket = bucketAt(place);
        return place.bInside;
    }
    std::size_t bucketAt(const SGridPlace<double>& place) const {
        return static_cast<std::size_t>(place.iRow) * iGridWidth +
               static_cast<std::size_t>(place.iColumn);
    }
    int gridWidth() const { return iGridWidth; }
    int gridHeight() const { return iGridHeight; }

    // Whether the genome has a camera in three dimensions: cam_pitch, cam_yaw, cam_persp or
    // cam_dof not 0. Where it has none, nothing of z reaches the picture through the camera.
    bool threeD() const { return bThreeD; }

    // World point (x, y) at height z as the 3D camera shows it on the plane, of one point or of
    // four lanes; two random draws with depth of field, the angle first.
    template <class T>
    void project(T& x, T& y, T z, TRandomOf<T>& random) const {
        T dX, dY, dZ, dZeta;
        if (bRolled) {
            dX = dM00 * x + dM10 * y + dM20 * z;
            dY = dM01 * x + dM11 * y + dM21 * z;
            dZ = dM02 * x + dM12 * y + dM22 * z;
            const T dDepth = 1 - dPerspective * dZ;
            dZeta = dDepth < 1e-8 ? T{} + std::numeric_limits<double>::quiet_NaN() : dDepth;
        } else {
            const T t = z - dZpos;
            dX = dM00 * x + dM10 * y;
            dY = dM01 * x + dM11 * y + dM21 * t;
            dZ = dM02 * x + dM12 * y + dM22 * t;
            const T dDepth = 1 - dPerspective * dZ;
            dZeta = dDepth == 0 ? 1e-10 : dDepth;  // as Fractorium: far off, rather than NaN
        }
        if (dDofScale == 0) {
            x = dX / dZeta;
            y = dY / dZeta;
            return;
        }
        const T dPsi = 2 * dPI * random.uniform();
        const T dDelta = random.uniform() * dDofScale * blurSpread(dX, dY) * dZ;
        const maths::SSinCos<T> sc = maths::sinCos(dPsi);
        x = (dX + dDelta * sc.dCos) / dZeta;
        y = (dY + dDelta * sc.dSin) / dZeta;
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
    void setRolled(const SGenome& genome);
    // Fractorium's blur_curve κ: the blur grows as d²/(4κ) with d = 10·√((x/h_x)² + (y/h_y)²),
    // (h_x, h_y) the half sides of the picture in world units; 1 everywhere when κ is 0.
    template <class T>
    T blurSpread(T dX, T dY) const {
        if (dBlurCurve == 0) return T{} + 1;
        const T dU = dX / dHalfWorldWidth, dV = dY / dHalfWorldHeight;
        const T dD = 10 * maths::sqrt(dU * dU + dV * dV);
        return dD * dD / (4 * dBlurCurve);
    }

    double dCenterX, dCenterY;
    bool   bRotate;
    double dCos, dSin;          // of rotate; 1 and 0 when it is 0
    double dPixelsPerUnit;      // scale · 2^zoom
    double dHalfWidth, dHalfHeight;  // of the picture, in pixels
    double dBucketsPerUnit;     // S · scale · 2^zoom
    double dOffsetX, dOffsetY;  // the centre's bucket coordinates: S·W/2 + g, S·H/2 + g
    double dPaletteEntries;     // c times it, truncated, picks the palette entry
    int    iGridWidth, iGridHeight;
    bool   bThreeD;
    bool   bRolled;             // JWildfire's turn, with cam_roll
    double dM00, dM10, dM20, dM01, dM11, dM21, dM02, dM12, dM22;  // the turn, input to output
    double dZpos, dPerspective;
    double dDofScale;           // 0.1 · cam_dof
    double dBlurCurve;
    double dHalfWorldWidth, dHalfWorldHeight;
};
