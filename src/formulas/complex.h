#pragma once

// The variations flam3 numbers 82 to 98, each with its formula: the complex exponential,
// logarithm and trigonometric functions of z = x + iy, auger, flux and mobius. Read through
// variations/table.h. The divisions are not guarded: a pole gives infinity, a bad value.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

#include <algorithm>

namespace variation {

// flux: the square root of the ratio of the distances to (−w, 0) and (w, 0), turned by half
// the difference of their angles; w is the foci's offset as well as the weight.
constexpr auto flux = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double w = c.w;
    const auto dPlus = x + w, dMinus = x - w, dY2 = y * y;
    const auto dToPlus = maths::sqrt(dY2 + dPlus * dPlus);
    const auto dToMinus = maths::sqrt(dY2 + dMinus * dMinus);
    const auto dRho = w * (2 + c.p[0]) * maths::sqrt(dToPlus / dToMinus);
    const auto dA = 0.5 * (maths::atan2(y, dMinus) - maths::atan2(y, dPlus));
    const auto sc = maths::sinCos(dA);
    c.dX += dRho * sc.dCos; c.dY += dRho * sc.dSin;
};

// mobius: w·(a·z + b)/(c·z + d) for the complex a, b, c, d of its parameters, with no ε: the
// all-zero defaults give 0/0, a bad value.
constexpr auto mobius = [](auto& c) {
    const auto x = c.in.x, y = c.in.y; const double w = c.w;
    const double* p = c.p;
    const auto dNumRe = p[0] * x - p[1] * y + p[2], dNumIm = p[0] * y + p[1] * x + p[3];
    const auto dDenRe = p[4] * x - p[5] * y + p[6], dDenIm = p[4] * y + p[5] * x + p[7];
    const auto dK = w / (dDenRe * dDenRe + dDenIm * dDenIm);
    c.dX += dK * (dNumRe * dDenRe + dNumIm * dDenIm);
    c.dY += dK * (dNumIm * dDenRe - dNumRe * dDenIm);
};

