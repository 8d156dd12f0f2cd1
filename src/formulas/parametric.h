#pragma once

// The variations flam3 numbers 25 to 48, each with its formula. Read through variations/table.h.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

namespace variation {

// bubble's own z: w·(2/ρ − 1), ρ = r²/4 + 1, the height of the sphere it projects onto.
constexpr auto bubbleZ = [](auto& c) { c.dZ += c.w * (2 / (c.in.r2() / 4 + 1) - 1); };

// cylinder's own z: w·cos x, so that (sin x, cos x) lies on the cylinder's circle.
constexpr auto cylinderZ = [](auto& c) { c.dZ += c.w * maths::cos(c.in.x); };

// julian, juliascope: the root's exponent q/(2p).
constexpr CConstants rootExponent(const double* p, const double*) {
    return {p[1] / (2 * p[0])};
}

constexpr SVariation parametricRows[] = {
    {eFan2, "fan2", {{{"fan2_x", 0, -1, 1}, {"fan2_y", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants {  // τ, τ/2
         const double dTau = dPI * (p[0] * p[0] + dVariationEpsilon);
         return {dTau, dTau / 2};
     },
     [](auto& c) {
         // τ = π(fan2_x² + ε), t = (θ + fan2_y) mod τ toward 0; w·r·(sin α, cos α)
         const double w = c.w, dTau = c.k[0], dHalf = c.k[1];
         const auto dT = c.in.theta(), dU = dT + c.p[1];
         const auto dRest = dU - dTau * maths::trunc(dU / dTau);
         const auto dA = dRest > dHalf ? dT - dHalf : dT + dHalf;
         const auto dR = c.in.r();
         const auto sc = maths::sinCos(dA);
         c.dX += w * dR * sc.dSin; c.dY += w * dR * sc.dCos;
     }},
    {eRings2, "rings2", {{{"rings2_val", 0, 0.1, 1}}},
     [](const double* p, const double*) -> CConstants {  // δ, 2 − δ, 2δ
         const double dD = p[0] * p[0] + dVariationEpsilon;
         return {dD, 2 - dD, 2 * dD};
     },
     [](auto& c) {  // δ = val² + ε, ρ = (2 − δ)r − 2δ·trunc((r + δ)/(2δ)); w·ρ·(sθ, cθ)
         const auto x = c.in.x, y = c.in.y; const double w = c.w, dD = c.k[0];
         const auto dR = c.in.r();
         const auto dRho = c.k[1] * dR - c.k[2] * maths::trunc((dR + dD) / c.k[2]);
         c.dX += w * dRho * (x / dR); c.dY += w * dRho * (y / dR);
     }},
    {eEyefish, "eyefish", {}, nullptr, [](auto& c) {  // 2w/(r + 1)·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dK = 2 * w / (c.in.r() + 1);
         c.dX += dK * x; c.dY += dK * y;
     }, zWeighted},
    {eBubble, "bubble", {}, nullptr, [](auto& c) {  // w/(r²/4 + 1)·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dK = w / ((c.in.r2()) / 4 + 1);
         c.dX += dK * x; c.dY += dK * y;
     }, {eZMade, bubbleZ}},
    {eCylinder, "cylinder", {}, nullptr, [](auto& c) {
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * maths::sin(x); c.dY += w * y;
     }, {eZMade, cylinderZ}},
    {ePerspective, "perspective", {{{"perspective_angle", 0, 0, 1}, {"perspective_dist", 0, 1, 3}}},
     [](const double* p, const double*) -> CConstants {  // sin β, d·cos β
         const double dB = p[0] * dPI / 2;
         return {maths::sin(dB), p[1] * maths::cos(dB)};
     },
     [](auto& c) {  // β = angle·π/2, t = 1/(d − y sin β); w·(d x t, d cos β y t)
         const auto x = c.in.x, y = c.in.y; const double w = c.w, dD = c.p[1];
         const auto dT = 1 / (dD - y * c.k[0]);
         c.dX += w * (dD * x * dT); c.dY += w * (c.k[1] * y * dT);
     }},
    {eNoise, "noise", {}, nullptr, [](auto& c) {
         // ψ = 2πU1, ρ = U2; w·ρ·(x cos ψ, y sin ψ)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dPsi = 2 * dPI * c.random.uniform(), dRho = c.random.uniform();
         const auto sc = maths::sinCos(dPsi);
         c.dX += w * dRho * (x * sc.dCos); c.dY += w * dRho * (y * sc.dSin);
     }, zWeighted},
    {eJulian, "julian", {{{"julian_power", 1, 2, 5, true}, {"julian_dist", 1, 0.5, 1.5}}},
     rootExponent, [](auto& c) {
         // k = trunc(|p|·U), α = (φ + 2πk)/p; w·(r²)^(q/2p)·(cos α, sin α)
         const double w = c.w;
         const auto dK = maths::trunc(maths::fabs(c.p[0]) * c.random.uniform());
         const auto dA = (c.in.phi() + 2 * dPI * dK) / c.p[0];
         const auto dM = w * maths::pow(c.in.r2(), c.k[0]);
         const auto sc = maths::sinCos(dA);
         c.dX += dM * sc.dCos; c.dY += dM * sc.dSin;
     }},
    {eJuliascope, "juliascope",
     {{{"juliascope_power", 1, 2, 5, true}, {"juliascope_dist", 1, 0.5, 1.5}}},
     rootExponent, [](auto& c) {  // as julian, with −φ on the odd branches
         const double w = c.w;
         const auto dK = maths::trunc(maths::fabs(c.p[0]) * c.random.uniform());
         const auto bOdd = maths::oddWhole(dK);
         const auto dA = (2 * dPI * dK + (bOdd ? -c.in.phi() : c.in.phi())) / c.p[0];
         const auto dM = w * maths::pow(c.in.r2(), c.k[0]);
         const auto sc = maths::sinCos(dA);
         c.dX += dM * sc.dCos; c.dY += dM * sc.dSin;
     }},
    {eBlur, "blur", {}, nullptr, [](auto& c) {  // ψ = 2πU1, ρ = U2; w·ρ·(cos ψ, sin ψ)
         const double w = c.w;
         const auto dPsi = 2 * dPI * c.random.uniform(), dRho = c.random.uniform();
         const auto sc = maths::sinCos(dPsi);
         c.dX += w * dRho * sc.dCos; c.dY += w * dRho * sc.dSin;
     }, zWeightedAdditive},
    {eGaussianBlur, "gaussian_blur", {}, nullptr, [](auto& c) {
         // ψ = 2πU1, ρ = w·(U2 + U3 + U4 + U5 − 2); ρ·(cos ψ, sin ψ)
         const double w = c.w;
         const auto dPsi = 2 * dPI * c.random.uniform();
         const auto dRho = w * fourUniformsLessTwo(c.random);
         const auto sc = maths::sinCos(dPsi);
         c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
     }, zWeightedAdditive},
    {eRadialBlur, "radial_blur", {{{"radial_blur_angle", 0, 0, 1}}},
     [](const double* p, const double*) -> CConstants {  // sin β, cos β
         const double dB = p[0] * dPI / 2;
         return {maths::sin(dB), maths::cos(dB)};
     },
     [](auto& c) {  // g = w·(four uniforms − 2); w enters only through g
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dG = w * fourUniformsLessTwo(c.random);
         const auto dA = c.in.phi() + dG * c.k[0], dZ = dG * c.k[1] - 1;
         const auto dR = c.in.r();
         const auto sc = maths::sinCos(dA);
         c.dX += dR * sc.dCos + dZ * x; c.dY += dR * sc.dSin + dZ * y;
     }},
    {ePie, "pie",
     {{{"pie_slices", 6, 3, 10, true}, {"pie_rotation", 0, 0, 2 * dPI},
       {"pie_thickness", 0.5, 0.2, 0.8}}},
     nullptr, [](auto& c) {
         // k = trunc(U1·n + ½), α = rot + 2π(k + U2·thickness)/n, ρ = w·U3
         const double w = c.w;
         const auto dK = maths::trunc(c.random.uniform() * c.p[0] + 0.5);
         const auto dA = c.p[1] + 2 * dPI * (dK + c.random.uniform() * c.p[2]) / c.p[0];
         const auto dRho = w * c.random.uniform();
         const auto sc = maths::sinCos(dA);
         c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
     }, additive},
    {eNgon, "ngon",
     {{{"ngon_sides", 5, 3, 8, true}, {"ngon_power", 3, 1, 4}, {"ngon_circle", 1, 0, 1.5},
       {"ngon_corners", 2, 0, 2}}},
     [](const double* p, const double*) -> CConstants {  // b, b/2, power/2
         const double dB = 2 * dPI / p[0];
         return {dB, dB / 2, p[1] / 2};
     },
     [](auto& c) {  // ψ = φ folded into (−b/2, b/2]; amp over (r²)^(power/2) + ε
         const auto x = c.in.x, y = c.in.y; const double w = c.w, dB = c.k[0];
         const auto dPhi = c.in.phi();
         const auto dFolded = dPhi - dB * maths::floor(dPhi / dB);
         const auto dPsi = dFolded > c.k[1] ? dFolded - dB : dFolded;
         const auto dAmp =
             (c.p[3] * (1 / (maths::cos(dPsi) + dVariationEpsilon) - 1) + c.p[2]) /
             (maths::pow(c.in.r2(), c.k[2]) + dVariationEpsilon);
         c.dX += w * dAmp * x; c.dY += w * dAmp * y;
     }},
    {eCurl, "curl",
     {{{"curl_c1", 1, -1, 1}, {"curl_c2", 0, -0.5, 0.5}}},
     nullptr, [](auto& c) {
         // re = 1 + c1x + c2(x² − y²), im = c1y + 2c2xy, k = w/(re² + im²)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dRe = 1 + c.p[0] * x + c.p[1] * (x * x - y * y);
         const auto dIm = c.p[0] * y + 2 * c.p[1] * x * y;
         const auto dK = w / (dRe * dRe + dIm * dIm);
         c.dX += dK * (x * dRe + y * dIm); c.dY += dK * (y * dRe - x * dIm);
     }},
    {eRectangles, "rectangles",
     {{{"rectangles_x", 1, 0.2, 1}, {"rectangles_y", 1, 0.2, 1}}},
     nullptr, [](auto& c) {
         // w·((2⌊x/rx⌋ + 1)·rx − x), or w·x where rx = 0; y alike
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         if (c.p[0] == 0) c.dX += w * x;
         else c.dX += w * ((2 * maths::floor(x / c.p[0]) + 1) * c.p[0] - x);
         if (c.p[1] == 0) c.dY += w * y;
         else c.dY += w * ((2 * maths::floor(y / c.p[1]) + 1) * c.p[1] - y);
     }},
    {eArch, "arch", {}, nullptr, [](auto& c) {  // α = π·w·U; (w sin α, w sin²α / cos α)
         const double w = c.w;
         const auto dA = dPI * w * c.random.uniform();
         const auto sc = maths::sinCos(dA);
         c.dX += w * sc.dSin; c.dY += w * (sc.dSin * sc.dSin / sc.dCos);
     }, additive},
    {eTangent, "tangent", {}, nullptr, [](auto& c) {  // w·(sin x / cos y, tan y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto scY = maths::sinCos(y);
         c.dX += w * (maths::sin(x) / scY.dCos); c.dY += w * (scY.dSin / scY.dCos);
     }},
    {eSquare, "square", {}, nullptr, [](auto& c) {  // w·(U1 − ½, U2 − ½)
         const double w = c.w;
         const auto dU1 = c.random.uniform(), dU2 = c.random.uniform();
         c.dX += w * (dU1 - 0.5); c.dY += w * (dU2 - 0.5);
     }, additive},
    {eRays, "rays", {}, nullptr, [](auto& c) {
         // α = π·w·U, k = w²·tan α/(r² + ε); (k cos x, k sin y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dA = dPI * w * c.random.uniform();
         const auto dK = w * w * maths::tan(dA) / (c.in.r2() + dVariationEpsilon);
         c.dX += dK * maths::cos(x); c.dY += dK * maths::sin(y);
     }},
    {eBlade, "blade", {}, nullptr, [](auto& c) {
         // ρ = w·r·U; w·x·(cos ρ + sin ρ, cos ρ − sin ρ), x in both
         const auto x = c.in.x; const double w = c.w;
         const auto dRho = w * c.in.r() * c.random.uniform();
         const auto sc = maths::sinCos(dRho);
         c.dX += w * x * (sc.dCos + sc.dSin); c.dY += w * x * (sc.dCos - sc.dSin);
     }},
    {eSecant2, "secant2", {}, nullptr, [](auto& c) {
         // κ = cos(w·r); (w x, w(1/κ + 1)) if κ < 0, else (w x, w(1/κ − 1))
         const auto x = c.in.x; const double w = c.w;
         const auto dK = maths::cos(w * c.in.r());
         c.dX += w * x; c.dY += dK < 0 ? w * (1 / dK + 1) : w * (1 / dK - 1);
     }},
    {eTwintrian, "twintrian", {}, nullptr, [](auto& c) {
         // ρ = w·r·U, D = log10(sin²ρ) + cos ρ, −30 if NaN or huge
         const auto x = c.in.x; const double w = c.w;
         const auto dRho = w * c.in.r() * c.random.uniform();
         const auto sc = maths::sinCos(dRho);
         const auto dLog = maths::log10(sc.dSin * sc.dSin) + sc.dCos;
         const auto dD = maths::isnan(dLog) || maths::fabs(dLog) > 1e10 ? -30.0 : dLog;
         c.dX += w * x * dD; c.dY += w * x * (dD - dPI * sc.dSin);
     }},
    {eCross, "cross", {}, nullptr, [](auto& c) {
         // s = x² − y², k = w·√(1/(s² + ε)); k·(x, y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dS = x * x - y * y, dK = w * maths::sqrt(1 / (dS * dS + dVariationEpsilon));
         c.dX += dK * x; c.dY += dK * y;
     }},
};

}  // namespace variation
