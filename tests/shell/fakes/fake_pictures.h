#pragma once
// Skin pictures without a picture decoder: a file holding "PICTURE <w>x<h>" is a picture of that
// size; anything else is refused as the real reader refuses a file that is no picture.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/errors.h"
#include "skins/picture_reader.h"

namespace rv::test {

class FakePictureReader : public PictureReader {
 public:
  std::vector<std::string> loaded;  // paths, in order

  Size load(const std::string& path, PictureFormat) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw AppError("The skin picture " + path + " is missing.");
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    Size size;
    if (std::sscanf(text.c_str(), "PICTURE %dx%d", &size.width, &size.height) != 2)
      throw AppError("The skin picture " + path + " cannot be read.");
    loaded.push_back(path);
    return size;
  }

  static std::string picture(int w, int h) {
    return "PICTURE " + std::to_string(w) + "x" + std::to_string(h);
  }
};

}  // namespace rv::test
