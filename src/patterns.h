#pragma once

// What the twenty patterns are made of: the affine maps, the nonlinear functions (pure functions
// of their arguments), and one table that says per pattern what it is, for the menu and for the
// iteration loop. The loop reads the table at compile time, so that each pattern's step is
// straight code: hence the formulas and the table are defined here, not in a .cpp.

#include "random.h"

#include <cmath>
#include <iterator>

constexpr int iPatternCount = 20;  // patterns 1 to 20; 1 to 5 are compound

constexpr bool isPattern(int iPattern) { return iPattern >= 1 && iPattern <= iPatternCount; }
constexpr double dPI = 3.141592653589793;

struct SPoint {  // a point of the plane, as a nonlinear function yields it
    double dX;
    double dY;
};

// The affine maps: vx = a·x + b·y + c, vy = d·x + e·y + f, each a row of affineMaps.
struct SAffine {
    double dA, dB, dC, dD, dE, dF;
};

enum : int {
    iCloudMap1, iCloudMap2, iLinearMap, iSpiralMap, iSwirlMap, iPattern9Map, iDiamondMap,
    iIdentityMap,  // vx = x, vy = y, copied: 1·x + 0·y + 0 would turn -0 into +0 and flip θ
    iNoMap,        // pattern 1, whose halving functions read the point itself
};

extern const SAffine affineMaps[iIdentityMap];

// The nonlinear functions. They test nothing on purpose: a zero radius or a zero vx gives the
// infinities and NaNs of IEEE arithmetic, which the post-step deals with.

inline SPoint linear(double dVx, double dVy) { return {dVx, dVy}; }

inline SPoint sinusoidal(double dVx, double dVy) { return {std::sin(dVx), std::sin(dVy)}; }

inline SPoint spherical(double dVx, double dVy, double dR) {  // (vx / r², vy / r²)
    const double dR2 = dR * dR;
    return {dVx / dR2, dVy / dR2};
}

inline SPoint swirl(double dR, double dTheta) {  // r · (cos, sin)(θ + r): r itself joins θ
    return {dR * std::cos(dTheta + dR), dR * std::sin(dTheta + dR)};
}

inline SPoint spiral(double dR, double dTheta) {  // y′ adds cos(r) and sin(θ), as x′ adds sin(r)
    return {(std::sin(dR) + std::cos(dTheta)) / dR, (std::cos(dR) + std::sin(dTheta)) / dR};
}

inline SPoint diamond(double dR, double dTheta) {
    return {std::sin(dTheta) * std::cos(dR), std::cos(dTheta) * std::sin(dR)};
}

inline SPoint heart(double dR, double dTheta) {
    return {dR * std::sin(dTheta * dR), -(dR * std::cos(dTheta * dR))};
}

inline SPoint disc(double dR, double dTheta) {  // (sin, cos)(π · r) · θ / π
    return {std::sin(dPI * dR) * dTheta / dPI, std::cos(dPI * dR) * dTheta / dPI};
}

inline SPoint horseshoe(double dR, double dTheta) {
    return {dR * std::cos(2 * dTheta), dR * std::sin(2 * dTheta)};
}

inline SPoint polar(double dR, double dTheta) { return {dTheta / dPI, dR - 1}; }

inline SPoint handkerchief(double dR, double dTheta) {
    return {dR * std::sin(dTheta + dR), dR * std::cos(dTheta - dR)};
}

inline SPoint hyperbolic(double dR, double dTheta) {
    return {std::sin(dTheta) / dR, dR * std::cos(dTheta)};
}

inline SPoint ex(double dR, double dTheta) {  // r · sin(θ + r)³, r · cos(θ − r)³: one cube each
    const double dSin = std::sin(dTheta + dR);
    const double dCos = std::cos(dTheta - dR);
    return {dR * (dSin * dSin * dSin), dR * (dCos * dCos * dCos)};
}

inline SPoint fisheye(double dX, double dY, double dR) {  // scales the entry point, not the image
    const double dM = 2 * dR / (dR + 1);
    return {dX * dM, dY * dM};
}

inline SPoint cosine(double dX, double dY) {  // y′ takes the sine of π times the new x′
    const double dNewX = std::cos(dPI * dX) * std::cosh(dY);
    return {dNewX, -std::sin(dPI * dNewX) * std::sinh(dY)};
}

// What a function needs of the affine image besides vx and vy; the loop stores just these.
enum ENonlinear : int {
    eHalveToOrigin, eHalveToRight, eHalveToTop,  // pattern 1: the point halfway to a corner
    eLinear, eSinusoidal,                        // vx and vy only
    eSpherical,                                  // and r
    eSwirl, eSpiral, eDiamond, eHeart, eDisc, eHorseshoe, ePolar, eHandkerchief, eHyperbolic,
    eEx, eFisheye, eCosine,                      // r and θ
};

struct SFunction {  // one function of a pattern: an affine map, then a nonlinear function
    int iMap;
    ENonlinear eNonlinear;
};

// A compound pattern draws d once and applies function randomNum(0, k) of d, truncated: 0 the
// first, 1 the second where there are three, any larger number the last (k itself included,
// drawn when d is iRandomMax). The function is a step function of d, so the loop compares d with
// the smallest draw of each function instead of dividing.
struct SChoice {
    double dChoices;           // k; 0 for a single function, which draws nothing
    int iFunctions;            // 1 to 3
    long long iFirstDraws[3];  // the smallest draw that picks each function; past iRandomMax: none
};

