#include "palettes/palette_library.h"

#include "genome/palette.h"
#include "genome_parts/numbers.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace {

// A library file as read: its palettes by number, or why it could not be read.
struct SLibrary {
    std::map<int, CPalette> palettes;
    std::string sError;
};

// 256 entries of eight hex digits 00RRGGBB, white space allowed between entries.
bool readLibraryData(const char* sData, CPalette& palette) {
    const char* p = sData;
    for (SColour& colour : palette) {
        while (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t') p++;
        unsigned uValue = 0;
        for (int i = 0; i < 8; i++, p++) {
            const int iDigit = hexValue(*p);
            if (iDigit < 0) return false;
            uValue = uValue * 16 + static_cast<unsigned>(iDigit);
        }
        colour = {((uValue >> 16) & 255) / 255.0, ((uValue >> 8) & 255) / 255.0,
                  (uValue & 255) / 255.0, 1.0};
    }
    return true;
}

std::shared_ptr<SLibrary> readLibrary(const std::string& sPath) {
    auto pLibrary = std::make_shared<SLibrary>();
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_file(sPath.c_str(), pugi::parse_default & ~pugi::parse_doctype);
    if (result.status == pugi::status_file_not_found || result.status == pugi::status_io_error) {
        pLibrary->sError = "no palette library " + sPath +
                           " (the package flam3-palette provides it)";
        return pLibrary;
    }
    if (!result) {
        pLibrary->sError = "palette library " + sPath + ": " + result.description();
        return pLibrary;
    }
    for (const pugi::xml_node node : document.child("palettes").children("palette")) {
        CPalette palette;
        if (!readLibraryData(node.attribute("data").value(), palette)) {
            pLibrary->sError = "palette library " + sPath + ": palette " +
                               node.attribute("number").value() + " is not 256 hex colours";
            return pLibrary;
        }
        pLibrary->palettes[node.attribute("number").as_int(-1)] = palette;
    }
    return pLibrary;
}

}  // namespace

std::string paletteLibraryPath() {
    const char* sPath = std::getenv("flam3_palettes");
    return sPath != nullptr && *sPath != '\0' ? sPath : sPaletteLibraryPath;
}

bool libraryPalette(const std::string& sPath, int iNumber, CPalette& palette,
                    std::string& sError) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<SLibrary>> libraries;
    std::shared_ptr<SLibrary> pLibrary;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        std::shared_ptr<SLibrary>& pKnown = libraries[sPath];
        if (!pKnown) pKnown = readLibrary(sPath);
        pLibrary = pKnown;
    }
    if (!pLibrary->sError.empty()) {
        sError = "palette " + std::to_string(iNumber) + ": " + pLibrary->sError;
        return false;
    }
    const auto found = pLibrary->palettes.find(iNumber);
    if (found == pLibrary->palettes.end()) {
        sError = "no palette " + std::to_string(iNumber) + " in the palette library " + sPath;
        return false;
    }
    palette = found->second;
    return true;
}

bool fillLibraryPalette(SGenome& genome, std::string& sError) {
    if (!libraryPalette(paletteLibraryPath(), genome.iPalette, genome.palette, sError))
        return false;
    rotateHue(genome.palette, genome.dHue);
    return true;
}
