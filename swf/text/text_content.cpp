#include "swf/text/text_content.h"

#include <cctype>
#include <cstring>

namespace swf {

std::u32string decodeText(const std::string& bytes, int swfVersion) {
  std::u32string out;
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t n = bytes.size();
  for (size_t i = 0; i < n;) {
    unsigned char c = s[i];
    if (swfVersion < 6 || c < 0x80) {
      out += char32_t(c);
      ++i;
      continue;
    }
    int len = c >= 0xf0 && c < 0xf8 ? 4 : c >= 0xe0 ? 3 : c >= 0xc0 ? 2 : 0;
    if (len == 0 || i + size_t(len) > n) {
      out += char32_t(c);
      ++i;
      continue;
    }
    char32_t v = c & (0x7f >> len);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      if ((s[i + size_t(k)] & 0xc0) != 0x80) ok = false;
      v = (v << 6) | (s[i + size_t(k)] & 0x3f);
    }
    if (!ok) {
      out += char32_t(c);
      ++i;
      continue;
    }
    out += v;
    i += size_t(len);
  }
  return out;
}

std::string encodeUtf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xc0 | (c >> 6));
      out += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
      out += char(0xe0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3f));
      out += char(0x80 | (c & 0x3f));
    } else {
      out += char(0xf0 | ((c >> 18) & 0x07));
      out += char(0x80 | ((c >> 12) & 0x3f));
      out += char(0x80 | ((c >> 6) & 0x3f));
      out += char(0x80 | (c & 0x3f));
    }
  }
  return out;
}

std::string htmlToPlainText(const std::string& html) {
  std::string out;
  bool paragraphOpen = false;
  for (size_t i = 0; i < html.size();) {
    char c = html[i];
    if (c == '<') {
      size_t end = html.find('>', i);
      if (end == std::string::npos) break;
      std::string tag;
      for (size_t k = i + 1; k < end; ++k) {
        char t = char(std::tolower(static_cast<unsigned char>(html[k])));
        if (t == ' ' || (t == '/' && !tag.empty())) break;
        tag += t;
      }
      if (tag == "br") out += '\r';
      if (tag == "p" || tag == "li") {
        if (paragraphOpen) out += '\r';
        paragraphOpen = true;
      }
      i = end + 1;
      continue;
    }
    if (c == '&') {
      static const struct {
        const char* name;
        const char* text;
      } entities[] = {{"&lt;", "<"},    {"&gt;", ">"},   {"&amp;", "&"},
                      {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
      bool matched = false;
      for (const auto& e : entities) {
        size_t len = std::strlen(e.name);
        if (html.compare(i, len, e.name) == 0) {
          out += e.text;
          i += len;
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace swf
