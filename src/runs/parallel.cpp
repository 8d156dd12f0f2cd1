#include "runs/parallel.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

constexpr int iShortestChunk = 1 << 17;  // iterations: below, meeting and settling cost too much
constexpr int iWarmUp = 1000;            // iterations from the start point onto the attractor
constexpr double dLeastChunkBudget = 160.0 * 1024 * 1024;  // bytes
constexpr int iChunkBlock = 1 << 16;     // iterations between two looks at the stop flag
constexpr int iSettleBlock = 1024;       // of the true orbit, traced at a time while settling

bool sameBits(double dOne, double dOther) { return std::memcmp(&dOne, &dOther, sizeof dOne) == 0; }

void addInto(screen& picture, const std::vector<int>& vHits) {
    for (size_t i = 0; i < vHits.size(); i++) picture.iScreenHits[i] += vHits[i];
}

EMeeting meetingOf(const SRun& run) {
    if (drawsFlame(run) || !isPattern(run.iPattern)) return eNeverMeets;
    return patternTable[run.iPattern - 1].eMeeting;
}

// As many chunks as threads, unless that leaves chunks too short, or the later chunks' hits (and
// the mirrored ones') would take more than the run's own counts do, or 160 MiB where that is
// more: one budget whatever the thread count, so that posters are computed on fewer threads.
int chunksFor(const SRun& run, int iThreads) {
    const EMeeting eMeeting = meetingOf(run);
    if (eMeeting == eNeverMeets) return 1;
    const double dPixels = static_cast<double>(run.iWidth) * run.iHeight;
    const double dChunkBytes = (eMeeting == eMeetsOrMirrors ? 8 : 4) * dPixels;
    const double dBudget = std::max(4 * dPixels, dLeastChunkBudget);
    int iChunks = std::min(iThreads, std::max(run.iIterations / iShortestChunk, 1));
    while (iChunks > 1 && (iChunks - 1) * dChunkBytes > dBudget) iChunks--;
    return iChunks;
}

// Where the orbit from whole's start stands after the warm-up: on the attractor, one that does
// not escape at once.
SPoint warmedUp(const CCalculation& whole) {
    CCalculation probe(orbitOnly(whole.parameters()));
    probe.setOrbitState(whole.orbitState());
    probe.runIterations(iWarmUp);
    const SOrbitState state = probe.orbitState();
    return {state.dX, state.dY};
}

}  // namespace

CParallelRun::CParallelRun(const CCalculation& whole, int iThreads, const SPoint* pGuess) {
    const SRun& run = whole.parameters();
    iOwnEnd = run.iIterations;
    const int iChunks = chunksFor(run, iThreads);
    if (iChunks < 2) return;
    const SPoint guess = pGuess ? *pGuess : warmedUp(whole);
    // A chunk that counts its mirrored hits too takes about a fifth longer an iteration (measured
    // at pattern 4): the first, which counts none, takes that much more of the run, so that all
    // end together.
    const double dOwnShare = meetingOf(run) == eMeetsOrMirrors ? 1.2 : 1;
    const double dShares = dOwnShare + (iChunks - 1);
    const auto beginOf = [&](int k) {  // of chunk k from 1 on
        return static_cast<int>(run.iIterations * (dOwnShare + k - 1) / dShares);
    };
    // Where the memory or a thread for a chunk cannot be had, the run is not cut at all: the
    // same picture, on one thread.
    try {
        for (int k = 1; k < iChunks; k++)
            vChunks.push_back(std::make_unique<CChunk>(
                run, beginOf(k), k + 1 < iChunks ? beginOf(k + 1) : run.iIterations, guess));
        iOwnEnd = beginOf(1);
    } catch (const std::exception&) {
        vChunks.clear();
    }
}

CParallelRun::~CParallelRun() = default;

int CParallelRun::iterationsDone() const {
    int iWorked = 0;
    for (const std::unique_ptr<CChunk>& pChunk : vChunks) iWorked += pChunk->iterationsDone();
    return iWorked;
}

bool CParallelRun::finished() const {
    return std::all_of(vChunks.begin(), vChunks.end(),
                       [](const std::unique_ptr<CChunk>& pChunk) { return pChunk->finished(); });
}

// Each chunk in turn is settled from where the one before ends.
void CParallelRun::settle(CCalculation& whole) {
    SOrbitState state = whole.orbitState();
    screen& picture = whole.picture();
    for (const std::unique_ptr<CChunk>& pChunk : vChunks) pChunk->settle(state, picture);
    vChunks.clear();
    whole.setOrbitState(state);
    picture.iMaxHit = *std::max_element(picture.iScreenHits.begin(), picture.iScreenHits.end());
}

