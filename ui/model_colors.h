#pragma once
// Colours and fonts of the model's controls as Qt sees them.

#include <QColor>
#include <QFont>
#include <cstdint>

class QPalette;

namespace rv::ui {

// 0x00BBGGRR, or one of the two system colours of app/control.h.
QColor toQColor(uint32_t modelColor, const QPalette& palette);

QFont nameLabelFont();  // the movie name: a serif face, 13 pixels
QFont readoutFont();    // time and frame read-outs: a CJK face, 11 pixels
QFont playlistFont();   // the playlist rows: sans-serif, 11 pixels

}  // namespace rv::ui
