#pragma once
// The desktop's file associations: whether the desktop opens movie files ("flash files") and our
// list files with this program, and making or removing those associations.

#include <memory>
#include <string>

namespace rv {

class Associations {
 public:
  virtual ~Associations() = default;
  virtual bool flashFilesAssociated() = 0;
  virtual bool listFilesAssociated() = 0;
  // Each returns an empty text on success, else what went wrong.
  virtual std::string associateFlashFiles(bool on) = 0;
  virtual std::string associateListFiles(bool on) = 0;
};

// The freedesktop.org way, all under the user's XDG directories: our desktop entry, a
// shared-mime-info package for list files, and defaults in mimeapps.list. `program` is the
// program's own full path; its directory holds the icons we ship.
std::unique_ptr<Associations> makeXdgAssociations(std::string program);

}  // namespace rv
