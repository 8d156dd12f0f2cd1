#pragma once

// What a genome's picture file is: PNG of 8 or 16 bits a channel, or OpenEXR of half or full
// floats; RGB, or RGBA with the background left out. One table of the kinds, read by the command
// line that checks a --depth, by the writers and by a picture read back.

#include <cctype>
#include <string>

enum class EPictureKind { ePng, eExr };

struct SPictureKind {
    EPictureKind eKind;
    const char*  sExtension;     // of the file's name, lower case
    const char*  sName;          // as a message says it
    int          iDepths[2];     // bits a channel it takes, the first its default
    const char*  sDepthsSaid;    // those, as the help and a message say them
};

constexpr SPictureKind pictureKinds[] = {
    {EPictureKind::ePng, "png", "a PNG picture", {8, 16}, "8 or 16"},
    {EPictureKind::eExr, "exr", "an OpenEXR picture", {16, 32}, "16 (half floats) or 32 (floats)"},
};

struct SPictureFormat {
    EPictureKind eKind = EPictureKind::ePng;
    int          iDepth = 8;  // bits a channel: one of its kind's
    bool         bTransparent = false;
    // The picture every earlier version wrote: 8-bit RGB PNG.
    bool plain() const { return eKind == EPictureKind::ePng && iDepth == 8 && !bTransparent; }
};

inline const SPictureKind& pictureKindRow(EPictureKind eKind) {
    return pictureKinds[eKind == EPictureKind::ePng ? 0 : 1];
}

inline bool takesDepth(EPictureKind eKind, int iDepth) {
    const SPictureKind& row = pictureKindRow(eKind);
    return iDepth == row.iDepths[0] || iDepth == row.iDepths[1];
}

// The nearest depth its kind takes: a 16-bit PNG read back is written as half floats, a
// picture of floats as a 16-bit PNG.
inline int nearestDepth(EPictureKind eKind, int iDepth) {
    const SPictureKind& row = pictureKindRow(eKind);
    if (iDepth <= row.iDepths[0]) return row.iDepths[0];
    return iDepth >= row.iDepths[1] ? row.iDepths[1] : row.iDepths[0];
}

// The extension of a file name, lower case: the letters after its last point, if that is all
// there is after it; "" where there are none.
inline std::string extensionOf(const std::string& sName) {
    const size_t uPoint = sName.find_last_of("./");
    if (uPoint == std::string::npos || sName[uPoint] != '.' || uPoint + 1 == sName.size())
        return "";
    std::string sAfter = sName.substr(uPoint + 1);
    for (char& c : sAfter) {
        if (!std::isalpha(static_cast<unsigned char>(c))) return "";
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return sAfter;
}

// The kind a file's name says: OpenEXR for .exr, else PNG (a name without an extension too).
inline EPictureKind pictureKindOf(const std::string& sPath) {
    return extensionOf(sPath) == pictureKindRow(EPictureKind::eExr).sExtension
               ? EPictureKind::eExr
               : EPictureKind::ePng;
}
