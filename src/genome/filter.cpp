#include "genome/filter.h"

#include "base/angles.h"
#include "maths/maths.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace {

double sinc(double u) { return u == 0 ? 1 : maths::sin(dPI * u) / (dPI * u); }

// Mitchell–Netravali's cubic family, support 2.
double cubic(double u, double dB, double dC) {
    const double a = std::fabs(u), a2 = a * a, a3 = a2 * a;
    if (a < 1) return ((12 - 9 * dB - 6 * dC) * a3 + (-18 + 12 * dB + 6 * dC) * a2 + (6 - 2 * dB))
                      / 6;
    if (a < 2) return ((-dB - 6 * dC) * a3 + (6 * dB + 30 * dC) * a2 + (-12 * dB - 48 * dC) * a +
                       (8 * dB + 24 * dC)) / 6;
    return 0;
}

double gaussianKernel(double u) { return maths::exp(-2 * u * u); }
double hermiteKernel(double u) {
    const double a = std::fabs(u);
    return a < 1 ? (2 * a - 3) * a * a + 1 : 0;
}
double boxKernel(double u) { return u > -0.5 && u <= 0.5 ? 1 : 0; }
double triangleKernel(double u) { return std::fabs(u) < 1 ? 1 - std::fabs(u) : 0; }
double bellKernel(double u) {
    const double a = std::fabs(u);
    if (a < 0.5) return 0.75 - a * a;
    if (a < 1.5) return 0.5 * (a - 1.5) * (a - 1.5);
    return 0;
}
double bsplineKernel(double u) {
    const double a = std::fabs(u);
    if (a < 1) return 0.5 * a * a * a - a * a + 2.0 / 3;
    if (a < 2) return (2 - a) * (2 - a) * (2 - a) / 6;
    return 0;
}
double mitchellKernel(double u) { return cubic(u, 1.0 / 3, 1.0 / 3); }
double catmullRomKernel(double u) { return cubic(u, 0, 0.5); }
double lanczos2Kernel(double u) {
    return sinc(u) * (0.42 + 0.5 * maths::cos(dPI * u) + 0.08 * maths::cos(2 * dPI * u));
}
double blackmanKernel(double u) { return sinc(u) * (0.5 + 0.5 * maths::cos(dPI * u)); }
double catromKernel(double u) { return sinc(u) * (0.54 + 0.46 * maths::cos(dPI * u)); }
double hammingKernel(double u) {
    return std::fabs(u) < 3 ? sinc(u) * sinc(u / 3) * sinc(u / 3) : 0;
}
double hanningKernel(double u) {
    return std::fabs(u) < 2 ? sinc(u) * sinc(u / 2) * sinc(u / 2) : 0;
}

// The kernel flam3 actually applies for each name, which for several names is another one
// than the name says, and the support σ that sets the filter's width.
struct SShape {
    const char* sName;
    double (*kernel)(double);
    double dSupport;
};
constexpr SShape shapeTable[] = {
    {"gaussian",  gaussianKernel,   1.5},  // eGaussian
    {"hermite",   hermiteKernel,    1},    // eHermite
    {"box",       boxKernel,        0.5},  // eBox
    {"triangle",  triangleKernel,   1},    // eTriangle
    {"bell",      bellKernel,       1.5},  // eBell
    {"bspline",   bsplineKernel,    2},    // eBspline
    {"lanczos3",  mitchellKernel,   2},    // eLanczos3: Mitchell–Netravali, B = C = 1/3
    {"lanczos2",  lanczos2Kernel,   1},    // eLanczos2: sinc with a Blackman window
    {"mitchell",  catmullRomKernel, 2},    // eMitchell: Catmull–Rom
    {"blackman",  blackmanKernel,   1},    // eBlackman: sinc with a Hann window
    {"catrom",    catromKernel,     1},    // eCatrom: sinc with a Hamming window
    {"hamming",   hammingKernel,    3},    // eHamming: Lanczos 3
    {"hanning",   hanningKernel,    2},    // eHanning: Lanczos 2
    {"quadratic", bellKernel,       1.5},  // eQuadratic
};
static_assert(std::size(shapeTable) == eFilterShapeCount);

}  // namespace

const char* filterShapeName(EFilterShape eShape) { return shapeTable[eShape].sName; }

bool filterShapeByName(const char* sName, EFilterShape& eShape) {
    for (int i = 0; i < eFilterShapeCount; i++)
        if (std::strcmp(shapeTable[i].sName, sName) == 0) {
            eShape = static_cast<EFilterShape>(i);
            return true;
        }
    return false;
}

double spatialFilterWidth(EFilterShape eShape, double dRadius, int iSupersample) {
    double dWidth = std::floor(2 * shapeTable[eShape].dSupport * iSupersample * dRadius) + 1;
    if (std::fmod(dWidth - iSupersample, 2) != 0) dWidth += 1;  // F − S even
    return dWidth;
}

CSpatialFilter::CSpatialFilter(EFilterShape eShape, double dRadius, int iSupersample) {
    const double dWidth = spatialFilterWidth(eShape, dRadius, iSupersample);
    bUsable = dWidth <= iWidestFilter;
    iWidth = bUsable ? static_cast<int>(dWidth) : 1;
    // Tap i sits at o = i + ½ − F/2 buckets; the kernel sees it in units of S·radius.
    std::vector<double> vTaps(iWidth);
    for (int i = 0; i < iWidth; i++) {
        const double dOffset = i + 0.5 - iWidth / 2.0;
        const double u = dRadius == 0 ? 2 * dOffset / iWidth : dOffset / (iSupersample * dRadius);
        vTaps[i] = shapeTable[eShape].kernel(u);
    }
    vWeights.resize(static_cast<size_t>(iWidth) * iWidth);
    double dSum = 0;
    for (int j = 0; j < iWidth; j++)
        for (int i = 0; i < iWidth; i++) dSum += vWeights[j * iWidth + i] = vTaps[i] * vTaps[j];
    bUsable = bUsable && dSum != 0;
    for (double& dWeight : vWeights) dWeight = dSum != 0 ? dWeight / dSum : 0;
}
