#include "animation/motion_blur.h"

#include "animation/interpolation.h"
#include "maths/maths.h"

#include <algorithm>
#include <cmath>
#include <cstring>

std::vector<double> temporalWeights(ETemporalFilter eFilter, double dExponent, int iMoments) {
    std::vector<double> vWeights(iMoments, 1.0);
    const double dN = iMoments;
    for (int j = 0; j < iMoments; j++) {
        if (eFilter == eTemporalGaussian) {  // centred on N/2, not (N − 1)/2, as flam3's
            const double dX = 1.5 * std::fabs(j - dN / 2) / (dN / 2);
            vWeights[j] = maths::exp(-2 * dX * dX);
        } else if (eFilter == eTemporalExp) {
            vWeights[j] = dExponent >= 0 ? maths::pow((j + 1) / dN, dExponent)
                                         : maths::pow((dN - j) / dN, -dExponent);
        }
    }
    const double dMost = *std::max_element(vWeights.begin(), vWeights.end());
    for (double& dWeight : vWeights) dWeight /= dMost;
    return vWeights;
}

double momentTime(double dTime, double dWidth, int iMoment, int iMoments) {
    if (iMoments == 1) return dTime;
    return dTime + (static_cast<double>(iMoment) / (iMoments - 1) - 0.5) * dWidth;
}

namespace {

// The tone curve of the frame, summed moment by moment: gamma, vibrancy and background the
// moments' means, the threshold the last moment's.
struct SToneSums {
    double dGamma = 0, dVibrancy = 0, dBackground[3] = {0, 0, 0}, dLastThreshold = 0;
    int iMoments = 0;

    void add(const SGenome& moment) {
        dGamma += moment.dGamma;
        dVibrancy += moment.dVibrancy;
        for (int c = 0; c < 3; c++) dBackground[c] += moment.dBackground[c];
        dLastThreshold = moment.dGammaThreshold;
        iMoments++;
    }
};

// The picture's tone curve from the moments' sums; its spatial filter the first keyframe's.
void settlePicture(const SToneSums& sums, const SGenome& first, SGenome& picture) {
    const double dCount = static_cast<double>(sums.iMoments);
    picture.dGamma = sums.dGamma / dCount;
    picture.dVibrancy = sums.dVibrancy / dCount;
    for (int c = 0; c < 3; c++) picture.dBackground[c] = sums.dBackground[c] / dCount;
    picture.dGammaThreshold = sums.dLastThreshold;
    picture.dFilter = first.dFilter;
    picture.eFilterShape = first.eFilterShape;
}

constexpr int64_t iMostKeptKeyframes = 16;  // a picture keeps no more: a blur that wide

// The keyframes the moments from dFrom to dTo are blended from, with those a curve needs on
// either side, so that they alone blend each moment alike; the first keyframe before them.
// None where there would be more than iMostKeptKeyframes.
std::vector<SGenome> frameKeys(const CKeyframes& keys, double dFrom, double dTo) {
    if (keys.count() == 1) return {keys.first(), keys.first()};
    const auto segmentOf = [&](double dTime) {
        const SSegment segment = segmentAt(keys, dTime);
        return segment.iFirst + (segment.iKeys == 4 ? 1 : 0);
    };
    const int64_t iFrom = std::max<int64_t>(0, segmentOf(std::min(dFrom, dTo)) - 1);
    const int64_t iTo = std::min(keys.count() - 1, segmentOf(std::max(dFrom, dTo)) + 2);
    if (iTo - iFrom + 1 > iMostKeptKeyframes) return {};
    std::vector<SGenome> vKeys = {keys.first()};
    SGenome made;
    for (int64_t k = iFrom; k <= iTo; k++) vKeys.push_back(keys.key(k, made));
    return vKeys;
}

}  // namespace

bool framePlan(const CKeyframes& keys, double dTime, SRenderPlan& plan, std::string& sError) {
    plan = SRenderPlan();
    plan.genome = genomeAt(keys, dTime);
    const SGenome& genome = plan.genome;
    const int iPasses = std::max(1, genome.iPasses), iSamples = genome.iTemporalSamples;
    if (iSamples < 1 || static_cast<double>(iSamples) * iPasses > iMostMoments) {
        sError = "temporal_samples " + std::to_string(iSamples) + " at " +
                 std::to_string(iPasses) + " passes: a frame is drawn at 1 to " +
                 std::to_string(iMostMoments) + " moments";
        return false;
    }
    const int iMoments = iPasses * iSamples;
    const std::vector<double> vWeights =
        temporalWeights(genome.eTemporalFilter, genome.dTemporalFilterExp, iMoments);
    SToneSums sums;
    plan.vPasses.resize(iPasses);
    double dWeightSum = 0;
    for (int j = 0; j < iMoments; j++) {
        const double dMoment = momentTime(dTime, genome.dTemporalFilterWidth, j, iMoments);
        const SGenome moment = genomeAt(keys, dMoment);
        sums.add(moment);
        // quality · 4^zoom · W · H samples for the frame, a share of them each moment.
        const double dSamples = moment.dQuality * maths::pow(4.0, moment.dZoom) * genome.iWidth *
                                genome.iHeight / iMoments;
        const int64_t iMomentSamples = std::max<int64_t>(1, std::llround(dSamples));
        plan.vPasses[j / iSamples].push_back({dMoment, vWeights[j], iMomentSamples});
        dWeightSum += vWeights[j];
    }
    plan.dMeanWeight = dWeightSum / iMoments;
    plan.picture = genome;
    settlePicture(sums, keys.first(), plan.picture);
    plan.genomeAt = [keys](double dMoment) { return genomeAt(keys, dMoment); };
    plan.vFrameKeys = frameKeys(keys, momentTime(dTime, genome.dTemporalFilterWidth, 0, iMoments),
                                momentTime(dTime, genome.dTemporalFilterWidth, iMoments - 1,
                                           iMoments));
    return true;
}

bool keptFramePlan(const std::vector<SGenome>& vFrameKeys, double dTime, SRenderPlan& plan,
                   std::string& sError) {
    if (vFrameKeys.size() < 2) {
        sError = "a frame kept with no keyframes to draw it from";
        return false;
    }
    return framePlan(CKeyframes(std::vector<SGenome>(vFrameKeys.begin() + 1, vFrameKeys.end()),
                                vFrameKeys.front()),
                     dTime, plan, sError);
}

unsigned int frameSeed(unsigned int uSeed, double dTime) {
    dTime += 0.0;  // -0 and 0 are one time
    // splitmix64's finaliser over the seed and the time's bits: frames near in time get
    // streams as unlike as any two.
    uint64_t uTime;
    std::memcpy(&uTime, &dTime, sizeof uTime);
    uint64_t z = (static_cast<uint64_t>(uSeed) << 32 ^ uTime) + 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return static_cast<unsigned int>((z ^ (z >> 31)) >> 32);
}
