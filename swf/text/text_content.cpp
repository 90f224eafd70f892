#include "swf/text/text_content.h"

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

}  // namespace swf
