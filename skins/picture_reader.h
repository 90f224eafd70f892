#pragma once
// Reads the pictures a skin names. The Qt layer decodes them with its image readers (and keeps
// what it decoded for drawing); tests use a fake.

#include <string>

namespace rv {

enum class PictureFormat { Bmp, Ico, Png };

class PictureReader {
 public:
  virtual ~PictureReader() = default;
  struct Size {
    int width = 0, height = 0;
  };
  // Decodes the picture at `path`. A file that is missing, is not a picture of `format` or is
  // too large raises AppError with a message saying which.
  virtual Size load(const std::string& path, PictureFormat format) = 0;
};

}  // namespace rv
