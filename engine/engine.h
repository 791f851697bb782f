// The whole expression engine.
#pragma once

#include "engine/differentiate.h"
#include "engine/engine_state.h"
#include "engine/expand_sums.h"
#include "engine/expr_tree.h"
#include "engine/formula.h"
#include "engine/formula_text.h"
#include "engine/implicit_algebra.h"
#include "engine/numbers.h"
#include "engine/parse.h"
#include "engine/print.h"
#include "engine/program.h"
#include "engine/simplify.h"
