// Fuzzes the settings file: any bytes as config.ini, every key the player reads, then writes
// (one by one, and gathered into one replacement) that must read back as written, leave every
// other key as it was, and give the same file either way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/settings_file.h"
#include "fuzz/fuzz_dir.h"

namespace {

struct Key {
  const char* section;
  const char* key;
};
constexpr Key kKeys[] = {
    {"form", "left"},
    {"form", "top"},
    {"variables", "fileindex"},
    {"variables", "viewbig"},
    {"variables", "openinitialdir"},
    {"variables", "playmode"},
    {"variables", "view"},
    {"variables", "skinname"},
    {"Variables", "FORM6LEFT"},
    {"variables", "cachefilesize"},
};
constexpr size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

// What reading back a written value gives: cut at a line break, blanks around it dropped, at
// most the readable length.
std::string readBack(const std::string& value) {
  std::string v = value.substr(0, value.find_first_of("\r\n"));
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  while (!v.empty() && blank(v.back())) v.pop_back();
  size_t start = 0;
  while (start < v.size() && blank(v[start])) ++start;
  v = v.substr(start);
  return v.substr(0, rv::SettingsFile::kMaxValueLength);
}

void check(bool ok) {
  if (!ok) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The last bytes, when there are some, choose the writes; the rest is the file.
  const size_t ops = size > 0 ? std::min<size_t>(data[size - 1] % 4, size - 1) : 0;
  const std::string text(reinterpret_cast<const char*>(data), size - ops - (size > 0 ? 1 : 0));
  const std::string path = rv::fuzz::scratchDir() + "config.ini";
  const std::string batched = rv::fuzz::scratchDir() + "batched.ini";
  rv::fuzz::writeBytes(path, text.data(), text.size());
  rv::fuzz::writeBytes(batched, text.data(), text.size());
  rv::SettingsFile ini(path), other(batched);

  std::string before[kKeyCount];
  for (size_t i = 0; i < kKeyCount; ++i) {
    before[i] = ini.readString(kKeys[i].section, kKeys[i].key, "\x01none");
    ini.readInt(kKeys[i].section, kKeys[i].key, 7);
    ini.readBool(kKeys[i].section, kKeys[i].key, true);
    int v;
    rv::SettingsFile::parseInt(before[i], v);
  }

  // Each write picks a key and a value out of the file's own bytes.
  bool written[kKeyCount] = {};
  std::string values[kKeyCount];
  rv::SettingsWriteBatch batch(other);
  for (size_t n = 0; n < ops; ++n) {
    const uint8_t pick = data[size - 2 - n];
    const size_t k = pick % kKeyCount;
    const size_t from = text.empty() ? 0 : (pick * 7919u) % text.size();
    const std::string value = text.substr(from, pick % 40);
    ini.writeString(kKeys[k].section, kKeys[k].key, value);
    other.writeString(kKeys[k].section, kKeys[k].key, value);
    written[k] = true;
    values[k] = value;
  }
  batch.commit();

  for (size_t i = 0; i < kKeyCount; ++i) {
    const std::string now = ini.readString(kKeys[i].section, kKeys[i].key, "\x01none");
    check(now == (written[i] ? readBack(values[i]) : before[i]));
  }
  check(rv::fuzz::readBytes(path) == rv::fuzz::readBytes(batched));
  check(rv::fuzz::strayFiles({"config.ini", "batched.ini"}) == 0);
  return 0;
}
