#pragma once
// The playlist box: draws only the visible rows of the model's list (a list may hold 100,000
// entries), forwards clicks, keys and hover to the shell's list handlers and opens listpop.

#include <QAbstractScrollArea>
#include <functional>
#include <string>

#include "ui/runner.h"

namespace rv {
class MainForm;
}

namespace rv::ui {

class PlaylistView : public QAbstractScrollArea {
 public:
  PlaylistView(std::function<MainForm*()> form, Runner run, QWidget* parent = nullptr);

  // Takes geometry, rows, scroll positions and colours from the model; repaints on change.
  void syncFromModel();
  // Index of the row at viewport y, or -1 below the last row.
  int rowAt(int y) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Snapshot {
    size_t count = 0;
    int itemIndex = -1, topIndex = 0, extent = 0, fileindex = -1;
    uint32_t color = 0;
    bool flash1Loaded = false;
    const void* firstItem = nullptr;  // changes when the list is rebuilt
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot snapshot() const;
  int visibleRows() const;
  void updateScrollBars();
  void select(int row);  // selects, scrolls it into view, runs the list's click
  void showHint(const QPoint& viewportPos);

  MainForm& form() const { return *formOf_(); }
  std::function<MainForm*()> formOf_;
  Runner run_;
  Snapshot last_;
  bool settingBars_ = false;  // updateScrollBars is setting the bars from the model
  std::string shownHint_;
};

}  // namespace rv::ui
