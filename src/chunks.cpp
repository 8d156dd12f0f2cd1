#include "chunks.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int iChunkBlock = 1 << 16;  // iterations between two looks at the stop flag

bool sameBits(double dOne, double dOther) { return std::memcmp(&dOne, &dOther, sizeof dOne) == 0; }

void addInto(screen& picture, const std::vector<int>& vHits) {
    for (size_t i = 0; i < vHits.size(); i++) picture.iScreenHits[i] += vHits[i];
}

}  // namespace

// The draws the run has made by iteration iBegin: two for its start point and one an iteration,
// as long as no point has been restarted (a restart draws two more, and the chunk's orbits will
// not meet: it is then computed again).
CChunk::CChunk(const CCalculation& whole, int iBegin, int iEnd, SPoint guess)
    : calc(whole.run),
      iLength(iEnd - iBegin),
      bMirrors(patternTable[whole.run.iPattern - 1].eMeeting == eMeetsOrMirrors) {
    calc.dx = guess.dX;
    calc.dy = guess.dY;
    calc.generator.seed(whole.run.uSeed);
    calc.generator.discard(2ULL + static_cast<unsigned long long>(iBegin));
    if (bMirrors) calc.vMirrorHits.assign(calc.myScreen.iScreenHits.size(), 0);
    vTrace.reserve(static_cast<size_t>(std::min(iTraceLength, iLength)));
    worker = std::thread(&CChunk::work, this);
}

CChunk::~CChunk() {
    bStop.store(true, std::memory_order_relaxed);
    if (worker.joinable()) worker.join();
}

void CChunk::work() {
    const int iTraced = std::min(iTraceLength, iLength);
    for (int j = 0; j < iTraced; j++) {
        int iMirror = -1;
        const int iPixel = calc.tracedStep(iMirror);
        vTrace.push_back({calc.dx, calc.dy, calc.drawPosition(), iPixel, iMirror});
    }
    int iDone = iTraced;
    while (iDone < iLength && !bStop.load(std::memory_order_relaxed)) {
        const int iBlock = std::min(iChunkBlock, iLength - iDone);
        if (bMirrors) calc.runMirrored(iBlock);
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
        const int iGuessed = bMirror ? vTrace[j].iMirrorPixel : vTrace[j].iPixel;
        if (iGuessed >= 0) vHits[static_cast<size_t>(iGuessed)]--;
        if (vTrue[j] >= 0) vHits[static_cast<size_t>(vTrue[j])]++;
    }
}

void CChunk::redoInOrder(SOrbitState& state) {
    calc.myScreen.clearHits();
    calc.dx = state.dX;
    calc.dy = state.dY;
    calc.generator = state.generator;
    calc.runIterations(iLength);
    state = {calc.dx, calc.dy, calc.generator};
}

void CChunk::settle(SOrbitState& state, screen& picture) {
    const SOrbitState guessedEnd{calc.dx, calc.dy, calc.generator};
    calc.dx = state.dX;
    calc.dy = state.dY;
    calc.generator = state.generator;
    std::vector<int> vTrue;
    vTrue.reserve(vTrace.size());
    for (size_t j = 0; j < vTrace.size(); j++) {
        const int iTrue = calc.trialStep();
        const STraceStep& guessed = vTrace[j];
        const bool bInStep = calc.drawPosition() == guessed.uDraws && sameBits(calc.dy, guessed.dY);
        if (bInStep && sameBits(calc.dx, guessed.dX)) {
            swapHits(calc.myScreen.iScreenHits, vTrue, static_cast<int>(j), false);
            addInto(picture, calc.myScreen.iScreenHits);
            state = guessedEnd;
            return;
        }
        if (bMirrors && bInStep && sameBits(calc.dx, -guessed.dX)) {
            swapHits(calc.vMirrorHits, vTrue, static_cast<int>(j), true);
            addInto(picture, calc.vMirrorHits);
            state = guessedEnd;
            state.dX = -guessedEnd.dX;
            return;
        }
        vTrue.push_back(iTrue);
    }
    redoInOrder(state);
    addInto(picture, calc.myScreen.iScreenHits);
}
