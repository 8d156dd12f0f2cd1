#include "xml/xform_xml.h"

#include "xml/xml_numbers.h"

#include <cstring>
#include <vector>

namespace {

std::string quoted(const char* s) { return std::string("'") + s + "'"; }

std::string badValue(const pugi::xml_attribute& attribute) {
    return std::string(attribute.name()) + "=\"" + attribute.value() + "\" is not ";
}

// The xform attributes that are one number.
struct SXformAttribute { const char* sName; double SXform::*pField; };
constexpr SXformAttribute xformAttributes[] = {
    {"weight", &SXform::dWeight}, {"color_speed", &SXform::dColorSpeed},
    {"opacity", &SXform::dOpacity},
};

bool readLegacyVariations(const pugi::xml_attribute& attribute, SXform& xform,
                          std::string& sError) {
    std::vector<double> vWeights;
    if (!readNumberList(attribute.value(), vWeights) ||
        static_cast<int>(vWeights.size()) != iLegacyVariationCount) {
        sError = badValue(attribute) + "a list of 99 variation weights";
        return false;
    }
    for (int i = iVariationCount; i < iLegacyVariationCount; i++)
        if (vWeights[i] != 0) {
            sError = "var lists variation " + quoted(legacyVariationName(i)) +
                     ", which this renderer does not draw";
            return false;
        }
    for (int i = 0; i < iVariationCount; i++) xform.variations[i] = vWeights[i];
    return true;
}

// The attributes that are not variations or their parameters.
bool readXformSpecial(const pugi::xml_attribute& attribute, SXform& xform, bool& bKnown,
                      std::string& sError) {
    const char* sName = attribute.name();
    const char* sValue = attribute.value();
    bKnown = true;
    double dValue;
    if (std::strcmp(sName, "coefs") == 0 || std::strcmp(sName, "post") == 0) {
        std::array<double, 6>& coefs = sName[0] == 'c' ? xform.coefs : xform.post;
        if (readNumbers(sValue, 6, coefs.data())) return true;
        sError = badValue(attribute) + "six finite numbers";
    } else if (std::strcmp(sName, "color") == 0) {
        std::vector<double> vColor;
        if (readNumberList(sValue, vColor) && (vColor.size() == 1 || vColor.size() == 2)) {
            xform.dColor = vColor[0];  // a second number, from old files, is not used
            return true;
        }
        sError = badValue(attribute) + "one or two finite numbers";
    } else if (std::strcmp(sName, "symmetry") == 0) {  // the old name of the colour speed
        if (readNumber(sValue, dValue)) {
            xform.dColorSpeed = (1 - dValue) / 2;
            return true;
        }
        sError = badValue(attribute) + "a finite number";
    } else if (std::strcmp(sName, "chaos") == 0) {
        if (readNumberList(sValue, xform.vChaos)) return true;
        sError = badValue(attribute) + "a list of finite numbers";
    } else if (std::strcmp(sName, "plotmode") == 0) {
        if (std::strcmp(sValue, "off") == 0) xform.dOpacity = 0;
        return true;
    } else if (std::strcmp(sName, "animate") == 0) {
        return true;  // animation only
    } else if (std::strcmp(sName, "var1") == 0) {
        int iVariation;
        if (readInteger(sValue, iVariation) && iVariation >= 0 &&
            iVariation < iVariationCount) {
            xform.variations.fill(0);
            xform.variations[iVariation] = 1;
            return true;
        }
        sError = badValue(attribute) + "a variation number from 0 to 48";
    } else if (std::strcmp(sName, "var") == 0) {
        return readLegacyVariations(attribute, xform, sError);
    } else {
        bKnown = false;
        return true;
    }
    return false;
}

}  // namespace

bool readXform(const pugi::xml_node& node, SXform& xform, std::string& sError) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const char* sName = attribute.name();
        double* pTarget = nullptr;
        for (const SXformAttribute& known : xformAttributes)
            if (std::strcmp(sName, known.sName) == 0) pTarget = &(xform.*known.pField);
        const int iVariation = variationIndex(sName), iParameter = parameterIndex(sName);
        if (iVariation >= 0) pTarget = &xform.variations[iVariation];
        if (iParameter >= 0) pTarget = &xform.parameters[iParameter];
        if (pTarget != nullptr) {
            if (readNumber(attribute.value(), *pTarget)) continue;
            sError = badValue(attribute) + "a finite number";
            return false;
        }
        bool bKnown = false;
        if (!readXformSpecial(attribute, xform, bKnown, sError)) return false;
        if (!bKnown) {
            sError = "unknown variation or attribute " + quoted(sName);
            return false;
        }
    }
    return true;
}

