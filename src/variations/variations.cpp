#include "variations/variations.h"

#include "variations/table.h"

#include <cstring>
#include <string>

namespace {

// Every variation's parameters in one run, in the table's order: where each variation's
// begin, and each parameter's row and variation.
struct SParameterPlaces {
    int iFirst[iVariationCount + 1] = {};
    const SParameter* pParameters[iVariationCount * iMostParameters] = {};
    int iVariationOf[iVariationCount * iMostParameters] = {};
};

constexpr SParameterPlaces parameterPlaces() {
    SParameterPlaces places;
    int iNext = 0;
    for (int i = 0; i < iVariationCount; i++) {
        places.iFirst[i] = iNext;
        const SVariation& row = variation::rowOf(i);
        for (int k = 0; k < row.parameterCount(); k++) {
            places.iVariationOf[iNext] = i;
            places.pParameters[iNext++] = &row.parameters[k];
        }
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

namespace {

bool same(const char* sOne, const char* sOther) { return sOne && std::strcmp(sOne, sOther) == 0; }

// The parameter named sName among variation iVariation's, or -1.
int parameterOfVariation(int iVariation, const std::string& sName) {
    for (int i = firstParameter(iVariation); i < firstParameter(iVariation + 1); i++)
        if (sName == parameterOf(i).sName) return i;
    return -1;
}

}  // namespace

int variationIndex(const char* sName) {
    for (int i = 0; i < iVariationCount; i++) {
        const SVariation& row = variationOf(i);
        if (same(row.sName, sName) || same(row.aliases[0], sName) || same(row.aliases[1], sName))
            return i;
    }
    return -1;
}

int parameterIndex(const char* sName) {
    for (int i = 0; i < parameterCount(); i++)
        if (same(parameterOf(i).sName, sName) || same(parameterOf(i).sAlias, sName)) return i;
    // A variation's alias, "_", and the parameter's own name.
    for (int i = 0; i < iVariationCount; i++)
        for (const char* sAlias : variationOf(i).aliases) {
            const size_t uLength = sAlias ? std::strlen(sAlias) : 0;
            if (uLength == 0 || std::strncmp(sName, sAlias, uLength) != 0 ||
                sName[uLength] != '_')
                continue;
            const int iParameter =
                parameterOfVariation(i, std::string(variationOf(i).sName) + (sName + uLength));
            if (iParameter >= 0) return iParameter;
        }
    return -1;
}

int variationOfParameter(int iParameter) { return places.iVariationOf[iParameter]; }

std::vector<SVariationFamily> variationFamilies() {
    std::vector<SVariationFamily> vFamilies;
    int iFirst = 0;
    for (const variation::SFamily& family : variation::families) {
        vFamilies.push_back({family.sName, iFirst, family.iRows});
        iFirst += family.iRows;
    }
    return vFamilies;
}

std::string familyNames(const SVariationFamily& family) {
    std::string sNames;
    for (int i = family.iFirst; i < family.iFirst + family.iCount; i++) {
        const SVariation& row = variationOf(i);
        sNames += std::string(i > family.iFirst ? ", " : "") + row.sName;
        std::string sAliases;
        for (const char* sAlias : row.aliases)
            if (sAlias) sAliases += std::string(sAliases.empty() ? "" : ", ") + sAlias;
        if (!sAliases.empty()) sNames += " (" + sAliases + ")";
    }
    return sNames;
}
