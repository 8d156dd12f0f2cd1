#pragma once

// The elementary functions the genome renderer uses, written here rather than taken from the C
// library: the C libraries (and some versions of one, even on different processors) differ in
// the last bits of sin, exp, pow…, and where a flame's maps stretch the plane the chaos game
// makes a last-bit difference a different picture. Each function below is IEEE double
// arithmetic in the order written: the project compiles without contraction and without fast
// maths, and the fused multiply-adds the code asks for are rounded once by definition. So a
// seed names one picture on every machine with IEEE doubles, whatever its C library.
//
// Accuracy, against values exact to a few thousandths of an ulp (tests/maths): sin, cos, exp,
// log, log10, log1p and pow within 1 ulp; atan2 within 1.5; tan, acos, sinh and cosh within
// 2.5. Special values (zeros, infinities, NaN) give what C99's Annex F gives.
//
// The method, for each: reduce the argument to a small interval where a short polynomial is
// exact to double precision (near-minimax, fitted once to 300-bit values: scripts/
// maths-tables.py), carrying the reduction's rounding in a second double where the result
// needs it. sqrt, fma, floor and the like are exact in IEEE arithmetic, the same everywhere.

namespace maths {

struct SSineCosine {
    double dSin, dCos;
};

// Sine and cosine side by side in one register, sine first. Returned so rather than as a struct:
// the compiler takes a repeated call's value from the first only for a value it keeps in a
// register, and sin(a) and cos(a) in one formula would otherwise be two calls.
using VSineCosine = double __attribute__((vector_size(16)));

// Each is a function of its arguments alone, with no effect on errno: the compiler may take a
// repeated call's value from the first.
[[gnu::const]] VSineCosine sineCosine(double x);  // both from one reduction
inline SSineCosine sincos(double x) {
    const VSineCosine v = sineCosine(x);
    return {v[0], v[1]};
}
// Inline, so that sin(a) and cos(a) in one formula share one call.
inline double sin(double x) { return sineCosine(x)[0]; }
inline double cos(double x) { return sineCosine(x)[1]; }
inline double tan(double x) {
    const SSineCosine sc = sincos(x);
    return sc.dSin / sc.dCos;
}
[[gnu::const]] double atan2(double y, double x);  // in (−π, π], as C's
[[gnu::const]] double atan(double x);
[[gnu::const]] double acos(double x);
[[gnu::const]] double exp(double x);
[[gnu::const]] double log(double x);
[[gnu::const]] double log10(double x);
[[gnu::const]] double log1p(double x);
[[gnu::const]] double pow(double x, double y);
[[gnu::const]] double sinh(double x);
[[gnu::const]] double cosh(double x);

}  // namespace maths
