#pragma once

// Running the real viewer as a person would, in an X server of its own: a private Xvfb, the
// viewer with its answers on standard input, the moment a frame has been drawn, and the pixels
// of its window. Every wait is bounded; a failure throws std::runtime_error.
//
// The viewer is started with the frame-signal library preloaded: it writes one byte to a pipe
// after each glutSwapBuffers, and can fix the value of time(), which seeds the computation.

#include <sys/types.h>

#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display; its macros (None, Bool, Status) stay out of the tests

using WindowId = unsigned long;  // Xlib's Window

constexpr int iViewerSide = 800;  // the window's width and height, and the picture's
constexpr const char* sViewerTitle = "Vemo's Fractal Flame Test";

// A window's pixels, row 0 at the top as X numbers them; three bytes a pixel, red first.
struct SPicture {
    int iWidth = 0;
    int iHeight = 0;
    std::vector<unsigned char> vRgb;

    const unsigned char* at(int iX, int iY) const { return &vRgb[3 * (iY * iWidth + iX)]; }
    bool operator==(const SPicture& other) const {
        return iWidth == other.iWidth && iHeight == other.iHeight && vRgb == other.vRgb;
    }
};

// Where a window stands on the screen, its size, and whether it asked to start iconic (its
// WM_HINTS), as the server has them.
struct SWindowPlace {
    int iX = 0;
    int iY = 0;
    int iWidth = 0;
    int iHeight = 0;
    bool bIconic = false;
};

// Whether this process holds a connection of its own to the server. Without one, the server resets
// when its last client leaves, as a bare Xvfb (and xvfb-run's) does; none of the server's methods
// that look at windows may then be called.
enum class EServerConnection { Held, NotHeld };

// An Xvfb on a display number it picks itself, and this process's own connection to it, through
// which the windows of the server are found, read and changed. Stops the server when destroyed.
class CPrivateServer {
public:
    explicit CPrivateServer(double dTimeout = 20,
                            EServerConnection connection = EServerConnection::Held);
    ~CPrivateServer();
    CPrivateServer(const CPrivateServer&) = delete;
    CPrivateServer& operator=(const CPrivateServer&) = delete;

    std::string displayName() const { return ":" + std::to_string(iNumber); }

    // The top-level window of that title (or one that begins with it); with no window manager,
    // a child of the root.
    WindowId findWindow(const std::string& sTitle, double dTimeout, bool bPrefix = false) const;

    // The window's pixels as the server holds them now.
    SPicture grabWindow(WindowId window) const;

    // The window's pixels once the server has the whole frame: two reads 50 ms apart agree.
    SPicture grabSettledWindow(WindowId window, double dTimeout) const;

    void moveResizeWindow(WindowId window, int iX, int iY, int iWidth, int iHeight) const;

    // A key pressed and released in the window, as its keyboard would send them; cKey is a
    // printable character or '\033' for Escape.
    void pressKey(WindowId window, char cKey) const;
    void pressKeySymbol(WindowId window, unsigned long uSymbol) const;  // an X keysym: XK_Right

    // What a window manager sends when the user closes the window.
    void closeWindow(WindowId window) const;

    // The window destroyed by this process, as another client may (xdotool windowclose).
    void destroyWindow(WindowId window) const;

    SWindowPlace placeOf(WindowId window) const;
    std::string titleOf(WindowId window) const;  // "" for a window that has gone

private:
    void stop();

    pid_t iPid = -1;
    int iNumber = -1;
    std::string sLogPath;  // the server's own messages, shown when it does not start
    _XDisplay* pDisplay = nullptr;
};

struct SViewerLaunch {
    std::string sAnswers;            // typed on standard input, which is then closed
    std::string sDisplay;            // the viewer's DISPLAY; empty: not set at all
    std::string sFixedTime;          // what time() returns in the viewer; empty: the clock
    bool bStderrOnTerminal = false;  // standard error on a pseudo-terminal instead of a pipe
    bool bErrorsExpected = false;    // else a word on standard error before a frame fails at once
    std::vector<std::string> vWrapper;  // a command the viewer runs under, such as valgrind
    std::vector<std::string> vArgs;     // the viewer's command line after its name
    std::string sFolder;                // the viewer's current folder; empty: this process's
};

// One run of the viewer. Standard output and standard error are collected while it is waited
// for; the run is killed when it is destroyed. A wait for a frame fails as soon as the viewer
// has ended, or has written to standard error before its first frame where nothing is expected
// there (a library it could not load, say): the test says why at once, not at its timeout.
class CViewerRun {
public:
    explicit CViewerRun(const SViewerLaunch& launch);
    ~CViewerRun();
    CViewerRun(const CViewerRun&) = delete;
    CViewerRun& operator=(const CViewerRun&) = delete;

    void waitForFrames(int iFrames, double dTimeout);  // until that many have been drawn in all
    // Until sText is on standard output, at iFrom or after.
    void waitForOutput(const std::string& sText, double dTimeout, size_t iFrom = 0);
    int framesDrawn() const { return iFrames; }  // as last read
    int framesDrawnNow();                         // every frame so far, read now
    int waitForExit(double dTimeout);  // the wait status
    int terminate(double dTimeout);    // asks it to end (SIGTERM) and waits: the wait status
    int interrupt(double dTimeout);    // the same with SIGINT, as Ctrl-C sends it
    void stop();                       // kills the viewer and collects the rest of its output
    long long peakMemory() const;      // of the running viewer, in bytes: its VmHWM

    const std::string& output() const { return sOut; }
    const std::string& errors() const { return sErr; }

private:
    void pump(int iTimeoutMs);  // reads whatever the viewer wrote, waiting at most that long
    bool reap(bool bBlock);
    void drain(double dTimeout);

    pid_t iPid = -1;
    int iOutFd = -1;
    int iErrFd = -1;
    int iFrameFd = -1;
    int iFrames = 0;
    int iStatus = 0;
    bool bReaped = false;
    bool bErrorsExpected = false;
    std::string sOut;
    std::string sErr;
};

struct SViewerShot {
    WindowId window = 0;
    SPicture picture;
};
// Waits for the run's first frame, finds its window in the server by its title (or the start of
// its title, bPrefix) and grabs it.
SViewerShot shootViewer(CPrivateServer& server, CViewerRun& run, double dTimeout,
                        const std::string& sTitle = sViewerTitle, bool bPrefix = false);

// Whether an X server answers on that display.
bool displayAnswers(const std::string& sDisplay);

// This process's folder for everything the harness and the tests make, made at its first use:
// $TMPDIR/flames-e2e-PID-XXXXXX, or under /tmp when TMPDIR is unset, empty, or holds a blank or a
// colon (which LD_PRELOAD cannot take). It is removed when the process exits, and when SIGINT or
// SIGTERM ends it; those of processes killed outright are swept at the first use of the next.
// A child forked from this process gets a folder of its own.
const std::string& processFolder();
