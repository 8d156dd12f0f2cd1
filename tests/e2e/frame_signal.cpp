// glutSwapBuffers() that, after the real one, writes one byte to the descriptor named by
// FLAMES_FRAME_FD: whoever holds the other end of that pipe learns that a frame has been drawn.

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

using SwapFunction = void (*)();

SwapFunction realSwap() {
    static const SwapFunction pfSwap =
        reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    return pfSwap;
}

int frameFd() {
    const char* sFd = std::getenv("FLAMES_FRAME_FD");
    return sFd ? std::atoi(sFd) : -1;
}

}  // namespace

extern "C" void glutSwapBuffers() {
    if (SwapFunction pfSwap = realSwap()) pfSwap();
    const int iFd = frameFd();
    if (iFd < 0) return;
    const char cFrame = 'f';
    ssize_t iWritten;
    do {
        iWritten = write(iFd, &cFrame, 1);
    } while (iWritten < 0 && errno == EINTR);
}
