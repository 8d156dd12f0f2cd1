#pragma once

// The variations flam3 numbers 82 to 98, each with its formula: the complex exponential,
// logarithm and trigonometric functions of z = x + iy, auger, flux and mobius. Read through
// variations/table.h. The divisions are not guarded: a pole gives infinity, a bad value.

#include "formulas/formula.h"
#include "formulas/variation_ids.h"

namespace variation {

// flux: the square root of the ratio of the distances to (−w, 0) and (w, 0), turned by half
// the difference of their angles; w is the foci's offset as well as the weight.
inline void flux(SVariationCall& c) {
    const double x = c.in.x, y = c.in.y, w = c.w;
    const double dPlus = x + w, dMinus = x - w, dY2 = y * y;
    const double dToPlus = std::sqrt(dY2 + dPlus * dPlus);
    const double dToMinus = std::sqrt(dY2 + dMinus * dMinus);
    const double dRho = w * (2 + c.p[0]) * std::sqrt(dToPlus / dToMinus);
    const double dA = 0.5 * (maths::atan2(y, dMinus) - maths::atan2(y, dPlus));
    c.dX += dRho * maths::cos(dA); c.dY += dRho * maths::sin(dA);
}

// mobius: w·(a·z + b)/(c·z + d) for the complex a, b, c, d of its parameters, with no ε: the
// all-zero defaults give 0/0, a bad value.
inline void mobius(SVariationCall& c) {
    const double x = c.in.x, y = c.in.y, w = c.w;
    const double* p = c.p;
    const double dNumRe = p[0] * x - p[1] * y + p[2], dNumIm = p[0] * y + p[1] * x + p[3];
    const double dDenRe = p[4] * x - p[5] * y + p[6], dDenIm = p[4] * y + p[5] * x + p[7];
    const double dK = w / (dDenRe * dDenRe + dDenIm * dDenIm);
    c.dX += dK * (dNumRe * dDenRe + dNumIm * dDenIm);
    c.dY += dK * (dNumIm * dDenRe - dNumRe * dDenIm);
}

constexpr SVariation complexRows[] = {
    {eExp, "exp", {}, nullptr, [](SVariationCall& c) {  // w·eˣ·(cos y, sin y)
         const double x = c.in.x, y = c.in.y;
         const double dE = c.w * maths::exp(x);
         c.dX += dE * maths::cos(y); c.dY += dE * maths::sin(y);
     }},
    {eLog, "log", {}, nullptr, [](SVariationCall& c) {  // w·(½ ln r², φ)
         const double w = c.w;
         c.dX += w * (0.5 * maths::log(c.in.r2())); c.dY += w * c.in.phi();
     }},
    {eSin, "sin", {}, nullptr, [](SVariationCall& c) {  // w·(sin x cosh y, cos x sinh y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::sin(x) * maths::cosh(y)); c.dY += w * (maths::cos(x) * maths::sinh(y));
     }},
    {eCos, "cos", {}, nullptr, [](SVariationCall& c) {  // w·(cos x cosh y, −sin x sinh y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::cos(x) * maths::cosh(y));
         c.dY += w * (-maths::sin(x) * maths::sinh(y));
     }},
    {eTan, "tan", {}, nullptr, [](SVariationCall& c) {
         // d = 1/(cos 2x + cosh 2y); w·d·(sin 2x, sinh 2y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (1 / (maths::cos(2 * x) + maths::cosh(2 * y)));
         c.dX += dD * maths::sin(2 * x); c.dY += dD * maths::sinh(2 * y);
     }},
    {eSec, "sec", {}, nullptr, [](SVariationCall& c) {
         // d = 2/(cos 2x + cosh 2y); w·d·(cos x cosh y, sin x sinh y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (2 / (maths::cos(2 * x) + maths::cosh(2 * y)));
         c.dX += dD * (maths::cos(x) * maths::cosh(y));
         c.dY += dD * (maths::sin(x) * maths::sinh(y));
     }},
    {eCsc, "csc", {}, nullptr, [](SVariationCall& c) {
         // d = 2/(cosh 2y − cos 2x); w·d·(sin x cosh y, −cos x sinh y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (2 / (maths::cosh(2 * y) - maths::cos(2 * x)));
         c.dX += dD * (maths::sin(x) * maths::cosh(y));
         c.dY += dD * (-maths::cos(x) * maths::sinh(y));
     }},
    {eCot, "cot", {}, nullptr, [](SVariationCall& c) {
         // d = 1/(cosh 2y − cos 2x); w·d·(sin 2x, −sinh 2y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (1 / (maths::cosh(2 * y) - maths::cos(2 * x)));
         c.dX += dD * maths::sin(2 * x); c.dY += dD * -maths::sinh(2 * y);
     }},
    {eSinh, "sinh", {}, nullptr, [](SVariationCall& c) {  // w·(sinh x cos y, cosh x sin y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::sinh(x) * maths::cos(y)); c.dY += w * (maths::cosh(x) * maths::sin(y));
     }},
    {eCosh, "cosh", {}, nullptr, [](SVariationCall& c) {  // w·(cosh x cos y, sinh x sin y)
         const double x = c.in.x, y = c.in.y, w = c.w;
         c.dX += w * (maths::cosh(x) * maths::cos(y)); c.dY += w * (maths::sinh(x) * maths::sin(y));
     }},
    {eTanh, "tanh", {}, nullptr, [](SVariationCall& c) {
         // d = 1/(cos 2y + cosh 2x); w·d·(sinh 2x, sin 2y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (1 / (maths::cos(2 * y) + maths::cosh(2 * x)));
         c.dX += dD * maths::sinh(2 * x); c.dY += dD * maths::sin(2 * y);
     }},
    {eSech, "sech", {}, nullptr, [](SVariationCall& c) {
         // d = 2/(cos 2y + cosh 2x); w·d·(cos y cosh x, −sin y sinh x)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (2 / (maths::cos(2 * y) + maths::cosh(2 * x)));
         c.dX += dD * (maths::cos(y) * maths::cosh(x));
         c.dY += dD * (-maths::sin(y) * maths::sinh(x));
     }},
    {eCsch, "csch", {}, nullptr, [](SVariationCall& c) {
         // d = 2/(cosh 2x − cos 2y); w·d·(sinh x cos y, −cosh x sin y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (2 / (maths::cosh(2 * x) - maths::cos(2 * y)));
         c.dX += dD * (maths::sinh(x) * maths::cos(y));
         c.dY += dD * (-maths::cosh(x) * maths::sin(y));
     }},
    {eCoth, "coth", {}, nullptr, [](SVariationCall& c) {
         // d = 1/(cosh 2x − cos 2y); w·d·(sinh 2x, sin 2y)
         const double x = c.in.x, y = c.in.y;
         const double dD = c.w * (1 / (maths::cosh(2 * x) - maths::cos(2 * y)));
         c.dX += dD * maths::sinh(2 * x); c.dY += dD * maths::sin(2 * y);
     }},
    {eAuger, "auger",
     {{{"auger_freq", 1, 1, 5}, {"auger_weight", 0.5, 0, 1}, {"auger_sym", 0, 0, 1},
       {"auger_scale", 1, 0.5, 2}}},
     nullptr, [](SVariationCall& c) {
         // each axis waved by the sine of the other's: d = v + aw·(scale·s/2 + |v|·s)
         const double x = c.in.x, y = c.in.y, w = c.w;
         const double dFreq = c.p[0], dAw = c.p[1], dScale = c.p[3];
         const double dS = maths::sin(dFreq * x), dT = maths::sin(dFreq * y);
         const double dDy = y + dAw * (dScale * dS / 2 + std::fabs(y) * dS);
         const double dDx = x + dAw * (dScale * dT / 2 + std::fabs(x) * dT);
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
