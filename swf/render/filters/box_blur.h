#pragma once
// Box blurs of 8-bit planes with running sums: the cost per pixel and pass does not depend on the
// blur's size.

#include <cstddef>
#include <cstdint>

namespace swf {

// `channels` interleaved bytes per pixel (1 or 4), each blurred on its own.
struct Plane8 {
  uint8_t* data = nullptr;
  int width = 0, height = 0, channels = 1;
  size_t stride = 0;  // bytes from one row to the next
};

// Blurs with a box of `widthX` by `widthY` pixels, centred on each pixel, `passes` times in each
// direction. A width of 1 or less leaves that direction alone; fractional widths weigh the two
// end pixels by what the box covers of them. Pixels beyond the plane read as `outside`.
void boxBlur(Plane8 plane, double widthX, double widthY, int passes, uint8_t outside = 0);

// How far `passes` boxes of `width` pixels spread a pixel, in whole pixels.
int blurReach(double width, int passes);

}  // namespace swf
