#pragma once

// The variations flam3 numbers 0 to 24, each with its formula. Read through variations/table.h.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

namespace variation {

constexpr SVariation classicRows[] = {
    {eLinear, "linear", {}, nullptr, [](auto& c) {
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * x; c.dY += w * y;
     }, zWeighted},
    {eSinusoidal, "sinusoidal", {}, nullptr, [](auto& c) {
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * maths::sin(x); c.dY += w * maths::sin(y);
     }, zWeighted},
    {eSpherical, "spherical", {}, nullptr, [](auto& c) {  // w/(r² + ε)·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dK = w / (c.in.r2() + dVariationEpsilon);
         c.dX += dK * x; c.dY += dK * y;
     }, zWeighted},
    {eSwirl, "swirl", {}, nullptr, [](auto& c) {
         // w·(x sin r² − y cos r², x cos r² + y sin r²)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto sc = maths::sinCos(c.in.r2());
         c.dX += w * (x * sc.dSin - y * sc.dCos); c.dY += w * (x * sc.dCos + y * sc.dSin);
     }, zWeighted},
    {eHorseshoe, "horseshoe", {}, nullptr, [](auto& c) {
         // w/(r + ε)·((x − y)(x + y), 2xy)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dK = w / (c.in.r() + dVariationEpsilon);
         c.dX += dK * ((x - y) * (x + y)); c.dY += dK * (2 * x * y);
     }, zWeighted},
    {ePolar, "polar", {}, nullptr, [](auto& c) {  // w·(θ/π, r − 1)
         const double w = c.w;
         c.dX += w * (c.in.theta() / dPI); c.dY += w * (c.in.r() - 1);
     }, zWeighted},
    {eHandkerchief, "handkerchief", {}, nullptr, [](auto& c) {
         // w·r·(sin(θ + r), cos(θ − r))
         const double w = c.w;
         const auto dR = c.in.r(), dT = c.in.theta();
         c.dX += w * dR * maths::sin(dT + dR); c.dY += w * dR * maths::cos(dT - dR);
     }},
    {eHeart, "heart", {}, nullptr, [](auto& c) {  // w·r·(sin(θ·r), −cos(θ·r))
         const double w = c.w;
         const auto dR = c.in.r(), dA = c.in.theta() * dR;
         const auto sc = maths::sinCos(dA);
         c.dX += w * dR * sc.dSin; c.dY += w * dR * -sc.dCos;
     }},
    {eDisc, "disc", {}, nullptr, [](auto& c) {  // w·(θ/π)·(sin πr, cos πr)
         const double w = c.w;
         const auto dK = w * (c.in.theta() / dPI), dPr = dPI * c.in.r();
         const auto sc = maths::sinCos(dPr);
         c.dX += dK * sc.dSin; c.dY += dK * sc.dCos;
     }, zWeighted},
    {eSpiral, "spiral", {}, nullptr, [](auto& c) {
         // ρ = r + ε, (w/ρ)·(cθ + sin ρ, sθ − cos ρ)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r(), dRho = dR + dVariationEpsilon;
         const auto dK = w / dRho;
         const auto sc = maths::sinCos(dRho);
         c.dX += dK * (y / dR + sc.dSin); c.dY += dK * (x / dR - sc.dCos);
     }, zWeighted},
    {eHyperbolic, "hyperbolic", {}, nullptr, [](auto& c) {  // w·(sθ/(r + ε), cθ·(r + ε))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r(), dRe = dR + dVariationEpsilon;
         c.dX += w * (x / dR / dRe); c.dY += w * (y / dR * dRe);
     }, zWeighted},
    {eDiamond, "diamond", {}, nullptr, [](auto& c) {  // w·(sθ cos r, cθ sin r)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r();
         const auto sc = maths::sinCos(dR);
         c.dX += w * (x / dR * sc.dCos); c.dY += w * (y / dR * sc.dSin);
     }, zWeighted},
    {eEx, "ex", {}, nullptr, [](auto& c) {
         // n0 = sin(θ + r), n1 = cos(θ − r), m = n³·r; w·(m0 + m1, m0 − m1)
         const double w = c.w;
         const auto dR = c.in.r(), dT = c.in.theta();
         const auto dN0 = maths::sin(dT + dR), dN1 = maths::cos(dT - dR);
         const auto dM0 = dN0 * dN0 * dN0 * dR, dM1 = dN1 * dN1 * dN1 * dR;
         c.dX += w * (dM0 + dM1); c.dY += w * (dM0 - dM1);
     }},
    {eJulia, "julia", {}, nullptr, [](auto& c) {
         // α = θ/2, plus π on one random bit; w·√r·(cos α, sin α)
         const double w = c.w;
         const auto dHalf = 0.5 * c.in.theta();
         const auto dA = c.random.bit() ? dHalf + dPI : dHalf;
         const auto dK = w * maths::sqrt(c.in.r());
         const auto sc = maths::sinCos(dA);
         c.dX += dK * sc.dCos; c.dY += dK * sc.dSin;
     }},
    {eBent, "bent", {}, nullptr, [](auto& c) {
         // x doubled where negative, y halved where negative
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x < 0 ? 2 * x : x); c.dY += w * (y < 0 ? y / 2 : y);
     }},
    {eWaves, "waves", {},
     [](const double*, const double* coefs) -> CConstants {  // the two denominators
         return {coefs[4] * coefs[4] + dVariationEpsilon, coefs[5] * coefs[5] + dVariationEpsilon};
     },
     [](auto& c) {  // w·(x + C sin(y/(E² + ε)), y + D sin(x/(F² + ε)))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x + c.coefs[2] * maths::sin(y / c.k[0]));
         c.dY += w * (y + c.coefs[3] * maths::sin(x / c.k[1]));
     }},
    {eFisheye, "fisheye", {}, nullptr, [](auto& c) {
         // 2w/(r + 1)·(y, x), the components swapped
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dK = 2 * w / (c.in.r() + 1);
         c.dX += dK * y; c.dY += dK * x;
     }},
    {ePopcorn, "popcorn", {}, nullptr, [](auto& c) {
         // w·(x + E sin(tan 3y), y + F sin(tan 3x))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x + c.coefs[4] * maths::sin(maths::tan(3 * y)));
         c.dY += w * (y + c.coefs[5] * maths::sin(maths::tan(3 * x)));
     }},
    {eExponential, "exponential", {}, nullptr, [](auto& c) {
         // w·e^(x − 1)·(cos πy, sin πy)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dK = w * maths::exp(x - 1);
         const auto sc = maths::sinCos(dPI * y);
         c.dX += dK * sc.dCos; c.dY += dK * sc.dSin;
     }},
    {ePower, "power", {}, nullptr, [](auto& c) {  // w·r^sθ·(cθ, sθ)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r(), dS = x / dR;
         const auto dK = w * maths::pow(dR, dS);
         c.dX += dK * (y / dR); c.dY += dK * dS;
     }},
    {eCosine, "cosine", {}, nullptr, [](auto& c) {  // w·(cos πx cosh y, −sin πx sinh y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto sc = maths::sinCos(dPI * x);
         c.dX += w * (sc.dCos * maths::cosh(y));
         c.dY += w * (-sc.dSin * maths::sinh(y));
     }},
    {eRings, "rings", {},
     [](const double*, const double* coefs) -> CConstants {  // δ, 2δ
         const double dD = coefs[4] * coefs[4] + dVariationEpsilon;
         return {dD, 2 * dD};
     },
     [](auto& c) {  // δ = E² + ε, ρ = fmod(r + δ, 2δ) − δ + r(1 − δ); w·ρ·(cθ, sθ)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r(); const double dD = c.k[0];
         const auto dRho = maths::fmod(dR + dD, c.k[1]) - dD + dR * (1 - dD);
         c.dX += w * dRho * (y / dR); c.dY += w * dRho * (x / dR);
     }},
    {eFan, "fan", {},
     [](const double*, const double* coefs) -> CConstants {  // τ, τ/2
         const double dTau = dPI * (coefs[4] * coefs[4] + dVariationEpsilon);
         return {dTau, dTau / 2};
     },
     [](auto& c) {
         // τ = π(E² + ε), α = θ ∓ τ/2 as fmod(θ + F, τ) passes τ/2; w·r·(cos, sin)
         const double w = c.w;
         const auto dT = c.in.theta(); const double dTau = c.k[0], dHalf = c.k[1];
         const auto dA = maths::fmod(dT + c.coefs[5], dTau) > dHalf ? dT - dHalf : dT + dHalf;
         const auto dR = c.in.r();
         const auto sc = maths::sinCos(dA);
         c.dX += w * dR * sc.dCos; c.dY += w * dR * sc.dSin;
     }},
    {eBlob, "blob",
     {{{"blob_low", 0, 0.2, 0.7}, {"blob_high", 1, 0.8, 1.2}, {"blob_waves", 1, 2, 7, true}}},
     nullptr, [](auto& c) {
         // ρ = r·(lo + (hi − lo)·(½ + ½ sin(waves·θ))); w·ρ·(sθ, cθ)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r(), dT = c.in.theta();
         const auto dRho =
             dR * (c.p[0] + (c.p[1] - c.p[0]) * (0.5 + 0.5 * maths::sin(c.p[2] * dT)));
         c.dX += w * dRho * (x / dR); c.dY += w * dRho * (y / dR);
     }},
    {ePdj, "pdj",
     {{{"pdj_a", 0, -3, 3}, {"pdj_b", 0, -3, 3}, {"pdj_c", 0, -3, 3}, {"pdj_d", 0, -3, 3}}},
     nullptr, [](auto& c) {
         // w·(sin(a y) − cos(b x), sin(c x) − cos(d y))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (maths::sin(c.p[0] * y) - maths::cos(c.p[1] * x));
         c.dY += w * (maths::sin(c.p[2] * x) - maths::cos(c.p[3] * y));
     }},
};

}  // namespace variation
