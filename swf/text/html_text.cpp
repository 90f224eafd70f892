#include "swf/text/html_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "swf/text/text_content.h"

namespace swf {

namespace {

constexpr double kTwipsPerPixel = 20;
// Sizes beyond this are taken as this: a size is a number the file gives, not a promise of
// pixels, and glyphs of absurd sizes cost time to draw for nothing.
constexpr double kMaxFontPixels = 1000;
// Distances (margins, indents, leading, spacing, tab stops) are bounded likewise, so that the
// positions laid out stay far inside what Cairo's fixed-point coordinates hold.
constexpr double kMaxDistancePixels = 8192;
// Formatting tags nest at most this deep; deeper ones are read as unknown tags. Real text nests
// a handful deep, and the bound keeps a file of endless unclosed tags from costing quadratic time.
constexpr size_t kMaxOpenTags = 256;

bool isSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; }

char32_t lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c; }

// Tag and attribute names are ASCII; anything else in them cannot match a name we know.
char nameChar(char32_t c) { return c < 0x80 ? char(lower(c)) : '?'; }

std::string ascii(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) out += c < 0x80 ? char(c) : '?';
  return out;
}

// A number with an optional sign and fraction, within ±kMaxDistancePixels; nothing when `s`
// holds none.
std::optional<double> number(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  double v = 0, scale = 0;
  bool digits = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      if (scale > 0) {
        scale /= 10;
        v += (c - '0') * scale;
      } else {
        v = std::min(v * 10 + (c - '0'), kMaxDistancePixels);
      }
    } else if (c == '.' && scale == 0) {
      scale = 1;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  return negative ? -v : v;
}

std::optional<RGBA> color(const std::string& s, uint8_t alpha) {
  size_t i = 0;
  if (s.compare(0, 1, "#") == 0)
    i = 1;
  else if (s.compare(0, 2, "0x") == 0 || s.compare(0, 2, "0X") == 0)
    i = 2;
  else
    return std::nullopt;
  uint32_t v = 0;
  int digits = 0;
  for (; i < s.size() && digits < 6; ++i, ++digits) {
    char c = s[i];
    int d = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
    if (d < 0) break;
    v = v << 4 | uint32_t(d);
  }
  if (digits == 0) return std::nullopt;
  return RGBA{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), alpha};
}

bool truth(const std::string& s) { return s == "1" || s == "true" || s == "TRUE" || s == "True"; }

struct Tag {
  std::string name;  // lower case
  bool closing = false, selfClosing = false;
  std::vector<std::pair<std::string, std::u32string>> attributes;  // names in lower case

  const std::u32string* attribute(const char* key) const {
    for (const auto& [k, v] : attributes)
      if (k == key) return &v;
    return nullptr;
  }
};

class HtmlReader {
 public:
  HtmlReader(const std::u32string& html, const CharFormat& base, const ParagraphFormat& paragraph,
             bool multiline, int version, bool condenseWhite)
      : html_(html), multiline_(multiline), condenseWhite_(condenseWhite), version_(version) {
    open_.push_back({"", base, paragraph});
    out_.paragraphs.push_back({paragraph, {StyledRun{{}, base}}});
  }

  StyledText read() {
    size_t i = 0;
    while (i < html_.size()) {
      if (html_[i] == U'<') {
        if (!readTag(i)) break;  // a tag without its '>' ends the text
        continue;
      }
      size_t end = std::min(html_.find(U'<', i), html_.size());
      readText(i, end);
      i = end;
    }
    return std::move(out_);
  }

 private:
  struct Open {
    std::string tag;
    CharFormat chars;
    ParagraphFormat paragraph;
  };

  CharFormat& chars() { return open_.back().chars; }
  ParagraphFormat& paragraphFormat() { return open_.back().paragraph; }
  StyledParagraph& paragraph() { return out_.paragraphs.back(); }

  bool paragraphEmpty() {
    const auto& runs = paragraph().runs;
    return runs.size() == 1 && runs[0].text.empty();
  }

  // A paragraph takes the format in force when its first character arrives.
  void adoptFormats() {
    if (pendingBreak_ || !paragraphEmpty()) return;
    paragraph().format = paragraphFormat();
    paragraph().runs[0].format = chars();
  }

  void append(char32_t c) {
    resolvePendingBreak();
    adoptFormats();
    auto& runs = paragraph().runs;
    if (runs.back().text.empty()) {
      runs.back().format = chars();
    } else if (!(runs.back().format == chars())) {
      runs.push_back({{}, chars()});
    }
    runs.back().text += c;
  }

