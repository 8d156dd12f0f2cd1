#pragma once

// CXformMap's map of a point, one source for a point alone and for four in vector lanes: the
// colour blended, the pre-affine, the pre_ forms, the variations summed, the post_ forms, the
// post-affine, each step the same operations in the same order for either. Included where walks
// are stepped; the formulas come from the variation table.

#include "game/xform_map.h"
#include "variations/table.h"

// A variation's part: one point's formula inlined (the map is flattened); four lanes' called
// directly, compiled for their processors.
template <bool bZ, class T>
inline void CXformMap::callFormula(const SActive& active, SVariationCall<T>& call) {
    if constexpr (maths::iLanesOf<T> == 1) variation::callFormula<bZ>(active.iVariation, call);
    else active.pfLanes(call);
}

// Each form in turn: its formula's sum, begun from the point or from 0, becomes the point.
template <class T, bool bZ>
inline void CXformMap::applyForms(const std::vector<SActive>& vForms, T& x, T& y, T& z,
                                  TRandomOf<T>& random) const {
    for (const SActive& form : vForms) {
        CVariationInput<T> in(x, y, bZ ? z : T{});
        SVariationCall<T> call{in, random, coefs.data(), form.dWeight,
                               parameters.data() + form.iFirstParameter, form.constants.data(),
                               form.bKeepXY ? x : T{}, form.bKeepXY ? y : T{},
                               form.bKeepZ ? z : T{}};
        callFormula<bZ>(form, call);
        x = call.dX, y = call.dY, z = call.dZ;
    }
}

// The plain variations' sum at (x, y, z), in the table's order; linear alone without the
// formulas' dispatch where the point carries no z, the same operations: the sum begins at 0.
template <class T, bool bZ>
inline void CXformMap::sumVariations(T x, T y, T z, T& dX, T& dY, T& dZ,
                                     TRandomOf<T>& random) const {
    if (!bZ && bLinearAlone) {
        const double w = vSum[0].dWeight;
        dX = 0.0 + w * x, dY = 0.0 + w * y;
        return;
    }
    CVariationInput<T> in(x, y, bZ ? z : T{});
    SVariationCall<T> call{in, random, coefs.data()};
    for (const SActive& active : vSum) {
        call.w = active.dWeight;
        call.p = parameters.data() + active.iFirstParameter;
        call.k = active.constants.data();
        callFormula<bZ>(active, call);
    }
    dX = call.dX, dY = call.dY, dZ = call.dZ;
}

// Flattened: with every formula a branch of callFormula the compiler's inlining budget runs out
// before all are inlined, and a formula left as a call costs several percent. Four lanes call
// each formula's own function (variations/lane_formulas.cpp).
template <class T, bool bZ>
[[gnu::flatten]] inline void CXformMap::apply(SWalkPoint<T>& point, TRandomOf<T>& random) const {
    point.c = dSpeed * dColor + (1 - dSpeed) * point.c;
    const std::array<double, 6>& a = coefs;
    T tx = a[0] * point.x + a[2] * point.y + a[4];
    T ty = a[1] * point.x + a[3] * point.y + a[5];
    T tz = point.z;
    if (!vPre.empty()) applyForms<T, bZ>(vPre, tx, ty, tz, random);
    T dX{}, dY{}, dZ{};
    sumVariations<T, bZ>(tx, ty, tz, dX, dY, dZ, random);
    if (!vPost.empty()) applyForms<T, bZ>(vPost, dX, dY, dZ, random);
    if (bPost) {
        const std::array<double, 6>& p = post;
        point.x = p[0] * dX + p[2] * dY + p[4];
        point.y = p[1] * dX + p[3] * dY + p[5];
    } else {
        point.x = dX;
        point.y = dY;
    }
    if constexpr (bZ) point.z = dZ;
}
