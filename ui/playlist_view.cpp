#include "ui/playlist_view.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "app/main_form.h"
#include "ui/key_map.h"
#include "ui/model_colors.h"
#include "ui/popup_menu.h"

namespace rv::ui {
namespace {
const QColor kRowText(0, 128, 0);         // 0x008000
const QColor kCurrentRowText(255, 0, 0);  // 255

// Moves the window QToolTip shows its text in (Qt names it so; it may still be fading in).
void moveToolTipTo(const QPoint& at) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("qtooltip_label")) w->move(at);
}
}  // namespace

PlaylistView::PlaylistView(std::function<MainForm*()> form, Runner run, QWidget* parent)
    : QAbstractScrollArea(parent), formOf_(std::move(form)), run_(std::move(run)) {
  setObjectName(QStringLiteral("flashlist"));
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setFont(playlistFont());
  viewport()->setMouseTracking(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

PlaylistView::Snapshot PlaylistView::snapshot() const {
  const ListBox& list = form().flashlist;
  Snapshot s;
  s.count = list.items.size();
  s.itemIndex = list.itemIndex;
  s.topIndex = list.topIndex;
  s.extent = list.horizontalExtent;
  s.fileindex = form().fileindex;
  s.color = list.color;
  s.flash1Loaded = form().Flash1 && form().Flash1->hasMovie();
  s.firstItem = list.items.empty() ? nullptr : list.items.data();
  return s;
}

int PlaylistView::visibleRows() const {
  return std::max(1, viewport()->height() / std::max(1, form().flashlist.itemHeight));
}

int PlaylistView::rowAt(int y) const {
  const ListBox& list = form().flashlist;
  if (y < 0) return -1;
  const long row = static_cast<long>(list.topIndex) + y / std::max(1, list.itemHeight);
  return row < static_cast<long>(list.items.size()) ? static_cast<int>(row) : -1;
}

void PlaylistView::syncFromModel() {
  if (!formOf_()) return;
  const ListBox& list = form().flashlist;
  const QRect bounds(list.left, list.top, std::max(0, list.width), std::max(0, list.height));
  if (geometry() != bounds) setGeometry(bounds);
  if (isVisible() != list.visible && parentWidget() && parentWidget()->isVisible())
    setVisible(list.visible);
  const Snapshot now = snapshot();
  if (now == last_) return;
  last_ = now;
  updateScrollBars();
  viewport()->update();
}

void PlaylistView::updateScrollBars() {
  const ListBox& list = form().flashlist;
  const int count = static_cast<int>(std::min<size_t>(list.items.size(), INT32_MAX));
  // The bars keep their signals: the scroll area shows or hides a bar when its range changes.
  // Only taking the bar's value back into the model waits while the model's values are set.
  settingBars_ = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, count - visibleRows()));
  v->setPageStep(visibleRows());
  v->setValue(list.topIndex);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, list.horizontalExtent - viewport()->width()));
  h->setPageStep(std::max(1, viewport()->width()));
  settingBars_ = false;
}

void PlaylistView::scrollContentsBy(int, int) {
  // Scrolled by the user: the first visible row is the model's.
  if (!settingBars_) {
    form().flashlist.topIndex = verticalScrollBar()->value();
    last_.topIndex = form().flashlist.topIndex;
  }
  viewport()->update();
}

void PlaylistView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void PlaylistView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  if (!formOf_()) return;
  const ListBox& list = form().flashlist;
  const QColor background = toQColor(list.color, palette());
  p.fillRect(viewport()->rect(), background);
  p.setFont(font());
  const int rowHeight = std::max(1, list.itemHeight);
  const int dx = horizontalScrollBar()->value();
  const int width = viewport()->width();
  int y = 0;
  for (size_t i = static_cast<size_t>(std::max(0, list.topIndex));
       i < list.items.size() && y < viewport()->height(); ++i, y += rowHeight) {
    const int row = static_cast<int>(i);
    const QRect r(0, y, width, rowHeight);
    QColor text = kRowText;
    if (row == list.itemIndex) {
      p.fillRect(r, palette().color(QPalette::Highlight));
      text = palette().color(QPalette::HighlightedText);
    }
    if (form().flashlistRowIsCurrent(row)) text = kCurrentRowText;
    p.setPen(text);
    p.drawText(
        QRect(r.left() + 4 - dx, r.top(), std::max(width, list.horizontalExtent) + 4, rowHeight),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
        QString::fromStdString(form().flashlistRowText(row)));
  }
}

