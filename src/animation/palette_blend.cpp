#include "animation/palette_blend.h"

#include "animation/blend_keys.h"
#include "genome/palette.h"

#include <algorithm>
#include <cmath>

namespace {

// One entry blended in RGB and in HSV, the two mixed f : 1 − f.
SColour blendEntry(const SColour* const* pColours, const double* pWeights, int iKeys,
                   bool bShortWay, double f) {
    double dHsv[iMostBlendKeys][3];
    for (int k = 0; k < iKeys; k++) {
        const double rgb[3] = {pColours[k]->dRed, pColours[k]->dGreen, pColours[k]->dBlue};
        rgbToHsv(rgb, dHsv[k]);
    }
    if (bShortWay) {  // the first hue moved a turn toward the second where that is shorter
        if (dHsv[1][0] - dHsv[0][0] > 3) dHsv[0][0] += 6;
        else if (dHsv[1][0] - dHsv[0][0] < -3) dHsv[0][0] -= 6;
    }
    double rgb[3] = {0, 0, 0}, hsv[3] = {0, 0, 0}, dAlpha = 0;
    bool bOpaque = true;
    for (int k = 0; k < iKeys; k++) {
        const SColour& colour = *pColours[k];
        rgb[0] += pWeights[k] * colour.dRed;
        rgb[1] += pWeights[k] * colour.dGreen;
        rgb[2] += pWeights[k] * colour.dBlue;
        for (int c = 0; c < 3; c++) hsv[c] += pWeights[k] * dHsv[k][c];
        dAlpha += pWeights[k] * colour.dAlpha;
        bOpaque = bOpaque && colour.dAlpha == 1;
    }
    hsv[0] = std::fmod(hsv[0], 6);
    if (hsv[0] < 0) hsv[0] += 6;
    double fromHsv[3];
    hsvToRgb(hsv, fromHsv);
    const auto unit = [](double d) { return std::clamp(d, 0.0, 1.0); };
    return {unit(f * rgb[0] + (1 - f) * fromHsv[0]), unit(f * rgb[1] + (1 - f) * fromHsv[1]),
            unit(f * rgb[2] + (1 - f) * fromHsv[2]), bOpaque ? 1.0 : unit(dAlpha)};
}

}  // namespace

CPalette blendPalettes(const CPalette* const* pKeys, const double* pWeights, int iKeys,
                       EPaletteInterpolation eMode, double dRgbShare) {
    CPalette out;
    if (eMode == ePaletteSweep) {  // entries below 256·c₀ from the first, the rest the second
        for (int i = 0; i < iPaletteSize; i++)
            out[i] = (*pKeys[i < iPaletteSize * pWeights[0] ? 0 : 1])[i];
        return out;
    }
    const double f = eMode == ePaletteRgb ? 1 : eMode == ePaletteHsv ? 0 : dRgbShare;
    const bool bShortWay = eMode == ePaletteHsvCircular && iKeys == 2;
    for (int i = 0; i < iPaletteSize; i++) {
        const SColour* pColours[iMostBlendKeys];
        for (int k = 0; k < iKeys; k++) pColours[k] = &(*pKeys[k])[i];
        out[i] = blendEntry(pColours, pWeights, iKeys, bShortWay, f);
    }
    return out;
}
