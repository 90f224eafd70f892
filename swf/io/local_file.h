#pragma once
// Reading and replacing small local files for scripts: bounded reads that never block on a pipe
// or read a huge file whole, and replacements that leave the old file or the new one, never half.

#include <cstdint>
#include <string>

namespace swf {

// Reads the plain file at `path` when it holds at most `limit` bytes. On failure returns false
// with `error` saying why (not a file, too large, unreadable); the size is checked before reading.
bool readBoundedFile(const std::string& path, uint64_t limit, std::string& out, std::string& error);

// Replaces `path` with `bytes`: a temporary file beside it, synced, renamed over it, the
// directory synced. Returns false with `error` set, leaving the old file as it was.
bool replaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace swf
