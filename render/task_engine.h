// The engine state a task of the worker pool evaluates with: the letters'
// values and the pixel scale of the drawing it works for, and a budget of its
// own, whichever thread runs it (a worker, or the drawing's own thread when it
// gets there first).
#pragma once

#include "engine/budget.h"
#include "engine/engine_state.h"

#include <cstdint>

namespace gq
{

// What evaluation reads of the drawing thread's engine state besides the
// Programs themselves.
struct EvaluationInputs {
    VariableTable variables;
    long double xPerPixel = 0;

    // This thread's.
    static EvaluationInputs current()
    {
        const EngineState &s = engineState();
        return {s.variables, s.xPerPixel};
    }
};

// For its lifetime this thread evaluates with the inputs and a budget of
// `units` that is charged to nothing; afterwards everything is as before.
class TaskEngine
{
  public:
    TaskEngine(const EvaluationInputs &inputs, std::uint64_t units)
        : saved_(engineState()), scope_(nullptr, inputs.variables.params, inputs.xPerPixel)
    {
        EngineState &s = engineState();
        s.variables = inputs.variables;
        s.budget.evaluationLeft = units;
        s.budget.evaluationSpent = false;
        limit_ = units;
    }
    ~TaskEngine()
    {
        EngineState &s = engineState();
        s.variables = saved_.variables;
        s.budget = saved_.budget;
        s.evalValid = saved_.evalValid;
        s.poleSeen = saved_.poleSeen;
    }
    TaskEngine(const TaskEngine &) = delete;
    TaskEngine &operator=(const TaskEngine &) = delete;

    // Units spent so far, and whether an evaluation was refused for want of them.
    std::uint64_t spent() const { return limit_ - engineState().budget.evaluationLeft; }
    bool ranOut() const { return engineState().budget.evaluationSpent; }

  private:
    struct Saved {
        VariableTable variables;
        BudgetState budget;
        bool evalValid, poleSeen;
        explicit Saved(const EngineState &s)
            : variables(s.variables), budget(s.budget), evalValid(s.evalValid), poleSeen(s.poleSeen)
        {
        }
    } saved_;
    EngineScope scope_;
    std::uint64_t limit_ = 0;
};

} // namespace gq
