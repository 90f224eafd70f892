#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMimeData>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <array>

#include "app/main_form.h"
#include "ui/control_hint.h"
#include "ui/flash_widget.h"
#include "ui/model_colors.h"
#include "ui/playlist_view.h"
#include "ui/popup_menu.h"
#include "ui/skin_pictures.h"

namespace rv::ui {
namespace {

// Drawing order of the known controls within their layer; later ones are drawn on top.
constexpr std::array kBackgrounds{"image1", "Imagelist"};
constexpr std::array kPictures{"Imagejct0", "jctcontrol",  "v1",         "v2",    "v3",   "v4",
                               "v5",        "imgopenfile", "imgopendir", "play2", "stop2"};
constexpr std::array kLabels{"lblfilename", "Lbltime", "Lblframe"};
constexpr std::array kSpots{"play", "stop", "open", "opendir", "listbtnon",  "listbtnoff", "vc1",
                            "vc2",  "vc3",  "vc4",  "vc5",     "windowsmin", "windowsmax", "exit"};

template <size_t N>
int indexIn(const std::array<const char*, N>& names, const std::string& name) {
  for (size_t i = 0; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i);
  return -1;
}

bool isLabel(const Control& c) { return indexIn(kLabels, c.name) >= 0 || !c.caption.empty(); }

// Layer, then place within the layer; unknown pictures go after the known ones.
std::pair<int, int> rank(const Control& c) {
  if (int i = indexIn(kBackgrounds, c.name); i >= 0) return {0, i};
  if (int i = indexIn(kSpots, c.name); i >= 0) return {3, i};
  if (isLabel(c)) return {2, std::max(0, indexIn(kLabels, c.name))};
  const int i = indexIn(kPictures, c.name);
  return {1, i >= 0 ? i : static_cast<int>(kPictures.size())};
}

QRect boundsOf(const Control& c) { return QRect(c.left, c.top, c.width, c.height); }

}  // namespace

MainWindow::MainWindow(FormSource form, Runner run)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      formOf_(std::move(form)),
      run_(std::move(run)) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(QStringLiteral("Reelvista"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  setAcceptDrops(true);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);

  for (const char* name : {"Flash1", "Flash2", "flashpreview"}) {
    const std::string slot = name;
    auto* w = new FlashWidget(
        [this, slot]() -> FlashControl* {
          MainForm* f = formOf_();
          return f ? f->flashSlot(slot).get() : nullptr;
        },
        run_, this);
    w->setObjectName(QString::fromLatin1(name));
    w->hide();
    flash_.push_back(w);
  }
  playlist_ = new PlaylistView(formOf_, run_, this);
  playlist_->hide();
}

MainWindow::~MainWindow() = default;

FlashWidget* MainWindow::flashWidget(const std::string& name) const {
  for (FlashWidget* w : flash_)
    if (w->objectName().toStdString() == name) return w;
  return nullptr;
}

std::vector<const Control*> MainWindow::paintOrder() const {
  std::vector<const Control*> order;
  order.reserve(form().controls.size());
  for (const auto& [name, c] : form().controls) order.push_back(&c);
  // Pictures sent to the back lie under everything else, the backmost first.
  const std::vector<std::string>& back = form().backOrder;
  auto key = [&back](const Control* c) {
    const auto it = std::find(back.begin(), back.end(), c->name);
    if (it != back.end()) return std::pair<int, int>(-1, static_cast<int>(it - back.begin()));
    return rank(*c);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&key](const Control* a, const Control* b) { return key(a) < key(b); });
  return order;
}

const Control* MainWindow::controlAt(const QPoint& pos) const {
  const auto order = paintOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if ((*it)->visible && boundsOf(**it).contains(pos)) return *it;
  return nullptr;
}

const QPixmap& MainWindow::pixmap(const std::string& path) {
  return SkinPictures::instance().pixmap(path);
}

