#include "skins/skin_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "app/errors.h"
#include "playlist/path_text.h"

namespace rv {

std::vector<std::string> skinNames(const std::string& skinRoot) {
  std::vector<std::string> names;
  DIR* d = opendir(skinRoot.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (!isPlainSkinName(name)) continue;
    struct stat st {};
    if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
      names.push_back(name);
  }
  closedir(d);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return directoryOrder(a, b); });
  return names;
}

bool isPlainSkinName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

std::string skinFilePath(const std::string& skinDir, const std::string& relative) {
  std::string rel = relative;
  std::replace(rel.begin(), rel.end(), '\\', '/');
  const auto outside = [&] {
    return AppError("The skin file \"" + relative + "\" lies outside the skin's directory.");
  };
  if (rel.empty() || rel.front() == '/' || rel.find('\0') != std::string::npos) throw outside();
  std::size_t start = 0;
  while (start <= rel.size()) {
    std::size_t end = rel.find('/', start);
    if (end == std::string::npos) end = rel.size();
    if (rel.compare(start, end - start, "..") == 0) throw outside();
    start = end + 1;
  }
  return skinDir + rel;
}

PictureFormat pictureFormatOf(const std::string& path) {
  std::string ext(extensionOf(fileNamePart(path)));
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (ext == ".bmp") return PictureFormat::Bmp;
  if (ext == ".ico") return PictureFormat::Ico;
  if (ext == ".png") return PictureFormat::Png;
  if (ext == ".wmf" || ext == ".emf")
    throw AppError("The skin picture " + path +
                   " is a Windows metafile, which this player cannot show; use a .bmp, .png or "
                   ".ico picture.");
  throw AppError("The skin picture " + path +
                 " has an unknown extension; use a .bmp, .png or .ico picture.");
}

}  // namespace rv
