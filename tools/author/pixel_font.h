#pragma once
// A small blocky font drawn on a 5×7 grid (two more rows for descenders). Its glyph outlines are
// embedded in the movies we write, so their text draws the same everywhere, without device fonts.

#include <string>
#include <vector>

#include "swf/author/swf_writer.h"

namespace rvauthor {

class PixelFont {
 public:
  PixelFont();
  // Glyphs for DefineFont2, in the order indexes refer to.
  const std::vector<swf::author::GlyphDef>& glyphs() const { return glyphs_; }
  // One text record of `text` at baseline (x, y) in twips; unknown characters become spaces.
  swf::author::TextLine record(uint16_t fontId, const std::string& text, int x, int y, int height,
                               swf::RGBA color) const;
  // Width of `text` in twips at `height`.
  int width(const std::string& text, int height) const;

  static constexpr int kAscent = 896;  // EM units: seven rows of 128
  static constexpr int kDescent = 256;

 private:
  int indexOf(char c) const;
  std::vector<swf::author::GlyphDef> glyphs_;
  std::string chars_;
};

}  // namespace rvauthor
