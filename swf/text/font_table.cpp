#include "swf/text/font_table.h"

namespace swf {

bool sameFontName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

void FontTable::add(std::shared_ptr<const FontCharacter> font) {
  auto [it, added] = byId_.emplace(font->id, fonts_.size());
  if (added) {
    fonts_.push_back(std::move(font));
  } else {
    fonts_[it->second] = std::move(font);
  }
}

const FontCharacter* FontTable::find(const std::string& name, bool bold, bool italic) const {
  const FontCharacter* best = nullptr;
  int bestScore = -1;
  for (const auto& f : fonts_) {
    if (!sameFontName(f->name, name)) continue;
    // Outlines count most, then the style; among equals the first defined wins.
    int score = (f->glyphs.empty() ? 0 : 4) + (f->bold == bold ? 2 : 0) + (f->italic == italic);
    if (score > bestScore) {
      best = f.get();
      bestScore = score;
    }
  }
  return best;
}

}  // namespace swf
