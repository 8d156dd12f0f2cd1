#pragma once

// Flames drawn at random from a seed, by the program's generator: one seed, one flame, on every
// machine.

#include "core/run.h"

// The random flame of uSeed: the number of functions, each function's name and its six
// coefficients (uniform in [-1, 1]). A candidate is kept only if a trial run of
// iTrialIterations, framed by fit, lights at least 2 % of an 800 x 800 picture and restarts in
// fewer than 1 % of its iterations; otherwise the next candidate of the same sequence is tried.
constexpr int iTrialIterations = 100000;
SFlame randomFlame(unsigned int uSeed);
