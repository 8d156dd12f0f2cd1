#pragma once

// The frames a command line asks for: the keyframes it animates (a genome file's flames, or the
// keyframes of a flame's loop or of the file's sequence, the options applied to each) and the
// times of the frames drawn from them.

#include "animation/keyframe_source.h"
#include "animation/keyframes.h"
#include "cli/options.h"
#include "genome/genome.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// The frames of a run checked before any is drawn; those after are checked as they come, so that
// a run of a billion frames starts at once.
constexpr long long iFramesCheckedFirst = 1000;

struct SKeyframes {
    CKeyframes keys;
    std::string sSource;  // the genome file, as messages name it
};

// The keyframes of --genome's file, of its flame's --loop, or of its --sequence: false with the
// exit status, having said why on err. What --lenient draws the flames without, and smooth
// segments it draws as lines, are said on err.
bool chooseKeyframes(const SOptions& options, SKeyframes& keys, std::ostream& err, int& iStatus);

// The frames to draw: --frames' range, its sides left out the keyframes' default range (with
// --frame, its time decides). False with sError (status 2) where the range is empty.
bool frameTimes(const SOptions& options, const SKeyframes& keys, SFrameRange& frames,
                std::string& sError);

// "" or why frame dTime cannot be drawn: its genome not drawable, or too many moments.
std::string frameProblem(const SKeyframes& keys, double dTime);
