#pragma once

// The variations flam3 numbers 0 to 48, as one table: each row's name, the parameters it takes
// and whether it reads its xform's affine coefs. The reader, the writer and the iteration all go
// through it; the formulas, one case per row, are in variation_formulas.h. A new variation is a
// row here and a case there.

#include <array>

constexpr int iVariationCount = 49;
constexpr int iParameterCount = 28;  // the parameters of all rows together
constexpr int iMostParameters = 4;   // of one row

struct SParameterInfo {
    const char* sName;     // the xform attribute, e.g. "julian_power"
    double      dDefault;
};

struct SVariationInfo {
    const char* sName;           // the xform attribute giving its weight, e.g. "julian"
    int         iFirstParameter; // its parameters: iParameters of them from this index
    int         iParameters;
    bool        bUsesCoefs;      // reads its own xform's pre-affine coefs (waves, popcorn, ...)
    bool        bRandom;         // draws random numbers
};

const SVariationInfo& variationInfo(int iVariation);  // 0 <= iVariation < iVariationCount
const SParameterInfo& parameterInfo(int iParameter);  // 0 <= iParameter < iParameterCount
std::array<double, iParameterCount> defaultParameters();

// The index of a variation or parameter by its attribute name, or -1.
int variationIndex(const char* sName);
int parameterIndex(const char* sName);

// flam3's names of the variations past 48 in its legacy var="..." list order (indices 49 to 98),
// which this renderer does not draw: named in messages about a legacy list that uses them.
constexpr int iLegacyVariationCount = 99;
const char* legacyVariationName(int iVariation);  // iVariationCount <= iVariation < 99
