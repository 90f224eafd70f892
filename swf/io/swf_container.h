#pragma once
// The outer layer of a SWF file: signature, version, declared length and the compressed body.

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

enum class Compression { None, Zlib, Lzma };

struct SwfContainer {
  Compression compression = Compression::None;
  int version = 0;
  uint32_t declaredLength = 0;  // the header's file length: the uncompressed size, header included
  std::vector<uint8_t> data;    // the whole uncompressed file, 8-byte header included
};

// Larger declared lengths are refused rather than allocated.
inline constexpr uint32_t kMaxUncompressedLength = 512u * 1024 * 1024;

// Throws LoadError when the bytes are not a SWF or the container lies about its contents.
SwfContainer decodeContainer(std::span<const uint8_t> file);

const char* compressionName(Compression c);

}  // namespace swf
