// The walks in vector lanes: an xform's map of four points at once, where they are plotted, and
// a group's step through both. Each formula below is its row's formula (formulas/)
// written again over four lanes, operation for operation in the row's order, so that a lane's
// result has the bits the row gives the point alone: the same roundings, sin, cos, atan2, exp
// and pow by maths/lanes.h (the one-value functions' bits), every other function of maths one
// lane at a time. A variation without a lane formula here keeps its flame on the one-point walk.

#include "render/xform_map.h"

#include "core/angles.h"
#include "maths/lanes.h"
#include "render/camera.h"
#include "render/chaos_game.h"

#include <algorithm>
#include <cmath>

using namespace maths::lanes;
using namespace variation;

namespace {

static_assert(SLanePoints::iLanes == iLanes, "a lane point for every lane of the registers");

// The point of each lane, and what its formulas share, worked out once when first asked.
class CLaneInput {
public:
    FLAMES_LANES CLaneInput(V x_, V y_) : x(x_), y(y_) {}
    const V x, y;
    FLAMES_LANES V r2() {
        if (!bR2) dR2 = x * x + y * y, bR2 = true;
        return dR2;
    }
    FLAMES_LANES V r() {
        if (!bR) dR = squareRoot(r2()), bR = true;
        return dR;
    }
    FLAMES_LANES V theta() {
        if (!bTheta) dTheta = maths::lanes::atan2(x, y), bTheta = true;
        return dTheta;
    }
    FLAMES_LANES V phi() {
        if (!bPhi) dPhi = maths::lanes::atan2(y, x), bPhi = true;
        return dPhi;
    }

private:
    V dR2{}, dR{}, dTheta{}, dPhi{};
    bool bR2 = false, bR = false, bTheta = false, bPhi = false;
};

// One formula's call over the lanes: as SVariationCall, the weight the same in every lane.
struct SLaneCall {
    CLaneInput& in;
    CBatchRandom* const* pRandoms;
    const double* coefs;
    V w;
    const double* p;
    const double* k;
    V dX, dY;
};

// A uniform draw of each lane's random numbers.
FLAMES_LANES V uniforms(CBatchRandom* const* pRandoms) {
    V v;
    for (int i = 0; i < iLanes; i++) v[i] = pRandoms[i]->uniform();
    return v;
}

FLAMES_LANES V tangentOf(V x) {
    const SSineCosine sc = sineCosine(x);
    return sc.s / sc.c;
}

// julian and juliascope: k = trunc(|p|·U); α from φ turned by k; w·(r²)^k0·(cos α, sin α).
template <bool bScope>
FLAMES_LANES void julian(SLaneCall& c) {
    const V dK = truncated(all(std::fabs(c.p[0])) * uniforms(c.pRandoms));
    V dPhi = c.in.phi();
    if constexpr (bScope) {
        // −φ on the odd branches. A whole k in [0, 2^52) is odd where the last bit of k + 2^52 is
        // set: no branch on it, which is random. Any other k (a parameter out of all measure)
        // lane by lane, as oddBranch says.
        if (!anyOf(~(dK < all(0x1p52)))) {
            const VBits bOdd = -(asBits(dK + all(0x1p52)) & 1);
            dPhi = chosen(bOdd, -dPhi, dPhi);
        } else {
            for (int i = 0; i < iLanes; i++)
                if (oddBranch(dK[i])) dPhi[i] = -dPhi[i];
        }
    }
    const V dA = (all(2 * dPI) * dK + dPhi) / all(c.p[0]);
    const V dM = c.w * maths::lanes::pow(c.in.r2(), all(c.k[0]));
    const SSineCosine sc = sineCosine(dA);
    c.dX += dM * sc.c;
    c.dY += dM * sc.s;
}

// The variations with a lane formula: each a case of laneFormula below.
constexpr EVariation laneVariations[] = {
    eLinear, eSinusoidal, eSpherical, eSwirl, eHorseshoe, ePolar, eHandkerchief, eHeart, eDisc,
    eSpiral, eHyperbolic, eDiamond, eEx, eJulia, ePopcorn, eExponential, eBlob, eFan2, eEyefish,
    eBubble, eCylinder, eJulian, eJuliascope, eTangent, eSquare};

bool listed(int iVariation, const EVariation* pFirst, const EVariation* pEnd) {
    return std::find(pFirst, pEnd, iVariation) != pEnd;
}

// Variation iVariation's part added to c's sum (one of laneVariations).
FLAMES_LANES void laneFormula(int iVariation, SLaneCall& c) {
    switch (iVariation) {
        case eLinear:
            c.dX += c.w * c.in.x, c.dY += c.w * c.in.y;
            break;
        case eSinusoidal: {
            c.dX += c.w * sineCosine(c.in.x).s;
            c.dY += c.w * sineCosine(c.in.y).s;
            break;
        }
        case eSpherical: {
            const V dK = c.w / (c.in.r2() + all(dVariationEpsilon));
            c.dX += dK * c.in.x, c.dY += dK * c.in.y;
            break;
        }
        case eSwirl: {
            const V x = c.in.x, y = c.in.y;
            const SSineCosine sc = sineCosine(c.in.r2());
            c.dX += c.w * (x * sc.s - y * sc.c);
            c.dY += c.w * (x * sc.c + y * sc.s);
            break;
        }
        case eHorseshoe: {
            const V x = c.in.x, y = c.in.y;
            const V dK = c.w / (c.in.r() + all(dVariationEpsilon));
            c.dX += dK * ((x - y) * (x + y));
            c.dY += dK * (all(2) * x * y);
            break;
        }
        case ePolar: {
            c.dX += c.w * (c.in.theta() / all(dPI));
            c.dY += c.w * (c.in.r() - all(1));
            break;
        }
        case eHandkerchief: {
            const V dR = c.in.r(), dT = c.in.theta();
            c.dX += c.w * dR * sineCosine(dT + dR).s;
            c.dY += c.w * dR * sineCosine(dT - dR).c;
            break;
        }
        case eHeart: {
            const V dR = c.in.r(), dA = c.in.theta() * dR;
            const SSineCosine sc = sineCosine(dA);
            c.dX += c.w * dR * sc.s;
            c.dY += c.w * dR * -sc.c;
            break;
        }
        case eDisc: {
            const V dK = c.w * (c.in.theta() / all(dPI)), dPr = all(dPI) * c.in.r();
            const SSineCosine sc = sineCosine(dPr);
            c.dX += dK * sc.s, c.dY += dK * sc.c;
            break;
        }
        case eSpiral: {
            const V dR = c.in.r(), dRho = dR + all(dVariationEpsilon), dK = c.w / dRho;
            const SSineCosine sc = sineCosine(dRho);
            c.dX += dK * (c.in.y / dR + sc.s);
            c.dY += dK * (c.in.x / dR - sc.c);
            break;
        }
        case eHyperbolic: {
            const V dR = c.in.r(), dRe = dR + all(dVariationEpsilon);
            c.dX += c.w * (c.in.x / dR / dRe);
            c.dY += c.w * (c.in.y / dR * dRe);
            break;
        }
        case eDiamond: {
            const V dR = c.in.r();
            const SSineCosine sc = sineCosine(dR);
            c.dX += c.w * (c.in.x / dR * sc.c);
            c.dY += c.w * (c.in.y / dR * sc.s);
            break;
        }
        case eEx: {
            const V dR = c.in.r(), dT = c.in.theta();
            const V dN0 = sineCosine(dT + dR).s, dN1 = sineCosine(dT - dR).c;
            const V dM0 = dN0 * dN0 * dN0 * dR, dM1 = dN1 * dN1 * dN1 * dR;
            c.dX += c.w * (dM0 + dM1);
            c.dY += c.w * (dM0 - dM1);
            break;
        }
        case eJulia: {
            V dA = all(0.5) * c.in.theta();
            // + π where the lane's random bit is set, chosen without a branch on it.
            VBits bTurned;
            for (int i = 0; i < iLanes; i++) bTurned[i] = c.pRandoms[i]->bit() ? -1 : 0;
            dA = chosen(bTurned, dA + all(dPI), dA);
            const V dK = c.w * squareRoot(c.in.r());
            const SSineCosine sc = sineCosine(dA);
            c.dX += dK * sc.c, c.dY += dK * sc.s;
            break;
        }
        case ePopcorn: {
            const V x = c.in.x, y = c.in.y;
            c.dX += c.w * (x + all(c.coefs[4]) * sineCosine(tangentOf(all(3) * y)).s);
            c.dY += c.w * (y + all(c.coefs[5]) * sineCosine(tangentOf(all(3) * x)).s);
            break;
        }
        case eExponential: {
            const V dK = c.w * maths::lanes::exp(c.in.x - all(1));
            const SSineCosine sc = sineCosine(all(dPI) * c.in.y);
            c.dX += dK * sc.c, c.dY += dK * sc.s;
            break;
        }
        case eBlob: {
            const V dR = c.in.r(), dT = c.in.theta();
            const V dWave = sineCosine(all(c.p[2]) * dT).s;
            const V dRho = dR * (all(c.p[0]) + all(c.p[1] - c.p[0]) *
                                                    (all(0.5) + all(0.5) * dWave));
            c.dX += c.w * dRho * (c.in.x / dR);
            c.dY += c.w * dRho * (c.in.y / dR);
            break;
        }
        case eFan2: {
            const V dT = c.in.theta(), dTau = all(c.k[0]), dHalf = all(c.k[1]);
            const V dU = dT + all(c.p[1]);
            const V dRest = dU - dTau * truncated(dU / dTau);
            const V dA = chosen(dRest > dHalf, dT - dHalf, dT + dHalf);
            const V dR = c.in.r();
            const SSineCosine sc = sineCosine(dA);
            c.dX += c.w * dR * sc.s, c.dY += c.w * dR * sc.c;
            break;
        }
        case eEyefish: {
            const V dK = all(2) * c.w / (c.in.r() + all(1));
            c.dX += dK * c.in.x, c.dY += dK * c.in.y;
            break;
        }
        case eBubble: {
            const V dK = c.w / (c.in.r2() / all(4) + all(1));
            c.dX += dK * c.in.x, c.dY += dK * c.in.y;
            break;
        }
        case eCylinder:
            c.dX += c.w * sineCosine(c.in.x).s, c.dY += c.w * c.in.y;
            break;
        case eJulian:
            julian<false>(c);
            break;
        case eJuliascope:
            julian<true>(c);
            break;
        case eTangent: {
            const SSineCosine scX = sineCosine(c.in.x), scY = sineCosine(c.in.y);
            c.dX += c.w * (scX.s / scY.c);
            c.dY += c.w * (scY.s / scY.c);
            break;
        }
        case eSquare: {
            V dU1, dU2;
            for (int i = 0; i < iLanes; i++) {
                dU1[i] = c.pRandoms[i]->uniform();
                dU2[i] = c.pRandoms[i]->uniform();
            }
            c.dX += c.w * (dU1 - all(0.5));
            c.dY += c.w * (dU2 - all(0.5));
            break;
        }
        default:
            break;
    }
}

// Each lane truncated toward 0, for values that fit an int.
FLAMES_LANES __m128i truncatedToInt(V v) { return _mm256_cvttpd_epi32(v); }

}  // namespace

