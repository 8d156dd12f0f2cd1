#include "viewer_harness.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The end of a bounded wait.
class CDeadline {
public:
    explicit CDeadline(double dSeconds)
        : end(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(dSeconds))) {}

    bool passed() const { return Clock::now() >= end; }
    int millisecondsLeft(int iAtMost) const {
        const auto iLeft =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        return static_cast<int>(std::max<long long>(0, std::min<long long>(iLeft, iAtMost)));
    }

private:
    Clock::time_point end;
};

[[noreturn]] void fail(const std::string& sWhat) { throw std::runtime_error(sWhat); }

[[noreturn]] void failErrno(const std::string& sWhat) {
    fail(sWhat + ": " + std::strerror(errno));
}

void sleepMilliseconds(int iMs) { std::this_thread::sleep_for(std::chrono::milliseconds(iMs)); }

// With one of the standard descriptors closed (a run without standard input, say), a new pipe
// would take its number and be clobbered when the child's standard streams are set up.
void keepStandardFdsOpen() {
    for (int iFd = 0; iFd <= 2; iFd++) {
        if (fcntl(iFd, F_GETFD) >= 0 || errno != EBADF) continue;
        const int iNull = open("/dev/null", O_RDWR);
        if (iNull >= 0 && iNull != iFd) close(iNull);  // lowest free number: iFd itself
    }
}

struct SPipe {
    int iRead = -1;
    int iWrite = -1;
};

SPipe makePipe() {
    int iFds[2];
    if (pipe2(iFds, O_CLOEXEC) != 0) failErrno("pipe");
    return {iFds[0], iFds[1]};
}

// A pseudo-terminal: the test reads the master side, the child writes to the other.
SPipe makeTerminal() {
    int iMaster = -1, iTerminal = -1;
    if (openpty(&iMaster, &iTerminal, nullptr, nullptr, nullptr) != 0) failErrno("openpty");
    fcntl(iMaster, F_SETFD, FD_CLOEXEC);
    fcntl(iTerminal, F_SETFD, FD_CLOEXEC);
    return {iMaster, iTerminal};
}

void closeFd(int& iFd) {
    if (iFd >= 0) close(iFd);
    iFd = -1;
}

// What a child gets: its arguments, its environment, the descriptors that become its 0, 1 and 2,
// and one more descriptor that it inherits under its own number.
struct SChildSetup {
    std::vector<std::string> vArgs;
    std::vector<std::string> vEnv;
    std::string sFolder;  // to change to; empty: stay
    int iStdFds[3] = {-1, -1, -1};
    int iInheritedFd = -1;
};

std::vector<char*> cStrings(std::vector<std::string>& vStrings) {
    std::vector<char*> vPointers;
    for (std::string& sString : vStrings) vPointers.push_back(sString.data());
    vPointers.push_back(nullptr);
    return vPointers;
}

// fork and exec; between the two only calls that are safe in a child of a forked process. The
// child is sent SIGTERM should this process die first.
pid_t spawn(SChildSetup setup) {
    std::vector<char*> vArgv = cStrings(setup.vArgs);
    std::vector<char*> vEnvp = cStrings(setup.vEnv);
    const pid_t iParent = getpid();
    const pid_t iPid = fork();
    if (iPid < 0) failErrno("fork");
    if (iPid > 0) return iPid;

    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != iParent) _exit(126);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &defaultAction, nullptr);
    for (int iFd = 0; iFd <= 2; iFd++)
        if (setup.iStdFds[iFd] >= 0 && dup2(setup.iStdFds[iFd], iFd) < 0) _exit(126);
    if (setup.iInheritedFd >= 0 && fcntl(setup.iInheritedFd, F_SETFD, 0) < 0) _exit(126);
    if (!setup.sFolder.empty() && chdir(setup.sFolder.c_str()) != 0) _exit(126);
    execvpe(vArgv[0], vArgv.data(), vEnvp.data());
    _exit(127);
}

