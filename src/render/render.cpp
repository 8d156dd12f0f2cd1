#include "render/render.h"

#include "genome/genome_check.h"
#include "tone/grid.h"
#include "workers/worker_pool.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unistd.h>

using std::chrono::steady_clock;

namespace {

std::string noMemoryFor(const SGenome& genome) {
    return "not enough memory for the buckets of a " + std::to_string(genome.iWidth) + " × " +
           std::to_string(genome.iHeight) + " picture at supersample " +
           std::to_string(genome.iSupersample);
}

// A grid larger than the machine could be granted (Linux promises memory it may not have)
// and then end the process as its pages are filled: refused first.
bool fitsInMemory(const SGridShape& grid) {
    const double dBytes = static_cast<double>(grid.iWidth) * grid.iHeight * sizeof(SBucket);
    return dBytes <= static_cast<double>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
}

}  // namespace

int64_t passSamplesOf(const SGenome& genome) {
    const double dSamples = genome.dQuality * std::pow(4.0, genome.dZoom) * genome.iWidth *
                            genome.iHeight;
    return std::max<int64_t>(1, std::llround(dSamples / genome.iPasses));
}

CGenomeRender::CGenomeRender(const SGenome& genome_, uint64_t uSeed_, int iThreads_,
                             double dQuality_)
    : genome(genome_), uSeed(uSeed_), iThreads(std::max(1, iThreads_)),
      dQuality(dQuality_ > 0 ? dQuality_ : genome_.dQuality) {
    genome.dQuality = dQuality;
    if (!checkGenome(genome, sError)) {
        iPass = genome.iPasses;
        return;
    }
    iPassSamples = passSamplesOf(genome);
    iPassBatches = (iPassSamples + iBatchSamples - 1) / iBatchSamples;
    const SGridShape grid = gridShapeOf(genome);
    try {
        if (!fitsInMemory(grid)) throw std::bad_alloc();
        pGame = std::make_unique<CChaosGame>(genome);
        pHistogram = std::make_unique<CHistogram>(grid.iWidth, grid.iHeight);
        pKernels = densityKernelsOf(genome);
        // A worker alone never finds the histogram taken: its spare pair would go unused.
        vWorkers.resize(iThreads);
        for (SWorker& worker : vWorkers)
            for (int k = 0; k < (iThreads > 1 ? 4 : 2); k++)
                worker.vPlots[k].resize(iBatchSamples);
    } catch (const std::bad_alloc&) {
        sError = noMemoryFor(genome);
        iPass = genome.iPasses;
    }
}

int64_t CGenomeRender::batchEnd() const {
    if (iSampleLimit < 0) return iPassBatches;
    const int64_t iLeft = iSampleLimit - iPass * iPassSamples;
    return std::clamp<int64_t>((iLeft + iBatchSamples - 1) / iBatchSamples, 0, iPassBatches);
}

int CGenomeRender::samplesOfBatch(int64_t iBatch) const {
    return static_cast<int>(std::min<int64_t>(iBatchSamples,
                                              iPassSamples - iBatch * iBatchSamples));
}

// Claims the next two batches of the pass, or those left, for pair iPair of the worker's jobs;
// returns how many. Batches are numbered through the whole render: pass p's batch k is
// p·batches + k.
int CGenomeRender::claimPair(SWorker& worker, int iPair) {
    int iJobs = 0;
    for (; iJobs < 2; iJobs++) {
        const int64_t iBatch = iNextBatch++;
        if (iBatch >= batchEnd()) break;
        const int k = 2 * iPair + iJobs;
        worker.jobs[k] = {static_cast<uint64_t>(iPass * iPassBatches + iBatch),
                          samplesOfBatch(iBatch), &worker.vPlots[k], 0, 0};
    }
    return iJobs;
}

// The worker's plots that wait, into the histogram: if no other worker is adding, or else if
// bWait (the worker has no spare pair to run meanwhile) once that one is done.
void CGenomeRender::addWaiting(SWorker& worker, bool bWait) {
    if (worker.iWaiting[0] + worker.iWaiting[1] == 0) return;
    std::unique_lock<std::mutex> lock(histogramMutex, std::defer_lock);
    if (bWait) lock.lock();
    else if (!lock.try_lock()) return;
    for (int iPair = 0; iPair < 2; iPair++) {
        for (int k = 2 * iPair; k < 2 * iPair + worker.iWaiting[iPair]; k++)
            pHistogram->add(worker.vPlots[k].data(), static_cast<size_t>(worker.jobs[k].iPlots));
        worker.iWaiting[iPair] = 0;
    }
}

