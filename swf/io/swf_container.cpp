#include "swf/io/swf_container.h"

#include <lzma.h>
#include <zlib.h>

#include <cstring>
#include <string>

#include "swf/movie/load_error.h"

namespace swf {
namespace {

constexpr size_t kHeaderSize = 8;

uint32_t le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Inflates `in` into out[kHeaderSize..]; out is already sized to the declared length.
void inflateBody(std::span<const uint8_t> in, std::vector<uint8_t>& out) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) throw LoadError("zlib initialisation failed");
  zs.next_in = const_cast<Bytef*>(in.data());
  zs.avail_in = uInt(in.size());
  zs.next_out = out.data() + kHeaderSize;
  zs.avail_out = uInt(out.size() - kHeaderSize);
  int rc = Z_OK;
  while (zs.avail_out > 0) {
    rc = inflate(&zs, Z_NO_FLUSH);
    if (rc != Z_OK) break;
  }
  size_t produced = out.size() - kHeaderSize - zs.avail_out;
  inflateEnd(&zs);
  if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
    throw LoadError("compressed movie data is corrupt");
  if (produced < out.size() - kHeaderSize)
    throw LoadError("compressed movie data ends before its declared length");
}

// The LZMA layout: 4 bytes compressed size, 5 bytes of LZMA properties, then raw LZMA1 data.
void unlzmaBody(std::span<const uint8_t> in, std::vector<uint8_t>& out) {
  if (in.size() < 9) throw LoadError("LZMA header truncated");
  lzma_options_lzma opts{};
  lzma_filter filters[2];
  filters[0].id = LZMA_FILTER_LZMA1;
  filters[0].options = nullptr;
  filters[1].id = LZMA_VLI_UNKNOWN;
  filters[1].options = nullptr;
  if (lzma_properties_decode(&filters[0], nullptr, in.data() + 4, 5) != LZMA_OK)
    throw LoadError("LZMA properties are invalid");
  // lzma_properties_decode allocated the options with malloc; copy and free them.
  std::memcpy(&opts, filters[0].options, sizeof opts);
  free(filters[0].options);
  filters[0].options = &opts;
  if (opts.dict_size > (1u << 28)) throw LoadError("LZMA dictionary too large");

  lzma_stream ls = LZMA_STREAM_INIT;
  if (lzma_raw_decoder(&ls, filters) != LZMA_OK) throw LoadError("LZMA initialisation failed");
  ls.next_in = in.data() + 9;
  ls.avail_in = in.size() - 9;
  ls.next_out = out.data() + kHeaderSize;
  ls.avail_out = out.size() - kHeaderSize;
  lzma_ret rc = LZMA_OK;
  while (ls.avail_out > 0 && rc == LZMA_OK) {
    size_t before = ls.avail_in + ls.avail_out;
    rc = lzma_code(&ls, LZMA_FINISH);
    if (rc == LZMA_OK && ls.avail_in + ls.avail_out == before) break;  // no progress
  }
  size_t produced = out.size() - kHeaderSize - ls.avail_out;
  lzma_end(&ls);
  if (rc != LZMA_OK && rc != LZMA_STREAM_END && rc != LZMA_BUF_ERROR)
    throw LoadError("LZMA movie data is corrupt");
  if (produced < out.size() - kHeaderSize)
    throw LoadError("LZMA movie data ends before its declared length");
}

}  // namespace

const char* compressionName(Compression c) {
  switch (c) {
    case Compression::None:
      return "none";
    case Compression::Zlib:
      return "zlib";
    case Compression::Lzma:
      return "lzma";
  }
  return "?";
}

SwfContainer decodeContainer(std::span<const uint8_t> file) {
  if (file.size() < kHeaderSize) throw LoadError("not a SWF file (too short)");
  SwfContainer c;
  if (file[1] != 'W' || file[2] != 'S') throw LoadError("not a SWF file");
  switch (file[0]) {
    case 'F':
      c.compression = Compression::None;
      break;
    case 'C':
      c.compression = Compression::Zlib;
      break;
    case 'Z':
      c.compression = Compression::Lzma;
      break;
    default:
      throw LoadError("not a SWF file");
  }
  c.version = file[3];
  c.declaredLength = le32(file.data() + 4);
  // The smallest movie still has a header, a stage rectangle, a rate and a frame count.
  if (c.declaredLength < kHeaderSize + 5) throw LoadError("declared file length too small");
  if (c.declaredLength > kMaxUncompressedLength)
    throw LoadError("declared file length too large (" + std::to_string(c.declaredLength) + ")");

  if (c.compression == Compression::None) {
    if (file.size() < c.declaredLength) throw LoadError("file is truncated");
    c.data.assign(file.begin(), file.begin() + c.declaredLength);
    return c;
  }
  // A compressed body cannot expand beyond about 1032:1 (zlib) or much more for LZMA, so a small
  // file claiming a huge length is a lie; checking it first avoids a large allocation.
  if (uint64_t(file.size()) * 2000 < c.declaredLength)
    throw LoadError("declared length is implausible");
  c.data.resize(c.declaredLength);
  std::memcpy(c.data.data(), file.data(), kHeaderSize);
  c.data[0] = 'F';
  auto body = file.subspan(kHeaderSize);
  if (c.compression == Compression::Zlib)
    inflateBody(body, c.data);
  else
    unlzmaBody(body, c.data);
  return c;
}

}  // namespace swf
