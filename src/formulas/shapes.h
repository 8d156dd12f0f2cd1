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
inline void boarders(SVariationCall& c) {
    const double x = c.in.x, y = c.in.y, w = c.w;
    const double dRx = std::rint(x), dRy = std::rint(y), dOx = x - dRx, dOy = y - dRy;
    const double dBx = dOx / 2 + dRx, dBy = dOy / 2 + dRy;
    if (c.random.uniform() >= 0.75) {
        c.dX += w * dBx; c.dY += w * dBy;
    } else if (std::fabs(dOx) >= std::fabs(dOy)) {
        const double dSign = dOx >= 0 ? 1 : -1;
        c.dX += w * (dBx + dSign * 0.25); c.dY += w * (dBy + dSign * (0.25 * dOy / dOx));
    } else {
        const double dSign = dOy >= 0 ? 1 : -1;
        c.dX += w * (dBx + dSign * (0.25 * dOx / dOy)); c.dY += w * (dBy + dSign * 0.25);
    }
}

// cell: whole cells of the grid dealt out interleaved, 0, −1, 1, −2 … to 0, 1, 2, 3 …
inline double cellInterleaved(double dCell) {
    return dCell >= 0 ? 2 * dCell : -(2 * dCell + 1);
}

// lazysusan: inside the disc of radius w about (lazysusan_x, −lazysusan_y) the point turns by
// spin + twist·(w − ρ); outside it is pushed out by space. The offsets are added back
// unweighted, y's with the other sign.
inline void lazysusan(SVariationCall& c) {
    const double w = c.w, dSpace = c.p[0], dLx = c.p[3], dLy = c.p[4];
    const double dU = c.in.x - dLx, dV = c.in.y + dLy;
    const double dRho = std::sqrt(dU * dU + dV * dV);
    if (dRho < w) {
        const double dA = maths::atan2(dV, dU) + c.p[2] + c.p[1] * (w - dRho);
        c.dX += w * dRho * maths::cos(dA) + dLx; c.dY += w * dRho * maths::sin(dA) - dLy;
    } else {
        const double dK = w * (1 + dSpace / dRho);
        c.dX += dK * dU + dLx; c.dY += dK * dV - dLy;
    }
}

