// Fuzzes the script machine: the input is a SWF version byte and action blocks, run as the
// frame scripts of a small movie for a few frames.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_movie.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int version = 4 + data[0] % 6;
  std::span<const uint8_t> rest(data + 1, size - 1);
  swf::author::SwfWriter w(version, 64, 48, 30);
  // A 0xFF byte splits the input into blocks: one per frame, so jumps between frames happen too.
  size_t start = 0;
  for (size_t i = 0; i <= rest.size(); ++i) {
    if (i == rest.size() || rest[i] == 0xFF) {
      std::vector<uint8_t> block(rest.begin() + long(start), rest.begin() + long(i));
      block.push_back(0);
      w.doAction(block);
      w.showFrame();
      start = i + 1;
    }
  }
  w.end();
  swf::Player player;
  if (!rv::fuzz::startMovie(player, w, "fuzz.swf")) return 0;
  for (int i = 0; i < 4; ++i) player.advance(1000.0 / 30);
  return 0;
}
