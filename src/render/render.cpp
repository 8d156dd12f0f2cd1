#include "render/render.h"

#include "genome/genome_check.h"
#include "tone/grid.h"
#include "workers/worker_pool.h"

#include <algorithm>
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

CGenomeRender::CGenomeRender(const SGenome& genome, uint64_t uSeed_, int iThreads_,
                             double dQuality)
    : CGenomeRender(stillPlan(genome, dQuality), uSeed_, iThreads_) {}

CGenomeRender::CGenomeRender(const SRenderPlan& plan_, uint64_t uSeed_, int iThreads_)
    : CGenomeRender(plan_, uSeed_, iThreads_, SRows{0, plan_.picture.iHeight}) {}

CGenomeRender::CGenomeRender(const SRenderPlan& plan_, uint64_t uSeed_, int iThreads_,
                             SRows pixelRows_)
    : plan(plan_), uSeed(uSeed_), iThreads(std::max(1, iThreads_)),
      iPasses(static_cast<int>(plan_.vPasses.size())), pixelRows(pixelRows_),
      schedule(iThreads) {
    if (!checkGenome(plan.picture, sError) || !checkMoments()) {
        iPass = iPasses;
        return;
    }
    try {
        start();
    } catch (const std::bad_alloc&) {
        sError = noMemoryFor(plan.picture);
        iPass = iPasses;
    }
}

// The buckets (a strip's only, where it is one) and the workers' plots.
void CGenomeRender::start() {
    const SGridShape grid = gridShapeOf(plan.picture);
    const bool bStrip = !(pixelRows == SRows{0, plan.picture.iHeight});
    bucketRows = bStrip ? bucketRowsFor(plan.picture, pixelRows, densityReachOf(plan))
                        : SRows{0, grid.iHeight};
    if (!fitsInMemory({grid.iGutter, grid.iWidth, bucketRows.count()})) throw std::bad_alloc();
    pHistogram = bStrip ? std::make_unique<CHistogram>(grid.iWidth, bucketRows)
                        : std::make_unique<CHistogram>(grid.iWidth, grid.iHeight);
    // Each worker's room made on its own thread, all at once. Its pages are all written by its
    // first groups (a batch fills its room, bar the plots that fall outside): taken in one call,
    // not a fault a page, which cost a tenth of a small render's time on a virtual machine.
    vWorkers.resize(iThreads);
    CWorkerPool::shared().forEach(iThreads, iThreads, [&](int iWorker) {
        SWorker& worker = vWorkers[iWorker];
        // A worker alone never finds the histogram taken: its spare group would go unused.
        worker.iGroups = iThreads > 1 ? 2 : 1;
        const size_t uRoom = static_cast<size_t>(worker.iGroups) * groupSize() * iBatchSamples;
        worker.vPlots.resize(uRoom);
        takePagesForWriting(worker.vPlots.data(), uRoom * sizeof(SPlot));
        if (!bBlendedPalette) return;
        worker.vAdds.resize(uRoom);
        takePagesForWriting(worker.vAdds.data(), uRoom * sizeof(SBucket));
    });
    startPass();
}

// A moment's genome on the picture's grid: its size, supersample and passes the picture's, and
// for its camera (bForGrid) the gutter's filter and estimator radius too.
SGenome CGenomeRender::momentGenome(const SMoment& moment, bool bForGrid) const {
    SGenome genome = plan.genomeAt ? plan.genomeAt(moment.dTime) : plan.picture;
    const SGenome& picture = plan.picture;
    genome.iWidth = picture.iWidth;
    genome.iHeight = picture.iHeight;
    genome.iSupersample = picture.iSupersample;
    genome.iPasses = picture.iPasses;
    if (bForGrid) {
        genome.dFilter = picture.dFilter;
        genome.eFilterShape = picture.eFilterShape;
        genome.dEstimatorRadius = picture.dEstimatorRadius;
    }
    return genome;
}

