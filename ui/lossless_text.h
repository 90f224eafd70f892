#pragma once
// The shell's texts are bytes (file names above all), UTF-8 where they are valid but not always.
// A Qt text box holds UTF-16, so a byte that is no UTF-8 shows as U+FFFD and cannot come back by
// itself. This keeps the original bytes beside the shown text: reading an edited text back, the
// parts the user left as they were keep their exact bytes, and only what was typed is UTF-8.

#include <QString>
#include <string>
#include <vector>

namespace rv::ui {

class LosslessText {
 public:
  explicit LosslessText(std::string bytes);

  // What the box shows: valid UTF-8 decoded, every other byte as U+FFFD.
  const QString& shown() const { return shown_; }
  // The bytes of `edited`: the original bytes for the unchanged start and end, UTF-8 between.
  std::string bytesOf(const QString& edited) const;

 private:
  std::string bytes_;
  QString shown_;
  std::vector<std::size_t> byteAt_;  // the byte where each UTF-16 unit's character starts; + end
};

}  // namespace rv::ui
