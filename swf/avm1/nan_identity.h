#pragma once
// NaN and equality. The original keeps numbers in boxes and calls two values equal when they
// are the same box, so a NaN equals itself (x == x, a variable read twice) but not a NaN
// computed elsewhere. Here every NaN the machine makes gets a payload of its own: copies of a
// value keep it, new results get a new one, and two NaNs are equal when their payloads match.
// NaNs from anywhere else (hardware, a file's bytes) carry no mark and equal nothing.

#include <cstdint>
#include <cstring>

namespace swf::avm1 {

namespace nan_identity {
constexpr uint64_t kMark = 0x7ffd000000000000ull;  // quiet NaN with a tag in bits 48..49
constexpr uint64_t kTagMask = 0xffff000000000000ull;
inline uint64_t bits(double d) {
  uint64_t b;
  std::memcpy(&b, &d, sizeof b);
  return b;
}
}  // namespace nan_identity

// A NaN unlike any other.
inline double freshNaN() {
  static uint64_t next = 0;
  next = (next + 1) & 0x0000ffffffffffffull;
  uint64_t b = nan_identity::kMark | next;
  double d;
  std::memcpy(&d, &b, sizeof d);
  return d;
}

// The one NaN that `NaN` and `Number.NaN` both hold, so the two compare equal.
inline double constantNaN() {
  static const double d = freshNaN();
  return d;
}

// `d`, or a fresh NaN when it is one: for the results of arithmetic.
inline double distinctNaN(double d) { return d == d ? d : freshNaN(); }

// Whether two numbers are equal, NaNs by their identity.
inline bool sameNumber(double a, double b) {
  if (a == b) return true;
  if (a == a || b == b) return false;
  uint64_t x = nan_identity::bits(a);
  return x == nan_identity::bits(b) && (x & nan_identity::kTagMask) == nan_identity::kMark;
}

}  // namespace swf::avm1
