#include "platform/desktop_entry.h"

#include <cstring>

namespace rv {

bool isValidUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    unsigned c = s[i];
    size_t len = c < 0x80           ? 1
                 : (c >> 5) == 0x6  ? 2
                 : (c >> 4) == 0xE  ? 3
                 : (c >> 3) == 0x1E ? 4
                                    : 0;
    if (len == 0 || i + len > n) return false;
    unsigned cp = len == 1 ? c : c & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr unsigned kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

std::optional<std::string> execLine(const std::string& program) {
  if (program.empty() || !isValidUtf8(program)) return std::nullopt;
  for (unsigned char c : program)
    if (c < 0x20 || c == 0x7F) return std::nullopt;

  const bool quote = program.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string::npos;
  std::string arg;
  if (quote) arg += '"';
  for (char c : program) {
    if (quote && std::strchr("\"`$\\", c)) arg += '\\';
    arg += c;
    if (c == '%') arg += '%';
  }
  if (quote) arg += '"';
  // The key file's own escape comes on top: each backslash is written twice.
  std::string value;
  for (char c : arg) {
    if (c == '\\') value += '\\';
    value += c;
  }
  return value + " %f";
}

std::vector<std::string> allTypes() { return {kFlashTypes[0], kFlashTypes[1], kListType}; }

std::string desktopEntryText(const std::string& exec, const std::string& icon,
                             const std::vector<std::string>& types) {
  std::string mimeTypes;
  for (const std::string& t : types) mimeTypes += t + ";";
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Reelvista\n"
         "GenericName=Flash Movie Player\n"
         "Comment=Play Flash movies and movie lists\n"
         "Exec=" +
         exec +
         "\n"
         "Icon=" +
         icon +
         "\n"
         "Terminal=false\n" +
         (mimeTypes.empty() ? std::string() : "MimeType=" + mimeTypes + "\n") +
         "Categories=AudioVideo;Player;\n";
}

const char* mimePackageText() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"application/x-reelvista-list\">\n"
         "    <comment>Reelvista movie list</comment>\n"
         "    <icon name=\"application-x-reelvista-list\"/>\n"
         "    <glob pattern=\"*.flt\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

}  // namespace rv
