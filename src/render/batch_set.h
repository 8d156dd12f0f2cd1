#pragma once

// Which batches of a render: runs of consecutive batch numbers, sorted and apart. A render's
// saved state says which are in its buckets; a part of a render spread over machines draws a
// share of them; added together, parts that do not overlap make the batches of one run.

#include <cstdint>
#include <vector>

struct SBatchRange {
    uint64_t uFirst, uEnd;  // uFirst to uEnd - 1
    bool operator==(const SBatchRange& other) const {
        return uFirst == other.uFirst && uEnd == other.uEnd;
    }
};

class CBatchSet {
public:
    CBatchSet() = default;
    CBatchSet(uint64_t uFirst, uint64_t uEnd) { add(uFirst, uEnd); }

    // Share iPart (1 to iParts) of batches 0 to uBatches - 1: the same run of them on any machine.
    static CBatchSet share(int iPart, int iParts, uint64_t uBatches);

    void add(uint64_t uFirst, uint64_t uEnd);  // joined to the runs it touches
    void add(const CBatchSet& other);
    CBatchSet without(const CBatchSet& other) const;
    CBatchSet within(uint64_t uFirst, uint64_t uEnd) const;
    bool overlaps(const CBatchSet& other) const;
    bool contains(uint64_t uBatch) const;
    bool empty() const { return vRanges.empty(); }
    uint64_t count() const;
    uint64_t end() const { return vRanges.empty() ? 0 : vRanges.back().uEnd; }  // past the last
    const std::vector<SBatchRange>& ranges() const { return vRanges; }
    bool operator==(const CBatchSet& other) const { return vRanges == other.vRanges; }

private:
    std::vector<SBatchRange> vRanges;
};
