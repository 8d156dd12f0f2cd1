#pragma once

// The numbered palettes of flam3's library file, which genomes name by number.

#include "genome/genome.h"

#include <string>

constexpr const char* sPaletteLibraryPath = "/usr/share/flam3/flam3-palettes.xml";
constexpr int iLibraryPalettes = 701;  // numbered 0 to 700

// The library file's path: the environment's flam3_palettes if set, else sPaletteLibraryPath.
std::string paletteLibraryPath();

// Library palette iNumber (the entry whose number attribute it is), alpha 1, from the file at
// sPath. Each file is read once per process, on first use, whatever the thread; later calls
// reuse it. False, with sError saying what is wrong, when the file is missing or broken or has
// no such palette.
bool libraryPalette(const std::string& sPath, int iNumber, CPalette& palette,
                    std::string& sError);

// The genome's palette made from the library: palette genome.iPalette of the library at
// paletteLibraryPath(), turned by genome.dHue, as reading a genome makes it.
bool fillLibraryPalette(SGenome& genome, std::string& sError);
