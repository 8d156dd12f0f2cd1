#include "xml/xform_xml.h"

#include "genome/attributes.h"
#include "genome/numbers.h"

#include <cstring>
#include <vector>

namespace {

bool readLegacyVariations(const pugi::xml_attribute& attribute, SXform& xform,
                          std::string& sError) {
    std::vector<double> vWeights;
    if (!readNumberList(attribute.value(), vWeights) ||
        static_cast<int>(vWeights.size()) != iLegacyVariationCount) {
        sError = badValue(attribute) + "a list of 99 variation weights";
        return false;
    }
    for (int i = 0; i < iLegacyVariationCount; i++) xform.variations[i] = vWeights[i];
    return true;
}

// The old forms of variations: var1, the one variation by number, and var, a list of weights.
bool readLegacyVariation(const pugi::xml_attribute& attribute, SXform& xform, bool& bKnown,
                         std::string& sError) {
    bKnown = true;
    if (std::strcmp(attribute.name(), "var") == 0)
        return readLegacyVariations(attribute, xform, sError);
    int iVariation;
    if (std::strcmp(attribute.name(), "var1") != 0) {
        bKnown = false;
        return true;
    }
    if (readInteger(attribute.value(), iVariation) && iVariation >= 0 &&
        iVariation < iLegacyVariationCount) {
        xform.variations.fill(0);
        xform.variations[iVariation] = 1;
        return true;
    }
    sError = badValue(attribute) + "a variation number from 0 to 98";
    return false;
}

// A variation's weight or a parameter, as one number.
double* variationNumber(const char* sName, SXform& xform) {
    const int iVariation = variationIndex(sName), iParameter = parameterIndex(sName);
    if (iVariation >= 0) return &xform.variations[iVariation];
    if (iParameter >= 0) return &xform.parameters[iParameter];
    return nullptr;
}

}  // namespace

std::string quoted(const char* s) { return std::string("'") + s + "'"; }

std::string badValue(const pugi::xml_attribute& attribute) {
    return std::string(attribute.name()) + "=\"" + attribute.value() + "\" is not ";
}

bool readXform(const pugi::xml_node& node, SXform& xform, std::string& sError) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const char* sName = attribute.name();
        if (const SAttribute<SXform>* pRow = xformAttribute(sName)) {
            if (pRow->pfRead(attribute.value(), xform)) continue;
            sError = badValue(attribute) + pRow->sExpected;
            return false;
        }
        if (double* pNumber = variationNumber(sName, xform)) {
            if (readNumber(attribute.value(), *pNumber)) continue;
            sError = badValue(attribute) + "a finite number";
            return false;
        }
        bool bKnown = false;
        if (!readLegacyVariation(attribute, xform, bKnown, sError)) return false;
        if (!bKnown) {
            sError = "unknown variation or attribute " + quoted(sName);
            return false;
        }
    }
    return true;
}
