#pragma once

// The functions of maths/maths.h, built twice from the same source: fused, for processors with
// fused multiply-add, where each step of a polynomial is one instruction; plain, for the
// others, where it is the C library's fma, exactly rounded by definition as the instruction is.
// Both give the same bits; the program takes the one its processor runs fastest when it loads.

#include "maths/maths.h"

#define FLAMES_MATHS_FUNCTIONS                   \
    VSineCosine sineCosine(double x);            \
    double      atan2(double y, double x);       \
    double      atan(double x);                  \
    double      acos(double x);                  \
    double      exp(double x);                   \
    double      log(double x);                   \
    double      log10(double x);                 \
    double      log1p(double x);                 \
    double      pow(double x, double y);         \
    double      sinh(double x);                  \
    double      cosh(double x);

namespace maths::fused {
FLAMES_MATHS_FUNCTIONS
}
namespace maths::plain {
FLAMES_MATHS_FUNCTIONS
}

#undef FLAMES_MATHS_FUNCTIONS
