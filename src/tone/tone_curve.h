#pragma once

// The tone mapping's two formulas, as flam3 applies them: the log scaling of a bucket's sums,
// and the tone curve from a pixel's filtered sums to its 8-bit colour.

#include "genome/genome.h"

#include <cstdint>
#include <memory>
#include <vector>

constexpr int iToneChannels = 4;  // red, green, blue, alpha

// Log scaling of a bucket with sums (r, g, b, a) in flam3's units: L·(r, g, b, a) with
// L = k1·ln(1 + k2·a)/a.
struct SLogScale {
    double dK1, dK2;
    double dQuality = 1, dSamplesShare = 1;  // what it was made for
};
// For one of the genome's passes, as if it had run dSamplesShare of its samples at dQuality:
// the share scales k2 so that a render still growing is as bright as the finished one.
SLogScale logScaleOf(const SGenome& genome, double dQuality, double dSamplesShare);

// A pixel as the tone curve leaves it, before a picture's levels: red, green and blue where 255
// is the 8-bit picture's white (the curve's own white is 256; past it above, NaN where flam3
// shows white), and its alpha from 0 to 1. Opaque: the background blended in under the alpha.
// Transparent: without the background, the colour divided by the alpha (0 where it is 0), so
// that a picture drawn over the background by that alpha is the opaque one.
struct STonedPixel {
    double dRgb[3];
    double dAlpha;
};

// The tone curve: filtered (R, G, B, A) of a pixel to its 8-bit red, green and blue, or to the
// values they are truncated from.
struct SToneCurve {
    double dInverseGamma, dThreshold, dVibrancy, dHighlightPower;
    double dBackground[3];
    double dThresholdPower;  // threshold^(1/γ − 1), the slope of the straightened part
    // The colour curves, each sampled at j/65535 for j = 0 … 65535, overall first; null: none.
    std::shared_ptr<const std::vector<double>> pCurveTables;
    void pixel(const double* pValue, unsigned char* pRgb) const;
    void pixel(const double* pValue, bool bTransparent, STonedPixel& toned) const;

private:
    double alphaOf(const double* pValue, double& dL) const;
    void baseOf(const double* pValue, double dL, double* pBase) const;
    double vibrancyTerm(double dValue) const;
    double curved(double dValue, int iChannel) const;
};

constexpr int iCurveSteps = 65536;  // samples of each colour curve
SToneCurve toneCurveOf(const SGenome& genome);

// The levels of pictures: clamped to [0, 255] and truncated, as flam3 does, NaN 255; and 16 bits,
// 256 levels to each 8-bit one, so that a 16-bit level's high byte is the 8-bit picture's, and
// the curve's white (256) is 65535.
unsigned char eightBitLevel(double d);
uint16_t sixteenBitLevel(double d);
// An alpha's levels, truncated as flam3 does: 255·α and 65535·α.
unsigned char eightBitAlpha(double dAlpha);
uint16_t sixteenBitAlpha(double dAlpha);
