#include "xml/xform_xml.h"

#include "genome/attributes.h"
#include "genome/numbers.h"
#include "xml/editor_attributes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool readLegacyVariations(const pugi::xml_attribute& attribute, SXform& xform,
                          std::string& sError) {
    std::vector<double> vWeights;
    if (!readNumberList(attribute.value(), vWeights) ||
        static_cast<int>(vWeights.size()) != iFlam3Variations) {
        sError = badValue(attribute) + "a list of 99 variation weights";
        return false;
    }
    for (int i = 0; i < iFlam3Variations; i++) xform.variations[i] = vWeights[i];
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
        iVariation < iFlam3Variations) {
        xform.variations.fill(0);
        xform.variations[iVariation] = 1;
        return true;
    }
    sError = badValue(attribute) + "a variation number from 0 to 98";
    return false;
}

// A variation's weight or a parameter, as one number: a plain variation's in the xform's own
// arrays, a form's in its use, made at its first mention.
double* variationNumber(const char* sName, SXform& xform) {
    SVariationName name;
    if (!variationName(sName, name)) return nullptr;
    if (name.eForm == ePlainForm)
        return name.iParameter < 0
                   ? &xform.variations[name.iVariation]
                   : &xform.parameters[firstParameter(name.iVariation) + name.iParameter];
    SVariationUse& use = useNamed(xform.vUses, name);
    return name.iParameter < 0 ? &use.dWeight : &use.parameters[name.iParameter];
}

// A name two variations share as an alias of a parameter (flam3's mobius and the editors' Mobius
// both read Re_A) sets the parameter of each: only the variation the xform uses draws with it.
void setSharedAlias(const char* sName, double dValue, SXform& xform) {
    for (int i = 0; i < parameterCount(); i++)
        if (parameterOf(i).sAlias && std::strcmp(parameterOf(i).sAlias, sName) == 0)
            xform.parameters[i] = dValue;
}

}  // namespace

std::string quoted(const char* s) { return std::string("'") + s + "'"; }

std::string badValue(const pugi::xml_attribute& attribute) {
    return std::string(attribute.name()) + "=\"" + attribute.value() + "\" is not ";
}

bool readXform(const pugi::xml_node& node, SXform& xform, const std::string& sPlace,
               CNotDrawn& notDrawn, std::string& sError) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const char* sName = attribute.name();
        if (const SAttribute<SXform>* pRow = xformAttribute(sName)) {
            if (pRow->pfRead(attribute.value(), xform)) continue;
            sError = badValue(attribute) + pRow->sExpected;
            return false;
        }
        if (double* pNumber = variationNumber(sName, xform)) {
            if (readNumber(attribute.value(), *pNumber)) {
                setSharedAlias(sName, *pNumber, xform);
                continue;
            }
            sError = badValue(attribute) + "a finite number";
            return false;
        }
        bool bKnown = false;
        if (!readLegacyVariation(attribute, xform, bKnown, sError)) return false;
        if (bKnown) continue;
        const EEditorAttribute eEditor = xformEditorAttribute(sName, attribute.value());
        if (eEditor == eUnknownAttribute) notDrawn.unknownName(sPlace, sName);
        if (eEditor == eNotDrawn) notDrawn.notDrawnValue(sPlace, attribute);
    }
    return true;
}
