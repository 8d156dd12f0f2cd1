#pragma once

// Whether a genome can be drawn: every value within its range, at least one xform to choose,
// filters that can be built. The reader checks every genome it gives; the render checks again,
// for genomes made in code.

#include "genome/genome.h"

#include <string>

// False with sError naming the first value out of range.
bool checkGenome(const SGenome& genome, std::string& sError);
