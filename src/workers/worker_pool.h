#pragma once

// One way to run work on every core: a pool of threads, made as they are first needed and kept
// for the life of the process, that the render, the tone mapping, the patterns' chunks and the
// window all share. A task never waits for a thread to come free: where none is idle, another
// is made, so a long task (a chunk of a run, a random genome in the making) never holds up a
// short one, and a task that starts others never waits on itself.
//
// The pool is never torn down: the process may end while a task is running (the window quits
// while a random genome is still being made), as it could with a detached thread.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// A task started in the background: whether it has finished, and a way to wait for it.
class CBackgroundTask {
public:
    CBackgroundTask() = default;  // none: finished
    bool finished() const;
    void wait() const;

private:
    friend class CWorkerPool;
    struct SState {
        std::mutex mutex;
        std::condition_variable done;
        std::atomic<bool> bFinished{false};
    };
    std::shared_ptr<SState> pState;
};

class CWorkerPool {
public:
    static CWorkerPool& shared();  // the process's pool

    // task(0) to task(iTasks − 1), each once, on up to iThreads threads, the caller's among
    // them; returns when every one has returned. The order in which they run is not fixed: a
    // result that must not depend on the thread count may not depend on it either.
    void forEach(int iTasks, int iThreads, const std::function<void(int)>& task);

    // task on a thread of the pool's, at once; throws std::system_error where no thread can be
    // had at all.
    CBackgroundTask start(std::function<void()> task);

    int threadsMade() const;  // so far, for the tests

private:
    CWorkerPool() = default;
    void post(std::function<void()> task);

    struct SQueue;
    static void serve(std::shared_ptr<SQueue> pQueue);
    std::shared_ptr<SQueue> pQueue;
};
