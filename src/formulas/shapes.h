#pragma once

// The variations flam3 numbers 49 to 66, each with its formula: shapes drawn around the origin
// and the conformal maps. Read through variations/table.h.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

#include <algorithm>

namespace variation {

// butterfly's 4/√(3π) as one constant, multiplied into w: (w·4)/√(3π) could round otherwise.
constexpr double dButterflyScale = 1.3029400317411197908970256609023;

// disc2: π·rot, then sin twist and cos twist − 1, stretched by 1 + twist ∓ 2π past ±2π.
inline CConstants disc2Constants(const double* p, const double*) {
    const double dTwist = p[1];
    double dSin = maths::sin(dTwist), dCos = maths::cos(dTwist) - 1;
    if (dTwist > 2 * dPI) {
        const double dStretch = 1 + dTwist - 2 * dPI;
        dSin *= dStretch, dCos *= dStretch;
    }
    if (dTwist < -2 * dPI) {
        const double dStretch = 1 + dTwist + 2 * dPI;
        dSin *= dStretch, dCos *= dStretch;
    }
    return {dPI * p[0], dSin, dCos};
}

// boarders: the point's offset from its nearest whole point, halved; one time in four it stays
// there, else it moves a quarter away along the offset's larger side.
constexpr auto boarders = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double w = c.w;
    const auto dRx = maths::rint(x), dRy = maths::rint(y), dOx = x - dRx, dOy = y - dRy;
    const auto dBx = dOx / 2 + dRx, dBy = dOy / 2 + dRy;
    const auto bStays = c.random.uniform() >= 0.75;
    const auto bAlongX = maths::fabs(dOx) >= maths::fabs(dOy);
    const auto dSignX = dOx >= 0 ? 1.0 : -1.0, dSignY = dOy >= 0 ? 1.0 : -1.0;
    const auto dMovedX = bAlongX ? dBx + dSignX * 0.25 : dBx + dSignY * (0.25 * dOx / dOy);
    const auto dMovedY = bAlongX ? dBy + dSignX * (0.25 * dOy / dOx) : dBy + dSignY * 0.25;
    c.dX += w * (bStays ? dBx : dMovedX); c.dY += w * (bStays ? dBy : dMovedY);
};

// cell: whole cells of the grid dealt out interleaved, 0, −1, 1, −2 … to 0, 1, 2, 3 …
template <class T>
inline T cellInterleaved(T dCell) {
    return dCell >= 0 ? 2 * dCell : -(2 * dCell + 1);
}

// lazysusan: inside the disc of radius w about (lazysusan_x, −lazysusan_y) the point turns by
// spin + twist·(w − ρ); outside it is pushed out by space. The offsets are added back
// unweighted, y's with the other sign.
constexpr auto lazysusan = [](auto& c) {
    const double w = c.w, dSpace = c.p[0], dLx = c.p[3], dLy = c.p[4];
    const auto dU = c.in.x - dLx, dV = c.in.y + dLy;
    const auto dRho = maths::sqrt(dU * dU + dV * dV);
    const auto bInside = dRho < w;
    const auto dA = maths::atan2(dV, dU) + c.p[2] + c.p[1] * (w - dRho);
    const auto sc = maths::sinCos(dA);
    const auto dK = w * (1 + dSpace / dRho);
    c.dX += bInside ? w * dRho * sc.dCos + dLx : dK * dU + dLx;
    c.dY += bInside ? w * dRho * sc.dSin - dLy : dK * dV - dLy;
};

// √(1 + u) − 1 as u/(√(1 + u) + 1), and ln(1 + v): exact near 0, where elliptic's map lies
// close to the x axis.
template <class T>
inline T rootLessOne(T u) { return u / (maths::sqrt(1 + u) + 1); }

