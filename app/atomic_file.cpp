#include "app/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/errors.h"
#include "playlist/file_replacer.h"

namespace rv {

void writeFileAtomically(const std::string& path, const std::string& content) {
  // A file without write permission is refused even where the process could override the bits
  // (as root): the user made it read-only on purpose.
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 &&
      ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0))
    throw AppError("cannot write " + path + ": the file is read-only");

  FileReplacer out(path);
  out.write(content);
  out.commit();
}

}  // namespace rv
