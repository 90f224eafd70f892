#include "swf/text/styled_text.h"

namespace swf {

std::u32string StyledText::plainText() const {
  std::u32string out;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) out += U'\r';
    for (const StyledRun& run : paragraphs[i].runs) out += run.text;
  }
  return out;
}

StyledText styledPlainText(const std::u32string& text, const CharFormat& format,
                           const ParagraphFormat& paragraph) {
  StyledText out;
  auto startParagraph = [&] { out.paragraphs.push_back({paragraph, {StyledRun{{}, format}}}); };
  startParagraph();
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
      startParagraph();
    } else {
      out.paragraphs.back().runs.back().text += c;
    }
  }
  return out;
}

}  // namespace swf
