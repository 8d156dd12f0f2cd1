#pragma once

// Palettes as flam3 builds them: turned in hue; the entries a file leaves out, filled in; and
// each entry as the 0–255 values of a <color> element.

#include "genome/genome.h"


// flam3's hexcone HSV: v = max, s = (max − min)/max, h in [0, 6) taken from the red, green or
// blue sector, in that order on ties. Also the tone curve's saturation for highlight_power.
void rgbToHsv(const double (&rgb)[3], double (&hsv)[3]);
void hsvToRgb(const double (&hsv)[3], double (&rgb)[3]);

// Every entry's hue turned by dHue of a full turn, in flam3's hexcone HSV.
void rotateHue(CPalette& palette, double dHue);

// Every entry's saturation and value, in the same HSV, multiplied by dSaturation and dValue and
// held at most 1; alpha kept.
void scaleSaturationValue(CPalette& palette, double dSaturation, double dValue);

// The entries that bGiven does not mark filled by linear interpolation of all four channels
// between the nearest given ones, wrapping from 255 to 0. None given: left as they are.
void fillMissing(CPalette& palette, const bool (&bGiven)[iPaletteSize]);

// An entry as a <color> element's values: red, green, blue and alpha on flam3's 0–255 scale,
// not premultiplied, chosen so that colourFromBytes reads back the same doubles wherever some
// values do.
struct SColourBytes {
    double dRed, dGreen, dBlue, dAlpha;
};
SColourBytes colourToBytes(const SColour& colour);
SColour colourFromBytes(const SColourBytes& bytes);  // alpha a/255, colour (x/255)·alpha

// The entry that colourToBytes and colourFromBytes make of it: itself for any entry read from a
// <color>, and within an ulp or so for the rest (filled-in entries). The reader stores every
// inline palette in this form, so that a written genome reads back bit for bit.
SColour writableColour(const SColour& colour);
