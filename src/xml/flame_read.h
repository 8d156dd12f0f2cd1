#pragma once

// One <flame> element read into a genome, for the genome file (genome_xml.h): its attributes,
// xforms, symmetries and palette, checked, its palette made. False with sError naming what is
// wrong (every unknown or undrawn thing it holds, where leniency does not draw without them).

#include "xml/genome_xml.h"

bool readFlame(const pugi::xml_node& flame, SGenome& genome, std::string& sError,
               SLeniency* pLeniency);
