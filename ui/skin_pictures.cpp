#include "ui/skin_pictures.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "app/errors.h"

namespace rv::ui {
namespace {

const char* formatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return "bmp";
    case PictureFormat::Ico:
      return "ico";
    case PictureFormat::Png:
      return "png";
  }
  return "";
}

}  // namespace

SkinPictures& SkinPictures::instance() {
  static SkinPictures pictures;
  return pictures;
}

PictureReader::Size SkinPictures::load(const std::string& path, PictureFormat format) {
  const QString file = QFile::decodeName(path.c_str());
  const QFileInfo info(file);
  if (!info.exists()) throw AppError("The skin picture " + path + " is missing.");
  const long long modified = info.lastModified().toMSecsSinceEpoch(), bytes = info.size();
  if (auto it = pictures_.find(path);
      it != pictures_.end() && it->second.modified == modified && it->second.bytes == bytes)
    return {it->second.pixmap.width(), it->second.pixmap.height()};
  QImageReader reader(file, formatName(format));
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
                         static_cast<long long>(size.width()) * size.height() > kMaxPixels))
    throw AppError("The skin picture " + path + " is too large (" + std::to_string(size.width()) +
                   " x " + std::to_string(size.height()) + " pixels).");
  const QImage image = reader.read();
  if (image.isNull())
    throw AppError("The skin picture " + path + " cannot be read as a ." + formatName(format) +
                   " picture: " + reader.errorString().toStdString());
  pictures_[path] = {QPixmap::fromImage(image), modified, bytes};
  return {image.width(), image.height()};
}

const QPixmap& SkinPictures::pixmap(const std::string& path) {
  auto it = pictures_.find(path);
  if (it == pictures_.end())
    it = pictures_.emplace(path, Decoded{QPixmap(QFile::decodeName(path.c_str()))}).first;
  return it->second.pixmap;
}

}  // namespace rv::ui