// The draws the run has made by iteration iBegin: two for its start point and one an iteration,
// as long as no point has been restarted (a restart draws two more, and the chunk's orbits will
// not meet: it is then computed again).
CChunk::CChunk(const SRun& run, int iBegin, int iEnd, SPoint guess)
    : calc(run), iLength(iEnd - iBegin), bMirrors(meetingOf(run) == eMeetsOrMirrors) {
    CRandom generator;
    generator.seed(run.uSeed);
    generator.discard(2ULL + static_cast<unsigned long long>(iBegin));
    calc.setOrbitState({guess.dX, guess.dY, generator});
    if (bMirrors) vMirrorHits.assign(calc.picture().iScreenHits.size(), 0);
    vTrace.resize(static_cast<size_t>(std::min(iTraceLength, iLength)));
    task = CWorkerPool::shared().start([this] { work(); });
}

CChunk::~CChunk() {
    bStop.store(true, std::memory_order_relaxed);
    task.wait();
}

int CChunk::mirrorOf(const STracedStep& step) const {
    return step.bRestarted ? -1 : calc.hitIndex(-step.dX, step.dY);
}

void CChunk::work() {
    const int iTraced = static_cast<int>(vTrace.size());
    calc.traceIterations(iTraced, vTrace.data());
    for (const STracedStep& step : vTrace) {
        const int iMirror = bMirrors ? mirrorOf(step) : -1;
        if (iMirror >= 0) vMirrorHits[static_cast<size_t>(iMirror)]++;
    }
    int iDone = iTraced;
    while (iDone < iLength && !bStop.load(std::memory_order_relaxed)) {
        const int iBlock = std::min(iChunkBlock, iLength - iDone);
        if (bMirrors) calc.runIterations(iBlock, vMirrorHits);
        else calc.runIterations(iBlock);
        iDone += iBlock;
        iDoneSoFar.store(iDone, std::memory_order_relaxed);
    }
    iDoneSoFar.store(iDone, std::memory_order_relaxed);
    bFinished.store(true, std::memory_order_release);
}

// The true orbit's hits before the meeting, iMet of them, in place of the guessed orbit's (or of
// its mirror image's).
void CChunk::swapHits(std::vector<int>& vHits, const std::vector<int>& vTrue, int iMet,
                      bool bMirror) {
    for (int j = 0; j < iMet; j++) {
        const int iGuessed = bMirror ? mirrorOf(vTrace[j]) : vTrace[j].iPixel;
        if (iGuessed >= 0) vHits[static_cast<size_t>(iGuessed)]--;
        if (vTrue[j] >= 0) vHits[static_cast<size_t>(vTrue[j])]++;
    }
}

void CChunk::redoInOrder(SOrbitState& state) {
    calc.picture().clearHits();
    calc.setOrbitState(state);
    calc.runIterations(iLength);
    state = calc.orbitState();
}

// The true orbit is followed by a computation of its own that hits nothing: the pixels it would
// hit are those of the chunk's picture.
void CChunk::settle(SOrbitState& state, screen& picture) {
    const SOrbitState guessedEnd = calc.orbitState();
    CCalculation probe(orbitOnly(calc.parameters()));
    probe.setOrbitState(state);
    std::vector<int> vTrue;
    vTrue.reserve(vTrace.size());
    STracedStep trueSteps[iSettleBlock];
    for (size_t j = 0; j < vTrace.size(); j++) {
        const size_t iInBlock = j % iSettleBlock;
        const int iLeft = static_cast<int>(std::min<size_t>(iSettleBlock, vTrace.size() - j));
        if (iInBlock == 0) probe.traceIterations(iLeft, trueSteps);
        const STracedStep& now = trueSteps[iInBlock];
        const STracedStep& guessed = vTrace[j];
        const bool bInStep = now.uDraws == guessed.uDraws && sameBits(now.dY, guessed.dY);
        if (bInStep && sameBits(now.dX, guessed.dX)) {
            swapHits(calc.picture().iScreenHits, vTrue, static_cast<int>(j), false);
            addInto(picture, calc.picture().iScreenHits);
            state = guessedEnd;
            return;
        }
        if (bMirrors && bInStep && sameBits(now.dX, -guessed.dX)) {
            swapHits(vMirrorHits, vTrue, static_cast<int>(j), true);
            addInto(picture, vMirrorHits);
            state = guessedEnd;
            state.dX = -guessedEnd.dX;
            return;
        }
        vTrue.push_back(now.bRestarted ? -1 : calc.hitIndex(now.dX, now.dY));
    }
    redoInOrder(state);
    addInto(picture, calc.picture().iScreenHits);
}
