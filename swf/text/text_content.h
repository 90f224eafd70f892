#pragma once
// Turning a text field's text into lines of characters.

#include <cstdint>
#include <string>
#include <vector>

namespace swf {

// Character codes of the text: UTF-8 from SWF 6 on, Latin-1 before. Malformed UTF-8 bytes are
// taken as Latin-1.
std::u32string decodeText(const std::string& bytes, int swfVersion);

// Character codes as UTF-8.
std::string encodeUtf8(const std::u32string& text);

// The visible text of an HTML text field: tags dropped, paragraphs and <br> made line breaks,
// the common entities replaced.
std::string htmlToPlainText(const std::string& html);

// Splits text into lines at \r, \n or \r\n; `width` of a piece of text decides where long lines
// wrap when `maxWidth` > 0 (at spaces where possible).
template <typename Measure>
std::vector<std::u32string> layoutLines(const std::u32string& text, bool breakLines,
                                        double maxWidth, Measure width) {
  std::vector<std::u32string> paragraphs{{}};
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if ((c == U'\r' || c == U'\n') && breakLines) {
      if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
      paragraphs.emplace_back();
    } else if (c != U'\r' && c != U'\n') {
      paragraphs.back() += c;
    }
  }
  if (maxWidth <= 0) return paragraphs;
  std::vector<std::u32string> lines;
  for (const std::u32string& p : paragraphs) {
    std::u32string line;
    size_t i = 0;
    if (p.empty()) lines.emplace_back();
    while (i < p.size()) {
      // The next word with the spaces before it.
      size_t j = i;
      while (j < p.size() && p[j] == U' ') ++j;
      while (j < p.size() && p[j] != U' ') ++j;
      std::u32string candidate = line + p.substr(i, j - i);
      if (line.empty() || width(candidate) <= maxWidth) {
        line = std::move(candidate);
        i = j;
        // A single word wider than the field is cut where it overflows.
        while (line.size() > 1 && width(line) > maxWidth) {
          size_t keep = line.size() - 1;
          while (keep > 1 && width(line.substr(0, keep)) > maxWidth) --keep;
          lines.push_back(line.substr(0, keep));
          line = line.substr(keep);
        }
      } else {
        lines.push_back(line);
        line.clear();
        while (i < p.size() && p[i] == U' ') ++i;  // a wrapped line starts at its word
      }
    }
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

}  // namespace swf
