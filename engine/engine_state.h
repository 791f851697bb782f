// The engine's state on one thread: what parsing and evaluation report, and
// what they read besides their arguments — the values of the letters, the
// definitions F1..F6 and Q1..Q6, and the pixel scale of the graph being drawn.
//
// Each thread has its own state (engineState()), so two documents can be
// parsed, evaluated and drawn on two threads at once. Whoever parses or
// evaluates for a document installs that document's definitions and parameter
// values (and, while drawing, the pixel scale) with an EngineScope for the
// duration of the work; the scope puts back what was there before.
//
// Outcome flags follow one convention: the caller sets parseOK or evalValid
// true (poleSeen false) before a call and reads it afterwards; the engine
// only ever clears parseOK and evalValid.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace gq
{

// Supplies the texts of the defined functions F1..F6 and constants Q1..Q6 at
// the moment a reference is parsed. The document implements it.
class DefinitionSource
{
  public:
    virtual ~DefinitionSource() = default;
    virtual std::string functionText(int n) const = 0; // n = 1..6, "" when undefined
    virtual std::string constantText(int n) const = 0; // n = 1..6, "" when undefined
};

// The parameter letters in the order of Parameters::value (alphabetical, t
// left out; θ is s).
inline constexpr const char *kParamOrder = "abcdefghijklmnopqrsuvw";
inline constexpr int kParamCount = 22;
// Index into Parameters::value of a parameter letter ('s' for θ), or -1.
int paramIndexOfLetter(char c);

// The values of the parameter letters, in single precision.
struct Parameters {
    std::array<float, kParamCount> value{};

    // The value of a parameter letter ('s' for θ). The letter must be one of
    // kParamOrder.
    float &operator[](char letter) { return value[static_cast<std::size_t>(paramIndexOfLetter(letter))]; }
    float operator[](char letter) const
    {
        return value[static_cast<std::size_t>(paramIndexOfLetter(letter))];
    }
    // The values of a new document: all 0 except j = n = 1.
    static Parameters defaults();
    bool operator==(const Parameters &) const = default;
};

// The current values of all letters: the parameters, then x, y, z and t in
// 80-bit precision.
struct VariableTable {
    Parameters params;
    long double x = 0;
    long double y = 0;
    long double z = 0;
    long double t = 0;
};

// Bookkeeping of the parser that lasts across the nested parses of defined
// functions and constants. Internal to the parser.
struct ParseContext {
    int nesting = 0;                  // depth of parse levels, over all nested parses
    std::array<bool, 7> expandingF{}; // F1..F6 being expanded (index 0 unused)
    std::array<bool, 7> expandingQ{}; // Q1..Q6 being expanded
    bool impliedProduct = false;      // the next operand joins by an implied product
};

// What the budgets of budget.h have spent on this thread. Internal to them.
struct BudgetState {
    int formulaScopes = 0;                     // FormulaBudget scopes open
    std::size_t nodeBase = 0;                  // liveNodes when the outermost one began
    std::size_t work = 0;                      // work units the formula has spent
    bool formulaSpent = false;                 // the formula ran past its budget
    std::uint64_t evaluationLeft = UINT64_MAX; // evaluation units left
    bool evaluationSpent = false;              // an evaluation was refused for want of units
};

struct EngineState {
    // Outcomes.
    bool parseOK = true;   // the latest parse succeeded
    bool evalValid = true; // the latest evaluation was defined
    // A pole or jump lay between the previous and the latest sample. The
    // plotters hand it on to the pen of the curve being drawn.
    bool poleSeen = false;
    // The latest formula was refused because preparing it ran past its
    // budget (budget.h): too large or too much work. Set, with parseOK false,
    // when the outermost FormulaBudget ends; cleared when one begins.
    bool tooComplex = false;

    // Inputs.
    VariableTable variables;
    // World x units per pixel of the graph being drawn: a pole flag in a sum
    // or difference is withdrawn for jumps below 1/xPerPixel.
    long double xPerPixel = 10.0L / 640;
    const DefinitionSource *definitions = nullptr; // not owned; null: no definitions
    // A hint that changes no value, only time: the caller will soon ask for
    // the other trigonometric function of the arguments of the evaluations
    // it makes while this is set (the tracer's value at a point whose
    // slopes come next), so the sine and cosine of a letter (and of any
    // argument the table of recent ones looks up) are computed together.
    bool pairTrigonometry = false;

    // Bookkeeping.
    std::size_t liveNodes = 0; // nodes allocated and not yet freed on this thread
    ParseContext parse;
    BudgetState budget;
};

namespace detail
{
extern thread_local constinit EngineState threadEngineState;
}

// This thread's engine state.
inline EngineState &engineState()
{
    return detail::threadEngineState;
}

// Installs a document's definitions and parameter values (and, with the
// second constructor, a pixel scale) in this thread's engine state, and puts
// the previous ones back when it ends. Scopes nest.
class EngineScope
{
  public:
    // definitions is not owned and must outlive the scope; null means none.
    // This form leaves the parameter values and the pixel scale as they are.
    explicit EngineScope(const DefinitionSource *definitions);
    EngineScope(const DefinitionSource *definitions, const Parameters &parameters);
    // xPerPixel: world x units per pixel of the graph being drawn (> 0).
    EngineScope(const DefinitionSource *definitions, const Parameters &parameters, long double xPerPixel);
    ~EngineScope();
    EngineScope(const EngineScope &) = delete;
    EngineScope &operator=(const EngineScope &) = delete;

  private:
    const DefinitionSource *definitions_;
    Parameters parameters_;
    long double xPerPixel_;
};

} // namespace gq
