// genomeXml: a genome as the <flame> element this program writes (declared in genome_xml.h).

#include "text/text_forms.h"
#include "xml/genome_xml.h"

#include "genome/filter.h"
#include "genome/palette.h"
#include "xml/xml_numbers.h"

#include <pugixml.hpp>

#include <sstream>

namespace {

void setNumber(pugi::xml_node& node, const char* sName, double dValue) {
    node.append_attribute(sName) = shortest(dValue).c_str();
}

void setNumbers(pugi::xml_node& node, const char* sName, const double* pValues, int iCount) {
    node.append_attribute(sName) = numbersText(pValues, iCount).c_str();
}

void writeFlameAttributes(const SGenome& g, pugi::xml_node& flame) {
    flame.append_attribute("name") = g.sName.c_str();
    const double dSize[2] = {static_cast<double>(g.iWidth), static_cast<double>(g.iHeight)};
    setNumbers(flame, "size", dSize, 2);
    const double dCenter[2] = {g.dCenterX, g.dCenterY};
    setNumbers(flame, "center", dCenter, 2);
    setNumber(flame, "scale", g.dScale);
    setNumber(flame, "zoom", g.dZoom);
    setNumber(flame, "rotate", g.dRotate);
    setNumber(flame, "supersample", g.iSupersample);
    setNumber(flame, "filter", g.dFilter);
    flame.append_attribute("filter_shape") = filterShapeName(g.eFilterShape);
    setNumber(flame, "quality", g.dQuality);
    setNumber(flame, "passes", g.iPasses);
    setNumbers(flame, "background", g.dBackground, 3);
    setNumber(flame, "brightness", g.dBrightness);
    setNumber(flame, "gamma", g.dGamma);
    setNumber(flame, "gamma_threshold", g.dGammaThreshold);
    setNumber(flame, "vibrancy", g.dVibrancy);
    setNumber(flame, "highlight_power", g.dHighlightPower);
    setNumber(flame, "hue", g.dHue);
    if (g.iPalette >= 0) setNumber(flame, "palette", g.iPalette);
    flame.append_attribute("palette_mode") = g.ePaletteMode == ePaletteLinear ? "linear" : "step";
    setNumber(flame, "estimator_radius", g.dEstimatorRadius);
    setNumber(flame, "estimator_minimum", g.dEstimatorMinimum);
    setNumber(flame, "estimator_curve", g.dEstimatorCurve);
    setNumber(flame, "soloxform", g.iSoloXform);
}

void writeXform(const SXform& xform, bool bFinal, pugi::xml_node& node) {
    if (!bFinal) setNumber(node, "weight", xform.dWeight);
    setNumber(node, "color", xform.dColor);
    setNumber(node, "color_speed", xform.dColorSpeed);
    setNumber(node, "opacity", xform.dOpacity);
    setNumbers(node, "coefs", xform.coefs.data(), 6);
    setNumbers(node, "post", xform.post.data(), 6);
    if (!xform.vChaos.empty())
        setNumbers(node, "chaos", xform.vChaos.data(), static_cast<int>(xform.vChaos.size()));
    // The variations it uses with all their parameters, and any other parameter not at its
    // default: so the written xform reads back whole.
    std::vector<bool> vUsed(xform.parameters.size());
    for (int i = 0; i < iVariationCount; i++) {
        if (xform.variations[i] == 0) continue;
        setNumber(node, variationOf(i).sName, xform.variations[i]);
        for (int k = 0; k < variationOf(i).parameterCount(); k++)
            vUsed[firstParameter(i) + k] = true;
    }
    for (int i = 0; i < parameterCount(); i++)
        if (vUsed[i] || !(xform.parameters[i] == parameterOf(i).dDefault))
            setNumber(node, parameterOf(i).sName, xform.parameters[i]);
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
    writeFlameAttributes(genome, flame);
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
