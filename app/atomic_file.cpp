#include "app/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/errors.h"
#include "playlist/file_replacer.h"
#include "playlist/path_text.h"

namespace rv {
namespace {

bool writable(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

}  // namespace

void writeFileAtomically(const std::string& path, const std::string& content) {
  // A file or directory without write permission is refused even where the process could
  // override the bits (as root): the user made it read-only on purpose.
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) {
    // Replacing a directory, a pipe or a device by a file would destroy what the user put there.
    if (!S_ISREG(old.st_mode)) throw AppError("cannot write " + path + ": not a regular file");
    if (!writable(old) || access(target.c_str(), W_OK) != 0)
      throw AppError("cannot write " + path + ": the file is read-only");
  }
  const std::string dir = directoryPart(target);
  struct stat parent {};
  if (stat(dir.empty() ? "." : dir.c_str(), &parent) == 0 && !writable(parent))
    throw AppError("cannot write " + path + ": the directory is read-only");

  FileReplacer out(path);
  out.write(content);
  out.commit();
}

}  // namespace rv
