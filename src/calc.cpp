#include "calc.h"

#include "chunks.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <utility>

namespace {

constexpr float fEscapeBound = 10000000000.0f;  // a point beyond ±1e10 on either axis is restarted

// The stretch of a run in which a cycle is sought. Over 1,000 seeds of every pattern that cycles,
// the search found each cycle within 8,193 iterations but at pattern 19, whose restarts delay it,
// up to 131,153; the seeds with no cycle in 2^20 showed none in 10^8 either, their point drifting
// by a last bit now and then. Seeking adds under 1 ns to an iteration: at most 1 ms a run.
constexpr int iCycleSearchSteps = 1 << 20;
// The cycles found are of 1, 2 or 6 points; a lap is kept whole, so a longer cycle than this is
// left to the plain loop.
constexpr int iLongestCycle = 1024;

// Whether a step of the pattern draws a number; 0, no pattern, moves nothing and draws nothing.
constexpr bool drawsInStep(int iPat) {
    return iPat != 0 && patternTable[iPat - 1].choice.iFunctions > 1;
}

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

// Calls action(std::integral_constant<int, iPat>()), so that the pattern is a constant within
// it; 0 stands for every number that is no pattern.
template <class FAction, int... iPats>
void withPatternOf(int iPat, FAction action, std::integer_sequence<int, iPats...>) {
    const bool bPattern =
        ((iPat == iPats + 1 && (action(std::integral_constant<int, iPats + 1>()), true)) || ...);
    if (!bPattern) action(std::integral_constant<int, 0>());
}

template <class FAction>
void withPattern(int iPat, FAction action) {
    withPatternOf(iPat, action, std::make_integer_sequence<int, iPatternCount>());
}

// Whether a compound pattern's functions all start from the same affine image and all need its
// radius and angle: those are then worked out before the function is chosen. A coin-toss choice
// is mispredicted half the time, and the arc tangent, started before the branch is decided, is
// not thrown away with it. Pattern 5 shares them in two of its three functions only: worked out
// for its sinusoidal too, they cost more than they save (10 % slower in paired runs).
constexpr bool sharesPolar(const SPattern& pattern) {
    int iPolar = 0;
    for (int i = 0; i < pattern.choice.iFunctions; i++) {
        if (pattern.functions[i].iMap != pattern.functions[0].iMap) return false;
        iPolar += pattern.functions[i].eNonlinear >= eSwirl;
    }
    return iPolar == pattern.choice.iFunctions;
}

}  // namespace

namespace {

const SRun& checkedRun(const SRun& run) {
    const std::string sProblem = runProblem(run);
    if (!sProblem.empty()) throw std::invalid_argument(sProblem);
    return run;
}

}  // namespace

CCalculation::CCalculation(const SRun& run, int iThreads)
    : dx(0), dy(0), dVx(0), dVy(0), dRadius(0), dAngleTheta(0), dSx(0), dSy(0), iDone(0),
      run(checkedRun(run)), myScreen(run.iWidth, run.iHeight), iThreads(iThreads),
      iOwnEnd(run.iIterations), search(), iColourType(1) {
    beginCycleSearch();
}

CCalculation::~CCalculation() = default;
CCalculation::CCalculation(CCalculation&& other) noexcept = default;
CCalculation& CCalculation::operator=(CCalculation&& other) noexcept = default;

void CCalculation::initCalculate() {
    beginCalculate();
    while (continueCalculate(run.iIterations)) {
    }
}

void CCalculation::beginCalculate() {
    startPoint();
    beginChunks();
}

void CCalculation::startPoint() {
    vChunks.clear();
    iOwnEnd = run.iIterations;
    seedRandom(run.uSeed);
    dx = randomNum(-1, 1);  // x is drawn first
    dy = randomNum(-1, 1);
    iDone = 0;
    beginCycleSearch();
}

void CCalculation::seedRandom(unsigned int uSeed) { generator.seed(uSeed); }

double CCalculation::randomNum(double dMin, double dMax) {
    return drawToRange(generator.next(), dMin, dMax);
}

