#include "xml/genome_xml.h"

#include "genome/attributes.h"
#include "genome/genome_check.h"
#include "genome/numbers.h"
#include "genome/palette.h"
#include "xml/palette_library.h"
#include "xml/palette_xml.h"
#include "xml/xform_xml.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unordered_set>
#include <sys/stat.h>

namespace {

// The attributes of the table, each read as its row says. Everything else on a <flame> is
// animation, history or unknown, and flam3 ignores it too.
bool readFlameAttribute(const pugi::xml_attribute& attribute, SGenome& genome,
                        std::string& sError) {
    const SAttribute<SGenome>* pRow = flameAttribute(attribute.name());
    if (!pRow || pRow->pfRead(attribute.value(), genome)) return true;
    sError = badValue(attribute) + pRow->sExpected;
    return false;
}

// <symmetry kind="n"/> adds its xforms where it stands, even beside a list that holds them
// already, as flam3 reads it.
// Kind 0 asks flam3 for a symmetry drawn at random, a new one at every reading: refused.
bool addSymmetry(const pugi::xml_node& node, std::vector<SXform>& vXforms, std::string& sError) {
    int iKind = 0;
    bool bKind = false;
    for (const pugi::xml_attribute attribute : node.attributes()) {
        if (std::strcmp(attribute.name(), "kind") != 0) {
            sError = "<symmetry> has an unknown attribute " + quoted(attribute.name());
            return false;
        }
        if (!readInteger(attribute.value(), iKind)) {
            sError = "<symmetry> " + badValue(attribute) + "a whole number";
            return false;
        }
        bKind = true;
    }
    if (!bKind || iKind == 0) {
        sError = "<symmetry> needs a kind other than 0 (kind 0 would be a random symmetry, "
                 "another picture at every reading)";
        return false;
    }
    if (iKind < -1000 || iKind > 1000) {
        sError = "<symmetry kind=\"" + std::to_string(iKind) + "\"> is beyond -1000 to 1000";
        return false;
    }
    const std::vector<SXform> vAdded = symmetryXforms(iKind);
    vXforms.insert(vXforms.end(), vAdded.begin(), vAdded.end());
    return true;
}

// The children of one <flame>, in document order.
bool readFlameChildren(const pugi::xml_node& flame, SGenome& genome, bool (&bGiven)[256],
                       std::string& sError) {
    int iCreated = 0;  // xforms made so far: an even one defaults to colour 0, an odd one to 1
    for (const pugi::xml_node child : flame.children()) {
        const char* sName = child.name();
        const bool bFinal = std::strcmp(sName, "finalxform") == 0;
        if (bFinal || std::strcmp(sName, "xform") == 0) {
            SXform xform;
            xform.dColor = iCreated++ % 2;
            std::string sWhat = bFinal ? "final xform"
                                       : "xform " + std::to_string(genome.vXforms.size() + 1);
            if (!readXform(child, xform, sError)) {
                sError = sWhat + ": " + sError;
                return false;
            }
            if (bFinal && (genome.bFinalXform || xform.dWeight != 0)) {
                sError = genome.bFinalXform ? "more than one <finalxform>"
                                            : "the final xform has a weight other than 0";
                return false;
            }
            if (bFinal) genome.finalXform = xform;
            else genome.vXforms.push_back(xform);
            genome.bFinalXform = genome.bFinalXform || bFinal;
        } else if (std::strcmp(sName, "symmetry") == 0) {
            const size_t uBefore = genome.vXforms.size();
            if (!addSymmetry(child, genome.vXforms, sError)) return false;
            iCreated += static_cast<int>(genome.vXforms.size() - uBefore);
        } else if (!readPaletteElement(child, genome.palette, bGiven, sError)) {
            return false;
        }
    }
    return true;
}

// The palette last: inline colours filled in and stored in their written form, then a library
// palette, if named, over them all, turned in hue.
bool finishPalette(SGenome& genome, const bool (&bGiven)[256], std::string& sError) {
    fillMissing(genome.palette, bGiven);
    for (SColour& colour : genome.palette) colour = writableColour(colour);
    return genome.iPalette < 0 || fillLibraryPalette(genome, sError);
}

// XML allows an attribute once per element; pugixml does not check it, flam3's parser does.
// The flame's own and its children's, the elements read (nothing deeper is).
bool uniqueAttributes(const pugi::xml_node& flame, std::string& sError) {
    std::unordered_set<std::string_view> names;
    const auto unique = [&](const pugi::xml_node& node) {
        names.clear();
        for (const pugi::xml_attribute attribute : node.attributes())
            if (!names.insert(attribute.name()).second) {
                sError = "<" + std::string(node.name()) + "> has " + attribute.name() + " twice";
                return false;
            }
        return true;
    };
    if (!unique(flame)) return false;
    for (const pugi::xml_node child : flame.children())
        if (!unique(child)) return false;
    return true;
}

bool readFlame(const pugi::xml_node& flame, SGenome& genome, std::string& sError) {
    if (!flame.first_attribute()) {
        sError = "a <flame> with no attributes";
        return false;
    }
    if (!uniqueAttributes(flame, sError)) return false;
    for (const pugi::xml_attribute attribute : flame.attributes())
        if (!readFlameAttribute(attribute, genome, sError)) return false;
    genome.dHue = std::fmod(genome.dHue, 1);
    bool bGiven[256] = {};
    return readFlameChildren(flame, genome, bGiven, sError) && checkGenome(genome, sError) &&
           finishPalette(genome, bGiven, sError);
}

// Every <flame> below root, depth first, none looked into; without recursion, so that no
// nesting however deep runs out of stack.
std::vector<pugi::xml_node> flamesIn(const pugi::xml_node& root) {
    std::vector<pugi::xml_node> vFlames;
    pugi::xml_node node = root.first_child();
    while (node && node != root) {
        const bool bFlame = node.type() == pugi::node_element &&
                            std::strcmp(node.name(), "flame") == 0;
        if (bFlame) vFlames.push_back(node);
        if (!bFlame && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) node = node.parent();
        if (node != root) node = node.next_sibling();
    }
    return vFlames;
}

int lineAt(const std::string& sText, std::ptrdiff_t iOffset) {
    const std::ptrdiff_t iEnd = std::min<std::ptrdiff_t>(iOffset, sText.size());
    return 1 + static_cast<int>(std::count(sText.begin(), sText.begin() + iEnd, '\n'));
}

}  // namespace

