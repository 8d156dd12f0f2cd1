#include "animation/keyframes.h"

#include "base/number_text.h"

#include <algorithm>
#include <cmath>

std::string keyframeTimesProblem(const std::vector<SGenome>& vKeys) {
    for (size_t k = 0; k < vKeys.size(); k++)
        if (!(std::fabs(vKeys[k].dTime) <= dLatestTime))
            return "flame " + std::to_string(k + 1) + "'s time " + shortest(vKeys[k].dTime) +
                   " is beyond " + shortest(dLatestTime) + " frames either way";
    for (size_t k = 1; k < vKeys.size(); k++) {
        const std::string sTimes = "flame " + std::to_string(k + 1) + "'s time " +
                                   shortest(vKeys[k].dTime) + " is ";
        const std::string sBefore = "flame " + std::to_string(k) + "'s " +
                                    shortest(vKeys[k - 1].dTime);
        if (!(vKeys[k].dTime > vKeys[k - 1].dTime))
            return sTimes + "not after " + sBefore + ": keyframes go in the order of their times";
        // Weights that divide by the gap would carry a frame away from both keyframes by as
        // many times the frame's distance from them.
        if (vKeys[k].dTime - vKeys[k - 1].dTime < dClosestKeyframes)
            return sTimes + "within " + shortest(dClosestKeyframes) + " of " + sBefore +
                   ": keyframes that close cannot be blended (a frame between or beside them "
                   "would be carried off by their difference over that gap)";
    }
    return "";
}

namespace {

// The keyframes that cannot start a curve: the first, and the second to last.
bool mustBeLinear(size_t k, size_t uKeys) { return k == 0 || k + 2 == uKeys; }

}  // namespace

std::vector<std::string> smoothProblems(const std::vector<SGenome>& vKeys) {
    std::vector<std::string> vProblems;
    for (size_t k = 0; k < vKeys.size(); k++)
        if (vKeys[k].eTimeInterpolation == eTimeSmooth && mustBeLinear(k, vKeys.size()))
            vProblems.push_back("flame " + std::to_string(k + 1) +
                                " says interpolation=\"smooth\", but the " +
                                (k == 0 ? "first" : "last") +
                                " segment can only be linear (a curve needs a keyframe on "
                                "either side)");
    return vProblems;
}

namespace {

// A turn moved by whole turns to within half a turn of dBefore, a turn at a time as flam3 moves
// it where they are few, or else at once, by their remainder (steps of 360 would be lost in the
// rounding of a turn of 1e300, and a million of them take milliseconds).
double unwrappedTurn(double dRotate, double dBefore) {
    constexpr double dFewTurns = 360.0 * 1000000;
    if (!(std::fabs(dRotate - dBefore) <= dFewTurns))
        dRotate = dBefore + std::remainder(std::remainder(dRotate, 360) -
                                               std::remainder(dBefore, 360), 360);
    while (dRotate < dBefore - 180) dRotate += 360;
    while (dRotate > dBefore + 180) dRotate -= 360;
    return dRotate;
}

}  // namespace

void settleKeyframes(std::vector<SGenome>& vKeys) {
    for (size_t k = 0; k < vKeys.size(); k++)
        if (mustBeLinear(k, vKeys.size())) vKeys[k].eTimeInterpolation = eTimeLinear;
    for (size_t k = 1; k < vKeys.size(); k++) {
        const EAffineInterpolation eBefore = vKeys[k - 1].eAffineInterpolation;
        if (eBefore == eAffineOld || eBefore == eAffineOlder) continue;
        vKeys[k].dRotate = unwrappedTurn(vKeys[k].dRotate, vKeys[k - 1].dRotate);
    }
}

SFrameRange defaultFrames(const CKeyframes& keys) {
    const long long iFirst = static_cast<long long>(std::trunc(keys.time(0)));
    const long long iLast = static_cast<long long>(std::trunc(keys.time(keys.count() - 1))) - 1;
    return {iFirst, std::max(iFirst, iLast), 1};
}
