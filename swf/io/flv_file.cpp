#include "swf/io/flv_file.h"

#include <algorithm>

namespace swf {
namespace {

uint32_t be24(const uint8_t* p) { return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]; }
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | be24(p + 1); }

}  // namespace

FlvFile readFlv(std::span<const uint8_t> d) {
  if (d.size() < 9 || d[0] != 'F' || d[1] != 'L' || d[2] != 'V') throw FlvError("not an FLV file");
  FlvFile f;
  f.version = d[3];
  f.hasAudio = d[4] & 0x04;
  f.hasVideo = d[4] & 0x01;
  // The header says where the tags start; past the end or inside the header it lies, and the
  // usual place is taken.
  uint64_t pos = be32(&d[5]);
  if (pos < 9 || pos > d.size()) pos = 9;
  pos += 4;  // the size of the (absent) tag before the first
  double last = 0;
  while (pos + 11 <= d.size()) {
    const uint8_t* h = &d[pos];
    uint32_t size = be24(h + 1);
    if (size > d.size() - pos - 11) {
      f.truncated = true;
      break;
    }
    // 24 bits of milliseconds and 8 more above them: a signed 32-bit count.
    double t = double(int32_t(be24(h + 4) | uint32_t(h[7]) << 24));
    t = std::max(t, last);
    last = t;
    uint8_t type = h[0] & 0x1f;  // the top bits are reserved or mark filtered tags
    if (type == 8 || type == 9 || type == 18)
      f.tags.push_back({FlvTagType(type), t, pos, d.subspan(pos + 11, size)});
    pos += 11 + uint64_t(size) + 4;
  }
  return f;
}

}  // namespace swf
