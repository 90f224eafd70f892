#include "swf/player/local_address.h"

#include <strings.h>

#include <cctype>
#include <cstring>
#include <filesystem>

#include "swf/avm1/builtins/load_text.h"

namespace swf {
namespace {

// "http:", "mailto:", "FSCommand:": a letter, then letters, digits, '+', '-' or '.', then ':'.
bool hasScheme(const std::string& url) {
  if (url.empty() || !std::isalpha(static_cast<unsigned char>(url[0]))) return false;
  for (char c : url) {
    if (c == ':') return true;
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
      return false;
  }
  return false;
}

}  // namespace

std::string localFileFor(const std::string& moviePath, std::string url) {
  url = url.substr(0, url.find_first_of("?#"));
  static constexpr char kFileScheme[] = "file://";
  constexpr size_t n = sizeof kFileScheme - 1;
  if (url.size() >= n && strncasecmp(url.c_str(), kFileScheme, n) == 0) {
    std::string path = avm1::urlUnescape(url.substr(n), false);
    path = path.substr(0, path.find('\0'));
    return path.empty() || path[0] != '/' ? std::string() : path;
  }
  if (url.empty() || hasScheme(url)) return {};
  // A relative address is a URL: its escapes name bytes, and, as for every name the original
  // player handed to the system, an escaped NUL ends it ("vars.txt%00junk" is vars.txt).
  url = avm1::urlUnescape(url, false);
  url = url.substr(0, url.find('\0'));
  if (url.empty()) return {};
  std::filesystem::path p(url);
  if (p.is_absolute()) return url;
  return (std::filesystem::path(moviePath).parent_path() / p).string();
}

std::string addressRelativeTo(const std::string& baseUrl, const std::string& url) {
  if (hasScheme(url)) return url;
  if (!url.empty() && url[0] == '/') return "file://" + url;
  size_t slash = baseUrl.rfind('/');
  return (slash == std::string::npos ? std::string() : baseUrl.substr(0, slash + 1)) + url;
}

int levelTargetNumber(const std::string& name) {
  static constexpr char kPrefix[] = "_level";
  constexpr size_t n = sizeof kPrefix - 1;
  if (name.size() <= n || name.size() > n + 6 || strncasecmp(name.c_str(), kPrefix, n) != 0)
    return -1;
  int level = 0;
  for (size_t i = n; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    level = level * 10 + (name[i] - '0');
  }
  return level;
}

bool isWebAddress(const std::string& url) {
  for (const char* scheme : {"http://", "https://", "mailto:"})
    if (strncasecmp(url.c_str(), scheme, strlen(scheme)) == 0) return true;
  return false;
}

}  // namespace swf
