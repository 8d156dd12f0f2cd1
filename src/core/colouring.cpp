#include "core/colouring.h"

#include "core/screen.h"

#include <algorithm>
#include <cmath>
#include <iterator>

// Colourings 3 to 5 are scales of bands [lower, upper) of the log level v, tested in order; the
// last band of a scale takes every level that no earlier band took. Each channel of a band is
// c0 + k · (v − lower), which is each written formula exactly: adding 0, subtracting 0 and
// adding a negated product are exact in IEEE arithmetic.
struct SBand {
    double dLower, dUpper;
    double dRed0, dRedSlope, dGreen0, dGreenSlope, dBlue0, dBlueSlope;
};

namespace {

constexpr SBand trafficLight[] = {
    //  v from  to      red          green        blue
    {0.0,  0.25,  0,     2.5,  0,    0,    0,    0},
    {0.25, 0.5,   1,     0,    0,    2.5,  0,    0},
    {0.5,  0.75,  1,    -4,    1,    0,    0,    0},
    {0.75, 1,     0,     0,    1,    0,    0,    4},
};

constexpr SBand rainbow[] = {
    {0.0, 0.1,    0,    10,    0,    0,    0,    5},
    {0.1, 0.2,    1,     0,    0,    0,    0.5, -5},
    {0.2, 0.4,    1,     0,    0,    5,    0,    0},
    {0.4, 0.5,    1,   -10,    1,    0,    0,    0},
    {0.5, 0.6,    0,     0,    1,    0,    0,   10},
    {0.6, 0.7,    0,     0,    1,   -5,    1,    0},
    {0.7, 0.8,    0,     0,    0.5, -5,    1,    0},
    {0.8, 1,      0,     5,    0,    0,    1,    0},
};

constexpr SBand allBlues[] = {
    {0.0, 0.1,    0,     9.06,  0,      0,     0,     10},
    {0.1, 0.2,    0.906, -3.43, 0,      0,     1,      0},
    {0.2, 0.3,    0.563, -2.18, 0,      0,     1,      0},
    {0.3, 0.4,    0.345, -2.51, 0,      0,     1,      0},
    {0.4, 0.5,    0.094, -0.94, 0,      2.51,  1,      0},
    {0.5, 0.6,    0,      0,    0.251,  2.18,  1,      0},
    {0.6, 0.7,    0,      0,    0.469,  1.86,  1,      0},
    {0.7, 0.8,    0,      0,    0.655,  2.2,   1,      0},
    {0.8, 0.9,    0,      0,    0.875,  1.25,  1,     -0.63},
    {0.9, 1,      0,      0,    1,      0,     0.937, -1.57},
};

template <size_t iBands>
constexpr SColouringRow bandRow(const char* sMenuLine, const char* sName,
                                const SBand (&bands)[iBands]) {
    return {sMenuLine, sName, bands, static_cast<int>(iBands)};
}

}  // namespace

const SColouringRow colourTable[] = {
    {"1 - Black & white.", "black & white", nullptr, 0},
    {"2 - Logarithmic grey scale.", "logarithmic grey scale", nullptr, 0},
    bandRow("3 - Traffic light colours.", "traffic light colours", trafficLight),
    bandRow("4 - Rainbow colours.", "rainbow colours", rainbow),
    bandRow("5 - All blues.", "all blues", allBlues),
};
static_assert(std::size(colourTable) == iColourCount, "a row for every colouring");

namespace {

const SBand& bandOfLevel(const SColouringRow& scale, double dLog) {
    const SBand* pLast = scale.pBands + scale.iBands - 1;
    const SBand* pBand = scale.pBands;
    while (pBand != pLast && !(dLog >= pBand->dLower && dLog < pBand->dUpper)) ++pBand;
    return *pBand;
}

void paint(float fColour[4], float fRed, float fGreen, float fBlue, float fAlpha) {
    fColour[0] = fRed;
    fColour[1] = fGreen;
    fColour[2] = fBlue;
    fColour[3] = fAlpha;
}

// A colouring's colour at the log level dLog: grey (alpha equal to the grey) without a scale.
void paintLevel(const SColouringRow* pRow, double dLog, float fColour[4]) {
    if (!pRow || !pRow->pBands) {
        const float fGrey = static_cast<float>(dLog);
        paint(fColour, fGrey, fGrey, fGrey, fGrey);
        return;
    }
    const SBand& band = bandOfLevel(*pRow, dLog);
    const double dOffset = dLog - band.dLower;
    paint(fColour, static_cast<float>(band.dRed0 + band.dRedSlope * dOffset),
          static_cast<float>(band.dGreen0 + band.dGreenSlope * dOffset),
          static_cast<float>(band.dBlue0 + band.dBlueSlope * dOffset), 1.0f);
}

const SColouringRow* rowOf(int iColourType) {
    return isColouring(iColourType) ? &colourTable[iColourType - 1] : nullptr;
}

}  // namespace

// log10 of the counts most pixels have, worked out once: the colouring then costs a few
// milliseconds, which a window that shows its run twice a second pays at every refresh.
class CLog10Table {
public:
    CLog10Table() {
        for (int i = 1; i < iTabled; i++) dLog10[i] = std::log10(static_cast<double>(i));
    }
    double of(int iHits) const {
        return iHits < iTabled ? dLog10[iHits] : std::log10(static_cast<double>(iHits));
    }

private:
    static constexpr int iTabled = 1 << 16;
    double dLog10[iTabled] = {};
};

namespace {

const CLog10Table& log10Table() {
    static const CLog10Table table;
    return table;
}

}  // namespace

// What each pixel needs is looked up here once, not per pixel.
CColouring::CColouring(int iColourType, int iMaxHit)
    : iColourType(iColourType),
      iMaxHit(iMaxHit),
      pLog10(&log10Table()),
      dLogMaxHit(pLog10->of(iMaxHit)),
      pRow(rowOf(iColourType)) {}

// The log level is log10(hits) / log10(iMaxHit), in [0, 1]. When the most-hit pixel was hit once,
// every hit pixel is as hit as it: the top of the scale, rather than the 0 / 0 the quotient would
// give.
void CColouring::colourOnScale(int iHits, float fColour[4]) const {
    paintLevel(pRow, iMaxHit <= 1 ? 1.0 : pLog10->of(iHits) / dLogMaxHit, fColour);
}

void colourHits(screen& picture, int iColourType, int iColumns, int iRows) {
    iColumns = std::min(iColumns, picture.width());  // never past the picture
    iRows = std::min(iRows, picture.height());
    if (!isColouring(iColourType)) return;
    const CColouring colouring(iColourType, picture.iMaxHit);
    float* const pColours = picture.colour(0, 0);  // made on the first colouring
    for (int j = 0; j < iRows; j++) {
        const int* pHits = &picture.hits(0, j);
        float* pColour = pColours + 4 * (pHits - &picture.hits(0, 0));
        for (int i = 0; i < iColumns; i++, pColour += 4)
            if (pHits[i] != 0) colouring.colourOf(pHits[i], pColour);
    }
}

void colourOfLevel(int iColourType, double dLog, float fColour[4]) {
    paintLevel(rowOf(iColourType), dLog, fColour);
}
