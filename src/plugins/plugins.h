#pragma once

// The editors' plugin variations that shared flames use most, each with its formula: Apophysis's
// Mobius, bwraps, boarders2, sineblur, blur_circle, Juliac, and JWildfire's two symmetries,
// which files use as post_axis_symmetry_wf and post_point_symmetry_wf. Read through
// variations/table.h. Where the editors write a name or a parameter otherwise, the row's aliases
// say so.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

#include <algorithm>
#include <cmath>

namespace variation {

// bwraps, once per xform: g₂ = gain² + 10⁻⁶, the cell's circle's radius², and f = ρ₀/m, from
// ρ₀ = ½·cellsize/(1 + space²) and the lens strength m = g₂·ρ₀ (1 past 2, else m/(m²/4 + 1)).
inline CConstants bwrapsConstants(const double* p, const double*) {
    const double dRadius = 0.5 * p[0] / (1 + p[1] * p[1]);
    const double dGain = p[2] * p[2] + 1e-6;
    double dM = dGain * dRadius;
    dM = dM > 2 ? 1 : dM / (dM * dM / 4 + 1);
    double dR2 = dRadius * dRadius;
    if (dR2 == 0) dR2 = dVariationEpsilon;
    return {dGain, dR2, dRadius / dM};
}

// Each cell of side cellsize holds a bubble about its centre: a point inside it is magnified by
// the lens and twisted, inner twist at the centre to outer twist at the rim; others stay.
constexpr auto bwraps = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double w = c.w, dCell = c.p[0];
    const auto dCx = (maths::floor(x / dCell) + 0.5) * dCell;
    const auto dCy = (maths::floor(y / dCell) + 0.5) * dCell;
    const auto dOffX = x - dCx, dOffY = y - dCy;
    const auto bStays = dCell == 0 || dOffX * dOffX + dOffY * dOffY > c.k[1];
    const auto dGainX = c.k[0] * dOffX, dGainY = c.k[0] * dOffY;
    const auto dLens = (dGainX * dGainX + dGainY * dGainY) / 4 + 1;
    const auto dLx = dGainX * c.k[2] / dLens, dLy = dGainY * c.k[2] / dLens;
    const auto dU = (dLx * dLx + dLy * dLy) / c.k[1];
    const auto dTau = c.p[3] * (1 - dU) + c.p[4] * dU;
    const auto sc = maths::sinCos(dTau);
    c.dX += bStays ? w * x : w * (dCx + sc.dCos * dLx + sc.dSin * dLy);
    c.dY += bStays ? w * y : w * (dCy - sc.dSin * dLx + sc.dCos * dLy);
};

// boarders2, once per xform: c, C_l = c·ℓ and C_r = c + c·ρ, from the parameters' sizes, a 0
// made ε.
inline CConstants boarders2Constants(const double* p, const double*) {
    const auto size = [](double d) { return d == 0 ? dVariationEpsilon : maths::fabs(d); };
    const double dC = size(p[0]), dLeft = size(p[1]), dRight = size(p[2]);
    return {dC, dC * dLeft, dC + dC * dRight};
}

// flam3's boarders with its constants free: each unit cell shrunk by c about its centre (R, the
// nearest whole numbers, halves away from 0), and with chance C_r pushed C_l toward its edge.
constexpr auto boarders2 = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double dLeft = c.k[1];
    const auto dRx = maths::round(x), dRy = maths::round(y);
    const auto dOx = x - dRx, dOy = y - dRy;
    const auto dBx = c.k[0] * dOx + dRx, dBy = c.k[0] * dOy + dRy;
    const auto bPushed = c.random.uniform() < c.k[2];
    const auto bAlongX = maths::fabs(dOx) >= maths::fabs(dOy);
    const auto dSignX = dOx >= 0 ? 1.0 : -1.0, dSignY = dOy >= 0 ? 1.0 : -1.0;
    const auto dPushedX = bAlongX ? dBx + dSignX * dLeft : dBx + dSignY * (dLeft * dOx / dOy);
    const auto dPushedY = bAlongX ? dBy + dSignX * (dLeft * dOy / dOx) : dBy + dSignY * dLeft;
    c.dX += c.w * (bPushed ? dPushedX : dBx); c.dY += c.w * (bPushed ? dPushedY : dBy);
};

