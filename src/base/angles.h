#pragma once

// π, one constant for every part of the program: the patterns' formulas, the variations, the
// camera's turn and the filters' kernels.

constexpr double dPI = 3.141592653589793;

constexpr double radiansOf(double dDegrees) { return dDegrees * dPI / 180; }
