#pragma once
// Reaches the engine's player behind a Flash control of the shell, when it has one (test fakes
// do not).

namespace swf {
class Player;
}

namespace rv {
class FlashControl;
}

namespace rv::ui {

swf::Player* playerOf(FlashControl* control);

}  // namespace rv::ui
