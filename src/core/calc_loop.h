#pragma once

// The iteration loop and the steps it is made of, defined where every kind of loop can inline
// them: each loop has its step as a constant (a pattern's row of the table, or the flame step),
// so that its functions fold into straight code and the point stays in registers. Included by
// the computation itself and by a way of running that watches the orbit (runWatched).

#include "core/calc.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

namespace calc_loop {

constexpr float fEscapeBound = 10000000000.0f;  // a point beyond ±1e10 on either axis is restarted
constexpr int iFlameStep = -1;  // the step of a loop that draws a flame, beside the patterns'

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

// The same for a nonlinear function known only as the loop runs (a flame's): each inlines into
// its own branch of one switch, where a call through the table's pointer would cost 5 % of a
// flame's iteration.
template <class FAction, int... iFunctions>
void withNonlinearOf(ENonlinear eNonlinear, FAction action,
                     std::integer_sequence<int, iFunctions...>) {
    (void)((eNonlinear == iFunctions &&
            (action(std::integral_constant<ENonlinear, ENonlinear(iFunctions)>()), true)) ||
           ...);
}

template <class FAction>
void withNonlinear(ENonlinear eNonlinear, FAction action) {
    withNonlinearOf(eNonlinear, action, std::make_integer_sequence<int, iNonlinearCount>());
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
        iPolar += nonlinearOf(pattern.functions[i].eNonlinear).eNeeds == eRadiusAndAngle;
    }
    return iPolar == pattern.choice.iFunctions;
}

// A look that never ends the loop: the plain loop.
struct SNoLook {
    bool operator()(double, double, bool) const { return false; }
};

}  // namespace calc_loop

// Calls action(std::integral_constant<int, iStep>()) with the run's step as a constant.
template <class FAction>
void withStepOf(const SRun& run, FAction action) {
    if (drawsFlame(run)) action(std::integral_constant<int, calc_loop::iFlameStep>());
    else calc_loop::withPattern(run.iPattern, action);
}

// Flattened, so that every step inlines into the loop and the point stays in registers; out of
// line, or it would inline into its caller and lose that.
template <int iStep, bool bMirrored, class FLook>
__attribute__((noinline, flatten)) int CCalculation::loop(int iCount, FLook& look,
                                                          int* pMirrorHits) {
    const SPlot localPlot = plot();
    int iMaxHit = myScreen.iMaxHit;
    int i = 0;
    while (i < iCount) {
        stepOf<iStep>();
        const bool bRestart = escaped();
        if constexpr (bMirrored) {
            const int iMirror = bRestart ? -1 : hitIndex(localPlot, -dx, dy);
            if (iMirror >= 0) pMirrorHits[iMirror]++;
        }
        postStep(localPlot, iMaxHit);
        i++;
        if (look(dx, dy, bRestart)) break;
    }
    myScreen.iMaxHit = iMaxHit;
    return i;
}

template <class FLook>
int CCalculation::runWatched(int iCount, FLook& look) {
    int iDone = 0;
    withStepOf(run, [&](auto step) { iDone = loop<decltype(step)::value, false>(iCount, look,
                                                                                 nullptr); });
    return iDone;
}

template <int iStep>
inline void CCalculation::stepOf() {
    if constexpr (iStep == calc_loop::iFlameStep) flameStep();
    else stepOfPattern<iStep>();
}

