#include "core/calc.h"

#include "core/calc_loop.h"

#include <stdexcept>

namespace {

const SRun& checkedRun(const SRun& run) {
    const std::string sProblem = runProblem(run);
    if (!sProblem.empty()) throw std::invalid_argument(sProblem);
    return run;
}

}  // namespace

CCalculation::CCalculation(const SRun& run)
    : dx(0), dy(0), dVx(0), dVy(0), dRadius(0), dAngleTheta(0), dSx(0), dSy(0),
      run(checkedRun(run)), myScreen(run.iWidth, run.iHeight), iColourType(1) {}

void CCalculation::initCalculate() {
    beginCalculate();
    runIterations(run.iIterations);
}

void CCalculation::beginCalculate() {
    seedRandom(run.uSeed);
    dx = randomNum(-1, 1);  // x is drawn first
    dy = randomNum(-1, 1);
}

void CCalculation::seedRandom(unsigned int uSeed) { generator.seed(uSeed); }

void CCalculation::actualCalculate() {
    step();
    postStep(plot(), myScreen.iMaxHit);
}

void CCalculation::step() {
    if (drawsFlame(run)) flameStep();
    else patternStep(run.iPattern);
}

void CCalculation::patternStep(int iPat) {
    calc_loop::withPattern(iPat, [&](auto pattern) { stepOfPattern<decltype(pattern)::value>(); });
}

// One loop per pattern, chosen once per call, rather than one loop that switches on the pattern
// in every iteration: GCC does not take a switch out of a loop, and paired runs measured the
// loop with the switch inside at 1.09 times the leanest loop summed over the patterns (1.75 at
// pattern 6), the loops per pattern at 1.02.
void CCalculation::runIterations(int iCount) {
    calc_loop::SNoLook noLook;
    withStepOf(run, [&](auto step) {
        loop<decltype(step)::value, false>(iCount, noLook, nullptr);
    });
}

void CCalculation::runIterations(int iCount, std::vector<int>& vMirrorHits) {
    calc_loop::SNoLook noLook;
    withStepOf(run, [&](auto step) {
        loop<decltype(step)::value, true>(iCount, noLook, vMirrorHits.data());
    });
}

// The trace is written by the look: the point after the post-step, and the pixel it then hit.
void CCalculation::traceIterations(int iCount, STracedStep* pTrace) {
    const SPlot here = plot();
    auto record = [&](double dX, double dY, bool bRestarted) {
        *pTrace++ = {dX, dY, generator.position(), bRestarted ? -1 : hitIndex(here, dX, dY),
                     bRestarted};
        return false;
    };
    runWatched(iCount, record);
}

void CCalculation::setOrbitState(const SOrbitState& state) {
    dx = dSx = state.dX;
    dy = dSy = state.dY;
    generator = state.generator;
}

int CCalculation::hitIndex(double dX, double dY) const {
    return hitIndex(plotOf(run, nullptr), dX, dY);
}

int CCalculation::convertToScreen(double dValue, int iScreenValue) {
    return pixelOf(dValue, {-1, 1, iScreenValue / 2.0, iScreenValue});
}

void CCalculation::calculateHitsToColour(int iSizeWidth, int iSizeHight) {
    colourHits(myScreen, iColourType, iSizeWidth, iSizeHight);
}
