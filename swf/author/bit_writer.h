#pragma once
// Writes SWF records: little-endian bytes and big-endian bit fields, the mirror of BitReader.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace swf::author {

class BitWriter {
 public:
  void u8(uint8_t v) {
    align();
    buf_.push_back(v);
  }
  void u16(uint16_t v) {
    u8(uint8_t(v));
    u8(uint8_t(v >> 8));
  }
  void s16(int16_t v) { u16(uint16_t(v)); }
  void u32(uint32_t v) {
    u16(uint16_t(v));
    u16(uint16_t(v >> 16));
  }
  void fixed8(double v) { s16(int16_t(v * 256)); }
  void fixed16(double v) { u32(uint32_t(int32_t(v * 65536))); }
  void f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    u32(bits);
  }
  void bytes(std::span<const uint8_t> b) {
    align();
    buf_.insert(buf_.end(), b.begin(), b.end());
  }
  void cstring(const std::string& s) {
    align();
    buf_.insert(buf_.end(), s.begin(), s.end());
    buf_.push_back(0);
  }

  void ub(unsigned n, uint32_t v);
  void sb(unsigned n, int32_t v) { ub(n, uint32_t(v)); }
  void flag(bool on) { ub(1, on ? 1 : 0); }
  // Flushes a partly written byte (its unused low bits are zero).
  void align() { bitCount_ = 0; }

  size_t size() const { return buf_.size(); }
  std::vector<uint8_t>& data() { return buf_; }
  const std::vector<uint8_t>& data() const { return buf_; }

  // Bits needed to hold the value in a signed or unsigned field.
  static unsigned signedBits(int32_t v);
  static unsigned unsignedBits(uint32_t v);

 private:
  std::vector<uint8_t> buf_;
  unsigned bitCount_ = 0;  // bits used in buf_.back() when non-zero
};

}  // namespace swf::author