bool CCalculation::continueCalculate(int iAtMost) {
    const int iCount = std::clamp(iAtMost, 0, std::max(iOwnEnd - iDone, 0));
    calculate(iCount);
    iDone += iCount;
    if (iDone == iOwnEnd && !vChunks.empty() && !chunksSettled()) return true;
    return iDone < run.iIterations;
}

int CCalculation::iterationsWorked() const {
    int iWorked = iDone;
    for (const std::unique_ptr<CChunk>& pChunk : vChunks) iWorked += pChunk->iterationsDone();
    return iWorked;
}

namespace {

constexpr int iShortestChunk = 1 << 17;  // iterations: below, meeting and settling cost too much
constexpr int iWarmUp = 1000;            // iterations from the start point onto the attractor
constexpr double dSpareBytes = 160.0 * 1024 * 1024;

// As many chunks as threads, unless that leaves chunks too short, or the chunks' hits (and the
// mirrored ones') would take more than 4.5 bytes a pixel a thread besides 160 MiB: posters are
// computed on fewer threads.
int chunksFor(const SRun& run, int iThreads, bool bMirrors) {
    const double dPixels = static_cast<double>(run.iWidth) * run.iHeight;
    const double dChunkBytes = (bMirrors ? 8 : 4) * dPixels;
    int iChunks = std::min(iThreads, std::max(run.iIterations / iShortestChunk, 1));
    while (iChunks > 1 && 4 * dPixels + (iChunks - 1) * dChunkBytes >
                              4.5 * dPixels * iChunks + dSpareBytes)
        iChunks--;
    return iChunks;
}

}  // namespace

// The later chunks start from a point of the run's own orbit a little way in, on its attractor:
// one that does not escape at once.
void CCalculation::beginChunks(const SPoint* pGuess) {
    if (run.flame.iFunctions > 0 || !isPattern(run.iPattern)) return;
    const EMeeting eMeeting = patternTable[run.iPattern - 1].eMeeting;
    const int iChunks =
        eMeeting == eNeverMeets ? 1 : chunksFor(run, iThreads, eMeeting == eMeetsOrMirrors);
    if (iChunks < 2) return;
    const SOrbitState start{dx, dy, generator};
    for (int i = 0; i < iWarmUp; i++) trialStep();
    const SPoint guess = pGuess ? *pGuess : SPoint{dx, dy};
    dx = start.dX, dy = start.dY, generator = start.generator;
    // A chunk that counts its mirrored hits too takes about a fifth longer an iteration (measured
    // at pattern 4): the first, which counts none, takes that much more of the run, so that all
    // end together.
    const double dOwnShare = eMeeting == eMeetsOrMirrors ? 1.2 : 1;
    const double dShares = dOwnShare + (iChunks - 1);
    const auto beginOf = [&](int k) {  // of chunk k from 1 on
        return static_cast<int>(run.iIterations * (dOwnShare + k - 1) / dShares);
    };
    iOwnEnd = beginOf(1);
    for (int k = 1; k < iChunks; k++)
        vChunks.push_back(std::make_unique<CChunk>(
            *this, beginOf(k), k + 1 < iChunks ? beginOf(k + 1) : run.iIterations, guess));
}

// Once every chunk has finished, each in turn is settled from where the one before ends, and
// the picture holds the whole run; until then the caller is kept waiting a moment, not spinning.
bool CCalculation::chunksSettled() {
    for (const std::unique_ptr<CChunk>& pChunk : vChunks) {
        if (!pChunk->finished()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return false;
        }
    }
    SOrbitState state{dx, dy, generator};
    for (const std::unique_ptr<CChunk>& pChunk : vChunks) pChunk->settle(state, myScreen);
    dx = state.dX, dy = state.dY, generator = state.generator;
    vChunks.clear();
    myScreen.iMaxHit = *std::max_element(myScreen.iScreenHits.begin(), myScreen.iScreenHits.end());
    iDone = iOwnEnd = run.iIterations;
    return true;
}

