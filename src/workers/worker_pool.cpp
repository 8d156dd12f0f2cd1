#include "workers/worker_pool.h"

#include <algorithm>
#include <deque>
#include <system_error>
#include <thread>

// The tasks waiting and the threads that take them; shared with the threads, which outlive
// every caller.
struct CWorkerPool::SQueue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    int iIdle = 0;  // threads waiting for a task, some of them perhaps already woken for one
    int iThreads = 0;
};

namespace {

// What forEach's threads share: the next task to claim, and how many have returned.
struct SForEach {
    std::atomic<int> iNext{0};
    int iTasks = 0;
    const std::function<void(int)>* pTask = nullptr;  // called only for a claimed task
    std::mutex mutex;
    std::condition_variable allDone;
    int iDone = 0;
};

void claimTasks(SForEach& shared) {
    int iRan = 0;
    for (int i = shared.iNext++; i < shared.iTasks; i = shared.iNext++, iRan++) (*shared.pTask)(i);
    if (iRan == 0) return;
    const std::lock_guard<std::mutex> lock(shared.mutex);
    shared.iDone += iRan;
    if (shared.iDone == shared.iTasks) shared.allDone.notify_all();
}

}  // namespace

CWorkerPool& CWorkerPool::shared() {
    // Made once and never destroyed: its threads may still be running when the process ends.
    static CWorkerPool* pPool = [] {
        CWorkerPool* pMade = new CWorkerPool;
        pMade->pQueue = std::make_shared<SQueue>();
        return pMade;
    }();
    return *pPool;
}

// One of the pool's threads: takes the tasks in the order posted, forever.
void CWorkerPool::serve(std::shared_ptr<SQueue> pQueue) {
    std::unique_lock<std::mutex> lock(pQueue->mutex);
    for (;;) {
        pQueue->iIdle++;
        pQueue->wake.wait(lock, [&] { return !pQueue->tasks.empty(); });
        pQueue->iIdle--;
        std::function<void()> task = std::move(pQueue->tasks.front());
        pQueue->tasks.pop_front();
        lock.unlock();
        task();
        task = nullptr;  // what it holds goes before the thread waits again
        lock.lock();
    }
}

// A thread is made where the idle ones will not cover the tasks waiting. Where none can be made,
// the task waits for one of the pool's to come free; with none at all, it is dropped and the
// failure thrown.
void CWorkerPool::post(std::function<void()> task) {
    const std::lock_guard<std::mutex> lock(pQueue->mutex);
    pQueue->tasks.push_back(std::move(task));
    if (pQueue->iIdle >= static_cast<int>(pQueue->tasks.size())) {
        pQueue->wake.notify_one();
        return;
    }
    try {
        std::thread(serve, pQueue).detach();
        pQueue->iThreads++;
    } catch (const std::system_error&) {
        if (pQueue->iThreads > 0) return;
        pQueue->tasks.pop_back();
        throw;
    }
}

void CWorkerPool::forEach(int iTasks, int iThreads, const std::function<void(int)>& task) {
    const int iHelpers = std::min(iThreads, iTasks) - 1;
    if (iHelpers <= 0) {
        for (int i = 0; i < iTasks; i++) task(i);
        return;
    }
    const auto pShared = std::make_shared<SForEach>();
    pShared->iTasks = iTasks;
    pShared->pTask = &task;
    for (int k = 0; k < iHelpers; k++) {
        try {
            post([pShared] { claimTasks(*pShared); });
        } catch (const std::system_error&) {
            break;  // no thread to be had: the caller's does the rest
        }
    }
    claimTasks(*pShared);
    std::unique_lock<std::mutex> lock(pShared->mutex);
    pShared->allDone.wait(lock, [&] { return pShared->iDone == iTasks; });
}

CBackgroundTask CWorkerPool::start(std::function<void()> task) {
    CBackgroundTask handle;
    handle.pState = std::make_shared<CBackgroundTask::SState>();
    post([pState = handle.pState, task = std::move(task)] {
        task();
        const std::lock_guard<std::mutex> lock(pState->mutex);
        pState->bFinished.store(true, std::memory_order_release);
        pState->done.notify_all();
    });
    return handle;
}

int CWorkerPool::threadsMade() const {
    const std::lock_guard<std::mutex> lock(pQueue->mutex);
    return pQueue->iThreads;
}

bool CBackgroundTask::finished() const {
    return !pState || pState->bFinished.load(std::memory_order_acquire);
}

void CBackgroundTask::wait() const {
    if (!pState) return;
    std::unique_lock<std::mutex> lock(pState->mutex);
    pState->done.wait(lock, [&] { return pState->bFinished.load(); });
}
