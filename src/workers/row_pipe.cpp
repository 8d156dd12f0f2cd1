#include "workers/row_pipe.h"

#include <cstring>
#include <system_error>
#include <utility>

CRowPipe::CRowPipe(std::size_t uRowBytes_, int iRingRows_,
                   std::function<void(const unsigned char*)> consume_, bool bBeside_)
    : uRowBytes(uRowBytes_), iRingRows(iRingRows_ > 0 ? iRingRows_ : 1),
      consume(std::move(consume_)), bBeside(bBeside_) {
    if (!bBeside) return;
    vRing.resize(uRowBytes * static_cast<std::size_t>(iRingRows));
    try {
        consumer = CWorkerPool::shared().start([this] { consumeAll(); });
    } catch (const std::system_error&) {
        bBeside = false;
    }
}

CRowPipe::~CRowPipe() { finish(); }

void CRowPipe::put(const unsigned char* pRow) {
    if (!bBeside) return consume(pRow);
    std::unique_lock<std::mutex> lock(mutex);
    while (iPut - iConsumed == iRingRows) {
        bWaiting = true;
        changed.wait(lock);
    }
    lock.unlock();
    std::memcpy(slot(iPut), pRow, uRowBytes);  // a slot the consumer is done with
    lock.lock();
    iPut++;
    // Woken only where it waits: a wake-up a row would cost more than the row.
    if (bWaiting) bWaiting = false, changed.notify_all();
}

void CRowPipe::finish() {
    if (!bBeside) return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (bFinished) return;
        bFinished = true;
        changed.notify_all();
    }
    consumer.wait();
}

// The consumer's loop: each row as it comes, until finished and every row is consumed.
void CRowPipe::consumeAll() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        while (iConsumed == iPut && !bFinished) {
            bWaiting = true;
            changed.wait(lock);
        }
        if (iConsumed == iPut) return;
        lock.unlock();
        consume(slot(iConsumed));  // a slot the giver does not write until it is counted
        lock.lock();
        iConsumed++;
        if (bWaiting) bWaiting = false, changed.notify_all();
    }
}
