#pragma once

// The sums of a render's passes done: each finished pass log-scaled, spread by density
// estimation and added in, row by row, so that a window can go on between rows; the pass being
// added is finished first when a picture is asked for.

#include "tone/density_kernels.h"
#include "tone/density_rows.h"
#include "tone/histogram.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

class CPassSums {
public:
    // Whether a pass is being added.
    bool adding() const { return pAdding != nullptr; }
    // Starts adding the pass in histogram, which must stay as it is until it is in.
    void beginAdding(const CHistogram& histogram, SLogScale scale, const CDensityKernels* pKernels,
                     int iSupersample, int iThreads);
    // Adds rows of it until until or a stop (where pStop is given and set); true once it is all in.
    bool continueAdding(std::chrono::steady_clock::time_point until,
                        const std::atomic<bool>* pStop);
    const std::vector<float>& sums() const { return vSums; }  // 4 floats a bucket

private:
    std::vector<float> vSums;
    std::unique_ptr<CDensityRows> pAdding;
    int iRowValues = 0;
};
