#pragma once
// The fonts of a movie, found by name: text fields name their fonts in HTML (<font face>), and
// the font of that name may be any the movie defines, before or after the field.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/text/font.h"

namespace swf {

class FontTable {
 public:
  // A font defined while loading; a later font with the same id (DefineFontInfo completing it)
  // takes its place.
  void add(std::shared_ptr<const FontCharacter> font);

  // The font named `name` (case does not matter), preferring the given style, then any style;
  // fonts with glyphs before those that only name a desktop font. Null when none has the name.
  const FontCharacter* find(const std::string& name, bool bold, bool italic) const;

  size_t size() const { return fonts_.size(); }

 private:
  std::vector<std::shared_ptr<const FontCharacter>> fonts_;
  std::unordered_map<uint16_t, size_t> byId_;
};

// Names compare as the player compares font names: ASCII letters without case.
bool sameFontName(const std::string& a, const std::string& b);

}  // namespace swf
