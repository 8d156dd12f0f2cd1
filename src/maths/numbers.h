#pragma once

// The two number types the chaos game computes with: double, one point's value, and
// maths::lanes::V, four points' values side by side in vector lanes (processors with AVX2 and
// fused multiply-add). A formula written once over either, as a template over T, gives each lane
// the bits it gives the point alone: the same operations in the same order, the functions below
// lane by lane what maths' give one value.
//
// What differs between the two is said here and nowhere else:
// - A comparison gives TMaskOf<T>: bool, or a lane mask (all ones or all zeros a lane). The
//   conditional operator takes either: `x < 0 ? 2 * x : x` is a choice for one value, a select
//   of each lane for four, both sides worked out (so a side must not draw a random number).
// - std's functions are maths' here, for both: maths::sqrt, fabs, floor, trunc, rint, round,
//   fmod, isnan; and oddWhole, for juliascope's branches.
// - A double mixes with either as a number of every lane (2 * x, x + dEpsilon).
// Code of four lanes runs only on those processors, from a function with their target that is
// flattened (lanes.h): the templates here have no target of their own.

#include "maths/lanes.h"
#include "maths/maths.h"

#include <cmath>
#include <cstdint>

namespace maths {

using lanes::V;
using lanes::VBits;

template <class T> struct SNumber;
template <> struct SNumber<double> {
    using TMask = bool;
    using TInt = int;
    static constexpr int iLanes = 1;
};
template <> struct SNumber<V> {
    using TMask = VBits;
    using TInt = std::int32_t __attribute__((vector_size(lanes::iLanes * sizeof(std::int32_t))));
    static constexpr int iLanes = lanes::iLanes;
};
template <class T> using TMaskOf = typename SNumber<T>::TMask;
template <class T> using TIntOf = typename SNumber<T>::TInt;  // whole numbers of int's size
template <class T> constexpr int iLanesOf = SNumber<T>::iLanes;

// A mask true, or false, in every lane.
template <class T> constexpr TMaskOf<T> everyLane() {
    if constexpr (iLanesOf<T> == 1) return true;
    else return VBits{-1, -1, -1, -1};
}
template <class T> constexpr TMaskOf<T> noLane() { return TMaskOf<T>{}; }

// Sine and cosine of one angle, from one reduction.
template <class T> struct SSinCos {
    T dSin, dCos;
};

// One value: std's functions, under the names four lanes share.
inline double sqrt(double x) { return std::sqrt(x); }
inline double fabs(double x) { return std::fabs(x); }
inline double floor(double x) { return std::floor(x); }
inline double trunc(double x) { return std::trunc(x); }
inline double rint(double x) { return std::rint(x); }
inline double round(double x) { return std::round(x); }
inline double fmod(double x, double y) { return std::fmod(x, y); }
inline bool isnan(double x) { return std::isnan(x); }
inline SSinCos<double> sinCos(double x) {
    const VSineCosine v = sineCosine(x);
    return {v[0], v[1]};
}
// Whether fmod(k, 2) ≠ 0 for k = trunc(|p|·U) ≥ 0: an odd whole number, or an infinite or NaN
// one. Without the call below 2^53, where k's last bit tells.
inline bool oddWhole(double dK) {
    if (dK >= 0 && dK < 0x1p53) return (static_cast<int64_t>(dK) & 1) != 0;
    return std::fmod(dK, 2) != 0;
}
// Truncated toward 0, for values that fit an int.
inline int truncatedToInt(double x) { return static_cast<int>(x); }
inline bool anyOf(bool b) { return b; }
inline bool allOf(bool b) { return b; }
inline double laneOf(double x, int) { return x; }
inline int laneOf(int n, int) { return n; }
inline bool laneOf(bool b, int) { return b; }

// Four lanes.
namespace lanes {
// Each lane by f, one value at a time: for the functions with no four-lane way of their own.
template <class F> FLAMES_LANES V eachLane(V x, F f) {
    V v;
    for (int i = 0; i < iLanes; i++) v[i] = f(x[i]);
    return v;
}
}  // namespace lanes

FLAMES_LANES SSinCos<V> sinCos(V x) {
    const lanes::SSineCosine sc = lanes::sineCosine(x);
    return {sc.dSin, sc.dCos};
}
FLAMES_LANES V sin(V x) { return lanes::sineCosine(x).dSin; }
FLAMES_LANES V cos(V x) { return lanes::sineCosine(x).dCos; }
FLAMES_LANES V tan(V x) {
    const lanes::SSineCosine sc = lanes::sineCosine(x);
    return sc.dSin / sc.dCos;
}
FLAMES_LANES V atan2(V y, V x) { return lanes::atan2(y, x); }
FLAMES_LANES V exp(V x) { return lanes::exp(x); }
FLAMES_LANES V log(V x) { return lanes::log(x); }
FLAMES_LANES V pow(V x, V y) { return lanes::pow(x, y); }
FLAMES_LANES V pow(V x, double y) { return lanes::pow(x, lanes::all(y)); }
FLAMES_LANES V atan(V x) { return lanes::eachLane(x, [](double d) { return atan(d); }); }
FLAMES_LANES V acos(V x) { return lanes::eachLane(x, [](double d) { return acos(d); }); }
FLAMES_LANES V log10(V x) { return lanes::eachLane(x, [](double d) { return log10(d); }); }
FLAMES_LANES V log1p(V x) { return lanes::eachLane(x, [](double d) { return log1p(d); }); }
FLAMES_LANES V sinh(V x) { return lanes::eachLane(x, [](double d) { return sinh(d); }); }
FLAMES_LANES V cosh(V x) { return lanes::eachLane(x, [](double d) { return cosh(d); }); }

FLAMES_LANES V sqrt(V x) { return lanes::squareRoot(x); }
FLAMES_LANES V fabs(V x) { return lanes::magnitude(x); }
FLAMES_LANES V floor(V x) { return _mm256_round_pd(x, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC); }
FLAMES_LANES V trunc(V x) { return lanes::truncated(x); }
// To the nearest, ties to even, as rint in the default rounding mode.
FLAMES_LANES V rint(V x) { return _mm256_round_pd(x, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC); }
// Ties away from 0: no such rounding of four lanes, so each alone.
FLAMES_LANES V round(V x) { return lanes::eachLane(x, [](double d) { return std::round(d); }); }
FLAMES_LANES V fmod(V x, double y) {
    return lanes::eachLane(x, [y](double d) { return std::fmod(d, y); });
}
FLAMES_LANES VBits isnan(V x) { return x != x; }
// As oddWhole of each lane: a whole k in [0, 2^52) is odd where the last bit of k + 2^52 is set,
// with no branch on k (random); any other k lane by lane.
FLAMES_LANES VBits oddWhole(V dK) {
    if (!lanes::anyOf(~((dK >= 0) & (dK < 0x1p52)))) return -(lanes::asBits(dK + 0x1p52) & 1);
    VBits bOdd;
    for (int i = 0; i < lanes::iLanes; i++) bOdd[i] = oddWhole(dK[i]) ? -1 : 0;
    return bOdd;
}
FLAMES_LANES bool anyOf(VBits b) { return lanes::anyOf(b) != 0; }
FLAMES_LANES bool allOf(VBits b) { return lanes::anyOf(~b) == 0; }
inline double laneOf(const V& x, int i) { return x[i]; }
inline int laneOf(const TIntOf<V>& n, int i) { return n[i]; }
inline bool laneOf(const VBits& b, int i) { return b[i] != 0; }
inline TIntOf<V> truncatedToInt(const V& x) { return __builtin_convertvector(x, TIntOf<V>); }

}  // namespace maths
