#pragma once
// A parsed movie: header, dictionary and root timeline. Immutable after loading and shared by
// every player showing the same file.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "swf/io/swf_container.h"
#include "swf/model/geometry.h"
#include "swf/movie/character.h"
#include "swf/movie/load_error.h"
#include "swf/movie/timeline.h"

namespace swf {

struct Movie {
  Movie() = default;
  Movie(const Movie&) = delete;
  Movie& operator=(const Movie&) = delete;
  ~Movie();

  int version = 0;
  Compression compression = Compression::None;
  uint32_t fileLength = 0;  // uncompressed, from the header
  Rect stage;               // twips
  double frameRate = 0;     // as written in the file (may be 0)
  int declaredFrameCount = 0;
  Timeline root;
  std::map<uint16_t, std::shared_ptr<const Character>> dictionary;  // final state of the file
  std::map<int, int> tagCounts;  // tag code → occurrences, sprites' tags included
  std::vector<std::pair<std::string, uint16_t>> exports;  // ExportAssets names
  std::vector<int> exportFrames;  // the root frame of each of `exports`, in step with it
  // FileAttributes asked for network access: played from disk, the movie may then read no
  // local files (the sandbox of local movies that talk to the network).
  bool usesNetwork = false;

  std::shared_ptr<const Character> character(uint16_t id) const;

  // Every character in the order it was defined. A character can only refer to characters
  // defined before it, so releasing them from the last one back never recurses: a chain of
  // ten thousand nested sprites is torn down one at a time.
  std::vector<std::shared_ptr<const Character>> definitions;

  // The uncompressed file; tag bodies and action bytes point into it.
  std::shared_ptr<const std::vector<uint8_t>> data;
};

// Both throw LoadError.
std::shared_ptr<const Movie> loadMovieFile(const std::string& path);
std::shared_ptr<const Movie> loadMovieFromMemory(std::span<const uint8_t> bytes);

const char* tagName(int code);  // "" for codes we do not name

}  // namespace swf
