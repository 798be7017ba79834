// The positions engines a chart can be computed with, by the names the flags and settings use.
#pragma once

#include <string_view>

#include "core/positions_engine.h"
#include "core/result.h"

namespace solvane::run {

// "classic" (the default; its own node) or "precise" with the node "mean" (the default) or
// "true". An empty text takes the default. Any other name, or a node given with the classic
// engine, is refused with a message that names the choices.
core::Result<const core::PositionsEngine*> EngineNamed(std::string_view engine,
                                                       std::string_view node = "");

// The name of a node kind as the output labels it: "classic", "mean", "true".
std::string_view NodeName(core::NodeKind node);

}  // namespace solvane::run
