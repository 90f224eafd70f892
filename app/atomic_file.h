#pragma once
// Replacing a file so that it is never seen half-written: the content goes to a new file in the
// same directory, is flushed to the disk, and is renamed over the old one.

#include <string>

namespace rv {

// Raises AppError when the file cannot be written: missing directory, a read-only file (refused
// even where the process could override the permission bits), full disk. The old file is then
// left as it was and no temporary file stays behind.
void writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace rv
