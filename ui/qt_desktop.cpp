#include "ui/qt_desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace rv::ui {

void QtDesktop::openDocument(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

void QtDesktop::openUrl(const std::string& url) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace rv::ui
