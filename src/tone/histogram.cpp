#include "tone/histogram.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <tuple>

bool SBucket::operator==(const SBucket& other) const {
    return std::tie(uRed, uGreen, uBlue, uAlpha, uCount) ==
           std::tie(other.uRed, other.uGreen, other.uBlue, other.uAlpha, other.uCount);
}

namespace {

// Smaller grids (the window's trials, random genomes' tests) stay on the heap, which keeps and
// reuses their memory; so does every grid in a build with the address sanitizer, which watches
// the heap's bounds.
bool offTheHeap(std::size_t uBytes) {
#ifdef __SANITIZE_ADDRESS__
    (void)uBytes;
    return false;
#else
    return uBytes >= (std::size_t{4} << 20);
#endif
}

}  // namespace

void* zeroedPages(std::size_t uBytes) {
    if (!offTheHeap(uBytes)) return std::memset(::operator new(uBytes), 0, uBytes);
    // The system's fresh pages are zero; each is taken at its first write.
    void* p = mmap(nullptr, uBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    return p;
}

void freeZeroedPages(void* p, std::size_t uBytes) {
    if (!offTheHeap(uBytes)) return ::operator delete(p);
    munmap(p, uBytes);
}

namespace {

// The whole pages of p[0 .. uBytes) given to madvise: a page at either end shared with other
// memory is left as it is.
void adviseWholePages(const void* p, std::size_t uBytes, int iAdvice) {
    const uintptr_t uPage = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t uFirst = (reinterpret_cast<uintptr_t>(p) + uPage - 1) / uPage * uPage;
    const uintptr_t uEnd = (reinterpret_cast<uintptr_t>(p) + uBytes) / uPage * uPage;
    // A system without the advice (or headers without it: −1) leaves the pages to fault as
    // they are touched.
    if (iAdvice >= 0 && uFirst < uEnd)
        madvise(reinterpret_cast<void*>(uFirst), uEnd - uFirst, iAdvice);
}

}  // namespace

#ifndef MADV_POPULATE_WRITE  // older system headers: the pages fault as they are touched
constexpr int MADV_POPULATE_READ = -1, MADV_POPULATE_WRITE = -1;
#endif

void takePagesForWriting(void* p, std::size_t uBytes) {
    adviseWholePages(p, uBytes, MADV_POPULATE_WRITE);
}

void mapZeroedPagesForReading(std::size_t uAllBytes, const void* p, std::size_t uBytes) {
    // A page shared with the rows beside is left to fault, or to the call for those rows.
    if (offTheHeap(uAllBytes)) adviseWholePages(p, uBytes, MADV_POPULATE_READ);
}

CHistogram::CHistogram(int iWidth_, int iHeight_)
    : iWidth(iWidth_), iHeight(iHeight_),
      vBuckets(static_cast<std::size_t>(iWidth_) * static_cast<std::size_t>(iHeight_)) {}

namespace {

// A large grid's pages are the system's, each taken at its first touch. A first touch that reads
// maps the shared page of zeros, and the write after it copies that page and stops the other
// cores to drop it from their tables (a tenth of a supersampled render's time): the count is
// added first, by one instruction that reads and writes, so that a page's first touch is a write.
void addFirstAsWrite(std::uint64_t& uSum, std::uint64_t uAdd) {
#if defined(__x86_64__)
    asm volatile("addq %1, %0" : "+m"(uSum) : "r"(uAdd) : "memory");
#else
    uSum += uAdd;
#endif
}

void addInto(SBucket& bucket, const SBucket& add) {
    addFirstAsWrite(bucket.uCount, add.uCount);
    bucket.uRed += add.uRed;
    bucket.uGreen += add.uGreen;
    bucket.uBlue += add.uBlue;
    bucket.uAlpha += add.uAlpha;
}

}  // namespace

CHistogram::CHistogram(int iWidth_, SRows gridRows)
    : CHistogram(iWidth_, gridRows.count()) {
    bBand = true;
    uFirstBucket = static_cast<std::size_t>(gridRows.iFirst) * static_cast<std::size_t>(iWidth_);
}

void CHistogram::add(const SPlot* pPlots, std::size_t uPlots, const SBucket* pAdds) {
    if (bBand) addPlots<true>(pPlots, uPlots, pAdds);
    else addPlots<false>(pPlots, uPlots, pAdds);
}

// A band's buckets are its own, counted from its first: a plot above it wraps round to a number
// past its last, and is left out with those below.
template <bool bBand>
void CHistogram::addPlots(const SPlot* pPlots, std::size_t uPlots, const SBucket* pAdds) {
    // Plots land anywhere on a grid far larger than the caches: asking for the buckets 32 plots
    // ahead (a miss lasts about that many adds) lets their misses overlap instead of following
    // one another. Half the buckets straddle two cache lines (40 bytes, lines of 64): both are
    // asked for.
    constexpr std::size_t uAhead = 32;
    SBucket* pBuckets = vBuckets.data();
    const std::size_t uBuckets = vBuckets.size();
    const std::size_t uFirst = bBand ? uFirstBucket : 0;
    for (std::size_t i = 0; i < uPlots; i++) {
        if (i + uAhead < uPlots) {
            const std::size_t uAheadBucket = pPlots[i + uAhead].uBucket - uFirst;
            if (!bBand || uAheadBucket < uBuckets) {
                const char* pAhead = reinterpret_cast<const char*>(pBuckets + uAheadBucket);
                __builtin_prefetch(pAhead, 1);
                __builtin_prefetch(pAhead + sizeof(SBucket) - 1, 1);
            }
        }
        const std::size_t uBucket = pPlots[i].uBucket - uFirst;
        if (bBand && uBucket >= uBuckets) continue;
        addInto(pBuckets[uBucket], pAdds[pPlots[i].uAdd]);
    }
}

void CHistogram::merge(const CHistogram& other) {
    for (std::size_t i = 0; i < vBuckets.size(); i++) addInto(vBuckets[i], other.vBuckets[i]);
}

void CHistogram::addBuckets(std::size_t uFirst, const SBucket* pBuckets, std::size_t uCount) {
    for (std::size_t i = 0; i < uCount; i++) addInto(vBuckets[uFirst + i], pBuckets[i]);
}

void CHistogram::readyForReading(SRows rows) const {
    const std::size_t uWidth = static_cast<std::size_t>(iWidth);
    mapZeroedPagesForReading(vBuckets.size() * sizeof(SBucket),
                             vBuckets.data() + static_cast<std::size_t>(rows.iFirst) * uWidth,
                             static_cast<std::size_t>(rows.count()) * uWidth * sizeof(SBucket));
}

void CHistogram::clear() {
    for (SBucket& bucket : vBuckets) bucket = SBucket();
}
