#include "ui/side_windows.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "app/about_box.h"
#include "ui/flash_widget.h"

namespace rv::ui {
namespace {
const QScreen* screenOf(const QWidget& w) {
  return w.screen() ? w.screen() : QGuiApplication::primaryScreen();
}
}  // namespace

void HostedWindow::setTopmost(bool topmost) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (wasVisible) QWidget::show();
}

void HostedWindow::startSystemMove() {
  if (QWindow* w = windowHandle()) w->startSystemMove();
}

int HostedWindow::cursorX() const { return QCursor::pos().x(); }
int HostedWindow::cursorY() const { return QCursor::pos().y(); }
int HostedWindow::screenWidth() const {
  const QScreen* s = screenOf(*this);
  return s ? s->geometry().width() : 0;
}
int HostedWindow::screenHeight() const {
  const QScreen* s = screenOf(*this);
  return s ? s->geometry().height() : 0;
}

// ---- about box ------------------------------------------------------------------------------

AboutWindow::AboutWindow(AboutBox& box, Runner run)
    : HostedWindow(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      box_(box) {
  setObjectName(QStringLiteral("TForm2"));
  setWindowTitle(QString::fromStdString(box.caption));
  setFixedSize(AboutBox::kWidth, AboutBox::kHeight);
  flash_ = new FlashWidget([this] { return box_.Flash3.get(); }, std::move(run), this);
  flash_->setObjectName(QStringLiteral("Flash3"));
  flash_->setFollowsGeometry(false);
  flash_->setGeometry(0, 0, AboutBox::kWidth, AboutBox::kHeight);
}

void AboutWindow::show() {
  if (const QScreen* s = screenOf(*this)) {
    const QRect desk = s->availableGeometry();
    move(desk.center() - QPoint(width() / 2, height() / 2));
  }
  QWidget::show();
  raise();
}

void AboutWindow::hide() { QWidget::hide(); }

void AboutWindow::syncFromModel() {
  if (isVisible() != box_.visible) box_.visible ? show() : hide();
  flash_->syncFromModel();
}

}  // namespace rv::ui
