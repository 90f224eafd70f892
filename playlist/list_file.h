#pragma once
// The movie list file (.flt): an optional play-mode word, a count line, then one path a line.
// Lines are written with CR LF; on reading a line ends at LF and every CR is dropped.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rv {

class MainForm;

enum class PlayModeWord { Default, GameBoy, MtvMovie, MtvList };

std::optional<PlayModeWord> parsePlayModeWord(std::string_view line);
const char* playModeWordText(PlayModeWord mode);

// The count line: optional leading blanks, an optional sign, then decimal digits or hexadecimal
// digits after "$", "x" or "0x" (either case of x); nothing else. The value is a signed 32-bit
// integer (hexadecimal up to FFFFFFFF wraps, as 32-bit words do).
std::optional<int32_t> parseCount(std::string_view line);

struct ListFileContent {
  enum class Status {
    Ok,                     // entries (maybe none) and maybe a play mode
    EmptyFirstLine,         // nothing to apply
    BadFirstLine,           // neither a count nor a play-mode word
    BadCountAfterPlayMode,  // a play-mode word, then no count
  };
  Status status = Status::Ok;
  std::optional<PlayModeWord> playMode;
  std::vector<std::string> entries;  // the non-empty entry lines that can name a file
};

// Reads the list file at `path`. `playModeAllowed` is false for the persisted playlist, whose
// first line is always the count. Fails to open or read: AppError.
ListFileContent readListFileAt(const std::string& path, bool playModeAllowed);

// The bytes of a list file.
std::string formatListFile(std::optional<PlayModeWord> playMode,
                           const std::vector<std::string>& entries);

// The persisted playlist (config/listfile.flt), read by the start-up and written by the close
// of the main window. Both do nothing when the file does not exist: the program never creates
// it. A first line that is not a count raises AppError.
void readListFile(MainForm& form);
void writeListFile(MainForm& form);

}  // namespace rv
