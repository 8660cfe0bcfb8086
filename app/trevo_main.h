// The program's entry: loads the controller form and runs the engine's message loop.
#pragma once

#include "engine/engine.h"

namespace trevo {

// Returns the process's exit code.
engine::Long RunTrevo(engine::Engine& engine);

}  // namespace trevo
