#pragma once

// The formulas of the variations, one case per row of the table in variations.cpp, as flam3
// draws them. Included by the iteration only: a switch inlines into the loop, where a table of
// function pointers would cost an indirect call per variation and sample.
//
// (x, y) is the pre-affine output, w the variation's weight, p its parameters (the table says
// how many), coefs its xform's A B C D E F, k what constantsOf works out from them once per
// xform. θ = atan2(x, y) is measured from +y toward +x;
// φ = atan2(y, x) is the usual polar angle; sθ = x/r and cθ = y/r are taken as these ratios.
// Nothing is guarded: r = 0 and the like give NaN or infinity, which the iteration treats as a
// bad value and replaces, as flam3 does. Random numbers are drawn in the order written.

#include "core/angles.h"
#include "variations/batch_random.h"

#include <array>
#include <cmath>

constexpr double dVariationEpsilon = 1e-10;


namespace variation_formulas {

// The pre-affine point and what the variations derive from it, each worked out once on first
// use, as flam3 works them out once per xform: r², r, θ and φ.
class CVariationInput {
public:
    CVariationInput(double x_, double y_) : x(x_), y(y_) {}
    const double x, y;
    double r2() {
        if (!(dR2 >= 0)) dR2 = x * x + y * y;
        return dR2;
    }
    double r() {
        if (!(dR >= 0)) dR = std::sqrt(r2());
        return dR;
    }
    double theta() {
        if (!bTheta) dTheta = std::atan2(x, y), bTheta = true;
        return dTheta;
    }
    double phi() {
        if (!bPhi) dPhi = std::atan2(y, x), bPhi = true;
        return dPhi;
    }

private:
    double dR2 = -1, dR = -1, dTheta = 0, dPhi = 0;
    bool bTheta = false, bPhi = false;
};

// flam3's sums of four uniform numbers, minus 2: a bell over (−2, 2).
inline double fourUniformsLessTwo(CBatchRandom& random) {
    const double dU1 = random.uniform(), dU2 = random.uniform();
    const double dU3 = random.uniform(), dU4 = random.uniform();
    return dU1 + dU2 + dU3 + dU4 - 2;
}

// What a formula takes from its parameters and coefs alone, worked out once per xform instead of
// once per sample: each by the operations the formula wrote in its place, in the same order, so
// that it is the same double.
inline std::array<double, 4> constantsOf(int iVariation, const double* p, const double* coefs) {
    switch (iVariation) {
    case 15:  // waves: the two denominators
        return {coefs[4] * coefs[4] + dVariationEpsilon, coefs[5] * coefs[5] + dVariationEpsilon};
    case 21: {  // rings: δ, 2δ
        const double dD = coefs[4] * coefs[4] + dVariationEpsilon;
        return {dD, 2 * dD};
    }
    case 22: {  // fan: τ, τ/2
        const double dTau = dPI * (coefs[4] * coefs[4] + dVariationEpsilon);
        return {dTau, dTau / 2};
    }
    case 25: {  // fan2: τ, τ/2
        const double dTau = dPI * (p[0] * p[0] + dVariationEpsilon);
        return {dTau, dTau / 2};
    }
    case 26: {  // rings2: δ, 2 − δ, 2δ
        const double dD = p[0] * p[0] + dVariationEpsilon;
        return {dD, 2 - dD, 2 * dD};
    }
    case 30: {  // perspective: sin β, d·cos β
        const double dB = p[0] * dPI / 2;
        return {std::sin(dB), p[1] * std::cos(dB)};
    }
    case 32: case 33:  // julian, juliascope: the root's exponent q/(2p)
        return {p[1] / (2 * p[0])};
    case 36: {  // radial_blur: sin β, cos β
        const double dB = p[0] * dPI / 2;
        return {std::sin(dB), std::cos(dB)};
    }
    case 38: {  // ngon: b, b/2, power/2
        const double dB = 2 * dPI / p[0];
        return {dB, dB / 2, p[1] / 2};
    }
    default: return {};
    }
}

// Rows 0 to 24; the rest in addVariationLate, to keep each function on a screen or two.
inline bool addVariationEarly(int iVariation, double w, CVariationInput& in, const double* p,
                              const double* coefs, const double* k, CBatchRandom& random,
                              double& dX, double& dY) {
    const double x = in.x, y = in.y;
    switch (iVariation) {
    case 0: dX += w * x; dY += w * y; return true;  // linear
    case 1: dX += w * std::sin(x); dY += w * std::sin(y); return true;  // sinusoidal
    case 2: {  // spherical: w/(r² + ε)·(x, y)
        const double dK = w / (in.r2() + dVariationEpsilon);
        dX += dK * x; dY += dK * y; return true;
    }
    case 3: {  // swirl: w·(x sin r² − y cos r², x cos r² + y sin r²)
        const double dR2 = in.r2(), dS = std::sin(dR2), dC = std::cos(dR2);
        dX += w * (x * dS - y * dC); dY += w * (x * dC + y * dS); return true;
    }
    case 4: {  // horseshoe: w/(r + ε)·((x − y)(x + y), 2xy)
        const double dK = w / (in.r() + dVariationEpsilon);
        dX += dK * ((x - y) * (x + y)); dY += dK * (2 * x * y); return true;
    }
    case 5: {  // polar: w·(θ/π, r − 1)
        dX += w * (in.theta() / dPI); dY += w * (in.r() - 1); return true;
    }
    case 6: {  // handkerchief: w·r·(sin(θ + r), cos(θ − r))
        const double dR = in.r(), dT = in.theta();
        dX += w * dR * std::sin(dT + dR); dY += w * dR * std::cos(dT - dR); return true;
    }
    case 7: {  // heart: w·r·(sin(θ·r), −cos(θ·r))
        const double dR = in.r(), dA = in.theta() * dR;
        dX += w * dR * std::sin(dA); dY += w * dR * -std::cos(dA); return true;
    }
    case 8: {  // disc: w·(θ/π)·(sin πr, cos πr)
        const double dK = w * (in.theta() / dPI), dPr = dPI * in.r();
        dX += dK * std::sin(dPr); dY += dK * std::cos(dPr); return true;
    }
    case 9: {  // spiral: ρ = r + ε, (w/ρ)·(cθ + sin ρ, sθ − cos ρ)
        const double dR = in.r(), dRho = dR + dVariationEpsilon;
        const double dK = w / dRho;
        dX += dK * (y / dR + std::sin(dRho)); dY += dK * (x / dR - std::cos(dRho)); return true;
    }
    case 10: {  // hyperbolic: w·(sθ/(r + ε), cθ·(r + ε))
        const double dR = in.r(), dRe = dR + dVariationEpsilon;
        dX += w * (x / dR / dRe); dY += w * (y / dR * dRe); return true;
    }
    case 11: {  // diamond: w·(sθ cos r, cθ sin r)
        const double dR = in.r();
        dX += w * (x / dR * std::cos(dR)); dY += w * (y / dR * std::sin(dR)); return true;
    }
    case 12: {  // ex: n0 = sin(θ + r), n1 = cos(θ − r), m = n³·r; w·(m0 + m1, m0 − m1)
        const double dR = in.r(), dT = in.theta();
        const double dN0 = std::sin(dT + dR), dN1 = std::cos(dT - dR);
        const double dM0 = dN0 * dN0 * dN0 * dR, dM1 = dN1 * dN1 * dN1 * dR;
        dX += w * (dM0 + dM1); dY += w * (dM0 - dM1); return true;
    }
    case 13: {  // julia: α = θ/2, plus π on one random bit; w·√r·(cos α, sin α)
        double dA = 0.5 * in.theta();
        if (random.bit()) dA += dPI;
        const double dK = w * std::sqrt(in.r());
        dX += dK * std::cos(dA); dY += dK * std::sin(dA); return true;
    }
    case 14:  // bent: x doubled where negative, y halved where negative
        dX += w * (x < 0 ? 2 * x : x); dY += w * (y < 0 ? y / 2 : y); return true;
    case 15:  // waves: w·(x + C sin(y/(E² + ε)), y + D sin(x/(F² + ε)))
        dX += w * (x + coefs[2] * std::sin(y / k[0]));
        dY += w * (y + coefs[3] * std::sin(x / k[1]));
        return true;
    case 16: {  // fisheye: 2w/(r + 1)·(y, x), the components swapped
        const double dK = 2 * w / (in.r() + 1);
        dX += dK * y; dY += dK * x; return true;
    }
    case 17:  // popcorn: w·(x + E sin(tan 3y), y + F sin(tan 3x))
        dX += w * (x + coefs[4] * std::sin(std::tan(3 * y)));
        dY += w * (y + coefs[5] * std::sin(std::tan(3 * x))); return true;
    case 18: {  // exponential: w·e^(x − 1)·(cos πy, sin πy)
        const double dK = w * std::exp(x - 1);
        dX += dK * std::cos(dPI * y); dY += dK * std::sin(dPI * y); return true;
    }
    case 19: {  // power: w·r^sθ·(cθ, sθ)
        const double dR = in.r(), dS = x / dR;
        const double dK = w * std::pow(dR, dS);
        dX += dK * (y / dR); dY += dK * dS; return true;
    }
    case 20:  // cosine: w·(cos πx cosh y, −sin πx sinh y)
        dX += w * (std::cos(dPI * x) * std::cosh(y));
        dY += w * (-std::sin(dPI * x) * std::sinh(y)); return true;
    case 21: {  // rings: δ = E² + ε, ρ = fmod(r + δ, 2δ) − δ + r(1 − δ); w·ρ·(cθ, sθ)
        const double dR = in.r(), dD = k[0];
        const double dRho = std::fmod(dR + dD, k[1]) - dD + dR * (1 - dD);
        dX += w * dRho * (y / dR); dY += w * dRho * (x / dR); return true;
    }
    case 22: {  // fan: τ = π(E² + ε), α = θ ∓ τ/2 as fmod(θ + F, τ) passes τ/2; w·r·(cos, sin)
        const double dT = in.theta(), dTau = k[0], dHalf = k[1];
        const double dA = std::fmod(dT + coefs[5], dTau) > dHalf ? dT - dHalf : dT + dHalf;
        const double dR = in.r();
        dX += w * dR * std::cos(dA); dY += w * dR * std::sin(dA); return true;
    }
    case 23: {  // blob: ρ = r·(lo + (hi − lo)·(½ + ½ sin(waves·θ))); w·ρ·(sθ, cθ)
        const double dR = in.r(), dT = in.theta();
        const double dRho = dR * (p[0] + (p[1] - p[0]) * (0.5 + 0.5 * std::sin(p[2] * dT)));
        dX += w * dRho * (x / dR); dY += w * dRho * (y / dR); return true;
    }
    case 24:  // pdj: w·(sin(a y) − cos(b x), sin(c x) − cos(d y))
        dX += w * (std::sin(p[0] * y) - std::cos(p[1] * x));
        dY += w * (std::sin(p[2] * x) - std::cos(p[3] * y)); return true;
    default: return false;
    }
}

// Rows 25 to 36.
inline bool addVariationMiddle(int iVariation, double w, CVariationInput& in, const double* p,
                               const double* k, CBatchRandom& random, double& dX, double& dY) {
    const double x = in.x, y = in.y;
    switch (iVariation) {
    case 25: {  // fan2: τ = π(fan2_x² + ε), t = (θ + fan2_y) mod τ toward 0; w·r·(sin α, cos α)
        const double dT = in.theta(), dTau = k[0], dHalf = k[1], dU = dT + p[1];
        const double dRest = dU - dTau * std::trunc(dU / dTau);
        const double dA = dRest > dHalf ? dT - dHalf : dT + dHalf;
        const double dR = in.r();
        dX += w * dR * std::sin(dA); dY += w * dR * std::cos(dA); return true;
    }
    case 26: {  // rings2: δ = val² + ε, ρ = (2 − δ)r − 2δ·trunc((r + δ)/(2δ)); w·ρ·(sθ, cθ)
        const double dR = in.r(), dD = k[0];
        const double dRho = k[1] * dR - k[2] * std::trunc((dR + dD) / k[2]);
        dX += w * dRho * (x / dR); dY += w * dRho * (y / dR); return true;
    }
    case 27: {  // eyefish: 2w/(r + 1)·(x, y)
        const double dK = 2 * w / (in.r() + 1);
        dX += dK * x; dY += dK * y; return true;
    }
    case 28: {  // bubble: w/(r²/4 + 1)·(x, y)
        const double dK = w / ((in.r2()) / 4 + 1);
        dX += dK * x; dY += dK * y; return true;
    }
    case 29: dX += w * std::sin(x); dY += w * y; return true;  // cylinder
    case 30: {  // perspective: β = angle·π/2, t = 1/(d − y sin β); w·(d x t, d cos β y t)
        const double dD = p[1];
        const double dT = 1 / (dD - y * k[0]);
        dX += w * (dD * x * dT); dY += w * (k[1] * y * dT); return true;
    }
    case 31: {  // noise: ψ = 2πU1, ρ = U2; w·ρ·(x cos ψ, y sin ψ)
        const double dPsi = 2 * dPI * random.uniform(), dRho = random.uniform();
        dX += w * dRho * (x * std::cos(dPsi)); dY += w * dRho * (y * std::sin(dPsi)); return true;
    }
    case 32: {  // julian: k = trunc(|p|·U), α = (φ + 2πk)/p; w·(r²)^(q/2p)·(cos α, sin α)
        const double dK = std::trunc(std::fabs(p[0]) * random.uniform());
        const double dA = (in.phi() + 2 * dPI * dK) / p[0];
        const double dM = w * std::pow(in.r2(), k[0]);
        dX += dM * std::cos(dA); dY += dM * std::sin(dA); return true;
    }
    case 33: {  // juliascope: as julian, with −φ on the odd branches
        const double dK = std::trunc(std::fabs(p[0]) * random.uniform());
        const bool bOdd = std::fmod(dK, 2) != 0;
        const double dA = (2 * dPI * dK + (bOdd ? -in.phi() : in.phi())) / p[0];
        const double dM = w * std::pow(in.r2(), k[0]);
        dX += dM * std::cos(dA); dY += dM * std::sin(dA); return true;
    }
    case 34: {  // blur: ψ = 2πU1, ρ = U2; w·ρ·(cos ψ, sin ψ)
        const double dPsi = 2 * dPI * random.uniform(), dRho = random.uniform();
        dX += w * dRho * std::cos(dPsi); dY += w * dRho * std::sin(dPsi); return true;
    }
    case 35: {  // gaussian_blur: ψ = 2πU1, ρ = w·(U2 + U3 + U4 + U5 − 2); ρ·(cos ψ, sin ψ)
        const double dPsi = 2 * dPI * random.uniform();
        const double dRho = w * fourUniformsLessTwo(random);
        dX += dRho * std::cos(dPsi); dY += dRho * std::sin(dPsi); return true;
    }
    case 36: {  // radial_blur: g = w·(four uniforms − 2); w enters only through g
        const double dG = w * fourUniformsLessTwo(random);
        const double dA = in.phi() + dG * k[0], dZ = dG * k[1] - 1;
        const double dR = in.r();
        dX += dR * std::cos(dA) + dZ * x; dY += dR * std::sin(dA) + dZ * y; return true;
    }
    default: return false;
    }
}

// Rows 37 to 48.
inline void addVariationLate(int iVariation, double w, CVariationInput& in, const double* p,
                             const double* k, CBatchRandom& random, double& dX, double& dY) {
    const double x = in.x, y = in.y;
    switch (iVariation) {
    case 37: {  // pie: k = trunc(U1·n + ½), α = rot + 2π(k + U2·thickness)/n, ρ = w·U3
        const double dK = std::trunc(random.uniform() * p[0] + 0.5);
        const double dA = p[1] + 2 * dPI * (dK + random.uniform() * p[2]) / p[0];
        const double dRho = w * random.uniform();
        dX += dRho * std::cos(dA); dY += dRho * std::sin(dA); return;
    }
    case 38: {  // ngon: ψ = φ folded into (−b/2, b/2]; amp over (r²)^(power/2) + ε
        const double dB = k[0], dPhi = in.phi();
        double dPsi = dPhi - dB * std::floor(dPhi / dB);
        if (dPsi > k[1]) dPsi -= dB;
        const double dAmp = (p[3] * (1 / (std::cos(dPsi) + dVariationEpsilon) - 1) + p[2]) /
                            (std::pow(in.r2(), k[2]) + dVariationEpsilon);
        dX += w * dAmp * x; dY += w * dAmp * y; return;
    }
    case 39: {  // curl: re = 1 + c1x + c2(x² − y²), im = c1y + 2c2xy, k = w/(re² + im²)
        const double dRe = 1 + p[0] * x + p[1] * (x * x - y * y);
        const double dIm = p[0] * y + 2 * p[1] * x * y;
        const double dK = w / (dRe * dRe + dIm * dIm);
        dX += dK * (x * dRe + y * dIm); dY += dK * (y * dRe - x * dIm); return;
    }
    case 40:  // rectangles: w·((2⌊x/rx⌋ + 1)·rx − x), or w·x where rx = 0; y alike
        dX += p[0] == 0 ? w * x : w * ((2 * std::floor(x / p[0]) + 1) * p[0] - x);
        dY += p[1] == 0 ? w * y : w * ((2 * std::floor(y / p[1]) + 1) * p[1] - y);
        return;
    case 41: {  // arch: α = π·w·U; (w sin α, w sin²α / cos α)
        const double dA = dPI * w * random.uniform(), dS = std::sin(dA);
        dX += w * dS; dY += w * (dS * dS / std::cos(dA)); return;
    }
    case 42:  // tangent: w·(sin x / cos y, tan y)
        dX += w * (std::sin(x) / std::cos(y)); dY += w * std::tan(y); return;
    case 43: {  // square: w·(U1 − ½, U2 − ½)
        const double dU1 = random.uniform(), dU2 = random.uniform();
        dX += w * (dU1 - 0.5); dY += w * (dU2 - 0.5); return;
    }
    case 44: {  // rays: α = π·w·U, k = w²·tan α/(r² + ε); (k cos x, k sin y)
        const double dA = dPI * w * random.uniform();
        const double dK = w * w * std::tan(dA) / (in.r2() + dVariationEpsilon);
        dX += dK * std::cos(x); dY += dK * std::sin(y); return;
    }
    case 45: {  // blade: ρ = w·r·U; w·x·(cos ρ + sin ρ, cos ρ − sin ρ), x in both
        const double dRho = w * in.r() * random.uniform();
        const double dC = std::cos(dRho), dS = std::sin(dRho);
        dX += w * x * (dC + dS); dY += w * x * (dC - dS); return;
    }
    case 46: {  // secant2: κ = cos(w·r); (w x, w(1/κ + 1)) if κ < 0, else (w x, w(1/κ − 1))
        const double dK = std::cos(w * in.r());
        dX += w * x; dY += dK < 0 ? w * (1 / dK + 1) : w * (1 / dK - 1); return;
    }
    case 47: {  // twintrian: ρ = w·r·U, D = log10(sin²ρ) + cos ρ, −30 if NaN or huge
        const double dRho = w * in.r() * random.uniform();
        const double dS = std::sin(dRho);
        double dD = std::log10(dS * dS) + std::cos(dRho);
        if (std::isnan(dD) || std::fabs(dD) > 1e10) dD = -30;
        dX += w * x * dD; dY += w * x * (dD - dPI * dS); return;
    }
    case 48: {  // cross: s = x² − y², k = w·√(1/(s² + ε)); k·(x, y)
        const double dS = x * x - y * y, dK = w * std::sqrt(1 / (dS * dS + dVariationEpsilon));
        dX += dK * x; dY += dK * y; return;
    }
    default: return;
    }
}

}  // namespace variation_formulas

// Adds variation iVariation's contribution at in, weight w, to (dX, dY); k from constantsOf.
inline void addVariation(int iVariation, double w, variation_formulas::CVariationInput& in,
                         const double* p, const double* coefs, const double* k,
                         CBatchRandom& random, double& dX, double& dY) {
    using namespace variation_formulas;
    if (iVariation <= 24) {
        addVariationEarly(iVariation, w, in, p, coefs, k, random, dX, dY);
    } else if (!addVariationMiddle(iVariation, w, in, p, k, random, dX, dY)) {
        addVariationLate(iVariation, w, in, p, k, random, dX, dY);
    }
}
