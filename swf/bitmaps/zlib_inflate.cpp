#include "swf/bitmaps/zlib_inflate.h"

#include <zlib.h>

namespace swf {

std::optional<std::vector<uint8_t>> inflateCapped(std::span<const uint8_t> in, size_t maxOut) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return std::nullopt;
  std::vector<uint8_t> out(maxOut);
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = uInt(in.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  int rc = Z_OK;
  while (z.avail_out > 0 && rc == Z_OK) rc = inflate(&z, Z_NO_FLUSH);
  size_t produced = out.size() - z.avail_out;
  inflateEnd(&z);
  if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR && produced == 0) return std::nullopt;
  out.resize(produced);
  return out;
}

}  // namespace swf
