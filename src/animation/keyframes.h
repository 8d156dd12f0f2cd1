#pragma once

// A keyframe file's flames made ready to animate, as flam3 reads them: their times must
// increase; the first segment and the last are straight lines (flam3 turns a smooth one there
// into a straight one, and says so); and each rotate is moved by whole turns to within half a
// turn of the one before, so the camera turns the short way.

#include "animation/keyframe_source.h"
#include "genome/genome.h"

#include <string>
#include <vector>

constexpr double dLatestTime = 1e9;  // a time, or a frame, is within this either way
constexpr double dClosestKeyframes = 1e-6;  // of frames between one keyframe and the next

// "" or why the keyframes cannot be animated: times that do not increase, lie too far off, or
// lie too close together.
std::string keyframeTimesProblem(const std::vector<SGenome>& vKeys);

// "" or what flam3 changes: a smooth segment where a curve cannot be drawn, the first or the
// last; one line for each.
std::vector<std::string> smoothProblems(const std::vector<SGenome>& vKeys);

// The changes flam3 makes when it reads keyframes: smooth turned linear where smoothProblems
// says, rotate unwrapped (at once, however far apart the turns).
void settleKeyframes(std::vector<SGenome>& vKeys);

// The frames flam3-animate draws by default: from trunc(t₀) to trunc(t_last) − 1, or the first
// alone where that is before it.
struct SFrameRange {
    long long iFirst, iLast, iStep;

    long long count() const { return (iLast - iFirst) / iStep + 1; }
    long long frame(long long i) const { return iFirst + i * iStep; }  // the i-th, from 0
};
SFrameRange defaultFrames(const CKeyframes& keys);
