#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "app/atomic_file.h"
#include "app/errors.h"

namespace rv {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// The text of a settings file; nothing for a missing file, and for anything that cannot be one:
// a directory, a pipe or a device (not blocking on a pipe without a writer), or a file far larger
// than any settings file (reading it for every key would hold the program for minutes).
std::optional<std::string> readWholeFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > SettingsFile::kMaxFileSize) {
    close(fd);
    return std::nullopt;
  }
  std::string text;
  char buf[1 << 16];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > static_cast<std::size_t>(SettingsFile::kMaxFileSize)) break;  // it grew
  }
  close(fd);
  if (text.size() > static_cast<std::size_t>(SettingsFile::kMaxFileSize)) return std::nullopt;
  return text;
}

// A line "[name]" (blanks allowed around it) names a section; anything after the closing bracket
// is ignored, as profile readers do.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key, value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
  auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view key = trim(line.substr(0, eq));
  if (key.empty() || key.front() == ';') return std::nullopt;
  return KeyLine{key, trim(line.substr(eq + 1))};
}

// Splits into lines without copying; each line excludes its '\n' (a '\r' before it is kept and
// dropped by trim where it matters).
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto nl = text.find('\n', start);
    if (nl == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

bool hexValue(std::string_view digits, int& out) {
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  // Eight hex digits fill the 32 bits: 0x80000005 is the negative int of the same bits.
  out = static_cast<int>(v);
  return true;
}

bool decimalValue(std::string_view text, int& out) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > int64_t{2147483648}) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

bool SettingsFile::parseInt(const std::string& raw, int& out) {
  std::string_view text = trim(raw);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return hexValue(text.substr(2), out);
  if (!text.empty() && text.front() == '$') return hexValue(text.substr(1), out);
  return decimalValue(text, out);
}

std::string SettingsFile::readString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
  auto text = readWholeFile(path_);
  if (!text) return def;
  bool inSection = false;
  for (std::string_view line : splitLines(*text)) {
    if (auto name = sectionName(line)) {
      inSection = sameName(*name, section);
      continue;
    }
    if (!inSection) continue;
    auto kv = keyLine(line);
    if (kv && sameName(kv->key, key))
      return std::string(kv->value.substr(0, std::min(kv->value.size(), kMaxValueLength)));
  }
  return def;
}

int SettingsFile::readInt(const std::string& section, const std::string& key, int def) const {
  // A sentinel that no stored text can produce tells a missing key from a present one.
  static const std::string kMissing(1, '\0');
  std::string text = readString(section, key, kMissing);
  if (text == kMissing) return def;
  int v;
  return parseInt(text, v) ? v : def;
}

bool SettingsFile::readBool(const std::string& section, const std::string& key, bool def) const {
  return readInt(section, key, def ? 1 : 0) != 0;
}

std::string SettingsFile::withValue(const std::string& text, const std::string& section,
                                    const std::string& key, const std::string& rawValue) {
  // A line break would end the value early and turn the rest into lines of its own.
  std::string value = rawValue.substr(0, rawValue.find_first_of("\r\n"));
  const bool crlf = text.find("\r\n") != std::string::npos;
  const std::string cr = crlf ? "\r" : "";

  std::vector<std::string> lines;
  for (std::string_view line : splitLines(text)) lines.emplace_back(line);

  // The first section of that name holds the key; a new key goes after its last non-blank line.
  std::size_t header = lines.size();
  for (std::size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
    auto name = sectionName(lines[i]);
    if (name && sameName(*name, section)) header = i;
  }
  if (header == lines.size()) {
    lines.push_back("[" + section + "]" + cr);
    lines.push_back(key + "=" + value + cr);
  } else {
    std::size_t insertAt = header + 1;
    bool replaced = false;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
      if (sectionName(lines[i])) break;
      auto kv = keyLine(lines[i]);
      if (kv && sameName(kv->key, key)) {
        bool lineCr = !lines[i].empty() && lines[i].back() == '\r';
        lines[i] = key + "=" + value + (lineCr ? "\r" : "");
        replaced = true;
        break;
      }
      if (!trim(lines[i]).empty()) insertAt = i + 1;
    }
    if (!replaced) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), key + "=" + value + cr);
    }
  }

  std::string out;
  out.reserve(text.size() + key.size() + value.size() + section.size() + 8);
  for (const auto& line : lines) {
    out += line;
    out += '\n';
  }
  return out;
}

void SettingsFile::writeString(const std::string& section, const std::string& key,
                               const std::string& value) {
  if (pending_) {
    *pending_ = withValue(*pending_, section, key, value);
    return;
  }
  writeFileAtomically(path_, withValue(currentText(), section, key, value));
}

std::string SettingsFile::currentText() const {
  if (auto text = readWholeFile(path_)) return *text;
  // A file that cannot be read is not replaced by one holding only the keys written now; a
  // directory or a pipe is refused by the write itself.
  struct stat st;
  if (stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  if (st.st_size > kMaxFileSize)
    throw AppError("cannot write " + path_ + ": too large for a settings file");
  throw AppError("cannot write " + path_ + ": it cannot be read");
}

void SettingsFile::beginWrites() { pending_ = currentText(); }

void SettingsFile::commitWrites() {
  if (!pending_) return;
  std::string text = std::move(*pending_);
  pending_.reset();
  writeFileAtomically(path_, text);
}

void SettingsFile::dropWrites() { pending_.reset(); }

void SettingsFile::writeInt(const std::string& section, const std::string& key, int value) {
  writeString(section, key, std::to_string(value));
}

void SettingsFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

}  // namespace rv
