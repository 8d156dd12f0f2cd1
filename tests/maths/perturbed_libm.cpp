// Preloaded into flames by maths_independent.sh: the C library's sin, cos, atan2, exp, log,
// pow and their kin, each one ulp above what it gives, as another C library might give them.

#include <dlfcn.h>

#include <cmath>

namespace {

template <class F>
F real(const char* sName) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, sName));
}

double moved(double d) { return std::nextafter(d, INFINITY); }

}  // namespace

#define FLAMES_MOVED_ONE(name)                                                      \
    extern "C" double name(double x) {                                              \
        static const auto pfReal = real<double (*)(double)>(#name);                  \
        return moved(pfReal(x));                                                    \
    }
#define FLAMES_MOVED_TWO(name)                                                      \
    extern "C" double name(double x, double y) {                                    \
        static const auto pfReal = real<double (*)(double, double)>(#name);          \
        return moved(pfReal(x, y));                                                 \
    }

FLAMES_MOVED_ONE(sin)
FLAMES_MOVED_ONE(cos)
FLAMES_MOVED_ONE(tan)
FLAMES_MOVED_ONE(atan)
FLAMES_MOVED_ONE(asin)
FLAMES_MOVED_ONE(acos)
FLAMES_MOVED_ONE(exp)
FLAMES_MOVED_ONE(exp2)
FLAMES_MOVED_ONE(expm1)
FLAMES_MOVED_ONE(log)
FLAMES_MOVED_ONE(log2)
FLAMES_MOVED_ONE(log10)
FLAMES_MOVED_ONE(log1p)
FLAMES_MOVED_ONE(sinh)
FLAMES_MOVED_ONE(cosh)
FLAMES_MOVED_ONE(tanh)
FLAMES_MOVED_TWO(atan2)
FLAMES_MOVED_TWO(pow)
FLAMES_MOVED_TWO(hypot)

extern "C" void sincos(double x, double* pSin, double* pCos) {
    static const auto pfReal = real<void (*)(double, double*, double*)>("sincos");
    pfReal(x, pSin, pCos);
    *pSin = moved(*pSin);
    *pCos = moved(*pCos);
}
