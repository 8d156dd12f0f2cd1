#pragma once

// One render of a genome: its chaos game run batch by batch on the worker pool's threads into
// one histogram, and the picture tone-mapped from it whenever asked, finished or not. It runs in
// slices (continueRender) so that a window can show it growing and drop it at once. A frame
// blurred in time runs its moments one after another into the same histogram (render_plan.h).
//
// One seed gives one picture, bit for bit, at any number of threads: batch b always draws the
// same stream and the histogram's sums are integers, whose order of addition never matters.
// Batches are numbered through the whole render, pass after pass and moment after moment.

#include "game/chaos_game.h"
#include "genome/genome.h"
#include "render/batch_schedule.h"
#include "render/pass_sums.h"
#include "render/render_plan.h"
#include "render/walk_choice.h"
#include "tone/histogram.h"
#include "tone/picture.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CGenomeRender {
public:
    // dQuality > 0 replaces the genome's quality (samples per pixel). Check error() after.
    CGenomeRender(const SGenome& genome, uint64_t uSeed, int iThreads, double dQuality = 0);
    CGenomeRender(const SRenderPlan& plan, uint64_t uSeed, int iThreads);
    // Only the picture's rows pixelRows (a strip of it): every sample is drawn, and only those
    // that land where these rows are made from are kept, so that their buckets alone are held;
    // the rows are those of the whole picture, bit for bit.
    CGenomeRender(const SRenderPlan& plan, uint64_t uSeed, int iThreads, SRows pixelRows);
    CGenomeRender(const CGenomeRender&) = delete;
    CGenomeRender& operator=(const CGenomeRender&) = delete;

    // Empty, or why nothing can be drawn: a genome that checkGenome refuses (a moment's too),
    // or a bucket grid too large for memory. Such a render does nothing.
    const std::string& error() const { return sError; }

    // Runs batches for about budget (at least two per worker, each ≤ 10,000 samples, a few
    // milliseconds), then returns: true while samples remain. Not from two threads at once.
    bool continueRender(std::chrono::milliseconds budget);
    // From any thread: continueRender returns within a batch's time (milliseconds), and every
    // later call returns at once; a writeImage under way ends within a few rows. The picture
    // so far can still be written afterwards.
    void stop() {
        bStop = true;
        uStops++;
    }

    // No more than iSamples samples, as samplesDone counts them: the render then stops where
    // another of the same plan and seed stood when it had done that many, and its picture is
    // that render's picture then (a window's picture saved part way, drawn again). Before the
    // first continueRender.
    void limitSamples(int64_t iSamples) { schedule.limit(iSamples); }

    // A still of one pass may go on from saved states, or draw a part of its batches, so that
    // parts drawn anywhere add up to the buckets of one run; before the first continueRender.
    // carryIn: batches already in the buckets, which the caller adds into bucketsToFill(), not
    // drawn again. Where a state was drawn at a lower quality, its last batch (uShortBatch) had
    // fewer samples than it has here, iShortSamples: the rest of them are drawn now.
    void carryIn(const CBatchSet& in, uint64_t uShortBatch = 0, int iShortSamples = 0);
    void drawOnly(const CBatchSet& share);  // of the batches, the rest left out
    CHistogram& bucketsToFill() { return *pHistogram; }
    CBatchSet batchesIn() const;  // whole in the buckets: carried in, and drawn here so far
    uint64_t batchCount() const;  // of the whole render

    double shareDone() const;  // samples plotted so far over all, 0 to 1
    bool done() const { return iPass == iPasses; }
    int64_t samplesDone() const;
    int64_t samplesTotal() const { return iSamplesTotal; }
    double badValueRate() const;  // results replaced by a random point, per sample so far
    int threads() const { return iThreads; }

    // The picture of the samples so far, as if they were all of them (a growing render is as
    // bright as the finished one), row by row from the top (a strip's rows only, numbered as in
    // the picture). Not during continueRender. False when a stop came while it ran: the rows
    // after it are not written.
    bool writeImage(const FPictureRow& onRow);
    // The same, as the tone curve leaves each pixel before its levels: opaque, or transparent.
    bool writeTonedImage(bool bTransparent, const FTonedRow& onRow);

    const SGenome& renderedGenome() const { return plan.genome; }
    const SRenderPlan& renderPlan() const { return plan; }
    const CHistogram& histogram() const { return *pHistogram; }  // this pass's buckets

