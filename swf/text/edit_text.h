#pragma once
// DefineEditText: a text field, drawn with the glyphs of an embedded font or with a font of
// the desktop.

#include <memory>
#include <string>

#include "swf/movie/character.h"
#include "swf/text/font.h"
#include "swf/text/styled_text.h"

namespace swf {

class FontTable;

class EditTextCharacter : public Character {
 public:
  CharacterKind kind() const override { return CharacterKind::EditText; }

  Rect bounds;
  bool wordWrap = false, multiline = false, password = false, readOnly = false;
  bool autoSize = false, noSelect = false, border = false, html = false, useOutlines = false;
  bool hasText = false;
  uint16_t fontId = 0;
  std::shared_ptr<const FontCharacter> font;    // null: a desktop font (or none named)
  std::shared_ptr<const FontTable> movieFonts;  // the fonts HTML can name; null outside a movie
  std::string fontClass;
  double fontHeight = 240;  // twips
  RGBA color{0, 0, 0, 255};
  int maxLength = 0;
  TextAlign align = TextAlign::Left;
  double leftMargin = 0, rightMargin = 0, indent = 0, leading = 0;  // twips
  std::string variableName;
  std::string initialText;  // as in the file: UTF-8 from version 6, Latin-1 before
  int swfVersion = 6;
};

// Implemented by a display object whose text has changed since it was placed (scripts set it):
// the renderer draws this text instead of the character's initial one.
struct TextFieldContent {
  virtual ~TextFieldContent() = default;
  virtual const std::string& currentText() const = 0;
};

}  // namespace swf
