#include "ui/engine_factory.h"

#include "playback/engine_flash_control.h"

namespace rv::ui {

std::unique_ptr<FlashFactory> makeEngineFlashFactory() {
  return std::make_unique<EngineFlashFactory>();
}

}  // namespace rv::ui
