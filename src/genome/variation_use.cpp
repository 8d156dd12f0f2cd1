#include "genome/variation_use.h"

#include "variations/variations.h"

#include <cstring>
#include <tuple>

bool SVariationUse::operator==(const SVariationUse& other) const {
    return std::tie(iVariation, eForm, dWeight, parameters) ==
           std::tie(other.iVariation, other.eForm, other.dWeight, other.parameters);
}

namespace {

// A variation's or parameter's name as the table knows it, aliases included.
bool tableName(const std::string& sName, SVariationName& name) {
    const int iVariation = variationIndex(sName.c_str());
    if (iVariation >= 0) {
        name.iVariation = iVariation;
        return true;
    }
    const int iParameter = parameterIndex(sName.c_str());
    if (iParameter < 0) return false;
    name.iVariation = variationOfParameter(iParameter);
    name.iParameter = iParameter - firstParameter(name.iVariation);
    return true;
}

}  // namespace

bool variationName(const char* sName, SVariationName& name) {
    name = {};
    // The table's own names first: flam3's pre_blur is a variation, not blur's pre_ form.
    if (tableName(sName, name)) return true;
    std::string sRest = sName;
    if (sRest.compare(0, 4, "pre_") == 0) {
        name.eForm = ePreForm;
        sRest.erase(0, 4);
    } else if (sRest.compare(0, 5, "post_") == 0) {
        name.eForm = ePostForm;
        sRest.erase(0, 5);
    }
    return name.eForm != ePlainForm && tableName(sRest, name);
}

std::string useAttributeName(const SVariationUse& use, int iParameter) {
    const SVariation& row = variationOf(use.iVariation);
    std::string sName = use.eForm == ePreForm ? "pre_" : use.eForm == ePostForm ? "post_" : "";
    sName += row.sName;
    // A parameter's name is its variation's, then "_" and its own.
    if (iParameter >= 0) sName += row.parameters[iParameter].sName + std::strlen(row.sName);
    return sName;
}

SVariationUse& useNamed(std::vector<SVariationUse>& vUses, const SVariationName& name) {
    for (SVariationUse& use : vUses)
        if (use.iVariation == name.iVariation && use.eForm == name.eForm) return use;
    const SVariation& row = variationOf(name.iVariation);
    std::vector<double> vDefaults;
    for (int k = 0; k < row.parameterCount(); k++) vDefaults.push_back(row.parameters[k].dDefault);
    vUses.push_back({name.iVariation, name.eForm, 0, vDefaults});
    return vUses.back();
}
