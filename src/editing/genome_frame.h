#pragma once

// Framing a genome: its camera zoomed, moved, turned or fitted to its orbit, and its quality
// stepped, as the window's keys and mouse do. Each gives a new genome that keeps the size and
// everything else of the old one. Pixel coordinates are the camera's (render/camera.h).

#include "base/dense_frame.h"
#include "genome/genome.h"

#include <cstdint>

constexpr int iFrameFitBatches = 10;  // batches of the chaos game that a fit looks at
constexpr double dLeastFitWidth = dLeastFrameWidth;  // world units: the narrowest a fit gives

// Scale × dFactor (> 0) about the centre: 2 shows half as much of the world, 0.5 twice as much.
SGenome zoomedGenome(const SGenome& genome, double dFactor);

// Scale × dFactor about the world point under (dPixelX, dPixelY), which stays under it.
SGenome zoomedAbout(const SGenome& genome, double dPixelX, double dPixelY, double dFactor);

// The centre moved dRight of the picture's width to the right and dDown of its height down, as
// the picture shows them (rotated with it): what stood at the picture's centre moves left by
// dRight of the width and up by dDown of the height.
SGenome movedGenome(const SGenome& genome, double dRight, double dDown);

// Rotate + dDegrees, wrapped into (−180, 180]: a positive turn turns the picture clockwise on
// screen, about its centre.
SGenome rotatedGenome(const SGenome& genome, double dDegrees);

// The centre and scale framing where the orbit is dense, as the picture shows it (rotate kept,
// and the box fitted in the rotated view, so that the turned picture is the one framed; zoom
// kept, the scale chosen so that scale · 2^zoom frames it). The orbit: the points of the first
// iFrameFitBatches batches of the render seeded uSeed, where they would be plotted, in world
// coordinates. They are counted on an iDenseFrameCells² grid (base/dense_frame.h) over their 0.5 % to
// 99.5 % quantiles on each axis; the box of the cells that hold at least 1 % of the fullest
// cell's count is widened by 10 %, then to the picture's proportions about its centre, and is
// never narrower than dLeastFitWidth (an orbit that is a point is framed about it at that
// width; one with no extent on one axis only gets the extent 2 there). A genome whose orbit
// gives no point at all, or that checkGenome refuses, comes back as it is.
SGenome fittedGenome(const SGenome& genome, uint64_t uSeed);

// Quality × 10 (bTenTimes) or ÷ 10, kept within [dLeastSteppedQuality, dMostQuality] and below
// dMostSamples samples; a step that would leave the range stops at its edge, or is not taken
// (a quality below the least, as a file may give it, is not stepped down further).
constexpr double dLeastSteppedQuality = 1;  // as the command line's least
SGenome qualityScaled(const SGenome& genome, bool bTenTimes);
