#pragma once

// Loops and sequences as flam3-genome makes them: a flame's loop turns the linear part of each
// xform that animates a full turn about its own offset (E, F); a transition blends one flame
// into the next, eased by 3b² − 2b³, while both keep turning; a sequence is every flame's loop
// with a transition after each but the last, as keyframes one frame apart. Before anything
// turns, the xforms' motions move them (motion.h); the keyframes made keep no motions.

#include "animation/keyframe_source.h"
#include "genome/genome.h"

#include <cstdint>
#include <vector>

// The flame at dBlend of its loop: moved by its motions, then turned by 360°·dBlend (every
// standard xform that animates, not the final one).
SGenome spunGenome(const SGenome& genome, double dBlend);

// The flame half-way as dBlend says from one to the other, both moved by their motions and
// turned by 360°·dBlend.
SGenome transitionGenome(const SGenome& from, const SGenome& to, double dBlend);

// The keyframes of the flames' sequence, iFrames a loop and a transition, times 0, 1, 2, …:
// n·iFrames + (n − 1)·iFrames + 1 of them, the last the last flame unturned.
std::vector<SGenome> sequenceKeyframes(const std::vector<SGenome>& vGenomes, int iFrames);
// The same keyframes, each made when a frame needs it.
CKeyframes sequenceOf(std::vector<SGenome> vGenomes, int iFrames);
int64_t sequenceLength(size_t uGenomes, int iFrames);  // how many keyframes that is
