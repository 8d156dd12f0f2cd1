#include "genome/genome_check.h"

#include "base/number_text.h"
#include "genome/filter.h"
#include "maths/maths.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool fail(std::string& sError, const std::string& sWhat) {
    sError = sWhat;
    return false;
}

bool checkPicture(const SGenome& g, std::string& sError) {
    const std::string sSize = std::to_string(g.iWidth) + " " + std::to_string(g.iHeight);
    if (g.iWidth < 1 || g.iWidth > iMostPixelsPerSide || g.iHeight < 1 ||
        g.iHeight > iMostPixelsPerSide)
        return fail(sError, "size " + sSize + " is out of 1 to 16384 per side");
    if (!(g.dQuality > 0 && g.dQuality <= dMostQuality))
        return fail(sError, "quality " + shortest(g.dQuality) + " is out of (0, 100000]");
    if (g.iSupersample < 1 || g.iSupersample > iMostSupersample)
        return fail(sError, "supersample " + std::to_string(g.iSupersample) +
                                " is out of 1 to 16");
    if (g.iPasses < 1 || g.iPasses > iMostPasses)
        return fail(sError, "passes " + std::to_string(g.iPasses) + " is out of 1 to " +
                                std::to_string(iMostPasses));
    const double dSamples = g.dQuality * maths::pow(4.0, g.dZoom) * g.iWidth * g.iHeight;
    if (!(dSamples <= dMostSamples))
        return fail(sError, "quality " + shortest(g.dQuality) + " at zoom " +
                                shortest(g.dZoom) + " asks for more than 1e14 samples");
    if (!(g.dGamma != 0)) return fail(sError, "gamma is 0");
    if (!(g.dFilter >= 0)) return fail(sError, "filter " + shortest(g.dFilter) + " < 0");
    const CSpatialFilter filter(g.eFilterShape, g.dFilter, g.iSupersample);
    if (!filter.usable())
        return fail(sError, std::string("filter ") + shortest(g.dFilter) + " of shape " +
                                filterShapeName(g.eFilterShape) +
                                " is too wide or has no weight at all");
    return true;
}

bool checkEstimator(const SGenome& g, std::string& sError) {
    if (!(g.dEstimatorRadius >= 0 && g.dEstimatorMinimum >= 0))
        return fail(sError, "estimator_radius and estimator_minimum must be at least 0");
    if (g.dEstimatorRadius < g.dEstimatorMinimum)
        return fail(sError, "estimator_radius " + shortest(g.dEstimatorRadius) +
                                " is below estimator_minimum " +
                                shortest(g.dEstimatorMinimum));
    if (!(g.dEstimatorCurve > 0))
        return fail(sError, "estimator_curve " + shortest(g.dEstimatorCurve) + " is not > 0");
    if (g.dEstimatorRadius * g.iSupersample > dWidestEstimator)
        return fail(sError, "estimator_radius × supersample is beyond 400 buckets");
    return true;
}

// Each xform that can be chosen must leave one to choose after it: some xform j of a weight
// above 0 whose chaos entry is above 0, the entries past the row's end counting as 1. Each row
// is looked at once, with the weights after its end summed beforehand: the check costs the
// chaos entries given, however many xforms there are.
bool chaosLeavesAChoice(const SGenome& g, std::string& sError) {
    const size_t uXforms = g.vXforms.size();
    std::vector<double> vWeightsFrom(uXforms + 1, 0.0);
    for (size_t j = uXforms; j-- > 0;) vWeightsFrom[j] = vWeightsFrom[j + 1] + g.vXforms[j].dWeight;
    for (size_t i = 0; i < uXforms; i++) {
        const std::vector<double>& vChaos = g.vXforms[i].vChaos;
        if (g.vXforms[i].dWeight == 0 || vWeightsFrom[std::min(vChaos.size(), uXforms)] > 0)
            continue;
        bool bChoice = false;
        for (size_t j = 0; j < std::min(vChaos.size(), uXforms) && !bChoice; j++)
            bChoice = g.vXforms[j].dWeight * vChaos[j] > 0;
        if (!bChoice)
            return fail(sError, "the chaos of xform " + std::to_string(i + 1) +
                                    " leaves no xform to choose after it");
    }
    return true;
}

bool checkXforms(const SGenome& g, std::string& sError) {
    if (g.vXforms.size() > iMostXforms)
        return fail(sError, std::to_string(g.vXforms.size()) + " xforms, over the " +
                                std::to_string(iMostXforms) + " a flame may hold");
    double dTotal = 0;
    for (size_t i = 0; i < g.vXforms.size(); i++) {
        if (!(g.vXforms[i].dWeight >= 0))
            return fail(sError, "xform " + std::to_string(i + 1) + " has a negative weight");
        for (double dChaos : g.vXforms[i].vChaos)
            if (!(dChaos >= 0))
                return fail(sError, "xform " + std::to_string(i + 1) + " has a negative chaos");
        dTotal += g.vXforms[i].dWeight;
    }
    if (!(dTotal > 0)) return fail(sError, "no xform with a weight above 0");
    if (!chaosLeavesAChoice(g, sError)) return false;
    if (g.bFinalXform && g.finalXform.dWeight != 0)
        return fail(sError, "the final xform has a weight other than 0");
    return true;
}

}  // namespace

bool checkGenome(const SGenome& genome, std::string& sError) {
    return checkPicture(genome, sError) && checkEstimator(genome, sError) &&
           checkXforms(genome, sError);
}
