#include "runs/fit.h"

#include "core/calc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

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

// A centre and a half extent on each axis.
struct SFrame {
    double dX, dY, dHalfWidth, dHalfHeight;
};

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
    const double dFloorHalf = dDefaultHalf / 1000;
    const bool bPoint = !(frame.dHalfWidth > 0) && !(frame.dHalfHeight > 0);
    const auto halfOf = [&](double dHalf) {
        if (!(dHalf > 0)) return bPoint ? dFloorHalf : dDefaultHalf;
        return std::max(dHalf * dWidening, dFloorHalf);
    };
    frame.dHalfWidth = halfOf(frame.dHalfWidth);
    frame.dHalfHeight = halfOf(frame.dHalfHeight);
    return frame;
}

// As wide against its height as the picture.
SFrame proportioned(SFrame frame, int iWidth, int iHeight) {
    const double dAspect = static_cast<double>(iWidth) / iHeight;
    if (frame.dHalfWidth < frame.dHalfHeight * dAspect)
        frame.dHalfWidth = frame.dHalfHeight * dAspect;
    else frame.dHalfHeight = frame.dHalfWidth / dAspect;
    return frame;
}

// The bounds about the centre, never equal: far from the origin, a tiny extent might round away.
SRange boundsOf(double dCentre, double dHalf) {
    SRange range{dCentre - dHalf, dCentre + dHalf};
    if (!(range.dLow < range.dHigh)) {
        range.dLow = std::nextafter(dCentre, -std::numeric_limits<double>::infinity());
        range.dHigh = std::nextafter(dCentre, std::numeric_limits<double>::infinity());
    }
    return range;
}

}  // namespace

// The run's orbit from its start, in blocks of a trace.
std::vector<SPoint> orbitOf(const SRun& run, int iIterations) {
    CCalculation calc(orbitOnly(run));
    calc.beginCalculate();
    std::vector<SPoint> vPoints;
    vPoints.reserve(static_cast<size_t>(std::max(iIterations, 0)));
    std::vector<STracedStep> vTrace(static_cast<size_t>(std::min(std::max(iIterations, 0), 4096)));
    for (int iDone = 0; iDone < iIterations;) {
        const int iBlock = std::min(iIterations - iDone, static_cast<int>(vTrace.size()));
        calc.traceIterations(iBlock, vTrace.data());
        for (int i = 0; i < iBlock; i++)
            if (!vTrace[i].bRestarted) vPoints.push_back({vTrace[i].dX, vTrace[i].dY});
        iDone += iBlock;
    }
    return vPoints;
}

SView fitView(const SRun& run) {
    return viewOfOrbit(orbitOf(run, std::min(run.iIterations, iFitIterations)), run.iWidth,
                       run.iHeight);
}

// No points at all: the default view's extent about the origin.
SView viewOfOrbit(const std::vector<SPoint>& vPoints, int iWidth, int iHeight) {
    SFrame frame{0, 0, 1, 1};
    if (!vPoints.empty()) {
        std::vector<double> vXs, vYs;
        vXs.reserve(vPoints.size());
        vYs.reserve(vPoints.size());
        for (const SPoint& point : vPoints) vXs.push_back(point.dX), vYs.push_back(point.dY);
        frame = widened(denseFrame(vPoints, quantiles(std::move(vXs)), quantiles(std::move(vYs))));
    }
    frame = proportioned(frame, iWidth, iHeight);
    const SRange x = boundsOf(frame.dX, frame.dHalfWidth);
    const SRange y = boundsOf(frame.dY, frame.dHalfHeight);
    return {x.dLow, y.dLow, x.dHigh, y.dHigh};
}
