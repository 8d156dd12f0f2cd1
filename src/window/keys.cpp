#include "window/keys.h"

#include "app/browse.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "genome/genome_frame.h"
#include "runs/fit.h"
#include "runs/random_flame.h"
#include "window/genome_view.h"
#include "window/pattern_view.h"
#include "window/view.h"

#include <GL/glut.h>

#include <cstdlib>
#include <iterator>

namespace {

// Keys are their characters; GLUT's special keys (arrows, pages) come after them.
constexpr int iSpecial = 256;
constexpr int iEscape = 27;

// What a browsing key makes of the state shown: a run for a pattern window, a genome for a
// genome window.
using FRunNext = SRun (*)(const SRun& run, int iKey);
using FGenomeNext = SShownState (*)(const SShownState& shown, int iKey);

SRun nextPattern(const SRun& run, int) { return stepPattern(run, 1); }
SRun previousPattern(const SRun& run, int) { return stepPattern(run, -1); }
SRun moreIterations(const SRun& run, int) { return scaleIterations(run, true); }
SRun fewerIterations(const SRun& run, int) { return scaleIterations(run, false); }
SRun zoomIn(const SRun& run, int) { return zoomCentre(run, 2); }
SRun zoomOut(const SRun& run, int) { return zoomCentre(run, 0.5); }
SRun fitToOrbit(const SRun& shownRun, int) {
    SRun run = shownRun;
    run.view = fitView(run);
    return run;
}
// The next flame seed: after a random flame, its seed's successor; else the run's own seed.
SRun newRandomFlame(const SRun& shownRun, int) {
    SRun run = shownRun;
    const unsigned int uNext = run.flame.bRandom ? run.flame.uSeed + 1 : run.uSeed;
    run.flame = randomFlame(uNext);
    run.view = fitView(run);
    return run;
}
SRun defaultView(const SRun& shownRun, int) {
    SRun run = shownRun;
    run.view = SView();
    return run;
}
// A quarter of the view's width or height towards the arrow: what lay that way comes in.
SRun moveByArrow(const SRun& run, int iKey) {
    const int iArrow = iKey - iSpecial;
    const double dRight = iArrow == GLUT_KEY_RIGHT ? 0.25 : iArrow == GLUT_KEY_LEFT ? -0.25 : 0;
    const double dUp = iArrow == GLUT_KEY_UP ? 0.25 : iArrow == GLUT_KEY_DOWN ? -0.25 : 0;
    return moveView(run, dRight, dUp);
}

// The genome's, each keeping the rest of what is shown.
SShownState withGenome(const SShownState& shown, const SGenome& genome) {
    SShownState next = shown;
    next.genome.genome = genome;
    return next;
}
SShownState nextGenome(const SShownState& shown, int) { return nextFlame(shown, 1); }
SShownState previousGenome(const SShownState& shown, int) { return nextFlame(shown, -1); }
SShownState moreQuality(const SShownState& shown, int) {
    return withGenome(shown, qualityScaled(shown.genome.genome, true));
}
SShownState lessQuality(const SShownState& shown, int) {
    return withGenome(shown, qualityScaled(shown.genome.genome, false));
}
SShownState zoomGenomeIn(const SShownState& shown, int) {
    return withGenome(shown, zoomedGenome(shown.genome.genome, 2));
}
SShownState zoomGenomeOut(const SShownState& shown, int) {
    return withGenome(shown, zoomedGenome(shown.genome.genome, 0.5));
}
SShownState turnLeft(const SShownState& shown, int) {
    return withGenome(shown, rotatedGenome(shown.genome.genome, -15));
}
SShownState turnRight(const SShownState& shown, int) {
    return withGenome(shown, rotatedGenome(shown.genome.genome, 15));
}
SShownState fitGenome(const SShownState& shown, int) {
    return withGenome(shown, fittedGenome(shown.genome.genome, shown.genome.uSeed));
}
SShownState genomeCamera(const SShownState& shown, int) { return fileCamera(shown); }
SShownState newRandomGenome(const SShownState& shown, int) { return randomNext(shown); }
SShownState mutation(const SShownState& shown, int) { return mutated(shown); }
// A quarter of the picture's width or height towards the arrow, as the picture shows it.
SShownState moveGenome(const SShownState& shown, int iKey) {
    const int iArrow = iKey - iSpecial;
    const double dRight = iArrow == GLUT_KEY_RIGHT ? 0.25 : iArrow == GLUT_KEY_LEFT ? -0.25 : 0;
    const double dDown = iArrow == GLUT_KEY_DOWN ? 0.25 : iArrow == GLUT_KEY_UP ? -0.25 : 0;
    return withGenome(shown, movedGenome(shown.genome.genome, dRight, dDown));
}

// A key acts at once (pfAction: colouring, saving, quitting...), or browses to what pfRunNext
// (a pattern window) or pfGenomeNext (a genome window) makes of what is shown, once the events
// queued with it are read. A key with none of them for the window does nothing there.
struct SKey {
    int         iKey;
    const char* sMenuEntry;  // null: not on the menu
    void (*pfAction)(int iKey);
    FRunNext    pfRunNext;
    FGenomeNext pfGenomeNext;
    bool        bSlow;  // what comes next takes a tenth of a second or more to make
};

// The colourings' keys, 1 to iColourCount, are made from their table; these come after them.
static_assert(iColourCount <= 9, "a colouring a digit key");
const SKey patternKeys[] = {
    {'n', "Next pattern (n)", nullptr, nextPattern, nullptr, false},
    {iSpecial + GLUT_KEY_PAGE_DOWN, nullptr, nullptr, nextPattern, nullptr, false},
    {'p', "Previous pattern (p)", nullptr, previousPattern, nullptr, false},
    {iSpecial + GLUT_KEY_PAGE_UP, nullptr, nullptr, previousPattern, nullptr, false},
    {']', "Ten times the iterations (])", nullptr, moreIterations, nullptr, false},
    {'[', "A tenth of the iterations ([)", nullptr, fewerIterations, nullptr, false},
    {'+', "Zoom in (+)", nullptr, zoomIn, nullptr, false},
    {'=', nullptr, nullptr, zoomIn, nullptr, false},  // + without the shift key
    {'-', "Zoom out (-)", nullptr, zoomOut, nullptr, false},
    {iSpecial + GLUT_KEY_LEFT, nullptr, nullptr, moveByArrow, nullptr, false},
    {iSpecial + GLUT_KEY_RIGHT, nullptr, nullptr, moveByArrow, nullptr, false},
    {iSpecial + GLUT_KEY_UP, nullptr, nullptr, moveByArrow, nullptr, false},
    {iSpecial + GLUT_KEY_DOWN, nullptr, nullptr, moveByArrow, nullptr, false},
    {'f', "Fit the view to the orbit (f)", nullptr, fitToOrbit, nullptr, true},
    {'0', "Default view (0)", nullptr, defaultView, nullptr, false},
    {'r', "New random flame (r)", nullptr, newRandomFlame, nullptr, true},
    {'s', "Save picture", savePatternShown, nullptr, nullptr, false},
    {'q', "Quit", quit, nullptr, nullptr, false},
    {iEscape, nullptr, quit, nullptr, nullptr, false},
};

const SKey genomeKeys[] = {
    {'n', "Next flame of the file (n)", nullptr, nullptr, nextGenome, false},
    {iSpecial + GLUT_KEY_PAGE_DOWN, nullptr, nullptr, nullptr, nextGenome, false},
    {'p', "Previous flame of the file (p)", nullptr, nullptr, previousGenome, false},
    {iSpecial + GLUT_KEY_PAGE_UP, nullptr, nullptr, nullptr, previousGenome, false},
    {']', "Ten times the quality (])", nullptr, nullptr, moreQuality, false},
    {'[', "A tenth of the quality ([)", nullptr, nullptr, lessQuality, false},
    {'+', "Zoom in (+)", nullptr, nullptr, zoomGenomeIn, false},
    {'=', nullptr, nullptr, nullptr, zoomGenomeIn, false},
    {'-', "Zoom out (-)", nullptr, nullptr, zoomGenomeOut, false},
    {iSpecial + GLUT_KEY_LEFT, nullptr, nullptr, nullptr, moveGenome, false},
    {iSpecial + GLUT_KEY_RIGHT, nullptr, nullptr, nullptr, moveGenome, false},
    {iSpecial + GLUT_KEY_UP, nullptr, nullptr, nullptr, moveGenome, false},
    {iSpecial + GLUT_KEY_DOWN, nullptr, nullptr, nullptr, moveGenome, false},
    {',', "Turn left by 15 degrees (,)", nullptr, nullptr, turnLeft, false},
    {'.', "Turn right by 15 degrees (.)", nullptr, nullptr, turnRight, false},
    {'f', "Fit the camera to the orbit (f)", nullptr, nullptr, fitGenome, true},
    {'0', "The file's camera (0)", nullptr, nullptr, genomeCamera, false},
    {'r', "New random genome (r)", nullptr, nullptr, newRandomGenome, true},
    {'m', "A mutation (m)", nullptr, nullptr, mutation, true},
    {'u', "Back one step (u)", stepBack, nullptr, nullptr, false},
    {'s', "Save picture", saveGenomeShown, nullptr, nullptr, false},
    {'w', "Write the genome (w)", writeGenomeShown, nullptr, nullptr, false},
    {'q', "Quit", quit, nullptr, nullptr, false},
    {iEscape, nullptr, quit, nullptr, nullptr, false},
};

bool bGenomeWindow = false;

bool isColouringKey(int iKey) { return iKey >= '1' && iKey < '1' + iColourCount; }

void act(const SKey& key, int iKey) {
    if (key.pfAction) return key.pfAction(iKey);
    if (key.pfRunNext) {
        browse([pfNext = key.pfRunNext, iKey](const SShownState& shown) {
                   SShownState next = shown;
                   next.run = pfNext(shown.run, iKey);
                   return next;
               },
               iKey, key.bSlow);
    } else {
        browse([pfNext = key.pfGenomeNext, iKey](const SShownState& shown) {
                   return pfNext(shown, iKey);
               },
               iKey, key.bSlow);
    }
    wakeIdle();
}

void keyPressed(int iKey) {
    if (!bGenomeWindow && isColouringKey(iKey)) return chooseColouring(iKey);
    const SKey* pBegin = bGenomeWindow ? std::begin(genomeKeys) : std::begin(patternKeys);
    const SKey* pEnd = bGenomeWindow ? std::end(genomeKeys) : std::end(patternKeys);
    for (const SKey* pKey = pBegin; pKey != pEnd; ++pKey)
        if (pKey->iKey == iKey) act(*pKey, iKey);
}

void characterPressed(unsigned char cKey, int, int) { keyPressed(cKey); }
void specialPressed(int iKey, int, int) { keyPressed(iSpecial + iKey); }

void mouseUsed(int iButton, int iState, int iX, int iY) {
    constexpr int iWheelUp = 3, iWheelDown = 4;  // as freeglut reports the wheel's steps
    if (iState != GLUT_DOWN || (iButton != iWheelUp && iButton != iWheelDown)) return;
    pView->pfWheel(iX, iY, iButton == iWheelUp ? 2 : 0.5);
    wakeIdle();
}

constexpr int iPickedEntry = 1024;  // a menu value: this plus a pattern's or a flame's number

void menuChosen(int iValue) {
    if (iValue < iPickedEntry) return keyPressed(iValue);
    const int iPicked = iValue - iPickedEntry;
    if (bGenomeWindow) {
        browse([iPicked](const SShownState& shown) { return pickedFlame(shown, iPicked); }, 0,
               false);
    } else {
        browse([iPicked](const SShownState& shown) {
                   SShownState next = shown;
                   next.run.iPattern = iPicked;
                   next.run.flame = SFlame();
                   return next;
               },
               0, false);
    }
    wakeIdle();
}

void addKeyEntries(const SKey* pBegin, const SKey* pEnd) {
    for (const SKey* pKey = pBegin; pKey != pEnd; ++pKey)
        if (pKey->sMenuEntry) glutAddMenuEntry(pKey->sMenuEntry, pKey->iKey);
}

void attachPatternMenu() {
    const int iPatterns = glutCreateMenu(menuChosen);
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++)
        glutAddMenuEntry(patternTable[iPattern - 1].sMenuLine, iPickedEntry + iPattern);
    glutCreateMenu(menuChosen);
    glutAddSubMenu("Pattern", iPatterns);
    for (int iColour = 1; iColour <= iColourCount; iColour++)
        glutAddMenuEntry(colourTable[iColour - 1].sMenuLine, '0' + iColour);
    addKeyEntries(std::begin(patternKeys), std::end(patternKeys));
}

void attachGenomeMenu() {
    const int iFlames = fileFlames() > 0 ? glutCreateMenu(menuChosen) : 0;
    for (int iPick = 1; iPick <= fileFlames(); iPick++)
        glutAddMenuEntry(fileFlameEntry(iPick).c_str(), iPickedEntry + iPick);
    glutCreateMenu(menuChosen);
    if (iFlames) glutAddSubMenu("Flame", iFlames);
    addKeyEntries(std::begin(genomeKeys), std::end(genomeKeys));
}

}  // namespace

void quit(int) { std::exit(0); }

void attachKeys(bool bGenomes) {
    bGenomeWindow = bGenomes;
    glutKeyboardFunc(characterPressed);
    glutSpecialFunc(specialPressed);
    glutMouseFunc(mouseUsed);
    if (bGenomes) attachGenomeMenu();
    else attachPatternMenu();
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}
