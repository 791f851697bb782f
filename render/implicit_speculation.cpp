// The tracer's scan over the worker pool: the lattice in bands of rows on every
// thread, then the scan cell by cell on the calling thread, which takes the
// edge searches and walks of the expected trace starts from the workers.
#include "render/implicit_speculation.h"

#include "engine/budget.h"
#include "render/task_engine.h"
#include "render/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace gq
{

namespace
{
// Grids with fewer cells per side are scanned alone: too little to share.
constexpr int kMinCells = 8;
// Lattice bands per thread, so that a thread slowed by other work leaves
// part of its share to the others.
constexpr int kBandsPerThread = 4;
// Trace starts that may be worked on ahead of the scan, per thread: enough
// to keep every thread busy with the longest ones first, few enough that
// the walks kept waiting for the scan stay small.
constexpr std::size_t kWindowPerThread = 4;
} // namespace

class TraceSpeculation::Scan
{
  public:
    using LatticePoint = ImplicitTracer::LatticePoint;

    Scan(ImplicitTracer &tracer, WorkerPool &pool, int workers)
        : t_(tracer), pool_(pool), inputs_(EvaluationInputs::current()), F_(*tracer.F_), fx_(*tracer.fx_),
          fy_(*tracer.fy_), m_(tracer.cells_),
          window_(kWindowPerThread * static_cast<std::size_t>(workers + 1)),
          bands_(std::min(m_ + 1, kBandsPerThread * (workers + 1))),
          limit_(engineState().budget.evaluationLeft)
    {
    }

    ~Scan()
    {
        // Tasks refer to this scan's tables: none may outlive it.
        for (const std::shared_ptr<Task> &task : bandTasks_)
            task->cancel();
        for (const std::shared_ptr<Task> &task : pickers_)
            task->cancel();
        for (Head &h : heads_)
            h.task->cancel();
    }

    Scan(const Scan &) = delete;
    Scan &operator=(const Scan &) = delete;

    // Whether the lattice fits the budget however many of its points are
    // defined, and nothing the formulas do would have to happen on this thread.
    static bool suits(const ImplicitTracer &t)
    {
        const Program *programs[] = {t.F_, t.fx_, t.fy_};
        long double perPoint = 0;
        for (const Program *p : programs) {
            if (p->writesLetters())
                return false;
            perPoint += static_cast<long double>(p->evaluationCost());
        }
        const long double points = static_cast<long double>(t.cells_ + 1) * (t.cells_ + 1);
        return t.cells_ >= kMinCells &&
               points * perPoint <= static_cast<long double>(engineState().budget.evaluationLeft);
    }

    int run()
    {
        sampleLattice();
        findHeads();
        openWindow(0);
        std::vector<LatticePoint> lower(static_cast<std::size_t>(m_) + 1), upper(lower.size());
        takeRow(0, upper);
        int traces = 0;
        for (int j = 1; j <= m_; ++j) {
            lower.swap(upper);
            takeRow(j, upper);
            for (int i = 1; i <= m_; ++i) {
                const int h = headAt_[index(i, j)];
                if (t_.visited(i, j)) {
                    if (h >= 0)
                        passHead(h, false);
                    continue;
                }
                if (h >= 0 && exact_) {
                    traces += fromHead(heads_[static_cast<std::size_t>(h)], lower, upper);
                    passHead(h, true);
                } else {
                    if (h >= 0)
                        passHead(h, false);
                    traces += alone(i, j, lower, upper);
                }
            }
        }
        return traces;
    }

  private:
    // What a worker found in an expected trace start: the units of each
    // stage of the scan's work there, and its outcome.
    struct Record {
        std::uint64_t bottomUnits = 0, leftUnits = 0, walkUnits = 0;
        bool bottomFound = false, leftFound = false;
        bool valid = false; // no evaluation was refused
        TracePoint seed;
        ImplicitTracer::Walk walk;
    };
    struct Head {
        int i, j;
        int cells; // of its group: the longer the curve, the more
        std::shared_ptr<Task> task;
        Record record;
    };

    std::size_t index(int i, int j) const { return static_cast<std::size_t>(j) * (m_ + 1) + i; }
    const LatticePoint &at(int i, int j) const { return lattice_[index(i, j)]; }

    // A tracer of this thread's own, for a task.
    struct Local {
        Program F, fx, fy;
        ImplicitTracer tracer;
        explicit Local(const Scan &s)
            : F(s.F_), fx(s.fx_), fy(s.fy_),
              tracer(s.t_.canvas_, s.t_.view_, s.t_.colour_, s.t_.width_, F, fx, fy, s.t_.signOfF_)
        {
            tracer.maxTraceSteps_ = s.t_.maxTraceSteps_;
        }
    };

    // Every lattice point, as the scan alone would sample it with budget to spare.
    void sampleLattice()
    {
        lattice_.resize(index(m_, m_) + 1);
        const int rows = m_ + 1;
        for (int b = 0; b < bands_; ++b) {
            const int j0 = rows * b / bands_, j1 = rows * (b + 1) / bands_;
            auto task = std::make_shared<Task>([this, j0, j1] {
                TaskEngine engine(inputs_, std::numeric_limits<std::uint64_t>::max());
                Local local(*this);
                ImplicitTracer::LatticeColumns columns;
                for (int j = j0; j < j1; ++j)
                    local.tracer.fillLatticeRow(&lattice_[index(0, j)], local.tracer.latticeY(j), columns);
            });
            bandTasks_.push_back(task);
            pool_.offer(task);
        }
        // Every band no worker has taken yet runs here, then the rest is waited for.
        for (const std::shared_ptr<Task> &task : bandTasks_)
            task->runIfPending();
        for (const std::shared_ptr<Task> &task : bandTasks_)
            task->finish();
    }

    // Whether the scan would search cell (i, j) for a seed if it reached it
    // unvisited.
    bool maySeed(int i, int j) const
    {
        const LatticePoint &c00 = at(i - 1, j - 1), &c10 = at(i, j - 1);
        if (ImplicitTracer::mayHaveSeed(true, c00, at(i - 1, j)))
            return true;
        if (!ImplicitTracer::mayHaveSeed(false, c00, c10))
            return false;
        const ImplicitTracer::CellBounds c = t_.cellBounds(i, j);
        return ImplicitTracer::mayHaveSeed(false, c00, c10, c.x0, c.x1);
    }

    // The expected trace starts: the first cell, in scan order, of each
    // group of neighbouring (also diagonally) cells the scan would search.
    void findHeads()
    {
        headAt_.assign(index(m_, m_) + 1, -1);
        std::vector<uint8_t> seen(headAt_.size(), 0);
        std::vector<std::pair<int, int>> stack;
        for (int j = 1; j <= m_; ++j) {
            for (int i = 1; i <= m_; ++i) {
                if (seen[index(i, j)] || !maySeed(i, j))
                    continue;
                headAt_[index(i, j)] = static_cast<int>(heads_.size());
                heads_.push_back(Head{i, j, 0, nullptr, {}});
                seen[index(i, j)] = 1;
                stack.assign(1, {i, j});
                while (!stack.empty()) {
                    const auto [ci, cj] = stack.back();
                    stack.pop_back();
                    ++heads_.back().cells;
                    for (int nj = std::max(1, cj - 1); nj <= std::min(m_, cj + 1); ++nj)
                        for (int ni = std::max(1, ci - 1); ni <= std::min(m_, ci + 1); ++ni)
                            if (!seen[index(ni, nj)] && maySeed(ni, nj)) {
                                seen[index(ni, nj)] = 1;
                                stack.emplace_back(ni, nj);
                            }
                }
            }
        }
        for (Head &h : heads_)
            h.task = std::make_shared<Task>([this, &h] { walkHead(h); });
    }

    // The work of an expected trace start, as the scan would do it there.
    void walkHead(Head &h) const
    {
        TaskEngine engine(inputs_, limit_);
        Local local(*this);
        Record &r = h.record;
        const ImplicitTracer::CellBounds c = local.tracer.cellBounds(h.i, h.j);
        const LatticePoint &c00 = at(h.i - 1, h.j - 1), &c10 = at(h.i, h.j - 1), &c01 = at(h.i - 1, h.j);
        std::uint64_t before = engine.spent();
        bool found = r.bottomFound = local.tracer.findBottomSeed(c, c00, c10, r.seed);
        r.bottomUnits = engine.spent() - before;
        if (!found) {
            before = engine.spent();
            found = r.leftFound = local.tracer.findLeftSeed(c, c00, c01, r.seed);
            r.leftUnits = engine.spent() - before;
        }
        if (found) {
            before = engine.spent();
            r.walk = local.tracer.walkFromSeed(r.seed);
            r.walkUnits = engine.spent() - before;
        }
        r.valid = !engine.ranOut();
    }

    // Lets the threads work on the starts from `from` (where the scan is)
    // to the end of the window: one picker task for each start that enters.
    void openWindow(std::size_t from)
    {
        consumed_.store(from, std::memory_order_release);
        const std::size_t end = std::min(heads_.size(), from + window_);
        const std::size_t opened = windowEnd_.load(std::memory_order_relaxed);
        if (end <= opened)
            return;
        windowEnd_.store(end, std::memory_order_release);
        for (std::size_t k = opened; k < end; ++k) {
            auto picker = std::make_shared<Task>([this] { runLongestPending(); });
            pickers_.push_back(picker);
            pool_.offer(picker);
        }
    }

    // Runs the start of the longest group in the window that no thread has
    // taken; false when there is none.
    bool runLongestPending()
    {
        for (;;) {
            const std::size_t end = windowEnd_.load(std::memory_order_acquire);
            Head *longest = nullptr;
            for (std::size_t k = consumed_.load(std::memory_order_acquire); k < end; ++k)
                if (heads_[k].task->pending() && (!longest || heads_[k].cells > longest->cells))
                    longest = &heads_[k];
            if (!longest)
                return false;
            if (longest->task->runIfPending())
                return true;
        }
    }

    // The scan is past head h (done with it, or found its cell visited).
    void passHead(int h, bool used)
    {
        Head &head = heads_[static_cast<std::size_t>(h)];
        if (!used)
            head.task->cancel();
        head.record.walk = {};
        openWindow(static_cast<std::size_t>(h) + 1);
    }

    // Lattice row j as the scan alone would sample it here: each evaluation
    // charged to the budget in the order it would be made, and refused ones
    // undefined (which makes the precomputed work inexact from then on).
    void takeRow(int j, std::vector<LatticePoint> &row)
    {
        for (int i = 0; i <= m_; ++i) {
            const LatticePoint &p = at(i, j);
            LatticePoint &q = row[static_cast<std::size_t>(i)];
            if (!charge(*t_.F_)) {
                q = {}; // refused: undefined
                exact_ = false;
                continue;
            }
            q = p;
            if (!q.defined)
                continue;
            if (!charge(*t_.fx_)) {
                q.fx = 0; // a refused slope reads as 0
                q.signFx = 0;
                exact_ = false;
            }
            if (!charge(*t_.fy_)) {
                q.fy = 0;
                q.signFy = 0;
                exact_ = false;
            }
        }
    }

    // One evaluation of p as Program::evaluate charges it.
    static bool charge(const Program &p) { return p.empty() || spendEvaluation(p.evaluationCost()); }

    // The scan's own work in cell (i, j): 1 when it traced.
    int alone(int i, int j, const std::vector<LatticePoint> &lower, const std::vector<LatticePoint> &upper)
    {
        const ImplicitTracer::CellBounds c = t_.cellBounds(i, j);
        TracePoint seed;
        if (t_.findBottomSeed(c, lower[i - 1], lower[i], seed) ||
            t_.findLeftSeed(c, lower[i - 1], upper[i - 1], seed)) {
            t_.traceFromSeed(seed);
            return 1;
        }
        return 0;
    }

    // The work at an expected trace start: the worker's, stage by stage, while
    // the budget has room for it; the rest done here.
    int fromHead(Head &h, const std::vector<LatticePoint> &lower, const std::vector<LatticePoint> &upper)
    {
        // Until this one is walked, walk the longest waiting one here.
        while (!h.task->done() && runLongestPending())
            ;
        h.task->finish();
        const Record &r = h.record;
        if (!r.valid)
            return alone(h.i, h.j, lower, upper);
        const ImplicitTracer::CellBounds c = t_.cellBounds(h.i, h.j);
        const LatticePoint &c00 = lower[h.i - 1], &c10 = lower[h.i], &c01 = upper[h.i - 1];
        TracePoint seed;
        bool found = false, recorded = false;
        if (!spendEvaluationsIfLeft(r.bottomUnits))
            found = t_.findBottomSeed(c, c00, c10, seed) || t_.findLeftSeed(c, c00, c01, seed);
        else if (r.bottomFound)
            found = recorded = true;
        else if (!spendEvaluationsIfLeft(r.leftUnits))
            found = t_.findLeftSeed(c, c00, c01, seed);
        else
            found = recorded = r.leftFound;
        if (!found)
            return 0;
        if (recorded && spendEvaluationsIfLeft(r.walkUnits))
            t_.drawWalk(r.walk);
        else
            t_.traceFromSeed(recorded ? r.seed : seed);
        return 1;
    }

    ImplicitTracer &t_;
    WorkerPool &pool_;
    const EvaluationInputs inputs_;
    // Copies of the formulas that no thread evaluates: each task copies them.
    const Program F_, fx_, fy_;
    const int m_;
    const std::size_t window_;
    const int bands_;
    // What the scan may spend at most: the bound of every task's budget.
    const std::uint64_t limit_;
    std::vector<LatticePoint> lattice_; // row j at index(0, j)
    std::vector<std::shared_ptr<Task>> bandTasks_;
    std::vector<Head> heads_; // in scan order
    std::vector<int> headAt_; // by cell: its index in heads_, or -1
    // The window of starts the threads may work on: from the scan's next
    // start to windowEnd_ (written by the scan only).
    std::atomic<std::size_t> consumed_{0}, windowEnd_{0};
    std::vector<std::shared_ptr<Task>> pickers_;
    // The scan's lattice so far is the precomputed one (no evaluation refused).
    bool exact_ = true;
};

bool TraceSpeculation::traceGrid(ImplicitTracer &tracer, int &traces)
{
    WorkerPool &pool = WorkerPool::shared();
    const int workers = pool.workers();
    if (workers == 0 || !Scan::suits(tracer))
        return false;
    Scan scan(tracer, pool, workers);
    traces = scan.run();
    return true;
}

} // namespace gq