constexpr SVariation complexRows[] = {
    {eExp, "exp", {}, nullptr, [](auto& c) {  // w·eˣ·(cos y, sin y)
         const auto x = c.in.x, y = c.in.y;
         const auto dE = c.w * maths::exp(x);
         const auto sc = maths::sinCos(y);
         c.dX += dE * sc.dCos; c.dY += dE * sc.dSin;
     }},
    // Fractorium's log_base b divides the logarithm by ln b, where b is given.
    {eLog, "log", {{laterParameter("log_base", 0)}},
     [](const double* p, const double*) -> CConstants {  // ½/ln b, ½ without b
         return {p[0] == 0 ? 0.5 : 0.5 / maths::log(std::max(p[0], dVariationEpsilon))};
     },
     [](auto& c) {  // w·(½ ln r², φ)
         const double w = c.w;
         c.dX += w * (c.k[0] * maths::log(c.in.r2())); c.dY += w * c.in.phi();
     }, {eZPassed, [](auto& c) {  // Fractorium's, with its base, adds w·z
         if (c.p[0] != 0) c.dZ += c.w * c.in.z;
     }}},
    {eSin, "sin", {}, nullptr, [](auto& c) {  // w·(sin x cosh y, cos x sinh y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto sc = maths::sinCos(x);
         c.dX += w * (sc.dSin * maths::cosh(y)); c.dY += w * (sc.dCos * maths::sinh(y));
     }},
    {eCos, "cos", {}, nullptr, [](auto& c) {  // w·(cos x cosh y, −sin x sinh y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto sc = maths::sinCos(x);
         c.dX += w * (sc.dCos * maths::cosh(y));
         c.dY += w * (-sc.dSin * maths::sinh(y));
     }},
    {eTan, "tan", {}, nullptr, [](auto& c) {
         // d = 1/(cos 2x + cosh 2y); w·d·(sin 2x, sinh 2y)
         const auto x = c.in.x, y = c.in.y;
         const auto sc = maths::sinCos(2 * x);
         const auto dD = c.w * (1 / (sc.dCos + maths::cosh(2 * y)));
         c.dX += dD * sc.dSin; c.dY += dD * maths::sinh(2 * y);
     }},
    {eSec, "sec", {}, nullptr, [](auto& c) {
         // d = 2/(cos 2x + cosh 2y); w·d·(cos x cosh y, sin x sinh y)
         const auto x = c.in.x, y = c.in.y;
         const auto dD = c.w * (2 / (maths::cos(2 * x) + maths::cosh(2 * y)));
         const auto sc = maths::sinCos(x);
         c.dX += dD * (sc.dCos * maths::cosh(y));
         c.dY += dD * (sc.dSin * maths::sinh(y));
     }},
    {eCsc, "csc", {}, nullptr, [](auto& c) {
         // d = 2/(cosh 2y − cos 2x); w·d·(sin x cosh y, −cos x sinh y)
         const auto x = c.in.x, y = c.in.y;
         const auto dD = c.w * (2 / (maths::cosh(2 * y) - maths::cos(2 * x)));
         const auto sc = maths::sinCos(x);
         c.dX += dD * (sc.dSin * maths::cosh(y));
         c.dY += dD * (-sc.dCos * maths::sinh(y));
     }},
    {eCot, "cot", {}, nullptr, [](auto& c) {
         // d = 1/(cosh 2y − cos 2x); w·d·(sin 2x, −sinh 2y)
         const auto x = c.in.x, y = c.in.y;
         const auto sc = maths::sinCos(2 * x);
         const auto dD = c.w * (1 / (maths::cosh(2 * y) - sc.dCos));
         c.dX += dD * sc.dSin; c.dY += dD * -maths::sinh(2 * y);
     }},
    {eSinh, "sinh", {}, nullptr, [](auto& c) {  // w·(sinh x cos y, cosh x sin y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto sc = maths::sinCos(y);
         c.dX += w * (maths::sinh(x) * sc.dCos); c.dY += w * (maths::cosh(x) * sc.dSin);
     }},
    {eCosh, "cosh", {}, nullptr, [](auto& c) {  // w·(cosh x cos y, sinh x sin y)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const auto sc = maths::sinCos(y);
         c.dX += w * (maths::cosh(x) * sc.dCos); c.dY += w * (maths::sinh(x) * sc.dSin);
     }},
    {eTanh, "tanh", {}, nullptr, [](auto& c) {
         // d = 1/(cos 2y + cosh 2x); w·d·(sinh 2x, sin 2y)
         const auto x = c.in.x, y = c.in.y;
         const auto sc = maths::sinCos(2 * y);
         const auto dD = c.w * (1 / (sc.dCos + maths::cosh(2 * x)));
         c.dX += dD * maths::sinh(2 * x); c.dY += dD * sc.dSin;
     }},
    {eSech, "sech", {}, nullptr, [](auto& c) {
         // d = 2/(cos 2y + cosh 2x); w·d·(cos y cosh x, −sin y sinh x)
         const auto x = c.in.x, y = c.in.y;
         const auto dD = c.w * (2 / (maths::cos(2 * y) + maths::cosh(2 * x)));
         const auto sc = maths::sinCos(y);
         c.dX += dD * (sc.dCos * maths::cosh(x));
         c.dY += dD * (-sc.dSin * maths::sinh(x));
     }},
    {eCsch, "csch", {}, nullptr, [](auto& c) {
         // d = 2/(cosh 2x − cos 2y); w·d·(sinh x cos y, −cosh x sin y)
         const auto x = c.in.x, y = c.in.y;
         const auto dD = c.w * (2 / (maths::cosh(2 * x) - maths::cos(2 * y)));
         const auto sc = maths::sinCos(y);
         c.dX += dD * (maths::sinh(x) * sc.dCos);
         c.dY += dD * (-maths::cosh(x) * sc.dSin);
     }},
    {eCoth, "coth", {}, nullptr, [](auto& c) {
         // d = 1/(cosh 2x − cos 2y); w·d·(sinh 2x, sin 2y)
         const auto x = c.in.x, y = c.in.y;
         const auto sc = maths::sinCos(2 * y);
         const auto dD = c.w * (1 / (maths::cosh(2 * x) - sc.dCos));
         c.dX += dD * maths::sinh(2 * x); c.dY += dD * sc.dSin;
     }},
    {eAuger, "auger",
     {{{"auger_freq", 1, 1, 5}, {"auger_weight", 0.5, 0, 1}, {"auger_sym", 0, 0, 1},
       {"auger_scale", 1, 0.5, 2}, laterParameter("auger_half_scale", 0)}},  // scale/2: unused
     nullptr, [](auto& c) {
         // each axis waved by the sine of the other's: d = v + aw·(scale·s/2 + |v|·s)
         const auto x = c.in.x, y = c.in.y; const double w = c.w;
         const double dFreq = c.p[0], dAw = c.p[1], dScale = c.p[3];
         const auto dS = maths::sin(dFreq * x), dT = maths::sin(dFreq * y);
         const auto dDy = y + dAw * (dScale * dS / 2 + maths::fabs(y) * dS);
         const auto dDx = x + dAw * (dScale * dT / 2 + maths::fabs(x) * dT);
         c.dX += w * (x + c.p[2] * (dDx - x)); c.dY += w * dDy;
     }},
    {eFlux, "flux", {{{"flux_spread", 0, 0, 1}}}, nullptr, flux},
    {eMobius, "mobius",
     {{{"mobius_re_a", 0, -1, 1, false, "Re_A"}, {"mobius_im_a", 0, -1, 1, false, "Im_A"},
       {"mobius_re_b", 0, -1, 1, false, "Re_B"}, {"mobius_im_b", 0, -1, 1, false, "Im_B"},
       {"mobius_re_c", 0, -1, 1, false, "Re_C"}, {"mobius_im_c", 0, -1, 1, false, "Im_C"},
       {"mobius_re_d", 0, -1, 1, false, "Re_D"}, {"mobius_im_d", 0, -1, 1, false, "Im_D"}}},
     nullptr, mobius},
};

}  // namespace variation
