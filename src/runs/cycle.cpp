#include "runs/cycle.h"

#include "core/calc_loop.h"

#include <algorithm>
#include <cstring>

namespace {

// The stretch of a run in which a cycle is sought. Over 1,000 seeds of every pattern that cycles,
// the search found each cycle within 8,193 iterations but at pattern 19, whose restarts delay it,
// up to 131,153; the seeds with no cycle in 2^20 showed none in 10^8 either, their point drifting
// by a last bit now and then. Seeking adds under 1 ns to an iteration: at most 1 ms a run.
constexpr int iCycleSearchSteps = 1 << 20;
// The cycles found are of 1, 2 or 6 points; a lap is kept whole, so a longer cycle than this is
// left to the plain loop.
constexpr int iLongestCycle = 1024;

// Points are the same when their bits are: -0 and +0 are two points to a step (the arc tangent
// tells them apart), and a NaN is never on a cycle, as it is restarted.
uint64_t bitsOf(double dValue) {
    uint64_t uBits;
    std::memcpy(&uBits, &dValue, sizeof uBits);
    return uBits;
}

bool samePoint(double dX, double dY, double dOtherX, double dOtherY) {
    return bitsOf(dX) == bitsOf(dOtherX) && bitsOf(dY) == bitsOf(dOtherY);
}

// A compound pattern draws in every step: its orbit is never a function of the point alone.
bool stepDraws(const SRun& run) {
    return drawsFlame(run) ||
           (isPattern(run.iPattern) && patternTable[run.iPattern - 1].choice.iFunctions > 1);
}

}  // namespace

CCycleRun::CCycleRun(const SRun& run) : bSeeks(!stepDraws(run)) {}

void CCycleRun::begin(const CCalculation& calc) {
    vCycle.clear();
    iStepsLeft = iCycleSearchSteps;
    const SOrbitState state = calc.orbitState();
    mark(state.dX, state.dY, 1);
}

void CCycleRun::calculate(CCalculation& calc, int iCount) {
    if (bSeeks) {
        if (vCycle.empty() && iStepsLeft > 0) iCount -= seek(calc, std::min(iCount, iStepsLeft));
        if (!vCycle.empty() && follow(calc, iCount)) return;
    }
    calc.runIterations(iCount);
}

// The plain loop with the search after each iteration, until a cycle is found or iCount are
// done. A restart draws, so the orbit after it is no function of the point before: the search
// begins again from the point drawn.
int CCycleRun::seek(CCalculation& calc, int iCount) {
    bool bClosed = false;
    auto look = [&](double dX, double dY, bool bRestarted) {
        if (bRestarted) mark(dX, dY, 1);
        else bClosed = closes(dX, dY);
        return bClosed;
    };
    const int iSought = calc.runWatched(iCount, look);
    iStepsLeft -= iSought;
    // The point stays on the cycle found: there is no other to look for.
    if (bClosed && !(iSinceMark <= iLongestCycle && traceLap(calc, iSinceMark))) iStepsLeft = 0;
    return iSought;
}

// One lap from the point, which must come back to it bit for bit without a restart: then the
// point is on a cycle, whatever the search saw before. The lap is followed by a computation of
// its own, so that the run is left as it was.
bool CCycleRun::traceLap(const CCalculation& calc, int iPeriod) {
    CCalculation probe(orbitOnly(calc.parameters()));
    const SOrbitState start = calc.orbitState();
    probe.setOrbitState(start);
    std::vector<STracedStep> vSteps(static_cast<size_t>(iPeriod));
    probe.traceIterations(iPeriod, vSteps.data());
    std::vector<SCyclePoint> vLap;
    vLap.reserve(vSteps.size());
    vLap.push_back({start.dX, start.dY, calc.hitIndex(start.dX, start.dY)});
    for (int i = 0; i + 1 < iPeriod; i++)
        vLap.push_back({vSteps[i].dX, vSteps[i].dY, calc.hitIndex(vSteps[i].dX, vSteps[i].dY)});
    const bool bRestarted = std::any_of(vSteps.begin(), vSteps.end(),
                                        [](const STracedStep& step) { return step.bRestarted; });
    const bool bOnCycle =
        !bRestarted && samePoint(vSteps.back().dX, vSteps.back().dY, start.dX, start.dY);
    if (bOnCycle) vCycle = std::move(vLap);
    return bOnCycle;
}

// iCount iterations along the lap from the point: each point of the cycle gets a hit a whole lap,
// and one more if it comes within the last part of a lap; the most hits can only be those of a
// pixel hit. Where the point is on the lap is found by its bits, not remembered: whatever moved
// it (an actualCalculate between two slices) leaves no place to go stale.
bool CCycleRun::follow(CCalculation& calc, int iCount) {
    SOrbitState state = calc.orbitState();
    const int iPeriod = static_cast<int>(vCycle.size());
    int iAt = 0;
    while (iAt < iPeriod && !samePoint(vCycle[iAt].dX, vCycle[iAt].dY, state.dX, state.dY)) iAt++;
    if (iAt == iPeriod) {
        vCycle.clear();
        mark(state.dX, state.dY, 1);
        return false;
    }
    if (iCount == 0) return true;

    screen& picture = calc.picture();
    const int iLaps = iCount / iPeriod, iRest = iCount % iPeriod;
    int* pHits = picture.iScreenHits.data();
    for (int i = 1; i <= iPeriod; i++) {
        const int iPixel = vCycle[(iAt + i) % iPeriod].iPixel;
        if (iPixel >= 0) pHits[iPixel] += iLaps + (i <= iRest ? 1 : 0);
    }
    for (int i = 1; i <= std::min(iCount, iPeriod); i++) {
        const int iPixel = vCycle[(iAt + i) % iPeriod].iPixel;
        if (iPixel >= 0) picture.iMaxHit = std::max(picture.iMaxHit, pHits[iPixel]);
    }

    const SCyclePoint& last = vCycle[(iAt + iRest) % iPeriod];
    state.dX = last.dX;
    state.dY = last.dY;
    calc.setOrbitState(state);
    return true;
}

void CCycleRun::mark(double dX, double dY, int iNextPower) {
    uMarkX = bitsOf(dX);
    uMarkY = bitsOf(dY);
    iPower = iNextPower;
    iSinceMark = 0;
}

// Brent's search: the mark moves to the point after 1, 2, 4... steps, so that once the mark is on
// the cycle and the steps to the next move are at least its length, the point comes back to it.
// That first return is after the cycle's length exactly.
bool CCycleRun::closes(double dX, double dY) {
    iSinceMark++;
    if (bitsOf(dX) == uMarkX && bitsOf(dY) == uMarkY) return true;
    if (iSinceMark == iPower) mark(dX, dY, 2 * iPower);
    return false;
}
