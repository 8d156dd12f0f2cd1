#pragma once

// The viewer's computation repeated in this process, for a picture to compare the viewer's with.

#include "core/run.h"
#include "viewer_harness.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

struct SChoices {
    int iIterations;
    int iPattern;
    int iColourType;
};

constexpr size_t iColumnFloats = 800 * 4;  // one column of the buffer in use, RGBA

// The colours of the run with these choices, seeded as a viewer whose time() returns sSeedTime
// (or that is given --seed with it): [column][row][channel] of the picture, as floats.
std::vector<float> computedColours(const SChoices& choices, const std::string& sSeedTime);

// A channel as the window and a saved picture show it: clamped to [0, 1], nearest of 256 steps.
int roundedChannel(float fChannel);

// Whether a window's or a file's pixels show the computed colours, each channel within
// iTolerance of its 8-bit rounding; the failure names how many do not, and the first.
::testing::AssertionResult showsComputation(const SPicture& picture,
                                            const std::vector<float>& vColours, int iTolerance);

// The window of the run shown at 1/iFactor, worked out here from the colour of every pixel of
// the full-size picture: each window pixel the average of the k x k pixels it stands for (of
// those there are, at the right and top edges), rounded as the window rounds; top row first.
SPicture shrunkComputation(const SRun& run, int iColourType, int iFactor);