bool MainWindow::Drawn::sameLook(const Control& c) const {
  return bounds == boundsOf(c) && color == c.color && caption == c.caption && picture == c.picture;
}

QRect MainWindow::paintedArea(const Control& c) {
  QRect area = boundsOf(c);
  if (isLabel(c) && !c.caption.empty()) {
    static const QFontMetrics nameMetrics(nameLabelFont());
    static const QFontMetrics readoutMetrics(readoutFont());
    const QFontMetrics& metrics = c.name == "lblfilename" ? nameMetrics : readoutMetrics;
    const int width = metrics.horizontalAdvance(QString::fromStdString(c.caption)) + 2;
    const int grow = std::max(0, width - c.width);
    // Centred names grow to both sides, the others to the right.
    area.adjust(c.name == "lblfilename" ? -grow / 2 - 1 : 0, 0, grow, 2);
    area.setHeight(std::max(area.height(), metrics.height() + 2));
  }
  return area;
}

void MainWindow::repaintChangedControls() {
  // Runs a hundred times a second: only controls whose look changed cost more than a compare.
  QRegion dirty;
  for (const auto& [name, c] : form().controls) {
    auto it = drawn_.find(name);
    if (!c.visible) {
      if (it != drawn_.end()) {
        dirty += it->second.area;
        drawn_.erase(it);
      }
      continue;
    }
    if (it != drawn_.end() && it->second.sameLook(c)) continue;
    Drawn now{boundsOf(c), c.picture, c.caption, c.color, paintedArea(c)};
    dirty += now.area;
    if (it != drawn_.end()) {
      dirty += it->second.area;
      it->second = std::move(now);
    } else {
      drawn_.emplace(name, std::move(now));
    }
  }
  if (!dirty.isEmpty()) update(dirty);
}

void MainWindow::syncFromModel() {
  if (!hasForm()) return;
  const int w = std::max(1, form().windowWidth());
  const int h = std::max(1, form().windowHeight());
  if (pos() != QPoint(form().left, form().top)) move(form().left, form().top);
  if (size() != QSize(w, h)) resize(w, h);
  // Wayland lets no window place itself: there full screen is the compositor's window state.
  static const bool placedByCompositor =
      QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  if (placedByCompositor && isVisible() && isFullScreen() != form().view.coversScreen)
    setWindowState(windowState() ^ Qt::WindowFullScreen);
  syncOutline();
  for (FlashWidget* f : flash_) f->syncFromModel();
  playlist_->syncFromModel();
  repaintChangedControls();
}

void MainWindow::syncOutline() {
  std::optional<std::vector<int>> outline;
  if (form().windowRegion) {
    outline.emplace();
    for (const auto& r : *form().windowRegion)
      outline->insert(outline->end(), {r.left, r.top, r.width, r.height});
  }
  if (outline == lastOutline_) return;
  lastOutline_ = outline;
  if (!outline) {
    clearMask();
    return;
  }
  QRegion region;
  for (const auto& r : *form().windowRegion) region += QRect(r.left, r.top, r.width, r.height);
  setMask(region);
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  if (!hasForm()) return;
  for (const Control* c : paintOrder()) {
    if (!c->visible) continue;
    const QRect r = boundsOf(*c);
    if (!c->picture.empty()) {
      const QPixmap& pm = pixmap(c->picture);
      if (!pm.isNull()) {
        p.save();
        p.setClipRect(r);
        p.drawPixmap(r.topLeft(), pm);
        p.restore();
      }
    }
    if (isLabel(*c)) {
      const bool name = c->name == "lblfilename";
      p.setFont(name ? nameLabelFont() : readoutFont());
      p.setPen(toQColor(c->color, palette()));
      const int align = (name ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
      p.drawText(r, align | Qt::TextDontClip | Qt::TextSingleLine,
                 QString::fromStdString(c->caption));
    }
  }
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    const auto& help = static_cast<const QHelpEvent&>(*e);
    showControlHint(*this, help, controlAt(help.pos()));
    return true;
  }
  return QWidget::event(e);
}

