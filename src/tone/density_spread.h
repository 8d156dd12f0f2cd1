#pragma once

// One bucket's log-scaled values spread by its density kernel into the rows of density
// estimation's window: the loop that is most of density estimation's time, where the kernels of
// sparse buckets at a supersample reach thousands of cells.

#include "tone/density_kernels.h"

#include <cstddef>

// Where grid row iRow sits in the window, which holds iWindowRows rows of uRowDoubles each and
// reuses them in turn.
inline std::size_t windowRowOffset(int iRow, int iWindowRows, std::size_t uRowDoubles) {
    return static_cast<std::size_t>(iRow % iWindowRows) * uRowDoubles;
}

// One bucket's kernel, and the offsets from the bucket that are in the grid and in the strip.
struct SSpread {
    const SDensityKernel* pKernel;
    int iFirstDx, iLastDx, iFirstDy, iLastDy;
};

// Each cell's channels += weight · value, row by row and left to right, around pCentre (the
// bucket's column in the window's first row; the window holds iWindowRows rows of uRowDoubles,
// row r at r mod iWindowRows). Plain: a channel at a time. Wide: the four channels in one
// register, the same products and sums bit for bit (no fused multiply-add), for processors with
// AVX only (tone/four_channels.h). spreadBucket takes the wide one where the processor has it.
void spreadPlain(const SSpread& spread, const double (&dValue)[4], double* pCentre,
                 std::size_t uRowDoubles, int iRow, int iWindowRows);
void spreadWide(const SSpread& spread, const double (&dValue)[4], double* pCentre,
                std::size_t uRowDoubles, int iRow, int iWindowRows);
void spreadBucket(const SSpread& spread, const double (&dValue)[4], double* pCentre,
                  std::size_t uRowDoubles, int iRow, int iWindowRows);
