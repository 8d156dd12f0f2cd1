#pragma once

// JWildfire's plugin variations that its users' flames use most after those of plugins.h, each
// with its formula, named so that each can be tried alone at given draws. Read through
// variations/table.h. JWildfire's 2D variations make no z of their own, unless the flame keeps
// z; those that always make one say so in their rows. rand(n), a whole number in [0, n), is
// ⌊n·U⌋.

#include "base/angles.h"
#include "formulas/formula.h"
#include "formulas/variation_ids.h"

#include <type_traits>
#include <utility>

namespace variation {

constexpr double dWildfireEpsilon = 1e-8;

template <class TCall>
using TNumberOf = std::decay_t<decltype(std::declval<TCall&>().dX)>;

template <class TRandom>
inline auto randomBelow(TRandom& random, double dN) {
    return maths::trunc(dN * random.uniform());
}

// hypertile1, once per xform: α = 2π/p and the tiling's radius R = 1/√ρ², from
// ρ² = 1 − (cos α − 1)/(cos α + cos(2π/q)); 1 where ρ² is not above 0.
inline CConstants hypertileConstants(const double* p, const double*) {
    const double dAlpha = 2 * dPI / p[0], dCos = maths::cos(dAlpha);
    const double dRho2 = 1 - (dCos - 1) / (dCos + maths::cos(2 * dPI / p[1]));
    return {dAlpha, dRho2 > 0 ? 1 / maths::sqrt(dRho2) : 1.0};
}

// The point moved by the Möbius map of a tile of {p, q}, the k-th turn about the centre
// (k = rand(2³¹ − 1), taken mod p): re + i·im = R·e^(ikα), A = x + re, B = y − im,
// C = re·x − im·y + 1, D = re·y + im·x: w/(C² + D²)·(AC + BD, BC − AD).
constexpr auto hypertile1 = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double dR = c.k[1];
    const auto dK = maths::fmod(randomBelow(c.random, 2147483647.0), c.p[0]);
    const auto sc = maths::sinCos(dK * c.k[0]);
    const auto dRe = dR * sc.dCos, dIm = dR * sc.dSin;
    const auto dA = x + dRe, dB = y - dIm;
    const auto dC = dRe * x - dIm * y + 1, dD = dRe * y + dIm * x;
    const auto dV = c.w / (dC * dC + dD * dD);
    c.dX += dV * (dA * dC + dB * dD); c.dY += dV * (dB * dC - dA * dD);
};

// poincare3D, once per xform: the centre c = r·(−cos a′ cos b′, sin a′ cos b′, −sin b′), with
// a′ = aπ/2, b′ = bπ/2, and |c|².
inline CConstants poincareConstants(const double* p, const double*) {
    const double dA = p[1] * dPI / 2, dB = p[2] * dPI / 2;
    const double dCx = -p[0] * maths::cos(dA) * maths::cos(dB);
    const double dCy = p[0] * maths::sin(dA) * maths::cos(dB), dCz = -p[0] * maths::sin(dB);
    return {dCx, dCy, dCz, dCx * dCx + dCy * dCy + dCz * dCz};
}

// The ball's inversion about c: ρ² = |t|², (X₂, Y₂, Z₂) = 2c·t by axis,
// d = w/(|c|²ρ² − X₂ − Y₂ − Z₂ + 1); each axis d·(t_i·s_i + c_i·(the others' two terms − ρ² − 1)),
// s_i = c_i² − the other two squared + 1.
constexpr auto poincare3D = [](auto& c) {
    const auto x = c.in.x, y = c.in.y, z = c.in.z;
    const double dCx = c.k[0], dCy = c.k[1], dCz = c.k[2];
    const double dSx = dCx * dCx - dCy * dCy - dCz * dCz + 1;
    const double dSy = dCy * dCy - dCx * dCx - dCz * dCz + 1;
    const double dSz = dCz * dCz - dCx * dCx - dCy * dCy + 1;
    const auto dRho2 = x * x + y * y + z * z;
    const auto dX2 = 2 * dCx * x, dY2 = 2 * dCy * y, dZ2 = 2 * dCz * z;
    const auto dD = c.w / (c.k[3] * dRho2 - dX2 - dY2 - dZ2 + 1);
    c.dX += dD * (x * dSx + dCx * (dY2 + dZ2 - dRho2 - 1));
    c.dY += dD * (y * dSy + dCy * (dX2 + dZ2 - dRho2 - 1));
    c.dZ += dD * (z * dSz + dCz * (dY2 + dX2 - dRho2 - 1));
};

