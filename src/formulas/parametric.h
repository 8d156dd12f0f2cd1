#pragma once

// The variations flam3 numbers 25 to 48, each with its formula. Read through variations/table.h.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

namespace variation {

// bubble's own z: w·(2/ρ − 1), ρ = r²/4 + 1, the height of the sphere it projects onto.
inline void bubbleZ(SVariationCall& c) {
    c.dZ += c.w * (2 / (c.in.r2() / 4 + 1) - 1);
}

// cylinder's own z: w·cos x, so that (sin x, cos x) lies on the cylinder's circle.
inline void cylinderZ(SVariationCall& c) { c.dZ += c.w * maths::cos(c.in.x); }

// julian, juliascope: the root's exponent q/(2p).
constexpr CConstants rootExponent(const double* p, const double*) {
    return {p[1] / (2 * p[0])};
}

// Whether juliascope's branch k = trunc(|p|·U) is odd: fmod(k, 2) ≠ 0, which is also true for
// infinite and NaN k. Without the call where k is a whole number below 2^53, the rule for all
// but broken parameters.
inline bool oddBranch(double dK) {
    if (dK >= 0 && dK < 0x1p53) return (static_cast<int64_t>(dK) & 1) != 0;
    return std::fmod(dK, 2) != 0;
}

constexpr SVariation parametricRows[] = {
    {eFan2, "fan2", {{{"fan2_x", 0, -1, 1}, {"fan2_y", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants {  // τ, τ/2
         const double dTau = dPI * (p[0] * p[0] + dVariationEpsilon);
         return {dTau, dTau / 2};
     },
     [](SVariationCall& c) {
         // τ = π(fan2_x² + ε), t = (θ + fan2_y) mod τ toward 0; w·r·(sin α, cos α)
         const double w = c.w;
         const double dT = c.in.theta(), dTau = c.k[0], dHalf = c.k[1], dU = dT + c.p[1];
         const double dRest = dU - dTau * std::trunc(dU / dTau);
         const double dA = dRest > dHalf ? dT - dHalf : dT + dHalf;
         const double dR = c.in.r();
         c.dX += w * dR * maths::sin(dA); c.dY += w * dR * maths::cos(dA);
     }},
    {eRings2, "rings2", {{{"rings2_val", 0, 0.1, 1}}},
     [](const double* p, const double*) -> CConstants {  // δ, 2 − δ, 2δ
         const double dD = p[0] * p[0] + dVariationEpsilon;
         return {dD, 2 - dD, 2 * dD};
     },
     [](SVariationCall& c) {  // δ = val² + ε, ρ = (2 − δ)r − 2δ·trunc((r + δ)/(2δ)); w·ρ·(sθ, cθ)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dR = c.in.r(), dD = c.k[0];
         const double dRho = c.k[1] * dR - c.k[2] * std::trunc((dR + dD) / c.k[2]);
         c.dX += w * dRho * (x / dR); c.dY += w * dRho * (y / dR);
     }},
    {eEyefish, "eyefish", {}, nullptr, [](SVariationCall& c) {  // 2w/(r + 1)·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dK = 2 * w / (c.in.r() + 1);
         c.dX += dK * x; c.dY += dK * y;
     }, zWeighted},
    {eBubble, "bubble", {}, nullptr, [](SVariationCall& c) {  // w/(r²/4 + 1)·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dK = w / ((c.in.r2()) / 4 + 1);
         c.dX += dK * x; c.dY += dK * y;
     }, {eZMade, bubbleZ}},
    {eCylinder, "cylinder", {}, nullptr, [](SVariationCall& c) {
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * maths::sin(x); c.dY += w * y;
     }, {eZMade, cylinderZ}},
    {ePerspective, "perspective", {{{"perspective_angle", 0, 0, 1}, {"perspective_dist", 0, 1, 3}}},
     [](const double* p, const double*) -> CConstants {  // sin β, d·cos β
         const double dB = p[0] * dPI / 2;
         return {maths::sin(dB), p[1] * maths::cos(dB)};
     },
     [](SVariationCall& c) {  // β = angle·π/2, t = 1/(d − y sin β); w·(d x t, d cos β y t)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dD = c.p[1];
         const double dT = 1 / (dD - y * c.k[0]);
         c.dX += w * (dD * x * dT); c.dY += w * (c.k[1] * y * dT);
     }},
    {eNoise, "noise", {}, nullptr, [](SVariationCall& c) {
         // ψ = 2πU1, ρ = U2; w·ρ·(x cos ψ, y sin ψ)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dPsi = 2 * dPI * c.random.uniform(), dRho = c.random.uniform();
         c.dX += w * dRho * (x * maths::cos(dPsi)); c.dY += w * dRho * (y * maths::sin(dPsi));
     }, zWeighted},
    {eJulian, "julian", {{{"julian_power", 1, 2, 5, true}, {"julian_dist", 1, 0.5, 1.5}}},
     rootExponent, [](SVariationCall& c) {
         // k = trunc(|p|·U), α = (φ + 2πk)/p; w·(r²)^(q/2p)·(cos α, sin α)
         const double w = c.w;
         const double dK = std::trunc(std::fabs(c.p[0]) * c.random.uniform());
         const double dA = (c.in.phi() + 2 * dPI * dK) / c.p[0];
         const double dM = w * maths::pow(c.in.r2(), c.k[0]);
         c.dX += dM * maths::cos(dA); c.dY += dM * maths::sin(dA);
     }},
    {eJuliascope, "juliascope",
     {{{"juliascope_power", 1, 2, 5, true}, {"juliascope_dist", 1, 0.5, 1.5}}},
     rootExponent, [](SVariationCall& c) {  // as julian, with −φ on the odd branches
         const double w = c.w;
         const double dK = std::trunc(std::fabs(c.p[0]) * c.random.uniform());
         const bool bOdd = oddBranch(dK);
         const double dA = (2 * dPI * dK + (bOdd ? -c.in.phi() : c.in.phi())) / c.p[0];
         const double dM = w * maths::pow(c.in.r2(), c.k[0]);
         c.dX += dM * maths::cos(dA); c.dY += dM * maths::sin(dA);
     }},
    {eBlur, "blur", {}, nullptr, [](SVariationCall& c) {  // ψ = 2πU1, ρ = U2; w·ρ·(cos ψ, sin ψ)
         const double w = c.w;
         const double dPsi = 2 * dPI * c.random.uniform(), dRho = c.random.uniform();
         c.dX += w * dRho * maths::cos(dPsi); c.dY += w * dRho * maths::sin(dPsi);
     }, zWeightedAdditive},
    {eGaussianBlur, "gaussian_blur", {}, nullptr, [](SVariationCall& c) {
         // ψ = 2πU1, ρ = w·(U2 + U3 + U4 + U5 − 2); ρ·(cos ψ, sin ψ)
         const double w = c.w;
         const double dPsi = 2 * dPI * c.random.uniform();
         const double dRho = w * fourUniformsLessTwo(c.random);
         c.dX += dRho * maths::cos(dPsi); c.dY += dRho * maths::sin(dPsi);
     }, zWeightedAdditive},
    {eRadialBlur, "radial_blur", {{{"radial_blur_angle", 0, 0, 1}}},
     [](const double* p, const double*) -> CConstants {  // sin β, cos β
         const double dB = p[0] * dPI / 2;
         return {maths::sin(dB), maths::cos(dB)};
     },
     [](SVariationCall& c) {  // g = w·(four uniforms − 2); w enters only through g
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dG = w * fourUniformsLessTwo(c.random);
         const double dA = c.in.phi() + dG * c.k[0], dZ = dG * c.k[1] - 1;
         const double dR = c.in.r();
         c.dX += dR * maths::cos(dA) + dZ * x; c.dY += dR * maths::sin(dA) + dZ * y;
     }},
    {ePie, "pie",
     {{{"pie_slices", 6, 3, 10, true}, {"pie_rotation", 0, 0, 2 * dPI},
       {"pie_thickness", 0.5, 0.2, 0.8}}},
     nullptr, [](SVariationCall& c) {
         // k = trunc(U1·n + ½), α = rot + 2π(k + U2·thickness)/n, ρ = w·U3
         const double w = c.w;
         const double dK = std::trunc(c.random.uniform() * c.p[0] + 0.5);
         const double dA = c.p[1] + 2 * dPI * (dK + c.random.uniform() * c.p[2]) / c.p[0];
         const double dRho = w * c.random.uniform();
         c.dX += dRho * maths::cos(dA); c.dY += dRho * maths::sin(dA);
     }, additive},
    {eNgon, "ngon",
     {{{"ngon_sides", 5, 3, 8, true}, {"ngon_power", 3, 1, 4}, {"ngon_circle", 1, 0, 1.5},
       {"ngon_corners", 2, 0, 2}}},
     [](const double* p, const double*) -> CConstants {  // b, b/2, power/2
         const double dB = 2 * dPI / p[0];
         return {dB, dB / 2, p[1] / 2};
     },
     [](SVariationCall& c) {  // ψ = φ folded into (−b/2, b/2]; amp over (r²)^(power/2) + ε
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dB = c.k[0], dPhi = c.in.phi();
         double dPsi = dPhi - dB * std::floor(dPhi / dB);
         if (dPsi > c.k[1]) dPsi -= dB;
         const double dAmp =
             (c.p[3] * (1 / (maths::cos(dPsi) + dVariationEpsilon) - 1) + c.p[2]) /
             (maths::pow(c.in.r2(), c.k[2]) + dVariationEpsilon);
         c.dX += w * dAmp * x; c.dY += w * dAmp * y;
     }},
    {eCurl, "curl",
     {{{"curl_c1", 1, -1, 1}, {"curl_c2", 0, -0.5, 0.5}}},
     nullptr, [](SVariationCall& c) {
         // re = 1 + c1x + c2(x² − y²), im = c1y + 2c2xy, k = w/(re² + im²)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dRe = 1 + c.p[0] * x + c.p[1] * (x * x - y * y);
         const double dIm = c.p[0] * y + 2 * c.p[1] * x * y;
         const double dK = w / (dRe * dRe + dIm * dIm);
         c.dX += dK * (x * dRe + y * dIm); c.dY += dK * (y * dRe - x * dIm);
     }},
    {eRectangles, "rectangles",
     {{{"rectangles_x", 1, 0.2, 1}, {"rectangles_y", 1, 0.2, 1}}},
     nullptr, [](SVariationCall& c) {
         // w·((2⌊x/rx⌋ + 1)·rx − x), or w·x where rx = 0; y alike
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += c.p[0] == 0 ? w * x : w * ((2 * std::floor(x / c.p[0]) + 1) * c.p[0] - x);
         c.dY += c.p[1] == 0 ? w * y : w * ((2 * std::floor(y / c.p[1]) + 1) * c.p[1] - y);
     }},
    {eArch, "arch", {}, nullptr, [](SVariationCall& c) {  // α = π·w·U; (w sin α, w sin²α / cos α)
         const double w = c.w;
         const double dA = dPI * w * c.random.uniform(), dS = maths::sin(dA);
         c.dX += w * dS; c.dY += w * (dS * dS / maths::cos(dA));
     }, additive},
    {eTangent, "tangent", {}, nullptr, [](SVariationCall& c) {  // w·(sin x / cos y, tan y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::sin(x) / maths::cos(y)); c.dY += w * maths::tan(y);
     }},
    {eSquare, "square", {}, nullptr, [](SVariationCall& c) {  // w·(U1 − ½, U2 − ½)
         const double w = c.w;
         const double dU1 = c.random.uniform(), dU2 = c.random.uniform();
         c.dX += w * (dU1 - 0.5); c.dY += w * (dU2 - 0.5);
     }, additive},
    {eRays, "rays", {}, nullptr, [](SVariationCall& c) {
         // α = π·w·U, k = w²·tan α/(r² + ε); (k cos x, k sin y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dA = dPI * w * c.random.uniform();
         const double dK = w * w * maths::tan(dA) / (c.in.r2() + dVariationEpsilon);
         c.dX += dK * maths::cos(x); c.dY += dK * maths::sin(y);
     }},
    {eBlade, "blade", {}, nullptr, [](SVariationCall& c) {
         // ρ = w·r·U; w·x·(cos ρ + sin ρ, cos ρ − sin ρ), x in both
         const double x = c.in.x, w = c.w;
         const double dRho = w * c.in.r() * c.random.uniform();
         const double dC = maths::cos(dRho), dS = maths::sin(dRho);
         c.dX += w * x * (dC + dS); c.dY += w * x * (dC - dS);
     }},
    {eSecant2, "secant2", {}, nullptr, [](SVariationCall& c) {
         // κ = cos(w·r); (w x, w(1/κ + 1)) if κ < 0, else (w x, w(1/κ − 1))
         const double x = c.in.x, w = c.w;
         const double dK = maths::cos(w * c.in.r());
         c.dX += w * x; c.dY += dK < 0 ? w * (1 / dK + 1) : w * (1 / dK - 1);
     }},
    {eTwintrian, "twintrian", {}, nullptr, [](SVariationCall& c) {
         // ρ = w·r·U, D = log10(sin²ρ) + cos ρ, −30 if NaN or huge
         const double x = c.in.x, w = c.w;
         const double dRho = w * c.in.r() * c.random.uniform();
         const double dS = maths::sin(dRho);
         double dD = maths::log10(dS * dS) + maths::cos(dRho);
         if (std::isnan(dD) || std::fabs(dD) > 1e10) dD = -30;
         c.dX += w * x * dD; c.dY += w * x * (dD - dPI * dS);
     }},
    {eCross, "cross", {}, nullptr, [](SVariationCall& c) {
         // s = x² − y², k = w·√(1/(s² + ε)); k·(x, y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dS = x * x - y * y, dK = w * std::sqrt(1 / (dS * dS + dVariationEpsilon));
         c.dX += dK * x; c.dY += dK * y;
     }},
};

}  // namespace variation
