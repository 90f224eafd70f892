#pragma once
// Our desktop entry (reelvista.desktop): how a program path is written in its Exec line, and the
// entry's text.

#include <optional>
#include <string>
#include <vector>

namespace rv {

// The Exec value that starts `program` with one file ("... %f"): the path quoted and escaped as
// desktop entries require ('%' doubled, reserved characters inside double quotes, backslashes
// escaped for the key file). nullopt when no desktop entry can hold the path: bytes that are
// not UTF-8, or control characters.
std::optional<std::string> execLine(const std::string& program);

// The movie types and our list type, as the entry's MimeType lists them.
inline constexpr const char* kFlashTypes[] = {"application/x-shockwave-flash",
                                              "application/vnd.adobe.flash.movie"};
inline constexpr const char* kListType = "application/x-reelvista-list";
inline constexpr const char* kDesktopFileId = "reelvista.desktop";

inline constexpr const char* kListIcon = "application-x-reelvista-list";

// `types`: the MIME types the entry handles (MimeType); none leaves the key out.
std::string desktopEntryText(const std::string& exec, const std::string& icon,
                             const std::vector<std::string>& types);
// Every type the program can open: the movie types and our list type.
std::vector<std::string> allTypes();
// The shared-mime-info package that gives list files (*.flt) their type, name and icon.
const char* mimePackageText();

bool isValidUtf8(const std::string& text);

}  // namespace rv
