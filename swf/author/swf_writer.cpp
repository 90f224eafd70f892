#include "swf/author/swf_writer.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "swf/author/filter_records.h"
#include "swf/author/records.h"
#include "swf/movie/tag_codes.h"

namespace swf::author {
namespace {

std::vector<uint8_t> zlibCompress(std::span<const uint8_t> in) {
  uLongf size = compressBound(uLong(in.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, in.data(), uLong(in.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib compression failed");
  out.resize(size);
  return out;
}

// Raw LZMA1 data and its 5 property bytes.
std::vector<uint8_t> lzmaCompress(std::span<const uint8_t> in, uint8_t props[5]) {
  lzma_options_lzma opts;
  if (lzma_lzma_preset(&opts, 6)) throw std::runtime_error("LZMA preset failed");
  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opts}, {LZMA_VLI_UNKNOWN, nullptr}};
  if (lzma_properties_encode(&filters[0], props) != LZMA_OK)
    throw std::runtime_error("LZMA properties failed");
  lzma_stream ls = LZMA_STREAM_INIT;
  if (lzma_raw_encoder(&ls, filters) != LZMA_OK) throw std::runtime_error("LZMA encoder failed");
  std::vector<uint8_t> out(in.size() + in.size() / 2 + 1024);
  ls.next_in = in.data();
  ls.avail_in = in.size();
  ls.next_out = out.data();
  ls.avail_out = out.size();
  lzma_ret rc;
  while ((rc = lzma_code(&ls, LZMA_FINISH)) == LZMA_OK) {
    size_t used = out.size() - ls.avail_out;
    out.resize(out.size() * 2);
    ls.next_out = out.data() + used;
    ls.avail_out = out.size() - used;
  }
  size_t used = out.size() - ls.avail_out;
  lzma_end(&ls);
  if (rc != LZMA_STREAM_END) throw std::runtime_error("LZMA compression failed");
  out.resize(used);
  return out;
}

}  // namespace

void TagList::tag(int code, std::span<const uint8_t> body) {
  size_t n = body.size();
  // Long headers for bodies of 63 bytes and more, and always for bitmaps, which some readers
  // expect in long form.
  bool longForm = n >= 0x3f || code == tag::DefineBitsLossless || code == tag::DefineBitsLossless2;
  uint16_t head = uint16_t(code << 6) | uint16_t(longForm ? 0x3f : n);
  data_.push_back(uint8_t(head));
  data_.push_back(uint8_t(head >> 8));
  if (longForm)
    for (int i = 0; i < 4; ++i) data_.push_back(uint8_t(n >> (8 * i)));
  data_.insert(data_.end(), body.begin(), body.end());
}

void TagList::showFrame() {
  tag(tag::ShowFrame, std::span<const uint8_t>());
  ++frames_;
}

void TagList::end() { tag(tag::End, std::span<const uint8_t>()); }

namespace {

uint8_t placeFlags(const PlaceParams& p) {
  return uint8_t((p.clipEvents.empty() ? 0 : 0x80) | (p.clipDepth ? 0x40 : 0) |
                 (p.name ? 0x20 : 0) | (p.ratio ? 0x10 : 0) | (p.cxform ? 0x08 : 0) |
                 (p.matrix ? 0x04 : 0) | (p.character ? 0x02 : 0) | (p.move ? 0x01 : 0));
}

// The fields PlaceObject2 and 3 share, after the depth, in their order in the tag.
void writePlaceFields(BitWriter& w, const PlaceParams& p) {
  if (p.character) w.u16(*p.character);
  if (p.matrix) writeMatrix(w, *p.matrix);
  if (p.cxform) writeColorTransform(w, *p.cxform, true);
  if (p.ratio) w.u16(uint16_t(*p.ratio));
  if (p.name) w.cstring(*p.name);
  if (p.clipDepth) w.u16(uint16_t(*p.clipDepth));
}

// The clip events end the tag.
void writeClipEvents(BitWriter& w, const PlaceParams& p) {
  if (p.clipEvents.empty()) return;
  uint32_t all = 0;
  for (const auto& [flags, actions] : p.clipEvents) all |= flags;
  w.u16(0);
  w.u32(all);
  for (const auto& [flags, actions] : p.clipEvents) {
    w.u32(flags);
    w.u32(uint32_t(actions.size()));
    w.bytes(actions);
  }
  w.u32(0);
}

}  // namespace

void TagList::placeObject2(const PlaceParams& p) {
  BitWriter w;
  w.u8(placeFlags(p));
  w.u16(uint16_t(p.depth));
  writePlaceFields(w, p);
  writeClipEvents(w, p);
  tag(tag::PlaceObject2, w);
}

void TagList::placeObject3(const PlaceParams& p) {
  BitWriter w;
  w.u8(placeFlags(p));
  w.u8((p.blendMode ? 0x02 : 0) | (p.filters ? 0x01 : 0));
  w.u16(uint16_t(p.depth));
  writePlaceFields(w, p);
  if (p.filters) writeFilterList(w, *p.filters);
  if (p.blendMode) w.u8(uint8_t(*p.blendMode));
  writeClipEvents(w, p);
  tag(tag::PlaceObject3, w);
}

void TagList::placeObject(uint16_t character, int depth, const Matrix& m) {
  BitWriter w;
  w.u16(character);
  w.u16(uint16_t(depth));
  writeMatrix(w, m);
  tag(tag::PlaceObject, w);
}

void TagList::removeObject2(int depth) {
  BitWriter w;
  w.u16(uint16_t(depth));
  tag(tag::RemoveObject2, w);
}

void TagList::removeObject(uint16_t character, int depth) {
  BitWriter w;
  w.u16(character);
  w.u16(uint16_t(depth));
  tag(tag::RemoveObject, w);
}

void TagList::frameLabel(const std::string& label) {
  BitWriter w;
  w.cstring(label);
  tag(tag::FrameLabel, w);
}

void TagList::doAction(std::span<const uint8_t> actions) { tag(tag::DoAction, actions); }

SwfWriter::SwfWriter(int version, int widthPx, int heightPx, double frameRate)
    : version_(version), stage_{0, widthPx * 20, 0, heightPx * 20}, frameRate_(frameRate) {}

void SwfWriter::setBackgroundColor(RGBA c) {
  BitWriter w;
  writeRGB(w, c);
  tag(tag::SetBackgroundColor, w);
}

void SwfWriter::defineShape(uint16_t id, const ShapeBuilder& shape, int version) {
  static constexpr int kCodes[] = {tag::DefineShape, tag::DefineShape, tag::DefineShape2,
                                   tag::DefineShape3, tag::DefineShape4};
  version = std::clamp(version, 1, 3);
  BitWriter w;
  w.u16(id);
  writeRect(w, shape.bounds());
  shape.writeShapeWithStyle(w, version);
  tag(kCodes[version], w);
}

void SwfWriter::defineBitsLossless2(uint16_t id, int width, int height,
                                    std::span<const uint32_t> argb) {
  if (width <= 0 || height <= 0 || argb.size() != size_t(width) * size_t(height))
    throw std::invalid_argument("bitmap size does not match its pixels");
  std::vector<uint8_t> raw;
  raw.reserve(argb.size() * 4);
  for (uint32_t p : argb) {
    // The format stores premultiplied alpha.
    uint32_t a = p >> 24;
    auto pm = [a](uint32_t c) { return uint8_t((c * a + 127) / 255); };
    raw.push_back(uint8_t(a));
    raw.push_back(pm((p >> 16) & 0xff));
    raw.push_back(pm((p >> 8) & 0xff));
    raw.push_back(pm(p & 0xff));
  }
  BitWriter w;
  w.u16(id);
  w.u8(5);
  w.u16(uint16_t(width));
  w.u16(uint16_t(height));
  w.bytes(zlibCompress(raw));
  tag(tag::DefineBitsLossless2, w);
}

void SwfWriter::defineFont2(uint16_t id, const std::string& name,
                            const std::vector<GlyphDef>& glyphs, int ascent, int descent,
                            const FontStyleDef& style) {
  std::vector<std::vector<uint8_t>> shapes;
  for (const GlyphDef& g : glyphs) {
    BitWriter s;
    g.outline.writeGlyph(s);
    shapes.push_back(std::move(s.data()));
  }
  size_t n = glyphs.size();
  size_t total = 0;
  for (const auto& s : shapes) total += s.size();
  bool wide = (n + 1) * 2 + total > 0xffff;
  BitWriter w;
  w.u16(id);
  w.u8(uint8_t(0x80 | (wide ? 0x08 : 0) | 0x04 | (style.italic ? 0x02 : 0) |
               (style.bold ? 0x01 : 0)));  // layout, wide codes, style
  w.u8(0);                                 // language
  w.u8(uint8_t(name.size()));
  w.bytes({reinterpret_cast<const uint8_t*>(name.data()), name.size()});
  w.u16(uint16_t(n));
  size_t offset = (n + 1) * (wide ? 4 : 2);
  auto put = [&](size_t v) { wide ? w.u32(uint32_t(v)) : w.u16(uint16_t(v)); };
  for (const auto& s : shapes) {
    put(offset);
    offset += s.size();
  }
  put(offset);  // the code table
  for (const auto& s : shapes) w.bytes(s);
  for (const GlyphDef& g : glyphs) w.u16(g.code);
  w.u16(uint16_t(ascent));
  w.u16(uint16_t(descent));
  w.s16(0);  // leading
  for (const GlyphDef& g : glyphs) w.s16(int16_t(g.advance));
  for (const GlyphDef& g : glyphs) writeRect(w, g.outline.bounds());
  w.u16(uint16_t(style.kerning.size()));
  for (const KerningDef& k : style.kerning) {
    w.u16(k.left);
    w.u16(k.right);
    w.s16(int16_t(k.adjustment));
  }
  tag(tag::DefineFont2, w);
}

void SwfWriter::defineText(uint16_t id, const Rect& bounds, const std::vector<TextLine>& records,
                           bool withAlpha) {
  unsigned glyphBits = 1, advanceBits = 1;
  for (const auto& r : records)
    for (const auto& g : r.glyphs) {
      glyphBits = std::max(glyphBits, BitWriter::unsignedBits(uint32_t(g.index)));
      advanceBits = std::max(advanceBits, BitWriter::signedBits(g.advance));
    }
  BitWriter w;
  w.u16(id);
  writeRect(w, bounds);
  writeMatrix(w, Matrix{});
  w.u8(uint8_t(glyphBits));
  w.u8(uint8_t(advanceBits));
  for (const auto& r : records) {
    w.u8(0x80 | 0x08 | 0x04 | 0x02 | 0x01);  // font, colour, y and x offsets
    w.u16(r.font);
    withAlpha ? writeRGBA(w, r.color) : writeRGB(w, r.color);
    w.s16(int16_t(r.x));
    w.s16(int16_t(r.y));
    w.u16(uint16_t(r.height));
    w.u8(uint8_t(r.glyphs.size()));
    for (const auto& g : r.glyphs) {
      w.ub(glyphBits, uint32_t(g.index));
      w.sb(advanceBits, g.advance);
    }
    w.align();
  }
  w.u8(0);
  tag(withAlpha ? tag::DefineText2 : tag::DefineText, w);
}

void SwfWriter::defineEditText(uint16_t id, const EditTextDef& s) {
  BitWriter w;
  w.u16(id);
  writeRect(w, s.bounds);
  bool hasText = !s.text.empty();
  w.u8(uint8_t((hasText ? 0x80 : 0) | (s.wordWrap ? 0x40 : 0) | (s.multiline ? 0x20 : 0) |
               (s.password ? 0x10 : 0) | (s.readOnly ? 0x08 : 0) | 0x04 | (s.font ? 0x01 : 0)));
  w.u8(uint8_t(0x20 | (s.noSelect ? 0x10 : 0) | (s.border ? 0x08 : 0) | (s.html ? 0x02 : 0) |
               (s.useOutlines ? 0x01 : 0)));
  if (s.font) {
    w.u16(*s.font);
    w.u16(uint16_t(s.height));
  }
  writeRGBA(w, s.color);
  w.u8(uint8_t(s.align));
  w.u16(uint16_t(s.leftMargin));
  w.u16(uint16_t(s.rightMargin));
  w.u16(uint16_t(s.indent));
  w.s16(int16_t(s.leading));
  w.cstring(s.variable);
  if (hasText) w.cstring(s.text);
  tag(tag::DefineEditText, w);
}

void SwfWriter::defineSprite(uint16_t id, const TagList& sprite) {
  BitWriter w;
  w.u16(id);
  w.u16(uint16_t(sprite.frames()));
  w.bytes(sprite.data());
  tag(tag::DefineSprite, w);
}

void SwfWriter::exportAsset(uint16_t id, const std::string& name) {
  BitWriter w;
  w.u16(1);
  w.u16(id);
  w.cstring(name);
  tag(tag::ExportAssets, w);
}

void SwfWriter::defineButton2(uint16_t id, const std::vector<ButtonPart>& records,
                              const std::vector<ButtonHandler>& actions, bool trackAsMenu) {
  BitWriter w;
  w.u16(id);
  w.u8(trackAsMenu ? 1 : 0);
  size_t offsetAt = w.size();
  w.u16(0);  // action offset, patched below
  for (const auto& r : records) {
    w.u8(uint8_t((r.states & 0x0f) | (r.filters ? 0x10 : 0) | (r.blendMode ? 0x20 : 0)));
    w.u16(r.character);
    w.u16(uint16_t(r.depth));
    writeMatrix(w, r.matrix);
    writeColorTransform(w, r.cxform, true);
    if (r.filters) writeFilterList(w, *r.filters);
    if (r.blendMode) w.u8(uint8_t(r.blendMode));
  }
  w.u8(0);
  if (!actions.empty()) {
    size_t offset = w.size() - offsetAt;
    w.data()[offsetAt] = uint8_t(offset);
    w.data()[offsetAt + 1] = uint8_t(offset >> 8);
    for (size_t i = 0; i < actions.size(); ++i) {
      bool last = i + 1 == actions.size();
      size_t size = last ? 0 : 4 + actions[i].actions.size();
      w.u16(uint16_t(size));
      w.u16(actions[i].conditions);
      w.bytes(actions[i].actions);
    }
  }
  tag(tag::DefineButton2, w);
}

std::vector<uint8_t> SwfWriter::finish(Compression compression) {
  if (!ended_) {
    end();
    ended_ = true;
  }
  BitWriter body;
  writeRect(body, stage_);
  body.fixed8(frameRate_);
  body.u16(uint16_t(std::max(frames(), 1)));
  body.bytes(data());
  uint32_t length = uint32_t(8 + body.size());

  std::vector<uint8_t> out = {uint8_t(compression == Compression::None   ? 'F'
                                      : compression == Compression::Zlib ? 'C'
                                                                         : 'Z'),
                              'W', 'S', uint8_t(version_)};
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(length >> (8 * i)));
  if (compression == Compression::None) {
    out.insert(out.end(), body.data().begin(), body.data().end());
  } else if (compression == Compression::Zlib) {
    auto z = zlibCompress(body.data());
    out.insert(out.end(), z.begin(), z.end());
  } else {
    uint8_t props[5];
    auto z = lzmaCompress(body.data(), props);
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(z.size() >> (8 * i)));
    out.insert(out.end(), props, props + 5);
    out.insert(out.end(), z.begin(), z.end());
  }
  return out;
}

}  // namespace swf::author