// Scaled, sheared, turned about x, y and z in turn (degrees), moved: w·(u + T).
constexpr auto affine3D = [](auto& c) {
    const double* p = c.p;
    const double dSx = p[3], dSy = p[4], dSz = p[5];
    const auto x = c.in.x, y = c.in.y, z = c.in.z;
    auto dUx = dSx * x + p[9] * dSy * y + p[10] * dSz * z;
    auto dUy = p[11] * dSx * x + dSy * y + p[12] * dSz * z;
    auto dUz = p[13] * dSx * x + p[14] * dSy * y + dSz * z;
    const maths::SSinCos<double> scX = maths::sinCos(radiansOf(p[6]));
    const maths::SSinCos<double> scY = maths::sinCos(radiansOf(p[7]));
    const maths::SSinCos<double> scZ = maths::sinCos(radiansOf(p[8]));
    const auto dY1 = scX.dCos * dUy - scX.dSin * dUz;
    dUz = scX.dSin * dUy + scX.dCos * dUz, dUy = dY1;
    const auto dX1 = scY.dCos * dUx + scY.dSin * dUz;
    dUz = -scY.dSin * dUx + scY.dCos * dUz, dUx = dX1;
    const auto dX2 = scZ.dCos * dUx - scZ.dSin * dUy;
    dUy = scZ.dSin * dUx + scZ.dCos * dUy, dUx = dX2;
    c.dX += c.w * (dUx + p[0]); c.dY += c.w * (dUy + p[1]); c.dZ += c.w * (dUz + p[2]);
};

// d = cos(nφ), nothing where it is 0; τ = 1/d − holes, or U·thickness/d − holes where the
// thickness is not 0: w·τ·(cos φ, sin φ).
constexpr auto epispiral = [](auto& c) {
    const auto dPhi = c.in.phi();
    const auto dD = maths::cos(c.p[0] * dPhi);
    const double dThickness = c.p[1], dHoles = c.p[2];
    const auto dTau = maths::fabs(dThickness) <= dWildfireEpsilon
                          ? -dHoles + 1 / dD
                          : -dHoles + c.random.uniform() * dThickness / dD;
    const auto sc = maths::sinCos(dPhi);
    c.dX += dD == 0 ? 0.0 : c.w * dTau * sc.dCos;
    c.dY += dD == 0 ? 0.0 : c.w * dTau * sc.dSin;
};

// Smeared along the angle by up to length: ℓ = length·U, w·(t + ℓ·(cos angle, sin angle)).
constexpr auto blurLinear = [](auto& c) {
    const auto dL = c.p[0] * c.random.uniform();
    const maths::SSinCos<double> sc = maths::sinCos(c.p[1]);
    c.dX += c.w * (c.in.x + dL * sc.dCos); c.dY += c.w * (c.in.y + dL * sc.dSin);
};

