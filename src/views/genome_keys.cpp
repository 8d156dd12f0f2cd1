#include "views/genome_keys.h"

#include "base/number_text.h"
#include "editing/genome_mutate.h"
#include "editing/genome_random.h"
#include "files/genome_file.h"
#include "views/genome_view.h"
#include "views/view.h"

#include <algorithm>
#include <iostream>

namespace {

constexpr int iMenuFlames = 50;  // of the file's flames on the menu

// A genome as the window shows it: at the size and quality the options ask, where they do.
SGenome asShown(const CGenomeView& view, const SGenome& genome) {
    SGenomeChoice choice;
    choice.genome = genome;
    applyGenomeOptions(view.givenOptions(), choice);
    return choice.genome;
}

}  // namespace

SShownState nextFlame(const CGenomeView& view, const SShownState& shown, int iStep) {
    // After a random genome or a mutation, on from the file's flame shown last.
    const int iFrom = shown.genome.iPick > 0 ? shown.genome.iPick : shown.genome.iFilePick;
    const int iCount = view.genomeFile().count();
    if (iCount == 0 || iFrom == 0) return shown;
    return pickedFlame(view, shown, (iFrom - 1 + iStep % iCount + iCount) % iCount + 1);
}

SShownState pickedFlame(const CGenomeView& view, const SShownState& shown, int iPick) {
    if (iPick < 1 || iPick > view.genomeFile().count()) return shown;
    SShownState next = shown;
    SGenomeNow& genome = next.genome;
    SLeniency leniency;
    leniency.bLenient = view.givenOptions().bLenient;
    SGenome read;
    genome.sRefused.clear();
    if (view.genomeFile().read(iPick - 1, read, genome.sRefused, &leniency))
        genome.genome = genome.original = asShown(view, read);
    genome.iPick = genome.iFilePick = iPick;
    genome.bRandom = false;
    genome.iMutations = 0;
    return next;
}

// The next random genome at the window's size.
SShownState randomNext(const CGenomeView& view, const SShownState& shown) {
    const SGenomeNow& from = shown.genome;
    const uint32_t uNext = from.bRandom ? from.uRandom + 1 : from.uSeed;
    SGenome genome;
    std::string sError;
    if (!randomGenome(uNext, genome, sError)) {
        std::cerr << "flames: " << sError << std::endl;
        return shown;
    }
    genome = resizedGenome(asShown(view, genome), from.genome.iWidth, from.genome.iHeight);
    SShownState next = shown;
    next.genome.genome = next.genome.original = genome;
    next.genome.iPick = 0;
    next.genome.sRefused.clear();
    next.genome.bRandom = true;
    next.genome.uRandom = uNext;
    next.genome.iMutations = 0;
    return next;
}

SShownState mutated(const SShownState& shown) {
    if (!shown.genome.sRefused.empty()) return shown;  // no genome to mutate
    SShownState next = shown;
    next.genome.iMutations++;
    next.genome.genome =
        mutatedGenome(shown.genome.genome, shown.genome.uSeed, next.genome.iMutations);
    return next;
}

SShownState fileCamera(const SShownState& shown) {
    SShownState next = shown;
    SGenome& genome = next.genome.genome;
    const SGenome& original = shown.genome.original;
    genome.dCenterX = original.dCenterX;
    genome.dCenterY = original.dCenterY;
    genome.dScale = original.dScale;
    genome.dZoom = original.dZoom;
    genome.dRotate = original.dRotate;
    return next;
}

void playOrPause(CGenomeView& view, int) { view.playOrPause(); }

void stepFrame(CGenomeView& view, int iKey) { view.stepFrame(iKey == '<' ? -1 : 1); }

void stepBack(CGenomeView& view, int) {
    if (view.stepBack()) wakeIdle();
}

// Saved where the window's events have all been read: presses of s queued together save once,
// and q behind them quits at once.
void saveGenomeShown(CGenomeView& view, int) {
    view.askSave();
    wakeIdle();
}

void writeGenomeShown(CGenomeView& view, int) {
    if (!view.shown().sRefused.empty()) return view.retitle("nothing to write");
    std::string sName, sError;
    const bool bWritten = writeGenomeFileAsNew(view.shown().genome, sName, sError);
    view.said(bWritten, "wrote " + sName, "not written: ", sError);
}

int fileFlames(const CGenomeView& view) {
    return std::min(view.genomeFile().count(), iMenuFlames);
}

std::string fileFlameEntry(const CGenomeView& view, int iPick) {
    const std::string sName = view.genomeFile().name(iPick - 1);
    return std::to_string(iPick) + " - " + (sName.empty() ? "(no name)" : shownText(sName, 60));
}