// One loop per pattern, chosen once per call, rather than one loop that switches on the pattern
// in every iteration: GCC does not take a switch out of a loop, and paired runs measured the
// loop with the switch inside at 1.09 times the leanest loop summed over the patterns (1.75 at
// pattern 6), the loops per pattern at 1.02.
void CCalculation::runIterations(int iCount) {
    if (run.flame.iFunctions > 0) return runFlame(iCount);
    withPattern(run.iPattern, [&](auto pattern) { runPattern<decltype(pattern)::value>(iCount); });
}

void CCalculation::calculate(int iCount) {
    if (run.flame.iFunctions > 0) return runFlame(iCount);
    withPattern(run.iPattern,
                [&](auto pattern) { calculatePattern<decltype(pattern)::value>(iCount); });
}

// A compound pattern draws in every step: its orbit is never a function of the point alone.
template <int iPat>
void CCalculation::calculatePattern(int iCount) {
    if constexpr (!drawsInStep(iPat)) {
        if (vCycle.empty() && search.iStepsLeft > 0)
            iCount -= seekCycle<iPat>(std::min(iCount, search.iStepsLeft));
        if (!vCycle.empty() && followCycle(iCount)) return;
    }
    runPattern<iPat>(iCount);
}

void CCalculation::actualCalculate() {
    step();
    postStep(plot(), myScreen.iMaxHit);
}

void CCalculation::step() {
    if (run.flame.iFunctions > 0) flameStep();
    else patternStep(run.iPattern);
}

// The function chosen as (int) randomNum(0, k), k itself meaning the last: the very choice of
// pattern 3 among its three, which the patterns make by thresholds of the draw instead.
void CCalculation::flameStep() {
    const SFlame& flame = run.flame;
    const int iDrawn = static_cast<int>(randomNum(0, flame.iFunctions));
    const int iFunc = std::min(iDrawn, flame.iFunctions - 1);
    const SFlameFunction& function = flame.functions[iFunc];
    applyAffine(function.map);
    applyNonlinear(function.eNonlinear);
}

void CCalculation::runFlame(int iCount) {
    const SPlot localPlot = plot();
    int iMaxHit = myScreen.iMaxHit;
    for (int i = 0; i < iCount; i++) {
        flameStep();
        postStep(localPlot, iMaxHit);
    }
    myScreen.iMaxHit = iMaxHit;
}

std::vector<SPoint> CCalculation::orbit(int iCount) {
    startPoint();
    std::vector<SPoint> vPoints;
    vPoints.reserve(static_cast<size_t>(std::max(iCount, 0)));
    for (int i = 0; i < iCount; i++) {
        step();
        if (escaped()) restartPoint();
        else vPoints.push_back({dx, dy});
    }
    startPoint();
    return vPoints;
}

void CCalculation::patternStep(int iPat) {
    withPattern(iPat, [&](auto pattern) { stepOfPattern<decltype(pattern)::value>(); });
}

// Flattened, so that every step inlines into the loop and the point stays in registers; out of
// line, or it would inline into runIterations and lose that.
template <int iPat, bool bMirrored>
void CCalculation::runPattern(int iCount) {
    const SPlot localPlot = plot();
    int iMaxHit = myScreen.iMaxHit;
    for (int i = 0; i < iCount; i++) {
        stepOfPattern<iPat>();
        if constexpr (bMirrored) postStepMirrored(localPlot, iMaxHit);
        else postStep(localPlot, iMaxHit);
    }
    myScreen.iMaxHit = iMaxHit;
}

// Only a pattern whose orbits may mirror each other has a mirrored loop.
void CCalculation::runMirrored(int iCount) {
    withPattern(run.iPattern, [&](auto pattern) {
        constexpr int iPat = decltype(pattern)::value;
        if constexpr (iPat != 0 && patternTable[iPat - 1].eMeeting == eMeetsOrMirrors)
            runPattern<iPat, true>(iCount);
        else runPattern<iPat>(iCount);
    });
}

int CCalculation::tracedStep(int& iMirror) {
    const SPlot here = plot();
    step();
    iMirror = -1;
    if (escaped()) {
        restartPoint();
        return -1;
    }
    if (!vMirrorHits.empty()) {
        iMirror = hitIndex(here, -dx, dy);
        if (iMirror >= 0) vMirrorHits[static_cast<size_t>(iMirror)]++;
    }
    const int iPixel = hitIndex(here, dx, dy);
    postStep(here, myScreen.iMaxHit);
    return iPixel;
}