void MainWindow::showMainMenu(const QPoint& globalPos) {
  if (MenuItem* item = execMenu(form().flash1pop, globalPos, this))
    run_([item] { item->invoke(); });
  syncFromModel();
}

void MainWindow::runClick(const std::string& name) {
  MainForm& f = form();
  if (name == "play")
    run_([&] { f.playClick(); });
  else if (name == "stop")
    run_([&] { f.stopClick(); });
  else if (name == "open")
    run_([&] { f.openClick(); });
  else if (name == "opendir")
    run_([&] { f.opendirClick(); });
  else if (name == "listbtnon")
    run_([&] { f.listbtnonClick(); });
  else if (name == "listbtnoff")
    run_([&] { f.listbtnoffClick(); });
  else if (name == "windowsmin")
    run_([&] { f.windowsminClick(); });
  else if (name == "windowsmax")
    run_([&] { f.windowsmaxClick(); });
  else if (name == "exit")
    run_([&] { f.exitClick(); });
  else if (name.size() == 3 && name.compare(0, 2, "vc") == 0 && name[2] >= '1' && name[2] <= '5')
    run_([&, n = name[2] - '0'] { f.vcClick(n); });
}

void MainWindow::pressControl(const Control& c, QMouseEvent* event) {
  const int x = event->position().toPoint().x() - c.left;
  if (c.name == "Imagejct0") {
    run_([&] { form().Imagejct0MouseDown(x); });
  } else if (c.name == "jctcontrol") {
    draggingKnob_ = true;
    run_([&] { form().jctcontrolMouseDown(x); });
  } else if (c.name == "image1") {
    run_([&, left = event->button() == Qt::LeftButton] { form().image1MouseDown(left); });
  } else if (c.name == "Imagelist") {
    run_([&, left = event->button() == Qt::LeftButton] { form().ImagelistMouseDown(left); });
  } else if (event->button() == Qt::LeftButton) {
    pressedSpot_ = c.name;
  }
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  pressedSpot_.clear();
  if (event->button() == Qt::RightButton) {
    showMainMenu(event->globalPosition().toPoint());
    return;
  }
  pressGlobal_ = event->globalPosition().toPoint();
  if (const Control* c = controlAt(event->position().toPoint())) pressControl(*c, event);
  pressGlobal_.reset();
  syncFromModel();
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const Control* c = controlAt(event->position().toPoint());
  if (c && (c->name == "image1" || c->name == "Imagelist") && event->button() == Qt::LeftButton) {
    // Double clicks on the background switch between full screen and the normal view.
    drag_.cancel();
    if (c->name == "image1")
      run_([this] { form().image1DblClick(); });
    else
      run_([this] { form().ImagelistDblClick(); });
    syncFromModel();
    return;
  }
  mousePressEvent(event);  // a second quick press on a spot or the seek bar is a press too
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!hasForm()) return;
  if (draggingKnob_) {
    const Control& knob = form().ctl("jctcontrol");
    const int x = event->position().toPoint().x() - knob.left;
    const int screenX = static_cast<int>(event->globalPosition().x());
    run_([&] { form().jctcontrolMouseMove(x, screenX); });
    syncFromModel();
    return;
  }
  if (auto place = drag_.pointerMoved(*this, event->globalPosition().toPoint(),
                                      event->buttons().testFlag(Qt::LeftButton))) {
    form().left = place->x();
    form().top = place->y();
    move(*place);
    return;
  }
  hover(event->position().toPoint());
}

