#include "reference.h"

#include "patterns.h"
#include "screen.h"

#include <cmath>

namespace {

struct SMap {
    double a, b, c, d, e, f;
};
constexpr SMap cloud1{0.562482, -0.539599, -0.42992, 0.397861, 0.501088, -0.112404};
constexpr SMap cloud2{0.830039, 0.16248, 0.91022, -0.496174, 0.750468, 0.288389};
constexpr SMap linearMap{0.98396, 0.359416, -0.85059, 0.298328, -0.583541, 0.378754};
constexpr SMap spiralMap{-0.900388, 0.397598, 0.465126, 0.293063, 0.0225629, -0.277212};
constexpr SMap swirlMap{-0.329863, -0.369381, 0.977861, -0.0855261, -0.858379, 0.547595};
constexpr SMap nineMap{0.125503, -0.00125, 0.004588, -0.0850061, -0.136802, 0.430655};
constexpr SMap diamondMap{-0.329863, -0.369381, 0.977861, -0.0855261, -0.858379, 0.54759};

inline double unitDraw(CRandom& generator) { return generator.next() / 2147483647.0; }

// The compound patterns' choice: the draw compared with the first draw of each function.
template <int iPattern>
inline int chosen(CRandom& generator) {
    return chosenFunction(patternTable[iPattern - 1].choice, generator.next());
}

// The image of (x, y) under a map, and its radius and angle on demand.
struct SImage {
    double vx, vy;
    SImage(const SMap& m, double x, double y)
        : vx(m.a * x + m.b * y + m.c), vy(m.d * x + m.e * y + m.f) {}
    SImage(double x, double y) : vx(x), vy(y) {}
    double r() const { return std::sqrt(vx * vx + vy * vy); }
    double t() const { return std::atan(vy / vx); }
};

inline void set(double& x, double& y, double nx, double ny) { x = nx; y = ny; }

inline void spherical(const SImage& v, double& x, double& y) {
    const double r = v.r(), r2 = r * r;
    set(x, y, v.vx / r2, v.vy / r2);
}
inline void swirl(const SImage& v, double& x, double& y) {
    const double r = v.r(), t = v.t();
    set(x, y, r * std::cos(t + r), r * std::sin(t + r));
}
inline void spiral(const SImage& v, double& x, double& y) {
    const double r = v.r(), t = v.t();
    set(x, y, (std::sin(r) + std::cos(t)) / r, (std::cos(r) + std::sin(t)) / r);
}
inline void diamond(const SImage& v, double& x, double& y) {
    const double r = v.r(), t = v.t();
    set(x, y, std::sin(t) * std::cos(r), std::cos(t) * std::sin(r));
}
inline void heart(const SImage& v, double& x, double& y) {
    const double r = v.r(), t = v.t();
    set(x, y, r * std::sin(t * r), -(r * std::cos(t * r)));
}
inline void disc(const SImage& v, double& x, double& y) {
    const double r = v.r(), t = v.t();
    set(x, y, std::sin(dPI * r) * t / dPI, std::cos(dPI * r) * t / dPI);
}

// Patterns 19 and 20 compute a radius and an angle their new point does not use; the empty asm
// keeps the compiler from dropping that work.
inline void keep(double dValue) { asm volatile("" : : "x"(dValue)); }

template <int iPattern>
inline void step(double& x, double& y, CRandom& generator) {
    if constexpr (iPattern == 1) {
        const int f = chosen<1>(generator);
        if (f == 0) set(x, y, x / 2, y / 2);
        else if (f == 1) set(x, y, (x + 1) / 2, y / 2);
        else set(x, y, x / 2, (y + 1) / 2);
    } else if constexpr (iPattern == 2) {
        const int f = chosen<2>(generator);
        spherical(SImage(f == 0 ? cloud1 : cloud2, x, y), x, y);
    } else if constexpr (iPattern == 3) {
        const int f = chosen<3>(generator);
        if (f == 0) { const SImage v(linearMap, x, y); set(x, y, v.vx, v.vy); }
        else if (f == 1) spiral(SImage(spiralMap, x, y), x, y);
        else swirl(SImage(swirlMap, x, y), x, y);
    } else if constexpr (iPattern == 4) {
        const int f = chosen<4>(generator);
        if (f == 0) diamond(SImage(x, y), x, y);
        else heart(SImage(x, y), x, y);
    } else if constexpr (iPattern == 5) {
        const int f = chosen<5>(generator);
        if (f == 0) disc(SImage(x, y), x, y);
        else if (f == 1) set(x, y, std::sin(x), std::sin(y));
        else spiral(SImage(x, y), x, y);
    } else if constexpr (iPattern == 6) {
        const SImage v(linearMap, x, y);
        set(x, y, v.vx, v.vy);
    } else if constexpr (iPattern == 7) {
        const SImage v(spiralMap, x, y);
        set(x, y, std::sin(v.vx), std::sin(v.vy));
    } else if constexpr (iPattern == 8) {
        spherical(SImage(spiralMap, x, y), x, y);
    } else if constexpr (iPattern == 9) {
        swirl(SImage(nineMap, x, y), x, y);
    } else if constexpr (iPattern == 13) {
        heart(SImage(swirlMap, x, y), x, y);
    } else if constexpr (iPattern == 14) {
        disc(SImage(swirlMap, x, y), x, y);
    } else if constexpr (iPattern == 15) {
        spiral(SImage(swirlMap, x, y), x, y);
    } else if constexpr (iPattern == 17) {
        diamond(SImage(diamondMap, x, y), x, y);
    } else if constexpr (iPattern == 19) {  // r and θ are kept, though fisheye needs r only
        const SImage v(swirlMap, x, y);
        const double r = v.r(), m = 2 * r / (r + 1);
        keep(v.t());
        set(x, y, x * m, y * m);
    } else if constexpr (iPattern == 20) {  // r and θ are kept, though cosine needs neither
        const SImage v(swirlMap, x, y);
        keep(v.r());
        keep(v.t());
        const double nx = std::cos(dPI * x) * std::cosh(y);
        set(x, y, nx, -std::sin(dPI * nx) * std::sinh(y));
    } else {  // 10, 11, 12, 16, 18: the swirl map's r and θ
        const SImage v(swirlMap, x, y);
        const double r = v.r(), t = v.t();
        if constexpr (iPattern == 10) set(x, y, r * std::cos(2 * t), r * std::sin(2 * t));
        if constexpr (iPattern == 11) set(x, y, t / dPI, r - 1);
        if constexpr (iPattern == 12) set(x, y, r * std::sin(t + r), r * std::cos(t - r));
        if constexpr (iPattern == 16) set(x, y, std::sin(t) / r, r * std::cos(t));
        if constexpr (iPattern == 18) {
            const double s = std::sin(t + r), c = std::cos(t - r);
            set(x, y, r * (s * s * s), r * (c * c * c));
        }
    }
}

inline int pixelOf(double dValue) {  // in-window values only: [-1, 1] to [0, 799]
    const int iPixel = static_cast<int>((dValue + 1) * (800 * 0.5));
    return iPixel > 799 ? 799 : iPixel;
}

template <int iPattern>
void loop(int iIterations, SReferenceState& state) {
    double x = state.dX, y = state.dY;
    int iMaxHit = state.iMaxHit;
    CRandom generator = state.generator;
    for (int i = 0; i < iIterations; i++) {
        step<iPattern>(x, y, generator);
        if (x > 1e10 || x < -1e10 || y > 1e10 || y < -1e10 || x != x || y != y) {
            x = -1 + unitDraw(generator) * 2;
            y = -1 + unitDraw(generator) * 2;
            continue;
        }
        if (x < -1 || x > 1 || y < -1 || y > 1) continue;
        const int iHits = ++myScreen.iScreenHits[pixelOf(x)][pixelOf(y)];
        if (iHits > iMaxHit) iMaxHit = iHits;
    }
    state = {x, y, iMaxHit, generator};
}

}  // namespace

void runReferenceLoop(int iPattern, int iIterations, SReferenceState& state) {
    static constexpr void (*table[])(int, SReferenceState&) = {
        loop<1>,  loop<2>,  loop<3>,  loop<4>,  loop<5>,  loop<6>,  loop<7>,
        loop<8>,  loop<9>,  loop<10>, loop<11>, loop<12>, loop<13>, loop<14>,
        loop<15>, loop<16>, loop<17>, loop<18>, loop<19>, loop<20>};
    table[iPattern - 1](iIterations, state);
}
