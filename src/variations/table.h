#pragma once

// The variation table itself: the family files' rows, in EVariation's order, known when the
// program is compiled. The iteration calls a formula through callFormula, in which each formula
// is a constant and inlines into a branch of its own, where a call through the row's pointer
// costs several percent of a genome's time; everything else reads the rows through
// variations.h.

#include "variations/classic.h"
#include "variations/parametric.h"

#include <iterator>
#include <utility>

namespace variation {

constexpr int iClassicRows = static_cast<int>(std::size(classicRows));
constexpr int iParametricRows = static_cast<int>(std::size(parametricRows));

constexpr const SVariation& rowOf(int iVariation) {
    return iVariation < iClassicRows ? classicRows[iVariation]
                                     : parametricRows[iVariation - iClassicRows];
}

constexpr bool rowsInOrder() {
    for (int i = 0; i < eCount; i++)
        if (rowOf(i).iVariation != i) return false;
    return iClassicRows + iParametricRows == eCount;
}
static_assert(rowsInOrder(), "a row for every variation, in EVariation's order");

template <int iVariation>
inline void callRow(SVariationCall& call) {
    constexpr FFormula pfFormula = rowOf(iVariation).pfFormula;
    pfFormula(call);
}

template <int... iVariations>
inline void callFormulaOf(int iVariation, SVariationCall& call,
                          std::integer_sequence<int, iVariations...>) {
    (void)((iVariation == iVariations && (callRow<iVariations>(call), true)) || ...);
}

// Adds variation iVariation's part, with call's weight, parameters and constants, to call's sum.
inline void callFormula(int iVariation, SVariationCall& call) {
    callFormulaOf(iVariation, call, std::make_integer_sequence<int, eCount>());
}

}  // namespace variation
