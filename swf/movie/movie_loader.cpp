// The tag loop: turns the uncompressed file into the dictionary and the timelines.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "swf/movie/button.h"
#include "swf/movie/control_tags.h"
#include "swf/movie/movie.h"
#include "swf/movie/raw_character.h"
#include "swf/movie/sprite.h"
#include "swf/movie/tag_codes.h"
#include "swf/sound/sound_info.h"
#include "swf/text/font_table.h"
#include "swf/text/text_content.h"
#include "swf/video/video_character.h"

namespace swf {
namespace {

// More frames than this in one timeline are merged into the last; the authoring tools never
// wrote more, and it bounds the memory a file of bare ShowFrame tags can claim.
constexpr int kMaxFrames = 16000;

struct TagHeader {
  int code = 0;
  std::span<const uint8_t> body;
};

class MovieParser {
 public:
  explicit MovieParser(Movie& m) : m_(m) {
    ctx_.swfVersion = m.version;
    ctx_.owner = this;
    ctx_.fonts = std::make_shared<FontTable>();
    ctx_.lookup = [](const void* owner, uint16_t id) {
      return static_cast<const MovieParser*>(owner)->find(id);
    };
  }

  void parseRoot(BitReader& r) { parseTimeline(r, m_.root, true); }

  std::shared_ptr<const Character> find(uint16_t id) const {
    auto it = m_.dictionary.find(id);
    return it == m_.dictionary.end() ? nullptr : it->second;
  }

 private:
  static TagHeader readTagHeader(BitReader& r) {
    uint16_t codeAndLength = r.u16();
    TagHeader h;
    h.code = codeAndLength >> 6;
    uint32_t length = codeAndLength & 0x3f;
    if (length == 0x3f) length = r.u32();
    if (length > r.remaining())
      throw LoadError(std::string("tag ") + std::to_string(h.code) +
                      " runs past the end of the file");
    h.body = r.bytes(length);
    return h;
  }

  void parseTimeline(BitReader& r, Timeline& tl, bool isRoot) {
    tl.swfVersion = m_.version;
    Frame pending;
    bool pendingUsed = false;
    int serial = 0;
    auto lookup = [this](uint16_t id) { return find(id); };
    while (!r.atEnd()) {
      // A final byte cannot hold a tag header; the file simply has no End tag.
      if (r.remaining() < 2) break;
      TagHeader h = readTagHeader(r);
      ++m_.tagCounts[h.code];
      if (h.code == tag::End) break;
      BitReader body(h.body);
      try {
        switch (h.code) {
          case tag::ShowFrame:
            if (tl.frameCount() < kMaxFrames) {
              pending.endOffset = r.pos();
              tl.frames.push_back(std::move(pending));
              pending = Frame{};
              pendingUsed = false;
            }
            break;
          case tag::PlaceObject:
          case tag::PlaceObject2:
          case tag::PlaceObject3: {
            PlaceCommand p = readPlaceObject(h.code, body, lookup);
            p.serial = serial++;
            pending.display.emplace_back(std::move(p));
            pendingUsed = true;
            break;
          }
          case tag::RemoveObject:
          case tag::RemoveObject2:
            pending.display.emplace_back(readRemoveObject(h.code, body));
            pendingUsed = true;
            break;
          case tag::FrameLabel: {
            std::string label = body.cstring();
            std::string key = label;
            for (char& ch : key) ch = char(std::tolower(static_cast<unsigned char>(ch)));
            tl.labels.emplace(key, tl.frameCount());
            pending.labels.push_back(std::move(label));
            pendingUsed = true;
            break;
          }
          case tag::VideoFrame:
            addVideoFrame(body);
            break;
          case tag::DoAction:
            pending.actions.push_back(h.body);
            pending.actionPlaces.push_back(pending.display.size());
            pendingUsed = true;
            break;
          case tag::StartSound:
          case tag::StartSound2:
          case tag::SoundStreamHead:
          case tag::SoundStreamHead2:
          case tag::SoundStreamBlock:
            pending.sound.push_back({uint16_t(h.code), h.body});
            pendingUsed = true;
            break;
          default:
            if (isRoot) {
              pendingUsed |= parseRootTag(h, body, pending);
            }
            // Definitions inside a sprite are not part of the format; they are skipped.
            break;
        }
      } catch (const ReadError& e) {
        throw LoadError(std::string("tag ") + std::to_string(h.code) +
                        " is malformed: " + e.what());
      }
    }
    if (tl.frames.empty() || pendingUsed) {
      if (tl.frames.empty() || tl.frameCount() < kMaxFrames)
        tl.frames.push_back(std::move(pending));
    }
  }

