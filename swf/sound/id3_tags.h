#pragma once
// The ID3 tags of an MP3 file, as a Sound object's `id3` shows them: every ID3v2 text frame and
// comment under its four-letter name (TIT2, TPE1, COMM, ...), and the ID3v1 fields under
// songname, artist, album, year, comment, genre and track. A file with only one kind of tag
// fills the other kind's common fields from it, so scripts find a title under either name.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace swf::sound {

struct Id3Field {
  std::string name, value;  // UTF-8
};

// In a stable order (v2 frames as they come, then the v1 names); empty when the file has no
// tags. Never throws; garbage gives what parses of it.
std::vector<Id3Field> readId3(std::span<const uint8_t> file);

}  // namespace swf::sound
