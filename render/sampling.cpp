#include "render/sampling.h"

#include "engine/engine_state.h"

namespace gq
{

long double sampleOnStroke(Program &program, long double x, long double y, Stroke &stroke, bool &defined)
{
    EngineState &state = engineState();
    state.evalValid = true;
    state.poleSeen = stroke.up;
    const long double v = program.evaluate(x, y);
    stroke.up = state.poleSeen;
    defined = state.evalValid;
    return v;
}

} // namespace gq
