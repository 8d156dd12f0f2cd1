#include "core/run.h"

#include <cmath>

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
