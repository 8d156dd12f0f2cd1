#pragma once

// The affine coefs of several keyframes blended with weights c_k as flam3 moves them in log
// space: each column of the linear part, u = (A, B) and v = (C, D), as an angle and a length,
// the angle along the shorter way round from keyframe to keyframe and the length geometric, so a
// turn stays a turn and a scale grows evenly; E and F on a straight line. Linear space blends
// all six numbers on a straight line, and a turn shrinks half-way.

#include <array>

using CAffine = std::array<double, 6>;  // A B C D E F, as the file writes them

// How far a column's angles may wind, for a transition that keeps turning one way: each
// keyframe's angle is moved by whole turns into [dTop − 2π, dTop] instead of the shorter way.
struct SWinding {
    bool   bWound[2] = {false, false};  // per column, u then v
    double dTop[2] = {0, 0};
};

// Σ c_k·(coefs of keyframe k) in log space; pWinding, if given, sets how the angles wind.
CAffine blendLogAffine(const CAffine* const* pKeys, const double* pWeights, int iKeys,
                       const SWinding* pWinding = nullptr);

// Σ c_k·(coefs of keyframe k), each number on its own.
CAffine blendLinearAffine(const CAffine* const* pKeys, const double* pWeights, int iKeys);

// A column's angle, atan2(q, p); a zero column takes the other's angle, as flam3 gives it.
double columnAngle(const CAffine& coefs, int iColumn);

// The angle dAngle moved by whole turns after dPrevious: the shorter way round, an exact
// half-turn taken with the angle increasing.
double unwrappedAngle(double dAngle, double dPrevious);

// The coefs with their linear part turned by dRadians: each column (p, q) to
// (p·cos θ − q·sin θ, p·sin θ + q·cos θ); E and F stay.
CAffine turnedAffine(const CAffine& coefs, double dRadians);
