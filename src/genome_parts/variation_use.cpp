#include "genome_parts/variation_use.h"

#include "variations/variations.h"

#include <cctype>
#include <cstring>
#include <tuple>

bool SVariationUse::operator==(const SVariationUse& other) const {
    return std::tie(iVariation, eForm, dWeight, parameters, iRepeat) ==
           std::tie(other.iVariation, other.eForm, other.dWeight, other.parameters,
                    other.iRepeat);
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

// A repeat's name X.k. or X.k._P: the k taken out, X or X_P left.
bool withoutRepeat(std::string& sName, int& iRepeat) {
    const size_t uDot = sName.find('.');
    if (uDot == std::string::npos || uDot == 0) return false;
    size_t uEnd = uDot + 1;
    while (uEnd < sName.size() && uEnd < uDot + 6 && std::isdigit(static_cast<unsigned char>(sName[uEnd])))
        uEnd++;
    if (uEnd == uDot + 1 || uEnd >= sName.size() || sName[uEnd] != '.') return false;
    iRepeat = std::stoi(sName.substr(uDot + 1, uEnd - uDot - 1));
    sName.erase(uDot, uEnd + 1 - uDot);
    return true;
}

// A plain, pre_ or post_ name, no repeat.
bool formName(const char* sName, SVariationName& name) {
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

}  // namespace

bool variationName(const char* sName, SVariationName& name) {
    name = {};
    std::string sPlain = sName;
    int iRepeat = -1;
    if (withoutRepeat(sPlain, iRepeat)) {
        if (!formName(sPlain.c_str(), name)) return false;
        name.iRepeat = iRepeat;
        return true;
    }
    return formName(sName, name);
}

std::string useAttributeName(const SVariationUse& use, int iParameter) {
    const SVariation& row = variationOf(use.iVariation);
    std::string sName = use.eForm == ePreForm ? "pre_" : use.eForm == ePostForm ? "post_" : "";
    sName += row.sName;
    if (use.iRepeat >= 0) sName += "." + std::to_string(use.iRepeat) + ".";
    // A parameter's name is its variation's, then "_" and its own.
    if (iParameter >= 0) sName += row.parameters[iParameter].sName + std::strlen(row.sName);
    return sName;
}

SVariationUse& useNamed(std::vector<SVariationUse>& vUses, const SVariationName& name) {
    for (SVariationUse& use : vUses)
        if (use.iVariation == name.iVariation && use.eForm == name.eForm &&
            use.iRepeat == name.iRepeat)
            return use;
    const SVariation& row = variationOf(name.iVariation);
    std::vector<double> vDefaults;
    for (int k = 0; k < row.parameterCount(); k++) vDefaults.push_back(row.parameters[k].dDefault);
    vUses.push_back({name.iVariation, name.eForm, 0, vDefaults, name.iRepeat});
    return vUses.back();
}