bool reapChild(pid_t iPid, bool bBlock, int& iStatus) {
    for (;;) {
        const pid_t iDone = waitpid(iPid, &iStatus, bBlock ? 0 : WNOHANG);
        if (iDone == iPid) return true;
        if (iDone < 0 && errno == EINTR) continue;
        return false;
    }
}

// SIGTERM first, SIGKILL when that is not enough; the wait status.
int endChild(pid_t iPid) {
    int iStatus = 0;
    kill(iPid, SIGTERM);
    const CDeadline deadline(5);
    while (!deadline.passed()) {
        if (reapChild(iPid, false, iStatus)) return iStatus;
        sleepMilliseconds(10);
    }
    kill(iPid, SIGKILL);
    reapChild(iPid, true, iStatus);
    return iStatus;
}

std::string describeStatus(int iStatus) {
    if (WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 127) return "not found";
    if (WIFEXITED(iStatus)) return "exit status " + std::to_string(WEXITSTATUS(iStatus));
    if (WIFSIGNALED(iStatus)) return "signal " + std::to_string(WTERMSIG(iStatus));
    return "wait status " + std::to_string(iStatus);
}

std::string fileText(const std::string& sPath) {
    std::ifstream in(sPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reads a line from the descriptor, without its line end; false at the end of the stream or of
// the wait.
bool readLine(int iFd, const CDeadline& deadline, std::string& sLine) {
    for (;;) {
        pollfd poller{iFd, POLLIN, 0};
        if (poll(&poller, 1, deadline.millisecondsLeft(100)) < 0 && errno != EINTR)
            failErrno("poll");
        if (poller.revents != 0) {
            char c;
            const ssize_t iRead = read(iFd, &c, 1);
            if (iRead == 1 && c == '\n') return true;
            if (iRead == 1) sLine += c;
            else if (iRead == 0 || errno != EINTR) return false;
        } else if (deadline.passed()) {
            return false;
        }
    }
}

int ignoreXError(Display*, XErrorEvent*) { return 0; }  // a request failed: its reply says so

// The environment of this process without the variables that are set for a child.
std::vector<std::string> environmentWithout(const std::vector<std::string>& vNames) {
    std::vector<std::string> vEnv;
    for (char** pVar = environ; *pVar; ++pVar) {
        const std::string sVar = *pVar;
        bool bDropped = false;
        for (const std::string& sName : vNames) bDropped |= sVar.rfind(sName + "=", 0) == 0;
        if (!bDropped) vEnv.push_back(sVar);
    }
    return vEnv;
}

// The variable's value with sAdded put before or after it.
std::string joined(const char* sName, const std::string& sAdded, bool bBefore) {
    const char* sOld = std::getenv(sName);
    if (!sOld || !*sOld) return sAdded;
    return bBefore ? sAdded + ":" + sOld : sOld + (":" + sAdded);
}

// LD_PRELOAD is split at blanks and colons, which the build folder's path may hold: the viewer
// preloads a link to the library from this process's folder, which holds neither.
const std::string& preloadLibrary() {
    static const std::string sLibrary = [] {
        const std::string sLink = processFolder() + "/libflames_preload.so";
        if (symlink(FLAMES_PRELOAD_PATH, sLink.c_str()) != 0) failErrno("symlink");
        return sLink;
    }();
    return sLibrary;
}

std::vector<std::string> viewerEnvironment(const SViewerLaunch& launch, int iFrameFd) {
    std::vector<std::string> vEnv = environmentWithout(
        {"DISPLAY", "LD_PRELOAD", "ASAN_OPTIONS", "FLAMES_FIXED_TIME", "FLAMES_FRAME_FD"});
    if (!launch.sDisplay.empty()) vEnv.push_back("DISPLAY=" + launch.sDisplay);
    if (!launch.sFixedTime.empty()) vEnv.push_back("FLAMES_FIXED_TIME=" + launch.sFixedTime);
    vEnv.push_back("FLAMES_FRAME_FD=" + std::to_string(iFrameFd));
    vEnv.push_back("LD_PRELOAD=" + joined("LD_PRELOAD", preloadLibrary(), true));
    // The preloaded library comes before a sanitizer runtime the viewer may be built with, and
    // what the GL driver still holds when the viewer exits was not allocated by the viewer. Put
    // after the options this process was given, which a later option overrides.
    vEnv.push_back("ASAN_OPTIONS=" +
                   joined("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0", false));
    return vEnv;
}

void writeAll(int iFd, const std::string& sText) {
    size_t iDone = 0;
    while (iDone < sText.size()) {
        const ssize_t iWritten = write(iFd, sText.data() + iDone, sText.size() - iDone);
        if (iWritten < 0 && errno == EINTR) continue;
        if (iWritten <= 0) return;  // the viewer is gone or does not read: it gets what it got
        iDone += static_cast<size_t>(iWritten);
    }
}

// Appends what can be read now; false at the end of the stream (EIO: a terminal whose other
// side has been closed).
bool readAvailable(int iFd, std::string& sInto) {
    char cBuffer[65536];
    for (;;) {
        const ssize_t iRead = read(iFd, cBuffer, sizeof cBuffer);
        if (iRead > 0) {
            sInto.append(cBuffer, static_cast<size_t>(iRead));
            continue;
        }
        if (iRead < 0 && errno == EINTR) continue;
        return iRead < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void setNonBlocking(int iFd) { fcntl(iFd, F_SETFL, fcntl(iFd, F_GETFL) | O_NONBLOCK); }

unsigned char channel(unsigned long iPixel, unsigned long iMask) {
    if (iMask == 0) return 0;
    int iShift = 0;
    while (!((iMask >> iShift) & 1)) iShift++;
    const unsigned long iMax = iMask >> iShift;
    return static_cast<unsigned char>(((iPixel & iMask) >> iShift) * 255 / iMax);
}

}  // namespace

CPrivateServer::CPrivateServer(double dTimeout, EServerConnection connection) {
    keepStandardFdsOpen();
    XSetErrorHandler(ignoreXError);
    std::string sLogTemplate = processFolder() + "/xvfb-XXXXXX";
    const int iLog = mkostemp(sLogTemplate.data(), O_CLOEXEC);
    if (iLog < 0) failErrno("mkostemp");
    sLogPath = sLogTemplate;
    const int iNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    SPipe number = makePipe();

    SChildSetup setup;
    setup.vArgs = {"Xvfb", "-displayfd", std::to_string(number.iWrite), "-nolisten", "tcp",
                   "-screen", "0", "1280x1024x24"};
    setup.vEnv = environmentWithout({});
    setup.iStdFds[0] = iNull;
    setup.iStdFds[1] = setup.iStdFds[2] = iLog;
    setup.iInheritedFd = number.iWrite;
    try {
        iPid = spawn(setup);
    } catch (...) {
        close(iNull), close(iLog), closeFd(number.iRead), closeFd(number.iWrite);
        throw;
    }
    close(iNull), close(iLog), closeFd(number.iWrite);

    // Xvfb writes its display number once it accepts connections.
    std::string sNumber;
    const bool bAnswered = readLine(number.iRead, CDeadline(dTimeout), sNumber);
    closeFd(number.iRead);
    char* pEnd = nullptr;
    const long iParsed = std::strtol(sNumber.c_str(), &pEnd, 10);
    if (!bAnswered || sNumber.empty() || *pEnd != '\0') {
        const std::string sLog = fileText(sLogPath);
        const int iStatus = endChild(iPid);
        iPid = -1;
        stop();
        fail("Xvfb did not start (" + describeStatus(iStatus) + ")" +
             (sLog.empty() ? "" : ", its messages:\n" + sLog));
    }
    iNumber = static_cast<int>(iParsed);
    if (connection == EServerConnection::NotHeld) return;
    pDisplay = XOpenDisplay(displayName().c_str());
    if (!pDisplay) {
        stop();
        fail("cannot connect to the private Xvfb on display " + displayName());
    }
}

CPrivateServer::~CPrivateServer() { stop(); }

void CPrivateServer::stop() {
    if (pDisplay) XCloseDisplay(pDisplay);
    pDisplay = nullptr;
    if (iPid > 0) endChild(iPid);
    iPid = -1;
    if (!sLogPath.empty()) unlink(sLogPath.c_str());
    sLogPath.clear();
}

CViewerRun::CViewerRun(const SViewerLaunch& launch) : bErrorsExpected(launch.bErrorsExpected) {
    keepStandardFdsOpen();
    signal(SIGPIPE, SIG_IGN);  // an answer for a viewer that has stopped reading is dropped
    SPipe err = launch.bStderrOnTerminal ? makeTerminal() : makePipe();
    SPipe in = makePipe(), out = makePipe(), frame = makePipe();

    SChildSetup setup;
    setup.vArgs = launch.vWrapper;
    setup.vArgs.push_back(FLAMES_PATH);
    setup.vArgs.insert(setup.vArgs.end(), launch.vArgs.begin(), launch.vArgs.end());
    setup.sFolder = launch.sFolder;
    setup.vEnv = viewerEnvironment(launch, frame.iWrite);
    setup.iStdFds[0] = in.iRead;
    setup.iStdFds[1] = out.iWrite;
    setup.iStdFds[2] = err.iWrite;
    setup.iInheritedFd = frame.iWrite;
    try {
        iPid = spawn(setup);
    } catch (...) {
        for (int* pFd : {&in.iRead, &in.iWrite, &out.iRead, &out.iWrite, &err.iRead, &err.iWrite,
                         &frame.iRead, &frame.iWrite})
            closeFd(*pFd);
        throw;
    }
    closeFd(in.iRead), closeFd(out.iWrite), closeFd(err.iWrite), closeFd(frame.iWrite);

    writeAll(in.iWrite, launch.sAnswers);
    closeFd(in.iWrite);
    iOutFd = out.iRead, iErrFd = err.iRead, iFrameFd = frame.iRead;
    for (int iFd : {iOutFd, iErrFd, iFrameFd}) setNonBlocking(iFd);
}

CViewerRun::~CViewerRun() {
    stop();
    closeFd(iOutFd), closeFd(iErrFd), closeFd(iFrameFd);
}

void CViewerRun::pump(int iTimeoutMs) {
    pollfd pollers[3] = {{iOutFd, POLLIN, 0}, {iErrFd, POLLIN, 0}, {iFrameFd, POLLIN, 0}};
    if (poll(pollers, 3, iTimeoutMs) < 0 && errno != EINTR) failErrno("poll");
    std::string sFrames;
    if (pollers[0].revents && !readAvailable(iOutFd, sOut)) closeFd(iOutFd);
    if (pollers[1].revents && !readAvailable(iErrFd, sErr)) closeFd(iErrFd);
    if (pollers[2].revents && !readAvailable(iFrameFd, sFrames)) closeFd(iFrameFd);
    iFrames += static_cast<int>(sFrames.size());
}

bool CViewerRun::reap(bool bBlock) {
    if (!bReaped) bReaped = reapChild(iPid, bBlock, iStatus);
    return bReaped;
}

void CViewerRun::drain(double dTimeout) {
    const CDeadline deadline(dTimeout);
    while ((iOutFd >= 0 || iErrFd >= 0 || iFrameFd >= 0) && !deadline.passed())
        pump(deadline.millisecondsLeft(50));
}

void CViewerRun::waitForFrames(int iWanted, double dTimeout) {
    const CDeadline deadline(dTimeout);
    while (iFrames < iWanted) {
        if (reap(false)) {
            drain(2);  // the frames it drew before it ended
            if (iFrames >= iWanted) return;
            fail("the viewer ended (" + describeStatus(iStatus) + ") after " +
                 std::to_string(iFrames) + " frames; its errors:\n" + sErr);
        }
        if (iFrames == 0 && !sErr.empty() && !bErrorsExpected) {
            drain(0.2);  // the rest of the message
            fail("the viewer wrote to standard error before its first frame:\n" + sErr);
        }
        if (deadline.passed())
            fail("no frame " + std::to_string(iWanted) + " within " + std::to_string(dTimeout) +
                 " s; the viewer's errors:\n" + sErr);
        pump(deadline.millisecondsLeft(50));
    }
}

int CViewerRun::framesDrawnNow() {
    pump(0);
    return iFrames;
}

void CViewerRun::waitForOutput(const std::string& sText, double dTimeout, size_t iFrom) {
    const CDeadline deadline(dTimeout);
    while (sOut.find(sText, iFrom) == std::string::npos) {
        if (reap(false)) drain(2);
        if (sOut.find(sText, iFrom) != std::string::npos) return;
        if (bReaped || deadline.passed())
            fail("no \"" + sText + "\" on standard output (" +
                 (bReaped ? describeStatus(iStatus) : "still running") + "); it has:\n" + sOut +
                 "\nand on standard error:\n" + sErr);
        pump(deadline.millisecondsLeft(50));
    }
}

// Once the viewer has closed its ends of the pipes it is ending: it is looked for every
// millisecond from then on, so that the time of its end is known that closely.
int CViewerRun::waitForExit(double dTimeout) {
    const CDeadline deadline(dTimeout);
    while (!reap(false)) {
        if (deadline.passed())
            fail("the viewer still runs after " + std::to_string(dTimeout) + " s");
        const bool bClosed = iOutFd < 0 && iErrFd < 0 && iFrameFd < 0;
        pump(deadline.millisecondsLeft(bClosed ? 1 : 20));
    }
    drain(2);
    return iStatus;
}

int CViewerRun::terminate(double dTimeout) {
    if (iPid > 0 && !bReaped) kill(iPid, SIGTERM);
    return waitForExit(dTimeout);
}

int CViewerRun::interrupt(double dTimeout) {
    if (iPid > 0 && !bReaped) kill(iPid, SIGINT);
    return waitForExit(dTimeout);
}

void CViewerRun::stop() {
    if (iPid > 0 && !reap(false)) {
        kill(iPid, SIGKILL);
        reap(true);
    }
    drain(2);
}

long long CViewerRun::peakMemory() const {
    std::ifstream status("/proc/" + std::to_string(iPid) + "/status");
    std::string sLine;
    while (std::getline(status, sLine))
        if (sLine.rfind("VmHWM:", 0) == 0) return 1024 * std::stoll(sLine.substr(6));  // kB
    fail("no VmHWM for the viewer (process " + std::to_string(iPid) + ")");
}

WindowId CPrivateServer::findWindow(const std::string& sTitle, double dTimeout,
                                    bool bPrefix) const {
    const CDeadline deadline(dTimeout);
    for (;;) {
        Window root = 0, parent = 0, *pChildren = nullptr;
        unsigned int iCount = 0;
        Window found = 0;
        if (XQueryTree(pDisplay, DefaultRootWindow(pDisplay), &root, &parent, &pChildren,
                       &iCount)) {
            for (unsigned int i = 0; i < iCount && !found; i++) {
                char* sName = nullptr;
                if (XFetchName(pDisplay, pChildren[i], &sName) && sName) {
                    const std::string sFound = sName;
                    if (bPrefix ? sFound.rfind(sTitle, 0) == 0 : sFound == sTitle)
                        found = pChildren[i];
                    XFree(sName);
                }
            }
            if (pChildren) XFree(pChildren);
        }
        if (found) return found;
        if (deadline.passed()) fail("no window titled \"" + sTitle + "\"");
        sleepMilliseconds(20);
    }
}

SPicture CPrivateServer::grabWindow(WindowId window) const {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(pDisplay, window, &attributes)) fail("the window has gone");
    XImage* pImage = XGetImage(pDisplay, window, 0, 0, attributes.width, attributes.height,
                               AllPlanes, ZPixmap);
    if (!pImage) fail("cannot read the window's pixels (off the screen, or not mapped?)");
    SPicture picture;
    picture.iWidth = attributes.width;
    picture.iHeight = attributes.height;
    picture.vRgb.reserve(3 * static_cast<size_t>(picture.iWidth) * picture.iHeight);
    for (int iY = 0; iY < picture.iHeight; iY++) {
        for (int iX = 0; iX < picture.iWidth; iX++) {
            const unsigned long iPixel = XGetPixel(pImage, iX, iY);
            picture.vRgb.push_back(channel(iPixel, pImage->red_mask));
            picture.vRgb.push_back(channel(iPixel, pImage->green_mask));
            picture.vRgb.push_back(channel(iPixel, pImage->blue_mask));
        }
    }
    XDestroyImage(pImage);
    return picture;
}

SPicture CPrivateServer::grabSettledWindow(WindowId window, double dTimeout) const {
    const CDeadline deadline(dTimeout);
    SPicture last = grabWindow(window);
    for (;;) {
        sleepMilliseconds(50);
        SPicture next = grabWindow(window);
        if (next == last) return next;
        if (deadline.passed()) fail("the window's pixels keep changing");
        last = std::move(next);
    }
}

void CPrivateServer::moveResizeWindow(WindowId window, int iX, int iY, int iWidth,
                                      int iHeight) const {
    XMoveResizeWindow(pDisplay, window, iX, iY, static_cast<unsigned>(iWidth),
                      static_cast<unsigned>(iHeight));
    XSync(pDisplay, False);
}

void CPrivateServer::pressKey(WindowId window, char cKey) const {
    pressKeySymbol(window, cKey == '\033' ? XK_Escape : static_cast<KeySym>(cKey));
}

void CPrivateServer::pressKeySymbol(WindowId window, unsigned long uSymbol) const {
    const KeySym symbol = uSymbol;
    XKeyEvent event{};
    event.display = pDisplay;
    event.window = window;
    event.root = DefaultRootWindow(pDisplay);
    event.same_screen = True;
    event.keycode = XKeysymToKeycode(pDisplay, symbol);
    // A symbol on its key's shifted level ('>' over '.') comes with Shift held, as typed.
    if (XkbKeycodeToKeysym(pDisplay, static_cast<KeyCode>(event.keycode), 0, 0) != symbol)
        event.state = ShiftMask;
    for (const int iType : {KeyPress, KeyRelease}) {
        event.type = iType;
        XSendEvent(pDisplay, window, True, iType == KeyPress ? KeyPressMask : KeyReleaseMask,
                   reinterpret_cast<XEvent*>(&event));
    }
    XSync(pDisplay, False);
}

void CPrivateServer::closeWindow(WindowId window) const {
    XClientMessageEvent event{};
    event.type = ClientMessage;
    event.display = pDisplay;
    event.window = window;
    event.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    event.format = 32;
    event.data.l[0] = static_cast<long>(XInternAtom(pDisplay, "WM_DELETE_WINDOW", False));
    event.data.l[1] = CurrentTime;
    XSendEvent(pDisplay, window, False, NoEventMask, reinterpret_cast<XEvent*>(&event));
    XSync(pDisplay, False);
}

void CPrivateServer::destroyWindow(WindowId window) const {
    XDestroyWindow(pDisplay, window);
    XSync(pDisplay, False);
}

// The position of the window's origin on the root window, as a window manager's frame would not
// tell it.
SWindowPlace CPrivateServer::placeOf(WindowId window) const {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(pDisplay, window, &attributes)) fail("the window has gone");
    SWindowPlace place;
    place.iWidth = attributes.width;
    place.iHeight = attributes.height;
    Window child = 0;
    XTranslateCoordinates(pDisplay, window, DefaultRootWindow(pDisplay), 0, 0, &place.iX,
                          &place.iY, &child);
    if (XWMHints* pHints = XGetWMHints(pDisplay, window)) {
        place.bIconic = (pHints->flags & StateHint) && pHints->initial_state == IconicState;
        XFree(pHints);
    }
    return place;
}

std::string CPrivateServer::titleOf(WindowId window) const {
    char* sName = nullptr;
    std::string sTitle;
    if (XFetchName(pDisplay, window, &sName) && sName) sTitle = sName;
    if (sName) XFree(sName);
    return sTitle;
}

SViewerShot shootViewer(CPrivateServer& server, CViewerRun& run, double dTimeout,
                        const std::string& sTitle, bool bPrefix) {
    run.waitForFrames(1, dTimeout);
    SViewerShot shot;
    shot.window = server.findWindow(sTitle, 5, bPrefix);  // it was there before the frame
    shot.picture = server.grabSettledWindow(shot.window, 10);
    return shot;
}

bool displayAnswers(const std::string& sDisplay) {
    Display* pDisplay = XOpenDisplay(sDisplay.c_str());
    if (pDisplay) XCloseDisplay(pDisplay);
    return pDisplay != nullptr;
}

namespace {

// Where the signal handler finds the folder, and the process that it belongs to: a process
// forked from this one must not remove its parent's. Written only with the owner cleared.
char cFolderPath[4096];
volatile sig_atomic_t iFolderOwner = 0;

void removeOwnFolder() {
    if (iFolderOwner != getpid()) return;
    std::error_code error;
    std::filesystem::remove_all(cFolderPath, error);
}

// Only calls that are safe in a signal handler: _Fork (no fork handlers, unlike fork), execve,
// waitpid. The handler has been reset to the default action on entry (SA_RESETHAND), so the
// signal raised again ends the process as it would have without the handler.
void removeOwnFolderAndDie(int iSignal) {
    if (iFolderOwner == getpid()) {
        const pid_t iRemover = _Fork();
        if (iRemover == 0) {
            char* vArgv[] = {const_cast<char*>("rm"), const_cast<char*>("-rf"),
                             const_cast<char*>("--"), cFolderPath, nullptr};
            char* vEnvp[] = {nullptr};
            execve("/bin/rm", vArgv, vEnvp);
            _exit(127);
        }
        int iStatus;
        while (iRemover > 0 && waitpid(iRemover, &iStatus, 0) < 0 && errno == EINTR) {
        }
    }
    raise(iSignal);
}

// Interrupted tests (Ctrl-C, ctest ended) clean up too; a signal that is ignored stays so.
void removeFolderOnSignals() {
    for (const int iSignal : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        if (sigaction(iSignal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = removeOwnFolderAndDie;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaddset(&action.sa_mask, SIGINT);  // one removal, not one started inside another
        sigaddset(&action.sa_mask, SIGTERM);
        sigaction(iSignal, &action, nullptr);
    }
}

// The folders of processes killed outright (SIGKILL, a ctest timeout), which could not remove
// their own. A process that has gone is not there for kill(); EPERM is one that is.
void sweepDeadFolders(const std::filesystem::path& base) {
    const std::string sPrefix = "flames-e2e-";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
        const std::string sName = entry.path().filename().string();
        if (sName.rfind(sPrefix, 0) != 0) continue;
        if (!std::isdigit(static_cast<unsigned char>(sName[sPrefix.size()]))) continue;
        char* pEnd = nullptr;
        const long iPid = std::strtol(sName.c_str() + sPrefix.size(), &pEnd, 10);
        if (*pEnd != '-' || iPid <= 0 || iPid == getpid()) continue;
        if (kill(static_cast<pid_t>(iPid), 0) == 0 || errno != ESRCH) continue;
        std::filesystem::remove_all(entry.path(), error);
    }
}

}  // namespace

const std::string& processFolder() {
    static std::string sFolder;
    if (iFolderOwner == getpid()) return sFolder;

    namespace fs = std::filesystem;
    const char* sTmp = std::getenv("TMPDIR");
    fs::path base = "/tmp";
    if (sTmp && *sTmp && !std::strpbrk(sTmp, " :")) base = fs::absolute(sTmp);
    sweepDeadFolders(base);
    std::string sTemplate =
        (base / ("flames-e2e-" + std::to_string(getpid()) + "-XXXXXX")).string();
    if (sTemplate.size() >= sizeof cFolderPath) fail("too long a path: " + sTemplate);
    if (!mkdtemp(sTemplate.data())) failErrno("cannot make a folder in " + base.string());

    iFolderOwner = 0;
    std::strcpy(cFolderPath, sTemplate.c_str());
    sFolder = sTemplate;
    iFolderOwner = getpid();
    static const bool bRegistered = [] {
        removeFolderOnSignals();
        return std::atexit(removeOwnFolder) == 0;
    }();
    (void)bRegistered;
    return sFolder;
}
