#pragma once
// The text of a field as scripts edit it: characters, each with its own format, paragraphs
// separated by \r. Every character carries its paragraph's values too (setTextFormat may give
// them to a single character); a paragraph is laid out in the values of its first character.
// Formats are shared: each character holds an index into a small table.

#include <string>
#include <vector>

#include "swf/text/format_spec.h"
#include "swf/text/styled_text.h"

namespace swf {

struct FieldStyle {
  CharFormat chars;
  ParagraphFormat paragraph;
  friend bool operator==(const FieldStyle&, const FieldStyle&) = default;
};

// How a field keeps a paragraph end that came as a bare \r in HTML or replaceText: it breaks
// the paragraph and counts in the length, but the text scripts read leaves it out. (Every other
// line end is kept as \r, so \n never stands for anything else here.)
inline constexpr char32_t kSilentBreak = U'\n';
inline bool isParagraphEnd(char32_t c) { return c == U'\r' || c == kSilentBreak; }

class FieldDocument {
 public:
  FieldDocument() = default;
  explicit FieldDocument(const StyledText& text);

  // Every character, silent paragraph ends included (indexes count them).
  const std::u32string& text() const { return text_; }
  // The text as scripts read it: without the silent paragraph ends.
  std::u32string visibleText() const;
  size_t size() const { return text_.size(); }
  const FieldStyle& styleAt(size_t i) const { return styles_[styleOf_[i]]; }
  // The format of the last character; `fallback` for an empty text.
  FieldStyle lastStyle(const FieldStyle& fallback) const;

  // Puts `s` (line ends becoming \r) in place of [begin, end), in `style`. With `htmlBreaks`
  // a bare \r becomes a silent paragraph end instead, as replaceText keeps it.
  void replace(size_t begin, size_t end, const std::u32string& s, const FieldStyle& style,
               bool htmlBreaks = false);
  // Gives the characters of [begin, end) the values `spec` names.
  void applyFormat(size_t begin, size_t end, const FormatSpec& spec);
  // The values every character of [begin, end) shares; none for an empty range.
  FormatSpec formatOf(size_t begin, size_t end) const;

  StyledText styled() const;
  // The HTML the original player gave for such text: a <P> (or <LI>) per paragraph, its
  // paragraph values in a <TEXTFORMAT>, the first run's font in full and every change after it
  // in a nested <FONT>, bold, italic and underline around each run.
  // An empty text is one empty paragraph in `whenEmpty`.
  std::string html(const FieldStyle& whenEmpty) const;

 private:
  uint32_t styleIndex(const FieldStyle& s);
  void compact();

  std::u32string text_;
  std::vector<uint32_t> styleOf_;
  std::vector<FieldStyle> styles_;
};

// Line ends as a field keeps them: every \n becomes \r (so \r\n ends two lines).
std::u32string fieldLineEnds(const std::u32string& s);

}  // namespace swf
