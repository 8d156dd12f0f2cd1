#include "runs/runner.h"

#include <algorithm>
#include <chrono>
#include <thread>

CRunner::CRunner(const SRun& run, int iThreads)
    : myCalc(run), iThreads(iThreads), iOwnEnd(run.iIterations), cycle(run) {
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
    iOwnEnd = pChunks->ownEnd();
    if (pChunks->chunks() == 0) pChunks.reset();
}

bool CRunner::continueCalculate(int iAtMost) {
    const int iCount = std::clamp(iAtMost, 0, std::max(iOwnEnd - iDone, 0));
    cycle.calculate(myCalc, iCount);
    iDone += iCount;
    if (iDone == iOwnEnd && pChunks && !chunksSettled()) return true;
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
    iDone = iOwnEnd = parameters().iIterations;
    return true;
}
