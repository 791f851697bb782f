// A few threads shared by every picture being drawn, for work whose result
// cannot depend on which thread does it: each task evaluates with Programs
// and an engine state of its own and hands back values, never pixels.
//
// Whoever needs a task's result calls finish(): it runs the task on the
// calling thread when no worker has started it yet, or waits for the worker
// that has. So a drawing never waits for a pool busy with another drawing,
// and with no workers at all (a single processor) every task simply runs
// where it is needed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace gq
{

class Task
{
  public:
    explicit Task(std::function<void()> work) : work_(std::move(work)) {}
    Task(const Task &) = delete;
    Task &operator=(const Task &) = delete;

    // Runs the work here unless a worker has taken it, and returns once it
    // has finished (rethrowing what it threw).
    void finish();
    // Drops the work unless a thread has started it, and returns once no
    // thread runs it; what it threw is dropped too.
    void cancel();
    // Runs the work here if no thread has started it; true when it did.
    bool runIfPending();
    bool done() const { return state_.load(std::memory_order_acquire) == Done; }
    bool pending() const { return state_.load(std::memory_order_acquire) == Pending; }

  private:
    friend class WorkerPool;
    enum State : int { Pending, Running, Done };
    // Pending -> Running for exactly one caller.
    bool claim();
    void run();

    std::function<void()> work_;
    std::atomic<int> state_{Pending};
    std::exception_ptr error_;
};

class WorkerPool
{
  public:
    // The pool every drawing shares: one worker for each processor this
    // process may run on beyond the first (none on a single one).
    static WorkerPool &shared();

    explicit WorkerPool(int workers);
    ~WorkerPool();
    WorkerPool(const WorkerPool &) = delete;
    WorkerPool &operator=(const WorkerPool &) = delete;

    int workers() const;
    // Stops the workers and starts n (at least 0) new ones; tasks offered
    // and not taken stay queued. For tests that draw with and without workers.
    void setWorkers(int n);

    // Lets a worker take the task; the caller keeps it alive (the pool shares
    // ownership until it has looked at it) and calls finish() for the result.
    void offer(std::shared_ptr<Task> task);

  private:
    void start(int n);
    void stop();
    void serve();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<Task>> queue_;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};

// The processors this process may run on (its affinity), at least 1.
int usableProcessors();

} // namespace gq
