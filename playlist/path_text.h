#pragma once
// Small rules about path texts shared by the playlist commands. Paths are the bytes the system
// gives us; nothing here touches the file system.

#include <string>
#include <string_view>

namespace rv {

// What a path names, judged by the extension of its file name only (".swf"/".SWF" and so on:
// the lower- and upper-case spellings count, mixed case such as ".Swf" does not).
enum class FileType { Movie, ListFile, Projector, NoExtension, Other };

// The file-name part: everything after the last '/'.
std::string_view fileNamePart(std::string_view path);
// The directory part with its trailing '/', empty when the path holds no '/'.
std::string directoryPart(std::string_view path);
// The extension of the file name from its last '.', dot included; empty when there is none.
std::string_view extensionOf(std::string_view path);
FileType fileTypeOf(std::string_view path);
// The path with the extension of its file name replaced (or, without one, `ext` appended).
std::string withExtension(std::string_view path, std::string_view ext);

// A path that cannot stand as one line of a list file, or cannot name a file at all.
bool unfitForList(std::string_view path);

// Ascending order ignoring ASCII letter case (the sorted playlist).
bool lessIgnoringCase(std::string_view a, std::string_view b);
// Ignoring letter case first, then byte order (directory listings).
bool directoryOrder(std::string_view a, std::string_view b);

}  // namespace rv
