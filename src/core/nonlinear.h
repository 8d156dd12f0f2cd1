#pragma once

// The nonlinear functions the patterns and flames are made of: one table says per function its
// name, what the step works out for it besides the affine image, and its formula. The iteration
// loop reads the table at compile time, so that each pattern's step folds into straight code;
// the flame names, the help and the step's polar decision read it too.

#include "base/angles.h"
#include "base/point.h"

#include <cmath>
#include <cstddef>
#include <iterator>

// What a function is given: the point, its affine image (vx, vy), and the image's radius r and
// angle θ = atan(vy / vx) where the step works them out (else whatever they were).
struct SImage {
    double dX, dY;
    double dVx, dVy;
    double dR, dTheta;
};

// The functions, in the order of the table below.
enum ENonlinear : int {
    eHalveToOrigin, eHalveToRight, eHalveToTop,  // pattern 1: the point halfway to a corner
    eLinear, eSinusoidal, eSpherical, eSwirl, eSpiral, eDiamond, eHeart, eDisc, eHorseshoe,
    ePolar, eHandkerchief, eHyperbolic, eEx, eFisheye, eCosine,
    iNonlinearCount
};

// What the step works out for a function besides vx and vy: the radius alone, or the radius and
// the angle (fisheye and cosine have theirs worked out too, though only fisheye reads r).
enum ENeeds : int { eImageOnly, eRadius, eRadiusAndAngle };

struct SNonlinear {
    ENonlinear  eNonlinear;
    const char* sName;      // as a flame's text and a sentence name it; null: not for flames
    ENeeds      eNeeds;
    SPoint (*pfFormula)(const SImage& v);
};

// They test nothing on purpose: a zero radius or a zero vx gives the infinities and NaNs of IEEE
// arithmetic, which the post-step deals with. Each formula is written in the order of its terms.
constexpr SNonlinear nonlinearTable[] = {
    {eHalveToOrigin, nullptr, eImageOnly, [](const SImage& v) -> SPoint {
         return {v.dX / 2, v.dY / 2};
     }},
    {eHalveToRight, nullptr, eImageOnly, [](const SImage& v) -> SPoint {
         return {(v.dX + 1) / 2, v.dY / 2};
     }},
    {eHalveToTop, nullptr, eImageOnly, [](const SImage& v) -> SPoint {
         return {v.dX / 2, (v.dY + 1) / 2};
     }},
    {eLinear, "linear", eImageOnly, [](const SImage& v) -> SPoint { return {v.dVx, v.dVy}; }},
    {eSinusoidal, "sinusoidal", eImageOnly, [](const SImage& v) -> SPoint {
         return {std::sin(v.dVx), std::sin(v.dVy)};
     }},
    {eSpherical, "spherical", eRadius, [](const SImage& v) -> SPoint {  // (vx / r², vy / r²)
         const double dR2 = v.dR * v.dR;
         return {v.dVx / dR2, v.dVy / dR2};
     }},
    {eSwirl, "swirl", eRadiusAndAngle, [](const SImage& v) -> SPoint {  // r itself joins θ
         return {v.dR * std::cos(v.dTheta + v.dR), v.dR * std::sin(v.dTheta + v.dR)};
     }},
    {eSpiral, "spiral", eRadiusAndAngle, [](const SImage& v) -> SPoint {  // y′ adds cos(r)
         return {(std::sin(v.dR) + std::cos(v.dTheta)) / v.dR,
                 (std::cos(v.dR) + std::sin(v.dTheta)) / v.dR};
     }},
    {eDiamond, "diamond", eRadiusAndAngle, [](const SImage& v) -> SPoint {
         return {std::sin(v.dTheta) * std::cos(v.dR), std::cos(v.dTheta) * std::sin(v.dR)};
     }},
    {eHeart, "heart", eRadiusAndAngle, [](const SImage& v) -> SPoint {
         return {v.dR * std::sin(v.dTheta * v.dR), -(v.dR * std::cos(v.dTheta * v.dR))};
     }},
    {eDisc, "disc", eRadiusAndAngle, [](const SImage& v) -> SPoint {  // (sin, cos)(π r) · θ / π
         return {std::sin(dPI * v.dR) * v.dTheta / dPI, std::cos(dPI * v.dR) * v.dTheta / dPI};
     }},
    {eHorseshoe, "horseshoe", eRadiusAndAngle, [](const SImage& v) -> SPoint {
         return {v.dR * std::cos(2 * v.dTheta), v.dR * std::sin(2 * v.dTheta)};
     }},
    {ePolar, "polar", eRadiusAndAngle, [](const SImage& v) -> SPoint {
         return {v.dTheta / dPI, v.dR - 1};
     }},
    {eHandkerchief, "handkerchief", eRadiusAndAngle, [](const SImage& v) -> SPoint {
         return {v.dR * std::sin(v.dTheta + v.dR), v.dR * std::cos(v.dTheta - v.dR)};
     }},
    {eHyperbolic, "hyperbolic", eRadiusAndAngle, [](const SImage& v) -> SPoint {
         return {std::sin(v.dTheta) / v.dR, v.dR * std::cos(v.dTheta)};
     }},
    {eEx, "ex", eRadiusAndAngle, [](const SImage& v) -> SPoint {  // one cube each
         const double dSin = std::sin(v.dTheta + v.dR);
         const double dCos = std::cos(v.dTheta - v.dR);
         return {v.dR * (dSin * dSin * dSin), v.dR * (dCos * dCos * dCos)};
     }},
    {eFisheye, "fisheye", eRadiusAndAngle, [](const SImage& v) -> SPoint {  // scales the point
         const double dM = 2 * v.dR / (v.dR + 1);
         return {v.dX * dM, v.dY * dM};
     }},
    {eCosine, "cosine", eRadiusAndAngle, [](const SImage& v) -> SPoint {  // sine of π · new x′
         const double dNewX = std::cos(dPI * v.dX) * std::cosh(v.dY);
         return {dNewX, -std::sin(dPI * dNewX) * std::sinh(v.dY)};
     }},
};
static_assert(std::size(nonlinearTable) == iNonlinearCount, "a row for every function");

constexpr bool rowsInOrder() {
    for (size_t i = 0; i < std::size(nonlinearTable); i++)
        if (nonlinearTable[i].eNonlinear != static_cast<ENonlinear>(i)) return false;
    return true;
}
static_assert(rowsInOrder(), "the table's rows in the order of ENonlinear");

constexpr const SNonlinear& nonlinearOf(ENonlinear eNonlinear) {
    return nonlinearTable[eNonlinear];
}

// A function a flame can be made of: every one but pattern 1's halvings.
constexpr bool inFlames(ENonlinear eNonlinear) { return nonlinearOf(eNonlinear).sName != nullptr; }

constexpr int flameFunctionCount() {
    int iCount = 0;
    for (const SNonlinear& function : nonlinearTable) iCount += function.sName != nullptr;
    return iCount;
}
constexpr int iFlameFunctionCount = flameFunctionCount();

// The iFunction-th of the functions a flame can be made of, in the table's order.
constexpr ENonlinear flameFunctionAt(int iFunction) {
    for (const SNonlinear& function : nonlinearTable)
        if (function.sName != nullptr && iFunction-- == 0) return function.eNonlinear;
    return eLinear;
}
