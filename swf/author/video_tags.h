#pragma once
// Bodies of the embedded-video tags, for the movies tests and benchmarks write.

#include <cstdint>
#include <span>
#include <vector>

namespace swf::author {

std::vector<uint8_t> defineVideoStreamBody(uint16_t id, int frames, int width, int height,
                                           int codec, int deblocking = 0, bool smoothing = false);
std::vector<uint8_t> videoFrameBody(uint16_t stream, int frame, std::span<const uint8_t> data);

}  // namespace swf::author
