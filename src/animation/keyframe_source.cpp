#include "animation/keyframe_source.h"

#include <utility>

CKeyframes::CKeyframes(std::shared_ptr<const std::vector<SGenome>> pKeys)
    : pKept(std::move(pKeys)) {}

CKeyframes::CKeyframes(std::vector<SGenome> vKeys, SGenome first_)
    : pKept(std::make_shared<const std::vector<SGenome>>(std::move(vKeys))),
      pFirst(std::make_shared<const SGenome>(std::move(first_))) {}

CKeyframes::CKeyframes(int64_t iCount, FMake make_, FInterpolation interpolationOf_)
    : iMade(iCount), make(std::move(make_)), interpolationOf(std::move(interpolationOf_)),
      pFirst(std::make_shared<const SGenome>(make(0))) {}

ETimeInterpolation CKeyframes::interpolation(int64_t iKey) const {
    return pKept ? (*pKept)[iKey].eTimeInterpolation : interpolationOf(iKey);
}

const SGenome& CKeyframes::key(int64_t iKey, SGenome& made) const {
    if (pKept) return (*pKept)[iKey];
    made = make(iKey);
    return made;
}

CKeyframes CKeyframes::changed(const std::function<void(SGenome&)>& change) const {
    if (pKept) {
        std::vector<SGenome> vKeys = *pKept;
        for (SGenome& key : vKeys) change(key);
        if (!pFirst)
            return CKeyframes(std::make_shared<const std::vector<SGenome>>(std::move(vKeys)));
        SGenome first = *pFirst;
        change(first);
        return CKeyframes(std::move(vKeys), std::move(first));
    }
    const FMake makeFirst = make;
    return CKeyframes(iMade,
                      [makeFirst, change](int64_t iKey) {
                          SGenome key = makeFirst(iKey);
                          change(key);
                          return key;
                      },
                      interpolationOf);
}
