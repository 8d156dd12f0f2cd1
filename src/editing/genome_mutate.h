#pragma once

// Mutations of a genome, as the window's m key makes them one after another: the iCount-th of
// seed uSeed is drawn by the program's generator (CRandom) seeded from (uSeed, iCount) alone,
// so the same genome, seed and count give the same mutation on every machine.

#include "genome/genome.h"

#include <cstdint>

enum EMutation {
    eMovedCoefs,      // one xform's six coefs each moved by up to ±s, s uniform in [0.02, 0.15]
    eOtherVariation,  // one of an xform's variations replaced by another (same weight), its
                      // parameters drawn as a random genome's
    eTurnedPalette,   // the palette's hue turned by ±[0.05, 0.3] of a turn
    eAddedXform,      // an xform drawn as a random genome's, colour uniform in [0, 1]
    eRemovedXform,    // one xform taken out (never below 2), its chaos column with it
    eMutationCount
};

constexpr int iMostMutationTries = 50;
constexpr int iMostMutatedXforms = 12;  // an xform is added only below this many

// The kind is drawn first, each of four as likely (moved coefs, other variation, turned
// palette, an xform added or removed: added at 2 xforms, removed at iMostMutatedXforms, else
// either). The turned palette of a library palette changes hue and draws the library's
// palette again, as reading the written genome would; an inline one is turned in place.
struct SMutation {
    EMutation eKind;
    SGenome genome;
};
SMutation drawnMutation(const SGenome& genome, uint32_t uSeed, int iCount);

// The first of mutations iCount, iCount + 1, … (iMostMutationTries of them) whose genome
// checkGenome passes and whose trial (genome_random.h, seeded uSeed) passes; the genome as it
// is if none does.
SGenome mutatedGenome(const SGenome& genome, uint32_t uSeed, int iCount);