void MainWindow::hover(const QPoint& pos) {
  // Over the movie or the playlist the pointer belongs to them, not to the skin.
  if (childAt(pos)) return;
  const Control* c = controlAt(pos);
  if (!c) return;
  MainForm& f = form();
  const std::string& name = c->name;
  if (name == "open")
    run_([&] { f.openMouseMove(); });
  else if (name == "opendir")
    run_([&] { f.opendirMouseMove(); });
  else if (name == "play")
    run_([&] { f.playMouseMove(); });
  else if (name == "stop")
    run_([&] { f.stopMouseMove(); });
  else if (name == "image1")
    run_([&] { f.image1MouseMove(); });
  else if (name == "Imagelist")
    run_([&] { f.ImagelistMouseMove(); });
  else
    return;
  repaintChangedControls();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  drag_.cancel();
  const QPoint pos = event->position().toPoint();
  if (draggingKnob_) {
    draggingKnob_ = false;
    const Control& knob = form().ctl("jctcontrol");
    const int x = pos.x() - knob.left;
    const int screenX = static_cast<int>(event->globalPosition().x());
    run_([&] { form().jctcontrolMouseUp(x, screenX); });
  } else if (!pressedSpot_.empty() && event->button() == Qt::LeftButton) {
    const Control* c = controlAt(pos);
    if (c && c->name == pressedSpot_) runClick(pressedSpot_);
  }
  pressedSpot_.clear();
  syncFromModel();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // Moved by the window manager (the user dragged it): the model keeps the position.
  if (isVisible() && !isMinimized()) {
    form().left = x();
    form().top = y();
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // A close that fails part way (a settings write refused) is reported and the window stays.
  if (!run_([this] { form().FormClose(); })) {
    event->ignore();
    syncFromModel();
    return;
  }
  closing_ = true;
  event->accept();
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

namespace {
std::vector<std::string> localPaths(const QMimeData* mime) {
  std::vector<std::string> paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  return paths;
}
}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!localPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (!localPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = localPaths(event->mimeData());
  if (paths.empty()) return;
  event->acceptProposedAction();
  run_([&] { form().fileisdropped(paths); });
  syncFromModel();
}

// ---- WindowHost ---------------------------------------------------------------------------

void MainWindow::show() {
  syncFromModel();
  QWidget::show();
  syncFromModel();  // children follow once the window is visible
}

void MainWindow::hide() { QWidget::hide(); }

void MainWindow::close() {
  // Closed after the running event has finished, through the normal close path.
  QTimer::singleShot(0, this, [this] { QWidget::close(); });
}

void MainWindow::setTopmost(bool topmost) {
  if (testAttribute(Qt::WA_WState_Created) &&
      windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
    return;
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (wasVisible) QWidget::show();  // changing the flags hides the window
}

// Pressed on the background: from the press's place. Pressed on the movie in the main-window-only
// view (the input filter, before the window sees the press): from the pointer's next move.
void MainWindow::startSystemMove() { drag_.arm(pressGlobal_, pos()); }

void MainWindow::minimize() { showMinimized(); }

int MainWindow::cursorX() const { return QCursor::pos().x(); }
int MainWindow::cursorY() const { return QCursor::pos().y(); }

QRect MainWindow::screenArea() const {
  // The screen under the window's middle: the one the user sees it on.
  const QScreen* s = QGuiApplication::screenAt(geometry().center());
  if (!s) s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect();
}

int MainWindow::screenLeft() const { return screenArea().left(); }
int MainWindow::screenTop() const { return screenArea().top(); }
int MainWindow::screenWidth() const { return screenArea().width(); }
int MainWindow::screenHeight() const { return screenArea().height(); }

void MainWindow::popupMainMenu(int x, int y) {
  QTimer::singleShot(0, this, [this, x, y] { showMainMenu(QPoint(x, y)); });
}

void MainWindow::refresh() {
  syncFromModel();
  update();
}

void MainWindow::setBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busyPaint_.start();
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void MainWindow::keepPainting() {
  // A few times a second is enough to look alive; input waits until the command is over.
  if (busyPaint_.isValid() && busyPaint_.elapsed() < 50) return;
  busyPaint_.restart();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                  QEventLoop::ExcludeSocketNotifiers);
}

}  // namespace rv::ui
