#include "game/xform_map.h"

#include "maths/maths.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

constexpr double dLog2Of10 = 0x1.a934f0979a371p+1;  // log2 10, as the compiler folds it

CXformMap::CXformMap(const SXform& xform, bool bPlotted, bool bZ)
    : coefs(xform.coefs), post(xform.post),
      bPost(xform.post != std::array<double, 6>{1, 0, 0, 1, 0, 0}), yzCoefs(xform.yzCoefs),
      zxCoefs(xform.zxCoefs), yzPost(xform.yzPost), zxPost(xform.zxPost),
      bPrePlanes(bZ && planesUsed(xform.yzCoefs, xform.zxCoefs)),
      bPostPlanes(bZ && planesUsed(xform.yzPost, xform.zxPost)), dColor(xform.dColor),
      dSpeed(xform.dColorSpeed), parameters(xform.parameters) {
    // opacity^(log2 10) = 10^(log2 opacity): half the opacity, a tenth of the weight.
    dPlotWeight = bPlotted && xform.dOpacity > 0 ? maths::pow(xform.dOpacity, dLog2Of10) : 0;
    dOpacity = xform.dOpacity;
    // The plain variations in the table's order; then the forms, in the file's order, each with
    // its own parameters after the plain ones.
    // A variation JWildfire's priority moves out of the sum acts as a form that adds to the point.
    for (int i = 0; i < iVariationCount; i++) {
        EVariationForm eForm = ePlainForm;
        for (const std::pair<int, int>& priority : xform.vPriorities)
            if (priority.first == i) eForm = priority.second < 0 ? ePreForm : ePostForm;
        add(i, eForm, xform.variations[i], firstParameter(i), bZ, eForm != ePlainForm);
    }
    for (const SVariationUse& use : xform.vUses) {
        const int iFirst = static_cast<int>(parameters.size());
        parameters.insert(parameters.end(), use.parameters.begin(), use.parameters.end());
        add(use.iVariation, use.eForm, use.dWeight, iFirst, bZ);
    }
    bLinearAlone = vPre.empty() && vPost.empty() && vSum.size() == 1 &&
                   vSum[0].iVariation == variation::eLinear;
    if (mixable()) {
        std::copy(coefs.begin(), coefs.end(), mixedNumbers.begin());
        std::copy(post.begin(), post.end(), mixedNumbers.begin() + 6);
        const uint64_t uPost = bPost ? ~uint64_t{0} : 0;
        mixedNumbers[12] = vSum[0].dWeight, mixedNumbers[13] = dColor, mixedNumbers[14] = dSpeed;
        std::memcpy(&mixedNumbers[15], &uPost, sizeof uPost);
    }
}

void CXformMap::add(int iVariation, EVariationForm eForm, double dWeight, int iFirst, bool bZ,
                    bool bForced) {
    const SVariation& row = variationOf(iVariation);
    const SVariationSpace& space = row.space;
    if (dWeight == 0 || (!bZ && space.eZ == eZOnly)) return;
    const CConstants constants =
        row.pfPrepare ? row.pfPrepare(parameters.data() + iFirst, coefs.data()) : CConstants{};
    // A form that adds to the point starts from all of it; one that replaces it, from the
    // coordinates the row makes nothing of.
    const bool bKeepXY = bForced || space.bAdditive || space.eZ == eZOnly;
    const bool bKeepZ = bForced || space.bAdditive || space.eZ == eZPassed;
    const SActive active{iVariation, dWeight, iFirst, constants, bKeepXY, bKeepZ,
                         laneFormulaOf(iVariation, bZ)};
    // A plain use that acts on the sum (flatten) comes before the post_ forms: the plain
    // variations are all added before the forms.
    if (eForm == ePreForm || space.bFirst) vPre.push_back(active);
    else if (eForm == ePostForm || space.bOnSum) vPost.push_back(active);
    else vSum.push_back(active);
}

bool planesUsed(const std::array<double, 6>& yz, const std::array<double, 6>& zx) {
    const double dIdentity[6] = {1, 0, 0, 1, 0, 0};
    for (int i = 0; i < 6; i++)
        if (std::fabs(yz[i] - dIdentity[i]) > 1e-8 || std::fabs(zx[i] - dIdentity[i]) > 1e-8)
            return true;
    return false;
}

bool readsZ(const SXform& xform) {
    if (planesUsed(xform.yzCoefs, xform.zxCoefs) || planesUsed(xform.yzPost, xform.zxPost))
        return true;
    for (int i = 0; i < iVariationCount; i++)
        if (xform.variations[i] != 0 && variationOf(i).space.bReadsZ) return true;
    for (const SVariationUse& use : xform.vUses)
        if (use.dWeight != 0 && variationOf(use.iVariation).space.bReadsZ) return true;
    return false;
}
