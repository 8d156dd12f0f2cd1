#pragma once

// The batches of a render, moment after moment (a still has one a pass), numbered through the
// whole render, so that batch b draws the same stream whoever runs it: the workers claim them a
// group at a time, and near a moment's end a fair share of those left, so that they finish
// together. A render may stop at a number of samples (limit), where another of the same plan
// and seed stood when it had done as many; or run only some of its batches (only): those a
// saved state lacks, a part's share.

#include "game/walk.h"
#include "render/batch_set.h"

#include <atomic>
#include <cstdint>
#include <vector>

class CBatchSchedule {
public:
    explicit CBatchSchedule(int iThreads_) : iThreads(iThreads_) {}

    // The next moment: iSamples samples, after iSamplesBefore of the render; its batches
    // numbered after the last moment's.
    void beginMoment(int64_t iSamples, int64_t iSamplesBefore);
    // No more than iSamples samples of the render in all; -1, none. Before the first claim.
    void limit(int64_t iSamples) { iSampleLimit = iSamples; }
    bool limitReached(int64_t iSamplesDone) const {
        return iSampleLimit >= 0 && iSamplesDone >= iSampleLimit;
    }
    // Only these of the render's batches, in their order; not with a limit. Before the first
    // claim.
    void only(const CBatchSet& toRun);

    // Up to iGroup of the moment's next batches into pJobs (batch and samples); how many.
    int claimGroup(SBatchJob* pJobs, int iGroup);
    // After the workers' slice: a batch claimed past the last is not run, and not counted.
    void settle() {
        if (iNextBatch > end()) iNextBatch = end();
    }
    bool batchesLeft() const { return iNextBatch < end(); }   // to run before the end
    bool runOut() const { return iNextBatch >= iToRun; }  // every batch of the moment to run
    int64_t samplesDone() const;  // of the moment, by the batches claimed
    CBatchSet batchesRun() const;  // of the render, in the moment so far: claimed, before the end

private:
    int64_t end() const;  // of the moment's batches to run, where the render stops
    int64_t batchAt(int64_t iIndex) const;
    void planMoment();  // its batches to run  // the moment's iIndex-th batch to run, in the moment
    int samplesOfBatch(int64_t iBatch) const {  // iBatch counted within its moment
        return static_cast<int>(
            std::min<int64_t>(iBatchSamples, iMomentSamples - iBatch * iBatchSamples));
    }

    int iThreads;
    int64_t iMomentSamples = 0;
    int64_t iMomentBatches = 0;
    int64_t iToRun = 0;                // of the moment's batches
    bool bOnly = false;
    CBatchSet onlyBatches;             // of the render, where bOnly
    std::vector<SBatchRange> vRuns;    // the moment's to run, numbered in the moment
    std::vector<int64_t> vRunStarts;   // the index of each one's first
    int64_t iSamplesBefore = 0;        // of the render, before the moment
    uint64_t uBatchBase = 0;           // the number of the moment's first batch in the render
    int64_t iSampleLimit = -1;         // -1: none
    std::atomic<int64_t> iNextBatch{0};// of the moment: the next to run
};
