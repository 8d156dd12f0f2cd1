#pragma once

// The variation table itself: the family files' rows, in EVariation's order, known when the
// program is compiled. The iteration calls a formula through callFormula, in which each formula
// is a constant and inlines into a branch of its own (the iteration is flattened so that all
// do), where a call through the row's pointer costs several percent of a genome's time;
// everything else reads the rows through variations.h.

#include "formulas/classic.h"
#include "formulas/complex.h"
#include "formulas/folds.h"
#include "formulas/parametric.h"
#include "plugins/plugins.h"
#include "formulas/shapes.h"
#include "plugins/space.h"
#include "plugins/wildfire.h"

#include <cstddef>
#include <utility>

namespace variation {

// The families, in EVariation's order: each one's name as the help lists it, its rows and how
// many.
struct SFamily {
    const char* sName;
    const SVariation* pRows;
    int iRows;
};
template <std::size_t N>
constexpr SFamily familyOf(const char* sName, const SVariation (&rows)[N]) {
    return {sName, rows, static_cast<int>(N)};
}
constexpr SFamily families[] = {
    familyOf("classic", classicRows),         familyOf("parametric", parametricRows),
    familyOf("shapes", shapeRows),            familyOf("folds, waves", foldRows),
    familyOf("complex", complexRows),         familyOf("3D, with z", spaceRows),
    familyOf("plugins", pluginRows),          familyOf("JWildfire's plugins", wildfireRows)};

constexpr const SVariation& rowOf(int iVariation) {
    int iFamily = 0;
    while (iVariation >= families[iFamily].iRows) iVariation -= families[iFamily++].iRows;
    return families[iFamily].pRows[iVariation];
}

constexpr bool rowsInOrder() {
    int iRows = 0;
    for (const SFamily& family : families) iRows += family.iRows;
    for (int i = 0; i < iRows; i++)
        if (rowOf(i).iVariation != i) return false;
    return iRows == eCount;
}
static_assert(rowsInOrder(), "a row for every variation, in EVariation's order");

// The formula, and where the points carry z (bZ) the row's z part after it, of one point or of
// four lanes (T).
template <int iVariation, bool bZ, class T>
inline void callRow(SVariationCall<T>& call) {
    constexpr auto pfFormula = rowOf(iVariation).formula.template of<T>();
    pfFormula(call);
    if constexpr (bZ) {
        // A plain if: the sanitizers' builds cannot compare a function's address in a constant
        // expression; the compiler folds it all the same.
        constexpr auto pfZ = rowOf(iVariation).space.zPart.template of<T>();
        if (pfZ != nullptr) pfZ(call);
    }
}

template <bool bZ, class T, int... iVariations>
inline void callFormulaOf(int iVariation, SVariationCall<T>& call,
                          std::integer_sequence<int, iVariations...>) {
    (void)((iVariation == iVariations && (callRow<iVariations, bZ>(call), true)) || ...);
}

// Adds variation iVariation's part, with call's weight, parameters and constants, to call's sum;
// its part of Z too where bZ. Every formula inlined where it is called: the one-point walk
// flattens its map.
template <bool bZ>
inline void callFormula(int iVariation, SVariationCall<double>& call) {
    callFormulaOf<bZ>(iVariation, call, std::make_integer_sequence<int, eCount>());
}

}  // namespace variation
