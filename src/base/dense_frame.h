#pragma once

// Where the points of an orbit are dense: the frame that fitting a picture to its orbit takes,
// for a pattern's view and a genome's camera alike, not the frame of its every stray point.

#include "base/point.h"

#include <vector>

constexpr int iDenseFrameCells = 256;  // cells a side of the grid the points are counted on
constexpr double dLeastFrameWidth = 0.002;  // a thousandth of the default view's extent

// A centre and a half extent on each axis.
struct SFrame {
    double dX, dY, dHalfWidth, dHalfHeight;
};

// The points (at least one) counted on a grid of iDenseFrameCells x iDenseFrameCells over their
// 0.5 % to 99.5 % quantiles on each axis; the box of the cells that hold at least 1 % of the
// fullest cell's count, widened by 10 %; never narrower than dLeastFrameWidth, so that an orbit
// that is a point or a short cycle is framed about it at that width (an axis with no extent
// beside one with some gets the default view's, 2); then as wide against its height as dAspect.
SFrame denseFrameOf(const std::vector<SPoint>& vPoints, double dAspect);

// The frame made as wide against its height as dAspect, about its centre.
SFrame proportioned(SFrame frame, double dAspect);
