#pragma once
// The characters of a text field's text.

#include <string>

namespace swf {

// Character codes of the text: UTF-8 from SWF 6 on, Latin-1 before. Malformed UTF-8 bytes are
// taken as Latin-1.
std::u32string decodeText(const std::string& bytes, int swfVersion);

// Character codes as UTF-8.
std::string encodeUtf8(const std::u32string& text);

}  // namespace swf
