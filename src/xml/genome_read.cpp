#include "xml/flame_read.h"

#include "genome/attributes.h"
#include "genome/genome_check.h"
#include "genome/palette.h"
#include "genome_parts/numbers.h"
#include "palettes/palette_library.h"
#include "palettes/palette_xml.h"
#include "xml/editor_attributes.h"
#include "xml/not_drawn.h"
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

// The attributes of the table, each read as its row says; those the editors write, by their
// meaning. Everything else on a <flame> is animation, history or unknown, and flam3 ignores it
// too. An attribute only JWildfire writes, away from its default, makes the flame JWildfire's;
// at its default it leaves the flame to what its version says.
bool readFlameAttribute(const pugi::xml_attribute& attribute, SGenome& genome,
                        CNotDrawn& notDrawn, std::string& sError) {
    const SAttribute<SGenome>* pRow = flameAttribute(attribute.name());
    if (!pRow) {
        if (flameEditorAttribute(attribute.name(), attribute.value()) == eNotDrawn)
            notDrawn.notDrawnValue("", attribute);
        return true;
    }
    if (pRow->pfRead(attribute.value(), genome)) {
        static const SGenome defaults;
        if (pRow->bJwildfire && !pRow->pfSame(genome, defaults))
            genome.eToneStyle = eToneJwildfire;
        return true;
    }
    // A form of it the table does not read, which an editor writes: not drawn here.
    if (flameEditorAttribute(attribute.name(), attribute.value()) == eNotDrawn) {
        notDrawn.notDrawnValue("", attribute);
        return true;
    }
    sError = badValue(attribute) + pRow->sExpected;
    return false;
}

// An editor's switch for density estimation, read by its meaning: off, the estimator's radius 0,
// which draws the same here and in flam3.
void readDensityEstimationSwitch(const pugi::xml_node& flame, SGenome& genome) {
    double dOn;
    if (readNumber(flame.attribute("enable_de").value(), dOn) && dOn == 0)
        genome.dEstimatorRadius = 0;
}

// JWildfire draws without density estimation unless the flame turns it on, whatever the
// estimator's numbers it writes say; and in one pass.
void readJwildfireSettings(const pugi::xml_node& flame, SGenome& genome) {
    if (genome.eToneStyle != eToneJwildfire) return;
    double dOn;
    if (!readNumber(flame.attribute("enable_de").value(), dOn) || dOn == 0)
        genome.dEstimatorRadius = 0;
    genome.iPasses = 1;
}

// JWildfire's camera zoom, as the scale it makes.
void readCameraZoom(const pugi::xml_node& flame, SGenome& genome) {
    double dZoom;
    if (cameraZoomOf(flame.attribute("cam_zoom").value(), dZoom)) genome.dScale *= dZoom;
}

// The Houdini editor's adjustment of its palette, made to the finished palette.
void adjustPalette(const pugi::xml_node& flame, SGenome& genome) {
    double dSaturation, dValue;
    if (paletteAdjustmentOf(flame.attribute("flam3h_hsv").value(), dSaturation, dValue))
        scaleSaturationValue(genome.palette, dSaturation, dValue);
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
    // As flam3 makes them, they stay still in a loop.
    for (SXform xform : symmetryXforms(iKind)) {
        xform.dAnimate = 0;
        vXforms.push_back(xform);
    }
    return true;
}

// The standard xforms the children of a flame make, its symmetries' included, counted without
// making them.
long long xformsMade(const pugi::xml_node& flame) {
    long long iXforms = 0;
    for (const pugi::xml_node child : flame.children()) {
        int iKind = 0;
        if (std::strcmp(child.name(), "xform") == 0) iXforms++;
        if (std::strcmp(child.name(), "symmetry") == 0 &&
            readInteger(child.attribute("kind").value(), iKind))
            iXforms += symmetryXformCount(iKind);
    }
    return iXforms;
}

bool isXform(const pugi::xml_node& node) {
    return std::strcmp(node.name(), "xform") == 0 || std::strcmp(node.name(), "finalxform") == 0;
}

// The <motion> elements of a flame's xforms, each of which holds a whole xform's numbers.
long long motionsMade(const pugi::xml_node& flame) {
    long long iMotions = 0;
    for (const pugi::xml_node child : flame.children()) {
        if (!isXform(child)) continue;
        const auto motions = child.children("motion");
        iMotions += std::distance(motions.begin(), motions.end());
    }
    return iMotions;
}

