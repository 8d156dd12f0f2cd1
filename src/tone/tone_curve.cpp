#include "tone/tone_curve.h"

#include "genome/palette.h"
#include "maths/maths.h"

#include <algorithm>
#include <cmath>
#include <limits>

SLogScale logScaleOf(const SGenome& genome, double dQuality, double dSamplesShare) {
    const double dPasses = genome.iPasses, dS = genome.iSupersample;
    const double dScale = genome.dScale;  // zoom cancels: 4^zoom samples over 4^zoom area
    const double dK1 = genome.dBrightness * 255 * 268 / (256 * dPasses);
    const double dK2 = dS * dS * dPasses * dScale * dScale /
                       (255 * dQuality * dSamplesShare * genome.iWidth * genome.iHeight);
    return {dK1, dK2, dQuality, dSamplesShare};
}

SToneCurve toneCurveOf(const SGenome& genome) {
    const double dInverseGamma = 1 / genome.dGamma;
    return {dInverseGamma, genome.dGammaThreshold, genome.dVibrancy, genome.dHighlightPower,
            {genome.dBackground[0], genome.dBackground[1], genome.dBackground[2]},
            maths::pow(genome.dGammaThreshold, dInverseGamma - 1)};
}

namespace {

// Clamped to [0, 255] and truncated, as flam3 does; NaN comes out 255, as in flam3's pictures.
unsigned char eightBits(double d) {
    if (std::isnan(d)) return 255;
    if (!(d > 0)) return 0;
    return d >= 255 ? 255 : static_cast<unsigned char>(d);
}

// The saturated colour past white: its saturation scaled by (ν/ℓ)^highlight_power, its largest
// channel 255.
void highlighted(const double* pValue, double dNu, double dScale, double dPower, double* pBase) {
    const double rgb[3] = {dNu * pValue[0] / (255 * 255), dNu * pValue[1] / (255 * 255),
                           dNu * pValue[2] / (255 * 255)};
    double hsv[3];
    rgbToHsv(rgb, hsv);
    hsv[1] *= maths::pow(dScale, dPower);
    double out[3];
    hsvToRgb(hsv, out);
    for (int c = 0; c < 3; c++) pBase[c] = out[c] * 255;
}

}  // namespace

void SToneCurve::pixel(const double* pValue, unsigned char* pRgb) const {
    // α from the gamma curve, straightened below the threshold; ℓ from the unclamped α.
    double dAlpha = 0, dL = 0;
    if (pValue[3] > 0) {
        const double dTau = pValue[3] / 255;
        double dCurved = maths::pow(dTau, dInverseGamma);
        if (dTau < dThreshold) {
            const double f = dTau / dThreshold;
            dCurved = (1 - f) * dTau * dThresholdPower + f * dCurved;
        }
        dL = 256 * dVibrancy * dCurved / dTau;
        dAlpha = std::clamp(dCurved, 0.0, 1.0);
    }
    double dBase[3] = {0, 0, 0};
    if (dL != 0 && (pValue[0] != 0 || pValue[1] != 0 || pValue[2] != 0)) {
        int iMost = 0;
        for (int c = 1; c < 3; c++)
            if (pValue[c] > pValue[iMost]) iMost = c;
        const double dMost = dL * pValue[iMost] / 255, dNu = 255 * 255 / pValue[iMost];
        if (dMost > 255 && dHighlightPower >= 0) {
            highlighted(pValue, dNu, dNu / dL, dHighlightPower, dBase);
        } else {
            const double dLambda = dMost > 255 ? std::min(1.0, -dHighlightPower) : 1;
            for (int c = 0; c < 3; c++)
                dBase[c] = ((1 - dLambda) * dNu + dLambda * dL) * pValue[c] / 255;
        }
    }
    for (int c = 0; c < 3; c++)
        pRgb[c] = eightBits(dBase[c] + vibrancyTerm(pValue[c]) +
                            (1 - dAlpha) * 256 * dBackground[c]);
}

// (1 − vibrancy)·256·(v/255)^(1/γ), even at vibrancy 1, as flam3 draws it: where a filter's
// negative lobe makes a channel negative, its root is NaN, 0 · NaN too, and the channel shows
// 255. At vibrancy 1 only that NaN shows: for finite v ≥ 0 and 0 < 1/γ ≤ 1 the power is finite
// (at most the larger of 1 and v/255), the term a zero (+0 or −0, the same byte), and the power
// is not worked out (three a pixel, the most of a picture's tone mapping).
double SToneCurve::vibrancyTerm(double dValue) const {
    const double x = dValue / 255;
    if (dVibrancy == 1 && dInverseGamma > 0 && dInverseGamma <= 1 && x >= 0 &&
        x <= std::numeric_limits<double>::max())
        return 0;
    return (1 - dVibrancy) * 256 * maths::pow(x, dInverseGamma);
}
