#pragma once

// From bucket sums to a picture, as flam3 tone-maps: each bucket log-scaled, spread by density
// estimation, the grid filtered down to pixels, the tone curve applied, and 8 bits truncated.
// Streamed over a window of bucket rows, top to bottom, so that a picture costs its buckets and
// the rows in flight, never a second copy of the grid.

#include "genome/genome.h"
#include "tone/density_rows.h"
#include "tone/tone_curve.h"

#include <functional>
#include <vector>

using FPictureRow = std::function<void(int iRow, const unsigned char* pRgb)>;
using FTonedRow = std::function<void(int iRow, const STonedPixel* pPixels)>;

// What a picture is made of: this pass's buckets and the log-scaled sums of passes done before
// (either may be missing), both multiplied by dScale. Both may hold a band of the grid's rows
// only, from iFirstRow, enough for the rows of the picture asked for (bucketRowsFor).
struct SPictureSource {
    const CHistogram* pHistogram = nullptr;
    SLogScale scale = {0, 0};
    const CDensityKernels* pKernels = nullptr;
    const std::vector<float>* pAccumulated = nullptr;  // 4 floats a bucket, the grid's size
    double dScale = 1;
    int iFirstRow = 0;  // the grid's row that the buckets' and the sums' first row is
    int iThreads = 1;  // for density estimation, the filter and the tone curve
    std::function<bool()> stopped;  // if given, checked every few rows: true ends the picture
};

// The picture's rows, top first, each W × 3 bytes of red, green and blue, to onRow. False when
// stopped ended it before the last row. Or only the rows pixelRows of it, numbered as in the
// whole picture.
bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow);
bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow,
                  SRows pixelRows);
// The same rows as the tone curve leaves them, W pixels each, before they are given levels:
// opaque, or transparent as bTransparent says. Only the rows pixelRows, as writePicture's.
bool writeTonedPicture(const SGenome& genome, const SPictureSource& source, bool bTransparent,
                       const FTonedRow& onRow, SRows pixelRows);
