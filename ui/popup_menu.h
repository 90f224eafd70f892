#pragma once
// Qt menus built from the model's menus at the moment they pop up, and the menus' shortcut keys.

#include <QKeyCombination>
#include <QPoint>
#include <memory>

#include "app/menu.h"

class QMenu;
class QWidget;

namespace rv::ui {

// A QMenu mirroring `root`'s children: captions, shortcuts shown beside them, separators,
// submenus, check marks and enabled states. Each action carries its MenuItem* as data.
std::unique_ptr<QMenu> buildQMenu(const MenuItem& root, QWidget* parent = nullptr);

// Shows `menu` at `globalPos` and returns the item the user chose, or null. The item is only
// returned, not run: the caller runs it through the dispatch point once the menu has closed.
MenuItem* execMenu(Menu& menu, const QPoint& globalPos, QWidget* parent = nullptr);

// The enabled-or-not item whose shortcut is `key`, or null. Submenus are searched too.
MenuItem* findShortcut(Menu& menu, QKeyCombination key);

}  // namespace rv::ui
