#pragma once
// Pop-up menus as plain data. Invoking an item (keys, timer, start-up, play modes) runs its
// command only while it is enabled; clicking it (calling the handler) always runs it.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rv {

struct MenuItem {
  std::string name;
  std::string caption;
  std::string shortcut;  // "Ctrl+O", "F1", empty for none
  bool enabled = true;
  bool checked = false;
  bool separator = false;
  std::function<void()> onClick;
  std::vector<MenuItem*> children;  // a non-empty list makes this a submenu
  MenuItem* parent = nullptr;

  void invoke() {
    if (enabled && onClick) onClick();
  }
  void click() {
    if (onClick) onClick();
  }
  bool isSubmenu() const { return !children.empty(); }
};

// Owns the items of one pop-up menu; items are found by name.
class Menu {
 public:
  MenuItem& root() { return root_; }
  const MenuItem& root() const { return root_; }

  MenuItem& add(MenuItem* parent, std::string name, std::string caption, std::string shortcut = {}) {
    auto item = std::make_unique<MenuItem>();
    item->name = std::move(name);
    item->caption = std::move(caption);
    item->shortcut = std::move(shortcut);
    item->parent = parent ? parent : &root_;
    item->parent->children.push_back(item.get());
    if (!item->name.empty()) byName_[item->name] = item.get();
    items_.push_back(std::move(item));
    return *items_.back();
  }
  MenuItem& addSeparator(MenuItem* parent) {
    MenuItem& s = add(parent, {}, "-");
    s.separator = true;
    return s;
  }
  MenuItem& operator[](const std::string& name) { return *byName_.at(name); }
  const MenuItem& operator[](const std::string& name) const { return *byName_.at(name); }
  MenuItem* find(const std::string& name) {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
  }

 private:
  MenuItem root_;
  std::vector<std::unique_ptr<MenuItem>> items_;
  std::map<std::string, MenuItem*> byName_;
};

}  // namespace rv
