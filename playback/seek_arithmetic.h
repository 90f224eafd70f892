#pragma once
// Integer arithmetic of the seek bar and read-outs: products in 64 bits, divisions that refuse a
// zero divisor (and a quotient outside int) with AppError instead of undefined behaviour.

#include <cstdint>
#include <string>

#include "app/errors.h"

namespace rv {

inline int checkedDiv(int64_t a, int64_t b) {
  if (b == 0) throw AppError("division by zero");
  int64_t q = a / b;
  if (q > INT32_MAX || q < INT32_MIN) throw AppError("integer overflow");
  return static_cast<int>(q);
}

// "<current>/<total>"
inline std::string frameText(int current, int total) {
  return std::to_string(current) + "/" + std::to_string(total);
}

// Minutes and seconds at 12 frames a second, without leading zeros: frame 725 is "1:0".
inline std::string timeText(int current) {
  int s = current / 12;
  return std::to_string(s / 60) + ":" + std::to_string(s % 60);
}

// A frame computed from a pointer position, kept inside the movie.
inline int clampFrame(int frame, int totalFrames) {
  if (totalFrames <= 0) throw AppError("the movie has no frames");
  return frame < 0 ? 0 : (frame >= totalFrames ? totalFrames - 1 : frame);
}

}  // namespace rv
