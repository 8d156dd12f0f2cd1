#include "render/batch_schedule.h"

#include <algorithm>

void CBatchSchedule::beginMoment(int64_t iSamples, int64_t iSamplesBefore_) {
    uBatchBase += static_cast<uint64_t>(iMomentBatches);
    iMomentSamples = iSamples;
    iMomentBatches = (iSamples + iBatchSamples - 1) / iBatchSamples;
    iSamplesBefore = iSamplesBefore_;
    iNextBatch = 0;
    planMoment();
}

void CBatchSchedule::only(const CBatchSet& toRun) {
    bOnly = true;
    onlyBatches = toRun;
    planMoment();
}

void CBatchSchedule::planMoment() {
    const uint64_t uEnd = uBatchBase + static_cast<uint64_t>(iMomentBatches);
    const CBatchSet toRun =
        bOnly ? onlyBatches.within(uBatchBase, uEnd) : CBatchSet(uBatchBase, uEnd);
    vRuns.clear();
    vRunStarts.clear();
    iToRun = 0;
    for (const SBatchRange& range : toRun.ranges()) {
        vRuns.push_back({range.uFirst - uBatchBase, range.uEnd - uBatchBase});
        vRunStarts.push_back(iToRun);
        iToRun += static_cast<int64_t>(range.uEnd - range.uFirst);
    }
}

int64_t CBatchSchedule::end() const {
    if (iSampleLimit < 0) return iToRun;
    const int64_t iLeft = iSampleLimit - iSamplesBefore;
    return std::clamp<int64_t>((iLeft + iBatchSamples - 1) / iBatchSamples, 0, iMomentBatches);
}

int64_t CBatchSchedule::batchAt(int64_t iIndex) const {
    const size_t k = static_cast<size_t>(
        std::upper_bound(vRunStarts.begin(), vRunStarts.end(), iIndex) - vRunStarts.begin() - 1);
    return static_cast<int64_t>(vRuns[k].uFirst) + (iIndex - vRunStarts[k]);
}

// A still's pass p's batch k is p·batches + k.
int CBatchSchedule::claimGroup(SBatchJob* pJobs, int iGroup) {
    const int64_t iLeft = end() - iNextBatch;
    const int iShare =
        static_cast<int>(std::clamp<int64_t>((iLeft + iThreads - 1) / iThreads, 1, iGroup));
    int iJobs = 0;
    for (; iJobs < iShare; iJobs++) {
        const int64_t iIndex = iNextBatch++;
        if (iIndex >= end()) break;
        const int64_t iBatch = batchAt(iIndex);
        pJobs[iJobs] = {uBatchBase + static_cast<uint64_t>(iBatch), samplesOfBatch(iBatch),
                        nullptr, nullptr, 0, 0};
    }
    return iJobs;
}

// Every batch has its full samples but the moment's last.
int64_t CBatchSchedule::samplesDone() const {
    const int64_t iClaimed = std::min<int64_t>(iNextBatch, iToRun);
    if (iClaimed == 0) return 0;
    return (iClaimed - 1) * iBatchSamples + samplesOfBatch(batchAt(iClaimed - 1));
}

CBatchSet CBatchSchedule::batchesRun() const {
    const int64_t iClaimed = std::min<int64_t>(iNextBatch, end());
    CBatchSet run;
    for (size_t k = 0; k < vRuns.size() && vRunStarts[k] < iClaimed; k++) {
        const uint64_t uInRun = static_cast<uint64_t>(iClaimed - vRunStarts[k]);
        run.add(uBatchBase + vRuns[k].uFirst,
                uBatchBase + std::min(vRuns[k].uEnd, vRuns[k].uFirst + uInRun));
    }
    return run;
}
