#include "reference.h"

#include "core/patterns.h"
#include "core/screen.h"

#include <cmath>
#include <iterator>

namespace {

// The image of (x, y) under a row of the affine table, or under the identity, and its radius
// and angle on demand.
struct SMapped {
    double vx, vy;
    SMapped(int iMap, double x, double y)
        : vx(affineMaps[iMap].dA * x + affineMaps[iMap].dB * y + affineMaps[iMap].dC),
          vy(affineMaps[iMap].dD * x + affineMaps[iMap].dE * y + affineMaps[iMap].dF) {}
    SMapped(double x, double y) : vx(x), vy(y) {}
    double r() const { return std::sqrt(vx * vx + vy * vy); }
    double t() const { return std::atan(vy / vx); }
};

inline void set(double& x, double& y, SPoint p) { x = p.dX; y = p.dY; }

// A function's formula, given only what it reads.
template <ENonlinear eNonlinear>
inline SPoint formula(double x, double y, double vx, double vy, double r, double t) {
    return nonlinearOf(eNonlinear).pfFormula({x, y, vx, vy, r, t});
}

// A function of r and θ alone after the image.
template <ENonlinear eNonlinear>
inline void byPolar(const SMapped& v, double& x, double& y) {
    set(x, y, formula<eNonlinear>(0, 0, 0, 0, v.r(), v.t()));
}

inline void spherical(const SMapped& v, double& x, double& y) {
    set(x, y, formula<eSpherical>(0, 0, v.vx, v.vy, v.r(), 0));
}

inline SPoint sinusoidal(double vx, double vy) { return formula<eSinusoidal>(0, 0, vx, vy, 0, 0); }

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
        spherical(SMapped(f == 0 ? iCloudMap1 : iCloudMap2, x, y), x, y);
    } else if constexpr (iPattern == 3) {
        const int f = chosen<3>(generator);
        if (f == 0) { const SMapped v(iLinearMap, x, y); set(x, y, {v.vx, v.vy}); }
        else if (f == 1) byPolar<eSpiral>(SMapped(iSpiralMap, x, y), x, y);
        else byPolar<eSwirl>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 4) {
        const int f = chosen<4>(generator);
        if (f == 0) byPolar<eDiamond>(SMapped(x, y), x, y);
        else byPolar<eHeart>(SMapped(x, y), x, y);
    } else if constexpr (iPattern == 5) {
        const int f = chosen<5>(generator);
        if (f == 0) byPolar<eDisc>(SMapped(x, y), x, y);
        else if (f == 1) set(x, y, sinusoidal(x, y));
        else byPolar<eSpiral>(SMapped(x, y), x, y);
    } else if constexpr (iPattern == 6) {
        const SMapped v(iLinearMap, x, y);
        set(x, y, {v.vx, v.vy});
    } else if constexpr (iPattern == 7) {
        const SMapped v(iSpiralMap, x, y);
        set(x, y, sinusoidal(v.vx, v.vy));
    } else if constexpr (iPattern == 8) {
        spherical(SMapped(iSpiralMap, x, y), x, y);
    } else if constexpr (iPattern == 9) {
        byPolar<eSwirl>(SMapped(iPattern9Map, x, y), x, y);
    } else if constexpr (iPattern == 10) {
        byPolar<eHorseshoe>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 11) {
        byPolar<ePolar>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 12) {
        byPolar<eHandkerchief>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 13) {
        byPolar<eHeart>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 14) {
        byPolar<eDisc>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 15) {
        byPolar<eSpiral>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 16) {
        byPolar<eHyperbolic>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 17) {
        byPolar<eDiamond>(SMapped(iDiamondMap, x, y), x, y);
    } else if constexpr (iPattern == 18) {
        byPolar<eEx>(SMapped(iSwirlMap, x, y), x, y);
    } else if constexpr (iPattern == 19) {  // r and θ are kept, though fisheye needs r only
        const SMapped v(iSwirlMap, x, y);
        keep(v.t());
        set(x, y, formula<eFisheye>(x, y, 0, 0, v.r(), 0));
    } else {  // 20: r and θ are kept, though cosine needs neither
        const SMapped v(iSwirlMap, x, y);
        keep(v.r());
        keep(v.t());
        set(x, y, formula<eCosine>(x, y, 0, 0, 0, 0));
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
    static_assert(std::size(table) == iReferencePatterns);
    table[iPattern - 1](iIterations, state);
}
