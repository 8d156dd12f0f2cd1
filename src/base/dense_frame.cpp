#include "base/dense_frame.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int iFitCells = iDenseFrameCells;
constexpr double dLowQuantile = 0.005;
constexpr double dHighQuantile = 0.995;
constexpr double dDenseShare = 0.01;  // of the fullest cell's count
constexpr double dWidening = 1.1;

struct SRange {
    double dLow, dHigh;
};

// The values at the two quantiles, by rank among all of them.
SRange quantiles(std::vector<double> vValues) {
    const size_t iLast = vValues.size() - 1;
    const auto valueAt = [&](size_t iRank) {
        const auto pRank = vValues.begin() + static_cast<long>(iRank);
        std::nth_element(vValues.begin(), pRank, vValues.end());
        return vValues[iRank];
    };
    const double dLow = valueAt(static_cast<size_t>(std::floor(dLowQuantile * iLast)));
    const double dHigh = valueAt(static_cast<size_t>(std::ceil(dHighQuantile * iLast)));
    return {dLow, dHigh};
}

// The cell of a value in the range: 0 to iFitCells - 1; -1 outside. A range of no extent is
// one cell.
int cellOf(double dValue, const SRange& range) {
    if (dValue < range.dLow || dValue > range.dHigh) return -1;
    if (!(range.dHigh > range.dLow)) return 0;
    const double dCell = (dValue - range.dLow) / (range.dHigh - range.dLow) * iFitCells;
    return std::min(static_cast<int>(dCell), iFitCells - 1);
}

double cellEdge(int iCell, const SRange& range) {
    return range.dLow + (range.dHigh - range.dLow) * iCell / iFitCells;
}

// The box of the cells that hold at least dDenseShare of the fullest one's points.
SFrame denseFrame(const std::vector<SPoint>& vPoints, const SRange& xRange, const SRange& yRange) {
    std::vector<int> vCounts(iFitCells * iFitCells, 0);
    for (const SPoint& point : vPoints) {
        const int iColumn = cellOf(point.dX, xRange), iRow = cellOf(point.dY, yRange);
        if (iColumn >= 0 && iRow >= 0) vCounts[iRow * iFitCells + iColumn]++;
    }
    const int iFullest = *std::max_element(vCounts.begin(), vCounts.end());
    int iLeft = iFitCells, iRight = -1, iBottom = iFitCells, iTop = -1;
    for (int iRow = 0; iRow < iFitCells; iRow++) {
        for (int iColumn = 0; iColumn < iFitCells; iColumn++) {
            if (vCounts[iRow * iFitCells + iColumn] < dDenseShare * iFullest) continue;
            iLeft = std::min(iLeft, iColumn), iRight = std::max(iRight, iColumn);
            iBottom = std::min(iBottom, iRow), iTop = std::max(iTop, iRow);
        }
    }
    const double dLeft = cellEdge(iLeft, xRange), dRight = cellEdge(iRight + 1, xRange);
    const double dBottom = cellEdge(iBottom, yRange), dTop = cellEdge(iTop + 1, yRange);
    return {(dLeft + dRight) / 2, (dBottom + dTop) / 2, (dRight - dLeft) / 2, (dTop - dBottom) / 2};
}

// Widened, and given the default extent on an axis where it has none but has some on the other.
// Never narrower than the floor: an orbit that settles on a point or a short cycle would
// otherwise be framed on the rounding noise of its last bits; at the floor its points show as
// points.
SFrame widened(SFrame frame) {
    const double dDefaultHalf = 1;  // the default view's
    const double dFloorHalf = dLeastFrameWidth / 2;
    const bool bPoint = !(frame.dHalfWidth > 0) && !(frame.dHalfHeight > 0);
    const auto halfOf = [&](double dHalf) {
        if (!(dHalf > 0)) return bPoint ? dFloorHalf : dDefaultHalf;
        return std::max(dHalf * dWidening, dFloorHalf);
    };
    frame.dHalfWidth = halfOf(frame.dHalfWidth);
    frame.dHalfHeight = halfOf(frame.dHalfHeight);
    return frame;
}

}  // namespace

SFrame proportioned(SFrame frame, double dAspect) {
    if (frame.dHalfWidth < frame.dHalfHeight * dAspect)
        frame.dHalfWidth = frame.dHalfHeight * dAspect;
    else frame.dHalfHeight = frame.dHalfWidth / dAspect;
    return frame;
}

SFrame denseFrameOf(const std::vector<SPoint>& vPoints, double dAspect) {
    std::vector<double> vXs, vYs;
    vXs.reserve(vPoints.size());
    vYs.reserve(vPoints.size());
    for (const SPoint& point : vPoints) vXs.push_back(point.dX), vYs.push_back(point.dY);
    return proportioned(
        widened(denseFrame(vPoints, quantiles(std::move(vXs)), quantiles(std::move(vYs)))),
        dAspect);
}
