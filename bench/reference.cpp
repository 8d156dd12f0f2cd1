#include "reference.h"

#include "patterns.h"
#include "screen.h"

#include <cmath>

namespace {

// The image of (x, y) under a row of the affine table, or under the identity, and its radius
// and angle on demand.
struct SImage {
    double vx, vy;
    SImage(int iMap, double x, double y)
        : vx(affineMaps[iMap].dA * x + affineMaps[iMap].dB * y + affineMaps[iMap].dC),
          vy(affineMaps[iMap].dD * x + affineMaps[iMap].dE * y + affineMaps[iMap].dF) {}
    SImage(double x, double y) : vx(x), vy(y) {}
    double r() const { return std::sqrt(vx * vx + vy * vy); }
    double t() const { return std::atan(vy / vx); }
};

inline void set(double& x, double& y, SPoint p) { x = p.dX; y = p.dY; }

// A function of r and θ alone after the image.
template <SPoint (*pfFunction)(double dR, double dTheta)>
inline void byPolar(const SImage& v, double& x, double& y) { set(x, y, pfFunction(v.r(), v.t())); }

inline void spherical(const SImage& v, double& x, double& y) {
    set(x, y, ::spherical(v.vx, v.vy, v.r()));
}

// Patterns 19 and 20 compute a radius and an angle their new point does not use; the empty asm
// keeps the compiler from dropping that work.
inline void keep(double dValue) { asm volatile("" : : "x"(dValue)); }

// The compound patterns' choice: the draw compared with the first draw of each function.
template <int iPattern>
inline int chosen(CRandom& generator) {
    return chosenFunction(patternTable[iPattern - 1].choice, generator.next());
}

template <int iPattern>
inline void step(double& x, double& y, CRandom& generator) {
    if constexpr (iPattern == 1) {
        const int f = chosen<1>(generator);
        if (f == 0) set(x, y, {x / 2, y / 2});
        else if (f == 1) set(x, y, {(x + 1) / 2, y / 2});
        else set(x, y, {x / 2, (y + 1) / 2});
    } else if constexpr (iPattern == 2) {
        const int f = chosen<2>(generator);
        spherical(SImage(f == 0 ? iCloudMap1 : iCloudMap2, x, y), x, y);
    } else if constexpr (iPattern == 3) {
        const int f = chosen<3>(generator);
        if (f == 0) { const SImage v(iLinearMap, x, y); set(x, y, {v.vx, v.vy}); }
        else if (f == 1) byPolar<spiral>(SImage(iSpiralMap, x, y), x, y);
        else byPolar<swirl>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 4) {
        const int f = chosen<4>(generator);
        if (f == 0) byPolar<diamond>(SImage(x, y), x, y);
        else byPolar<heart>(SImage(x, y), x, y);
    } else if constexpr (iPattern == 5) {
        const int f = chosen<5>(generator);
        if (f == 0) byPolar<disc>(SImage(x, y), x, y);
        else if (f == 1) set(x, y, sinusoidal(x, y));
        else byPolar<spiral>(SImage(x, y), x, y);
    } else if constexpr (iPattern == 6) {
        const SImage v(iLinearMap, x, y);
        set(x, y, {v.vx, v.vy});
    } else if constexpr (iPattern == 7) {
        const SImage v(iSpiralMap, x, y);
        set(x, y, sinusoidal(v.vx, v.vy));
    } else if constexpr (iPattern == 8) {
        spherical(SImage(iSpiralMap, x, y), x, y);
    } else if constexpr (iPattern == 9) {
        byPolar<swirl>(SImage(iPattern9Map, x, y), x, y);
    } else if constexpr (iPattern == 10) {
        byPolar<horseshoe>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 11) {
        byPolar<polar>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 12) {
        byPolar<handkerchief>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 13) {
        byPolar<heart>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 14) {
        byPolar<disc>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 15) {
        byPolar<spiral>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 16) {
        byPolar<hyperbolic>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 17) {
        byPolar<diamond>(SImage(iDiamondMap, x, y), x, y);
    } else if constexpr (iPattern == 18) {
        byPolar<ex>(SImage(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 19) {  // r and θ are kept, though fisheye needs r only
        const SImage v(iSwirlMap, x, y);
        keep(v.t());
        set(x, y, fisheye(x, y, v.r()));
    } else {  // 20: r and θ are kept, though cosine needs neither
        const SImage v(iSwirlMap, x, y);
        keep(v.r());
        keep(v.t());
        set(x, y, cosine(x, y));
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
    int* const pHits = state.pPicture->iScreenHits.data();  // row by row, 800 a row
    for (int i = 0; i < iIterations; i++) {
        step<iPattern>(x, y, generator);
        if (x > 1e10 || x < -1e10 || y > 1e10 || y < -1e10 || x != x || y != y) {
            x = drawToRange(generator.next(), -1, 1);
            y = drawToRange(generator.next(), -1, 1);
            continue;
        }
        if (x < -1 || x > 1 || y < -1 || y > 1) continue;
        const int iHits = ++pHits[pixelOf(y) * 800 + pixelOf(x)];
        if (iHits > iMaxHit) iMaxHit = iHits;
    }
    state = {x, y, iMaxHit, generator, state.pPicture};
}

}  // namespace

void runReferenceLoop(int iPattern, int iIterations, SReferenceState& state) {
    static constexpr void (*table[])(int, SReferenceState&) = {
        loop<1>,  loop<2>,  loop<3>,  loop<4>,  loop<5>,  loop<6>,  loop<7>,
        loop<8>,  loop<9>,  loop<10>, loop<11>, loop<12>, loop<13>, loop<14>,
        loop<15>, loop<16>, loop<17>, loop<18>, loop<19>, loop<20>};
    table[iPattern - 1](iIterations, state);
}
