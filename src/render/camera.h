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

#include "genome/genome.h"

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
    int gridWidth() const { return iGridWidth; }
    int gridHeight() const { return iGridHeight; }

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
    double dCenterX, dCenterY;
    bool   bRotate;
    double dCos, dSin;          // of rotate; 1 and 0 when it is 0
    double dPixelsPerUnit;      // scale · 2^zoom
    double dHalfWidth, dHalfHeight;  // of the picture, in pixels
    double dBucketsPerUnit;     // S · scale · 2^zoom
    double dOffsetX, dOffsetY;  // the centre's bucket coordinates: S·W/2 + g, S·H/2 + g
    int    iGridWidth, iGridHeight;
};
