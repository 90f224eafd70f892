#include "swf/text/text_layout.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

struct Source {
  char32_t code;
  const CharFormat* format;
};

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }

bool sameFont(const CharFormat& a, const CharFormat& b) {
  return a.font == b.font && a.size == b.size && a.bold == b.bold && a.italic == b.italic;
}

class ParagraphLayout {
 public:
  ParagraphLayout(const StyledParagraph& p, const LayoutBox& box, TextMeasure& measure)
      : p_(p), box_(box), measure_(measure) {
    for (const StyledRun& run : p.runs)
      for (char32_t c : run.text) chars_.push_back({c, &run.format});
    advances_.reserve(chars_.size());
    for (const Source& s : chars_)
      advances_.push_back(
          s.code == U'\t' ? 0 : measure.advance(*s.format, s.code) + s.format->letterSpacing);
  }

  // Lays the paragraph out below `y` (the previous line's descent and leading included);
  // returns false once a line does not fit above the box's bottom.
  bool layout(std::vector<LaidLine>& lines, double& y) {
    const ParagraphFormat& f = p_.format;
    double bulletIndent = f.bullet ? kBulletIndentEms * p_.runs.front().format.size : 0;
    double paragraphLeft = box_.left + f.leftMargin + f.blockIndent;
    size_t i = 0;
    bool first = true;
    do {
      if (y > box_.bottom && !lines.empty()) return false;
      double indent = (first ? f.indent : 0) + bulletIndent;
      double room = box_.width - f.leftMargin - f.rightMargin - f.blockIndent - indent;
      size_t end = fit(i, indent, room);
      LaidLine line;
      place(line, i, end, paragraphLeft, indent);
      measureLine(line, i, end);
      line.baseline = y + line.ascent;
      // Only whole lines show, but for the first.
      if (!lines.empty() && line.baseline + line.descent > box_.bottom) return false;
      align(line, room, paragraphLeft + indent, end < chars_.size());
      if (first && f.bullet) {
        line.bullet = &p_.runs.front().format;
        line.bulletX = paragraphLeft + std::max(0.0, f.indent);
      }
      y = line.baseline + line.descent + f.leading;
      lines.push_back(std::move(line));
      i = end;
      first = false;
    } while (i < chars_.size());
    return true;
  }

 private:
  double kerning(size_t left) const {
    const Source& a = chars_[left];
    const Source& b = chars_[left + 1];
    if (!a.format->kerning || !sameFont(*a.format, *b.format)) return 0;
    if (a.code == U'\t' || b.code == U'\t') return 0;
    return measure_.kerning(*a.format, a.code, b.code);
  }

  // Where a tab at `x` (from the paragraph's left edge) moves the pen.
  double tabStop(double x) const {
    for (double stop : p_.format.tabStops)
      if (stop > x) return stop;
    double last = p_.format.tabStops.empty() ? 0 : p_.format.tabStops.back();
    double steps = std::floor((x - last) / kDefaultTabStop) + 1;
    return last + steps * kDefaultTabStop;
  }

  double width(size_t j, double pen) const {
    return chars_[j].code == U'\t' ? tabStop(pen) - pen : advances_[j];
  }

  // The end of the line starting at `from`: the whole rest without word wrap; with it, the
  // characters up to the last space before the first word that overflows `room`.
  size_t fit(size_t from, double indent, double room) const {
    size_t n = chars_.size();
    if (!box_.wordWrap) return n;
    double pen = indent;
    size_t wordStart = from;  // just after the last blank seen; `from` while there is none
    for (size_t j = from; j < n; ++j) {
      double w = width(j, pen);
      bool blank = isBlank(chars_[j].code);
      if (!blank && j > from && pen + w - indent > room) {
        // Break before the overflowing word, or inside a word too wide for any line.
        return wordStart > from ? wordStart : j;
      }
      pen += w;
      if (j + 1 < n) pen += kerning(j);
      if (blank) wordStart = j + 1;
    }
    return n;
  }

  void place(LaidLine& line, size_t from, size_t end, double paragraphLeft, double indent) const {
    double pen = indent;
    for (size_t j = from; j < end; ++j) {
      double w = width(j, pen);
      if (j + 1 < end) w += kerning(j);
      line.chars.push_back({chars_[j].code, paragraphLeft + pen, w, chars_[j].format});
      pen += w;
    }
    line.visible = line.chars.size();
    while (line.visible > 0 && isBlank(line.chars[line.visible - 1].code)) --line.visible;
  }

  void measureLine(LaidLine& line, size_t from, size_t end) {
    auto take = [&line](const FontMetrics& m) {
      line.ascent = std::max(line.ascent, m.ascent);
      line.descent = std::max(line.descent, m.descent);
    };
    if (from == end) {
      // An empty line is as high as the format it would be typed in.
      const CharFormat& f = from < chars_.size() ? *chars_[from].format : p_.runs.back().format;
      take(measure_.metrics(f));
      return;
    }
    const CharFormat* last = nullptr;
    for (size_t j = from; j < end; ++j) {
      if (chars_[j].format == last) continue;
      last = chars_[j].format;
      take(measure_.metrics(*last));
    }
  }

  void align(LaidLine& line, double room, double start, bool wrapped) const {
    if (line.visible == 0) return;
    const PlacedChar& lastVisible = line.chars[line.visible - 1];
    double used = lastVisible.x + lastVisible.advance - start;
    double spare = room - used;
    if (spare <= 0) return;  // text wider than its room starts at the left
    double shift = 0;
    switch (p_.format.align) {
      case TextAlign::Left:
        return;
      case TextAlign::Right:
        shift = spare;
        break;
      case TextAlign::Center:
        shift = spare / 2;
        break;
      case TextAlign::Justify: {
        if (!wrapped) return;  // a paragraph's last line stays as it is
        size_t spaces = 0;
        for (size_t j = 0; j < line.visible; ++j) spaces += line.chars[j].code == U' ';
        if (spaces == 0) return;
        double extra = spare / double(spaces), added = 0;
        for (size_t j = 0; j < line.chars.size(); ++j) {
          line.chars[j].x += added;
          if (j < line.visible && line.chars[j].code == U' ') added += extra;
        }
        return;
      }
    }
    for (PlacedChar& c : line.chars) c.x += shift;
  }

  const StyledParagraph& p_;
  const LayoutBox& box_;
  TextMeasure& measure_;
  std::vector<Source> chars_;
  std::vector<double> advances_;
};

}  // namespace

std::vector<LaidLine> layoutText(const StyledText& text, const LayoutBox& box,
                                 TextMeasure& measure) {
  std::vector<LaidLine> lines;
  double y = box.top;
  for (const StyledParagraph& p : text.paragraphs) {
    if (p.runs.empty()) continue;
    if (!ParagraphLayout(p, box, measure).layout(lines, y)) break;
  }
  return lines;
}

}  // namespace swf
