#pragma once

// The random numbers of four walks mapped side by side in vector lanes: each lane draws from its
// own walk's stream (formulas/batch_random.h), in the order the point alone would, so that every
// lane's numbers are the ones its walk draws alone. A draw of the lanes is a draw of each.
//
// Where only some lanes take a path that draws (the walks still in their fuse, those the final
// xform is not applied to), the others must not draw: within a CLaneRandom::COnly of those lanes,
// a draw takes numbers from their streams alone and gives the other lanes 0.

#include "formulas/batch_random.h"
#include "maths/numbers.h"


class CLaneRandom {
public:
    using V = maths::lanes::V;
    using VBits = maths::lanes::VBits;
    static constexpr int iLanes = maths::lanes::iLanes;

    CLaneRandom(CBatchRandom& r0, CBatchRandom& r1, CBatchRandom& r2, CBatchRandom& r3)
        : pRandoms{&r0, &r1, &r2, &r3} {}

    V uniform() {
        V v;
        if (uDrawing == uAll) {
            for (int i = 0; i < iLanes; i++) v[i] = pRandoms[i]->uniform();
        } else {
            for (int i = 0; i < iLanes; i++) v[i] = drawing(i) ? pRandoms[i]->uniform() : 0;
        }
        return v;
    }
    V symmetric() { return 2 * uniform() - 1; }
    VBits bit() {
        VBits b;
        for (int i = 0; i < iLanes; i++) b[i] = drawing(i) && pRandoms[i]->bit() ? -1 : 0;
        return b;
    }
    V highHalf() {
        V v;
        for (int i = 0; i < iLanes; i++) v[i] = drawing(i) ? pRandoms[i]->highHalf() : 0;
        return v;
    }

    // Only the lanes of bLanes (among those drawing already) draw while it lives.
    class COnly {
    public:
        COnly(CLaneRandom& random_, VBits bLanes) : random(random_), uBefore(random_.uDrawing) {
            random.uDrawing &= static_cast<unsigned>(maths::lanes::anyOf(bLanes));
        }
        COnly(const COnly&) = delete;
        COnly& operator=(const COnly&) = delete;
        ~COnly() { random.uDrawing = uBefore; }

    private:
        CLaneRandom& random;
        unsigned uBefore;
    };

private:
    static constexpr unsigned uAll = (1u << iLanes) - 1;
    bool drawing(int i) const { return (uDrawing >> i) & 1; }

    CBatchRandom* pRandoms[iLanes];
    unsigned uDrawing = uAll;  // bit i: lane i draws (a whole number: no lane written apart)
};

// A walk's random numbers, of one point or of four lanes.
template <class T> struct SRandomOf;
template <> struct SRandomOf<double> {
    using TRandom = CBatchRandom;
};
template <> struct SRandomOf<maths::lanes::V> {
    using TRandom = CLaneRandom;
};
template <class T> using TRandomOf = typename SRandomOf<T>::TRandom;

// Runs f where bWhere holds, the random numbers it draws drawn for those lanes alone: a path
// that some points take and some do not. One point takes it or not; lanes take it if any does,
// and what f makes of the others' lanes is theirs to leave out.
template <class TRandom, class F> inline void drawnWhere(TRandom&, bool bWhere, F f) {
    if (bWhere) f();
}
template <class F> inline void drawnWhere(CLaneRandom& random, maths::lanes::VBits bWhere, F f) {
    if (!maths::anyOf(bWhere)) return;
    const CLaneRandom::COnly only(random, bWhere);
    f();
}
