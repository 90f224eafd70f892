#include "ui/side_windows.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "app/about_box.h"
#include "skins/tool_bar.h"
#include "ui/flash_widget.h"
#include "ui/model_colors.h"

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

// ---- tool bar -------------------------------------------------------------------------------

ToolBarWindow::ToolBarWindow(ToolBar& bar)
    : HostedWindow(nullptr, Qt::Tool | Qt::FramelessWindowHint), bar_(bar) {
  setObjectName(QStringLiteral("TForm6"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(225, 50);
  move(bar_.left, bar_.top);
}

void ToolBarWindow::show() {
  move(bar_.left, bar_.top);
  QWidget::show();
  raise();
}

void ToolBarWindow::hide() { QWidget::hide(); }

void ToolBarWindow::syncFromModel() {
  if (pos() != QPoint(bar_.left, bar_.top)) move(bar_.left, bar_.top);
  if (bar_.topmost != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) setTopmost(bar_.topmost);
  if (isVisible() != bar_.visible) bar_.visible ? show() : hide();
  if (!isVisible()) return;
  std::string signature;
  for (const auto& [name, c] : bar_.controls)
    signature += name + ':' + std::to_string(c.left) + ',' + c.caption + ';';
  if (signature != lastSignature_) {
    lastSignature_ = std::move(signature);
    update();
  }
}

void ToolBarWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(32, 32, 32));
  p.setFont(readoutFont());
  for (const auto& [name, c] : bar_.controls) {
    if (!c.visible) continue;
    if (!c.caption.empty()) {
      p.setPen(Qt::white);
      p.drawText(QRect(c.left, c.top, c.width, c.height),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                 QString::fromStdString(c.caption));
    } else {
      p.fillRect(QRect(c.left, c.top, c.width, c.height), QColor(160, 160, 160));
    }
  }
}

void ToolBarWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (isVisible()) {
    bar_.left = x();
    bar_.top = y();
  }
}

void ToolBarWindow::mousePressEvent(QMouseEvent*) { startSystemMove(); }

}  // namespace rv::ui
