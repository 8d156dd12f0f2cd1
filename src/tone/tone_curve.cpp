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

namespace {

std::shared_ptr<const std::vector<double>> curveTablesOf(const CCurves& curves) {
    if (curvesOff(curves)) return nullptr;
    auto pTables = std::make_shared<std::vector<double>>(iCurves * iCurveSteps);
    for (int i = 0; i < iCurves; i++)
        for (int j = 0; j < iCurveSteps; j++)
            (*pTables)[static_cast<size_t>(i) * iCurveSteps + j] =
                curveValue(curves[i], j / double(iCurveSteps - 1));
    return pTables;
}

}  // namespace

SToneCurve toneCurveOf(const SGenome& genome) {
    const double dInverseGamma = 1 / genome.dGamma;
    return {dInverseGamma, genome.dGammaThreshold, genome.dVibrancy, genome.dHighlightPower,
            {genome.dBackground[0], genome.dBackground[1], genome.dBackground[2]},
            maths::pow(genome.dGammaThreshold, dInverseGamma - 1), curveTablesOf(genome.curves)};
}

unsigned char eightBitLevel(double d) {
    if (std::isnan(d)) return 255;
    if (!(d > 0)) return 0;
    return d >= 255 ? 255 : static_cast<unsigned char>(d);
}

uint16_t sixteenBitLevel(double d) {
    if (std::isnan(d)) return 65535;
    if (!(d > 0)) return 0;
    return d >= 65535.0 / 256 ? 65535 : static_cast<uint16_t>(256 * d);
}

unsigned char eightBitAlpha(double dAlpha) { return static_cast<unsigned char>(255 * dAlpha); }
uint16_t sixteenBitAlpha(double dAlpha) { return static_cast<uint16_t>(65535 * dAlpha); }

namespace {

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

// α from the gamma curve, straightened below the threshold, clamped; dL from the unclamped α.
double SToneCurve::alphaOf(const double* pValue, double& dL) const {
    dL = 0;
    if (!(pValue[3] > 0)) return 0;
    const double dTau = pValue[3] / 255;
    double dCurved = maths::pow(dTau, dInverseGamma);
    if (dTau < dThreshold) {
        const double f = dTau / dThreshold;
        dCurved = (1 - f) * dTau * dThresholdPower + f * dCurved;
    }
    dL = 256 * dVibrancy * dCurved / dTau;
    return std::clamp(dCurved, 0.0, 1.0);
}

void SToneCurve::baseOf(const double* pValue, double dL, double* pBase) const {
    pBase[0] = pBase[1] = pBase[2] = 0;
    if (dL == 0 || (pValue[0] == 0 && pValue[1] == 0 && pValue[2] == 0)) return;
    int iMost = 0;
    for (int c = 1; c < 3; c++)
        if (pValue[c] > pValue[iMost]) iMost = c;
    const double dMost = dL * pValue[iMost] / 255, dNu = 255 * 255 / pValue[iMost];
    if (dMost > 255 && dHighlightPower >= 0) {
        highlighted(pValue, dNu, dNu / dL, dHighlightPower, pBase);
    } else {
        const double dLambda = dMost > 255 ? std::min(1.0, -dHighlightPower) : 1;
        for (int c = 0; c < 3; c++)
            pBase[c] = ((1 - dLambda) * dNu + dLambda * dL) * pValue[c] / 255;
    }
}

void SToneCurve::pixel(const double* pValue, unsigned char* pRgb) const {
    STonedPixel toned;
    pixel(pValue, false, toned);
    for (int c = 0; c < 3; c++) pRgb[c] = eightBitLevel(toned.dRgb[c]);
}

void SToneCurve::pixel(const double* pValue, bool bTransparent, STonedPixel& toned) const {
    double dL = 0;
    const double dAlpha = alphaOf(pValue, dL);
    double dBase[3];
    baseOf(pValue, dL, dBase);
    toned.dAlpha = dAlpha;
    for (int c = 0; c < 3; c++) {
        const double dColour = dBase[c] + vibrancyTerm(pValue[c]);
        if (!bTransparent) toned.dRgb[c] = dColour + (1 - dAlpha) * 256 * dBackground[c];
        else toned.dRgb[c] = dAlpha > 0 ? dColour / dAlpha : 0;
        if (pCurveTables) toned.dRgb[c] = curved(toned.dRgb[c], c);
    }
}

// v ← S_c(S_overall(v)) on the 0–1 scale where 1 is 255, each curve looked up at the sample
// below: the editors' tables, quantised to 1/65535. Not alpha: the curves colour only.
double SToneCurve::curved(double dValue, int iChannel) const {
    const auto step = [](double v) {
        return static_cast<size_t>(std::clamp(v * (iCurveSteps - 1), 0.0, iCurveSteps - 1.0));
    };
    if (std::isnan(dValue)) return dValue;  // shown as flam3 shows it
    const std::vector<double>& tables = *pCurveTables;
    const double dOverall = tables[step(dValue / 255)];
    return 255 * tables[static_cast<size_t>(iChannel + 1) * iCurveSteps + step(dOverall)];
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
