#pragma once
// The Flash controls the program shows: our engine behind the shell's control interface.

#include <memory>

#include "playback/flash_control.h"

namespace rv::ui {

std::unique_ptr<FlashFactory> makeEngineFlashFactory();

}  // namespace rv::ui
