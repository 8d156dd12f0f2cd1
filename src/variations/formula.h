#pragma once

// What a row of the variation table holds, and what its formula is given. The rows themselves,
// each with its formula beside it, are in the family files that table.h gathers.
//
// (x, y) is the pre-affine output, w the variation's weight, p its parameters in the row's
// order, coefs its xform's A B C D E F, k what the row's prepare worked out from p and coefs once
// per xform. θ = atan2(x, y) is measured from +y toward +x; φ = atan2(y, x) is the usual polar
// angle; sθ = x/r and cθ = y/r are taken as these ratios. Nothing is guarded: r = 0 and the like
// give NaN or infinity, which the iteration treats as a bad value and replaces, as flam3 does.
// Random numbers are drawn in the order written.

#include "core/angles.h"
#include "variations/batch_random.h"

#include <array>
#include <cmath>

constexpr double dVariationEpsilon = 1e-10;
constexpr int iMostParameters = 8;  // of one variation (mobius's four complex numbers)
constexpr int iMostConstants = 4;   // that one variation works out once per xform

// The pre-affine point and what the variations derive from it, each worked out once on first
// use, as flam3 works them out once per xform: r², r, θ and φ.
class CVariationInput {
public:
    CVariationInput(double x_, double y_) : x(x_), y(y_) {}
    const double x, y;
    double r2() {
        if (!(dR2 >= 0)) dR2 = x * x + y * y;
        return dR2;
    }
    double r() {
        if (!(dR >= 0)) dR = std::sqrt(r2());
        return dR;
    }
    double theta() {
        if (!bTheta) dTheta = std::atan2(x, y), bTheta = true;
        return dTheta;
    }
    double phi() {
        if (!bPhi) dPhi = std::atan2(y, x), bPhi = true;
        return dPhi;
    }

private:
    double dR2 = -1, dR = -1, dTheta = 0, dPhi = 0;
    bool bTheta = false, bPhi = false;
};

// One formula's call: the point, the batch's random numbers and the xform's coefs for all its
// variations; then each variation's own weight, parameters and constants; and the sum (X, Y)
// that every variation of the xform adds its part to, in the table's order.
struct SVariationCall {
    CVariationInput& in;
    CBatchRandom&    random;
    const double*    coefs;
    double           w = 0;
    const double*    p = nullptr;
    const double*    k = nullptr;
    double           dX = 0, dY = 0;
};

using CConstants = std::array<double, iMostConstants>;
using FPrepare = CConstants (*)(const double* p, const double* coefs);
using FFormula = void (*)(SVariationCall& call);

// A parameter of a variation: its xform attribute, flam3's default, and the range a random
// genome draws it from (whole numbers only, where bWhole).
struct SParameter {
    const char* sName = nullptr;
    double      dDefault = 0;
    double      dRandomLow = 0, dRandomHigh = 0;
    bool        bWhole = false;
    const char* sAlias = nullptr;  // another attribute flam3 reads it by, or none
};

// What a row's part is added to. Most are summed into the xform's result; pre_blur's moves the
// pre-affine point itself, before r, θ and φ are taken and before any summed variation sees it,
// and adds nothing to the sum.
enum EApplied { eSummed, eMovesPoint };

struct SVariation {
    int         iVariation;  // its EVariation: the rows are in that order
    const char* sName;       // the xform attribute giving its weight, e.g. "julian"
    std::array<SParameter, iMostParameters> parameters;  // the first iParameters of them
    FPrepare    pfPrepare;   // null: it works out nothing once per xform
    FFormula    pfFormula;
    EApplied    eApplied = eSummed;
    constexpr int parameterCount() const {
        int iCount = 0;
        while (iCount < iMostParameters && parameters[iCount].sName) iCount++;
        return iCount;
    }
};

// flam3's sums of four uniform numbers, minus 2: a bell over (−2, 2).
inline double fourUniformsLessTwo(CBatchRandom& random) {
    const double dU1 = random.uniform(), dU2 = random.uniform();
    const double dU3 = random.uniform(), dU4 = random.uniform();
    return dU1 + dU2 + dU3 + dU4 - 2;
}
