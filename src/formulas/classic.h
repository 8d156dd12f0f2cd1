#pragma once

// The variations flam3 numbers 0 to 24, each with its formula. Read through variations/table.h.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

namespace variation {

constexpr SVariation classicRows[] = {
    {eLinear, "linear", {}, nullptr, [](SVariationCall& c) {
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * x; c.dY += w * y;
     }, zWeighted},
    {eSinusoidal, "sinusoidal", {}, nullptr, [](SVariationCall& c) {
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * maths::sin(x); c.dY += w * maths::sin(y);
     }, zWeighted},
    {eSpherical, "spherical", {}, nullptr, [](SVariationCall& c) {  // w/(r² + ε)·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dK = w / (c.in.r2() + dVariationEpsilon);
         c.dX += dK * x; c.dY += dK * y;
     }, zWeighted},
    {eSwirl, "swirl", {}, nullptr, [](SVariationCall& c) {
         // w·(x sin r² − y cos r², x cos r² + y sin r²)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR2 = c.in.r2(), dS = maths::sin(dR2), dC = maths::cos(dR2);
         c.dX += w * (x * dS - y * dC); c.dY += w * (x * dC + y * dS);
     }, zWeighted},
    {eHorseshoe, "horseshoe", {}, nullptr, [](SVariationCall& c) {
         // w/(r + ε)·((x − y)(x + y), 2xy)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dK = w / (c.in.r() + dVariationEpsilon);
         c.dX += dK * ((x - y) * (x + y)); c.dY += dK * (2 * x * y);
     }, zWeighted},
    {ePolar, "polar", {}, nullptr, [](SVariationCall& c) {  // w·(θ/π, r − 1)
         const double w = c.w;
         c.dX += w * (c.in.theta() / dPI); c.dY += w * (c.in.r() - 1);
     }, zWeighted},
    {eHandkerchief, "handkerchief", {}, nullptr, [](SVariationCall& c) {
         // w·r·(sin(θ + r), cos(θ − r))
         const double w = c.w;
         const double dR = c.in.r(), dT = c.in.theta();
         c.dX += w * dR * maths::sin(dT + dR); c.dY += w * dR * maths::cos(dT - dR);
     }},
    {eHeart, "heart", {}, nullptr, [](SVariationCall& c) {  // w·r·(sin(θ·r), −cos(θ·r))
         const double w = c.w;
         const double dR = c.in.r(), dA = c.in.theta() * dR;
         c.dX += w * dR * maths::sin(dA); c.dY += w * dR * -maths::cos(dA);
     }},
    {eDisc, "disc", {}, nullptr, [](SVariationCall& c) {  // w·(θ/π)·(sin πr, cos πr)
         const double w = c.w;
         const double dK = w * (c.in.theta() / dPI), dPr = dPI * c.in.r();
         c.dX += dK * maths::sin(dPr); c.dY += dK * maths::cos(dPr);
     }, zWeighted},
    {eSpiral, "spiral", {}, nullptr, [](SVariationCall& c) {
         // ρ = r + ε, (w/ρ)·(cθ + sin ρ, sθ − cos ρ)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dRho = dR + dVariationEpsilon;
         const double dK = w / dRho;
         c.dX += dK * (y / dR + maths::sin(dRho)); c.dY += dK * (x / dR - maths::cos(dRho));
     }, zWeighted},
    {eHyperbolic, "hyperbolic", {}, nullptr, [](SVariationCall& c) {  // w·(sθ/(r + ε), cθ·(r + ε))
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dRe = dR + dVariationEpsilon;
         c.dX += w * (x / dR / dRe); c.dY += w * (y / dR * dRe);
     }, zWeighted},
    {eDiamond, "diamond", {}, nullptr, [](SVariationCall& c) {  // w·(sθ cos r, cθ sin r)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r();
         c.dX += w * (x / dR * maths::cos(dR)); c.dY += w * (y / dR * maths::sin(dR));
     }, zWeighted},
    {eEx, "ex", {}, nullptr, [](SVariationCall& c) {
         // n0 = sin(θ + r), n1 = cos(θ − r), m = n³·r; w·(m0 + m1, m0 − m1)
         const double w = c.w;
         const double dR = c.in.r(), dT = c.in.theta();
         const double dN0 = maths::sin(dT + dR), dN1 = maths::cos(dT - dR);
         const double dM0 = dN0 * dN0 * dN0 * dR, dM1 = dN1 * dN1 * dN1 * dR;
         c.dX += w * (dM0 + dM1); c.dY += w * (dM0 - dM1);
     }},
    {eJulia, "julia", {}, nullptr, [](SVariationCall& c) {
         // α = θ/2, plus π on one random bit; w·√r·(cos α, sin α)
         const double w = c.w;
         double dA = 0.5 * c.in.theta();
         if (c.random.bit()) dA += dPI;
         const double dK = w * std::sqrt(c.in.r());
         c.dX += dK * maths::cos(dA); c.dY += dK * maths::sin(dA);
     }},
    {eBent, "bent", {}, nullptr, [](SVariationCall& c) {
         // x doubled where negative, y halved where negative
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (x < 0 ? 2 * x : x); c.dY += w * (y < 0 ? y / 2 : y);
     }},
    {eWaves, "waves", {},
     [](const double*, const double* coefs) -> CConstants {  // the two denominators
         return {coefs[4] * coefs[4] + dVariationEpsilon, coefs[5] * coefs[5] + dVariationEpsilon};
     },
     [](SVariationCall& c) {  // w·(x + C sin(y/(E² + ε)), y + D sin(x/(F² + ε)))
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (x + c.coefs[2] * maths::sin(y / c.k[0]));
         c.dY += w * (y + c.coefs[3] * maths::sin(x / c.k[1]));
     }},
    {eFisheye, "fisheye", {}, nullptr, [](SVariationCall& c) {
         // 2w/(r + 1)·(y, x), the components swapped
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dK = 2 * w / (c.in.r() + 1);
         c.dX += dK * y; c.dY += dK * x;
     }},
    {ePopcorn, "popcorn", {}, nullptr, [](SVariationCall& c) {
         // w·(x + E sin(tan 3y), y + F sin(tan 3x))
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (x + c.coefs[4] * maths::sin(maths::tan(3 * y)));
         c.dY += w * (y + c.coefs[5] * maths::sin(maths::tan(3 * x)));
     }},
    {eExponential, "exponential", {}, nullptr, [](SVariationCall& c) {
         // w·e^(x − 1)·(cos πy, sin πy)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dK = w * maths::exp(x - 1);
         c.dX += dK * maths::cos(dPI * y); c.dY += dK * maths::sin(dPI * y);
     }},
    {ePower, "power", {}, nullptr, [](SVariationCall& c) {  // w·r^sθ·(cθ, sθ)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dS = x / dR;
         const double dK = w * maths::pow(dR, dS);
         c.dX += dK * (y / dR); c.dY += dK * dS;
     }},
    {eCosine, "cosine", {}, nullptr, [](SVariationCall& c) {  // w·(cos πx cosh y, −sin πx sinh y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::cos(dPI * x) * maths::cosh(y));
         c.dY += w * (-maths::sin(dPI * x) * maths::sinh(y));
     }},
    {eRings, "rings", {},
     [](const double*, const double* coefs) -> CConstants {  // δ, 2δ
         const double dD = coefs[4] * coefs[4] + dVariationEpsilon;
         return {dD, 2 * dD};
     },
     [](SVariationCall& c) {  // δ = E² + ε, ρ = fmod(r + δ, 2δ) − δ + r(1 − δ); w·ρ·(cθ, sθ)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dD = c.k[0];
         const double dRho = std::fmod(dR + dD, c.k[1]) - dD + dR * (1 - dD);
         c.dX += w * dRho * (y / dR); c.dY += w * dRho * (x / dR);
     }},
    {eFan, "fan", {},
     [](const double*, const double* coefs) -> CConstants {  // τ, τ/2
         const double dTau = dPI * (coefs[4] * coefs[4] + dVariationEpsilon);
         return {dTau, dTau / 2};
     },
     [](SVariationCall& c) {
         // τ = π(E² + ε), α = θ ∓ τ/2 as fmod(θ + F, τ) passes τ/2; w·r·(cos, sin)
         const double w = c.w;
         const double dT = c.in.theta(), dTau = c.k[0], dHalf = c.k[1];
         const double dA = std::fmod(dT + c.coefs[5], dTau) > dHalf ? dT - dHalf : dT + dHalf;
         const double dR = c.in.r();
         c.dX += w * dR * maths::cos(dA); c.dY += w * dR * maths::sin(dA);
     }},
    {eBlob, "blob",
     {{{"blob_low", 0, 0.2, 0.7}, {"blob_high", 1, 0.8, 1.2}, {"blob_waves", 1, 2, 7, true}}},
     nullptr, [](SVariationCall& c) {
         // ρ = r·(lo + (hi − lo)·(½ + ½ sin(waves·θ))); w·ρ·(sθ, cθ)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dT = c.in.theta();
         const double dRho =
             dR * (c.p[0] + (c.p[1] - c.p[0]) * (0.5 + 0.5 * maths::sin(c.p[2] * dT)));
         c.dX += w * dRho * (x / dR); c.dY += w * dRho * (y / dR);
     }},
    {ePdj, "pdj",
     {{{"pdj_a", 0, -3, 3}, {"pdj_b", 0, -3, 3}, {"pdj_c", 0, -3, 3}, {"pdj_d", 0, -3, 3}}},
     nullptr, [](SVariationCall& c) {
         // w·(sin(a y) − cos(b x), sin(c x) − cos(d y))
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::sin(c.p[0] * y) - maths::cos(c.p[1] * x));
         c.dY += w * (maths::sin(c.p[2] * x) - maths::cos(c.p[3] * y));
     }},
};

}  // namespace variation
