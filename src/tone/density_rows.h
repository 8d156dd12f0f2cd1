#pragma once

// Density estimation: the log-scaled buckets of a histogram, each spread over its neighbours by
// the kernel its density picks, handed out row by row from the top.

#include "tone/density_kernels.h"
#include "tone/density_spread.h"
#include "tone/histogram.h"
#include "tone/tone_curve.h"

#include <memory>
#include <vector>

// Rows of log-scaled buckets, spread by the density kernels when there are any: 4 doubles a
// bucket, row after row from the top, each complete once handed out. Holds its own window of
// 2·N_h + iScatterRows · iScatterBlocks rows. Density estimation scatters iScatterRows rows at a
// time. Where a window bucket's sums come from is laid out by the grid alone, in column segments
// each at least 2·N_h + 1 wide, so that a bucket takes sums from one even and one odd segment at
// most: first the even one's, then the odd one's, each in the order of its buckets. The window's
// columns are shared out in strips, one thread a strip, each strip taking its sums in that
// order: every bucket's sum is made the same way whatever the number of threads.
constexpr int iScatterRows = 8;
constexpr int iScatterBlocks = 4;  // of iScatterRows rows, scattered by one call of the threads

class CDensityRows {
public:
    CDensityRows(const CHistogram& histogram, SLogScale scale, const CDensityKernels* pKernels,
                 int iSupersample, int iThreads = 1);
    CDensityRows(const CDensityRows&) = delete;  // its window pointer points into itself
    CDensityRows& operator=(const CDensityRows&) = delete;
    int rowsOut() const { return iNextOut; }
    bool done() const { return iNextOut == histogram.height(); }
    const double* nextRow();  // valid until the next call

private:
    void scatterRows(int iFirstRow, int iEndRow);
    void scatterSegment(int iFirstRow, int iEndRow, int iFirstColumn, int iEndColumn,
                        int iFirstTarget, int iEndTarget);
    double densityAt(int iColumn, int iRow) const;
    double* windowRow(int iRow) {
        const size_t uRowDoubles = static_cast<size_t>(histogram.width()) * 4;
        return pWindow + windowRowOffset(iRow, iWindowRows, uRowDoubles);
    }

    const CHistogram& histogram;
    SLogScale scale;
    const CDensityKernels* pKernels;
    int iSupersample;
    int iReach;          // the widest kernel's reach, 0 without density estimation
    int iWindowRows;
    int iThreads;
    int iSegmentWidth;   // columns; at least 2·reach + 1
    int iStrips;         // of the window's columns, each filled by one thread
    int iNextScatter = 0, iNextOut = 0;
    std::vector<double> vWindow;
    double* pWindow;  // in vWindow, on 32 bytes: a bucket's four channels in one cache line
    std::vector<double> vOut;
};

// Density estimation's kernels for a genome, or null when it is off (radius 0 or = minimum);
// and how far its widest kernel reaches, 0 when it is off.
std::unique_ptr<CDensityKernels> densityKernelsOf(const SGenome& genome);
int densityReachOf(const SGenome& genome);