int CCalculation::trialStep() {
    step();
    if (escaped()) {
        restartPoint();
        return -1;
    }
    dSx = dx;
    dSy = dy;
    return hitIndex(plot(), dx, dy);
}

// The plain loop with the search after each iteration, until a cycle is found or iCount are
// done; it returns how many it did. A restart draws, so the orbit after it is no function of the
// point before: the search begins again from the point drawn.
template <int iPat>
int CCalculation::seekCycle(int iCount) {
    const SPlot localPlot = plot();
    int iMaxHit = myScreen.iMaxHit;
    int iSought = 0;
    bool bClosed = false;
    while (iSought < iCount && !bClosed) {
        stepOfPattern<iPat>();
        const bool bRestart = escaped();
        postStep(localPlot, iMaxHit);
        iSought++;
        if (bRestart) markCycleSearch(1);
        else bClosed = closesCycle();
    }
    myScreen.iMaxHit = iMaxHit;
    search.iStepsLeft -= iSought;
    // The point stays on the cycle found: there is no other to look for.
    if (bClosed && !(search.iSinceMark <= iLongestCycle && traceCycle<iPat>(search.iSinceMark)))
        search.iStepsLeft = 0;
    return iSought;
}

// One lap from the point, which must come back to it bit for bit without a restart: then the
// point is on a cycle, whatever the search saw before. The point and the scratch fields are put
// back afterwards, so that a lap that fails leaves the run as it was.
template <int iPat>
bool CCalculation::traceCycle(int iPeriod) {
    const double dStartX = dx, dStartY = dy;
    const double dScratch[] = {dVx, dVy, dRadius, dAngleTheta};
    const SPlot localPlot = plot();
    std::vector<SCyclePoint> vLap;
    vLap.reserve(static_cast<size_t>(iPeriod));
    bool bOnCycle = true;
    for (int i = 0; i < iPeriod && bOnCycle; i++) {
        vLap.push_back({dx, dy, hitIndex(localPlot, dx, dy)});
        stepOfPattern<iPat>();
        bOnCycle = !escaped();
    }
    bOnCycle = bOnCycle && samePoint(dx, dy, dStartX, dStartY);
    dx = dStartX;
    dy = dStartY;
    dVx = dScratch[0];
    dVy = dScratch[1];
    dRadius = dScratch[2];
    dAngleTheta = dScratch[3];
    if (bOnCycle) vCycle = std::move(vLap);
    return bOnCycle;
}

// iCount iterations along the lap from the point: each point of the cycle gets a hit a whole lap,
// and one more if it comes within the last part of a lap; the most hits can only be those of a
// pixel hit. Where the point is on the lap is found by its bits, not remembered: whatever moved
// it (an actualCalculate between two slices) leaves no place to go stale.
bool CCalculation::followCycle(int iCount) {
    const int iPeriod = static_cast<int>(vCycle.size());
    int iAt = 0;
    while (iAt < iPeriod && !samePoint(vCycle[iAt].dX, vCycle[iAt].dY, dx, dy)) iAt++;
    if (iAt == iPeriod) {
        vCycle.clear();
        markCycleSearch(1);
        return false;
    }
    if (iCount == 0) return true;

    const int iLaps = iCount / iPeriod, iRest = iCount % iPeriod;
    int* pHits = myScreen.iScreenHits.data();
    for (int i = 1; i <= iPeriod; i++) {
        const int iPixel = vCycle[(iAt + i) % iPeriod].iPixel;
        if (iPixel >= 0) pHits[iPixel] += iLaps + (i <= iRest ? 1 : 0);
    }
    int iMaxHit = myScreen.iMaxHit;
    for (int i = 1; i <= std::min(iCount, iPeriod); i++) {
        const int iPixel = vCycle[(iAt + i) % iPeriod].iPixel;
        if (iPixel >= 0) iMaxHit = std::max(iMaxHit, pHits[iPixel]);
    }
    myScreen.iMaxHit = iMaxHit;

    const SCyclePoint& last = vCycle[(iAt + iRest) % iPeriod];
    dx = dSx = last.dX;
    dy = dSy = last.dY;
    return true;
}