// elliptic's mode 2: m = ½((√(1 + r² + 2x) − 1) + (√(1 + r² − 2x) − 1));
// (v·asin(x/(1 + m)) clamped to ±1, ±v·ln(1 + m + √m)) by y's sign.
template <class TCall>
inline void ellipticPrecise(TCall& c, double dW) {
    const auto x = c.in.x, y = c.in.y, dR2 = c.in.r2();
    const auto dM = 0.5 * (rootLessOne(dR2 + 2 * x) + rootLessOne(dR2 - 2 * x));
    const auto dRatio = x / (1 + dM);
    const auto dSine = dRatio > 1 ? 1.0 : dRatio < -1 ? -1.0 : dRatio;
    const auto dLog = dW * maths::log1p(dM + maths::sqrt(dM));
    c.dX += dW * maths::atan2(dSine, maths::sqrt(1 - dSine * dSine));
    c.dY += y > 0 ? dLog : -dLog;
}

constexpr SVariation shapeRows[] = {
    {eDisc2, "disc2", {{{"disc2_rot", 0, -1, 1}, {"disc2_twist", 0, -dPI, dPI}}},
     disc2Constants, [](auto& c) {
         // t = π·rot·(x + y), a sum; ρ = w·θ/π; ρ·(sin t + cos twist − 1, cos t + sin twist)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dT = c.k[0] * (x + y), dRho = w * c.in.theta() / dPI;
         const auto sc = maths::sinCos(dT);
         c.dX += dRho * (sc.dSin + c.k[2]); c.dY += dRho * (sc.dCos + c.k[1]);
     }},
    {eSuperShape, "super_shape",
     {{{"super_shape_rnd", 0, 0, 1}, {"super_shape_m", 0, 1, 8, true},
       {"super_shape_n1", 1, 0.5, 3}, {"super_shape_n2", 1, 0.5, 3},
       {"super_shape_n3", 1, 0.5, 3}, {"super_shape_holes", 0, 0, 0.3}}},
     [](const double* p, const double*) -> CConstants {  // m/4, −1/n1, 1 − rnd
         return {p[1] / 4, -1 / p[2], 1 - p[0]};
     },
     [](auto& c) {
         // α = (m/4)φ + π/4, g = |cos α|^n2 + |sin α|^n3; U drawn even where rnd is 0
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dA = c.k[0] * c.in.phi() + dPI / 4;
         const auto sc = maths::sinCos(dA);
         const auto dG = maths::pow(maths::fabs(sc.dCos), c.p[3]) +
                         maths::pow(maths::fabs(sc.dSin), c.p[4]);
         const auto dR = c.in.r(), dU = c.random.uniform();
         const auto dRho =
             w * ((c.p[0] * dU + c.k[2] * dR) - c.p[5]) * maths::pow(dG, c.k[1]) / dR;
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eFlower, "flower", {{{"flower_petals", 0, 2, 8, true}, {"flower_holes", 0, 0, 0.5}}},
     nullptr, [](auto& c) {  // ρ = w·(U − holes)·cos(petals·φ)/r; ρ·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dU = c.random.uniform();
         const auto dRho = w * (dU - c.p[1]) * maths::cos(c.p[0] * c.in.phi()) / c.in.r();
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eConic, "conic", {{{"conic_eccentricity", 1, 0.2, 1}, {"conic_holes", 0, 0, 0.5}}},
     nullptr, [](auto& c) {  // ρ = w·(U − holes)·e/(1 + e·x/r)/r; ρ·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w, dE = c.p[0];
         const auto dR = c.in.r(), dCos = x / dR;
         const auto dRho = w * (c.random.uniform() - c.p[1]) * dE / (1 + dE * dCos) / dR;
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eParabola, "parabola",
     {{{"parabola_height", 0, 0.5, 1.5}, {"parabola_width", 0, 0.5, 1.5}}},
     nullptr, [](auto& c) {  // (height·w·sin²r·U1, width·w·cos r·U2)
         const double w = c.w;
         const auto sc = maths::sinCos(c.in.r());
         const auto dU1 = c.random.uniform(), dU2 = c.random.uniform();
         c.dX += c.p[0] * w * (sc.dSin * sc.dSin) * dU1; c.dY += c.p[1] * w * sc.dCos * dU2;
     }},
    {eBent2, "bent2", {{{"bent2_x", 1, -2, 2}, {"bent2_y", 1, -2, 2}}},
     nullptr, [](auto& c) {  // x times bent2_x where negative, y times bent2_y
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x < 0 ? c.p[0] * x : x); c.dY += w * (y < 0 ? c.p[1] * y : y);
     }},
    {eBipolar, "bipolar", {{{"bipolar_shift", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants { return {dPI / 2 * p[0]}; },
     [](auto& c) {
         // v = ½ atan2(2y, r² − 1) − (π/2)·shift, folded into [−π/2, π/2]
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dS = c.in.r2(), dT = dS + 1;
         const auto dV = 0.5 * maths::atan2(2 * y, dS - 1) - c.k[0];
         const auto dFolded = dV > dPI / 2    ? -dPI / 2 + maths::fmod(dV + dPI / 2, dPI)
                              : dV < -dPI / 2 ? dPI / 2 - maths::fmod(dPI / 2 - dV, dPI)
                                              : dV;
         c.dX += w / (2 * dPI) * maths::log((dT + 2 * x) / (dT - 2 * x));
         c.dY += w * (2 / dPI) * dFolded;
     }},
    {eBoarders, "boarders", {}, nullptr, boarders},
    {eButterfly, "butterfly", {}, nullptr, [](auto& c) {
         // ρ = w·4/√(3π)·√(|xy|/(ε + x² + 4y²)); ρ·(x, 2y)
         const auto x = c.in.x, y = c.in.y;
         const double dW = c.w * dButterflyScale;
         const auto dRho =
             dW * maths::sqrt(maths::fabs(x * y) / (dVariationEpsilon + x * x + 4 * y * y));
         c.dX += dRho * x; c.dY += dRho * 2 * y;
     }},
    {eCell, "cell", {{{"cell_size", 1, 0.2, 1.5}}}, nullptr, [](auto& c) {
         // each grid cell moved to its interleaved place; note the minus on Y
         const auto x = c.in.x, y = c.in.y; const double w = c.w, dSize = c.p[0];
         const auto dI = maths::floor(x / dSize), dJ = maths::floor(y / dSize);
         const auto dDx = x - dI * dSize, dDy = y - dJ * dSize;
         c.dX += w * (dDx + cellInterleaved(dI) * dSize);
         c.dY += -w * (dDy + cellInterleaved(dJ) * dSize);
     }},
    {eCpow, "cpow",
     {{{"cpow_r", 1, 0.5, 2}, {"cpow_i", 0, -0.5, 0.5}, {"cpow_power", 1, 1, 5, true}}},
     [](const double* p, const double*) -> CConstants {  // r/power, i/power, 2π/power
         return {p[0] / p[2], p[1] / p[2], 2 * dPI / p[2]};
     },
     [](auto& c) {  // z^((cpow_r + i·cpow_i)/power), on branch k = ⌊power·U⌋
         const double w = c.w;
         const auto dL = 0.5 * maths::log(c.in.r2()), dPhi = c.in.phi();
         const auto dK = maths::floor(c.p[2] * c.random.uniform());
         const auto dA = c.k[0] * dPhi + c.k[1] * dL + c.k[2] * dK;
         const auto dM = w * maths::exp(c.k[0] * dL - c.k[1] * dPhi);
         const auto sc = maths::sinCos(dA);
         c.dX += dM * sc.dCos; c.dY += dM * sc.dSin;
     }},
    {eCurve, "curve",
     {{{"curve_xamp", 0, -1, 1}, {"curve_yamp", 0, -1, 1}, {"curve_xlength", 1, 0.5, 2},
       {"curve_ylength", 1, 0.5, 2}}},
     [](const double* p, const double*) -> CConstants {  // the lengths squared, at least 1e−20
         return {std::max(p[2] * p[2], 1e-20), std::max(p[3] * p[3], 1e-20)};
     },
     [](auto& c) {  // w·(x + xamp·e^(−y²/lx), y + yamp·e^(−x²/ly))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x + c.p[0] * maths::exp(-(y * y) / c.k[0]));
         c.dY += w * (y + c.p[1] * maths::exp(-(x * x) / c.k[1]));
     }},
    {eEdisc, "edisc", {}, nullptr, [](auto& c) {
         // elliptic coordinates (μ, ν) of the point, drawn back as cosh/sinh times cos/sin
         const auto x = c.in.x, y = c.in.y;
         const auto dA = c.in.r2() + 1;
         const auto dP1 = maths::sqrt(dA + 2 * x), dP2 = maths::sqrt(dA - 2 * x);
         const auto dMu = (dP1 + dP2) / 2;
         const auto dA1 = maths::log(dMu + maths::sqrt(dMu - 1)), dA2 = -maths::acos(x / dMu);
         const auto sc = maths::sinCos(dA1);
         const auto dS = y > 0 ? -sc.dSin : sc.dSin;
         const double dW = c.w / 11.57034632;
         c.dX += dW * (maths::cosh(dA2) * sc.dCos); c.dY += dW * (maths::sinh(dA2) * dS);
     }},
    // JWildfire's elliptic_mode: 0 flam3's, 1 mirrored by a draw in place of y's sign, 2 the same
    // map worked out without the cancellation of √(1 + u) − 1 near the axis.
    {eElliptic, "elliptic", {{laterParameter("elliptic_mode", 0, 0, 2, true)}}, nullptr,
     [](auto& c) {
         // (atan2(q, √(1 − q²)), ±ln(μ + √(μ − 1))) over π/2, square roots of negatives as 0
         const auto x = c.in.x, y = c.in.y;
         const double dW = c.w / (dPI / 2);
         if (c.p[0] == 2) return ellipticPrecise(c, dW);
         const auto dA = c.in.r2() + 1;
         const auto dMu = 0.5 * (maths::sqrt(dA + 2 * x) + maths::sqrt(dA - 2 * x));
         const auto dQ = x / dMu, dQ2 = 1 - dQ * dQ;
         const auto dB = dQ2 < 0 ? 0.0 : maths::sqrt(dQ2);
         const auto dS = dMu - 1 < 0 ? 0.0 : maths::sqrt(dMu - 1);
         const auto dLog = dW * maths::log(dMu + dS);
         c.dX += dW * maths::atan2(dQ, dB);
         if (c.p[0] == 1) c.dY += c.random.uniform() < 0.5 ? dLog : -dLog;
         else c.dY += y > 0 ? dLog : -dLog;
     }},
    {eEscher, "escher", {{{"escher_beta", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants {  // ½(1 + cos β), ½ sin β
         return {0.5 * (1 + maths::cos(p[0])), 0.5 * maths::sin(p[0])};
     },
     [](auto& c) {  // m = w·e^(c·L − d·φ), n = c·φ + d·L; m·(cos n, sin n)
         const double w = c.w;
         const auto dL = 0.5 * maths::log(c.in.r2()), dPhi = c.in.phi();
         const auto dM = w * maths::exp(c.k[0] * dL - c.k[1] * dPhi);
         const auto dN = c.k[0] * dPhi + c.k[1] * dL;
         const auto sc = maths::sinCos(dN);
         c.dX += dM * sc.dCos; c.dY += dM * sc.dSin;
     }},
    {eFoci, "foci", {}, nullptr, [](auto& c) {
         // e+ = ½eˣ, e− = ¼/e+, k = w/(e+ + e− − cos y); k·(e+ − e−, sin y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dPlus = 0.5 * maths::exp(x), dMinus = 0.25 / dPlus;
         const auto sc = maths::sinCos(y);
         const auto dK = w / (dPlus + dMinus - sc.dCos);
         c.dX += dK * (dPlus - dMinus); c.dY += dK * sc.dSin;
     }},
    {eLazysusan, "lazysusan",
     {{{"lazysusan_space", 0, -0.5, 0.5}, {"lazysusan_twist", 0, -2, 2},
       {"lazysusan_spin", 0, -2, 2}, {"lazysusan_x", 0, -0.5, 0.5},
       {"lazysusan_y", 0, -0.5, 0.5}}},
     nullptr, lazysusan},
    {eLoonie, "loonie", {}, nullptr, [](auto& c) {
         // inside the circle of radius w: k = w·√(w²/r² − 1), k·(x, y); outside w·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR2 = c.in.r2(); const double dW2 = w * w;
         const auto dK = dR2 < dW2 ? w * maths::sqrt(dW2 / dR2 - 1) : w;
         c.dX += dK * x; c.dY += dK * y;
     }},
};

}  // namespace variation
