#include "tone/density_kernels.h"

#include "maths/maths.h"

#include <cmath>

namespace {

// Width h_k of kernel k: R/(k + 1)^c for the first hundred, then spaced by density's c-th root.
double kernelWidth(double dR, double dCurve, int k) {
    if (k < 100) return dR / maths::pow(k + 1.0, dCurve);
    return dR / maths::pow(maths::pow(k - 100.0, 1 / dCurve) + 101, dCurve);
}

SDensityKernel densityKernel(double dWidth, int iHalfSize) {
    SDensityKernel kernel;
    kernel.dWidth = dWidth;
    kernel.iReach = static_cast<int>(std::ceil(dWidth)) - 1;
    const int iSide = kernel.iReach + 1;
    kernel.vQuadrant.assign(static_cast<size_t>(iSide) * iSide, 0);
    // G(1.5·d/h) for d ≤ h, summed over the whole half-size, though only the reach is kept:
    // where h is a whole number the ring at d = h weighs in the sum and is never deposited.
    double dSum = 0;
    for (int dy = -iHalfSize; dy <= iHalfSize; dy++)
        for (int dx = -iHalfSize; dx <= iHalfSize; dx++) {
            const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            if (d > dWidth) continue;
            const double dG = maths::exp(-2 * (1.5 * d / dWidth) * (1.5 * d / dWidth));
            dSum += dG;
            if (dx >= 0 && dy >= 0 && dx <= kernel.iReach && dy <= kernel.iReach)
                kernel.vQuadrant[dy * iSide + dx] = dG;
        }
    for (double& dWeight : kernel.vQuadrant) dWeight /= dSum;
    noteRowSpans(kernel);
    return kernel;
}

}  // namespace

void noteRowSpans(SDensityKernel& kernel) {
    kernel.vRowSpan.assign(static_cast<size_t>(kernel.iReach) + 1, -1);
    for (int dy = 0; dy <= kernel.iReach; dy++)
        for (int dx = 0; dx <= kernel.iReach; dx++)
            if (kernel.weight(dx, dy) != 0) kernel.vRowSpan[dy] = dx;
}

int CDensityKernels::halfSizeOf(double dRadius, int iSupersample) {
    return static_cast<int>(std::ceil(dRadius * iSupersample + 1)) - 1;
}

CDensityKernels::CDensityKernels(double dRadius, double dMinimum, double dCurve_,
                                 int iSupersample)
    : iHalfSize(halfSizeOf(dRadius, iSupersample)), dCurve(dCurve_) {
    const double dR = dRadius * iSupersample + 1, dRMin = dMinimum * iSupersample + 1;
    // The table's length cap M and the density N_max past which the last kernel is taken.
    const double dFull = std::ceil(maths::pow(dR / dRMin, 1 / dCurve));
    double dLength = dFull;
    dMostDensity = dFull;
    if (dFull > 100) {
        dLength = std::ceil(100 + maths::pow(dFull - 100, dCurve)) + 1;
        dMostDensity = std::trunc(maths::pow(dLength - 100, 1 / dCurve)) + 100;
    }
    const int iLength = static_cast<int>(std::fmin(dLength, 1e6));
    for (int k = 0; k < iLength; k++) {
        const double dWidth = kernelWidth(dR, dCurve, k);
        if (dWidth <= dRMin) {
            vKernels.push_back(densityKernel(dRMin, iHalfSize));
            return;
        }
        vKernels.push_back(densityKernel(dWidth, iHalfSize));
    }
}

int CDensityKernels::index(double dDensity) const {
    const int iLast = count() - 1;
    if (dDensity > dMostDensity) return iLast;
    const double dIndex = dDensity <= 100 ? std::ceil(dDensity) - 1
                                          : 100 + std::floor(maths::pow(dDensity - 100, dCurve));
    if (dIndex < 0) return 0;
    return dIndex < iLast ? static_cast<int>(dIndex) : iLast;
}
