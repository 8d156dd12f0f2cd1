#pragma once

// The keyframes a frame is drawn from: a file's, kept whole, or a loop's or a sequence's, each
// made when a frame needs it, so that a frame of a loop of a million keyframes costs what a
// frame of two does. Copies share what they hold; a keyframe made is made again when asked for
// again, from any thread.

#include "genome/genome.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CKeyframes {
public:
    using FMake = std::function<SGenome(int64_t iKey)>;
    using FInterpolation = std::function<ETimeInterpolation(int64_t iKey)>;

    CKeyframes() = default;
    CKeyframes(std::shared_ptr<const std::vector<SGenome>> pKeys);  // NOLINT: a file's, as kept
    // Some of a file's, kept, and its first, whose spatial filter every frame takes.
    CKeyframes(std::vector<SGenome> vKeys, SGenome first);
    // iCount keyframes at times 0, 1, 2, …: keyframe k made by make(k), and how its segment
    // moves known without making it.
    CKeyframes(int64_t iCount, FMake make, FInterpolation interpolationOf);

    int64_t count() const { return pKept ? static_cast<int64_t>(pKept->size()) : iMade; }
    double time(int64_t iKey) const {
        return pKept ? (*pKept)[iKey].dTime : static_cast<double>(iKey);
    }
    ETimeInterpolation interpolation(int64_t iKey) const;
    // Keyframe iKey: the one kept, or made into made.
    const SGenome& key(int64_t iKey, SGenome& made) const;
    const SGenome& first() const { return pFirst ? *pFirst : pKept->front(); }
    // The keyframes each changed as change says: a file's at once, the others as they are made.
    CKeyframes changed(const std::function<void(SGenome&)>& change) const;

private:
    std::shared_ptr<const std::vector<SGenome>> pKept;
    int64_t iMade = 0;
    FMake make;
    FInterpolation interpolationOf;
    std::shared_ptr<const SGenome> pFirst;  // where not the first kept: the spatial filter
};
