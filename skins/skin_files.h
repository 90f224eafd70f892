#pragma once
// Where a skin's files are: the skins under skin/, and the files one skin names, which never
// lie outside its directory.

#include <string>
#include <vector>

#include "skins/picture_reader.h"

namespace rv {

// The names of the skin directories under `skinRoot` (ending in '/'): real directories only,
// symbolic links and "." / ".." left out, in directory-listing order. A missing or unreadable
// root gives none.
std::vector<std::string> skinNames(const std::string& skinRoot);

// A name that can only be a directory directly under skin/.
bool isPlainSkinName(const std::string& name);

// The path of the file `relative` names inside `skinDir` (ending in '/'). Backslashes separate
// directories as forward slashes do. A path that is absolute or climbs out with ".." raises
// AppError.
std::string skinFilePath(const std::string& skinDir, const std::string& relative);

// The format a picture's extension names, letter case ignored: bmp, ico, png. Windows metafiles
// (wmf, emf) and every other extension raise AppError.
PictureFormat pictureFormatOf(const std::string& path);

}  // namespace rv
