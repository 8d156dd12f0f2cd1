#include "window/keys.h"

#include "app/browse.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "editing/genome_frame.h"
#include "runs/fit.h"
#include "runs/random_flame.h"
#include "views/genome_keys.h"
#include "views/genome_view.h"
#include "views/pattern_view.h"
#include "views/view.h"

#include <GL/glut.h>

#include <cstdlib>

namespace {

// Keys are their characters; GLUT's special keys (arrows, pages) come after them.
constexpr int iSpecial = 256;
constexpr int iEscape = 27;

// What a browsing key makes of the state shown: the run in a pattern window, the genome in a
// genome window.
using FShownNext = SShownState (*)(const SShownState& shown, int iKey);
using FRunNext = SRun (*)(const SRun& run, int iKey);

template <FRunNext pfNext>
SShownState onRun(const SShownState& shown, int iKey) {
    SShownState next = shown;
    next.run = pfNext(shown.run, iKey);
    return next;
}

// A quarter of the picture's width or height towards an arrow key, up counted upwards.
void arrowOf(int iKey, double& dRight, double& dUp) {
    const int iArrow = iKey - iSpecial;
    dRight = iArrow == GLUT_KEY_RIGHT ? 0.25 : iArrow == GLUT_KEY_LEFT ? -0.25 : 0;
    dUp = iArrow == GLUT_KEY_UP ? 0.25 : iArrow == GLUT_KEY_DOWN ? -0.25 : 0;
}

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
// What lay towards the arrow comes in.
SRun moveByArrow(const SRun& run, int iKey) {
    double dRight = 0, dUp = 0;
    arrowOf(iKey, dRight, dUp);
    return moveView(run, dRight, dUp);
}

// The genome's, each keeping the rest of what is shown.
SShownState withGenome(const SShownState& shown, const SGenome& genome) {
    SShownState next = shown;
    next.genome.genome = genome;
    return next;
}
SShownState nextGenome(const SShownState& shown, int) {
    return nextFlame(theGenomeView(), shown, 1);
}
SShownState previousGenome(const SShownState& shown, int) {
    return nextFlame(theGenomeView(), shown, -1);
}
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
SShownState newRandomGenome(const SShownState& shown, int) {
    return randomNext(theGenomeView(), shown);
}
SShownState mutation(const SShownState& shown, int) { return mutated(shown); }
// As the picture shows it: down is down on the screen.
SShownState moveGenome(const SShownState& shown, int iKey) {
    double dRight = 0, dUp = 0;
    arrowOf(iKey, dRight, dUp);
    return withGenome(shown, movedGenome(shown.genome.genome, dRight, -dUp));
}
SShownState pickedGenome(const SShownState& shown, int iPick) {
    return pickedFlame(theGenomeView(), shown, iPick);
}

// A genome key's action, on the window's genome view.
template <void (*pfAction)(CGenomeView& view, int iKey)>
void onGenomeView(int iKey) {
    pfAction(theGenomeView(), iKey);
}

// What a key does in one kind of window: acts at once (pfAction: colouring, saving, quitting...)
// or browses to what pfNext makes of what is shown, once the events queued with it are read; a
// key with neither does nothing there.
struct SKeyUse {
    const char* sMenuEntry;  // null: not on the menu
    void (*pfAction)(int iKey);
    FShownNext  pfNext;
};

struct SKey {
    int     iKey;
    bool    bSlow;  // what comes next takes a tenth of a second or more to make
    SKeyUse inPatterns, inGenomes;
};

constexpr SKeyUse none = {nullptr, nullptr, nullptr};

// The colourings' keys, 1 to iColourCount, are made from their table; these come after them,
// each menu in this order.
static_assert(iColourCount <= 9, "a colouring a digit key");
const SKey windowKeys[] = {
    {'n', false, {"Next pattern (n)", nullptr, onRun<nextPattern>},
     {"Next flame of the file (n)", nullptr, nextGenome}},
    {iSpecial + GLUT_KEY_PAGE_DOWN, false, {nullptr, nullptr, onRun<nextPattern>},
     {nullptr, nullptr, nextGenome}},
    {'p', false, {"Previous pattern (p)", nullptr, onRun<previousPattern>},
     {"Previous flame of the file (p)", nullptr, previousGenome}},
    {iSpecial + GLUT_KEY_PAGE_UP, false, {nullptr, nullptr, onRun<previousPattern>},
     {nullptr, nullptr, previousGenome}},
    {' ', false, none, {"Play or pause the frames (Space)", onGenomeView<playOrPause>, nullptr}},
    {'<', false, none, {"Previous frame (<)", onGenomeView<stepFrame>, nullptr}},
    {'>', false, none, {"Next frame (>)", onGenomeView<stepFrame>, nullptr}},
    {']', false, {"Ten times the iterations (])", nullptr, onRun<moreIterations>},
     {"Ten times the quality (])", nullptr, moreQuality}},
    {'[', false, {"A tenth of the iterations ([)", nullptr, onRun<fewerIterations>},
     {"A tenth of the quality ([)", nullptr, lessQuality}},
    {'+', false, {"Zoom in (+)", nullptr, onRun<zoomIn>}, {"Zoom in (+)", nullptr, zoomGenomeIn}},
    {'=', false, {nullptr, nullptr, onRun<zoomIn>}, {nullptr, nullptr, zoomGenomeIn}},  // no shift
    {'-', false, {"Zoom out (-)", nullptr, onRun<zoomOut>},
     {"Zoom out (-)", nullptr, zoomGenomeOut}},
    {iSpecial + GLUT_KEY_LEFT, false, {nullptr, nullptr, onRun<moveByArrow>},
     {nullptr, nullptr, moveGenome}},
    {iSpecial + GLUT_KEY_RIGHT, false, {nullptr, nullptr, onRun<moveByArrow>},
     {nullptr, nullptr, moveGenome}},
    {iSpecial + GLUT_KEY_UP, false, {nullptr, nullptr, onRun<moveByArrow>},
     {nullptr, nullptr, moveGenome}},
    {iSpecial + GLUT_KEY_DOWN, false, {nullptr, nullptr, onRun<moveByArrow>},
     {nullptr, nullptr, moveGenome}},
    {',', false, none, {"Turn left by 15 degrees (,)", nullptr, turnLeft}},
    {'.', false, none, {"Turn right by 15 degrees (.)", nullptr, turnRight}},
    {'f', true, {"Fit the view to the orbit (f)", nullptr, onRun<fitToOrbit>},
     {"Fit the camera to the orbit (f)", nullptr, fitGenome}},
    {'0', false, {"Default view (0)", nullptr, onRun<defaultView>},
     {"The file's camera (0)", nullptr, genomeCamera}},
    {'r', true, {"New random flame (r)", nullptr, onRun<newRandomFlame>},
     {"New random genome (r)", nullptr, newRandomGenome}},
    {'m', true, none, {"A mutation (m)", nullptr, mutation}},
    {'u', false, none, {"Back one step (u)", onGenomeView<stepBack>, nullptr}},
    {'s', false, {"Save picture", savePatternShown, nullptr},
     {"Save the picture (s)", onGenomeView<saveGenomeShown>, nullptr}},
    {'w', false, none, {"Write the genome (w)", onGenomeView<writeGenomeShown>, nullptr}},
    {'q', false, {"Quit", quit, nullptr}, {"Quit (q)", quit, nullptr}},
    {iEscape, false, {nullptr, quit, nullptr}, {nullptr, quit, nullptr}},
};

bool genomeWindow() { return &shownView() == &genomeView; }

const SKeyUse& useOf(const SKey& key) { return genomeWindow() ? key.inGenomes : key.inPatterns; }

bool isColouringKey(int iKey) { return iKey >= '1' && iKey < '1' + iColourCount; }

void act(const SKey& key, int iKey) {
    const SKeyUse& use = useOf(key);
    if (use.pfAction) return use.pfAction(iKey);
    if (!use.pfNext) return;
    browse([pfNext = use.pfNext, iKey](const SShownState& shown) { return pfNext(shown, iKey); },
           iKey, key.bSlow);
    wakeIdle();
}

void keyPressed(int iKey) {
    if (!genomeWindow() && isColouringKey(iKey)) return chooseColouring(iKey);
    for (const SKey& key : windowKeys)
        if (key.iKey == iKey) act(key, iKey);
}

void characterPressed(unsigned char cKey, int, int) { keyPressed(cKey); }
void specialPressed(int iKey, int, int) { keyPressed(iSpecial + iKey); }

void mouseUsed(int iButton, int iState, int iX, int iY) {
    constexpr int iWheelUp = 3, iWheelDown = 4;  // as freeglut reports the wheel's steps
    if (iState != GLUT_DOWN || (iButton != iWheelUp && iButton != iWheelDown)) return;
    shownView().pfWheel(iX, iY, iButton == iWheelUp ? 2 : 0.5);
    wakeIdle();
}

constexpr int iPickedEntry = 1024;  // a menu value: this plus a pattern's or a flame's number

SShownState pickedPattern(const SShownState& shown, int iPattern) {
    SShownState next = shown;
    next.run.iPattern = iPattern;
    next.run.flame = SFlame();
    return next;
}

// A pattern of the pattern window's submenu, a flame of the genome window's.
void menuChosen(int iValue) {
    if (iValue < iPickedEntry) return keyPressed(iValue);
    const int iPicked = iValue - iPickedEntry;
    const FShownNext pfPicked = genomeWindow() ? pickedGenome : pickedPattern;
    browse([pfPicked, iPicked](const SShownState& shown) { return pfPicked(shown, iPicked); }, 0,
           false);
    wakeIdle();
}

void addKeyEntries() {
    for (const SKey& key : windowKeys)
        if (useOf(key).sMenuEntry) glutAddMenuEntry(useOf(key).sMenuEntry, key.iKey);
}

void attachPatternMenu() {
    const int iPatterns = glutCreateMenu(menuChosen);
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++)
        glutAddMenuEntry(patternTable[iPattern - 1].sMenuLine, iPickedEntry + iPattern);
    glutCreateMenu(menuChosen);
    glutAddSubMenu("Pattern", iPatterns);
    for (int iColour = 1; iColour <= iColourCount; iColour++)
        glutAddMenuEntry(colourTable[iColour - 1].sMenuLine, '0' + iColour);
    addKeyEntries();
}

void attachGenomeMenu() {
    const CGenomeView& view = theGenomeView();
    const int iFlames = fileFlames(view) > 0 ? glutCreateMenu(menuChosen) : 0;
    for (int iPick = 1; iPick <= fileFlames(view); iPick++)
        glutAddMenuEntry(fileFlameEntry(view, iPick).c_str(), iPickedEntry + iPick);
    glutCreateMenu(menuChosen);
    if (iFlames) glutAddSubMenu("Flame", iFlames);
    addKeyEntries();
}

}  // namespace

void quit(int) { std::exit(0); }

void attachKeys() {
    glutKeyboardFunc(characterPressed);
    glutSpecialFunc(specialPressed);
    glutMouseFunc(mouseUsed);
    if (genomeWindow()) attachGenomeMenu();
    else attachPatternMenu();
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}
