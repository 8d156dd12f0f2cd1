#pragma once

// The genome a run draws, as the command line says it: a flame picked from a genome file, or
// the genome a saved picture keeps, at the size, quality and seed the options give.

#include "base/picture_format.h"
#include "cli/options.h"
#include "files/genome_file.h"
#include "genome/genome.h"
#include "render/render_plan.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct SGenomeChoice {
    SGenome      genome;      // as drawn: size and quality applied
    unsigned int uSeed = 0;   // of the render
    std::string  sFile;       // the genome file it was picked from; "" for none
    int          iPick = 1;   // its flame's number there, from 1
    int          iCount = 1;  // the flames the file holds
    bool         bRandom = false;  // the random genome of uRandom
    uint32_t     uRandom = 0;
    std::vector<std::string> vDropped;  // what --lenient drew it without, a line each
    long long    iSamplesDone = -1;  // a picture saved part way: drawn this far again; -1: all
    int          iDepth = 8;         // bits a channel of the picture it was loaded from
    bool         bTransparent = false;  // whether that picture was
    std::vector<SGenome> vFrameKeys;  // a frame saved: drawn again from them; empty: a still
};

// What a genome's picture is written as at sPath: the kind its name says; --depth, else the
// depth of the picture the genome was loaded from (pChoice), as near as the kind has it, else the
// kind's own; transparent with --transparent or where that picture was.
SPictureFormat pictureFormatOf(const SOptions& options, const std::string& sPath,
                               const SGenomeChoice* pChoice = nullptr);

// The plan of the choice's render: its genome, or the frame it was saved from; false with
// sError where that frame cannot be drawn.
bool planOf(const SGenomeChoice& choice, SRenderPlan& plan, std::string& sError);

// The options applied to a genome: --size draws the same framing at that size, --quality says
// the samples a pixel, --seed the seed (else uSeed stays), --fit frames its camera on its orbit.
void applyGenomeOptions(const SOptions& options, SGenomeChoice& choice);

// Flame --pick (else the first) of --genome's file, the options applied; false with sError.
// Where the file is loaded already, flame iPick of it.
bool pickGenome(const SOptions& options, SGenomeChoice& choice, std::string& sError);
bool pickGenomeOf(const CFlameFile& file, const SOptions& options, int iPick,
                  SGenomeChoice& choice, std::string& sError);

// What --lenient drew the genome without, a line each on err.
void sayDropped(const SOptions& options, const SGenomeChoice& choice, std::ostream& err);

// The random genome of --random-genome, the options applied; false with sError.
bool drawRandomGenome(const SOptions& options, SGenomeChoice& choice, std::string& sError);

// Where the genome came from, as a message names it: its file, the picture that kept it, or
// "random genome 5".
std::string sourceOf(const SOptions& options, const SGenomeChoice& choice);

// Where a saved picture keeps a genome, the options that say what else to draw (a pattern, a
// flame, the iterations, the colouring, the view or a fit) do not apply: "" or what is wrong.
std::string genomeOptionsProblem(const SOptions& options);