// A grid of N slices a side, whatever the point: one of five kinds of stroke, k = rand(5), its
// place (a, ρ) drawn in the order written, turned by the rotation and scaled by w.
constexpr auto waffle = [](auto& c) {
    using T = TNumberOf<decltype(c)>;
    const double dN = c.p[0], dXt = c.p[1], dYt = c.p[2];
    const auto dCase = randomBelow(c.random, 5.0);
    T dA{}, dRho{};
    const auto stroke = [&](double dOf, auto place) {
        drawnWhere(c.random, dCase == dOf, [&] {
            T dCaseA, dCaseRho;
            place(dCaseA, dCaseRho);
            dA = dCase == dOf ? dCaseA : dA, dRho = dCase == dOf ? dCaseRho : dRho;
        });
    };
    auto& r = c.random;
    stroke(0.0, [&](T& a, T& rho) {
        const auto d1 = randomBelow(r, dN), u1 = r.uniform();
        const auto d2 = randomBelow(r, dN), u2 = r.uniform();
        a = (d1 + u1 * dXt) / dN, rho = (d2 + u2 * dYt) / dN;
    });
    stroke(1.0, [&](T& a, T& rho) {
        const auto d1 = randomBelow(r, dN), u1 = r.uniform(), d2 = randomBelow(r, dN);
        a = (d1 + u1) / dN, rho = (d2 + dYt) / dN;
    });
    stroke(2.0, [&](T& a, T& rho) {
        const auto d1 = randomBelow(r, dN), d2 = randomBelow(r, dN), u2 = r.uniform();
        a = (d1 + dXt) / dN, rho = (d2 + u2) / dN;
    });
    stroke(3.0, [&](T& a, T& rho) {
        const auto u1 = r.uniform(), d2 = randomBelow(r, dN), u2 = r.uniform();
        a = u1, rho = (d2 + dYt + u2 * (1 - dYt)) / dN;
    });
    stroke(4.0, [&](T& a, T& rho) {
        const auto d1 = randomBelow(r, dN), u1 = r.uniform(), u2 = r.uniform();
        a = (d1 + dXt + u1 * (1 - dXt)) / dN, rho = u2;
    });
    const maths::SSinCos<double> sc = maths::sinCos(c.p[3]);
    const double dC = c.w * sc.dCos, dS = c.w * sc.dSin;
    c.dX += dC * dA + dS * dRho; c.dY += -dS * dA + dC * dRho;
};

// w·(x + scale·sin(freq·y), y + scale·sin(freq·x), z + scale·sin(freq·(x + y)/2)).
constexpr auto waves2In3D = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double dFreq = c.p[0], dScale = c.p[1];
    c.dX += c.w * (x + dScale * maths::sin(dFreq * y));
    c.dY += c.w * (y + dScale * maths::sin(dFreq * x));
    c.dZ += c.w * (c.in.z + dScale * maths::sin(dFreq * (x + y) / 2));
};

// waves2b's wave on one axis from the other coordinate v: C·sin(sgn(v)·(|v| + 10⁻¹⁰)^pw·freq),
// its size C = unity/(unity + u²)·(scale − scaleinf) + scaleinf falling with the own
// coordinate u (a 0 under it made ε).
template <class T>
inline T waves2bWave(T u, T v, double dFreq, double dPower, double dScale, double dScaleInf,
                     double dUnity) {
    const T dUnder = dUnity + u * u;
    const T dC = dUnity / (dUnder == 0 ? dVariationEpsilon : dUnder) * (dScale - dScaleInf) +
                 dScaleInf;
    const T dOne = T{} + 1;
    const T dSign = v > 0 ? dOne : v < 0 ? -dOne : T{};
    return dC * maths::sin(dSign * maths::pow(maths::fabs(v) + 1e-10, dPower) * dFreq);
}

constexpr auto waves2b = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double* p = c.p;
    c.dX += c.w * (x + waves2bWave(x, y, p[0], p[2], p[4], p[5], p[8]));
    c.dY += c.w * (y + waves2bWave(y, x, p[1], p[3], p[6], p[7], p[8]));
};

