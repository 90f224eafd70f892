// Placeholders until the drawing side lands; each is replaced by its real implementation.
#include "swf/movie/character.h"

namespace swf {
std::shared_ptr<Character> parseFontTag(int, BitReader&, const ParseContext&) { return nullptr; }
std::shared_ptr<Character> parseFontInfoTag(int, BitReader&, const ParseContext&) {
  return nullptr;
}
std::shared_ptr<Character> parseTextTag(int, BitReader&, const ParseContext&) { return nullptr; }
std::shared_ptr<Character> parseEditTextTag(int, BitReader&, const ParseContext&) {
  return nullptr;
}
bool hitTestCharacter(const Character&, double, double, int) { return false; }
}  // namespace swf
