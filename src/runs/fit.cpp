#include "runs/fit.h"

#include "base/dense_frame.h"
#include "core/calc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

struct SRange {
    double dLow, dHigh;
};

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
    const double dAspect = static_cast<double>(iWidth) / iHeight;
    const SFrame frame = vPoints.empty() ? proportioned({0, 0, 1, 1}, dAspect)
                                         : denseFrameOf(vPoints, dAspect);
    const SRange x = boundsOf(frame.dX, frame.dHalfWidth);
    const SRange y = boundsOf(frame.dY, frame.dHalfHeight);
    return {x.dLow, y.dLow, x.dHigh, y.dHigh};
}
