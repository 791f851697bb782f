// The whole graph renderer.
#pragma once

#include "render/axes.h"
#include "render/graph_view.h"
#include "render/plot_explicit.h"
#include "render/plot_implicit.h"
#include "render/plot_parametric.h"
#include "render/plot_point.h"
#include "render/plot_segment.h"
#include "render/primitives.h"
#include "render/redraw.h"

namespace gq
{

} // namespace gq
