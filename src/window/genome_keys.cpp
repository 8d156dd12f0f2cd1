// What the keys of a genome window make of the genome shown, and what they do at once (declared
// in genome_view.h).

#include "window/genome_view.h"

#include "base/number_text.h"
#include "editing/genome_mutate.h"
#include "editing/genome_random.h"
#include "files/genome_file.h"
#include "runs/progress.h"
#include "window/genome_window.h"
#include "window/view.h"

#include <algorithm>
#include <iostream>

namespace {

SGenomeWindow& window = theGenomeWindow;

constexpr int iMenuFlames = 50;  // of the file's flames on the menu

// A genome as the window shows it: at the size and quality the options ask, where they do.
SGenome asShown(const SGenome& genome) {
    SGenomeChoice choice;
    choice.genome = genome;
    applyGenomeOptions(window.options, choice);
    return choice.genome;
}

// A save or write said on the terminal, as before, and for a few seconds in the title.
void said(bool bDone, const std::string& sDone, const char* sFailed, const std::string& sError) {
    clearProgressLine();  // a terminal shows both outputs on one line
    if (bDone) std::cout << sDone << std::endl;
    else std::cerr << "flames: " << sError << std::endl;
    retitle(bDone ? sDone : sFailed + sError);
}

}  // namespace

SShownState nextFlame(const SShownState& shown, int iStep) {
    // After a random genome or a mutation, on from the file's flame shown last.
    const int iFrom = shown.genome.iPick > 0 ? shown.genome.iPick : shown.genome.iFilePick;
    const int iCount = window.file.count();
    if (iCount == 0 || iFrom == 0) return shown;
    return pickedFlame(shown, (iFrom - 1 + iStep % iCount + iCount) % iCount + 1);
}

SShownState pickedFlame(const SShownState& shown, int iPick) {
    if (iPick < 1 || iPick > window.file.count()) return shown;
    SShownState next = shown;
    SGenomeNow& genome = next.genome;
    SLeniency leniency;
    leniency.bLenient = window.options.bLenient;
    SGenome read;
    genome.sRefused.clear();
    if (window.file.read(iPick - 1, read, genome.sRefused, &leniency))
        genome.genome = genome.original = asShown(read);
    genome.iPick = genome.iFilePick = iPick;
    genome.bRandom = false;
    genome.iMutations = 0;
    return next;
}

// The next random genome at the window's size.
SShownState randomNext(const SShownState& shown) {
    const SGenomeNow& from = shown.genome;
    const uint32_t uNext = from.bRandom ? from.uRandom + 1 : from.uSeed;
    SGenome genome;
    std::string sError;
    if (!randomGenome(uNext, genome, sError)) {
        std::cerr << "flames: " << sError << std::endl;
        return shown;
    }
    genome = resizedGenome(asShown(genome), from.genome.iWidth, from.genome.iHeight);
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

void stepBack(int) {
    if (window.vHistory.empty()) return;
    const SGenomeNow before = window.vHistory.back();
    window.vHistory.pop_back();
    showGenome(before);
    wakeIdle();
}

// Saved where the window's events have all been read: presses of s queued together save once,
// and q behind them quits at once.
void saveGenomeShown(int) {
    window.bSaveAsked = true;
    wakeIdle();
}

// A frame is saved whole, as --frame T --save draws it: once it is drawn.
void saveAskedFor() {
    window.bSaveAsked = false;
    if (!window.now.sRefused.empty()) return retitle("nothing to save");
    if (frameShown() && (framesBusy() || framePlaying() || !window.bFinished))
        return saveFrameOnceDrawn();
    window.play.bSaveOnceDrawn = false;
    std::string sName, sError;
    const bool bSaved = saveGenomePictureAsNew(*window.pRender, shownSeed(), sName, sError);
    said(bSaved, "saved " + sName, "not saved: ", sError);
}

void writeGenomeShown(int) {
    if (!window.now.sRefused.empty()) return retitle("nothing to write");
    std::string sName, sError;
    const bool bWritten = writeGenomeFileAsNew(window.now.genome, sName, sError);
    said(bWritten, "wrote " + sName, "not written: ", sError);
}

int fileFlames() { return std::min(window.file.count(), iMenuFlames); }

std::string fileFlameEntry(int iPick) {
    const std::string sName = window.file.name(iPick - 1);
    return std::to_string(iPick) + " - " + (sName.empty() ? "(no name)" : shownText(sName, 60));
}
