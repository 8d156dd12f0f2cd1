#include "palettes/palette_xml.h"

#include "genome/palette.h"
#include "genome_parts/numbers.h"

#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Up to iCount entries of iDigits hex digits each from sText, white space allowed between
// entries, nothing else after them; each entry's bytes, most significant first, into pBytes.
// The entries read, or -1 for text that is not such a list.
int readHexEntries(const char* sText, int iCount, int iDigits, unsigned* pBytes) {
    const char* p = sText;
    int i = 0;
    for (; i < iCount; i++) {
        while (isBlank(*p)) p++;
        if (*p == '\0') break;
        for (int k = 0; k < iDigits / 2; k++, p += 2) {
            const int iHigh = hexValue(p[0]), iLow = iHigh < 0 ? -1 : hexValue(p[1]);
            if (iLow < 0) return -1;
            pBytes[i * (iDigits / 2) + k] = static_cast<unsigned>(iHigh * 16 + iLow);
        }
    }
    while (isBlank(*p)) p++;
    return *p == '\0' ? i : -1;
}

// <color index="i" rgb="r g b"/>, with rgba="r g b a" or a="a": on flam3's 0–255 scale. As in
// flam3, each attribute sets alpha back to 255 first, so an alpha stays only when last.
bool readColor(const pugi::xml_node& node, CPalette& palette, bool (&bGiven)[iPaletteSize],
               std::string& sError) {
    int iIndex = -1;
    SColourBytes bytes = {0, 0, 0, 255};
    bool bColour = false;
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const char* sName = attribute.name();
        bytes.dAlpha = 255;
        bool bRead = false;
        if (std::strcmp(sName, "index") == 0) {
            bRead = readInteger(attribute.value(), iIndex) && iIndex >= 0 && iIndex < 256;
        } else if (std::strcmp(sName, "rgb") == 0 || std::strcmp(sName, "rgba") == 0) {
            double dValues[4];
            const int iCount = sName[3] == 'a' ? 4 : 3;
            bRead = readNumbers(attribute.value(), iCount, dValues);
            if (bRead) bytes = {dValues[0], dValues[1], dValues[2], iCount == 4 ? dValues[3] : 255};
            bColour = bColour || bRead;
        } else if (std::strcmp(sName, "a") == 0) {
            bRead = readNumber(attribute.value(), bytes.dAlpha);
        } else {
            sError = std::string("<color> has an unknown attribute '") + sName + "'";
            return false;
        }
        if (!bRead) {
            sError = std::string("<color> has a bad ") + sName + "=\"" + attribute.value() + "\"";
            return false;
        }
    }
    if (iIndex < 0 || !bColour) {
        sError = "<color> needs an index from 0 to 255 and rgb";
        return false;
    }
    palette[iIndex] = colourFromBytes(bytes);
    bGiven[iIndex] = true;
    return true;
}

// <colors count="n" data="00RRGGBB..."/> and <palette count="n" format="RGB|RGBA">hex</palette>.
template <bool bColors>
bool readHexPalette(const pugi::xml_node& node, CPalette& palette, bool (&bGiven)[iPaletteSize],
                    std::string& sError) {
    const std::string sElement = bColors ? "<colors>" : "<palette>";
    int iCount = -1, iDigits = bColors ? 8 : 6;
    const char* sData = bColors ? nullptr : node.child_value();
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const char* sName = attribute.name();
        if (std::strcmp(sName, "count") == 0) {
            if (!readInteger(attribute.value(), iCount) || iCount < 0 || iCount > 256) iCount = -2;
        } else if (bColors && std::strcmp(sName, "data") == 0) {
            sData = attribute.value();
        } else if (!bColors && std::strcmp(sName, "format") == 0) {
            iDigits = std::strcmp(attribute.value(), "RGBA") == 0 ? 8 : 6;
        } else if (!bColors && std::strncmp(sName, "index", 5) == 0) {
            sError = "<palette> blends two library palettes, an old form not read here";
            return false;
        } else {
            sError = sElement + " has an unknown attribute '" + sName + "'";
            return false;
        }
    }
    unsigned uBytes[256 * 4];
    const int iRead = iCount < 0 || sData == nullptr ? -1
                                                     : readHexEntries(sData, iCount, iDigits, uBytes);
    // A <palette> of fewer colours than its count, as the editors write some, is drawn as the
    // editor that wrote it draws it: the entries it leaves out, up to its count, opaque black.
    if (iRead < 0 || (bColors && iRead < iCount)) {
        sError = sElement + " needs a count from 0 to 256 and that many colours in hex";
        return false;
    }
    for (int i = iRead; i < iCount; i++) {
        palette[i] = {0, 0, 0, 1};
        bGiven[i] = true;
    }
    for (int i = 0; i < iRead; i++) {
        const unsigned* pEntry = &uBytes[i * (iDigits / 2)];
        if (bColors) pEntry++;  // 00RRGGBB
        // RGBA keeps its alpha but, as in flam3, its colour is not premultiplied.
        const double dAlpha = iDigits == 8 && !bColors ? pEntry[3] / 255.0 : 1.0;
        palette[i] = {pEntry[0] / 255.0, pEntry[1] / 255.0, pEntry[2] / 255.0, dAlpha};
        bGiven[i] = true;
    }
    return true;
}

// The elements a palette comes in, each with its reader.
using FPaletteReader = bool (*)(const pugi::xml_node& node, CPalette& palette,
                                bool (&bGiven)[iPaletteSize], std::string& sError);
const struct {
    const char*    sElement;
    FPaletteReader pfRead;
} paletteElements[] = {
    {"color", readColor},
    {"colors", readHexPalette<true>},
    {"palette", readHexPalette<false>},
};

}  // namespace

bool readPaletteElement(const pugi::xml_node& node, CPalette& palette,
                        bool (&bGiven)[iPaletteSize], std::string& sError) {
    for (const auto& element : paletteElements)
        if (std::strcmp(node.name(), element.sElement) == 0)
            return element.pfRead(node, palette, bGiven, sError);
    return true;
}
