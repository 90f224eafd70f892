#include "ui/options_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/options_dialog.h"

namespace rv::ui {
namespace {

QString qt(const char* text) { return QString::fromUtf8(text); }

}  // namespace

OptionsWindow::OptionsWindow(OptionsDialog& dialog, QWidget* centreOn, Runner run)
    : HostedWindow(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                                Qt::MSWindowsFixedSizeDialogHint),
      dialog_(dialog),
      centreOn_(centreOn),
      run_(std::move(run)) {
  setObjectName(QStringLiteral("TForm5"));
  setWindowTitle(QString::fromStdString(dialog.caption));
  setFixedSize(OptionsDialog::kClientWidth, OptionsDialog::kClientHeight);

  using K = DialogControl::Kind;
  for (const DialogControl& c : OptionsDialog::layout()) {
    QWidget* parent = *c.parent ? controls_.at(c.parent) : this;
    QWidget* w = nullptr;
    switch (c.kind) {
      case K::Frame:
        w = new QGroupBox(qt(c.caption), parent);
        break;
      case K::Label:
        w = new QLabel(qt(c.caption), parent);
        break;
      case K::Edit:
        edit_ = new QLineEdit(qt(c.caption), parent);
        edit_->setFrame(false);
        w = edit_;
        break;
      case K::CheckBox:
        w = new QCheckBox(qt(c.caption), parent);
        break;
      case K::Button:
        ok_ = new QPushButton(qt(c.caption), parent);
        ok_->setDefault(true);
        ok_->setAutoDefault(true);
        w = ok_;
        break;
    }
    w->setObjectName(qt(c.name));
    if (c.width > 0)
      w->setGeometry(c.left, c.top, c.width, c.height);
    else {
      w->adjustSize();
      w->move(c.left, c.top);
    }
    controls_[c.name] = w;
  }
  QObject::connect(ok_, &QPushButton::clicked, [this] {
    takeEdits();
    run_([this] { dialog_.Button2Click(); });
    syncFromModel();
  });
}

QWidget* OptionsWindow::control(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

void OptionsWindow::showModel() {
  edit_->setText(QString::fromStdString(dialog_.Editiecache));
  auto box = [this](const char* name) { return static_cast<QCheckBox*>(controls_.at(name)); };
  box("cachelistclear")->setChecked(dialog_.cachelistclear);
  box("listhaveplaymode")->setChecked(dialog_.listhaveplaymode);
  box("swffile")->setChecked(dialog_.swffile);
  box("listfile")->setChecked(dialog_.listfile);
}

void OptionsWindow::takeEdits() {
  dialog_.Editiecache = edit_->text().toStdString();
  auto box = [this](const char* name) {
    return static_cast<QCheckBox*>(controls_.at(name))->isChecked();
  };
  dialog_.cachelistclear = box("cachelistclear");
  dialog_.listhaveplaymode = box("listhaveplaymode");
  dialog_.swffile = box("swffile");
  dialog_.listfile = box("listfile");
}

void OptionsWindow::show() {
  showModel();
  QWidget::show();
  // Centred with its frame, whose size is known once the window is shown.
  if (centreOn_) {
    const QSize frame = frameGeometry().size();
    move(centreOn_->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
  raise();
  activateWindow();
  ok_->setFocus();
}

void OptionsWindow::hide() { QWidget::hide(); }

void OptionsWindow::syncFromModel() {
  if (isVisible() != dialog_.visible) dialog_.visible ? show() : hide();
}

void OptionsWindow::closeEvent(QCloseEvent* event) {
  // The close button leaves settings and associations as they were; the boxes keep what the
  // user set, as controls do between showings.
  takeEdits();
  dialog_.close();
  event->accept();
}

void OptionsWindow::keyPressEvent(QKeyEvent* event) {
  // Enter presses the default button wherever the focus is.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    ok_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace rv::ui
