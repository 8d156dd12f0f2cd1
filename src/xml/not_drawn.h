#pragma once

// What a flame holds that is not drawn here, gathered as it is read, place by place (the flame
// itself, xform 3, the final xform): the names no table knows (on an xform, variations or their
// parameters that this program does not draw) and the attributes at a value that would change
// the picture in a way not drawn here; and elements beyond what a flame holds here (a second
// final xform, which JWildfire writes). Read strictly, the flame is refused with one line naming
// them all; read leniently, it is drawn without them, and each is said.

#include <pugixml.hpp>

#include <string>
#include <utility>
#include <vector>

class CNotDrawn {
public:
    void unknownName(const std::string& sPlace, const char* sName);
    void notDrawnValue(const std::string& sPlace, const pugi::xml_attribute& attribute);
    // sRefusal names it in the refusal, sDropped in "drawn without ...".
    void extraElement(const std::string& sRefusal, const std::string& sDropped);

    bool empty() const { return vPlaces.empty() && vExtras.empty(); }
    std::string message() const;              // one line: why the flame is refused
    std::vector<std::string> dropped() const;  // a line each: what it was drawn without

private:
    struct SPlace {
        std::string sPlace;                  // "" for the flame itself
        std::vector<std::string> vUnknown;   // names, each once
        std::vector<std::string> vValues;    // NAME="VALUE", each once
    };
    SPlace& placeOf(const std::string& sPlace);
    std::vector<std::string> unknownOf(const SPlace& place) const;

    std::vector<SPlace> vPlaces;
    std::vector<std::pair<std::string, std::string>> vExtras;  // refusal, dropped; each once
};
