#include "app/browse.h"

#include "core/patterns.h"

#include <algorithm>
#include <climits>
#include <cmath>

SRun stepPattern(SRun run, int iStep) {
    run.flame = SFlame();  // from a flame, back to the patterns
    const int iFrom = isPattern(run.iPattern) ? run.iPattern : (iStep > 0 ? 0 : 1);
    run.iPattern = (iFrom - 1 + iStep % iPatternCount + iPatternCount) % iPatternCount + 1;
    return run;
}

SRun scaleIterations(SRun run, bool bTenTimes) {
    const long long iScaled = bTenTimes ? run.iIterations * 10LL : run.iIterations / 10;
    run.iIterations = static_cast<int>(std::clamp<long long>(iScaled, 1, INT_MAX));
    return run;
}

SRun zoomAbout(SRun run, double dX, double dY, double dFactor) {
    SView& view = run.view;
    const SView before = view;
    view.dXMin = dX + (before.dXMin - dX) / dFactor;
    view.dXMax = dX + (before.dXMax - dX) / dFactor;
    view.dYMin = dY + (before.dYMin - dY) / dFactor;
    view.dYMax = dY + (before.dYMax - dY) / dFactor;
    if (runProblem(run).empty()) return run;
    run.view = before;  // zoomed in as far as doubles reach
    return run;
}

SRun zoomCentre(SRun run, double dFactor) {
    const SView& view = run.view;
    return zoomAbout(run, (view.dXMin + view.dXMax) / 2, (view.dYMin + view.dYMax) / 2, dFactor);
}

SRun moveView(SRun run, double dRight, double dUp) {
    SView& view = run.view;
    const SView before = view;
    const double dX = (before.dXMax - before.dXMin) * dRight;
    const double dY = (before.dYMax - before.dYMin) * dUp;
    view = {before.dXMin + dX, before.dYMin + dY, before.dXMax + dX, before.dYMax + dY};
    if (!runProblem(run).empty()) run.view = before;  // out where doubles end
    return run;
}

SRun resizedAsDense(SRun run, int iWidth, int iHeight, bool& bCapped) {
    const double dRatio = static_cast<double>(iWidth) * iHeight /
                          (static_cast<double>(run.iWidth) * run.iHeight);
    const double dIterations = std::round(run.iIterations * dRatio);
    bCapped = dIterations > INT_MAX;
    run.iIterations = static_cast<int>(std::clamp(dIterations, 1.0, static_cast<double>(INT_MAX)));
    run.iWidth = iWidth;
    run.iHeight = iHeight;
    return run;
}