  // The text between two tags. With condenseWhite each run of white space (line ends too) is one
  // space, and white space alone there is dropped, as it always is before SWF 8. From SWF 8 the
  // condensed runs join across tags and none starts a paragraph.
  void readText(size_t i, size_t end) {
    bool blank = true;
    for (size_t k = i; k < end && blank; ++k) blank = isSpace(html_[k]);
    if (blank && (condenseWhite_ || version_ < 8)) return;
    bool inSpace = false;
    if (condenseWhite_ && version_ >= 8) {
      const auto& runs = paragraph().runs;
      inSpace = pendingBreak_ || paragraphEmpty() || runs.back().text.empty() ||
                runs.back().text.back() == U' ';
    }
    while (i < end) {
      char32_t c = html_[i];
      if (condenseWhite_ && isSpace(c)) {
        if (!inSpace) append(U' ');
        inSpace = true;
        ++i;
        continue;
      }
      inSpace = false;
      if (c == U'&') {
        i = readEntity(i, [this](char32_t e) { append(e); });
      } else if (c == U'\r' || c == U'\n') {
        // Each ends a paragraph; a bare \r is an end the field's text does not show.
        ++i;
        resolvePendingBreak();
        paragraph().silentEnd = c == U'\r';
        newParagraph();
      } else {
        append(c);
        ++i;
      }
    }
  }

  void newParagraph() { out_.paragraphs.push_back({paragraphFormat(), {StyledRun{{}, chars()}}}); }

  // A closed <p> or <li> ends its paragraph only when something follows.
  void resolvePendingBreak() {
    if (!pendingBreak_) return;
    pendingBreak_ = false;
    paragraph().closedByTag = true;
    newParagraph();
  }

  template <typename Sink>
  size_t readEntity(size_t i, Sink sink) {
    size_t semicolon = i + 1;
    while (semicolon < html_.size() && semicolon - i <= 10 && html_[semicolon] != U';' &&
           html_[semicolon] != U'&' && html_[semicolon] != U'<')
      ++semicolon;
    if (semicolon < html_.size() && html_[semicolon] == U';') {
      std::u32string name = html_.substr(i + 1, semicolon - i - 1);
      if (auto c = entity(name)) {
        sink(*c);
        return semicolon + 1;
      }
    }
    sink(U'&');
    return i + 1;
  }

  static std::optional<char32_t> entity(const std::u32string& name) {
    static const std::pair<const char32_t*, char32_t> named[] = {
        {U"lt", U'<'},   {U"gt", U'>'},    {U"amp", U'&'},
        {U"quot", U'"'}, {U"apos", U'\''}, {U"nbsp", U'\u00a0'}};
    for (const auto& [n, c] : named)
      if (name == n) return c;
    if (name.size() < 2 || name[0] != U'#') return std::nullopt;
    bool hex = lower(name[1]) == U'x';
    size_t from = hex ? 2 : 1;
    if (from >= name.size()) return std::nullopt;
    uint32_t v = 0;
    for (size_t k = from; k < name.size(); ++k) {
      char32_t d = lower(name[k]);
      uint32_t digit;
      if (d >= U'0' && d <= U'9')
        digit = d - U'0';
      else if (hex && d >= U'a' && d <= U'f')
        digit = d - U'a' + 10;
      else
        return std::nullopt;
      v = v * (hex ? 16 : 10) + digit;
      if (v > 0x10ffff) return std::nullopt;
    }
    if (v == 0 || (v >= 0xd800 && v <= 0xdfff)) return std::nullopt;
    return char32_t(v);
  }

  // Reads the tag at `i` (its '<') and moves past it; false when it never closes.
  bool readTag(size_t& i) {
    size_t n = html_.size();
    size_t k = i + 1;
    if (html_.compare(k, 3, U"!--") == 0) {
      size_t end = html_.find(U"-->", k + 3);
      if (end == std::u32string::npos) return false;
      i = end + 3;
      return true;
    }
    Tag tag;
    if (k < n && html_[k] == U'/') {
      tag.closing = true;
      ++k;
    }
    while (k < n && !isSpace(html_[k]) && html_[k] != U'>' && html_[k] != U'/')
      tag.name += nameChar(html_[k++]);
    for (;;) {
      while (k < n && isSpace(html_[k])) ++k;
      if (k >= n) return false;
      if (html_[k] == U'>') break;
      if (html_[k] == U'/') {
        tag.selfClosing = true;
        ++k;
        continue;
      }
      std::string key;
      while (k < n && !isSpace(html_[k]) && html_[k] != U'=' && html_[k] != U'>' &&
             html_[k] != U'/')
        key += nameChar(html_[k++]);
      while (k < n && isSpace(html_[k])) ++k;
      std::u32string value;
      if (k < n && html_[k] == U'=') {
        ++k;
        while (k < n && isSpace(html_[k])) ++k;
        if (k < n && (html_[k] == U'"' || html_[k] == U'\'')) {
          char32_t quote = html_[k++];
          while (k < n && html_[k] != quote) {
            if (html_[k] == U'&')
              k = readEntity(k, [&value](char32_t e) { value += e; });
            else
              value += html_[k++];
          }
          if (k >= n) return false;
          ++k;
        } else {
          while (k < n && !isSpace(html_[k]) && html_[k] != U'>') value += html_[k++];
        }
      }
      if (key.empty()) {
        ++k;  // a stray character where a name belongs
        continue;
      }
      tag.attributes.emplace_back(std::move(key), std::move(value));
    }
    i = k + 1;
    tag.closing ? closeTag(tag) : openTag(tag);
    return true;
  }