  // Tags only the root timeline holds; returns true when the pending frame received something.
  bool parseRootTag(const TagHeader& h, BitReader& body, Frame& pending) {
    switch (h.code) {
      case tag::SetBackgroundColor:
        pending.background = readRGB(body);
        return true;
      case tag::DoInitAction: {
        InitAction ia;
        ia.spriteId = body.u16();
        ia.actions = body.bytes(body.remaining());
        pending.initActions.push_back(ia);
        return true;
      }
      case tag::JPEGTables:
        ctx_.jpegTables = h.body;
        return false;
      case tag::FileAttributes:
        if (body.remaining() >= 1) m_.usesNetwork = (body.u8() & 1) != 0;
        return false;
      case tag::DefineSprite:
        defineSprite(body);
        return false;
      case tag::DefineButton:
      case tag::DefineButton2: {
        auto b = readButton(h.code, body, [this](uint16_t id) { return find(id); });
        if (!m_.dictionary.count(b->id)) {
          buttons_[b->id] = b;
          define(b);
        }
        return false;
      }
      case tag::DefineButtonSound: {
        uint16_t id = body.u16();
        if (auto it = buttons_.find(id); it != buttons_.end()) readButtonSounds(body, *it->second);
        return false;
      }
      case tag::DefineButtonCxform: {
        uint16_t id = body.u16();
        ColorTransform cx = readColorTransform(body, false);
        if (auto it = buttons_.find(id); it != buttons_.end())
          for (auto& rec : it->second->records) rec.cxform = cx;
        return false;
      }
      case tag::ExportAssets: {
        unsigned count = body.u16();
        for (unsigned i = 0; i < count; ++i) {
          uint16_t id = body.u16();
          std::string name = body.cstring();
          // Text before SWF 6 is 8-bit, one character a byte, as the script machine reads it.
          if (m_.version < 6) {
            std::u32string wide(name.begin(), name.end());
            for (char32_t& c : wide) c &= 0xFF;
            name = encodeUtf8(wide);
          }
          m_.exports.emplace_back(std::move(name), id);
          m_.exportFrames.push_back(m_.root.frameCount());
        }
        return false;
      }
      case tag::DefineSound:
        defineRaw(h, CharacterKind::Sound);
        return false;
      case tag::DefineVideoStream: {
        auto v = parseVideoStream(body);
        if (!m_.dictionary.count(v->id)) {
          videos_[v->id] = v;
          define(v);
        }
        return false;
      }
      default:
        defineDrawable(h, body);
        return false;
    }
  }

  // Four entries: a sound id, and when it is not 0 the SOUNDINFO that follows it. A button
  // whose sounds cannot be read is silent; the movie still loads.
  static void readButtonSounds(BitReader& body, ButtonCharacter& b) {
    try {
      for (auto& entry : b.sounds) {
        if (body.remaining() < 2) return;
        size_t start = body.pos();
        if (body.u16() == 0) continue;
        sound::readSoundInfo(body);
        entry = body.data().subspan(start, body.pos() - start);
      }
    } catch (const ReadError&) {
    }
  }

  // A frame for a stream not defined (yet) has nowhere to go and is dropped.
  void addVideoFrame(BitReader& body) {
    if (body.remaining() < 4) return;
    uint16_t stream = body.u16();
    int number = body.u16();
    if (auto it = videos_.find(stream); it != videos_.end())
      it->second->addFrame(number, body.bytes(body.remaining()));
  }

  void defineRaw(const TagHeader& h, CharacterKind kind) {
    BitReader r(h.body);
    uint16_t id = r.u16();
    if (m_.dictionary.count(id)) return;
    auto c = std::make_shared<RawCharacter>(kind, uint16_t(h.code), h.body);
    c->id = id;
    define(c);
  }

  void defineSprite(BitReader& body) {
    auto s = std::make_shared<SpriteCharacter>();
    s->id = body.u16();
    s->declaredFrameCount = body.u16();
    parseTimeline(body, s->timeline, false);
    s->timeline.complete = s->timeline.frameCount() >= s->declaredFrameCount;
    if (!m_.dictionary.count(s->id)) define(s);
  }

