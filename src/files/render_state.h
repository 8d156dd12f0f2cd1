#pragma once

// A render's state in a file, to go on with later or to add to the other parts of one picture:
// the genome as drawn, the seed, which batches are in, and the buckets they made, compressed by
// zlib. A header of known size with its own CRC-32 says what the state is, so that states that
// do not belong together are told apart before any bucket is read; the buckets follow, with a
// CRC-32 of their compressed bytes at the end. Numbers are little-endian, on every machine.

#include "genome/genome.h"
#include "render/batch_set.h"
#include "tone/histogram.h"

#include <cstdint>
#include <cstdio>
#include <string>

class CGenomeRender;

// What a state says of its render, besides its buckets.
struct SRenderState {
    SGenome      genome;       // as drawn: its size, supersample and quality the render's
    std::string  sGenomeText;  // as kept: two states of one genome keep the same text
    unsigned int uSeed = 0;
    int64_t      iSamples = 0; // of the whole render
    CBatchSet    batches;      // in its buckets
};

// The render's state, its batches whole in its buckets so far, written whole in place of sPath
// (or nothing): false with sError "PATH: reason".
bool saveRenderState(const std::string& sPath, const CGenomeRender& render, unsigned int uSeed,
                     std::string& sError);

// Why a state cannot be added to another of the same picture (another seed, size, quality or
// genome; batches both hold), said of other; "" where it can.
std::string stateMismatch(const SRenderState& first, const SRenderState& other);

// A state read in two steps: what it is, then its buckets, added into a histogram. Every error
// is "PATH: reason".
class CStateReader {
public:
    CStateReader() = default;
    ~CStateReader();
    CStateReader(const CStateReader&) = delete;
    CStateReader& operator=(const CStateReader&) = delete;

    bool open(const std::string& sPath, std::string& sError);
    const SRenderState& state() const { return myState; }
    // Its buckets added into histogram, of the state's grid; the whole file checked to its end.
    bool addInto(CHistogram& histogram, std::string& sError);

private:
    std::string readHeader();  // "" or why the file is no state
    std::string readBuckets(CHistogram& histogram);
    bool fail(const std::string& sReason, std::string& sError) const;

    std::string  sPath;
    FILE*        pFile = nullptr;
    SRenderState myState;
};
