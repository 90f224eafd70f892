#pragma once
// Collects the movie files of a directory tree: the movies of a directory first (names ending in
// exactly ".swf" or ".SWF"), then each sub-directory in turn, depth first. Names are taken in
// the order ignoring letter case, then by bytes. Symbolic links are never followed, and a
// directory that cannot be read counts as an empty one.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rv {

// Decides whether a movie found in the directory open as `dirFd` is collected (the cache
// search adds a size rule); nullptr collects every one.
using MovieFilter = std::function<bool(int dirFd, const char* name)>;

// Called now and then while a long scan runs (every few hundred entries), so the window can
// show that something is happening.
using ScanProgress = std::function<void()>;

// `dir` must end with '/'. Appends dir + name for every movie; true when it appended any.
bool collectMovies(const std::string& dir, std::vector<std::string>& collected,
                   const MovieFilter& filter = nullptr, const ScanProgress& progress = nullptr);

// The browser cache's rule on top: a movie is collected when its size in the listing (a link's
// own, a directory's none) is at least `threshold` bytes.
bool collectCachedMovies(const std::string& dir, std::vector<std::string>& collected,
                         int64_t threshold, const ScanProgress& progress = nullptr);

}  // namespace rv
