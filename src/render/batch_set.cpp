#include "render/batch_set.h"

#include <algorithm>

// Shares as even as whole batches allow, the larger ones last.
CBatchSet CBatchSet::share(int iPart, int iParts, uint64_t uBatches) {
    const auto boundary = [&](int k) { return uBatches * static_cast<uint64_t>(k) / iParts; };
    return CBatchSet(boundary(iPart - 1), boundary(iPart));
}

void CBatchSet::add(uint64_t uFirst, uint64_t uEnd) {
    if (uFirst >= uEnd) return;
    std::vector<SBatchRange> vJoined;
    SBatchRange added = {uFirst, uEnd};
    for (const SBatchRange& range : vRanges) {
        if (range.uEnd < added.uFirst || range.uFirst > added.uEnd) {
            vJoined.push_back(range);
            continue;
        }
        added = {std::min(added.uFirst, range.uFirst), std::max(added.uEnd, range.uEnd)};
    }
    vJoined.push_back(added);
    std::sort(vJoined.begin(), vJoined.end(),
              [](const SBatchRange& a, const SBatchRange& b) { return a.uFirst < b.uFirst; });
    vRanges = std::move(vJoined);
}

void CBatchSet::add(const CBatchSet& other) {
    for (const SBatchRange& range : other.vRanges) add(range.uFirst, range.uEnd);
}

CBatchSet CBatchSet::without(const CBatchSet& other) const {
    CBatchSet left;
    for (const SBatchRange& range : vRanges) {
        uint64_t uFrom = range.uFirst;
        for (const SBatchRange& cut : other.vRanges) {
            if (cut.uEnd <= uFrom || cut.uFirst >= range.uEnd) continue;
            left.add(uFrom, cut.uFirst);
            uFrom = std::max(uFrom, cut.uEnd);
        }
        left.add(uFrom, range.uEnd);
    }
    return left;
}

CBatchSet CBatchSet::within(uint64_t uFirst, uint64_t uEnd) const {
    CBatchSet inside;
    for (const SBatchRange& range : vRanges)
        inside.add(std::max(range.uFirst, uFirst), std::min(range.uEnd, uEnd));
    return inside;
}

bool CBatchSet::overlaps(const CBatchSet& other) const {
    for (const SBatchRange& range : other.vRanges)
        if (!within(range.uFirst, range.uEnd).empty()) return true;
    return false;
}

bool CBatchSet::contains(uint64_t uBatch) const { return !within(uBatch, uBatch + 1).empty(); }

uint64_t CBatchSet::count() const {
    uint64_t uCount = 0;
    for (const SBatchRange& range : vRanges) uCount += range.uEnd - range.uFirst;
    return uCount;
}
