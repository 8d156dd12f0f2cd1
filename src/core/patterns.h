#pragma once

// What the patterns are made of: the affine maps, and one table that says per pattern what it
// is, for the menu and for the iteration loop. The loop reads the table at compile time, so that
// each pattern's step is straight code: hence the table is defined here, not in a .cpp. A new
// pattern is a row of the table (and a map, if it needs a new one): the count, the menu and
// every text that names the range follow from it.

#include "base/random.h"
#include "core/nonlinear.h"

#include <array>
#include <iterator>

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

// The six numbers of a map, in the order a, b, c, d, e, f: as a flame's text writes them, and as
// a random flame draws them.
inline std::array<double*, 6> coefficientsOf(SAffine& map) {
    return {&map.dA, &map.dB, &map.dC, &map.dD, &map.dE, &map.dF};
}

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
constexpr int iPatternCount = static_cast<int>(std::size(patternTable));  // 1 to 5 compound

constexpr bool isPattern(int iPattern) { return iPattern >= 1 && iPattern <= iPatternCount; }
