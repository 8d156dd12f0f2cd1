#pragma once

// Density estimation: the log-scaled buckets of a histogram, each spread over its neighbours by
// the kernel its density picks, handed out row by row from the top.

#include "tone/density_kernels.h"
#include "tone/histogram.h"
#include "tone/tone_curve.h"

#include <memory>
#include <vector>

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

// Density estimation's kernels for a genome, or null when it is off (radius 0 or = minimum).
std::unique_ptr<CDensityKernels> densityKernelsOf(const SGenome& genome);