bool readGenomes(const std::string& sFileText, std::vector<SGenome>& vGenomes,
                 std::string& sError) {
    vGenomes.clear();
    // Most files hold no #, and are parsed as they are.
    std::string sParsable;
    if (sFileText.find('#') != std::string::npos) sParsable = withParsableNames(sFileText);
    const std::string& sText = sParsable.empty() ? sFileText : sParsable;
    pugi::xml_document document;
    // pugixml expands no entity a document declares and never reads or fetches anything the text
    // names; a document type that declares entities is refused, rather than drawn with them
    // left as written (no genome has one).
    const unsigned uOptions = pugi::parse_default | pugi::parse_doctype;
    const pugi::xml_parse_result result = document.load_buffer(sText.data(), sText.size(),
                                                               uOptions, pugi::encoding_utf8);
    if (!result) {
        sError = std::string("not XML: ") + result.description() + " at line " +
                 std::to_string(lineAt(sText, result.offset));
        return false;
    }
    for (const pugi::xml_node& node : document.children()) {
        if (node.type() == pugi::node_doctype && std::strstr(node.value(), "ENTITY")) {
            sError = "its document type declares entities, which are never expanded";
            return false;
        }
    }
    const pugi::xml_node root = document.document_element();
    const std::vector<pugi::xml_node> vFlames =
        std::strcmp(root.name(), "flame") == 0 ? std::vector<pugi::xml_node>{root}
                                               : flamesIn(root);
    if (vFlames.empty()) {
        sError = "no <flame> element";
        return false;
    }
    for (const pugi::xml_node& flame : vFlames) {
        SGenome genome;
        if (!readFlame(flame, genome, sError)) {
            sError = "flame " + std::to_string(vGenomes.size() + 1) + " (line " +
                     std::to_string(lineAt(sText, flame.offset_debug())) + "): " + sError;
            vGenomes.clear();
            return false;
        }
        vGenomes.push_back(std::move(genome));
    }
    return true;
}

bool readGenomeFile(const std::string& sPath, std::vector<SGenome>& vGenomes,
                    std::string& sError) {
    struct stat status;
    if (stat(sPath.c_str(), &status) != 0) {
        sError = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode) || static_cast<std::size_t>(status.st_size) >
                                        uMostGenomeFileBytes) {
        sError = S_ISREG(status.st_mode) ? "larger than 64 MiB: no genome file is so large"
                                          : "not a regular file";
        return false;
    }
    std::ifstream file(sPath, std::ios::binary);
    std::string sText((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        sError = std::strerror(errno);
        return false;
    }
    return readGenomes(sText, vGenomes, sError);
}
