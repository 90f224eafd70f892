#pragma once
// The hints (tool tips) of a form's controls.

class QWidget;
class QHelpEvent;

namespace rv {
struct Control;
}

namespace rv::ui {

// Answers a tool-tip event of `owner` with the hint of `control`, the control under the
// pointer; hides any hint where that control has none (or there is no control).
void showControlHint(QWidget& owner, const QHelpEvent& event, const Control* control);

}  // namespace rv::ui
