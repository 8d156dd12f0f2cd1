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

#include "formulas/lane_random.h"
#include "genome/genome.h"
#include "variations/variations.h"

#include <array>
#include <vector>

// The point a walk carries: where it is (z 0 where the flame's points carry none) and its
// colour; of one walk (T double) or of four in vector lanes (maths/numbers.h).
template <class T>
struct SWalkPoint {
    T x, y, z, c;
};

class CXformMap {
public:
    CXformMap() = default;
    // bPlotted false: soloxform silences it; bZ: the flame's points carry z.
    CXformMap(const SXform& xform, bool bPlotted, bool bZ);

    // The map of a point, or of four lanes' points each exactly as it would be mapped alone
    // (game/xform_apply.h, where the walks are stepped).
    template <class T, bool bZ>
    void apply(SWalkPoint<T>& point, TRandomOf<T>& random) const;

    // Its one variation linear, without forms: a map cheaper than the lanes' gathering.
    bool linearAlone() const { return bLinearAlone; }
    // Linear alone, its affines plain (no planes): the map of every such xform is the same
    // operations on its own numbers, so that four walks going to four of them are mapped side
    // by side in lanes, each by its own (game/xform_apply.h, where the walks are stepped).
    bool mixable() const { return bLinearAlone && !bPrePlanes && !bPostPlanes; }
    static void applyMixed(const CXformMap* const (&pMaps)[4], SWalkPoint<maths::lanes::V>& point);

    double dPlotWeight = 0;  // opacity^(log2 10); the final xform's: unused
    double dOpacity = 1;     // the final xform's chance of being applied

private:
    struct SActive {         // one use of a variation
        int        iVariation;
        double     dWeight;
        int        iFirstParameter;  // in parameters
        CConstants constants;        // its formula's, from the parameters and coefs
        bool       bKeepXY, bKeepZ;  // a form's sum starts from the point's x and y, its z; or 0
        FLaneFormula pfLanes;        // its formula over four lanes
    };
    template <bool bZ, class T>
    static void callFormula(const SActive& active, SVariationCall<T>& call);
    void add(int iVariation, EVariationForm eForm, double dWeight, int iFirst, bool bZ,
             bool bForced = false);
    template <class T, bool bZ>
    void sumVariations(T x, T y, T z, T& dX, T& dY, T& dZ, TRandomOf<T>& random) const;
    template <class T, bool bZ>
    void applyForms(const std::vector<SActive>& vForms, T& x, T& y, T& z,
                    TRandomOf<T>& random) const;

    std::array<double, 6> coefs{}, post{};
    // A mixable xform's numbers in the order the lanes read them, four at a time: A B C D, E F
    // and the post-affine's A B, its C D E F, then linear's weight, the colour, its speed and
    // whether the post-affine is applied (all bits set, or none).
    std::array<double, 16> mixedNumbers{};
    bool   bPost = false;     // post is not the identity
    // JWildfire's planes, and whether those of the pre-affine, of the post-affine, are used.
    std::array<double, 6> yzCoefs{}, zxCoefs{}, yzPost{}, zxPost{};
    bool   bPrePlanes = false, bPostPlanes = false;
    double dColor = 0, dSpeed = 0;
    std::vector<double> parameters;  // the plain variations' (the xform's array), then the uses'
    std::vector<SActive> vPre, vSum, vPost;
    // linear its one variation, without forms: a symmetry's xforms, and many others. Summed
    // inline where the point carries no z, without the formulas' dispatch, which costs more
    // than the map.
    bool bLinearAlone = false;
};

// Whether the xform's X or Y can depend on z: one of its variations reads it, or its planes
// are used.
bool readsZ(const SXform& xform);

// Whether JWildfire's planes of an affine are used: one of their numbers further than 10⁻⁸
// from the identity's.
bool planesUsed(const std::array<double, 6>& yz, const std::array<double, 6>& zx);
