#pragma once
// A text field on the stage. It keeps its own copy of its definition, which scripts change
// (border, wordWrap, type...), its current text, the timeline variable it shows, and the caret,
// selection and scroll position that typing and scripts move.

#include <memory>
#include <string>

#include "swf/player/placed_object.h"
#include "swf/render/text_metrics.h"
#include "swf/text/edit_text.h"
#include "swf/text/field_document.h"

namespace swf {

namespace avm1 {
class Object;
class Vm;
}  // namespace avm1

class TextFieldInstance : public PlacedObject, public TextFieldContent {
 public:
  TextFieldInstance(const EditTextCharacter& def, PlayerContext& ctx, SpriteInstance* parent,
                    int nesting);
  ~TextFieldInstance() override;

  EditTextCharacter& def() { return *def_; }
  const EditTextCharacter& def() const { return *def_; }
  // Call after changing def(): the field is drawn anew.
  void touch();

  const StyledText& shownText() const override;
  const EditTextCharacter* definition() const override { return def_.get(); }
  int firstLine() const override { return scroll - 1; }
  int caret() const override { return focused ? caret_ : -1; }
  int selectionBegin() const override { return std::min(anchor_, caret_); }
  int selectionEnd() const override { return std::max(anchor_, caret_); }

  // The plain text (UTF-8), paragraphs ended by \r.
  std::string text() const;
  std::u32string chars() const;
  void setText(const std::string& plain);
  std::string htmlText() const;
  // Before version 8 the HTML is read in the field's first format, from 8 in the format for
  // new text.
  void setHtmlText(const std::string& html, int version = 8);
  // What a bound variable holds: the HTML as last given to an HTML field (the text, escaped,
  // when it was given as text), the text otherwise.
  std::string variableText() const;
  size_t length() const { return doc_.size(); }

  // ---- formats ----
  const FieldDocument& document() const { return doc_; }
  // Gives [begin, end) the values `spec` names.
  void applyFormat(size_t begin, size_t end, const FormatSpec& spec);
  // The format text set from now on takes (setNewTextFormat).
  const FieldStyle& newTextFormat() const { return newStyle_; }
  void setNewTextFormat(const FormatSpec& spec);
  // Puts `s` in place of [begin, end) as replaceText does (before version 8 an empty `s`
  // removes nothing).
  void replaceText(size_t begin, size_t end, const std::u32string& s, int version = 8);

  // ---- editing (input fields, replaceSel) ----
  bool editable() const { return !def_->readOnly; }
  // Puts `s` in place of the selection, as far as maxChars and restrict allow; returns whether
  // the text changed.
  bool replaceSelection(const std::u32string& s);
  void setSelection(int begin, int end);
  int caretIndex() const { return caret_; }
  // Keys that move or delete: the Flash key codes of the arrows, Home, End, Backspace, Delete.
  bool editKey(int code, bool shift);
  std::u32string selectedChars() const;
  // Which characters typing may enter ("A-Z 0-9", "^abc"); empty: any.
  std::string restrict;
  bool restrictSet = false;
  bool allowed(char32_t c) const;

  // ---- what scripts set ----
  int scroll = 1;  // the first line shown, from 1
  int hscroll = 0;
  int autoSize = 0;            // 0 none, 1 left, 2 centre, 3 right
  bool condenseWhite = false;  // HTML set from now on has its white space condensed
  bool mouseWheelEnabled = true;
  bool tabEnabledSet = false, tabEnabled = false;
  int tabIndex = -1;
  bool focused = false;
  // Grows or shrinks the bounds to the text as autoSize says.
  void applyAutoSize();
  // Setting autoSize resizes the field only once its geometry is next asked for or the actions
  // are done; that also lays the lines out again and brings the scroll positions within them.
  void requestAutoSize() { autoSizeDue_ = autoSize != 0; }
  void settleAutoSize();
  // The scroll positions read the lines as last laid out: new text, formats and sizes lay
  // them out again, a change of wordWrap alone does not.
  const FieldMetrics& lines() const;
  void relayout() { linesValid_ = false; }
  int maxScroll() const;
  int bottomScroll() const;
  int maxHScroll() const;  // pixels; 0 while words wrap
  // Brings scroll and hscroll within the lines, as new text does.
  void clampScroll();

  // The variable shown: the text last taken from it or given to it.
  std::string boundText;
  bool bound = false;
  // The text the file gave the field (UTF-8): what a variable it is bound to starts with.
  std::string fileText;

  // Its object for scripts; made on first use, kept alive by the player's roots.
  avm1::Object* scriptObject = nullptr;

 private:
  std::shared_ptr<EditTextCharacter> def_;
  FieldDocument doc_;
  FieldStyle newStyle_, firstStyle_;
  std::string givenHtml_;
  mutable StyledText shown_;
  mutable bool shownValid_ = false;
  mutable FieldMetrics lines_;
  mutable bool linesValid_ = false;
  bool autoSizeDue_ = false;
  int caret_ = 0, anchor_ = 0;
};

}  // namespace swf
