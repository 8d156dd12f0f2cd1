#include "runs/random_flame.h"

#include "core/calc.h"
#include "runs/fit.h"

#include <algorithm>
#include <vector>

namespace {

// How much of an 800 x 800 picture a candidate lights, framed on its own orbit, or -1 where it
// restarts too often.
double litShare(const SFlame& flame, unsigned int uSeed) {
    SRun trial;
    trial.flame = flame;
    trial.uSeed = uSeed;
    trial.iIterations = iTrialIterations;
    const std::vector<SPoint> vPoints = orbitOf(trial, iTrialIterations);
    if (iTrialIterations - static_cast<int>(vPoints.size()) >= iTrialIterations / 100) return -1;
    trial.view = viewOfOrbit(vPoints, trial.iWidth, trial.iHeight);
    CCalculation calc(trial);
    calc.initCalculate();
    const std::vector<int>& vHits = calc.picture().iScreenHits;
    return std::count_if(vHits.begin(), vHits.end(), [](int iHits) { return iHits > 0; }) /
           static_cast<double>(vHits.size());
}

}  // namespace

// The candidates come one after another from the seed's own sequence: a candidate that fails
// moves the sequence on. Where none of a thousand passes (none did in testing), the one that
// lit the most is taken, so that every seed still names one flame.
SFlame randomFlame(unsigned int uSeed) {
    constexpr int iMostCandidates = 1000;
    constexpr double dLeastShare = 0.02;
    CRandom generator;
    generator.seed(uSeed);
    const auto choice = [&](int iChoices) {  // (int) randomNum(0, k), k itself the last
        const int iDrawn = static_cast<int>(drawToRange(generator.next(), 0, iChoices));
        return std::min(iDrawn, iChoices - 1);
    };
    SFlame best;
    double dBestShare = -2;
    for (int iCandidate = 0; iCandidate < iMostCandidates; iCandidate++) {
        SFlame flame;
        flame.bRandom = true;
        flame.uSeed = uSeed;
        flame.iFunctions = iFewestFlameFunctions +
                           choice(iMostFlameFunctions - iFewestFlameFunctions + 1);
        for (int i = 0; i < flame.iFunctions; i++) {
            SFlameFunction& function = flame.functions[i];
            function.eNonlinear = flameFunctionAt(choice(iFlameFunctionCount));
            for (double* pCoefficient : coefficientsOf(function.map))
                *pCoefficient = drawToRange(generator.next(), -1, 1);
        }
        const double dShare = litShare(flame, uSeed);
        if (dShare >= dLeastShare) return flame;
        if (dShare > dBestShare) best = flame, dBestShare = dShare;
    }
    return best;
}
