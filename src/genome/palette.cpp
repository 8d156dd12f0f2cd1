#include "genome/palette.h"

#include <cmath>

namespace {

// d when dFrom/255 — or dFrom/255·dAlpha — gives dTarget, else the nearest double to d that
// does, searching a few steps each way; d itself when none does.
double exactByte(double d, double dTarget, double dAlpha) {
    double dDown = d, dUp = d;
    for (int i = 0; i < 8; i++) {
        if (dDown / 255 * dAlpha == dTarget) return dDown;
        if (dUp / 255 * dAlpha == dTarget) return dUp;
        dDown = std::nextafter(dDown, -HUGE_VAL);
        dUp = std::nextafter(dUp, HUGE_VAL);
    }
    return d;
}

}  // namespace

void rgbToHsv(const double (&rgb)[3], double (&hsv)[3]) {
    const double dMax = std::fmax(rgb[0], std::fmax(rgb[1], rgb[2]));
    const double dMin = std::fmin(rgb[0], std::fmin(rgb[1], rgb[2]));
    const double dSpan = dMax - dMin;
    hsv[2] = dMax;
    hsv[1] = dMax != 0 ? dSpan / dMax : 0;
    double dHue = 0;
    if (hsv[1] != 0) {
        if (rgb[0] == dMax) dHue = (rgb[1] - rgb[2]) / dSpan;
        else if (rgb[1] == dMax) dHue = 2 + (rgb[2] - rgb[0]) / dSpan;
        else dHue = 4 + (rgb[0] - rgb[1]) / dSpan;
        if (dHue < 0) dHue += 6;
    }
    hsv[0] = dHue;
}

void hsvToRgb(const double (&hsv)[3], double (&rgb)[3]) {
    const double dHue = hsv[0], dSat = hsv[1], dValue = hsv[2];
    const int iSector = static_cast<int>(std::floor(dHue));
    const double dFraction = dHue - iSector;
    const double dP = dValue * (1 - dSat);
    const double dQ = dValue * (1 - dSat * dFraction);
    const double dT = dValue * (1 - dSat * (1 - dFraction));
    const double sectors[6][3] = {{dValue, dT, dP}, {dQ, dValue, dP}, {dP, dValue, dT},
                                  {dP, dQ, dValue}, {dT, dP, dValue}, {dValue, dP, dQ}};
    const int i = iSector < 0 || iSector > 5 ? 0 : iSector;  // h = 6 from rounding: red's
    for (int c = 0; c < 3; c++) rgb[c] = sectors[i][c];
}

void rotateHue(CPalette& palette, double dHue) {
    for (SColour& colour : palette) {
        const double rgb[3] = {colour.dRed, colour.dGreen, colour.dBlue};
        double hsv[3];
        rgbToHsv(rgb, hsv);
        hsv[0] += 6 * dHue;
        while (hsv[0] < 0) hsv[0] += 6;
        while (hsv[0] >= 6) hsv[0] -= 6;
        double turned[3];
        hsvToRgb(hsv, turned);
        colour.dRed = turned[0];
        colour.dGreen = turned[1];
        colour.dBlue = turned[2];
    }
}

void scaleSaturationValue(CPalette& palette, double dSaturation, double dValue) {
    for (SColour& colour : palette) {
        const SColourBytes bytes = colourToBytes(colour);
        const double rgb[3] = {bytes.dRed / 255, bytes.dGreen / 255, bytes.dBlue / 255};
        double hsv[3];
        rgbToHsv(rgb, hsv);
        hsv[1] = std::fmin(hsv[1] * dSaturation, 1);
        hsv[2] = std::fmin(hsv[2] * dValue, 1);
        double scaled[3];
        hsvToRgb(hsv, scaled);
        colour = writableColour(
            colourFromBytes({scaled[0] * 255, scaled[1] * 255, scaled[2] * 255, bytes.dAlpha}));
    }
}

void fillMissing(CPalette& palette, const bool (&bGiven)[iPaletteSize]) {
    int iFirst = -1;
    for (int i = 0; i < iPaletteSize && iFirst < 0; i++)
        if (bGiven[i]) iFirst = i;
    if (iFirst < 0) return;
    // From each given entry to the next one round the ring, the gap between them blended.
    int iFrom = iFirst;
    do {
        int iTo = (iFrom + 1) % iPaletteSize;
        while (!bGiven[iTo]) iTo = (iTo + 1) % iPaletteSize;
        const int iGap = (iTo - iFrom + iPaletteSize - 1) % iPaletteSize + 1;
        const SColour from = palette[iFrom], to = palette[iTo];
        for (int k = 1; k < iGap; k++) {
            const double dT = static_cast<double>(k) / iGap;
            palette[(iFrom + k) % iPaletteSize] = {
                from.dRed + dT * (to.dRed - from.dRed),
                from.dGreen + dT * (to.dGreen - from.dGreen),
                from.dBlue + dT * (to.dBlue - from.dBlue),
                from.dAlpha + dT * (to.dAlpha - from.dAlpha)};
        }
        iFrom = iTo;
    } while (iFrom != iFirst);
}

SColourBytes colourToBytes(const SColour& colour) {
    const double dAlphaByte = exactByte(colour.dAlpha * 255, colour.dAlpha, 1);
    const double dAlpha = dAlphaByte / 255;
    if (dAlpha == 0) return {0, 0, 0, dAlphaByte};  // nothing but black has no alpha
    auto channel = [&](double d) { return exactByte(d / dAlpha * 255, d, dAlpha); };
    return {channel(colour.dRed), channel(colour.dGreen), channel(colour.dBlue), dAlphaByte};
}

SColour colourFromBytes(const SColourBytes& bytes) {
    const double dAlpha = bytes.dAlpha / 255;
    return {bytes.dRed / 255 * dAlpha, bytes.dGreen / 255 * dAlpha, bytes.dBlue / 255 * dAlpha,
            dAlpha};
}

SColour writableColour(const SColour& colour) {
    return colourFromBytes(colourToBytes(colour));
}
