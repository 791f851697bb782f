#include "engine/engine_state.h"

#include <cstring>

namespace gq
{

namespace detail
{
thread_local constinit EngineState threadEngineState;
}

int paramIndexOfLetter(char c)
{
    if (c == '\0')
        return -1;
    const char *p = std::strchr(kParamOrder, c);
    return p ? static_cast<int>(p - kParamOrder) : -1;
}

Parameters Parameters::defaults()
{
    Parameters p;
    p['j'] = 1;
    p['n'] = 1;
    return p;
}

EngineScope::EngineScope(const DefinitionSource *definitions)
    : EngineScope(definitions, engineState().variables.params, engineState().xPerPixel)
{
}

EngineScope::EngineScope(const DefinitionSource *definitions, const Parameters &parameters)
    : EngineScope(definitions, parameters, engineState().xPerPixel)
{
}

EngineScope::EngineScope(const DefinitionSource *definitions, const Parameters &parameters,
                         long double xPerPixel)
{
    EngineState &state = engineState();
    definitions_ = state.definitions;
    parameters_ = state.variables.params;
    xPerPixel_ = state.xPerPixel;
    state.definitions = definitions;
    state.variables.params = parameters;
    state.xPerPixel = xPerPixel;
}

EngineScope::~EngineScope()
{
    EngineState &state = engineState();
    state.definitions = definitions_;
    state.variables.params = parameters_;
    state.xPerPixel = xPerPixel_;
}

} // namespace gq
