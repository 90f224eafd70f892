#include "swf/text/edit_text.h"

#include <algorithm>

namespace swf {

// A NUL-terminated string, or what remains of the body when the terminator is missing.
static std::string lenientString(BitReader& body) {
  auto rest = body.data().subspan(body.pos());
  std::string s(rest.begin(), rest.end());
  size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  body.skip(std::min(rest.size(), s.size() + 1));
  return s;
}

std::shared_ptr<Character> parseEditTextTag(int tagCode, BitReader& body, const ParseContext& ctx) {
  if (tagCode != 37) throw ReadError("not an edit text tag");
  auto t = std::make_shared<EditTextCharacter>();
  t->swfVersion = ctx.swfVersion;
  t->movieFonts = ctx.fonts;
  t->id = body.u16();
  t->bounds = readRect(body);
  uint8_t f1 = body.u8(), f2 = body.u8();
  t->hasText = f1 & 0x80;
  t->wordWrap = f1 & 0x40;
  t->multiline = f1 & 0x20;
  t->password = f1 & 0x10;
  t->readOnly = f1 & 0x08;
  bool hasColor = f1 & 0x04, hasMaxLength = f1 & 0x02, hasFont = f1 & 0x01;
  bool hasFontClass = f2 & 0x80;
  t->autoSize = f2 & 0x40;
  bool hasLayout = f2 & 0x20;
  t->noSelect = f2 & 0x10;
  t->border = f2 & 0x08;
  t->background = t->border;
  t->html = f2 & 0x02;
  t->useOutlines = f2 & 0x01;
  if (hasFont) {
    t->fontId = body.u16();
    t->font = std::dynamic_pointer_cast<const FontCharacter>(ctx.find(t->fontId));
  }
  if (hasFontClass) t->fontClass = body.cstring();
  if (hasFont || hasFontClass) t->fontHeight = body.u16();
  if (hasColor) t->color = readRGBA(body);
  if (hasMaxLength) t->maxLength = body.u16();
  if (hasLayout) {
    uint8_t align = body.u8();
    t->align = align == 1   ? TextAlign::Right
               : align == 2 ? TextAlign::Center
               : align == 3 ? TextAlign::Justify
                            : TextAlign::Left;
    t->leftMargin = body.u16();
    t->rightMargin = body.u16();
    t->indent = body.u16();
    t->leading = body.s16();
  }
  // Some tools end the tag right after the variable name or leave the text unterminated.
  t->variableName = lenientString(body);
  if (t->hasText) t->initialText = lenientString(body);
  return t;
}

}  // namespace swf
