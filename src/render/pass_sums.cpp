#include "render/pass_sums.h"

void CPassSums::beginAdding(const CHistogram& histogram, SLogScale scale,
                            const CDensityKernels* pKernels, int iSupersample, int iThreads) {
    iRowValues = histogram.width() * 4;
    if (vSums.empty())
        vSums.assign(static_cast<size_t>(histogram.width()) * histogram.height() * 4, 0.0f);
    pAdding = std::make_unique<CDensityRows>(histogram, scale, pKernels, iSupersample, iThreads);
}

bool CPassSums::continueAdding(std::chrono::steady_clock::time_point until,
                               const std::atomic<bool>* pStop) {
    const size_t uRowValues = static_cast<size_t>(iRowValues);
    while (!pAdding->done()) {
        if (pStop && (*pStop || std::chrono::steady_clock::now() >= until)) return false;
        const size_t uRow = static_cast<size_t>(pAdding->rowsOut());
        const double* pRow = pAdding->nextRow();
        float* pSum = &vSums[uRow * uRowValues];
        for (size_t k = 0; k < uRowValues; k++) pSum[k] += static_cast<float>(pRow[k]);
    }
    pAdding.reset();
    return true;
}