void CCalculation::beginCycleSearch() {
    vCycle.clear();
    search.iStepsLeft = iCycleSearchSteps;
    markCycleSearch(1);
}

void CCalculation::markCycleSearch(int iPower) {
    search.uMarkX = bitsOf(dx);
    search.uMarkY = bitsOf(dy);
    search.iPower = iPower;
    search.iSinceMark = 0;
}

// Brent's search: the mark moves to the point after 1, 2, 4... steps, so that once the mark is on
// the cycle and the steps to the next move are at least its length, the point comes back to it.
// That first return is after the cycle's length exactly.
bool CCalculation::closesCycle() {
    search.iSinceMark++;
    if (bitsOf(dx) == search.uMarkX && bitsOf(dy) == search.uMarkY) return true;
    if (search.iSinceMark == search.iPower) markCycleSearch(2 * search.iPower);
    return false;

}

// The pattern's row of the table is a constant here, so its functions fold into straight code.
// A compound pattern branches on the draw itself, compared with the smallest draw of each
// function: the processor goes ahead with the predicted function at once, with no division to
// wait for before the branch is decided.
template <int iPat>
void CCalculation::stepOfPattern() {
    if constexpr (iPat != 0) {  // no such pattern: the point stays where it is
        constexpr SPattern pattern = patternTable[iPat - 1];
        if constexpr (pattern.choice.iFunctions == 1) {
            applyFunction(pattern.functions[0]);
        } else if constexpr (sharesPolar(pattern)) {
            applyMap(pattern.functions[0].iMap);
            storePolar();
            const int iFunc = chosenFunction(pattern.choice, generator.next());
            if (iFunc == 0)      storePoint(newPoint(pattern.functions[0].eNonlinear));
            else if (iFunc == 1) storePoint(newPoint(pattern.functions[1].eNonlinear));
            else                 storePoint(newPoint(pattern.functions[2].eNonlinear));
        } else {
            const int iFunc = chosenFunction(pattern.choice, generator.next());
            if (iFunc == 0)      applyFunction(pattern.functions[0]);
            else if (iFunc == 1) applyFunction(pattern.functions[1]);
            else                 applyFunction(pattern.functions[2]);
        }
    }
}

// The map, the polar values the function needs, then the function.
void CCalculation::applyFunction(SFunction function) {
    applyMap(function.iMap);
    applyNonlinear(function.eNonlinear);
}

void CCalculation::applyNonlinear(ENonlinear eNonlinear) {
    if (eNonlinear == eSpherical) storeRadius();
    if (eNonlinear >= eSwirl) storePolar();
    storePoint(newPoint(eNonlinear));
}

void CCalculation::applyMap(int iMap) {
    if (iMap == iNoMap) return;
    if (iMap == iIdentityMap) {
        dVx = dx;
        dVy = dy;
        return;
    }
    applyAffine(affineMaps[iMap]);
}

void CCalculation::applyAffine(const SAffine& map) {
    dVx = map.dA * dx + map.dB * dy + map.dC;
    dVy = map.dD * dx + map.dE * dy + map.dF;
}

void CCalculation::storeRadius() { dRadius = std::sqrt(dVx * dVx + dVy * dVy); }

void CCalculation::storePolar() {
    storeRadius();
    dAngleTheta = std::atan(dVy / dVx);  // one-argument: (vx, vy) and (-vx, -vy) share θ
}

