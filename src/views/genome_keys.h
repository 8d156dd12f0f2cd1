#pragma once

// What the keys of a genome window make of the genome shown, and what they do at once, each on
// the genome view it is given: the window's key table (keys.h) passes its own.

#include "app/browsing.h"

#include <string>

class CGenomeView;

// What a browsing key makes of the genome shown.
SShownState nextFlame(const CGenomeView& view, const SShownState& now, int iStep);  // wrapping
SShownState randomNext(const CGenomeView& view, const SShownState& now);  // next random genome
SShownState mutated(const SShownState& now);                              // its next mutation
SShownState fileCamera(const SShownState& now);                           // the camera it came with

// What a key does at once.
void playOrPause(CGenomeView& view, int iKey);       // Space
void stepFrame(CGenomeView& view, int iKey);         // < and >
void stepBack(CGenomeView& view, int iKey);          // u: the genome shown before the last key's
void saveGenomeShown(CGenomeView& view, int iKey);   // s: the picture as it stands, with its genome
void writeGenomeShown(CGenomeView& view, int iKey);  // w: the genome, to flame-NAME.flame

// The menu's entries of the file's flames (the first 50), as "2 - name".
int fileFlames(const CGenomeView& view);
std::string fileFlameEntry(const CGenomeView& view, int iPick);
SShownState pickedFlame(const CGenomeView& view, const SShownState& now, int iPick);
