#pragma once

// The bucket grid a render plots into: for each bucket the sums of what landed there, colour
// (red, green, blue), alpha and a count, each an exact integer in fixed point, so that sums
// made in any order, by any number of threads, are the same to the last bit.

#include "tone/grid.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// One palette unit (a channel of 1 at plot weight 1) in the sums: 255 · 2^12. Palette channels
// read from files are k/255, which thus add exact whole multiples of 2^12, as flam3's integer
// sums hold them exactly (it adds 255·ω·x, truncated); other values round by at most 2^−21 of a
// unit. A bucket takes 2^44 plots of full weight before its sum wraps.
constexpr double dBucketUnit = 255 * 4096;

struct SBucket {
    uint64_t uRed = 0, uGreen = 0, uBlue = 0;  // Σ ω · premultiplied channel, × dBucketUnit
    uint64_t uAlpha = 0;                       // Σ ω · palette alpha, × dBucketUnit
    uint64_t uCount = 0;                       // Σ ω, × dBucketUnit
    bool operator==(const SBucket& other) const;
};

// One plotted point: its bucket, row after row, and which of the adds given with it (add's
// pAdds) it adds there. The adds of a flame's palette are a few hundred, shared by its plots:
// a plot names its own rather than holding it, and a batch's plots stay in the caches.
struct SPlot {
    std::size_t   uBucket;
    std::uint32_t uAdd;
};

// Memory for a grid of buckets that comes zeroed, so that an element made with no value is left
// as it is: a page is then first touched where a plot lands, on the worker that plots it, instead
// of all of them by the one thread that makes the grid, and a page nothing lands on is never
// taken. On the system's ordinary pages: its 2 MiB pages, asked for, saved page-table misses
// but came from memory the system had not touched for a while, at the cost of up to half a
// second in the kernel in one run out of three, where ordinary pages cost the same each run.
template <class T>
struct CZeroedPages {
    static_assert(std::is_trivially_copyable_v<T>, "a T of sums, each 0 when all its bits are");
    using value_type = T;
    CZeroedPages() = default;
    template <class U>
    CZeroedPages(const CZeroedPages<U>&) {}
    T* allocate(std::size_t uCount);
    void deallocate(T* p, std::size_t uCount);
    template <class U>
    void construct(U*) noexcept {}  // already zero
    template <class U, class... A>
    void construct(U* p, A&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
    }
    template <class U>
    bool operator==(const CZeroedPages<U>&) const { return true; }
    template <class U>
    bool operator!=(const CZeroedPages<U>&) const { return false; }
};

void* zeroedPages(std::size_t uBytes);  // zeroed; throws std::bad_alloc
void freeZeroedPages(void* p, std::size_t uBytes);
// The pages of p[0 .. uBytes), memory about to be written whole, taken from the system in one
// call rather than a fault each: a hint.
void takePagesForWriting(void* p, std::size_t uBytes);
// The pages of p[0 .. uBytes), in memory of zeroedPages(uAllBytes), that nothing has touched
// yet, mapped to the system's page of zeros for reading: read one by one, each would fault.
void mapZeroedPagesForReading(std::size_t uAllBytes, const void* p, std::size_t uBytes);

template <class T>
T* CZeroedPages<T>::allocate(std::size_t uCount) {
    if (uCount > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(zeroedPages(uCount * sizeof(T)));
}

template <class T>
void CZeroedPages<T>::deallocate(T* p, std::size_t uCount) {
    freeZeroedPages(p, uCount * sizeof(T));
}

class CHistogram {
public:
    CHistogram(int iWidth, int iHeight);  // every sum 0; throws std::bad_alloc if too large
    // Only the rows of a taller grid's (a picture drawn in strips): its plots name buckets of
    // that grid, and those outside these rows are left out. Its rows are counted from the band's
    // first.
    CHistogram(int iWidth, SRows gridRows);

    int width() const { return iWidth; }
    int height() const { return iHeight; }
    const SBucket& at(int iColumn, int iRow) const {
        return vBuckets[static_cast<std::size_t>(iRow) * iWidth + iColumn];
    }
    const SBucket* row(int iRow) const {
        return &vBuckets[static_cast<std::size_t>(iRow) * iWidth];
    }

    // pAdds[plot.uAdd] into each plot's bucket; not thread-safe: one caller at a time.
    void add(const SPlot* pPlots, std::size_t uPlots, const SBucket* pAdds);
    void merge(const CHistogram& other);                // the same size
    // Buckets of another histogram of the same size (a saved render's), from bucket uFirst on,
    // row after row, into these.
    void addBuckets(std::size_t uFirst, const SBucket* pBuckets, std::size_t uCount);
    void clear();
    // Readies rows for reading them all (density estimation does, once the plots are in): a page
    // nothing has landed on reads as zeros, and where its first reading faulted, a tenth of a
    // supersampled render's time went to the faults; mapped in one call, it costs a small part of
    // one. Any thread, beside others readying other rows.
    void readyForReading(SRows rows) const;
    bool operator==(const CHistogram& other) const { return vBuckets == other.vBuckets; }

private:
    template <bool bBand>
    void addPlots(const SPlot* pPlots, std::size_t uPlots, const SBucket* pAdds);

    int iWidth, iHeight;
    bool bBand = false;
    std::size_t uFirstBucket = 0;  // of the band, in the taller grid
    std::vector<SBucket, CZeroedPages<SBucket>> vBuckets;  // row after row, top row first
};
