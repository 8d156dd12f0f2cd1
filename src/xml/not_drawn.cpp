#include "xml/not_drawn.h"

#include "base/number_text.h"

#include <algorithm>

namespace {

constexpr size_t uShownValue = 24;  // characters of a value a message shows

std::string joinedQuoted(const std::vector<std::string>& vNames) {
    std::string sText;
    for (const std::string& sName : vNames) sText += (sText.empty() ? "'" : ", '") + sName + "'";
    return sText;
}

std::string inPlace(const std::string& sPlace) {
    return sPlace.empty() ? "" : " of " + sPlace;
}

}  // namespace

CNotDrawn::SPlace& CNotDrawn::placeOf(const std::string& sPlace) {
    for (SPlace& place : vPlaces)
        if (place.sPlace == sPlace) return place;
    vPlaces.push_back({sPlace, {}, {}});
    return vPlaces.back();
}

void CNotDrawn::unknownName(const std::string& sPlace, const char* sName) {
    std::vector<std::string>& vUnknown = placeOf(sPlace).vUnknown;
    if (std::find(vUnknown.begin(), vUnknown.end(), sName) == vUnknown.end())
        vUnknown.push_back(sName);
}

void CNotDrawn::notDrawnValue(const std::string& sPlace, const pugi::xml_attribute& attribute) {
    const std::string sValue =
        std::string(attribute.name()) + "=\"" + shownText(attribute.value(), uShownValue) + "\"";
    std::vector<std::string>& vValues = placeOf(sPlace).vValues;
    if (std::find(vValues.begin(), vValues.end(), sValue) == vValues.end())
        vValues.push_back(sValue);
}

void CNotDrawn::extraElement(const std::string& sRefusal, const std::string& sDropped) {
    const std::pair<std::string, std::string> extra(sRefusal, sDropped);
    if (std::find(vExtras.begin(), vExtras.end(), extra) == vExtras.end())
        vExtras.push_back(extra);
}

// The unknown names of a place but those that are parameters of another of them: an unknown
// variation's own parameters (julian3Dx_power beside julian3Dx) go without saying.
std::vector<std::string> CNotDrawn::unknownOf(const SPlace& place) const {
    std::vector<std::string> vNames;
    for (const std::string& sName : place.vUnknown) {
        const auto ownerOf = [&](const std::string& sOther) {
            return sName.size() > sOther.size() + 1 && sName[sOther.size()] == '_' &&
                   sName.compare(0, sOther.size(), sOther) == 0;
        };
        const bool bParameter = std::any_of(place.vUnknown.begin(), place.vUnknown.end(), ownerOf);
        if (!bParameter) vNames.push_back(sName);
    }
    return vNames;
}

std::string CNotDrawn::message() const {
    std::string sMessage;
    for (const SPlace& place : vPlaces) {
        const std::vector<std::string> vNames = unknownOf(place);
        const std::string sPrefix = place.sPlace.empty() ? "" : place.sPlace + ": ";
        if (!vNames.empty())
            sMessage += (sMessage.empty() ? "" : "; ") + sPrefix +
                        (vNames.size() == 1 ? "unknown variation or attribute "
                                            : "unknown variations or attributes ") +
                        joinedQuoted(vNames);
        for (const std::string& sValue : place.vValues)
            sMessage += (sMessage.empty() ? "" : "; ") + sPrefix + sValue + " is not drawn here";
    }
    for (const auto& [sRefusal, sDropped] : vExtras)
        sMessage += (sMessage.empty() ? "" : "; ") + sRefusal;
    return sMessage;
}

std::vector<std::string> CNotDrawn::dropped() const {
    std::vector<std::string> vDropped;
    for (const SPlace& place : vPlaces) {
        for (const std::string& sName : unknownOf(place))
            vDropped.push_back("drawn without '" + sName + "'" + inPlace(place.sPlace));
        for (const std::string& sValue : place.vValues)
            vDropped.push_back("drawn without " + sValue + inPlace(place.sPlace));
    }
    for (const auto& [sRefusal, sDropped] : vExtras)
        vDropped.push_back("drawn without " + sDropped);
    return vDropped;
}