// A worker's share of a slice: pairs of batches until the deadline, one pair at least however
// short the slice, and every plot added before it returns.
void CGenomeRender::runWorker(SWorker& worker, steady_clock::time_point until) {
    for (bool bFirst = true;; bFirst = false) {
        if (bStop || (!bFirst && steady_clock::now() >= until)) break;
        // Pair 0 unless its plots still wait: the same memory each time, warm in the cache.
        const int iPair = worker.iWaiting[0] > 0 ? 1 : 0;
        const int iJobs = claimPair(worker, iPair);
        if (iJobs == 0) break;
        SBatchJob* pJobs = &worker.jobs[2 * iPair];
        pGame->runBatches(uSeed, pJobs, iJobs);
        for (int k = 0; k < iJobs; k++) iBadValues += pJobs[k].iBadValues;
        worker.iWaiting[iPair] = iJobs;
        // Waits where no spare pair is free to run meanwhile; a worker alone has none, and
        // try_lock may fail even for it, spuriously.
        addWaiting(worker, worker.vPlots[2].empty() || worker.iWaiting[1 - iPair] > 0);
        if (iJobs < 2) break;
    }
    addWaiting(worker, true);
}

// One slice on every worker, the caller's thread among them; true when the pass has batches
// left.
bool CGenomeRender::runSlice(steady_clock::time_point until) {
    CWorkerPool::shared().forEach(iThreads, iThreads,
                                  [&](int iWorker) { runWorker(vWorkers[iWorker], until); });
    // A batch claimed past the last is not run: the count of those run is capped.
    if (iNextBatch > batchEnd()) iNextBatch = batchEnd();
    return iNextBatch < batchEnd();
}

// Adds a finished pass, log-scaled and spread, into the sums of the passes done, row by row
// until the deadline or a stop (if bStoppable); true once it is all in and the next pass can
// start.
bool CGenomeRender::finishPass(steady_clock::time_point until, bool bStoppable) {
    if (vAccumulated.empty())
        vAccumulated.assign(static_cast<size_t>(pHistogram->width()) * pHistogram->height() * 4,
                            0.0f);
    if (!pFinishing)
        pFinishing = std::make_unique<CDensityRows>(*pHistogram, logScaleOf(genome, dQuality, 1),
                                                    pKernels.get(), genome.iSupersample,
                                                    iThreads);
    const size_t uRowValues = static_cast<size_t>(pHistogram->width()) * 4;
    while (!pFinishing->done()) {
        if (bStoppable && (bStop || steady_clock::now() >= until)) return false;
        const size_t uRow = static_cast<size_t>(pFinishing->rowsOut());
        const double* pRow = pFinishing->nextRow();
        float* pSum = &vAccumulated[uRow * uRowValues];
        for (size_t k = 0; k < uRowValues; k++) pSum[k] += static_cast<float>(pRow[k]);
    }
    pFinishing.reset();
    pHistogram->clear();
    iNextBatch = 0;
    iPass++;
    return true;
}

bool CGenomeRender::continueRender(std::chrono::milliseconds budget) {
    const steady_clock::time_point until = steady_clock::now() + budget;
    bool bFirst = true;
    while (!done() && !limitReached() && !bStop && (bFirst || steady_clock::now() < until)) {
        bFirst = false;
        if (iNextBatch < iPassBatches) {
            runSlice(until);
        } else if (iPass + 1 == genome.iPasses) {
            iPass++;  // the last pass stays in the histogram: the picture reads it from there
            // The plot buffers go before the picture is made, which a poster's peak memory is.
            std::vector<SWorker>().swap(vWorkers);
        } else {
            finishPass(until, true);
        }
    }
    return !done() && !limitReached();
}

int64_t CGenomeRender::samplesDone() const {
    if (done()) return samplesTotal();
    const int64_t iBatches = std::min<int64_t>(iNextBatch, iPassBatches);
    const int64_t iInPass = std::min<int64_t>(iPassSamples, iBatches * iBatchSamples);
    return iPass * iPassSamples + iInPass;
}

double CGenomeRender::shareDone() const {
    return samplesTotal() > 0 ? static_cast<double>(samplesDone()) / samplesTotal() : 1;
}

double CGenomeRender::badValueRate() const {
    const int64_t iSamples = samplesDone();
    return iSamples > 0 ? static_cast<double>(iBadValues) / iSamples : 0;
}

bool CGenomeRender::writeImage(const FPictureRow& onRow) {
    if (!sError.empty()) return false;
    // A pass whose batches have all run is added to the passes done first, however far its
    // adding had come: a picture depends on the samples done alone, not on when it is made.
    if (pFinishing || (iNextBatch >= iPassBatches && iPass + 1 < genome.iPasses))
        finishPass(steady_clock::time_point::max(), false);
    // The passes done, and this one scaled up from the share of it run so far; together
    // weighted as passes/(passes shown), as if every pass were like them.
    const int iLastPass = std::min(iPass, genome.iPasses - 1);
    const int64_t iInPass = samplesDone() - iLastPass * iPassSamples;
    const double dShare = static_cast<double>(iInPass) / iPassSamples;
    SPictureSource source;
    const int iShown = iLastPass + (dShare > 0 ? 1 : 0);
    source.dScale = iShown > 0 ? static_cast<double>(genome.iPasses) / iShown : 1;
    if (dShare > 0) {
        source.pHistogram = pHistogram.get();
        source.scale = logScaleOf(genome, dQuality, dShare);
        source.pKernels = pKernels.get();
    }
    if (iLastPass > 0) source.pAccumulated = &vAccumulated;
    source.iThreads = iThreads;
    source.stopped = [this, uBefore = uStops.load()] { return uStops != uBefore; };
    return writePicture(genome, source, onRow);
}
