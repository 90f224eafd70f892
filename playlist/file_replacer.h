#pragma once
// Writes a file in pieces so that readers see either the old content or the whole new one, never
// a part: the bytes go to a temporary file in the same directory, which is flushed to disk and
// then renamed over the target. Failures raise AppError and leave the target as it was.

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
  std::string temp_;
  void flushAndClose();
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace rv
