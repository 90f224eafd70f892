#include "swf/author/bit_writer.h"

namespace swf::author {

void BitWriter::ub(unsigned n, uint32_t v) {
  for (unsigned i = n; i-- > 0;) {
    if (bitCount_ == 0) buf_.push_back(0);
    if ((v >> i) & 1u) buf_.back() |= uint8_t(0x80u >> bitCount_);
    bitCount_ = (bitCount_ + 1) % 8;
  }
}

unsigned BitWriter::signedBits(int32_t v) {
  uint32_t magnitude = v < 0 ? ~uint32_t(v) : uint32_t(v);
  return unsignedBits(magnitude) + 1;
}

unsigned BitWriter::unsignedBits(uint32_t v) {
  unsigned n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

}  // namespace swf::author
