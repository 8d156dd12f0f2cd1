#pragma once

// Framing a run on its orbit: the view of where its points are dense, not of its every stray
// point, in the picture's proportions.

#include "base/dense_frame.h"
#include "core/run.h"

#include <vector>

constexpr int iFitIterations = 1000000;  // iterations of the orbit that fit looks at, at most
constexpr int iFitCells = iDenseFrameCells;  // cells a side of the grid it counts them on

// The view of the run's orbit (its own, from its seed) over the first min(N, iFitIterations)
// iterations: the points that stay within the escape bound, counted on a grid of iFitCells x
// iFitCells over their 0.5 % to 99.5 % quantiles on each axis; the bounding box of the cells
// holding at least 1 % of the fullest cell's count; widened by 10 %, then to the picture's
// proportions, about its centre; never narrower than a thousandth of the default view's extent
// (0.002), at which an orbit that is a point or a short cycle is framed about it. An orbit with
// no extent on one axis only gets the default view's extent there; a run of no points, the
// default view.
SView fitView(const SRun& run);

// The same from points of an orbit already worked out, for a picture of that size.
SView viewOfOrbit(const std::vector<SPoint>& vPoints, int iWidth, int iHeight);

// The points of the run's first iIterations iterations that stay within the escape bound.
std::vector<SPoint> orbitOf(const SRun& run, int iIterations);
