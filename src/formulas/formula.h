#pragma once

// What a row of the variation table holds, and what its formula is given. The rows themselves,
// each with its formula beside it, are in the family files of this folder, which
// variations/table.h gathers.
//
// (x, y) is the pre-affine output, w the variation's weight, p its parameters in the row's
// order, coefs its xform's A B C D E F, k what the row's prepare worked out from p and coefs once
// per xform. θ = atan2(x, y) is measured from +y toward +x; φ = atan2(y, x) is the usual polar
// angle; sθ = x/r and cθ = y/r are taken as these ratios. Nothing is guarded: r = 0 and the like
// give NaN or infinity, which the iteration treats as a bad value and replaces, as flam3 does.
// Random numbers are drawn in the order written.
//
// Each formula is written once, over the number type of maths/numbers.h: T is one point's double
// or four points' lanes (a generic lambda's auto, deduced from the call), so that the point alone
// and the lanes run the same operations in the same order, and agree to the bit. A branch on the
// point is the conditional operator, which lanes take as a choice of each lane with both sides
// worked out: so no side draws a random number, and the formulas draw theirs unconditionally.
// A branch on the parameters alone (the same in every lane) is a plain if.
//
// The editors (Apophysis 7X, Fractorium, JWildfire) give the point a third coordinate z, and
// use a variation in three ways: summed with the others (its plain use), as a pre_ form that
// moves the pre-affine output before the others see it, and as a post_ form that moves their
// sum. What a row does to z and how its forms act are columns of the row (SVariationSpace).

#include "base/angles.h"
#include "formulas/batch_random.h"
#include "formulas/lane_random.h"
#include "maths/maths.h"
#include "maths/numbers.h"

#include <array>
#include <cmath>
#include <cstddef>

constexpr double dVariationEpsilon = 1e-10;
constexpr int iMostParameters = 16;  // of one variation (affine3D's fifteen)
constexpr int iMostConstants = 4;   // that one variation works out once per xform

// The pre-affine point and what the variations derive from it, each worked out once on first
// use, as flam3 works them out once per xform: r², r, θ and φ (all of x and y alone). Of one
// point (T double) or of four lanes (maths/numbers.h).
template <class T>
class CVariationInput {
public:
    // The derived values start as copies of x, never read before they are worked out: four lanes'
    // copies are four stores, where clearing them was a slower fill of memory.
    CVariationInput(T x_, T y_, T z_ = T{})
        : x(x_), y(y_), z(z_), dR2(x_), dR(x_), dTheta(x_), dPhi(x_) {}
    const T x, y;
    const T z;  // 0 where the flame's points carry no z
    T r2() {
        if (!bR2) dR2 = x * x + y * y, bR2 = true;
        return dR2;
    }
    T r() {
        if (!bR) dR = maths::sqrt(r2()), bR = true;
        return dR;
    }
    T theta() {
        if (!bTheta) dTheta = maths::atan2(x, y), bTheta = true;
        return dTheta;
    }
    T phi() {
        if (!bPhi) dPhi = maths::atan2(y, x), bPhi = true;
        return dPhi;
    }

private:
    T dR2, dR, dTheta, dPhi;
    bool bR2 = false, bR = false, bTheta = false, bPhi = false;
};

// One formula's call: the point, the walk's random numbers and the xform's coefs for all its
// variations; then each variation's own weight, parameters and constants; and the sum (X, Y)
// that every variation of the xform adds its part to, in the table's order; Z is summed only
// where the flame's points carry z.
template <class T>
struct SVariationCall {
    CVariationInput<T>& in;
    TRandomOf<T>&       random;
    const double*       coefs;
    double              w = 0;
    const double*       p = nullptr;
    const double*       k = nullptr;
    T                   dX{}, dY{}, dZ{};
};

using CConstants = std::array<double, iMostConstants>;
using FPrepare = CConstants (*)(const double* p, const double* coefs);

