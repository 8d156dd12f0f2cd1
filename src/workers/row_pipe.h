#pragma once

// Rows handed from one thread to a consumer on a thread of the pool's, in the order given,
// through a ring of a few rows: the giver waits only while the ring is full, the consumer only
// while it is empty. So a slow consumer of a picture's rows (a PNG writer's compression, one
// core's work) runs beside the threads that make the rows instead of after each group of them.

#include "workers/worker_pool.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class CRowPipe {
public:
    // consume(row) for every row put, in order. bBeside false (or no thread to be had): each
    // row consumed at once, in put, on the giver's thread.
    CRowPipe(std::size_t uRowBytes, int iRingRows,
             std::function<void(const unsigned char*)> consume, bool bBeside = true);
    ~CRowPipe();  // finish(): the consumer never outlives what it was given
    CRowPipe(const CRowPipe&) = delete;
    CRowPipe& operator=(const CRowPipe&) = delete;

    void put(const unsigned char* pRow);  // a copy
    void finish();                        // returns once every row put has been consumed

private:
    void consumeAll();
    unsigned char* slot(int64_t iRow) {
        return &vRing[static_cast<std::size_t>(iRow % iRingRows) * uRowBytes];
    }

    std::size_t uRowBytes;
    int iRingRows;
    std::function<void(const unsigned char*)> consume;
    std::vector<unsigned char> vRing;
    std::mutex mutex;
    std::condition_variable changed;
    int64_t iPut = 0, iConsumed = 0;  // rows so far
    bool bFinished = false;
    bool bWaiting = false;            // one side waits for the other
    bool bBeside;
    CBackgroundTask consumer;
};
