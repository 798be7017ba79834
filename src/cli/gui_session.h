// Drawing on the command line: Qt's fonts and painters need a QGuiApplication, which the command
// line creates only while it draws, on the offscreen platform unless another one is asked for (so
// that it runs where there is no display).
#pragma once

#include <functional>

#include "cli/flags.h"
#include "core/result.h"

namespace solvane::cli {

using DrawingWork = std::function<core::Result<void, CliFailure>()>;

// Runs `work` with a QGuiApplication in place (the one already there, or one made for it).
core::Result<void, CliFailure> WithGui(const DrawingWork& work);

}  // namespace solvane::cli
