#pragma once
// A key file of the freedesktop.org kind (mimeapps.list, desktop entries) edited line by line:
// "[Group]" headers and "key=value" lines. Lines that are not touched stay byte for byte as they
// were, whatever they hold (comments, other groups, even bytes that are not text at all).

#include <optional>
#include <string>
#include <vector>

namespace rv {

class KeyFileText {
 public:
  explicit KeyFileText(const std::string& text);

  // The value of the first `key` line of `group` (blanks around the '=' dropped).
  std::optional<std::string> get(const std::string& group, const std::string& key) const;
  // Sets the first `key` line of `group` and drops any repeated ones; a missing key goes after
  // the group's last line, a missing group at the end of the file.
  void set(const std::string& group, const std::string& key, const std::string& value);
  // Removes every `key` line of `group`.
  void remove(const std::string& group, const std::string& key);

  std::string text() const;

 private:
  struct Range {
    size_t begin = 0, end = 0;  // the lines after the header
    bool found = false;
  };
  Range findGroup(const std::string& group) const;
  static bool isKeyLine(const std::string& line, const std::string& key, std::string* value);

  std::vector<std::string> lines_;
  bool endsWithNewline_ = true;
};

// The first desktop file id of a mimeapps.list value "a.desktop;b.desktop;".
std::string firstListEntry(const std::string& value);

}  // namespace rv
