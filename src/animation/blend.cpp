#include "animation/blend.h"

#include "animation/alignment.h"
#include "animation/palette_blend.h"
#include "genome/attributes.h"

namespace {

// Every row of the table that blends, from the keyframes into out.
template <class TOwner>
void blendRows(const std::vector<SAttribute<TOwner>>& vRows, const TOwner* const* pKeys,
               const double* pWeights, int iKeys, TOwner& out) {
    for (const SAttribute<TOwner>& row : vRows)
        if (row.pfBlend) row.pfBlend(pKeys, pWeights, iKeys, row.eInterpolation, out);
}

// Σ c_k·x_k for numbers an array holds, each on its own.
template <class TArray>
void blendNumbers(const TArray* const* pArrays, const double* pWeights, int iKeys, TArray& out) {
    for (size_t i = 0; i < out.size(); i++) {
        double dSum = 0;
        for (int k = 0; k < iKeys; k++) dSum += pWeights[k] * (*pArrays[k])[i];
        out[i] = dSum;
    }
}

bool isIdentity(const CAffine& coefs) { return coefs == CAffine{1, 0, 0, 1, 0, 0}; }

// The pre_ and post_ forms, blended where every keyframe has the same ones in the same order;
// else the first keyframe's.
void blendUses(const SXform* const* pKeys, const double* pWeights, int iKeys, SXform& out) {
    for (int k = 1; k < iKeys; k++) {
        const std::vector<SVariationUse>& vUses = pKeys[k]->vUses;
        if (vUses.size() != out.vUses.size()) return;
        for (size_t u = 0; u < vUses.size(); u++)
            if (vUses[u].iVariation != out.vUses[u].iVariation ||
                vUses[u].eForm != out.vUses[u].eForm || vUses[u].iRepeat != out.vUses[u].iRepeat)
                return;
    }
    for (size_t u = 0; u < out.vUses.size(); u++) {
        double dWeight = 0;
        for (int k = 0; k < iKeys; k++) dWeight += pWeights[k] * pKeys[k]->vUses[u].dWeight;
        out.vUses[u].dWeight = dWeight;
        const std::vector<double>* pParameters[iMostBlendKeys];
        for (int k = 0; k < iKeys; k++) pParameters[k] = &pKeys[k]->vUses[u].parameters;
        blendNumbers(pParameters, pWeights, iKeys, out.vUses[u].parameters);
    }
}

// The coefs, or the post, of one xform: by angle and length under log, else on a straight line;
// a post that is the identity in every keyframe stays exactly that.
CAffine blendAffine(const CAffine* const* pAffines, const double* pWeights, int iKeys,
                    EAffineInterpolation eType, const SWinding* pWinding, bool bPost) {
    if (bPost) {
        bool bIdentity = true;
        for (int k = 0; k < iKeys; k++) bIdentity = bIdentity && isIdentity(*pAffines[k]);
        if (bIdentity) return CAffine{1, 0, 0, 1, 0, 0};
    }
    if (eType == eAffineLog) return blendLogAffine(pAffines, pWeights, iKeys, pWinding);
    return blendLinearAffine(pAffines, pWeights, iKeys);
}

void blendXform(const SBlend& blend, int i, EAffineInterpolation eType, SXform& out) {
    const SXform* pXforms[iMostBlendKeys];
    const CAffine* pCoefs[iMostBlendKeys];
    const CAffine* pPosts[iMostBlendKeys];
    for (int k = 0; k < blend.iKeys; k++) {
        pXforms[k] = &xformAt(*blend.pKeys[k], i);
        pCoefs[k] = &pXforms[k]->coefs;
        pPosts[k] = &pXforms[k]->post;
    }
    blendRows(xformAttributes(), pXforms, blend.dWeights, blend.iKeys, out);
    const std::array<double, iVariationCount>* pVariations[iMostBlendKeys];
    const std::vector<double>* pParameters[iMostBlendKeys];
    for (int k = 0; k < blend.iKeys; k++) {
        pVariations[k] = &pXforms[k]->variations;
        pParameters[k] = &pXforms[k]->parameters;
    }
    blendNumbers(pVariations, blend.dWeights, blend.iKeys, out.variations);
    blendNumbers(pParameters, blend.dWeights, blend.iKeys, out.parameters);
    blendUses(pXforms, blend.dWeights, blend.iKeys, out);
    const bool bStandard = i < static_cast<int>(blend.pKeys[0]->vXforms.size());
    const SWinding* pWinding =
        bStandard && i < static_cast<int>(blend.vWindings.size()) ? &blend.vWindings[i] : nullptr;
    out.coefs = blendAffine(pCoefs, blend.dWeights, blend.iKeys, eType, pWinding, false);
    out.post = blendAffine(pPosts, blend.dWeights, blend.iKeys, eType, nullptr, true);
}

}  // namespace

SGenome blendedGenome(const SBlend& blend) {
    const SGenome& first = *blend.pKeys[0];
    SGenome out = first;
    blendRows(flameAttributes(), blend.pKeys, blend.dWeights, blend.iKeys, out);
    for (int i = 0; i < xformCount(out); i++)
        blendXform(blend, i, first.eAffineInterpolation, xformAt(out, i));
    const CPalette* pPalettes[iMostBlendKeys];
    for (int k = 0; k < blend.iKeys; k++) pPalettes[k] = &blend.pKeys[k]->palette;
    out.palette = blendPalettes(pPalettes, blend.dWeights, blend.iKeys,
                                first.ePaletteInterpolation, first.dHsvRgbPaletteBlend);
    out.iPalette = -1;  // the palette is the blend now, not a library's
    out.eTimeInterpolation = eTimeLinear;
    // A moment between keyframes is no flame a loop starts from: flam3-genome leaves the motions
    // out of its frames, and the first keyframe's would not be the moment's.
    for (int i = 0; i < xformCount(out); i++) xformAt(out, i).vMotions.clear();
    return out;
}
