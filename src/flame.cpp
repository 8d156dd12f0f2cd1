#include "flame.h"

#include "calc.h"
#include "fit.h"
#include "run.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

struct SNamed {
    ENonlinear eNonlinear;
    const char* sName;
};

constexpr SNamed nonlinearNames[] = {
    {eLinear, "linear"},       {eSinusoidal, "sinusoidal"}, {eSpherical, "spherical"},
    {eSwirl, "swirl"},         {eSpiral, "spiral"},         {eDiamond, "diamond"},
    {eHeart, "heart"},         {eDisc, "disc"},             {eHorseshoe, "horseshoe"},
    {ePolar, "polar"},         {eHandkerchief, "handkerchief"}, {eHyperbolic, "hyperbolic"},
    {eEx, "ex"},               {eFisheye, "fisheye"},       {eCosine, "cosine"},
};
constexpr int iNonlinearCount = static_cast<int>(std::size(nonlinearNames));

const char* nameOf(ENonlinear eNonlinear) {
    for (const SNamed& named : nonlinearNames)
        if (named.eNonlinear == eNonlinear) return named.sName;
    return "?";
}

std::string namesListed() {
    std::string sList;
    for (const SNamed& named : nonlinearNames)
        sList += (sList.empty() ? "" : ", ") + std::string(named.sName);
    return sList;
}

// The six numbers of a map, in the order the text writes them.
std::array<double*, 6> coefficientsOf(SAffine& map) {
    return {&map.dA, &map.dB, &map.dC, &map.dD, &map.dE, &map.dF};
}

std::vector<std::string> split(const std::string& sText, char cSeparator) {
    std::vector<std::string> vParts;
    std::string sPart;
    std::istringstream in(sText);
    while (std::getline(in, sPart, cSeparator)) vParts.push_back(sPart);
    if (!sText.empty() && sText.back() == cSeparator) vParts.push_back("");
    return vParts;
}

bool readFunction(const std::string& sText, SFlameFunction& function, std::string& sError) {
    std::istringstream in(sText);
    std::string sName, sNumber;
    in >> sName;
    const SNamed* pNamed = std::find_if(std::begin(nonlinearNames), std::end(nonlinearNames),
                                        [&](const SNamed& named) { return sName == named.sName; });
    if (pNamed == std::end(nonlinearNames)) {
        sError = "'" + sName + "' is no function: " + namesListed();
        return false;
    }
    function.eNonlinear = pNamed->eNonlinear;
    const std::array<double*, 6> pCoefficients = coefficientsOf(function.map);
    int iRead = 0;
    bool bFinite = true;
    while (in >> sNumber)
        bFinite = bFinite && iRead < 6 && readFinite(sNumber, *pCoefficients[iRead++]);
    if (bFinite && iRead == 6) return true;
    const size_t iFirst = sText.find_first_not_of(' '), iLast = sText.find_last_not_of(' ');
    sError = "'" + sText.substr(iFirst, iLast - iFirst + 1) +
             "' needs six finite numbers after its name";
    return false;
}

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

bool readFlame(const std::string& sText, SFlame& flame, std::string& sError) {
    const std::vector<std::string> vParts = split(sText, ';');
    const int iParts = static_cast<int>(vParts.size());
    if (iParts < iFewestFlameFunctions || iParts > iMostFlameFunctions) {
        sError = "a flame has 2 to 4 functions separated by ';', not " + std::to_string(iParts);
        return false;
    }
    SFlame read;
    read.iFunctions = iParts;
    for (int i = 0; i < iParts; i++)
        if (!readFunction(vParts[i], read.functions[i], sError)) return false;
    flame = read;
    return true;
}

std::string flameText(const SFlame& flame) {
    std::string sText;
    for (int i = 0; i < flame.iFunctions; i++) {
        SFlameFunction function = flame.functions[i];
        sText += (i ? "; " : "") + std::string(nameOf(function.eNonlinear));
        for (const double* pCoefficient : coefficientsOf(function.map))
            sText += " " + shortest(*pCoefficient);
    }
    return sText;
}

std::string flameNames(const SFlame& flame) {
    std::string sNames;
    for (int i = 0; i < flame.iFunctions; i++)
        sNames += (i ? " & " : "") + std::string(nameOf(flame.functions[i].eNonlinear));
    return sNames;
}

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
            function.eNonlinear = nonlinearNames[choice(iNonlinearCount)].eNonlinear;
            for (double* pCoefficient : coefficientsOf(function.map))
                *pCoefficient = drawToRange(generator.next(), -1, 1);
        }
        const double dShare = litShare(flame, uSeed);
        if (dShare >= dLeastShare) return flame;
        if (dShare > dBestShare) best = flame, dBestShare = dShare;
    }
    return best;
}
