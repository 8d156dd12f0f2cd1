// The worker pool: every task run once whatever the thread count, work started from within its
// own tasks, and a long task never holding up another.

#include "workers/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(WorkerPoolTest, EveryTaskRunsOnceOnAnyThreadCount) {
    for (int iThreads : {1, 2, 3, 8}) {
        for (int iTasks : {0, 1, 5, 100}) {
            std::vector<std::atomic<int>> vRuns(iTasks);
            CWorkerPool::shared().forEach(iTasks, iThreads, [&](int i) { vRuns[i]++; });
            for (int i = 0; i < iTasks; i++)
                EXPECT_EQ(vRuns[i].load(), 1) << iThreads << " threads, task " << i;
        }
    }
}

// A forEach inside a forEach's task, and inside a background task, while every other thread of
// the pool is busy: none of them waits for a thread to come free.
TEST(WorkerPoolTest, WorkStartedFromWithinItsTasksIsDone) {
    CWorkerPool& pool = CWorkerPool::shared();
    std::atomic<int> iInner{0};
    pool.forEach(4, 4, [&](int) { pool.forEach(3, 3, [&](int) { iInner++; }); });
    EXPECT_EQ(iInner.load(), 12);
    const CBackgroundTask nested = pool.start([&] {
        pool.forEach(5, 2, [&](int) { iInner++; });
    });
    nested.wait();
    EXPECT_TRUE(nested.finished());
    EXPECT_EQ(iInner.load(), 17);
}

TEST(WorkerPoolTest, LongTasksNeverHoldUpAnother) {
    CWorkerPool& pool = CWorkerPool::shared();
    std::atomic<bool> bRelease{false};
    std::vector<CBackgroundTask> vLong;
    for (int i = 0; i < 4; i++)
        vLong.push_back(pool.start([&] {
            while (!bRelease) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }));
    const CBackgroundTask quick = pool.start([] {});
    quick.wait();  // would never return were it queued behind the long ones
    for (const CBackgroundTask& task : vLong) EXPECT_FALSE(task.finished());
    bRelease = true;
    for (const CBackgroundTask& task : vLong) task.wait();
    EXPECT_TRUE(CBackgroundTask().finished());
    // Threads are kept and taken again, not made one a task (a thread that has just finished
    // may not be waiting yet when the next task comes, so a few more may be made).
    const int iMade = pool.threadsMade();
    for (int i = 0; i < 50; i++) pool.start([] {}).wait();
    EXPECT_LT(pool.threadsMade() - iMade, 10);
}

}  // namespace
