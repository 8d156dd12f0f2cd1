#pragma once

// The variations, as one table: each row's name, its parameters with their defaults and random
// ranges, what it works out once per xform, and its formula (variations/formula.h). The reader,
// the writer, random genomes, mutations, the help and the iteration all read it. A new variation
// is an entry in EVariation and a row, with its formula, in a family file (table.h).
//
// The xform keeps every parameter of every variation in one array: a variation's parameters
// take the places from firstParameter(v) on, in the table's order.

#include "variations/formula.h"

#include <vector>

namespace variation {

enum EVariation : int {
    eLinear, eSinusoidal, eSpherical, eSwirl, eHorseshoe, ePolar, eHandkerchief, eHeart, eDisc,
    eSpiral, eHyperbolic, eDiamond, eEx, eJulia, eBent, eWaves, eFisheye, ePopcorn, eExponential,
    ePower, eCosine, eRings, eFan, eBlob, ePdj, eFan2, eRings2, eEyefish, eBubble, eCylinder,
    ePerspective, eNoise, eJulian, eJuliascope, eBlur, eGaussianBlur, eRadialBlur, ePie, eNgon,
    eCurl, eRectangles, eArch, eTangent, eSquare, eRays, eBlade, eSecant2, eTwintrian, eCross,
    eCount
};

}  // namespace variation

constexpr int iVariationCount = variation::eCount;

const SVariation& variationOf(int iVariation);  // 0 <= iVariation < iVariationCount
int firstParameter(int iVariation);             // its parameters' first place
int parameterCount();                           // of every variation together
const SParameter& parameterOf(int iParameter);  // 0 <= iParameter < parameterCount()
std::vector<double> defaultParameters();        // every parameter at its default

// The index of a variation or parameter by its attribute name (a parameter's alias too), or -1.
int variationIndex(const char* sName);
int parameterIndex(const char* sName);

// flam3's names of the variations past 48 in its legacy var="..." list order (indices 49 to 98),
// which this renderer does not draw: named in messages about a legacy list that uses them.
constexpr int iLegacyVariationCount = 99;
const char* legacyVariationName(int iVariation);  // iVariationCount <= iVariation < 99
