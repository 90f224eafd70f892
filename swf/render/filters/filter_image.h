#pragma once
// The picture filters work on: Cairo's premultiplied ARGB32 pixels in device space, and the
// scale from the stage's pixels (in which filters give their sizes) to device pixels.

#include <cstdint>

namespace swf {

struct FilterImage {
  uint32_t* pixels = nullptr;  // premultiplied, alpha in the top byte
  int width = 0, height = 0;
  int stride = 0;  // pixels from one row to the next

  uint32_t* row(int y) const { return pixels + long(stride) * y; }
};

struct FilterScale {
  double x = 1, y = 1;  // device pixels per stage pixel
};

// How far a filter's result reaches past its input's extent, in device pixels.
struct FilterReach {
  int left = 0, top = 0, right = 0, bottom = 0;
};

namespace px {

inline uint32_t alpha(uint32_t p) { return p >> 24; }

// a × b / 255, rounded, for bytes.
inline uint32_t mul(uint32_t a, uint32_t b) {
  uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// Every channel of a premultiplied pixel times k / 255.
inline uint32_t scale(uint32_t p, uint32_t k) {
  if (k == 255) return p;
  if (k == 0) return 0;
  uint32_t rb = (p & 0x00ff00ffu) * k + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
  uint32_t ag = ((p >> 8) & 0x00ff00ffu) * k + 0x00800080u;
  ag = (ag + ((ag >> 8) & 0x00ff00ffu)) & 0xff00ff00u;
  return rb | ag;
}

// Per channel sum, saturated (both premultiplied, so it stays valid when the alphas add to 255).
inline uint32_t add(uint32_t a, uint32_t b) {
  uint32_t sum = ((a & 0x7f7f7f7fu) + (b & 0x7f7f7f7fu)) ^ ((a ^ b) & 0x80808080u);
  uint32_t carry = ((a & b) | ((a | b) & ~sum)) & 0x80808080u;
  return sum | ((carry >> 7) * 0xffu);
}

// a over b.
inline uint32_t over(uint32_t a, uint32_t b) { return add(a, scale(b, 255 - alpha(a))); }

inline uint32_t pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace px
}  // namespace swf
