#include "genome/genome.h"

#include "core/angles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

// Comparisons are of the bits that matter to the picture: == on doubles, so −0 equals 0 and a
// NaN (which no genome read from a file holds) equals nothing.
bool SColour::operator==(const SColour& other) const {
    return std::tie(dRed, dGreen, dBlue, dAlpha) ==
           std::tie(other.dRed, other.dGreen, other.dBlue, other.dAlpha);
}

bool SXform::operator==(const SXform& other) const {
    return std::tie(dWeight, dColor, dColorSpeed, dOpacity, coefs, post, vChaos, variations,
                    parameters) ==
           std::tie(other.dWeight, other.dColor, other.dColorSpeed, other.dOpacity, other.coefs,
                    other.post, other.vChaos, other.variations, other.parameters);
}

bool SGenome::operator==(const SGenome& other) const {
    const auto view = [](const SGenome& g) {
        return std::tie(g.sName, g.iWidth, g.iHeight, g.dCenterX, g.dCenterY, g.dScale, g.dZoom,
                        g.dRotate, g.iSupersample, g.dFilter, g.eFilterShape, g.dQuality,
                        g.iPasses, g.dBrightness, g.dGamma, g.dGammaThreshold, g.dVibrancy,
                        g.dHighlightPower, g.dHue, g.iPalette, g.ePaletteMode);
    };
    const auto estimator = [](const SGenome& g) {
        return std::tie(g.dEstimatorRadius, g.dEstimatorMinimum, g.dEstimatorCurve,
                        g.iSoloXform, g.vXforms, g.bFinalXform, g.palette);
    };
    for (int i = 0; i < 3; i++)
        if (dBackground[i] != other.dBackground[i]) return false;
    if (bFinalXform && !(finalXform == other.finalXform)) return false;
    return view(*this) == view(other) && estimator(*this) == estimator(other);
}

SGenome resizedGenome(const SGenome& genome, int iWidth, int iHeight) {
    SGenome resized = genome;
    resized.dScale = genome.dScale * iWidth / genome.iWidth;
    resized.iWidth = iWidth;
    resized.iHeight = iHeight > 0 ? iHeight
                                  : std::max(1, static_cast<int>(std::lround(
                                                    static_cast<double>(genome.iHeight) *
                                                    iWidth / genome.iWidth)));
    return resized;
}

namespace {

// Rounded to 6 decimals, as flam3 makes its symmetry xforms.
double sixDecimals(double d) { return std::round(d * 1e6) / 1e6; }

SXform symmetryXform(double dColor, double dCos, double dSin) {
    SXform xform;
    xform.dWeight = 1;
    xform.dColor = dColor;
    xform.dColorSpeed = 0;
    xform.variations[0] = 1;
    xform.coefs = {sixDecimals(dCos), sixDecimals(dSin), sixDecimals(-dSin), sixDecimals(dCos),
                   0, 0};
    return xform;
}

}  // namespace

std::vector<SXform> symmetryXforms(int iKind) {
    std::vector<SXform> vXforms;
    if (iKind < 0) {  // the mirror x → −x
        SXform mirror = symmetryXform(1, 1, 0);
        mirror.coefs[0] = -1;
        vXforms.push_back(mirror);
    }
    const int iOrder = std::abs(iKind);
    for (int k = 1; k < iOrder; k++) {
        const double dAngle = 2 * dPI * k / iOrder;
        const double dColor = iOrder < 3 ? 0 : (k - 1.0) / (iOrder - 2);
        vXforms.push_back(symmetryXform(dColor, std::cos(dAngle), std::sin(dAngle)));
    }
    return vXforms;
}