// The square [−1, 1]² onto the disc, evenly: the square's ring of half side s onto the circle
// of radius s, its perimeter p (0 to 8s) onto the angle.
constexpr auto blurCircle = [](auto& c) {
    const auto dA = 2 * c.random.uniform() - 1, dB = 2 * c.random.uniform() - 1;
    const auto dAbsA = maths::fabs(dA), dAbsB = maths::fabs(dB);
    const auto bA = dAbsA >= dAbsB;
    const auto dS = bA ? dAbsA : dAbsB;
    const auto dP = bA ? (dA >= dAbsB ? dAbsA + dB : 5 * dAbsA - dB)
                       : (dB >= dAbsA ? 3 * dAbsB - dA : 7 * dAbsB + dA);
    const auto dAlpha = dPI / 4 * dP / dS - dPI / 4, dR = c.w * dS;
    const auto sc = maths::sinCos(dAlpha);
    c.dX += dR * sc.dCos; c.dY += dR * sc.dSin;
};

// JWildfire's axis symmetry, on the coordinate u across the line u = centre_u (v the other of
// its turn): the two sides, one draw apart, w/2 from the line; each then turned about the
// centre, the two sides opposite ways, unless the turn is 0. k: cos a, sin a, whether to turn.
template <class T, class TCall>
inline void mirrorAndTurn(T& u, T& v, double dCu, double dCv, maths::TMaskOf<T> bFirst,
                          const TCall& c) {
    const double dHalf = c.w / 2;
    const T dD = u - dCu;
    u = bFirst ? dCu + dD + dHalf : dCu - dD - dHalf;
    if (c.k[2] == 0) return;
    const T dDu = u - dCu, dDv = v - dCv;
    const double dCos = c.k[0], dSin = c.k[1];
    u = dCu + (bFirst ? dCos * dDu + dSin * dDv : dCos * dDu - dSin * dDv);
    v = dCv + (bFirst ? dCos * dDv - dSin * dDu : dCos * dDv + dSin * dDu);
}

// Axis 0 mirrors x (turned with y), 1 mirrors y (turned with x), 2 mirrors z (turned with x).
constexpr auto axisSymmetry = [](auto& c) {
    auto x = c.in.x, y = c.in.y, z = c.in.z;
    const double* p = c.p;
    const auto bFirst = c.random.uniform() < 0.5;
    if (p[0] == 1) mirrorAndTurn(y, x, p[2], p[1], bFirst, c);
    else if (p[0] == 2) mirrorAndTurn(z, x, p[3], p[1], bFirst, c);
    else mirrorAndTurn(x, y, p[1], p[2], bFirst, c);
    c.dX += x; c.dY += y; c.dZ += z;
};

// Apophysis's Mobius writes its parameters bare, Fractorium's with the variation's name.
constexpr SParameter mobiusParameter(const char* sName, double dDefault, const char* sAlias) {
    return {sName, dDefault, -1, 1, false, sAlias};
}

