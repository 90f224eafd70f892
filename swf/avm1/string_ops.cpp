#include "swf/avm1/string_ops.h"

#include <algorithm>
#include <cmath>

#include "swf/text/text_content.h"

namespace swf::avm1 {

size_t utf8Length(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

size_t utf8Offset(const std::string& s, size_t index) {
  size_t i = 0, seen = 0;
  while (i < s.size()) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (seen == index) return i;
      ++seen;
    }
    ++i;
  }
  return s.size();
}

uint32_t utf8CodeAt(const std::string& s, size_t i) {
  if (i >= s.size()) return 0;
  unsigned char c = static_cast<unsigned char>(s[i]);
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if (i + size_t(k) >= s.size()) return c;
    cp = (cp << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3F);
  }
  return cp;
}

std::string utf8Encode(uint32_t cp) { return encodeUtf8(std::u32string(1, char32_t(cp))); }

std::string latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool hasHighBytes(std::string_view bytes) {
  for (char ch : bytes)
    if (static_cast<unsigned char>(ch) >= 0x80) return true;
  return false;
}

std::string sanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0, n = bytes.size();
  auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  while (i < n) {
    unsigned char c = at(i);
    if (c == 0 || c >= 0xF8) break;
    if (c < 0x80) {
      out += char(c);
      ++i;
      continue;
    }
    if (c < 0xC0) {
      out += utf8Encode(c);
      ++i;
      continue;
    }
    size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    if (i + extra >= n) break;
    bool ok = c >= 0xC2;
    for (size_t k = 1; k <= extra; ++k)
      if ((at(i + k) & 0xC0) != 0x80) ok = false;
    if (ok)
      out.append(bytes.substr(i, extra + 1));
    else
      out += "\xEF\xBF\xBD";  // U+FFFD
    i += extra + 1;
  }
  return out;
}

std::string extractString(const std::string& s, double index, double count) {
  size_t len = utf8Length(s);
  if (!std::isfinite(index)) index = 0;
  long start = long(std::clamp(index, -1e9, 1e9)) - 1;
  if (start < 0) start = 0;
  if (size_t(start) >= len) return "";
  size_t n = len - size_t(start);
  if (std::isfinite(count) && count >= 0 && count < double(n)) n = size_t(count);
  if (!std::isfinite(count)) n = 0;  // as a 32-bit integer, which infinity and NaN are 0
  size_t b = utf8Offset(s, size_t(start)), e = utf8Offset(s, size_t(start) + n);
  return s.substr(b, e - b);
}

}  // namespace swf::avm1
