#include "platform/key_file_text.h"

namespace rv {
namespace {

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool isHeader(const std::string& line) {
  std::string t = trimmed(line);
  return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

}  // namespace

KeyFileText::KeyFileText(const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos) {
      lines_.push_back(text.substr(at));
      endsWithNewline_ = false;
      break;
    }
    lines_.push_back(text.substr(at, nl - at));
    at = nl + 1;
  }
}

KeyFileText::Range KeyFileText::findGroup(const std::string& group) const {
  const std::string header = "[" + group + "]";
  Range r;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (!r.found) {
      if (trimmed(lines_[i]) == header) {
        r.found = true;
        r.begin = r.end = i + 1;
      }
    } else if (isHeader(lines_[i])) {
      break;
    } else {
      r.end = i + 1;
    }
  }
  return r;
}

bool KeyFileText::isKeyLine(const std::string& line, const std::string& key, std::string* value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  if (trimmed(line.substr(0, eq)) != key) return false;
  if (value) *value = trimmed(line.substr(eq + 1));
  return true;
}

std::optional<std::string> KeyFileText::get(const std::string& group,
                                            const std::string& key) const {
  Range r = findGroup(group);
  std::string value;
  for (size_t i = r.begin; r.found && i < r.end; ++i)
    if (isKeyLine(lines_[i], key, &value)) return value;
  return std::nullopt;
}

void KeyFileText::set(const std::string& group, const std::string& key, const std::string& value) {
  const std::string line = key + "=" + value;
  Range r = findGroup(group);
  if (!r.found) {
    if (!lines_.empty() && !trimmed(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + group + "]");
    lines_.push_back(line);
    endsWithNewline_ = true;
    return;
  }
  bool done = false;
  size_t lastFilled = r.begin;  // where a new key goes: after the group's last non-blank line
  for (size_t i = r.begin; i < r.end;) {
    if (isKeyLine(lines_[i], key, nullptr)) {
      if (!done) {
        lines_[i] = line;
        done = true;
      } else {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
        --r.end;
        continue;
      }
    }
    if (!trimmed(lines_[i]).empty()) lastFilled = i + 1;
    ++i;
  }
  if (!done) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastFilled), line);
    if (lastFilled == lines_.size() - 1) endsWithNewline_ = true;
  }
}

void KeyFileText::remove(const std::string& group, const std::string& key) {
  Range r = findGroup(group);
  for (size_t i = r.begin; r.found && i < r.end;) {
    if (isKeyLine(lines_[i], key, nullptr)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      --r.end;
    } else {
      ++i;
    }
  }
}

std::string KeyFileText::text() const {
  std::string out;
  for (size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i];
    if (i + 1 < lines_.size() || endsWithNewline_) out += '\n';
  }
  return out;
}

std::string firstListEntry(const std::string& value) {
  return trimmed(value.substr(0, value.find(';')));
}

}  // namespace rv
