#pragma once

// Palettes of several keyframes blended entry by entry as flam3 blends them: in RGB, in HSV
// (hue on the shorter way round the circle for two keyframes under hsv_circular), a share of
// each, or swept: each entry whole from one keyframe or the other.

#include "genome/genome.h"

// Σ c_k·(palette of keyframe k) as eMode says; dRgbShare is hsv_circular's share of RGB
// (hsv_rgb_palette_blend).
CPalette blendPalettes(const CPalette* const* pKeys, const double* pWeights, int iKeys,
                       EPaletteInterpolation eMode, double dRgbShare);