constexpr SVariation pluginRows[] = {
    // flam3's mobius with the editors' defaults, the identity: w·(a·z + b)/(c·z + d) in complex
    // numbers z = x + iy, 0 under it made ε.
    {eEditorsMobius, "Mobius",
     {{mobiusParameter("Mobius_Re_A", 1, "Re_A"), mobiusParameter("Mobius_Im_A", 0, "Im_A"),
       mobiusParameter("Mobius_Re_B", 0, "Re_B"), mobiusParameter("Mobius_Im_B", 0, "Im_B"),
       mobiusParameter("Mobius_Re_C", 0, "Re_C"), mobiusParameter("Mobius_Im_C", 0, "Im_C"),
       mobiusParameter("Mobius_Re_D", 1, "Re_D"), mobiusParameter("Mobius_Im_D", 0, "Im_D")}},
     nullptr, [](auto& c) {
         const auto x = c.in.x, y = c.in.y; const double* p = c.p;
         const auto dTopRe = p[0] * x - p[1] * y + p[2], dTopIm = p[0] * y + p[1] * x + p[3];
         const auto dLowRe = p[4] * x - p[5] * y + p[6], dLowIm = p[4] * y + p[5] * x + p[7];
         const auto dLow2 = dLowRe * dLowRe + dLowIm * dLowIm;
         const auto dK = c.w / (dLow2 == 0 ? dVariationEpsilon : dLow2);
         c.dX += dK * (dTopRe * dLowRe + dTopIm * dLowIm);
         c.dY += dK * (dTopIm * dLowRe - dTopRe * dLowIm);
     }, zWeighted},
    {eBwraps, "bwraps",
     {{{"bwraps_cellsize", 1, 0.5, 2}, {"bwraps_space", 0, 0, 0.5}, {"bwraps_gain", 1, 0.5, 2},
       {"bwraps_inner_twist", 0, -1, 1}, {"bwraps_outer_twist", 0, -1, 1}}},
     bwrapsConstants, bwraps, zWeighted, {"bwraps7", "bwraps2"}},
    {eBoarders2, "boarders2",
     {{{"boarders2_c", 0.5, 0.2, 0.8}, {"boarders2_left", 0.5, 0.2, 0.8},
       {"boarders2_right", 0.5, 0.2, 0.8}}},
     boarders2Constants, boarders2},
    {eSineblur, "sineblur", {{{"sineblur_power", 1, 0.5, 2}}},
     [](const double* p, const double*) -> CConstants { return {std::max(p[0], 0.0)}; },
     [](auto& c) {
         // ψ = 2πU1, ρ = w·acos(2·U2^power − 1)/π: ρ·(cos ψ, sin ψ), whatever the point
         const auto dPsi = 2 * dPI * c.random.uniform();
         const auto dU = c.random.uniform();
         const auto dRho = c.w * maths::acos(2 * maths::pow(dU, c.k[0]) - 1) / dPI;
         const auto sc = maths::sinCos(dPsi);
         c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
     }, additive},
    {eBlurCircle, "blur_circle", {}, nullptr, blurCircle, zWeightedAdditive},
    // The root of order re (not whole: k a fraction too), with im/100 as its twist.
    {eJuliac, "Juliac",
     {{{"Juliac_re", 2, 2, 5, true}, {"Juliac_im", 1, -2, 2}, {"Juliac_dist", 1, 0.5, 2}}},
     [](const double* p, const double*) -> CConstants { return {p[1] / 100, p[2] / 2}; },
     [](auto& c) {
         // k = a random 32-bit whole number mod re; α = φ + 2πk, L = (dist/2)·ln r²;
         // τ = α/re + L·(im/100), m = e^(L/re − α·(im/100)): w·m·(cos τ, sin τ)
         const double dRe = c.p[0], dIm = c.k[0];
         const auto dK = maths::fmod(c.random.highHalf(), dRe);
         const auto dA = c.in.phi() + 2 * dPI * dK;
         const auto dL = c.k[1] * maths::log(c.in.r2());
         const auto dTau = dA / dRe + dL * dIm, dM = c.w * maths::exp(dL / dRe - dA * dIm);
         const auto sc = maths::sinCos(dTau);
         c.dX += dM * sc.dCos; c.dY += dM * sc.dSin;
     }, {}, {"juliac"}},
    {eAxisSymmetry, "axis_symmetry_wf",
     {{{"axis_symmetry_wf_axis", 0, 0, 2, true}, {"axis_symmetry_wf_centre_x", 0.25, -1, 1},
       {"axis_symmetry_wf_centre_y", 0.5, -1, 1}, {"axis_symmetry_wf_centre_z", 0.5, -1, 1},
       {"axis_symmetry_wf_rotation", 30, -180, 180}}},
     [](const double* p, const double*) -> CConstants {  // cos a, sin a, whether a is not 0
         const double dA = radiansOf(p[4]);
         return {maths::cos(dA), maths::sin(dA), maths::fabs(dA) > dVariationEpsilon ? 1.0 : 0.0};
     },
     axisSymmetry, makesZFromZ},
    // One of order turns about the centre, the point's offset from it scaled by w.
    {ePointSymmetry, "point_symmetry_wf",
     {{{"point_symmetry_wf_centre_x", 0.15, -1, 1}, {"point_symmetry_wf_centre_y", 0.5, -1, 1},
       {"point_symmetry_wf_order", 3, 2, 8, true}}},
     nullptr, [](auto& c) {
         const double dCx = c.p[0], dCy = c.p[1], dOrder = c.p[2];
         const auto dA = 2 * dPI * maths::floor(c.random.uniform() * dOrder) / dOrder;
         const auto dDx = c.w * (c.in.x - dCx), dDy = c.w * (c.in.y - dCy);
         const auto sc = maths::sinCos(dA);
         c.dX += dCx + dDx * sc.dCos + dDy * sc.dSin; c.dY += dCy + dDy * sc.dCos - dDx * sc.dSin;
     }, {}, {"point_symmetry"}},
};

}  // namespace variation
