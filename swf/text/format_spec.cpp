#include "swf/text/format_spec.h"

namespace swf {
namespace {

template <class T>
void setIf(const std::optional<T>& from, T& to) {
  if (from) to = *from;
}

template <class T>
void keepIfEqual(std::optional<T>& mine, const std::optional<T>& theirs) {
  if (mine && (!theirs || !(*mine == *theirs))) mine.reset();
}

}  // namespace

FormatSpec FormatSpec::of(const CharFormat& c, const ParagraphFormat& p) {
  FormatSpec s;
  s.font = c.font;
  s.url = c.url;
  s.target = c.target;
  s.size = c.size;
  s.letterSpacing = c.letterSpacing;
  s.color = c.color;
  s.bold = c.bold;
  s.italic = c.italic;
  s.underline = c.underline;
  s.kerning = c.kerning;
  s.bullet = p.bullet;
  s.align = p.align;
  s.leftMargin = p.leftMargin;
  s.rightMargin = p.rightMargin;
  s.indent = p.indent;
  s.blockIndent = p.blockIndent;
  s.leading = p.leading;
  s.tabStops = p.tabStops;
  return s;
}

void FormatSpec::applyTo(CharFormat& c) const {
  setIf(font, c.font);
  setIf(url, c.url);
  setIf(target, c.target);
  setIf(size, c.size);
  setIf(letterSpacing, c.letterSpacing);
  setIf(color, c.color);
  setIf(bold, c.bold);
  setIf(italic, c.italic);
  setIf(underline, c.underline);
  setIf(kerning, c.kerning);
}

void FormatSpec::applyTo(ParagraphFormat& p) const {
  setIf(bullet, p.bullet);
  setIf(align, p.align);
  setIf(leftMargin, p.leftMargin);
  setIf(rightMargin, p.rightMargin);
  setIf(indent, p.indent);
  setIf(blockIndent, p.blockIndent);
  setIf(leading, p.leading);
  setIf(tabStops, p.tabStops);
}

void FormatSpec::keepCommon(const FormatSpec& o) {
  keepIfEqual(font, o.font);
  keepIfEqual(url, o.url);
  keepIfEqual(target, o.target);
  keepIfEqual(size, o.size);
  keepIfEqual(letterSpacing, o.letterSpacing);
  keepIfEqual(color, o.color);
  keepIfEqual(bold, o.bold);
  keepIfEqual(italic, o.italic);
  keepIfEqual(underline, o.underline);
  keepIfEqual(kerning, o.kerning);
  keepIfEqual(bullet, o.bullet);
  keepIfEqual(align, o.align);
  keepIfEqual(leftMargin, o.leftMargin);
  keepIfEqual(rightMargin, o.rightMargin);
  keepIfEqual(indent, o.indent);
  keepIfEqual(blockIndent, o.blockIndent);
  keepIfEqual(leading, o.leading);
  keepIfEqual(tabStops, o.tabStops);
}

bool FormatSpec::hasParagraphValues() const {
  return bullet || align || leftMargin || rightMargin || indent || blockIndent || leading ||
         tabStops;
}

}  // namespace swf
