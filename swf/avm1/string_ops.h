#pragma once
// Character-level string work on UTF-8 text (SWF 6 and later) or bytes (before).

#include <cstdint>
#include <string>

namespace swf::avm1 {

size_t utf8Length(const std::string& s);
// The byte offset of character `index` (the length in bytes past the end).
size_t utf8Offset(const std::string& s, size_t index);
uint32_t utf8CodeAt(const std::string& s, size_t byteOffset);
std::string utf8Encode(uint32_t cp);
// StringExtract: `count` characters from the 1-based `index`.
std::string extractString(const std::string& s, double index, double count, bool utf8);

}  // namespace swf::avm1
