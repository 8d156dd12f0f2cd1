#include "variations/variations.h"

#include <cstring>
#include <iterator>

namespace {

// Parameters with flam3's defaults, grouped by the variation that reads them.
constexpr SParameterInfo parameterTable[] = {
    {"blob_low", 0}, {"blob_high", 1}, {"blob_waves", 1},                           //  0 blob
    {"pdj_a", 0}, {"pdj_b", 0}, {"pdj_c", 0}, {"pdj_d", 0},                         //  3 pdj
    {"fan2_x", 0}, {"fan2_y", 0},                                                   //  7 fan2
    {"rings2_val", 0},                                                              //  9 rings2
    {"perspective_angle", 0}, {"perspective_dist", 0},                              // 10
    {"julian_power", 1}, {"julian_dist", 1},                                        // 12 julian
    {"juliascope_power", 1}, {"juliascope_dist", 1},                                // 14
    {"radial_blur_angle", 0},                                                       // 16
    {"pie_slices", 6}, {"pie_rotation", 0}, {"pie_thickness", 0.5},                 // 17 pie
    {"ngon_sides", 5}, {"ngon_power", 3}, {"ngon_circle", 1}, {"ngon_corners", 2},  // 20 ngon
    {"curl_c1", 1}, {"curl_c2", 0},                                                 // 24 curl
    {"rectangles_x", 1}, {"rectangles_y", 1},                                       // 26
};

// name, first parameter, parameters, uses coefs, random
constexpr SVariationInfo variationTable[] = {
    {"linear",        0, 0, false, false},  //  0
    {"sinusoidal",    0, 0, false, false},  //  1
    {"spherical",     0, 0, false, false},  //  2
    {"swirl",         0, 0, false, false},  //  3
    {"horseshoe",     0, 0, false, false},  //  4
    {"polar",         0, 0, false, false},  //  5
    {"handkerchief",  0, 0, false, false},  //  6
    {"heart",         0, 0, false, false},  //  7
    {"disc",          0, 0, false, false},  //  8
    {"spiral",        0, 0, false, false},  //  9
    {"hyperbolic",    0, 0, false, false},  // 10
    {"diamond",       0, 0, false, false},  // 11
    {"ex",            0, 0, false, false},  // 12
    {"julia",         0, 0, false, true},   // 13
    {"bent",          0, 0, false, false},  // 14
    {"waves",         0, 0, true,  false},  // 15
    {"fisheye",       0, 0, false, false},  // 16
    {"popcorn",       0, 0, true,  false},  // 17
    {"exponential",   0, 0, false, false},  // 18
    {"power",         0, 0, false, false},  // 19
    {"cosine",        0, 0, false, false},  // 20
    {"rings",         0, 0, true,  false},  // 21
    {"fan",           0, 0, true,  false},  // 22
    {"blob",          0, 3, false, false},  // 23
    {"pdj",           3, 4, false, false},  // 24
    {"fan2",          7, 2, false, false},  // 25
    {"rings2",        9, 1, false, false},  // 26
    {"eyefish",       0, 0, false, false},  // 27
    {"bubble",        0, 0, false, false},  // 28
    {"cylinder",      0, 0, false, false},  // 29
    {"perspective",  10, 2, false, false},  // 30
    {"noise",         0, 0, false, true},   // 31
    {"julian",       12, 2, false, true},   // 32
    {"juliascope",   14, 2, false, true},   // 33
    {"blur",          0, 0, false, true},   // 34
    {"gaussian_blur", 0, 0, false, true},   // 35
    {"radial_blur",  16, 1, false, true},   // 36
    {"pie",          17, 3, false, true},   // 37
    {"ngon",         20, 4, false, false},  // 38
    {"curl",         24, 2, false, false},  // 39
    {"rectangles",   26, 2, false, false},  // 40
    {"arch",          0, 0, false, true},   // 41
    {"tangent",       0, 0, false, false},  // 42
    {"square",        0, 0, false, true},   // 43
    {"rays",          0, 0, false, true},   // 44
    {"blade",         0, 0, false, true},   // 45
    {"secant2",       0, 0, false, false},  // 46
    {"twintrian",     0, 0, false, true},   // 47
    {"cross",         0, 0, false, false},  // 48
};

constexpr const char* legacyNames[] = {
    "disc2", "super_shape", "flower", "conic", "parabola", "bent2", "bipolar", "boarders",
    "butterfly", "cell", "cpow", "curve", "edisc", "elliptic", "escher", "foci", "lazysusan",
    "loonie", "pre_blur", "modulus", "oscilloscope", "polar2", "popcorn2", "scry", "separation",
    "split", "splits", "stripes", "wedge", "wedge_julia", "wedge_sph", "whorl", "waves2", "exp",
    "log", "sin", "cos", "tan", "sec", "csc", "cot", "sinh", "cosh", "tanh", "sech", "csch",
    "coth", "auger", "flux", "mobius",
};

static_assert(std::size(variationTable) == iVariationCount);
static_assert(std::size(parameterTable) == iParameterCount);
static_assert(std::size(legacyNames) == iLegacyVariationCount - iVariationCount);

// Each row's parameters follow the previous rows' and are no more than iMostParameters.
constexpr bool parametersTiled() {
    int iNext = 0;
    for (const SVariationInfo& info : variationTable) {
        if (info.iParameters == 0) continue;
        if (info.iFirstParameter != iNext || info.iParameters > iMostParameters) return false;
        iNext += info.iParameters;
    }
    return iNext == iParameterCount;
}
static_assert(parametersTiled());

}  // namespace

const SVariationInfo& variationInfo(int iVariation) { return variationTable[iVariation]; }

const SParameterInfo& parameterInfo(int iParameter) { return parameterTable[iParameter]; }

std::array<double, iParameterCount> defaultParameters() {
    std::array<double, iParameterCount> parameters;
    for (int i = 0; i < iParameterCount; i++) parameters[i] = parameterTable[i].dDefault;
    return parameters;
}

int variationIndex(const char* sName) {
    for (int i = 0; i < iVariationCount; i++)
        if (std::strcmp(variationTable[i].sName, sName) == 0) return i;
    return -1;
}

int parameterIndex(const char* sName) {
    for (int i = 0; i < iParameterCount; i++)
        if (std::strcmp(parameterTable[i].sName, sName) == 0) return i;
    return -1;
}

const char* legacyVariationName(int iVariation) {
    return legacyNames[iVariation - iVariationCount];
}
