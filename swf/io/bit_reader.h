#pragma once
// Reads the little-endian bytes and big-endian bit fields of SWF records. Every read is
// bounds-checked: running past the end throws ReadError, never touches memory outside the span.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace swf {

struct ReadError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class BitReader {
 public:
  BitReader() = default;
  explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

  size_t pos() const { return pos_; }
  size_t size() const { return data_.size(); }
  size_t remaining() const { return data_.size() - pos_; }
  bool atEnd() const { return pos_ >= data_.size(); }
  std::span<const uint8_t> data() const { return data_; }

  void align() { bitCount_ = 0; }

  void seek(size_t pos) {
    if (pos > data_.size()) throw ReadError("seek past end");
    pos_ = pos;
    bitCount_ = 0;
  }
  void skip(size_t n) {
    align();
    need(n);
    pos_ += n;
  }

  uint8_t u8() {
    align();
    need(1);
    return data_[pos_++];
  }
  uint16_t u16() {
    align();
    need(2);
    uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  int16_t s16() { return int16_t(u16()); }
  uint32_t u32() {
    align();
    need(4);
    uint32_t v = uint32_t(data_[pos_]) | (uint32_t(data_[pos_ + 1]) << 8) |
                 (uint32_t(data_[pos_ + 2]) << 16) | (uint32_t(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
  }
  int32_t s32() { return int32_t(u32()); }
  uint64_t u64() {
    uint64_t lo = u32();
    return lo | (uint64_t(u32()) << 32);
  }
  // 8.8 and 16.16 fixed point.
  double fixed8() { return s16() / 256.0; }
  double fixed16() { return s32() / 65536.0; }
  float f32() {
    uint32_t bits = u32();
    float f;
    static_assert(sizeof f == sizeof bits);
    __builtin_memcpy(&f, &bits, sizeof f);
    return f;
  }
  double f64() {
    uint64_t bits = u64();
    double d;
    __builtin_memcpy(&d, &bits, sizeof d);
    return d;
  }
  // Variable-length 32-bit integer of SWF 9+ (EncodedU32).
  uint32_t encodedU32() {
    uint32_t v = 0;
    for (int i = 0; i < 5; ++i) {
      uint8_t b = u8();
      v |= uint32_t(b & 0x7f) << (7 * i);
      if (!(b & 0x80)) break;
    }
    return v;
  }

  std::span<const uint8_t> bytes(size_t n) {
    align();
    need(n);
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  // A NUL-terminated string; throws when no terminator is found.
  std::string cstring() {
    align();
    size_t start = pos_;
    while (pos_ < data_.size() && data_[pos_] != 0) ++pos_;
    if (pos_ >= data_.size()) throw ReadError("unterminated string");
    std::string s(reinterpret_cast<const char*>(data_.data() + start), pos_ - start);
    ++pos_;
    return s;
  }

  // Bit fields, most significant bit first.
  uint32_t ub(unsigned n) {
    if (n > 32) throw ReadError("bit field too wide");
    uint32_t v = 0;
    for (unsigned i = 0; i < n; ++i) {
      if (bitCount_ == 0) {
        need(1);
        bitBuf_ = data_[pos_++];
        bitCount_ = 8;
      }
      --bitCount_;
      v = (v << 1) | ((bitBuf_ >> bitCount_) & 1u);
    }
    return v;
  }
  int32_t sb(unsigned n) {
    if (n == 0) return 0;
    uint32_t v = ub(n);
    if (n < 32 && (v & (1u << (n - 1)))) v |= ~0u << n;
    return int32_t(v);
  }
  double fb(unsigned n) { return sb(n) / 65536.0; }
  bool flag() { return ub(1) != 0; }

 private:
  void need(size_t n) const {
    if (n > data_.size() - pos_) throw ReadError("read past end of data");
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  uint8_t bitBuf_ = 0;
  unsigned bitCount_ = 0;
};

}  // namespace swf
