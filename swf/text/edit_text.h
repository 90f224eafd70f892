#pragma once
// DefineEditText: a text field, drawn with the glyphs of an embedded font or with a font of
// the desktop.

#include <memory>
#include <optional>
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

  // What scripts may change beyond the file's flags (a field's own copy of its definition).
  // A border comes with a white background unless a script says otherwise.
  bool background = false;
  RGBA backgroundColor{255, 255, 255, 255}, borderColor{0, 0, 0, 255};
  std::optional<CharFormat> scriptFormat;          // replaces the one from the file's fields
  std::optional<ParagraphFormat> scriptParagraph;  // likewise
};

// Implemented by a display object whose text has changed since it was placed (scripts set it):
// the renderer draws this text instead of the character's initial one.
struct TextFieldContent {
  virtual ~TextFieldContent() = default;
  // The text as it is drawn (a password field's characters already hidden).
  virtual const StyledText& shownText() const = 0;
  // The field's own definition, as scripts changed it; null: the character's.
  virtual const EditTextCharacter* definition() const { return nullptr; }
  // The first line shown (scrolled), 0-based.
  virtual int firstLine() const { return 0; }
  // The caret and selection of a focused input field, in characters of its plain text; none
  // when `caret` is negative.
  virtual int caret() const { return -1; }
  virtual int selectionBegin() const { return 0; }
  virtual int selectionEnd() const { return 0; }
};

}  // namespace swf