constexpr int pickFunction(int iFuncNum, int iFunctions) {
    if (iFuncNum == 0) return 0;
    if (iFuncNum == 1 && iFunctions > 2) return 1;
    return iFunctions - 1;
}

constexpr int functionOfDraw(int iDraw, double dChoices, int iFunctions) {  // the division
    return pickFunction(static_cast<int>(drawToRange(iDraw, 0, dChoices)), iFunctions);
}

constexpr long long firstDrawOf(int iFunction, double dChoices, int iFunctions) {  // bisection
    long long iLow = 0, iHigh = iRandomMax + 1LL;
    while (iLow < iHigh) {
        const long long iMiddle = (iLow + iHigh) / 2;
        if (functionOfDraw(static_cast<int>(iMiddle), dChoices, iFunctions) < iFunction) {
            iLow = iMiddle + 1;
        } else {
            iHigh = iMiddle;
        }
    }
    return iLow;
}

constexpr SChoice choiceOf(double dChoices, int iFunctions) {
    return {dChoices, iFunctions,
            {0, firstDrawOf(1, dChoices, iFunctions), firstDrawOf(2, dChoices, iFunctions)}};
}

constexpr SChoice oneFunction{0, 1, {0, iRandomMax + 1LL, iRandomMax + 1LL}};

constexpr int chosenFunction(const SChoice& choice, int iDraw) {  // = functionOfDraw, no division
    return iDraw < choice.iFirstDraws[1] ? 0 : iDraw < choice.iFirstDraws[2] ? 1 : 2;
}

// Whether two orbits of the pattern, driven by the same draws from different points, come to be
// one, bit for bit: then a run can be cut into chunks computed side by side. Diamond and heart
// are odd in x (the one-argument arc tangent), so pattern 4's orbits may instead become each
// other's mirror image (-x, y).
enum EMeeting : int { eNeverMeets, eMeets, eMeetsOrMirrors };

struct SPattern {
    const char* sMenuLine;
    const char* sName;  // as a sentence names the pattern
    SChoice choice;
    SFunction functions[3];
    EMeeting eMeeting = eNeverMeets;
};

constexpr SPattern patternTable[] = {
    {"1 - Sierpinsky's Triangle, functions by Vantor.", "Sierpinsky's Triangle", choiceOf(3, 3),
     {{iNoMap, eHalveToOrigin}, {iNoMap, eHalveToRight}, {iNoMap, eHalveToTop}}, eMeets},
    {"2 - Cloud-like , example by Vantor.", "cloud-like", choiceOf(2, 2),
     {{iCloudMap1, eSpherical}, {iCloudMap2, eSpherical}}, eMeets},
    {"3 - linear & spiral & swirl , example by Vantor.", "linear & spiral & swirl", choiceOf(3, 3),
     {{iLinearMap, eLinear}, {iSpiralMap, eSpiral}, {iSwirlMap, eSwirl}}, eMeets},
    {"4 - Vemo's try out 1.", "Vemo's try out 1", choiceOf(2, 2),
     {{iIdentityMap, eDiamond}, {iIdentityMap, eHeart}}, eMeetsOrMirrors},
    {"5 - Vemo's try out 2.", "Vemo's try out 2", choiceOf(4, 3),
     {{iIdentityMap, eDisc}, {iIdentityMap, eSinusoidal}, {iIdentityMap, eSpiral}}},
    {"6 - Vantor's - linear -.",        "linear",       oneFunction, {{iLinearMap, eLinear}}},
    {"7 - Vantor's - sinusoidal -.",    "sinusoidal",   oneFunction, {{iSpiralMap, eSinusoidal}}},
    {"8 - Vantor's - spherical -.",     "spherical",    oneFunction, {{iSpiralMap, eSpherical}}},
    {"9 - Vantor's - swirl -.",         "swirl",        oneFunction, {{iPattern9Map, eSwirl}}},
    {"10 - Vantor's - horseshoe -.",    "horseshoe",    oneFunction, {{iSwirlMap, eHorseshoe}}},
    {"11 - Vantor's - polar -.",        "polar",        oneFunction, {{iSwirlMap, ePolar}}},
    {"12 - Vantor's - handkerchief -.", "handkerchief", oneFunction, {{iSwirlMap, eHandkerchief}}},
    {"13 - Vantor's - heart -.",        "heart",        oneFunction, {{iSwirlMap, eHeart}}},
    {"14 - Vantor's - disc -.",         "disc",         oneFunction, {{iSwirlMap, eDisc}}},
    {"15 - Vantor's - spiral -.",       "spiral",       oneFunction, {{iSwirlMap, eSpiral}}},
    {"16 - Vantor's - hyperbolic -.",   "hyperbolic",   oneFunction, {{iSwirlMap, eHyperbolic}}},
    {"17 - Vantor's - diamond -.",      "diamond",      oneFunction, {{iDiamondMap, eDiamond}}},
    {"18 - Vantor's - ex -.",           "ex",           oneFunction, {{iSwirlMap, eEx}}},
    {"19 - Vantor's - fisheye -.",      "fisheye",      oneFunction, {{iSwirlMap, eFisheye}}},
    {"20 - Vantor's - cosine -.",       "cosine",       oneFunction, {{iSwirlMap, eCosine}}},
};
static_assert(std::size(patternTable) == iPatternCount);