// Inside the unit circle, the two halves of the sign: the point turned by π·ang1 onto the half
// of radius R, or (dual_t, U > ½) by π·ang2 onto the other, of radius 1 − R, mirrored. Outside
// it, the point itself where outside is 1, else nothing.
constexpr auto yinYang = [](auto& c) {
    using T = TNumberOf<decltype(c)>;
    const auto x = c.in.x, y = c.in.y; const double* p = c.p;
    const auto bInside = c.in.r2() < 1;
    auto bOther = maths::noLane<T>();
    if (p[3] == 1) drawnWhere(c.random, bInside, [&] { bOther = c.random.uniform() > 0.5; });
    const auto dR = bOther ? T{} + (1 - p[0]) : T{} + p[0];
    const auto dSigma = bOther ? T{} - 1 : T{} + 1;
    const auto sc1 = maths::sinCos(dPI * p[1]), sc2 = maths::sinCos(dPI * p[2]);
    const auto dCos = bOther ? T{} + sc2.dCos : T{} + sc1.dCos;
    const auto dSin = bOther ? T{} + sc2.dSin : T{} + sc1.dSin;
    const auto dNx = x * dCos - y * dSin, dNy = x * dSin + y * dCos;
    const auto dTau = maths::sqrt(1 - dNy * dNy), dKappa = dNx / dTau;
    const auto dTau1 = 2 * (dTau - 0.5), dAlpha = (1 - dKappa) / 2;
    const auto dK1 = dAlpha * dR + (1 - dAlpha);
    const auto bUpper = dNy > 0;
    const auto dInX = bUpper ? dTau1 * dK1 + dAlpha * (dR - 1) : dNx * (1 - dR) + dR;
    const auto dInY = bUpper ? maths::sqrt(1 - dTau1 * dTau1) * dK1 : dNy * (1 - dR);
    const double dOutside = p[4] == 1 ? c.w : 0;
    c.dX += bInside ? c.w * dSigma * dInX : dOutside * x;
    c.dY += bInside ? c.w * dSigma * dInY : dOutside * y;
};

// Whole steps along x, as many as a two-sided exponential draw gives: s = ±spread (U₁ < ½
// for +), n = ⌊s·ln U₂ + ½⌋: w·(x + n, y, z).
constexpr auto tileLog = [](auto& c) {
    using T = TNumberOf<decltype(c)>;
    const auto dS = c.random.uniform() < 0.5 ? T{} + c.p[0] : T{} - c.p[0];
    const auto dN = maths::floor(dS * maths::log(c.random.uniform()) + 0.5);
    c.dX += c.w * (c.in.x + dN); c.dY += c.w * c.in.y; c.dZ += c.w * c.in.z;
};

// α = θ, d = cos(waves·α), nothing where it is 0: w·(0.5/d)·(sin α, cos α), the radius not read.
constexpr auto epispiralWf = [](auto& c) {
    const auto dAlpha = c.in.theta();
    const auto dD = maths::cos(c.p[0] * dAlpha);
    const auto dRho = 0.5 / dD;
    const auto sc = maths::sinCos(dAlpha);
    c.dX += dD == 0 ? 0.0 : c.w * dRho * sc.dSin;
    c.dY += dD == 0 ? 0.0 : c.w * dRho * sc.dCos;
};

// Spherical on the right half-plane, linear on the left.
constexpr auto twoface = [](auto& c) {
    using T = TNumberOf<decltype(c)>;
    const auto dK = c.in.x > 0 ? c.w / c.in.r2() : T{} + c.w;
    c.dX += dK * c.in.x; c.dY += dK * c.in.y;
};

// Zoomed about (x₀, −y₀) by ζ = 1 + length·U: w·((x − x₀)ζ + x₀, (y + y₀)ζ − y₀).
constexpr auto blurZoom = [](auto& c) {
    const double dX0 = c.p[1], dY0 = c.p[2];
    const auto dZeta = 1 + c.p[0] * c.random.uniform();
    c.dX += c.w * ((c.in.x - dX0) * dZeta + dX0); c.dY += c.w * ((c.in.y + dY0) * dZeta - dY0);
};

// w/(2π)·e^y·(sin x, cos x).
constexpr auto unpolar = [](auto& c) {
    const auto dR = c.w / (2 * dPI) * maths::exp(c.in.y);
    const auto sc = maths::sinCos(c.in.x);
    c.dX += dR * sc.dSin; c.dY += dR * sc.dCos;
};

