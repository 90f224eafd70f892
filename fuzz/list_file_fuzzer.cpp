// Fuzzes the list-file reader with any bytes, as an opened list file and as the persisted
// playlist; a list that reads is saved and read again and must come back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/atomic_file.h"
#include "fuzz/fuzz_dir.h"
#include "playlist/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = rv::fuzz::scratchDir() + "in.flt";
  const std::string saved = rv::fuzz::scratchDir() + "saved.flt";
  rv::fuzz::writeBytes(path, data, size);
  for (bool playModes : {true, false}) {
    rv::ListFileContent in = rv::readListFileAt(path, playModes);
    if (in.status != rv::ListFileContent::Status::Ok) continue;
    if (!playModes && in.playMode) abort();
    rv::writeFileAtomically(saved, rv::formatListFile(in.playMode, in.entries));
    rv::ListFileContent again = rv::readListFileAt(saved, playModes);
    if (again.status != rv::ListFileContent::Status::Ok || again.playMode != in.playMode ||
        again.entries != in.entries)
      abort();
  }
  return 0;
}
