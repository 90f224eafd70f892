#pragma once
// Writes FLV files and AMF0 values, for the tests and benchmarks that play them.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace swf::author {

class AmfWriter {
 public:
  AmfWriter& number(double d);
  AmfWriter& boolean(bool b);
  AmfWriter& string(const std::string& s);
  AmfWriter& null();
  AmfWriter& beginObject();
  AmfWriter& beginEcmaArray(uint32_t count);
  AmfWriter& key(const std::string& name);  // a property name inside an object or array
  AmfWriter& endObject();
  AmfWriter& beginStrictArray(uint32_t count);
  const std::vector<uint8_t>& data() const { return out_; }

 private:
  void u16(uint16_t v);
  void u32(uint32_t v);
  std::vector<uint8_t> out_;
};

class FlvWriter {
 public:
  explicit FlvWriter(bool audio = true, bool video = true);
  void script(uint32_t ms, std::span<const uint8_t> amf);
  // `frameType` 1 key, 2 inter; `codec` as in DefineVideoStream.
  void video(uint32_t ms, int frameType, int codec, std::span<const uint8_t> data);
  // `format` is the sound format byte (codec in the high nibble).
  void audio(uint32_t ms, uint8_t format, std::span<const uint8_t> data);
  // A tag whose header says `size` whatever it holds (for files that lie).
  void rawTag(uint8_t type, uint32_t size, uint32_t ms, std::span<const uint8_t> data);
  const std::vector<uint8_t>& data() const { return out_; }

 private:
  void tag(uint8_t type, uint32_t ms, uint8_t head, bool withHead, std::span<const uint8_t> data);
  std::vector<uint8_t> out_;
};

}  // namespace swf::author
