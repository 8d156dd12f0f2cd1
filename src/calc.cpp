#include "calc.h"

#include "screen.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iostream>

CCalculation myCalc;
void (*pfCalculationProgress)(int iDone, int iTotal) = nullptr;

namespace {

constexpr double dPI = 3.141592653589793;
constexpr float fEscapeBound = 10000000000.0f;  // a point beyond ±1e10 on either axis is restarted
constexpr int iProgressBlock = 1 << 16;         // iterations between two progress reports

// The affine maps: vx = a·x + b·y + c, vy = d·x + e·y + f. The identity map is not in the table:
// 1·x + 0·y + 0 turns -0 into +0, which flips atan(vy / vx) when vx is 0.
struct SAffine {
    double dA, dB, dC, dD, dE, dF;
};

enum : int { iCloudMap1, iCloudMap2, iLinearMap, iSpiralMap, iSwirlMap, iPattern9Map, iDiamondMap };

constexpr SAffine affineMaps[] = {
    //   a           b           c          d            e           f
    { 0.562482,  -0.539599,  -0.42992,   0.397861,   0.501088,  -0.112404},  // cloud map 1: 2
    { 0.830039,   0.16248,    0.91022,  -0.496174,   0.750468,   0.288389},  // cloud map 2: 2
    { 0.98396,    0.359416,  -0.85059,   0.298328,  -0.583541,   0.378754},  // linear map: 3, 6
    {-0.900388,   0.397598,   0.465126,  0.293063,   0.0225629, -0.277212},  // spiral map: 3, 7, 8
    {-0.329863,  -0.369381,   0.977861, -0.0855261, -0.858379,   0.547595},  // swirl map: 3, 10-20
    { 0.125503,  -0.00125,    0.004588, -0.0850061, -0.136802,   0.430655},  // pattern-9 map: 9
    {-0.329863,  -0.369381,   0.977861, -0.0855261, -0.858379,   0.54759},   // diamond map: 17
};

// A compound pattern draws iFuncNum = randomNum(0, k) truncated, then picks one of its functions.
struct SCompound {
    double dChoices;  // k
    int iFunctions;
};

constexpr SCompound compoundPatterns[] = {{3, 3}, {2, 2}, {3, 3}, {2, 2}, {4, 3}};  // patterns 1-5

// The nonlinear functions. They test nothing on purpose: a zero radius or a zero vx gives the
// infinities and NaNs of IEEE arithmetic, which the post-step deals with.

SPoint linear(double dVx, double dVy) { return {dVx, dVy}; }

SPoint sinusoidal(double dVx, double dVy) { return {std::sin(dVx), std::sin(dVy)}; }

SPoint spherical(double dVx, double dVy, double dR) {  // (vx / r², vy / r²)
    const double dR2 = dR * dR;
    return {dVx / dR2, dVy / dR2};
}

SPoint swirl(double dR, double dTheta) {  // r · (cos, sin)(θ + r): r itself, not r², joins θ
    return {dR * std::cos(dTheta + dR), dR * std::sin(dTheta + dR)};
}

SPoint spiral(double dR, double dTheta) {  // y′ adds cos(r) and sin(θ), as x′ adds sin(r), cos(θ)
    return {(std::sin(dR) + std::cos(dTheta)) / dR, (std::cos(dR) + std::sin(dTheta)) / dR};
}

SPoint diamond(double dR, double dTheta) {
    return {std::sin(dTheta) * std::cos(dR), std::cos(dTheta) * std::sin(dR)};
}

SPoint heart(double dR, double dTheta) {
    return {dR * std::sin(dTheta * dR), -(dR * std::cos(dTheta * dR))};
}

SPoint disc(double dR, double dTheta) {  // (sin, cos)(π · r) · θ / π
    return {std::sin(dPI * dR) * dTheta / dPI, std::cos(dPI * dR) * dTheta / dPI};
}

SPoint horseshoe(double dR, double dTheta) {
    return {dR * std::cos(2 * dTheta), dR * std::sin(2 * dTheta)};
}

SPoint polar(double dR, double dTheta) { return {dTheta / dPI, dR - 1}; }

SPoint handkerchief(double dR, double dTheta) {
    return {dR * std::sin(dTheta + dR), dR * std::cos(dTheta - dR)};
}

SPoint hyperbolic(double dR, double dTheta) {
    return {std::sin(dTheta) / dR, dR * std::cos(dTheta)};
}

SPoint ex(double dR, double dTheta) {  // r · sin(θ + r)³, r · cos(θ − r)³: one cube each
    const double dSin = std::sin(dTheta + dR);
    const double dCos = std::cos(dTheta - dR);
    return {dR * (dSin * dSin * dSin), dR * (dCos * dCos * dCos)};
}

SPoint fisheye(double dX, double dY, double dR) {  // scales the entry point, not the affine image
    const double dM = 2 * dR / (dR + 1);
    return {dX * dM, dY * dM};
}

SPoint cosine(double dX, double dY) {  // y′ takes the sine of π times the new x′
    const double dNewX = std::cos(dPI * dX) * std::cosh(dY);
    return {dNewX, -std::sin(dPI * dNewX) * std::sinh(dY)};
}

}  // namespace

