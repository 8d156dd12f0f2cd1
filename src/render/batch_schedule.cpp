#include "render/batch_schedule.h"

#include <algorithm>

void CBatchSchedule::beginMoment(int64_t iSamples, int64_t iSamplesBefore_) {
    uBatchBase += static_cast<uint64_t>(iMomentBatches);
    iMomentSamples = iSamples;
    iMomentBatches = (iSamples + iBatchSamples - 1) / iBatchSamples;
    iSamplesBefore = iSamplesBefore_;
    iNextBatch = 0;
}

int64_t CBatchSchedule::end() const {
    if (iSampleLimit < 0) return iMomentBatches;
    const int64_t iLeft = iSampleLimit - iSamplesBefore;
    return std::clamp<int64_t>((iLeft + iBatchSamples - 1) / iBatchSamples, 0, iMomentBatches);
}

// A still's pass p's batch k is p·batches + k.
int CBatchSchedule::claimGroup(SBatchJob* pJobs, int iGroup) {
    const int64_t iLeft = end() - iNextBatch;
    const int iShare =
        static_cast<int>(std::clamp<int64_t>((iLeft + iThreads - 1) / iThreads, 1, iGroup));
    int iJobs = 0;
    for (; iJobs < iShare; iJobs++) {
        const int64_t iBatch = iNextBatch++;
        if (iBatch >= end()) break;
        pJobs[iJobs] = {uBatchBase + static_cast<uint64_t>(iBatch), samplesOfBatch(iBatch),
                        nullptr, nullptr, 0, 0};
    }
    return iJobs;
}

int64_t CBatchSchedule::samplesDone() const {
    const int64_t iBatches = std::min<int64_t>(iNextBatch, iMomentBatches);
    return std::min<int64_t>(iMomentSamples, iBatches * iBatchSamples);
}
