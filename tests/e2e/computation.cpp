#include "computation.h"

#include "core/calc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int iSide = 800;

}  // namespace

std::vector<float> computedColours(const SChoices& choices, const std::string& sSeedTime) {
    SRun run;
    run.iIterations = choices.iIterations;
    run.iPattern = choices.iPattern;
    run.uSeed = static_cast<unsigned int>(std::strtoul(sSeedTime.c_str(), nullptr, 10));
    CCalculation calc(run);
    calc.iColourType = choices.iColourType;
    calc.initCalculate();
    calc.calculateHitsToColour(iSide, iSide);
    std::vector<float> vColours(iSide * iColumnFloats);
    for (int iColumn = 0; iColumn < iSide; iColumn++)
        for (int iRow = 0; iRow < iSide; iRow++)
            std::copy_n(calc.picture().colour(iColumn, iRow), 4,
                        &vColours[iColumn * iColumnFloats + iRow * 4]);
    return vColours;
}

int roundedChannel(float fChannel) {
    return static_cast<int>(std::lround(255.0 * std::clamp(fChannel, 0.0f, 1.0f)));
}


SPicture shrunkComputation(const SRun& run, int iColourType, int iFactor) {
    CCalculation calc(run);
    calc.initCalculate();
    const screen& picture = calc.picture();
    const CColouring colouring(iColourType, picture.iMaxHit);
    SPicture shrunk;
    shrunk.iWidth = (run.iWidth + iFactor - 1) / iFactor;
    shrunk.iHeight = (run.iHeight + iFactor - 1) / iFactor;
    const size_t iPixels = static_cast<size_t>(shrunk.iWidth) * shrunk.iHeight;
    std::vector<double> vSums(3 * iPixels, 0.0);
    std::vector<int> vCounted(iPixels, 0);
    for (int iRow = 0; iRow < run.iHeight; iRow++) {
        for (int iColumn = 0; iColumn < run.iWidth; iColumn++) {
            const size_t iAt = static_cast<size_t>(iRow / iFactor) * shrunk.iWidth +
                               static_cast<size_t>(iColumn / iFactor);
            float fColour[4] = {0, 0, 0, 0};
            colouring.colourOf(picture.hits(iColumn, iRow), fColour);
            for (int k = 0; k < 3; k++) vSums[3 * iAt + k] += fColour[k];
            vCounted[iAt]++;
        }
    }
    shrunk.vRgb.resize(3 * iPixels);
    for (int iY = 0; iY < shrunk.iHeight; iY++) {
        for (int iX = 0; iX < shrunk.iWidth; iX++) {
            const size_t iAt = static_cast<size_t>(shrunk.iHeight - 1 - iY) * shrunk.iWidth + iX;
            for (int k = 0; k < 3; k++)
                shrunk.vRgb[3 * (static_cast<size_t>(iY) * shrunk.iWidth + iX) + k] =
                    static_cast<unsigned char>(
                        roundedChannel(static_cast<float>(vSums[3 * iAt + k] / vCounted[iAt])));
        }
    }
    return shrunk;
}

::testing::AssertionResult showsComputation(const SPicture& picture,
                                            const std::vector<float>& vColours, int iTolerance) {
    if (picture.iWidth != iSide || picture.iHeight != iSide)
        return ::testing::AssertionFailure() << "the picture is " << picture.iWidth << " x "
                                             << picture.iHeight;
    int iDiffering = 0;
    std::ostringstream first;
    for (int iColumn = 0; iColumn < iSide; iColumn++) {
        for (int iRow = 0; iRow < iSide; iRow++) {
            const float* pColour = &vColours[iColumn * iColumnFloats + iRow * 4];
            const unsigned char* pRgb = picture.at(iColumn, iSide - 1 - iRow);  // X: top row 0
            bool bDiffers = false;
            for (int k = 0; k < 3; k++)
                bDiffers |= std::abs(pRgb[k] - roundedChannel(pColour[k])) > iTolerance;
            iDiffering += bDiffers;
            if (bDiffers && first.str().empty())
                first << "first at column " << iColumn << ", row " << iRow << ": shown "
                      << int(pRgb[0]) << ' ' << int(pRgb[1]) << ' ' << int(pRgb[2])
                      << ", computed " << pColour[0] << ' ' << pColour[1] << ' ' << pColour[2];
        }
    }
    if (iDiffering == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << iDiffering << " pixels differ; " << first.str();
}