// A formula, written once as a generic lambda taking its call (`[](auto& c) { ... }`), and
// made for one point and for four lanes from that one source.
struct SFormula {
    using FOne = void (*)(SVariationCall<double>& call);
    using FLanes = void (*)(SVariationCall<maths::lanes::V>& call);
    constexpr SFormula() = default;
    constexpr SFormula(std::nullptr_t) {}
    template <class F>
    constexpr SFormula(F formula) : pfOne(formula), pfLanes(formula) {}
    template <class T>
    constexpr auto of() const {
        if constexpr (maths::iLanesOf<T> == 1) return pfOne;
        else return pfLanes;
    }
    constexpr bool none() const { return pfOne == nullptr; }
    FOne pfOne = nullptr;
    FLanes pfLanes = nullptr;
};

// A parameter of a variation: its xform attribute (the variation's name, "_", its own), its
// default, and the range a random genome draws it from (whole numbers only, where bWhole);
// and another name a file may give it.
struct SParameter {
    const char* sName = nullptr;
    double      dDefault = 0;
    double      dRandomLow = 0, dRandomHigh = 0;
    bool        bWhole = false;
    const char* sAlias = nullptr;  // another attribute name it is read by, or none
    // An editor's later addition to an older variation: written only where it is not its
    // default, so that a genome that does not use it is written as before it was known.
    bool        bLater = false;
};

// A later parameter (above), whole where bWhole, drawn in [low, high] only where a variation's
// parameters are drawn at random.
constexpr SParameter laterParameter(const char* sName, double dDefault, double dLow = 0,
                                    double dHigh = 0, bool bWhole = false) {
    return {sName, dDefault, dLow, dHigh, bWhole, nullptr, true};
}

// What a variation makes of z. The editors agree that a row makes X and Y, and Z as it says:
enum EZRule {
    eZPassed,  // no Z of its own: 0 to the sum, and z goes through its replacing forms as it is
    eZMade,    // a Z of its own (its formula's, or its z part's)
    eZOnly,    // Z alone: nothing to X and Y, and x and y go through its replacing forms
};

// How a variation stands in the editors' three dimensions and acts in its pre_ and post_ forms.
struct SVariationSpace {
    EZRule   eZ = eZPassed;
    SFormula zPart = {};         // its part of Z, run only where the flame's points carry z
    bool     bAdditive = false;  // its forms add their output to the point, not replace it
    bool     bReadsZ = false;    // its X or Y depends on z: the flame's points must carry it
    bool     bOnSum = false;     // its plain use acts on the sum, before the post_ forms
    bool     bFirst = false;     // its plain use moves the point first, as its additive pre_
                                 // form would (flam3's pre_blur): then r, θ, φ are taken
};

// Most of flam3's first variations, and the editors' that copy them, add w·z to Z.
constexpr auto addWeightedZ = [](auto& c) { c.dZ += c.w * c.in.z; };
constexpr SVariationSpace zWeighted = {eZMade, addWeightedZ};
constexpr SVariationSpace zWeightedAdditive = {eZMade, addWeightedZ, true};
constexpr SVariationSpace additive = {eZPassed, nullptr, true};
constexpr SVariationSpace makesZ = {eZMade};                       // in its formula
constexpr SVariationSpace makesZFromZ = {eZMade, nullptr, false, true};
constexpr SVariationSpace movesPointFirst = {eZPassed, nullptr, true, false, false, true};

struct SVariation {
    int         iVariation;  // its EVariation: the rows are in that order
    const char* sName;       // the xform attribute giving its weight, e.g. "julian"
    std::array<SParameter, iMostParameters> parameters;  // the first iParameters of them
    FPrepare    pfPrepare;   // null: it works out nothing once per xform
    SFormula    formula;
    SVariationSpace space = {};
    std::array<const char*, 2> aliases = {};  // other names the editors write it by
    constexpr int parameterCount() const {
        int iCount = 0;
        while (iCount < iMostParameters && parameters[iCount].sName) iCount++;
        return iCount;
    }
};

// flam3's sums of four uniform numbers, minus 2: a bell over (−2, 2).
template <class TRandom>
inline auto fourUniformsLessTwo(TRandom& random) {
    const auto dU1 = random.uniform(), dU2 = random.uniform();
    const auto dU3 = random.uniform(), dU4 = random.uniform();
    return dU1 + dU2 + dU3 + dU4 - 2;
}
