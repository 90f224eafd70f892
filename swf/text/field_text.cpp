#include "swf/text/field_text.h"

#include <algorithm>

#include "swf/text/font_table.h"
#include "swf/text/html_text.h"
#include "swf/text/text_content.h"

namespace swf {

CharFormat fieldCharFormat(const EditTextCharacter& field) {
  if (field.scriptFormat) return *field.scriptFormat;
  CharFormat f;
  // A field kerns only when its text asks for it.
  f.kerning = false;
  if (field.font) {
    f.font = field.font->name;
    f.bold = field.font->bold;
    f.italic = field.font->italic;
  }
  f.size = field.fontHeight;
  f.color = field.color;
  return f;
}

ParagraphFormat fieldParagraphFormat(const EditTextCharacter& field) {
  if (field.scriptParagraph) return *field.scriptParagraph;
  ParagraphFormat p;
  p.align = field.align;
  p.leftMargin = field.leftMargin;
  p.rightMargin = field.rightMargin;
  p.indent = field.indent;
  p.leading = field.leading;
  return p;
}

StyledText fieldStyledText(const EditTextCharacter& field, const std::string& bytes) {
  std::u32string text = decodeText(bytes, field.swfVersion);
  StyledText styled =
      field.html ? parseHtmlText(text, fieldCharFormat(field), fieldParagraphFormat(field),
                                 field.multiline)
                 : styledPlainText(text, fieldCharFormat(field), fieldParagraphFormat(field));
  if (field.password)
    for (StyledParagraph& p : styled.paragraphs)
      for (StyledRun& run : p.runs) run.text.assign(run.text.size(), U'*');
  return styled;
}

std::vector<std::string> fontNames(const std::string& list) {
  std::vector<std::string> names;
  size_t at = 0;
  while (at <= list.size()) {
    size_t comma = std::min(list.find(',', at), list.size());
    size_t first = list.find_first_not_of(' ', at);
    size_t last = list.find_last_not_of(' ', comma == 0 ? 0 : comma - 1);
    if (first < comma && last != std::string::npos && last >= first)
      names.push_back(list.substr(first, last - first + 1));
    at = comma + 1;
  }
  if (names.empty()) names.emplace_back();
  return names;
}

const FontCharacter* fontForRun(const EditTextCharacter& field, const CharFormat& format) {
  const FontCharacter* own = field.font.get();
  for (const std::string& name : fontNames(format.font)) {
    if (own && sameFontName(own->name, name) && own->bold == format.bold &&
        own->italic == format.italic)
      return own;
    if (field.movieFonts)
      if (const FontCharacter* named = field.movieFonts->find(name, format.bold, format.italic))
        return named;
  }
  return own;
}

}  // namespace swf
