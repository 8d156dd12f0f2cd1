// time() that returns the value of FLAMES_FIXED_TIME when it is set, so that a run seeded with
// the clock's second can be repeated; without it the clock's own time.
//
// Preloaded into the viewer, and linked into the tests that repeat its computation in-process.

#include <chrono>
#include <cstdlib>
#include <ctime>

extern "C" time_t time(time_t* pResult) noexcept {
    time_t iNow = 0;
    if (const char* sFixed = std::getenv("FLAMES_FIXED_TIME")) {
        iNow = static_cast<time_t>(std::strtoll(sFixed, nullptr, 10));
    } else {
        iNow = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    }
    if (pResult) *pResult = iNow;
    return iNow;
}
