#pragma once
// Character-level string work on the machine's UTF-8 text.

#include <cstdint>
#include <string>
#include <string_view>

namespace swf::avm1 {

size_t utf8Length(const std::string& s);
// The byte offset of character `index` (the length in bytes past the end).
size_t utf8Offset(const std::string& s, size_t index);
uint32_t utf8CodeAt(const std::string& s, size_t byteOffset);
std::string utf8Encode(uint32_t cp);
// Text of files before SWF 6 is in the system's 8-bit code page, read as Latin-1: each byte is
// one character.
std::string latin1ToUtf8(std::string_view bytes);
bool hasHighBytes(std::string_view bytes);
// Text of SWF 6 and later files read as UTF-8 the way the original player reads it: a zero
// byte or one from 0xF8 up ends the text, as does a sequence cut short by the end; a byte that only
// continues a sequence stands for itself as Latin-1; a lead byte whose sequence does not
// continue becomes U+FFFD, taking as many bytes as it announced.
std::string sanitizeUtf8(std::string_view bytes);
// StringExtract: `count` characters from the 1-based `index`.
std::string extractString(const std::string& s, double index, double count);

}  // namespace swf::avm1
