#include "render/worker_pool.h"

#include <algorithm>

#if defined(__linux__)
#include <sched.h>
#endif

namespace gq
{

int usableProcessors()
{
#if defined(__linux__)
    // The affinity, not the machine: under taskset -c 0 a second thread would
    // only take turns with the first.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
#endif
    return std::max(1u, std::thread::hardware_concurrency());
}

bool Task::claim()
{
    int expected = Pending;
    return state_.compare_exchange_strong(expected, Running, std::memory_order_acq_rel);
}

void Task::run()
{
    try {
        work_();
    } catch (...) {
        error_ = std::current_exception();
    }
    state_.store(Done, std::memory_order_release);
    state_.notify_all();
}

void Task::finish()
{
    if (claim())
        run();
    for (int s = state_.load(std::memory_order_acquire); s != Done; s = state_.load(std::memory_order_acquire))
        state_.wait(s, std::memory_order_acquire);
    if (error_)
        std::rethrow_exception(error_);
}

bool Task::runIfPending()
{
    if (!claim())
        return false;
    run();
    return true;
}

void Task::cancel()
{
    if (claim()) {
        state_.store(Done, std::memory_order_release);
        state_.notify_all();
        return;
    }
    for (int s = state_.load(std::memory_order_acquire); s != Done; s = state_.load(std::memory_order_acquire))
        state_.wait(s, std::memory_order_acquire);
}

WorkerPool &WorkerPool::shared()
{
    // Workers beyond four would mostly wait: the tasks come from one drawing
    // at a time per window.
    static WorkerPool pool(std::min(usableProcessors() - 1, 4));
    return pool;
}

WorkerPool::WorkerPool(int workers)
{
    start(workers);
}

WorkerPool::~WorkerPool()
{
    stop();
}

int WorkerPool::workers() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(threads_.size());
}

void WorkerPool::setWorkers(int n)
{
    stop();
    start(n);
}

void WorkerPool::offer(std::shared_ptr<Task> task)
{
    {
        std::lock_guard lock(mutex_);
        if (threads_.empty())
            return; // nobody would take it: finish() runs it
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void WorkerPool::start(int n)
{
    std::lock_guard lock(mutex_);
    stopping_ = false;
    for (int k = 0; k < n; ++k)
        threads_.emplace_back([this] { serve(); });
}

void WorkerPool::stop()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread &t : threads)
        t.join();
}

void WorkerPool::serve()
{
    for (;;) {
        std::shared_ptr<Task> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        // A task the caller has already run or started is dropped.
        if (task->claim())
            task->run();
    }
}

} // namespace gq
