#pragma once

// The variations flam3 numbers 67 to 81, each with its formula: pre_blur, and the folds, cuts
// and wedges of the plane. Read through variations/table.h.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

namespace variation {

// modulus, one axis: d wrapped into [−m, m] where it lies outside. With m = 0 every d but 0
// gives fmod(·, 0), NaN, a bad value, as in flam3.
template <class T>
inline T modulusOf(T d, double dM) {
    return d > dM    ? -dM + maths::fmod(d + dM, 2 * dM)
           : d < -dM ? dM - maths::fmod(dM - d, 2 * dM)
                     : d;
}

// separation, one axis: pushed away from the other axis by √(d² + s²), pulled back by inside.
template <class T>
inline T separationOf(T d, double dS2, double dInside, double w) {
    const T dRoot = maths::sqrt(d * d + dS2);
    return d > 0 ? w * (dRoot - d * dInside) : -w * (dRoot + d * dInside);
}

// wedge, wedge_julia, wedge_sph: the angle squeezed by cf = 1 − angle·count/2π and its count
// sectors each turned by angle: a·cf + ⌊(count·a + π)/2π⌋·angle.
template <class T>
inline T wedgeAngle(T dA, double dCount, double dAngle, double dSqueeze) {
    const T dSector = maths::floor((dCount * dA + dPI) / (2 * dPI));
    return dA * dSqueeze + dSector * dAngle;
}

constexpr CConstants wedgeSqueeze(double dAngle, double dCount) {
    return {1 - dAngle * dCount / (2 * dPI)};
}

constexpr SVariation foldRows[] = {
    {ePreBlur, "pre_blur", {}, nullptr, [](auto& c) {
         // g = w·(U1 + U2 + U3 + U4 − 2), ψ = 2πU5: the pre-affine point moves by g·(cos, sin)
         const auto dG = c.w * fourUniformsLessTwo(c.random);
         const auto dPsi = 2 * dPI * c.random.uniform();
         const auto sc = maths::sinCos(dPsi);
         c.dX += dG * sc.dCos; c.dY += dG * sc.dSin;
     }, movesPointFirst},
    {eModulus, "modulus", {{{"modulus_x", 0, 0.2, 1}, {"modulus_y", 0, 0.2, 1}}},
     nullptr, [](auto& c) {
         const double w = c.w;
         c.dX += w * modulusOf(c.in.x, c.p[0]); c.dY += w * modulusOf(c.in.y, c.p[1]);
     }},
    {eOscilloscope, "oscilloscope",
     {{{"oscilloscope_separation", 1, 0.2, 1.5, false, "oscope_separation"},
       {"oscilloscope_frequency", dPI, 0.5, 4, false, "oscope_frequency"},
       {"oscilloscope_amplitude", 1, 0.2, 1.5, false, "oscope_amplitude"},
       {"oscilloscope_damping", 0, 0, 1, false, "oscope_damping"}}},
     [](const double* p, const double*) -> CConstants { return {2 * dPI * p[1]}; },
     [](auto& c) {
         // y mirrored where |y| is under the wave amp·e^(−|x|·damping)·cos(2π·freq·x) + sep
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const double dAmp = c.p[2], dDamping = c.p[3];
         const auto dWave = dDamping == 0
                                ? dAmp * maths::cos(c.k[0] * x) + c.p[0]
                                : dAmp * maths::exp(-maths::fabs(x) * dDamping) *
                                          maths::cos(c.k[0] * x) + c.p[0];
         c.dX += w * x; c.dY += maths::fabs(y) <= dWave ? -w * y : w * y;
     }},
    {ePolar2, "polar2", {}, nullptr, [](auto& c) {  // (w/π·θ, w/2π·ln r²)
         const double w = c.w;
         c.dX += w / dPI * c.in.theta(); c.dY += w / (2 * dPI) * maths::log(c.in.r2());
     }},
    {ePopcorn2, "popcorn2",
     {{{"popcorn2_x", 0, -0.5, 0.5}, {"popcorn2_y", 0, -0.5, 0.5}, {"popcorn2_c", 0, 1, 5}}},
     nullptr, [](auto& c) {  // w·(x + px·sin(tan(c·y)), y + py·sin(tan(c·x)))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x + c.p[0] * maths::sin(maths::tan(c.p[2] * y)));
         c.dY += w * (y + c.p[1] * maths::sin(maths::tan(c.p[2] * x)));
     }},
    {eScry, "scry", {}, nullptr, [](auto& c) {
         // ρ = 1/(r·(r² + 1/(w + ε))); ρ·(x, y), with no w outside
         const auto x = c.in.x, y = c.in.y;
         const auto dRho = 1 / (c.in.r() * (c.in.r2() + 1 / (c.w + dVariationEpsilon)));
         c.dX += dRho * x; c.dY += dRho * y;
     }},
    {eSeparation, "separation",
     {{{"separation_x", 0, 0, 1}, {"separation_xinside", 0, -1, 1}, {"separation_y", 0, 0, 1},
       {"separation_yinside", 0, -1, 1}}},
     [](const double* p, const double*) -> CConstants { return {p[0] * p[0], p[2] * p[2]}; },
     [](auto& c) {
         const double w = c.w;
         c.dX += separationOf(c.in.x, c.k[0], c.p[1], w);
         c.dY += separationOf(c.in.y, c.k[1], c.p[3], w);
     }},
    {eSplit, "split", {{{"split_xsize", 0, 0.2, 1.5}, {"split_ysize", 0, 0.2, 1.5}}},
     nullptr, [](auto& c) {
         // each axis flipped by the sign of a cosine of the other: ysize acts on X, xsize on Y
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += maths::cos(dPI * c.p[1] * y) >= 0 ? w * x : -w * x;
         c.dY += maths::cos(dPI * c.p[0] * x) >= 0 ? w * y : -w * y;
     }},
    // JWildfire's shears move each half-plane along the other axis too.
    {eSplits, "splits",
     {{{"splits_x", 0, -0.5, 0.5}, {"splits_y", 0, -0.5, 0.5}, laterParameter("splits_lshear", 0),
       laterParameter("splits_rshear", 0), laterParameter("splits_ushear", 0),
       laterParameter("splits_dshear", 0)}},
     nullptr, [](auto& c) {  // each half-plane moved away from the axis by s
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += x >= 0 ? w * (x + c.p[0]) : w * (x - c.p[0]);
         c.dY += y >= 0 ? w * (y + c.p[1]) : w * (y - c.p[1]);
         if (c.p[2] == 0 && c.p[3] == 0 && c.p[4] == 0 && c.p[5] == 0) return;
         c.dY += x >= 0 ? w * c.p[3] : -w * c.p[2];
         c.dX += y >= 0 ? w * c.p[4] : -w * c.p[5];
     }},
    {eStripes, "stripes", {{{"stripes_space", 0, 0, 1}, {"stripes_warp", 0, -2, 2}}},
     nullptr, [](auto& c) {  // R = ⌊x + ½⌋, o = x − R; w·(o(1 − space) + R, y + o²·warp)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dRound = maths::floor(x + 0.5), dOff = x - dRound;
         c.dX += w * (dOff * (1 - c.p[0]) + dRound); c.dY += w * (y + dOff * dOff * c.p[1]);
     }},
    {eWedge, "wedge",
     {{{"wedge_angle", 0, 0.1, 1}, {"wedge_hole", 0, -0.5, 0.5}, {"wedge_count", 1, 1, 6, true},
       {"wedge_swirl", 0, -0.5, 0.5}}},
     [](const double* p, const double*) { return wedgeSqueeze(p[0], p[2]); },
     [](auto& c) {  // a = φ + swirl·r, wedged; w·(r + hole)·(cos a′, sin a′)
         const double w = c.w;
         const auto dR = c.in.r(), dA = c.in.phi() + c.p[3] * dR;
         const auto dTurned = wedgeAngle(dA, c.p[2], c.p[0], c.k[0]);
         const auto dRho = w * (dR + c.p[1]);
         const auto sc = maths::sinCos(dTurned);
         c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
     }},
    {eWedgeJulia, "wedge_julia",
     {{{"wedge_julia_angle", 0, 0.1, 1}, {"wedge_julia_count", 1, 1, 6, true},
       {"wedge_julia_power", 1, 2, 6, true}, {"wedge_julia_dist", 0, 0.5, 1.5}}},
     [](const double* p, const double*) -> CConstants {  // cf, |power|, dist/power/2
         return {wedgeSqueeze(p[0], p[1])[0], std::fabs(p[2]), p[3] / p[2] / 2};
     },
     [](auto& c) {  // julian's root on branch k = trunc(|power|·U), then wedged
         const double w = c.w, dPower = c.p[2];
         const auto dRho = w * maths::pow(c.in.r2(), c.k[2]);
         const auto dK = maths::trunc(c.k[1] * c.random.uniform());
         const auto dA = (c.in.phi() + 2 * dPI * dK) / dPower;
         const auto dTurned = wedgeAngle(dA, c.p[1], c.p[0], c.k[0]);
         const auto sc = maths::sinCos(dTurned);
         c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
     }},
    {eWedgeSph, "wedge_sph",
     {{{"wedge_sph_angle", 0, 0.1, 1}, {"wedge_sph_hole", 0, -0.5, 0.5},
       {"wedge_sph_count", 1, 1, 6, true}, {"wedge_sph_swirl", 0, -0.5, 0.5}}},
     [](const double* p, const double*) { return wedgeSqueeze(p[0], p[2]); },
     [](auto& c) {  // wedge of the point's inverse: q = 1/(r + ε) for r
         const double w = c.w;
         const auto dQ = 1 / (c.in.r() + dVariationEpsilon), dA = c.in.phi() + c.p[3] * dQ;
         const auto dTurned = wedgeAngle(dA, c.p[2], c.p[0], c.k[0]);
         const auto dRho = w * (dQ + c.p[1]);
         const auto sc = maths::sinCos(dTurned);
         c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
     }},
    {eWhorl, "whorl", {{{"whorl_inside", 0, -1, 1}, {"whorl_outside", 0, -1, 1}}},
     nullptr, [](auto& c) {
         // turned by inside/(w − r) within the circle of radius w, by outside/(w − r) beyond
         const double w = c.w;
         const auto dR = c.in.r();
         const auto dA = dR < w ? c.in.phi() + c.p[0] / (w - dR)
                                : c.in.phi() + c.p[1] / (w - dR);
         const auto sc = maths::sinCos(dA);
         c.dX += w * dR * sc.dCos; c.dY += w * dR * sc.dSin;
     }},
    // Fractorium's z wave, Z = w·(z + scalez·sin(freqz·r)), where scalez is not 0.
    {eWaves2, "waves2",
     {{{"waves2_scalex", 0, -0.5, 0.5}, {"waves2_scaley", 0, -0.5, 0.5},
       {"waves2_freqx", 0, 1, 5}, {"waves2_freqy", 0, 1, 5}, laterParameter("waves2_freqz", 0),
       laterParameter("waves2_scalez", 0)}},
     nullptr, [](auto& c) {
         // w·(x + scalex·sin(freqx·y), y + scaley·sin(freqy·x))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * (x + c.p[0] * maths::sin(c.p[2] * y));
         c.dY += w * (y + c.p[1] * maths::sin(c.p[3] * x));
     }, {eZPassed, [](auto& c) {
         if (c.p[5] != 0) c.dZ += c.w * (c.in.z + c.p[5] * maths::sin(c.p[4] * c.in.r()));
     }}},
};

}  // namespace variation
