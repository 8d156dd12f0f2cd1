#pragma once

// The tone mapping's two formulas, as flam3 applies them: the log scaling of a bucket's sums,
// and the tone curve from a pixel's filtered sums to its 8-bit colour.

#include "genome/genome.h"

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

// The tone curve: filtered (R, G, B, A) of a pixel to its 8-bit red, green and blue.
struct SToneCurve {
    double dInverseGamma, dThreshold, dVibrancy, dHighlightPower;
    double dBackground[3];
    double dThresholdPower;  // threshold^(1/γ − 1), the slope of the straightened part
    void pixel(const double* pValue, unsigned char* pRgb) const;

private:
    double vibrancyTerm(double dValue) const;
};
SToneCurve toneCurveOf(const SGenome& genome);
