#pragma once

// The command line: the program's own options start with "--"; GLUT's own (-display NAME,
// -geometry WxH+X+Y, -iconic, -indirect, -direct, -gldebug, -sync) are handed to glutInit as
// they came, in their order; any other word is refused before anything is asked.

#include "core/run.h"

#include <optional>
#include <string>
#include <vector>

// --part K/N: the K-th of N shares of a render's batches.
struct SPart {
    int iPart = 1, iParts = 1;
};

// --frames A:B[:STEP]: frames A to B, every STEP-th; a side left out is the default range's.
struct SFrameSpan {
    std::optional<long long> iFirst, iLast;
    long long iStep = 1;
};

struct SOptions {
    std::optional<int>       iIterations;       // --iterations N: 1 to 2147483647
    std::optional<int>       iPattern;          // --pattern P: 1 to 20
    std::optional<int>       iColourType;       // --colouring C: 1 to 5
    std::optional<SSize>     size;              // --size WxH
    std::optional<SView>     view;              // --view XMIN,YMIN,XMAX,YMAX
    bool                     bFit = false;      // --fit: the view framed on the orbit
    std::string              sLoadPath;         // --load FILE: the run a saved picture records
    std::optional<int>       iThreads;          // --threads N: 1 to 256
    std::optional<SFlame>    flame;             // --flame TEXT
    std::optional<unsigned int> uRandomFlame;   // --random SEED: the random flame of SEED
    std::string              sGenomePath;       // --genome FILE: a flame of a genome file
    std::optional<int>       iPick;             // --pick N: its Nth flame, from 1
    bool                     bPickAll = false;  // --pick all: every flame, each to its own file
    bool                     bLenient = false;  // --lenient: drawn without what is not drawn here
    std::optional<double>    dQuality;          // --quality Q: 1 to 100000 samples a pixel
    std::string              sWriteGenomePath;  // --write-genome FILE: the genome, not drawn
    std::optional<unsigned int> uRandomGenome;  // --random-genome SEED: the random genome of SEED
    std::optional<SFrameSpan> frames;           // --frames A:B[:STEP]: frames of the keyframes
    std::optional<double>    dFrame;            // --frame T: the one frame at time T
    std::optional<int>       iLoopFrames;       // --loop N: the flame's loop in N frames
    std::optional<int>       iSequenceFrames;   // --sequence N: the file's flames, N a loop
    bool                     bHelp = false;     // --help: what the program does, then exit
    bool                     bVersion = false;  // --version
    bool                     bSeed = false;     // --seed given: uSeed seeds the run, not the clock
    unsigned int             uSeed = 0;         // 0 to 4294967295
    std::string              sSavePath;         // --save FILE: a PNG instead of a window; "" none
                                                // (a genome's: OpenEXR where it ends in .exr)
    std::optional<int>       iDepth;            // --depth BITS: 8 or 16 for PNG, 16 or 32 OpenEXR
    bool                     bTransparent = false;  // --transparent: RGBA, no background
    std::optional<int>       iStrips;           // --strips N: a genome's picture in N strips
    std::optional<long long> iMemoryMiB;        // --memory MIB: strips enough to stay within it
    bool                     bLive = false;     // --live: the window shows the run as it grows
    std::string              sSaveStatePath;    // --save-state FILE: the render's state; "" none
    std::vector<std::string> vResumePaths;      // --resume FILE, each given: states gone on with
    std::optional<SPart>     part;              // --part K/N: only that share of the batches
    std::vector<std::string> vGlutArgs;         // the program's name, then GLUT's arguments
    std::string              sDisplay;          // the last -display's: the one GLUT opens; ""
                                                // DISPLAY's
};

// Whether the questions are answered on the command line, so that none is asked.
inline bool answersGiven(const SOptions& options) {
    return options.iIterations || options.iPattern || options.iColourType || options.flame ||
           options.uRandomFlame || !options.sLoadPath.empty() || !options.sGenomePath.empty() ||
           options.uRandomGenome;
}

// Whether a render's state is saved or gone on with: the render is then kept by batch.
inline bool keepsState(const SOptions& options) {
    return !options.sSaveStatePath.empty() || !options.vResumePaths.empty() || options.part;
}

// Whether the genome file is animated: its frames drawn, or a frame's genome written.
inline bool animates(const SOptions& options) {
    return options.frames || options.dFrame || options.iLoopFrames || options.iSequenceFrames;
}

// The threads to compute with: --threads, at most the processors online, else those (at most
// 256); pNote, if given, gets a line on a --threads that was capped, else stays as it was.
int threadsOf(const SOptions& options, std::string* pNote = nullptr);

// The options of argv, or false with sError naming what is wrong ("unknown option '--x'").
// Does no input or output, so that any command line can be tried in a test.
bool parseOptions(int argc, const char* const* argv, SOptions& options, std::string& sError);

// The text of --help: what the program asks, its options, the keys of its window, its exit
// statuses.
std::string helpText();


