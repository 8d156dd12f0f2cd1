#include "genome_parts/colour_curves.h"

#include "genome_parts/numbers.h"

#include <algorithm>
#include <utility>

namespace {

using CKnotList = std::vector<std::pair<double, double>>;

bool onDiagonal(const CKnotList& vKnots) {
    return std::all_of(vKnots.begin(), vKnots.end(),
                       [](const std::pair<double, double>& knot) { return knot.first == knot.second; });
}

// Clamped, sorted, and mended as the editors mend them: a doubled knot at 0 or at 1, the
// neutral form of the older curves, becomes the quarter point beside it; sorted again after.
bool finishedCurve(CKnotList vKnots, CCurveKnots& knots) {
    if (vKnots.size() < 2) return false;
    for (std::pair<double, double>& knot : vKnots)
        knot = {std::clamp(knot.first, 0.0, 1.0), std::clamp(knot.second, 0.0, 1.0)};
    std::sort(vKnots.begin(), vKnots.end());
    if (vKnots.size() >= 4) {
        const std::pair<double, double> zero(0, 0), one(1, 1);
        if (vKnots[0] == zero && vKnots[1] == zero) vKnots[1] = {0.25, 0.25};
        if (vKnots[2] == one && vKnots[3] == one) vKnots[3] = {0.75, 0.75};
        std::sort(vKnots.begin(), vKnots.end());
    }
    if (onDiagonal(vKnots)) {
        knots = neutralCurve();
        return true;
    }
    for (size_t i = 1; i < vKnots.size(); i++)
        if (vKnots[i].first == vKnots[i - 1].first) return false;
    knots.clear();
    for (const std::pair<double, double>& knot : vKnots) {
        knots.push_back(knot.first);
        knots.push_back(knot.second);
    }
    return true;
}

// The knots of vNumbers from iFirst, iCount points of iStride numbers each, x and y first.
CKnotList knotsOf(const std::vector<double>& vNumbers, size_t uFirst, size_t uCount,
                  size_t uStride) {
    CKnotList vKnots;
    for (size_t i = 0; i < uCount; i++)
        vKnots.emplace_back(vNumbers[uFirst + i * uStride], vNumbers[uFirst + i * uStride + 1]);
    return vKnots;
}

}  // namespace

const CCurveKnots& neutralCurve() {
    static const CCurveKnots neutral = {0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1};
    return neutral;
}

bool curvesOff(const CCurves& curves) {
    return std::all_of(curves.begin(), curves.end(),
                       [](const CCurveKnots& knots) { return knots == neutralCurve(); });
}

bool readCurve(const char* sText, CCurveKnots& knots) {
    std::vector<double> vNumbers;
    if (!readNumberList(sText, vNumbers) || vNumbers.size() % 2 != 0) return false;
    return finishedCurve(knotsOf(vNumbers, 0, vNumbers.size() / 2, 2), knots);
}

bool readOldCurves(const char* sText, CCurves& curves) {
    constexpr size_t uPoints = 4, uStride = 3;
    std::vector<double> vNumbers;
    if (!readNumberList(sText, vNumbers)) return false;
    // Any other count of points, each on the diagonal, is the identity, as it always was read.
    if (vNumbers.size() != iCurves * uPoints * uStride) {
        if (vNumbers.empty() || vNumbers.size() % uStride != 0 ||
            !onDiagonal(knotsOf(vNumbers, 0, vNumbers.size() / uStride, uStride)))
            return false;
        curves.fill(neutralCurve());
        return true;
    }
    CCurves read;
    for (size_t i = 0; i < iCurves; i++)
        if (!finishedCurve(knotsOf(vNumbers, i * uPoints * uStride, uPoints, uStride), read[i]))
            return false;
    curves = read;
    return true;
}

std::string curveText(const CCurveKnots& knots) {
    return numbersText(knots.data(), static_cast<int>(knots.size()));
}

double curveValue(const CCurveKnots& knots, double x) {
    const size_t n = knots.size() / 2 - 1;  // segments
    const auto X = [&](size_t i) { return knots[2 * i]; };
    const auto Y = [&](size_t i) { return knots[2 * i + 1]; };
    const auto w = [&](size_t i) { return X(i + 1) - X(i); };
    const auto s = [&](size_t i) { return (Y(i + 1) - Y(i)) / w(i); };
    const auto M = [&](size_t k) {
        return k == 0 || k == n ? 0.0 : 3 * (s(k) - s(k - 1)) / (w(k - 1) + w(k));
    };
    x = std::clamp(x, X(0), X(n));
    size_t j = 0;
    while (j + 1 < n && x > X(j + 1)) j++;
    const double dU = x - X(j), dMj = M(j), dMk = M(j + 1);
    const double a = (dMk - dMj) / (6 * w(j)), b = dMj / 2;
    const double c = s(j) - w(j) * (dMk + 2 * dMj) / 6;
    return ((a * dU + b) * dU + c) * dU + Y(j);
}
