#include "display/x_link.h"

#include "base/number_text.h"

#include <GL/glut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

namespace {

// freeglut takes no notice of its window destroyed by another client (xdotool windowclose, say):
// the run would go on with no window. The check's connection is told of it, looked at a few
// times a second, and the run ends as when the window manager closes the window.
constexpr unsigned int iWatchMs = 50;

// The window's ties to the X server, as GLUT's timer and Xlib's error handler find them.
struct SXLink {
    // The connection of the display check, held until GLUT has its own: a server that resets
    // when its last client leaves (xvfb-run's) would otherwise be between two lives when GLUT
    // connects. It is kept then, to watch the window.
    Display*      pCheckedDisplay = nullptr;
    Display*      pGlutDisplay = nullptr;  // GLUT's own connection, whose events freeglut reads
    Window        watchedWindow = 0;
    XErrorHandler pfXErrorBefore = nullptr;
};

SXLink xLink;

// A request for the window that fails once it is gone must not end the run with Xlib's message
// and status 1 before its DestroyNotify is read: a new title (BadWindow), or the GL driver's
// look at its size or its frame put into it (BadDrawable).
int toleratingGoneWindow(Display* pDisplay, XErrorEvent* pError) {
    const bool bGone = pError->error_code == BadWindow || pError->error_code == BadDrawable;
    if (bGone && pError->resourceid == xLink.watchedWindow) return 0;
    return xLink.pfXErrorBefore ? xLink.pfXErrorBefore(pDisplay, pError) : 0;
}

void watchWindow(int) {
    while (XPending(xLink.pCheckedDisplay)) {
        XEvent event;
        XNextEvent(xLink.pCheckedDisplay, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == xLink.watchedWindow)
            std::exit(0);
    }
    glutTimerFunc(iWatchMs, watchWindow, 0);
}

// The value of GLUT's last -geometry, as glutInit reads its arguments; "" where there is none.
std::string geometryOf(const std::vector<std::string>& vGlutArgs) {
    std::string sGeometry;
    for (size_t i = 1; i + 1 < vGlutArgs.size(); i++) {
        if (vGlutArgs[i] == "-display") i++;
        else if (vGlutArgs[i] == "-geometry") sGeometry = vGlutArgs[++i];
    }
    return sGeometry;
}

// -geometry over the defaults, as GLUT defines it: a size only where it gives both width and
// height, a position only where it gives both offsets, a negative one from the screen's right
// or bottom edge. Set after glutInit, so that glutInit's own reading of it (which makes a size
// of nothing of -geometry +0+0) is overridden by the same values.
SPlacement placedBy(const std::string& sGeometry, SPlacement place, int iScreenWidth,
                    int iScreenHeight) {
    if (sGeometry.empty()) return place;
    int iX = 0, iY = 0;
    unsigned int uWidth = 0, uHeight = 0;
    const int iMask = XParseGeometry(sGeometry.c_str(), &iX, &iY, &uWidth, &uHeight);
    if ((iMask & WidthValue) && (iMask & HeightValue))
        place.iWidth = static_cast<int>(uWidth), place.iHeight = static_cast<int>(uHeight);
    if ((iMask & XValue) && (iMask & YValue)) {
        place.iX = (iMask & XNegative) ? iScreenWidth - place.iWidth + iX : iX;
        place.iY = (iMask & YNegative) ? iScreenHeight - place.iHeight + iY : iY;
    }
    return place;
}

}  // namespace

bool holdDisplay(const std::string& sDisplay, std::string& sError) {
    const char* sName = sDisplay.empty() ? nullptr : sDisplay.c_str();
    xLink.pCheckedDisplay = XOpenDisplay(sName);
    if (xLink.pCheckedDisplay) return true;
    const std::string sShown = XDisplayName(sName);
    sError = (sShown.empty() ? std::string("no display: DISPLAY is not set")
                             : "cannot open display \"" + shownText(sShown) + "\"") +
             "; --save FILE renders the picture without a window";
    return false;
}

void watchForDestruction() {
    xLink.pGlutDisplay = glXGetCurrentDisplay();
    xLink.watchedWindow = glXGetCurrentDrawable();
    if (!xLink.pCheckedDisplay || !xLink.watchedWindow) return;
    xLink.pfXErrorBefore = XSetErrorHandler(toleratingGoneWindow);
    XSelectInput(xLink.pCheckedDisplay, xLink.watchedWindow, StructureNotifyMask);
    XSync(xLink.pCheckedDisplay, False);
    glutTimerFunc(iWatchMs, watchWindow, 0);
}

bool eventWaiting() {
    return xLink.pGlutDisplay && XEventsQueued(xLink.pGlutDisplay, QueuedAfterReading) > 0;
}

SPlacement placementOf(const std::vector<std::string>& vGlutArgs, int iWidth, int iHeight,
                       bool bShrunk) {
    const int iScreenWidth = glutGet(GLUT_SCREEN_WIDTH);
    const int iScreenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    SPlacement place{100, 50, iWidth, iHeight};
    if (bShrunk) {
        place.iX = std::clamp(iScreenWidth - place.iWidth, 0, place.iX);
        place.iY = std::clamp(iScreenHeight - place.iHeight, 0, place.iY);
    }
    return placedBy(geometryOf(vGlutArgs), place, iScreenWidth, iScreenHeight);
}
