// genomeXml: a genome as the <flame> element this program writes (declared in genome_xml.h).

#include "xml/genome_xml.h"

#include "base/number_text.h"
#include "genome/attributes.h"
#include "genome/palette.h"
#include "genome_parts/numbers.h"

#include <pugixml.hpp>

#include <sstream>

namespace {

void setNumber(pugi::xml_node& node, const char* sName, double dValue) {
    node.append_attribute(sName) = shortest(dValue).c_str();
}

void setNumbers(pugi::xml_node& node, const char* sName, const double* pValues, int iCount) {
    node.append_attribute(sName) = numbersText(pValues, iCount).c_str();
}

// Each attribute of the table the owner writes, in the table's order.
template <class TOwner>
void writeAttributes(const std::vector<SAttribute<TOwner>>& vRows, const TOwner& owner,
                     bool bFinal, pugi::xml_node& node) {
    static const TOwner defaults;
    std::string sText;
    for (const SAttribute<TOwner>& row : vRows) {
        if (!row.pfWrite || (bFinal && !row.bInFinal) || !writtenFor(row, owner)) continue;
        if (row.bOnlyIfChanged && row.pfSame(owner, defaults)) continue;
        if (row.pfWrite(owner, sText)) node.append_attribute(row.sName) = sText.c_str();
    }
}

// Each motion with its frequency and function, and the amplitudes it gives, those not 0: what
// it leaves out reads back as 0.
void writeMotions(const SXform& xform, pugi::xml_node& node) {
    static const SMotion still;
    std::string sText;
    for (const SMotion& motion : xform.vMotions) {
        pugi::xml_node element = node.append_child("motion");
        setNumber(element, "motion_frequency", motion.iFrequency);
        element.append_attribute("motion_function") = sMotionFunctionNames[motion.eFunction];
        const SXform& amplitudes = motion.amplitudes;
        for (const SAttribute<SXform>& row : xformAttributes())
            if (row.pfWrite && !row.pfSame(amplitudes, still.amplitudes) &&
                row.pfWrite(amplitudes, sText))
                element.append_attribute(row.sName) = sText.c_str();
        for (int i = 0; i < iVariationCount; i++)
            if (amplitudes.variations[i] != 0)
                setNumber(element, variationOf(i).sName, amplitudes.variations[i]);
        for (int i = 0; i < parameterCount(); i++)
            if (amplitudes.parameters[i] != 0)
                setNumber(element, parameterOf(i).sName, amplitudes.parameters[i]);
    }
}

void writeXform(const SXform& xform, bool bFinal, pugi::xml_node& node) {
    writeAttributes(xformAttributes(), xform, bFinal, node);
    // The variations it uses with all their parameters, and any other parameter not at its
    // default: so the written xform reads back whole.
    std::vector<bool> vUsed(xform.parameters.size());
    for (int i = 0; i < iVariationCount; i++) {
        if (xform.variations[i] == 0) continue;
        setNumber(node, variationOf(i).sName, xform.variations[i]);
        for (int k = 0; k < variationOf(i).parameterCount(); k++)
            vUsed[firstParameter(i) + k] = !variationOf(i).parameters[k].bLater;
    }
    for (int i = 0; i < parameterCount(); i++)
        if (vUsed[i] || !(xform.parameters[i] == parameterOf(i).dDefault))
            setNumber(node, parameterOf(i).sName, xform.parameters[i]);
    for (const std::pair<int, int>& priority : xform.vPriorities)
        setNumber(node, (std::string(variationOf(priority.first).sName) + "_fx_priority").c_str(),
                  priority.second);
    // Then the forms and repeats, each with all its parameters, in the order they act in.
    for (const SVariationUse& use : xform.vUses) {
        setNumber(node, useAttributeName(use, -1).c_str(), use.dWeight);
        for (int k = 0; k < static_cast<int>(use.parameters.size()); k++) {
            const SParameter& parameter = variationOf(use.iVariation).parameters[k];
            if (!parameter.bLater || !(use.parameters[k] == parameter.dDefault))
                setNumber(node, useAttributeName(use, k).c_str(), use.parameters[k]);
        }
    }
    writeMotions(xform, node);
}

// 256 <color> elements, alpha last (flam3 resets alpha at every attribute) and only where it is
// not 255.
void writePalette(const CPalette& palette, pugi::xml_node& flame) {
    for (int i = 0; i < iPaletteSize; i++) {
        const SColourBytes bytes = colourToBytes(palette[i]);
        pugi::xml_node color = flame.append_child("color");
        setNumber(color, "index", i);
        const double dRgb[3] = {bytes.dRed, bytes.dGreen, bytes.dBlue};
        setNumbers(color, "rgb", dRgb, 3);
        if (bytes.dAlpha != 255) setNumber(color, "a", bytes.dAlpha);
    }
}

}  // namespace

std::string genomeXml(const SGenome& genome) {
    pugi::xml_document document;
    pugi::xml_node flame = document.append_child("flame");
    writeAttributes(flameAttributes(), genome, false, flame);
    for (const SXform& xform : genome.vXforms) {
        pugi::xml_node node = flame.append_child("xform");
        writeXform(xform, false, node);
    }
    if (genome.bFinalXform) {
        pugi::xml_node node = flame.append_child("finalxform");
        writeXform(genome.finalXform, true, node);
    }
    writePalette(genome.palette, flame);
    std::ostringstream text;
    flame.print(text, "   ", pugi::format_indent);
    return text.str();
}
