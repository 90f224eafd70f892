#include "ui/flash_engine_bridge.h"

#include "playback/engine_flash_control.h"

namespace rv::ui {

swf::Player* playerOf(FlashControl* control) {
  if (auto* engine = dynamic_cast<EngineFlashControl*>(control)) return &engine->player();
  return nullptr;
}

}  // namespace rv::ui
