#pragma once
// Inflating zlib data with a hard cap on the output size.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace swf {

// Inflates `in`, producing at most `maxOut` bytes; returns what was produced (possibly fewer
// bytes when the stream ends early), or nothing when the stream is corrupt from the start.
std::optional<std::vector<uint8_t>> inflateCapped(std::span<const uint8_t> in, size_t maxOut);

}  // namespace swf