void PlaylistView::select(int row) {
  ListBox& list = form().flashlist;
  if (row < 0 || row >= static_cast<int>(list.items.size())) return;
  list.itemIndex = row;
  const int rows = visibleRows();
  if (row < list.topIndex) list.topIndex = row;
  if (row >= list.topIndex + rows) list.topIndex = row - rows + 1;
  run_([this] { form().flashlistClick(); });
  syncFromModel();
}

void PlaylistView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    select(rowAt(pos.y()));
    return;
  }
  if (event->button() == Qt::RightButton) {
    if (MenuItem* item = execMenu(form().listpop, event->globalPosition().toPoint(), this))
      run_([item] { item->invoke(); });
    syncFromModel();
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void PlaylistView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  run_([this] { form().flashlistDblClick(); });
  setFocus(Qt::MouseFocusReason);
  syncFromModel();
}

void PlaylistView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  run_([&] { form().flashlistMouseMove(pos.x(), pos.y()); });
  if (QToolTip::isVisible() && form().flashlistHint != shownHint_) showHint(pos);
}

void PlaylistView::showHint(const QPoint& pos) {
  shownHint_ = form().flashlistHint;
  if (shownHint_.empty()) {
    QToolTip::hideText();
    return;
  }
  const MainForm::HintPlacement place = form().ApplicationEvents1ShowHint(pos.y());
  if (!place.atListRow) {
    QToolTip::showText(viewport()->mapToGlobal(pos), QString::fromStdString(shownHint_),
                       viewport());
    return;
  }
  // Qt puts a tip below and right of the point it is given, clear of the pointer; the list's
  // hint belongs exactly on the row, so the tip is moved there once shown.
  const QPoint at(place.x, place.y);
  QToolTip::showText(at, QString::fromStdString(shownHint_), viewport());
  moveToolTipTo(at);
}

bool PlaylistView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    showHint(static_cast<QHelpEvent*>(event)->pos());
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void PlaylistView::keyPressEvent(QKeyEvent* event) {
  const Key key = toModelKey(event->key());
  run_([&] { form().flashlistKeyDown(key); });

  const ListBox& list = form().flashlist;
  const int count = static_cast<int>(std::min<size_t>(list.items.size(), INT32_MAX));
  const int current = list.itemIndex;
  const int page = std::max(1, visibleRows() - 1);
  int target = -2;
  switch (event->key()) {
    case Qt::Key_Up:
      target = std::max(0, current - 1);
      break;
    case Qt::Key_Down:
      target = std::min(count - 1, current + 1);
      break;
    case Qt::Key_PageUp:
      target = std::max(0, current - page);
      break;
    case Qt::Key_PageDown:
      target = std::min(count - 1, std::max(0, current) + page);
      break;
    case Qt::Key_Home:
      target = 0;
      break;
    case Qt::Key_End:
      target = count - 1;
      break;
    default:
      break;
  }
  if (target != -2) {
    if (count > 0 && target != current) select(target);
    return;
  }

  // Typed characters: the list's own handler first, then the box jumps to the next entry that
  // starts with the character, as a list box does.
  // Delete is a key, not a character: it types nothing.
  const QByteArray typed = event->key() == Qt::Key_Delete ? QByteArray() : event->text().toUtf8();
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (typed.isEmpty() && !enter) return;
  const char ch = enter ? '\r' : typed.front();
  run_([&] { form().flashlistKeyPress(ch); });
  if (!enter && static_cast<unsigned char>(ch) >= 0x20 && count > 0) {
    const QChar wanted = QString::fromUtf8(typed).front().toCaseFolded();
    for (int step = 1; step <= count; ++step) {
      const int row = ((current < 0 ? -1 : current) + step) % count;
      const std::string& entry = list.items[static_cast<size_t>(row)];
      if (!entry.empty() &&
          QString::fromUtf8(entry.data(),
                            std::min<qsizetype>(4, static_cast<qsizetype>(entry.size())))
                  .front()
                  .toCaseFolded() == wanted) {
        select(row);
        break;
      }
    }
  }
  setFocus();
  syncFromModel();
}

}  // namespace rv::ui