// The pattern's row of the table is a constant here, so its functions fold into straight code.
// A compound pattern branches on the draw itself, compared with the smallest draw of each
// function: the processor goes ahead with the predicted function at once, with no division to
// wait for before the branch is decided.
template <int iPat>
inline void CCalculation::stepOfPattern() {
    if constexpr (iPat != 0) {  // no such pattern: the point stays where it is
        constexpr SPattern pattern = patternTable[iPat - 1];
        if constexpr (pattern.choice.iFunctions == 1) {
            applyFunction(pattern.functions[0]);
        } else if constexpr (calc_loop::sharesPolar(pattern)) {
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

// The function chosen as (int) randomNum(0, k), k itself meaning the last: the very choice of
// pattern 3 among its three, which the patterns make by thresholds of the draw instead.
inline void CCalculation::flameStep() {
    const SFlame& flame = run.flame;
    const int iDrawn = static_cast<int>(randomNum(0, flame.iFunctions));
    const SFlameFunction& function = flame.functions[std::min(iDrawn, flame.iFunctions - 1)];
    applyAffine(function.map);
    calc_loop::withNonlinear(function.eNonlinear, [&](auto eNonlinear) {
        applyNonlinear(decltype(eNonlinear)::value);
    });
}

inline void CCalculation::applyFunction(SFunction function) {
    applyMap(function.iMap);
    applyNonlinear(function.eNonlinear);
}

inline void CCalculation::applyNonlinear(ENonlinear eNonlinear) {
    const ENeeds eNeeds = nonlinearOf(eNonlinear).eNeeds;
    if (eNeeds == eRadius) storeRadius();
    if (eNeeds == eRadiusAndAngle) storePolar();
    storePoint(newPoint(eNonlinear));
}

inline void CCalculation::applyMap(int iMap) {
    if (iMap == iNoMap) return;
    if (iMap == iIdentityMap) {
        dVx = dx;
        dVy = dy;
        return;
    }
    applyAffine(affineMaps[iMap]);
}

inline void CCalculation::applyAffine(const SAffine& map) {
    dVx = map.dA * dx + map.dB * dy + map.dC;
    dVy = map.dD * dx + map.dE * dy + map.dF;
}

inline void CCalculation::storeRadius() { dRadius = std::sqrt(dVx * dVx + dVy * dVy); }

inline void CCalculation::storePolar() {
    storeRadius();
    dAngleTheta = std::atan(dVy / dVx);  // one-argument: (vx, vy) and (-vx, -vy) share θ
}

inline SPoint CCalculation::newPoint(ENonlinear eNonlinear) const {
    return nonlinearOf(eNonlinear).pfFormula({dx, dy, dVx, dVy, dRadius, dAngleTheta});
}

inline void CCalculation::storePoint(SPoint pNew) {
    dx = pNew.dX;
    dy = pNew.dY;
}

// A runaway point, or one that is not a number (no step ever turns it back into one), starts
// afresh; a point outside the plotting window but within the bound goes on without a hit.
inline bool CCalculation::escaped() const {
    using calc_loop::fEscapeBound;
    return dx > fEscapeBound || dx < -fEscapeBound || dy > fEscapeBound || dy < -fEscapeBound ||
           std::isnan(dx) || std::isnan(dy);
}

inline void CCalculation::postStep(const SPlot& plot, int& iMaxHit) {
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

// The draws go to locals first: the old point is then dead across the draws, which lets the loop
// keep the point in registers rather than in memory.
inline void CCalculation::restartPoint() {
    const double dNewX = randomNum(-1, 1);  // x is drawn first
    const double dNewY = randomNum(-1, 1);
    dx = dNewX;
    dy = dNewY;
}

inline CCalculation::SPlot CCalculation::plotOf(const SRun& run, int* pHits) {
    const SView& view = run.view;
    const auto axis = [](double dMin, double dMax, int iPixels) {
        return SAxis{dMin, dMax, iPixels / (dMax - dMin), iPixels};
    };
    return {axis(view.dXMin, view.dXMax, run.iWidth), axis(view.dYMin, view.dYMax, run.iHeight),
            pHits};
}

inline CCalculation::SPlot CCalculation::plot() { return plotOf(run, myScreen.iScreenHits.data()); }

// Clamps in double before converting, so that no value (NaN, infinities, 1e300) overflows the
// conversion to int: the upper bound lands in the last pixel, NaN in the first. For the default
// window and 800 pixels this is (x + 1) · (800 · 0.5), operation for operation: x − (−1) is
// x + 1, and 800 / 2 is 800 · 0.5, both exactly.
inline int CCalculation::pixelOf(double dValue, const SAxis& axis) {
    const double dPixel = (dValue - axis.dMin) * axis.dScale;
    if (!(dPixel > -1)) return 0;                               // truncates below 0, or NaN
    if (dPixel >= axis.iPixels) return axis.iPixels - 1;        // truncates to the size or beyond
    return static_cast<int>(dPixel);
}

inline int CCalculation::hitIndex(const SPlot& plot, double dX, double dY) {
    if (dX < plot.x.dMin || dX > plot.x.dMax || dY < plot.y.dMin || dY > plot.y.dMax) return -1;
    return pixelOf(dY, plot.y) * plot.x.iPixels + pixelOf(dX, plot.x);
}