SPoint CCalculation::newPoint(ENonlinear eNonlinear) const {
    switch (eNonlinear) {
    case eHalveToOrigin: return {dx / 2, dy / 2};
    case eHalveToRight:  return {(dx + 1) / 2, dy / 2};
    case eHalveToTop:    return {dx / 2, (dy + 1) / 2};
    case eLinear:        return linear(dVx, dVy);
    case eSinusoidal:    return sinusoidal(dVx, dVy);
    case eSpherical:     return spherical(dVx, dVy, dRadius);
    case eSwirl:         return swirl(dRadius, dAngleTheta);
    case eSpiral:        return spiral(dRadius, dAngleTheta);
    case eDiamond:       return diamond(dRadius, dAngleTheta);
    case eHeart:         return heart(dRadius, dAngleTheta);
    case eDisc:          return disc(dRadius, dAngleTheta);
    case eHorseshoe:     return horseshoe(dRadius, dAngleTheta);
    case ePolar:         return polar(dRadius, dAngleTheta);
    case eHandkerchief:  return handkerchief(dRadius, dAngleTheta);
    case eHyperbolic:    return hyperbolic(dRadius, dAngleTheta);
    case eEx:            return ex(dRadius, dAngleTheta);
    case eFisheye:       return fisheye(dx, dy, dRadius);
    case eCosine:        return cosine(dx, dy);
    }
    return {dx, dy};
}

void CCalculation::storePoint(SPoint pNew) {
    dx = pNew.dX;
    dy = pNew.dY;
}

// A runaway point, or one that is not a number (no step ever turns it back into one), starts
// afresh; a point outside the plotting window but within the bound goes on without a hit.
bool CCalculation::escaped() const {
    return dx > fEscapeBound || dx < -fEscapeBound || dy > fEscapeBound || dy < -fEscapeBound ||
           std::isnan(dx) || std::isnan(dy);
}

void CCalculation::postStep(const SPlot& plot, int& iMaxHit) {
    if (escaped()) {
        restartPoint();
        return;
    }
    dSx = dx;
    dSy = dy;
    const int iPixel = hitIndex(plot, dx, dy);
    if (iPixel < 0) return;
    int& iHits = plot.pHits[iPixel];
    iHits++;
    if (iHits > iMaxHit) iMaxHit = iHits;
}

void CCalculation::postStepMirrored(const SPlot& plot, int& iMaxHit) {
    if (!escaped()) {
        const int iMirror = hitIndex(plot, -dx, dy);
        if (iMirror >= 0) vMirrorHits[static_cast<size_t>(iMirror)]++;
    }
    postStep(plot, iMaxHit);
}

CCalculation::SPlot CCalculation::plot() {
    const SView& view = run.view;
    const auto axis = [](double dMin, double dMax, int iPixels) {
        return SAxis{dMin, dMax, iPixels / (dMax - dMin), iPixels};
    };
    return {axis(view.dXMin, view.dXMax, run.iWidth), axis(view.dYMin, view.dYMax, run.iHeight),
            myScreen.iScreenHits.data()};
}

// The draws go to locals first: the old point is then dead across the draws, which lets the loop
// keep the point in registers rather than in memory.
void CCalculation::restartPoint() {
    const double dNewX = randomNum(-1, 1);  // x is drawn first
    const double dNewY = randomNum(-1, 1);
    dx = dNewX;
    dy = dNewY;
}

// Clamps in double before converting, so that no value (NaN, infinities, 1e300) overflows the
// conversion to int: the upper bound lands in the last pixel, NaN in the first. For the default
// window and 800 pixels this is (x + 1) · (800 · 0.5), operation for operation: x − (−1) is
// x + 1, and 800 / 2 is 800 · 0.5, both exactly.
int CCalculation::pixelOf(double dValue, const SAxis& axis) {
    const double dPixel = (dValue - axis.dMin) * axis.dScale;
    if (!(dPixel > -1)) return 0;                               // truncates below 0, or NaN
    if (dPixel >= axis.iPixels) return axis.iPixels - 1;        // truncates to the size or beyond
    return static_cast<int>(dPixel);
}

int CCalculation::hitIndex(const SPlot& plot, double dX, double dY) {
    if (dX < plot.x.dMin || dX > plot.x.dMax || dY < plot.y.dMin || dY > plot.y.dMax) return -1;
    return pixelOf(dY, plot.y) * plot.x.iPixels + pixelOf(dX, plot.x);
}

int CCalculation::convertToScreen(double dValue, int iScreenValue) {
    return pixelOf(dValue, {-1, 1, iScreenValue / 2.0, iScreenValue});
}

void CCalculation::calculateHitsToColour(int iSizeWidth, int iSizeHight) {
    colourHits(myScreen, iColourType, iSizeWidth, iSizeHight);
}
