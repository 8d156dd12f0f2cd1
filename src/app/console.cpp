#include "app/console.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>

bool standardStreamsOpen() {
    bool bOutputOpen = true;
    for (int iFd = STDIN_FILENO; iFd <= STDERR_FILENO; iFd++) {
        if (fcntl(iFd, F_GETFD) >= 0 || errno != EBADF) continue;
        if (iFd == STDOUT_FILENO) bOutputOpen = false;
        const int iNull = open("/dev/null", O_RDWR);  // the lowest free number: iFd itself
        if (iNull >= 0 && iNull != iFd) close(iNull);
    }
    return bOutputOpen;
}

namespace {

// A buffer that writes to descriptor 1 when full or flushed, and remembers the first failure.
class CStandardOutput : public std::streambuf {
public:
    CStandardOutput() { setp(cBuffer, cBuffer + sizeof cBuffer); }
    int error() const { return iErrno; }

protected:
    int_type overflow(int_type iNext) override {
        if (sync() != 0) return traits_type::eof();
        if (traits_type::eq_int_type(iNext, traits_type::eof())) return traits_type::not_eof(iNext);
        *pptr() = traits_type::to_char_type(iNext);
        pbump(1);
        return iNext;
    }

    int sync() override {
        const char* pNext = pbase();
        while (pNext < pptr() && iErrno == 0) {
            const ssize_t iWritten =
                write(STDOUT_FILENO, pNext, static_cast<size_t>(pptr() - pNext));
            if (iWritten > 0) pNext += iWritten;
            else if (iWritten < 0 && errno != EINTR) iErrno = errno;
            else if (iWritten == 0) iErrno = EIO;
        }
        setp(cBuffer, cBuffer + sizeof cBuffer);  // what failed to go is dropped, not retried
        return iErrno == 0 ? 0 : -1;
    }

private:
    char cBuffer[4096];
    int iErrno = 0;
};

// Never destroyed: std::cout is flushed at exit, after the destruction of static objects.
CStandardOutput& standardOutput() {
    static CStandardOutput* pOutput = new CStandardOutput;
    return *pOutput;
}

}  // namespace

void watchStandardOutput() { std::cout.rdbuf(&standardOutput()); }

std::string standardOutputError() {
    std::cout.flush();
    if (standardOutput().error() != 0) return std::strerror(standardOutput().error());
    return std::cout.fail() ? "write error" : "";
}
