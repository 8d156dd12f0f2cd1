#include "xml/xform_xml.h"

#include "genome/attributes.h"
#include "genome_parts/numbers.h"
#include "xml/editor_attributes.h"

#include <algorithm>
#include <cstring>
#include <iterator>
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
    if (name.eForm == ePlainForm && name.iRepeat < 0)
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

// A number of the xform's: an attribute of the table, a variation's weight or parameter, or an
// old form of the variations. bKnown false for any other name.
bool readXformNumber(const pugi::xml_attribute& attribute, SXform& xform, bool& bKnown,
                     std::string& sError) {
    const char* sName = attribute.name();
    bKnown = true;
    if (const SAttribute<SXform>* pRow = xformAttribute(sName)) {
        if (pRow->pfRead(attribute.value(), xform)) return true;
        sError = badValue(attribute) + pRow->sExpected;
        return false;
    }
    if (double* pNumber = variationNumber(sName, xform)) {
        if (readNumber(attribute.value(), *pNumber)) {
            setSharedAlias(sName, *pNumber, xform);
            return true;
        }
        sError = badValue(attribute) + "a finite number";
        return false;
    }
    return readLegacyVariation(attribute, xform, bKnown, sError);
}

bool readMotionFunction(const pugi::xml_attribute& attribute, EMotionFunction& eFunction,
                        std::string& sError) {
    constexpr int iFunctions = static_cast<int>(std::size(sMotionFunctionNames));
    std::string sNames;
    for (int i = 0; i < iFunctions; i++) {
        if (std::strcmp(attribute.value(), sMotionFunctionNames[i]) == 0) {
            eFunction = static_cast<EMotionFunction>(i);
            return true;
        }
        sNames += (i == 0 ? "" : i + 1 < iFunctions ? ", " : " or ") +
                  std::string(sMotionFunctionNames[i]);
    }
    sError = badValue(attribute) + sNames;
    return false;
}

// What a loop may move: not chaos or plotmode, which flam3 refuses in a motion, nor the editors'
// pre_ and post_ forms, which flam3 does not know.
bool moves(const char* sName, std::string& sError) {
    const SAttribute<SXform>* pRow = xformAttribute(sName);
    SVariationName name;
    if (pRow && !pRow->bMoves) {
        sError = std::string(sName) + " cannot move";
    } else if (!pRow && variationName(sName, name) &&
               (name.eForm != ePlainForm || name.iRepeat >= 0)) {
        sError = std::string(sName) + " cannot move: only the plain variations do";
    } else {
        return true;
    }
    return false;
}

// One attribute of a <motion>: its frequency, its function, or an amplitude.
bool readMotionAttribute(const pugi::xml_attribute& attribute, SMotion& motion,
                         const std::string& sPlace, CNotDrawn& notDrawn, std::string& sError) {
    const char* sName = attribute.name();
    if (std::strcmp(sName, "motion_frequency") == 0) {
        if (readInteger(attribute.value(), motion.iFrequency)) return true;
        sError = badValue(attribute) + "a whole number";
        return false;
    }
    if (std::strcmp(sName, "motion_function") == 0)
        return readMotionFunction(attribute, motion.eFunction, sError);
    bool bKnown = false;
    if (!moves(sName, sError) || !readXformNumber(attribute, motion.amplitudes, bKnown, sError))
        return false;
    if (!bKnown) notDrawn.unknownName(sPlace, sName);
    return true;
}

// JWildfire's <name>_fx_priority: a plain variation forced to run before (−1) or after (1) the
// sum, kept; any form at its own kind (plain 0, pre_ −1, post_ 1) changes nothing. False for
// any other name or value, which the editors' table judges.
bool readPriority(const pugi::xml_attribute& attribute, SXform& xform) {
    static const std::string sSuffix = "_fx_priority";
    const std::string sName = attribute.name();
    SVariationName name;
    int iPriority;
    if (sName.size() <= sSuffix.size() ||
        sName.compare(sName.size() - sSuffix.size(), sSuffix.size(), sSuffix) != 0 ||
        !variationName(sName.substr(0, sName.size() - sSuffix.size()).c_str(), name) ||
        name.iParameter >= 0 || !readInteger(attribute.value(), iPriority))
        return false;
    // flam3's pre_blur, a row of its own, is of the pre_ kind.
    const bool bPre = name.eForm == ePreForm || variationOf(name.iVariation).space.bFirst;
    const int iOwn = bPre ? -1 : name.eForm == ePostForm ? 1 : 0;
    if (iPriority == iOwn) return true;
    if (name.eForm != ePlainForm || (iPriority != -1 && iPriority != 1)) return false;
    for (std::pair<int, int>& priority : xform.vPriorities)
        if (priority.first == name.iVariation) return priority.second = iPriority, true;
    xform.vPriorities.push_back({name.iVariation, iPriority});
    return true;
}

}  // namespace

std::string quoted(const char* s) { return std::string("'") + s + "'"; }

std::string badValue(const pugi::xml_attribute& attribute) {
    return std::string(attribute.name()) + "=\"" + attribute.value() + "\" is not ";
}

bool readXform(const pugi::xml_node& node, SXform& xform, const std::string& sPlace,
               CNotDrawn& notDrawn, std::string& sError) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        bool bKnown = false;
        if (!readXformNumber(attribute, xform, bKnown, sError)) return false;
        if (bKnown || readPriority(attribute, xform)) continue;
        const char* sName = attribute.name();
        const EEditorAttribute eEditor = xformEditorAttribute(sName, attribute.value());
        if (eEditor == eUnknownAttribute) notDrawn.unknownName(sPlace, sName);
        if (eEditor == eNotDrawn) notDrawn.notDrawnValue(sPlace, attribute);
    }
    return true;
}

bool readMotions(const pugi::xml_node& node, bool bFinal, SXform& xform,
                 const std::string& sPlace, CNotDrawn& notDrawn, std::string& sError) {
    for (const pugi::xml_node child : node.children("motion")) {
        const std::string sMotion =
            sPlace + "'s <motion> " + std::to_string(xform.vMotions.size() + 1);
        SMotion motion;
        for (const pugi::xml_attribute attribute : child.attributes())
            if (!readMotionAttribute(attribute, motion, sMotion, notDrawn, sError)) {
                sError = sMotion + ": " + sError;
                return false;
            }
        if (bFinal && motion.amplitudes.dWeight != 0) {
            sError = sMotion + ": a final xform has no weight to move";
            return false;
        }
        xform.vMotions.push_back(motion);
    }
    return true;
}