// Every moment drawable, each pass's first and last kept for its log scaling and estimation.
bool CGenomeRender::checkMoments() {
    for (const std::vector<SMoment>& vMoments : plan.vPasses) {
        if (vMoments.empty()) continue;
        int64_t iSamples = 0;
        for (const SMoment& moment : vMoments) {
            if (plan.genomeAt) {
                const SGenome genome = momentGenome(moment, true);
                if (!checkGenome(genome, sError)) return false;
                bBlendedPalette = bBlendedPalette || genome.ePaletteMode == ePaletteLinear;
            }
            iSamples += moment.iSamples;
        }
        vPassFirst.push_back(momentGenome(vMoments.front(), false));
        vPassLast.push_back(momentGenome(vMoments.back(), false));
        vPassSamples.push_back(iSamples);
        iSamplesTotal += iSamples;
    }
    if (!plan.genomeAt) bBlendedPalette = plan.picture.ePaletteMode == ePaletteLinear;
    if (vPassSamples.size() == plan.vPasses.size() && iPasses > 0) return true;
    sError = "a frame with no moments to draw";
    return false;
}

void CGenomeRender::startPass() {
    pKernels = densityKernelsOf(vPassFirst[iPass]);
    iMoment = 0;
    iPassSamplesDone = 0;
    startMoment();
}

void CGenomeRender::startMoment() {
    pGame = std::make_unique<CChaosGame>(momentGenome(moment(), true), moment().dWeight);
    for (SWorker& worker : vWorkers) worker.walkChoice.restart();
    schedule.beginMoment(moment().iSamples, samplesBefore(iPass) + iPassSamplesDone);
}

int64_t CGenomeRender::samplesBefore(int iPassNumber) const {
    int64_t iSamples = 0;
    for (int p = 0; p < iPassNumber; p++) iSamples += vPassSamples[p];
    return iSamples;
}

bool CGenomeRender::passRunOut() const {
    return !done() && schedule.runOut() &&
           iMoment + 1 == static_cast<int>(plan.vPasses[iPass].size());
}

// The next batches of the moment for group iGroupOf of the worker's jobs, with the worker's
// buffers for their plots; how many.
int CGenomeRender::claimGroup(SWorker& worker, int iGroupOf) {
    const int k = groupSize() * iGroupOf;
    const int iJobs = schedule.claimGroup(&worker.jobs[k], groupSize());
    for (int i = k; i < k + iJobs; i++) {
        worker.jobs[i].pPlots = worker.plotsOf(i);
        worker.jobs[i].pAdds = worker.addsOf(i);
    }
    return iJobs;
}

// The worker's plots that wait, into the histogram: if no other worker is adding, or else if
// bWait (the worker has no spare group to run meanwhile) once that one is done.
void CGenomeRender::addWaiting(SWorker& worker, bool bWait) {
    if (worker.iWaiting[0] + worker.iWaiting[1] == 0) return;
    std::unique_lock<std::mutex> lock(histogramMutex, std::defer_lock);
    if (bWait) lock.lock();
    else if (!lock.try_lock()) return;
    for (int iGroupOf = 0; iGroupOf < 2; iGroupOf++) {
        const int iFirst = groupSize() * iGroupOf;
        for (int k = iFirst; k < iFirst + worker.iWaiting[iGroupOf]; k++)
            pHistogram->add(worker.plotsOf(k), static_cast<size_t>(worker.jobs[k].iPlots),
                            pGame->addsOf(worker.jobs[k]));
        worker.iWaiting[iGroupOf] = 0;
    }
}

