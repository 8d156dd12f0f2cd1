#pragma once

// The editors' colour curves: four curves from [0, 1] to [0, 1], the overall one and one each for
// red, green and blue, each a list of knots that an interpolating cubic passes through. A flame
// whose four curves are all the neutral five knots on the diagonal has none, and its picture is
// drawn without the step.

#include <array>
#include <string>
#include <vector>

constexpr int iCurves = 4;  // overall, red, green, blue
using CCurveKnots = std::vector<double>;  // x0 y0 x1 y1 …, in increasing x
using CCurves = std::array<CCurveKnots, iCurves>;

// (0, 0), (0.25, 0.25), (0.5, 0.5), (0.75, 0.75), (1, 1).
const CCurveKnots& neutralCurve();
bool curvesOff(const CCurves& curves);  // all four neutral

// x y pairs, any count of at least two, each number clamped into [0, 1] and the knots sorted by
// x, as the editors read them; or the older form of 48 numbers, four curves of four (x, y,
// weight) points, the weights unused. A curve whose knots all lie on the diagonal is the
// identity, kept as the neutral knots. False for text that is no such list, or for knots two of
// which share an x, where the spline would divide by 0.
bool readCurve(const char* sText, CCurveKnots& knots);
bool readOldCurves(const char* sText, CCurves& curves);
std::string curveText(const CCurveKnots& knots);

// The spline through the knots at x, clamped into the knots' span: on segment j, with
// u = x − x_j, y = a·u³ + b·u² + c·u + y_j, its second derivatives the one-step approximation
// M_k = 3(s_k − s_(k−1))/(w_(k−1) + w_k) of the natural spline's, M at both ends 0.
double curveValue(const CCurveKnots& knots, double x);