  void openTag(const Tag& tag) {
    const std::string& t = tag.name;
    if (t == "tab") {
      append(U'\t');
      return;
    }
    if (t == "br") {
      // Before SWF 7 a single-line field still breaks there.
      if (!multiline_ && version_ >= 7) return;
      resolvePendingBreak();
      newParagraph();
      return;
    }
    bool starts = t == "p" || t == "li";
    bool known = starts || t == "font" || t == "b" || t == "i" || t == "u" || t == "a" ||
                 t == "textformat" || t == "span";
    if (!known || tag.selfClosing || open_.size() > kMaxOpenTags) return;
    if (starts && multiline_) {
      resolvePendingBreak();
      if (!paragraphEmpty()) newParagraph();
    }
    Open next = open_.back();
    next.tag = t;
    apply(tag, next);
    open_.push_back(std::move(next));
    adoptFormats();
  }

  void apply(const Tag& tag, Open& o) {
    const std::string& t = tag.name;
    CharFormat& c = o.chars;
    ParagraphFormat& p = o.paragraph;
    if (t == "b") c.bold = true;
    if (t == "i") c.italic = true;
    if (t == "u") c.underline = true;
    if (t == "li") p.bullet = true;
    if (t == "p" || t == "li") {
      if (auto* v = tag.attribute("align")) {
        std::string a = ascii(*v);
        for (char& ch : a) ch = nameChar(static_cast<unsigned char>(ch));
        if (a == "left") p.align = TextAlign::Left;
        if (a == "right") p.align = TextAlign::Right;
        if (a == "center") p.align = TextAlign::Center;
        if (a == "justify") p.align = TextAlign::Justify;
      }
    }
    if (t == "a") {
      if (auto* v = tag.attribute("href")) c.url = encodeUtf8(*v);
      if (auto* v = tag.attribute("target")) c.target = encodeUtf8(*v);
    }
    if (t == "font") {
      if (auto* v = tag.attribute("face"); v && !v->empty()) c.font = encodeUtf8(*v);
      if (auto* v = tag.attribute("size")) {
        std::string s = ascii(*v);
        if (auto px = number(s)) {
          bool relative = !s.empty() && (s[0] == '+' || s[0] == '-');
          double size = relative ? c.size + *px * kTwipsPerPixel : *px * kTwipsPerPixel;
          c.size = std::clamp(size, 0.0, kMaxFontPixels * kTwipsPerPixel);
        }
      }
      if (auto* v = tag.attribute("color"))
        if (auto rgb = color(ascii(*v), c.color.a)) c.color = *rgb;
    }
    if (t == "font" || t == "textformat") {
      if (auto* v = tag.attribute("letterspacing"))
        if (auto px = number(ascii(*v))) c.letterSpacing = *px * kTwipsPerPixel;
      if (auto* v = tag.attribute("kerning")) c.kerning = truth(ascii(*v));
    }
    if (t == "textformat") {
      auto pixels = [&tag](const char* key, double& target, bool allowNegative) {
        if (auto* v = tag.attribute(key))
          if (auto px = number(ascii(*v)))
            target = (allowNegative ? *px : std::max(0.0, *px)) * kTwipsPerPixel;
      };
      pixels("leftmargin", p.leftMargin, false);
      pixels("rightmargin", p.rightMargin, false);
      pixels("indent", p.indent, true);
      pixels("blockindent", p.blockIndent, false);
      pixels("leading", p.leading, true);
      if (auto* v = tag.attribute("tabstops")) {
        p.tabStops.clear();
        std::string list = ascii(*v);
        size_t at = 0;
        while (at < list.size() && p.tabStops.size() < 64) {
          size_t next = list.find(',', at);
          std::string item =
              list.substr(at, next == std::string::npos ? std::string::npos : next - at);
          item.erase(std::remove(item.begin(), item.end(), '['), item.end());
          if (auto px = number(item); px && *px >= 0) p.tabStops.push_back(*px * kTwipsPerPixel);
          if (next == std::string::npos) break;
          at = next + 1;
        }
        std::sort(p.tabStops.begin(), p.tabStops.end());
      }
    }
  }

  void closeTag(const Tag& tag) {
    for (size_t k = open_.size(); k-- > 1;) {
      if (open_[k].tag != tag.name) continue;
      open_.resize(k);
      if ((tag.name == "p" || tag.name == "li") && multiline_ && !pendingBreak_) {
        // An empty element still makes its line.
        pendingBreak_ = true;
      }
      if (tag.name == "p" && !multiline_ && version_ < 7) {
        paragraph().closedByTag = true;
        newParagraph();
      }
      return;
    }
  }

  const std::u32string& html_;
  bool multiline_, condenseWhite_;
  int version_;
  std::vector<Open> open_;  // open_[0] is the field's own format, never closed
  StyledText out_;
  bool pendingBreak_ = false;
};

}  // namespace

StyledText parseHtmlText(const std::u32string& html, const CharFormat& base,
                         const ParagraphFormat& paragraph, bool multiline, int version,
                         bool condenseWhite) {
  return HtmlReader(html, base, paragraph, multiline, version, condenseWhite).read();
}

}  // namespace swf
