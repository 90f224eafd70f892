#include "swf/movie/timeline.h"

#include <cctype>

namespace swf {

int Timeline::findLabel(const std::string& label) const {
  std::string key = label;
  for (char& ch : key) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  auto it = labels.find(key);
  return it == labels.end() ? -1 : it->second;
}

}  // namespace swf
