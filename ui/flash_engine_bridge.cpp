#include "ui/flash_engine_bridge.h"

#if __has_include("playback/engine_flash_control.h")
#include "playback/engine_flash_control.h"
#define RV_UI_HAVE_ENGINE_CONTROL 1
#else
#include "playback/flash_control.h"
#endif

namespace rv::ui {

swf::Player* playerOf(FlashControl* control) {
#ifdef RV_UI_HAVE_ENGINE_CONTROL
  if (auto* engine = dynamic_cast<EngineFlashControl*>(control)) return &engine->player();
#else
  (void)control;
#endif
  return nullptr;
}

}  // namespace rv::ui