  // Shapes, morphs, bitmaps, fonts and texts go to their parsers; a null result keeps the id as
  // a placeholder so the timeline stays whole.
  void defineDrawable(const TagHeader& h, BitReader& body) {
    using Parser = std::shared_ptr<Character> (*)(int, BitReader&, const ParseContext&);
    Parser parser = nullptr;
    bool fontInfo = false;
    switch (h.code) {
      case tag::DefineShape:
      case tag::DefineShape2:
      case tag::DefineShape3:
      case tag::DefineShape4:
        parser = parseShapeTag;
        break;
      case tag::DefineMorphShape:
      case tag::DefineMorphShape2:
        parser = parseMorphShapeTag;
        break;
      case tag::DefineBits:
      case tag::DefineBitsJPEG2:
      case tag::DefineBitsJPEG3:
      case tag::DefineBitsJPEG4:
      case tag::DefineBitsLossless:
      case tag::DefineBitsLossless2:
        parser = parseBitmapTag;
        break;
      case tag::DefineFont:
      case tag::DefineFont2:
      case tag::DefineFont3:
        parser = parseFontTag;
        break;
      case tag::DefineFontInfo:
      case tag::DefineFontInfo2:
        parser = parseFontInfoTag;
        fontInfo = true;
        break;
      case tag::DefineText:
      case tag::DefineText2:
        parser = parseTextTag;
        break;
      case tag::DefineEditText:
        parser = parseEditTextTag;
        break;
      default:
        return;  // unknown or not needed: skipped by its length
    }
    uint16_t id = BitReader(h.body).u16();
    if (!fontInfo && m_.dictionary.count(id)) return;  // the first definition of an id wins
    std::shared_ptr<Character> c;
    try {
      c = parser(h.code, body, ctx_);
    } catch (const ReadError&) {
      throw;
    } catch (const std::exception& e) {
      throw LoadError(std::string("tag ") + std::to_string(h.code) +
                      " cannot be used: " + e.what());
    }
    if (fontInfo) {
      if (c) {
        c->id = id;
        define(c);
      }
      return;
    }
    if (!c) c = std::make_shared<RawCharacter>(CharacterKind::Other, uint16_t(h.code), h.body);
    c->id = id;
    define(c);
  }

  void define(std::shared_ptr<const Character> c) {
    m_.dictionary[c->id] = c;
    m_.definitions.push_back(std::move(c));
  }

  Movie& m_;
  ParseContext ctx_;
  std::map<uint16_t, std::shared_ptr<ButtonCharacter>> buttons_;
  std::map<uint16_t, std::shared_ptr<VideoCharacter>> videos_;
};

}  // namespace

Movie::~Movie() {
  root.frames.clear();
  dictionary.clear();
  while (!definitions.empty()) definitions.pop_back();
}

std::shared_ptr<const Character> Movie::character(uint16_t id) const {
  auto it = dictionary.find(id);
  return it == dictionary.end() ? nullptr : it->second;
}

std::shared_ptr<const Movie> loadMovieFromMemory(std::span<const uint8_t> bytes) {
  SwfContainer c = decodeContainer(bytes);
  auto m = std::make_shared<Movie>();
  m->version = c.version;
  m->compression = c.compression;
  m->fileLength = c.declaredLength;
  auto data = std::make_shared<std::vector<uint8_t>>(std::move(c.data));
  m->data = data;
  try {
    BitReader r(*data);
    r.skip(8);
    m->stage = readRect(r);
    m->frameRate = r.u16() / 256.0;
    m->declaredFrameCount = r.u16();
    MovieParser parser(*m);
    parser.parseRoot(r);
    m->root.complete = m->root.frameCount() >= m->declaredFrameCount;
  } catch (const ReadError& e) {
    throw LoadError(std::string("malformed movie: ") + e.what());
  } catch (const std::bad_alloc&) {
    throw LoadError("movie needs more memory than it may have");
  }
  return m;
}

std::shared_ptr<const Movie> loadMovieFile(const std::string& path) {
  // Opening a pipe would wait for a writer, and a device may never end: only plain files load.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw LoadError("not a file: " + path);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LoadError("cannot open " + path);
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) throw LoadError("cannot read " + path);
  // The container refuses larger lengths anyway; compressed files are far smaller.
  if (uint64_t(size) > kMaxUncompressedLength) throw LoadError("file too large: " + path);
  in.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw LoadError("cannot read " + path);
  return loadMovieFromMemory(bytes);
}

}  // namespace swf
