// ID3v2 through libmpg123 (it knows every version, unsynchronisation and text encoding); ID3v1
// by hand, since it is 128 fixed bytes at the end, where a decoder fed from the front never looks.
#include "swf/sound/id3_tags.h"

#include <mpg123.h>

#include <algorithm>
#include <mutex>

namespace swf::sound {
namespace {

// ID3v1 text is Latin-1, padded with NULs or spaces.
std::string latin1Field(std::span<const uint8_t> b) {
  size_t n = std::find(b.begin(), b.end(), 0) - b.begin();
  while (n > 0 && b[n - 1] == ' ') --n;
  std::string out;
  for (uint8_t c : b.first(n)) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xc0 | (c >> 6));
      out += char(0x80 | (c & 0x3f));
    }
  }
  return out;
}

void readV1(std::span<const uint8_t> file, std::vector<Id3Field>& out) {
  if (file.size() < 128) return;
  auto t = file.last(128);
  if (t[0] != 'T' || t[1] != 'A' || t[2] != 'G') return;
  auto add = [&](const char* name, std::string v) {
    if (!v.empty()) out.push_back({name, std::move(v)});
  };
  add("songname", latin1Field(t.subspan(3, 30)));
  add("artist", latin1Field(t.subspan(33, 30)));
  add("album", latin1Field(t.subspan(63, 30)));
  add("year", latin1Field(t.subspan(93, 4)));
  // ID3v1.1: a NUL before the last comment byte makes that byte the track number.
  bool v11 = t[125] == 0 && t[126] != 0;
  add("comment", latin1Field(t.subspan(97, v11 ? 28 : 30)));
  if (v11) add("track", std::to_string(t[126]));
  if (t[127] != 255) add("genre", std::to_string(t[127]));
}

std::string firstString(const mpg123_string& s) {
  if (!s.p || s.fill == 0) return {};
  return std::string(s.p, std::find(s.p, s.p + s.fill, '\0'));
}

void readV2(std::span<const uint8_t> file, std::vector<Id3Field>& out) {
  // Only a file that starts with a tag has one here; the decoder then reads it before the
  // first frame.
  if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3') return;
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  if (!mh) return;
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  if (mpg123_open_feed(mh) == MPG123_OK) {
    // The tag's size is in its header (28 bits, 7 per byte); feed it and a little after it so
    // the decoder reaches the first frame header.
    size_t tagSize = 10 + ((size_t(file[6] & 0x7f) << 21) | (size_t(file[7] & 0x7f) << 14) |
                           (size_t(file[8] & 0x7f) << 7) | size_t(file[9] & 0x7f));
    size_t want = std::min(file.size(), tagSize + 8192);
    for (size_t at = 0; at < want;) {
      size_t n = std::min<size_t>(want - at, 65536);
      if (mpg123_feed(mh, file.data() + at, n) != MPG123_OK) break;
      at += n;
    }
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    off_t num = 0;
    for (int i = 0; i < 64; ++i) {
      int r = mpg123_decode_frame(mh, &num, &audio, &bytes);
      if (r == MPG123_NEED_MORE || r == MPG123_ERR || r == MPG123_NEW_FORMAT) break;
    }
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    if ((mpg123_meta_check(mh) & MPG123_ID3) && mpg123_id3(mh, &v1, &v2) == MPG123_OK && v2) {
      auto add = [&](const mpg123_text& t) {
        std::string v = firstString(t.text);
        std::string id(t.id, 4);
        if (!v.empty() && std::all_of(id.begin(), id.end(), [](char c) {
              return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            }))
          out.push_back({id, std::move(v)});
      };
      for (size_t i = 0; i < v2->texts; ++i) add(v2->text[i]);
      for (size_t i = 0; i < v2->comments; ++i) add(v2->comment_list[i]);
    }
  }
  mpg123_delete(mh);
}

}  // namespace

std::vector<Id3Field> readId3(std::span<const uint8_t> file) {
  std::vector<Id3Field> out;
  readV2(file, out);
  size_t v2Count = out.size();
  readV1(file, out);
  // The common fields under both kinds of name, the file's own value first.
  static constexpr const char* kPairs[][2] = {
      {"TIT2", "songname"}, {"TPE1", "artist"}, {"TALB", "album"}, {"TYER", "year"},
      {"COMM", "comment"},  {"TCON", "genre"},  {"TRCK", "track"}};
  auto has = [&](const char* name) {
    return std::any_of(out.begin(), out.end(), [&](const Id3Field& f) { return f.name == name; });
  };
  auto find = [&](const char* name, size_t from, size_t to) -> const Id3Field* {
    for (size_t i = from; i < to; ++i)
      if (out[i].name == name) return &out[i];
    return nullptr;
  };
  size_t v1End = out.size();
  for (const auto& [v2, v1] : kPairs) {
    if (!has(v1))
      if (const Id3Field* f = find(v2, 0, v2Count)) out.push_back({v1, f->value});
    if (!has(v2))
      if (const Id3Field* f = find(v1, v2Count, v1End)) out.push_back({v2, f->value});
  }
  return out;
}

}  // namespace swf::sound
