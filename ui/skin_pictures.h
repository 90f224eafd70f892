#pragma once
// The skin's pictures: decoded once with Qt's image readers when a skin names them, and kept
// for drawing.

#include <QPixmap>
#include <map>
#include <string>

#include "skins/picture_reader.h"

namespace rv::ui {

class SkinPictures : public PictureReader {
 public:
  // One store for every window of the program.
  static SkinPictures& instance();

  // Pictures larger than this on a side, or of more pixels than kMaxPixels, are refused.
  static constexpr int kMaxSide = 8192;
  static constexpr long long kMaxPixels = 16LL << 20;

  // A file decoded before and unchanged since (time and size) is not decoded again.
  Size load(const std::string& path, PictureFormat format) override;
  // What `load` decoded for `path`; a path never loaded is read from its file now.
  const QPixmap& pixmap(const std::string& path);

 private:
  struct Decoded {
    QPixmap pixmap;
    long long modified = -1, bytes = -1;  // the file as it was decoded; -1: read for drawing only
  };
  std::map<std::string, Decoded> pictures_;
};

}  // namespace rv::ui