// A flame of more xforms or motions than one may hold is refused before they are made: a
// symmetry of kind 1000 in a few bytes makes a thousand xforms, and each motion is as large.
bool withinXformLimit(const pugi::xml_node& flame, std::string& sError) {
    const long long iXforms = xformsMade(flame), iMotions = motionsMade(flame);
    if (iXforms > iMostXforms)
        sError = std::to_string(iXforms) + " xforms, over the " + std::to_string(iMostXforms) +
                 " a flame may hold";
    else if (iMotions > iMostMotions)
        sError = std::to_string(iMotions) + " <motion> elements, over the " +
                 std::to_string(iMostMotions) + " a flame may hold";
    else
        return true;
    return false;
}

// An <xform> or the <finalxform>, sWhat naming it, with its motions.
bool readXformElement(const pugi::xml_node& node, bool bFinal, const std::string& sWhat,
                      SXform& xform, CNotDrawn& notDrawn, std::string& sError) {
    if (!readXform(node, xform, sWhat, notDrawn, sError)) {
        sError = sWhat + ": " + sError;
        return false;
    }
    if (bFinal && xform.dWeight != 0) {
        sError = "the final xform has a weight other than 0";
        return false;
    }
    return readMotions(node, bFinal, xform, sWhat, notDrawn, sError);
}

// The children of one <flame>, in document order.
bool readFlameChildren(const pugi::xml_node& flame, SGenome& genome, bool (&bGiven)[256],
                       CNotDrawn& notDrawn, std::string& sError) {
    int iCreated = 0;  // xforms made so far: an even one defaults to colour 0, an odd one to 1
    for (const pugi::xml_node child : flame.children()) {
        const char* sName = child.name();
        const bool bFinal = std::strcmp(sName, "finalxform") == 0;
        if (bFinal && genome.bFinalXform) {
            notDrawn.extraElement("more than one <finalxform>", "the <finalxform> after the first");
            continue;
        }
        if (bFinal || std::strcmp(sName, "xform") == 0) {
            SXform xform;
            xform.dColor = iCreated++ % 2;
            std::string sWhat = bFinal ? "final xform"
                                       : "xform " + std::to_string(genome.vXforms.size() + 1);
            if (!readXformElement(child, bFinal, sWhat, xform, notDrawn, sError)) return false;
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
    for (SColour& colour : genome.palette) {
        colour = writableColour(colour);
        // Colours so large that blending them overflows could be drawn, but not written back.
        const SColourBytes bytes = colourToBytes(colour);
        if (!std::isfinite(bytes.dRed + bytes.dGreen + bytes.dBlue + bytes.dAlpha)) {
            sError = "its colours are too large for a palette to hold";
            return false;
        }
    }
    return genome.iPalette < 0 || fillLibraryPalette(genome, sError);
}

// XML allows an attribute once per element; pugixml does not check it, flam3's parser does.
// The flame's own, its children's and its xforms' motions', the elements read (nothing else
// is).
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
    for (const pugi::xml_node child : flame.children()) {
        if (!unique(child)) return false;
        if (isXform(child))
            for (const pugi::xml_node motion : child.children("motion"))
                if (!unique(motion)) return false;
    }
    return true;
}

}  // namespace

bool readFlame(const pugi::xml_node& flame, SGenome& genome, std::string& sError,
               SLeniency* pLeniency) {
    if (!flame.first_attribute()) {
        sError = "a <flame> with no attributes";
        return false;
    }
    if (!uniqueAttributes(flame, sError) || !withinXformLimit(flame, sError)) return false;
    CNotDrawn notDrawn;
    bool bRead = true;
    for (const pugi::xml_attribute attribute : flame.attributes())
        bRead = bRead && readFlameAttribute(attribute, genome, notDrawn, sError);
    genome.dHue = std::fmod(genome.dHue, 1);
    readDensityEstimationSwitch(flame, genome);
    readJwildfireSettings(flame, genome);
    readCameraZoom(flame, genome);
    bool bGiven[256] = {};
    bRead = bRead && readFlameChildren(flame, genome, bGiven, notDrawn, sError);
    if (!notDrawn.empty()) {
        // What is not drawn is named first, with anything else wrong after it.
        if (!bRead || !pLeniency || !pLeniency->bLenient) {
            sError = notDrawn.message() + (bRead ? "" : "; " + sError);
            return false;
        }
        for (const std::string& sDropped : notDrawn.dropped())
            pLeniency->vDropped.push_back(sDropped);
    }
    if (!bRead || !checkGenome(genome, sError) || !finishPalette(genome, bGiven, sError))
        return false;
    adjustPalette(flame, genome);
    return true;
}