private:
    // A worker's plots: two groups of batches (the chaos game walks a group side by side), so
    // that while one group's plots wait for the histogram, another worker adding its own, the
    // next group is run.
    struct SWorker {
        // Room for batch k's plots from k · iBatchSamples on, batches in groups of groupSize():
        // two groups, one where the worker is alone. Adds as many where a palette is blended.
        std::vector<SPlot, CZeroedPages<SPlot>> vPlots;
        std::vector<SBucket, CZeroedPages<SBucket>> vAdds;
        SPlot* plotsOf(int k) { return vPlots.data() + static_cast<size_t>(k) * iBatchSamples; }
        SBucket* addsOf(int k) {
            return vAdds.empty() ? nullptr : vAdds.data() + static_cast<size_t>(k) * iBatchSamples;
        }
        int iGroups = 1;
        SBatchJob jobs[2 * iMostWalksAtOnce];
        int iWaiting[2] = {0, 0};      // per group: its batches run but not yet added
        CWalkChoice walkChoice;
    };

    void start();
    bool checkMoments();
    SGenome momentGenome(const SMoment& moment, bool bForGrid) const;
    void startPass();
    void startMoment();
    void nextMoment();
    SLogScale passScale(int iPassNumber, double dShare) const;
    int64_t samplesBefore(int iPassNumber) const;  // of the passes before it
    const SMoment& moment() const { return plan.vPasses[iPass][iMoment]; }
    bool runSlice(std::chrono::steady_clock::time_point deadline);
    void runWorker(SWorker& worker, std::chrono::steady_clock::time_point deadline);
    int claimGroup(SWorker& worker, int iGroupOf);
    int groupSize() const { return walksAtOnce(bBlendedPalette); }  // batches walked side by side
    void addWaiting(SWorker& worker, bool bWait);
    bool finishPass(std::chrono::steady_clock::time_point deadline, bool bStoppable);
    bool passRunOut() const;      // every batch of the pass run, the pass not yet added
    bool pictureSource(SPictureSource& source);  // false where nothing can be drawn
    int samplesOfBatch(uint64_t uBatch) const;  // of a still of one pass
    int64_t samplesOfBatches(const CBatchSet& batches) const;
    void growBatch(uint64_t uBatch, int iFrom);  // its samples after the first iFrom added
    void planBatches();  // the schedule's: those to draw, but those carried in

    SRenderPlan plan;
    uint64_t uSeed;
    int iThreads;
    int iPasses;
    std::string sError;
    SRows pixelRows;                   // the picture's rows drawn: all but in a strip
    SRows bucketRows;                  // the grid's rows they are made from
    std::vector<SGenome> vPassFirst, vPassLast;  // each pass's first and last moment's genome
    std::vector<int64_t> vPassSamples;
    int64_t iSamplesTotal = 0;
    bool bBlendedPalette = false;  // some moment's palette is linear: plots need their own adds
    std::unique_ptr<CChaosGame> pGame;  // the moment's
    std::unique_ptr<CHistogram> pHistogram;
    std::unique_ptr<CDensityKernels> pKernels;  // the pass's
    CPassSums passSums;                // of the passes done, if passes > 1
    std::vector<SWorker> vWorkers;     // one a thread
    CBatchSchedule schedule;
    bool bSomeBatches = false;         // carried in or drawn only in part: counted by batch
    CBatchSet carried;                 // the batches carried in
    bool bShare = false;               // only some of the batches drawn: toDraw
    CBatchSet toDraw;
    int64_t iCarriedSamples = 0;

    int iPass = 0;                     // passes done; iPasses when finished
    int iMoment = 0;                   // of the pass: the one running
    int64_t iPassSamplesDone = 0;      // of the pass's moments before it
    std::atomic<int64_t> iBadValues{0};
    std::atomic<bool> bStop{false};
    std::atomic<uint64_t> uStops{0};   // stops asked for so far
    std::mutex histogramMutex;         // one worker at a time adds its plots
};
