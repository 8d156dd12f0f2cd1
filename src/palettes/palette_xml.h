#pragma once

// The palette elements inside a <flame>: <color>, <colors> and <palette>, as flam3 reads them.

#include "genome/genome.h"

#include <pugixml.hpp>

#include <string>

// Reads node into palette if it is one of the three, marking the entries it gives in bGiven;
// any other element is left alone (true). False with sError on a bad value, an index out of
// 0 to 255, an unknown attribute, or the old two-palette blend form of <palette>.
bool readPaletteElement(const pugi::xml_node& node, CPalette& palette,
                        bool (&bGiven)[iPaletteSize], std::string& sError);
