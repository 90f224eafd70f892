#include "playlist/list_file.h"

#include <sys/stat.h>

#include "app/atomic_file.h"
#include "app/errors.h"
#include "app/main_form.h"
#include "playlist/line_reader.h"
#include "playlist/path_text.h"

namespace rv {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Longer lines cannot be paths of files (and would only burden the list): an entry line longer
// than this is skipped like an empty one, and a first line this long is no count.
constexpr size_t kMaxLine = 65536;

// Reads `n` entry lines, keeping the ones that can stand in the list. Past the end of the file
// every line reads empty, so a count larger than the file stops at its end.
void readEntries(LineReader& in, int32_t n, std::vector<std::string>& entries) {
  std::string line;
  for (int32_t i = 0; i < n; ++i) {
    if (!in.next(line, kMaxLine)) break;
    if (!in.cut() && !unfitForList(line)) entries.push_back(std::move(line));
  }
}

}  // namespace

std::optional<PlayModeWord> parsePlayModeWord(std::string_view line) {
  if (line == "default") return PlayModeWord::Default;
  if (line == "gameboy") return PlayModeWord::GameBoy;
  if (line == "mtv_movie") return PlayModeWord::MtvMovie;
  if (line == "mtv_list") return PlayModeWord::MtvList;
  return std::nullopt;
}

const char* playModeWordText(PlayModeWord mode) {
  switch (mode) {
    case PlayModeWord::Default:
      return "default";
    case PlayModeWord::GameBoy:
      return "gameboy";
    case PlayModeWord::MtvMovie:
      return "mtv_movie";
    case PlayModeWord::MtvList:
      return "mtv_list";
  }
  return "default";
}

std::optional<int32_t> parseCount(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return std::nullopt;  // no digits
  uint64_t value = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < s.size(); ++i) {
    int d = hex ? hexValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  uint32_t word = static_cast<uint32_t>(value);
  if (negative) word = 0u - word;
  return static_cast<int32_t>(word);
}

ListFileContent readListFileAt(const std::string& path, bool playModeAllowed) {
  using Status = ListFileContent::Status;
  ListFileContent out;
  LineReader in(path);
  std::string line;
  in.next(line, kMaxLine);
  if (line.empty()) {
    out.status = Status::EmptyFirstLine;
    return out;
  }
  std::optional<int32_t> count = in.cut() ? std::nullopt : parseCount(line);
  if (!count) {
    out.playMode = playModeAllowed ? parsePlayModeWord(line) : std::nullopt;
    if (!out.playMode) {
      out.status = Status::BadFirstLine;
      return out;
    }
    in.next(line, kMaxLine);
    count = in.cut() ? std::nullopt : parseCount(line);
    if (!count) {
      out.status = Status::BadCountAfterPlayMode;
      return out;
    }
  }
  readEntries(in, *count, out.entries);
  return out;
}

std::string formatListFile(std::optional<PlayModeWord> playMode,
                           const std::vector<std::string>& entries) {
  size_t size = 32;
  for (const auto& e : entries) size += e.size() + 2;
  std::string out;
  out.reserve(size);
  if (playMode) {
    out += playModeWordText(*playMode);
    out += "\r\n";
  }
  out += std::to_string(entries.size());
  out += "\r\n";
  for (const auto& e : entries) {
    out += e;
    out += "\r\n";
  }
  return out;
}

void readListFile(MainForm& form) {
  std::string path = form.listFilePath();
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return;
  ListFileContent content = readListFileAt(path, false);
  if (content.status == ListFileContent::Status::EmptyFirstLine) return;
  if (content.status != ListFileContent::Status::Ok)
    throw AppError("The first line of " + path + " is not a count");
  auto& items = form.flashlist.items;
  if (items.empty()) {
    items = std::move(content.entries);
  } else {
    items.insert(items.end(), std::make_move_iterator(content.entries.begin()),
                 std::make_move_iterator(content.entries.end()));
  }
}

void writeListFile(MainForm& form) {
  std::string path = form.listFilePath();
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  const auto& items = form.flashlist.items;
  writeFileAtomically(path, items.empty() ? std::string() : formatListFile(std::nullopt, items));
}

}  // namespace rv
