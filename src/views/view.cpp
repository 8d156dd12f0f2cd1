#include "views/view.h"

#include <GL/glut.h>

#include <chrono>
#include <thread>
#include <utility>

constexpr const char* sWindowTitle = "Vemo's Fractal Flame Test";

namespace {

// The window as GLUT's callbacks find it: the kind of view it shows, and what its keys ask it
// to show next.
struct SWindow {
    const SViewKind* pView = nullptr;  // set before the window opens
    CBrowsing        browsing;
};

SWindow theWindow;

// Between the window's events: browsing first, then a slice of what is shown. Once there is
// nothing left to do, the window only waits for its events.
void whileIdle() {
    const SViewKind& view = shownView();
    const bool bBrowsing =
        theWindow.browsing.act(view.pfState(), view.pfShownCount(), view.pfShow);
    const bool bWorking = view.pfWork();
    if (bBrowsing && !bWorking) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!bBrowsing && !bWorking) glutIdleFunc(nullptr);
}

}  // namespace

const SViewKind& shownView() { return *theWindow.pView; }

void showKind(const SViewKind& kind) { theWindow.pView = &kind; }

void browse(FNext next, int iKey, bool bSlow) {
    theWindow.browsing.ask(std::move(next), iKey, bSlow);
}

void wakeIdle() { glutIdleFunc(whileIdle); }

std::string windowTitle(const std::string& sCaption, int iShrink) {
    std::string sTitle = sWindowTitle;
    if (!sCaption.empty()) sTitle += ": " + sCaption;
    if (iShrink > 1) sTitle += " (shown at 1/" + std::to_string(iShrink) + ")";
    return sTitle;
}
