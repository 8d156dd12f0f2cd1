#pragma once

// <motion> elements at work, as flam3-genome moves them in loops and transitions: at blend b each
// adds its amplitudes × g(φ·b) to its xform's numbers, with its own frequency φ and function g.

#include "genome/genome.h"

// g(x), 0 at every whole x: sin 2πx; the triangle wave through 0, 1 at x = ¼, −1 at x = ¾;
// the hill (1 − cos 2πx)/2.
double motionWave(EMotionFunction eFunction, double dX);

// The flame at blend dBlend of its loop: each xform's motions added, then its colour held within
// [0, 1] and its weight at least 0 (an xform that has no motions is left as it is). The flame
// keeps no motions: what it is at dBlend is all there is of it.
SGenome movedGenome(const SGenome& genome, double dBlend);
