#pragma once

// What a plot adds to its bucket, in the histogram's fixed point: a palette colour (r, g, b, α)
// at plot weight ω, in a moment of temporal weight f, adds ω·f·(r, g, b, α) and a count of ω,
// each × dBucketUnit and rounded as llround rounds. Inline: a blended palette works it out for
// every plot, four walks' plots where the lanes are compiled for AVX2, one walk's elsewhere.

#include "genome/genome.h"
#include "tone/histogram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// llround of x ≥ 0, without the library's call below 2^63: x − trunc x is exact, and a half
// rounds up, away from 0. Through a signed whole number, which the processor converts to at once;
// from 2^63 (an infinite colour or weight) the library's own answer, as converting is undefined.
inline uint64_t roundedOf(double x) {
    if (!(x < 0x1p63)) return static_cast<uint64_t>(std::llround(x));
    const int64_t iWhole = static_cast<int64_t>(x);
    return static_cast<uint64_t>(iWhole + (x - static_cast<double>(iWhole) >= 0.5));
}

inline SBucket addOf(const SColour& colour, double dWeight, double dTemporal) {
    const auto fixed = [&](double d, double f) {
        return roundedOf(std::max(0.0, d) * dWeight * f * dBucketUnit);
    };
    return {fixed(colour.dRed, dTemporal), fixed(colour.dGreen, dTemporal),
            fixed(colour.dBlue, dTemporal), fixed(colour.dAlpha, dTemporal), fixed(1, 1)};
}

// A colour's four channels side by side.
using VChannels = double __attribute__((vector_size(4 * sizeof(double))));
inline VChannels channelsOf(const SColour& colour) {
    return VChannels{colour.dRed, colour.dGreen, colour.dBlue, colour.dAlpha};
}

// A plot's weight and its moment's, each in four channels, read as they are: broadcast where a
// blended palette's add is worked out, they went through the stack, and reading them back
// stalled the store on every plot (a third of a linear flame's step). With them the count a plot
// adds, the same for each of an xform's plots. Aligned as the lanes' code reads it: where AVX is
// not enabled, the compiler aligns four doubles to 16 bytes only.
struct alignas(32) SPlotWeights {
    VChannels vWeight, vTemporal;
    uint64_t uCount;  // addOf's count: ω × dBucketUnit, rounded
};
inline SPlotWeights plotWeightsOf(double dWeight, double dTemporal) {
    return {VChannels{dWeight, dWeight, dWeight, dWeight},
            VChannels{dTemporal, dTemporal, dTemporal, dTemporal},
            roundedOf(dWeight * dBucketUnit)};
}

// addOf of the four channels at once: the same operations, and llround by a sum that rounds to
// a whole number, halves to even, then a half that went down to even put up; where a channel is
// too large for that (2^51 and more), addOf itself.
inline SBucket addOfChannels(VChannels colour, const SPlotWeights& weights) {
    using VWords = int64_t __attribute__((vector_size(4 * sizeof(int64_t))));
    constexpr double dShifter = 0x1p52;
    const VChannels x =
        (colour > 0 ? colour : 0.0) * weights.vWeight * weights.vTemporal * dBucketUnit;
    if (!(x[0] < 0x1p51 && x[1] < 0x1p51 && x[2] < 0x1p51 && x[3] < 0x1p51))
        return addOf({colour[0], colour[1], colour[2], colour[3]}, weights.vWeight[0],
                     weights.vTemporal[0]);
    const VChannels dEven = (x + dShifter) - dShifter;
    const VChannels dShifted = (dEven - x == -0.5 ? dEven + 1 : dEven) + dShifter;
    VWords iWords;
    std::memcpy(&iWords, &dShifted, sizeof iWords);
    iWords -= 0x4330000000000000LL;  // the bits of 2^52
    return {static_cast<uint64_t>(iWords[0]), static_cast<uint64_t>(iWords[1]),
            static_cast<uint64_t>(iWords[2]), static_cast<uint64_t>(iWords[3]),
            weights.uCount};
}