// A point of the spirograph's curve, whatever the input: t in [tmin, tmax), v in [ymin, ymax),
// x₁ = (a + b)cos t − c1·cos((a + b)t/b), y₁ = (a + b)sin t − c2·sin((a + b)t/b):
// w·(x₁ + d·cos t + v, y₁ + d·sin t + v).
constexpr auto spirograph = [](auto& c) {
    const double* p = c.p;
    const double dA = p[0], dB = p[1], dD = p[2];
    const auto dT = p[3] + (p[4] - p[3]) * c.random.uniform();
    const auto dV = p[5] + (p[6] - p[5]) * c.random.uniform();
    const auto sc = maths::sinCos(dT), scInner = maths::sinCos((dA + dB) * dT / dB);
    const auto dX1 = (dA + dB) * sc.dCos - p[7] * scInner.dCos;
    const auto dY1 = (dA + dB) * sc.dSin - p[8] * scInner.dSin;
    c.dX += c.w * (dX1 + dD * sc.dCos + dV); c.dY += c.w * (dY1 + dD * sc.dSin + dV);
};

// ρ = w/((x² + y² + z²)/4 + 1): ρ·(x·bx, y·by); Z = w·(z ± bz) by z's sign, plus ρ·z·bz.
constexpr auto bubble2 = [](auto& c) {
    const auto x = c.in.x, y = c.in.y, z = c.in.z; const double* p = c.p;
    const auto dRho = c.w / ((x * x + y * y + z * z) / 4 + 1);
    c.dX += dRho * x * p[0]; c.dY += dRho * y * p[1];
    c.dZ += (z >= 0 ? c.w * (z + p[2]) : c.w * (z - p[2])) + dRho * z * p[2];
};

// The _wf curves' fill: where filled > 0, with chance filled (U₁ < filled), the radius times U₂.
template <class TCall, class T>
inline T filledRadius(TCall& c, T dRho) {
    const double dFilled = c.p[0];
    if (!(dFilled > 0)) return dRho;
    const auto bFilled = c.random.uniform() < dFilled;
    auto dU = T{} + 1;
    drawnWhere(c.random, bFilled, [&] { dU = c.random.uniform(); });
    return bFilled ? dRho * dU : dRho;
}

// α = θ; ρ = (1 + 0.9 cos 8α)(1 + 0.1 cos 24α)(0.9 + 0.1 cos 200α)(1 + sin α), filled; then
// α + π/2: w·ρ·(sin, cos) of it.
constexpr auto cannabisCurve = [](auto& c) {
    const auto dAlpha = c.in.theta();
    const auto dRho = (1 + 0.9 * maths::cos(8 * dAlpha)) * (1 + 0.1 * maths::cos(24 * dAlpha)) *
                      (0.9 + 0.1 * maths::cos(200 * dAlpha)) * (1 + maths::sin(dAlpha));
    const auto dR = c.w * filledRadius(c, dRho);
    const auto sc = maths::sinCos(dAlpha + dPI / 2);
    c.dX += dR * sc.dSin; c.dY += dR * sc.dCos;
};

// α = θ; ρ = sin 2α + ¼ sin 6α, filled: w·ρ·(sin α, cos α).
constexpr auto cloverleaf = [](auto& c) {
    const auto dAlpha = c.in.theta();
    const auto dRho = maths::sin(2 * dAlpha) + 0.25 * maths::sin(6 * dAlpha);
    const auto dR = c.w * filledRadius(c, dRho);
    const auto sc = maths::sinCos(dAlpha);
    c.dX += dR * sc.dSin; c.dY += dR * sc.dCos;
};

