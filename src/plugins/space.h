#pragma once

// The editors' variations of the third dimension, each with its formula: those that make a z of
// their own from (x, y, z), those that move z alone (flatten, zscale, ztranslate, zcone, zblur),
// and the turns about the x and y axes that files use as pre_rotate_x, post_rotate_y and so on.
// Read through variations/table.h. z is the point's own (c.in.z); a "0 made ε" is a denominator
// that would be 0, replaced by ε as the editors replace it.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

#include <cmath>

namespace variation {

// julia3D: N = |power| and the root's exponent (1/power − 1)/2.
inline CConstants julia3DRoot(const double* p, const double*) {
    return {maths::fabs(p[0]), (1 / p[0] - 1) / 2};
}

// julia3Dz: N = |power| and the root's exponent 1/(2·power).
inline CConstants julia3DzRoot(const double* p, const double*) {
    return {maths::fabs(p[0]), 1 / (2 * p[0])};
}

// Their branch k, drawn in [0, N), and its angle (φ + 2πk)/power.
template <class TCall>
inline auto juliaBranchAngle(TCall& c) {
    const auto dK = maths::trunc(c.k[0] * c.random.uniform());
    return (c.in.phi() + 2 * dPI * dK) / c.p[0];
}

constexpr SVariation spaceRows[] = {
    {eLinear3D, "linear3D", {}, nullptr, [](auto& c) {  // w·(x, y, z)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         c.dX += w * x; c.dY += w * y;
     }, zWeighted},
    {eSpherical3D, "spherical3D", {}, nullptr, [](auto& c) {
         // k = w/(r² + z²), 0 made ε; k·(x, y, z)
         const auto x = c.in.x, y = c.in.y, z = c.in.z; const double w = c.w;
         const auto dR2 = c.in.r2() + z * z;
         const auto dK = w / (dR2 == 0 ? dVariationEpsilon : dR2);
         c.dX += dK * x; c.dY += dK * y; c.dZ += dK * z;
     }, makesZFromZ},
    {eBlur3D, "blur3D", {}, nullptr, [](auto& c) {
         // ψ = 2πU1, g = w·(U2 + U3 + U4 + U5 − 2), β = πU6;
         // g·(sin β cos ψ, sin β sin ψ, cos β): a bell of radii in every direction
         const double w = c.w;
         const auto dPsi = 2 * dPI * c.random.uniform();
         const auto dG = w * fourUniformsLessTwo(c.random);
         const auto dBeta = dPI * c.random.uniform();
         const auto scBeta = maths::sinCos(dBeta), scPsi = maths::sinCos(dPsi);
         c.dX += dG * (scBeta.dSin * scPsi.dCos); c.dY += dG * (scBeta.dSin * scPsi.dSin);
         c.dZ += dG * scBeta.dCos;
     }, {eZMade, nullptr, true}},
    {eJulia3D, "julia3D", {{{"julia3D_power", 2, 2, 5, true}}}, julia3DRoot,
     [](auto& c) {
         // ζ = z/N, R = w·(r² + ζ²)^((1/power − 1)/2); (R·r·cos α, R·r·sin α, R·ζ)
         const auto dZeta = c.in.z / c.k[0];
         const auto dR = c.w * maths::pow(c.in.r2() + dZeta * dZeta, c.k[1]);
         const auto dA = juliaBranchAngle(c), dRr = dR * c.in.r();
         const auto sc = maths::sinCos(dA);
         c.dX += dRr * sc.dCos; c.dY += dRr * sc.dSin; c.dZ += dR * dZeta;
     }, makesZFromZ},
    {eJulia3Dz, "julia3Dz", {{{"julia3Dz_power", 2, 2, 5, true}}}, julia3DzRoot,
     [](auto& c) {
         // R = w·(r²)^(1/(2·power)); (R cos α, R sin α, R·z/(r·N)), r·N = 0 made ε
         const auto dR = c.w * maths::pow(c.in.r2(), c.k[1]);
         const auto dA = juliaBranchAngle(c);
         const auto dRN = c.in.r() * c.k[0];
         const auto sc = maths::sinCos(dA);
         c.dX += dR * sc.dCos; c.dY += dR * sc.dSin;
         c.dZ += dR * c.in.z / (dRN == 0 ? dVariationEpsilon : dRN);
     }, makesZ},
    {eHemisphere, "hemisphere", {}, nullptr, [](auto& c) {
         // k = w/√(r² + 1); (k·x, k·y, k)
         const auto dK = c.w / maths::sqrt(c.in.r2() + 1);
         c.dX += dK * c.in.x; c.dY += dK * c.in.y; c.dZ += dK;
     }, makesZ},
    {eCurl3D, "curl3D",
     {{{"curl3D_cx", 0, -0.5, 0.5}, {"curl3D_cy", 0, -0.5, 0.5}, {"curl3D_cz", 0, -0.5, 0.5}}},
     [](const double* p, const double*) -> CConstants {  // cx² + cy² + cz², 2cx, 2cy, 2cz
         return {p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 2 * p[0], 2 * p[1], 2 * p[2]};
     },
     [](auto& c) {
         // s = r² + z², q = w/(s·Σc² + 2cx·x − 2cy·y + 2cz·z + 1), 0 made ε;
         // q·(x + cx·s, y − cy·s, z + cz·s): note cy's signs
         const auto x = c.in.x, y = c.in.y, z = c.in.z;
         const auto dS = c.in.r2() + z * z;
         const auto dD = dS * c.k[0] + c.k[1] * x - c.k[2] * y + c.k[3] * z + 1;
         const auto dQ = c.w / (dD == 0 ? dVariationEpsilon : dD);
         c.dX += dQ * (x + c.p[0] * dS); c.dY += dQ * (y - c.p[1] * dS);
         c.dZ += dQ * (z + c.p[2] * dS);
     }, makesZFromZ},
    {eBlob3D, "blob3D",
     {{{"blob3D_low", 0, 0.2, 0.7}, {"blob3D_high", 1, 0.8, 1.2}, {"blob3D_waves", 1, 2, 7, true}}},
     nullptr, [](auto& c) {
         // ρ = r·(lo + (hi − lo)·(½ + ½ sin(waves·θ))); w·ρ·(x/r, y/r, sin(waves·θ))
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto dR = c.in.r(), dS = maths::sin(c.p[2] * c.in.theta());
         const auto dRho = dR * (c.p[0] + (c.p[1] - c.p[0]) * (0.5 + 0.5 * dS));
         c.dX += w * dRho * (x / dR); c.dY += w * dRho * (y / dR); c.dZ += w * dRho * dS;
     }, makesZ},
    // Z = 0 once the others are summed; its weight only turns it on.
    {eFlatten, "flatten", {}, nullptr, [](auto&) {},
     {eZOnly, nullptr, false, false, true}},
    {eZscale, "zscale", {}, nullptr, [](auto& c) { c.dZ += c.w * c.in.z; }, {eZOnly}},
    {eZtranslate, "ztranslate", {}, nullptr, [](auto& c) { c.dZ += c.w; },
     {eZOnly, nullptr, true}},
    {eZcone, "zcone", {}, nullptr, [](auto& c) { c.dZ += c.w * c.in.r(); }, {eZOnly}},
    {eZblur, "zblur", {}, nullptr, [](auto& c) {
         c.dZ += c.w * fourUniformsLessTwo(c.random);
     }, {eZOnly, nullptr, true}},
    // The weight is the turn, in quarter turns: β = w·π/2.
    {eRotateX, "rotate_x", {}, nullptr, [](auto& c) {
         // (x, sin β·z + cos β·y, cos β·z − sin β·y)
         const auto x = c.in.x, y = c.in.y, z = c.in.z;
         const double dB = c.w * dPI / 2, dS = maths::sin(dB), dC = maths::cos(dB);
         c.dX += x; c.dY += dS * z + dC * y; c.dZ += dC * z - dS * y;
     }, makesZFromZ},
    {eRotateY, "rotate_y", {}, nullptr, [](auto& c) {
         // (cos β·x − sin β·z, y, sin β·x + cos β·z)
         const auto x = c.in.x, y = c.in.y, z = c.in.z;
         const double dB = c.w * dPI / 2, dS = maths::sin(dB), dC = maths::cos(dB);
         c.dX += dC * x - dS * z; c.dY += y; c.dZ += dS * x + dC * z;
     }, makesZFromZ},
};

}  // namespace variation
