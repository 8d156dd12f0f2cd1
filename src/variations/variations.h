#pragma once

// The variations, as one table: each row's name, its parameters with their defaults and random
// ranges, what it works out once per xform, and its formula (variations/formula.h). The reader,
// the writer, random genomes, mutations, the help and the iteration all read it. A new variation
// is an entry in EVariation and a row, with its formula, in a family file (table.h).
//
// The xform keeps every parameter of every variation in one array: a variation's parameters
// take the places from firstParameter(v) on, in the table's order.

#include "variations/formula.h"

#include <string>
#include <vector>

namespace variation {

enum EVariation : int {
    eLinear, eSinusoidal, eSpherical, eSwirl, eHorseshoe, ePolar, eHandkerchief, eHeart, eDisc,
    eSpiral, eHyperbolic, eDiamond, eEx, eJulia, eBent, eWaves, eFisheye, ePopcorn, eExponential,
    ePower, eCosine, eRings, eFan, eBlob, ePdj, eFan2, eRings2, eEyefish, eBubble, eCylinder,
    ePerspective, eNoise, eJulian, eJuliascope, eBlur, eGaussianBlur, eRadialBlur, ePie, eNgon,
    eCurl, eRectangles, eArch, eTangent, eSquare, eRays, eBlade, eSecant2, eTwintrian, eCross,
    eDisc2, eSuperShape, eFlower, eConic, eParabola, eBent2, eBipolar, eBoarders, eButterfly,
    eCell, eCpow, eCurve, eEdisc, eElliptic, eEscher, eFoci, eLazysusan, eLoonie,
    ePreBlur, eModulus, eOscilloscope, ePolar2, ePopcorn2, eScry, eSeparation, eSplit, eSplits,
    eStripes, eWedge, eWedgeJulia, eWedgeSph, eWhorl, eWaves2,
    eExp, eLog, eSin, eCos, eTan, eSec, eCsc, eCot, eSinh, eCosh, eTanh, eSech, eCsch, eCoth,
    eAuger, eFlux, eMobius,
    // The editors' three dimensions (space.h) and plugins (plugins.h).
    eLinear3D, eSpherical3D, eBlur3D, eJulia3D, eJulia3Dz, eHemisphere, eCurl3D, eBlob3D,
    eFlatten, eZscale, eZtranslate, eZcone, eZblur, eRotateX, eRotateY,
    eEditorsMobius, eBwraps, eBoarders2, eSineblur, eBlurCircle, eJuliac, eAxisSymmetry,
    ePointSymmetry,
    eCount
};

}  // namespace variation

constexpr int iVariationCount = variation::eCount;
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

// The variations by family, in the table's order, as the help lists them.
struct SVariationFamily {
    const char* sName;
    int iFirst, iCount;
};
std::vector<SVariationFamily> variationFamilies();
// Its variations' names in order, each with its aliases in brackets: "bwraps (bwraps7, bwraps2)".
std::string familyNames(const SVariationFamily& family);


