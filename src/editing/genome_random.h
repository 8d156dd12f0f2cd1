#pragma once

// Genomes drawn at random from a seed by the program's generator (CRandom, seeded with the
// seed): one seed, one genome, on every machine. A candidate is kept only if a cheap trial
// render shows it draws something; otherwise the next candidate of the same sequence is drawn.
//
// A candidate: 2 to 5 xforms, each of weight uniform in [0.2, 1], coefs each uniform in
// [−1, 1], 1 to 3 distinct variations of randomVariation's (weights drawn in [0.2, 1], then
// divided by their sum) with their parameters drawn as randomParameters draws them; xform k of n
// gets colour k/(n − 1), colour speed 0.5. A library palette, 0 to 700. One candidate in four
// gets a symmetry (kind 2 to 6, or −1 to −4, its xforms added as <symmetry> adds them), and
// one in four a final xform of one variation of weight 1, random coefs, colour speed 0.

#include "base/random.h"
#include "genome/genome.h"
#include "variations/variations.h"

#include <cstdint>
#include <string>

constexpr int iTrialSide = 800;         // the trial picture's longer side: the genome's, at most
constexpr double dTrialQuality = 2;     // its samples per pixel, at zoom 0
constexpr int iVisibleLevel = 16;       // of 255 off the background in a channel: visibly lit
constexpr double dLeastLitShare = 0.05;
constexpr double dMostBadValueRate = 0.01;
constexpr int iMostRandomCandidates = 200;
constexpr int iRandomGenomeSide = 800;
constexpr double dRandomGenomeQuality = 100;

// What a trial render of a genome shows: the share of its picture's pixels visibly lit, and its
// bad values per sample.
struct STrial {
    double dLitShare = 0;
    double dBadValueRate = 0;
};

// The genome's picture as it would show, but for the grain: at its size (its longer side
// iTrialSide at most, in proportion), zoom folded into the scale, at dTrialQuality, which a
// picture's tone mapping makes as bright as at any quality; supersample 1, one pass, no density
// estimation, on one thread, seeded uSeed. A pixel is visibly lit where a channel is
// iVisibleLevel or more off the background's. Its few samples can only show less than the
// picture does where it is sparse, never more: a genome that passes shows at least as much.
// A genome that checkGenome refuses lights nothing.
STrial trialOf(const SGenome& genome, uint64_t uSeed);

// At least dLeastLitShare lit, and fewer than dMostBadValueRate bad values a sample.
bool passesTrial(const STrial& trial);

// The random genome of uSeed: the first candidate of its sequence to pass its trial (after
// fittedGenome with seed uSeed frames it), iRandomGenomeSide pixels a side at
// dRandomGenomeQuality, named "random-SEED". If none of iMostRandomCandidates passes, the one
// that lit the most among those without too many bad values (or of all, if every one had). False,
// with sError, when the palette library cannot be read.
bool randomGenome(uint32_t uSeed, SGenome& genome, std::string& sError);

// One xform as a random genome's candidates draw it, with colour dColor (also what mutations
// add).
SXform randomXform(CRandom& random, double dColor);

// Variation iVariation's parameters drawn into xform, each uniformly from the random range its
// row of the variation table gives (a whole number, each as likely, where the row says so).
void randomParameters(CRandom& random, int iVariation, SXform& xform);

// A draw of 0 to iChoices − 1, each as likely, from one draw of the generator.
int randomChoice(CRandom& random, int iChoices);

// The variations random genomes and mutations draw from: flam3's first 49, linear to cross, in
// the table's order. Fixed, so that one seed keeps naming one genome as the table grows.
constexpr int iRandomVariations = variation::eCross + 1;
int randomVariation(CRandom& random);  // one of them, each as likely
