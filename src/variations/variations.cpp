#include "variations/variations.h"

#include "variations/table.h"

#include <cstring>

namespace {

// Every variation's parameters in one run, in the table's order: where each variation's
// begin, and each parameter's row.
struct SParameterPlaces {
    int iFirst[iVariationCount + 1] = {};
    const SParameter* pParameters[iVariationCount * iMostParameters] = {};
};

constexpr SParameterPlaces parameterPlaces() {
    SParameterPlaces places;
    int iNext = 0;
    for (int i = 0; i < iVariationCount; i++) {
        places.iFirst[i] = iNext;
        const SVariation& row = variation::rowOf(i);
        for (int k = 0; k < row.parameterCount(); k++)
            places.pParameters[iNext++] = &row.parameters[k];
    }
    places.iFirst[iVariationCount] = iNext;
    return places;
}
constexpr SParameterPlaces places = parameterPlaces();

}  // namespace

const SVariation& variationOf(int iVariation) { return variation::rowOf(iVariation); }

int firstParameter(int iVariation) { return places.iFirst[iVariation]; }

int parameterCount() { return places.iFirst[iVariationCount]; }

const SParameter& parameterOf(int iParameter) { return *places.pParameters[iParameter]; }

std::vector<double> defaultParameters() {
    std::vector<double> vDefaults;
    for (int i = 0; i < parameterCount(); i++) vDefaults.push_back(parameterOf(i).dDefault);
    return vDefaults;
}

int variationIndex(const char* sName) {
    for (int i = 0; i < iVariationCount; i++)
        if (std::strcmp(variationOf(i).sName, sName) == 0) return i;
    return -1;
}

int parameterIndex(const char* sName) {
    for (int i = 0; i < parameterCount(); i++) {
        const SParameter& parameter = parameterOf(i);
        if (std::strcmp(parameter.sName, sName) == 0) return i;
        if (parameter.sAlias && std::strcmp(parameter.sAlias, sName) == 0) return i;
    }
    return -1;
}
