#include "xml/xform_xml.h"

#include "genome/attributes.h"
#include "genome/numbers.h"

#include <algorithm>
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
    for (int i = iFlam3Variations; i < iLegacyVariationCount; i++)
        if (vWeights[i] != 0) {
            sError = "var lists variation " + quoted(legacyVariationName(i)) +
                     ", which this renderer does not draw";
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
    sError = badValue(attribute) + "a variation number from 0 to 48";
    return false;
}

// A variation's weight or a parameter, as one number: a plain variation's in the xform's own
// arrays, a form's or a repeat's in its use, made at its first mention.
double* variationNumber(const char* sName, SXform& xform) {
    SVariationName name;
    if (!variationName(sName, name)) return nullptr;
    if (name.eForm == ePlainForm && name.iRepeat == 0)
        return name.iParameter < 0
                   ? &xform.variations[name.iVariation]
                   : &xform.parameters[firstParameter(name.iVariation) + name.iParameter];
    SVariationUse& use = useNamed(xform.vUses, name);
    return name.iParameter < 0 ? &use.dWeight : &use.parameters[name.iParameter];
}

constexpr char sHashInName[] = "\xC2\xB7";  // "·" in UTF-8

// An attribute name as the file wrote it, its # taken back.
std::string writtenName(const char* sName) {
    std::string s = sName;
    for (size_t i = s.find(sHashInName); i != std::string::npos; i = s.find(sHashInName, i))
        s.replace(i, 2, "#");
    return s;
}

// The end of what begins at iStart with sOpen and ends with sClose, or npos.
size_t endOf(const std::string& sText, size_t iStart, const char* sOpen, const char* sClose) {
    if (sText.compare(iStart, std::strlen(sOpen), sOpen) != 0) return std::string::npos;
    const size_t iClose = sText.find(sClose, iStart + std::strlen(sOpen));
    return iClose == std::string::npos ? sText.size() : iClose + std::strlen(sClose);
}

}  // namespace

std::string withParsableNames(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size() + 64);
    size_t i = 0;
    while (i < sText.size()) {
        const size_t iTag = std::min(sText.find('<', i), sText.size());
        sOut.append(sText, i, iTag - i);
        if (iTag == sText.size()) break;
        // Comments, character data, declarations and end tags as they are; a # there is text.
        size_t iEnd = endOf(sText, iTag, "<!--", "-->");
        if (iEnd == std::string::npos) iEnd = endOf(sText, iTag, "<![CDATA[", "]]>");
        if (iEnd == std::string::npos && iTag + 1 < sText.size() &&
            std::strchr("!?/", sText[iTag + 1]))
            iEnd = std::min(sText.find('>', iTag), sText.size() - 1) + 1;
        if (iEnd != std::string::npos) {
            sOut.append(sText, iTag, iEnd - iTag);
            i = iEnd;
            continue;
        }
        // A start tag: each # outside its quoted values.
        char cQuote = 0;
        for (i = iTag; i < sText.size() && (cQuote || sText[i] != '>' || i == iTag); i++) {
            const char c = sText[i];
            if (cQuote) cQuote = c == cQuote ? 0 : cQuote;
            else if (c == '"' || c == '\'') cQuote = c;
            if (c == '#' && !cQuote) sOut += sHashInName;
            else sOut += c;
        }
    }
    return sOut;
}

std::string quoted(const char* s) { return std::string("'") + s + "'"; }

std::string badValue(const pugi::xml_attribute& attribute) {
    return std::string(attribute.name()) + "=\"" + attribute.value() + "\" is not ";
}

bool readXform(const pugi::xml_node& node, SXform& xform, std::string& sError) {
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const std::string sWritten = writtenName(attribute.name());
        const char* sName = sWritten.c_str();
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
