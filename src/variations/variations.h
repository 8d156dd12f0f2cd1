#pragma once

// The variations, as one table: each row's name, its parameters with their defaults and random
// ranges, what it works out once per xform, and its formula (formulas/formula.h). The reader,
// the writer, random genomes, mutations, the help and the iteration all read it. A new variation
// is an entry in EVariation (formulas/variation_ids.h) and a row, with its formula, in a family
// file of formulas/ (gathered in table.h).
//
// The xform keeps every parameter of every variation in one array: a variation's parameters
// take the places from firstParameter(v) on, in the table's order.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

#include <string>
#include <vector>

// flam3's own variations, numbered as its legacy var="..." list and var1 number them: the first
// of the table's rows, in the same order.
constexpr int iFlam3Variations = variation::eMobius + 1;
static_assert(iFlam3Variations == 99, "flam3 numbers 99 variations");

const SVariation& variationOf(int iVariation);  // 0 <= iVariation < iVariationCount
int firstParameter(int iVariation);             // its parameters' first place
int parameterCount();                           // of every variation together
const SParameter& parameterOf(int iParameter);  // 0 <= iParameter < parameterCount()
std::vector<double> defaultParameters();        // every parameter at its default

// The index of a variation or parameter by its attribute name, or -1: the row's own name or an
// alias; a parameter also by its own alias ("oscope_frequency"), or by an alias of its variation
// in place of the variation's name ("bwraps7_gain" for "bwraps_gain").
int variationIndex(const char* sName);
int parameterIndex(const char* sName);
int variationOfParameter(int iParameter);  // the variation whose parameter it is

// Variation iVariation's formula over four lanes, with its part of Z where bZ: a function of its
// own compiled for processors with AVX2 and fused multiply-add (variations/lane_formulas.cpp),
// to be called only on them.
using FLaneFormula = void (*)(SVariationCall<maths::lanes::V>& call);
FLaneFormula laneFormulaOf(int iVariation, bool bZ);

// The variations by family, in the table's order, as the help lists them.
struct SVariationFamily {
    const char* sName;
    int iFirst, iCount;
};
std::vector<SVariationFamily> variationFamilies();
// Its variations' names in order, each with its aliases in brackets: "bwraps (bwraps7, bwraps2)".
std::string familyNames(const SVariationFamily& family);


