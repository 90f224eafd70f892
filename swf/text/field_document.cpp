#include "swf/text/field_document.h"

#include <cmath>
#include <cstdio>

#include "swf/text/text_content.h"

namespace swf {
namespace {

// Past this many formats the table is rebuilt from the ones still in use.
constexpr size_t kCompactAt = 64;

std::string number(double v) {
  char b[32];
  if (v == std::trunc(v) && std::fabs(v) < 1e15)
    std::snprintf(b, sizeof b, "%.0f", v);
  else
    std::snprintf(b, sizeof b, "%g", v);
  return b;
}

std::string px(double twips) { return number(twips / 20); }

std::string colorText(RGBA c) {
  char b[16];
  std::snprintf(b, sizeof b, "#%02X%02X%02X", c.r, c.g, c.b);
  return b;
}

const char* alignText(TextAlign a) {
  switch (a) {
    case TextAlign::Right:
      return "RIGHT";
    case TextAlign::Center:
      return "CENTER";
    case TextAlign::Justify:
      return "JUSTIFY";
    default:
      return "LEFT";
  }
}

std::string escaped(const std::u32string& s) {
  std::u32string out;
  for (char32_t c : s) {
    switch (c) {
      case U'<':
        out += U"&lt;";
        break;
      case U'>':
        out += U"&gt;";
        break;
      case U'&':
        out += U"&amp;";
        break;
      case U'"':
        out += U"&quot;";
        break;
      case U'\'':
        out += U"&apos;";
        break;
      default:
        out += c;
    }
  }
  return encodeUtf8(out);
}

std::string attr(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + value + "\"";
}

// The attributes of `f` that differ from `base`; all of them without a base.
std::string fontAttributes(const CharFormat& f, const CharFormat* base) {
  std::string a;
  if (!base || base->font != f.font) a += attr("FACE", escaped(decodeText(f.font, 6)));
  if (!base || base->size != f.size) a += attr("SIZE", px(f.size));
  if (!base || base->color != f.color) a += attr("COLOR", colorText(f.color));
  if (!base || base->letterSpacing != f.letterSpacing)
    a += attr("LETTERSPACING", px(f.letterSpacing));
  if (!base || base->kerning != f.kerning) a += attr("KERNING", f.kerning ? "1" : "0");
  return a;
}

std::string textFormatAttributes(const ParagraphFormat& p) {
  std::string a;
  if (p.leftMargin != 0) a += attr("LEFTMARGIN", px(p.leftMargin));
  if (p.rightMargin != 0) a += attr("RIGHTMARGIN", px(p.rightMargin));
  if (p.indent != 0) a += attr("INDENT", px(p.indent));
  if (p.blockIndent != 0) a += attr("BLOCKINDENT", px(p.blockIndent));
  if (p.leading != 0) a += attr("LEADING", px(p.leading));
  if (!p.tabStops.empty()) {
    std::string t;
    for (double s : p.tabStops) t += (t.empty() ? "" : ",") + px(s);
    a += attr("TABSTOPS", t);
  }
  return a;
}

size_t nextParagraphEnd(const std::u32string& t, size_t from) {
  while (from < t.size() && !isParagraphEnd(t[from])) ++from;
  return from;
}

}  // namespace

std::u32string fieldLineEnds(const std::u32string& s) {
  std::u32string out;
  out.reserve(s.size());
  for (char32_t c : s) out += c == U'\n' ? U'\r' : c;
  return out;
}

FieldDocument::FieldDocument(const StyledText& t) {
  for (size_t i = 0; i < t.paragraphs.size(); ++i) {
    const StyledParagraph& p = t.paragraphs[i];
    const CharFormat* last = nullptr;
    for (const StyledRun& run : p.runs) {
      uint32_t s = styleIndex({run.format, p.format});
      for (char32_t c : run.text) {
        text_ += c;
        styleOf_.push_back(s);
      }
      last = &run.format;
    }
    // The line end between two paragraphs is in the values of the one it starts, unless a
    // closing tag made it.
    if (i + 1 < t.paragraphs.size()) {
      const StyledParagraph& next = t.paragraphs[i + 1];
      const CharFormat& f = last ? *last : next.runs.front().format;
      text_ += p.silentEnd ? kSilentBreak : U'\r';
      styleOf_.push_back(styleIndex({f, p.closedByTag ? p.format : next.format}));
    }
  }
}

std::u32string FieldDocument::visibleText() const {
  std::u32string out;
  out.reserve(text_.size());
  for (char32_t c : text_)
    if (c != kSilentBreak) out += c;
  return out;
}

FieldStyle FieldDocument::lastStyle(const FieldStyle& fallback) const {
  return text_.empty() ? fallback : styleAt(text_.size() - 1);
}

uint32_t FieldDocument::styleIndex(const FieldStyle& s) {
  for (size_t i = 0; i < styles_.size(); ++i)
    if (styles_[i] == s) return uint32_t(i);
  styles_.push_back(s);
  return uint32_t(styles_.size() - 1);
}

void FieldDocument::compact() {
  if (styles_.size() < kCompactAt) return;
  std::vector<FieldStyle> old;
  old.swap(styles_);
  std::vector<uint32_t> moved(old.size(), UINT32_MAX);
  for (uint32_t& s : styleOf_) {
    if (moved[s] == UINT32_MAX) moved[s] = styleIndex(old[s]);
    s = moved[s];
  }
}

void FieldDocument::replace(size_t begin, size_t end, const std::u32string& s,
                            const FieldStyle& style, bool htmlBreaks) {
  end = std::min(end, text_.size());
  begin = std::min(begin, end);
  std::u32string add = s;
  for (char32_t& c : add) c = c == U'\n' ? U'\r' : (htmlBreaks && c == U'\r' ? kSilentBreak : c);
  uint32_t idx = styleIndex(style);
  text_.replace(begin, end - begin, add);
  styleOf_.erase(styleOf_.begin() + long(begin), styleOf_.begin() + long(end));
  styleOf_.insert(styleOf_.begin() + long(begin), add.size(), idx);
  compact();
}

void FieldDocument::applyFormat(size_t begin, size_t end, const FormatSpec& spec) {
  end = std::min(end, text_.size());
  std::vector<uint32_t> changed(styles_.size(), UINT32_MAX);
  for (size_t i = begin; i < end; ++i) {
    uint32_t& s = styleOf_[i];
    if (changed[s] == UINT32_MAX) {
      FieldStyle f = styles_[s];
      spec.applyTo(f.chars);
      spec.applyTo(f.paragraph);
      changed[s] = styleIndex(f);
      if (changed.size() < styles_.size()) changed.resize(styles_.size(), UINT32_MAX);
    }
    s = changed[s];
  }
  compact();
}

FormatSpec FieldDocument::formatOf(size_t begin, size_t end) const {
  end = std::min(end, text_.size());
  if (begin >= end) return {};
  std::vector<bool> seen(styles_.size());
  FormatSpec spec = FormatSpec::of(styleAt(begin).chars, styleAt(begin).paragraph);
  for (size_t i = begin; i < end; ++i) {
    uint32_t s = styleOf_[i];
    if (seen[s]) continue;
    seen[s] = true;
    spec.keepCommon(FormatSpec::of(styles_[s].chars, styles_[s].paragraph));
  }
  return spec;
}

StyledText FieldDocument::styled() const {
  StyledText out;
  size_t start = 0;
  while (true) {
    size_t end = nextParagraphEnd(text_, start);
    StyledParagraph p;
    // A paragraph takes the values of its first character (its end, when it has no other).
    size_t lead = start < text_.size() ? start : (start > 0 ? start - 1 : SIZE_MAX);
    if (lead != SIZE_MAX) p.format = styleAt(lead).paragraph;
    for (size_t i = start; i < end; ++i) {
      const CharFormat& f = styleAt(i).chars;
      if (p.runs.empty() || !(p.runs.back().format == f)) p.runs.push_back({{}, f});
      p.runs.back().text += text_[i];
    }
    if (p.runs.empty())
      p.runs.push_back({{}, lead != SIZE_MAX ? styleAt(lead).chars : CharFormat{}});
    out.paragraphs.push_back(std::move(p));
    if (end >= text_.size()) break;
    start = end + 1;
  }
  return out;
}

std::string FieldDocument::html(const FieldStyle& whenEmpty) const {
  std::string out;
  size_t start = 0;
  while (start < text_.size()) {
    size_t end = nextParagraphEnd(text_, start);
    size_t lead = start < text_.size() ? start : SIZE_MAX;
    FieldStyle first = lead != SIZE_MAX ? styleAt(lead) : whenEmpty;
    const ParagraphFormat& para = first.paragraph;
    std::string tf = textFormatAttributes(para);
    if (!tf.empty()) out += "<TEXTFORMAT" + tf + ">";
    out += para.bullet ? "<LI>" : std::string("<P ALIGN=\"") + alignText(para.align) + "\">";
    // The first run's font in full; each change after it nests inside, to the paragraph's end.
    const CharFormat* font = &first.chars;
    out += "<FONT" + fontAttributes(*font, nullptr) + ">";
    int opened = 1;
    for (size_t i = start; i < end;) {
      const CharFormat& f = styleAt(i).chars;
      size_t j = i + 1;
      while (j < end && styleAt(j).chars == f) ++j;
      std::string changed = fontAttributes(f, font);
      if (!changed.empty()) {
        out += "<FONT" + changed + ">";
        ++opened;
        font = &f;
      }
      std::string open, close;
      if (!f.url.empty()) {
        open += "<A HREF=\"" + escaped(decodeText(f.url, 6)) + "\" TARGET=\"" +
                escaped(decodeText(f.target, 6)) + "\">";
        close = "</A>" + close;
      }
      if (f.bold) open += "<B>", close = "</B>" + close;
      if (f.italic) open += "<I>", close = "</I>" + close;
      if (f.underline) open += "<U>", close = "</U>" + close;
      out += open + escaped(text_.substr(i, j - i)) + close;
      i = j;
    }
    while (opened-- > 0) out += "</FONT>";
    out += para.bullet ? "</LI>" : "</P>";
    if (!tf.empty()) out += "</TEXTFORMAT>";
    if (end >= text_.size()) break;
    start = end + 1;
  }
  return out;
}

}  // namespace swf
