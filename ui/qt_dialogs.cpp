#include "ui/qt_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "ui/lossless_text.h"

namespace rv::ui {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }
QString path(const std::string& bytes) { return QFile::decodeName(bytes.c_str()); }
std::string bytes(const QString& p) { return QFile::encodeName(p).toStdString(); }

// A box with the given caption and icon and exactly the given buttons, in order; returns the
// index of the button pressed (-1 when closed otherwise).
int runBox(QWidget* parent, const QString& caption, QMessageBox::Icon icon, const QString& body,
           std::initializer_list<std::pair<QString, QMessageBox::ButtonRole>> buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(caption);
  box.setIcon(icon);
  box.setText(body);
  box.setTextFormat(Qt::PlainText);
  std::vector<QAbstractButton*> made;
  for (const auto& [label, role] : buttons) made.push_back(box.addButton(label, role));
  if (!made.empty()) box.setDefaultButton(static_cast<QPushButton*>(made.front()));
  box.exec();
  for (size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return static_cast<int>(i);
  return -1;
}

const QString kTitle = QStringLiteral("Reelvista");

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
  const QStringList parts = text(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString& name = parts[i];
    // Descriptions that already show their patterns are kept as they are.
    if (name.contains(QLatin1Char('(') + patterns + QLatin1Char(')')))
      out << name;
    else
      out << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return out;
}

QString qtDefaultSuffix(const std::string& defaultExt) {
  QString s = text(defaultExt);
  if (s.startsWith(QLatin1Char('*'))) s.remove(0, 1);
  if (s.startsWith(QLatin1Char('.'))) s.remove(0, 1);
  return s;
}

void QtDialogs::message(const std::string& body) {
  runBox(parent_, kTitle, QMessageBox::NoIcon, text(body),
         {{QStringLiteral("OK"), QMessageBox::AcceptRole}});
}

void QtDialogs::information(const std::string& body) {
  runBox(parent_, kTitle, QMessageBox::Information, text(body),
         {{QStringLiteral("OK"), QMessageBox::AcceptRole}});
}

bool QtDialogs::question(const std::string& body) {
  return runBox(parent_, QStringLiteral("Confirm"), QMessageBox::Question, text(body),
                {{QStringLiteral("&Yes"), QMessageBox::YesRole},
                 {QStringLiteral("&No"), QMessageBox::NoRole}}) == 0;
}

std::optional<std::string> QtDialogs::inputBox(const std::string& title, const std::string& prompt,
                                               const std::string& initial) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(text(title));
  dialog.setLabelText(text(prompt));
  // The text may be a file name that is not UTF-8: what the user leaves alone keeps its bytes.
  const LosslessText offered(initial);
  dialog.setTextValue(offered.shown());
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("Cancel"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return offered.bytesOf(dialog.textValue());
}

std::optional<FileDialogResult> QtDialogs::runFileDialog(const FileDialogRequest& request,
                                                         bool save) {
  QFileDialog dialog(parent_, text(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save) {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the callers decide about existing files
  } else {
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
  }
  const QStringList filters = qtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = std::clamp(request.filterIndex, 1, static_cast<int>(filters.size()));
    dialog.selectNameFilter(filters[index - 1]);
  }
  if (!request.initialDir.empty() && QDir(path(request.initialDir)).exists())
    dialog.setDirectory(path(request.initialDir));
  const QString suffix = qtDefaultSuffix(request.defaultExt);
  if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;

  FileDialogResult result;
  for (const QString& file : dialog.selectedFiles()) result.files.push_back(bytes(file));
  if (result.files.empty()) return std::nullopt;
  const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
  result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
  return result;
}

std::optional<FileDialogResult> QtDialogs::openFile(const FileDialogRequest& request) {
  return runFileDialog(request, false);
}

std::optional<FileDialogResult> QtDialogs::saveFile(const FileDialogRequest& request) {
  return runFileDialog(request, true);
}

std::optional<std::string> QtDialogs::browseFolder(const std::string& title) {
  const QString dir = QFileDialog::getExistingDirectory(parent_, text(title), QDir::homePath());
  if (dir.isEmpty()) return std::nullopt;
  return bytes(dir);
}

}  // namespace rv::ui
