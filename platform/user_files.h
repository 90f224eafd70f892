#pragma once
// Small file operations for the files the player keeps in the user's directories. Nothing here
// throws; failures come back as false with a message naming the file and the reason.

#include <string>

namespace rv {

// What a symbolic link finally names (the path itself when it is no link, or a broken one):
// replacing a link by a file would cut the user's link, so writes go to its target.
std::string resolveLink(const std::string& path);
// The whole file; false when it cannot be read (missing, a directory, no permission).
bool readWholeFile(const std::string& path, std::string& content);
// Replaces `path` whole: the content goes to a new file beside it, is flushed and renamed over
// it, so a reader never sees half a file and a failure leaves the old one as it was. A symbolic
// link is written through, not replaced.
bool replaceFile(const std::string& path, const std::string& content, std::string* error);
// Creates `dir` and its missing parents (mode 0755 as the umask allows).
bool makeDirectories(const std::string& dir, std::string* error);
bool isDirectory(const std::string& path);    // a real directory or a link to one
bool isRegularFile(const std::string& path);  // a file or a link to one
// Copies `from` to a new `to`, replacing it whole.
bool copyFile(const std::string& from, const std::string& to, std::string* error);

}  // namespace rv
