#include "ui/popup_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace rv::ui {
namespace {

MenuItem* itemOf(const QAction* action) {
  return action ? static_cast<MenuItem*>(action->data().value<void*>()) : nullptr;
}

void fill(QMenu& menu, const MenuItem& parent) {
  for (MenuItem* item : parent.children) {
    if (item->separator) {
      menu.addSeparator();
      continue;
    }
    // Captions are shown as written: an '&' (a skin directory may have one) is no accelerator.
    QString text =
        QString::fromStdString(item->caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (item->isSubmenu()) {
      QMenu* sub = menu.addMenu(text);
      sub->menuAction()->setEnabled(item->enabled);
      sub->menuAction()->setData(QVariant::fromValue(static_cast<void*>(item)));
      fill(*sub, *item);
      continue;
    }
    // The shortcut is shown, not bound: the main window runs shortcuts itself, while the menu is
    // closed, and a bound one here would compete with it.
    if (!item->shortcut.empty()) {
      const QKeySequence seq = QKeySequence::fromString(QString::fromStdString(item->shortcut));
      text += QLatin1Char('\t') + seq.toString(QKeySequence::NativeText);
    }
    QAction* action = menu.addAction(text);
    action->setEnabled(item->enabled);
    action->setCheckable(item->checked);
    action->setChecked(item->checked);
    action->setData(QVariant::fromValue(static_cast<void*>(item)));
  }
}

MenuItem* findIn(MenuItem& parent, QKeyCombination key) {
  for (MenuItem* item : parent.children) {
    if (item->separator) continue;
    if (item->isSubmenu()) {
      if (MenuItem* found = findIn(*item, key)) return found;
      continue;
    }
    if (item->shortcut.empty()) continue;
    const QKeySequence seq = QKeySequence::fromString(QString::fromStdString(item->shortcut));
    if (seq.count() == 1 && seq[0] == key) return item;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<QMenu> buildQMenu(const MenuItem& root, QWidget* parent) {
  auto menu = std::make_unique<QMenu>(parent);
  fill(*menu, root);
  return menu;
}

MenuItem* execMenu(Menu& menu, const QPoint& globalPos, QWidget* parent) {
  auto qmenu = buildQMenu(menu.root(), parent);
  return itemOf(qmenu->exec(globalPos));
}

MenuItem* findShortcut(Menu& menu, QKeyCombination key) { return findIn(menu.root(), key); }

}  // namespace rv::ui
