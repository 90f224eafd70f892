#pragma once
// The bytes of AMF0 data as its readers walk them: type markers, big-endian integers and
// numbers, strings with a 16- or 32-bit length. Every read is bounds-checked and answers false
// when the data runs short, leaving the position where it was.

#include <bit>
#include <cstdint>
#include <span>
#include <string>

namespace swf::amf0 {

enum Marker : uint8_t {
  kNumber = 0x00,
  kBoolean = 0x01,
  kString = 0x02,
  kObject = 0x03,
  kNull = 0x05,
  kUndefined = 0x06,
  kReference = 0x07,
  kEcmaArray = 0x08,
  kObjectEnd = 0x09,
  kStrictArray = 0x0A,
  kDate = 0x0B,
  kLongString = 0x0C,
  kXmlDocument = 0x0F,
  kTypedObject = 0x10,
};

class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> data, size_t at = 0) : d_(data), at_(at) {}

  bool atEnd() const { return at_ >= d_.size(); }
  size_t left() const { return atEnd() ? 0 : d_.size() - at_; }
  // The next byte is `b`; taken when it is.
  bool take(uint8_t b) {
    if (atEnd() || d_[at_] != b) return false;
    ++at_;
    return true;
  }
  // An unsigned big-endian integer of `bytes` (1 to 4) bytes.
  bool uint(int bytes, uint32_t& v) {
    if (size_t(bytes) > left()) return false;
    v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | d_[at_++];
    return true;
  }
  bool number(double& d) {
    uint32_t hi, lo;
    if (left() < 8) return false;
    uint(4, hi);
    uint(4, lo);
    d = std::bit_cast<double>(uint64_t(hi) << 32 | lo);
    return true;
  }
  // A string after its length of `lengthBytes` (2 or 4) bytes.
  bool string(int lengthBytes, std::string& s) {
    size_t start = at_;
    uint32_t n;
    if (!uint(lengthBytes, n)) return false;
    if (n > left()) {
      at_ = start;
      return false;
    }
    s.assign(reinterpret_cast<const char*>(d_.data() + at_), n);
    at_ += n;
    return true;
  }

 private:
  std::span<const uint8_t> d_;
  size_t at_;
};

}  // namespace swf::amf0
