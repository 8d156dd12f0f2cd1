#pragma once

// The render of a genome in the window: run in slices between the window's events and shown
// growing, tone-mapped about twice a second; the keys browse the genome file it came from,
// frame it, make random genomes and mutations, step back, save the picture and write the genome.

#include "app/genome_choice.h"
#include "render/render.h"
#include "window/view.h"

#include <memory>
#include <string>

extern const SViewKind genomeView;

// The genome to show, with that many threads; before the window opens. The options' size and
// quality apply to every genome the window shows (the file's other flames, a random one's).
// False, with sError, where the render cannot be made (its bucket grid too large, say). pMade:
// the render already made (a frame's), else the genome's own.
bool prepareGenomeView(const SGenomeChoice& choice, const SOptions& options, int iThreads,
                       std::string& sError, std::unique_ptr<CGenomeRender> pMade = nullptr);

// Once GLUT knows the screen: the picture shown at 1/k where it is larger than the screen.
void fitGenomeViewTo(int iScreenWidth, int iScreenHeight);

std::string genomeTitle();  // the window's title

// What the keys of a genome window make of the genome shown, and what they do at once.
SShownState nextFlame(const SShownState& now, int iStep);  // of the file, wrapping
SShownState randomNext(const SShownState& now);            // the next random genome
SShownState mutated(const SShownState& now);               // its next mutation
SShownState fileCamera(const SShownState& now);            // the camera it came with
void stepBack(int iKey);           // u: the genome shown before the last key's
void saveGenomeShown(int iKey);    // s: the picture as it stands, with its genome
void writeGenomeShown(int iKey);   // w: the genome, to flame-NAME.flame

// The menu's entries of the file's flames (the first 50), as "2 - name".
int fileFlames();
std::string fileFlameEntry(int iPick);
SShownState pickedFlame(const SShownState& now, int iPick);
