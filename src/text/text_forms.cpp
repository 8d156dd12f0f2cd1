#include "text/text_forms.h"

#include "base/number_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>
#include <vector>

bool readSize(const std::string& sText, int& iWidth, int& iHeight) {
    const size_t iCross = sText.find('x');
    long long iReadWidth = 0, iReadHeight = 0;
    if (iCross == std::string::npos ||
        !readWholeNumber(sText.substr(0, iCross), iSmallestSide, iLargestSide, iReadWidth) ||
        !readWholeNumber(sText.substr(iCross + 1), iSmallestSide, iLargestSide, iReadHeight))
        return false;
    iWidth = static_cast<int>(iReadWidth);
    iHeight = static_cast<int>(iReadHeight);
    return true;
}

bool readView(const std::string& sText, SView& view) {
    double dBounds[4];
    size_t iStart = 0;
    for (int i = 0; i < 4; i++) {
        const size_t iComma = i < 3 ? sText.find(',', iStart) : sText.size();
        if (iComma == std::string::npos ||
            !readFinite(sText.substr(iStart, iComma - iStart), dBounds[i]))
            return false;
        iStart = iComma + 1;
    }
    if (!(dBounds[0] < dBounds[2] && dBounds[1] < dBounds[3])) return false;
    view = {dBounds[0], dBounds[1], dBounds[2], dBounds[3]};
    return true;
}

std::string sizeText(int iWidth, int iHeight) {
    return std::to_string(iWidth) + "x" + std::to_string(iHeight);
}

std::string viewText(const SView& view) {
    return shortest(view.dXMin) + "," + shortest(view.dYMin) + "," + shortest(view.dXMax) + "," +
           shortest(view.dYMax);
}

namespace {

std::vector<std::string> split(const std::string& sText, char cSeparator) {
    std::vector<std::string> vParts;
    std::string sPart;
    std::istringstream in(sText);
    while (std::getline(in, sPart, cSeparator)) vParts.push_back(sPart);
    if (!sText.empty() && sText.back() == cSeparator) vParts.push_back("");
    return vParts;
}

const SNonlinear* flameFunctionNamed(const std::string& sName) {
    for (const SNonlinear& function : nonlinearTable)
        if (inFlames(function.eNonlinear) && sName == function.sName) return &function;
    return nullptr;
}

bool readFunction(const std::string& sText, SFlameFunction& function, std::string& sError) {
    std::istringstream in(sText);
    std::string sName, sNumber;
    in >> sName;
    const SNonlinear* pNamed = flameFunctionNamed(sName);
    if (!pNamed) {
        sError = "'" + sName + "' is no function: " + flameFunctionNames();
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

}  // namespace

std::string flameFunctionNames() {
    std::string sList;
    for (const SNonlinear& function : nonlinearTable)
        if (inFlames(function.eNonlinear))
            sList += (sList.empty() ? "" : ", ") + std::string(function.sName);
    return sList;
}

// The functions are counted before the text is split: a text of a million ';' costs no million
// strings.
bool readFlame(const std::string& sText, SFlame& flame, std::string& sError) {
    const long long iParts =
        sText.empty() ? 0 : std::count(sText.begin(), sText.end(), ';') + 1LL;
    if (iParts < iFewestFlameFunctions || iParts > iMostFlameFunctions) {
        sError = "a flame has 2 to 4 functions separated by ';', not " + std::to_string(iParts);
        return false;
    }
    const std::vector<std::string> vParts = split(sText, ';');
    SFlame read;
    read.iFunctions = static_cast<int>(iParts);
    for (int i = 0; i < iParts; i++)
        if (!readFunction(vParts[i], read.functions[i], sError)) return false;
    flame = read;
    return true;
}

std::string flameText(const SFlame& flame) {
    std::string sText;
    for (int i = 0; i < flame.iFunctions; i++) {
        SFlameFunction function = flame.functions[i];
        sText += (i ? "; " : "") + std::string(nonlinearOf(function.eNonlinear).sName);
        for (const double* pCoefficient : coefficientsOf(function.map))
            sText += " " + shortest(*pCoefficient);
    }
    return sText;
}

std::string flameNames(const SFlame& flame) {
    std::string sNames;
    for (int i = 0; i < flame.iFunctions; i++)
        sNames += (i ? " & " : "") + std::string(nonlinearOf(flame.functions[i].eNonlinear).sName);
    return sNames;
}

std::string drawnPhrase(const SRun& run) {
    const SFlame& flame = run.flame;
    if (flame.bRandom)
        return "random flame " + std::to_string(flame.uSeed) + ", " + flameNames(flame);
    if (drawsFlame(run)) return "flame " + flameNames(flame);
    const std::string sNumber = "pattern " + std::to_string(run.iPattern);
    if (!isPattern(run.iPattern)) return sNumber + ", which is no pattern";
    return sNumber + ", " + patternTable[run.iPattern - 1].sName;
}

std::string drawnTag(const SRun& run) {
    if (run.flame.bRandom) return "r" + std::to_string(run.flame.uSeed);
    if (drawsFlame(run)) return "f";
    return "p" + std::to_string(run.iPattern);
}

std::string runCaption(const SRun& run) {
    char cCaption[200];
    const SView& view = run.view;
    std::snprintf(cCaption, sizeof cCaption,
                  ", %d iterations, x from %.6g to %.6g, y from %.6g to %.6g", run.iIterations,
                  view.dXMin, view.dXMax, view.dYMin, view.dYMax);
    return drawnPhrase(run) + cCaption;
}