CCalculation::CCalculation()
    : dx(0), dy(0), iMaxHit(0), iIterations(1000000), iPattern(1), iColourType(1) {}

void CCalculation::initCalculate() {
    seedRandom(static_cast<unsigned int>(time(nullptr)));
    dx = randomNum(-1, 1);  // x is drawn first
    dy = randomNum(-1, 1);
    std::cout << "calculating......." << std::endl << std::endl << std::endl;
    runIterations();
    calculateHitsToColour(iScreenWidth, iScreenHight);
}

// In blocks, so that the progress report costs one test per block and nothing per iteration.
void CCalculation::runIterations() {
    const int iPat = iPattern >= 1 && iPattern <= iPatternCount ? iPattern : 0;
    for (int iDone = 0; iDone < iIterations;) {
        const int iBlock = std::min(iIterations - iDone, iProgressBlock);
        (this->*patternLoops[iPat])(iBlock);
        iDone += iBlock;
        if (pfCalculationProgress) pfCalculationProgress(iDone, iIterations);
    }
}

// Flattened: the steps inline into the loop with the pattern a constant, so its switch folds
// away and each pattern's loop is straight code around its draw and libm calls.
template <int iPat>
__attribute__((flatten)) void CCalculation::runPattern(int iCount) {
    for (int i = 0; i < iCount; i++) {
        patternStep(iPat);
        postStep();
    }
}

void (CCalculation::*const CCalculation::patternLoops[iPatternCount + 1])(int) = {
    &CCalculation::runPattern<0>,  &CCalculation::runPattern<1>,  &CCalculation::runPattern<2>,
    &CCalculation::runPattern<3>,  &CCalculation::runPattern<4>,  &CCalculation::runPattern<5>,
    &CCalculation::runPattern<6>,  &CCalculation::runPattern<7>,  &CCalculation::runPattern<8>,
    &CCalculation::runPattern<9>,  &CCalculation::runPattern<10>, &CCalculation::runPattern<11>,
    &CCalculation::runPattern<12>, &CCalculation::runPattern<13>, &CCalculation::runPattern<14>,
    &CCalculation::runPattern<15>, &CCalculation::runPattern<16>, &CCalculation::runPattern<17>,
    &CCalculation::runPattern<18>, &CCalculation::runPattern<19>, &CCalculation::runPattern<20>,
};

void CCalculation::actualCalculate() {
    patternStep(iPattern);
    postStep();
}

void CCalculation::seedRandom(unsigned int uSeed) { generator.seed(uSeed); }

double CCalculation::randomNum(double dMin, double dMax) {
    return drawToRange(generator.next(), dMin, dMax);
}

int CCalculation::pickFunction(int iFuncNum, int iFunctions) {
    if (iFuncNum == 0) return 0;
    if (iFuncNum == 1 && iFunctions > 2) return 1;
    return iFunctions - 1;  // also k itself, drawn when the draw is its maximum
}

// Each case is the pattern's affine map, the polar values its function needs, then the function.
void CCalculation::patternStep(int iPat) {
    switch (iPat) {
    case 1: case 2: case 3: case 4: case 5:
        applyCompound(iPat, static_cast<int>(randomNum(0, compoundPatterns[iPat - 1].dChoices)));
        break;
    case 6:  applyAffine(iLinearMap);                  storePoint(linear(dVx, dVy));             break;
    case 7:  applyAffine(iSpiralMap);                  storePoint(sinusoidal(dVx, dVy));         break;
    case 8:  applyAffine(iSpiralMap);   storeRadius(); storePoint(spherical(dVx, dVy, dRadius)); break;
    case 9:  applyAffine(iPattern9Map); applyPolar<swirl>();                                     break;
    case 10: applyAffine(iSwirlMap);    applyPolar<horseshoe>();                                 break;
    case 11: applyAffine(iSwirlMap);    applyPolar<polar>();                                     break;
    case 12: applyAffine(iSwirlMap);    applyPolar<handkerchief>();                              break;
    case 13: applyAffine(iSwirlMap);    applyPolar<heart>();                                     break;
    case 14: applyAffine(iSwirlMap);    applyPolar<disc>();                                      break;
    case 15: applyAffine(iSwirlMap);    applyPolar<spiral>();                                    break;
    case 16: applyAffine(iSwirlMap);    applyPolar<hyperbolic>();                                break;
    case 17: applyAffine(iDiamondMap);  applyPolar<diamond>();                                   break;
    case 18: applyAffine(iSwirlMap);    applyPolar<ex>();                                        break;
    case 19: applyAffine(iSwirlMap);    storePolar();  storePoint(fisheye(dx, dy, dRadius));     break;
    case 20: applyAffine(iSwirlMap);    storePolar();  storePoint(cosine(dx, dy));               break;
    default: break;  // no such pattern: the point stays where it is
    }
}