// A worker's share of a slice: groups of batches until the deadline, one group at least however
// short the slice, and every plot added before it returns.
void CGenomeRender::runWorker(SWorker& worker, steady_clock::time_point until) {
    for (bool bFirst = true;; bFirst = false) {
        if (bStop || (!bFirst && steady_clock::now() >= until)) break;
        // Group 0 unless its plots still wait: the same memory each time, warm in the cache.
        const int iGroupOf = worker.iWaiting[0] > 0 ? 1 : 0;
        const int iJobs = claimGroup(worker, iGroupOf);
        if (iJobs == 0) break;
        SBatchJob* pJobs = &worker.jobs[groupSize() * iGroupOf];
        const int iWays = pGame->wayCount(), iWay = worker.walkChoice.wayNext(iWays);
        const steady_clock::time_point start = steady_clock::now();
        pGame->runBatches(uSeed, pJobs, iJobs, static_cast<EWalkWay>(iWay));
        const std::chrono::duration<double> took = steady_clock::now() - start;
        int64_t iSamples = 0;
        for (int k = 0; k < iJobs; k++) iSamples += pJobs[k].iSamples;
        const bool bFull = iJobs == groupSize();
        worker.walkChoice.note(iWays, iWay, took.count(), iSamples, bFull);
        for (int k = 0; k < iJobs; k++) iBadValues += pJobs[k].iBadValues;
        worker.iWaiting[iGroupOf] = iJobs;
        // Waits where no spare group is free to run meanwhile; a worker alone has none, and
        // try_lock may fail even for it, spuriously.
        const bool bNoSpare = worker.iGroups == 1;
        addWaiting(worker, bNoSpare || worker.iWaiting[1 - iGroupOf] > 0);
        if (!schedule.batchesLeft()) break;
    }
    addWaiting(worker, true);
}

// One slice on every worker, the caller's thread among them; true when the moment has batches
// left.
bool CGenomeRender::runSlice(steady_clock::time_point until) {
    CWorkerPool::shared().forEach(iThreads, iThreads,
                                  [&](int iWorker) { runWorker(vWorkers[iWorker], until); });
    schedule.settle();
    return schedule.batchesLeft();
}

// Adds a finished pass, log-scaled and spread, into the sums of the passes done, row by row
// until the deadline or a stop (if bStoppable); true once it is all in and the next pass can
// start.
bool CGenomeRender::finishPass(steady_clock::time_point until, bool bStoppable) {
    if (!passSums.adding())
        passSums.beginAdding(*pHistogram, passScale(iPass, 1), pKernels.get(),
                             plan.picture.iSupersample, iThreads);
    if (!passSums.continueAdding(until, bStoppable ? &bStop : nullptr)) return false;
    pHistogram->clear();
    iPass++;
    startPass();
    return true;
}

// The next moment of the pass: its own game, its batches numbered after the last one's.
void CGenomeRender::nextMoment() {
    iPassSamplesDone += moment().iSamples;
    iMoment++;
    startMoment();
}

// A pass's log scaling, as if dShare of its samples had run: k1 from the brightness of its last
// moment, k2 from that moment's quality and camera and from the moments' mean weight.
SLogScale CGenomeRender::passScale(int iPassNumber, double dShare) const {
    const SGenome& last = vPassLast[iPassNumber];
    return logScaleOf(last, last.dQuality, dShare * plan.dMeanWeight);
}

bool CGenomeRender::continueRender(std::chrono::milliseconds budget) {
    const steady_clock::time_point until = steady_clock::now() + budget;
    bool bFirst = true;
    while (!done() && !schedule.limitReached(samplesDone()) && !bStop &&
           (bFirst || steady_clock::now() < until)) {
        bFirst = false;
        if (!schedule.runOut()) {
            runSlice(until);
        } else if (iMoment + 1 < static_cast<int>(plan.vPasses[iPass].size())) {
            nextMoment();
        } else if (iPass + 1 == iPasses) {
            iPass++;  // the last pass stays in the histogram: the picture reads it from there
            // The plot buffers go before the picture is made, which a poster's peak memory is.
            std::vector<SWorker>().swap(vWorkers);
        } else {
            finishPass(until, true);
        }
    }
    return !done() && !schedule.limitReached(samplesDone());
}

uint64_t CGenomeRender::batchCount() const {
    return static_cast<uint64_t>((samplesTotal() + iBatchSamples - 1) / iBatchSamples);
}

int CGenomeRender::samplesOfBatch(uint64_t uBatch) const {
    return static_cast<int>(std::min<int64_t>(
        iBatchSamples, samplesTotal() - static_cast<int64_t>(uBatch) * iBatchSamples));
}

// Every batch has its full samples but the last.
int64_t CGenomeRender::samplesOfBatches(const CBatchSet& batches) const {
    const int64_t iSamples = static_cast<int64_t>(batches.count()) * iBatchSamples;
    const uint64_t uLast = batchCount() - 1;
    return batches.contains(uLast) ? iSamples - iBatchSamples + samplesOfBatch(uLast) : iSamples;
}

