#include "tone/jwildfire_tone.h"

#include "maths/maths.h"

#include <algorithm>
#include <cmath>

namespace {

// Rounded to the nearest whole number, halves up, and clamped to a byte.
int roundedByte(double d) {
    if (!(d > 0)) return 0;
    return d >= 254.5 ? 255 : static_cast<int>(std::floor(d + 0.5));
}

// The HSL saturation of a colour (each in [0, 1]) moved by dShift and clamped to [0, 1], its
// hue and lightness kept: each channel's distance from the lightness scaled with the chroma.
// A grey has hue 0, as the usual conversion gives it: made more saturated, it turns red.
void shiftSaturation(double (&rgb)[3], double dShift) {
    const double dMax = std::max({rgb[0], rgb[1], rgb[2]});
    const double dMin = std::min({rgb[0], rgb[1], rgb[2]});
    const double dL = (dMax + dMin) / 2, dChroma = dMax - dMin;
    const double dRoom = 1 - std::fabs(2 * dL - 1);  // the chroma at saturation 1
    if (!(dRoom > 0)) return;
    const double dSaturation = std::clamp(dChroma / dRoom + dShift, 0.0, 1.0);
    const double dNewChroma = dSaturation * dRoom;
    if (dChroma == 0) {
        rgb[0] = dL + dNewChroma / 2;
        rgb[1] = rgb[2] = dL - dNewChroma / 2;
        return;
    }
    for (double& d : rgb) d = dL + (d - dL) * dNewChroma / dChroma;
}

}  // namespace

SJwildfireTone jwildfireToneOf(const SGenome& genome, double dQuality, double dSamplesShare) {
    SJwildfireTone tone;
    const double dS = genome.iSupersample, dContrast = genome.dContrast;
    const double dArea = genome.iWidth * static_cast<double>(genome.iHeight) /
                         (genome.dScale * genome.dScale);  // world units
    const double dQ = dQuality * dSamplesShare;
    tone.dK1 = dContrast * 2 * genome.dBrightness / dS;
    tone.dK2 = 1 / (dContrast * dArea * dQ);
    tone.dGlow = genome.dLowDensityBrightness / (dContrast * dQ * dS);
    tone.dWhiteLevel = genome.dWhiteLevel;
    // Palette channels are held in [0, 1]: a byte c enters as c·200/256.
    const double dByte = 255 * 200.0 / 256 / dBucketUnit;
    tone.dGain[0] = dByte * genome.dBalanceRed;
    tone.dGain[1] = dByte * genome.dBalanceGreen;
    tone.dGain[2] = dByte * genome.dBalanceBlue;
    tone.dInverseGamma = genome.dGamma == 0 ? 0 : 1 / genome.dGamma;
    tone.dThreshold = genome.dGammaThreshold;
    tone.dThresholdPower =
        tone.dThreshold == 0 ? 0 : maths::pow(tone.dThreshold, tone.dInverseGamma - 1);
    tone.iVibrancy = static_cast<int>(std::clamp(std::floor(256 * genome.dVibrancy + 0.5), 0.0,
                                                 256.0));
    tone.dOpacity = 1 - maths::atan(3 * (genome.dFgOpacity - 1)) / 1.25;
    for (int c = 0; c < 3; c++) tone.iBackground[c] = roundedByte(255 * genome.dBackground[c]);
    tone.dSaturationShift =
        genome.dSaturation == 1 ? 0 : std::max(genome.dSaturation - 1, -1.0);
    return tone;
}

void SJwildfireTone::bucket(const SBucket& bucket, double* pTerms) const {
    if (bucket.uCount == 0) {
        std::fill(pTerms, pTerms + 4, 0.0);
        return;
    }
    const double dN = bucket.uCount / dBucketUnit;
    const double dIntensity = dK1 * maths::log10(1 + dK2 * dN) + dGlow / (dN + 1);
    const double dLambda = dIntensity / (dWhiteLevel * dN);
    pTerms[0] = dLambda * (bucket.uRed * dGain[0]);
    pTerms[1] = dLambda * (bucket.uGreen * dGain[1]);
    pTerms[2] = dLambda * (bucket.uBlue * dGain[2]);
    pTerms[3] = dIntensity;  // λ·n·white level
}

void SJwildfireTone::pixel(const double* pTerms, unsigned char* pRgb) const {
    double rgb[3];
    const double dI = std::max(0.0, pTerms[3]);
    if (!(dI > 0)) {
        for (int c = 0; c < 3; c++) rgb[c] = iBackground[c];
    } else {
        const double dCurved = maths::pow(dI, dInverseGamma);
        double dAlpha = dCurved;
        if (dI <= dThreshold) {
            const double f = dI / dThreshold;
            dAlpha = (1 - f) * dI * dThresholdPower + f * dCurved;
        }
        const double dL = iVibrancy * dAlpha / dI;
        const int iUncovered = 255 - roundedByte(255 * dOpacity * dAlpha);
        const int iRest = 256 - iVibrancy;
        for (int c = 0; c < 3; c++) {
            const double dX = std::max(0.0, pTerms[c]);
            double dValue = dL * dX;
            if (iRest > 0) dValue += iRest * maths::pow(dX, dInverseGamma);
            rgb[c] = std::min(255, roundedByte(dValue) + iUncovered * iBackground[c] / 256);
        }
    }
    // The background too is shifted, as JWildfire's pictures show it.
    if (dSaturationShift != 0) {
        for (double& d : rgb) d /= 255;
        shiftSaturation(rgb, dSaturationShift);
        for (double& d : rgb) d *= 255;
    }
    for (int c = 0; c < 3; c++) pRgb[c] = static_cast<unsigned char>(roundedByte(rgb[c]));
}
