// File associations the freedesktop.org way, under the user's XDG directories only:
//   $XDG_DATA_HOME/applications/reelvista.desktop       our desktop entry
//   $XDG_DATA_HOME/mime/packages/reelvista.xml          the list type (*.flt)
//   $XDG_DATA_HOME/icons/hicolor/NxN/mimetypes/...      its icon, copied from the program directory
//   $XDG_CONFIG_HOME/mimeapps.list                      the defaults
//   $XDG_CONFIG_HOME/reelvista/replaced-defaults.list   the defaults we took over, given back later
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/associations.h"
#include "platform/desktop_entry.h"
#include "platform/key_file_text.h"
#include "platform/user_files.h"
#include "platform/xdg_dirs.h"

extern char** environ;

namespace rv {
namespace {

constexpr const char* kDefaults = "Default Applications";
constexpr const char* kIconSizes[] = {"16x16", "24x24",   "32x32",  "48x48",
                                      "64x64", "128x128", "256x256"};

// Runs a desktop database tool when it is installed; its output is of no interest here.
void refresh(const char* tool, const std::string& dir) {
  if (!isDirectory(dir)) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string toolName = tool;
  std::string arg = dir;
  char* argv[] = {toolName.data(), arg.data(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, tool, &actions, nullptr, argv, environ) == 0) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

class XdgAssociations : public Associations {
 public:
  explicit XdgAssociations(std::string program) : program_(std::move(program)) {
    programDir_ = program_.substr(0, program_.rfind('/') + 1);
  }

  bool flashFilesAssociated() override { return isOurs(kFlashTypes[0]); }
  bool listFilesAssociated() override { return isOurs(kListType); }

  std::string associateFlashFiles(bool on) override {
    std::string error;
    if (on && !checkExec(error)) return error;
    error = on ? takeDefaults({kFlashTypes[0], kFlashTypes[1]})
               : giveBackDefaults({kFlashTypes[0], kFlashTypes[1]});
    return error.empty() ? writeEntry(on) : error;
  }

  std::string associateListFiles(bool on) override {
    std::string error;
    const std::string mimeDir = xdgDataHome() + "/mime";
    if (on) {
      if (!checkExec(error) || !makeDirectories(mimeDir + "/packages", &error) ||
          !replaceFile(mimeDir + "/packages/reelvista.xml", mimePackageText(), &error))
        return error;
      copyListIcons();
      refresh("update-mime-database", mimeDir);
      error = takeDefaults({kListType});
    } else {
      // As the list class is deleted whole: the package, its icons and the default go.
      std::remove((mimeDir + "/packages/reelvista.xml").c_str());
      for (const char* size : kIconSizes) std::remove(iconPath(xdgDataHome(), size).c_str());
      refresh("update-mime-database", mimeDir);
      error = giveBackDefaults({kListType});
    }
    return error.empty() ? writeEntry(on) : error;
  }

 private:
  static std::string mimeappsPath() { return xdgConfigHome() + "/mimeapps.list"; }
  static std::string replacedPath() {
    return xdgConfigHome() + "/reelvista/replaced-defaults.list";
  }
  static std::string entryPath() { return xdgDataHome() + "/applications/" + kDesktopFileId; }
  static std::string iconPath(const std::string& dataDir, const char* size) {
    return dataDir + "/icons/hicolor/" + size + "/mimetypes/" + kListIcon + ".png";
  }

  static KeyFileText load(const std::string& path) {
    std::string text;
    readWholeFile(path, text);
    return KeyFileText(text);
  }

  // A file we are about to rewrite: one that is there but cannot be read is left alone, so the
  // user's lines are never replaced by ours alone.
  static bool loadForEditing(const std::string& path, KeyFileText& out, std::string& error) {
    std::string text;
    if (!readWholeFile(path, text) && access(path.c_str(), F_OK) == 0) {
      error = "Cannot read " + path;
      return false;
    }
    out = KeyFileText(text);
    return true;
  }

  // Ours: the default for the type is our entry, and our entry starts this very program.
  bool isOurs(const char* type) const {
    auto value = load(mimeappsPath()).get(kDefaults, type);
    if (!value || firstListEntry(*value) != kDesktopFileId) return false;
    auto exec = execLine(program_);
    auto written = load(entryPath()).get("Desktop Entry", "Exec");
    return exec && written && *written == *exec;
  }

  bool checkExec(std::string& error) const {
    if (execLine(program_)) return true;
    error = "The program's path " + program_ +
            " cannot be written in a desktop entry (it holds control characters or is not "
            "UTF-8); move the program to another directory.";
    return false;
  }

  // (Re)writes our entry. It lists only the types whose default is ours: an entry that lists a
  // type is a handler of it, and the desktop falls back on the user's handlers before the
  // system's, so a listed type would keep opening here after it was given back. An entry that
  // lists nothing is only rewritten where it exists (it is also the program's launcher).
  std::string writeEntry(bool making) const {
    auto exec = execLine(program_);
    if (!exec) return {};
    const KeyFileText mimeapps = load(mimeappsPath());
    std::vector<std::string> types;
    for (const char* t : {kFlashTypes[0], kFlashTypes[1], kListType}) {
      auto value = mimeapps.get(kDefaults, t);
      if (value && firstListEntry(*value) == kDesktopFileId) types.emplace_back(t);
    }
    if (!making && types.empty() && !isRegularFile(entryPath())) return {};
    const std::string ownIcon = programDir_ + "icons/hicolor/256x256/apps/reelvista.png";
    const std::string icon = isRegularFile(ownIcon) ? ownIcon : "reelvista";
    const std::string dir = xdgDataHome() + "/applications";
    std::string error;
    if (!makeDirectories(dir, &error) ||
        !replaceFile(entryPath(), desktopEntryText(*exec, icon, types), &error))
      return error;
    refresh("update-desktop-database", dir);
    return {};
  }

  void copyListIcons() const {
    for (const char* size : kIconSizes) {
      const std::string from = iconPath(programDir_ + "icons", size);
      if (!isRegularFile(from)) continue;
      const std::string to = iconPath(xdgDataHome(), size);
      if (makeDirectories(to.substr(0, to.rfind('/')), nullptr)) copyFile(from, to, nullptr);
    }
  }

  // mimeapps.list and the defaults we replaced, both to be edited.
  static bool loadDefaults(KeyFileText& mimeapps, KeyFileText& replaced, std::string& error) {
    return loadForEditing(mimeappsPath(), mimeapps, error) &&
           loadForEditing(replacedPath(), replaced, error);
  }

  // Makes our entry the default for `types`, remembering the defaults it replaces.
  std::string takeDefaults(std::initializer_list<const char*> types) const {
    KeyFileText mimeapps(""), replaced("");
    std::string error;
    if (!loadDefaults(mimeapps, replaced, error)) return error;
    for (const char* type : types) {
      auto old = mimeapps.get(kDefaults, type);
      // Already ours: what was replaced stays remembered (repeated lines of ours still go).
      const bool ours = old && firstListEntry(*old) == kDesktopFileId;
      if (old && !old->empty() && !ours)
        replaced.set(kDefaults, type, *old);
      else if (!ours)
        replaced.remove(kDefaults, type);
      mimeapps.set(kDefaults, type, std::string(kDesktopFileId) + ";");
    }
    if (!makeDirectories(xdgConfigHome() + "/reelvista", &error) ||
        !replaceFile(replacedPath(), replaced.text(), &error) ||
        !replaceFile(mimeappsPath(), mimeapps.text(), &error))
      return error;
    return {};
  }

  // Where our entry is the default: the one we replaced comes back, or none is left.
  std::string giveBackDefaults(std::initializer_list<const char*> types) const {
    KeyFileText mimeapps(""), replaced("");
    std::string error;
    if (!loadDefaults(mimeapps, replaced, error)) return error;
    bool changed = false;
    for (const char* type : types) {
      auto now = mimeapps.get(kDefaults, type);
      if (now && firstListEntry(*now) == kDesktopFileId) {
        auto before = replaced.get(kDefaults, type);
        if (before)
          mimeapps.set(kDefaults, type, *before);
        else
          mimeapps.remove(kDefaults, type);
        changed = true;
      }
      replaced.remove(kDefaults, type);
    }
    if (changed && !replaceFile(mimeappsPath(), mimeapps.text(), &error)) return error;
    if (isRegularFile(replacedPath())) replaceFile(replacedPath(), replaced.text(), nullptr);
    return {};
  }

  std::string program_;
  std::string programDir_;
};

}  // namespace

std::unique_ptr<Associations> makeXdgAssociations(std::string program) {
  return std::make_unique<XdgAssociations>(std::move(program));
}

}  // namespace rv