constexpr SVariation shapeRows[] = {
    {eDisc2, "disc2", {{{"disc2_rot", 0, -1, 1}, {"disc2_twist", 0, -dPI, dPI}}},
     disc2Constants, [](SVariationCall& c) {
         // t = π·rot·(x + y), a sum; ρ = w·θ/π; ρ·(sin t + cos twist − 1, cos t + sin twist)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dT = c.k[0] * (x + y), dRho = w * c.in.theta() / dPI;
         c.dX += dRho * (maths::sin(dT) + c.k[2]); c.dY += dRho * (maths::cos(dT) + c.k[1]);
     }},
    {eSuperShape, "super_shape",
     {{{"super_shape_rnd", 0, 0, 1}, {"super_shape_m", 0, 1, 8, true},
       {"super_shape_n1", 1, 0.5, 3}, {"super_shape_n2", 1, 0.5, 3},
       {"super_shape_n3", 1, 0.5, 3}, {"super_shape_holes", 0, 0, 0.3}}},
     [](const double* p, const double*) -> CConstants {  // m/4, −1/n1, 1 − rnd
         return {p[1] / 4, -1 / p[2], 1 - p[0]};
     },
     [](SVariationCall& c) {
         // α = (m/4)φ + π/4, g = |cos α|^n2 + |sin α|^n3; U drawn even where rnd is 0
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dA = c.k[0] * c.in.phi() + dPI / 4;
         const double dG = maths::pow(std::fabs(maths::cos(dA)), c.p[3]) +
                           maths::pow(std::fabs(maths::sin(dA)), c.p[4]);
         const double dR = c.in.r(), dU = c.random.uniform();
         const double dRho =
             w * ((c.p[0] * dU + c.k[2] * dR) - c.p[5]) * maths::pow(dG, c.k[1]) / dR;
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eFlower, "flower", {{{"flower_petals", 0, 2, 8, true}, {"flower_holes", 0, 0, 0.5}}},
     nullptr, [](SVariationCall& c) {  // ρ = w·(U − holes)·cos(petals·φ)/r; ρ·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dU = c.random.uniform();
         const double dRho = w * (dU - c.p[1]) * maths::cos(c.p[0] * c.in.phi()) / c.in.r();
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eConic, "conic", {{{"conic_eccentricity", 1, 0.2, 1}, {"conic_holes", 0, 0, 0.5}}},
     nullptr, [](SVariationCall& c) {  // ρ = w·(U − holes)·e/(1 + e·x/r)/r; ρ·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dCos = x / dR, dE = c.p[0];
         const double dRho = w * (c.random.uniform() - c.p[1]) * dE / (1 + dE * dCos) / dR;
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eParabola, "parabola",
     {{{"parabola_height", 0, 0.5, 1.5}, {"parabola_width", 0, 0.5, 1.5}}},
     nullptr, [](SVariationCall& c) {  // (height·w·sin²r·U1, width·w·cos r·U2)
         const double w = c.w;
         const double dR = c.in.r(), dS = maths::sin(dR), dC = maths::cos(dR);
         const double dU1 = c.random.uniform(), dU2 = c.random.uniform();
         c.dX += c.p[0] * w * (dS * dS) * dU1; c.dY += c.p[1] * w * dC * dU2;
     }},
    {eBent2, "bent2", {{{"bent2_x", 1, -2, 2}, {"bent2_y", 1, -2, 2}}},
     nullptr, [](SVariationCall& c) {  // x times bent2_x where negative, y times bent2_y
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (x < 0 ? c.p[0] * x : x); c.dY += w * (y < 0 ? c.p[1] * y : y);
     }},
    {eBipolar, "bipolar", {{{"bipolar_shift", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants { return {dPI / 2 * p[0]}; },
     [](SVariationCall& c) {
         // v = ½ atan2(2y, r² − 1) − (π/2)·shift, folded into [−π/2, π/2]
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dS = c.in.r2(), dT = dS + 1;
         double dV = 0.5 * maths::atan2(2 * y, dS - 1) - c.k[0];
         if (dV > dPI / 2) dV = -dPI / 2 + std::fmod(dV + dPI / 2, dPI);
         else if (dV < -dPI / 2) dV = dPI / 2 - std::fmod(dPI / 2 - dV, dPI);
         c.dX += w / (2 * dPI) * maths::log((dT + 2 * x) / (dT - 2 * x));
         c.dY += w * (2 / dPI) * dV;
     }},
    {eBoarders, "boarders", {}, nullptr, boarders},
    {eButterfly, "butterfly", {}, nullptr, [](SVariationCall& c) {
         // ρ = w·4/√(3π)·√(|xy|/(ε + x² + 4y²)); ρ·(x, 2y)
         const double x = c.in.x, y = c.in.y;
         const double dW = c.w * dButterflyScale;
         const double dRho =
             dW * std::sqrt(std::fabs(x * y) / (dVariationEpsilon + x * x + 4 * y * y));
         c.dX += dRho * x; c.dY += dRho * 2 * y;
     }},
    {eCell, "cell", {{{"cell_size", 1, 0.2, 1.5}}}, nullptr, [](SVariationCall& c) {
         // each grid cell moved to its interleaved place; note the minus on Y
         const double x = c.in.x, y = c.in.y, w = c.w, dSize = c.p[0];
         const double dI = std::floor(x / dSize), dJ = std::floor(y / dSize);
         const double dDx = x - dI * dSize, dDy = y - dJ * dSize;
         c.dX += w * (dDx + cellInterleaved(dI) * dSize);
         c.dY += -w * (dDy + cellInterleaved(dJ) * dSize);
     }},
    {eCpow, "cpow",
     {{{"cpow_r", 1, 0.5, 2}, {"cpow_i", 0, -0.5, 0.5}, {"cpow_power", 1, 1, 5, true}}},
     [](const double* p, const double*) -> CConstants {  // r/power, i/power, 2π/power
         return {p[0] / p[2], p[1] / p[2], 2 * dPI / p[2]};
     },
     [](SVariationCall& c) {  // z^((cpow_r + i·cpow_i)/power), on branch k = ⌊power·U⌋
         const double w = c.w;
         const double dL = 0.5 * maths::log(c.in.r2()), dPhi = c.in.phi();
         const double dK = std::floor(c.p[2] * c.random.uniform());
         const double dA = c.k[0] * dPhi + c.k[1] * dL + c.k[2] * dK;
         const double dM = w * maths::exp(c.k[0] * dL - c.k[1] * dPhi);
         c.dX += dM * maths::cos(dA); c.dY += dM * maths::sin(dA);
     }},
    {eCurve, "curve",
     {{{"curve_xamp", 0, -1, 1}, {"curve_yamp", 0, -1, 1}, {"curve_xlength", 1, 0.5, 2},
       {"curve_ylength", 1, 0.5, 2}}},
     [](const double* p, const double*) -> CConstants {  // the lengths squared, at least 1e−20
         return {std::max(p[2] * p[2], 1e-20), std::max(p[3] * p[3], 1e-20)};
     },
     [](SVariationCall& c) {  // w·(x + xamp·e^(−y²/lx), y + yamp·e^(−x²/ly))
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (x + c.p[0] * maths::exp(-(y * y) / c.k[0]));
         c.dY += w * (y + c.p[1] * maths::exp(-(x * x) / c.k[1]));
     }},
    {eEdisc, "edisc", {}, nullptr, [](SVariationCall& c) {
         // elliptic coordinates (μ, ν) of the point, drawn back as cosh/sinh times cos/sin
         const double x = c.in.x, y = c.in.y;
         const double dA = c.in.r2() + 1;
         const double dP1 = std::sqrt(dA + 2 * x), dP2 = std::sqrt(dA - 2 * x);
         const double dMu = (dP1 + dP2) / 2;
         const double dA1 = maths::log(dMu + std::sqrt(dMu - 1)), dA2 = -maths::acos(x / dMu);
         const double dS = y > 0 ? -maths::sin(dA1) : maths::sin(dA1);
         const double dW = c.w / 11.57034632;
         c.dX += dW * (maths::cosh(dA2) * maths::cos(dA1)); c.dY += dW * (maths::sinh(dA2) * dS);
     }},
    {eElliptic, "elliptic", {}, nullptr, [](SVariationCall& c) {
         // (atan2(q, √(1 − q²)), ±ln(μ + √(μ − 1))) over π/2, square roots of negatives as 0
         const double x = c.in.x, y = c.in.y;
         const double dA = c.in.r2() + 1;
         const double dMu = 0.5 * (std::sqrt(dA + 2 * x) + std::sqrt(dA - 2 * x));
         const double dQ = x / dMu, dQ2 = 1 - dQ * dQ;
         const double dB = dQ2 < 0 ? 0 : std::sqrt(dQ2);
         const double dS = dMu - 1 < 0 ? 0 : std::sqrt(dMu - 1);
         const double dW = c.w / (dPI / 2), dLog = dW * maths::log(dMu + dS);
         c.dX += dW * maths::atan2(dQ, dB); c.dY += y > 0 ? dLog : -dLog;
     }},
    {eEscher, "escher", {{{"escher_beta", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants {  // ½(1 + cos β), ½ sin β
         return {0.5 * (1 + maths::cos(p[0])), 0.5 * maths::sin(p[0])};
     },
     [](SVariationCall& c) {  // m = w·e^(c·L − d·φ), n = c·φ + d·L; m·(cos n, sin n)
         const double w = c.w;
         const double dL = 0.5 * maths::log(c.in.r2()), dPhi = c.in.phi();
         const double dM = w * maths::exp(c.k[0] * dL - c.k[1] * dPhi);
         const double dN = c.k[0] * dPhi + c.k[1] * dL;
         c.dX += dM * maths::cos(dN); c.dY += dM * maths::sin(dN);
     }},
    {eFoci, "foci", {}, nullptr, [](SVariationCall& c) {
         // e+ = ½eˣ, e− = ¼/e+, k = w/(e+ + e− − cos y); k·(e+ − e−, sin y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dPlus = 0.5 * maths::exp(x), dMinus = 0.25 / dPlus;
         const double dK = w / (dPlus + dMinus - maths::cos(y));
         c.dX += dK * (dPlus - dMinus); c.dY += dK * maths::sin(y);
     }},
    {eLazysusan, "lazysusan",
     {{{"lazysusan_space", 0, -0.5, 0.5}, {"lazysusan_twist", 0, -2, 2},
       {"lazysusan_spin", 0, -2, 2}, {"lazysusan_x", 0, -0.5, 0.5},
       {"lazysusan_y", 0, -0.5, 0.5}}},
     nullptr, lazysusan},
    {eLoonie, "loonie", {}, nullptr, [](SVariationCall& c) {
         // inside the circle of radius w: k = w·√(w²/r² − 1), k·(x, y); outside w·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR2 = c.in.r2(), dW2 = w * w;
         const double dK = dR2 < dW2 ? w * std::sqrt(dW2 / dR2 - 1) : w;
         c.dX += dK * x; c.dY += dK * y;
     }},
};

}  // namespace variation