constexpr SVariation wildfireRows[] = {
    {eHypertile1, "hypertile1", {{{"hypertile1_p", 3, 3, 3, true}, {"hypertile1_q", 7, 7, 7, true}}},
     hypertileConstants, hypertile1},
    {ePoincare3D, "poincare3D",
     {{{"poincare3D_r", 0}, {"poincare3D_a", 0}, {"poincare3D_b", 0}}}, poincareConstants,
     poincare3D, makesZFromZ},
    {eAffine3D, "affine3D",
     {{{"affine3D_translateX", 0}, {"affine3D_translateY", 0}, {"affine3D_translateZ", 0},
       {"affine3D_scaleX", 1}, {"affine3D_scaleY", 1}, {"affine3D_scaleZ", 1},
       {"affine3D_rotateX", 0}, {"affine3D_rotateY", 0}, {"affine3D_rotateZ", 0},
       {"affine3D_shearXY", 0}, {"affine3D_shearXZ", 0}, {"affine3D_shearYX", 0},
       {"affine3D_shearYZ", 0}, {"affine3D_shearZX", 0}, {"affine3D_shearZY", 0}}},
     nullptr, affine3D, makesZFromZ},
    {eEpispiral, "epispiral",
     {{{"epispiral_n", 6}, {"epispiral_thickness", 0}, {"epispiral_holes", 1}}}, nullptr,
     epispiral},
    {eBlurLinear, "blur_linear", {{{"blur_linear_length", 1}, {"blur_linear_angle", 0.5}}},
     nullptr, blurLinear},
    {eWaffle, "waffle",
     {{{"waffle_slices", 6, 6, 6, true}, {"waffle_xthickness", 0.5}, {"waffle_ythickness", 0.5},
       {"waffle_rotation", 0}}},
     nullptr, waffle, additive},
    {eWaves2In3D, "waves2_3D", {{{"waves2_3D_freq", 2}, {"waves2_3D_scale", 1}}}, nullptr,
     waves2In3D, makesZ},
    {eWaves2b, "waves2b",
     {{{"waves2b_freqx", 1.5}, {"waves2b_freqy", 2.5}, {"waves2b_pwx", 1}, {"waves2b_pwy", 1.5},
       {"waves2b_scalex", 2}, {"waves2b_scaleinfx", 1}, {"waves2b_scaley", 0.75},
       {"waves2b_scaleinfy", 1.5}, {"waves2b_unity", 1}, {"waves2b_jacok", 0.25}}},
     nullptr, waves2b},
    {eYinYang, "yin_yang",
     {{{"yin_yang_radius", 0.5}, {"yin_yang_ang1", 0}, {"yin_yang_ang2", 0},
       {"yin_yang_dual_t", 1, 0, 1, true}, {"yin_yang_outside", 0, 0, 1, true}}},
     nullptr, yinYang},
    {eTileLog, "tile_log", {{{"tile_log_spread", 1}}}, nullptr, tileLog, makesZ},
    {eEpispiralWf, "epispiral_wf", {{{"epispiral_wf_waves", 4}}}, nullptr, epispiralWf},
    {eTwoface, "twoface", {}, nullptr, twoface},
    {eBlurZoom, "blur_zoom",
     {{{"blur_zoom_length", 0.24}, {"blur_zoom_x", 0.2}, {"blur_zoom_y", -0.1}}}, nullptr,
     blurZoom},
    {eUnpolar, "unpolar", {}, nullptr, unpolar},
    {eSpirograph, "spirograph",
     {{{"spirograph_a", 3}, {"spirograph_b", 2}, {"spirograph_d", 0}, {"spirograph_tmin", -1},
       {"spirograph_tmax", 1}, {"spirograph_ymin", -1}, {"spirograph_ymax", 1},
       {"spirograph_c1", 0}, {"spirograph_c2", 0}}},
     nullptr, spirograph},
    {eBubble2, "bubble2", {{{"bubble2_x", 1}, {"bubble2_y", 1}, {"bubble2_z", 0}}}, nullptr,
     bubble2, makesZFromZ},
    {eCannabisCurve, "cannabiscurve_wf", {{{"cannabiscurve_wf_filled", 0.85}}}, nullptr,
     cannabisCurve},
    {eCloverleaf, "cloverleaf_wf", {{{"cloverleaf_wf_filled", 0.85}}}, nullptr, cloverleaf},
};

}  // namespace variation