bool CXformMap::lanesCan() const {
    if (!vPre.empty() || !vPost.empty()) return false;
    return std::all_of(vSum.begin(), vSum.end(), [](const SActive& active) {
        return listed(active.iVariation, std::begin(laneVariations), std::end(laneVariations));
    });
}

[[gnu::target("avx2,fma")]] void CXformMap::applyLanes(SLanePoints& points) const {
    const V c = all(dSpeed * dColor) + all(1 - dSpeed) * points.c;
    const V x = points.x, y = points.y;
    const std::array<double, 6>& a = coefs;
    const V tx = all(a[0]) * x + all(a[2]) * y + all(a[4]);
    const V ty = all(a[1]) * x + all(a[3]) * y + all(a[5]);
    CLaneInput in(tx, ty);
    SLaneCall call{in, points.pRandoms, a.data(), all(0), nullptr, nullptr, all(0), all(0)};
    for (const SActive& active : vSum) {
        call.w = all(active.dWeight);
        call.p = parameters.data() + active.iFirstParameter;
        call.k = active.constants.data();
        laneFormula(active.iVariation, call);
    }
    V dX = call.dX, dY = call.dY;
    if (bPost) {
        const std::array<double, 6>& p = post;
        const V dPostX = all(p[0]) * dX + all(p[2]) * dY + all(p[4]);
        dY = all(p[1]) * dX + all(p[3]) * dY + all(p[5]);
        dX = dPostX;
    }
    points.x = dX, points.y = dY, points.c = c;
}

