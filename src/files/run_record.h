#pragma once

// What a picture saved by this program records of its run in text chunks, so that the file says
// how to make it again: one table of chunks, each with how it is written and how it is read.

#include "core/run.h"
#include "pictures/png_codec.h"

#include <string>
#include <vector>

struct SRecord {
    SRun run;
    int  iColourType = 1;
    int  iDone = 0;  // the iterations its hits hold: all of the run's, or those done by a save
};

// The chunks of a record, in the table's order: Software, Iterations, Pattern (or for a flame
// Flame and Functions), Colouring, Seed, Size, View, Description, and Done for a run in progress.
std::vector<SPngText> recordTexts(const SRecord& record);

// The run and colouring that texts record, over the values record holds: Iterations, Pattern or
// Functions, Colouring and Seed must be there, Size and View where a picture of an earlier
// version has none keep what they were, and a picture saved during its run (Done) is made again
// of the iterations it holds. False with sReason when a chunk is missing or garbled.
bool readRecord(const std::vector<SPngText>& vTexts, SRecord& record, std::string& sReason);

// "5000000 iterations of pattern 3, linear & spiral & swirl, in rainbow colours, seed 7".
std::string describeRun(const SRun& run, int iColourType);
