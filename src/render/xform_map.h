#pragma once

// An xform made ready for the chaos game, and its map of a point: colour blend, pre-affine, the
// pre_ forms in the file's order, the variations summed in the table's order, the post_ forms in
// the file's order, post-affine.
//
// With bZ the point carries the editors' z: the affines pass it through, each variation adds its
// part of Z as its row says, and each form keeps or replaces it as its row says
// (formulas/formula.h). Without, nothing of z is worked out and the variations that move z
// alone are left out: a flame whose picture no z reaches is drawn as before there was z, bit for
// bit and as fast.

#include "genome/genome.h"
#include "render/lane_points.h"
#include "variations/table.h"

#include <array>
#include <vector>

class CXformMap {
public:
    CXformMap() = default;
    // bPlotted false: soloxform silences it; bZ: the flame's points carry z.
    CXformMap(const SXform& xform, bool bPlotted, bool bZ);

    template <bool bZ>
    void apply(double& x, double& y, double& z, double& c, CBatchRandom& random) const {
        if (!bZ && bLinearAlone) return applyLinear(x, y, c);
        applyVariations<bZ>(x, y, z, c, random);
    }

    // The map of each lane's point exactly as apply<false> maps it alone, four at a time, on
    // processors with AVX2 and fused multiply-add (render/lanes.cpp). Only where lanesCan(): no
    // pre_ or post_ forms, and a lane formula for every variation.
    bool lanesCan() const;
    void applyLanes(SLanePoints& points) const;

    double dPlotWeight = 0;  // opacity^(log2 10); the final xform's: unused
    double dOpacity = 1;     // the final xform's chance of being applied

private:
    struct SActive {         // one use of a variation
        int        iVariation;
        double     dWeight;
        int        iFirstParameter;  // in parameters
        CConstants constants;        // its formula's, from the parameters and coefs
        bool       bKeepXY, bKeepZ;  // a form's sum starts from the point's x and y, its z; or 0
    };
    void add(int iVariation, EVariationForm eForm, double dWeight, int iFirst, bool bZ);
    template <bool bZ>
    void applyVariations(double& x, double& y, double& z, double& c, CBatchRandom& random) const;
    void applyLinear(double& x, double& y, double& c) const;
    void postAffine(double dX, double dY, double& x, double& y) const;
    template <bool bZ>
    void applyForms(const std::vector<SActive>& vForms, double& x, double& y, double& z,
                    CBatchRandom& random) const;

    std::array<double, 6> coefs{}, post{};
    bool   bPost = false;     // post is not the identity
    double dColor = 0, dSpeed = 0;
    std::vector<double> parameters;  // the plain variations' (the xform's array), then the uses'
    std::vector<SActive> vPre, vSum, vPost;
    // linear its one variation, without forms: a symmetry's xforms, and many others. Mapped
    // inline where the point carries no z, without the formulas' dispatch, which costs more
    // than the map.
    bool bLinearAlone = false;
};

// Whether the xform's X or Y can depend on z: one of its variations reads it.
bool readsZ(const SXform& xform);

// Each form in turn: its formula's sum, begun from the point or from 0, becomes the point.
template <bool bZ>
inline void CXformMap::applyForms(const std::vector<SActive>& vForms, double& x, double& y,
                                  double& z, CBatchRandom& random) const {
    for (const SActive& form : vForms) {
        CVariationInput in(x, y, bZ ? z : 0.0);
        SVariationCall call{in, random, coefs.data(), form.dWeight,
                            parameters.data() + form.iFirstParameter, form.constants.data(),
                            form.bKeepXY ? x : 0, form.bKeepXY ? y : 0, form.bKeepZ ? z : 0};
        variation::callFormula<bZ>(form.iVariation, call);
        x = call.dX, y = call.dY, z = call.dZ;
    }
}

// The sum (dX, dY) through the post-affine, into (x, y).
inline void CXformMap::postAffine(double dX, double dY, double& x, double& y) const {
    if (bPost) {
        const std::array<double, 6>& p = post;
        x = p[0] * dX + p[2] * dY + p[4];
        y = p[1] * dX + p[3] * dY + p[5];
    } else {
        x = dX;
        y = dY;
    }
}

// applyVariations' map for linear alone, operation for operation: the sum begins at 0.
inline void CXformMap::applyLinear(double& x, double& y, double& c) const {
    c = dSpeed * dColor + (1 - dSpeed) * c;
    const std::array<double, 6>& a = coefs;
    const double tx = a[0] * x + a[2] * y + a[4];
    const double ty = a[1] * x + a[3] * y + a[5];
    const double w = vSum[0].dWeight;
    const double dX = 0.0 + w * tx, dY = 0.0 + w * ty;
    postAffine(dX, dY, x, y);
}

// Flattened: with every formula a branch of callFormula the compiler's inlining budget runs out
// before all are inlined, and a formula left as a call costs several percent.
template <bool bZ>
[[gnu::flatten]] inline void CXformMap::applyVariations(double& x, double& y, double& z,
                                                        double& c, CBatchRandom& random) const {
    c = dSpeed * dColor + (1 - dSpeed) * c;
    const std::array<double, 6>& a = coefs;
    double tx = a[0] * x + a[2] * y + a[4];
    double ty = a[1] * x + a[3] * y + a[5];
    double tz = z;
    if (!vPre.empty()) applyForms<bZ>(vPre, tx, ty, tz, random);
    CVariationInput in(tx, ty, bZ ? tz : 0.0);
    SVariationCall call{in, random, a.data()};
    for (const SActive& active : vSum) {
        call.w = active.dWeight;
        call.p = parameters.data() + active.iFirstParameter;
        call.k = active.constants.data();
        variation::callFormula<bZ>(active.iVariation, call);
    }
    double dX = call.dX, dY = call.dY, dZ = call.dZ;
    if (!vPost.empty()) applyForms<bZ>(vPost, dX, dY, dZ, random);
    postAffine(dX, dY, x, y);
    if constexpr (bZ) z = dZ;
}
