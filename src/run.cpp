#include "run.h"

#include "patterns.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

std::string runProblem(const SRun& run) {
    const SView& view = run.view;
    if (run.iWidth < 1 || run.iHeight < 1)
        return "a picture of " + std::to_string(run.iWidth) + " x " + std::to_string(run.iHeight) +
               " pixels has no pixel";
    for (const double dBound : {view.dXMin, view.dYMin, view.dXMax, view.dYMax})
        if (!std::isfinite(dBound)) return "a view's bounds must be finite numbers";
    if (!(view.dXMin < view.dXMax) || !(view.dYMin < view.dYMax))
        return "a view must be wider and higher than nothing (XMIN < XMAX, YMIN < YMAX)";
    return "";
}

bool readWholeNumber(const std::string& sText, long long iLowest, long long iHighest,
                     long long& iValue) {
    if (sText.empty()) return false;
    long long iRead = 0;
    for (const char c : sText) {
        if (c < '0' || c > '9') return false;
        iRead = iRead * 10 + (c - '0');
        if (iRead > iHighest) return false;  // before it can overflow
    }
    if (iRead < iLowest) return false;
    iValue = iRead;
    return true;
}

bool readSeed(const std::string& sText, unsigned int& uSeed) {
    long long iSeed = 0;
    if (!readWholeNumber(sText, 0, 4294967295LL, iSeed)) return false;
    uSeed = static_cast<unsigned int>(iSeed);
    return true;
}

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

bool readFinite(const std::string& sText, double& dValue) {
    if (sText.empty() || std::isspace(static_cast<unsigned char>(sText[0]))) return false;
    char* pEnd = nullptr;
    dValue = std::strtod(sText.c_str(), &pEnd);
    return *pEnd == '\0' && std::isfinite(dValue);
}

std::string shortest(double dValue) {
    char cText[32];
    const std::to_chars_result result = std::to_chars(cText, cText + sizeof cText, dValue);
    return std::string(cText, result.ptr);
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

std::string drawnPhrase(const SRun& run) {
    const SFlame& flame = run.flame;
    if (flame.bRandom)
        return "random flame " + std::to_string(flame.uSeed) + ", " + flameNames(flame);
    if (flame.iFunctions > 0) return "flame " + flameNames(flame);
    const std::string sNumber = "pattern " + std::to_string(run.iPattern);
    if (!isPattern(run.iPattern)) return sNumber + ", which is no pattern";
    return sNumber + ", " + patternTable[run.iPattern - 1].sName;
}

std::string drawnTag(const SRun& run) {
    if (run.flame.bRandom) return "r" + std::to_string(run.flame.uSeed);
    if (run.flame.iFunctions > 0) return "f";
    return "p" + std::to_string(run.iPattern);
}
