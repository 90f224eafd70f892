#include "ui/flash_widget.h"

#include <cairo.h>

#include <QMouseEvent>
#include <QPainter>
#include <cstdio>

#include "platform/audio_output.h"
#include "playback/flash_control.h"
#include "swf/player/player.h"
#include "ui/flash_engine_bridge.h"
#include "ui/qt_clipboard.h"

namespace rv::ui {

FlashWidget::FlashWidget(Source source, Runner run, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), run_(std::move(run)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);

  clock_.start();
  audio_ = sharedAudioOutput().addChannel();
}

FlashWidget::~FlashWidget() { sharedAudioOutput().removeChannel(audio_); }

// One sound device for the whole program, opened with the first movie control; silent where
// the machine has none.
AudioOutput& FlashWidget::sharedAudioOutput() {
  static AudioOutput output(qEnvironmentVariableIsSet("RV_NO_AUDIO") ? AudioOutput::Mode::Silent
                                                                     : AudioOutput::Mode::Device);
  return output;
}

swf::Player* FlashWidget::player() const {
  FlashControl* c = control();
  swf::Player* p = playerOf(c);
  return p && p->loaded() ? p : nullptr;
}

void FlashWidget::syncFromModel() {
  FlashControl* c = control();
  if (followsGeometry_ && c) {
    const QRect bounds(c->left, c->top, std::max(0, c->width), std::max(0, c->height));
    if (geometry() != bounds) setGeometry(bounds);
    if (isVisibleTo(parentWidget()) != c->visible) setVisible(c->visible);
  }

  const qint64 now = clock_.elapsed();
  const double ms = static_cast<double>(now - lastMs_);
  lastMs_ = now;

  const bool hasMovie = c && c->hasMovie();
  bool changed = c != bound_ || hasMovie != hadMovie_;
  if (c != bound_) {
    if (swf::Player* p = playerOf(c)) {
      p->onAudio = [channel = audio_](const float* stereo, size_t frames) {
        channel->push(stereo, frames);
      };
      static QtClipboard clipboard;  // stateless, lives as long as any player
      p->setClipboard(&clipboard);
    }
  }
  bound_ = c;
  hadMovie_ = hasMovie;
  if (swf::Player* p = player()) {
    bool advanced = false;
    run_([&] { advanced = p->advance(ms); });
    changed = advanced || changed;
  }
  if (changed && isVisible()) update();
  updatePointer();
}

void FlashWidget::paintEvent(QPaintEvent*) {
  ++repaints_;
  QPainter painter(this);
  swf::Player* p = player();
  if (!p || width() <= 0 || height() <= 0) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  // Drawn at the screen's own pixels, so full screen on a HiDPI display is sharp.
  const qreal dpr = devicePixelRatioF();
  const QSize pixels = size() * dpr;
  if (frame_.size() != pixels) frame_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  frame_.setDevicePixelRatio(dpr);
  frame_.fill(Qt::black);
  // QImage's ARGB32 premultiplied is Cairo's ARGB32 on every byte order.
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(frame_.bits(), CAIRO_FORMAT_ARGB32, frame_.width(),
                                          frame_.height(), static_cast<int>(frame_.bytesPerLine()));
  cairo_t* cr = cairo_create(surface);
  p->render(cr, frame_.width(), frame_.height());
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  painter.drawImage(0, 0, frame_);
  reportFirstPaint(*p);
}

// The start-up benchmark starts the player with RV_REPORT_FIRST_PAINT set and waits for this
// line: the moment a movie's first frame is on screen.
void FlashWidget::reportFirstPaint(const swf::Player& player) {
  static const bool wanted = qEnvironmentVariableIsSet("RV_REPORT_FIRST_PAINT");
  static bool reported = false;
  if (!wanted || reported || !player.loaded()) return;
  reported = true;
  std::fputs("first-paint\n", stderr);
  std::fflush(stderr);
}

void FlashWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();  // the window's own menu handles the others
    return;
  }
  if (swf::Player* p = player()) {
    const QPointF at = event->position() * devicePixelRatioF();  // in the pixels drawn
    setFocus(Qt::MouseFocusReason);
    run_([&] { p->mouseDown(at.x(), at.y()); });
    syncFromModel();
  }
}

void FlashWidget::mouseMoveEvent(QMouseEvent* event) {
  if (swf::Player* p = player()) {
    const QPointF at = event->position() * devicePixelRatioF();  // in the pixels drawn
    run_([&] { p->mouseMove(at.x(), at.y()); });
    updatePointer();
  }
  event->ignore();
}

void FlashWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  if (swf::Player* p = player()) {
    const QPointF at = event->position() * devicePixelRatioF();  // in the pixels drawn
    run_([&] { p->mouseUp(at.x(), at.y()); });
    syncFromModel();
  }
}

}  // namespace rv::ui
