#pragma once
// Characters of a movie's dictionary. The movie is parsed once and shared, so characters are
// immutable after parsing.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "swf/io/bit_reader.h"
#include "swf/model/geometry.h"

namespace swf {

class FontTable;  // swf/text/font_table.h

enum class CharacterKind { Shape, MorphShape, Bitmap, Font, Text, EditText, Sprite, Button, Sound, Other };

struct Character {
  virtual ~Character() = default;
  virtual CharacterKind kind() const = 0;
  uint16_t id = 0;
};

// What a character parser may need besides its own tag body.
struct ParseContext {
  int swfVersion = 0;
  std::span<const uint8_t> jpegTables;  // body of the JPEGTables tag, when the movie has one
  // Looks up an already defined character (fonts for DefineFontInfo and texts); null if absent.
  std::shared_ptr<const Character> (*lookup)(const void* owner, uint16_t id) = nullptr;
  const void* owner = nullptr;
  // The movie's fonts by name, filled as fonts are defined: text fields keep it to find the
  // fonts their HTML names. Null outside the loading of a movie.
  std::shared_ptr<FontTable> fonts;
  std::shared_ptr<const Character> find(uint16_t id) const {
    return lookup ? lookup(owner, id) : nullptr;
  }
};

// Parsers for the drawable characters. Each reads one tag body (the reader spans exactly the
// body) and returns the character, or throws ReadError when the body lies. The dictionary side
// calls them; the drawing side (shapes/, bitmaps/, text/) implements them.
std::shared_ptr<Character> parseShapeTag(int tagCode, BitReader& body, const ParseContext& ctx);
std::shared_ptr<Character> parseMorphShapeTag(int tagCode, BitReader& body, const ParseContext& ctx);
std::shared_ptr<Character> parseBitmapTag(int tagCode, BitReader& body, const ParseContext& ctx);
std::shared_ptr<Character> parseFontTag(int tagCode, BitReader& body, const ParseContext& ctx);
// DefineFontInfo 1/2 completes a font defined earlier: returns the completed copy (or null).
std::shared_ptr<Character> parseFontInfoTag(int tagCode, BitReader& body, const ParseContext& ctx);
std::shared_ptr<Character> parseTextTag(int tagCode, BitReader& body, const ParseContext& ctx);
std::shared_ptr<Character> parseEditTextTag(int tagCode, BitReader& body, const ParseContext& ctx);

// Reading of the shared records (implemented beside the parsers above).
Rect readRect(BitReader& r);
Matrix readMatrix(BitReader& r);
ColorTransform readColorTransform(BitReader& r, bool withAlpha);
RGBA readRGB(BitReader& r);
RGBA readRGBA(BitReader& r);

// Hit testing of a drawable character in its own coordinates (twips).
bool hitTestCharacter(const Character& c, double x, double y, int ratio);

}  // namespace swf
