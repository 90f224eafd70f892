#pragma once
// The tool bar's three built-in pictures, drawn by the program at the bar's sizes: the
// background of the whole bar (225 × 46, with the buttons its spots stand for), the seek knob
// (10 × 16) and the normal-view button (17 × 19). `dpr` is the screen's device pixels per pixel.

#include <QImage>

namespace rv {
class ToolBar;
}

namespace rv::ui {

QImage toolBarBackground(const ToolBar& bar, qreal dpr);
QImage toolBarKnob(qreal dpr);
QImage toolBarNormalViewButton(qreal dpr);

}  // namespace rv::ui
