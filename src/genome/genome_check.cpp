#include "genome/genome_check.h"

#include "genome/filter.h"
#include "text/text_forms.h"

#include <cmath>

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
    if (g.iPasses < 1 || g.iPasses > 1000)
        return fail(sError, "passes " + std::to_string(g.iPasses) + " is out of 1 to 1000");
    const double dSamples = g.dQuality * std::pow(4.0, g.dZoom) * g.iWidth * g.iHeight;
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

bool checkXforms(const SGenome& g, std::string& sError) {
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
    // Each xform that can be chosen must leave one to choose after it.
    for (size_t i = 0; i < g.vXforms.size(); i++) {
        if (g.vXforms[i].dWeight == 0) continue;
        double dRow = 0;
        for (size_t j = 0; j < g.vXforms.size(); j++) {
            const std::vector<double>& vChaos = g.vXforms[i].vChaos;
            dRow += g.vXforms[j].dWeight * (j < vChaos.size() ? vChaos[j] : 1);
        }
        if (!(dRow > 0))
            return fail(sError, "the chaos of xform " + std::to_string(i + 1) +
                                    " leaves no xform to choose after it");
    }
    if (g.bFinalXform && g.finalXform.dWeight != 0)
        return fail(sError, "the final xform has a weight other than 0");
    return true;
}

}  // namespace

bool checkGenome(const SGenome& genome, std::string& sError) {
    return checkPicture(genome, sError) && checkEstimator(genome, sError) &&
           checkXforms(genome, sError);
}
