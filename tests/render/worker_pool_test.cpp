// The worker pool's tasks: each runs exactly once, on a worker or where its
// result is needed first; a dropped one never runs; what a task throws
// reaches whoever waits for it.
#include "render/worker_pool.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace gq
{

TEST(WorkerPool, EveryTaskRunsOnceWhereverItRunsAndDroppedOnesNever)
{
    for (int workers : {0, 1, 3}) {
        WorkerPool pool(workers);
        EXPECT_EQ(pool.workers(), workers);
        std::vector<std::atomic<int>> runs(200);
        std::vector<std::shared_ptr<Task>> tasks;
        for (std::atomic<int> &r : runs) {
            tasks.push_back(std::make_shared<Task>([&r] { ++r; }));
            pool.offer(tasks.back());
        }
        for (std::size_t k = 0; k < tasks.size(); ++k)
            k % 4 == 3 ? tasks[k]->cancel() : tasks[k]->finish();
        for (std::size_t k = 0; k < tasks.size(); ++k) {
            EXPECT_TRUE(tasks[k]->done());
            if (k % 4 != 3)
                EXPECT_EQ(runs[k], 1) << workers << " workers, task " << k;
            else
                EXPECT_LE(runs[k], 1); // a worker may have started it first
        }
        auto failing = std::make_shared<Task>([] { throw std::runtime_error("no"); });
        pool.offer(failing);
        EXPECT_THROW(failing->finish(), std::runtime_error);
    }
}

} // namespace gq
