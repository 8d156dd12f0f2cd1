#pragma once

// The variation table itself: the family files' rows, in EVariation's order, known when the
// program is compiled. The iteration calls a formula through callFormula, in which each formula
// is a constant and inlines into a branch of its own (the iteration is flattened so that all 99
// do), where a call through the row's pointer costs several percent of a genome's time;
// everything else reads the rows through variations.h.

#include "variations/classic.h"
#include "variations/complex.h"
#include "variations/folds.h"
#include "variations/parametric.h"
#include "variations/shapes.h"

#include <cstddef>
#include <utility>

namespace variation {

// The family files' rows one after another, as a list of (first row, count) runs.
struct SRowRun {
    const SVariation* pRows;
    int               iRows;
};

template <std::size_t iSize>
constexpr SRowRun runOf(const SVariation (&rows)[iSize]) {
    return {rows, static_cast<int>(iSize)};
}

constexpr SRowRun rowRuns[] = {
    runOf(classicRows), runOf(parametricRows), runOf(shapeRows), runOf(foldRows),
    runOf(complexRows),
};

constexpr const SVariation& rowOf(int iVariation) {
    int iRun = 0;
    while (iVariation >= rowRuns[iRun].iRows) iVariation -= rowRuns[iRun++].iRows;
    return rowRuns[iRun].pRows[iVariation];
}

constexpr int rowCount() {
    int iCount = 0;
    for (const SRowRun& run : rowRuns) iCount += run.iRows;
    return iCount;
}

constexpr bool rowsInOrder() {
    if (rowCount() != eCount) return false;
    for (int i = 0; i < eCount; i++)
        if (rowOf(i).iVariation != i) return false;
    return true;
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