// bucketOf and the palette entry of plot, step for step, over the lanes.
[[gnu::target("avx2,fma")]] void CCamera::placeLanes(const SLanePoints& points,
                                                     SLanePlaces& places) const {
    V x = points.x, y = points.y;
    places.iBadLanes = anyOf(~(magnitude(x) <= all(1e10)) | ~(magnitude(y) <= all(1e10)));
    if (bRotate) {
        const V dX = x - all(dCenterX), dY = y - all(dCenterY);
        x = all(dCenterX) + (all(dCos) * dX - all(dSin) * dY);
        y = all(dCenterY) + (all(dSin) * dX + all(dCos) * dY);
    }
    const V dColumn = (x - all(dCenterX)) * all(dBucketsPerUnit) + all(dOffsetX);
    const V dRow = (y - all(dCenterY)) * all(dBucketsPerUnit) + all(dOffsetY);
    const VBits bInside = (dColumn >= all(0)) & (dColumn < all(iGridWidth)) &
                          (dRow >= all(0)) & (dRow < all(iGridHeight));
    alignas(16) int iColumn[iLanes], iRow[iLanes], iEntry[iLanes];
    _mm_store_si128(reinterpret_cast<__m128i*>(iColumn),
                    truncatedToInt(chosen(bInside, dColumn, all(0))));
    _mm_store_si128(reinterpret_cast<__m128i*>(iRow),
                    truncatedToInt(chosen(bInside, dRow, all(0))));
    // trunc(256·c): 0 below 0 and for NaN, 255 from 255 on
    const V dIndex = all(256) * points.c;
    const V dAbove = chosen(dIndex > all(0), dIndex, all(0));
    _mm_store_si128(reinterpret_cast<__m128i*>(iEntry),
                    truncatedToInt(chosen(dAbove >= all(255), all(255), dAbove)));
    for (int i = 0; i < iLanes; i++) {
        places.uBucket[i] = static_cast<std::size_t>(iRow[i]) * iGridWidth +
                            static_cast<std::size_t>(iColumn[i]);
        places.iEntry[i] = iEntry[i];
        places.bInside[i] = bInside[i] != 0;
    }
}