void CGenomeRender::carryIn(const CBatchSet& in, uint64_t uShortBatch, int iShortSamples) {
    if (!sError.empty()) return;
    carried = in;
    iCarriedSamples = samplesOfBatches(in);
    planBatches();
    if (iShortSamples > 0 && in.contains(uShortBatch)) growBatch(uShortBatch, iShortSamples);
}

void CGenomeRender::drawOnly(const CBatchSet& share) {
    if (!sError.empty()) return;
    toDraw = share;
    bShare = true;
    planBatches();
}

void CGenomeRender::planBatches() {
    bSomeBatches = true;
    schedule.only((bShare ? toDraw : CBatchSet(0, batchCount())).without(carried));
}

// A batch's first samples give the same plots whatever its length: those after the first iFrom
// samples' plots are the ones it lacks.
void CGenomeRender::growBatch(uint64_t uBatch, int iFrom) {
    SWorker& worker = vWorkers.front();
    SBatchJob job = {uBatch, iFrom, worker.plotsOf(0), worker.addsOf(0), 0, 0};
    pGame->runBatches(uSeed, &job, 1, EWalkWay::eOnePoint);
    const int iHad = job.iPlots;
    job = {uBatch, samplesOfBatch(uBatch), worker.plotsOf(0), worker.addsOf(0), 0, 0};
    pGame->runBatches(uSeed, &job, 1, EWalkWay::eOnePoint);
    pHistogram->add(worker.plotsOf(0) + iHad, static_cast<size_t>(job.iPlots - iHad),
                    pGame->addsOf(job));
}

CBatchSet CGenomeRender::batchesIn() const {
    CBatchSet in = carried;
    in.add(schedule.batchesRun());
    return in;
}

int64_t CGenomeRender::samplesDone() const {
    if (bSomeBatches) return iCarriedSamples + schedule.samplesDone();
    if (done()) return samplesTotal();
    return samplesBefore(iPass) + iPassSamplesDone + schedule.samplesDone();
}

double CGenomeRender::shareDone() const {
    return samplesTotal() > 0 ? static_cast<double>(samplesDone()) / samplesTotal() : 1;
}

double CGenomeRender::badValueRate() const {
    const int64_t iSamples = samplesDone();
    return iSamples > 0 ? static_cast<double>(iBadValues) / iSamples : 0;
}

bool CGenomeRender::pictureSource(SPictureSource& source) {
    if (!sError.empty()) return false;
    // A pass whose batches have all run is added to the passes done first, however far its
    // adding had come: a picture depends on the samples done alone, not on when it is made.
    if (passSums.adding() || (passRunOut() && iPass + 1 < iPasses))
        finishPass(steady_clock::time_point::max(), false);
    // The passes done, and this one scaled up from the share of it run so far; together
    // weighted as passes/(passes shown), as if every pass were like them.
    const int iLastPass = std::min(iPass, iPasses - 1);
    const int64_t iInPass = samplesDone() - samplesBefore(iLastPass);
    const double dShare = static_cast<double>(iInPass) / vPassSamples[iLastPass];
    const int iShown = iLastPass + (dShare > 0 ? 1 : 0);
    source.dScale = iShown > 0 ? static_cast<double>(iPasses) / iShown : 1;
    if (dShare > 0) {
        source.pHistogram = pHistogram.get();
        source.scale = passScale(iLastPass, dShare);
        source.pKernels = pKernels.get();
    }
    if (iLastPass > 0) source.pAccumulated = &passSums.sums();
    source.iThreads = iThreads;
    source.iFirstRow = bucketRows.iFirst;
    source.stopped = [this, uBefore = uStops.load()] { return uStops != uBefore; };
    return true;
}

bool CGenomeRender::writeImage(const FPictureRow& onRow) {
    SPictureSource source;
    return pictureSource(source) && writePicture(plan.picture, source, onRow, pixelRows);
}

bool CGenomeRender::writeTonedImage(bool bTransparent, const FTonedRow& onRow) {
    SPictureSource source;
    return pictureSource(source) && writeTonedPicture(plan.picture, source, bTransparent, onRow,
                                                        pixelRows);
}
