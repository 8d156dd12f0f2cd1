#include "runs/runner.h"

#include <algorithm>
#include <chrono>
#include <thread>

CRunner::CRunner(const SRun& run, int iThreads)
    : myCalc(run), iThreads(iThreads), cycle(run) {
    cycle.begin(myCalc);
}

CRunner::~CRunner() = default;
CRunner::CRunner(CRunner&& other) noexcept = default;
CRunner& CRunner::operator=(CRunner&& other) noexcept = default;

void CRunner::initCalculate() {
    beginCalculate();
    while (continueCalculate(parameters().iIterations)) {
    }
}

void CRunner::beginCalculate() { beginFrom(nullptr); }

void CRunner::beginFrom(const SPoint* pGuess) {
    pChunks.reset();
    myCalc.beginCalculate();
    iDone = 0;
    cycle.begin(myCalc);
    pChunks = std::make_unique<CParallelRun>(myCalc, iThreads, pGuess);
    if (pChunks->chunks() == 0) pChunks.reset();
}

// The part computed here ends where the chunks begin, or with the run.
int CRunner::ownEnd() const { return pChunks ? pChunks->ownEnd() : parameters().iIterations; }

bool CRunner::continueCalculate(int iAtMost) {
    const int iCount = std::clamp(iAtMost, 0, std::max(ownEnd() - iDone, 0));
    cycle.calculate(myCalc, iCount);
    iDone += iCount;
    if (iDone == ownEnd() && pChunks && !chunksSettled()) return true;
    return iDone < parameters().iIterations;
}

int CRunner::iterationsWorked() const {
    return iDone + (pChunks ? pChunks->iterationsDone() : 0);
}

// Once every chunk has finished, the picture holds the whole run; until then the caller is kept
// waiting a moment, not spinning.
bool CRunner::chunksSettled() {
    if (!pChunks->finished()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return false;
    }
    pChunks->settle(myCalc);
    pChunks.reset();
    iDone = parameters().iIterations;
    return true;
}