// The choice is made by branches, not by indexing a table with the function number: the
// processor then goes ahead with the predicted function while the draw is still being divided.
void CCalculation::applyCompound(int iPat, int iFuncNum) {
    const int iFunc = pickFunction(iFuncNum, compoundPatterns[iPat - 1].iFunctions);
    switch (iPat) {
    case 1:  // halve the way to the corner (0, 0), (1, 0) or (0, 1) of a right triangle
        if (iFunc == 0)      storePoint({dx / 2, dy / 2});
        else if (iFunc == 1) storePoint({(dx + 1) / 2, dy / 2});
        else                 storePoint({dx / 2, (dy + 1) / 2});
        break;
    case 2:
        if (iFunc == 0) applyAffine(iCloudMap1);
        else            applyAffine(iCloudMap2);
        storeRadius();
        storePoint(spherical(dVx, dVy, dRadius));
        break;
    case 3:
        if (iFunc == 0) {
            applyAffine(iLinearMap);
            storePoint(linear(dVx, dVy));
        } else if (iFunc == 1) {
            applyAffine(iSpiralMap);
            applyPolar<spiral>();
        } else {
            applyAffine(iSwirlMap);
            applyPolar<swirl>();
        }
        break;
    case 4:
        applyIdentity();
        if (iFunc == 0) applyPolar<diamond>();
        else            applyPolar<heart>();
        break;
    case 5:
        applyIdentity();
        if (iFunc == 1) {  // sinusoidal needs no polar values and leaves them as they were
            storePoint(sinusoidal(dVx, dVy));
        } else if (iFunc == 0) {
            applyPolar<disc>();
        } else {
            applyPolar<spiral>();
        }
        break;
    }
}

void CCalculation::applyAffine(int iMap) {
    const SAffine& map = affineMaps[iMap];
    dVx = map.dA * dx + map.dB * dy + map.dC;
    dVy = map.dD * dx + map.dE * dy + map.dF;
}

void CCalculation::applyIdentity() {
    dVx = dx;
    dVy = dy;
}

void CCalculation::storeRadius() { dRadius = std::sqrt(dVx * dVx + dVy * dVy); }

void CCalculation::storePolar() {
    storeRadius();
    dAngleTheta = std::atan(dVy / dVx);  // one-argument: (vx, vy) and (-vx, -vy) share θ
}

// For the functions of r and θ alone: both go to the scratch fields, then the new point is made.
template <CCalculation::PolarFunction pFunction>
void CCalculation::applyPolar() {
    storePolar();
    storePoint(pFunction(dRadius, dAngleTheta));
}

void CCalculation::storePoint(SPoint pNew) {
    dx = pNew.dX;
    dy = pNew.dY;
}

// A runaway point, or one that is not a number (no step ever turns it back into one), starts
// afresh; a point outside the window but within the bound goes on without a hit.
void CCalculation::postStep() {
    if (dx > fEscapeBound || dx < -fEscapeBound || dy > fEscapeBound || dy < -fEscapeBound ||
        std::isnan(dx) || std::isnan(dy)) {
        restartPoint();
        return;
    }
    dSx = dx;
    dSy = dy;
    if (dx < -1 || dx > 1 || dy < -1 || dy > 1) return;

    int& iHits = myScreen.iScreenHits[convertToScreen(dx, iScreenWidth)]
                                     [convertToScreen(dy, iScreenHight)];
    iHits++;
    if (iHits > iMaxHit) iMaxHit = iHits;
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
// conversion to int: exactly 1 lands in the last pixel, NaN in the first.
int CCalculation::convertToScreen(double dValue, int iScreenValue) {
    const double dPixel = (dValue + 1) * (iScreenValue * 0.5);
    if (!(dPixel > -1)) return 0;                         // truncates below 0, or NaN
    if (dPixel >= iScreenValue) return iScreenValue - 1;  // truncates to the size or beyond
    return static_cast<int>(dPixel);
}

void CCalculation::calculateHitsToColour(int iSizeWidth, int iSizeHight) {
    colourHits(iColourType, iMaxHit, iSizeWidth, iSizeHight);
}
