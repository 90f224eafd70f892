#pragma once
// Draws static text and text fields.

#include "swf/player/display_object.h"
#include "swf/render/draw_state.h"
#include "swf/text/edit_text.h"
#include "swf/text/text.h"

namespace swf {

void paintText(const DrawState& s, const TextCharacter& text);
void paintEditText(const DrawState& s, const EditTextCharacter& field, const DisplayObject& obj);

}  // namespace swf
