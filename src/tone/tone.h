#pragma once

// From bucket sums to a picture, as flam3 tone-maps: each bucket log-scaled, spread by density
// estimation, the grid filtered down to pixels, the tone curve applied, and 8 bits truncated.
// Streamed over a window of bucket rows, top to bottom, so that a picture costs its buckets and
// the rows in flight, never a second copy of the grid.

#include "genome/filter.h"
#include "genome/genome.h"
#include "tone/histogram.h"

#include <functional>
#include <memory>
#include <vector>

constexpr int iToneChannels = 4;  // red, green, blue, alpha

// Log scaling of a bucket with sums (r, g, b, a) in flam3's units: L·(r, g, b, a) with
// L = k1·ln(1 + k2·a)/a.
struct SLogScale {
    double dK1, dK2;
};
// For one of the genome's passes, as if it had run dSamplesShare of its samples at dQuality:
// the share scales k2 so that a render still growing is as bright as the finished one.
SLogScale logScaleOf(const SGenome& genome, double dQuality, double dSamplesShare);

// The tone curve: filtered (R, G, B, A) of a pixel to its 8-bit red, green and blue.
struct SToneCurve {
    double dInverseGamma, dThreshold, dVibrancy, dHighlightPower;
    double dBackground[3];
    void pixel(const double* pValue, unsigned char* pRgb) const;
};
SToneCurve toneCurveOf(const SGenome& genome);

// Rows of log-scaled buckets, spread by the density kernels when there are any: 4 doubles a
// bucket, row after row from the top, each complete once handed out. Holds its own window of
// 2·N_h + iScatterRows rows. Density estimation scatters iScatterRows rows at a time, in column
// segments laid out by the grid alone, each at least 2·N_h + 1 wide: the even ones (on
// iThreads threads), then the odd ones. No two segments of one parity reach the same bucket, so
// every bucket's sum is made in one fixed order, whatever the number of threads.
constexpr int iScatterRows = 8;

class CDensityRows {
public:
    CDensityRows(const CHistogram& histogram, SLogScale scale, const CDensityKernels* pKernels,
                 int iSupersample, int iThreads = 1);
    int rowsOut() const { return iNextOut; }
    bool done() const { return iNextOut == histogram.height(); }
    const double* nextRow();  // valid until the next call

private:
    void scatterRows(int iFirstRow, int iEndRow);
    void scatterSegment(int iFirstRow, int iEndRow, int iFirstColumn, int iEndColumn);
    double densityAt(int iColumn, int iRow) const;
    double* windowRow(int iRow) {
        return &vWindow[static_cast<size_t>(iRow % iWindowRows) * histogram.width() * 4];
    }

    const CHistogram& histogram;
    SLogScale scale;
    const CDensityKernels* pKernels;
    int iSupersample;
    int iReach;          // the widest kernel's reach, 0 without density estimation
    int iWindowRows;
    int iThreads;
    int iSegmentWidth;   // columns; at least 2·reach + 1
    int iNextScatter = 0, iNextOut = 0;
    std::vector<double> vWindow;
    std::vector<double> vOut;
};

// Runs task(0) to task(iTasks − 1) on up to iThreads threads (the caller's among them), each
// task once, and returns when all are done.
void inParallel(int iThreads, int iTasks, const std::function<void(int)>& task);

// Density estimation's kernels for a genome, or null when it is off (radius 0 or = minimum).
std::unique_ptr<CDensityKernels> densityKernelsOf(const SGenome& genome);

using FPictureRow = std::function<void(int iRow, const unsigned char* pRgb)>;

// What a picture is made of: this pass's buckets and the log-scaled sums of passes done before
// (either may be missing), both multiplied by dScale.
struct SPictureSource {
    const CHistogram* pHistogram = nullptr;
    SLogScale scale = {0, 0};
    const CDensityKernels* pKernels = nullptr;
    const std::vector<float>* pAccumulated = nullptr;  // 4 floats a bucket, the grid's size
    double dScale = 1;
    int iThreads = 1;  // for density estimation, the filter and the tone curve
    std::function<bool()> stopped;  // if given, checked every few rows: true ends the picture
};

// The picture's rows, top first, each W × 3 bytes of red, green and blue, to onRow. False when
// stopped ended it before the last row.
bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow);
