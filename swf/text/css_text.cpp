#include "swf/text/css_text.h"

#include <strings.h>

#include <cctype>

namespace swf {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// "font-size" -> "fontSize": a hyphen goes and upper-cases what follows it.
std::string camelName(std::string_view name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '-' && i + 1 < name.size())
      out += char(std::toupper(static_cast<unsigned char>(name[++i])));
    else
      out += name[i];
  }
  return out;
}

class CssReader {
 public:
  CssReader(std::string_view s, int version) : s_(s), version_(version) {}

  std::optional<std::vector<CssRule>> read() {
    std::vector<CssRule> rules;
    for (;;) {
      std::vector<std::string> selectors;
      if (!readSelectors(selectors)) return std::nullopt;
      if (atEnd()) return selectors.empty() ? std::optional(rules) : std::nullopt;
      ++pos_;  // '{'
      std::vector<std::pair<std::string, std::string>> block;
      if (!readBlock(block)) return std::nullopt;
      for (const std::string& sel : selectors) {
        std::erase_if(rules, [&](const CssRule& r) { return r.selector == sel; });
        rules.push_back({sel, block});
      }
      if (atEnd()) return rules;
    }
  }

 private:
  bool atEnd() const { return pos_ >= s_.size(); }
  void skipSpace() {
    while (!atEnd() && isSpace(s_[pos_])) ++pos_;
  }
  // Names separated by commas (empty ones are skipped), up to '{' or the end. Two names with
  // only white space between them do not read.
  bool readSelectors(std::vector<std::string>& out) {
    bool afterName = false;
    for (;;) {
      skipSpace();
      if (atEnd() || s_[pos_] == '{') return true;
      if (s_[pos_] == ',') {
        ++pos_;
        afterName = false;
        continue;
      }
      if (afterName || s_[pos_] == '}' || s_[pos_] == ';') return false;
      size_t begin = pos_;
      while (!atEnd() && !isSpace(s_[pos_]) && s_[pos_] != ',' && s_[pos_] != '{') ++pos_;
      out.emplace_back(s_.substr(begin, pos_ - begin));
      afterName = true;
    }
  }
  // "name: value; ..." up to '}'; the sheet may end after a ';'.
  bool readBlock(std::vector<std::pair<std::string, std::string>>& out) {
    if (version_ >= 8) skipSpace();
    if (!atEnd() && s_[pos_] == '}') {
      ++pos_;
      return true;
    }
    bool afterSemicolon = false;
    for (;;) {
      skipSpace();
      if (atEnd()) return true;
      if (afterSemicolon && s_[pos_] == '}') {
        ++pos_;
        return true;
      }
      size_t begin = pos_;
      while (!atEnd() && !isSpace(s_[pos_]) && s_[pos_] != ':' && s_[pos_] != ';' &&
             s_[pos_] != '{' && s_[pos_] != '}')
        ++pos_;
      std::string_view name = s_.substr(begin, pos_ - begin);
      skipSpace();
      if (name.empty() || atEnd() || s_[pos_] != ':') return false;
      ++pos_;
      skipSpace();
      begin = pos_;
      while (!atEnd() && s_[pos_] != ';' && s_[pos_] != '}') ++pos_;
      if (atEnd()) return false;
      out.emplace_back(camelName(name), std::string(s_.substr(begin, pos_ - begin)));
      if (s_[pos_++] == '}') return true;
      afterSemicolon = true;
    }
  }

  std::string_view s_;
  int version_;
  size_t pos_ = 0;
};

}  // namespace

std::optional<std::vector<CssRule>> parseCss(std::string_view css, int version) {
  return CssReader(css, version).read();
}

std::optional<unsigned> parseCssColor(std::string_view s) {
  if (s.size() != 7 || s[0] != '#') return std::nullopt;
  unsigned n = 0;
  for (char c : s.substr(1)) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    n = n * 16 + unsigned(std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
  }
  return n;
}

std::string cssFontFamily(const std::string& name) {
  if (strcasecmp(name.c_str(), "mono") == 0) return "_typewriter";
  if (strcasecmp(name.c_str(), "sans-serif") == 0) return "_sans";
  if (strcasecmp(name.c_str(), "serif") == 0) return "_serif";
  return name;
}

}  // namespace swf
