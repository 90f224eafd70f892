// Fuzzes projector extraction: any bytes as the projector, often given a trailer whose length
// is the fuzzer's choice. A movie written must be exactly the bytes before the trailer; a refused
// file writes nothing; no temporary file stays.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/errors.h"
#include "fuzz/fuzz_dir.h"
#include "playlist/projector.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string exe(reinterpret_cast<const char*>(data), size);
  // An odd first byte appends a trailer with the magic number and the length in bytes 1 to 4.
  if (size >= 5 && (data[0] & 1)) {
    const uint32_t words[2] = {rv::kProjectorMagic,
                               static_cast<uint32_t>(data[1] | data[2] << 8 | data[3] << 16) |
                                   static_cast<uint32_t>(data[4]) << 24};
    exe.append(reinterpret_cast<const char*>(words), 8);
  }
  const std::string dir = rv::fuzz::scratchDir();
  rv::fuzz::writeBytes(dir + "game.exe", exe.data(), exe.size());
  std::remove((dir + "game.swf").c_str());

  rv::ProjectorResult result = rv::extractProjectorMovie(dir + "game.exe", dir + "game.swf");

  // What the trailer says, read independently.
  bool projector = false;
  std::string movie;
  if (exe.size() >= 8) {
    uint32_t magic, length;
    std::memcpy(&magic, exe.data() + exe.size() - 8, 4);
    std::memcpy(&length, exe.data() + exe.size() - 4, 4);
    projector = magic == rv::kProjectorMagic && length > 0 && length <= exe.size() - 8;
    if (projector) movie = exe.substr(exe.size() - 8 - length, length);
  }
  if (projector != (result == rv::ProjectorResult::Written)) abort();
  if (projector && rv::fuzz::readBytes(dir + "game.swf") != movie) abort();
  if (rv::fuzz::strayFiles({"game.exe", projector ? "game.swf" : "-"}) != 0) abort();
  return 0;
}
