// Fuzzes reading a skin's description: every key the skin step reads, with the settings file's
// rules, and the picture names, which must name files inside the skin's directory or be refused.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/errors.h"
#include "app/settings_file.h"
#include "skins/skin_files.h"

namespace {

const char* const kSections[] = {"image1",       "imagelist",    "flashlist",
                                 "flash1",       "flashpreview", "lblfilename",
                                 "lbltime",      "lblframe",     "imageopenfile",
                                 "imageopendir", "v1",           "v2",
                                 "v3",           "v4",           "v5",
                                 "imagejct0",    "jctcontrol",   "play2",
                                 "stop2",        "play",         "stop",
                                 "open",         "opendir",      "listbtnon",
                                 "listbtnoff",   "vc1",          "vc2",
                                 "vc3",          "vc4",          "vc5",
                                 "windowsmin",   "windowsmax",   "exit"};
const char* const kNumbers[] = {"left", "top", "width", "height", "color", "visible"};

std::string skinDir() {
  static const std::string dir = [] {
    char tmpl[] = "/tmp/rv-skin-fuzz-XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    return std::string(tmpl) + "/";
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string dir = skinDir();
  const std::string ini = dir + "skin.ini";
  if (std::FILE* f = std::fopen(ini.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  const rv::SettingsFile skin(ini);
  for (const char* section : kSections) {
    for (const char* key : kNumbers) (void)skin.readInt(section, key, -1);
    const std::string picture = skin.readString(section, "picture", "");
    if (picture.size() > rv::SettingsFile::kMaxValueLength) std::abort();
    if (picture.empty()) continue;
    try {
      const std::string path = rv::skinFilePath(dir, picture);
      if (path.compare(0, dir.size(), dir) != 0 || path.find("/../") != std::string::npos ||
          (path.size() >= 3 && path.compare(path.size() - 3, 3, "/..") == 0))
        std::abort();
      (void)rv::pictureFormatOf(path);
    } catch (const rv::AppError&) {
    }
  }
  return 0;
}
