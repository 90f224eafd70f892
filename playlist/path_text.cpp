#include "playlist/path_text.h"

#include <algorithm>

namespace rv {

namespace {

unsigned char lower(char c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// <0, 0, >0 like memcmp, ignoring ASCII letter case.
int compareIgnoringCase(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = lower(a[i]), y = lower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

std::string_view fileNamePart(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string directoryPart(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string_view extensionOf(std::string_view path) {
  std::string_view name = fileNamePart(path);
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

FileType fileTypeOf(std::string_view path) {
  std::string_view ext = extensionOf(path);
  if (ext.empty()) return FileType::NoExtension;
  if (ext == ".swf" || ext == ".SWF") return FileType::Movie;
  if (ext == ".flt" || ext == ".FLT") return FileType::ListFile;
  if (ext == ".exe" || ext == ".EXE") return FileType::Projector;
  return FileType::Other;
}

std::string withExtension(std::string_view path, std::string_view ext) {
  std::string_view old = extensionOf(path);
  std::string out(path.substr(0, path.size() - old.size()));
  out += ext;
  return out;
}

bool unfitForList(std::string_view path) {
  return path.empty() ||
         path.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos;
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
  return compareIgnoringCase(a, b) < 0;
}

bool directoryOrder(std::string_view a, std::string_view b) {
  int c = compareIgnoringCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

}  // namespace rv
