#pragma once
// Writes a file in pieces so that readers see either the old content or the whole new one, never
// a part: the bytes go to an unnamed file in the same directory (a hidden temporary file where
// the file system has no unnamed ones), which is flushed to disk, named and renamed over the
// target. Failures raise AppError, leave the target as it was and remove the temporary file; a
// process killed meanwhile leaves no file behind (or, without unnamed files, the hidden one).

#include <cstddef>
#include <string>

namespace rv {

class FileReplacer {
 public:
  explicit FileReplacer(const std::string& target);
  ~FileReplacer();  // removes the temporary file unless commit() succeeded
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  void write(const char* data, size_t size);
  void write(const std::string& data) { write(data.data(), data.size()); }
  // Flushes, syncs and renames the temporary file over the target.
  void commit();
  // The same, but never replaces anything: false (and nothing written) when the target exists.
  bool commitNew();

 private:
  std::string target_;  // the path finally written (a symbolic link is written through)
  std::string temp_;    // empty while the file has no name
  void sync();
  void closeFile();
  bool linkUnnamedAs(const std::string& path);  // false when `path` exists
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace rv
