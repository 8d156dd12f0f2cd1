#pragma once

// The viewer's computation repeated in this process, for a picture to compare the viewer's with.

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
// (or that is given --seed with it): [column][row][channel] of the buffer in use, as floats.
std::vector<float> computedColours(const SChoices& choices, const std::string& sSeedTime);

// A channel as the window and a saved picture show it: clamped to [0, 1], nearest of 256 steps.
int eightBits(float fChannel);
