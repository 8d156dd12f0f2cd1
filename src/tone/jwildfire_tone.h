#pragma once

// JWildfire's tone mapping, for a flame JWildfire wrote: each bucket scaled by a base-10 log of
// its hits with a glow for the sparse ones, colour over alpha set by the white level and each
// channel's balance; then per pixel a gamma curve, vibrancy in 256 steps, the foreground's
// opacity over an 8-bit background, rounded rather than truncated, and a saturation shift.

#include "genome/genome.h"
#include "tone/histogram.h"

struct SJwildfireTone {
    // Per bucket: k1, k2 and the glow g of the log scale, and the colour's gains.
    double dK1, dK2, dGlow, dWhiteLevel;
    double dGain[3];    // 200/256 of a palette byte, × the channel's balance
    // Per pixel.
    double dInverseGamma, dThreshold, dThresholdPower;
    int iVibrancy;      // V of 256
    double dOpacity;    // β: the foreground's alpha per unit of α
    int iBackground[3]; // bytes
    double dSaturationShift;  // 0: none

    // A bucket's terms, summed over a pixel's buckets: (λ·R, λ·G, λ·B, λ·n·white level); all 0
    // for a bucket of no hits.
    void bucket(const SBucket& bucket, double* pTerms) const;
    // A pixel's summed terms to its red, green and blue bytes.
    void pixel(const double* pTerms, unsigned char* pRgb) const;
};

// For a render that has run dSamplesShare of its samples at dQuality: the share scales the
// counts up, so that a render still growing is as bright as the finished one.
SJwildfireTone jwildfireToneOf(const SGenome& genome, double dQuality, double dSamplesShare);
