#include "swf/author/flv_writer.h"

#include <cstring>

namespace swf::author {

void AmfWriter::u16(uint16_t v) { out_.insert(out_.end(), {uint8_t(v >> 8), uint8_t(v)}); }

void AmfWriter::u32(uint32_t v) {
  out_.insert(out_.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

AmfWriter& AmfWriter::number(double d) {
  out_.push_back(0);
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  for (int i = 7; i >= 0; --i) out_.push_back(uint8_t(bits >> (i * 8)));
  return *this;
}

AmfWriter& AmfWriter::boolean(bool b) {
  out_.insert(out_.end(), {1, uint8_t(b)});
  return *this;
}

AmfWriter& AmfWriter::string(const std::string& s) {
  out_.push_back(2);
  return key(s);
}

AmfWriter& AmfWriter::null() {
  out_.push_back(5);
  return *this;
}

AmfWriter& AmfWriter::beginObject() {
  out_.push_back(3);
  return *this;
}

AmfWriter& AmfWriter::beginEcmaArray(uint32_t count) {
  out_.push_back(8);
  u32(count);
  return *this;
}

AmfWriter& AmfWriter::key(const std::string& name) {
  u16(uint16_t(name.size()));
  out_.insert(out_.end(), name.begin(), name.end());
  return *this;
}

AmfWriter& AmfWriter::endObject() {
  out_.insert(out_.end(), {0, 0, 9});
  return *this;
}

AmfWriter& AmfWriter::beginStrictArray(uint32_t count) {
  out_.push_back(10);
  u32(count);
  return *this;
}

FlvWriter::FlvWriter(bool audio, bool video) {
  out_ = {'F', 'L', 'V', 1, uint8_t((audio ? 4 : 0) | (video ? 1 : 0)), 0, 0, 0, 9, 0, 0, 0, 0};
}

void FlvWriter::rawTag(uint8_t type, uint32_t size, uint32_t ms, std::span<const uint8_t> data) {
  out_.insert(out_.end(),
              {type, uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size), uint8_t(ms >> 16),
               uint8_t(ms >> 8), uint8_t(ms), uint8_t(ms >> 24), 0, 0, 0});
  out_.insert(out_.end(), data.begin(), data.end());
  uint32_t prev = uint32_t(data.size()) + 11;
  out_.insert(out_.end(),
              {uint8_t(prev >> 24), uint8_t(prev >> 16), uint8_t(prev >> 8), uint8_t(prev)});
}

void FlvWriter::tag(uint8_t type, uint32_t ms, uint8_t head, bool withHead,
                    std::span<const uint8_t> data) {
  std::vector<uint8_t> body;
  if (withHead) body.push_back(head);
  body.insert(body.end(), data.begin(), data.end());
  rawTag(type, uint32_t(body.size()), ms, body);
}

void FlvWriter::script(uint32_t ms, std::span<const uint8_t> amf) { tag(18, ms, 0, false, amf); }

void FlvWriter::video(uint32_t ms, int frameType, int codec, std::span<const uint8_t> data) {
  tag(9, ms, uint8_t(frameType << 4 | codec), true, data);
}

void FlvWriter::audio(uint32_t ms, uint8_t format, std::span<const uint8_t> data) {
  tag(8, ms, format, true, data);
}

}  // namespace swf::author
