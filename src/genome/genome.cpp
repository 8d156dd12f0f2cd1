#include "genome/genome.h"

#include "base/angles.h"
#include "genome/attributes.h"
#include "maths/maths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <vector>

// Comparisons are of the bits that matter to the picture: == on doubles, so −0 equals 0 and a
// NaN (which no genome read from a file holds) equals nothing.
bool SColour::operator==(const SColour& other) const {
    return std::tie(dRed, dGreen, dBlue, dAlpha) ==
           std::tie(other.dRed, other.dGreen, other.dBlue, other.dAlpha);
}

SXform::SXform() { setDefaults(*this); }

SGenome::SGenome() { setDefaults(*this); }

// What a motion leaves out moves by 0: each row that blends, blended at weight 0 (Σ 0·v); the
// affine numbers, the variations and their parameters.
SMotion::SMotion() : iFrequency(0), eFunction(eMotionHill) {
    const SXform* pAmplitudes = &amplitudes;
    const double dNone = 0;
    for (const SAttribute<SXform>& row : xformAttributes())
        if (row.pfBlend && row.bMoves) row.pfBlend(&pAmplitudes, &dNone, 1, eBlend, amplitudes);
    amplitudes.coefs.fill(0);
    amplitudes.post.fill(0);
    amplitudes.variations.fill(0);
    std::fill(amplitudes.parameters.begin(), amplitudes.parameters.end(), 0.0);
}

namespace {

// Every attribute of the table the same.
template <class TOwner>
bool sameAttributes(const std::vector<SAttribute<TOwner>>& vRows, const TOwner& one,
                    const TOwner& other) {
    for (const SAttribute<TOwner>& row : vRows)
        if (row.pfSame && !row.pfSame(one, other)) return false;
    return true;
}

}  // namespace

bool SXform::operator==(const SXform& other) const {
    return sameAttributes(xformAttributes(), *this, other) && variations == other.variations &&
           parameters == other.parameters && vUses == other.vUses && vMotions == other.vMotions &&
           vPriorities == other.vPriorities;
}

bool SMotion::operator==(const SMotion& other) const {
    return iFrequency == other.iFrequency && eFunction == other.eFunction &&
           amplitudes == other.amplitudes;
}

bool SGenome::operator==(const SGenome& other) const {
    if (bFinalXform && !(finalXform == other.finalXform)) return false;
    return sameAttributes(flameAttributes(), *this, other) && vXforms == other.vXforms &&
           bFinalXform == other.bFinalXform && palette == other.palette;
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

int symmetryXformCount(int iKind) { return iKind < 0 ? -iKind : std::max(0, iKind - 1); }

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
        vXforms.push_back(symmetryXform(dColor, maths::cos(dAngle), maths::sin(dAngle)));
    }
    return vXforms;
}
