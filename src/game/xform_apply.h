#pragma once

// CXformMap's map of a point, one source for a point alone and for four in vector lanes: the
// colour blended, the pre-affine, the pre_ forms, the variations summed, the post_ forms, the
// post-affine, each step the same operations in the same order for either. Included where walks
// are stepped; the formulas come from the variation table.

#include "game/xform_map.h"
#include "variations/table.h"

#include <immintrin.h>

// The steps of a map that every xform takes, of a point (T) by numbers (K) that are one xform's,
// or of four lanes each by its own xform's numbers in lanes (CXformMap::applyMixed).
template <class T, class K>
inline T blendedColour(K dSpeed, K dColor, T c) {
    return dSpeed * dColor + (1 - dSpeed) * c;
}
template <class T, class TCoefs>  // six numbers, A B C D E F
inline void plainAffine(const TCoefs& a, T x, T y, T& dX, T& dY) {
    dX = a[0] * x + a[2] * y + a[4];
    dY = a[1] * x + a[3] * y + a[5];
}
// linear's part of the sum, which begins at 0.
template <class T, class K>
inline void linearPart(K w, T x, T y, T& dX, T& dY) {
    dX = 0.0 + w * x, dY = 0.0 + w * y;
}

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
    if (!bZ && bLinearAlone) return linearPart(vSum[0].dWeight, x, y, dX, dY);
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

// JWildfire's affine with its planes, of (x, y, z): (x, y) by A B C D, then (y, z) by the yz
// plane's a₀ … a₃, then (x, z) by the zx plane's b₀ … b₃; then the offsets, E + b₄ to x, F + a₄
// to y, a₅ + b₅ to z.
template <class T>
inline void planesAffine(const std::array<double, 6>& a, const std::array<double, 6>& yz,
                         const std::array<double, 6>& zx, T x, T y, T z, T& dX, T& dY, T& dZ) {
    const T x1 = a[0] * x + a[2] * y, y1 = a[1] * x + a[3] * y;
    const T y2 = yz[0] * y1 + yz[2] * z, z2 = yz[1] * y1 + yz[3] * z;
    const T x3 = zx[0] * x1 + zx[2] * z2, z3 = zx[1] * x1 + zx[3] * z2;
    dX = x3 + (a[4] + zx[4]), dY = y2 + (a[5] + yz[4]), dZ = z3 + (yz[5] + zx[5]);
}

// Flattened: with every formula a branch of callFormula the compiler's inlining budget runs out
// before all are inlined, and a formula left as a call costs several percent. Four lanes call
// each formula's own function (variations/lane_formulas.cpp).
template <class T, bool bZ>
[[gnu::flatten]] inline void CXformMap::apply(SWalkPoint<T>& point, TRandomOf<T>& random) const {
    // The colour kept aside until the end: written back at once, it stalled the point's next
    // read, which takes z and c in one load.
    const T c = blendedColour(dSpeed, dColor, point.c);
    T tx, ty, tz = point.z;
    if (bPrePlanes) planesAffine(coefs, yzCoefs, zxCoefs, point.x, point.y, point.z, tx, ty, tz);
    else plainAffine(coefs, point.x, point.y, tx, ty);
    if (!vPre.empty()) applyForms<T, bZ>(vPre, tx, ty, tz, random);
    T dX{}, dY{}, dZ{};
    sumVariations<T, bZ>(tx, ty, tz, dX, dY, dZ, random);
    if (!vPost.empty()) applyForms<T, bZ>(vPost, dX, dY, dZ, random);
    if (bPostPlanes) {
        planesAffine(post, yzPost, zxPost, dX, dY, dZ, point.x, point.y, dZ);
    } else if (bPost) {
        plainAffine(post, dX, dY, point.x, point.y);
    } else {
        point.x = dX;
        point.y = dY;
    }
    if constexpr (bZ) point.z = dZ;
    point.c = c;
}

// Four walks' points, each lane mapped by its own xform, all mixable: the steps of apply, the
// numbers in lanes (each xform's read four at a time and turned into lanes), both ends of the
// post-affine's choice worked out and each lane's taken.
[[gnu::target("avx2,fma")]] inline void CXformMap::applyMixed(const CXformMap* const (&pMaps)[4],
                                                              SWalkPoint<maths::lanes::V>& point) {
    using V = maths::lanes::V;
    V n[16];  // n[k]: number k of each lane's xform
    for (int k = 0; k < 16; k += 4) {
        V r[4];
        for (int i = 0; i < 4; i++) r[i] = _mm256_loadu_pd(&pMaps[i]->mixedNumbers[k]);
        maths::lanes::transpose(r);
        for (int i = 0; i < 4; i++) n[k + i] = r[i];
    }
    const V c = blendedColour(n[14], n[13], point.c);
    V tx, ty, dX, dY, dPostX, dPostY;
    plainAffine(n, point.x, point.y, tx, ty);
    linearPart(n[12], tx, ty, dX, dY);
    plainAffine(n + 6, dX, dY, dPostX, dPostY);
    const maths::lanes::VBits bPost = maths::lanes::asBits(n[15]);
    point.x = bPost ? dPostX : dX;
    point.y = bPost ? dPostY : dY;
    point.c = c;
}
