#pragma once
// The two file operations of the list editing commands. Neither ever replaces another file.

#include <string>

namespace rv {

// A file (not a directory) exists at `path`.
bool fileExists(const std::string& path);

// Renames `from` to `to` unless something else already has that name; renaming a file to its
// own name succeeds without doing anything.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

// Copies `from` to a new file `to`, in chunks; false when `to` exists or anything fails, in
// which case no file `to` is left behind.
bool copyWithoutOverwriting(const std::string& from, const std::string& to);

}  // namespace rv