// One step of four walks (of walks, by index) that all go to xform j, mapped at once, then
// placed. Flattened: the map and the placing inline, the lanes stay in registers between them.
[[gnu::target("avx2,fma"), gnu::flatten]] void CChaosGame::mapLanes(
    int j, std::optional<SWalk>* walks, const int* pIndexes) const {
    SLanePoints points;
    SWalk* pLanes[iLanes];
    for (int i = 0; i < iLanes; i++) {
        pLanes[i] = &*walks[pIndexes[i]];
        points.pRandoms[i] = &pLanes[i]->random;
    }
    points.x = V{pLanes[0]->x, pLanes[1]->x, pLanes[2]->x, pLanes[3]->x};
    points.y = V{pLanes[0]->y, pLanes[1]->y, pLanes[2]->y, pLanes[3]->y};
    points.c = V{pLanes[0]->c, pLanes[1]->c, pLanes[2]->c, pLanes[3]->c};
    vXforms[j].applyLanes(points);
    if (bPlaceLanes) {
        SLanePlaces places;
        view.placeLanes(points, places);
        if (places.iBadLanes == 0) {
            for (int i = 0; i < iLanes; i++) finishPlaced(*pLanes[i], j, points, places, i);
            return;
        }
    }
    for (int i = 0; i < iLanes; i++)
        finishLane(*pLanes[i], j, points.x[i], points.y[i], points.c[i]);
}

// finishStep for lane i of points, no value bad, placed in lanes: its plot as plot makes it in a
// stepped palette without a final xform. Without branches: the plot is written in the job's next
// place whether it is made or not (that place is free: the walk has samples left), and counted
// only if made.
void CChaosGame::finishPlaced(SWalk& walk, int j, const SLanePoints& points,
                              const SLanePlaces& places, int i) const {
    walk.iBadInARow = 0;
    walk.x = points.x[i], walk.y = points.y[i], walk.c = points.c[i];
    walk.iPrevious = j;
    walk.pPlots[walk.job.iPlots] = {places.uBucket[i], stepAdd(j, places.iEntry[i])};
    walk.job.iPlots +=
        (walk.iDone++ >= 0) & places.bInside[i] & (vXforms[j].dPlotWeight != 0);
}
