#include "ui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace rv::ui {

std::string QtClipboard::text() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtClipboard::setText(const std::string& utf8) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(utf8));
}

}  // namespace rv::ui
