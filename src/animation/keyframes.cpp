#include "animation/keyframes.h"

#include "base/number_text.h"

#include <algorithm>
#include <cmath>

std::string keyframeTimesProblem(const std::vector<SGenome>& vKeys) {
    for (size_t k = 0; k < vKeys.size(); k++)
        if (!(std::fabs(vKeys[k].dTime) <= dLatestTime))
            return "flame " + std::to_string(k + 1) + "'s time " + shortest(vKeys[k].dTime) +
                   " is beyond " + shortest(dLatestTime) + " frames either way";
    for (size_t k = 1; k < vKeys.size(); k++)
        if (!(vKeys[k].dTime > vKeys[k - 1].dTime))
            return "flame " + std::to_string(k + 1) + "'s time " + shortest(vKeys[k].dTime) +
                   " is not after flame " + std::to_string(k) + "'s " +
                   shortest(vKeys[k - 1].dTime) + ": keyframes go in the order of their times";
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

void settleKeyframes(std::vector<SGenome>& vKeys) {
    for (size_t k = 0; k < vKeys.size(); k++)
        if (mustBeLinear(k, vKeys.size())) vKeys[k].eTimeInterpolation = eTimeLinear;
    for (size_t k = 1; k < vKeys.size(); k++) {
        const EAffineInterpolation eBefore = vKeys[k - 1].eAffineInterpolation;
        if (eBefore == eAffineOld || eBefore == eAffineOlder) continue;
        double& dRotate = vKeys[k].dRotate;
        while (dRotate < vKeys[k - 1].dRotate - 180) dRotate += 360;
        while (dRotate > vKeys[k - 1].dRotate + 180) dRotate -= 360;
    }
}

SFrameRange defaultFrames(const CKeyframes& keys) {
    const long long iFirst = static_cast<long long>(std::trunc(keys.time(0)));
    const long long iLast = static_cast<long long>(std::trunc(keys.time(keys.count() - 1))) - 1;
    return {iFirst, std::max(iFirst, iLast), 1};
}
