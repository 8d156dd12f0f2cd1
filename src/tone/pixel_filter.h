#pragma once

// A pixel's spatial filter: F × F weights over the buckets around its S × S, and the sums it
// makes of the density-estimated rows.

#include "genome/genome.h"

#include <cstddef>
#include <vector>

struct SPixelFilter {
    int iWidth;                     // F
    std::vector<double> vWeights;   // F × F, row by row
};

// The genome's filter. A JWildfire flame's pixel is its buckets' sum, unweighted: its pictures
// show no more of the kernel its file names than their grain does.
SPixelFilter pixelFilterOf(const SGenome& genome);

// A pixel's four sums: row j of the weights times the F cells (four channels each) from
// pRows[j] + uOffset, for each of the F rows, row by row and left to right. Plain: a channel at
// a time. Wide: the four channels in one register, the same bits, for processors with AVX
// only. filterPixel takes the wide one where the processor has it.
void filterPlain(const SPixelFilter& filter, const double* const* pRows, std::size_t uOffset,
                 double (&dPixel)[4]);
void filterWide(const SPixelFilter& filter, const double* const* pRows, std::size_t uOffset,
                double (&dPixel)[4]);
void filterPixel(const SPixelFilter& filter, const double* const* pRows, std::size_t uOffset,
                 double (&dPixel)[4]);
